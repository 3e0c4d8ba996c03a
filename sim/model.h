// The simulated appliance: everything the controller daemon knows, as plain
// records that convert to and from JSON member by member (the JSON key is the
// member's name). A model is loaded from a JSON file; RPCs and the control
// channel change it in memory. Top level: rights (which privilege bits grant
// what), appliance (identity and global settings), roles, users, resources
// (with their sensors, controls and inventories), outlets, user_events.
//
// Conventions of the JSON form:
//  - resources, instruments and outlets are objects keyed by their number
//    ("4002": {...}), users and roles by their name;
//  - a member left out takes the default written here;
//  - readings and threshold values are numbers, read with the sensor's
//    reading type;
//  - entity paths list their elements innermost first; the root is implied.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "client/hpi_types.h"
#include "sim/access_policy.h"
#include "sim/preference_settings.h"
#include "sim/system_state.h"

// Absent or null members are std::nullopt, and back.
namespace nlohmann {
template <typename T>
struct adl_serializer<std::optional<T>> {
  static void to_json(json &j, const std::optional<T> &value) {
    if (value) {
      j = *value;
    } else {
      j = nullptr;
    }
  }
  static void from_json(const json &j, std::optional<T> &value) {
    if (j.is_null()) {
      value.reset();
    } else {
      value = j.get<T>();
    }
  }
};
}  // namespace nlohmann

