#include "front/text_helpers.h"

#include <string.h>  // explicit_bzero

#include <algorithm>
#include <initializer_list>
#include <iterator>

namespace kvnc {

std::vector<std::string> SplitTokens(std::string_view text) {
  std::vector<std::string> tokens;
  for (;;) {
    const size_t start = text.find_first_not_of(" \t\n");
    if (start == std::string_view::npos) break;
    text.remove_prefix(start);
    const size_t end = text.find_first_of(",; \t\n");
    if (end == std::string_view::npos) {
      tokens.emplace_back(text);
      break;
    }
    tokens.emplace_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  return tokens;
}

void WipeString(std::string &text) noexcept {
  // Growing to the capacity stays in the same buffer and makes all of it
  // part of the string, also what an earlier, longer content left behind.
  text.resize(text.capacity());
  explicit_bzero(text.data(), text.size());
  text.clear();
}

// Walks the members rather than looking keys up: nothing here may throw, as
// it runs while a request is released.
namespace {

void WipeMembers(nlohmann::json::object_t &members, std::initializer_list<std::string_view> keys) noexcept {
  for (auto &[key, value] : members) {
    auto *text = value.get_ptr<std::string *>();
    if (text != nullptr && std::find(keys.begin(), keys.end(), key) != keys.end()) WipeString(*text);
  }
}

}  // namespace

void WipeSecrets(nlohmann::json &request) noexcept {
  auto *envelope = request.get_ptr<nlohmann::json::object_t *>();
  if (envelope == nullptr) return;
  for (auto &[name, prm] : *envelope) {
    auto *members = name == "PRM" ? prm.get_ptr<nlohmann::json::object_t *>() : nullptr;
    if (members == nullptr) continue;
    // Login and user passwords, the directory's bind password.
    WipeMembers(*members, {"PWD", "OLDPWD", "NEWPWD", "PDW", "bindps"});
    for (auto &[key, value] : *members) {
      auto *snmp = key == "SNMP" ? value.get_ptr<nlohmann::json::object_t *>() : nullptr;
      if (snmp != nullptr) WipeMembers(*snmp, {"APP", "PPP"});  // a user's SNMPv3 pass phrases
    }
  }
}

}  // namespace kvnc
