// Login restrictions, LDAP and the packet filters end to end against the
// demo appliance: IPv4 filters enabled with two rules each, IPv6 filters
// disabled (two destination rules, one role rule).
#include <string>

#include "tests/e2e/monitor_fixture.h"

namespace kvnc::test {
namespace {

using Json = nlohmann::json;

class Access : public MonitorApi {
 protected:
  static std::string Reply(int fn, const Json &prm) { return Call(fn, prm).dump(); }
  // The next call of `function` is served, the one after fails with `error`.
  void FailSecond(const std::string &function, int32_t error) {
    sim().Fault({{"rpc", Rpc(function)}});
    FailNext(function, error);
  }
  static Json Restrictions() {
    return Json::parse(R"({"mlogon":2,"idletim":30,"failatt":3,"locktim":60,"aging":1,"inter":45,"hsdep":6,
                           "spen":1,"minl":12,"LCC":2,"UCC":3,"NMC":4,"SPC":5})");
  }
  static Json Ldap() {
    return Json::parse(R"({"uri":"ldaps://dir.example.com","type":2,"usessl":1,"sslport":1636,"cert":"-----BEGIN",
                           "useanm":0,"binddn":"cn=k","bindps":"pw","sbdn":"dc=example","lname":"uid",
                           "uclass":"person","usf":"objectClass=person","exopt":"x"})");
  }
};

TEST_F(Access, LoginRestrictionsKeepTheMemberNoKeySets) {
  EXPECT_EQ(
      Reply(62, nullptr),
      R"({"MN":null,"response":{"LCC":1,"NMC":1,"SPC":0,"UCC":1,"aging":1,"failatt":5,"hsdep":4,"idletim":15,"inter":90,)"
      R"("locktim":10,"minl":10,"mlogon":1,"spen":1},"status":{"IC":0,"RC":0,"RCT":"OK"}})");

  // Whatever the daemon holds in it goes back unchanged.
  sim().Set("/access_policy/login_restrictions/unnamed", 4000000000u);
  Calls();
  Json prm = Restrictions();
  prm["mlogon"] = 258;  // an 8-bit member takes the low 8 bits
  EXPECT_EQ(Status(63, prm), Ok());
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiLoginRestrictionsGet"],
      ["kvnHpiLoginRestrictionsSet",[2,1,45,30,3,60,1,12,4000000000,2,3,4,5,6]]])"));
  EXPECT_EQ(Model("/access_policy/login_restrictions/unnamed"), 4000000000u);

  // Every key is required, in the order read; nothing is set without one.
  for (const char *key : {"mlogon", "inter", "SPC"}) {
    Json missing = Restrictions();
    missing.erase(key);
    EXPECT_EQ(Status(63, missing), Error(5, key));
  }
  EXPECT_EQ(CallNames(), Json::parse(R"(["kvnHpiLoginRestrictionsGet","kvnHpiLoginRestrictionsGet",
      "kvnHpiLoginRestrictionsGet"])"));
  prm["spen"] = true;
  EXPECT_EQ(Status(63, prm), TypeError("number, but is boolean"));

  FailNext("kvnHpiLoginRestrictionsGet", -1004);
  EXPECT_EQ(Status(63, Restrictions()), Error(9, "kvnHpiLoginRestrictionsGet", 1004));
  FailNext("kvnHpiLoginRestrictionsGet", -1004);
  EXPECT_EQ(Status(62, nullptr), Error(9, "kvnHpiLoginRestrictionsGet", 1004));
  const std::string viewer = LoginSid("viewer", "viewer-secret");
  Json refused = Restrictions();
  refused["minl"] = 1;
  EXPECT_EQ(ApiTest::Call(viewer, 63, refused)["status"], Error(9, "kvnHpiLoginRestrictionsSet", 1050));
  EXPECT_EQ(Model("/access_policy/login_restrictions/minl"), 12);
}

