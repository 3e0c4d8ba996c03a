// The program as the web server sees it: FastCGI records into
// /tmp/api-fastcgi.socket-0, reply bytes and syslog lines out.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <future>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "client/paths.h"
#include "front/replies.h"
#include "tests/support/fcgi_client.h"
#include "tests/support/process.h"
#include "tests/support/syslog_sink.h"

namespace kvnc::test {
namespace {

const std::string kSocket = paths::kFastCgiSocket;
const std::string kHeader = "Content-type: application/json\n\n";

class RequestLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    Syslog().Clear();
    WriteDaemonPidFile(getpid());
    unlink(kSocket.c_str());
    api_ = ChildProcess({KVNC_API_BINARY}, "/var/log/kvnc-api.out");
    ASSERT_TRUE(WaitForPath(kSocket));
  }
  void TearDown() override {
    const int status = api_.Stop(SIGTERM);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
  }
  ChildProcess api_;
};

bool NoOutput(const FcgiReply &r) { return r.connected && r.ended && r.out.empty(); }

TEST_F(RequestLoop, RequestsWithoutAUsableBodyGetNoOutputAtAll) {
  EXPECT_TRUE(NoOutput(FcgiExchange(kSocket, EncodeFcgiRequest({{"REQUEST_METHOD", "GET"}}, ""))));
  EXPECT_TRUE(NoOutput(FcgiExchange(kSocket, EncodeFcgiRequest({{"CONTENT_LENGTH", "8"}}, R"({"FN":2})"))));
  EXPECT_TRUE(NoOutput(
      FcgiExchange(kSocket, EncodeFcgiRequest({{"REQUEST_METHOD", "post"}, {"CONTENT_LENGTH", "8"}}, R"({"FN":2})"))));
  EXPECT_TRUE(NoOutput(FcgiExchange(kSocket, EncodeFcgiRequest({{"REQUEST_METHOD", "POST"}}, R"({"FN":2})"))));
  for (const char *length : {"0", "-5", "abc", ""}) {
    EXPECT_TRUE(NoOutput(FcgiPost(kSocket, R"({"FN":2})", "127.0.0.1", length))) << length;
  }
  // Announced but nothing sent.
  EXPECT_TRUE(NoOutput(FcgiPost(kSocket, "", "127.0.0.1", "10")));
}

TEST_F(RequestLoop, RepliesAreByteExactWithMnEchoed) {
  FcgiReply r = FcgiPost(kSocket, R"({"FN":2,"MN":17,"SID":"x","PRM":{}})");
  EXPECT_EQ(r.out, kHeader + R"({"MN":17,"status":{"IC":0,"RC":2,"RCT":"Bad session ID"}})" + "\n");
  r = FcgiPost(kSocket, R"({"FN":400})");
  EXPECT_EQ(r.out, kHeader + R"({"MN":null,"status":{"IC":0,"RC":2,"RCT":""}})" + "\n");
  r = FcgiPost(kSocket, "{");
  EXPECT_EQ(r.out, kHeader +
                       R"({"status":{"IC":0,"RC":11,"RCT":"[json.exception.parse_error.101] parse error at line 1, )"
                       R"(column 2: syntax error while parsing object key - unexpected end of input; expected )"
                       R"(string literal"}})" +
                       "\n");
  r = FcgiPost(kSocket, "[]");
  EXPECT_EQ(ReplyBody(r),
            R"({"status":{"IC":0,"RC":11,"RCT":"[json.exception.type_error.304] cannot use at() with array"}})");
}

TEST_F(RequestLoop, BodyIsCutAtContentLengthAndAtTheFirstNul) {
  const std::string body = R"({"FN":2,"MN":1})";
  EXPECT_EQ(ReplyBody(FcgiPost(kSocket, body + R"(,"junk")", "127.0.0.1", std::to_string(body.size()).c_str())),
            R"({"MN":1,"status":{"IC":0,"RC":2,"RCT":""}})");
  EXPECT_EQ(ReplyBody(FcgiPost(kSocket, body + std::string("\0{{{", 4))),
            R"({"MN":1,"status":{"IC":0,"RC":2,"RCT":""}})");
  // Fewer bytes than announced are accepted, however much was announced.
  for (const char *length : {"100", "2147483647", "99999999999999999999"}) {
    EXPECT_EQ(ReplyBody(FcgiPost(kSocket, body, "127.0.0.1", length)), R"({"MN":1,"status":{"IC":0,"RC":2,"RCT":""}})")
        << length;
  }
  // A body that starts with NUL is an empty text: not JSON.
  EXPECT_EQ(json::parse(ReplyBody(FcgiPost(kSocket, std::string("\0{}", 3))))["status"]["RC"], 11);
}

