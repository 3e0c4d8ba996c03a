#include "api/monitor/sensors.h"

#include <bit>
#include <vector>

#include "api/monitor/hpi_json.h"
#include "client/hpi_functions.h"
#include "front/api_error.h"

namespace kvnc {
namespace {

struct SensorId {
  SaHpiResourceIdT rid;
  SaHpiSensorNumT num;
};

// The resource is named "ID" or "RID", the sensor "SNUM" or "NUM", by page.
SensorId ReadSensorId(const json &object, const char *rid_key = "ID", const char *num_key = "SNUM") {
  const auto rid = GetNumber<SaHpiResourceIdT>(RequireKey(object, rid_key));
  const auto num = GetNumber<SaHpiSensorNumT>(RequireKey(object, num_key));
  return {rid, num};
}

json SeverityJson(HpiSession session, SensorId s, SaHpiEventStateT mask) {
  SeverityListHolder severities;
  if (kvnHpiSensorStateSeverityGet(session, s.rid, s.num, mask, &severities.list) != SA_OK) {
    return {{"sup", false}, {"set", json::array()}};
  }
  return StateSeverityJson(mask, severities.list);
}

json DelaysJson(HpiSession session, SensorId s) {
  KvnAssertionDelaysT delays{};
  const SaErrorT rv = kvnHpiSensorAssertionDelayGet(session, s.rid, s.num, &delays);
  if (rv != SA_OK) return {{"error", rv}};
  return AssertionDelayJson(delays);
}

}  // namespace

json GetSensorReadings(HpiSession session, const json &prm) {
  const json &list = RequireArray(prm, "SENS");
  json response = json::array();
  for (const json &element : list) {
    const SensorId s = ReadSensorId(element);
    const auto read_thresholds = GetNumber<SaHpiBoolT>(RequireKey(element, "THRES"));
    const auto mask = GetNumber<SaHpiEventStateT>(RequireKey(element, "EMASK"));
    SaHpiSensorReadingT reading{};
    SaHpiEventStateT state = 0;
    SaHpiSensorThresholdsT thresholds{};
    SeverityListHolder severities;
    const SaErrorT rv = kvnHpiSensorStatusGet(session, s.rid, s.num, read_thresholds, mask, &reading, &state,
                                              &thresholds, &severities.list);
    // A failing sensor is reported in its place and never fails the request.
    if (rv != SA_OK && rv != SA_ERR_HPI_INVALID_CMD) {
      response.push_back(
          {{"id", s.rid}, {"snum", s.num}, {"is_ok", false}, {"error", rv}, {"sever", {{"sup", false}}}});
      continue;
    }
    json sensor = SensorReadingJson(reading);
    sensor["id"] = s.rid;
    sensor["snum"] = s.num;
    sensor["is_ok"] = true;
    sensor["state"] = state;
    // INVALID_CMD: the reading is valid but the sensor has no readable thresholds.
    sensor["thres"] = SensorThresholdsJson(rv == SA_OK ? thresholds : SaHpiSensorThresholdsT{});
    sensor["sever"] = StateSeverityJson(mask, severities.list);
    response.push_back(std::move(sensor));
  }
  return OkReplyWithResponse(response);
}

json GetSensorThresholds(HpiSession session, const json &prm) {
  const SensorId s = ReadSensorId(prm);
  SaHpiSensorThresholdsT thresholds{};
  CheckHpi(saHpiSensorThresholdsGet(session, s.rid, s.num, &thresholds), "saHpiSensorThresholdsGet");
  return OkReplyWithResponse(SensorThresholdsJson(thresholds));
}

json SetSensorThresholds(HpiSession session, const json &prm) {
  const SensorId s = ReadSensorId(prm);
  const json *wr = OptionalKey(prm, "wr");
  if (wr == nullptr) Fail(ErrorReplyMsg(kRcMissingParam, "WR"));
  const bool write_thresholds = GetNumber<int64_t>(*wr) != 0;
  SaHpiSensorThresholdsT thresholds{};
  if (write_thresholds) thresholds = ReadSensorThresholds(prm);

  // The whole request is read before anything is written, so bad input
  // changes nothing.
  KvnAssertionDelaysT delays{};
  SaHpiEventStateT present = 0;
  if (const json *given = OptionalKey(prm, "delays")) {
    for (const AssertionDelayKey &d : kAssertionDelayKeys) {
      const json *value = OptionalKey(*given, d.key);
      if (value == nullptr) continue;
      delays.Delay[d.slot] = GetNumber<SaHpiUint32T>(*value);
      present |= d.bit;
    }
  }

  if (write_thresholds) {
    CheckHpi(saHpiSensorThresholdsSet(session, s.rid, s.num, &thresholds), "saHpiSensorThresholdsSet");
  }
  if (present != 0) {
    CheckHpi(kvnHpiSensorAssertionDelaySet(session, s.rid, s.num, present, &delays), "kvnHpiSensorAssertionDelaySet");
  }
  return OkReply();
}

json SetThresholdsOfSensors(HpiSession session, const json &prm) {
  const SaHpiSensorThresholdsT thresholds = ReadSensorThresholds(prm);
  const json &list = RequireArray(prm, "SENS");
  std::vector<SensorId> sensors;
  sensors.reserve(list.size());
  for (const json &element : list) sensors.push_back(ReadSensorId(element, "RID", "NUM"));
  // Stops at the first sensor that refuses; those before it keep the new values.
  for (const SensorId &s : sensors) {
    CheckHpi(saHpiSensorThresholdsSet(session, s.rid, s.num, &thresholds), "saHpiSensorThresholdsSet");
  }
  return OkReply();
}

json GetSensorEventMasks(HpiSession session, const json &prm) {
  const SensorId s = ReadSensorId(prm);
  SaHpiEventStateT assert_mask = 0, deassert_mask = 0;
  CheckHpi(saHpiSensorEventMasksGet(session, s.rid, s.num, &assert_mask, &deassert_mask), "saHpiSensorEventMasksGet");
  return OkReplyWithResponse({{"assert", assert_mask}, {"deassert", deassert_mask}});
}

json SetSensorEventMasks(HpiSession session, const json &prm) {
  const SensorId s = ReadSensorId(prm);
  const auto want_assert = GetNumber<SaHpiEventStateT>(RequireKey(prm, "assert"));
  const auto want_deassert = GetNumber<SaHpiEventStateT>(RequireKey(prm, "deassert"));
  SaHpiEventStateT assert_mask = 0, deassert_mask = 0;
  CheckHpi(saHpiSensorEventMasksGet(session, s.rid, s.num, &assert_mask, &deassert_mask), "saHpiSensorEventMasksGet");

  // The daemon only adds or removes bits: add first, then remove what the
  // masks read above have beyond the wanted ones.
  const auto add_assert = static_cast<SaHpiEventStateT>(want_assert & ~assert_mask);
  const auto add_deassert = static_cast<SaHpiEventStateT>(want_deassert & ~deassert_mask);
  const auto remove_assert = static_cast<SaHpiEventStateT>(assert_mask & ~want_assert);
  const auto remove_deassert = static_cast<SaHpiEventStateT>(deassert_mask & ~want_deassert);
  if (add_assert != 0 || add_deassert != 0) {
    CheckHpi(saHpiSensorEventMasksSet(session, s.rid, s.num, SAHPI_SENS_ADD_EVENTS_TO_MASKS, add_assert, add_deassert),
             "saHpiSensorEventMasksSet");
  }
  if (remove_assert != 0 || remove_deassert != 0) {
    CheckHpi(saHpiSensorEventMasksSet(session, s.rid, s.num, SAHPI_SENS_REMOVE_EVENTS_FROM_MASKS, remove_assert,
                                      remove_deassert),
             "saHpiSensorEventMasksSet");
  }
  return OkReply();
}

json GetSensorConfiguration(HpiSession session, const json &prm) {
  const SensorId s = ReadSensorId(prm);
  const auto read_thresholds = GetNumber<SaHpiBoolT>(RequireKey(prm, "THRES"));
  const auto events = GetNumber<SaHpiEventStateT>(RequireKey(prm, "EVENTS"));

  SaHpiEventStateT assert_mask = 0, deassert_mask = 0;
  CheckHpi(saHpiSensorEventMasksGet(session, s.rid, s.num, &assert_mask, &deassert_mask), "saHpiSensorEventMasksGet");

  json thres = json::object();
  if (read_thresholds != 0) {
    SaHpiSensorThresholdsT thresholds{};
    CheckHpi(saHpiSensorThresholdsGet(session, s.rid, s.num, &thresholds), "saHpiSensorThresholdsGet");
    thres = SensorThresholdsJson(thresholds);
  }

  // The extended information is optional: a sensor without it still shows.
  json ext = {{"present", false}};
  KvnSensorInfoT info{};
  SaHpiUint32T unused = 0;
  if (kvnHpiSensorExtendedInfoGet(session, s.rid, s.num, 0, &info, &unused) == SA_OK) {
    ext = {{"present", true},
           {"unit",
            {{"bum", info.BaseUnitModifier},
             {"res", FloatJson(info.Resolution)},
             {"tol", FloatJson(info.Tolerance)},
             {"mum", info.ModifierUnitModifier}}}};
  }

  return OkReplyWithResponse({{"assert", assert_mask},
                              {"deassert", deassert_mask},
                              {"ext", std::move(ext)},
                              {"sever", SeverityJson(session, s, events)},
                              {"thres", std::move(thres)}});
}

json SetSensorStateSeverity(HpiSession session, const json &prm) {
  const SensorId s = ReadSensorId(prm);
  const auto mask = GetNumber<SaHpiEventStateT>(RequireKey(prm, "EMASK"));
  const json &given = RequireArray(prm, "SEVER");

  // One severity per set bit of the 16-bit mask; entries past the 16th are ignored.
  SaHpiSeverityT values[KVN_MAX_STATE_SEVERITIES] = {};
  unsigned count = 0;
  for (const json &value : given) {
    if (count == KVN_MAX_STATE_SEVERITIES) break;
    values[count++] = GetNumber<SaHpiSeverityT>(value);
  }
  if (count == 0 || count != static_cast<unsigned>(std::popcount(mask))) {
    Fail(ErrorReplyMsg(kRcBadValue, "SEVER, EMASK"));
  }
  const KvnSeverityListT list{static_cast<SaHpiUint8T>(count), values};
  CheckHpi(kvnHpiSensorStateSeveritySet(session, s.rid, s.num, mask, &list), "kvnHpiSensorStateSeveritySet");
  return OkReply();
}

json GetResourceSensors(HpiSession session, const json &prm) {
  const SensorId s = ReadSensorId(prm, "RID", "SNUM");
  CheckHpi(kvnHpiSensorResetEraseConfiguration(session, s.rid, s.num), "kvnHpiSensorResetEraseConfiguration");
  SaHpiRdrT rdr{};
  CheckHpi(saHpiRdrGetByInstrumentId(session, s.rid, SAHPI_SENSOR_RDR, s.num, &rdr), "saHpiRdrGetByInstrumentId");

  const SaHpiSensorRecT &record = rdr.RdrTypeUnion.SensorRec;
  const SaHpiSensorThdDefnT &thd = record.ThresholdDefn;
  json sensor = {
      {"type", static_cast<int32_t>(record.Type)},
      {"cat", record.Category},
      {"ctrlen", record.EnableCtrl},
      {"evctrl", static_cast<int32_t>(record.EventCtrl)},
      {"evsup", record.Events},
      {"thr", {{"sup", thd.IsAccessible}, {"rd", thd.ReadThold}, {"wr", thd.WriteThold}, {"nl", thd.Nonlinear}}},
      {"sev", SeverityJson(session, s, record.Events)},
  };
  if (thd.IsAccessible != 0) {
    SaHpiSensorThresholdsT thresholds{};
    CheckHpi(saHpiSensorThresholdsGet(session, s.rid, s.num, &thresholds), "saHpiSensorThresholdsGet");
    sensor["thr"]["values"] = SensorThresholdsJson(thresholds);
  }

  SaHpiEventStateT assert_mask = 0, deassert_mask = 0;
  CheckHpi(saHpiSensorEventMasksGet(session, s.rid, s.num, &assert_mask, &deassert_mask), "saHpiSensorEventMasksGet");
  sensor["evass"] = assert_mask;
  sensor["evdeass"] = deassert_mask;

  SaHpiSensorReadingT reading{};
  SaHpiEventStateT state = 0;
  sensor["rd"] = {{"is_ok", false}};
  if (saHpiSensorReadingGet(session, s.rid, s.num, &reading, &state) == SA_OK) {
    sensor["rd"] = {{"val", SensorReadingJson(reading)}, {"is_ok", true}, {"state", state}};
  }
  sensor["delays"] = DelaysJson(session, s);
  return OkReplyWithResponse(sensor);
}

json GetSensorSummary(HpiSession session, const json &prm) {
  const SensorId s = ReadSensorId(prm);
  const auto events = GetNumber<SaHpiEventStateT>(RequireKey(prm, "EVENTS"));
  json sever = SeverityJson(session, s, events);  // asked before the delays
  return OkReplyWithResponse({{"delays", DelaysJson(session, s)}, {"sever", std::move(sever)}});
}

}  // namespace kvnc
