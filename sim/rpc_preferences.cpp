// Global preferences, date and time, NTP, the iPDU's power-up settings and
// the reachability watch list (see sim_functions.h).
#include <time.h>

#include <string>

#include "client/text_buffer.h"
#include "sim/sim_functions.h"

namespace kvnc::sim {
namespace {

constexpr SaHpiUint32T kDebugLevelQuery = 0xFFFF;

GlobalPreferences &Prefs(Caller &c) { return c.model.preferences.global; }
IpduPower &Power(Caller &c) { return c.model.preferences.ipdu_power; }

template <typename T>
SaErrorT Give(T value, T *out) {
  *out = value;
  return SA_OK;
}

template <typename T>
SaErrorT Keep(T value, T *field) {
  *field = value;
  return SA_OK;
}

// A reachability entry by its id (its position from 1); null when none.
ReachabilityEntry *Entry(Caller &c, SaHpiUint32T id) {
  std::vector<ReachabilityEntry> &entries = c.model.preferences.reachability;
  return id >= 1 && id <= entries.size() ? &entries[id - 1] : nullptr;
}

ReachabilityEntry MakeEntry(const SaHpiTextBufferT *dest, SaHpiUint32T scnt, SaHpiUint32T ucnt, SaHpiUint32T ascc,
                            SaHpiUint32T aunsc, SaHpiUint32T bres, SaHpiBoolT enabled) {
  ReachabilityEntry e;
  e.dest = TextBufferToString(*dest);
  e.scnt = scnt;
  e.ucnt = ucnt;
  e.ascc = ascc;
  e.aunsc = aunsc;
  e.bres = bres;
  e.en = enabled;
  return e;
}

}  // namespace

// ---- global preferences --------------------------------------------------------------

SaErrorT SimCurrentLCDUIFlagsGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T *flags) {
  return Give(Prefs(c).lcd_ui_flags, flags);
}
SaErrorT SimCurrentLCDUIFlagsSet(Caller &c, SaHpiSessionIdT, SaHpiUint32T flags) {
  return Keep(flags, &Prefs(c).lcd_ui_flags);
}
SaErrorT SimTransientAlarmSeverityGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T *severity) {
  return Give(Prefs(c).transient_alarm_severity, severity);
}
SaErrorT SimTransientAlarmSeveritySet(Caller &c, SaHpiSessionIdT, SaHpiUint32T severity) {
  return Keep(severity, &Prefs(c).transient_alarm_severity);
}
SaErrorT SimW1PollIntervalGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T *interval) {
  return Give(Prefs(c).w1_poll_interval, interval);
}
SaErrorT SimW1PollIntervalSet(Caller &c, SaHpiSessionIdT, SaHpiUint32T interval) {
  if (interval == 0) return SA_ERR_HPI_INVALID_PARAMS;  // the bus would be polled without pause
  return Keep(interval, &Prefs(c).w1_poll_interval);
}
SaErrorT SimAssetTagSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *tag) {
  c.model.appliance.asset_tag = TextBufferToString(*tag);
  return SA_OK;
}
SaErrorT SimLocationSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *location) {
  c.model.appliance.location = TextBufferToString(*location);
  return SA_OK;
}

SaErrorT SimDebugLevel(Caller &c, SaHpiUint32T level) {
  if (level != kDebugLevelQuery) Prefs(c).debug_level = level;
  return static_cast<SaErrorT>(Prefs(c).debug_level);
}

// ---- date, time and NTP ----------------------------------------------------------------

SaErrorT SimDateTimeSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *date_time, const SaHpiTextBufferT *zone) {
  const std::string text = TextBufferToString(*date_time);
  const std::string zone_name = TextBufferToString(*zone);
  tm when{};
  const char *end = strptime(text.c_str(), "%Y-%m-%d %H:%M:%S", &when);
  if (end == nullptr || *end != '\0' || zone_name.empty()) return SA_ERR_HPI_INVALID_PARAMS;
  c.model.appliance.clock = static_cast<int64_t>(timegm(&when)) * 1000000000;
  c.model.appliance.time_zone = zone_name;
  return SA_OK;
}