TEST_F(Access, LdapAsksForPortAndCertificateOnlyWithSsl) {
  EXPECT_EQ(
      Reply(64, nullptr),
      R"({"MN":null,"response":{"binddn":"cn=korvane,ou=services,dc=example,dc=com","bindps":"bind-secret","cert":"",)"
      R"("en":0,"exopt":"","lname":"uid","sbdn":"ou=people,dc=example,dc=com","sslport":636,"type":1,)"
      R"("uclass":"posixAccount","uri":"ldap://ldap.example.com","useanm":0,"usessl":0,"usf":""},)"
      R"("status":{"IC":0,"RC":0,"RCT":"OK"}})");
  Calls();

  EXPECT_EQ(Status(65, Ldap()), Ok());
  Json plain = Ldap();
  plain["usessl"] = 0;
  plain.erase("sslport");
  plain.erase("cert");
  EXPECT_EQ(Status(65, plain), Ok());
  EXPECT_EQ(CallArgs(), Json::parse(R"([
      ["kvnHpiLDAPConfigurationEnable","ldaps://dir.example.com",2,1,1636,"-----BEGIN",0,"cn=k","pw","dc=example",
       "uid","person","objectClass=person","x"],
      ["kvnHpiLDAPConfigurationEnable","ldaps://dir.example.com",2,0,0,"",0,"cn=k","pw","dc=example",
       "uid","person","objectClass=person","x"]])"));
  EXPECT_EQ(Model("/access_policy/ldap/en"), 1);

  for (const char *key : {"uri", "usessl", "cert", "useanm", "exopt"}) {
    Json missing = Ldap();
    missing.erase(key);
    EXPECT_EQ(Status(65, missing), Error(5, key));
  }
  EXPECT_EQ(Calls(), Json::array());

  // Disabling keeps the settings for the next time.
  EXPECT_EQ(Status(66, nullptr), Ok());
  EXPECT_EQ(Model("/access_policy/ldap/en"), 0);
  EXPECT_EQ(Model("/access_policy/ldap/uri"), "ldaps://dir.example.com");
  FailNext("kvnHpiLDAPConfigurationDisable", -1004);
  EXPECT_EQ(Status(66, nullptr), Error(9, "kvnHpiLDAPConfigurationDisable", 1004));
  FailNext("kvnHpiLDAPConfigurationGet", -1004);
  EXPECT_EQ(Status(64, nullptr), Error(9, "kvnHpiLDAPConfigurationGet", 1004));
}

TEST_F(Access, FiltersListBothFamiliesAndNumberOnlyIpv6DestinationRules) {
  EXPECT_EQ(Reply(57, nullptr),
            R"({"MN":null,"response":{"IP4":{"dp":1,"en":1,"rules":[{"dest":"192.0.2.0/24","policy":0},)"
            R"({"dest":"198.51.100.7","policy":1}]},"IP6":{"dp":0,"en":0,"rules":[)"
            R"({"dest":"2001:db8::/32","id":1,"policy":0},{"dest":"2001:db8:1::5","id":2,"policy":1}]}},)"
            R"("status":{"IC":0,"RC":0,"RCT":"OK"}})");
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiFirewallEnableGet",0],["kvnHpiFirewallEnableGet",1],
      ["kvnHpiFirewallDefaultPolicyGet",0],["kvnHpiFirewallDefaultPolicyGet",1],
      ["kvnHpiFirewallRuleGet",0,1],["kvnHpiFirewallRuleGet",0,2],["kvnHpiFirewallRuleGet",0,3],
      ["kvnHpiFirewallRuleGet",1,1],["kvnHpiFirewallRuleGet",1,2],["kvnHpiFirewallRuleGet",1,3]])"));

  EXPECT_EQ(Call(59, nullptr)["response"], Json::parse(R"({
      "IP4":{"dp":1,"en":1,"rules":[{"from":"192.0.2.1","policy":0,"role":"admin","to":"192.0.2.99"},
                                   {"from":"198.51.100.1","policy":0,"role":"viewer","to":"198.51.100.254"}]},
      "IP6":{"dp":0,"en":0,"rules":[{"from":"2001:db8::1","policy":0,"role":"operator","to":"2001:db8::ff"}]}})"));

  // Any failure ends a rule list; the getters' own failures are named plainly.
  FailSecond("kvnHpiFirewallRuleGet", -1004);
  EXPECT_EQ(Call(57, nullptr)["response"]["IP4"]["rules"].size(), 1u);
  FailSecond("kvnHpiRoleBasedFirewallEnableGet", -1004);
  EXPECT_EQ(Status(59, nullptr), Error(9, "kvnHpiRoleBasedFirewallEnableGet", 1004));
  FailNext("kvnHpiFirewallDefaultPolicyGet", -1004);
  EXPECT_EQ(Status(57, nullptr), Error(9, "kvnHpiFirewallDefaultPolicyGet", 1004));
}