TEST_F(RequestLoop, ErrorRepliesLeaveTheirLineInSyslog) {
  FcgiPost(kSocket, R"({"FN":2})", "10.1.2.3");
  SyslogLine line = Syslog().WaitFor("error 2");
  EXPECT_EQ(line.text, "CGI 10.1.2.3: error 2\n");
  EXPECT_EQ(line.priority, 27);  // daemon.err
  EXPECT_EQ(line.ident, "kvnc-api");

  FcgiPost(kSocket, "{", "2001:db8::5");
  line = Syslog().WaitFor("error 11");
  EXPECT_EQ(line.text.rfind("CGI 2001:db8::5: error 11, msg: [json.exception.parse_error.101]", 0), 0u) << line.text;

  // No REMOTE_ADDR: the line still comes, naming no address.
  FcgiPost(kSocket, R"({"FN":-7})", "");
  EXPECT_EQ(Syslog().WaitFor("(null)").text, "CGI (null): error 2\n");
}

TEST_F(RequestLoop, HostileRequestsAreAnsweredAndTheProcessGoesOn) {
  // 1 MiB of "[" in many FastCGI records.
  EXPECT_EQ(ReplyBody(FcgiPost(kSocket, std::string(1 << 20, '['))),
            R"({"status":{"IC":0,"RC":11,"RCT":"request nested deeper than 128 levels"}})");
  // Bytes that are not UTF-8 come back replaced, in valid JSON.
  const std::string reply = ReplyBody(FcgiPost(kSocket, "{\"FN\":2,\"MN\":\"\xc0\xaf\xff\"}"));
  ASSERT_FALSE(reply.empty());
  EXPECT_EQ(json::parse(reply)["status"]["RC"], 11);

  // A client that goes away in the middle of its body, many times over.
  const std::string body = R"({"FN":2,"MN":"abcdefghijklmnopqrstuvwxyz"})";
  const std::string partial = EncodeFcgiRequest(
      {{"REQUEST_METHOD", "POST"}, {"CONTENT_LENGTH", std::to_string(body.size())}}, body.substr(0, 10), false);
  for (int i = 0; i < 30; ++i) {
    const int fd = ConnectUnixSocket(kSocket);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(send(fd, partial.data(), partial.size(), MSG_NOSIGNAL), static_cast<ssize_t>(partial.size()));
    close(fd);
  }
  // A client that sends a whole request and leaves before the reply.
  for (int i = 0; i < 30; ++i) {
    const int fd = ConnectUnixSocket(kSocket);
    const std::string whole = EncodeFcgiRequest({{"REQUEST_METHOD", "POST"}, {"CONTENT_LENGTH", "8"}}, R"({"FN":2})");
    ASSERT_EQ(send(fd, whole.data(), whole.size(), MSG_NOSIGNAL), static_cast<ssize_t>(whole.size()));
    close(fd);
  }
  EXPECT_EQ(ReplyBody(FcgiPost(kSocket, R"({"FN":3,"MN":2})")), R"({"MN":2,"status":{"IC":0,"RC":2,"RCT":""}})");
  EXPECT_TRUE(api_.Running());
}

// Holds a request open in a worker: the body is announced but not finished.
struct HeldRequest {
  int fd = -1;
  std::string rest;
};

HeldRequest Hold(const std::string &mn) {
  const std::string body = R"({"FN":2,"MN":")" + mn + R"("})";
  const FcgiParams params = {
      {"REQUEST_METHOD", "POST"}, {"CONTENT_LENGTH", std::to_string(body.size())}, {"REMOTE_ADDR", "127.0.0.1"}};
  const std::string head = EncodeFcgiRequest(params, "", false);  // begin and params, no body yet
  HeldRequest held{ConnectUnixSocket(kSocket), EncodeFcgiRequest(params, body).substr(head.size())};
  send(held.fd, head.data(), head.size(), MSG_NOSIGNAL);
  return held;
}

// Sends the body and reads until the program closes the connection.
std::string Finish(HeldRequest &held) {
  send(held.fd, held.rest.data(), held.rest.size(), MSG_NOSIGNAL);
  std::string in;
  char buffer[4096];
  ssize_t n;
  while ((n = recv(held.fd, buffer, sizeof buffer, 0)) > 0) in.append(buffer, static_cast<size_t>(n));
  close(held.fd);
  return in;
}

