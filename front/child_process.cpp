#include "front/child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "client/files.h"

extern char **environ;

namespace kvnc {
namespace {

// posix_spawn_file_actions_t released on every path.
class FileActions {
 public:
  FileActions() { ok_ = posix_spawn_file_actions_init(&actions_) == 0; }
  ~FileActions() {
    if (ok_) posix_spawn_file_actions_destroy(&actions_);
  }
  FileActions(const FileActions &) = delete;
  FileActions &operator=(const FileActions &) = delete;
  bool ok() const { return ok_; }
  posix_spawn_file_actions_t *get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_{};
  bool ok_ = false;
};

// Input from /dev/null, output into the pipe's write end, errors dropped.
// Everything else is closed: product descriptors are close-on-exec anyway,
// but those a library opened (connections libfcgi accepted on other worker
// threads) may not be.
int PrepareDescriptors(FileActions &actions, int output) {
  if (!actions.ok()) return ENOMEM;
  posix_spawn_file_actions_t *a = actions.get();
  if (int rc = posix_spawn_file_actions_addopen(a, 0, "/dev/null", O_RDONLY, 0); rc != 0) return rc;
  if (int rc = posix_spawn_file_actions_adddup2(a, output, 1); rc != 0) return rc;
  if (int rc = posix_spawn_file_actions_addopen(a, 2, "/dev/null", O_WRONLY, 0); rc != 0) return rc;
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
  if (int rc = posix_spawn_file_actions_addclosefrom_np(a, 3); rc != 0) return rc;
#endif
  return 0;
}

// The wait status of `pid`, waiting out signals.
int Reap(pid_t pid) {
  int status = -1;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return status;
}

}  // namespace

ChildRun RunChild(const std::vector<std::string> &argv) {
  ChildRun run;
  if (argv.empty()) {
    run.spawn_error = EINVAL;
    return run;
  }
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    run.spawn_error = errno;
    return run;
  }
  pid_t pid = -1;
  bool read = false;
  int read_error = 0;
  {
    const FileDescriptor read_end(fds[0]);  // closed before the wait, so a child still writing gets EPIPE
    {
      const FileDescriptor write_end(fds[1]);  // the parent's copy goes at once, so EOF comes when the child ends
      FileActions actions;
      if (int rc = PrepareDescriptors(actions, write_end.get()); rc != 0) {
        run.spawn_error = rc;
        return run;
      }
      std::vector<char *> args;
      args.reserve(argv.size() + 1);
      for (const std::string &arg : argv) args.push_back(const_cast<char *>(arg.c_str()));
      args.push_back(nullptr);
      if (int rc = posix_spawnp(&pid, args[0], actions.get(), nullptr, args.data(), environ); rc != 0) {
        run.spawn_error = rc;
        return run;
      }
    }
    read = ReadAll(read_end.get(), run.output);
    read_error = errno;
  }
  run.status = Reap(pid);
  if (!read) run.spawn_error = read_error;
  // Where posix_spawn cannot see the exec fail (under a user-mode emulator,
  // for one), the child reports it the C library's way: exit status 127 and
  // no output. It is taken as what it is, a program that could not be run.
  if (run.spawn_error == 0 && run.output.empty() && WIFEXITED(run.status) && WEXITSTATUS(run.status) == 127) {
    run.spawn_error = ENOENT;
  }
  return run;
}

}  // namespace kvnc
