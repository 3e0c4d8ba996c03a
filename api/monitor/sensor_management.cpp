#include "api/monitor/sensor_management.h"

#include <time.h>

#include <algorithm>
#include <cstdint>

#include "api/events/id_walk.h"
#include "api/monitor/hpi_json.h"
#include "client/hpi_functions.h"
#include "client/text_buffer.h"
#include "front/api_error.h"

namespace kvnc {
namespace {

constexpr size_t kTextBytes = SAHPI_MAX_TEXT_BUFFER_LENGTH;  // 255

SaHpiUint32T ReadU32(const json &prm, const char *key) { return GetNumber<SaHpiUint32T>(RequireKey(prm, key)); }

std::string ReadString(const json &prm, const char *key) { return RequireKey(prm, key).get<std::string>(); }

// Text keys of FN 80/81 and the getters and setters that carry them.
SaHpiTextBufferT TextOf(const json &prm, const char *key) { return TextBufferFromString(ReadString(prm, key)); }

// A user type's states as the daemon takes them: the mask with one low bit
// per state, one severity per state, the names joined by newlines.
struct UserTypeStates {
  SaHpiEventStateT mask = 0;
  SaHpiSeverityT severities[kMaxUserTypeStates] = {};
  KvnSeverityListT list{0, nullptr};
  StateNameBuffers names{};
};

// Read whole before anything is sent. More states than the mask has bits are
// refused: cutting them would store a type other than the one entered.
void ReadUserTypeStates(const json &prm, UserTypeStates *out) {
  const json &states = RequireKey(prm, "states");
  if (!states.is_array()) Fail(ErrorReplyMsg(kRcBadValue, "states"));
  if (states.size() > kMaxUserTypeStates) Fail(ErrorReplyMsg(kRcBadValue, "states"));
  std::string joined;
  unsigned count = 0;
  for (const json &state : states) {
    if (count != 0) joined += '\n';
    joined += ReadString(state, "name");
    out->severities[count++] = GetNumber<SaHpiSeverityT>(RequireKey(state, "svrt"));
    out->mask = static_cast<SaHpiEventStateT>((out->mask << 1) | 1u);
  }
  out->list = {static_cast<SaHpiUint8T>(count), out->severities};
  out->names = SplitStateNames(joined);
}

}  // namespace

StateNameBuffers SplitStateNames(const std::string &joined) {
  const size_t first = std::min(joined.size(), kTextBytes);
  const size_t second = std::min(joined.size() - first, kTextBytes);
  return {TextBufferFromString(joined.substr(0, first)), TextBufferFromString(joined.substr(first, second))};
}

json UserTypeStatesJson(const SaHpiTextBufferT &first, const SaHpiTextBufferT &second,
                        const KvnSeverityListT &severities) {
  const std::string joined = TextBufferToString(first) + TextBufferToString(second);
  json states = json::array();
  if (joined.empty()) return states;
  size_t start = 0;
  for (unsigned i = 0; i < severities.Count && severities.Severities != nullptr; ++i) {
    const size_t end = joined.find('\n', start);
    states.push_back({{"state", i},
                      {"name", joined.substr(start, end == std::string::npos ? std::string::npos : end - start)},
                      {"svrt", static_cast<int32_t>(severities.Severities[i])}});
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return states;
}

json SensorLogEntryJson(SaHpiUint32T index, const std::string &time, const KvnSensorLogEntryT &entry) {
  return {{"ID", index},
          {"TS", time},
          {"RC", entry.ReadingCount},
          {"ESC", entry.EventStateCount},
          {"AVR", FloatJson(entry.Average)},
          {"MIN", FloatJson(entry.Minimum)},
          {"MAX", FloatJson(entry.Maximum)},
          {"DSP", FloatJson(entry.Deviation)},
          {"AES", entry.AssertedEventStates}};
}

std::string SensorLogTimeText(SaHpiTimeT timestamp) {
  const time_t seconds = static_cast<time_t>(timestamp / 1000000000);
  tm local{};
  char text[50];
  if (localtime_r(&seconds, &local) == nullptr) return {};
  const size_t n = strftime(text, sizeof text, "%c", &local);
  return std::string(text, n);
}

json ManageSensor(HpiSession session, const json &prm) {
  const SaHpiResourceIdT rid = ReadU32(prm, "RID");
  const SaHpiSensorNumT num = ReadU32(prm, "NUM");
  const auto automatic = GetNumber<SaHpiBoolT>(RequireKey(prm, "AUTO"));
  SaHpiUint32T managed = 0;
  CheckHpi(kvnHpiSensorManage(session, rid, num, automatic, &managed), "kvnHpiSensorManage");
  return OkReplyWithResponse({{"SNUM", managed}});
}

json GetManagedSensorNumber(HpiSession session, const json &prm) {
  const SaHpiResourceIdT rid = ReadU32(prm, "ID");
  const SaHpiSensorNumT num = ReadU32(prm, "NUM");
  SaHpiUint32T managed = 0;
  CheckHpi(kvnHpiSensorManagedNumberGet(session, rid, num, &managed), "kvnHpiSensorManagedNumberGet");
  return OkReplyWithResponse({{"SNUM", managed}});
}

json AttachSensor(HpiSession session, const json &prm) {
  const SaHpiResourceIdT rid = ReadU32(prm, "RID");
  const SaHpiSensorNumT num = ReadU32(prm, "NUM");
  const SaHpiUint32T managed = ReadU32(prm, "MNUM");
  CheckHpi(kvnHpiSensorAttach(session, managed, rid, num), "kvnHpiSensorAttach");
  return OkReply();
}

json DetachSensor(HpiSession session, const json &prm) {
  CheckHpi(kvnHpiSensorDetach(session, ReadU32(prm, "NUM")), "kvnHpiSensorDetach");
  return OkReply();
}

json GetSensorSettings(HpiSession session, const json &prm) {
  const SaHpiUint32T managed = ReadU32(prm, "NUM");
  SaHpiTextBufferT descr{}, type{}, subtype{}, x{}, y{}, z{};
  CheckHpi(kvnHpiSensorDescriptionGet(session, managed, &descr), "kvnHpiSensorDescriptionGet");
  CheckHpi(kvnHpiSensorUserTypeGet(session, managed, &type, &subtype), "kvnHpiSensorUserTypeGet");
  CheckHpi(kvnHpiSensorCoordinatesGet(session, managed, &x, &y, &z), "kvnHpiSensorCoordinatesGet");
  SaHpiUint32T state = 0;
  SaHpiResourceIdT rid = 0;
  SaHpiSensorNumT num = 0;
  SaHpiEntityPathT path{};
  CheckHpi(kvnHpiSensorAttachStateGet(session, managed, &state, &rid, &num, &path), "kvnHpiSensorAttachStateGet");
  return OkReplyWithResponse({{"descr", TextBufferToString(descr)},
                              {"type", TextBufferToString(type)},
                              {"subtype", TextBufferToString(subtype)},
                              {"x", TextBufferToString(x)},
                              {"y", TextBufferToString(y)},
                              {"z", TextBufferToString(z)},
                              // The daemon's coordinates carry no flag: the page gets it cleared.
                              {"nz", 0u},
                              {"state", state},
                              {"rid", rid},
                              {"sen", num}});
}

json SetSensorSettings(HpiSession session, const json &prm) {
  const SaHpiUint32T managed = ReadU32(prm, "NUM");
  const SaHpiTextBufferT descr = TextOf(prm, "descr");
  const SaHpiTextBufferT type = TextOf(prm, "type");
  const SaHpiTextBufferT subtype = TextOf(prm, "subtype");
  const SaHpiTextBufferT x = TextOf(prm, "x");
  const SaHpiTextBufferT y = TextOf(prm, "y");
  const SaHpiTextBufferT z = TextOf(prm, "z");
  // Checked like the rest, though the daemon's coordinates take no flag.
  (void)GetNumber<SaHpiUint8T>(RequireKey(prm, "nz"));
  CheckHpi(kvnHpiSensorDescriptionSet(session, managed, &descr), "kvnHpiSensorDescriptionSet");
  CheckHpi(kvnHpiSensorUserTypeSet(session, managed, &type, &subtype), "kvnHpiSensorUserTypeSet");
  CheckHpi(kvnHpiSensorCoordinatesSet(session, managed, &x, &y, &z), "kvnHpiSensorCoordinatesSet");
  return OkReply();
}

json GetSensorLogSettings(HpiSession session, const json &) {
  SaHpiBoolT enabled = 0;
  SaHpiUint32T period = 0;
  CheckHpi(kvnHpiSensorLogEnableGet(session, &enabled), "kvnHpiSensorLogEnableGet");
  CheckHpi(kvnHpiSensorLogAccumPeriodGet(session, &period), "kvnHpiSensorLogAccumPeriodGet");
  return OkReplyWithResponse({{"enabled", enabled}, {"period", period}});
}

json SetSensorLogSettings(HpiSession session, const json &prm) {
  const json *enabled = OptionalKey(prm, "enabled");
  const json *period = OptionalKey(prm, "period");
  // Both read before either is written, so a bad period changes nothing.
  const auto enable_value = enabled != nullptr ? GetNumber<SaHpiBoolT>(*enabled) : SaHpiBoolT{0};
  const auto period_value = period != nullptr ? GetNumber<SaHpiUint32T>(*period) : SaHpiUint32T{0};
  if (enabled != nullptr) CheckHpi(kvnHpiSensorLogEnableSet(session, enable_value), "kvnHpiSensorLogEnableSet");
  if (period != nullptr) {
    CheckHpi(kvnHpiSensorLogAccumPeriodSet(session, period_value), "kvnHpiSensorLogAccumPeriodSet");
  }
  return OkReply();
}

json GetSensorLog(HpiSession session, const json &prm) {
  const SaHpiUint32T managed = ReadU32(prm, "sn");
  SaHpiUint32T size = 0;
  CheckHpi(kvnHpiSensorLogSizeGet(session, &size), "kvnHpiSensorLogSizeGet");
  SaHpiUint32T first = 0, last = 0;
  const SaErrorT rv = kvnHpiSensorLogFirstLastGet(session, &first, &last);
  if (rv == SA_ERR_HPI_NOT_PRESENT) return OkReplyWithResponse({{"state", 2}});
  CheckHpi(rv, "kvnHpiSensorLogFirstLastGet");

  // Indices come from the daemon: one that comes back ends the walk with an
  // error instead of going round for ever. A log holds at most its size
  // (trusted only up to a bound that keeps a runaway daemon's walk short).
  constexpr size_t kMaxSensorLog = size_t{1} << 20;
  WalkGuard guard("kvnHpiSensorLogTimestampGet", std::clamp<size_t>(size_t{size} + 1, kMaxWalkItems, kMaxSensorLog));
  json log = json::array();
  for (auto index = static_cast<int32_t>(first); index >= 0;) {
    guard.Visit(static_cast<uint32_t>(index));
    const auto at = static_cast<SaHpiUint32T>(index);
    SaHpiTimeT timestamp = 0;
    SaHpiUint32T next = 0;
    CheckHpi(kvnHpiSensorLogTimestampGet(session, at, &timestamp, &next), "kvnHpiSensorLogTimestampGet");
    KvnSensorLogEntryT entry{};
    const SaErrorT entry_rv = kvnHpiSensorLogEntryGet(session, at, managed, &entry);
    if (entry_rv != SA_ERR_HPI_NOT_PRESENT) {  // no record of this sensor in that period
      CheckHpi(entry_rv, "kvnHpiSensorLogEntryGet");
      log.push_back(SensorLogEntryJson(at, SensorLogTimeText(timestamp), entry));
    }
    index = static_cast<int32_t>(next);
  }
  return OkReplyWithResponse(
      {{"state", 0}, {"size", static_cast<int64_t>(size) - 1}, {"fid", first}, {"lid", last}, {"log", std::move(log)}});
}

json GetSensorUserTypes(HpiSession session, const json &) {
  json types = json::array();
  WalkIds("kvnHpiSensorUserTypeInfoGet", [&](uint32_t cursor, uint32_t *next) {
    SaHpiTextBufferT name{}, first{}, second{};
    SaHpiUint32T id = 0;
    SeverityListHolder severities;
    const SaErrorT rv =
        kvnHpiSensorUserTypeInfoGet(session, cursor, &name, &id, &first, &second, &severities.list, next);
    if (rv == SA_OK) {
      types.push_back({{"name", TextBufferToString(name)},
                       {"type", id},
                       {"states", UserTypeStatesJson(first, second, severities.list)}});
    }
    return rv;
  });
  return OkReplyWithResponse(types);
}

json AddSensorUserType(HpiSession session, const json &prm) {
  const SaHpiTextBufferT name = TextOf(prm, "name");
  UserTypeStates states;
  ReadUserTypeStates(prm, &states);
  SaHpiUint32T id = 0;
  CheckHpi(kvnHpiSensorUserTypeAdd(session, &name, &states.names.first, &states.names.second, states.mask, &states.list,
                                   &id),
           "kvnHpiSensorUserTypeAdd");
  return OkReply();
}

json UpdateSensorUserType(HpiSession session, const json &prm) {
  const SaHpiUint32T id = ReadU32(prm, "type");
  UserTypeStates states;
  ReadUserTypeStates(prm, &states);
  CheckHpi(
      kvnHpiSensorUserTypeUpdate(session, id, &states.names.first, &states.names.second, states.mask, &states.list),
      "kvnHpiSensorUserTypeUpdate");
  return OkReply();
}

json DeleteSensorUserType(HpiSession session, const json &prm) {
  CheckHpi(kvnHpiSensorUserTypeDelete(session, ReadU32(prm, "type")), "kvnHpiSensorUserTypeDelete");
  return OkReply();
}

json SetSensorTypeByName(HpiSession session, const json &prm) {
  const SaHpiResourceIdT rid = ReadU32(prm, "RID");
  const SaHpiSensorNumT num = ReadU32(prm, "SNUM");
  const SaHpiTextBufferT type = TextOf(prm, "TYPE");
  CheckHpi(kvnHpiSensorTypeSetByName(session, rid, num, &type), "kvnHpiSensorTypeSetByName");
  return OkReply();
}

}  // namespace kvnc