SaErrorT SimNTPEnableGet(Caller &c, SaHpiSessionIdT, SaHpiBoolT *enabled) {
  return Give(Prefs(c).ntp_enabled, enabled);
}
SaErrorT SimNTPEnableSet(Caller &c, SaHpiSessionIdT, SaHpiBoolT enabled) {
  return Keep(enabled, &Prefs(c).ntp_enabled);
}
SaErrorT SimNTPFromDHCPEnableGet(Caller &c, SaHpiSessionIdT, SaHpiBoolT *enabled) {
  return Give(Prefs(c).ntp_from_dhcp, enabled);
}
SaErrorT SimNTPFromDHCPEnableSet(Caller &c, SaHpiSessionIdT, SaHpiBoolT enabled) {
  return Keep(enabled, &Prefs(c).ntp_from_dhcp);
}
SaErrorT SimNTPServersGet(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *primary, SaHpiTextBufferT *secondary) {
  *primary = TextBufferFromString(Prefs(c).ntp_primary);
  *secondary = TextBufferFromString(Prefs(c).ntp_secondary);
  return SA_OK;
}
SaErrorT SimNTPServersSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *primary,
                          const SaHpiTextBufferT *secondary, SaHpiUint8T override_flag) {
  Prefs(c).ntp_primary = TextBufferToString(*primary);
  Prefs(c).ntp_secondary = TextBufferToString(*secondary);
  Prefs(c).ntp_override = override_flag;
  return SA_OK;
}

// ---- iPDU power-up ------------------------------------------------------------------------

SaErrorT SimIpduNominalVoltageFrequencyGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T *voltage, SaHpiUint32T *frequency,
                                           SaHpiUint32T *default_voltage, SaHpiUint32T *default_frequency) {
  if (!c.model.appliance.ipdu) return SA_ERR_HPI_NOT_PRESENT;
  const IpduPower &p = Power(c);
  *voltage = p.voltage;
  *frequency = p.frequency;
  *default_voltage = p.default_voltage;
  *default_frequency = p.default_frequency;
  return SA_OK;
}

SaErrorT SimIpduNominalVoltageFrequencySet(Caller &c, SaHpiSessionIdT, SaHpiUint32T voltage, SaHpiUint32T frequency) {
  if (!c.model.appliance.ipdu) return SA_ERR_HPI_NOT_PRESENT;
  Power(c).voltage = voltage;
  Power(c).frequency = frequency;
  return SA_OK;
}

SaErrorT SimOutletDefaultInitialStateGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T *state) {
  if (!c.model.appliance.ipdu) return SA_ERR_HPI_NOT_PRESENT;
  return Give(Power(c).default_initial_state, state);
}

SaErrorT SimOutletStartupSequenceGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T capacity, SaHpiUint32T *count,
                                     KvnStartupSequenceT *sequence) {
  if (!c.model.appliance.ipdu) return SA_ERR_HPI_NOT_PRESENT;
  const std::vector<StartupStep> &steps = Power(c).sequence;
  if (steps.size() > capacity || steps.size() > KVN_MAX_STARTUP_STEPS) return SA_ERR_HPI_OUT_OF_SPACE;
  *count = static_cast<SaHpiUint32T>(steps.size());
  for (size_t i = 0; i < steps.size(); ++i) sequence->Step[i] = {steps[i].outlet, steps[i].delay};
  return SA_OK;
}

SaErrorT SimOutletStartupSequenceSet(Caller &c, SaHpiSessionIdT, SaHpiUint32T count,
                                     const KvnStartupSequenceT *sequence) {
  if (!c.model.appliance.ipdu) return SA_ERR_HPI_NOT_PRESENT;
  if (count > KVN_MAX_STARTUP_STEPS) return SA_ERR_HPI_INVALID_PARAMS;
  std::vector<StartupStep> steps;
  for (SaHpiUint32T i = 0; i < count; ++i) {
    const KvnStartupStepT &step = sequence->Step[i];
    if (c.model.outlets.Find(step.OutletId) == nullptr) return SA_ERR_HPI_NOT_PRESENT;
    steps.push_back({step.OutletId, step.Delay});
  }
  Power(c).sequence = std::move(steps);
  return SA_OK;
}

