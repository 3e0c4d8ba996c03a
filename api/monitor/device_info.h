// The device information page, the product and iPDU summary, outlet names and
// types, and the persistent resources the daemon keeps.
#pragma once

#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

json GetDeviceInfo(HpiSession session, const json &prm);              // FN 84
json GetOutletInfo(HpiSession session, const json &prm);              // FN 301
json GetProductSummary(HpiSession session, const json &prm);          // FN 302
json GetPersistentResources(HpiSession session, const json &prm);     // FN 310
json DeletePersistentResources(HpiSession session, const json &prm);  // FN 311

}  // namespace kvnc
