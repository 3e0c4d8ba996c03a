// Framing over a socketpair: the test plays the daemon's end with raw bytes.
#include "client/transport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/eal_log_capture.h"
#include "tests/support/fake_daemon.h"

namespace {

using kvnc::test::EalLogCapture;
using kvnc::test::ReadExactly;
using kvnc::test::WriteAll;
using Bytes = std::vector<uint8_t>;

class TransportTest : public ::testing::Test {
 protected:
  void SetUp() override { Reconnect(); }
  void TearDown() override { ClosePeer(); }

  // A fresh pair: sock_ is the client end, peer_ the daemon's.
  void Reconnect() {
    ClosePeer();
    int fds[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds), 0);
    sock_ = std::make_unique<cKvnStreamSock>(fds[0]);
    peer_ = fds[1];
  }
  void ClosePeer() {
    if (peer_ >= 0) close(peer_);
    peer_ = -1;
  }
  // True when the peer has nothing waiting to be read.
  bool PeerQueueEmpty() {
    uint8_t byte;
    return recv(peer_, &byte, 1, MSG_DONTWAIT) < 0 && errno == EAGAIN;
  }

  std::unique_ptr<cKvnStreamSock> sock_;
  int peer_ = -1;
  uint8_t type_ = 0;
  uint32_t id_ = 0;
  uint32_t length_ = 0;
  int order_ = 0;
};

TEST_F(TransportTest, LargestPayloadLeavesAsOneFullMessage) {
  Bytes payload(65523);
  for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<uint8_t>(i * 7 + 3);
  ASSERT_TRUE(sock_->SendMessage(1, 0x01020304, payload.data(), 65523));

  Bytes wire(65535);
  ASSERT_TRUE(ReadExactly(peer_, wire.data(), wire.size()));
  // type 1, flags 0x11, reserved, id and length (65523 = 0xFFF3) little-endian
  const Bytes header = {0x01, 0x11, 0x00, 0x00, 0x04, 0x03, 0x02, 0x01, 0xF3, 0xFF, 0x00, 0x00};
  EXPECT_EQ(Bytes(wire.begin(), wire.begin() + 12), header);
  EXPECT_TRUE(std::equal(payload.begin(), payload.end(), wire.begin() + 12));
  EXPECT_TRUE(PeerQueueEmpty());
}

TEST_F(TransportTest, EmptyPayloadSendsHeaderOnly) {
  ASSERT_TRUE(sock_->SendMessage(7, 495, nullptr, 0));
  Bytes wire(12);
  ASSERT_TRUE(ReadExactly(peer_, wire.data(), wire.size()));
  // 495 = 0x01EF
  EXPECT_EQ(wire, (Bytes{0x07, 0x11, 0x00, 0x00, 0xEF, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}));
  EXPECT_TRUE(PeerQueueEmpty());
}

TEST_F(TransportTest, RefusedPayloadsSendNothing) {
  Bytes payload(65524, 0x55);
  EalLogCapture log;
  EXPECT_FALSE(sock_->SendMessage(1, 1, payload.data(), 65524));
  EXPECT_FALSE(sock_->SendMessage(1, 1, payload.data(), static_cast<uint32_t>(-1)));  // a negative int length
  EXPECT_FALSE(sock_->SendMessage(1, 1, nullptr, 4));
  const std::string text = log.Take();
  EXPECT_TRUE(PeerQueueEmpty());
  size_t count = 0;
  for (size_t at = text.find("HPI transport: message payload too large."); at != std::string::npos;
       at = text.find("HPI transport: message payload too large.", at + 1)) {
    ++count;
  }
  EXPECT_EQ(count, 2u) << text;  // the null payload fails without a message
}

TEST_F(TransportTest, SendToClosedPeerFailsWithoutSignal) {
  // With the default action SIGPIPE would end the test program.
  struct sigaction dfl = {}, saved = {};
  dfl.sa_handler = SIG_DFL;
  sigaction(SIGPIPE, &dfl, &saved);
  ClosePeer();
  const uint8_t payload[4] = {1, 2, 3, 4};
  EalLogCapture log;
  EXPECT_FALSE(sock_->SendMessage(1, 2, payload, sizeof payload));
  EXPECT_NE(log.Take().find("HPI transport: error while sending message."), std::string::npos);
  sigaction(SIGPIPE, &saved, nullptr);
}

