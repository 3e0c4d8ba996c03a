#include "api/users/roles.h"

#include <string>
#include <string_view>

#include "api/events/id_walk.h"
#include "api/monitor/hpi_json.h"
#include "client/hpi_functions.h"
#include "client/text_buffer.h"
#include "front/api_error.h"

namespace kvnc {
namespace {

SaHpiTextBufferT TextMember(const json &prm, std::string_view key) {
  return TextBufferFromString(RequireKey(prm, key).get<std::string>());
}

// [low, high] of two numbers; anything shorter is no mask (RC 6).
uint64_t MaskMember(const json &prm, std::string_view key) {
  const json &pair = RequireArray(prm, key);
  if (pair.size() < 2) Fail(ErrorReplyMsg(kRcBadValue, key));
  return GetNumber<uint32_t>(pair[0]) | static_cast<uint64_t>(GetNumber<uint32_t>(pair[1])) << 32;
}

// A role's name, description and masks, read in this order so that the
// first missing one is the one named.
struct RoleRequest {
  SaHpiTextBufferT name;
  SaHpiTextBufferT description;
  uint64_t pmask;
  uint64_t omask;
};

RoleRequest ReadRole(const json &prm) {
  RoleRequest role{};
  role.name = TextMember(prm, "NAME");
  role.description = TextMember(prm, "DESC");
  role.pmask = MaskMember(prm, "PMASKS");
  role.omask = MaskMember(prm, "OMASKS");
  return role;
}

}  // namespace

json MaskJson(uint64_t mask) {
  return json::array({static_cast<uint32_t>(mask & 0xFFFFFFFFu), static_cast<uint32_t>(mask >> 32)});
}

json GetRoles(HpiSession session, const json & /*prm*/) {
  json roles = json::array();
  WalkIds("kvnHpiRoleInfoGetByIndex", [&](uint32_t index, uint32_t *next) {
    SaHpiTextBufferT name{}, description{};
    SaHpiUint64T pmask = 0, omask = 0;
    const SaErrorT rv = kvnHpiRoleInfoGetByIndex(session, index, next, &name, &description, &pmask, &omask);
    if (rv == SA_OK) {
      roles.push_back({{"DESC", TextBufferToString(description)},
                       {"ID", index},
                       {"NAME", TextBufferToString(name)},
                       {"OMASKS", MaskJson(omask)},
                       {"PMASKS", MaskJson(pmask)}});
    }
    return rv;
  });
  return OkReplyWithResponse(roles);
}

json ModifyRole(HpiSession session, const json &prm) {
  const RoleRequest role = ReadRole(prm);
  CheckHpi(kvnHpiRoleDescriptionSet(session, &role.name, &role.description), "kvnHpiRoleDescriptionSet");
  CheckHpi(kvnHpiRolePrivilegesSet(session, &role.name, role.pmask, role.omask), "kvnHpiRolePrivilegesSet");
  return OkReply();
}

json CreateRole(HpiSession session, const json &prm) {
  const RoleRequest role = ReadRole(prm);
  SaHpiUint32T id = 0;
  CheckHpi(kvnHpiRoleCreate(session, &role.name, &role.description, role.pmask, role.omask, &id), "kvnHpiRoleCreate");
  return OkReply();
}

json DeleteRole(HpiSession session, const json &prm) {
  const SaHpiTextBufferT name = TextMember(prm, "NAME");
  CheckHpi(kvnHpiRoleDelete(session, &name), "kvnHpiRoleDelete");
  return OkReply();
}

}  // namespace kvnc
