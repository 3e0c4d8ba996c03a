#include "front/child_process.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "client/eal_log.h"

namespace kvnc {
namespace {

TEST(ChildProcess, OutputOfAnyLengthWithItsNewlinesAndTheExitStatus) {
  ChildRun run = RunChild({"sh", "-c", "printf 'one\\ntwo\\n\\nlast'; echo dropped >&2; exit 3"});
  ASSERT_TRUE(run.started());
  EXPECT_EQ(run.output, "one\ntwo\n\nlast");
  ASSERT_TRUE(WIFEXITED(run.status));
  EXPECT_EQ(WEXITSTATUS(run.status), 3);

  // More than a pipe holds, so the child waits for the reader.
  run = RunChild({"sh", "-c", "head -c 300000 /dev/zero | tr '\\0' x"});
  EXPECT_EQ(run.output, std::string(300000, 'x'));
  EXPECT_EQ(WEXITSTATUS(run.status), 0);

  // Arguments reach the program as they are: no shell in between.
  run = RunChild({"printf", "%s|", "a b", "$HOME", ";"});
  EXPECT_EQ(run.output, "a b|$HOME|;|");
}

// Both outputs large (more than a pipe holds): the child never blocks on
// its errors while the parent reads its output.
TEST(ChildProcess, ErrorOutputIsKeptApartWhenAskedFor) {
  ChildRun run =
      RunChild({"sh", "-c", "printf out; head -c 200000 /dev/zero | tr '\\0' e >&2; head -c 100000 /dev/zero"}, true);
  ASSERT_TRUE(run.started());
  EXPECT_EQ(run.output.size(), 3U + 100000U);
  EXPECT_EQ(run.output.substr(0, 3), "out");
  EXPECT_EQ(run.errors, std::string(200000, 'e'));
  EXPECT_EQ(RunChild({"sh", "-c", "echo gone >&2"}).errors, "");
}

TEST(ChildProcess, ProgramsThatCannotStartAreReported) {
  ChildRun run = RunChild({"kvnc-no-such-program"});
  EXPECT_FALSE(run.started());
  EXPECT_EQ(run.spawn_error, ENOENT);
  EXPECT_FALSE(RunChild({}).started());
}

// The program's descriptor 0 is the FastCGI listening socket, and libraries
// open descriptors without close-on-exec: none of them reaches the child.
TEST(ChildProcess, TheChildInheritsOnlyItsOutputPipe) {
  int leaked[2];
  ASSERT_EQ(pipe(leaked), 0);  // not close-on-exec, as a library would leave it
  const int saved_stdin = dup(0);
  ASSERT_GE(saved_stdin, 0);
  ASSERT_EQ(dup2(leaked[0], 0), 0);  // stands in for the listening socket

  const ChildRun run = RunChild({"sh", "-c", "ls /proc/$$/fd; readlink /proc/$$/fd/0; readlink /proc/$$/fd/2; true"});

  dup2(saved_stdin, 0);
  close(saved_stdin);
  close(leaked[0]);
  close(leaked[1]);
  EXPECT_EQ(run.output, "0\n1\n2\n/dev/null\n/dev/null\n");
}

// ---- setting processes ------------------------------------------------------------
// A setting process keeps no descriptor of the program, so it reports back
// by opening the test's pipe again through /proc, the way any other process
// could.
class SettingProcess : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(pipe(report_), 0); }  // deliberately not close-on-exec
  void TearDown() override {
    close(report_[0]);
    close(report_[1]);
  }

  // For the work: sends `text` into the test's pipe.
  static void Report(pid_t test, int fd, const std::string &text) {
    const std::string path = "/proc/" + std::to_string(test) + "/fd/" + std::to_string(fd);
    const int out = open(path.c_str(), O_WRONLY);
    if (out < 0) return;
    (void)!write(out, text.data(), text.size());
    close(out);
  }
  std::function<void(const std::string &)> Reporter() const {
    return [test = getpid(), fd = report_[1]](const std::string &text) { Report(test, fd, text); };
  }

