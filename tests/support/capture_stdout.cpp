#include "tests/support/capture_stdout.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>

namespace kvnc::test {

CaptureStdout::CaptureStdout() {
  std::fflush(stdout);
  saved_ = dup(1);
  memory_ = memfd_create("stdout", MFD_CLOEXEC);
  dup2(memory_, 1);
}

CaptureStdout::~CaptureStdout() {
  std::fflush(stdout);
  dup2(saved_, 1);
  close(saved_);
  close(memory_);
}

std::string CaptureStdout::Text() {
  std::fflush(stdout);
  std::string text;
  char buffer[4096];
  off_t at = 0;
  for (;;) {
    const ssize_t n = pread(memory_, buffer, sizeof buffer, at);
    if (n <= 0) break;
    text.append(buffer, static_cast<size_t>(n));
    at += n;
  }
  return text;
}

}  // namespace kvnc::test