TEST_F(TransportTest, ReceivesBothByteOrders) {
  uint8_t payload[8] = {};
  // Same frame twice: id 0x124, three payload bytes; first little-endian
  // (flags 0x11), then big-endian (flags 0x10).
  ASSERT_TRUE(
      WriteAll(peer_, Bytes{0x01, 0x11, 0x00, 0x00, 0x24, 0x01, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0xAA, 0xBB, 0xCC}));
  ASSERT_TRUE(sock_->ReceiveMessage(&type_, &id_, payload, sizeof payload, &length_, &order_));
  EXPECT_EQ(type_, 1);
  EXPECT_EQ(id_, 0x124u);
  EXPECT_EQ(length_, 3u);
  EXPECT_EQ(order_, 1234);
  EXPECT_EQ(Bytes(payload, payload + 4), (Bytes{0xAA, 0xBB, 0xCC, 0x00}));

  ASSERT_TRUE(
      WriteAll(peer_, Bytes{0x02, 0x10, 0x00, 0x00, 0x00, 0x00, 0x01, 0x24, 0x00, 0x00, 0x00, 0x03, 0xDD, 0xEE, 0xFF}));
  ASSERT_TRUE(sock_->ReceiveMessage(&type_, &id_, payload, sizeof payload, &length_, &order_));
  EXPECT_EQ(type_, 2);  // the type is reported, judging it is the caller's business
  EXPECT_EQ(id_, 0x124u);
  EXPECT_EQ(length_, 3u);
  EXPECT_EQ(order_, 4321);
  EXPECT_EQ(Bytes(payload, payload + 3), (Bytes{0xDD, 0xEE, 0xFF}));
}

TEST_F(TransportTest, ReassemblesFrameArrivingInPieces) {
  std::thread writer([fd = peer_] {
    const Bytes parts[] = {{0x01, 0x11, 0x00}, {0x00, 0x09, 0x00, 0x00, 0x00, 0x02}, {0x00, 0x00, 0x00, 0x41}, {0x42}};
    for (const Bytes &part : parts) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      WriteAll(fd, part);
    }
  });
  uint8_t payload[2] = {};
  const bool ok = sock_->ReceiveMessage(&type_, &id_, payload, sizeof payload, &length_, &order_);
  writer.join();
  ASSERT_TRUE(ok);
  EXPECT_EQ(id_, 9u);
  EXPECT_EQ(length_, 2u);
  EXPECT_EQ(payload[0], 0x41);
  EXPECT_EQ(payload[1], 0x42);
}

TEST_F(TransportTest, EmptyReplySucceeds) {
  uint8_t payload[4] = {0x99, 0x99, 0x99, 0x99};
  ASSERT_TRUE(WriteAll(peer_, Bytes{0x01, 0x11, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}));
  ASSERT_TRUE(sock_->ReceiveMessage(&type_, &id_, payload, sizeof payload, &length_, &order_));
  EXPECT_EQ(id_, 5u);
  EXPECT_EQ(length_, 0u);
  EXPECT_EQ(payload[0], 0x99);
}

TEST_F(TransportTest, OtherVersionsAreRefused) {
  uint8_t payload[4];
  ASSERT_TRUE(WriteAll(peer_, Bytes{0x01, 0x21, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}));
  EalLogCapture log;
  EXPECT_FALSE(sock_->ReceiveMessage(&type_, &id_, payload, sizeof payload, &length_, &order_));
  const std::string text = log.Take();
  EXPECT_NE(text.find("<E>"), std::string::npos) << text;
  EXPECT_NE(text.find("HPI transport: unsupported version 0x2 != 0x1."), std::string::npos) << text;
  Reconnect();
  // Version 0 (flags 0x01) is no better.
  ASSERT_TRUE(WriteAll(peer_, Bytes{0x01, 0x01, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}));
  EalLogCapture log2;
  EXPECT_FALSE(sock_->ReceiveMessage(&type_, &id_, payload, sizeof payload, &length_, &order_));
  EXPECT_NE(log2.Take().find("unsupported version 0x0 != 0x1."), std::string::npos);
}

TEST_F(TransportTest, PeerClosingMidFrameFailsTheRead) {
  uint8_t payload[16];
  // Header announcing 8 bytes, only 3 of them, then the peer goes away.
  ASSERT_TRUE(
      WriteAll(peer_, Bytes{0x01, 0x11, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x01, 0x02, 0x03}));
  shutdown(peer_, SHUT_WR);
  EalLogCapture log;
  EXPECT_FALSE(sock_->ReceiveMessage(&type_, &id_, payload, sizeof payload, &length_, &order_));
  // Level 8: verbose, so not in syslog with the running program's masks.
  EXPECT_NE(log.Take().find("<V>"), std::string::npos);

  // A header cut short fails the same way.
  Reconnect();
  ASSERT_TRUE(WriteAll(peer_, Bytes{0x01, 0x11, 0x00, 0x00, 0x01}));
  shutdown(peer_, SHUT_WR);
  EalLogCapture log2;
  EXPECT_FALSE(sock_->ReceiveMessage(&type_, &id_, payload, sizeof payload, &length_, &order_));
  EXPECT_NE(log2.Take().find("HPI transport: peer closed connection."), std::string::npos);
}

TEST_F(TransportTest, SilentPeerFailsTheReadOnceTheTimeoutPasses) {
  for (const Bytes &sent : {Bytes{}, Bytes{0x01, 0x11, 0x00}}) {  // nothing; half a header
    Reconnect();
    ASSERT_TRUE(sock_->SetTimeouts(1));
    WriteAll(peer_, sent.data(), sent.size());
    EalLogCapture log;
    const auto start = std::chrono::steady_clock::now();
    uint8_t payload[16];
    EXPECT_FALSE(sock_->ReceiveMessage(&type_, &id_, payload, sizeof payload, &length_, &order_));
    const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(waited, 0.9);
    EXPECT_LT(waited, 5.0);
    EXPECT_NE(log.Take().find("HPI transport: error (" + std::to_string(EAGAIN) + ") while reading message."),
              std::string::npos);
  }
}

