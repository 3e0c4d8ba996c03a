// The simulator's control channel: the journal of calls, injected faults as
// the client library sees them, and arranging the model.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
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
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

constexpr SaHpiResourceIdT kController = 1000;
constexpr SaHpiResourceIdT kProbe = 2001;
constexpr SaHpiResourceIdT kOutlet3 = 4004;

class SimControl : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    ASSERT_EQ(saHpiSessionOpen(SAHPI_UNSPECIFIED_DOMAIN_ID, &session_, nullptr), SA_OK);
    sim().Journal();  // start each test with an empty journal
  }
  void TearDown() override { saHpiSessionClose(session_); }

  SaErrorT Read(double *value = nullptr, SaHpiEventStateT *state = nullptr) {
    SaHpiSensorReadingT reading{};
    SaHpiEventStateT s = 0;
    const SaErrorT rv = saHpiSensorReadingGet(session_, kProbe, 1, &reading, &s);
    if (value != nullptr) *value = reading.Value.SensorFloat64;
    if (state != nullptr) *state = s;
    return rv;
  }
  SaErrorT SwitchOutlet3(SaHpiCtrlStateDigitalT state) {
    SaHpiCtrlStateT s{};
    s.Type = SAHPI_CTRL_TYPE_DIGITAL;
    s.StateUnion.Digital = state;
    return saHpiControlSet(session_, kOutlet3, 1, SAHPI_CTRL_MODE_MANUAL, &s);
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

TEST_F(SimControl, JournalHoldsEachCallInOrderWithItsDecodedValues) {
  const SaHpiTextBufferT tag = TextBufferFromString("Rack A3 controller");
  ASSERT_EQ(saHpiResourceTagSet(session_, kController, &tag), SA_OK);
  SaHpiSensorThresholdsT thresholds{};
  thresholds.UpMajor = {SAHPI_TRUE, SAHPI_SENSOR_READING_TYPE_FLOAT64, {}};
  thresholds.UpMajor.Value.SensorFloat64 = 31.5;
  ASSERT_EQ(saHpiSensorThresholdsSet(session_, kProbe, 1, &thresholds), SA_OK);
  KvnSeverityListT severities{};
  EXPECT_EQ(kvnHpiSensorStateSeverityGet(session_, kProbe, 1, 0x0009, &severities), SA_OK);
  free(severities.Severities);
  EXPECT_EQ(SwitchOutlet3(7), SA_ERR_HPI_INVALID_PARAMS);  // refused by the client: never sent

  const Json calls = sim().Journal();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0]["rpc"], 10);
  EXPECT_EQ(calls[0]["function"], "saHpiResourceTagSet");
  EXPECT_EQ(calls[0]["uid"], 0);
  EXPECT_EQ(calls[0]["args"], Json({session_, kController, "Rack A3 controller"}));
  EXPECT_EQ(calls[0]["result"], 0);
  EXPECT_EQ(calls[1]["function"], "saHpiSensorThresholdsSet");
  const Json &sent = calls[1]["args"][3];  // eight readings [supported, type, value] in record order
  ASSERT_EQ(sent.size(), 8u);
  EXPECT_EQ(sent[4], Json({1, 2, 31.5}));  // UpMajor
  EXPECT_EQ(sent[0], Json({0, 0, 0}));     // LowCritical: not supported, sent empty
  EXPECT_EQ(calls[2]["args"], Json({session_, kProbe, 1, 9}));
  EXPECT_LT(calls[0]["seq"], calls[1]["seq"]);
  EXPECT_LT(calls[1]["seq"], calls[2]["seq"]);
  EXPECT_EQ(sim().Journal(), Json::array());  // reading it cleared it
}

