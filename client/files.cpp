#include "client/files.h"

#include <unistd.h>

#include <cerrno>

namespace kvnc {

int OpenFile(const char *path, int flags, mode_t mode) {
  int fd;
  do {
    fd = open(path, flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool ReadAll(int fd, std::string &out) {
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    out.append(buffer, static_cast<size_t>(n));
  }
}

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = write(fd, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

bool ReadFile(const char *path, std::string &out, int flags) {
  const FileDescriptor fd(OpenFile(path, O_RDONLY | flags));
  return fd.valid() && ReadAll(fd.get(), out);
}

bool WriteFile(const char *path, std::string_view text, mode_t mode, int flags) {
  const int fd = OpenFile(path, O_WRONLY | O_CREAT | O_TRUNC | flags, mode);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, text);
  const int error = errno;
  if (close(fd) != 0 && written) return false;
  errno = error;
  return written;
}

FileDescriptor::~FileDescriptor() {
  if (fd_ >= 0) close(fd_);
}

}  // namespace kvnc
