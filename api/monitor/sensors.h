// The sensor pages: bulk readings, thresholds and assertion delays, event
// masks and state severities. The daemon applies the user's rights to each
// call; these handlers check none themselves.
#pragma once

#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

json GetSensorReadings(HpiSession session, const json &prm);       // FN 12
json GetSensorThresholds(HpiSession session, const json &prm);     // FN 13
json SetSensorThresholds(HpiSession session, const json &prm);     // FN 14
json SetThresholdsOfSensors(HpiSession session, const json &prm);  // FN 15
json GetSensorEventMasks(HpiSession session, const json &prm);     // FN 16
json SetSensorEventMasks(HpiSession session, const json &prm);     // FN 17
json GetSensorConfiguration(HpiSession session, const json &prm);  // FN 95
json SetSensorStateSeverity(HpiSession session, const json &prm);  // FN 96
json GetResourceSensors(HpiSession session, const json &prm);      // FN 130
json GetSensorSummary(HpiSession session, const json &prm);        // FN 303

}  // namespace kvnc
