// What happens in the simulated appliance, as the daemon reports it: events
// written to the domain event log (and to a resource's own log when it keeps
// one), and the alarms that threshold crossings raise and clear.
#pragma once

#include <cstdint>
#include <string>

#include "client/hpi_types.h"
#include "sim/model.h"

namespace kvnc::sim {

// The controller's clock in HPI nanoseconds: the model's pinned clock, or
// the wall clock.
int64_t ApplianceTime(const Model &model);

// The HPI record of an event of the model. Fields of `data` that are not
// numbers, strings or reading objects of the right kind are left zero: a
// test may load any odd event.
SaHpiEventT EventRecord(const Event &event);

// Appends `entry` to `log` under the next entry id, as the daemon does:
// nothing while the log is disabled; a full log overwrites its oldest entry
// or drops the new one (by its overflow action), and says it overflowed.
void AppendToLog(EventLog &log, Event event, int64_t now);
// The event goes to the domain log and to its source resource's own log.
void LogEvent(Model &model, Event event);

Event UserEventOf(const std::string &text, uint32_t severity, int64_t now);
// The daemon's own notes (a log cleared, a control switched), as OEM events
// of the unspecified manufacturer.
Event OemEventOf(uint32_t source, const std::string &text, int64_t now);

// Compares each sensor's event state with the one it reported last; every
// state asserted or deasserted since is logged as a sensor event, and
// raises or clears the alarm of that state when its severity is minor or
// worse. Called before the daemon answers about its logs and alarms, so
// what the moving readings did in between shows there.
void ObserveSensors(Model &model);

// The lowest unused alarm id above every alarm in the table.
uint32_t NextAlarmId(const Model &model);

}  // namespace kvnc::sim
