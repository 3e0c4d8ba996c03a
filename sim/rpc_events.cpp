// Event logs, the alarm table and the firmware version.
#include <algorithm>

#include "client/text_buffer.h"
#include "sim/events.h"
#include "sim/sim_functions.h"

namespace kvnc::sim {

namespace {

// The domain log for the unspecified resource, else the resource's own.
SaErrorT FindLog(Caller &c, SaHpiResourceIdT resource, EventLog **log) {
  if (resource == SAHPI_UNSPECIFIED_RESOURCE_ID) {
    *log = &c.model.event_log;
    return SA_OK;
  }
  Resource *r;
  if (SaErrorT rv = c.FindResource(resource, &r); rv != SA_OK) return rv;
  if (!r->event_log) return SA_ERR_HPI_CAPABILITY;
  *log = &*r->event_log;
  return SA_OK;
}

bool IsSeverityFilter(SaHpiSeverityT severity) {
  return severity <= SAHPI_OK || severity == SAHPI_DEBUG || severity == SAHPI_ALL_SEVERITIES;
}

bool SeverityMatches(SaHpiSeverityT filter, const Alarm &alarm) {
  return filter == SAHPI_ALL_SEVERITIES || filter == alarm.severity;
}

SaHpiAlarmT AlarmRecord(const Model &model, const Alarm &alarm) {
  SaHpiAlarmT record{};
  record.AlarmId = alarm.id;
  record.Timestamp = alarm.time;
  record.Severity = alarm.severity;
  record.Acknowledged = alarm.acknowledged;
  SaHpiConditionT &cond = record.AlarmCond;
  cond.Type = alarm.type;
  if (const Resource *r = model.resources.Find(alarm.resource); r != nullptr) {
    cond.Entity = MakeEntityPath(r->entity_path);
  }
  cond.DomainId = SAHPI_UNSPECIFIED_DOMAIN_ID;
  cond.ResourceId = alarm.resource;
  cond.SensorNum = alarm.sensor;
  cond.EventState = alarm.state;
  cond.Name.Length = static_cast<SaHpiUint16T>(std::min<size_t>(alarm.name.size(), SA_HPI_MAX_NAME_LENGTH));
  std::copy_n(alarm.name.begin(), cond.Name.Length, cond.Name.Value);
  cond.Mid = alarm.mid;
  cond.Data = TextBufferFromString(alarm.data);
  return record;
}

Alarm *FindAlarm(Caller &c, SaHpiAlarmIdT id) {
  auto it = std::find_if(c.model.alarms.begin(), c.model.alarms.end(), [&](const Alarm &a) { return a.id == id; });
  return it == c.model.alarms.end() ? nullptr : &*it;
}

}  // namespace

SaErrorT SimEventLogInfoGet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiEventLogInfoT *info) {
  ObserveSensors(c.model);
  EventLog *log;
  if (SaErrorT rv = FindLog(c, resource, &log); rv != SA_OK) return rv;
  info->Entries = static_cast<SaHpiUint32T>(log->entries.size());
  info->Size = log->size;
  info->UserEventMaxSize = SAHPI_MAX_TEXT_BUFFER_LENGTH;
  info->UpdateTimestamp = log->updated;
  info->CurrentTime = ApplianceTime(c.model);
  info->Enabled = log->enabled;
  info->OverflowFlag = log->overflow;
  info->OverflowResetable = SAHPI_TRUE;
  info->OverflowAction = log->overflow_action;
  return SA_OK;
}

SaErrorT SimEventLogEntryGet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiEventLogEntryIdT id,
                             SaHpiEventLogEntryIdT *prev, SaHpiEventLogEntryIdT *next, SaHpiEventLogEntryT *entry,
                             SaHpiRdrT *, SaHpiRptEntryT *) {
  ObserveSensors(c.model);
  EventLog *log;
  if (SaErrorT rv = FindLog(c, resource, &log); rv != SA_OK) return rv;
  if (id == SAHPI_NO_MORE_ENTRIES) return SA_ERR_HPI_INVALID_PARAMS;
  const std::vector<LogEntry> &entries = log->entries;
  if (entries.empty()) return SA_ERR_HPI_NOT_PRESENT;
  // The newest entry holding the id: in a log loaded with repeated ids the
  // walk may come round again, as a faulty daemon's would.
  size_t at = entries.size() - 1;
  if (id == SAHPI_OLDEST_ENTRY) {
    at = 0;
  } else if (id != SAHPI_NEWEST_ENTRY) {
    auto it = std::find_if(entries.rbegin(), entries.rend(), [&](const LogEntry &e) { return e.id == id; });
    if (it == entries.rend()) return SA_ERR_HPI_NOT_PRESENT;
    at = static_cast<size_t>(entries.rend() - it) - 1;
  }
  const LogEntry &found = entries[at];
  *prev = at == 0 ? SAHPI_NO_MORE_ENTRIES : entries[at - 1].id;
  *next = at + 1 == entries.size() ? SAHPI_NO_MORE_ENTRIES : entries[at + 1].id;
  entry->EntryId = found.id;
  entry->Timestamp = found.time;
  entry->Event = EventRecord(found.event);
  return SA_OK;
}

