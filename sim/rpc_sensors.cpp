// Sensors: readings, thresholds, event masks, state severities, assertion
// delays and extended information.
#include <bit>
#include <cmath>

#include "client/text_buffer.h"
#include "sim/sim_functions.h"

namespace kvnc::sim {

namespace {

// The eight threshold values: their bit in the read/write masks, where the
// model keeps them and where the HPI record carries them. Listed in the
// order they must ascend (hystereses last).
struct ThresholdSlot {
  SaHpiSensorThdMaskT bit;
  std::optional<double> ThresholdValues::*value;
  SaHpiSensorReadingT SaHpiSensorThresholdsT::*reading;
};
constexpr ThresholdSlot kThresholdSlots[] = {
    {SAHPI_STM_LOW_CRIT, &ThresholdValues::LCr, &SaHpiSensorThresholdsT::LowCritical},
    {SAHPI_STM_LOW_MAJOR, &ThresholdValues::LMj, &SaHpiSensorThresholdsT::LowMajor},
    {SAHPI_STM_LOW_MINOR, &ThresholdValues::LMn, &SaHpiSensorThresholdsT::LowMinor},
    {SAHPI_STM_UP_MINOR, &ThresholdValues::UMn, &SaHpiSensorThresholdsT::UpMinor},
    {SAHPI_STM_UP_MAJOR, &ThresholdValues::UMj, &SaHpiSensorThresholdsT::UpMajor},
    {SAHPI_STM_UP_CRIT, &ThresholdValues::UCr, &SaHpiSensorThresholdsT::UpCritical},
    {SAHPI_STM_UP_HYSTERESIS, &ThresholdValues::PHs, &SaHpiSensorThresholdsT::PosThdHysteresis},
    {SAHPI_STM_LOW_HYSTERESIS, &ThresholdValues::NHs, &SaHpiSensorThresholdsT::NegThdHysteresis},
};
constexpr size_t kOrderedSlots = 6;  // the first six ascend; the hystereses are only not negative

bool HasReadableThresholds(const Sensor &sensor) {
  return sensor.thresholds && sensor.format && sensor.thresholds->read != 0;
}

SaHpiSensorThresholdsT ReadableThresholds(const Sensor &sensor) {
  SaHpiSensorThresholdsT out{};
  for (const ThresholdSlot &slot : kThresholdSlots) {
    const std::optional<double> &value = sensor.thresholds->values.*slot.value;
    if ((sensor.thresholds->read & slot.bit) != 0 && value) {
      out.*slot.reading = MakeReading(sensor.format->reading_type, *value);
    }
  }
  return out;
}

void ReadNow(const Sensor &sensor, SaHpiSensorReadingT *reading, SaHpiEventStateT *state) {
  const double value = SensorValue(sensor, WallClockSeconds());
  *reading = sensor.format ? MakeReading(sensor.format->reading_type, value) : SaHpiSensorReadingT{};
  *state = SensorEventState(sensor, value);
}

SaHpiSeverityT StateSeverity(const Sensor &sensor, unsigned bit) {
  return bit < sensor.severities.size() ? sensor.severities[bit] : SAHPI_OK;
}

// One severity per set bit of `mask`, lowest bit first.
KvnSeverityListT SeverityList(Caller &c, const Sensor &sensor, SaHpiEventStateT mask) {
  std::vector<SaHpiSeverityT> values;
  for (unsigned bit = 0; bit < 16; ++bit) {
    if ((mask >> bit) & 1u) values.push_back(StateSeverity(sensor, bit));
  }
  const auto count = static_cast<SaHpiUint8T>(values.size());
  return {count, c.Keep(std::move(values))};
}

bool IsSeverity(SaHpiSeverityT severity) { return severity <= SAHPI_OK || severity == SAHPI_DEBUG; }

constexpr size_t kDelaySlots = 6;
constexpr SaHpiEventStateT kDelayMask = (1u << kDelaySlots) - 1;

}  // namespace

SaErrorT SimSensorReadingGet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiSensorNumT sensor,
                             SaHpiSensorReadingT *reading, SaHpiEventStateT *state) {
  Sensor *s;
  if (SaErrorT rv = c.FindSensor(resource, sensor, &s); rv != SA_OK) return rv;
  ReadNow(*s, reading, state);
  return SA_OK;
}

