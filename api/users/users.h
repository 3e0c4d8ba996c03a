// The users page and the user's own settings: password change, preferences,
// the user list, user details, creating, changing, deleting and disabling
// users. The daemon applies the caller's rights to every call.
#pragma once

#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

// FN 32: PRM.USER's password, after PAM has accepted PRM.OLDPWD.
json ChangePassword(HpiSession session, const json &prm);
// FN 33: units, web parameters and (optionally) language of the caller.
json SetCurrentUserPreferences(HpiSession session, const json &prm);
// FN 34: every user with lock state.
json GetUsers(HpiSession session, const json &prm);
// FN 36: one user with roles, preferences and SNMPv3 access; all roles.
json GetUserDetails(HpiSession session, const json &prm);
// FN 37: {"bad_password": true} when the daemon rejected the new password
// but took everything else.
json ModifyUser(HpiSession session, const json &prm);
// FN 38.
json AddUser(HpiSession session, const json &prm);
// FN 39 and FN 40 (with ENABLED 0): once the daemon has accepted, the user's
// web sessions end.
json DeleteUser(HpiSession session, const json &prm);
json SetUserEnabled(HpiSession session, const json &prm);

}  // namespace kvnc
