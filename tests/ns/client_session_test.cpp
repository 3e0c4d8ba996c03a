// HpiRpcCall against an in-process daemon bound at the daemon's fixed path.
// Runs in a private mount namespace with an empty /tmp of its own.
#include "client/client_session.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "client/paths.h"
#include "tests/support/eal_log_capture.h"
#include "tests/support/fake_daemon.h"

namespace {

using kvnc::test::EalLogCapture;
using kvnc::test::FakeDaemon;
using kvnc::test::RawFrame;
using kvnc::test::ReadRequestFrame;
using kvnc::test::ReadToEnd;
using kvnc::test::WriteAll;
using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr uint32_t kUntouched = 0xDEADBEEF;

// RPC 1, saHpiSessionOpen: request U32 domain id; reply SaErrorT, U32 session id.
SaErrorT SessionOpen(uint32_t domain, uint32_t *session) {
  HpiParamBlock block = {};
  block.request[0] = &domain;
  block.reply[1] = session;
  return HpiRpcCall(1, block);
}

// The request frame of SessionOpen(7, ...): type 1, flags 0x11, id 1,
// length 4, then domain 7, all little-endian.
const Bytes kOpenDomain7 = {0x01, 0x11, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,
                            0x04, 0x00, 0x00, 0x00, 0x07, 0x00, 0x00, 0x00};
// Reply to it: SA_OK and session id 42 (0x2A).
const Bytes kOpenReplyOk = {0x01, 0x11, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x08, 0x00,
                            0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2A, 0x00, 0x00, 0x00};

Bytes Concat(const RawFrame &frame) {
  Bytes all = frame.header;
  all.insert(all.end(), frame.payload.begin(), frame.payload.end());
  return all;
}

// Answers the one request of a connection with fixed bytes and records what
// arrived. Read the records after daemon.Stop().
struct ScriptedDaemon {
  explicit ScriptedDaemon(Bytes reply_bytes)
      : reply(std::move(reply_bytes)), daemon(kvnc::paths::kDaemonSocket, [this](int fd) {
          RawFrame frame;
          if (!ReadRequestFrame(fd, &frame)) return;
          request = Concat(frame);
          WriteAll(fd, reply);
          trailing = ReadToEnd(fd).size();
        }) {}
  Bytes reply;
  Bytes request;
  size_t trailing = 0;
  FakeDaemon daemon;
};

class ClientSessionTest : public ::testing::Test {
 protected:
  void SetUp() override { unlink(kvnc::paths::kDaemonSocket); }
};

TEST_F(ClientSessionTest, RoundTripInBothByteOrders) {
  uint32_t session = kUntouched;
  ScriptedDaemon little(kOpenReplyOk);
  ASSERT_TRUE(little.daemon.ok());
  EXPECT_EQ(SessionOpen(7, &session), SA_OK);
  EXPECT_EQ(session, 42u);
  little.daemon.Stop();
  EXPECT_EQ(little.request, kOpenDomain7);
  EXPECT_EQ(little.trailing, 0u);  // one request per connection, then the client closes
  EXPECT_EQ(little.daemon.connections(), 1);

  // A big-endian daemon: header fields and values byte-reversed.
  session = kUntouched;
  ScriptedDaemon big({0x01, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00,
                      0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x02});
  ASSERT_TRUE(big.daemon.ok());
  EXPECT_EQ(SessionOpen(7, &session), SA_OK);
  EXPECT_EQ(session, 0x102u);
}

TEST_F(ClientSessionTest, UnusableRepliesLeaveOutputsUntouched) {
  struct Case {
    const char *what;
    Bytes reply;
    SaErrorT expected;
  } cases[] = {
      // SaErrorT -1009 = 0xFFFFFC0F, nothing after it.
      {"daemon error",
       {0x01, 0x11, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x0F, 0xFC, 0xFF, 0xFF},
       SA_ERR_HPI_INVALID_PARAMS},
      {"reply to RPC 2",
       {0x01, 0x11, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x08, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2A, 0x00, 0x00, 0x00},
       SA_ERR_HPI_NO_RESPONSE},
      {"message type 2",
       {0x02, 0x11, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x08, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2A, 0x00, 0x00, 0x00},
       SA_ERR_HPI_NO_RESPONSE},
      {"SA_OK, session id cut short",
       {0x01, 0x11, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2A, 0x00},
       SA_ERR_HPI_NO_RESPONSE},
      {"empty payload",
       {0x01, 0x11, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
       SA_ERR_HPI_NO_RESPONSE},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedDaemon d(c.reply);
    ASSERT_TRUE(d.daemon.ok());
    uint32_t session = kUntouched;
    EalLogCapture log;
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(SessionOpen(7, &session), c.expected);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));  // a reply that was read is not retried
    EXPECT_EQ(session, kUntouched);
  }
}