namespace kvnc::sim {

using Json = nlohmann::json;

// A map whose JSON form is an object keyed by decimal numbers.
template <typename T>
struct ById : std::map<uint32_t, T> {
  T *Find(uint32_t id) {
    auto it = this->find(id);
    return it == this->end() ? nullptr : &it->second;
  }
  const T *Find(uint32_t id) const {
    auto it = this->find(id);
    return it == this->end() ? nullptr : &it->second;
  }
};

// "4002" -> 4002; anything but a decimal number of 32 bits throws.
uint32_t ParseId(const std::string &key);

template <typename T>
void to_json(Json &j, const ById<T> &map) {
  j = Json::object();
  for (const auto &[id, value] : map) j[std::to_string(id)] = value;
}
template <typename T>
void from_json(const Json &j, ById<T> &map) {
  if (!j.is_object()) throw std::invalid_argument("expected an object keyed by numbers, got " + j.dump());
  map.clear();
  for (const auto &[key, value] : j.items()) map[ParseId(key)] = value.template get<T>();
}

struct EntityElement {
  uint32_t type = 0;
  uint32_t location = 0;
};

// ---- users, roles and the appliance's settings -------------------------------

struct Units {
  uint8_t degrees = 0;
  uint8_t length = 0;
  uint8_t pressure = 0;
};

struct WebParameters {
  uint8_t idle_enabled = 1;
  uint32_t idle_timeout = 3000;
  uint32_t wait_timeout = 30;
  uint32_t log_polling = 5;
};

struct PasswordExpiration {
  int32_t days = 90;  // days left before the password expires
  uint8_t warn = 0;
};

// A user's SNMPv3 access; the numbers are passed through as the API gives them.
struct SnmpV3 {
  uint8_t enabled = 0;
  uint8_t rw = 0;
  uint32_t auth_protocol = 2;
  uint32_t privacy_protocol = 1;
  uint8_t aap = 0;
  std::string auth_passphrase, privacy_passphrase;
};

struct Role {
  std::string description;
  uint64_t pmask = 0;  // privilege mask
  uint64_t omask = 0;  // object privilege mask
};

struct User {
  uint32_t uid = 0;
  std::string full_name, phone, email;
  uint8_t enabled = 1;
  uint8_t external = 0;
  std::vector<std::string> roles;
  std::vector<std::string> other_roles;
  std::optional<uint32_t> language;  // none: no language of their own
  std::optional<Units> units;        // none: the appliance's units
  std::optional<WebParameters> web;  // none: the appliance's parameters
  PasswordExpiration password_expiration;
  std::string password;          // as last set through the daemon; empty: never set
  uint8_t password_forced = 0;   // the last change asked for another at the next login
  uint8_t locked = 0;            // locked out after failed logins
  std::optional<SnmpV3> snmpv3;  // none: no SNMPv3 access of their own
  std::string ssh_key;           // as read from the last key file; empty: none
};

struct Route6 {
  std::string prefix;  // "::/0" is the default route
  std::string address;
};

struct Adapter {
  std::string name;
  std::string ipv4;  // address with prefix length, "192.168.1.10/24"; "0.0.0.0/0": disabled
  std::string mac;
  uint8_t auto_negotiation = 1;
  uint8_t duplex = 1;  // full
  int16_t speed = 1000;
  std::optional<uint8_t> dhcp4;  // none: the daemon cannot tell (SA_ERR_HPI_NOT_PRESENT)
  std::string gateway4;
  uint8_t ipv6_auto = 1;
  uint8_t dhcp6 = 0;
  std::string ipv6;  // addresses with prefix lengths, "," between them
  std::vector<Route6> routes6;
};

// Logins from `address` are refused: an exact address, or a prefix when it
// ends in "*". For every user, or for `user` alone when it is not empty.
struct RefusedLogin {
  std::string address;
  std::string user;
};

// What kvnHpiIpduCountsGet reports besides the number of outlets.
struct IpduCounts {
  uint32_t inlets = 1;
  uint32_t plugs = 1;
  uint32_t phases = 1;
  uint32_t branches = 0;
  uint32_t rcms = 0;
};

struct Appliance {
  std::string host_name = "korvane";
  std::string firmware = "3.2.1";
  // The controller's clock in HPI nanoseconds; none: the wall clock. Events
  // are stamped with it, so a test that pins it gets fixed time stamps.
  std::optional<int64_t> clock;
  std::string description;
  uint32_t language = SAHPI_LANG_ENGLISH;
  uint32_t external_sensor_z = 0;
  Units units;
  WebParameters web;
  std::vector<Adapter> adapters;  // adapter index n is adapters[n - 1]
  std::vector<RefusedLogin> refused_logins;
  // The device information page. A serial number or product name left out
  // is one the daemon does not know (SA_ERR_HPI_NOT_PRESENT).
  std::string device_name = "Korvane";
  std::string model = "RC-200";
  std::string hardware = "1.0";
  std::optional<std::string> serial;
  std::optional<std::string> product;
  std::string asset_tag, location;
  std::string utc_offset = "+00:00";
  std::string time_zone = "UTC";
  std::string time_zone1 = "UTC";
  uint8_t bacnet_enabled = 0;
  uint32_t bacnet_device_id = 0;
  std::optional<IpduCounts> ipdu;  // none: the product is no iPDU; its outlets are the model's
  // Written into device tree files instead of the document built from the
  // model: for documents that do not parse, or are very large.
  std::optional<std::string> tree_text;
  uint8_t snmp_enabled = 0;      // SNMP agent, and SNMPv3 with it
  uint8_t snmp_v12_enabled = 0;  // SNMP versions 1 and 2c
  // Network settings of the whole controller; the lists are texts as the daemon keeps them.
  std::string dhcp4_rejected, dhcp6_rejected;  // DHCP servers whose offers are refused
  std::string dns4, dns6;                      // DNS servers, "," between them
  uint8_t dns_preference = 0;
  std::string search_path;  // DNS domain search path
};

// ---- instruments -------------------------------------------------------------

// A reading that moves with the wall clock t (seconds):
// value + swing * sin(2 pi t / period).
struct ReadingSource {
  double value = 0;
  double swing = 0;
  double period = 600;
};

struct SensorRange {
  std::optional<double> max, min, nominal, normal_max, normal_min;
};

struct DataFormat {
  uint32_t reading_type = SAHPI_SENSOR_READING_TYPE_FLOAT64;
  uint32_t base_units = SAHPI_SU_UNSPECIFIED;
  uint32_t modifier_units = SAHPI_SU_UNSPECIFIED;
  uint32_t modifier_use = SAHPI_SMUU_NONE;
  uint8_t percentage = 0;
  double accuracy = 0;
  SensorRange range;
};

// Threshold values under the names the web API gives them.
struct ThresholdValues {
  std::optional<double> LCr, LMj, LMn, UCr, UMj, UMn, PHs, NHs;
};

struct SensorThresholds {
  uint8_t read = 0;   // SaHpiSensorThdMaskT of the readable values
  uint8_t write = 0;  // ... and of the writable ones
  uint8_t nonlinear = 0;
  ThresholdValues values;
};

// What kvnHpiSensorExtendedInfoGet reports.
struct SensorInfo {
  int8_t bum = 0;  // base unit modifier
  int8_t mum = 0;  // modifier unit modifier
  double res = 0;  // resolution
  double tol = 0;  // tolerance
};

struct Sensor {
  std::string name;
  std::string description;
  uint32_t type = SAHPI_TEMPERATURE;
  uint8_t category = SAHPI_EC_THRESHOLD;
  uint8_t enable_ctrl = 0;
  uint32_t event_ctrl = SAHPI_SEC_PER_EVENT;
  uint16_t events = 0;                         // supported event states
  std::optional<DataFormat> format;            // none: the sensor has no reading
  std::optional<SensorThresholds> thresholds;  // none: no thresholds to access
  ReadingSource reading;
  uint16_t state = 0;  // event state of a sensor that is not a threshold sensor
  uint16_t assert_mask = 0;
  uint16_t deassert_mask = 0;
  std::vector<uint32_t> severities;        // per event state bit, lowest first; missing ones are SAHPI_OK
  std::vector<uint32_t> assertion_delays;  // LMn, LMj, LCr, UMn, UMj, UCr
  SensorInfo info;
  // The event state last reported in events and alarms; none: not looked at
  // yet (the first look reports every asserted state, as the daemon does
  // when it starts).
  std::optional<uint16_t> observed;
  std::string user_type;  // the user type given by name; empty: none
};

struct Control {
  std::string name;
  std::string description;
  uint32_t type = SAHPI_CTRL_TYPE_DIGITAL;
  uint32_t output = SAHPI_CTRL_GENERIC;
  uint32_t default_mode = SAHPI_CTRL_MODE_MANUAL;
  uint8_t mode_read_only = 0;
  uint8_t write_only = 0;
  int64_t default_state = 0;  // digital, discrete and analog controls
  int32_t min = 0;            // analog range
  int32_t max = 0;
  uint32_t mode = SAHPI_CTRL_MODE_MANUAL;
  int64_t state = 0;
  std::vector<std::string> state_names;  // discrete: the name of each state
  uint8_t max_chars = 0;                 // text controls
  uint8_t max_lines = 0;
  std::vector<std::string> lines;
};

struct IdrField {
  uint32_t id = 0;
  uint32_t type = SAHPI_IDR_FIELDTYPE_CUSTOM;
  uint8_t read_only = 1;
  std::string text;
};

struct IdrArea {
  uint32_t id = 0;
  uint32_t type = SAHPI_IDR_AREATYPE_PRODUCT_INFO;
  uint8_t read_only = 1;
  std::vector<IdrField> fields;
};

struct Inventory {
  std::string name;
  std::string description;
  uint8_t persistent = 0;
  uint8_t read_only = 1;
  uint32_t update_count = 0;
  std::vector<IdrArea> areas;
};

// ---- events, event logs and alarms ----------------------------------------------

// An HPI event. `data` holds the fields of the event type's member of the
// event data union under their standard names ("SensorNum", "EventState",
// "UserEventData", ...); missing fields are zero. Texts are strings;
// readings are {"IsSupported", "Type", "Value"}.
struct Event {
  uint32_t source = SAHPI_UNSPECIFIED_RESOURCE_ID;
  uint32_t type = SAHPI_ET_USER;  // SaHpiEventTypeT; any number, for odd logs
  int64_t time = 0;               // HPI nanoseconds: relative up to 0x0C00000000000000
  uint32_t severity = SAHPI_INFORMATIONAL;
  Json data = Json::object();
};

struct LogEntry {
  uint32_t id = 0;
  int64_t time = 0;
  Event event;
};

// Entry ids count up from 1 and, once the log is full and overwrites, wrap
// within its size (after `size` comes 1); a clear starts again at 1.
struct EventLog {
  uint32_t size = 1000;
  uint8_t enabled = 1;
  uint8_t overflow = 0;
  uint32_t overflow_action = SAHPI_EL_OVERFLOW_OVERWRITE;
  int64_t updated = SAHPI_TIME_UNSPECIFIED;
  std::vector<LogEntry> entries;  // oldest first
};

// An alarm of the domain alarm table. Sensor conditions name a sensor and
// its asserted state; the others carry a name (and OEM data).
struct Alarm {
  uint32_t id = 0;
  int64_t time = 0;
  uint32_t severity = SAHPI_MINOR;
  uint8_t acknowledged = 0;
  uint32_t type = SAHPI_STATUS_COND_TYPE_SENSOR;  // SaHpiStatusCondTypeT
  uint32_t resource = 0;
  uint32_t sensor = 0;
  uint16_t state = 0;
  std::string name;  // bytes of the condition's name, up to 256
  uint32_t mid = 0;
  std::string data;
};

struct Resource {
  std::string tag;
  std::string description;
  std::vector<EntityElement> entity_path;
  uint32_t severity = SAHPI_OK;
  uint8_t failed = 0;
  uint8_t removable = 0;  // kvnHpiResourceRemove may remove it
  ById<Sensor> sensors;
  ById<Control> controls;
  ById<Inventory> inventories;
  std::optional<EventLog> event_log;  // none: the resource keeps no log of its own
};

// An iPDU outlet: its instruments are the numbers first..last on `resource`.
struct Outlet {
  uint32_t resource = 0;
  uint32_t first_control = 1;
  uint32_t last_control = 0;
  uint32_t first_sensor = 1;
  uint32_t last_sensor = 0;
  std::string user_name;
  uint8_t name_flag = 0;  // the flag given with the last name
  uint32_t type = 1;      // the daemon's outlet type code
};

// A resource the daemon keeps across restarts, by id.
struct PersistentResource {
  std::string name;
};

// An audit line received through saHpiGenerateUserEvent.
struct UserEvent {
  double time = 0;
  uint32_t uid = 0;
  uint32_t code = 0;
  uint32_t level = 0;
  std::string text;
};

// ---- event filters and action lists ---------------------------------------------

// What the daemon does when a filter matches. Type and disposition mean
// something to its event handling only; `parm` is the text as it was sent.
struct Action {
  uint32_t disp = 0;
  uint32_t type = 0;
  std::string parm;
};

// A named list of actions that filters may share.
struct ActionList {
  std::string name;
  std::vector<Action> actions;
};

// An expression over events, evaluated every `period` seconds when it has
// one. Its actions are its own while `list` is empty; otherwise it uses the
// named list of that name (and `actions` is not used).
struct EventFilter {
  std::string name;
  std::string expression;
  std::optional<uint32_t> period;
  std::string list;
  std::vector<Action> actions;
};

// ---- managed sensors, user sensor types and the sensor log -------------------------

// A sensor under management, by its managed number. It keeps the sensor it
// was last attached to while detached.
struct ManagedSensor {
  uint32_t resource = 0;
  uint32_t sensor = 0;
  uint8_t attached = 1;
  uint8_t automatic = 0;  // the flag it was put under management with
  std::string description, type, subtype, x, y, z;
};

// A user-defined sensor type: named states, one severity each.
struct UserSensorType {
  uint32_t id = 0;
  std::string name;
  std::vector<std::string> states;
  std::vector<uint32_t> severities;
};

// What one managed sensor measured over one period of the sensor log.
struct SensorLogRecord {
  uint32_t sensor = 0;                        // managed number
  uint32_t count = 0;                         // readings taken
  uint32_t state_count = 0;                   // readings with an event state asserted
  double avr = 0, min = 0, max = 0, dsp = 0;  // average, extremes, standard deviation
  uint16_t aes = 0;                           // event states asserted during the period
};

struct SensorLogEntry {
  uint32_t index = 0;
  int64_t time = 0;  // HPI nanoseconds: the end of the period
  std::vector<SensorLogRecord> records;
};

// One entry per period (seconds) for every attached managed sensor while
// enabled, from the moving readings; at most `size` kept. `taken` is the end
// of the last period looked at (seconds); none: not started yet.
struct SensorLog {
  uint8_t enabled = 1;
  uint32_t period = 300;
  uint32_t size = 288;
  std::optional<int64_t> taken;
  uint32_t next_index = 0;
  std::vector<SensorLogEntry> entries;  // oldest first
};

// ---- groups and the group switch job -----------------------------------------------

// A control of a group, switched `delay` seconds after the member before it.
struct GroupControl {
  uint32_t resource = 0;
  uint32_t control = 0;
  uint32_t delay = 0;
};

struct GroupSensor {
  uint32_t resource = 0;
  uint32_t sensor = 0;
};

// One control of a switch job and when (wall clock seconds) it is switched.
struct GroupJobStep {
  uint32_t resource = 0;
  uint32_t control = 0;
  double due = 0;
};

// Switching every control of a group to one mode and value, member after
// member; `processed` steps are done. The first failing step's result is
// `error`; the job goes on with the next.
struct GroupJob {
  uint32_t mode = SAHPI_CTRL_MODE_MANUAL;
  int64_t value = 0;
  std::vector<GroupJobStep> steps;
  uint32_t processed = 0;
  int32_t error = 0;
  uint8_t cancelled = 0;
};

// Members are kept by position, which is their index in the daemon's walks.
struct Group {
  std::string name;
  std::vector<GroupControl> controls;
  std::vector<GroupSensor> sensors;
  std::optional<GroupJob> job;  // the last switch job, running or ended
};

// Which bits of a user's first privilege mask grant each right the daemon
// checks (any one bit of a right's mask grants it). Reading needs none; an
// administrator holds every right and may also act on other users' settings.
struct Rights {
  uint64_t administer = 0x002;  // appliance-wide settings, other users' settings, and every right below
  uint64_t control = 0x004;     // switching controls and outlets
  uint64_t configure = 0x008;   // changing instruments, resources and their names
};

// The link to a cloud IoT service. Populating a configuration of a provider
// the system lacks answers SA_ERR_HPI_NOT_PRESENT; one that is refused
// answers SA_OK with a zero result flag and the refusal as message.
struct Iot {
  std::vector<std::string> providers = {"aws", "greengrass", "azure"};  // configurations it can write
  uint8_t dispatcher = 1;  // 0: no MQTT dispatcher; the status answers SA_ERR_HPI_INVALID_STATE
  uint8_t connected = 0;
  std::string name;       // the configured thing; empty: none
  std::string provider;   // "aws", "greengrass" or "azure" once configured
  std::string endpoint;   // Greengrass only
  std::string directory;  // where the daemon was told to write the configuration
  int32_t last_result = 0;
  uint8_t web_sockets = 0;
  std::string refusal;  // not empty: every population is refused with this message
};

// The network services the controller runs, as their setters left them.
struct Services {
  uint16_t http_port = 80;
  uint16_t https_port = 443;
  uint8_t force_https = 0;
  uint8_t ssh_enabled = 1;
  uint16_t ssh_port = 22;
  uint8_t ssh_method = 0;  // the daemon's authentication method code
  uint8_t telnet_enabled = 0;
  uint16_t telnet_port = 23;
  std::string snmp_read_community = "public";
  std::string snmp_write_community = "private";
  std::string snmp_sys_contact, snmp_sys_name, snmp_sys_location, snmp_trap_destination;
  uint8_t snmp_trap_v2 = 0;
  std::string smtp_server, smtp_address;
  std::string smtp_recipients;  // as the daemon keeps them: one text
  uint8_t redfish_enabled = 0;
  uint16_t redfish_port = 443;
  std::optional<Iot> iot;  // none: the system has no IoT support
};

// The Lua engine's global switch and time-out (seconds). Scripts are
// verified where the daemon keeps them, in the repository directory.
struct LuaSettings {
  uint8_t enabled = 0;
  uint32_t timeout = 30;
};

// Modbus: the built-in drivers, the parameter strings of the interfaces of
// the first range (numbered from 1) and of the second (numbered from 8), and
// each discovery asked for: "" for one everywhere, else "<driver> <address>".
struct Modbus {
  std::vector<std::string> drivers = {"generic-rtu", "generic-tcp"};
  std::vector<std::string> serial;
  std::vector<std::string> network;
  std::vector<std::string> discoveries;
};

struct Model {
  Rights rights;
  Appliance appliance;
  std::map<std::string, Role> roles;
  std::map<std::string, User> users;
  ById<Resource> resources;
  ById<Outlet> outlets;
  std::vector<UserEvent> user_events;      // oldest first
  EventLog event_log;                      // the domain event log
  std::vector<Alarm> alarms;               // ascending ids
  uint32_t next_alarm_id = 1;              // ids are not used twice
  std::vector<EventFilter> event_filters;  // in the order the daemon enumerates them
  std::vector<ActionList> action_lists;    // likewise
  ById<ManagedSensor> managed_sensors;
  std::vector<UserSensorType> user_types;  // in the order the daemon enumerates them
  uint32_t next_user_type = 1;             // ids are not used twice
  SensorLog sensor_log;
  std::vector<Group> groups;     // in the order the daemon enumerates them
  double group_delay_scale = 1;  // member delays are multiplied by it (tests shorten them)
  ById<PersistentResource> persistent_resources;
  AccessPolicy access_policy;      // login restrictions, LDAP, packet filters
  Services services;               // web ports, SSH, Telnet, SNMP texts, mail, Redfish, IoT
  PreferenceSettings preferences;  // global preferences, NTP, iPDU power-up, reachability watch list
  SystemState system;              // reset/restart/reboot, configuration writes, certificate
  LuaSettings lua;
  Modbus modbus;
};

// Throws std::exception with a message naming what is wrong.
Model ModelFromJson(const Json &json);
Json ModelToJson(const Model &model);
// The JSON text of a file; throws when it cannot be read or parsed.
Json ReadJsonFile(const std::string &path);

// The demo appliance shipped as sim/demo-appliance.json, built into the program.
const char *DemoModelText();

// ---- what the records mean -----------------------------------------------------

// Seconds of the wall clock, the time base of moving readings.
double WallClockSeconds();
double SensorValue(const Sensor &sensor, double now);

// A supported reading of `reading_type` holding `value` (INT64 and UINT64
// truncate, the latter at 0).
SaHpiSensorReadingT MakeReading(uint32_t reading_type, double value);
// The value of a reading as a number, for comparisons and storage.
double ReadingNumber(const SaHpiSensorReadingT &reading);

// The event state a sensor reports for `value`: a threshold sensor asserts
// each lower state at or below its readable threshold and each upper state at
// or above it; any other sensor reports its `state`.
SaHpiEventStateT SensorEventState(const Sensor &sensor, double value);

SaHpiEntityPathT MakeEntityPath(const std::vector<EntityElement> &elements);

// The two privilege masks of a user: the union of the masks of their roles.
struct PrivilegeMasks {
  uint64_t first = 0;
  uint64_t second = 0;
};
PrivilegeMasks UserPrivileges(const Model &model, const User &user);

// Carries out the steps of group switch jobs that are due at `now` (wall
// clock seconds). Called whenever the model is looked at, so jobs need no
// thread of their own.
void AdvanceGroupJobs(Model &model, double now);

}  // namespace kvnc::sim
