// Every file of the product is opened here, close-on-exec: handlers run shell
// tools from worker threads, and a child forked while another thread holds a
// descriptor would otherwise inherit it. (C++ streams and stdio open without
// O_CLOEXEC.) Failures return false or -1 with errno set.
#pragma once

#include <fcntl.h>
#include <sys/types.h>

#include <string>
#include <string_view>

namespace kvnc {

// open() with O_CLOEXEC added, retried on EINTR. Callers add O_NOFOLLOW where
// a link is never expected.
int OpenFile(const char *path, int flags, mode_t mode = 0);

// Everything from fd up to its end, appended to out.
bool ReadAll(int fd, std::string &out);
// All of text to fd.
bool WriteAll(int fd, std::string_view text);

// The whole file (opened with O_RDONLY | flags) into out.
bool ReadFile(const char *path, std::string &out, int flags = 0);
// Creates or truncates path (mode for a new file, before the umask) and
// writes text; a failed close counts as a failed write.
bool WriteFile(const char *path, std::string_view text, mode_t mode, int flags = 0);

// Owns one descriptor: closed on every path out of the scope that opened it.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor();
  FileDescriptor(const FileDescriptor &) = delete;
  FileDescriptor &operator=(const FileDescriptor &) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }

 private:
  int fd_;
};

}  // namespace kvnc
