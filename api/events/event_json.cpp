#include "api/events/event_json.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <limits>

#include "api/monitor/hpi_json.h"
#include "client/hpi_functions.h"

namespace kvnc {
namespace {

constexpr const char *kTimeDecodingError = "TIME DECODING ERROR";
constexpr int64_t kNanosecondsPerSecond = 1000000000;

// The longest resource condition name the alarm list shows.
constexpr size_t kMaxAlarmName = 32;

// The UI's event type numbers by HPI event type; user events have none.
constexpr int32_t kNoTypeCode = -1;
constexpr std::array<int32_t, 12> kEventTypeCodes = {
    3,            // SAHPI_ET_RESOURCE
    6,            // SAHPI_ET_DOMAIN
    1,            // SAHPI_ET_SENSOR
    2,            // SAHPI_ET_SENSOR_ENABLE_CHANGE
    7,            // SAHPI_ET_HOTSWAP
    8,            // SAHPI_ET_WATCHDOG
    9,            // SAHPI_ET_HPI_SW
    4,            // SAHPI_ET_OEM
    kNoTypeCode,  // SAHPI_ET_USER
    10,           // SAHPI_ET_DIMI
    11,           // SAHPI_ET_DIMI_UPDATE
    12,           // SAHPI_ET_FUMI
};

// The UI tells unsigned from signed numbers only by their value, but the
// kind is kept so that both print as the daemon's field means them.
json U(uint32_t value) { return value; }
json I(uint32_t value) { return static_cast<int32_t>(value); }

// The bytes of a text buffer as they are. DataLength comes from the daemon
// and is not trusted: it is capped at the buffer's capacity.
std::string BufferText(const SaHpiTextBufferT &buffer) {
  const size_t length = std::min<size_t>(buffer.DataLength, sizeof buffer.Data);
  return {reinterpret_cast<const char *>(buffer.Data), length};
}

std::string RelativeTimeText(SaHpiTimeT time) {
  // Whole seconds in 32 bits, as the UI has always shown them: longer
  // times wrap (well defined in C++20) instead of widening the text.
  const auto s = static_cast<int32_t>(time / kNanosecondsPerSecond);
  char text[64];
  std::snprintf(text, sizeof text, "RELATIVE: %ldd %02ld:%02ld:%02ld", static_cast<long>(s / 86400),
                static_cast<long>((s / 3600) % 24), static_cast<long>((s / 60) % 60), static_cast<long>(s % 60));
  return text;
}

std::string AbsoluteTimeText(SaHpiTimeT time) {
  // All 64 bits of seconds: a time past 2038 is shown as such where time_t
  // holds it and as a decoding error where it does not, never as a wrapped
  // date of 1901.
  const int64_t seconds = time / kNanosecondsPerSecond;
  if (seconds > static_cast<int64_t>(std::numeric_limits<time_t>::max())) return kTimeDecodingError;
  const auto t = static_cast<time_t>(seconds);
  struct tm local {};
  if (localtime_r(&t, &local) == nullptr) return kTimeDecodingError;
  char text[32];
  if (std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local) == 0) return kTimeDecodingError;
  return text;
}

// The sensor event reading: "supp", "type" and "value" whatever IsSupported
// says; a buffer or unknown reading is only {"supp": 0}.
json EventReadingJson(const SaHpiSensorReadingT &r) {
  switch (r.Type) {
    case SAHPI_SENSOR_READING_TYPE_INT64:
      return {{"supp", U(r.IsSupported)}, {"type", "INT64"}, {"value", r.Value.SensorInt64}};
    case SAHPI_SENSOR_READING_TYPE_UINT64:
      return {{"supp", U(r.IsSupported)}, {"type", "UINT64"}, {"value", r.Value.SensorUint64}};
    case SAHPI_SENSOR_READING_TYPE_FLOAT64:
      return {{"supp", U(r.IsSupported)}, {"type", "FLOAT64"}, {"value", FloatJson(r.Value.SensorFloat64)}};
    default:
      return {{"supp", int32_t{0}}};
  }
}

json SensorEventJson(const SaHpiSensorEventT &e) {
  return {{"num", U(e.SensorNum)},
          {"type", I(e.SensorType)},
          {"ecat", U(e.EventCategory)},
          {"assert", U(e.Assertion)},
          {"estate", U(e.EventState)},
          {"pstate", U(e.PreviousState)},
          {"cstate", U(e.CurrentState)},
          {"opdata", U(e.OptionalDataPresent)},
          {"OEM", U(e.Oem)},
          {"spec", U(e.SensorSpecific)},
          {"trigger", EventReadingJson(e.TriggerReading)},
          {"thresh", EventReadingJson(e.TriggerThreshold)}};
}

json SensorEnableChangeJson(const SaHpiSensorEnableChangeEventT &e) {
  return {{"num", U(e.SensorNum)},
          {"type", I(e.SensorType)},
          {"ecat", U(e.EventCategory)},
          {"enable", U(e.SensorEnable)},
          {"even", U(e.SensorEventEnable)},
          {"assert", U(e.AssertEventMask)},
          {"deassert", U(e.DeassertEventMask)},
          {"opdata", U(e.OptionalDataPresent)},
          {"state", U(e.CurrentState)}};
}

// The event-type specific part; only called for types 0..11.
json EventDataJson(const SaHpiEventT &event) {
  const SaHpiEventUnionT &d = event.EventDataUnion;
  switch (event.EventType) {
    case SAHPI_ET_RESOURCE:
      return {{"type", I(d.ResourceEvent.ResourceEventType)}};
    case SAHPI_ET_DOMAIN:
      return {{"type", I(d.DomainEvent.Type)}, {"id", U(d.DomainEvent.DomainId)}};
    case SAHPI_ET_SENSOR:
      return SensorEventJson(d.SensorEvent);
    case SAHPI_ET_SENSOR_ENABLE_CHANGE:
      return SensorEnableChangeJson(d.SensorEnableChangeEvent);
    case SAHPI_ET_HOTSWAP:
      return {{"state", I(d.HotSwapEvent.HotSwapState)},
              {"pstate", I(d.HotSwapEvent.PreviousHotSwapState)},
              {"cause", I(d.HotSwapEvent.CauseOfStateChange)}};
    case SAHPI_ET_WATCHDOG:
      return {{"num", U(d.WatchdogEvent.WatchdogNum)},
              {"action", I(d.WatchdogEvent.WatchdogAction)},
              {"ptact", I(d.WatchdogEvent.WatchdogPreTimerAction)},
              {"tuse", I(d.WatchdogEvent.WatchdogUse)}};
    case SAHPI_ET_HPI_SW:
      return {{"mid", U(d.HpiSwEvent.MId)}, {"data", BufferText(d.HpiSwEvent.EventData)}};
    case SAHPI_ET_OEM:
      return {{"mid", U(d.OemEvent.MId)}, {"data", BufferText(d.OemEvent.OemEventData)}};
    case SAHPI_ET_USER:
      return BufferText(d.UserEvent.UserEventData);
    case SAHPI_ET_DIMI:
      return {{"num", U(d.DimiEvent.DimiNum)},
              {"test", U(d.DimiEvent.TestNum)},
              {"stat", I(d.DimiEvent.DimiTestRunStatus)},
              {"completed", U(d.DimiEvent.DimiTestPercentCompleted)}};
    case SAHPI_ET_DIMI_UPDATE:
      return {{"num", U(d.DimiUpdateEvent.DimiNum)}};
    default:  // SAHPI_ET_FUMI
      return {
          {"num", U(d.FumiEvent.FumiNum)}, {"bank", U(d.FumiEvent.BankNum)}, {"upstate", I(d.FumiEvent.UpgradeStatus)}};
  }
}

// A resource condition's name: none for a length of 0 or 1, otherwise the
// text up to its first NUL, at most kMaxAlarmName characters. Value need not
// be terminated, so the search stays inside it.
std::string ResourceConditionName(const SaHpiNameT &name) {
  if (name.Length <= 1) return "";
  static_assert(kMaxAlarmName <= sizeof name.Value);
  const auto *value = reinterpret_cast<const char *>(name.Value);
  return {value, strnlen(value, kMaxAlarmName)};
}

}  // namespace

