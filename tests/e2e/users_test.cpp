// Users and roles end to end against the simulated demo appliance: users
// admin (role admin), operator, viewer, mustchange, expired, bigid; roles
// admin (pmask 2047, administering), operator (13), viewer (1).
#include <string>

#include "tests/e2e/monitor_fixture.h"

namespace kvnc::test {
namespace {

using Json = nlohmann::json;

constexpr int kNotPresent = -1011;

// FN 37 / 38 parameters for `name`, changed by the test where it matters.
Json UserPrm(const std::string &name) {
  return {{"NAME", name},
          {"FNAME", "Nia Newcomer"},
          {"PHONE", "+1 555 0199"},
          {"EMAIL", "nia@example.com"},
          {"PDW", ""},
          {"ENABLED", 1},
          {"FORCED", 0},
          {"PREFERENCES", {{"DEGREES", 1}, {"LENGTH", 0}, {"PRESSURE", 2}}},
          {"SESSION", {{"LOG_POLLING", 7}, {"IDLE_ENABLED", 1}, {"IDLE_TIMEOUT", 900}, {"WAIT_TIMEOUT", 40}}},
          {"ROLES", {"operator", "viewer"}},
          {"LANG", 34}};
}

// The calls every accepted FN 37 / 38 for "operator" ends with.
Json SettingsCalls(const std::string &name) {
  return Json::array({Json{"kvnHpiUserLanguageSet", name, 34}, Json{"kvnHpiUserMeasurementUnitsSet", name, {1, 0, 2}},
                      Json{"kvnHpiUserWebParametersSet", name, {1, 900, 40, 7}}});
}

Json Concat(Json a, const Json &b) {
  for (const Json &item : b) a.push_back(item);
  return a;
}

class Users : public MonitorApi {
 protected:
  static Json BadSession() { return Error(2, "Bad session ID"); }
  static Json As(const std::string &sid, int fn, const Json &prm) { return ApiTest::Call(sid, fn, prm)["status"]; }
};

TEST_F(Users, ListShowsEveryUserWithLockState) {
  sim().Set("/users/viewer/locked", 1);
  const Json reply = Call(34, nullptr);
  ASSERT_EQ(reply["status"], Ok());
  EXPECT_EQ(reply["response"].dump(),
            R"([{"EMAIL":"ada@example.com","ENABLED":1,"EXTERNAL":0,"FNAME":"Ada Admin","ID":0,"LOCKED":0,)"
            R"("NAME":"admin","PHONE":"+1 555 0101"},)"
            R"({"EMAIL":"bo@example.com","ENABLED":1,"EXTERNAL":1,"FNAME":"Bo Bigid","ID":1,"LOCKED":0,)"
            R"("NAME":"bigid","PHONE":""},)"
            R"({"EMAIL":"","ENABLED":1,"EXTERNAL":0,"FNAME":"Eve Expired","ID":2,"LOCKED":0,)"
            R"("NAME":"expired","PHONE":""},)"
            R"({"EMAIL":"","ENABLED":1,"EXTERNAL":0,"FNAME":"Max Mustchange","ID":3,"LOCKED":0,)"
            R"("NAME":"mustchange","PHONE":""},)"
            R"({"EMAIL":"otto@example.com","ENABLED":1,"EXTERNAL":0,"FNAME":"Otto Operator","ID":4,"LOCKED":0,)"
            R"("NAME":"operator","PHONE":"+1 555 0102"},)"
            R"({"EMAIL":"vera@example.com","ENABLED":1,"EXTERNAL":0,"FNAME":"Vera Viewer","ID":5,"LOCKED":1,)"
            R"("NAME":"viewer","PHONE":""}])");
}

TEST_F(Users, ListSkipsEmptyNamesAndSlotsThatAreNotPresent) {
  // Slot 1 is not present: the walk goes on with slot 2. Slot 3 has an
  // empty name: no lock query, no entry.
  const uint32_t by_index = Rpc("kvnHpiUserInfoGetByIndex");
  sim().Fault({{"rpc", by_index}});
  sim().Fault({{"rpc", by_index}, {"error", kNotPresent}});
  sim().Fault({{"rpc", by_index}});
  sim().Fault({{"rpc", by_index}, {"output", 1}, {"member", 2}, {"value", 0}});
  const Json reply = Call(34, nullptr);
  ASSERT_EQ(reply["status"], Ok());
  Json names = Json::array();
  for (const Json &user : reply["response"]) names.push_back({user["ID"], user["NAME"]});
  EXPECT_EQ(names, Json::parse(R"([[0,"admin"],[2,"expired"],[4,"operator"],[5,"viewer"]])"));
  Json locked_queries = Json::array();
  Json indexes = Json::array();
  for (const Json &call : CallArgs()) {
    if (call[0] == "kvnHpiIsUserLocked") locked_queries.push_back(call[1]);
    if (call[0] == "kvnHpiUserInfoGetByIndex") indexes.push_back(call[1]);
  }
  EXPECT_EQ(indexes, Json::parse("[0,1,2,3,4,5]"));
  EXPECT_EQ(locked_queries, Json::parse(R"(["admin","expired","operator","viewer"])"));

  // A user the lock query does not know is not locked; other failures end it.
  sim().Set("/users/admin/locked", 1);
  FailNext("kvnHpiIsUserLocked", kNotPresent);
  EXPECT_EQ(Call(34, nullptr)["response"][0]["LOCKED"], 0);
  FailNext("kvnHpiIsUserLocked", -1004);
  EXPECT_EQ(Status(34, nullptr), Error(9, "kvnHpiIsUserLocked", 1004));
  FailNext("kvnHpiUserInfoGetByIndex", -1004);
  EXPECT_EQ(Status(34, nullptr), Error(9, "kvnHpiUserInfoGetByIndex", 1004));
  // The last user deleted while the list is read: the free slots past it end
  // the list, which keeps the users before it.
  CallNames();
  sim().Fault({{"rpc", by_index}});
  sim().Fault({{"rpc", by_index}, {"count", 70}, {"error", kNotPresent}});
  const Json cut = Call(34, nullptr);
  ASSERT_EQ(cut["status"], Ok());
  EXPECT_EQ(cut["response"].size(), 1u);
  EXPECT_EQ(CallNames().size(), 1u + 1u + 64u);  // one user, its lock query, 64 free slots
  sim().Command({{"cmd", "clear_faults"}});
  // A daemon that hands out an index again ends the walk.
  sim().Fault({{"rpc", by_index}, {"output", 0}, {"value", 0}});
  EXPECT_EQ(Status(34, nullptr), Error(9, "kvnHpiUserInfoGetByIndex", 1010));
}

TEST_F(Users, DetailsCarryRolesPreferencesAndSnmpWhenTheAgentRuns) {
  sim().Set("/roles/admin/pmask", 0x100000003ull);  // bits 0, 1 and 32
  const Json reply = Call(36, {{"user", "bigid"}});
  ASSERT_EQ(reply["status"], Ok());
  EXPECT_EQ(reply["response"].dump(),
            R"({"ROLES":[{"DESC":"Full access to the appliance","ID":0,"NAME":"admin","PMASKS":[3,1]},)"
            R"({"DESC":"Switches outlets and tunes instruments","ID":1,"NAME":"operator","PMASKS":[13,0]},)"
            R"({"DESC":"Reads everything, changes nothing","ID":2,"NAME":"viewer","PMASKS":[1,0]}],)"
            R"("USER":{"EMAIL":"bo@example.com","ENABLED":1,"EXTERNAL":1,"FNAME":"Bo Bigid","LANG":22,)"
            R"("NAME":"bigid","PHONE":"","PREFERENCES":{"DEGREES":0,"LENGTH":0,"PRESSURE":0},)"
            R"("ROLES":["operator","viewer"],)"
            R"("SESSION":{"IDLE_ENABLED":0,"IDLE_TIMEOUT":0,"LOG_POLLING":5,"WAIT_TIMEOUT":30}}})");
  EXPECT_EQ(CallNames(), Json::parse(R"(["kvnHpiRoleInfoGetByIndex","kvnHpiRoleInfoGetByIndex",
      "kvnHpiRoleInfoGetByIndex","kvnHpiUserInfoGetByName","kvnHpiUserRolesGet","kvnHpiUserPrivilegesGet",
      "kvnHpiUserMeasurementUnitsGet","kvnHpiUserWebParametersGet","kvnHpiUserLanguageGet",
      "kvnHpiSNMPEnablesGet"])"));

  // Agent on: the user's SNMPv3 access, or the defaults when they have none.
  sim().Set("/appliance/snmp_enabled", 1);
  EXPECT_EQ(Call(36, {{"user", "bigid"}})["response"]["USER"]["SNMP"].dump(), R"({"AP":2,"ENABLED":0,"PP":1,"RW":0})");
  sim().Set("/users/bigid/snmpv3", {{"enabled", 1}, {"rw", 1}, {"auth_protocol", 3}, {"privacy_protocol", 4}});
  EXPECT_EQ(Call(36, {{"user", "bigid"}})["response"]["USER"]["SNMP"].dump(), R"({"AP":3,"ENABLED":1,"PP":4,"RW":1})");
  FailNext("kvnHpiUserSNMPv3AttributesGet", -1004);
  EXPECT_EQ(Status(36, {{"user", "bigid"}}), Error(9, "kvnHpiUserSNMPv3AttributesGet", 1004));
  // Agent state unknown: no SNMP member.
  FailNext("kvnHpiSNMPEnablesGet", -1004);
  const Json without = Call(36, {{"user", "bigid"}});
  EXPECT_EQ(without["status"], Ok());
  EXPECT_FALSE(without["response"]["USER"].contains("SNMP"));

  // The web parameters step fails under the units step's name.
  FailNext("kvnHpiUserWebParametersGet", -1004);
  EXPECT_EQ(Status(36, {{"user", "bigid"}}), Error(9, "kvnHpiUserMeasurementUnitsGet", 1004));
  FailNext("kvnHpiUserPrivilegesGet", -1004);
  EXPECT_EQ(Status(36, {{"user", "bigid"}}), Error(9, "kvnHpiUserPrivilegesGet", 1004));
  EXPECT_EQ(Status(36, {{"user", "nobody"}}), Error(9, "kvnHpiUserInfoGetByName", 1011));
  EXPECT_EQ(Status(36, {{"USER", "bigid"}}), Error(5, "user"));
}

TEST_F(Users, ModifyWithoutPasswordLeavesThePasswordAlone) {
  const Json reply = Call(37, UserPrm("operator"));
  EXPECT_EQ(reply.dump(), R"({"MN":null,"response":{"bad_password":false},"status":{"IC":0,"RC":0,"RCT":"OK"}})");
  EXPECT_EQ(CallArgs(),
            Concat(Json::parse(R"([["kvnHpiUserInfoSet","operator","Nia Newcomer","+1 555 0199","nia@example.com",1],
                                   ["kvnHpiUserRolesSet","operator","operator,viewer",""]])"),
                   SettingsCalls("operator")));
  EXPECT_EQ(Model("/users/operator/roles"), Json::parse(R"(["operator","viewer"])"));
  EXPECT_EQ(Model("/users/operator/web"),
            Json::parse(R"({"idle_enabled":1,"idle_timeout":900,"log_polling":7,"wait_timeout":40})"));
  EXPECT_EQ(Model("/users/operator/password"), "");
}

TEST_F(Users, ABadPasswordStillAppliesRolesAndSettings) {
  Json prm = UserPrm("operator");
  prm["PDW"] = "short";
  prm["FORCED"] = 1;
  EXPECT_EQ(Call(37, prm)["response"], (Json{{"bad_password", true}}));
  EXPECT_EQ(CallArgs(),
            Concat(Json::parse(R"([["kvnHpiUserInfoSet","operator","Nia Newcomer","+1 555 0199","nia@example.com",1],
                                   ["kvnHpiChangePasswordUser","operator","short",1],
                                   ["kvnHpiUserRolesSet","operator","operator,viewer",""]])"),
                   SettingsCalls("operator")));
  EXPECT_EQ(Model("/users/operator/roles"), Json::parse(R"(["operator","viewer"])"));

