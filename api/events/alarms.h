// Active alarms: list them, acknowledge or delete a list of them. The daemon
// applies the user's rights to each call; these handlers check none themselves.
#pragma once

#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

json GetAlarms(HpiSession session, const json &prm);          // FN 11
json AcknowledgeAlarms(HpiSession session, const json &prm);  // FN 82
json DeleteAlarms(HpiSession session, const json &prm);       // FN 83

}  // namespace kvnc