TEST_F(Access, SettingAFilterAppliesIpv4BeforeIpv6IsRequired) {
  EXPECT_EQ(Status(58, {{"IP4", {{"en", 0}, {"dp", 2}}}}), Error(5, "IP6"));
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiFirewallEnableSet",0,0],["kvnHpiFirewallDefaultPolicyGet",0],
      ["kvnHpiFirewallDefaultPolicySet",0,2]])"));
  EXPECT_EQ(Model("/access_policy/firewall/ipv4"), Json::parse(R"({"dp":2,"en":0,"rules":[
      {"dest":"192.0.2.0/24","policy":0},{"dest":"198.51.100.7","policy":1}]})"));

  // A policy that does not change is not set again.
  EXPECT_EQ(Status(60, {{"IP4", {{"en", 0}, {"dp", 1}}}, {"IP6", {{"en", 0}, {"dp", 0}}}}), Ok());
  EXPECT_EQ(CallNames(), Json::parse(R"(["kvnHpiRoleBasedFirewallEnableSet","kvnHpiRoleBasedFirewallDefaultPolicyGet",
      "kvnHpiRoleBasedFirewallEnableSet","kvnHpiRoleBasedFirewallDefaultPolicyGet"])"));

  EXPECT_EQ(Status(58, Json::object()), Error(5, "IP4"));
  EXPECT_EQ(Status(58, {{"IP4", {{"dp", 2}}}}), Error(5, "en"));
  EXPECT_EQ(Status(58, {{"IP4", {{"en", 1}}}}), Error(5, "dp"));
  EXPECT_EQ(Status(58, {{"IP4", {{"en", true}, {"dp", 1}}}}), TypeError("number, but is boolean"));
}

TEST_F(Access, RulesAreRebuiltOnlyInAnEnabledFamily) {
  const Json prm = Json::parse(R"({
      "IP4":{"en":1,"dp":1,"rules":[{"dest":"203.0.113.0/24","policy":1},{"dest":"203.0.113.9","policy":0}]},
      "IP6":{"en":0,"dp":0,"rules":[{"dest":"2001:db8::99","policy":1}]}})");
  EXPECT_EQ(Status(58, prm), Ok());
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiFirewallEnableSet",0,1],["kvnHpiFirewallDefaultPolicyGet",0],
      ["kvnHpiFirewallRuleGet",0,1],["kvnHpiFirewallRuleDelete",0,1],
      ["kvnHpiFirewallRuleGet",0,1],["kvnHpiFirewallRuleDelete",0,1],["kvnHpiFirewallRuleGet",0,1],
      ["kvnHpiFirewallRuleAdd",0,"203.0.113.0/24",1],["kvnHpiFirewallRuleAdd",0,"203.0.113.9",0],
      ["kvnHpiFirewallEnableSet",1,0],["kvnHpiFirewallDefaultPolicyGet",1]])"));
  EXPECT_EQ(Call(57, nullptr)["response"], Json::parse(R"({
      "IP4":{"dp":1,"en":1,"rules":[{"dest":"203.0.113.0/24","policy":1},{"dest":"203.0.113.9","policy":0}]},
      "IP6":{"dp":0,"en":0,"rules":[{"dest":"2001:db8::/32","id":1,"policy":0},
                                   {"dest":"2001:db8:1::5","id":2,"policy":1}]}})"));

  // Role rules likewise; an empty list leaves the family without rules.
  EXPECT_EQ(Status(60, Json::parse(R"({
      "IP4":{"en":1,"dp":0,"rules":[]},
      "IP6":{"en":1,"dp":1,"rules":[{"from":"2001:db8::1","to":"2001:db8::9","role":"admin","policy":1}]}})")),
            Ok());
  EXPECT_EQ(Model("/access_policy/role_firewall"), Json::parse(R"({"ipv4":{"dp":0,"en":1,"rules":[]},
      "ipv6":{"dp":1,"en":1,"rules":[{"from":"2001:db8::1","policy":1,"role":"admin","to":"2001:db8::9"}]}})"));

  // A list the request lacks, or an element without a member, deletes nothing.
  const Json before = Model("/access_policy/firewall/ipv4/rules");
  EXPECT_EQ(Status(58, {{"IP4", {{"en", 1}, {"dp", 1}}}}), Error(5, "rules"));
  EXPECT_EQ(Status(58, {{"IP4", {{"en", 1}, {"dp", 1}, {"rules", {{{"dest", "192.0.2.1"}}}}}}}), Error(5, "policy"));
  EXPECT_EQ(Status(58, {{"IP4", {{"en", 1}, {"dp", 1}, {"rules", {{{"policy", 1}}}}}}}), Error(5, "dest"));
  EXPECT_EQ(Status(58, {{"IP4", {{"en", 1}, {"dp", 1}, {"rules", {{"dest", "x"}}}}}}), Error(6, "rules"));
  EXPECT_EQ(Status(60, {{"IP4", {{"en", 1}, {"dp", 0}, {"rules", {{{"from", "a"}, {"to", "b"}, {"policy", 1}}}}}}}),
            Error(5, "role"));
  EXPECT_EQ(Model("/access_policy/firewall/ipv4/rules"), before);
  EXPECT_EQ(Model("/access_policy/role_firewall/ipv4/rules"), Json::array());
}