TEST_F(RequestLoop, TwentyFourWorkersServeAtOnceAndAllDescriptorsAreCloseOnExec) {
  std::vector<HeldRequest> held;
  for (int i = 0; i < 24; ++i) held.push_back(Hold("held" + std::to_string(i)));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));

  // Every worker is inside a request now: a 25th waits for one of them.
  auto late = std::async(std::launch::async, [] { return ReplyBody(FcgiPost(kSocket, R"({"FN":2,"MN":"late"})")); });
  EXPECT_EQ(late.wait_for(std::chrono::milliseconds(500)), std::future_status::timeout);

  // While 24 connections are open, every descriptor the program opened is
  // close-on-exec (0 is the listening socket; 1 and 2 are inherited).
  int connections = 0;
  for (const OpenDescriptor &d : OpenDescriptors(api_.pid())) {
    if (d.fd == 1 || d.fd == 2) continue;
    EXPECT_NE(d.flags & O_CLOEXEC, 0u) << "fd " << d.fd << " " << d.target;
    connections += d.target.rfind("socket:", 0) == 0 ? 1 : 0;
  }
  EXPECT_GE(connections, 25);  // listener + 24 accepted
  // main, the stop-signal thread, 24 workers (and, in a sanitizer build, the
  // sanitizer's own thread)
  EXPECT_GE(ThreadCount(api_.pid()), 26);
  EXPECT_LE(ThreadCount(api_.pid()), 27);

  for (int i = 0; i < 24; ++i) {
    const std::string out = Finish(held[i]);
    EXPECT_NE(out.find(R"({"MN":"held)" + std::to_string(i) + R"(","status":{"IC":0,"RC":2,"RCT":""}})"),
              std::string::npos)
        << i;
  }
  EXPECT_EQ(late.get(), R"({"MN":"late","status":{"IC":0,"RC":2,"RCT":""}})");
}

int SocketCount(pid_t pid) {
  int sockets = 0;
  for (const OpenDescriptor &d : OpenDescriptors(pid)) sockets += d.target.rfind("socket:", 0) == 0 ? 1 : 0;
  return sockets;
}

// A whole request sent on a connection of its own; its reply is read later.
int SendWholeRequest(const std::string &mn) {
  const std::string body = R"({"FN":2,"MN":")" + mn + R"("})";
  const std::string bytes =
      EncodeFcgiRequest({{"REQUEST_METHOD", "POST"}, {"CONTENT_LENGTH", std::to_string(body.size())}}, body);
  const int fd = ConnectUnixSocket(kSocket);
  if (fd >= 0) send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
  return fd;
}