  prm["PDW"] = "long-enough-1";
  EXPECT_EQ(Call(37, prm)["response"], (Json{{"bad_password", false}}));
  EXPECT_EQ(Model("/users/operator/password"), "long-enough-1");
  EXPECT_EQ(Model("/users/operator/password_forced"), 1);

  // Any other refusal of the password ends the change before the roles.
  FailNext("kvnHpiChangePasswordUser", -1004);
  prm["ROLES"] = {"admin"};
  EXPECT_EQ(Status(37, prm), Error(9, "kvnHpiUserPasswordChange", 1004));
  EXPECT_EQ(Model("/users/operator/roles"), Json::parse(R"(["operator","viewer"])"));
}

TEST_F(Users, AddNeedsExternalAndTheNewUserReadsBack) {
  Json prm = UserPrm("nia");
  prm["PDW"] = "nia-secret-1";
  EXPECT_EQ(Status(38, prm), Error(5, "EXTERNAL"));
  EXPECT_EQ(CallNames(), Json::array()) << "nothing is created from half a request";

  prm["EXTERNAL"] = 0;
  prm["SNMP"] = {{"AP", 3},           {"PP", 2}, {"RW", 1}, {"ENABLED", 1}, {"AAP", 1}, {"APP", "auth-pass"},
                 {"PPP", "priv-pass"}};
  EXPECT_EQ(Call(38, prm).dump(),
            R"({"MN":null,"response":{"bad_password":false},"status":{"IC":0,"RC":0,"RCT":"OK"}})");
  EXPECT_EQ(CallArgs(),
            Concat(Json::parse(R"([["kvnHpiUserCreate","nia","nia-secret-1",0,"Nia Newcomer","+1 555 0199",
                                    "nia@example.com",1,"operator,viewer","",0]])"),
                   Concat(SettingsCalls("nia"), Json::parse(R"([["kvnHpiUserSNMPv3AttributesSet","nia",1,1,3,2,1,
                                                                  "auth-pass","priv-pass"]])"))));
  EXPECT_EQ(Model("/users/nia/uid"), 2000) << "no system account of the name: a fresh uid";

  sim().Set("/appliance/snmp_enabled", 1);
  const Json details = Call(36, {{"user", "nia"}})["response"]["USER"];
  EXPECT_EQ(details.dump(),
            R"({"EMAIL":"nia@example.com","ENABLED":1,"EXTERNAL":0,"FNAME":"Nia Newcomer","LANG":34,)"
            R"("NAME":"nia","PHONE":"+1 555 0199","PREFERENCES":{"DEGREES":1,"LENGTH":0,"PRESSURE":2},)"
            R"("ROLES":["operator","viewer"],"SESSION":{"IDLE_ENABLED":1,"IDLE_TIMEOUT":900,"LOG_POLLING":7,)"
            R"("WAIT_TIMEOUT":40},"SNMP":{"AP":3,"ENABLED":1,"PP":2,"RW":1}})");

  // SNMP off for a user without SNMPv3 access is no failure.
  prm["NAME"] = "nico";
  prm["SNMP"]["ENABLED"] = 0;
  EXPECT_EQ(Status(38, prm), Ok());
  EXPECT_EQ(CallNames().back(), "kvnHpiUserSNMPv3EnableChange");
  EXPECT_EQ(Model("/users/nico/snmpv3"), nullptr);
  EXPECT_EQ(Status(38, prm), Error(9, "kvnHpiUserCreate", 1013));
}

