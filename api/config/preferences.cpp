#include "api/config/preferences.h"

#include <string>
#include <vector>

#include "client/hpi_functions.h"
#include "client/paths.h"
#include "client/text_buffer.h"
#include "front/api_error.h"
#include "front/child_process.h"

namespace kvnc {
namespace {

using NumberGet = SaErrorT (*)(SaHpiSessionIdT, SaHpiUint32T *);
using TextGet = SaErrorT (*)(SaHpiSessionIdT, SaHpiTextBufferT *);
using TextSet = SaErrorT (*)(SaHpiSessionIdT, const SaHpiTextBufferT *);
using NumberSet = SaErrorT (*)(SaHpiSessionIdT, SaHpiUint32T);

// Asks for the debug level without changing it.
constexpr SaHpiUint32T kDebugLevelQuery = 0xFFFF;

SaHpiUint32T GetValue(HpiSession session, NumberGet get, const char *function) {
  SaHpiUint32T value = 0;
  CheckHpi(get(session, &value), function);
  return value;
}

std::string GetText(HpiSession session, TextGet get, const char *function) {
  SaHpiTextBufferT text{};
  CheckHpi(get(session, &text), function);
  return TextBufferToString(text);
}

SaHpiUint8T GetFlag(HpiSession session, SaErrorT (*get)(SaHpiSessionIdT, SaHpiBoolT *), const char *function) {
  SaHpiBoolT flag = 0;
  CheckHpi(get(session, &flag), function);
  return flag;
}

template <typename T>
T Number(const json &object, const char *key, std::string_view parent = {}) {
  return GetNumber<T>(RequireKey(object, key, parent));
}

std::string Text(const json &object, const char *key) { return RequireKey(object, key).get<std::string>(); }

// ---- FN 71: the three groups, each read whole before anything is written ----------

struct UserSettings {  // CUS
  SaHpiUint32T language = 0;
  SaHpiUint32T lcd_ui_flags = 0;
  KvnMeasurementUnitsT units{};
  KvnWebParametersT web{};
};

struct NameSettings {  // CNC
  SaHpiTextBufferT location{};
  SaHpiTextBufferT asset_tag{};
};

struct SystemSettings {  // CESC
  SaHpiUint32T z_coordinate = 0;
  SaHpiUint32T transient_severity = 0;
  SaHpiUint32T debug_level = 0;
  SaHpiUint32T poll_period = 0;
};

UserSettings ReadUserSettings(const json &prm) {
  UserSettings s;
  s.language = Number<SaHpiUint32T>(prm, "Language");
  s.lcd_ui_flags = Number<SaHpiUint32T>(prm, "LCDUIFlags");
  const json &units = RequireKey(prm, "MeasurementUnits");
  s.units.Degrees = Number<SaHpiUint8T>(units, "Temperature", "MeasurementUnits");
  s.units.Length = Number<SaHpiUint8T>(units, "Length", "MeasurementUnits");
  s.units.Pressure = Number<SaHpiUint8T>(units, "Pressure", "MeasurementUnits");
  const json &web = RequireKey(prm, "Web");
  s.web.IdleEnabled = Number<SaHpiUint8T>(web, "IdleDetectionEnabled", "Web");
  s.web.IdleTimeout = Number<SaHpiUint32T>(web, "IdleTimeout", "Web");
  s.web.WaitTimeout = Number<SaHpiUint32T>(web, "DelayBeforeDisconnect", "Web");
  s.web.LogPollingPeriod = Number<SaHpiUint32T>(web, "EventLogQueryPollPeriod", "Web");
  return s;
}

void WriteUserSettings(HpiSession session, const UserSettings &s) {
  CheckHpi(kvnHpiCurrentLanguageSet(session, s.language), "kvnHpiCurrentLanguageSet");
  CheckHpi(kvnHpiCurrentLCDUIFlagsSet(session, s.lcd_ui_flags), "kvnHpiCurrentLCDUIFlagsSet");
  CheckHpi(kvnHpiGlobalMeasurementUnitsSet(session, &s.units), "kvnHpiGlobalMeasurementUnitsSet");
  CheckHpi(kvnHpiGlobalWebParametersSet(session, &s.web), "kvnHpiGlobalWebParametersSet");
}

NameSettings ReadNameSettings(const json &prm) {
  NameSettings s;
  s.location = TextBufferFromString(Text(prm, "Location"));
  s.asset_tag = TextBufferFromString(Text(prm, "AssetTag"));
  return s;
}

void WriteNameSettings(HpiSession session, const NameSettings &s) {
  CheckHpi(kvnHpiLocationSet(session, &s.location), "kvnHpiLocationSet");
  CheckHpi(kvnHpiAssetTagSet(session, &s.asset_tag), "kvnHpiAssetTagSet");
}

SystemSettings ReadSystemSettings(const json &prm) {
  SystemSettings s;
  s.z_coordinate = Number<SaHpiUint32T>(prm, "ExternalSensorZCoordinate");
  s.transient_severity = Number<SaHpiUint32T>(prm, "TransientAlarmSeverity");
  s.debug_level = Number<SaHpiUint32T>(prm, "DebugLevel");
  s.poll_period = Number<SaHpiUint32T>(RequireKey(prm, "OneWire"), "PollPeriod", "OneWire");
  return s;
}

void WriteSystemSettings(HpiSession session, const SystemSettings &s) {
  CheckHpi(kvnHpiExternalSensorZCoordSet(session, s.z_coordinate), "kvnHpiExternalSensorZCoordSet");
  CheckHpi(kvnHpiTransientAlarmSeveritySet(session, s.transient_severity), "kvnHpiTransientAlarmSeveritySet");
  kvnHpiDebugLevel(s.debug_level);  // answers the level, not a result
  CheckHpi(kvnHpiW1PollIntervalSet(session, s.poll_period), "kvnHpiW1PollIntervalSet");
}

// Every file of the zoneinfo tree but the ".tab" tables, without the
// directory, sorted. A fixed pipeline: no request value is in it.
std::string ZoneListCommand() {
  const std::string dir = paths::kZoneInfoDir;
  return "find " + dir + " -type f | grep -v '.tab' | sed -e 's|^" + dir + "||' | sort";
}

std::vector<std::string> Lines(const std::string &text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace

json GetGlobalPreferences(HpiSession session, const json & /*prm*/) {
  json doc = json::object();
  doc["Language"] = GetValue(session, kvnHpiCurrentLanguageGet, "kvnHpiCurrentLanguageGet");
  doc["LCDUIFlags"] = GetValue(session, kvnHpiCurrentLCDUIFlagsGet, "kvnHpiCurrentLCDUIFlagsGet");
  KvnMeasurementUnitsT units{};
  CheckHpi(kvnHpiGlobalMeasurementUnitsGet(session, &units), "kvnHpiGlobalMeasurementUnitsGet");
  doc["MeasurementUnits"] = {{"Length", units.Length}, {"Pressure", units.Pressure}, {"Temperature", units.Degrees}};
  KvnWebParametersT web{};
  CheckHpi(kvnHpiGlobalWebParametersGet(session, &web), "kvnHpiGlobalWebParametersGet");
  doc["Web"] = {{"DelayBeforeDisconnect", web.WaitTimeout},
                {"EventLogQueryPollPeriod", web.LogPollingPeriod},
                {"IdleDetectionEnabled", web.IdleEnabled},
                {"IdleTimeout", web.IdleTimeout}};
  doc["TransientAlarmSeverity"] = GetValue(session, kvnHpiTransientAlarmSeverityGet, "kvnHpiTransientAlarmSeverityGet");
  doc["ExternalSensorZCoordinate"] = GetValue(session, kvnHpiExternalSensorZCoordGet, "kvnHpiExternalSensorZCoordGet");
  doc["AssetTag"] = GetText(session, kvnHpiAssetTagGet, "kvnHpiAssetTagGet");
  doc["Location"] = GetText(session, kvnHpiLocationGet, "kvnHpiLocationGet");
  doc["OneWire"] = {{"PollPeriod", GetValue(session, kvnHpiW1PollIntervalGet, "kvnHpiW1PollIntervalGet")}};
  doc["DebugLevel"] = static_cast<uint32_t>(kvnHpiDebugLevel(kDebugLevelQuery));
  return OkReplyWithResponse(doc);
}

json SetGlobalPreferences(HpiSession session, const json &prm) {
  const bool cus = RequireKey(prm, "CUS").get<bool>();
  const bool cnc = RequireKey(prm, "CNC").get<bool>();
  const bool cesc = RequireKey(prm, "CESC").get<bool>();
  // A bad member of any selected group is answered before anything changes.
  const UserSettings user = cus ? ReadUserSettings(prm) : UserSettings{};
  const NameSettings names = cnc ? ReadNameSettings(prm) : NameSettings{};
  const SystemSettings system = cesc ? ReadSystemSettings(prm) : SystemSettings{};
  if (cus) WriteUserSettings(session, user);
  if (cnc) WriteNameSettings(session, names);
  if (cesc) WriteSystemSettings(session, system);
  return OkReply();
}

json GetDateTime(HpiSession session, const json & /*prm*/) {
  SaHpiTextBufferT date_time{};
  SaHpiTextBufferT zone{};
  SaHpiTextBufferT zone1{};
  CheckHpi(kvnHpiDateTimeGet(session, &date_time, &zone, &zone1), "kvnHpiDateTimeGet");
  const SaHpiUint8T ntp = GetFlag(session, kvnHpiNTPEnableGet, "kvnHpiNTPEnableGet");
  const ChildRun run = RunChild({"/bin/sh", "-c", ZoneListCommand()});
  if (!run.started()) Fail(ErrorReplyMsg(kRcSystemError, "Can't get timezones info"));
  return OkReplyWithResponse({{"DateTime", TextBufferToString(date_time)},
                              {"NTPEnabled", ntp},
                              {"Timezone", TextBufferToString(zone)},
                              {"ZList", Lines(run.output)}});
}

json SetDateTime(HpiSession session, const json &prm) {
  const SaHpiTextBufferT date_time = TextBufferFromString(Text(prm, "DateTime"));
  const SaHpiTextBufferT zone = TextBufferFromString(Text(prm, "Timezone"));
  CheckHpi(kvnHpiDateTimeSet(session, &date_time, &zone), "kvnHpiDateTimeSet");
  return OkReply();
}

json GetNtpSettings(HpiSession session, const json & /*prm*/) {
  const SaHpiUint8T enabled = GetFlag(session, kvnHpiNTPEnableGet, "kvnHpiNTPEnableGet");
  const SaHpiUint8T from_dhcp = GetFlag(session, kvnHpiNTPFromDHCPEnableGet, "kvnHpiNTPFromDHCPEnableGet");
  SaHpiTextBufferT primary{};
  SaHpiTextBufferT secondary{};
  CheckHpi(kvnHpiNTPServersGet(session, &primary, &secondary), "kvnHpiNTPServersGet");
  return OkReplyWithResponse({{"NTPDHCPEnabled", from_dhcp},
                              {"NTPEnabled", enabled},
                              {"NTPPrim", TextBufferToString(primary)},
                              {"NTPSec", TextBufferToString(secondary)}});
}

json SetNtpSettings(HpiSession session, const json &prm) {
  const auto enabled = Number<SaHpiUint8T>(prm, "NTPEnabled");
  const auto from_dhcp = Number<SaHpiUint8T>(prm, "NTPDHCPEnabled");
  const SaHpiTextBufferT primary = TextBufferFromString(Text(prm, "NTPPrim"));
  const SaHpiTextBufferT secondary = TextBufferFromString(Text(prm, "NTPSec"));
  const auto override_flag = Number<SaHpiUint8T>(prm, "Override");
  CheckHpi(kvnHpiNTPEnableSet(session, enabled), "kvnHpiNTPEnableSet");
  CheckHpi(kvnHpiNTPFromDHCPEnableSet(session, from_dhcp), "kvnHpiNTPFromDHCPEnableSet");
  CheckHpi(kvnHpiNTPServersSet(session, &primary, &secondary, override_flag), "kvnHpiNTPServersSet");
  return OkReply();
}

}  // namespace kvnc
