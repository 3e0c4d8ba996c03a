#include "tests/support/process.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "client/paths.h"
#include <thread>

namespace kvnc::test {

ChildProcess::ChildProcess(const std::vector<std::string> &argv, const std::string &output_file) {
  std::vector<char *> args;
  for (const std::string &a : argv) args.push_back(const_cast<char *>(a.c_str()));
  args.push_back(nullptr);
  pid_ = fork();
  if (pid_ == 0) {
    if (!output_file.empty()) {
      const int fd = open(output_file.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
      if (fd >= 0) {
        dup2(fd, 1);
        dup2(fd, 2);
        close(fd);
      }
    }
    close_range(3, ~0U, 0);  // nothing of the test runner leaks into the program
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0) Stop(SIGKILL);
}

ChildProcess::ChildProcess(ChildProcess &&other) noexcept : pid_(other.pid_) { other.pid_ = -1; }

ChildProcess &ChildProcess::operator=(ChildProcess &&other) noexcept {
  if (this != &other) {
    if (pid_ > 0) Stop(SIGKILL);
    pid_ = other.pid_;
    other.pid_ = -1;
  }
  return *this;
}

bool ChildProcess::Running() {
  if (pid_ <= 0) return false;
  int status = 0;
  return waitpid(pid_, &status, WNOHANG) == 0;
}

int ChildProcess::Stop(int signal, std::chrono::milliseconds timeout) {
  if (pid_ <= 0) return -1;
  kill(pid_, signal);
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  int status = 0;
  while (waitpid(pid_, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
      pid_ = -1;
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  pid_ = -1;
  return status;
}

bool WaitForPath(const std::string &path, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  struct stat st {};
  while (stat(path.c_str(), &st) != 0) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

std::vector<OpenDescriptor> OpenDescriptors(pid_t pid) {
  std::vector<OpenDescriptor> out;
  const std::string base = "/proc/" + std::to_string(pid);
  DIR *dir = opendir((base + "/fd").c_str());
  if (dir == nullptr) return out;
  while (dirent *entry = readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    OpenDescriptor d{std::atoi(entry->d_name), 0, ""};
    char target[512] = {};
    const ssize_t n = readlink((base + "/fd/" + entry->d_name).c_str(), target, sizeof target - 1);
    if (n > 0) d.target.assign(target, static_cast<size_t>(n));
    std::ifstream info(base + "/fdinfo/" + entry->d_name);
    std::string key;
    while (info >> key) {
      if (key == "flags:") {
        std::string octal;
        info >> octal;
        d.flags = static_cast<unsigned>(std::stoul(octal, nullptr, 8));
        break;
      }
    }
    out.push_back(d);
  }
  closedir(dir);
  return out;
}

int ThreadCount(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string key;
  while (status >> key) {
    if (key == "Threads:") {
      int n = 0;
      status >> n;
      return n;
    }
  }
  return -1;
}

}  // namespace kvnc::test

namespace kvnc::test {

void WriteDaemonPidFile(pid_t pid) { std::ofstream(paths::kDaemonPidFile) << pid << "\n"; }

}  // namespace kvnc::test
