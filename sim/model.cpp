#include "sim/model.h"

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <numbers>
#include <stdexcept>

namespace kvnc::sim {

// Member lists of the JSON form: a member missing from the JSON keeps the
// default of its declaration.
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(EntityElement, type, location)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Units, degrees, length, pressure)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(WebParameters, idle_enabled, idle_timeout, wait_timeout, log_polling)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(PasswordExpiration, days, warn)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(SnmpV3, enabled, rw, auth_protocol, privacy_protocol, aap,
                                                auth_passphrase, privacy_passphrase)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Role, description, pmask, omask)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(User, uid, full_name, phone, email, enabled, external, roles,
                                                other_roles, language, units, web, password_expiration, password,
                                                password_forced, locked, snmpv3, ssh_key)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Route6, prefix, address)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Adapter, name, ipv4, mac, auto_negotiation, duplex, speed, dhcp4,
                                                gateway4, ipv6_auto, dhcp6, ipv6, routes6)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(RefusedLogin, address, user)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(IpduCounts, inlets, plugs, phases, branches, rcms)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Appliance, host_name, firmware, clock, description, language,
                                                external_sensor_z, units, web, adapters, refused_logins, device_name,
                                                model, hardware, serial, product, asset_tag, location, utc_offset,
                                                time_zone, time_zone1, bacnet_enabled, bacnet_device_id, ipdu,
                                                tree_text, snmp_enabled, snmp_v12_enabled, dhcp4_rejected,
                                                dhcp6_rejected, dns4, dns6, dns_preference, search_path)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(ReadingSource, value, swing, period)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(SensorRange, max, min, nominal, normal_max, normal_min)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(DataFormat, reading_type, base_units, modifier_units, modifier_use,
                                                percentage, accuracy, range)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(ThresholdValues, LCr, LMj, LMn, UCr, UMj, UMn, PHs, NHs)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(SensorThresholds, read, write, nonlinear, values)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(SensorInfo, bum, mum, res, tol)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Sensor, name, description, type, category, enable_ctrl, event_ctrl,
                                                events, format, thresholds, reading, state, assert_mask, deassert_mask,
                                                severities, assertion_delays, info, observed, user_type)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Control, name, description, type, output, default_mode, mode_read_only,
                                                write_only, default_state, min, max, mode, state, state_names,
                                                max_chars, max_lines, lines)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(IdrField, id, type, read_only, text)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(IdrArea, id, type, read_only, fields)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Inventory, name, description, persistent, read_only, update_count,
                                                areas)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Event, source, type, time, severity, data)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(LogEntry, id, time, event)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(EventLog, size, enabled, overflow, overflow_action, updated, entries)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Alarm, id, time, severity, acknowledged, type, resource, sensor, state,
                                                name, mid, data)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Resource, tag, description, entity_path, severity, failed, removable,
                                                sensors, controls, inventories, event_log)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Outlet, resource, first_control, last_control, first_sensor,
                                                last_sensor, user_name, name_flag, type)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(PersistentResource, name)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(UserEvent, time, uid, code, level, text)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Action, disp, type, parm)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(ActionList, name, actions)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(EventFilter, name, expression, period, list, actions)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(ManagedSensor, resource, sensor, attached, automatic, description, type,
                                                subtype, x, y, z)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(UserSensorType, id, name, states, severities)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(SensorLogRecord, sensor, count, state_count, avr, min, max, dsp, aes)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(SensorLogEntry, index, time, records)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(SensorLog, enabled, period, size, taken, next_index, entries)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(GroupControl, resource, control, delay)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(GroupSensor, resource, sensor)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(GroupJobStep, resource, control, due)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(GroupJob, mode, value, steps, processed, error, cancelled)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Group, name, controls, sensors, job)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Rights, administer, control, configure)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Iot, providers, dispatcher, connected, name, provider, endpoint,
                                                directory, last_result, web_sockets, refusal)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(LuaSettings, enabled, timeout)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Modbus, drivers, serial, network, discoveries)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Services, http_port, https_port, force_https, ssh_enabled, ssh_port,
                                                ssh_method, telnet_enabled, telnet_port, snmp_read_community,
                                                snmp_write_community, snmp_sys_contact, snmp_sys_name,
                                                snmp_sys_location, snmp_trap_destination, snmp_trap_v2, smtp_server,
                                                smtp_address, smtp_recipients, redfish_enabled, redfish_port, iot)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Model, rights, appliance, roles, users, resources, outlets, user_events,
                                                event_log, alarms, next_alarm_id, event_filters, action_lists,
                                                managed_sensors, user_types, next_user_type, sensor_log, groups,
                                                group_delay_scale, persistent_resources, access_policy, services,
                                                preferences, system, lua, modbus)

