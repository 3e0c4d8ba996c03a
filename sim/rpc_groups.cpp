// Groups of controls and sensors, and the group switch job.
#include <algorithm>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "client/text_buffer.h"
#include "sim/sim_functions.h"

namespace kvnc::sim {

namespace {

// Aggregate operations over a group's readings.
enum : SaHpiUint32T { kSum = 0, kAverage = 1, kMinimum = 2, kMaximum = 3 };

Group *FindGroup(Model &model, const std::string &name) {
  for (Group &group : model.groups) {
    if (group.name == name) return &group;
  }
  return nullptr;
}

SaErrorT FindGroup(Caller &c, const SaHpiTextBufferT *name, Group **group) {
  *group = FindGroup(c.model, TextBufferToString(*name));
  return *group == nullptr ? SA_ERR_HPI_NOT_PRESENT : SA_OK;
}

bool Running(const GroupJob &job) { return job.cancelled == 0 && job.processed < job.steps.size(); }

// The value a step gives a control of the control's own type.
SaErrorT SwitchedState(const Control &k, int64_t value, int64_t *next) {
  switch (k.type) {
    case SAHPI_CTRL_TYPE_DIGITAL:
      if (value == SAHPI_CTRL_STATE_OFF || value == SAHPI_CTRL_STATE_ON) {
        *next = value;
      } else if (value == SAHPI_CTRL_STATE_PULSE_OFF || value == SAHPI_CTRL_STATE_PULSE_ON) {
        *next = k.state;  // a pulse ends where it began
      } else {
        return SA_ERR_HPI_INVALID_DATA;
      }
      return SA_OK;
    case SAHPI_CTRL_TYPE_DISCRETE:
      if (value < 0 || (!k.state_names.empty() && static_cast<uint64_t>(value) >= k.state_names.size())) {
        return SA_ERR_HPI_INVALID_DATA;
      }
      *next = value;
      return SA_OK;
    case SAHPI_CTRL_TYPE_ANALOG:
      if (value < k.min || value > k.max) return SA_ERR_HPI_INVALID_DATA;
      *next = value;
      return SA_OK;
    default:  // text, stream and OEM controls take no single value
      return SA_ERR_HPI_INVALID_CMD;
  }
}

SaErrorT RunStep(Model &model, const GroupJob &job, const GroupJobStep &step) {
  Resource *r = model.resources.Find(step.resource);
  if (r == nullptr) return SA_ERR_HPI_INVALID_RESOURCE;
  Control *k = r->controls.Find(step.control);
  if (k == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  if (k->mode_read_only != 0 && job.mode != k->mode) return SA_ERR_HPI_READ_ONLY;
  if (job.mode == SAHPI_CTRL_MODE_AUTO) {
    k->mode = job.mode;
    return SA_OK;
  }
  int64_t next = k->state;
  if (SaErrorT rv = SwitchedState(*k, job.value, &next); rv != SA_OK) return rv;
  k->mode = job.mode;
  k->state = next;
  return SA_OK;
}

// The value of a state of a type that carries one number.
SaErrorT StateValue(const SaHpiCtrlStateT &state, int64_t *value) {
  switch (state.Type) {
    case SAHPI_CTRL_TYPE_DIGITAL:
      *value = state.StateUnion.Digital;
      return SA_OK;
    case SAHPI_CTRL_TYPE_DISCRETE:
      *value = state.StateUnion.Discrete;
      return SA_OK;
    case SAHPI_CTRL_TYPE_ANALOG:
      *value = state.StateUnion.Analog;
      return SA_OK;
    default:
      return SA_ERR_HPI_INVALID_DATA;
  }
}

}  // namespace

void AdvanceGroupJobs(Model &model, double now) {
  for (Group &group : model.groups) {
    if (!group.job) continue;
    GroupJob &job = *group.job;
    while (Running(job) && job.steps[job.processed].due <= now) {
      const SaErrorT rv = RunStep(model, job, job.steps[job.processed]);
      if (rv != SA_OK && job.error == SA_OK) job.error = rv;
      ++job.processed;
    }
  }
}

SaErrorT SimGroupCreate(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *group) {
  const std::string name = TextBufferToString(*group);
  if (name.empty()) return SA_ERR_HPI_INVALID_PARAMS;
  if (FindGroup(c.model, name) != nullptr) return SA_ERR_HPI_DUPLICATE;
  c.model.groups.push_back(Group{name, {}, {}, std::nullopt});
  return SA_OK;
}

SaErrorT SimGroupDelete(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *group) {
  const std::string name = TextBufferToString(*group);
  auto &groups = c.model.groups;
  const auto it = std::find_if(groups.begin(), groups.end(), [&](const Group &g) { return g.name == name; });
  if (it == groups.end()) return SA_ERR_HPI_NOT_PRESENT;
  groups.erase(it);
  return SA_OK;
}

SaErrorT SimGroupGetNext(Caller &c, SaHpiSessionIdT, SaHpiEntryIdT id, SaHpiEntryIdT *next, SaHpiTextBufferT *group) {
  const auto &groups = c.model.groups;
  if (id >= groups.size()) return SA_ERR_HPI_NOT_PRESENT;
  *group = TextBufferFromString(groups[id].name);
  *next = id + 1 < groups.size() ? id + 1 : SAHPI_LAST_ENTRY;
  return SA_OK;
}

SaErrorT SimGroupSensorAdd(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *group, SaHpiResourceIdT resource,
                           SaHpiSensorNumT sensor) {
  Group *g;
  if (SaErrorT rv = FindGroup(c, group, &g); rv != SA_OK) return rv;
  Sensor *s;
  if (SaErrorT rv = c.FindSensor(resource, sensor, &s); rv != SA_OK) return rv;
  for (const GroupSensor &m : g->sensors) {
    if (m.resource == resource && m.sensor == sensor) return SA_ERR_HPI_DUPLICATE;
  }
  g->sensors.push_back({resource, sensor});
  return SA_OK;
}

SaErrorT SimGroupSensorDelete(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *group, SaHpiResourceIdT resource,
                              SaHpiSensorNumT sensor) {
  Group *g;
  if (SaErrorT rv = FindGroup(c, group, &g); rv != SA_OK) return rv;
  const auto it = std::find_if(g->sensors.begin(), g->sensors.end(),
                               [&](const GroupSensor &m) { return m.resource == resource && m.sensor == sensor; });
  if (it == g->sensors.end()) return SA_ERR_HPI_NOT_PRESENT;
  g->sensors.erase(it);
  return SA_OK;
}

SaErrorT SimGroupControlAdd(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *group, SaHpiResourceIdT resource,
                            SaHpiCtrlNumT control, SaHpiUint32T delay) {
  Group *g;
  if (SaErrorT rv = FindGroup(c, group, &g); rv != SA_OK) return rv;
  Control *k;
  if (SaErrorT rv = c.FindControl(resource, control, &k); rv != SA_OK) return rv;
  for (const GroupControl &m : g->controls) {
    if (m.resource == resource && m.control == control) return SA_ERR_HPI_DUPLICATE;
  }
  g->controls.push_back({resource, control, delay});
  return SA_OK;
}

SaErrorT SimGroupControlDelete(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *group, SaHpiResourceIdT resource,
                               SaHpiCtrlNumT control) {
  Group *g;
  if (SaErrorT rv = FindGroup(c, group, &g); rv != SA_OK) return rv;
  const auto it = std::find_if(g->controls.begin(), g->controls.end(),
                               [&](const GroupControl &m) { return m.resource == resource && m.control == control; });
  if (it == g->controls.end()) return SA_ERR_HPI_NOT_PRESENT;
  g->controls.erase(it);
  return SA_OK;
}

SaErrorT SimGroupSensorGet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *group, SaHpiUint32T index,
                           SaHpiUint32T *next, SaHpiResourceIdT *resource, SaHpiSensorNumT *sensor) {
  Group *g;
  if (SaErrorT rv = FindGroup(c, group, &g); rv != SA_OK) return rv;
  if (index >= g->sensors.size()) return SA_ERR_HPI_NOT_PRESENT;
  *next = index + 1;
  *resource = g->sensors[index].resource;
  *sensor = g->sensors[index].sensor;
  return SA_OK;
}

SaErrorT SimGroupControlGet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *group, SaHpiUint32T index,
                            SaHpiUint32T *next, SaHpiResourceIdT *resource, SaHpiCtrlNumT *control,
                            SaHpiUint32T *delay) {
  Group *g;
  if (SaErrorT rv = FindGroup(c, group, &g); rv != SA_OK) return rv;
  if (index >= g->controls.size()) return SA_ERR_HPI_NOT_PRESENT;
  *next = index + 1;
  *resource = g->controls[index].resource;
  *control = g->controls[index].control;
  *delay = g->controls[index].delay;
  return SA_OK;
}

