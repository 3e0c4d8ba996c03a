// Who may reach the appliance and how: the login restrictions, the LDAP
// directory used for logins, and the two packet filters (by destination and
// by role), each kept apart for IPv4 and IPv6. All of it lives in the daemon,
// which applies the user's rights.
#pragma once

#include "front/function_table.h"
#include "front/replies.h"

namespace kvnc {

// FN 62, 63.
json GetLoginRestrictions(HpiSession session, const json &prm);
json SetLoginRestrictions(HpiSession session, const json &prm);

// FN 64, 65, 66.
json GetLdapConfiguration(HpiSession session, const json &prm);
json EnableLdapConfiguration(HpiSession session, const json &prm);
json DisableLdapConfiguration(HpiSession session, const json &prm);

// FN 57, 58: the destination filter.
json GetFirewall(HpiSession session, const json &prm);
json SetFirewall(HpiSession session, const json &prm);

// FN 59, 60: the role filter.
json GetRoleBasedFirewall(HpiSession session, const json &prm);
json SetRoleBasedFirewall(HpiSession session, const json &prm);

}  // namespace kvnc