std::string EventTimeText(SaHpiTimeT time) {
  if (time == SAHPI_TIME_UNSPECIFIED) return "TIME UNSPECIFIED";
  if (time <= SAHPI_TIME_MAX_RELATIVE) return RelativeTimeText(time);
  return AbsoluteTimeText(time);
}

std::optional<int32_t> EventTypeCode(SaHpiEventTypeT type) {
  if (type >= kEventTypeCodes.size() || kEventTypeCodes[type] == kNoTypeCode) return std::nullopt;
  return kEventTypeCodes[type];
}

json EventToJson(const SaHpiEventT &event) {
  json out = {{"rid", U(event.Source)}, {"TC", EventTimeText(event.Timestamp)}, {"severity", I(event.Severity)}};
  if (event.EventType >= kEventTypeCodes.size()) return out;
  if (const auto code = EventTypeCode(event.EventType)) out["type"] = *code;
  out["data"] = EventDataJson(event);
  return out;
}

json EventFingerprint(const SaHpiEventT &event) {
  const auto bits = static_cast<uint64_t>(event.Timestamp);
  return json::array({static_cast<int64_t>(bits & 0xFFFFFFFFu), static_cast<int32_t>(bits >> 32), U(event.Source),
                      I(event.Severity), I(event.EventType)});
}