std::string ReadUntilClosed(int fd) {
  timeval limit{10, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  std::string in;
  char buffer[4096];
  ssize_t n;
  while ((n = recv(fd, buffer, sizeof buffer, 0)) > 0) in.append(buffer, static_cast<size_t>(n));
  close(fd);
  return in;
}

// Waits until `pid` has `count` sockets open; the last count seen.
int WaitForSockets(pid_t pid, int count) {
  int sockets = SocketCount(pid);
  for (int i = 0; i < 200 && sockets != count; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
    sockets = SocketCount(pid);
  }
  return sockets;
}

TEST_F(RequestLoop, EveryWorkerServesAgainAfterDescriptorsRanOut) {
  const pid_t pid = api_.pid();
  const int idle = SocketCount(pid);  // the listener and syslog's
  // A limit at the lowest free descriptor number: every accept fails with EMFILE.
  std::vector<int> open_fds;
  for (const OpenDescriptor &d : OpenDescriptors(pid)) open_fds.push_back(d.fd);
  rlim_t lowest_free = 0;
  while (std::find(open_fds.begin(), open_fds.end(), static_cast<int>(lowest_free)) != open_fds.end()) ++lowest_free;
  rlimit normal{};
  ASSERT_EQ(prlimit(pid, RLIMIT_NOFILE, nullptr, &normal), 0);
  const rlimit exhausted{lowest_free, normal.rlim_max};  // the soft limit only: raising a hard one takes a capability
  ASSERT_EQ(prlimit(pid, RLIMIT_NOFILE, &exhausted, nullptr), 0);

  // More requests than workers, each waking one of them into a failed accept.
  // (A worker already waiting in accept holds the descriptor it will get and
  // serves one connection first; a worker closing one lingers until the
  // client has read its reply.)
  std::vector<int> queued;
  for (int i = 0; i < 30; ++i) queued.push_back(SendWholeRequest("queued" + std::to_string(i)));
  ASSERT_NE(Syslog().WaitFor("FCGX_Accept failed: 24", std::chrono::seconds(10)).priority, -1);
  // Meanwhile the 24 workers fail about 480 accepts, logged in at most 3 lines.
  std::this_thread::sleep_for(std::chrono::seconds(2));
  EXPECT_LE(Syslog().Matching("FCGX_Accept failed: 24").size(), 4u) << "one line a second for all workers together";
  ASSERT_EQ(prlimit(pid, RLIMIT_NOFILE, &normal, nullptr), 0);

  // Nothing queued meanwhile is lost ...
  int answered = 0;
  for (int i = 0; i < 30; ++i) {
    const std::string reply = ReadUntilClosed(queued[i]);
    answered += reply.find(R"({"MN":"queued)" + std::to_string(i) + R"(","status")") != std::string::npos ? 1 : 0;
  }
  EXPECT_EQ(answered, 30);
  // ... and all 24 workers take a request at once again.
  EXPECT_EQ(WaitForSockets(pid, idle), idle);
  std::vector<HeldRequest> held;
  for (int i = 0; i < 24; ++i) held.push_back(Hold("again" + std::to_string(i)));
  EXPECT_EQ(WaitForSockets(pid, idle + 24) - idle, 24) << "connections accepted at once";
  EXPECT_GE(ThreadCount(pid), 26);
  EXPECT_LE(ThreadCount(pid), 27);
  answered = 0;
  for (int i = 0; i < 24; ++i) {
    const std::string reply = Finish(held[i]);
    answered += reply.find(R"({"MN":"again)" + std::to_string(i) + R"(","status")") != std::string::npos ? 1 : 0;
  }
  EXPECT_EQ(answered, 24);
}

TEST(ProcessStart, UnderAProcessManagerTheInheritedSocketIsUsed) {
  RequireHermetic();
  unlink(kSocket.c_str());
  const std::string managed = "/tmp/managed-fcgi.sock";
  ChildProcess manager({"/usr/bin/spawn-fcgi", "-n", "-s", managed, "--", KVNC_API_BINARY}, "/var/log/spawn.out");
  ASSERT_TRUE(WaitForPath(managed));
  std::string reply;
  for (int i = 0; i < 100 && reply.empty(); ++i) {
    reply = ReplyBody(FcgiPost(managed, R"({"FN":2,"MN":5})"));
    if (reply.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(reply, R"({"MN":5,"status":{"IC":0,"RC":2,"RCT":""}})");
  EXPECT_NE(access(kSocket.c_str(), F_OK), 0) << "no socket of its own when one is inherited";
  const int status = manager.Stop(SIGTERM);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  unlink(managed.c_str());
}

// SIGUSR1 is libfcgi's request for a graceful stop: it stops like SIGTERM.
TEST(ProcessStart, StopsCleanlyOnSigtermAndSigusr1WithAllWorkersIdle) {
  RequireHermetic();
  for (const int signal : {SIGTERM, SIGINT, SIGUSR1}) {
    unlink(kSocket.c_str());
    ChildProcess api({KVNC_API_BINARY});
    ASSERT_TRUE(WaitForPath(kSocket));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto start = std::chrono::steady_clock::now();
    const int status = api.Stop(signal, std::chrono::seconds(5));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << strsignal(signal) << ": " << status;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << strsignal(signal);
  }
}

// A listening socket that fails without a stop signal ends the program with
// a status the service manager restarts it on.
TEST(ProcessStart, ALostListeningSocketEndsTheProgramWithFailure) {
  RequireHermetic();
  Syslog().Clear();
  unlink(kSocket.c_str());
  ChildProcess api({KVNC_API_BINARY});
  ASSERT_TRUE(WaitForPath(kSocket));
  const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, api.pid(), 0));
  ASSERT_GE(pidfd, 0);
  const int listener = static_cast<int>(syscall(SYS_pidfd_getfd, pidfd, 0, 0));  // its descriptor 0
  ASSERT_GE(listener, 0);
  shutdown(listener, SHUT_RDWR);
  close(listener);
  close(pidfd);
  const int status = api.Stop(0, std::chrono::seconds(5));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_EQ(Syslog().WaitFor("no worker left").text, "no worker left: the listening socket failed\n");
  EXPECT_EQ(Syslog().Matching("FCGX_Accept failed: 22").size(), 1u);
}

}  // namespace
}  // namespace kvnc::test