SaErrorT SimGroupControlStateAssignAsynchronous(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *group,
                                                SaHpiCtrlModeT mode, const SaHpiCtrlStateT *state) {
  Group *g;
  if (SaErrorT rv = FindGroup(c, group, &g); rv != SA_OK) return rv;
  const double now = WallClockSeconds();
  AdvanceGroupJobs(c.model, now);
  if (g->job && Running(*g->job)) return SA_ERR_HPI_BUSY;
  if (mode != SAHPI_CTRL_MODE_AUTO && mode != SAHPI_CTRL_MODE_MANUAL) return SA_ERR_HPI_INVALID_PARAMS;
  GroupJob job;
  job.mode = mode;
  if (mode == SAHPI_CTRL_MODE_MANUAL) {
    if (SaErrorT rv = StateValue(*state, &job.value); rv != SA_OK) return rv;
  }
  double due = now;
  for (const GroupControl &m : g->controls) {
    due += m.delay * c.model.group_delay_scale;
    job.steps.push_back({m.resource, m.control, due});
  }
  g->job = std::move(job);
  AdvanceGroupJobs(c.model, now);  // members without a delay are switched at once
  return SA_OK;
}

SaErrorT SimGroupControlCancelAsynchronous(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *group) {
  Group *g;
  if (SaErrorT rv = FindGroup(c, group, &g); rv != SA_OK) return rv;
  AdvanceGroupJobs(c.model, WallClockSeconds());  // what is due is done before the job stops
  if (!g->job) return SA_ERR_HPI_INVALID_REQUEST;
  if (!Running(*g->job)) return SA_OK;
  g->job->cancelled = 1;
  if (g->job->error == SA_OK) g->job->error = SA_ERR_HPI_ERROR;
  return SA_OK;
}