TEST_F(Users, MissingMembersAreNamedInOrderBeforeAnythingIsSent) {
  const struct {
    const char *pointer;
    const char *named;
  } kMissing[] = {
      {"/NAME", "NAME"},
      {"/PDW", "PDW"},
      {"/FORCED", "FORCED"},
      {"/PREFERENCES", "PREFERENCES"},
      {"/PREFERENCES/DEGREES", "PREFERENCES:DEGREES"},
      {"/PREFERENCES/PRESSURE", "PREFERENCES:PRESSURE"},
      {"/SESSION/WAIT_TIMEOUT", "SESSION:WAIT_TIMEOUT"},
      {"/ROLES", "ROLES"},
      {"/LANG", "LANG"},
      {"/SNMP/PPP", "SNMP:PPP"},
  };
  for (const auto &missing : kMissing) {
    Json prm = UserPrm("operator");
    prm["SNMP"] = {{"AP", 3}, {"PP", 2}, {"RW", 1}, {"ENABLED", 0}, {"AAP", 1}, {"APP", ""}, {"PPP", ""}};
    const Json::json_pointer pointer(missing.pointer);
    prm[pointer.parent_pointer()].erase(pointer.back());
    EXPECT_EQ(Status(37, prm), Error(5, missing.named)) << missing.pointer;
  }
  Json prm = UserPrm("operator");
  prm["ENABLED"] = true;
  EXPECT_EQ(Status(37, prm), TypeError("number, but is boolean"));
  prm = UserPrm("operator");
  prm["ROLES"] = {"viewer", 3};
  EXPECT_EQ(Status(37, prm)["RC"], 11);
  EXPECT_EQ(CallNames(), Json::array());
}

