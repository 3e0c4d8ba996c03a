// The appliance-wide preferences (language, units, web session parameters,
// front panel, location and asset tag, alarm and debug settings, 1-Wire
// polling), the date, time and time zone, and the NTP client. Every value
// lives in the daemon; the time-zone list comes from the zoneinfo tree.
#pragma once

#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

json GetGlobalPreferences(HpiSession session, const json &prm);  // FN 70
json SetGlobalPreferences(HpiSession session, const json &prm);  // FN 71
json GetDateTime(HpiSession session, const json &prm);           // FN 72
json SetDateTime(HpiSession session, const json &prm);           // FN 73
json GetNtpSettings(HpiSession session, const json &prm);        // FN 90
json SetNtpSettings(HpiSession session, const json &prm);        // FN 91

}  // namespace kvnc
