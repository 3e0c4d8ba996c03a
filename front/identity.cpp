#include "front/identity.h"

#include <sys/fsuid.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "client/eal_log.h"

namespace kvnc {

// On 32-bit ARM the call numbered 164 is the old 16-bit one, which silently
// cuts uids above 65535 (directory users); the 32-bit call has its own number
// there. Platforms with 32-bit uids from the start have only the one call.
#ifdef SYS_setresuid32
constexpr long kSetResUidCall = SYS_setresuid32;
#else
constexpr long kSetResUidCall = SYS_setresuid;
#endif

bool IsUserUid(uid_t uid) { return uid != 0 && uid != static_cast<uid_t>(-1); }

int SetThreadEffectiveUid(uid_t uid) {
  const long unchanged = -1;
  return syscall(kSetResUidCall, unchanged, static_cast<long>(uid), unchanged) == 0 ? 0 : errno;
}

void SetThreadFsUidRoot() {
  setfsuid(0);
  if (setfsuid(static_cast<uid_t>(-1)) != 0) eal_log(EAL_LOG_ERROR, "setfsuid failed\n");
}

// geteuid() is the plain system call, so it reads this thread's own
// credentials, not a value cached for the process.
ThreadIdentity::ThreadIdentity() : saved_(geteuid()) {}

ThreadIdentity::~ThreadIdentity() { Restore(); }

bool ThreadIdentity::SwitchTo(uid_t uid) {
  if (!IsUserUid(uid)) {
    eal_log(EAL_LOG_ERROR, "setresuid failed: %d\n", EINVAL);
    return false;
  }
  switched_ = true;  // whatever the call did, the saved uid is put back
  int error = SetThreadEffectiveUid(uid);
  // A call that claims success without the switch having happened (16-bit
  // uids, a uid the kernel reads as "unchanged") fails all the same.
  if (error == 0 && geteuid() != uid) error = EPERM;
  if (error != 0) {
    eal_log(EAL_LOG_ERROR, "setresuid failed: %d\n", error);
    return false;
  }
  SetThreadFsUidRoot();
  return true;
}

void ThreadIdentity::Restore() {
  if (!switched_) return;
  switched_ = false;
  const int error = SetThreadEffectiveUid(saved_);
  if (error != 0 || geteuid() != saved_) {
    // The thread would serve the next request, of anybody, as this user.
    eal_log(EAL_LOG_ERROR, "setresuid failed: %d\n", error != 0 ? error : EPERM);
    std::abort();
  }
  if (saved_ != 0) SetThreadFsUidRoot();
}

}  // namespace kvnc
