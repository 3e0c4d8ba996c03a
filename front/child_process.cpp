#include "front/child_process.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/mman.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <mutex>

#include "client/eal_log.h"
#include "client/files.h"
#include "front/session_store.h"

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

// Input from /dev/null, output into the pipe's write end, errors into
// `errors` or dropped when it is -1. Everything else is closed: product
// descriptors are close-on-exec anyway, but those a library opened
// (connections libfcgi accepted on other worker threads) may not be.
int PrepareDescriptors(FileActions &actions, int output, int errors) {
  if (!actions.ok()) return ENOMEM;
  posix_spawn_file_actions_t *a = actions.get();
  if (int rc = posix_spawn_file_actions_addopen(a, 0, "/dev/null", O_RDONLY, 0); rc != 0) return rc;
  if (int rc = posix_spawn_file_actions_adddup2(a, output, 1); rc != 0) return rc;
  const int rc = errors >= 0 ? posix_spawn_file_actions_adddup2(a, errors, 2)
                             : posix_spawn_file_actions_addopen(a, 2, "/dev/null", O_WRONLY, 0);
  if (rc != 0) return rc;
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

// A setting process whose daemon never answers still ends: each client call
// gives up after at most 64 s.
constexpr unsigned kSettingProcessLimitSeconds = 120;

// Locks a thread of the program may hold while another forks, taken in the
// order the program takes them (the session store logs under its lock).
void PrepareFork() {
  WebSessionStore::LockForFork();
  eal_log_fork_prepare();
}

void AfterForkInParent() {
  eal_log_fork_parent();
  WebSessionStore::UnlockAfterFork();
}

void AfterForkInChild() {
  eal_log_fork_child();
  WebSessionStore::UnlockAfterFork();
}

bool ForkHandlersRegistered() {
  static std::once_flag once;
  static bool registered = false;
  std::call_once(once, [] { registered = pthread_atfork(PrepareFork, AfterForkInParent, AfterForkInChild) == 0; });
  return registered;
}

void CloseFrom(int first) {
#ifdef SYS_close_range
  if (syscall(SYS_close_range, first, ~0U, 0) == 0) return;
#endif
  rlimit limit{};
  const rlim_t end = getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY ? limit.rlim_cur : 65536;
  for (rlim_t fd = static_cast<rlim_t>(first); fd < end; ++fd) close(static_cast<int>(fd));
}

// Close-on-exec does nothing without an exec: every descriptor goes, so the
// web server sees a reply end when the program answers it, and no daemon
// connection or listening socket lives on in the child.
void DetachDescriptors() {
  const int null = open("/dev/null", O_RDWR | O_CLOEXEC);  // dup2 below gives 0 to 2 without the flag
  for (int fd = 0; fd < 3; ++fd) {
    if (null >= 0) {
      dup2(null, fd);  // cloexec-ok: the child's own standard descriptors
    } else {
      close(fd);
    }
  }
  CloseFrom(3);
}

[[noreturn]] void RunSetting(const std::function<int()> &work) {
  DetachDescriptors();
  // The worker threads block the stop signals; this process must stay stoppable.
  sigset_t none;
  sigemptyset(&none);
  pthread_sigmask(SIG_SETMASK, &none, nullptr);
  alarm(kSettingProcessLimitSeconds);
  int status = 1;
  try {
    status = work();
  } catch (...) {
    // Never unwinds into the serving thread's frames: the request loop would answer again.
  }
  _exit(status & 0xFF);
}

}  // namespace

bool StartSettingProcess(const std::function<int()> &work) {
  if (!ForkHandlersRegistered()) {
    errno = ENOMEM;
    return false;
  }
  const pid_t middle = fork();
  if (middle < 0) return false;
  if (middle == 0) {
    const pid_t worker = fork();
    if (worker == 0) RunSetting(work);
    _exit(worker > 0 ? 0 : (errno > 0 && errno < 256 ? errno : EAGAIN));
  }
  const int status = Reap(middle);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  errno = WIFEXITED(status) ? WEXITSTATUS(status) : ECHILD;
  return false;
}

int ChildRun::exit_code() const {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return status;
}

ChildRun RunChild(const std::vector<std::string> &argv, bool capture_errors) {
  ChildRun run;
  if (argv.empty()) {
    run.spawn_error = EINVAL;
    return run;
  }
  // Read after the child ended, so a child filling both outputs cannot block on either.
  const FileDescriptor errors(capture_errors ? memfd_create("child-errors", MFD_CLOEXEC) : -1);
  if (capture_errors && !errors.valid()) {
    run.spawn_error = errno;
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
      if (int rc = PrepareDescriptors(actions, write_end.get(), errors.get()); rc != 0) {
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
  if (errors.valid() && (lseek(errors.get(), 0, SEEK_SET) != 0 || !ReadAll(errors.get(), run.errors))) {
    if (run.spawn_error == 0) run.spawn_error = errno;
  }
  // Where posix_spawn cannot see the exec fail (under a user-mode emulator,
  // for one), the child reports it the C library's way: exit status 127 and
  // no output. It is taken as what it is, a program that could not be run.
  if (run.spawn_error == 0 && run.output.empty() && WIFEXITED(run.status) && WEXITSTATUS(run.status) == 127) {
    run.spawn_error = ENOENT;
  }
  return run;
}

}  // namespace kvnc