SaErrorT SimSensorThresholdsGet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiSensorNumT sensor,
                                SaHpiSensorThresholdsT *thresholds) {
  Sensor *s;
  if (SaErrorT rv = c.FindSensor(resource, sensor, &s); rv != SA_OK) return rv;
  if (!HasReadableThresholds(*s)) return SA_ERR_HPI_INVALID_CMD;
  *thresholds = ReadableThresholds(*s);
  return SA_OK;
}

SaErrorT SimSensorThresholdsSet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiSensorNumT sensor,
                                const SaHpiSensorThresholdsT *thresholds) {
  Sensor *s;
  if (SaErrorT rv = c.FindSensor(resource, sensor, &s); rv != SA_OK) return rv;
  if (!s->thresholds || !s->format || s->thresholds->write == 0) return SA_ERR_HPI_INVALID_CMD;
  ThresholdValues values = s->thresholds->values;
  for (const ThresholdSlot &slot : kThresholdSlots) {
    const SaHpiSensorReadingT &reading = thresholds->*slot.reading;
    if (reading.IsSupported == SAHPI_FALSE) continue;
    if ((s->thresholds->write & slot.bit) == 0) return SA_ERR_HPI_INVALID_CMD;
    if (reading.Type != s->format->reading_type || !std::isfinite(ReadingNumber(reading))) {
      return SA_ERR_HPI_INVALID_DATA;
    }
    values.*slot.value = ReadingNumber(reading);
  }
  // The six limits ascend; the hystereses are not negative.
  std::optional<double> below;
  for (size_t i = 0; i < std::size(kThresholdSlots); ++i) {
    const std::optional<double> &value = values.*kThresholdSlots[i].value;
    if (!value) continue;
    if (i >= kOrderedSlots) {
      if (*value < 0) return SA_ERR_HPI_INVALID_DATA;
      continue;
    }
    if (below && *value < *below) return SA_ERR_HPI_INVALID_DATA;
    below = value;
  }
  s->thresholds->values = values;
  return SA_OK;
}

SaErrorT SimSensorEventMasksGet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiSensorNumT sensor,
                                SaHpiEventStateT, SaHpiEventStateT, SaHpiEventStateT *assert_mask,
                                SaHpiEventStateT *deassert_mask) {
  Sensor *s;
  if (SaErrorT rv = c.FindSensor(resource, sensor, &s); rv != SA_OK) return rv;
  *assert_mask = s->assert_mask;
  *deassert_mask = s->deassert_mask;
  return SA_OK;
}

SaErrorT SimSensorEventMasksSet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiSensorNumT sensor,
                                SaHpiSensorEventMaskActionT action, SaHpiEventStateT assert_mask,
                                SaHpiEventStateT deassert_mask) {
  Sensor *s;
  if (SaErrorT rv = c.FindSensor(resource, sensor, &s); rv != SA_OK) return rv;
  if (s->event_ctrl != SAHPI_SEC_PER_EVENT) return SA_ERR_HPI_READ_ONLY;
  const auto every = [&](SaHpiEventStateT mask) { return mask == SAHPI_ALL_EVENT_STATES ? s->events : mask; };
  const SaHpiEventStateT assert_bits = every(assert_mask), deassert_bits = every(deassert_mask);
  switch (action) {
    case SAHPI_SENS_ADD_EVENTS_TO_MASKS:
      if (((assert_bits | deassert_bits) & ~s->events) != 0) return SA_ERR_HPI_INVALID_DATA;
      s->assert_mask |= assert_bits;
      s->deassert_mask |= deassert_bits;
      return SA_OK;
    case SAHPI_SENS_REMOVE_EVENTS_FROM_MASKS:
      s->assert_mask &= static_cast<SaHpiEventStateT>(~assert_bits);
      s->deassert_mask &= static_cast<SaHpiEventStateT>(~deassert_bits);
      return SA_OK;
    default:
      return SA_ERR_HPI_INVALID_PARAMS;
  }
}

SaErrorT SimSensorStatusGet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiSensorNumT sensor,
                            SaHpiBoolT read_thresholds, SaHpiEventStateT state_mask, SaHpiSensorReadingT *reading,
                            SaHpiEventStateT *state, SaHpiSensorThresholdsT *thresholds, KvnSeverityListT *severities) {
  Sensor *s;
  if (SaErrorT rv = c.FindSensor(resource, sensor, &s); rv != SA_OK) return rv;
  if (read_thresholds != SAHPI_FALSE) {
    if (!HasReadableThresholds(*s)) return SA_ERR_HPI_INVALID_CMD;
    *thresholds = ReadableThresholds(*s);
  }
  ReadNow(*s, reading, state);
  *severities = SeverityList(c, *s, state_mask);
  return SA_OK;
}