TEST_F(Users, DeletingAUserEndsTheirBrowserSessionsOnly) {
  const std::string operator_sid = LoginSid("operator", "operator-secret");
  const std::string viewer_sid = LoginSid("viewer", "viewer-secret");
  Calls();

  // A refused deletion ends nothing.
  FailNext("kvnHpiUserDelete", -1004);
  EXPECT_EQ(Status(39, {{"NAME", "operator"}, {"DELH", 1}}), Error(9, "kvnHpiUserDelete", 1004));
  EXPECT_EQ(As(operator_sid, 308, nullptr), Ok());

  Calls();
  EXPECT_EQ(Status(39, {{"NAME", "operator"}, {"DELH", 1}}), Ok());
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiUserDelete","operator",1]])"));
  EXPECT_FALSE(sim().Dump()["users"].contains("operator"));
  EXPECT_EQ(As(operator_sid, 308, nullptr), BadSession());
  EXPECT_EQ(As(viewer_sid, 308, nullptr), Ok());
  EXPECT_EQ(Status(39, {{"NAME", "operator"}}), Error(5, "DELH"));
  EXPECT_EQ(Status(39, {{"NAME", "operator"}, {"DELH", 0}}), Error(9, "kvnHpiUserDelete", 1011));
}

TEST_F(Users, DisablingAUserEndsTheirSessionsEnablingDoesNot) {
  const std::string viewer_sid = LoginSid("viewer", "viewer-secret");
  const std::string bigid_sid = LoginSid("bigid", "bigid-secret");
  Calls();
  EXPECT_EQ(Status(40, {{"NAME", "viewer"}, {"ENABLED", true}}), TypeError("number, but is boolean"));
  EXPECT_EQ(Status(40, {{"NAME", "viewer"}, {"ENABLED", 1}}), Ok());
  EXPECT_EQ(As(viewer_sid, 308, nullptr), Ok());

  // The SNMPv3 change of a user without SNMPv3 access fails unheeded.
  Calls();
  EXPECT_EQ(Status(40, {{"NAME", "viewer"}, {"ENABLED", 0}}), Ok());
  Json calls = Json::array();
  for (const Json &call : sim().Journal()) {
    if (call["function"] != "saHpiSessionOpen" && call["function"] != "saHpiSessionClose") {
      calls.push_back({call["function"], call["args"][1], call["args"][2], call["result"]});
    }
  }
  EXPECT_EQ(calls, (Json{{"kvnHpiUserSNMPv3EnableChange", "viewer", 0, kNotPresent},
                         {"kvnHpiUserEnabledSet", "viewer", 0, 0}}));
  EXPECT_EQ(Model("/users/viewer/enabled"), 0);
  EXPECT_EQ(As(viewer_sid, 308, nullptr), BadSession());
  EXPECT_EQ(As(bigid_sid, 308, nullptr), Ok());

  FailNext("kvnHpiUserEnabledSet", -1004);
  EXPECT_EQ(Status(40, {{"NAME", "bigid"}, {"ENABLED", 0}}), Error(9, "kvnHpiUserEnabledSet", 1004));
  EXPECT_EQ(As(bigid_sid, 308, nullptr), Ok());
}

