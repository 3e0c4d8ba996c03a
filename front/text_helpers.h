// Small text helpers shared by several handlers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace kvnc {

// Splits a text into tokens at "," ";" space, tab and newline. Leading
// blanks before each token are skipped; two separators in a row that are not
// both blanks give an empty token ("a,,b" → a, "", b); a trailing separator
// gives none.
std::vector<std::string> SplitTokens(std::string_view text);

// Zeroes the whole buffer of `text` (its capacity, not only its size) in a
// way the compiler cannot drop, and leaves it empty. For passwords and the
// request bodies that carry them, before their memory is released.
void WipeString(std::string &text) noexcept;

// Wipes the passwords of a request: the string members PWD, OLDPWD, NEWPWD
// and PDW of its PRM object.
void WipeSecrets(nlohmann::json &request) noexcept;

// Wipes a string when it goes out of scope, on every path.
class WipeOnExit {
 public:
  explicit WipeOnExit(std::string &text) : text_(text) {}
  ~WipeOnExit() { WipeString(text_); }
  WipeOnExit(const WipeOnExit &) = delete;
  WipeOnExit &operator=(const WipeOnExit &) = delete;

 private:
  std::string &text_;
};

}  // namespace kvnc
