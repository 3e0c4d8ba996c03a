#include "front/api_error.h"

#include <libintl.h>

#include <string>

#include "client/hpi_functions.h"

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

void RequirePrivilege(uint32_t session, uint64_t bits, const char *refusal) {
  SaHpiUint64T mask = 0, other = 0;
  CheckHpi(kvnHpiCurrentPrivilegeMaskGet(session, &mask, &other), "kvnHpiCurrentPrivilegeMaskGet");
  if ((mask & bits) == 0) Fail(ErrorReplyMsg(kRcNotAuthorised, gettext(refusal)));
}

}  // namespace kvnc