namespace {

// Names are unique within filters and within lists, and a filter uses only a
// list that exists.
void CheckEventFilters(const Model &model) {
  auto repeated = [](const auto &items, size_t i) {
    for (size_t k = 0; k < i; ++k) {
      if (items[k].name == items[i].name) return true;
    }
    return false;
  };
  for (size_t i = 0; i < model.action_lists.size(); ++i) {
    if (repeated(model.action_lists, i)) {
      throw std::invalid_argument("action list " + model.action_lists[i].name + " twice");
    }
  }
  for (size_t i = 0; i < model.event_filters.size(); ++i) {
    const EventFilter &filter = model.event_filters[i];
    if (repeated(model.event_filters, i)) throw std::invalid_argument("event filter " + filter.name + " twice");
    if (filter.list.empty()) continue;
    bool found = false;
    for (const ActionList &list : model.action_lists) found = found || list.name == filter.list;
    if (!found) throw std::invalid_argument("event filter " + filter.name + " uses no list named " + filter.list);
  }
}

}  // namespace

uint32_t ParseId(const std::string &key) {
  const std::invalid_argument bad("\"" + key + "\" is not a number of 32 bits");
  if (key.empty() || key.size() > 10) throw bad;
  uint64_t value = 0;
  for (char c : key) {
    if (c < '0' || c > '9') throw bad;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (value > UINT32_MAX) throw bad;
  return static_cast<uint32_t>(value);
}

Model ModelFromJson(const Json &json) {
  if (!json.is_object()) throw std::invalid_argument("a model is a JSON object");
  Model model = json.get<Model>();
  CheckEventFilters(model);
  std::stable_sort(model.alarms.begin(), model.alarms.end(),
                   [](const Alarm &a, const Alarm &b) { return a.id < b.id; });
  for (const auto &[name, user] : model.users) {
    for (const auto &[other_name, other] : model.users) {
      if (name != other_name && user.uid == other.uid) {
        std::string message = "users " + name;
        message += " and " + other_name;
        message += " share uid " + std::to_string(user.uid);
        throw std::invalid_argument(message);
      }
    }
  }
  return model;
}

Json ModelToJson(const Model &model) { return model; }

Json ReadJsonFile(const std::string &path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw std::runtime_error("cannot read " + path + ": " + std::strerror(errno));
  std::string text;
  char chunk[65536];
  ssize_t n;
  while ((n = read(fd, chunk, sizeof chunk)) > 0) text.append(chunk, static_cast<size_t>(n));
  const int error = errno;
  close(fd);
  if (n < 0) throw std::runtime_error("cannot read " + path + ": " + std::strerror(error));
  return Json::parse(text);
}

double WallClockSeconds() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double SensorValue(const Sensor &sensor, double now) {
  const ReadingSource &r = sensor.reading;
  if (r.swing == 0 || !(r.period > 0)) return r.value;
  return r.value + r.swing * std::sin(2 * std::numbers::pi * std::fmod(now, r.period) / r.period);
}

SaHpiSensorReadingT MakeReading(uint32_t reading_type, double value) {
  SaHpiSensorReadingT reading{};
  reading.IsSupported = SAHPI_TRUE;
  reading.Type = reading_type;
  if (!std::isfinite(value)) value = 0;
  switch (reading_type) {
    case SAHPI_SENSOR_READING_TYPE_INT64:
      reading.Value.SensorInt64 = value <= -9.2e18  ? INT64_MIN
                                  : value >= 9.2e18 ? INT64_MAX
                                                    : static_cast<int64_t>(value);
      break;
    case SAHPI_SENSOR_READING_TYPE_UINT64:
      reading.Value.SensorUint64 = value <= 0 ? 0 : value >= 1.8e19 ? UINT64_MAX : static_cast<uint64_t>(value);
      break;
    case SAHPI_SENSOR_READING_TYPE_FLOAT64:
      reading.Value.SensorFloat64 = value;
      break;
    default:  // a buffer reading has no number to show
      reading.Type = SAHPI_SENSOR_READING_TYPE_BUFFER;
      break;
  }
  return reading;
}

double ReadingNumber(const SaHpiSensorReadingT &reading) {
  switch (reading.Type) {
    case SAHPI_SENSOR_READING_TYPE_INT64:
      return static_cast<double>(reading.Value.SensorInt64);
    case SAHPI_SENSOR_READING_TYPE_UINT64:
      return static_cast<double>(reading.Value.SensorUint64);
    case SAHPI_SENSOR_READING_TYPE_FLOAT64:
      return reading.Value.SensorFloat64;
    default:
      return 0;
  }
}

SaHpiEventStateT SensorEventState(const Sensor &sensor, double value) {
  if (sensor.category != SAHPI_EC_THRESHOLD || !sensor.thresholds) return sensor.state;
  const SensorThresholds &t = sensor.thresholds.value();
  struct Level {
    SaHpiSensorThdMaskT bit;
    const std::optional<double> ThresholdValues::*threshold;
    bool upper;
    SaHpiEventStateT state;
  };
  static constexpr Level kLevels[] = {
      {SAHPI_STM_LOW_MINOR, &ThresholdValues::LMn, false, SAHPI_ES_LOWER_MINOR},
      {SAHPI_STM_LOW_MAJOR, &ThresholdValues::LMj, false, SAHPI_ES_LOWER_MAJOR},
      {SAHPI_STM_LOW_CRIT, &ThresholdValues::LCr, false, SAHPI_ES_LOWER_CRIT},
      {SAHPI_STM_UP_MINOR, &ThresholdValues::UMn, true, SAHPI_ES_UPPER_MINOR},
      {SAHPI_STM_UP_MAJOR, &ThresholdValues::UMj, true, SAHPI_ES_UPPER_MAJOR},
      {SAHPI_STM_UP_CRIT, &ThresholdValues::UCr, true, SAHPI_ES_UPPER_CRIT},
  };
  SaHpiEventStateT state = 0;
  for (const Level &level : kLevels) {
    const std::optional<double> &threshold = t.values.*level.threshold;
    if ((t.read & level.bit) == 0 || !threshold) continue;
    if (level.upper ? value >= *threshold : value <= *threshold) state |= level.state;
  }
  return state;
}

SaHpiEntityPathT MakeEntityPath(const std::vector<EntityElement> &elements) {
  SaHpiEntityPathT path{};
  size_t n = 0;
  for (; n < elements.size() && n < SAHPI_MAX_ENTITY_PATH; ++n) {
    path.Entry[n].EntityType = elements[n].type;
    path.Entry[n].EntityLocation = elements[n].location;
  }
  if (n < SAHPI_MAX_ENTITY_PATH) path.Entry[n].EntityType = SAHPI_ENT_ROOT;
  return path;
}

PrivilegeMasks UserPrivileges(const Model &model, const User &user) {
  PrivilegeMasks masks;
  for (const std::vector<std::string> *list : {&user.roles, &user.other_roles}) {
    for (const std::string &name : *list) {
      auto role = model.roles.find(name);
      if (role == model.roles.end()) continue;
      masks.first |= role->second.pmask;
      masks.second |= role->second.omask;
    }
  }
  return masks;
}

}  // namespace kvnc::sim