  // What arrived within `timeout`, up to `size` bytes or `lines` lines.
  std::string Read(size_t size, std::chrono::milliseconds timeout = std::chrono::seconds(10), size_t lines = SIZE_MAX) {
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (got.size() < size && static_cast<size_t>(std::count(got.begin(), got.end(), '\n')) < lines) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      pollfd p{report_[0], POLLIN, 0};
      if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
      char buffer[4096];
      const ssize_t n = read(report_[0], buffer, std::min(sizeof buffer, size - got.size()));
      if (n <= 0) break;
      got.append(buffer, static_cast<size_t>(n));
    }
    return got;
  }

  // Children of this process, and whether any is a zombie.
  static std::vector<std::string> ChildStates() {
    std::vector<std::string> states;
    DIR *proc = opendir("/proc");
    while (dirent *entry = proc != nullptr ? readdir(proc) : nullptr) {
      std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
      std::string line;
      if (!std::getline(stat, line)) continue;
      std::istringstream after(line.substr(line.rfind(')') + 2));
      std::string state;
      pid_t parent = 0;
      after >> state >> parent;
      if (parent == getpid()) states.push_back(std::string(entry->d_name) + ":" + state);
    }
    if (proc != nullptr) closedir(proc);
    return states;
  }

  static bool Gone(pid_t pid, std::chrono::seconds within) {
    const auto deadline = std::chrono::steady_clock::now() + within;
    while (kill(pid, 0) == 0 || errno != ESRCH) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
  }

  int report_[2] = {-1, -1};
};

// The work's own view of itself: descriptors, what 0 to 2 are, its pid.
std::string DescribeSelf() {
  std::string fds;
  DIR *dir = opendir("/proc/self/fd");
  const int own = dir != nullptr ? dirfd(dir) : -1;
  while (dirent *entry = dir != nullptr ? readdir(dir) : nullptr) {
    if (entry->d_name[0] == '.' || std::atoi(entry->d_name) == own) continue;
    fds += std::string(entry->d_name) + " ";
  }
  if (dir != nullptr) closedir(dir);
  std::string links;
  for (const char *fd : {"/proc/self/fd/0", "/proc/self/fd/1", "/proc/self/fd/2"}) {
    char target[64] = {};
    (void)!readlink(fd, target, sizeof target - 1);
    links += std::string(target) + " ";
  }
  return fds + "|" + links + "|" + std::to_string(getpid()) + "\n";
}

// Stand-ins for the listening socket, a FastCGI connection and a daemon
// connection: open, not close-on-exec, none of them may reach the work.
TEST_F(SettingProcess, RunsDetachedWithoutTheProgramsDescriptorsAndLeavesNoZombie) {
  int held[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, held), 0);
  const auto report = Reporter();
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(StartSettingProcess([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the caller does not wait for this
    report(DescribeSelf());
    return 0;
  }));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(250));
  // The one in between is reaped already; the work is nobody's child here.
  EXPECT_EQ(ChildStates(), std::vector<std::string>{});

  std::string line = Read(200, std::chrono::seconds(10), 1);
  close(held[0]);
  close(held[1]);
  ASSERT_NE(line.find('\n'), std::string::npos) << line;
  EXPECT_EQ(line.substr(0, line.find("|/")), "0 1 2 ");
  EXPECT_EQ(line.substr(line.find('|') + 1, line.rfind('|') - line.find('|') - 1), "/dev/null /dev/null /dev/null ");
  const pid_t work = std::atoi(line.substr(line.rfind('|') + 1).c_str());
  EXPECT_NE(work, getpid());
  EXPECT_TRUE(Gone(work, std::chrono::seconds(5)));
  EXPECT_EQ(ChildStates(), std::vector<std::string>{});
}

// The work ends with _exit, however it ends: none of the program's atexit
// handlers runs there, and an exception never unwinds into the caller.
pid_t atexit_test_pid = 0;
std::function<void(const std::string &)> atexit_report;
void ReportForeignAtexit() {
  if (atexit_test_pid != 0 && getpid() != atexit_test_pid && atexit_report) atexit_report("atexit ran\n");
}

TEST_F(SettingProcess, EndsWithoutTheProgramsExitHandlersEvenWhenTheWorkThrows) {
  static const bool registered = std::atexit(ReportForeignAtexit) == 0;
  ASSERT_TRUE(registered);
  atexit_test_pid = getpid();
  atexit_report = Reporter();
  const auto report = Reporter();
  ASSERT_TRUE(StartSettingProcess([&] {
    report("returns\n");
    return 3;
  }));
  ASSERT_TRUE(StartSettingProcess([&]() -> int {
    report("throws\n");
    throw std::runtime_error("lost");
  }));
  // Both, in either order, and nothing else while a stray exit could still come.
  std::istringstream got(Read(100, std::chrono::seconds(2)));
  std::vector<std::string> lines;
  for (std::string line; std::getline(got, line);) lines.push_back(line);
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{"returns", "throws"}));
  atexit_test_pid = 0;
  atexit_report = nullptr;
}

