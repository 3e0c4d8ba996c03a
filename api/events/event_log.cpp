#include "api/events/event_log.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <unordered_set>

#include "api/events/event_json.h"
#include "api/monitor/hpi_json.h"
#include "client/eal_log.h"
#include "client/hpi_functions.h"
#include "client/text_buffer.h"
#include "front/api_error.h"

namespace kvnc {
namespace {

constexpr const char *kEntryGet = "saHpiEventLogEntryGet";
constexpr const char *kInfoGet = "saHpiEventLogInfoGet";

// The most entries one request reads from a log. Logs of the appliance hold
// a few thousand entries; the bound only keeps a faulty daemon that hands
// out new ids without end from making a request run, and its reply grow,
// for ever. 100000 entries are some tens of megabytes of reply.
constexpr size_t kMaxWalkEntries = 100000;

// "res_id" absent or 0: the domain log.
SaHpiResourceIdT ResolveLogResourceId(const json &prm) {
  const json *value = OptionalKey(prm, "res_id");
  const SaHpiResourceIdT rid = value == nullptr ? 0 : GetNumber<SaHpiResourceIdT>(*value);
  return rid == 0 ? SAHPI_UNSPECIFIED_RESOURCE_ID : rid;
}

struct LogRead {
  SaHpiEventLogEntryT entry{};
  SaHpiEventLogEntryIdT prev = SAHPI_NO_MORE_ENTRIES;
};

SaErrorT GetEntry(HpiSession session, SaHpiResourceIdT rid, SaHpiEventLogEntryIdT id, LogRead &read) {
  SaHpiEventLogEntryIdT next = SAHPI_NO_MORE_ENTRIES;
  SaHpiRdrT rdr{};
  SaHpiRptEntryT rpt{};
  return saHpiEventLogEntryGet(session, rid, id, &read.prev, &next, &read.entry, &rdr, &rpt);
}

// Entry `id`; any error leaves the handler as RC 9.
LogRead ReadEntry(HpiSession session, SaHpiResourceIdT rid, SaHpiEventLogEntryIdT id) {
  LogRead read;
  CheckHpi(GetEntry(session, rid, id, read), kEntryGet);
  return read;
}

// Where a walk along PrevEntryId goes next. It ends at SAHPI_NO_MORE_ENTRIES;
// and, since the ids come from the daemon, also at an id this walk has
// already read (asked for or handed back as an entry's own id), and after
// kMaxWalkEntries entries. Ids count down along PrevEntryId but wrap around
// in a full log, so no order test can tell a loop: the ids are remembered.
// A walk that ends early is answered with the entries gathered so far.
class LogWalk {
 public:
  // Notes the entry read under `requested`.
  void Note(SaHpiEventLogEntryIdT requested, const LogRead &read) {
    if (requested != SAHPI_NEWEST_ENTRY && requested != SAHPI_OLDEST_ENTRY) seen_.insert(requested);
    seen_.insert(read.entry.EntryId);
    prev_ = read.prev;
    ++count_;
  }

  // The id to read next, or nothing when the walk ends here.
  std::optional<SaHpiEventLogEntryIdT> Next() const {
    if (prev_ == SAHPI_NO_MORE_ENTRIES) return std::nullopt;
    if (seen_.contains(prev_) || count_ >= kMaxWalkEntries) {
      eal_log(EAL_LOG_WARNING, "CGI %s: event log walk ends after %zu entries: next entry %u %s\n", Peer(), count_,
              prev_, count_ >= kMaxWalkEntries ? "beyond the bound" : "already read");
      return std::nullopt;
    }
    return prev_;
  }

