// Who may serve the daemon's socket. Once the daemon has died, any local user
// can bind /tmp/Korvane; the client talks only to root or to the process that
// the daemon's pid file names, and sends nobody else a single byte.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/time.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "client/client_session.h"
#include "client/daemon_pid.h"
#include "client/paths.h"
#include "tests/support/eal_log_capture.h"
#include "tests/support/fake_daemon.h"
#include "tests/support/syslog_sink.h"

namespace {

using kvnc::test::EalLogCapture;
using kvnc::test::FakeDaemon;
using kvnc::test::RawFrame;
using kvnc::test::ReadRequestFrame;
using kvnc::test::ReadToEnd;
using kvnc::test::WriteAll;
using Clock = std::chrono::steady_clock;

// 32-bit ids on every platform (on 32-bit ARM the plain calls take 16 bits).
#ifdef SYS_setresuid32
constexpr long kSetResUid = SYS_setresuid32;
constexpr long kSetResGid = SYS_setresgid32;
constexpr long kSetGroups = SYS_setgroups32;
#else
constexpr long kSetResUid = SYS_setresuid;
constexpr long kSetResGid = SYS_setresgid;
constexpr long kSetGroups = SYS_setgroups;
#endif

constexpr uint32_t kUntouched = 0xDEADBEEF;
// "operator" of tests/hermetic/users.txt; the user and group ids are all the
// impostor needs.
constexpr uid_t kOtherUid = 1002;
constexpr gid_t kOtherGid = 1002;

// Reply to saHpiSessionOpen (RPC 1): SA_OK and session id 42.
constexpr uint8_t kOpenReplyOk[20] = {0x01, 0x11, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x08, 0x00,
                                      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2A, 0x00, 0x00, 0x00};
constexpr size_t kOpenRequestSize = 16;  // header and the domain id

SaErrorT SessionOpen(uint32_t *session) {
  uint32_t domain = 7;
  HpiParamBlock block = {};
  block.request[0] = &domain;
  block.reply[1] = session;
  return HpiRpcCall(1, block);
}

// Everything one connection brings; answers a whole session open request.
// Runs in the forked child: system calls only.
uint32_t ServeConnection(int fd) {
  const timeval limit{5, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  uint32_t received = 0;
  bool answered = false;
  for (;;) {
    uint8_t chunk[256];
    const ssize_t got = recv(fd, chunk, sizeof chunk, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return received;
    received += static_cast<uint32_t>(got);
    if (!answered && received >= kOpenRequestSize) {
      answered = true;
      (void)!send(fd, kOpenReplyOk, sizeof kOpenReplyOk, MSG_NOSIGNAL);
    }
  }
}

// The child: becomes uid/gid, binds the daemon's path, says "ready" on
// `report`, then writes one u32 per connection (the bytes it received) until
// `stop` is closed.
[[noreturn]] void RunImpostor(uid_t uid, gid_t gid, int report, int stop) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (syscall(kSetGroups, 0, nullptr) != 0 || syscall(kSetResGid, gid, gid, gid) != 0 ||
      syscall(kSetResUid, uid, uid, uid) != 0) {
    _exit(10);
  }
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, kvnc::paths::kDaemonSocket, sizeof address.sun_path - 1);
  const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
  if (listener < 0 || bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
      listen(listener, 8) != 0) {
    _exit(11);
  }
  const char ready = 'R';
  if (write(report, &ready, 1) != 1) _exit(12);
  for (;;) {
    pollfd fds[2] = {{listener, POLLIN, 0}, {stop, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0 && errno != EINTR) _exit(13);
    // Connections still queued are served before stopping.
    for (int fd; (fd = accept(listener, nullptr, nullptr)) >= 0;) {
      const uint32_t received = ServeConnection(fd);
      close(fd);
      if (write(report, &received, sizeof received) != sizeof received) _exit(14);
    }
    if (fds[1].revents != 0) _exit(0);
  }
}

// A process of another user listening on the daemon's path.
class Impostor {
 public:
  explicit Impostor(uid_t uid, gid_t gid) : uid_(uid) {
    int report[2], stop[2];
    if (pipe2(report, O_CLOEXEC) != 0) return;
    if (pipe2(stop, O_CLOEXEC) != 0) {
      close(report[0]);
      close(report[1]);
      return;
    }
    pid_ = fork();
    if (pid_ == 0) {
      close(report[0]);
      close(stop[1]);
      RunImpostor(uid_, gid, report[1], stop[0]);
    }
    close(report[1]);
    close(stop[0]);
    report_ = report[0];
    stop_ = stop[1];
    pollfd ready = {report_, POLLIN, 0};
    char byte = 0;
    ok_ = pid_ > 0 && poll(&ready, 1, 10000) == 1 && read(report_, &byte, 1) == 1 && byte == 'R';
  }
  ~Impostor() { Stop(); }
  Impostor(const Impostor &) = delete;
  Impostor &operator=(const Impostor &) = delete;

  bool ok() const { return ok_; }
  pid_t pid() const { return pid_; }
  uid_t uid() const { return uid_; }

  // Ends the process; the bytes received, one count per connection.
  std::vector<uint32_t> Stop() {
    std::vector<uint32_t> counts;
    if (stop_ >= 0) close(stop_);
    stop_ = -1;
    if (report_ >= 0) {
      uint32_t count;
      while (read(report_, &count, sizeof count) == static_cast<ssize_t>(sizeof count)) counts.push_back(count);
      close(report_);
      report_ = -1;
    }
    if (pid_ > 0) {
      int status = 0;
      waitpid(pid_, &status, 0);
      exit_status_ = status;
      pid_ = -1;
    }
    unlink(kvnc::paths::kDaemonSocket);
    return counts;
  }
  int exit_status() const { return exit_status_; }

 private:
  pid_t pid_ = -1;
  uid_t uid_ = 0;
  int report_ = -1;
  int stop_ = -1;
  int exit_status_ = -1;
  bool ok_ = false;
};

void WritePidFile(const std::optional<std::string> &contents) {
  unlink(kvnc::paths::kDaemonPidFile);
  if (contents) std::ofstream(kvnc::paths::kDaemonPidFile) << *contents;
}

class DaemonPeerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    kvnc::test::RequireHermetic();
    unlink(kvnc::paths::kDaemonSocket);
    unlink(kvnc::paths::kDaemonPidFile);
  }
  void TearDown() override {
    unlink(kvnc::paths::kDaemonSocket);
    unlink(kvnc::paths::kDaemonPidFile);
  }
};

