#include "sim/events.h"

#include <time.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "client/text_buffer.h"

namespace kvnc::sim {

namespace {

// ---- the fields of each event type, one table for every type ------------------

enum class FieldKind : uint8_t { kNumber, kReading, kText };

struct EventField {
  SaHpiEventTypeT type;
  const char *key;
  size_t offset;  // in SaHpiEventUnionT
  size_t size;    // of a number: 1, 2 or 4 bytes
  FieldKind kind;
};

template <typename T>
constexpr FieldKind KindOf() {
  if constexpr (std::is_same_v<T, SaHpiSensorReadingT>) {
    return FieldKind::kReading;
  } else if constexpr (std::is_same_v<T, SaHpiTextBufferT>) {
    return FieldKind::kText;
  } else {
    static_assert(std::is_integral_v<T> && sizeof(T) <= 4);
    return FieldKind::kNumber;
  }
}

#define KVNC_FIELD(type, member, field)                                                             \
  EventField {                                                                                      \
    type, #field, offsetof(SaHpiEventUnionT, member.field), sizeof(SaHpiEventUnionT::member.field), \
        KindOf<std::remove_cv_t<decltype(SaHpiEventUnionT::member.field)>>()                        \
  }

const EventField kEventFields[] = {
    KVNC_FIELD(SAHPI_ET_RESOURCE, ResourceEvent, ResourceEventType),
    KVNC_FIELD(SAHPI_ET_DOMAIN, DomainEvent, Type),
    KVNC_FIELD(SAHPI_ET_DOMAIN, DomainEvent, DomainId),
    KVNC_FIELD(SAHPI_ET_SENSOR, SensorEvent, SensorNum),
    KVNC_FIELD(SAHPI_ET_SENSOR, SensorEvent, SensorType),
    KVNC_FIELD(SAHPI_ET_SENSOR, SensorEvent, EventCategory),
    KVNC_FIELD(SAHPI_ET_SENSOR, SensorEvent, Assertion),
    KVNC_FIELD(SAHPI_ET_SENSOR, SensorEvent, EventState),
    KVNC_FIELD(SAHPI_ET_SENSOR, SensorEvent, OptionalDataPresent),
    KVNC_FIELD(SAHPI_ET_SENSOR, SensorEvent, TriggerReading),
    KVNC_FIELD(SAHPI_ET_SENSOR, SensorEvent, TriggerThreshold),
    KVNC_FIELD(SAHPI_ET_SENSOR, SensorEvent, PreviousState),
    KVNC_FIELD(SAHPI_ET_SENSOR, SensorEvent, CurrentState),
    KVNC_FIELD(SAHPI_ET_SENSOR, SensorEvent, Oem),
    KVNC_FIELD(SAHPI_ET_SENSOR, SensorEvent, SensorSpecific),
    KVNC_FIELD(SAHPI_ET_SENSOR_ENABLE_CHANGE, SensorEnableChangeEvent, SensorNum),
    KVNC_FIELD(SAHPI_ET_SENSOR_ENABLE_CHANGE, SensorEnableChangeEvent, SensorType),
    KVNC_FIELD(SAHPI_ET_SENSOR_ENABLE_CHANGE, SensorEnableChangeEvent, EventCategory),
    KVNC_FIELD(SAHPI_ET_SENSOR_ENABLE_CHANGE, SensorEnableChangeEvent, SensorEnable),
    KVNC_FIELD(SAHPI_ET_SENSOR_ENABLE_CHANGE, SensorEnableChangeEvent, SensorEventEnable),
    KVNC_FIELD(SAHPI_ET_SENSOR_ENABLE_CHANGE, SensorEnableChangeEvent, AssertEventMask),
    KVNC_FIELD(SAHPI_ET_SENSOR_ENABLE_CHANGE, SensorEnableChangeEvent, DeassertEventMask),
    KVNC_FIELD(SAHPI_ET_SENSOR_ENABLE_CHANGE, SensorEnableChangeEvent, OptionalDataPresent),
    KVNC_FIELD(SAHPI_ET_SENSOR_ENABLE_CHANGE, SensorEnableChangeEvent, CurrentState),
    KVNC_FIELD(SAHPI_ET_SENSOR_ENABLE_CHANGE, SensorEnableChangeEvent, CriticalAlarms),
    KVNC_FIELD(SAHPI_ET_SENSOR_ENABLE_CHANGE, SensorEnableChangeEvent, MajorAlarms),
    KVNC_FIELD(SAHPI_ET_SENSOR_ENABLE_CHANGE, SensorEnableChangeEvent, MinorAlarms),
    KVNC_FIELD(SAHPI_ET_HOTSWAP, HotSwapEvent, HotSwapState),
    KVNC_FIELD(SAHPI_ET_HOTSWAP, HotSwapEvent, PreviousHotSwapState),
    KVNC_FIELD(SAHPI_ET_HOTSWAP, HotSwapEvent, CauseOfStateChange),
    KVNC_FIELD(SAHPI_ET_WATCHDOG, WatchdogEvent, WatchdogNum),
    KVNC_FIELD(SAHPI_ET_WATCHDOG, WatchdogEvent, WatchdogAction),
    KVNC_FIELD(SAHPI_ET_WATCHDOG, WatchdogEvent, WatchdogPreTimerAction),
    KVNC_FIELD(SAHPI_ET_WATCHDOG, WatchdogEvent, WatchdogUse),
    KVNC_FIELD(SAHPI_ET_HPI_SW, HpiSwEvent, MId),
    KVNC_FIELD(SAHPI_ET_HPI_SW, HpiSwEvent, Type),
    KVNC_FIELD(SAHPI_ET_HPI_SW, HpiSwEvent, EventData),
    KVNC_FIELD(SAHPI_ET_OEM, OemEvent, MId),
    KVNC_FIELD(SAHPI_ET_OEM, OemEvent, OemEventData),
    KVNC_FIELD(SAHPI_ET_USER, UserEvent, UserEventData),
    KVNC_FIELD(SAHPI_ET_DIMI, DimiEvent, DimiNum),
    KVNC_FIELD(SAHPI_ET_DIMI, DimiEvent, TestNum),
    KVNC_FIELD(SAHPI_ET_DIMI, DimiEvent, DimiTestRunStatus),
    KVNC_FIELD(SAHPI_ET_DIMI, DimiEvent, DimiTestPercentCompleted),
    KVNC_FIELD(SAHPI_ET_DIMI_UPDATE, DimiUpdateEvent, DimiNum),
    KVNC_FIELD(SAHPI_ET_FUMI, FumiEvent, FumiNum),
    KVNC_FIELD(SAHPI_ET_FUMI, FumiEvent, BankNum),
    KVNC_FIELD(SAHPI_ET_FUMI, FumiEvent, UpgradeStatus),
};

#undef KVNC_FIELD

// A JSON number as the low bytes of a 64-bit integer; anything else is 0.
int64_t NumberOf(const Json &value) {
  if (value.is_number_unsigned()) return static_cast<int64_t>(value.get<uint64_t>());
  if (value.is_number_integer()) return value.get<int64_t>();
  if (value.is_number_float()) {
    const double d = value.get<double>();
    return d > -9.2e18 && d < 9.2e18 ? static_cast<int64_t>(d) : 0;
  }
  return 0;
}

// {"IsSupported", "Type", "Value"}; a reading of another type keeps no value.
SaHpiSensorReadingT ReadingOf(const Json &value) {
  SaHpiSensorReadingT reading{};
  if (!value.is_object()) return reading;
  const uint32_t type = static_cast<uint32_t>(NumberOf(value.value("Type", Json(0))));
  const Json number = value.value("Value", Json(0));
  if (type <= SAHPI_SENSOR_READING_TYPE_FLOAT64 && number.is_number()) {
    reading = MakeReading(type, number.get<double>());
  } else {
    reading.Type = type;
  }
  reading.IsSupported = static_cast<SaHpiBoolT>(NumberOf(value.value("IsSupported", Json(1))));
  return reading;
}

Json ReadingJson(const SaHpiSensorReadingT &reading) {
  return {{"IsSupported", reading.IsSupported}, {"Type", reading.Type}, {"Value", ReadingNumber(reading)}};
}

SaHpiSeverityT StateSeverity(const Sensor &sensor, unsigned bit) {
  return bit < sensor.severities.size() ? sensor.severities[bit] : SAHPI_OK;
}

// The threshold a threshold state's bit stands for, for the event's trigger.
const std::optional<double> *ThresholdOfState(const Sensor &sensor, unsigned bit) {
  static constexpr std::optional<double> ThresholdValues::*kByBit[] = {
      &ThresholdValues::LMn, &ThresholdValues::LMj, &ThresholdValues::LCr,
      &ThresholdValues::UMn, &ThresholdValues::UMj, &ThresholdValues::UCr,
  };
  if (sensor.category != SAHPI_EC_THRESHOLD || !sensor.thresholds || bit >= std::size(kByBit)) return nullptr;
  return &(sensor.thresholds->values.*kByBit[bit]);
}

Event SensorEventOf(SaHpiResourceIdT rid, SaHpiSensorNumT num, const Sensor &sensor, unsigned bit, bool asserted,
                    SaHpiEventStateT previous, SaHpiEventStateT current, double value, int64_t now) {
  Json data = {{"SensorNum", num},
               {"SensorType", sensor.type},
               {"EventCategory", sensor.category},
               {"Assertion", asserted ? 1 : 0},
               {"EventState", 1u << bit},
               {"PreviousState", previous},
               {"CurrentState", current}};
  SaHpiSensorOptionalDataT present = SAHPI_SOD_PREVIOUS_STATE | SAHPI_SOD_CURRENT_STATE;
  if (sensor.format) {
    data["TriggerReading"] = ReadingJson(MakeReading(sensor.format->reading_type, value));
    present |= SAHPI_SOD_TRIGGER_READING;
    const std::optional<double> *threshold = ThresholdOfState(sensor, bit);
    if (threshold != nullptr && threshold->has_value()) {
      data["TriggerThreshold"] = ReadingJson(MakeReading(sensor.format->reading_type, **threshold));
      present |= SAHPI_SOD_TRIGGER_THRESHOLD;
    }
  }
  data["OptionalDataPresent"] = present;
  return Event{rid, SAHPI_ET_SENSOR, now, asserted ? StateSeverity(sensor, bit) : SAHPI_OK, std::move(data)};
}

bool IsAlarmSeverity(SaHpiSeverityT severity) { return severity <= SAHPI_MINOR; }

}  // namespace

int64_t ApplianceTime(const Model &model) {
  if (model.appliance.clock) return *model.appliance.clock;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

SaHpiEventT EventRecord(const Event &event) {
  SaHpiEventT record{};
  record.Source = event.source;
  record.EventType = event.type;
  record.Timestamp = event.time;
  record.Severity = event.severity;
  auto *base = reinterpret_cast<unsigned char *>(&record.EventDataUnion);
  for (const EventField &field : kEventFields) {
    if (field.type != event.type || !event.data.is_object()) continue;
    auto it = event.data.find(field.key);
    if (it == event.data.end()) continue;
    switch (field.kind) {
      case FieldKind::kNumber: {
        // Little or big endian alike: the low bytes of the value.
        const int64_t wide = NumberOf(*it);
        const uint32_t u32 = static_cast<uint32_t>(wide);
        const uint16_t u16 = static_cast<uint16_t>(wide);
        const uint8_t u8 = static_cast<uint8_t>(wide);
        const void *source = field.size == 4   ? static_cast<const void *>(&u32)
                             : field.size == 2 ? static_cast<const void *>(&u16)
                                               : static_cast<const void *>(&u8);
        std::memcpy(base + field.offset, source, field.size);
        break;
      }
      case FieldKind::kReading: {
        const SaHpiSensorReadingT reading = ReadingOf(*it);
        std::memcpy(base + field.offset, &reading, sizeof reading);
        break;
      }
      case FieldKind::kText: {
        const SaHpiTextBufferT text = TextBufferFromString(it->is_string() ? it->get<std::string>() : "");
        std::memcpy(base + field.offset, &text, sizeof text);
        break;
      }
    }
  }
  return record;
}

void AppendToLog(EventLog &log, Event event, int64_t now) {
  if (log.enabled == 0) return;
  if (log.entries.size() >= log.size) {
    log.overflow = 1;
    if (log.overflow_action != SAHPI_EL_OVERFLOW_OVERWRITE || log.size == 0) return;
    log.entries.erase(log.entries.begin(), log.entries.end() - (log.size - 1));
  }
  const uint32_t id = log.entries.empty() ? 1 : log.entries.back().id % log.size + 1;
  log.entries.push_back({id, now, std::move(event)});
  log.updated = now;
}

void LogEvent(Model &model, Event event) {
  const int64_t now = ApplianceTime(model);
  if (Resource *resource = model.resources.Find(event.source); resource != nullptr && resource->event_log) {
    AppendToLog(*resource->event_log, event, now);
  }
  AppendToLog(model.event_log, std::move(event), now);
}

Event UserEventOf(const std::string &text, uint32_t severity, int64_t now) {
  return Event{SAHPI_UNSPECIFIED_RESOURCE_ID, SAHPI_ET_USER, now, severity, {{"UserEventData", text}}};
}

Event OemEventOf(uint32_t source, const std::string &text, int64_t now) {
  return Event{source, SAHPI_ET_OEM, now, SAHPI_INFORMATIONAL, {{"MId", 0}, {"OemEventData", text}}};
}

uint32_t NextAlarmId(const Model &model) {
  const uint32_t above = model.alarms.empty() ? 1 : model.alarms.back().id + 1;
  return std::max(model.next_alarm_id, above);
}

void ObserveSensors(Model &model) {
  const int64_t now = ApplianceTime(model);
  const double seconds = WallClockSeconds();
  for (auto &[rid, resource] : model.resources) {
    for (auto &[num, sensor] : resource.sensors) {
      const double value = SensorValue(sensor, seconds);
      const SaHpiEventStateT current = SensorEventState(sensor, value);
      const SaHpiEventStateT previous = sensor.observed.value_or(0);
      if (sensor.observed && current == previous) continue;
      sensor.observed = current;
      for (unsigned bit = 0; bit < 15; ++bit) {
        const SaHpiEventStateT mask = SaHpiEventStateT(1u << bit);
        if (((current ^ previous) & mask) == 0) continue;
        const bool asserted = (current & mask) != 0;
        if ((asserted ? sensor.assert_mask : sensor.deassert_mask) & mask) {
          LogEvent(model, SensorEventOf(rid, num, sensor, bit, asserted, previous, current, value, now));
        }
        const uint32_t r = rid, n = num;
        if (!asserted) {
          std::erase_if(model.alarms, [&](const Alarm &a) {
            return a.type == SAHPI_STATUS_COND_TYPE_SENSOR && a.resource == r && a.sensor == n && a.state == mask;
          });
        } else if (IsAlarmSeverity(StateSeverity(sensor, bit))) {
          const uint32_t id = NextAlarmId(model);
          model.alarms.push_back(
              Alarm{id, now, StateSeverity(sensor, bit), 0, SAHPI_STATUS_COND_TYPE_SENSOR, r, n, mask, "", 0, ""});
          model.next_alarm_id = id + 1;
        }
      }
    }
  }
}

}  // namespace kvnc::sim
