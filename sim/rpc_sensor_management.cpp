// Managed sensors, user sensor types and the sensor measurement log.
#include <algorithm>
#include <bit>
#include <cmath>

#include "client/text_buffer.h"
#include "sim/events.h"
#include "sim/sim_functions.h"

namespace kvnc::sim {

namespace {

constexpr size_t kMaxStates = 16;
constexpr size_t kTextBytes = SAHPI_MAX_TEXT_BUFFER_LENGTH;
constexpr int kSamplesPerPeriod = 10;
constexpr int64_t kNanoseconds = 1000000000;

SaErrorT FindManaged(Caller &c, SaHpiUint32T num, ManagedSensor **managed) {
  *managed = c.model.managed_sensors.Find(num);
  return *managed != nullptr ? SA_OK : SA_ERR_HPI_NOT_PRESENT;
}

// The managed number attached to a sensor, 0 for none (numbers start at 1).
uint32_t ManagedNumberOf(const Model &model, SaHpiResourceIdT resource, SaHpiSensorNumT sensor) {
  for (const auto &[num, m] : model.managed_sensors) {
    if (m.attached != 0 && m.resource == resource && m.sensor == sensor) return num;
  }
  return 0;
}

bool IsSeverity(SaHpiSeverityT severity) { return severity <= SAHPI_OK || severity == SAHPI_DEBUG; }

// The names, mask and severities of a user type as they come in. The names
// may have been cut to 510 bytes by the sender: states left without a name
// get an empty one.
SaErrorT ReadStates(const SaHpiTextBufferT *first, const SaHpiTextBufferT *second, SaHpiEventStateT mask,
                    const KvnSeverityListT *severities, UserSensorType *type) {
  const auto count = static_cast<size_t>(std::popcount(mask));
  if (count == 0 || mask != (1u << count) - 1 || severities->Count != count) return SA_ERR_HPI_INVALID_PARAMS;
  std::vector<std::string> names;
  const std::string joined = TextBufferToString(*first) + TextBufferToString(*second);
  for (size_t start = 0;;) {
    const size_t end = joined.find('\n', start);
    names.push_back(joined.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  if (names.size() > count) return SA_ERR_HPI_INVALID_PARAMS;
  names.resize(count);
  std::vector<uint32_t> values(severities->Severities, severities->Severities + count);
  if (!std::all_of(values.begin(), values.end(), IsSeverity)) return SA_ERR_HPI_INVALID_DATA;
  type->states = std::move(names);
  type->severities = std::move(values);
  return SA_OK;
}

// What one sensor measured over the period that ends at `end` (seconds),
// from readings taken evenly across it; none for a sensor without readings.
std::optional<SensorLogRecord> Measure(const Sensor &sensor, uint32_t managed, int64_t end, uint32_t period) {
  if (!sensor.format) return std::nullopt;
  SensorLogRecord record;
  record.sensor = managed;
  double sum = 0, squares = 0;
  for (int i = 1; i <= kSamplesPerPeriod; ++i) {
    const double t =
        static_cast<double>(end) - static_cast<double>(period) * (kSamplesPerPeriod - i) / kSamplesPerPeriod;
    const double value = ReadingNumber(MakeReading(sensor.format->reading_type, SensorValue(sensor, t)));
    const SaHpiEventStateT state = SensorEventState(sensor, value);
    record.min = i == 1 ? value : std::min(record.min, value);
    record.max = i == 1 ? value : std::max(record.max, value);
    sum += value;
    squares += value * value;
    record.state_count += state != 0 ? 1 : 0;
    record.aes |= state;
  }
  record.count = kSamplesPerPeriod;
  record.avr = sum / kSamplesPerPeriod;
  record.dsp = std::sqrt(std::max(0.0, squares / kSamplesPerPeriod - record.avr * record.avr));
  return record;
}

void AppendEntry(Model &model, int64_t end) {
  SensorLog &log = model.sensor_log;
  SensorLogEntry entry;
  entry.index = log.next_index;
  log.next_index = log.next_index >= INT32_MAX ? 0 : log.next_index + 1;  // indices stay positive as signed
  entry.time = end * kNanoseconds;
  for (const auto &[num, m] : model.managed_sensors) {
    if (m.attached == 0) continue;
    const Resource *resource = model.resources.Find(m.resource);
    const Sensor *sensor = resource != nullptr ? resource->sensors.Find(m.sensor) : nullptr;
    if (sensor == nullptr) continue;
    if (auto record = Measure(*sensor, num, end, model.sensor_log.period)) entry.records.push_back(*record);
  }
  log.entries.push_back(std::move(entry));
}

// Takes the entries of the periods ended since the last look.
void TakeSensorLog(Model &model) {
  SensorLog &log = model.sensor_log;
  const int64_t period = std::max<int64_t>(1, log.period);
  const int64_t now = ApplianceTime(model) / kNanoseconds;
  const int64_t end = now - now % period;
  if (!log.taken) {
    log.taken = end;
    return;
  }
  if (end <= *log.taken) return;
  // Periods older than the log holds would only be dropped again.
  const int64_t start = std::max(*log.taken, end - period * static_cast<int64_t>(log.size));
  if (log.enabled != 0) {
    for (int64_t t = start + period; t <= end; t += period) AppendEntry(model, t);
  }
  log.taken = end;
  if (log.entries.size() > log.size) log.entries.erase(log.entries.begin(), log.entries.end() - log.size);
}

const SensorLogEntry *FindLogEntry(const Model &model, SaHpiUint32T index, SaHpiUint32T *next) {
  const std::vector<SensorLogEntry> &entries = model.sensor_log.entries;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].index != index) continue;
    *next = i + 1 < entries.size() ? entries[i + 1].index : SAHPI_LAST_ENTRY;
    return &entries[i];
  }
  return nullptr;
}

}  // namespace

