// The simulator loading other models, and bytes on its socket that are no
// request. The journal, injected faults and arranging the model are checked
// where the API meets them, in the end-to-end tests.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "client/hpi_functions.h"
#include "client/paths.h"
#include "client/text_buffer.h"
#include "tests/support/fake_daemon.h"
#include "tests/support/sim_control.h"

namespace {

using kvnc::test::ReadExactly;
using kvnc::test::SimTest;
using kvnc::test::WriteAll;
using Json = nlohmann::json;
using Bytes = std::vector<uint8_t>;

constexpr SaHpiResourceIdT kProbe = 2001;

class SimControl : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    ASSERT_EQ(saHpiSessionOpen(SAHPI_UNSPECIFIED_DOMAIN_ID, &session_, nullptr), SA_OK);
  }
  void TearDown() override { saHpiSessionClose(session_); }

  SaErrorT Read() {
    SaHpiSensorReadingT reading{};
    SaHpiEventStateT state = 0;
    return saHpiSensorReadingGet(session_, kProbe, 1, &reading, &state);
  }

  SaHpiSessionIdT session_ = 0;
};

// One raw exchange on the daemon's socket: `request` out, then whatever
// comes back until the simulator closes or answers one frame.
Bytes RawExchange(const Bytes &request) {
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, kvnc::paths::kDaemonSocket, sizeof address.sun_path - 1);
  Bytes reply;
  if (connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0 && WriteAll(fd, request)) {
    shutdown(fd, SHUT_WR);
    uint8_t header[12];
    if (ReadExactly(fd, header, sizeof header)) {
      reply.assign(header, header + sizeof header);
      reply.resize(12 + header[8]);  // replies here are short
      if (!ReadExactly(fd, reply.data() + 12, header[8])) reply.resize(12);
    }
  }
  close(fd);
  return reply;
}

Bytes Frame(uint8_t flags, uint32_t id, const Bytes &payload, uint32_t announced) {
  Bytes frame = {1, flags, 0, 0};
  for (uint32_t v : {id, announced}) {
    for (int i = 0; i < 4; ++i) frame.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  frame.insert(frame.end(), payload.begin(), payload.end());
  return frame;
}

TEST_F(SimControl, LoadReplacesTheModelAndABadOneIsRefused) {
  const Json small = {
      {"users", {{"admin", {{"uid", 1001}, {"roles", {"admin"}}}}}},
      {"roles", {{"admin", {{"pmask", 2}}}}},
      {"resources", {{"7", {{"tag", "Lone"}, {"controls", {{"3", {{"name", "Only control"}, {"type", 0}}}}}}}}},
  };
  ASSERT_EQ(sim().Command({{"cmd", "load"}, {"model", small}})["ok"], true);
  SaHpiEntryIdT next = 0;
  SaHpiRdrT rdr{};
  ASSERT_EQ(saHpiRdrGet(session_, 7, SAHPI_FIRST_ENTRY, &next, &rdr), SA_OK);  // sessions outlive a load
  EXPECT_EQ(next, SAHPI_LAST_ENTRY);
  EXPECT_EQ(TextBufferToString(rdr.IdString), "Only control");
  EXPECT_EQ(Read(), SA_ERR_HPI_INVALID_RESOURCE);

  const Json bad = sim().Command({{"cmd", "load"}, {"model", {{"resources", {{"not a number", Json::object()}}}}}});
  EXPECT_EQ(bad["ok"], false);
  EXPECT_EQ(saHpiRdrGet(session_, 7, SAHPI_FIRST_ENTRY, &next, &rdr), SA_OK);

  EXPECT_EQ(sim().Command({{"cmd", "load"}, {"file", "/nonexistent.json"}})["ok"], false);
  EXPECT_EQ(sim().Command({{"cmd", "no such command"}})["ok"], false);

  // From a file; reset returns to what was loaded last.
  const char *path = "/tmp/kvnc-sim-small.json";
  const std::string text = small.dump();
  const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  close(fd);
  ASSERT_EQ(sim().Command({{"cmd", "load"}, {"file", path}})["ok"], true);
  const SaHpiTextBufferT renamed = TextBufferFromString("Renamed");
  ASSERT_EQ(kvnHpiInstrumentNameSet(session_, 7, SAHPI_CTRL_RDR, 3, &renamed), SA_OK);
  sim().Reset();
  ASSERT_EQ(saHpiRdrGet(session_, 7, SAHPI_FIRST_ENTRY, &next, &rdr), SA_OK);
  EXPECT_EQ(TextBufferToString(rdr.IdString), "Only control");
  unlink(path);
}

TEST_F(SimControl, GarbageOnTheSocketGetsNoCrashAndBadRequestsAnAnswer) {
  const Bytes session = {static_cast<uint8_t>(session_), static_cast<uint8_t>(session_ >> 8),
                         static_cast<uint8_t>(session_ >> 16), static_cast<uint8_t>(session_ >> 24)};
  // Not frames at all, or frames that cannot be read: the connection is closed.
  EXPECT_TRUE(RawExchange(Bytes(64, 0xA5)).empty());
  EXPECT_TRUE(RawExchange(Frame(0x21, 36, {}, 0)).empty());           // version 2
  EXPECT_TRUE(RawExchange(Frame(0x11, 36, {}, 0x7FFFFFFF)).empty());  // larger than any request
  EXPECT_TRUE(RawExchange(Frame(0x11, 36, session, 12)).empty());     // payload cut short

  // A whole frame whose payload does not fit the request list: INVALID_PARAMS.
  Bytes reply = RawExchange(Frame(0x11, 36, session, 4));
  ASSERT_EQ(reply.size(), 16u);
  EXPECT_EQ(Bytes(reply.begin() + 4, reply.begin() + 8), Bytes({36, 0, 0, 0}));
  EXPECT_EQ(Bytes(reply.begin() + 12, reply.end()), Bytes({0x0F, 0xFC, 0xFF, 0xFF}));  // -1009

  // A number the daemon does not serve: UNSUPPORTED_API under the same number.
  reply = RawExchange(Frame(0x11, 4, session, 4));
  ASSERT_EQ(reply.size(), 16u);
  EXPECT_EQ(reply[4], 4);
  EXPECT_EQ(Bytes(reply.begin() + 12, reply.end()), Bytes({0x16, 0xFC, 0xFF, 0xFF}));  // -1002

  // A big-endian request is understood (the reply is little-endian).
  const Bytes big = {0x01,
                     0x10,
                     0,
                     0,
                     0,
                     0,
                     0,
                     36,
                     0,
                     0,
                     0,
                     12,
                     static_cast<uint8_t>(session_ >> 24),
                     static_cast<uint8_t>(session_ >> 16),
                     static_cast<uint8_t>(session_ >> 8),
                     static_cast<uint8_t>(session_),
                     0,
                     0,
                     0x07,
                     0xD1,
                     0,
                     0,
                     0,
                     1};
  reply = RawExchange(big);
  ASSERT_GE(reply.size(), 16u);
  EXPECT_EQ(reply[1], 0x11);
  EXPECT_EQ(Bytes(reply.begin() + 12, reply.begin() + 16), Bytes({0, 0, 0, 0}));

  EXPECT_EQ(Read(), SA_OK);
}

}  // namespace
