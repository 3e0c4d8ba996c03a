// The local side of user accounts: the failed-login counter kept by PAM
// (read and reset through the platform's pam_tally2) and the SSH public key
// handed to the daemon in a file.
#pragma once

#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

// FN 35.
json GetLockedUsers(HpiSession session, const json &prm);
// FN 41.
json UnlockUser(HpiSession session, const json &prm);
// FN 61.
json SetUserSshKey(HpiSession session, const json &prm);

}  // namespace kvnc