TEST_F(SimControl, InjectedErrorsAnswerWithoutMakingTheCall) {
  sim().Fault({{"rpc", 48}, {"count", 2}, {"error", SA_ERR_HPI_BUSY}});
  EXPECT_EQ(SwitchOutlet3(SAHPI_CTRL_STATE_ON), SA_ERR_HPI_BUSY);
  EXPECT_EQ(SwitchOutlet3(SAHPI_CTRL_STATE_ON), SA_ERR_HPI_BUSY);
  EXPECT_EQ(Read(), SA_OK);  // other RPCs are untouched
  EXPECT_EQ(sim().Dump()["resources"]["4004"]["controls"]["1"]["state"], 0);
  EXPECT_EQ(SwitchOutlet3(SAHPI_CTRL_STATE_ON), SA_OK);  // the two are used up
  EXPECT_EQ(sim().Dump()["resources"]["4004"]["controls"]["1"]["state"], 1);

  const Json calls = sim().Journal();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0]["fault"], "error");
  EXPECT_EQ(calls[0]["result"], SA_ERR_HPI_BUSY);
  EXPECT_FALSE(calls[3].contains("fault"));
}

TEST_F(SimControl, DelayedAndMisaddressedReplies) {
  sim().Fault({{"rpc", 36}, {"delay_ms", 400}});
  const auto start = Clock::now();
  EXPECT_EQ(Read(), SA_OK);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(400));

  // A reply under another RPC number is no answer to the client, at once (no retry).
  sim().Fault({{"rpc", 36}, {"reply_id", 37}});
  const auto again = Clock::now();
  EXPECT_EQ(Read(), SA_ERR_HPI_NO_RESPONSE);
  EXPECT_LT(Clock::now() - again, std::chrono::seconds(1));
  EXPECT_EQ(Read(), SA_OK);

  const Json calls = sim().Journal();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0]["fault"], "delay");
  EXPECT_EQ(calls[1]["fault"], "reply_id");
}

// Costs the client's retry pause twice: about 4 s.
TEST_F(SimControl, DroppedConnectionIsRetriedOnceThenNoResponse) {
  sim().Fault({{"rpc", 0}, {"drop", true}});  // the next call of any RPC
  const auto start = Clock::now();
  EXPECT_EQ(Read(), SA_ERR_HPI_NO_RESPONSE);
  const auto took = Clock::now() - start;
  EXPECT_GE(took, std::chrono::milliseconds(3900));
  EXPECT_LT(took, std::chrono::seconds(8));
  EXPECT_EQ(Read(), SA_OK);

  const Json calls = sim().Journal();
  ASSERT_EQ(calls.size(), 2u);  // the retry went to the closed connection, not to the simulator
  EXPECT_EQ(calls[0]["fault"], "drop");
  EXPECT_TRUE(calls[0]["result"].is_null());
  EXPECT_EQ(calls[0]["args"], Json({session_, kProbe, 1}));
}

TEST_F(SimControl, SetArrangesTheModelAndDumpShowsChangesMadeByCalls) {
  sim().Set("/resources/2001/sensors/1/reading", {{"value", 31}});
  double value = 0;
  SaHpiEventStateT state = 0;
  ASSERT_EQ(Read(&value, &state), SA_OK);
  EXPECT_EQ(value, 31);
  EXPECT_EQ(state, SAHPI_ES_UPPER_MINOR | SAHPI_ES_UPPER_MAJOR);  // 27 and 30 passed, 35 not

  // A change that does not make a model is refused and changes nothing.
  const Json refused = sim().Command({{"cmd", "set"}, {"pointer", "/resources/2001/sensors/1/type"}, {"value", "x"}});
  EXPECT_EQ(refused["ok"], false);
  EXPECT_EQ(sim().Dump()["resources"]["2001"]["sensors"]["1"]["type"], SAHPI_TEMPERATURE);

  const SaHpiTextBufferT name = TextBufferFromString("Door, rear");
  ASSERT_EQ(kvnHpiInstrumentNameSet(session_, 2002, SAHPI_SENSOR_RDR, 1, &name), SA_OK);
  EXPECT_EQ(sim().Dump()["resources"]["2002"]["sensors"]["1"]["name"], "Door, rear");

  // Reset goes back to the loaded model.
  sim().Reset();
  EXPECT_EQ(sim().Dump()["resources"]["2002"]["sensors"]["1"]["name"], "Rear door");
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
