// The remote servers whose reachability the controller watches. Entries are
// addressed by id, 1 up to the daemon's count; the values are the daemon's.
#pragma once

#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

json GetReachabilityEntries(HpiSession session, const json &prm);   // FN 97
json AddReachabilityEntry(HpiSession session, const json &prm);     // FN 98
json SetReachabilityEntry(HpiSession session, const json &prm);     // FN 99
json DeleteReachabilityEntry(HpiSession session, const json &prm);  // FN 100

}  // namespace kvnc
