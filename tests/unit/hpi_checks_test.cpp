// Argument checks of the client functions. Each case is refused before a
// connection is tried: with no daemon listening a call that got through
// would answer SA_ERR_HPI_NO_RESPONSE instead.
#include <gtest/gtest.h>

#include <functional>

#include "client/hpi_functions.h"

namespace {

constexpr SaHpiSessionIdT kSession = 9;
constexpr SaHpiResourceIdT kResource = 3;

struct RefusedCall {
  const char *what;
  std::function<SaErrorT()> call;
  SaErrorT expected;
};

void ExpectRefused(const std::vector<RefusedCall> &cases) {
  for (const RefusedCall &c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.call(), c.expected);
  }
}

SaHpiCtrlStateT State(SaHpiCtrlTypeT type) {
  SaHpiCtrlStateT state{};
  state.Type = type;
  return state;
}

TEST(HpiChecks, SessionResourceAndAlarms) {
  SaHpiSessionIdT session = 0;
  int security = 0;
  SaHpiAlarmT alarm{};
  SaHpiAlarmT last_alarm{};
  last_alarm.AlarmId = SAHPI_LAST_ENTRY;
  ExpectRefused({
      {"open without a place for the id",
       [] { return saHpiSessionOpen(SAHPI_UNSPECIFIED_DOMAIN_ID, nullptr, nullptr); }, SA_ERR_HPI_INVALID_PARAMS},
      {"open with security parameters", [&] { return saHpiSessionOpen(0, &session, &security); },
       SA_ERR_HPI_INVALID_PARAMS},
      {"severity of the unspecified resource",
       [] { return saHpiResourceSeveritySet(kSession, SAHPI_UNSPECIFIED_RESOURCE_ID, SAHPI_MAJOR); },
       SA_ERR_HPI_INVALID_PARAMS},
      {"severity 5", [] { return saHpiResourceSeveritySet(kSession, kResource, 5); }, SA_ERR_HPI_INVALID_PARAMS},
      {"next alarm without a record",
       [] { return saHpiAlarmGetNext(kSession, SAHPI_ALL_SEVERITIES, SAHPI_FALSE, nullptr); },
       SA_ERR_HPI_INVALID_PARAMS},
      {"next alarm of severity 239", [&] { return saHpiAlarmGetNext(kSession, 239, SAHPI_FALSE, &alarm); },
       SA_ERR_HPI_INVALID_PARAMS},
      {"next alarm after the last",
       [&] { return saHpiAlarmGetNext(kSession, SAHPI_ALL_SEVERITIES, SAHPI_TRUE, &last_alarm); },
       SA_ERR_HPI_NOT_PRESENT},
      {"acknowledge all of severity 99", [] { return saHpiAlarmAcknowledge(kSession, SAHPI_ENTRY_UNSPECIFIED, 99); },
       SA_ERR_HPI_INVALID_PARAMS},
      {"delete all of severity 5", [] { return saHpiAlarmDelete(kSession, SAHPI_ENTRY_UNSPECIFIED, 5); },
       SA_ERR_HPI_INVALID_PARAMS},
  });
}

TEST(HpiChecks, RecordsAndInventory) {
  SaHpiRdrT rdr;
  SaHpiEntryIdT next;
  SaHpiIdrFieldT field;
  SaHpiEventLogEntryT entry;
  ExpectRefused({
      {"RDR type 8", [&] { return saHpiRdrGetByInstrumentId(kSession, kResource, 8, 1, &rdr); },
       SA_ERR_HPI_INVALID_PARAMS},
      {"RDR type NO_RECORD", [&] { return saHpiRdrGetByInstrumentId(kSession, kResource, SAHPI_NO_RECORD, 1, &rdr); },
       SA_ERR_HPI_INVALID_PARAMS},
      {"RDR by instrument without a record",
       [] { return saHpiRdrGetByInstrumentId(kSession, kResource, SAHPI_SENSOR_RDR, 1, nullptr); },
       SA_ERR_HPI_INVALID_PARAMS},
      {"RDR without next id", [&] { return saHpiRdrGet(kSession, kResource, SAHPI_FIRST_ENTRY, nullptr, &rdr); },
       SA_ERR_HPI_INVALID_PARAMS},
      {"field without a record",
       [&] { return saHpiIdrFieldGet(kSession, kResource, 0, 1, SAHPI_IDR_FIELDTYPE_CUSTOM, 1, &next, nullptr); },
       SA_ERR_HPI_INVALID_PARAMS},
      {"field without next id",
       [&] { return saHpiIdrFieldGet(kSession, kResource, 0, 1, SAHPI_IDR_FIELDTYPE_CUSTOM, 1, nullptr, &field); },
       SA_ERR_HPI_INVALID_PARAMS},
      {"field type 10", [&] { return saHpiIdrFieldGet(kSession, kResource, 0, 1, 10, 1, &next, &field); },
       SA_ERR_HPI_INVALID_PARAMS},
      {"last area",
       [&] {
         return saHpiIdrFieldGet(kSession, kResource, 0, SAHPI_LAST_ENTRY, SAHPI_IDR_FIELDTYPE_UNSPECIFIED, 1, &next,
                                 &field);
       },
       SA_ERR_HPI_INVALID_PARAMS},
      {"last field",
       [&] {
         return saHpiIdrFieldGet(kSession, kResource, 0, 1, SAHPI_IDR_FIELDTYPE_UNSPECIFIED, SAHPI_LAST_ENTRY, &next,
                                 &field);
       },
       SA_ERR_HPI_INVALID_PARAMS},
      {"instrument lookup without a place for the instrument",
       [&] {
         return saHpiGetIdByEntityPath(kSession, SaHpiEntityPathT{}, SAHPI_SENSOR_RDR, &next, &next, nullptr, &next);
       },
       SA_ERR_HPI_INVALID_PARAMS},
      {"log entry without previous id",
       [&] {
         return saHpiEventLogEntryGet(kSession, kResource, SAHPI_NEWEST_ENTRY, nullptr, &next, &entry, nullptr,
                                      nullptr);
       },
       SA_ERR_HPI_INVALID_PARAMS},
  });
}