TEST_F(Access, SettersNameTheFamilyThatFailed) {
  const Json both = {{"IP4", {{"en", 1}, {"dp", 0}, {"rules", Json::array()}}},
                     {"IP6", {{"en", 1}, {"dp", 1}, {"rules", Json::array()}}}};
  FailNext("kvnHpiFirewallEnableSet", -1004);
  EXPECT_EQ(Status(58, both), Error(9, "kvnHpiFirewallEnableSet (IPv4)", 1004));
  FailSecond("kvnHpiFirewallEnableSet", -1004);
  EXPECT_EQ(Status(58, both), Error(9, "kvnHpiFirewallEnableSet (IPv6)", 1004));
  FailSecond("kvnHpiFirewallDefaultPolicyGet", -1004);
  EXPECT_EQ(Status(58, both), Error(9, "kvnHpiFirewallDefaultPolicyGet (IPv6)", 1004));
  FailNext("kvnHpiRoleBasedFirewallDefaultPolicySet", -1004);
  EXPECT_EQ(Status(60, both), Error(9, "kvnHpiRoleBasedFirewallDefaultPolicySet (IPv4)", 1004));
  sim().Set("/access_policy/firewall/ipv6/dp", 0);
  FailNext("kvnHpiFirewallDefaultPolicySet", -1004);
  EXPECT_EQ(Status(58, both), Error(9, "kvnHpiFirewallDefaultPolicySet (IPv6)", 1004));

  // Rule steps are named without the family, as the UI has them.
  const Json one_rule = {{"IP4", {{"en", 1}, {"dp", 0}, {"rules", {{{"dest", "192.0.2.5"}, {"policy", 1}}}}}}};
  sim().Set("/access_policy/firewall/ipv4/rules", {{{"dest", "192.0.2.0/24"}, {"policy", 0}}});
  FailNext("kvnHpiFirewallRuleDelete", -1004);
  EXPECT_EQ(Status(58, one_rule), Error(9, "kvnHpiFirewallRuleDelete", 1004));
  FailNext("kvnHpiFirewallRuleAdd", -1004);
  EXPECT_EQ(Status(58, one_rule), Error(9, "kvnHpiFirewallRuleAdd", 1004));
  EXPECT_EQ(Model("/access_policy/firewall/ipv4/rules"), Json::array());  // the old rules went before the add failed
  EXPECT_EQ(
      Status(60,
             {{"IP4",
               {{"en", 1}, {"dp", 0}, {"rules", {{{"from", "a"}, {"to", "b"}, {"role", "ghost"}, {"policy", 1}}}}}}}),
      Error(9, "kvnHpiRoleBasedFirewallRuleAdd", 1010));

  EXPECT_EQ(ApiTest::Call(LoginSid("viewer", "viewer-secret"), 58, both)["status"],
            Error(9, "kvnHpiFirewallEnableSet (IPv4)", 1050));
}

TEST_F(Access, RuleWalksEndOnADaemonThatNeverRunsOut) {
  Json rules = Json::array();
  for (int i = 0; i < 4097; ++i) rules.push_back({{"dest", "192.0.2." + std::to_string(i % 256)}, {"policy", 0}});
  sim().Set("/access_policy/firewall/ipv6/rules", rules);
  EXPECT_EQ(Status(57, nullptr), Error(9, "kvnHpiFirewallRuleGet", 1010));

  // The rebuild's delete loop stops likewise: to the API, a daemon that
  // keeps finding rule 1 looks the same.
  Json role_rules = Json::array();
  for (int i = 0; i < 4097; ++i) role_rules.push_back({{"from", "a"}, {"to", "b"}, {"role", "admin"}, {"policy", 0}});
  sim().Set("/access_policy/role_firewall/ipv4/rules", role_rules);
  EXPECT_EQ(Status(60, {{"IP4", {{"en", 1}, {"dp", 1}, {"rules", Json::array()}}}}),
            Error(9, "kvnHpiRoleBasedFirewallRuleDelete", 1010));
  EXPECT_EQ(Model("/access_policy/role_firewall/ipv4/rules").size(), 1u);
}

}  // namespace
}  // namespace kvnc::test
