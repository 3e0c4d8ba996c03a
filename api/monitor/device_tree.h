// The device tree pages: the daemon writes the tree (or a part of it) as one
// JSON document into a temporary file whose name it is given; the document
// is answered as it is. And the inventory data of one repository (IDR).
#pragma once

#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

json GetInventory(HpiSession session, const json &prm);    // FN 85
json GetDeviceTree(HpiSession session, const json &prm);   // FN 300
json UpdateResource(HpiSession session, const json &prm);  // FN 305
json UpdateSensors(HpiSession session, const json &prm);   // FN 306
json LoadResource(HpiSession session, const json &prm);    // FN 307
json UpdateControls(HpiSession session, const json &prm);  // FN 312

}  // namespace kvnc