SaErrorT SimEventLogClear(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource) {
  EventLog *log;
  if (SaErrorT rv = FindLog(c, resource, &log); rv != SA_OK) return rv;
  const int64_t now = ApplianceTime(c.model);
  log->entries.clear();
  log->overflow = 0;
  log->updated = now;
  const std::string who = c.name != nullptr ? *c.name : "root";
  AppendToLog(*log, OemEventOf(resource, "Event log cleared by " + who, now), now);
  return SA_OK;
}

SaErrorT SimAlarmGetNext(Caller &c, SaHpiSessionIdT, SaHpiSeverityT severity, SaHpiBoolT unacknowledged_only,
                         const SaHpiAlarmT *after, SaHpiAlarmT *alarm) {
  ObserveSensors(c.model);
  if (!IsSeverityFilter(severity)) return SA_ERR_HPI_INVALID_PARAMS;
  if (after->AlarmId == SAHPI_LAST_ENTRY) return SA_ERR_HPI_NOT_PRESENT;
  const std::vector<Alarm> &alarms = c.model.alarms;
  if (after->AlarmId != SAHPI_FIRST_ENTRY) {
    // The alarm continued from must still be the one the caller saw.
    auto same = std::find_if(alarms.begin(), alarms.end(), [&](const Alarm &a) { return a.id == after->AlarmId; });
    if (same != alarms.end() && same->time != after->Timestamp) return SA_ERR_HPI_INVALID_DATA;
  }
  for (const Alarm &a : alarms) {
    if (a.id <= after->AlarmId || !SeverityMatches(severity, a)) continue;
    if (unacknowledged_only != 0 && a.acknowledged != 0) continue;
    *alarm = AlarmRecord(c.model, a);
    return SA_OK;
  }
  return SA_ERR_HPI_NOT_PRESENT;
}

// One alarm by id, whatever its severity, or with SAHPI_ENTRY_UNSPECIFIED
// every alarm of `severity`.
SaErrorT SimAlarmAcknowledge(Caller &c, SaHpiSessionIdT, SaHpiAlarmIdT id, SaHpiSeverityT severity) {
  if (id != SAHPI_ENTRY_UNSPECIFIED) {
    Alarm *alarm = FindAlarm(c, id);
    if (alarm == nullptr) return SA_ERR_HPI_NOT_PRESENT;
    alarm->acknowledged = SAHPI_TRUE;
    return SA_OK;
  }
  if (!IsSeverityFilter(severity)) return SA_ERR_HPI_INVALID_PARAMS;
  for (Alarm &alarm : c.model.alarms) {
    if (SeverityMatches(severity, alarm)) alarm.acknowledged = SAHPI_TRUE;
  }
  return SA_OK;
}

// As acknowledging, but only user alarms can be deleted: the daemon's own
// go when their condition does (one named by id answers READ_ONLY).
SaErrorT SimAlarmDelete(Caller &c, SaHpiSessionIdT, SaHpiAlarmIdT id, SaHpiSeverityT severity) {
  if (id != SAHPI_ENTRY_UNSPECIFIED) {
    Alarm *alarm = FindAlarm(c, id);
    if (alarm == nullptr) return SA_ERR_HPI_NOT_PRESENT;
    if (alarm->type != SAHPI_STATUS_COND_TYPE_USER) return SA_ERR_HPI_READ_ONLY;
    std::erase_if(c.model.alarms, [&](const Alarm &a) { return a.id == id; });
    return SA_OK;
  }
  if (!IsSeverityFilter(severity)) return SA_ERR_HPI_INVALID_PARAMS;
  std::erase_if(c.model.alarms,
                [&](const Alarm &a) { return a.type == SAHPI_STATUS_COND_TYPE_USER && SeverityMatches(severity, a); });
  return SA_OK;
}

SaErrorT SimGetFirmwareVersion(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *version) {
  *version = TextBufferFromString(c.model.appliance.firmware);
  return SA_OK;
}

}  // namespace kvnc::sim
