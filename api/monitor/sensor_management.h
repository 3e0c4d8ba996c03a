// Managed sensors (numbers, attachment, description, user type text and
// coordinates), user sensor types with named states, and the sensor
// measurement log with its settings. The daemon applies the user's rights to
// each call; these handlers check none themselves.
#pragma once

#include <string>

#include "client/hpi_types.h"
#include "client/kvn_types.h"
#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

json ManageSensor(HpiSession session, const json &prm);            // FN 76
json GetManagedSensorNumber(HpiSession session, const json &prm);  // FN 77
json AttachSensor(HpiSession session, const json &prm);            // FN 78
json DetachSensor(HpiSession session, const json &prm);            // FN 79
json GetSensorSettings(HpiSession session, const json &prm);       // FN 80
json SetSensorSettings(HpiSession session, const json &prm);       // FN 81
json GetSensorLogSettings(HpiSession session, const json &prm);    // FN 92
json SetSensorLogSettings(HpiSession session, const json &prm);    // FN 93
json GetSensorLog(HpiSession session, const json &prm);            // FN 94
json GetSensorUserTypes(HpiSession session, const json &prm);      // FN 125
json AddSensorUserType(HpiSession session, const json &prm);       // FN 126
json UpdateSensorUserType(HpiSession session, const json &prm);    // FN 127
json DeleteSensorUserType(HpiSession session, const json &prm);    // FN 128
json SetSensorTypeByName(HpiSession session, const json &prm);     // FN 129

// A user type holds at most this many states: one bit each in the 16-bit
// state mask, one slot each in the severity array.
inline constexpr size_t kMaxUserTypeStates = 16;

// The state names of a user type, joined by newlines, travel in two text
// buffers: the first 255 bytes, then up to 255 more; the rest is cut.
struct StateNameBuffers {
  SaHpiTextBufferT first;
  SaHpiTextBufferT second;
};
StateNameBuffers SplitStateNames(const std::string &joined);

// [{"state", "name", "svrt"}, ...] from the two buffers as the daemon returns
// them: the joined text split at every newline (an empty text has no
// states), name i paired with severity i. A name without a severity (the
// names were cut) is no state.
json UserTypeStatesJson(const SaHpiTextBufferT &first, const SaHpiTextBufferT &second,
                        const KvnSeverityListT &severities);

// {"ID", "TS", "RC", "ESC", "AVR", "MIN", "MAX", "DSP", "AES"}; `time` is the
// entry's time stamp already formatted.
json SensorLogEntryJson(SaHpiUint32T index, const std::string &time, const KvnSensorLogEntryT &entry);

// HPI nanoseconds as local time in the "%c" form; empty when it does not fit.
std::string SensorLogTimeText(SaHpiTimeT timestamp);

}  // namespace kvnc
