#include "api/monitor/hpi_json.h"

#include <cmath>
#include <string>

#include "client/text_buffer.h"
#include "front/api_error.h"

namespace kvnc {
namespace {

struct ThresholdKey {
  const char *key;
  SaHpiSensorReadingT SaHpiSensorThresholdsT::*field;
};
constexpr ThresholdKey kThresholdKeys[] = {
    {"LCr", &SaHpiSensorThresholdsT::LowCritical},      {"LMj", &SaHpiSensorThresholdsT::LowMajor},
    {"LMn", &SaHpiSensorThresholdsT::LowMinor},         {"UCr", &SaHpiSensorThresholdsT::UpCritical},
    {"UMj", &SaHpiSensorThresholdsT::UpMajor},          {"UMn", &SaHpiSensorThresholdsT::UpMinor},
    {"PHs", &SaHpiSensorThresholdsT::PosThdHysteresis}, {"NHs", &SaHpiSensorThresholdsT::NegThdHysteresis},
};

struct RangeKey {
  const char *key;
  SaHpiSensorRangeFlagsT flag;
  SaHpiSensorReadingT SaHpiSensorRangeT::*field;
};
constexpr RangeKey kRangeKeys[] = {
    {"max", SAHPI_SRF_MAX, &SaHpiSensorRangeT::Max},
    {"min", SAHPI_SRF_MIN, &SaHpiSensorRangeT::Min},
    {"nom", SAHPI_SRF_NOMINAL, &SaHpiSensorRangeT::Nominal},
    {"nmax", SAHPI_SRF_NORMAL_MAX, &SaHpiSensorRangeT::NormalMax},
    {"nmin", SAHPI_SRF_NORMAL_MIN, &SaHpiSensorRangeT::NormalMin},
};

// Enumerations and 32-bit fields that the UI reads as signed numbers.
json Signed(uint32_t value) { return static_cast<int32_t>(value); }

json DataFormatJson(const SaHpiSensorDataFormatT &format) {
  json df = {{"sup", format.IsSupported}};
  if (format.IsSupported == 0) return df;
  json range = {{"flags", format.Range.Flags}};
  for (const RangeKey &r : kRangeKeys) {
    if ((format.Range.Flags & r.flag) != 0) range[r.key] = SensorReadingJson(format.Range.*r.field);
  }
  df["type"] = Signed(format.ReadingType);
  df["accf"] = FloatJson(format.AccuracyFactor);
  df["unit"] = {
      {"base", Signed(format.BaseUnits)}, {"mod", Signed(format.ModifierUnits)}, {"smod", Signed(format.ModifierUse)}};
  df["perc"] = format.Percentage;
  df["rng"] = std::move(range);
  return df;
}

json SensorRecordJson(const SaHpiSensorRecT &s) {
  const SaHpiSensorThdDefnT &thd = s.ThresholdDefn;
  return {{"num", s.Num},
          {"type", Signed(s.Type)},
          {"cat", s.Category},
          {"ctrlen", s.EnableCtrl},
          {"evctrl", Signed(s.EventCtrl)},
          {"evsup", s.Events},
          {"thres", {{"sup", thd.IsAccessible}, {"rd", thd.ReadThold}, {"wr", thd.WriteThold}, {"nl", thd.Nonlinear}}},
          {"df", DataFormatJson(s.DataFormat)}};
}

json ControlRecordJson(const SaHpiCtrlRecT &c) {
  json record = {{"num", c.Num},
                 {"type", Signed(c.Type)},
                 {"out", Signed(c.OutputType)},
                 {"defm", {{"mode", Signed(c.DefaultMode.Mode)}, {"ro", c.DefaultMode.ReadOnly}}},
                 {"wo", c.WriteOnly}};
  switch (c.Type) {
    case SAHPI_CTRL_TYPE_DIGITAL:
      record["stat"] = Signed(c.TypeUnion.Digital.Default);
      break;
    case SAHPI_CTRL_TYPE_DISCRETE:
      record["stat"] = c.TypeUnion.Discrete.Default;
      break;
    case SAHPI_CTRL_TYPE_ANALOG: {
      const SaHpiCtrlRecAnalogT &a = c.TypeUnion.Analog;
      record["stat"] = {{"min", a.Min}, {"max", a.Max}, {"def", a.Default}};
      break;
    }
    default:  // stream, text and OEM controls have no single default value
      break;
  }
  return record;
}

}  // namespace

json FloatJson(double value) { return std::isfinite(value) ? json(value) : json(nullptr); }

double GetFloat(const json &value) {
  if (!value.is_number()) {
    throw json::type_error::create(302, std::string("type must be number, but is ") + value.type_name(), &value);
  }
  return value.get<double>();
}

json SensorReadingJson(const SaHpiSensorReadingT &reading) {
  json r = {{"sup", reading.IsSupported}, {"type", Signed(reading.Type)}, {"value", 0}};
  if (reading.IsSupported == 0) return r;
  switch (reading.Type) {
    case SAHPI_SENSOR_READING_TYPE_INT64:
      r["value"] = reading.Value.SensorInt64;
      break;
    case SAHPI_SENSOR_READING_TYPE_UINT64:
      r["value"] = reading.Value.SensorUint64;
      break;
    case SAHPI_SENSOR_READING_TYPE_FLOAT64:
      r["value"] = FloatJson(reading.Value.SensorFloat64);
      break;
    default:  // buffer readings (and unknown types) are never sent
      r["sup"] = false;
      break;
  }
  return r;
}

unsigned ParseSensorReadingJson(const json &value, SaHpiSensorReadingT *reading) {
  const json *sup = OptionalKey(value, "sup");
  if (sup == nullptr) return kRcMissingParam;
  reading->IsSupported = GetNumber<SaHpiBoolT>(*sup);
  const json *type = OptionalKey(value, "type");
  if (type == nullptr) return kRcMissingParam;
  reading->Type = GetNumber<SaHpiSensorReadingTypeT>(*type);
  const json *number = OptionalKey(value, "value");
  if (number == nullptr) return kRcMissingParam;
  if (reading->IsSupported == 0) return kRcOk;
  switch (reading->Type) {
    case SAHPI_SENSOR_READING_TYPE_UINT64:
      reading->Value.SensorUint64 = GetNumber<uint64_t>(*number);
      return kRcOk;
    case SAHPI_SENSOR_READING_TYPE_INT64:
      reading->Value.SensorInt64 = GetNumber<int64_t>(*number);
      return kRcOk;
    case SAHPI_SENSOR_READING_TYPE_FLOAT64:
      reading->Value.SensorFloat64 = GetFloat(*number);
      return kRcOk;
    default:
      return kRcBadValue;
  }
}

json SensorThresholdsJson(const SaHpiSensorThresholdsT &thresholds) {
  json j = json::object();
  for (const ThresholdKey &t : kThresholdKeys) j[t.key] = SensorReadingJson(thresholds.*t.field);
  return j;
}

SaHpiSensorThresholdsT ReadSensorThresholds(const json &prm) {
  SaHpiSensorThresholdsT thresholds{};
  for (const ThresholdKey &t : kThresholdKeys) {
    const unsigned result = ParseSensorReadingJson(RequireKey(prm, t.key), &(thresholds.*t.field));
    if (result != kRcOk) Fail(ErrorReplyPlain(result));
  }
  return thresholds;
}

json StateSeverityJson(SaHpiEventStateT mask, const KvnSeverityListT &severities) {
  json j = {{"sup", false}, {"set", json::array()}};
  // The list comes from the controller: never read past what it holds.
  const unsigned available = severities.Severities != nullptr ? severities.Count : 0;
  unsigned next = 0;
  for (unsigned bit = 0; bit < 16; ++bit) {
    if ((mask & (1u << bit)) == 0) continue;
    j["sup"] = true;
    if (next < available) j["set"].push_back(Signed(severities.Severities[next++]));
  }
  return j;
}

json AssertionDelayJson(const KvnAssertionDelaysT &delays) {
  json j = json::object();
  for (const AssertionDelayKey &d : kAssertionDelayKeys) j[d.key] = Signed(delays.Delay[d.slot]);
  return j;
}

json EntityPathJson(const SaHpiEntityPathT &path) {
  unsigned length = 0;
  while (length < SAHPI_MAX_ENTITY_PATH && path.Entry[length].EntityType != SAHPI_ENT_ROOT) ++length;
  json j = json::array();
  for (unsigned i = length; i-- > 0;) {
    j.push_back({{"t", Signed(path.Entry[i].EntityType)}, {"l", path.Entry[i].EntityLocation}});
  }
  return j;
}

json RdrJson(const SaHpiRdrT &rdr) {
  json j = {{"id", TextBufferToString(rdr.IdString)}, {"ep", EntityPathJson(rdr.Entity)}};
  switch (rdr.RdrType) {
    case SAHPI_SENSOR_RDR:
      j["s"] = SensorRecordJson(rdr.RdrTypeUnion.SensorRec);
      break;
    case SAHPI_CTRL_RDR:
      j["c"] = ControlRecordJson(rdr.RdrTypeUnion.CtrlRec);
      break;
    case SAHPI_INVENTORY_RDR: {
      const SaHpiInventoryRecT &inv = rdr.RdrTypeUnion.InventoryRec;
      j["i"] = {{"num", inv.IdrId}, {"pers", inv.Persistent}, {"OEM", inv.Oem}};
      break;
    }
    default:
      break;
  }
  return j;
}

const json *OptionalKey(const json &object, std::string_view key) {
  if (!object.is_object()) return nullptr;
  const auto it = object.find(key);
  return it != object.end() ? &*it : nullptr;
}

const json &RequireArray(const json &prm, std::string_view key) {
  const json &value = RequireKey(prm, key);
  if (!value.is_array()) Fail(ErrorReplyMsg(kRcBadValue, key));
  return value;
}

}  // namespace kvnc