json LogEntryToJson(const SaHpiEventLogEntryT &entry, bool with_fingerprint) {
  json head = {{"ID", U(entry.EntryId)}, {"TS", EventTimeText(entry.Timestamp)}};
  if (with_fingerprint) head["CRC"] = EventFingerprint(entry.Event);
  return {{"entry", std::move(head)}, {"event", EventToJson(entry.Event)}};
}

SaErrorT EventLogInfoToJson(HpiSession session, SaHpiResourceIdT rid, json &target) {
  SaHpiEventLogInfoT info{};
  const SaErrorT rv = saHpiEventLogInfoGet(session, rid, &info);
  if (rv != SA_OK) return rv;
  target = {{"info",
             {{"entries", U(info.Entries)},
              {"size", U(info.Size)},
              {"enabled", U(info.Enabled)},
              {"utime", EventTimeText(info.UpdateTimestamp)},
              {"ctime", EventTimeText(info.CurrentTime)},
              {"overflow", U(info.OverflowFlag)}}}};
  return SA_OK;
}

json AlarmToJson(HpiSession session, const SaHpiAlarmT &alarm) {
  const SaHpiConditionT &cond = alarm.AlarmCond;
  json out = {{"alid", U(alarm.AlarmId)},
              {"time", EventTimeText(alarm.Timestamp)},
              {"svrt", I(alarm.Severity)},
              {"ack", alarm.Acknowledged != SAHPI_FALSE},
              {"type", I(cond.Type)},
              {"rid", U(cond.ResourceId)},
              {"est", U(cond.EventState)},
              {"sn", ""},
              {"name", ""},
              {"stype", ""},
              {"scat", ""}};
  if (cond.Type != SAHPI_STATUS_COND_TYPE_SENSOR) {
    out["name"] = ResourceConditionName(cond.Name);
    return out;
  }
  out["sn"] = U(cond.SensorNum);
  // The alarm is listed even when its sensor's record cannot be read.
  SaHpiRdrT rdr{};
  if (saHpiRdrGetByInstrumentId(session, cond.ResourceId, SAHPI_SENSOR_RDR, cond.SensorNum, &rdr) == SA_OK) {
    out["name"] = BufferText(rdr.IdString);
    out["stype"] = I(rdr.RdrTypeUnion.SensorRec.Type);
    out["scat"] = U(rdr.RdrTypeUnion.SensorRec.Category);
  }
  return out;
}

}  // namespace kvnc
