#include "client/daemon_pid.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "client/paths.h"

bool ReadDaemonPid(pid_t &pid) {
  // Plain descriptors rather than stdio: this runs before every request and
  // on every connection to a daemon that is not root.
  const int file = open(kvnc::paths::kDaemonPidFile, O_RDONLY | O_CLOEXEC);
  if (file < 0) return false;
  char text[8] = {};
  ssize_t got;
  do {
    got = read(file, text, sizeof text - 1);  // one line of at most 7 characters
  } while (got < 0 && errno == EINTR);
  close(file);
  if (got <= 0) return false;
  text[std::strcspn(text, std::strchr(text, '\n') != nullptr ? "\n" : " ")] = '\0';
  // "0" or "007" would name no process under /proc; pid 0 is also what a
  // peer outside our pid namespace reports, which must never match.
  const size_t length = std::strlen(text);
  if (length == 0 || text[0] == '0' || std::strspn(text, "0123456789") != length) return false;
  pid_t value = 0;
  for (size_t i = 0; i < length; ++i) value = value * 10 + (text[i] - '0');  // 7 digits fit
  pid = value;
  return true;
}
