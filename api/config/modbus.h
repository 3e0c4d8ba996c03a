// Modbus: discovery of devices, the attributes of the Modbus interfaces, the
// drivers the daemon knows and the user drivers, JSON documents kept in the
// configuration directory beside the appliance's other configuration. A
// stored driver stays only when the platform's validator finds no error in it.
#pragma once

#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

json DiscoverModbusDevices(HpiSession session, const json &prm);      // FN 101
json GetModbusSerialAttributes(HpiSession session, const json &prm);  // FN 123
json SetModbusSerialAttributes(HpiSession session, const json &prm);  // FN 124
json GetModbusDrivers(HpiSession session, const json &prm);           // FN 159
json ListModbusDriverFiles(HpiSession session, const json &prm);      // FN 165
json SaveModbusDriver(HpiSession session, const json &prm);           // FN 166
json ValidateModbusDriver(HpiSession session, const json &prm);       // FN 167
json GetModbusDriver(HpiSession session, const json &prm);            // FN 168
json DeleteModbusDriver(HpiSession session, const json &prm);         // FN 169

}  // namespace kvnc
