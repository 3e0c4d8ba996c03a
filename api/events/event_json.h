// The JSON forms in which the web UI receives HPI events, event log entries,
// event log status and alarms, and the text form of HPI time stamps. The
// event-log and alarm handlers, and every later page that shows events, use
// these and no other.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "client/hpi_types.h"
#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

// "TIME UNSPECIFIED", "RELATIVE: <d>d <hh>:<mm>:<ss>" up to the largest
// relative time (negative times included), otherwise the local date and time
// "YYYY-mm-dd HH:MM:SS", or "TIME DECODING ERROR" when that cannot be made.
std::string EventTimeText(SaHpiTimeT time);

// The web UI's number for an HPI event type; std::nullopt for user events and types above 11.
std::optional<int32_t> EventTypeCode(SaHpiEventTypeT type);

// {"rid", "TC", "severity", "type", "data"}; user events carry no "type" and
// their "data" is the text; unknown event types only the first three keys.
json EventToJson(const SaHpiEventT &event);

// [time low 32 bits, time high 32 bits (signed), source, severity, HPI event
// type]: what identifies the newest entry a client holds.
json EventFingerprint(const SaHpiEventT &event);

// {"entry": {"ID", "TS"[, "CRC"]}, "event": EventToJson}.
json LogEntryToJson(const SaHpiEventLogEntryT &entry, bool with_fingerprint);

// Reads the status of the log of `rid` (SAHPI_UNSPECIFIED_RESOURCE_ID: the
// domain log). On success replaces all of `target` with {"info": {...}};
// on failure returns the HPI error and leaves `target` as it was.
SaErrorT EventLogInfoToJson(HpiSession session, SaHpiResourceIdT rid, json &target);

// One alarm of a sensor or resource condition. For a sensor the name, type
// and category come from its record; when that cannot be read they are "".
json AlarmToJson(HpiSession session, const SaHpiAlarmT &alarm);

}  // namespace kvnc
