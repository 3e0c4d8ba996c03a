#include "front/identity.h"

#include <sys/fsuid.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

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

bool SetThreadEffectiveUid(uid_t uid) {
  const long unchanged = -1;
  if (syscall(kSetResUidCall, unchanged, static_cast<long>(uid), unchanged) != 0) {
    eal_log(EAL_LOG_ERROR, "setresuid failed: %d\n", errno);
    return false;
  }
  return true;
}

void SetThreadFsUidRoot() {
  setfsuid(0);
  if (setfsuid(static_cast<uid_t>(-1)) != 0) eal_log(EAL_LOG_ERROR, "setfsuid failed\n");
}

}  // namespace kvnc