TEST_F(Users, TheViewerIsRefusedAdministrationButKeepsTheirOwnSettings) {
  const std::string sid = LoginSid("viewer", "viewer-secret");
  // Users and roles, not the whole model: the simulator's sensor watcher
  // changes the rest on its own.
  const auto accounts = [this] {
    const Json model = sim().Dump();
    return Json::array({model["users"], model["roles"]});
  };
  const Json before = accounts();
  EXPECT_EQ(As(sid, 39, {{"NAME", "operator"}, {"DELH", 0}}), Error(9, "kvnHpiUserDelete", 1050));
  EXPECT_EQ(As(sid, 40, {{"NAME", "operator"}, {"ENABLED", 0}}), Error(9, "kvnHpiUserEnabledSet", 1050));
  Json prm = UserPrm("eve");
  prm["EXTERNAL"] = 0;
  EXPECT_EQ(As(sid, 38, prm), Error(9, "kvnHpiUserCreate", 1050));
  EXPECT_EQ(As(sid, 37, UserPrm("viewer")), Error(9, "kvnHpiUserInfoSet", 1050));
  EXPECT_EQ(As(sid, 44, {{"NAME", "mine"}, {"DESC", ""}, {"PMASKS", {2, 0}}, {"OMASKS", {0, 0}}}),
            Error(9, "kvnHpiRoleCreate", 1050));
  EXPECT_EQ(As(sid, 43, {{"NAME", "viewer"}, {"DESC", ""}, {"PMASKS", {2, 0}}, {"OMASKS", {0, 0}}}),
            Error(9, "kvnHpiRoleDescriptionSet", 1050));
  EXPECT_EQ(As(sid, 45, {{"NAME", "operator"}}), Error(9, "kvnHpiRoleDelete", 1050));
  EXPECT_EQ(As(sid, 36, {{"user", "operator"}}), Error(9, "kvnHpiUserInfoGetByName", 1050));
  EXPECT_EQ(accounts(), before);

  EXPECT_EQ(As(sid, 34, nullptr), Ok());
  EXPECT_EQ(As(sid, 36, {{"user", "viewer"}}), Ok());
  EXPECT_EQ(As(sid, 33,
               {{"DEGREES", 1},
                {"LENGTH", 1},
                {"PRESSURE", 0},
                {"LOG_POLLING", 9},
                {"IDLE_ENABLED", 0},
                {"IDLE_TIMEOUT", 120},
                {"WAIT_TIMEOUT", 20}}),
            Ok());
  EXPECT_EQ(Model("/users/viewer/units"), Json::parse(R"({"degrees":1,"length":1,"pressure":0})"));
  EXPECT_EQ(As(sid, 32, {{"USER", "viewer"}, {"OLDPWD", "viewer-secret"}, {"NEWPWD", "viewer-secret-2"}}), Ok());
  EXPECT_EQ(Model("/users/viewer/password"), "viewer-secret-2");
}

