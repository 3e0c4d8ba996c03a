#include "front/text_helpers.h"

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

}  // namespace kvnc
