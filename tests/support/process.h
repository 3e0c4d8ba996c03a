// Starting and stopping the programs under test.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace kvnc::test {

class ChildProcess {
 public:
  ChildProcess() = default;
  // Starts argv[0] with argv; stdout/stderr go to the files named (or are
  // inherited when empty).
  explicit ChildProcess(const std::vector<std::string> &argv, const std::string &output_file = "");
  ~ChildProcess();
  ChildProcess(ChildProcess &&other) noexcept;
  ChildProcess &operator=(ChildProcess &&other) noexcept;

  pid_t pid() const { return pid_; }
  bool Running();
  // Sends `signal` and waits; returns the wait status, or -1 on timeout
  // (the process is then killed).
  int Stop(int signal, std::chrono::milliseconds timeout = std::chrono::seconds(10));

 private:
  pid_t pid_ = -1;
};

// Waits until `path` exists (a socket being bound); false on timeout.
bool WaitForPath(const std::string &path, std::chrono::milliseconds timeout = std::chrono::seconds(10));

// The open descriptors of a process with their fdinfo flags.
struct OpenDescriptor {
  int fd;
  unsigned flags;      // octal "flags:" of /proc/PID/fdinfo/FD
  std::string target;  // readlink of /proc/PID/fd/FD
};
std::vector<OpenDescriptor> OpenDescriptors(pid_t pid);
int ThreadCount(pid_t pid);

// Makes the program believe the controller daemon runs: its pid file names
// `pid` (a live process).
void WriteDaemonPidFile(pid_t pid);

}  // namespace kvnc::test