TEST_F(Users, PreferencesOfTheCallerSetTheLanguageOnlyWhenGiven) {
  const Json prm = {{"DEGREES", 2},      {"LENGTH", 1},         {"PRESSURE", 257},   {"LOG_POLLING", 9},
                    {"IDLE_ENABLED", 1}, {"IDLE_TIMEOUT", 120}, {"WAIT_TIMEOUT", 20}};
  EXPECT_EQ(Status(33, prm), Ok());
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiCurrentUserMeasurementUnitsSet",[2,1,1]],
      ["kvnHpiCurrentUserWebParametersSet",[1,120,20,9]]])"));
  Json with_language = prm;
  with_language["LANG"] = 7;
  EXPECT_EQ(Status(33, with_language), Ok());
  EXPECT_EQ(CallNames(), Json::parse(R"(["kvnHpiCurrentUserLanguageSet","kvnHpiCurrentUserMeasurementUnitsSet",
      "kvnHpiCurrentUserWebParametersSet"])"));
  EXPECT_EQ(Model("/users/admin/language"), 7);

  for (const char *key : {"DEGREES", "LOG_POLLING", "WAIT_TIMEOUT"}) {
    Json missing = with_language;
    missing.erase(key);
    EXPECT_EQ(Status(33, missing), Error(5, key));
  }
  EXPECT_EQ(CallNames(), Json::array());
  FailNext("kvnHpiCurrentUserMeasurementUnitsSet", -1004);
  EXPECT_EQ(Status(33, prm), Error(9, "kvnHpiCurrentUserMeasurementUnitsSet", 1004));
  EXPECT_EQ(CallNames(), Json::parse(R"(["kvnHpiCurrentUserMeasurementUnitsSet"])"));
}

