// Groups of controls (often outlets' on/off controls, each with a switching
// delay) and sensors, kept by the controller: listing, changing, switching a
// whole group as a job of the daemon, group thresholds and an aggregate
// reading. The daemon applies the user's rights to each call; these handlers
// check none themselves.
#pragma once

#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

json GetGroups(HpiSession session, const json &prm);                 // FN 103
json CreateGroup(HpiSession session, const json &prm);               // FN 104
json DeleteGroup(HpiSession session, const json &prm);               // FN 105
json GetGroupSwitchProgress(HpiSession session, const json &prm);    // FN 106
json CancelGroupSwitch(HpiSession session, const json &prm);         // FN 107
json AddGroupControl(HpiSession session, const json &prm);           // FN 108
json RemoveGroupControl(HpiSession session, const json &prm);        // FN 109
json AddGroupOutlet(HpiSession session, const json &prm);            // FN 110
json RemoveGroupOutlet(HpiSession session, const json &prm);         // FN 111
json AddGroupSensor(HpiSession session, const json &prm);            // FN 112
json RemoveGroupSensor(HpiSession session, const json &prm);         // FN 113
json SetGroupThresholds(HpiSession session, const json &prm);        // FN 114
json GetGroupAggregateReading(HpiSession session, const json &prm);  // FN 115
json SwitchGroup(HpiSession session, const json &prm);               // FN 116

}  // namespace kvnc
