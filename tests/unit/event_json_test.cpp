// The JSON forms of events, log entries and alarms, and the time text. Every
// expected text is written out by hand; numbers are chosen with the top bits
// set so that a signed field read as unsigned (or the other way) shows.
#include "api/events/event_json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <string>

#include "client/text_buffer.h"

namespace kvnc {
namespace {

constexpr SaHpiTimeT kSecond = 1000000000;

class EventJsonTest : public ::testing::Test {
 protected:
  // Absolute times print in local time; UTC keeps the expected texts fixed.
  static void SetUpTestSuite() {
    setenv("TZ", "UTC", 1);
    tzset();
  }
};

SaHpiEventT Event(SaHpiEventTypeT type) {
  SaHpiEventT e{};
  e.Source = 5;
  e.EventType = type;
  e.Timestamp = 0;
  e.Severity = 2;
  return e;
}

void SetText(SaHpiTextBufferT &buffer, const char *bytes, size_t length) {
  buffer.DataLength = static_cast<SaHpiUint8T>(length);
  std::memcpy(buffer.Data, bytes, length);
}

std::string Data(const SaHpiEventT &e) { return EventToJson(e)["data"].dump(); }

TEST_F(EventJsonTest, TimeTextRelativeAbsoluteAndSpecialValues) {
  const bool wide_time = sizeof(time_t) == 8;
  const struct {
    SaHpiTimeT time;
    std::string text;
  } cases[] = {
      {0, "RELATIVE: 0d 00:00:00"},
      {SAHPI_TIME_UNSPECIFIED, "TIME UNSPECIFIED"},
      {SAHPI_TIME_MAX_RELATIVE, "RELATIVE: 10007d 23:58:48"},
      {SAHPI_TIME_MAX_RELATIVE + 1, "1997-05-26 23:58:48"},
      // Negative: every field truncates toward zero and keeps its sign.
      {-1, "RELATIVE: 0d 00:00:00"},
      {-90061 * kSecond, "RELATIVE: -1d -1:-1:-1"},
      // Seconds are 32-bit: -2^31 - 1 s wraps around to 2^31 - 1 s.
      {-2147483649 * kSecond, "RELATIVE: 24855d 03:14:07"},
      {SAHPI_TIME_UNSPECIFIED + 1, "RELATIVE: -7331d -10:-50:-44"},
      // Past 2038 an absolute time keeps its date, or cannot be shown at all.
      {2147483648 * kSecond, wide_time ? "2038-01-19 03:14:08" : "TIME DECODING ERROR"},
      {std::numeric_limits<SaHpiTimeT>::max(), wide_time ? "2262-04-11 23:47:16" : "TIME DECODING ERROR"},
  };
  for (const auto &c : cases) EXPECT_EQ(EventTimeText(c.time), c.text) << c.time;
}

TEST_F(EventJsonTest, TypeCodesAreTheWebUisNumbering) {
  const int32_t codes[] = {3, 6, 1, 2, 7, 8, 9, 4, -1, 10, 11, 12};
  for (SaHpiEventTypeT type = 0; type < 12; ++type) {
    EXPECT_EQ(EventTypeCode(type).value_or(-1), codes[type]) << type;
  }
  EXPECT_FALSE(EventTypeCode(12).has_value());
  EXPECT_FALSE(EventTypeCode(0xFFFFFFFF).has_value());
}

TEST_F(EventJsonTest, WholeObjectsOfUserReducedAndTypedEvents) {
  SaHpiEventT user = Event(SAHPI_ET_USER);
  SetText(user.EventDataUnion.UserEvent.UserEventData, "admin logged in", 15);
  EXPECT_EQ(EventToJson(user).dump(),
            R"({"TC":"RELATIVE: 0d 00:00:00","data":"admin logged in","rid":5,"severity":2})");

  for (SaHpiEventTypeT type : {12u, 0xFFFFFFFFu}) {
    SaHpiEventT unknown = Event(type);
    unknown.Source = 0xFFFFFFFF;
    unknown.Severity = 0xFFFFFFFF;
    EXPECT_EQ(EventToJson(unknown).dump(), R"({"TC":"RELATIVE: 0d 00:00:00","rid":4294967295,"severity":-1})");
  }

  SaHpiEventT domain = Event(SAHPI_ET_DOMAIN);
  domain.Timestamp = SAHPI_TIME_UNSPECIFIED;
  domain.EventDataUnion.DomainEvent = {0xFFFFFFFE, 0xFFFFFFFF};
  EXPECT_EQ(EventToJson(domain).dump(),
            R"({"TC":"TIME UNSPECIFIED","data":{"id":4294967295,"type":-2},"rid":5,"severity":2,"type":6})");
}

TEST_F(EventJsonTest, DataOfEveryEventType) {
  SaHpiEventT e = Event(SAHPI_ET_RESOURCE);
  e.EventDataUnion.ResourceEvent.ResourceEventType = 0xFFFFFFFF;
  EXPECT_EQ(Data(e), R"({"type":-1})");

  e = Event(SAHPI_ET_SENSOR);
  SaHpiSensorEventT &s = e.EventDataUnion.SensorEvent;
  s.SensorNum = 0xFFFFFFFF;
  s.SensorType = 0xFFFFFFFF;
  s.EventCategory = 0x7E;
  s.Assertion = SAHPI_TRUE;
  s.EventState = 0x8001;
  s.PreviousState = 0xFFFF;
  s.CurrentState = 2;
  s.OptionalDataPresent = 0x3F;
  s.Oem = 0xFFFFFFFF;
  s.SensorSpecific = 7;
  s.TriggerReading.IsSupported = SAHPI_TRUE;
  s.TriggerReading.Type = SAHPI_SENSOR_READING_TYPE_INT64;
  s.TriggerReading.Value.SensorInt64 = -5;
  s.TriggerThreshold.Type = SAHPI_SENSOR_READING_TYPE_FLOAT64;
  s.TriggerThreshold.Value.SensorFloat64 = std::nan("");
  EXPECT_EQ(Data(e),
            R"({"OEM":4294967295,"assert":1,"cstate":2,"ecat":126,"estate":32769,"num":4294967295,"opdata":63,)"
            R"("pstate":65535,"spec":7,"thresh":{"supp":0,"type":"FLOAT64","value":null},)"
            R"("trigger":{"supp":1,"type":"INT64","value":-5},"type":-1})");
  EXPECT_EQ(EventToJson(e)["type"], 1);

  e = Event(SAHPI_ET_SENSOR_ENABLE_CHANGE);
  e.EventDataUnion.SensorEnableChangeEvent = {3,    0xFFFFFFFF, 1, SAHPI_TRUE, SAHPI_FALSE, 0xFFFF,
                                              0x10, 0x10,       4, 1,          1,           1};
  EXPECT_EQ(Data(e),
            R"({"assert":65535,"deassert":16,"ecat":1,"enable":1,"even":0,"num":3,"opdata":16,"state":4,"type":-1})");

  e = Event(SAHPI_ET_HOTSWAP);
  e.EventDataUnion.HotSwapEvent = {0xFFFFFFFF, 3, 0xFFFF};
  EXPECT_EQ(Data(e), R"({"cause":65535,"pstate":3,"state":-1})");

  e = Event(SAHPI_ET_WATCHDOG);
  e.EventDataUnion.WatchdogEvent = {0xFFFFFFFF, 0xFFFFFFFF, 2, 0xFFFFFFFE};
  EXPECT_EQ(Data(e), R"({"action":-1,"num":4294967295,"ptact":2,"tuse":-2})");

  e = Event(SAHPI_ET_HPI_SW);
  e.EventDataUnion.HpiSwEvent.MId = 0xFFFFFFFF;
  e.EventDataUnion.HpiSwEvent.Type = SAHPI_HPIE_OTHER;
  SetText(e.EventDataUnion.HpiSwEvent.EventData, "boot", 4);
  EXPECT_EQ(Data(e), R"({"data":"boot","mid":4294967295})");

  // Exactly DataLength bytes, a NUL inside included; a full buffer whole.
  e = Event(SAHPI_ET_OEM);
  e.EventDataUnion.OemEvent.MId = 42;
  SetText(e.EventDataUnion.OemEvent.OemEventData, "a\0b", 3);
  EXPECT_EQ(Data(e), R"({"data":"a\u0000b","mid":42})");
  std::memset(e.EventDataUnion.OemEvent.OemEventData.Data, 'x', SAHPI_MAX_TEXT_BUFFER_LENGTH);
  e.EventDataUnion.OemEvent.OemEventData.DataLength = SAHPI_MAX_TEXT_BUFFER_LENGTH;
  EXPECT_EQ(EventToJson(e)["data"]["data"], std::string(SAHPI_MAX_TEXT_BUFFER_LENGTH, 'x'));

  e = Event(SAHPI_ET_DIMI);
  e.EventDataUnion.DimiEvent = {1, 0xFFFFFFFF, 0xFFFFFFFF, 100};
  EXPECT_EQ(Data(e), R"({"completed":100,"num":1,"stat":-1,"test":4294967295})");

  e = Event(SAHPI_ET_DIMI_UPDATE);
  e.EventDataUnion.DimiUpdateEvent.DimiNum = 7;
  EXPECT_EQ(Data(e), R"({"num":7})");

  e = Event(SAHPI_ET_FUMI);
  e.EventDataUnion.FumiEvent = {2, 255, 0xFFFFFFFF};
  EXPECT_EQ(Data(e), R"({"bank":255,"num":2,"upstate":-1})");
}

TEST_F(EventJsonTest, SensorEventReadingsByType) {
  SaHpiEventT e = Event(SAHPI_ET_SENSOR);
  SaHpiSensorReadingT &r = e.EventDataUnion.SensorEvent.TriggerReading;
  const auto trigger = [&] { return EventToJson(e)["data"]["trigger"].dump(); };
  r.IsSupported = SAHPI_TRUE;
  r.Type = SAHPI_SENSOR_READING_TYPE_BUFFER;
  std::memset(r.Value.SensorBuffer, 0xFF, sizeof r.Value.SensorBuffer);
  EXPECT_EQ(trigger(), R"({"supp":0})");
  r.Type = 9;
  EXPECT_EQ(trigger(), R"({"supp":0})");
  r.Type = SAHPI_SENSOR_READING_TYPE_UINT64;
  r.Value.SensorUint64 = std::numeric_limits<uint64_t>::max();
  EXPECT_EQ(trigger(), R"({"supp":1,"type":"UINT64","value":18446744073709551615})");
  r.IsSupported = SAHPI_FALSE;
  r.Type = SAHPI_SENSOR_READING_TYPE_INT64;
  r.Value.SensorInt64 = std::numeric_limits<int64_t>::min();
  EXPECT_EQ(trigger(), R"({"supp":0,"type":"INT64","value":-9223372036854775808})");
  r.Type = SAHPI_SENSOR_READING_TYPE_FLOAT64;
  r.Value.SensorFloat64 = -std::numeric_limits<double>::infinity();
  EXPECT_EQ(trigger(), R"({"supp":0,"type":"FLOAT64","value":null})");
  r.Value.SensorFloat64 = 21.5;
  EXPECT_EQ(trigger(), R"({"supp":0,"type":"FLOAT64","value":21.5})");
}

TEST_F(EventJsonTest, FingerprintAndLogEntries) {
  SaHpiEventT e = Event(SAHPI_ET_USER);
  e.Timestamp = static_cast<SaHpiTimeT>(0xFFFFFFFE80000005u);  // negative; low word above 2^31
  e.Source = 0xFFFFFFFF;
  e.Severity = 0xFFFFFFFF;
  const json fp = EventFingerprint(e);
  EXPECT_EQ(fp.dump(), "[2147483653,-2,4294967295,-1,8]");
  // What the client sends back as "last" is read by kind as well as value.
  EXPECT_FALSE(fp[0].is_number_unsigned());
  EXPECT_TRUE(fp[2].is_number_unsigned());

  SaHpiEventLogEntryT entry{};
  entry.EntryId = 0xFFFFFFFD;
  entry.Timestamp = SAHPI_TIME_MAX_RELATIVE;  // the entry's own time, not the event's
  entry.Event = Event(SAHPI_ET_USER);
  SetText(entry.Event.EventDataUnion.UserEvent.UserEventData, "x", 1);
  const char *event = R"("event":{"TC":"RELATIVE: 0d 00:00:00","data":"x","rid":5,"severity":2})";
  EXPECT_EQ(LogEntryToJson(entry, false).dump(),
            std::string(R"({"entry":{"ID":4294967293,"TS":"RELATIVE: 10007d 23:58:48"},)") + event + "}");
  EXPECT_EQ(
      LogEntryToJson(entry, true).dump(),
      std::string(R"({"entry":{"CRC":[0,0,5,2,8],"ID":4294967293,"TS":"RELATIVE: 10007d 23:58:48"},)") + event + "}");
}

TEST_F(EventJsonTest, ResourceAlarmNames) {
  SaHpiAlarmT alarm{};
  alarm.AlarmId = 7;
  alarm.Severity = 1;
  alarm.Acknowledged = SAHPI_TRUE;
  alarm.AlarmCond.Type = SAHPI_STATUS_COND_TYPE_RESOURCE;
  alarm.AlarmCond.ResourceId = 0xFFFFFFFF;
  alarm.AlarmCond.SensorNum = 9;  // not a sensor alarm: never shown
  alarm.AlarmCond.EventState = 0x8000;
  SaHpiNameT &name = alarm.AlarmCond.Name;
  std::memset(name.Value, 'n', sizeof name.Value);  // unterminated
  EXPECT_EQ(AlarmToJson(0, alarm).dump(),
            R"({"ack":true,"alid":7,"est":32768,"name":"","rid":4294967295,"scat":"","sn":"","stype":"",)"
            R"("svrt":1,"time":"RELATIVE: 0d 00:00:00","type":1})");

  using std::string_literals::operator""s;
  const struct {
    SaHpiUint16T length;
    std::string value;  // written over the 'n's
    std::string name;
  } cases[] = {
      {1, "a"s, ""},
      {40, "0123456789012345678901234567890123456789"s, "01234567890123456789012345678901"},
      {10, "ab\0cdefghi"s, "ab"},
      {2, ""s, std::string(32, 'n')},  // no NUL anywhere: cut at 32, nothing read past Value
      {0xFFFF, "xyz\0"s, "xyz"},
  };
  for (const auto &c : cases) {
    std::memset(name.Value, 'n', sizeof name.Value);
    std::memcpy(name.Value, c.value.data(), c.value.size());
    name.Length = c.length;
    EXPECT_EQ(AlarmToJson(0, alarm)["name"], c.name) << c.length;
  }
}

}  // namespace
}  // namespace kvnc