SaErrorT SimSensorLogEnableGet(Caller &c, SaHpiSessionIdT, SaHpiBoolT *enabled) {
  *enabled = c.model.sensor_log.enabled;
  return SA_OK;
}

SaErrorT SimSensorLogEnableSet(Caller &c, SaHpiSessionIdT, SaHpiBoolT enabled) {
  if (enabled > SAHPI_TRUE) return SA_ERR_HPI_INVALID_PARAMS;
  TakeSensorLog(c.model);  // the periods before the change are taken as they were
  c.model.sensor_log.enabled = enabled;
  return SA_OK;
}

SaErrorT SimSensorLogAccumPeriodGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T *period) {
  *period = c.model.sensor_log.period;
  return SA_OK;
}

SaErrorT SimSensorLogAccumPeriodSet(Caller &c, SaHpiSessionIdT, SaHpiUint32T period) {
  if (period == 0) return SA_ERR_HPI_INVALID_PARAMS;
  TakeSensorLog(c.model);
  c.model.sensor_log.period = period;
  return SA_OK;
}

SaErrorT SimSensorLogSizeGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T *size) {
  *size = c.model.sensor_log.size;
  return SA_OK;
}

SaErrorT SimSensorLogFirstLastGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T *first, SaHpiUint32T *last) {
  TakeSensorLog(c.model);
  const std::vector<SensorLogEntry> &entries = c.model.sensor_log.entries;
  if (entries.empty()) return SA_ERR_HPI_NOT_PRESENT;
  *first = entries.front().index;
  *last = entries.back().index;
  return SA_OK;
}

SaErrorT SimSensorLogTimestampGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T index, SaHpiTimeT *time,
                                  SaHpiUint32T *next) {
  const SensorLogEntry *entry = FindLogEntry(c.model, index, next);
  if (entry == nullptr) return SA_ERR_HPI_INVALID_PARAMS;
  *time = entry->time;
  return SA_OK;
}

SaErrorT SimSensorLogEntryGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T index, SaHpiUint32T managed,
                              KvnSensorLogEntryT *entry) {
  SaHpiUint32T next = 0;
  const SensorLogEntry *logged = FindLogEntry(c.model, index, &next);
  if (logged == nullptr) return SA_ERR_HPI_INVALID_PARAMS;
  for (const SensorLogRecord &r : logged->records) {
    if (r.sensor != managed) continue;
    *entry = {logged->time, r.count, r.state_count, r.avr, r.min, r.max, r.dsp, r.aes};
    return SA_OK;
  }
  return SA_ERR_HPI_NOT_PRESENT;
}

SaErrorT SimSensorDescriptionGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T num, SaHpiTextBufferT *description) {
  ManagedSensor *m;
  if (SaErrorT rv = FindManaged(c, num, &m); rv != SA_OK) return rv;
  *description = TextBufferFromString(m->description);
  return SA_OK;
}

SaErrorT SimSensorDescriptionSet(Caller &c, SaHpiSessionIdT, SaHpiUint32T num, const SaHpiTextBufferT *description) {
  ManagedSensor *m;
  if (SaErrorT rv = FindManaged(c, num, &m); rv != SA_OK) return rv;
  m->description = TextBufferToString(*description);
  return SA_OK;
}

