// JSON forms of HPI values shared by the monitoring, event and group pages:
// sensor readings and thresholds, state severities, assertion delays, RDRs
// and entity paths, and the reading parser used when thresholds are written.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "client/hpi_types.h"
#include "client/kvn_types.h"
#include "front/replies.h"

namespace kvnc {

// A float as JSON; NaN and infinities become null.
json FloatJson(double value);

// A JSON number as a double. Unlike the library's own conversion, a boolean
// is not a number here: it raises the type error.
double GetFloat(const json &value);

// {"sup", "type", "value"}; "sup" is false for readings that are never sent
// (buffers and unknown types).
json SensorReadingJson(const SaHpiSensorReadingT &reading);

// Fills *reading from {"sup", "type", "value"}: 0 on success, 5 when a key is
// missing, 6 for a supported reading of a type other than INT64, UINT64 or
// FLOAT64. Values of the wrong JSON type raise the library's type error.
unsigned ParseSensorReadingJson(const json &value, SaHpiSensorReadingT *reading);

// The eight thresholds by key ("LCr", "LMj", ...).
json SensorThresholdsJson(const SaHpiSensorThresholdsT &thresholds);

// Reads and parses the eight threshold keys of `prm` in table order; a
// missing key is RC 5 with its name, an unparsable reading the parser's
// result as a plain RC (leaves as ApiFailure).
SaHpiSensorThresholdsT ReadSensorThresholds(const json &prm);

// {"sup", "set"}: one severity per set bit of `mask`, lowest bit first, as far
// as the list returned by the controller reaches.
json StateSeverityJson(SaHpiEventStateT mask, const KvnSeverityListT &severities);

// The six threshold assertion delays by key.
json AssertionDelayJson(const KvnAssertionDelaysT &delays);

// Key, presence-mask bit and slot of each threshold assertion delay.
struct AssertionDelayKey {
  const char *key;
  SaHpiEventStateT bit;
  unsigned slot;
};
inline constexpr AssertionDelayKey kAssertionDelayKeys[] = {
    {"LMn", 0x01, 0}, {"LMj", 0x02, 1}, {"LCr", 0x04, 2}, {"UMn", 0x08, 3}, {"UMj", 0x10, 4}, {"UCr", 0x20, 5},
};

// [{"t", "l"}, ...] from the outermost element to the first entry of the path.
json EntityPathJson(const SaHpiEntityPathT &path);

// {"id", "ep"} plus "s", "c" or "i" for sensor, control and inventory records.
json RdrJson(const SaHpiRdrT &rdr);

// The member `key` of `object`, or null when it is absent (or `object` is no
// object). For keys that may be left out.
const json *OptionalKey(const json &object, std::string_view key);

// The array member `key` of `prm`: RC 5 when it is absent, RC 6 with the key
// when it is no array.
const json &RequireArray(const json &prm, std::string_view key);

// Severity storage that the client library allocates on a successful reply
// belongs to the caller; this frees it on every path.
struct SeverityListHolder {
  KvnSeverityListT list{0, nullptr};
  SeverityListHolder() = default;
  SeverityListHolder(const SeverityListHolder &) = delete;
  SeverityListHolder &operator=(const SeverityListHolder &) = delete;
  ~SeverityListHolder() { free(list.Severities); }
};

}  // namespace kvnc
