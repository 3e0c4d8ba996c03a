// The Lua scripts users write for the controller: files in the repository
// directory on persistent storage, which the daemon verifies and runs under
// its global switch and time-out.
#pragma once

#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

json ListLuaScripts(HpiSession session, const json &prm);   // FN 154
json SaveLuaScript(HpiSession session, const json &prm);    // FN 155
json GetLuaScript(HpiSession session, const json &prm);     // FN 156
json DeleteLuaScript(HpiSession session, const json &prm);  // FN 157
json GetLuaSettings(HpiSession session, const json &prm);   // FN 160
json SetLuaSettings(HpiSession session, const json &prm);   // FN 161
json VerifyLuaScript(HpiSession session, const json &prm);  // FN 162

}  // namespace kvnc
