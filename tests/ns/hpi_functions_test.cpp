// What the client functions send and how they take the reply, against an
// in-process daemon at the daemon's fixed path (private /tmp).
#include "client/hpi_functions.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <vector>

#include "client/paths.h"
#include "client/text_buffer.h"
#include "tests/support/fake_daemon.h"
#include "tests/unit/wire_builder.h"

namespace {

using kvnc::test::FakeDaemon;
using kvnc::test::RawFrame;
using kvnc::test::ReadRequestFrame;
using kvnc::test::ReadToEnd;
using kvnc::test::Wire;
using kvnc::test::WriteAll;
using Bytes = std::vector<uint8_t>;

constexpr SaHpiSessionIdT kSession = 0x11;
constexpr SaHpiResourceIdT kResource = 0x22;

// One call against a daemon that answers RPC `rpc` with `reply_payload`
// (little-endian frame) and records the request.
struct Exchange {
  Bytes request;  // payload only
};

Exchange CallDaemon(uint32_t rpc, const Wire &reply_payload, const std::function<void()> &call) {
  Exchange seen;
  Bytes reply = Wire().U8(1).U8(0x11).U16(0).U32(rpc).U32(reply_payload.size()).Raw(reply_payload.bytes()).bytes();
  {
    FakeDaemon daemon(kvnc::paths::kDaemonSocket, [&](int fd) {
      RawFrame frame;
      if (!ReadRequestFrame(fd, &frame)) return;
      seen.request = frame.payload;
      WriteAll(fd, reply);
      ReadToEnd(fd);
    });
    EXPECT_TRUE(daemon.ok());
    call();
    daemon.Stop();
  }
  return seen;
}

Wire Ok() { return Wire().I32(SA_OK); }

// The wire form of an SaHpiTextBufferT holding `text` as TextBufferFromString makes it.
Wire &Text(Wire &w, const std::string &text) {
  w.U32(3).U32(25).U8(static_cast<uint8_t>(text.size()));
  for (char c : text) w.U8(static_cast<uint8_t>(c));
  return w.Fill(255 - text.size());
}

TEST(HpiFunctions, AlarmAcknowledgeOfOneAlarmIgnoresTheSeverity) {
  SaErrorT rv = SA_ERR_HPI_ERROR;
  Exchange seen = CallDaemon(31, Ok(), [&] { rv = saHpiAlarmAcknowledge(kSession, 5, 99); });
  EXPECT_EQ(rv, SA_OK);
  EXPECT_EQ(seen.request, Wire().U32(kSession).U32(5).U32(99).bytes());
}

TEST(HpiFunctions, ControlSetSendsAZeroStateInAutoModeAndTheCallersInManual) {
  SaHpiCtrlStateT analog{};
  analog.Type = SAHPI_CTRL_TYPE_ANALOG;
  analog.StateUnion.Analog = 77;
  SaErrorT rv = SA_ERR_HPI_ERROR;
  Exchange seen =
      CallDaemon(48, Ok(), [&] { rv = saHpiControlSet(kSession, kResource, 4, SAHPI_CTRL_MODE_AUTO, &analog); });
  EXPECT_EQ(rv, SA_OK);
  // mode AUTO, then a DIGITAL (0) state OFF (0)
  EXPECT_EQ(seen.request, Wire().U32(kSession).U32(kResource).U32(4).U32(0).U32(0).U32(0).bytes());

  seen = CallDaemon(48, Ok(), [&] { rv = saHpiControlSet(kSession, kResource, 4, SAHPI_CTRL_MODE_AUTO, nullptr); });
  EXPECT_EQ(seen.request, Wire().U32(kSession).U32(kResource).U32(4).U32(0).U32(0).U32(0).bytes());

  seen = CallDaemon(48, Ok(), [&] { rv = saHpiControlSet(kSession, kResource, 4, SAHPI_CTRL_MODE_MANUAL, &analog); });
  EXPECT_EQ(seen.request, Wire().U32(kSession).U32(kResource).U32(4).U32(1).U32(2).I32(77).bytes());
}

TEST(HpiFunctions, ControlGetSendsKnownStatesAndAsksForAllTextLinesOtherwise) {
  const Bytes head = Wire().U32(kSession).U32(kResource).U32(6).bytes();
  // Reply: MANUAL, state ANALOG -5.
  const Wire analog_reply = Ok().U32(1).U32(2).I32(-5);

  SaHpiCtrlStateT state{};
  state.Type = SAHPI_CTRL_TYPE_DISCRETE;
  state.StateUnion.Discrete = 9;
  SaErrorT rv = SA_ERR_HPI_ERROR;
  Exchange seen = CallDaemon(47, analog_reply, [&] { rv = saHpiControlGet(kSession, kResource, 6, nullptr, &state); });
  EXPECT_EQ(rv, SA_OK);
  EXPECT_EQ(seen.request, Wire().Raw(head).U32(1).U32(9).bytes());
  EXPECT_EQ(state.Type, SAHPI_CTRL_TYPE_ANALOG);
  EXPECT_EQ(state.StateUnion.Analog, -5);

  // Unknown type, or no state at all: TEXT, line 0, an empty text buffer.
  const Bytes all_lines = Wire().Raw(head).U32(4).U8(0).U32(0).U32(0).U8(0).Fill(255).bytes();
  state.Type = 0xC1;
  SaHpiCtrlModeT mode = 7;
  seen = CallDaemon(47, analog_reply, [&] { rv = saHpiControlGet(kSession, kResource, 6, &mode, &state); });
  EXPECT_EQ(seen.request, all_lines);
  EXPECT_EQ(mode, SAHPI_CTRL_MODE_MANUAL);
  EXPECT_EQ(state.StateUnion.Analog, -5);

  seen = CallDaemon(47, analog_reply, [&] { rv = saHpiControlGet(kSession, kResource, 6, nullptr, nullptr); });
  EXPECT_EQ(rv, SA_OK);
  EXPECT_EQ(seen.request, all_lines);

  // A failed call leaves both outputs alone.
  mode = 7;
  state.Type = SAHPI_CTRL_TYPE_DIGITAL;
  state.StateUnion.Digital = SAHPI_CTRL_STATE_ON;
  CallDaemon(47, Wire().I32(SA_ERR_HPI_NOT_PRESENT),
             [&] { rv = saHpiControlGet(kSession, kResource, 6, &mode, &state); });
  EXPECT_EQ(rv, SA_ERR_HPI_NOT_PRESENT);
  EXPECT_EQ(mode, 7u);
  EXPECT_EQ(state.StateUnion.Digital, SAHPI_CTRL_STATE_ON);
}

TEST(HpiFunctions, ThresholdsSetSendsUnsupportedReadingsEmpty) {
  SaHpiSensorThresholdsT thresholds{};
  thresholds.LowCritical.IsSupported = SAHPI_TRUE;
  thresholds.LowCritical.Type = SAHPI_SENSOR_READING_TYPE_FLOAT64;
  thresholds.LowCritical.Value.SensorFloat64 = 1.5;
  thresholds.LowMajor.Type = 7;  // not supported: its type and value do not travel
  thresholds.LowMajor.Value.SensorInt64 = -1;
  thresholds.UpMinor.IsSupported = SAHPI_TRUE;
  thresholds.UpMinor.Type = SAHPI_SENSOR_READING_TYPE_BUFFER;
  thresholds.UpMinor.Value.SensorBuffer[0] = 0xAB;
  thresholds.UpMinor.Value.SensorBuffer[31] = 0xCD;
  SaErrorT rv = SA_ERR_HPI_ERROR;
  Exchange seen = CallDaemon(38, Ok(), [&] { rv = saHpiSensorThresholdsSet(kSession, kResource, 2, &thresholds); });
  EXPECT_EQ(rv, SA_OK);
  Wire expected;
  expected.U32(kSession).U32(kResource).U32(2);
  expected.U8(1).U32(2).F64(1.5);                    // LowCritical
  expected.U8(0).U32(0).U64(0);                      // LowMajor
  expected.U8(0).U32(0).U64(0);                      // LowMinor
  expected.U8(0).U32(0).U64(0);                      // UpCritical
  expected.U8(0).U32(0).U64(0);                      // UpMajor
  expected.U8(1).U32(3).U8(0xAB).Fill(30).U8(0xCD);  // UpMinor
  expected.U8(0).U32(0).U64(0);                      // PosThdHysteresis
  expected.U8(0).U32(0).U64(0);                      // NegThdHysteresis
  EXPECT_EQ(seen.request, expected.bytes());
}

TEST(HpiFunctions, OptionalOutputsOfTheStandardMayBeNull) {
  // A reading (INT64 -3) and event state 4: read into scratch space.
  SaErrorT rv = SA_ERR_HPI_ERROR;
  CallDaemon(36, Ok().U8(1).U32(0).I64(-3).U16(4),
             [&] { rv = saHpiSensorReadingGet(kSession, kResource, 2, nullptr, nullptr); });
  EXPECT_EQ(rv, SA_OK);

  SaHpiEventStateT deassert = 0x10;
  Exchange seen = CallDaemon(44, Ok().U16(0x3).U16(0x5),
                             [&] { rv = saHpiSensorEventMasksGet(kSession, kResource, 2, nullptr, &deassert); });
  EXPECT_EQ(rv, SA_OK);
  EXPECT_EQ(seen.request, Wire().U32(kSession).U32(kResource).U32(2).U16(0).U16(0x10).bytes());
  EXPECT_EQ(deassert, 0x5);
}

TEST(HpiFunctions, EventLogEntryWithoutRdrOrRptEntryStillTakesTheWholeReply) {
  Wire reply = Ok();
  reply.U32(0x40).U32(SAHPI_NO_MORE_ENTRIES);  // previous, next
  // The entry: id 0x41, logged at 1000; a user event of source 3, MINOR.
  reply.U32(0x41).I64(1000).U32(3).U32(SAHPI_ET_USER).I64(999).U32(SAHPI_MINOR);
  Text(reply, "hello");
  // Its RDR: record 7, a watchdog (number 1, OEM 0) on an empty path.
  reply.U32(7).U32(SAHPI_WATCHDOG_RDR).Fill(128).U8(0).U32(1).U32(0);
  Text(reply, "wd");
  // Its RPT entry: entry 1, resource 3, resource info (28 bytes), empty
  // path, capabilities, hot-swap capabilities, severity OK, not failed, tag.
  reply.U32(1).U32(3).Fill(28).Fill(128).U32(SAHPI_CAPABILITY_RESOURCE).U32(0).U32(SAHPI_OK).U8(0);
  Text(reply, "res");

  SaHpiEventLogEntryIdT previous = 0, next = 0;
  SaHpiEventLogEntryT entry{};
  SaErrorT rv = SA_ERR_HPI_ERROR;
  Exchange seen = CallDaemon(17, reply, [&] {
    rv = saHpiEventLogEntryGet(kSession, kResource, SAHPI_NEWEST_ENTRY, &previous, &next, &entry, nullptr, nullptr);
  });
  EXPECT_EQ(seen.request, Wire().U32(kSession).U32(kResource).U32(SAHPI_NEWEST_ENTRY).bytes());
  EXPECT_EQ(rv, SA_OK);
  EXPECT_EQ(previous, 0x40u);
  EXPECT_EQ(next, SAHPI_NO_MORE_ENTRIES);
  EXPECT_EQ(entry.EntryId, 0x41u);
  EXPECT_EQ(entry.Event.Severity, SAHPI_MINOR);
  EXPECT_EQ(TextBufferToString(entry.Event.EventDataUnion.UserEvent.UserEventData), "hello");
}

TEST(HpiFunctions, ExtensionFunctionsSendTheirValuesInTheDaemonsOrder) {
  const SaHpiTextBufferT group = TextBufferFromString("g1");
  SaErrorT rv = SA_ERR_HPI_ERROR;
  Exchange seen = CallDaemon(240, Ok(), [&] { rv = kvnHpiGroupControlAdd(kSession, &group, kResource, 3, 500); });
  EXPECT_EQ(rv, SA_OK);
  Wire expected;
  expected.U32(kSession);
  Text(expected, "g1").U32(kResource).U32(3).U32(500);
  EXPECT_EQ(seen.request, expected.bytes());

  // Severities come back in storage the caller owns.
  KvnSeverityListT severities = {0, nullptr};
  seen = CallDaemon(138, Ok().U8(2).U32(SAHPI_MINOR).U32(SAHPI_CRITICAL),
                    [&] { rv = kvnHpiSensorStateSeverityGet(kSession, kResource, 2, 0x5, &severities); });
  EXPECT_EQ(rv, SA_OK);
  EXPECT_EQ(seen.request, Wire().U32(kSession).U32(kResource).U32(2).U16(0x5).bytes());
  ASSERT_EQ(severities.Count, 2);
  ASSERT_NE(severities.Severities, nullptr);
  EXPECT_EQ(severities.Severities[0], SAHPI_MINOR);
  EXPECT_EQ(severities.Severities[1], SAHPI_CRITICAL);
  free(severities.Severities);

  // Two outputs after the reply's SaErrorT.
  SaHpiUint64T privileges = 0, other = 0;
  seen = CallDaemon(252, Ok().U64(0x42).U64(0x100000000ULL),
                    [&] { rv = kvnHpiCurrentPrivilegeMaskGet(kSession, &privileges, &other); });
  EXPECT_EQ(rv, SA_OK);
  EXPECT_EQ(privileges, 0x42u);
  EXPECT_EQ(other, 0x100000000ULL);
}

TEST(HpiFunctions, SensorStatusWithoutThresholdsLeavesNoStaleOutputs) {
  SaHpiSensorReadingT reading{};
  reading.IsSupported = SAHPI_TRUE;
  reading.Type = SAHPI_SENSOR_READING_TYPE_UINT64;
  SaHpiEventStateT state = 0x8;
  SaHpiSensorThresholdsT thresholds{};
  thresholds.UpMajor.IsSupported = SAHPI_TRUE;
  SaHpiSeverityT stale[1] = {SAHPI_MAJOR};
  KvnSeverityListT severities = {1, stale};
  SaErrorT rv = SA_OK;
  Exchange seen = CallDaemon(427, Wire().I32(SA_ERR_HPI_INVALID_CMD), [&] {
    rv = kvnHpiSensorStatusGet(kSession, kResource, 2, SAHPI_TRUE, 0x3, &reading, &state, &thresholds, &severities);
  });
  EXPECT_EQ(seen.request, Wire().U32(kSession).U32(kResource).U32(2).U8(1).U16(0x3).bytes());
  EXPECT_EQ(rv, SA_ERR_HPI_INVALID_CMD);
  EXPECT_EQ(reading.IsSupported, SAHPI_FALSE);
  EXPECT_EQ(state, 0);
  EXPECT_EQ(thresholds.UpMajor.IsSupported, SAHPI_FALSE);
  EXPECT_EQ(severities.Count, 0);
  EXPECT_EQ(severities.Severities, nullptr);
}

TEST(HpiFunctions, DebugLevelSendsOnlyTheLevelAndReturnsTheDaemonsAnswer) {
  SaErrorT rv = SA_ERR_HPI_ERROR;
  Exchange seen = CallDaemon(129, Wire().I32(3), [&] { rv = kvnHpiDebugLevel(0xFFFF); });
  EXPECT_EQ(rv, 3);
  EXPECT_EQ(seen.request, Wire().U32(0xFFFF).bytes());
}

}  // namespace
