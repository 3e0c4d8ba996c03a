// Event logs: status, pages, the newest entry, new entries since the last one
// a client holds, the whole log, and clearing. "res_id" names a resource's
// log; absent or 0 the domain log. The daemon applies the user's rights to
// each call; these handlers check none themselves.
#pragma once

#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

json GetEventLogInfo(HpiSession session, const json &prm);         // FN 3
json GetEventLogEntries(HpiSession session, const json &prm);      // FN 4
json GetNewestEventLogEntry(HpiSession session, const json &prm);  // FN 5
json GetNewEventLogEntries(HpiSession session, const json &prm);   // FN 6
json ClearEventLog(HpiSession session, const json &prm);           // FN 74
json GetWholeEventLog(HpiSession session, const json &prm);        // FN 314

}  // namespace kvnc
