// Roles: named pairs of 64-bit privilege masks, which travel in JSON as
// [bits 0 to 31, bits 32 to 63].
#pragma once

#include <cstdint>

#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

// [low 32 bits, high 32 bits].
json MaskJson(uint64_t mask);

// FN 42.
json GetRoles(HpiSession session, const json &prm);
// FN 43: description and masks of a role.
json ModifyRole(HpiSession session, const json &prm);
// FN 44.
json CreateRole(HpiSession session, const json &prm);
// FN 45.
json DeleteRole(HpiSession session, const json &prm);

}  // namespace kvnc