// Run in a process of a uid that has no other process, with room for
// `processes` of them: StartSettingProcess's result and errno, as "1 0" or
// "0 11". Root's own limit is not enforced, hence the real uid.
std::string StartWithProcessLimit(rlim_t processes) {
  int out[2];
  if (pipe(out) != 0) return "pipe";
  const pid_t probe = fork();
  if (probe == 0) {
    close(out[0]);
    const rlimit limit{processes, processes};
    if (setgid(54321) != 0 || setuid(54321) != 0 || setrlimit(RLIMIT_NPROC, &limit) != 0) _exit(2);
    const bool started = StartSettingProcess([] { return 0; });
    const std::string result = std::to_string(started ? 1 : 0) + " " + std::to_string(started ? 0 : errno);
    (void)!write(out[1], result.data(), result.size());
    _exit(0);
  }
  close(out[1]);
  std::string result;
  char buffer[64];
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) result.append(buffer, static_cast<size_t>(n));
  close(out[0]);
  int status = 0;
  waitpid(probe, &status, 0);
  return result;
}

// Neither fork may fail silently: the caller answers RC 10 and logs.
TEST(SettingProcessStart, AFailedForkIsReportedEvenInTheProcessBetween) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root";
  if (getenv("KVNC_EMULATED") != nullptr) GTEST_SKIP() << "the emulator's own threads count against the process limit";
  EXPECT_EQ(StartWithProcessLimit(1), "0 " + std::to_string(EAGAIN));  // the first fork
  EXPECT_EQ(StartWithProcessLimit(2), "0 " + std::to_string(EAGAIN));  // the one in between cannot fork the work
  EXPECT_EQ(StartWithProcessLimit(3), "1 0");
}

// A forked child stamps its log lines by calendar arithmetic alone; it must
// agree with the C library's UTC conversion everywhere, leap days, century
// rules and times before 1970 included.
TEST(ChildLogClock, AgreesWithTheCLibrary) {
  // 1900 to 2200, or what time_t holds (32 bits on the appliance), a day's margin kept.
  const int64_t first = std::max<int64_t>(-2208988800LL, int64_t{std::numeric_limits<time_t>::min()} + 86400);
  const int64_t last = std::min<int64_t>(7258118400LL, int64_t{std::numeric_limits<time_t>::max()} - 86400);
  for (int64_t t = first; t < last; t += 86400 * 7 + 3607) {
    for (const int64_t at : {t, t - t % 86400, t - t % 86400 - 1}) {
      const time_t seconds = static_cast<time_t>(at);
      struct tm want {};
      ASSERT_NE(gmtime_r(&seconds, &want), nullptr);
      const struct tm got = eal_log_civil_time(at);
      ASSERT_EQ(std::vector<int>({got.tm_year, got.tm_mon, got.tm_mday, got.tm_hour, got.tm_min, got.tm_sec}),
                std::vector<int>({want.tm_year, want.tm_mon, want.tm_mday, want.tm_hour, want.tm_min, want.tm_sec}))
          << at;
    }
  }
}

// Many threads log while setting processes start, so a fork often comes
// while another thread holds the log's lock; each child logs too and must
// still finish.
TEST_F(SettingProcess, ChildrenForkedWhileOtherThreadsLogStillFinish) {
  const eal_log_config_t saved_config = eal_log_config;
  std::fflush(stdout);
  const int saved_stdout = dup(1);
  const int null = open("/dev/null", O_WRONLY);
  ASSERT_GE(dup2(null, 1), 0);
  close(null);
  eal_log_config.to_stdout = 1;
  eal_log_config.stdout_mask = EAL_LOG_INFO | EAL_LOG_ERROR;
  eal_log_config.to_syslog = 0;

  std::atomic<bool> stop{false};
  std::vector<std::thread> loggers;
  loggers.reserve(8);
  for (int i = 0; i < 8; ++i) {
    loggers.emplace_back([&stop, i] {
      while (!stop) eal_log(EAL_LOG_INFO, "logger %d keeps the lock busy %s\n", i, "with a line");
    });
  }
  constexpr int kChildren = 40;
  const auto report = Reporter();
  int started = 0;
  for (int i = 0; i < kChildren; ++i) {
    started += StartSettingProcess([&] {
      eal_log(EAL_LOG_ERROR, "child logs %d\n", i);
      report("x");
      return 0;
    })
                   ? 1
                   : 0;
  }
  const std::string finished = Read(kChildren, std::chrono::seconds(20));
  stop = true;
  for (std::thread &t : loggers) t.join();
  std::fflush(stdout);
  dup2(saved_stdout, 1);
  close(saved_stdout);
  eal_log_config = saved_config;

  EXPECT_EQ(started, kChildren);
  EXPECT_EQ(finished.size(), static_cast<size_t>(kChildren)) << "children hung on a lock taken at the fork";
}

}  // namespace
}  // namespace kvnc
