// Controls and power outlets: read and switch controls, list the instruments
// of one outlet, rename an outlet. The daemon applies the user's rights to
// each call; these handlers check none themselves.
#pragma once

#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

json GetOutletInstruments(HpiSession session, const json &prm);  // FN 8
json GetControlStates(HpiSession session, const json &prm);      // FN 18
json SetControlState(HpiSession session, const json &prm);       // FN 19
json SetOutletUserName(HpiSession session, const json &prm);     // FN 55

}  // namespace kvnc
