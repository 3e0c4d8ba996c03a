// The worker thread's identity: each request of a logged-in user runs with
// the user's effective uid, so the daemon applies the user's rights to every
// call on the thread's connections, while file access stays that of root.
#pragma once

#include <sys/types.h>

namespace kvnc {

// Sets this thread's effective uid (real and saved uid unchanged) with the
// kernel's own call: the C library's setresuid would change every thread of
// the process. Logs "setresuid failed: %d" on failure.
bool SetThreadEffectiveUid(uid_t uid);

// File-system uid 0 for this thread, verified; logs "setfsuid failed".
void SetThreadFsUidRoot();

}  // namespace kvnc