TEST_F(Users, PasswordChangeChecksTheOldPasswordThroughPam) {
  EXPECT_EQ(Status(32, {{"USER", "admin"}, {"OLDPWD", "wrong"}, {"NEWPWD", "admin-secret-2"}}),
            Error(3, "Wrong old password"));
  EXPECT_EQ(Status(32, {{"USER", "admin"}, {"OLDPWD", "admin-secret"}}), Error(5, "NEWPWD"));
  EXPECT_EQ(Status(32, {{"OLDPWD", "admin-secret"}}), Error(5, "USER"));
  EXPECT_EQ(Status(32, {{"USER", "admin"}}), Error(5, "OLDPWD"));
  EXPECT_EQ(CallNames(), Json::array());
  EXPECT_EQ(Status(32, {{"USER", "expired"}, {"OLDPWD", "expired-secret"}, {"NEWPWD", "x"}}),
            Error(2, "User account has expired."));

  EXPECT_EQ(Status(32, {{"USER", "admin"}, {"OLDPWD", "admin-secret"}, {"NEWPWD", "admin-secret-2"}}), Ok());
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiChangePasswordUser","admin","admin-secret-2",0]])"));
  // A password the daemon refuses is not answered as changed.
  EXPECT_EQ(Status(32, {{"USER", "admin"}, {"OLDPWD", "admin-secret"}, {"NEWPWD", "short"}}),
            Error(9, "kvnHpiChangePasswordUser", 1010));

  // The account whose password must be changed now can change it.
  const Json login = Login("mustchange", "change-me-now");
  ASSERT_EQ(login["status"]["RC"], 0) << login.dump();
  const std::string sid = login["response"]["SESSION"]["ID"];
  EXPECT_EQ(As(sid, 32, {{"USER", "mustchange"}, {"OLDPWD", "change-me-now"}, {"NEWPWD", "changed-at-last"}}), Ok());
  EXPECT_EQ(Model("/users/mustchange/password"), "changed-at-last");
}

class Roles : public MonitorApi {};

