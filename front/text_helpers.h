// Small text helpers shared by several handlers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kvnc {

// Splits a text into tokens at "," ";" space, tab and newline. Leading
// blanks before each token are skipped; two separators in a row that are not
// both blanks give an empty token ("a,,b" → a, "", b); a trailing separator
// gives none.
std::vector<std::string> SplitTokens(std::string_view text);

}  // namespace kvnc
