// A power distribution unit's nominal voltage and frequency and how its
// outlets come up at power-on: the start-up sequence (order and delays) and
// each outlet's initial state.
#pragma once

#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

json GetIpduSettings(HpiSession session, const json &prm);           // FN 86
json SetIpduNominalValues(HpiSession session, const json &prm);      // FN 87
json SetOutletStartupSequence(HpiSession session, const json &prm);  // FN 88

}  // namespace kvnc
