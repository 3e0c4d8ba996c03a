// Resources and their records (RDRs): list and fetch records, name and
// describe resources and instruments, set a resource's severity, remove a
// resource. The daemon applies the user's rights to each call; these
// handlers check none themselves.
#pragma once

#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

json GetInventoryRdrs(HpiSession session, const json &prm);      // FN 7
json GetRdrByInstrumentId(HpiSession session, const json &prm);  // FN 9
json GetResourceRdrs(HpiSession session, const json &prm);       // FN 10
json SetSensorName(HpiSession session, const json &prm);         // FN 53
json SetControlName(HpiSession session, const json &prm);        // FN 54
json SetResourceTag(HpiSession session, const json &prm);        // FN 56
json RemoveResource(HpiSession session, const json &prm);        // FN 146
json GetDescription(HpiSession session, const json &prm);        // FN 163
json SetDescription(HpiSession session, const json &prm);        // FN 164
json SetResourceSeverity(HpiSession session, const json &prm);   // FN 304

}  // namespace kvnc
