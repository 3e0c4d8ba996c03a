#include "api/config/reachability.h"

#include "api/events/id_walk.h"
#include "client/hpi_functions.h"
#include "client/text_buffer.h"
#include "front/api_error.h"

namespace kvnc {
namespace {

// An entry's settings as the web UI names them, in the order they are read
// and sent.
struct EntrySettings {
  SaHpiTextBufferT dest{};
  SaHpiUint32T scnt = 0, ucnt = 0, ascc = 0, aunsc = 0, bres = 0;
  SaHpiBoolT enabled = 0;
};

EntrySettings ReadSettings(const json &prm) {
  EntrySettings s;
  s.dest = TextBufferFromString(RequireKey(prm, "DEST").get<std::string>());
  s.scnt = GetNumber<SaHpiUint32T>(RequireKey(prm, "SCNT"));
  s.ucnt = GetNumber<SaHpiUint32T>(RequireKey(prm, "UCNT"));
  s.ascc = GetNumber<SaHpiUint32T>(RequireKey(prm, "ASCC"));
  s.aunsc = GetNumber<SaHpiUint32T>(RequireKey(prm, "AUNSC"));
  s.bres = GetNumber<SaHpiUint32T>(RequireKey(prm, "BRES"));
  s.enabled = GetNumber<SaHpiBoolT>(RequireKey(prm, "EN"));
  return s;
}

SaHpiUint32T ReadId(const json &prm) { return GetNumber<SaHpiUint32T>(RequireKey(prm, "ID")); }

}  // namespace

json GetReachabilityEntries(HpiSession session, const json & /*prm*/) {
  SaHpiUint32T count = 0;
  CheckHpi(kvnServerReachabilityGetCount(session, &count), "kvnServerReachabilityGetCount");
  // The count comes from another process: a runaway one ends the walk
  // instead of a call per id up to four billion.
  WalkGuard guard("kvnServerReachabilityGetCount");
  json entries = json::array();
  for (SaHpiUint32T id = 1; id <= count && id != 0; ++id) {
    guard.Visit(id);
    SaHpiTextBufferT dest{};
    SaHpiUint32T scnt = 0, ucnt = 0, ascc = 0, aunsc = 0, bres = 0;
    SaHpiBoolT enabled = 0, reachable = 0, unreachable = 0;
    CheckHpi(kvnServerReachabilityGet(session, id, &dest, &scnt, &ucnt, &ascc, &aunsc, &bres, &enabled, &reachable,
                                      &unreachable),
             "kvnServerReachabilityGet");
    entries.push_back({{"ASCC", ascc},
                       {"AUNSC", aunsc},
                       {"BRES", bres},
                       {"DEST", TextBufferToString(dest)},
                       {"EN", enabled},
                       {"ID", id},
                       {"REACH", reachable},
                       {"SCNT", scnt},
                       {"UCNT", ucnt},
                       {"UNRCH", unreachable}});
  }
  return OkReplyWithResponse(entries);
}

json AddReachabilityEntry(HpiSession session, const json &prm) {
  const EntrySettings s = ReadSettings(prm);
  SaHpiUint32T id = 0;
  CheckHpi(kvnServerReachabilityAdd(session, &s.dest, s.scnt, s.ucnt, s.ascc, s.aunsc, s.bres, s.enabled, &id),
           "kvnServerReachabilityAdd");
  return OkReplyWithResponse({{"ID", id}});
}

json SetReachabilityEntry(HpiSession session, const json &prm) {
  const SaHpiUint32T id = ReadId(prm);
  const EntrySettings s = ReadSettings(prm);
  CheckHpi(kvnServerReachabilitySet(session, id, &s.dest, s.scnt, s.ucnt, s.ascc, s.aunsc, s.bres, s.enabled),
           "kvnServerReachabilitySet");
  return OkReply();
}

json DeleteReachabilityEntry(HpiSession session, const json &prm) {
  const SaHpiUint32T id = ReadId(prm);
  CheckHpi(kvnServerReachabilityDelete(session, id), "kvnServerReachabilityDelete");
  return OkReply();
}

}  // namespace kvnc
