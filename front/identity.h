// The worker thread's identity: each request of a logged-in user runs with
// the user's effective uid, so the daemon applies the user's rights to every
// call on the thread's connections, while file access stays that of root.
#pragma once

#include <sys/types.h>

namespace kvnc {

// A uid a request may run as. 0 would run the request as root, and
// (uid_t)-1 means "unchanged" to the kernel: a switch to it reports success
// and leaves the thread as it was.
bool IsUserUid(uid_t uid);

// The switch of this thread's effective uid (real and saved uid unchanged)
// to a user's, held for the object's lifetime. The thread's own uid is saved
// on construction, before any switch, so the destructor restores it on every
// path, also while an exception unwinds.
class ThreadIdentity {
 public:
  ThreadIdentity();
  ~ThreadIdentity();
  ThreadIdentity(const ThreadIdentity &) = delete;
  ThreadIdentity &operator=(const ThreadIdentity &) = delete;

  // Switches to `uid` and sets the file-system uid to 0. True only when the
  // thread's effective uid is `uid` afterwards; otherwise "setresuid failed"
  // is logged and the request must not go on as this thread.
  bool SwitchTo(uid_t uid);

  // Back to the saved uid (and file-system uid 0); done once.
  void Restore();

 private:
  uid_t saved_;
  bool switched_ = false;
};

// The kernel's setresuid for this thread only: the C library's setresuid
// would change every thread of the process. Returns 0 or errno.
int SetThreadEffectiveUid(uid_t uid);

// File-system uid 0 for this thread, verified; logs "setfsuid failed".
void SetThreadFsUidRoot();

}  // namespace kvnc