TEST_F(Roles, ListCarriesBothMasksAsLowAndHighHalves) {
  sim().Set("/roles/viewer/omask", 0x8000000000000001ull);
  const Json reply = Call(42, nullptr);
  EXPECT_EQ(reply.dump(),
            R"({"MN":null,"response":[{"DESC":"Full access to the appliance","ID":0,"NAME":"admin","OMASKS":[1,0],)"
            R"("PMASKS":[2047,0]},{"DESC":"Switches outlets and tunes instruments","ID":1,"NAME":"operator",)"
            R"("OMASKS":[0,0],"PMASKS":[13,0]},{"DESC":"Reads everything, changes nothing","ID":2,"NAME":"viewer",)"
            R"("OMASKS":[1,2147483648],"PMASKS":[1,0]}],"status":{"IC":0,"RC":0,"RCT":"OK"}})");
  sim().Fault({{"rpc", Rpc("kvnHpiRoleInfoGetByIndex")}, {"output", 0}, {"value", 0}});
  EXPECT_EQ(Status(42, nullptr), Error(9, "kvnHpiRoleInfoGetByIndex", 1010));
  FailNext("kvnHpiRoleInfoGetByIndex", -1004);
  EXPECT_EQ(Status(42, nullptr), Error(9, "kvnHpiRoleInfoGetByIndex", 1004));
}

TEST_F(Roles, CreateModifyAndDeleteWithTheirMasks) {
  const Json role = {{"NAME", "auditor"}, {"DESC", "Reads logs"}, {"PMASKS", {5, 1}}, {"OMASKS", {0, 2}}};
  for (int fn : {43, 44}) {
    for (const char *key : {"NAME", "DESC", "PMASKS", "OMASKS"}) {
      Json missing = role;
      missing.erase(key);
      EXPECT_EQ(Status(fn, missing), Error(5, key)) << fn;
    }
    Json short_mask = role;
    short_mask["OMASKS"] = {1};
    EXPECT_EQ(Status(fn, short_mask), Error(6, "OMASKS")) << fn;
  }
  EXPECT_EQ(CallNames(), Json::array());

  EXPECT_EQ(Status(44, role), Ok());
  EXPECT_EQ(Model("/roles/auditor"),
            Json::parse(R"({"description":"Reads logs","omask":8589934592,"pmask":4294967301})"));
  EXPECT_EQ(Status(44, role), Error(9, "kvnHpiRoleCreate", 1013));

  EXPECT_EQ(Status(43, {{"NAME", "auditor"}, {"DESC", "Reads more"}, {"PMASKS", {2, 0}}, {"OMASKS", {0, 0}}}), Ok());
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiRoleCreate","auditor","Reads logs",4294967301,8589934592],
      ["kvnHpiRoleCreate","auditor","Reads logs",4294967301,8589934592],
      ["kvnHpiRoleDescriptionSet","auditor","Reads more"],["kvnHpiRolePrivilegesSet","auditor",2,0]])"));

  // A role change shows in the next login reply of its users.
  EXPECT_EQ(Status(43, {{"NAME", "operator"}, {"DESC", "Now administers"}, {"PMASKS", {3, 4}}, {"OMASKS", {5, 0}}}),
            Ok());
  const Json login = Login("operator", "operator-secret")["response"];
  EXPECT_EQ(login["PMASKS"], Json::parse("[3,4]"));
  EXPECT_EQ(login["OMASKS"], Json::parse("[5,0]"));

  EXPECT_EQ(Status(45, {{"NAME", "operator"}}), Error(9, "kvnHpiRoleDelete", 1003)) << "still held by users";
  EXPECT_EQ(Status(45, {{"NAME", "auditor"}}), Ok());
  EXPECT_FALSE(sim().Dump()["roles"].contains("auditor"));
  EXPECT_EQ(Status(45, {{"NAME", "auditor"}}), Error(9, "kvnHpiRoleDelete", 1011));
  EXPECT_EQ(Status(45, nullptr), Error(5, "NAME"));
}

}  // namespace
}  // namespace kvnc::test