SaErrorT SimSensorUserTypeGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T num, SaHpiTextBufferT *type,
                              SaHpiTextBufferT *subtype) {
  ManagedSensor *m;
  if (SaErrorT rv = FindManaged(c, num, &m); rv != SA_OK) return rv;
  *type = TextBufferFromString(m->type);
  *subtype = TextBufferFromString(m->subtype);
  return SA_OK;
}

SaErrorT SimSensorUserTypeSet(Caller &c, SaHpiSessionIdT, SaHpiUint32T num, const SaHpiTextBufferT *type,
                              const SaHpiTextBufferT *subtype) {
  ManagedSensor *m;
  if (SaErrorT rv = FindManaged(c, num, &m); rv != SA_OK) return rv;
  m->type = TextBufferToString(*type);
  m->subtype = TextBufferToString(*subtype);
  return SA_OK;
}

SaErrorT SimSensorCoordinatesGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T num, SaHpiTextBufferT *x, SaHpiTextBufferT *y,
                                 SaHpiTextBufferT *z) {
  ManagedSensor *m;
  if (SaErrorT rv = FindManaged(c, num, &m); rv != SA_OK) return rv;
  *x = TextBufferFromString(m->x);
  *y = TextBufferFromString(m->y);
  *z = TextBufferFromString(m->z);
  return SA_OK;
}

SaErrorT SimSensorCoordinatesSet(Caller &c, SaHpiSessionIdT, SaHpiUint32T num, const SaHpiTextBufferT *x,
                                 const SaHpiTextBufferT *y, const SaHpiTextBufferT *z) {
  ManagedSensor *m;
  if (SaErrorT rv = FindManaged(c, num, &m); rv != SA_OK) return rv;
  m->x = TextBufferToString(*x);
  m->y = TextBufferToString(*y);
  m->z = TextBufferToString(*z);
  return SA_OK;
}

SaErrorT SimSensorAttach(Caller &c, SaHpiSessionIdT, SaHpiUint32T num, SaHpiResourceIdT resource,
                         SaHpiSensorNumT sensor) {
  ManagedSensor *m;
  if (SaErrorT rv = FindManaged(c, num, &m); rv != SA_OK) return rv;
  Sensor *s;
  if (SaErrorT rv = c.FindSensor(resource, sensor, &s); rv != SA_OK) return rv;
  const uint32_t holder = ManagedNumberOf(c.model, resource, sensor);
  if (holder != 0 && holder != num) return SA_ERR_HPI_DUPLICATE;
  m->resource = resource;
  m->sensor = sensor;
  m->attached = 1;
  return SA_OK;
}

SaErrorT SimSensorDetach(Caller &c, SaHpiSessionIdT, SaHpiUint32T num) {
  ManagedSensor *m;
  if (SaErrorT rv = FindManaged(c, num, &m); rv != SA_OK) return rv;
  m->attached = 0;
  return SA_OK;
}

SaErrorT SimSensorAttachStateGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T num, SaHpiUint32T *state,
                                 SaHpiResourceIdT *resource, SaHpiSensorNumT *sensor, SaHpiEntityPathT *path) {
  ManagedSensor *m;
  if (SaErrorT rv = FindManaged(c, num, &m); rv != SA_OK) return rv;
  *state = m->attached;
  *resource = m->resource;
  *sensor = m->sensor;
  const Resource *r = c.model.resources.Find(m->resource);
  *path = MakeEntityPath(r != nullptr ? r->entity_path : std::vector<EntityElement>{});
  return SA_OK;
}

SaErrorT SimSensorManage(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiSensorNumT sensor,
                         SaHpiBoolT automatic, SaHpiUint32T *num) {
  Sensor *s;
  if (SaErrorT rv = c.FindSensor(resource, sensor, &s); rv != SA_OK) return rv;
  if (automatic > SAHPI_TRUE) return SA_ERR_HPI_INVALID_PARAMS;
  if (const uint32_t held = ManagedNumberOf(c.model, resource, sensor); held != 0) {
    *num = held;  // already managed: the number it has
    return SA_OK;
  }
  uint32_t lowest_free = 1;
  while (c.model.managed_sensors.count(lowest_free) != 0) ++lowest_free;
  ManagedSensor &m = c.model.managed_sensors[lowest_free];
  m.resource = resource;
  m.sensor = sensor;
  m.automatic = automatic;
  m.description = s->description;
  *num = lowest_free;
  return SA_OK;
}