SaErrorT SimGroupControlGetProgressAsynchronous(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *group,
                                                SaHpiUint32T *processed, SaHpiUint32T *total, SaHpiInt32T *error) {
  Group *g;
  if (SaErrorT rv = FindGroup(c, group, &g); rv != SA_OK) return rv;
  AdvanceGroupJobs(c.model, WallClockSeconds());
  if (!g->job) return SA_OK;  // zeros
  *processed = g->job->processed;
  *total = static_cast<SaHpiUint32T>(g->job->steps.size());
  *error = g->job->error;
  return SA_OK;
}

SaErrorT SimGroupSensorReadingAggregateGet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *group,
                                           SaHpiUint32T operation, SaHpiSensorReadingT *reading,
                                           SaHpiEventStateT *state) {
  Group *g;
  if (SaErrorT rv = FindGroup(c, group, &g); rv != SA_OK) return rv;
  if (operation > kMaximum) return SA_ERR_HPI_INVALID_PARAMS;
  const double now = WallClockSeconds();
  double sum = 0;
  double low = std::numeric_limits<double>::infinity();
  double high = -low;
  size_t count = 0;
  SaHpiEventStateT states = 0;
  for (const GroupSensor &m : g->sensors) {
    const Resource *r = c.model.resources.Find(m.resource);
    const Sensor *s = r != nullptr ? r->sensors.Find(m.sensor) : nullptr;
    if (s == nullptr || !s->format) continue;  // gone, or without a reading
    const double value = SensorValue(*s, now);
    sum += value;
    low = std::min(low, value);
    high = std::max(high, value);
    states |= SensorEventState(*s, value);
    ++count;
  }
  if (count == 0) return SA_ERR_HPI_INVALID_REQUEST;
  const double results[] = {sum, sum / static_cast<double>(count), low, high};
  *reading = MakeReading(SAHPI_SENSOR_READING_TYPE_FLOAT64, results[operation]);
  *state = states;
  return SA_OK;
}

SaErrorT SimGroupSensorThresholdsSet(Caller &c, SaHpiSessionIdT session, const SaHpiTextBufferT *group,
                                     const SaHpiSensorThresholdsT *thresholds) {
  Group *g;
  if (SaErrorT rv = FindGroup(c, group, &g); rv != SA_OK) return rv;
  // The members' thresholds before the change, to put back on a refusal.
  std::vector<std::pair<Sensor *, std::optional<SensorThresholds>>> before;
  for (const GroupSensor &m : g->sensors) {
    Sensor *s = nullptr;
    SaErrorT rv = c.FindSensor(m.resource, m.sensor, &s);
    if (rv == SA_OK) {
      before.emplace_back(s, s->thresholds);
      rv = SimSensorThresholdsSet(c, session, m.resource, m.sensor, thresholds);
    }
    if (rv != SA_OK) {
      for (auto it = before.rbegin(); it != before.rend(); ++it) it->first->thresholds = it->second;
      return rv;
    }
  }
  return SA_OK;
}

}  // namespace kvnc::sim