TEST_F(DaemonPeerTest, ImpostorOfAnotherUserIsSentNothing) {
  struct Case {
    const char *what;
    std::optional<std::string> pid_file;
  } cases[] = {
      {"no pid file", std::nullopt},
      {"pid file naming another live process", std::to_string(getpid()) + "\n"},
      {"pid file naming no process", "Korvane\n"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    Impostor impostor(kOtherUid, kOtherGid);
    ASSERT_TRUE(impostor.ok());
    WritePidFile(c.pid_file);
    uint32_t session = kUntouched;
    EalLogCapture log;
    testing::internal::CaptureStderr();
    const Clock::time_point start = Clock::now();
    const SaErrorT rv = SessionOpen(&session);
    const Clock::duration took = Clock::now() - start;
    const std::string err = testing::internal::GetCapturedStderr();
    const std::string text = log.Take();
    const std::string who = "uid " + std::to_string(impostor.uid()) + " pid " + std::to_string(impostor.pid());
    const std::vector<uint32_t> received = impostor.Stop();

    // As if no daemon listened: at once, without the retry pause.
    EXPECT_EQ(rv, SA_ERR_HPI_NO_RESPONSE);
    EXPECT_LT(took, std::chrono::seconds(2));
    EXPECT_EQ(session, kUntouched);
    EXPECT_EQ(err, "cKvnApiClientSession: cannot open connection to Korvane!\n");
    EXPECT_NE(text.find("<E>"), std::string::npos) << text;
    EXPECT_NE(text.find("HPI transport: daemon socket served by " + who + ", not the controller; connection refused."),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Failed to open a session to the Korvane!"), std::string::npos) << text;
    // Connected once, then closed before a byte was sent.
    EXPECT_EQ(received, std::vector<uint32_t>{0});
    EXPECT_TRUE(WIFEXITED(impostor.exit_status()) && WEXITSTATUS(impostor.exit_status()) == 0);
  }
}

TEST_F(DaemonPeerTest, DaemonOfAnotherUserIsServedWhenThePidFileNamesIt) {
  Impostor daemon(kOtherUid, kOtherGid);
  ASSERT_TRUE(daemon.ok());
  WritePidFile(std::to_string(daemon.pid()) + "\n");
  uint32_t session = kUntouched;
  EalLogCapture log;
  EXPECT_EQ(SessionOpen(&session), SA_OK);
  EXPECT_EQ(session, 42u);
  EXPECT_EQ(log.Take().find("not the controller"), std::string::npos);
  EXPECT_EQ(daemon.Stop(), std::vector<uint32_t>{kOpenRequestSize});
}

TEST_F(DaemonPeerTest, RootIsServedWhateverThePidFileSays) {
  // This process is root and is not the process the pid file names.
  FakeDaemon daemon(kvnc::paths::kDaemonSocket, [](int fd) {
    RawFrame frame;
    if (!ReadRequestFrame(fd, &frame)) return;
    WriteAll(fd, kOpenReplyOk, sizeof kOpenReplyOk);
    ReadToEnd(fd);
  });
  ASSERT_TRUE(daemon.ok());
  ASSERT_EQ(geteuid(), 0u);
  for (const std::optional<std::string> &pid_file :
       {std::optional<std::string>(), std::optional<std::string>("1\n"), std::optional<std::string>("Korvane\n")}) {
    SCOPED_TRACE(pid_file.value_or("no pid file"));
    WritePidFile(pid_file);
    uint32_t session = kUntouched;
    EXPECT_EQ(SessionOpen(&session), SA_OK);
    EXPECT_EQ(session, 42u);
  }
  daemon.Stop();
  EXPECT_EQ(daemon.connections(), 3);
}

TEST_F(DaemonPeerTest, PidFileHoldsOneLineOfDigits) {
  struct Case {
    std::optional<std::string> contents;
    pid_t pid;  // 0: no pid
  } cases[] = {
      {"1234\n", 1234},
      {"1234", 1234},
      {"1234 started", 1234},  // no newline: cut at the space
      {"12\n34\n", 12},
      {"4194304\n", 4194304},  // seven digits, the largest pid Linux hands out
      {"12 34\n", 0},          // a newline is there, so the space stays
      {"1234 \n", 0},
      {" 1234\n", 0},
      {"\n", 0},
      {"", 0},
      {"0\n", 0},
      {"01234\n", 0},  // /proc knows no such name
      {"-1\n", 0},
      {"+12\n", 0},
      {"self\n", 0},
      {"12ab\n", 0},
      {std::nullopt, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.contents.value_or("no pid file"));
    WritePidFile(c.contents);
    pid_t pid = -7;
    EXPECT_EQ(ReadDaemonPid(pid), c.pid != 0);
    EXPECT_EQ(pid, c.pid != 0 ? c.pid : -7);
  }
}

}  // namespace