SaErrorT SimSensorManagedNumberGet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiSensorNumT sensor,
                                   SaHpiUint32T *num) {
  Sensor *s;
  if (SaErrorT rv = c.FindSensor(resource, sensor, &s); rv != SA_OK) return rv;
  *num = ManagedNumberOf(c.model, resource, sensor);
  return *num != 0 ? SA_OK : SA_ERR_HPI_NOT_PRESENT;
}

SaErrorT SimSensorUserTypeInfoGet(Caller &c, SaHpiSessionIdT, SaHpiEntryIdT cursor, SaHpiTextBufferT *name,
                                  SaHpiUint32T *id, SaHpiTextBufferT *first, SaHpiTextBufferT *second,
                                  KvnSeverityListT *severities, SaHpiEntryIdT *next) {
  const std::vector<UserSensorType> &types = c.model.user_types;
  if (cursor >= types.size()) return SA_ERR_HPI_NOT_PRESENT;
  const UserSensorType &type = types[cursor];
  std::string joined;
  for (size_t i = 0; i < type.states.size(); ++i) joined += (i == 0 ? "" : "\n") + type.states[i];
  *name = TextBufferFromString(type.name);
  *id = type.id;
  *first = TextBufferFromString(joined.substr(0, kTextBytes));
  *second = TextBufferFromString(joined.size() > kTextBytes ? joined.substr(kTextBytes, kTextBytes) : "");
  std::vector<SaHpiSeverityT> values(type.severities.begin(), type.severities.end());
  const auto count = static_cast<SaHpiUint8T>(std::min(values.size(), kMaxStates));
  *severities = {count, c.Keep(std::move(values))};
  *next = cursor + 1 < types.size() ? cursor + 1 : SAHPI_LAST_ENTRY;
  return SA_OK;
}

SaErrorT SimSensorUserTypeAdd(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *name, const SaHpiTextBufferT *first,
                              const SaHpiTextBufferT *second, SaHpiEventStateT mask, const KvnSeverityListT *severities,
                              SaHpiUint32T *id) {
  UserSensorType type;
  type.name = TextBufferToString(*name);
  if (type.name.empty()) return SA_ERR_HPI_INVALID_PARAMS;
  for (const UserSensorType &t : c.model.user_types) {
    if (t.name == type.name) return SA_ERR_HPI_DUPLICATE;
  }
  if (SaErrorT rv = ReadStates(first, second, mask, severities, &type); rv != SA_OK) return rv;
  type.id = c.model.next_user_type++;
  *id = type.id;
  c.model.user_types.push_back(std::move(type));
  return SA_OK;
}

SaErrorT SimSensorUserTypeUpdate(Caller &c, SaHpiSessionIdT, SaHpiUint32T id, const SaHpiTextBufferT *first,
                                 const SaHpiTextBufferT *second, SaHpiEventStateT mask,
                                 const KvnSeverityListT *severities) {
  for (UserSensorType &type : c.model.user_types) {
    if (type.id != id) continue;
    UserSensorType changed = type;
    if (SaErrorT rv = ReadStates(first, second, mask, severities, &changed); rv != SA_OK) return rv;
    type = std::move(changed);
    return SA_OK;
  }
  return SA_ERR_HPI_NOT_PRESENT;
}

SaErrorT SimSensorUserTypeDelete(Caller &c, SaHpiSessionIdT, SaHpiUint32T id) {
  std::vector<UserSensorType> &types = c.model.user_types;
  auto it = std::find_if(types.begin(), types.end(), [id](const UserSensorType &t) { return t.id == id; });
  if (it == types.end()) return SA_ERR_HPI_NOT_PRESENT;
  for (const auto &[rid, resource] : c.model.resources) {
    for (const auto &[num, sensor] : resource.sensors) {
      if (sensor.user_type == it->name) return SA_ERR_HPI_BUSY;
    }
  }
  types.erase(it);
  return SA_OK;
}

SaErrorT SimSensorTypeSetByName(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiSensorNumT sensor,
                                const SaHpiTextBufferT *name) {
  Sensor *s;
  if (SaErrorT rv = c.FindSensor(resource, sensor, &s); rv != SA_OK) return rv;
  const std::string type_name = TextBufferToString(*name);
  const bool known = std::any_of(c.model.user_types.begin(), c.model.user_types.end(),
                                 [&](const UserSensorType &t) { return t.name == type_name; });
  if (!type_name.empty() && !known) return SA_ERR_HPI_NOT_PRESENT;
  s->user_type = type_name;
  return SA_OK;
}

}  // namespace kvnc::sim
