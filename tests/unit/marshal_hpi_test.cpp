// HPI values and vendor records on the wire, byte for byte, and the RPC
// table. Expected bytes are written out field by field from the layout
// rules (no padding, little-endian requests, the reply's own byte order).
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "client/hpi_types.h"
#include "client/kvn_types.h"
#include "client/marshal.h"
#include "client/marshal_hpi.h"
#include "tests/unit/wire_builder.h"

namespace {

using kvnc::test::Wire;
using Bytes = std::vector<uint8_t>;
using Path = std::vector<std::pair<uint32_t, uint32_t>>;

constexpr uint8_t kSentinel = 0xA5;

// ---- expected wire pieces, by hand -----------------------------------------

// Text buffer: DataType, Language, DataLength, then all 255 data bytes.
Wire &PutText(Wire &w, const std::string &text, uint32_t type = SAHPI_TL_TYPE_TEXT,
              uint32_t language = SAHPI_LANG_ENGLISH) {
  w.U32(type).U32(language).U8(static_cast<uint8_t>(text.size()));
  for (char c : text) w.U8(static_cast<uint8_t>(c));
  return w.Fill(255 - text.size());
}

// Entity path: always 16 (type, location) pairs.
Wire &PutPath(Wire &w, const Path &entries) {
  for (const auto &[type, location] : entries) w.U32(type).U32(location);
  return w.Fill((16 - entries.size()) * 8);
}

// Readings: IsSupported, Type, then the member Type selects.
Wire &PutFloatReading(Wire &w, double value) { return w.U8(1).U32(SAHPI_SENSOR_READING_TYPE_FLOAT64).F64(value); }
Wire &PutUnsupportedReading(Wire &w) { return w.U8(0).U32(SAHPI_SENSOR_READING_TYPE_INT64).I64(0); }

// ---- C values --------------------------------------------------------------

template <typename T>
T Zeroed() {
  T value;
  memset(&value, 0, sizeof value);
  return value;
}

SaHpiTextBufferT MakeText(const std::string &text) {
  auto buffer = Zeroed<SaHpiTextBufferT>();
  buffer.DataType = SAHPI_TL_TYPE_TEXT;
  buffer.Language = SAHPI_LANG_ENGLISH;
  buffer.DataLength = static_cast<SaHpiUint8T>(text.size());
  memcpy(buffer.Data, text.data(), text.size());
  return buffer;
}

void SetPath(SaHpiEntityPathT &path, const Path &entries) {
  for (size_t i = 0; i < entries.size(); ++i) path.Entry[i] = {entries[i].first, entries[i].second};
}

SaHpiSensorReadingT FloatReading(double value) {
  auto reading = Zeroed<SaHpiSensorReadingT>();
  reading.IsSupported = SAHPI_TRUE;
  reading.Type = SAHPI_SENSOR_READING_TYPE_FLOAT64;
  reading.Value.SensorFloat64 = value;
  return reading;
}

// Marshals into exactly `capacity` bytes with a sentinel behind them.
Bytes MarshalValue(const MarshalType *type, const void *value, size_t capacity = 4096) {
  Bytes buffer(capacity + 1, 0xEE);
  buffer[capacity] = kSentinel;
  const int n = Marshal(type, value, buffer.data(), capacity);
  EXPECT_EQ(buffer[capacity], kSentinel);
  EXPECT_GE(n, 0);
  buffer.resize(n < 0 ? 0 : static_cast<size_t>(n));
  return buffer;
}

// Demarshalling into a zero-filled T gives back a value built on zeros
// byte for byte, padding included.
template <typename T>
void ExpectDemarshalsTo(const MarshalType *type, const Bytes &wire, const T &expected, int byte_order) {
  auto value = Zeroed<T>();
  ASSERT_EQ(Demarshal(byte_order, type, &value, wire.data(), wire.size()), static_cast<int>(wire.size()));
  EXPECT_EQ(memcmp(&value, &expected, sizeof(T)), 0);
}

// ---- text buffers, readings, thresholds --------------------------------------

TEST(HpiWire, TextBufferAlwaysCarriesAll255DataBytes) {
  const SaHpiTextBufferT text = MakeText("abc");
  Wire expected;
  PutText(expected, "abc");
  ASSERT_EQ(expected.size(), 264u);
  EXPECT_EQ(MarshalValue(&kHpiTextBuffer, &text), expected.bytes());
  ExpectDemarshalsTo(&kHpiTextBuffer, expected.bytes(), text, kMarshalLittleEndian);

  // As a request value: saHpiResourceTagSet(session 1, resource 2, text).
  const RpcMarshalEntry *entry = FindRpcMarshal(10);
  ASSERT_NE(entry, nullptr);
  const SaHpiSessionIdT session = 1;
  const SaHpiResourceIdT resource = 2;
  const void *const values[] = {&session, &resource, &text};
  uint8_t buffer[273];
  buffer[272] = kSentinel;
  ASSERT_EQ(MarshalRequest(entry, buffer, 272, values), 272);
  EXPECT_EQ(Bytes(buffer, buffer + 8), (Bytes{1, 0, 0, 0, 2, 0, 0, 0}));
  EXPECT_EQ(Bytes(buffer + 8, buffer + 272), expected.bytes());
  EXPECT_EQ(buffer[272], kSentinel);
  EXPECT_LT(MarshalRequest(entry, buffer, 271, values), 0);
}

TEST(HpiWire, EachReadingTypeCarriesOnlyItsOwnValue) {
  auto int64 = Zeroed<SaHpiSensorReadingT>();
  int64.IsSupported = 1;
  int64.Type = SAHPI_SENSOR_READING_TYPE_INT64;
  int64.Value.SensorInt64 = -3;
  auto uint64 = Zeroed<SaHpiSensorReadingT>();
  uint64.IsSupported = 1;
  uint64.Type = SAHPI_SENSOR_READING_TYPE_UINT64;
  uint64.Value.SensorUint64 = 0x8000000000000001u;
  const SaHpiSensorReadingT float64 = FloatReading(-2.25);
  auto buffer = Zeroed<SaHpiSensorReadingT>();
  buffer.IsSupported = 1;
  buffer.Type = SAHPI_SENSOR_READING_TYPE_BUFFER;
  for (int i = 0; i < 32; ++i) buffer.Value.SensorBuffer[i] = static_cast<uint8_t>(i + 1);

  Bytes buffer_wire{1, 3, 0, 0, 0};
  for (int i = 0; i < 32; ++i) buffer_wire.push_back(static_cast<uint8_t>(i + 1));
  const struct {
    const SaHpiSensorReadingT *reading;
    Bytes wire;
  } cases[] = {
      {&int64, {1, 0, 0, 0, 0, 0xFD, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
      {&uint64, {1, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0x80}},
      {&float64, {1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x02, 0xC0}},
      {&buffer, buffer_wire},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(MarshalValue(&kHpiSensorReading, c.reading), c.wire) << c.reading->Type;
    ExpectDemarshalsTo(&kHpiSensorReading, c.wire, *c.reading, kMarshalLittleEndian);
  }
  EXPECT_EQ(cases[2].wire.size(), 13u);
  EXPECT_EQ(cases[3].wire.size(), 37u);
}

TEST(HpiWire, ThresholdsAreEightReadingsInOrder) {
  auto thresholds = Zeroed<SaHpiSensorThresholdsT>();
  thresholds.LowCritical = FloatReading(1.0);
  thresholds.UpCritical = FloatReading(250.0);
  thresholds.PosThdHysteresis = FloatReading(0.5);
  Wire expected;
  PutFloatReading(expected, 1.0);
  PutUnsupportedReading(expected);  // LowMajor
  PutUnsupportedReading(expected);  // LowMinor
  PutFloatReading(expected, 250.0);
  PutUnsupportedReading(expected);  // UpMajor
  PutUnsupportedReading(expected);  // UpMinor
  PutFloatReading(expected, 0.5);
  PutUnsupportedReading(expected);  // NegThdHysteresis
  ASSERT_EQ(expected.size(), 8 * 13u);
  EXPECT_EQ(MarshalValue(&kHpiSensorThresholds, &thresholds), expected.bytes());

  // saHpiSensorThresholdsSet(session, resource, sensor, thresholds).
  const uint32_t session = 4, resource = 5, sensor = 6;
  const void *const values[] = {&session, &resource, &sensor, &thresholds};
  uint8_t buffer[117];
  buffer[116] = kSentinel;
  ASSERT_EQ(MarshalRequest(FindRpcMarshal(38), buffer, 116, values), 116);
  EXPECT_EQ(Bytes(buffer, buffer + 12), (Bytes{4, 0, 0, 0, 5, 0, 0, 0, 6, 0, 0, 0}));
  EXPECT_EQ(Bytes(buffer + 12, buffer + 116), expected.bytes());
  EXPECT_EQ(buffer[116], kSentinel);
}

TEST(HpiWire, ControlStateCarriesTypeThenTheSelectedState) {
  auto digital = Zeroed<SaHpiCtrlStateT>();
  digital.Type = SAHPI_CTRL_TYPE_DIGITAL;
  digital.StateUnion.Digital = SAHPI_CTRL_STATE_ON;
  EXPECT_EQ(MarshalValue(&kHpiCtrlState, &digital), (Bytes{0, 0, 0, 0, 1, 0, 0, 0}));

  auto stream = Zeroed<SaHpiCtrlStateT>();
  stream.Type = SAHPI_CTRL_TYPE_STREAM;
  stream.StateUnion.Stream.Repeat = 1;
  stream.StateUnion.Stream.StreamLength = 2;
  stream.StateUnion.Stream.Stream[0] = 0xA;
  stream.StateUnion.Stream.Stream[1] = 0xB;
  EXPECT_EQ(MarshalValue(&kHpiCtrlState, &stream), (Bytes{3, 0, 0, 0, 1, 2, 0, 0, 0, 0xA, 0xB, 0, 0}));

  auto oem = Zeroed<SaHpiCtrlStateT>();
  oem.Type = SAHPI_CTRL_TYPE_OEM;
  oem.StateUnion.Oem.MId = 0x1234;
  oem.StateUnion.Oem.BodyLength = 1;
  oem.StateUnion.Oem.Body[0] = 0x77;
  const Bytes oem_wire = Wire().U32(0xC0).U32(0x1234).U8(1).U8(0x77).Fill(254).bytes();
  EXPECT_EQ(MarshalValue(&kHpiCtrlState, &oem), oem_wire);
  ExpectDemarshalsTo(&kHpiCtrlState, oem_wire, oem, kMarshalLittleEndian);
}

// ---- RDRs ------------------------------------------------------------------

const Path kOutletPath = {{SAHPI_ENT_POWER_DISTRIBUTION_UNIT, 1}, {SAHPI_ENT_ROOT, 0}};

// Head of every RDR: RecordId, RdrType, Entity, IsFru.
Wire RdrHead(uint32_t record_id, uint32_t rdr_type, bool big_endian = false) {
  Wire w(big_endian);
  w.U32(record_id).U32(rdr_type);
  PutPath(w, kOutletPath);
  w.U8(0);
  return w;
}

SaHpiRdrT MakeRdr(uint32_t record_id, uint32_t rdr_type, const std::string &id) {
  auto rdr = Zeroed<SaHpiRdrT>();
  rdr.RecordId = record_id;
  rdr.RdrType = rdr_type;
  SetPath(rdr.Entity, kOutletPath);
  rdr.IdString = MakeText(id);
  return rdr;
}

SaHpiRdrT VoltageSensorRdr() {
  SaHpiRdrT rdr = MakeRdr(7, SAHPI_SENSOR_RDR, "Voltage");
  SaHpiSensorRecT &s = rdr.RdrTypeUnion.SensorRec;
  s.Num = 0x21;
  s.Type = SAHPI_VOLTAGE;
  s.Category = SAHPI_EC_THRESHOLD;
  s.EnableCtrl = 0;
  s.Events = 0x3F;
  s.DataFormat.IsSupported = 1;
  s.DataFormat.ReadingType = SAHPI_SENSOR_READING_TYPE_FLOAT64;
  s.DataFormat.BaseUnits = SAHPI_SU_VOLTS;
  s.DataFormat.Range.Flags = SAHPI_SRF_MIN | SAHPI_SRF_MAX;  // 0x18
  s.DataFormat.Range.Max = FloatReading(250.0);
  s.DataFormat.Range.Min = FloatReading(0.0);
  s.DataFormat.AccuracyFactor = 0.5;
  s.ThresholdDefn = {1, 0x3F, 0x3F, 0};
  s.Oem = 0xDEADBEEF;
  return rdr;
}

Bytes VoltageSensorRdrWire(bool big_endian) {
  Wire w = RdrHead(7, SAHPI_SENSOR_RDR, big_endian);
  w.U32(0x21).U32(SAHPI_VOLTAGE).U8(SAHPI_EC_THRESHOLD).U8(0).U32(0).U16(0x3F);  // sensor record
  w.U8(1).U32(2).U32(SAHPI_SU_VOLTS).U32(0).U32(0).U8(0);                        // data format
  w.U8(0x18);                                                                    // range: Max, Min present
  w.U8(1).U32(2).F64(250.0);                                                     // Max
  w.U8(1).U32(2).F64(0.0);                                                       // Min
  for (int i = 0; i < 3; ++i) w.U8(0).U32(0).I64(0);  // Nominal, NormalMax, NormalMin travel anyway
  w.F64(0.5);                                         // AccuracyFactor
  w.U8(1).U8(0x3F).U8(0x3F).U8(0);                    // threshold definition
  w.U32(0xDEADBEEF);
  PutText(w, "Voltage");
  return w.bytes();
}

TEST(HpiWire, SensorRdrWithRangeFlags0x18) {
  const SaHpiRdrT rdr = VoltageSensorRdr();
  const Bytes wire = VoltageSensorRdrWire(false);
  ASSERT_EQ(wire.size(), 137u + 116u + 264u);
  EXPECT_EQ(MarshalValue(&kHpiRdr, &rdr), wire);
  ExpectDemarshalsTo(&kHpiRdr, wire, rdr, kMarshalLittleEndian);
}

TEST(HpiWire, ControlRdrsCarryTheRecordOfTheirType) {
  SaHpiRdrT digital = MakeRdr(3, SAHPI_CTRL_RDR, "Outlet 1");
  digital.RdrTypeUnion.CtrlRec.Num = 1;
  digital.RdrTypeUnion.CtrlRec.OutputType = 5;
  digital.RdrTypeUnion.CtrlRec.Type = SAHPI_CTRL_TYPE_DIGITAL;
  digital.RdrTypeUnion.CtrlRec.TypeUnion.Digital.Default = SAHPI_CTRL_STATE_ON;
  digital.RdrTypeUnion.CtrlRec.DefaultMode.Mode = SAHPI_CTRL_MODE_MANUAL;
  digital.RdrTypeUnion.CtrlRec.DefaultMode.ReadOnly = 1;
  Wire digital_wire = RdrHead(3, SAHPI_CTRL_RDR);
  digital_wire.U32(1).U32(5).U32(0).U32(1).U32(1).U8(1).U8(0).U32(0);
  PutText(digital_wire, "Outlet 1");

  SaHpiRdrT analog = MakeRdr(4, SAHPI_CTRL_RDR, "Dimmer");
  analog.RdrTypeUnion.CtrlRec.Num = 2;
  analog.RdrTypeUnion.CtrlRec.Type = SAHPI_CTRL_TYPE_ANALOG;
  analog.RdrTypeUnion.CtrlRec.TypeUnion.Analog = {-10, 100, 50};
  analog.RdrTypeUnion.CtrlRec.WriteOnly = 1;
  analog.RdrTypeUnion.CtrlRec.Oem = 9;
  Wire analog_wire = RdrHead(4, SAHPI_CTRL_RDR);
  analog_wire.U32(2).U32(0).U32(2).I32(-10).I32(100).I32(50).U32(0).U8(0).U8(1).U32(9);
  PutText(analog_wire, "Dimmer");

  SaHpiRdrT text = MakeRdr(5, SAHPI_CTRL_RDR, "Display");
  SaHpiCtrlRecT &t = text.RdrTypeUnion.CtrlRec;
  t.Num = 3;
  t.Type = SAHPI_CTRL_TYPE_TEXT;
  t.TypeUnion.Text.MaxChars = 16;
  t.TypeUnion.Text.MaxLines = 2;
  t.TypeUnion.Text.Language = SAHPI_LANG_ENGLISH;
  t.TypeUnion.Text.DataType = SAHPI_TL_TYPE_TEXT;
  t.TypeUnion.Text.Default.Line = 1;
  t.TypeUnion.Text.Default.Text = MakeText("hi");
  Wire text_wire = RdrHead(5, SAHPI_CTRL_RDR);
  text_wire.U32(3).U32(0).U32(4).U8(16).U8(2).U32(25).U32(3).U8(1);
  PutText(text_wire, "hi");
  text_wire.U32(0).U8(0).U8(0).U32(0);
  PutText(text_wire, "Display");

  const struct {
    const char *what;
    const SaHpiRdrT *rdr;
    Bytes wire;
    size_t size;
  } cases[] = {
      {"digital", &digital, digital_wire.bytes(), 137 + 26 + 264},
      {"analog", &analog, analog_wire.bytes(), 137 + 34 + 264},
      {"text", &text, text_wire.bytes(), 137 + 297 + 264},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.wire.size(), c.size);
    EXPECT_EQ(MarshalValue(&kHpiRdr, c.rdr), c.wire);
    ExpectDemarshalsTo(&kHpiRdr, c.wire, *c.rdr, kMarshalLittleEndian);
  }
}

// ---- RPT entries, events, alarms ---------------------------------------------

SaHpiRptEntryT PduRptEntry() {
  auto rpt = Zeroed<SaHpiRptEntryT>();
  rpt.EntryId = 1;
  rpt.ResourceId = 2;
  SaHpiResourceInfoT &info = rpt.ResourceInfo;
  info.ResourceRev = 2;
  info.SpecificVer = 3;
  info.DeviceSupport = 4;
  info.ManufacturerId = 0x00A0B0C0;
  info.ProductId = 0x1234;
  info.FirmwareMajorRev = 5;
  info.FirmwareMinorRev = 6;
  info.AuxFirmwareRev = 7;
  for (int i = 0; i < 16; ++i) rpt.ResourceInfo.Guid[i] = static_cast<uint8_t>(0xF0 + i);
  SetPath(rpt.ResourceEntity, kOutletPath);
  rpt.ResourceCapabilities = SAHPI_CAPABILITY_RESOURCE | SAHPI_CAPABILITY_RDR | SAHPI_CAPABILITY_SENSOR;
  rpt.ResourceSeverity = SAHPI_MAJOR;
  rpt.ResourceFailed = 1;
  rpt.ResourceTag = MakeText("PDU");
  return rpt;
}

Wire &PutPduRptEntry(Wire &w) {
  w.U32(1).U32(2);
  w.U8(2).U8(3).U8(4).U32(0x00A0B0C0).U16(0x1234).U8(5).U8(6).U8(7);
  for (int i = 0; i < 16; ++i) w.U8(static_cast<uint8_t>(0xF0 + i));
  PutPath(w, kOutletPath);
  w.U32(0x40000003).U32(0).U32(SAHPI_MAJOR).U8(1);
  return PutText(w, "PDU");
}

TEST(HpiWire, RptEntry) {
  const SaHpiRptEntryT rpt = PduRptEntry();
  Wire expected;
  PutPduRptEntry(expected);
  ASSERT_EQ(expected.size(), 441u);
  EXPECT_EQ(MarshalValue(&kHpiRptEntry, &rpt), expected.bytes());
  ExpectDemarshalsTo(&kHpiRptEntry, expected.bytes(), rpt, kMarshalLittleEndian);
}

constexpr SaHpiTimeT kWhen = 1700000000123456789;

SaHpiEventLogEntryT SensorEventEntry() {
  auto entry = Zeroed<SaHpiEventLogEntryT>();
  entry.EntryId = 0x10;
  entry.Timestamp = kWhen;
  entry.Event.Source = 5;
  entry.Event.EventType = SAHPI_ET_SENSOR;
  entry.Event.Timestamp = kWhen - 1;
  entry.Event.Severity = SAHPI_MAJOR;
  SaHpiSensorEventT &s = entry.Event.EventDataUnion.SensorEvent;
  s.SensorNum = 0x21;
  s.SensorType = SAHPI_TEMPERATURE;
  s.EventCategory = SAHPI_EC_THRESHOLD;
  s.Assertion = 1;
  s.EventState = SAHPI_ES_UPPER_MAJOR;
  s.OptionalDataPresent = SAHPI_SOD_TRIGGER_READING | SAHPI_SOD_TRIGGER_THRESHOLD;
  s.TriggerReading = FloatReading(41.5);
  s.TriggerThreshold = FloatReading(40.0);
  s.PreviousState = 0x08;
  s.CurrentState = 0x18;
  s.SensorSpecific = 0x01020304;
  return entry;
}

SaHpiEventLogEntryT UserEventEntry() {
  auto entry = Zeroed<SaHpiEventLogEntryT>();
  entry.EntryId = 0x11;
  entry.Timestamp = 5;
  entry.Event.Source = SAHPI_UNSPECIFIED_RESOURCE_ID;
  entry.Event.EventType = SAHPI_ET_USER;
  entry.Event.Timestamp = 5;
  entry.Event.Severity = SAHPI_INFORMATIONAL;
  entry.Event.EventDataUnion.UserEvent.UserEventData = MakeText("login admin");
  return entry;
}

Wire &PutUserEventEntry(Wire &w) {
  w.U32(0x11).I64(5).U32(0xFFFFFFFF).U32(SAHPI_ET_USER).I64(5).U32(SAHPI_INFORMATIONAL);
  return PutText(w, "login admin");
}

TEST(HpiWire, EventLogEntriesCarryTheEventOfTheirType) {
  const SaHpiEventLogEntryT sensor = SensorEventEntry();
  Wire sensor_wire;
  sensor_wire.U32(0x10).I64(kWhen).U32(5).U32(SAHPI_ET_SENSOR).I64(kWhen - 1).U32(SAHPI_MAJOR);
  sensor_wire.U32(0x21).U32(SAHPI_TEMPERATURE).U8(1).U8(1).U16(0x10).U8(0x03);
  PutFloatReading(sensor_wire, 41.5);
  PutFloatReading(sensor_wire, 40.0);
  sensor_wire.U16(0x08).U16(0x18).U32(0).U32(0x01020304);
  EXPECT_EQ(sensor_wire.size(), 12u + 20u + 51u);
  EXPECT_EQ(MarshalValue(&kHpiEventLogEntry, &sensor), sensor_wire.bytes());
  ExpectDemarshalsTo(&kHpiEventLogEntry, sensor_wire.bytes(), sensor, kMarshalLittleEndian);

  const SaHpiEventLogEntryT user = UserEventEntry();
  Wire user_wire;
  PutUserEventEntry(user_wire);
  EXPECT_EQ(user_wire.size(), 12u + 20u + 264u);
  EXPECT_EQ(MarshalValue(&kHpiEventLogEntry, &user), user_wire.bytes());
  ExpectDemarshalsTo(&kHpiEventLogEntry, user_wire.bytes(), user, kMarshalLittleEndian);
}

TEST(HpiWire, Alarm) {
  auto alarm = Zeroed<SaHpiAlarmT>();
  alarm.AlarmId = 9;
  alarm.Timestamp = SAHPI_TIME_UNSPECIFIED;
  alarm.Severity = SAHPI_CRITICAL;
  alarm.Acknowledged = 1;
  alarm.AlarmCond.Type = SAHPI_STATUS_COND_TYPE_SENSOR;
  SetPath(alarm.AlarmCond.Entity, kOutletPath);
  alarm.AlarmCond.ResourceId = 2;
  alarm.AlarmCond.SensorNum = 0x21;
  alarm.AlarmCond.EventState = SAHPI_ES_UPPER_CRIT;
  alarm.AlarmCond.Name.Length = 3;
  memcpy(alarm.AlarmCond.Name.Value, "abc", 3);
  alarm.AlarmCond.Mid = 0x5A5A;
  alarm.AlarmCond.Data = MakeText("x");

  Wire expected;
  expected.U32(9).U64(0x8000000000000000u).U32(0).U8(1);
  expected.U32(0);
  PutPath(expected, kOutletPath);
  expected.U32(0).U32(2).U32(0x21).U16(0x20);
  expected.U16(3).U8('a').U8('b').U8('c').Fill(253);  // name: length, then all 256 bytes
  expected.U32(0x5A5A);
  PutText(expected, "x");
  ASSERT_EQ(expected.size(), 689u);
  EXPECT_EQ(MarshalValue(&kHpiAlarm, &alarm), expected.bytes());
  ExpectDemarshalsTo(&kHpiAlarm, expected.bytes(), alarm, kMarshalLittleEndian);
}

// ---- vendor records --------------------------------------------------------

TEST(VendorWire, SeverityListIsACountThenThatManySeverities) {
  SaHpiSeverityT severities[] = {SAHPI_CRITICAL, SAHPI_MINOR, SAHPI_OK};
  KvnSeverityListT none{0, nullptr};
  KvnSeverityListT three{3, severities};
  EXPECT_EQ(MarshalValue(&kKvnSeverityList, &none), Bytes{0});
  EXPECT_EQ(MarshalValue(&kKvnSeverityList, &three), (Bytes{3, 0, 0, 0, 0, 2, 0, 0, 0, 4, 0, 0, 0}));

  // kvnHpiSensorStateSeveritySet(session, resource, sensor, states, list).
  const uint32_t session = 1, resource = 2, sensor = 3;
  const uint16_t states = 0x0007;
  const void *const values[] = {&session, &resource, &sensor, &states, &none};
  uint8_t buffer[16];
  buffer[15] = kSentinel;
  ASSERT_EQ(MarshalRequest(FindRpcMarshal(139), buffer, 15, values), 15);
  EXPECT_EQ(Bytes(buffer, buffer + 15), (Bytes{1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 7, 0, 0}));
  EXPECT_EQ(buffer[15], kSentinel);

  // kvnHpiSensorStateSeverityGet's reply: storage allocated for the caller.
  int32_t error = -1;
  KvnSeverityListT list{};
  void *const outputs[] = {&error, &list};
  const Bytes reply{0, 0, 0, 0, 2, 1, 0, 0, 0, 3, 0, 0, 0};
  ASSERT_EQ(DemarshalReply(kMarshalLittleEndian, FindRpcMarshal(138), reply.data(), reply.size(), outputs), 13);
  EXPECT_EQ(error, 0);
  ASSERT_EQ(list.Count, 2);
  EXPECT_EQ(list.Severities[0], SAHPI_MAJOR);
  EXPECT_EQ(list.Severities[1], SAHPI_INFORMATIONAL);
  free(list.Severities);
}

TEST(VendorWire, FixedRecordsFieldByField) {
  KvnMeasurementUnitsT units{1, 2, 3};
  KvnWebParametersT web = Zeroed<KvnWebParametersT>();
  web = {1, 900, 30, 0x01020304};
  // Member by member: the demarshalled copies are compared with padding.
  auto login = Zeroed<KvnLoginRestrictionsT>();
  login.MultipleLogons = 1;
  login.AgingInterval = 90;
  login.IdleTimeout = 15;
  login.FailedAttempts = 3;
  login.LockoutTime = 300;
  login.StrongPasswords = 1;
  login.MinimumLength = 8;
  login.Unnamed32a = 0xAABBCCDD;
  login.LowerCaseChars = 1;
  login.UpperCaseChars = 1;
  login.SpecialChars = 1;
  login.HistoryDepth = 5;
  auto log = Zeroed<KvnSensorLogEntryT>();
  log.Timestamp = -2;
  log.ReadingCount = 60;
  log.EventStateCount = 1;
  log.Average = 20.5;
  log.Minimum = 19.0;
  log.Maximum = 22.0;
  log.Deviation = 0.25;
  log.AssertedEventStates = 0x0010;
  auto info = Zeroed<KvnSensorInfoT>();
  info.Unnamed32a = 1;
  info.Unnamed32b = 2;
  info.Unnamed64 = 0x0102030405060708u;
  info.BaseUnitModifier = -3;
  info.ModifierUnitModifier = 2;
  info.Resolution = 0.125;
  info.Tolerance = 1.0;
  info.UnnamedTextB = MakeText("B");
  KvnOutletInstrumentsT outlet{3, 10, 11, 20, 24};
  auto sequence = Zeroed<KvnStartupSequenceT>();
  sequence.Step[0] = {1, 0};
  sequence.Step[63] = {64, 0x100};
  auto delays = Zeroed<KvnAssertionDelaysT>();
  delays.Delay[0] = 5;
  delays.Delay[15] = 0xFFFFFFFF;

  Wire info_wire;
  info_wire.U32(1).U32(2).U64(0x0102030405060708u).U8(0xFD).U8(2).F64(0.125).F64(1.0).F64(0).F64(0).F64(0);
  info_wire.Fill(264);  // an all-zero text buffer
  PutText(info_wire, "B");

  const struct {
    const char *what;
    const MarshalType *type;
    const void *value;
    Bytes wire;
    size_t size;
  } cases[] = {
      {"units", &kKvnMeasurementUnits, &units, {1, 2, 3}, 3},
      {"web parameters", &kKvnWebParameters, &web, Wire().U8(1).U32(900).U32(30).U32(0x01020304).bytes(), 13},
      {"login restrictions", &kKvnLoginRestrictions, &login,
       Wire()
           .U8(1)
           .U8(0)
           .U32(90)
           .U32(15)
           .U32(3)
           .U32(300)
           .U8(1)
           .U32(8)
           .U32(0xAABBCCDD)
           .U8(1)
           .U8(1)
           .U8(0)
           .U8(1)
           .U32(5)
           .bytes(),
       35},
      {"sensor log entry", &kKvnSensorLogEntry, &log,
       Wire().I64(-2).U32(60).U32(1).F64(20.5).F64(19.0).F64(22.0).F64(0.25).U16(0x10).bytes(), 50},
      {"sensor info", &kKvnSensorInfo, &info, info_wire.bytes(), 586},
      {"outlet instruments", &kKvnOutletInstruments, &outlet, Wire().U32(3).U32(10).U32(11).U32(20).U32(24).bytes(),
       20},
      {"startup sequence", &kKvnStartupSequence, &sequence,
       Wire().U32(1).U32(0).Fill(62 * 8).U32(64).U32(0x100).bytes(), 512},
      {"assertion delays", &kKvnAssertionDelays, &delays, Wire().U32(5).Fill(14 * 4).U32(0xFFFFFFFF).bytes(), 64},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.wire.size(), c.size);
    EXPECT_EQ(MarshalValue(c.type, c.value), c.wire);
  }
  ExpectDemarshalsTo(&kKvnLoginRestrictions, cases[2].wire, login, kMarshalLittleEndian);
  ExpectDemarshalsTo(&kKvnSensorLogEntry, cases[3].wire, log, kMarshalLittleEndian);
  ExpectDemarshalsTo(&kKvnSensorInfo, cases[4].wire, info, kMarshalLittleEndian);
}

// ---- whole replies -----------------------------------------------------------

TEST(HpiReply, BigEndianReplyIsReadInItsOwnOrder) {
  // saHpiSensorReadingGet: SaErrorT, reading (UINT64), event state.
  const Bytes wire = Wire(true).I32(0).U8(1).U32(1).U64(0x0102030405060708u).U16(0x0102).bytes();
  int32_t error = -1;
  auto reading = Zeroed<SaHpiSensorReadingT>();
  SaHpiEventStateT state = 0;
  void *const outputs[] = {&error, &reading, &state};
  ASSERT_EQ(DemarshalReply(kMarshalBigEndian, FindRpcMarshal(36), wire.data(), wire.size(), outputs), 19);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(reading.IsSupported, 1);
  EXPECT_EQ(reading.Type, SAHPI_SENSOR_READING_TYPE_UINT64);
  EXPECT_EQ(reading.Value.SensorUint64, 0x0102030405060708u);
  EXPECT_EQ(state, 0x0102);

  // saHpiRdrGet: SaErrorT, next entry id, the sensor RDR.
  Wire rdr_reply(true);
  rdr_reply.I32(0).U32(0xFFFFFFFF).Raw(VoltageSensorRdrWire(true));
  uint32_t next = 0;
  auto rdr = Zeroed<SaHpiRdrT>();
  void *const rdr_outputs[] = {&error, &next, &rdr};
  ASSERT_EQ(
      DemarshalReply(kMarshalBigEndian, FindRpcMarshal(34), rdr_reply.bytes().data(), rdr_reply.size(), rdr_outputs),
      static_cast<int>(rdr_reply.size()));
  EXPECT_EQ(next, 0xFFFFFFFFu);
  const SaHpiRdrT expected = VoltageSensorRdr();
  EXPECT_EQ(memcmp(&rdr, &expected, sizeof rdr), 0);
}

// saHpiEventLogEntryGet's outputs, each followed by a guard.
struct EventLogEntryOutputs {
  int32_t error;
  uint32_t previous, next;
  SaHpiEventLogEntryT entry;
  SaHpiRdrT rdr;
  SaHpiRptEntryT rpt;
  uint8_t guard[16];
};

TEST(HpiReply, EventLogEntryWithoutRdrOrFailedCall) {
  Wire wire;
  wire.I32(0).U32(0x10).U32(0x12);
  PutUserEventEntry(wire);
  wire.U32(0).U32(SAHPI_NO_RECORD).Fill(128).U8(0).Fill(264);  // an RDR with no record: nothing for the union
  PutPduRptEntry(wire);
  ASSERT_EQ(wire.size(), 12u + 296u + 401u + 441u);

  EventLogEntryOutputs out;
  memset(&out, 0xCC, sizeof out);
  out.rdr = Zeroed<SaHpiRdrT>();
  out.entry = Zeroed<SaHpiEventLogEntryT>();
  out.rpt = Zeroed<SaHpiRptEntryT>();
  void *const outputs[] = {&out.error, &out.previous, &out.next, &out.entry, &out.rdr, &out.rpt};
  const RpcMarshalEntry *entry = FindRpcMarshal(17);
  ASSERT_EQ(DemarshalReply(kMarshalLittleEndian, entry, wire.bytes().data(), wire.size(), outputs),
            static_cast<int>(wire.size()));
  EXPECT_EQ(out.error, 0);
  EXPECT_EQ(out.next, 0x12u);
  const SaHpiEventLogEntryT user = UserEventEntry();
  const SaHpiRptEntryT rpt = PduRptEntry();
  EXPECT_EQ(memcmp(&out.entry, &user, sizeof user), 0);
  EXPECT_EQ(memcmp(&out.rpt, &rpt, sizeof rpt), 0);
  EXPECT_EQ(out.rdr.RdrType, SAHPI_NO_RECORD);
  for (uint8_t g : out.guard) EXPECT_EQ(g, 0xCC);

  // SA_ERR_HPI_NOT_PRESENT: 4 bytes consumed, every output as it was.
  EventLogEntryOutputs before;
  memset(&before, 0x5A, sizeof before);
  EventLogEntryOutputs after;
  memcpy(&after, &before, sizeof after);
  void *const failed_outputs[] = {&after.error, &after.previous, &after.next, &after.entry, &after.rdr, &after.rpt};
  const Bytes not_present{0x0D, 0xFC, 0xFF, 0xFF};
  EXPECT_EQ(DemarshalReply(kMarshalLittleEndian, entry, not_present.data(), not_present.size(), failed_outputs), 4);
  EXPECT_EQ(after.error, SA_ERR_HPI_NOT_PRESENT);
  EXPECT_EQ(memcmp(reinterpret_cast<uint8_t *>(&after) + sizeof(int32_t),
                   reinterpret_cast<uint8_t *>(&before) + sizeof(int32_t), sizeof after - sizeof(int32_t)),
            0);
}

// ---- bad bytes from the daemon -----------------------------------------------

TEST(HpiReply, BadBytesFailWithoutTouchingTheOutputs) {
  struct Outputs {
    int32_t error;
    uint32_t next;
    SaHpiRdrT rdr;
    uint8_t guard[16];
  };
  Outputs before;
  memset(&before, 0x5A, sizeof before);

  Wire unknown_rdr_type;
  unknown_rdr_type.I32(0).U32(1).U32(7).U32(9 /* no such RDR type */).Fill(128).U8(0).Fill(600);
  Wire unknown_ctrl_type;
  unknown_ctrl_type.I32(0).U32(1).U32(7).U32(SAHPI_CTRL_RDR).Fill(128).U8(0).U32(1).U32(0).U32(0x55).Fill(600);
  Bytes truncated = VoltageSensorRdrWire(false);
  truncated.insert(truncated.begin(), 8, 0);
  truncated.pop_back();

  const struct {
    const char *what;
    Bytes wire;
  } cases[] = {
      {"unknown RDR type", unknown_rdr_type.bytes()},
      {"unknown control type", unknown_ctrl_type.bytes()},
      {"last byte missing", truncated},
      {"only the SaErrorT", {0, 0, 0, 0}},
      {"less than an SaErrorT", {0, 0}},
      {"empty", {}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    Outputs out;
    memcpy(&out, &before, sizeof out);
    void *const outputs[] = {&out.error, &out.next, &out.rdr};
    EXPECT_LT(DemarshalReply(kMarshalLittleEndian, FindRpcMarshal(34), c.wire.data(), c.wire.size(), outputs), 0);
    // The SaErrorT may have been read; nothing after it is written.
    EXPECT_EQ(memcmp(reinterpret_cast<uint8_t *>(&out) + 4, reinterpret_cast<uint8_t *>(&before) + 4, sizeof out - 4),
              0);
  }
}

TEST(HpiReply, CountsBeyondThePayloadAreRefused) {
  // kvnHpiSensorStatusGet: reading, state, thresholds, then a severity list
  // announcing 200 severities of which two arrived.
  Wire wire;
  wire.I32(0);
  PutUnsupportedReading(wire);
  wire.U16(0);
  for (int i = 0; i < 8; ++i) PutUnsupportedReading(wire);
  wire.U8(200).U32(1).U32(2);

  int32_t error;
  auto reading = Zeroed<SaHpiSensorReadingT>();
  uint16_t state = 0x7777;
  auto thresholds = Zeroed<SaHpiSensorThresholdsT>();
  KvnSeverityListT list{9, nullptr};
  void *const outputs[] = {&error, &reading, &state, &thresholds, &list};
  const RpcMarshalEntry *entry = FindRpcMarshal(427);
  EXPECT_LT(DemarshalReply(kMarshalLittleEndian, entry, wire.bytes().data(), wire.size(), outputs), 0);
  EXPECT_EQ(state, 0x7777);
  EXPECT_EQ(list.Count, 9);
  EXPECT_EQ(list.Severities, nullptr);

  // Every shorter cut of a good reply fails too, and frees what it took.
  Bytes good = wire.bytes();
  good[good.size() - 9] = 2;
  ASSERT_EQ(DemarshalReply(kMarshalLittleEndian, entry, good.data(), good.size(), outputs),
            static_cast<int>(good.size()));
  EXPECT_EQ(list.Count, 2);
  EXPECT_EQ(list.Severities[1], 2u);
  free(list.Severities);
  for (size_t cut = 4; cut < good.size(); ++cut) {
    list = {9, nullptr};
    EXPECT_LT(DemarshalReply(kMarshalLittleEndian, entry, good.data(), cut, outputs), 0) << cut;
    EXPECT_EQ(list.Severities, nullptr) << cut;
  }
}

// ---- the RPC table -----------------------------------------------------------

TEST(RpcTable, EveryEntryCarriesZeroValuesBothWays) {
  // Zero values are valid for every type (all discriminators have a 0
  // alternative): each reply list must marshal and come back the same length.
  static uint64_t zeros[16][1024 / 8];
  static_assert(sizeof(SaHpiRdrT) <= sizeof zeros[0] && sizeof(SaHpiAlarmT) <= sizeof zeros[0] &&
                sizeof(KvnSensorInfoT) <= sizeof zeros[0] && sizeof(SaHpiRptEntryT) <= sizeof zeros[0]);
  memset(zeros, 0, sizeof zeros);
  const void *sources[16];
  void *destinations[16];
  for (int i = 0; i < 16; ++i) sources[i] = destinations[i] = zeros[i];
  static uint8_t buffer[16384];
  for (uint32_t number = 1; number <= 495; ++number) {
    const RpcMarshalEntry *entry = FindRpcMarshal(number);
    if (entry == nullptr) continue;
    SCOPED_TRACE(number);
    EXPECT_GE(MarshalRequest(entry, buffer, sizeof buffer, sources), 0);
    const int length = MarshalArray(entry->reply, sources, buffer, sizeof buffer);
    ASSERT_GE(length, 4);
    EXPECT_EQ(DemarshalReply(kMarshalLittleEndian, entry, buffer, static_cast<size_t>(length), destinations), length);
    FreeReply(entry, destinations);
  }
}

}  // namespace
