// Captures what the process writes to standard output while in scope
// (into an anonymous memory file: nothing touches the file system).
#pragma once

#include <string>

namespace kvnc::test {

class CaptureStdout {
 public:
  CaptureStdout();
  ~CaptureStdout();
  CaptureStdout(const CaptureStdout &) = delete;
  CaptureStdout &operator=(const CaptureStdout &) = delete;
  std::string Text();  // everything written so far

 private:
  int saved_ = -1;
  int memory_ = -1;
};

}  // namespace kvnc::test
