// The JSON forms of HPI values and the reading parser.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "api/monitor/hpi_json.h"
#include "client/text_buffer.h"

namespace kvnc {
namespace {

SaHpiSensorReadingT Reading(SaHpiSensorReadingTypeT type, double value, SaHpiBoolT supported = SAHPI_TRUE) {
  SaHpiSensorReadingT r{};
  r.IsSupported = supported;
  r.Type = type;
  if (type == SAHPI_SENSOR_READING_TYPE_INT64) r.Value.SensorInt64 = static_cast<int64_t>(value);
  if (type == SAHPI_SENSOR_READING_TYPE_FLOAT64) r.Value.SensorFloat64 = value;
  return r;
}

TEST(SensorReadingJson, ValuesByTypeNonFiniteAsNullAndBuffersNeverSent) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const struct {
    SaHpiSensorReadingT reading;
    const char *json;
  } cases[] = {
      {Reading(SAHPI_SENSOR_READING_TYPE_INT64, -5), R"({"sup":1,"type":0,"value":-5})"},
      {Reading(SAHPI_SENSOR_READING_TYPE_FLOAT64, 21.5), R"({"sup":1,"type":2,"value":21.5})"},
      {Reading(SAHPI_SENSOR_READING_TYPE_FLOAT64, std::nan("")), R"({"sup":1,"type":2,"value":null})"},
      {Reading(SAHPI_SENSOR_READING_TYPE_FLOAT64, -kInf), R"({"sup":1,"type":2,"value":null})"},
      {Reading(SAHPI_SENSOR_READING_TYPE_FLOAT64, 99, SAHPI_FALSE), R"({"sup":0,"type":2,"value":0})"},
      {Reading(SAHPI_SENSOR_READING_TYPE_BUFFER, 0), R"({"sup":false,"type":3,"value":0})"},
      {Reading(7, 0), R"({"sup":false,"type":7,"value":0})"},
  };
  for (const auto &c : cases) EXPECT_EQ(SensorReadingJson(c.reading).dump(), c.json);
  SaHpiSensorReadingT u = Reading(SAHPI_SENSOR_READING_TYPE_UINT64, 0);
  u.Value.SensorUint64 = std::numeric_limits<uint64_t>::max();
  EXPECT_EQ(SensorReadingJson(u).dump(), R"({"sup":1,"type":1,"value":18446744073709551615})");
}

TEST(ParseSensorReadingJson, ResultsAndTypeErrors) {
  const struct {
    const char *json;
    unsigned result;
  } cases[] = {
      {R"({"sup":1,"type":0,"value":-7})", 0},
      {R"({"sup":1,"type":2,"value":3})", 0},
      {R"({"sup":0,"type":2,"value":"not read"})", 0},
      {R"({"sup":1,"type":3,"value":0})", 6},
      {R"({"sup":1,"type":-1,"value":0})", 6},
      {R"({"type":9})", 5},
      {R"({"sup":0,"type":0})", 5},
      {"[1,2,3]", 5},
  };
  for (const auto &c : cases) {
    SaHpiSensorReadingT r{};
    EXPECT_EQ(ParseSensorReadingJson(json::parse(c.json), &r), c.result) << c.json;
  }
  // What the encoder writes comes back unchanged.
  SaHpiSensorReadingT back{};
  ASSERT_EQ(ParseSensorReadingJson(SensorReadingJson(Reading(SAHPI_SENSOR_READING_TYPE_FLOAT64, -0.25)), &back), 0u);
  EXPECT_EQ(back.Value.SensorFloat64, -0.25);

  for (const char *text : {R"({"sup":false,"type":3,"value":0})", R"({"sup":1,"type":2,"value":true})",
                           R"({"sup":1,"type":0,"value":null})"}) {
    SaHpiSensorReadingT r{};
    EXPECT_THROW(ParseSensorReadingJson(json::parse(text), &r), json::type_error) << text;
  }
}

TEST(StateSeverityJson, OneEntryPerSetBitNeverPastTheControllersList) {
  SaHpiSeverityT values[16] = {2, 3, 0, 4};
  EXPECT_EQ(StateSeverityJson(0, {0, nullptr}).dump(), R"({"set":[],"sup":false})");
  EXPECT_EQ(StateSeverityJson(0x0005, {2, values}).dump(), R"({"set":[2,3],"sup":true})");
  EXPECT_EQ(StateSeverityJson(0x8301, {3, values}).dump(), R"({"set":[2,3,0],"sup":true})");
  EXPECT_EQ(StateSeverityJson(0x0003, {5, nullptr}).dump(), R"({"set":[],"sup":true})");
}

TEST(EntityPathJson, OutermostFirstEndingAtTheRoot) {
  SaHpiEntityPathT path{};
  path.Entry[0] = {SAHPI_ENT_SYSTEM_CHASSIS, 1};
  path.Entry[1] = {SAHPI_ENT_RACK, 2};
  path.Entry[2] = {SAHPI_ENT_ROOT, 0};
  path.Entry[3] = {SAHPI_ENT_POWER_SUPPLY, 9};  // past the root
  EXPECT_EQ(EntityPathJson(path).dump(), R"([{"l":2,"t":65536},{"l":1,"t":23}])");
  path.Entry[0] = {SAHPI_ENT_ROOT, 0};
  EXPECT_EQ(EntityPathJson(path).dump(), "[]");
  for (unsigned i = 0; i < SAHPI_MAX_ENTITY_PATH; ++i) path.Entry[i] = {SAHPI_ENT_SYSTEM_BOARD, i};
  EXPECT_EQ(EntityPathJson(path).size(), 16u);  // no root at all
}

TEST(RdrJson, SensorDataFormatRangeAndControlDefaults) {
  SaHpiRdrT rdr{};
  rdr.RdrType = SAHPI_SENSOR_RDR;
  rdr.Entity.Entry[0] = {SAHPI_ENT_ROOT, 0};
  rdr.IdString = TextBufferFromString("Temp and more");
  rdr.IdString.DataLength = 4;
  SaHpiSensorDataFormatT &df = rdr.RdrTypeUnion.SensorRec.DataFormat;
  df.Range.Flags = 0x1F;  // not shown while the format is unsupported
  EXPECT_EQ(RdrJson(rdr)["s"]["df"].dump(), R"({"sup":0})");
  EXPECT_EQ(RdrJson(rdr)["id"], "Temp");

  df.IsSupported = SAHPI_TRUE;
  df.ReadingType = SAHPI_SENSOR_READING_TYPE_FLOAT64;
  df.AccuracyFactor = std::nan("");
  df.Range.Flags = SAHPI_SRF_MAX | SAHPI_SRF_MIN;
  df.Range.Max = Reading(SAHPI_SENSOR_READING_TYPE_FLOAT64, 80);
  df.Range.Nominal = Reading(SAHPI_SENSOR_READING_TYPE_FLOAT64, 25);
  EXPECT_EQ(RdrJson(rdr)["s"]["df"].dump(),
            R"({"accf":null,"perc":0,"rng":{"flags":24,"max":{"sup":1,"type":2,"value":80.0},)"
            R"("min":{"sup":0,"type":0,"value":0}},"sup":1,"type":2,"unit":{"base":0,"mod":0,"smod":0}})");

  rdr.RdrType = SAHPI_CTRL_RDR;
  rdr.RdrTypeUnion.CtrlRec = SaHpiCtrlRecT{};
  SaHpiCtrlRecT &c = rdr.RdrTypeUnion.CtrlRec;
  c.Type = SAHPI_CTRL_TYPE_ANALOG;
  c.TypeUnion.Analog = {-10, 10, -3};
  EXPECT_EQ(RdrJson(rdr)["c"].dump(),
            R"({"defm":{"mode":0,"ro":0},"num":0,"out":0,"stat":{"def":-3,"max":10,"min":-10},"type":2,"wo":0})");
  c.Type = SAHPI_CTRL_TYPE_TEXT;
  EXPECT_FALSE(RdrJson(rdr)["c"].contains("stat"));
}

}  // namespace
}  // namespace kvnc
