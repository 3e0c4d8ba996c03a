// The simulated appliance's access policy, a member of the model (see
// model.h for the conventions of the JSON form): the login restrictions, the
// LDAP directory and the two packet filters of each address family. The
// numbers mean something to the daemon only; they are kept as given.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace kvnc::sim {

// The record of kvnHpiLoginRestrictionsGet/Set, members by the API's keys;
// `unnamed` is the one no key of the API reads or writes.
struct LoginRestrictions {
  uint8_t mlogon = 1;
  uint8_t aging = 0;
  uint32_t inter = 90;
  uint32_t idletim = 15;
  uint32_t failatt = 5;
  uint32_t locktim = 10;
  uint8_t spen = 0;
  uint32_t minl = 8;
  uint32_t unnamed = 0;
  uint8_t LCC = 0;
  uint8_t UCC = 0;
  uint8_t NMC = 0;
  uint8_t SPC = 0;
  uint32_t hsdep = 0;
};

struct LdapSettings {
  uint8_t en = 0;
  std::string uri;
  uint32_t type = 0;
  uint8_t usessl = 0;
  uint32_t sslport = 0;
  std::string cert;
  uint8_t useanm = 0;
  std::string binddn, bindps, sbdn, lname, uclass, usf, exopt;
};

struct DestinationRule {
  std::string dest;
  uint32_t policy = 0;
};

struct RoleRule {
  std::string from, to, role;
  uint32_t policy = 0;
};

// One packet filter of one family; rule n is rules[n - 1].
template <typename Rule>
struct PacketFilter {
  uint8_t en = 0;
  uint32_t dp = 0;  // default policy
  std::vector<Rule> rules;
};
using DestinationFilter = PacketFilter<DestinationRule>;
using RoleFilter = PacketFilter<RoleRule>;

// Family 0 is IPv4, 1 IPv6.
template <typename Filter>
struct FilterFamilies {
  Filter ipv4, ipv6;
  Filter *Find(uint8_t family) { return family == 0 ? &ipv4 : family == 1 ? &ipv6 : nullptr; }
};
using DestinationFilters = FilterFamilies<DestinationFilter>;
using RoleFilters = FilterFamilies<RoleFilter>;

struct AccessPolicy {
  LoginRestrictions login_restrictions;
  LdapSettings ldap;
  DestinationFilters firewall;
  RoleFilters role_firewall;
};

NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(LoginRestrictions, mlogon, aging, inter, idletim, failatt, locktim,
                                                spen, minl, unnamed, LCC, UCC, NMC, SPC, hsdep)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(LdapSettings, en, uri, type, usessl, sslport, cert, useanm, binddn,
                                                bindps, sbdn, lname, uclass, usf, exopt)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(DestinationRule, dest, policy)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(RoleRule, from, to, role, policy)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(DestinationFilter, en, dp, rules)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(RoleFilter, en, dp, rules)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(DestinationFilters, ipv4, ipv6)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(RoleFilters, ipv4, ipv6)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(AccessPolicy, login_restrictions, ldap, firewall, role_firewall)

}  // namespace kvnc::sim
