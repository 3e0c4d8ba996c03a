// FN 57-60: the packet filters by destination and by role. Both kinds are
// the same procedure over their own daemon functions and rule members, so
// each kind is one table row.
#include <array>
#include <string>
#include <vector>

#include "api/config/access.h"
#include "api/events/id_walk.h"
#include "api/monitor/hpi_json.h"
#include "client/hpi_functions.h"
#include "client/text_buffer.h"
#include "front/api_error.h"

namespace kvnc {
namespace {

struct Family {
  SaHpiUint8T number;
  const char *key;
  const char *suffix;  // of the setters' error names
};
constexpr Family kFamilies[] = {{0, "IP4", " (IPv4)"}, {1, "IP6", " (IPv6)"}};
constexpr Family kIpv6 = kFamilies[1];

// A rule: its texts in the order of the kind's text keys, and its policy.
struct Rule {
  std::vector<std::string> texts;
  SaHpiUint32T policy = 0;
};

using FlagGet = SaErrorT (*)(SaHpiSessionIdT, SaHpiUint8T, SaHpiBoolT *);
using FlagSet = SaErrorT (*)(SaHpiSessionIdT, SaHpiUint8T, SaHpiBoolT);
using PolicyGet = SaErrorT (*)(SaHpiSessionIdT, SaHpiUint8T, SaHpiUint32T *);
using PolicySet = SaErrorT (*)(SaHpiSessionIdT, SaHpiUint8T, SaHpiUint32T);
using RuleGet = SaErrorT (*)(SaHpiSessionIdT, SaHpiUint8T, SaHpiUint32T, Rule *);
using RuleAdd = SaErrorT (*)(SaHpiSessionIdT, SaHpiUint8T, const Rule &);
using RuleDelete = SaErrorT (*)(SaHpiSessionIdT, SaHpiUint8T, SaHpiUint32T);

struct FilterKind {
  const char *prefix;  // of the daemon functions' names
  std::array<const char *, 3> text_keys;
  size_t text_count;
  bool ipv6_ids;  // IPv6 rules are listed with their number
  FlagGet enable_get;
  FlagSet enable_set;
  PolicyGet policy_get;
  PolicySet policy_set;
  RuleGet rule_get;
  RuleAdd rule_add;
  RuleDelete rule_delete;
};

SaErrorT GetDestinationRule(SaHpiSessionIdT session, SaHpiUint8T family, SaHpiUint32T number, Rule *rule) {
  SaHpiTextBufferT destination{};
  SaHpiUint32T policy = 0;
  const SaErrorT rv = kvnHpiFirewallRuleGet(session, family, number, &destination, &policy);
  if (rv == SA_OK) *rule = {{TextBufferToString(destination)}, policy};
  return rv;
}

SaErrorT AddDestinationRule(SaHpiSessionIdT session, SaHpiUint8T family, const Rule &rule) {
  const SaHpiTextBufferT destination = TextBufferFromString(rule.texts[0]);
  return kvnHpiFirewallRuleAdd(session, family, &destination, rule.policy);
}

SaErrorT GetRoleRule(SaHpiSessionIdT session, SaHpiUint8T family, SaHpiUint32T number, Rule *rule) {
  SaHpiTextBufferT from{}, to{}, role{};
  SaHpiUint32T policy = 0;
  const SaErrorT rv = kvnHpiRoleBasedFirewallRuleGet(session, family, number, &from, &to, &role, &policy);
  if (rv == SA_OK) *rule = {{TextBufferToString(from), TextBufferToString(to), TextBufferToString(role)}, policy};
  return rv;
}

SaErrorT AddRoleRule(SaHpiSessionIdT session, SaHpiUint8T family, const Rule &rule) {
  const SaHpiTextBufferT from = TextBufferFromString(rule.texts[0]);
  const SaHpiTextBufferT to = TextBufferFromString(rule.texts[1]);
  const SaHpiTextBufferT role = TextBufferFromString(rule.texts[2]);
  return kvnHpiRoleBasedFirewallRuleAdd(session, family, &from, &to, &role, rule.policy);
}

constexpr FilterKind kDestinationFilter = {
    "kvnHpiFirewall",
    {"dest"},
    1,
    true,
    kvnHpiFirewallEnableGet,
    kvnHpiFirewallEnableSet,
    kvnHpiFirewallDefaultPolicyGet,
    kvnHpiFirewallDefaultPolicySet,
    GetDestinationRule,
    AddDestinationRule,
    kvnHpiFirewallRuleDelete,
};

constexpr FilterKind kRoleFilter = {
    "kvnHpiRoleBasedFirewall",
    {"from", "to", "role"},
    3,
    false,
    kvnHpiRoleBasedFirewallEnableGet,
    kvnHpiRoleBasedFirewallEnableSet,
    kvnHpiRoleBasedFirewallDefaultPolicyGet,
    kvnHpiRoleBasedFirewallDefaultPolicySet,
    GetRoleRule,
    AddRoleRule,
    kvnHpiRoleBasedFirewallRuleDelete,
};

// The daemon function's name for error replies, e.g. "kvnHpiFirewallEnableSet (IPv4)".
std::string Name(const FilterKind &kind, const char *function, const char *suffix = "") {
  return std::string(kind.prefix) + function + suffix;
}

json RuleJson(const FilterKind &kind, const Rule &rule) {
  json object = {{"policy", rule.policy}};
  for (size_t i = 0; i < kind.text_count; ++i) object[kind.text_keys[i]] = rule.texts[i];
  return object;
}

// Rules 1, 2, 3 ... until the daemon answers anything but SA_OK. Bounded:
// a daemon that finds every number would otherwise keep the walk going.
json RulesJson(HpiSession session, const FilterKind &kind, const Family &family) {
  WalkGuard guard(Name(kind, "RuleGet"));
  json rules = json::array();
  for (SaHpiUint32T number = 1;; ++number) {
    Rule rule;
    if (kind.rule_get(session, family.number, number, &rule) != SA_OK) return rules;
    guard.Visit(number);
    json object = RuleJson(kind, rule);
    if (kind.ipv6_ids && family.number == kIpv6.number) object["id"] = number;
    rules.push_back(std::move(object));
  }
}

json GetFilter(HpiSession session, const FilterKind &kind) {
  json reply = json::object();
  for (const Family &family : kFamilies) {
    SaHpiBoolT enabled = 0;
    CheckHpi(kind.enable_get(session, family.number, &enabled), Name(kind, "EnableGet"));
    reply[family.key]["en"] = enabled;
  }
  for (const Family &family : kFamilies) {
    SaHpiUint32T policy = 0;
    CheckHpi(kind.policy_get(session, family.number, &policy), Name(kind, "DefaultPolicyGet"));
    reply[family.key]["dp"] = policy;
  }
  for (const Family &family : kFamilies) reply[family.key]["rules"] = RulesJson(session, kind, family);
  return OkReplyWithResponse(reply);
}

// The "rules" array read whole before any rule is touched: a request that
// lacks a member deletes nothing.
std::vector<Rule> ReadRules(const FilterKind &kind, const json &object) {
  std::vector<Rule> rules;
  for (const json &element : RequireArray(object, "rules")) {
    Rule rule;
    for (size_t i = 0; i < kind.text_count; ++i) {
      rule.texts.push_back(RequireKey(element, kind.text_keys[i]).get<std::string>());
    }
    rule.policy = GetNumber<SaHpiUint32T>(RequireKey(element, "policy"));
    rules.push_back(std::move(rule));
  }
  return rules;
}

void ReplaceRules(HpiSession session, const FilterKind &kind, const Family &family, const std::vector<Rule> &rules) {
  const std::string delete_name = Name(kind, "RuleDelete");
  // Bounded like the walks: a daemon whose rule 1 never goes away would
  // keep this loop turning.
  WalkGuard guard(delete_name);
  for (uint32_t deleted = 0;; ++deleted) {
    Rule first;
    if (kind.rule_get(session, family.number, 1, &first) != SA_OK) break;
    guard.Visit(deleted);
    CheckHpi(kind.rule_delete(session, family.number, 1), delete_name);
  }
  for (const Rule &rule : rules) CheckHpi(kind.rule_add(session, family.number, rule), Name(kind, "RuleAdd"));
}

void SetFamily(HpiSession session, const FilterKind &kind, const Family &family, const json &object) {
  const auto enabled = GetNumber<SaHpiBoolT>(RequireKey(object, "en"));
  CheckHpi(kind.enable_set(session, family.number, enabled), Name(kind, "EnableSet", family.suffix));
  const auto policy = GetNumber<SaHpiUint32T>(RequireKey(object, "dp"));
  SaHpiUint32T current = 0;
  CheckHpi(kind.policy_get(session, family.number, &current), Name(kind, "DefaultPolicyGet", family.suffix));
  if (current != policy) {
    CheckHpi(kind.policy_set(session, family.number, policy), Name(kind, "DefaultPolicySet", family.suffix));
  }
  // A disabled filter keeps its rules as they are.
  if (enabled == 1) ReplaceRules(session, kind, family, ReadRules(kind, object));
}

// IPv4 first; it stays applied when IPv6 then fails.
json SetFilter(HpiSession session, const FilterKind &kind, const json &prm) {
  for (const Family &family : kFamilies) SetFamily(session, kind, family, RequireKey(prm, family.key));
  return OkReply();
}

}  // namespace

json GetFirewall(HpiSession session, const json &) { return GetFilter(session, kDestinationFilter); }
json SetFirewall(HpiSession session, const json &prm) { return SetFilter(session, kDestinationFilter, prm); }
json GetRoleBasedFirewall(HpiSession session, const json &) { return GetFilter(session, kRoleFilter); }
json SetRoleBasedFirewall(HpiSession session, const json &prm) { return SetFilter(session, kRoleFilter, prm); }

}  // namespace kvnc
