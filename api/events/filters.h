// Event filters, periodic filters, their actions and named action lists. The
// filters and lists live in the daemon, which applies the user's rights to
// each call; these handlers check none themselves.
#pragma once

#include <cstdint>
#include <string>

#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

// One action as the daemon stores it: the parameter is one text whose form
// depends on the type.
struct EventAction {
  uint32_t disp = 0;
  uint32_t type = 0;
  std::string parm;
};

// {"ID", "DISP", "TYPE", "PARM"} with PARM in the form of the action's type.
json ActionToJson(uint32_t id, const EventAction &action);
// "DISP", "TYPE" and, unless the type has none, "PARM" of a request, packed
// into the daemon's text. Fails with RC 5 naming the first missing key.
EventAction ActionFromJson(const json &prm);

json GetEventFilters(HpiSession session, const json &prm);                // FN 46
json CreateEventFilter(HpiSession session, const json &prm);              // FN 47
json RemoveEventFilter(HpiSession session, const json &prm);              // FN 48
json GetEventAction(HpiSession session, const json &prm);                 // FN 49
json SetEventAction(HpiSession session, const json &prm);                 // FN 50
json AddEventAction(HpiSession session, const json &prm);                 // FN 51
json RemoveEventAction(HpiSession session, const json &prm);              // FN 52
json GetPeriodicEventFilters(HpiSession session, const json &prm);        // FN 131
json SetPeriodicEventFilter(HpiSession session, const json &prm);         // FN 132
json CreateActionList(HpiSession session, const json &prm);               // FN 136
json RemoveActionList(HpiSession session, const json &prm);               // FN 137
json GetActionLists(HpiSession session, const json &prm);                 // FN 138
json AddActionListAction(HpiSession session, const json &prm);            // FN 139
json RemoveActionListAction(HpiSession session, const json &prm);         // FN 140
json SetActionListAction(HpiSession session, const json &prm);            // FN 141
json GetActionListAction(HpiSession session, const json &prm);            // FN 142
json GetEventActionListName(HpiSession session, const json &prm);         // FN 143
json SetEventActionListNamed(HpiSession session, const json &prm);        // FN 144
json SetEventActionListAnonymous(HpiSession session, const json &prm);    // FN 145
json ConvertEventActionListToNamed(HpiSession session, const json &prm);  // FN 147
json VerifyExpressionForSensor(HpiSession session, const json &prm);      // FN 150
json VerifyFilterForSensor(HpiSession session, const json &prm);          // FN 151

}  // namespace kvnc