 private:
  std::unordered_set<SaHpiEventLogEntryIdT> seen_;
  SaHpiEventLogEntryIdT prev_ = SAHPI_NO_MORE_ENTRIES;
  size_t count_ = 0;
};

// Hands `take` the entry `first`, read under `first_id`, then each older one
// until `take` returns false or the walk ends.
void WalkLog(HpiSession session, SaHpiResourceIdT rid, SaHpiEventLogEntryIdT first_id, const LogRead &first,
             const std::function<bool(const SaHpiEventLogEntryT &)> &take) {
  LogWalk walk;
  walk.Note(first_id, first);
  if (!take(first.entry)) return;
  for (auto id = walk.Next(); id; id = walk.Next()) {
    const LogRead read = ReadEntry(session, rid, *id);
    walk.Note(*id, read);
    if (!take(read.entry)) return;
  }
}

// {"info": {...}, "events": []}.
json LogInfoWithEvents(HpiSession session, SaHpiResourceIdT rid) {
  json result;
  CheckHpi(EventLogInfoToJson(session, rid, result), kInfoGet);
  result["events"] = json::array();
  return result;
}

uint32_t InfoNumber(const json &result, const char *key) { return result["info"][key].get<uint32_t>(); }

// The first entry of page `num` of `size` entries: page 1 starts at the
// newest entry; later pages count back from its predecessor, wrapping within
// the log's capacity when it is full. Unsigned 32-bit arithmetic throughout.
SaHpiEventLogEntryIdT PageStart(uint32_t num, uint32_t size, uint32_t prev, uint32_t log_size, uint32_t entries) {
  const uint32_t skip = size * (num - 1);
  if (skip < prev) return prev + 1 - skip;
  if (log_size == entries) return prev + 1 - skip + log_size;
  // Page size 0 gets here only with prev 0 (skip is 0): no division by zero.
  return size == 0 ? prev : prev % size;
}

// The fingerprint a client sends back as "last".
struct Fingerprint {
  SaHpiTimeT time;
  SaHpiResourceIdT source;
  int32_t severity;
  int32_t type;
};

Fingerprint ReadFingerprint(const json &last) {
  // at() throws the library's error for a short array or a non-array.
  const auto low = GetNumber<uint32_t>(last.at(0));
  const auto high = GetNumber<uint32_t>(last.at(1));
  return {static_cast<SaHpiTimeT>((uint64_t{high} << 32) | low), GetNumber<uint32_t>(last.at(2)),
          GetNumber<int32_t>(last.at(3)), GetNumber<int32_t>(last.at(4))};
}

bool IsRelative(SaHpiTimeT time) { return time <= SAHPI_TIME_MAX_RELATIVE; }

// The client holds `event` already, or something newer: the same event, or
// one older than its last of the same time base (relative and absolute times
// are never compared).
bool AlreadyHeld(const SaHpiEventT &event, const Fingerprint &last) {
  if (event.Timestamp == last.time && event.Source == last.source &&
      static_cast<int32_t>(event.Severity) == last.severity && static_cast<int32_t>(event.EventType) == last.type) {
    return true;
  }
  return IsRelative(event.Timestamp) == IsRelative(last.time) && event.Timestamp < last.time;
}

json ReadNewest(HpiSession session, const json &prm, bool clear_first) {
  const SaHpiResourceIdT rid = ResolveLogResourceId(prm);
  if (clear_first) CheckHpi(saHpiEventLogClear(session, rid), "saHpiEventLogClear");
  json result = LogInfoWithEvents(session, rid);
  LogRead newest;
  const SaErrorT rv = GetEntry(session, rid, SAHPI_NEWEST_ENTRY, newest);
  if (rv != SA_ERR_HPI_NOT_PRESENT) {  // not present: the log is empty
    CheckHpi(rv, kEntryGet);
    result["events"].push_back(LogEntryToJson(newest.entry, true));
  }
  return OkReplyWithResponse(result);
}

}  // namespace

json GetEventLogInfo(HpiSession session, const json &prm) {
  const SaHpiResourceIdT rid = ResolveLogResourceId(prm);
  json result;
  CheckHpi(EventLogInfoToJson(session, rid, result), kInfoGet);
  if (rid == SAHPI_UNSPECIFIED_RESOURCE_ID) {
    // The version is an extra of the domain log's page; without it the status still stands.
    SaHpiTextBufferT version{};
    if (kvnHpiGetFirmwareVersion(session, &version) == SA_OK) result["ver"] = TextBufferToString(version);
  }
  return OkReplyWithResponse(result);
}

json GetEventLogEntries(HpiSession session, const json &prm) {
  const auto num = GetNumber<uint32_t>(RequireKey(prm, "num"));
  const auto size = GetNumber<uint32_t>(RequireKey(prm, "size"));
  const SaHpiResourceIdT rid = ResolveLogResourceId(prm);
  json result = LogInfoWithEvents(session, rid);
  const LogRead newest = ReadEntry(session, rid, SAHPI_NEWEST_ENTRY);

  SaHpiEventLogEntryIdT first_id = SAHPI_NEWEST_ENTRY;
  LogRead first = newest;
  if (num != 1) {
    first_id = PageStart(num, size, newest.prev, InfoNumber(result, "size"), InfoNumber(result, "entries"));
    first = ReadEntry(session, rid, first_id);
  }
  // Page size 0: no limit but the walk's own.
  uint32_t remaining = size - 1;
  json &events = result["events"];
  WalkLog(session, rid, first_id, first, [&](const SaHpiEventLogEntryT &entry) {
    events.push_back(LogEntryToJson(entry, false));
    if (remaining == 0) return false;
    --remaining;
    return true;
  });
  return OkReplyWithResponse(result);
}

json GetNewestEventLogEntry(HpiSession session, const json &prm) { return ReadNewest(session, prm, false); }

json ClearEventLog(HpiSession session, const json &prm) { return ReadNewest(session, prm, true); }

json GetNewEventLogEntries(HpiSession session, const json &prm) {
  const SaHpiResourceIdT rid = ResolveLogResourceId(prm);
  const Fingerprint last = ReadFingerprint(json(RequireKey(prm, "last")));
  json result = LogInfoWithEvents(session, rid);
  if (InfoNumber(result, "entries") == 0) return OkReplyWithResponse(result);

  json &events = result["events"];
  WalkLog(session, rid, SAHPI_NEWEST_ENTRY, ReadEntry(session, rid, SAHPI_NEWEST_ENTRY),
          [&](const SaHpiEventLogEntryT &entry) {
            if (AlreadyHeld(entry.Event, last)) return false;
            events.push_back(LogEntryToJson(entry, true));
            return true;
          });
  return OkReplyWithResponse(result);
}

json GetWholeEventLog(HpiSession session, const json &prm) {
  const SaHpiResourceIdT rid = ResolveLogResourceId(prm);
  json entries = json::array();
  WalkLog(session, rid, SAHPI_NEWEST_ENTRY, ReadEntry(session, rid, SAHPI_NEWEST_ENTRY),
          [&](const SaHpiEventLogEntryT &entry) {
            entries.push_back(LogEntryToJson(entry, false));
            return true;
          });
  return OkReplyWithResponse(entries);
}

}  // namespace kvnc