TEST_F(ClientSessionTest, RetryResendsTheRequestOnTheSameConnection) {
  Bytes first, second;
  FakeDaemon daemon(kvnc::paths::kDaemonSocket, [&](int fd) {
    RawFrame frame;
    if (!ReadRequestFrame(fd, &frame)) return;
    first = Concat(frame);
    // A version-2 header fails the client's read; then answer properly.
    WriteAll(fd, Bytes{0x01, 0x21, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
    if (!ReadRequestFrame(fd, &frame)) return;
    second = Concat(frame);
    WriteAll(fd, kOpenReplyOk);
    ReadToEnd(fd);
  });
  ASSERT_TRUE(daemon.ok());
  uint32_t session = kUntouched;
  EalLogCapture log;
  testing::internal::CaptureStderr();
  const Clock::time_point start = Clock::now();
  const SaErrorT rv = SessionOpen(7, &session);
  const Clock::duration took = Clock::now() - start;
  const std::string err = testing::internal::GetCapturedStderr();
  log.Take();
  EXPECT_EQ(rv, SA_OK);
  EXPECT_EQ(session, 42u);
  EXPECT_GE(took, std::chrono::seconds(2));
  EXPECT_LT(took, std::chrono::seconds(4));
  EXPECT_EQ(err, "Session: RPC request 1, Attempt 1\n");
  daemon.Stop();
  EXPECT_EQ(daemon.connections(), 1);
  EXPECT_EQ(first, kOpenDomain7);
  EXPECT_EQ(second, kOpenDomain7);
}

TEST_F(ClientSessionTest, NoDaemonFailsAtOnce) {
  for (uint32_t rpc : {1u, 0u, 496u}) {  // the connection comes before the number check
    SCOPED_TRACE(rpc);
    uint32_t domain = 7, session = kUntouched;
    HpiParamBlock block = {};
    block.request[0] = &domain;
    block.reply[1] = &session;
    EalLogCapture log;
    testing::internal::CaptureStderr();
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(HpiRpcCall(rpc, block), SA_ERR_HPI_NO_RESPONSE);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "cKvnApiClientSession: cannot open connection to Korvane!\n");
    const std::string text = log.Take();
    EXPECT_NE(text.find("<E>"), std::string::npos) << text;
    EXPECT_NE(text.find("Failed to open a session to the Korvane!"), std::string::npos) << text;
    EXPECT_EQ(session, kUntouched);
  }
}

TEST_F(ClientSessionTest, UnknownRpcNumbersConnectButSendNothing) {
  std::atomic<size_t> received{0};
  FakeDaemon daemon(kvnc::paths::kDaemonSocket, [&](int fd) { received += ReadToEnd(fd).size(); });
  ASSERT_TRUE(daemon.ok());
  uint32_t domain = 7, session = kUntouched;
  HpiParamBlock block = {};
  block.request[0] = &domain;
  block.reply[1] = &session;
  EXPECT_EQ(HpiRpcCall(0, block), SA_ERR_HPI_UNSUPPORTED_API);
  EXPECT_EQ(HpiRpcCall(496, block), SA_ERR_HPI_UNSUPPORTED_API);
  daemon.Stop();  // returns only once both connections were closed by the client
  EXPECT_EQ(daemon.connections(), 2);
  EXPECT_EQ(received.load(), 0u);
  EXPECT_EQ(session, kUntouched);
}

TEST_F(ClientSessionTest, UnmarshallableRequestSendsNothing) {
  std::atomic<size_t> received{0};
  FakeDaemon daemon(kvnc::paths::kDaemonSocket, [&](int fd) { received += ReadToEnd(fd).size(); });
  ASSERT_TRUE(daemon.ok());
  // RPC 48 (saHpiControlSet): a control state whose Type selects no member.
  uint32_t session = 1, resource = 2, control = 3, mode = 1;
  SaHpiCtrlStateT state = {};
  state.Type = 99;
  HpiParamBlock block = {};
  block.request[0] = &session;
  block.request[1] = &resource;
  block.request[2] = &control;
  block.request[3] = &mode;
  block.request[4] = &state;
  EalLogCapture log;
  EXPECT_EQ(HpiRpcCall(48, block), SA_ERR_HPI_INTERNAL_ERROR);
  log.Take();
  daemon.Stop();
  EXPECT_EQ(daemon.connections(), 1);
  EXPECT_EQ(received.load(), 0u);
}

TEST_F(ClientSessionTest, ConcurrentCallsKeepTheirOwnReplies) {
  // Session id = domain id + 1000, so every reply tells whose request it was.
  FakeDaemon daemon(kvnc::paths::kDaemonSocket, [](int fd) {
    RawFrame frame;
    if (!ReadRequestFrame(fd, &frame) || frame.payload.size() != 4) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));  // let the calls overlap
    const uint32_t domain = frame.payload[0] | frame.payload[1] << 8 | frame.payload[2] << 16 |
                            static_cast<uint32_t>(frame.payload[3]) << 24;
    const uint32_t id = domain + 1000;
    Bytes reply = {0x01, 0x11, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    for (int shift = 0; shift < 32; shift += 8) reply.push_back(static_cast<uint8_t>(id >> shift));
    WriteAll(fd, reply);
    ReadToEnd(fd);
  });
  ASSERT_TRUE(daemon.ok());
  constexpr uint32_t kThreads = 8, kCalls = 25;
  std::atomic<uint32_t> wrong{0};
  std::vector<std::thread> threads;
  for (uint32_t t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &wrong] {
      for (uint32_t i = 0; i < kCalls; ++i) {
        const uint32_t domain = t * 100000 + i * 300;
        uint32_t session = kUntouched;
        if (SessionOpen(domain, &session) != SA_OK || session != domain + 1000) ++wrong;
      }
    });
  }
  for (std::thread &thread : threads) thread.join();
  EXPECT_EQ(wrong.load(), 0u);
  daemon.Stop();
  EXPECT_EQ(daemon.connections(), static_cast<int>(kThreads * kCalls));
}

}  // namespace
