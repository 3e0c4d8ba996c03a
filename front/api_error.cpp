#include "front/api_error.h"

#include <string>

namespace kvnc {

void Fail(json reply) { throw ApiFailure{std::move(reply)}; }

const json &RequireKey(const json &object, std::string_view key, std::string_view parent) {
  if (object.is_object()) {
    const auto it = object.find(key);
    if (it != object.end()) return *it;
  }
  if (parent.empty()) Fail(ErrorReplyMsg(kRcMissingParam, key));
  std::string name(parent);
  name += ':';
  name += key;
  Fail(ErrorReplyMsg(kRcMissingParam, name));
}

void CheckHpi(int32_t rv, std::string_view function) {
  if (rv != 0) Fail(ErrorReplyWithCode(kRcHpiError, rv, function));
}

}  // namespace kvnc