SaErrorT SimSensorStateSeverityGet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiSensorNumT sensor,
                                   SaHpiEventStateT state_mask, KvnSeverityListT *severities) {
  Sensor *s;
  if (SaErrorT rv = c.FindSensor(resource, sensor, &s); rv != SA_OK) return rv;
  *severities = SeverityList(c, *s, state_mask);
  return SA_OK;
}

SaErrorT SimSensorStateSeveritySet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiSensorNumT sensor,
                                   SaHpiEventStateT state_mask, const KvnSeverityListT *severities) {
  Sensor *s;
  if (SaErrorT rv = c.FindSensor(resource, sensor, &s); rv != SA_OK) return rv;
  if (severities->Count != std::popcount(state_mask)) return SA_ERR_HPI_INVALID_PARAMS;
  for (unsigned i = 0; i < severities->Count; ++i) {
    if (!IsSeverity(severities->Severities[i])) return SA_ERR_HPI_INVALID_DATA;
  }
  if (s->severities.size() < 16) s->severities.resize(16, SAHPI_OK);
  for (unsigned bit = 0, next = 0; bit < 16; ++bit) {
    if ((state_mask >> bit) & 1u) s->severities[bit] = severities->Severities[next++];
  }
  return SA_OK;
}

SaErrorT SimSensorAssertionDelayGet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiSensorNumT sensor,
                                    KvnAssertionDelaysT *delays) {
  Sensor *s;
  if (SaErrorT rv = c.FindSensor(resource, sensor, &s); rv != SA_OK) return rv;
  if (s->category != SAHPI_EC_THRESHOLD) return SA_ERR_HPI_INVALID_CMD;
  for (size_t i = 0; i < kDelaySlots && i < s->assertion_delays.size(); ++i) delays->Delay[i] = s->assertion_delays[i];
  return SA_OK;
}

SaErrorT SimSensorAssertionDelaySet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiSensorNumT sensor,
                                    SaHpiEventStateT presence, const KvnAssertionDelaysT *delays) {
  Sensor *s;
  if (SaErrorT rv = c.FindSensor(resource, sensor, &s); rv != SA_OK) return rv;
  if (s->category != SAHPI_EC_THRESHOLD) return SA_ERR_HPI_INVALID_CMD;
  if ((presence & ~kDelayMask) != 0) return SA_ERR_HPI_INVALID_PARAMS;
  s->assertion_delays.resize(kDelaySlots, 0);
  for (size_t i = 0; i < kDelaySlots; ++i) {
    if ((presence >> i) & 1u) s->assertion_delays[i] = delays->Delay[i];
  }
  return SA_OK;
}

SaErrorT SimSensorExtendedInfoGet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiSensorNumT sensor,
                                  SaHpiUint32T, KvnSensorInfoT *info, SaHpiUint32T *) {
  Sensor *s;
  if (SaErrorT rv = c.FindSensor(resource, sensor, &s); rv != SA_OK) return rv;
  info->BaseUnitModifier = s->info.bum;
  info->ModifierUnitModifier = s->info.mum;
  info->Resolution = s->info.res;
  info->Tolerance = s->info.tol;
  info->UnnamedTextA = TextBufferFromString(s->name);
  info->UnnamedTextB = TextBufferFromString(s->description);
  return SA_OK;
}

SaErrorT SimSensorResetEraseConfiguration(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource,
                                          SaHpiSensorNumT sensor) {
  Sensor *s;
  if (SaErrorT rv = c.FindSensor(resource, sensor, &s); rv != SA_OK) return rv;
  const Resource *loaded_resource = c.sim.pristine().resources.Find(resource);
  if (loaded_resource == nullptr || loaded_resource->sensors.count(sensor) == 0) return SA_OK;  // nothing to go back to
  Sensor loaded = loaded_resource->sensors.at(sensor);
  loaded.reading = s->reading;
  loaded.state = s->state;
  *s = std::move(loaded);
  return SA_OK;
}

}  // namespace kvnc::sim