SaErrorT SimOutletInitialStateGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T outlet, SaHpiUint32T *state) {
  if (!c.model.appliance.ipdu || c.model.outlets.Find(outlet) == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  const auto &states = Power(c).initial_states;
  auto it = states.find(std::to_string(outlet));
  *state = it == states.end() ? Power(c).default_initial_state : it->second;
  return SA_OK;
}

SaErrorT SimOutletInitialStateSet(Caller &c, SaHpiSessionIdT, SaHpiUint32T outlet, SaHpiUint32T state) {
  if (!c.model.appliance.ipdu || c.model.outlets.Find(outlet) == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  Power(c).initial_states[std::to_string(outlet)] = state;
  return SA_OK;
}

// ---- server reachability ------------------------------------------------------------------

SaErrorT SimServerReachabilityAdd(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *dest, SaHpiUint32T scnt,
                                  SaHpiUint32T ucnt, SaHpiUint32T ascc, SaHpiUint32T aunsc, SaHpiUint32T bres,
                                  SaHpiBoolT enabled, SaHpiUint32T *id) {
  if (dest->DataLength == 0) return SA_ERR_HPI_INVALID_PARAMS;
  std::vector<ReachabilityEntry> &entries = c.model.preferences.reachability;
  entries.push_back(MakeEntry(dest, scnt, ucnt, ascc, aunsc, bres, enabled));
  *id = static_cast<SaHpiUint32T>(entries.size());
  return SA_OK;
}

SaErrorT SimServerReachabilitySet(Caller &c, SaHpiSessionIdT, SaHpiUint32T id, const SaHpiTextBufferT *dest,
                                  SaHpiUint32T scnt, SaHpiUint32T ucnt, SaHpiUint32T ascc, SaHpiUint32T aunsc,
                                  SaHpiUint32T bres, SaHpiBoolT enabled) {
  ReachabilityEntry *e = Entry(c, id);
  if (e == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  if (dest->DataLength == 0) return SA_ERR_HPI_INVALID_PARAMS;
  ReachabilityEntry changed = MakeEntry(dest, scnt, ucnt, ascc, aunsc, bres, enabled);
  changed.reach = e->reach;  // the status stays until the next probe
  changed.unrch = e->unrch;
  *e = std::move(changed);
  return SA_OK;
}

SaErrorT SimServerReachabilityGetCount(Caller &c, SaHpiSessionIdT, SaHpiUint32T *count) {
  return Give(static_cast<SaHpiUint32T>(c.model.preferences.reachability.size()), count);
}

SaErrorT SimServerReachabilityDelete(Caller &c, SaHpiSessionIdT, SaHpiUint32T id) {
  if (Entry(c, id) == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  std::vector<ReachabilityEntry> &entries = c.model.preferences.reachability;
  entries.erase(entries.begin() + (id - 1));
  return SA_OK;
}

SaErrorT SimServerReachabilityGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T id, SaHpiTextBufferT *dest,
                                  SaHpiUint32T *scnt, SaHpiUint32T *ucnt, SaHpiUint32T *ascc, SaHpiUint32T *aunsc,
                                  SaHpiUint32T *bres, SaHpiBoolT *enabled, SaHpiBoolT *reachable,
                                  SaHpiBoolT *unreachable) {
  const ReachabilityEntry *e = Entry(c, id);
  if (e == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  *dest = TextBufferFromString(e->dest);
  *scnt = e->scnt;
  *ucnt = e->ucnt;
  *ascc = e->ascc;
  *aunsc = e->aunsc;
  *bres = e->bres;
  *enabled = e->en;
  *reachable = e->reach;
  *unreachable = e->unrch;
  return SA_OK;
}

}  // namespace kvnc::sim
