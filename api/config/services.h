// The controller's network services: the web server's ports and HTTPS
// enforcement, SSH, Telnet, SNMP, mail (SMTP), BACnet and Redfish. The
// settings live in the daemon; the handlers pass them through without
// comparing with the current values. The web server's ports are applied by a
// setting process after the reply has gone, since the change restarts the
// server that carries the reply.
#pragma once

#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

json GetWebPortSettings(HpiSession session, const json &prm);  // FN 22
json SetWebPortSettings(HpiSession session, const json &prm);  // FN 23
json GetSshSettings(HpiSession session, const json &prm);      // FN 24
json SetSshSettings(HpiSession session, const json &prm);      // FN 25
json GetTelnetSettings(HpiSession session, const json &prm);   // FN 26
json SetTelnetSettings(HpiSession session, const json &prm);   // FN 27
json GetSnmpSettings(HpiSession session, const json &prm);     // FN 28
json SetSnmpSettings(HpiSession session, const json &prm);     // FN 29
json GetSmtpSettings(HpiSession session, const json &prm);     // FN 30
json SetSmtpSettings(HpiSession session, const json &prm);     // FN 31
json GetBacnetSettings(HpiSession session, const json &prm);   // FN 133
json SetBacnetSettings(HpiSession session, const json &prm);   // FN 134
json GetRedfishSettings(HpiSession session, const json &prm);  // FN 148
json SetRedfishSettings(HpiSession session, const json &prm);  // FN 149

}  // namespace kvnc
