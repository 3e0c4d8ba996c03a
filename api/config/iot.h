// The controller's link to a cloud IoT service: its status, and the
// configurations the daemon writes for AWS (optionally through Greengrass) or
// Azure, or removes. The daemon tells a system without IoT support, a missing
// MQTT dispatcher and a refused configuration (with its own message) apart;
// so do the replies.
#pragma once

#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

json SetAwsIotConfiguration(HpiSession session, const json &prm);    // FN 122
json GetIotStatus(HpiSession session, const json &prm);              // FN 135
json UnconfigureIot(HpiSession session, const json &prm);            // FN 158
json SetAzureIotConfiguration(HpiSession session, const json &prm);  // FN 313

}  // namespace kvnc