TEST(HpiChecks, ControlSet) {
  SaHpiCtrlStateT digital_4 = State(SAHPI_CTRL_TYPE_DIGITAL);
  digital_4.StateUnion.Digital = 4;
  SaHpiCtrlStateT stream_5 = State(SAHPI_CTRL_TYPE_STREAM);
  stream_5.StateUnion.Stream.StreamLength = 5;
  SaHpiCtrlStateT type_c1 = State(0xC1);
  ExpectRefused({
      {"mode 2", [] { return saHpiControlSet(kSession, kResource, 1, 2, nullptr); }, SA_ERR_HPI_INVALID_PARAMS},
      {"manual without a state",
       [] { return saHpiControlSet(kSession, kResource, 1, SAHPI_CTRL_MODE_MANUAL, nullptr); },
       SA_ERR_HPI_INVALID_PARAMS},
      // The state is checked in AUTO mode too, although it is not sent then.
      {"digital state 4", [&] { return saHpiControlSet(kSession, kResource, 1, SAHPI_CTRL_MODE_AUTO, &digital_4); },
       SA_ERR_HPI_INVALID_PARAMS},
      {"stream of 5 bytes", [&] { return saHpiControlSet(kSession, kResource, 1, SAHPI_CTRL_MODE_MANUAL, &stream_5); },
       SA_ERR_HPI_INVALID_PARAMS},
      {"manual type 0xC1", [&] { return saHpiControlSet(kSession, kResource, 1, SAHPI_CTRL_MODE_MANUAL, &type_c1); },
       SA_ERR_HPI_INVALID_DATA},
  });
}

TEST(HpiChecks, ThresholdsSetRefusesSupportedReadingsOfUnknownType) {
  EXPECT_EQ(saHpiSensorThresholdsSet(kSession, kResource, 1, nullptr), SA_ERR_HPI_INVALID_PARAMS);
  // Every one of the eight readings is checked, the last one too.
  SaHpiSensorThresholdsT thresholds{};
  thresholds.NegThdHysteresis.IsSupported = SAHPI_TRUE;
  thresholds.NegThdHysteresis.Type = 7;
  EXPECT_EQ(saHpiSensorThresholdsSet(kSession, kResource, 1, &thresholds), SA_ERR_HPI_INVALID_DATA);
  thresholds = {};
  thresholds.LowCritical.IsSupported = SAHPI_TRUE;
  thresholds.LowCritical.Type = 4;
  EXPECT_EQ(saHpiSensorThresholdsSet(kSession, kResource, 1, &thresholds), SA_ERR_HPI_INVALID_DATA);
}

TEST(HpiChecks, ExtensionFunctionsRefuseMissingPointers) {
  SaHpiTextBufferT text{};
  SaHpiUint32T number = 0;
  KvnSeverityListT unset_values = {2, nullptr};
  KvnSeverityListT empty = {0, nullptr};
  ExpectRefused({
      {"text to set", [] { return kvnHpiHostNameSet(kSession, nullptr); }, SA_ERR_HPI_INVALID_PARAMS},
      {"text to get", [] { return kvnHpiHostNameGet(kSession, nullptr); }, SA_ERR_HPI_INVALID_PARAMS},
      {"one of several outputs", [&] { return kvnHpiGroupGetNext(kSession, 0, &number, nullptr); },
       SA_ERR_HPI_INVALID_PARAMS},
      {"record to set", [] { return kvnHpiLoginRestrictionsSet(kSession, nullptr); }, SA_ERR_HPI_INVALID_PARAMS},
      {"severity list without values",
       [&] { return kvnHpiSensorStateSeveritySet(kSession, kResource, 1, 0x3, &unset_values); },
       SA_ERR_HPI_INVALID_PARAMS},
      {"no severity list", [&] { return kvnHpiSensorUserTypeAdd(kSession, &text, &text, &text, 0, nullptr, &number); },
       SA_ERR_HPI_INVALID_PARAMS},
      // An empty list needs no values, but the missing output is still refused.
      {"empty list, no output",
       [&] { return kvnHpiSensorUserTypeAdd(kSession, &text, &text, &text, 0, &empty, nullptr); },
       SA_ERR_HPI_INVALID_PARAMS},
  });
}

}  // namespace
