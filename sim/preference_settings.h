// The simulated appliance's preferences, iPDU power-up settings and server
// reachability watch list, a member of the model (see model.h for the
// conventions of the JSON form). The numbers mean something to the daemon
// only; they are kept as given.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace kvnc::sim {

struct GlobalPreferences {
  uint32_t lcd_ui_flags = 0;
  uint32_t transient_alarm_severity = 0;
  uint32_t debug_level = 0;
  uint32_t w1_poll_interval = 10;  // 1-Wire bus polling, seconds
  uint8_t ntp_enabled = 0;
  uint8_t ntp_from_dhcp = 0;
  std::string ntp_primary, ntp_secondary;
  uint8_t ntp_override = 0;
};

struct StartupStep {
  uint32_t outlet = 0;
  uint32_t delay = 0;
};

// What an iPDU does at power-up. Outlets without an initial state of their
// own take the default.
struct IpduPower {
  uint32_t voltage = 230;
  uint32_t frequency = 50;
  uint32_t default_voltage = 230;
  uint32_t default_frequency = 50;
  uint32_t default_initial_state = 0;
  std::vector<StartupStep> sequence;               // in switching order, at most 64
  std::map<std::string, uint32_t> initial_states;  // by outlet number
};

// A watched server; its id is its position from 1.
struct ReachabilityEntry {
  std::string dest;
  uint32_t scnt = 0, ucnt = 0, ascc = 0, aunsc = 0, bres = 0;
  uint8_t en = 1;
  uint8_t reach = 0;  // status the daemon reports
  uint8_t unrch = 0;
};

struct PreferenceSettings {
  GlobalPreferences global;
  IpduPower ipdu_power;
  std::vector<ReachabilityEntry> reachability;
};

NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(GlobalPreferences, lcd_ui_flags, transient_alarm_severity, debug_level,
                                                w1_poll_interval, ntp_enabled, ntp_from_dhcp, ntp_primary,
                                                ntp_secondary, ntp_override)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(StartupStep, outlet, delay)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(IpduPower, voltage, frequency, default_voltage, default_frequency,
                                                default_initial_state, sequence, initial_states)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(ReachabilityEntry, dest, scnt, ucnt, ascc, aunsc, bres, en, reach,
                                                unrch)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(PreferenceSettings, global, ipdu_power, reachability)

}  // namespace kvnc::sim
