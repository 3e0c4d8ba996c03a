// Network interfaces and DNS: the link, IPv4 and IPv6 settings of each
// interface, the controller's DNS settings and its host name. Interfaces are
// named by adapter name when read and by adapter index when written. The
// changes that can cut the browser's connection (the IPv4 address and
// gateway, the domain search path) are applied by a setting process after
// the reply has gone.
#pragma once

#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

json GetNetworkSettings(HpiSession session, const json &prm);  // FN 20
json SetNetworkSettings(HpiSession session, const json &prm);  // FN 21
json SetHostName(HpiSession session, const json &prm);         // FN 120

}  // namespace kvnc