TEST_F(TransportTest, AnnouncedLengthBeyondBufferIsNeverWritten) {
  // 16 usable bytes and a sentinel behind them.
  uint8_t buffer[17];
  const Bytes filler(64, 0x5A);
  struct Case {
    Bytes length_field;
    bool fits;
  } cases[] = {
      {{0x00, 0x00, 0x00, 0x40}, false},  // 1 GiB
      {{0x11, 0x00, 0x00, 0x00}, false},  // 17, one byte over
      {{0xFF, 0xFF, 0xFF, 0xFF}, false},
      {{0x10, 0x00, 0x00, 0x00}, true},  // exactly 16
  };
  for (const Case &c : cases) {
    Reconnect();
    std::memset(buffer, 0, sizeof buffer);
    buffer[16] = 0xC3;
    Bytes frame = {0x01, 0x11, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00};
    frame.insert(frame.end(), c.length_field.begin(), c.length_field.end());
    frame.insert(frame.end(), filler.begin(), filler.end());
    ASSERT_TRUE(WriteAll(peer_, frame));
    shutdown(peer_, SHUT_WR);  // a reader that ignored the bound would stop at the end, not hang
    EalLogCapture log;
    EXPECT_EQ(sock_->ReceiveMessage(&type_, &id_, buffer, 16, &length_, &order_), c.fits);
    const std::string text = log.Take();
    EXPECT_EQ(buffer[16], 0xC3);
    if (!c.fits) {
      EXPECT_EQ(buffer[0], 0x00);
      EXPECT_NE(text.find("<E>"), std::string::npos) << text;
    } else {
      EXPECT_EQ(length_, 16u);
      EXPECT_EQ(buffer[15], 0x5A);
    }
  }
}

TEST(TransportSocketTest, ConnectsCloseOnExecAndReportsFailures) {
  char dir[] = "/tmp/kvnc-transport-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string path = std::string(dir) + "/daemon";
  {
    kvnc::test::FakeDaemon daemon(path, [](int) {});
    ASSERT_TRUE(daemon.ok());
    cKvnClientStreamSock sock;
    ASSERT_TRUE(sock.ConnectUnix(path.c_str()));
    const int flags = fcntl(sock.Descriptor(), F_GETFD);
    EXPECT_TRUE(flags >= 0 && (flags & FD_CLOEXEC));
    // A daemon that never answers costs a bounded wait, not a worker.
    for (const int option : {SO_RCVTIMEO, SO_SNDTIMEO}) {
      timeval limit{};
      socklen_t size = sizeof limit;
      ASSERT_EQ(getsockopt(sock.Descriptor(), SOL_SOCKET, option, &limit, &size), 0);
      EXPECT_EQ(limit.tv_sec, kDaemonIoTimeoutSeconds);
      EXPECT_EQ(limit.tv_usec, 0);
    }
    // Connecting again replaces the connection.
    ASSERT_TRUE(sock.ConnectUnix(path.c_str()));
    EXPECT_TRUE(sock.CloseSocket());
    EXPECT_EQ(sock.Descriptor(), -1);
    EXPECT_TRUE(sock.CloseSocket());
  }
  {
    cKvnClientStreamSock sock;
    EalLogCapture log;
    EXPECT_FALSE(sock.ConnectUnix(path.c_str()));  // nobody listens any more
    EXPECT_EQ(sock.Descriptor(), -1);
    // sun_path holds 107 characters and the terminator.
    EXPECT_FALSE(sock.ConnectUnix(("/tmp/" + std::string(120, 'x')).c_str()));
    EXPECT_FALSE(sock.ConnectUnix(""));
    EXPECT_EQ(sock.Descriptor(), -1);
    EXPECT_NE(log.Take().find("HPI transport: connect failed."), std::string::npos);
  }
  rmdir(dir);
}

TEST(TransportSocketTest, FailedCloseForgetsTheDescriptor) {
  // A number that is not open: close() fails on it.
  constexpr int kNumber = 1000;
  ASSERT_EQ(fcntl(kNumber, F_GETFD), -1);
  auto sock = std::make_unique<cKvnStreamSock>(kNumber);
  {
    EalLogCapture log;
    EXPECT_FALSE(sock->CloseSocket());
    EXPECT_NE(log.Take().find("HPI transport: cannot close stream socket."), std::string::npos);
  }
  // The number is handed out again (here, to another thread's descriptor);
  // the object must not close it a second time.
  ASSERT_EQ(dup2(STDERR_FILENO, kNumber), kNumber);
  sock.reset();
  EXPECT_NE(fcntl(kNumber, F_GETFD), -1);
  close(kNumber);
}

}  // namespace
