// Login through PAM, the login reply, the audit events, logout and the
// language, through the program to the simulator.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

#include "client/paths.h"

#include "tests/support/api_test.h"
#include "tests/support/syslog_sink.h"

namespace kvnc::test {
namespace {

// The sessions of the session file as [{"id", "peer", "stamp", "uid"}].
nlohmann::json StoredSessions() {
  std::ifstream in(paths::kSessionFile);
  std::stringstream text;
  text << in.rdbuf();
  return text.str().empty() ? nlohmann::json::array() : nlohmann::json::parse(text.str());
}

class LoginFlow : public ApiTest {
 protected:
  // The audit lines the controller's event log received, in order.
  Json UserEvents() {
    Json events = Json::array();
    for (const Json &call : Calls()) {
      if (call["function"] == "saHpiGenerateUserEvent") events.push_back(call["args"]);
    }
    return events;
  }
};

bool IsIdentifier(const std::string &id) {
  return id.size() == 32 &&
         id.find_first_not_of("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") == std::string::npos;
}

TEST_F(LoginFlow, AGoodLoginGivesTheWholeReply) {
  sim().Set("/roles/admin/pmask", 0x100000003ull);  // bits 0, 1 and 32
  const Json reply = Login("admin", "admin-secret");
  EXPECT_EQ(reply["status"], (Json{{"RC", 0}, {"RCT", "Hello!"}}));  // no IC
  EXPECT_EQ(reply["MN"], nullptr);
  Json response = reply["response"];
  const std::string sid = response["SESSION"]["ID"];
  EXPECT_TRUE(IsIdentifier(sid)) << sid;
  response["SESSION"].erase("ID");
  EXPECT_EQ(response, Json::parse(R"({
    "EXPIRATION": {"DAYS": 80, "EXPIRED": false, "WARN": 0},
    "ExternalSensorZCoordinate": 0,
    "LANG": 25,
    "OMASKS": [1, 0],
    "PMASKS": [3, 1],
    "PREFERENCES": {"DEFAULT": {"DEGREES": 0, "LENGTH": 0, "PRESSURE": 0},
                    "DEGREES": 1, "LENGTH": 1, "PRESSURE": 1, "USE_DEFAULT": false},
    "ROLES": ["admin"],
    "SESSION": {"DEFAULT": {"IDLE_ENABLED": 1, "IDLE_TIMEOUT": 1800, "LOG_POLLING": 10, "WAIT_TIMEOUT": 60},
                "EMAIL": "ada@example.com", "ENABLED": 1, "EXTERNAL": 0, "FNAME": "Ada Admin",
                "HOST": "korvane-demo", "IDLE_ENABLED": 1, "IDLE_TIMEOUT": 600, "IP": "192.168.1.10",
                "LOG_POLLING": 3, "PHONE": "+1 555 0101", "USER": "admin", "USE_DEFAULT": false,
                "WAIT_TIMEOUT": 45}
  })"));
  // The login ran as the user; its audit event names the client.
  const Json events = UserEvents();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0][1], 104);
  EXPECT_EQ(events[0][2], 3);
  EXPECT_EQ(events[0][3], "admin: logged in from 127.0.0.1");
  // The session works.
  EXPECT_EQ(Call(sid, 308)["response"], (Json{{"LANG", 25}}));
}

TEST_F(LoginFlow, OptionalQueriesLeaveTheTemplateWhenTheyFail) {
  // bigid: roles from both texts, own web parameters, no own units.
  Json reply = Login("bigid", "bigid-secret");
  ASSERT_EQ(reply["status"]["RC"], 0) << reply.dump();
  EXPECT_EQ(reply["response"]["ROLES"], (Json{"operator", "viewer"}));
  EXPECT_EQ(reply["response"]["PREFERENCES"]["USE_DEFAULT"], true);
  EXPECT_FALSE(reply["response"]["PREFERENCES"].contains("DEGREES"));

  for (const char *rpc :
       {"kvnHpiGlobalWebParametersGet", "kvnHpiCurrentUserWebParametersGet", "kvnHpiCurrentUserMeasurementUnitsGet",
        "kvnHpiExternalSensorZCoordGet", "kvnHpiCurrentUserLanguageGet"}) {
    FailNext(rpc, -1011);
  }
  sim().Set("/appliance/adapters/0/name", "eth1");  // no eth0 at all
  reply = Login("admin", "admin-secret");
  ASSERT_EQ(reply["status"]["RC"], 0) << reply.dump();
  const Json &session = reply["response"]["SESSION"];
  EXPECT_EQ(session["DEFAULT"],
            (Json{{"IDLE_ENABLED", true}, {"IDLE_TIMEOUT", 3000}, {"LOG_POLLING", 5}, {"WAIT_TIMEOUT", 30}}));
  EXPECT_EQ(session["USE_DEFAULT"], true);
  EXPECT_FALSE(session.contains("LOG_POLLING"));
  EXPECT_EQ(session["IP"], "");
  EXPECT_EQ(reply["response"]["PREFERENCES"]["USE_DEFAULT"], true);
  EXPECT_EQ(reply["response"]["LANG"], 0);
  EXPECT_EQ(reply["response"]["ExternalSensorZCoordinate"], 0);

  // A required query failing ends the login with RC 9 naming it.
  FailNext("kvnHpiUserRolesGet", -1004);
  EXPECT_EQ(Login("admin", "admin-secret")["status"], (Json{{"IC", 1004}, {"RC", 9}, {"RCT", "kvnHpiUserRolesGet"}}));
}

TEST_F(LoginFlow, RefusalsAreAnsweredAndAudited) {
  Syslog().Clear();
  EXPECT_EQ(Login("admin", "wrong")["status"], (Json{{"IC", 0}, {"RC", 3}, {"RCT", "Wrong user login or password"}}));
  const Json calls = Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0]["function"], "saHpiGenerateUserEvent");
  EXPECT_EQ(calls[0]["uid"], 0) << "sent on a session of the program's own, as root";
  Json event = calls[0]["args"];
  event.erase(0);  // the session
  EXPECT_EQ(event, (Json{113, 2, "admin: login from IP (127.0.0.1) failed. Wrong user login or password."}));
  EXPECT_EQ(Syslog().WaitFor("pam_authenticate").text,
            "CGI 127.0.0.1: PAM_AUTH: authorize returns 0, pam_authenticate problem\n");

  EXPECT_EQ(Login("nobody-here", "x")["status"]["RC"], 3);

  const Json expired = Login("expired", "expired-secret");
  EXPECT_EQ(expired["status"], (Json{{"IC", 0}, {"RC", 2}, {"RCT", "User account has expired."}}));
  const Json events = UserEvents();
  ASSERT_EQ(events.size(), 2u);  // the unknown user's and the expired one's
  EXPECT_EQ(events[1][3], "expired: login from IP (127.0.0.1) failed. User account has expired.");

  // PAM accepts uid 0, the API gives it no session, and stores none.
  EXPECT_EQ(Login("zero", "zero-secret")["status"], (Json{{"IC", 0}, {"RC", 4}, {"RCT", "Can't open session"}}));
  for (const Json &session : StoredSessions()) EXPECT_NE(session["uid"], 0) << session;

  // Missing or mistyped members.
  EXPECT_EQ(Post({{"FN", 0}, {"PRM", {{"PWD", "x"}}}})["status"]["RCT"], "USER");
  EXPECT_EQ(Post({{"FN", 0}, {"PRM", {{"USER", "admin"}}}})["status"]["RCT"], "PWD");
  EXPECT_EQ(Post({{"FN", 0}})["status"]["RCT"], "USER");
  EXPECT_EQ(Post({{"FN", 0}, {"PRM", {{"USER", 5}, {"PWD", "x"}}}})["status"]["RC"], 11);
}

TEST_F(LoginFlow, APasswordThatMustBeChangedStillLogsIn) {
  const Json reply = Login("mustchange", "change-me-now");
  ASSERT_EQ(reply["status"]["RC"], 0) << reply.dump();
  EXPECT_EQ(reply["response"]["EXPIRATION"], (Json{{"DAYS", 0}, {"EXPIRED", true}, {"WARN", 1}}));
  const Json names = CallNames();
  EXPECT_EQ(std::count(names.begin(), names.end(), "kvnHpiUserPasswordExpirationParametersGet"), 0);
}

TEST_F(LoginFlow, TheClientAddressIsCheckedAsTheUiSeesIt) {
  EXPECT_EQ(Login("admin", "admin-secret", "::ffff:10.0.0.5")["status"]["RC"], 0);
  Json calls = Calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls[0]["function"], "kvnHpiLoginAddressCheck");
  EXPECT_EQ(calls[0]["args"][1], 0);
  EXPECT_EQ(calls[0]["args"][2], "admin");
  EXPECT_EQ(calls[0]["args"][3], "10.0.0.5");
  EXPECT_EQ(calls[0]["uid"], 1001);

  EXPECT_EQ(Login("admin", "admin-secret", "fe80::1")["status"]["RC"], 0);
  calls = Calls();
  EXPECT_EQ(calls[0]["args"][1], 1);
  EXPECT_EQ(calls[0]["args"][3], "fe80::1");

  // The demo appliance refuses 203.0.113.*.
  EXPECT_EQ(Login("admin", "admin-secret", "203.0.113.9")["status"],
            (Json{{"IC", 0}, {"RC", 2}, {"RCT", "Access from this IP is denied due to security policy"}}));
  calls = Calls();
  EXPECT_EQ(calls.back()["args"][3],
            "admin: login failed, access from this IP (203.0.113.9) is denied due to security policy");
  // The refused login leaves no session behind (nobody was told its id).
  for (const Json &session : StoredSessions()) EXPECT_NE(session["peer"], "203.0.113.9") << session;
}

TEST_F(LoginFlow, ResumeLogoutAndLanguage) {
  const std::string sid = LoginSid("operator", "operator-secret");
  sim().Journal();
  // FN 309 resumes a live session of the same address: the login reply with
  // EXPIRED false, WARN 0, DAYS 0 and no expiration query.
  Json reply = Post({{"FN", 309}, {"PRM", {{"SID", sid}, {"USER", "operator"}}}});
  ASSERT_EQ(reply["status"]["RCT"], "Hello!") << reply.dump();
  EXPECT_EQ(reply["response"]["SESSION"]["ID"], sid);
  EXPECT_EQ(reply["response"]["EXPIRATION"], (Json{{"DAYS", 0}, {"EXPIRED", false}, {"WARN", 0}}));
  const Json names = CallNames();
  EXPECT_EQ(std::count(names.begin(), names.end(), "kvnHpiUserPasswordExpirationParametersGet"), 0);
  EXPECT_EQ(names.back(), "saHpiGenerateUserEvent");
  EXPECT_EQ(Post({{"FN", 309}, {"PRM", {{"SID", sid}}}}, "10.9.9.9")["status"]["RCT"], "Bad session ID");
  EXPECT_EQ(Post({{"FN", 309}, {"PRM", {{"SID", 7}}}})["status"]["RCT"], "Bad session ID");

  // FN 308 without a session opens one of its own.
  EXPECT_EQ(Post({{"FN", 308}}),
            Json::parse(R"({"MN":null,"response":{"LANG":25},"status":{"IC":0,"RC":0,"RCT":"OK"}})"));

  // Logout without "un" answers RC 5, and the session is gone all the same.
  EXPECT_EQ(Call(sid, 1, Json::object())["status"], (Json{{"IC", 0}, {"RC", 5}, {"RCT", "un"}}));
  EXPECT_EQ(Call(sid, 308)["status"]["RCT"], "Bad session ID");

  const std::string again = LoginSid("operator", "operator-secret");
  sim().Journal();
  EXPECT_EQ(Call(again, 1, {{"un", "operator"}})["status"]["RC"], 0);
  const Json calls = Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0]["args"], (Json{calls[0]["args"][0], 105, 3, "operator: logged out from 127.0.0.1"}));
  EXPECT_EQ(Call(again, 308)["status"]["RCT"], "Bad session ID");
}

TEST_F(LoginFlow, LoginsAndLogoutsAreOnlyInTheSessionsOwnName) {
  const std::string sid = LoginSid("operator", "operator-secret");
  const std::string other = LoginSid("viewer", "viewer-secret");
  Calls();
  const Json wrong_user = {{"IC", 0}, {"RC", 6}, {"RCT", "USER"}};
  EXPECT_EQ(Call(sid, 0, {{"USER", "admin"}})["status"], wrong_user);
  EXPECT_EQ(Post({{"FN", 309}, {"PRM", {{"SID", sid}, {"USER", "admin"}}}})["status"], wrong_user);
  EXPECT_EQ(Call(sid, 0, {{"USER", "nobody-here"}})["status"], wrong_user);
  EXPECT_EQ(CallNames(), Json::array()) << "nothing asked or written in another's name";

  // The own name still gets the login reply and its event.
  const Json again = Call(sid, 0, {{"USER", "operator"}});
  EXPECT_EQ(again["status"]["RCT"], "Hello!") << again.dump();
  Json events = UserEvents();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0][3], "operator: logged in from 127.0.0.1");

  // A logout in another's name is refused, and the session ends all the same.
  EXPECT_EQ(Call(sid, 1, {{"un", "admin"}})["status"], (Json{{"IC", 0}, {"RC", 6}, {"RCT", "un"}}));
  EXPECT_EQ(CallNames(), Json::array());
  EXPECT_EQ(Call(sid, 308)["status"]["RCT"], "Bad session ID");
  EXPECT_EQ(Call(other, 308)["status"]["RC"], 0) << "other sessions live on";
}

TEST_F(LoginFlow, ALogoutThatThrowsStillEndsOnlyItsSession) {
  Syslog().Clear();
  const std::string sid = LoginSid("operator", "operator-secret");
  const std::string other = LoginSid("viewer", "viewer-secret");
  // "un" not a string: the handler throws, with the thread still the user's.
  EXPECT_EQ(Call(sid, 1, {{"un", 5}})["status"]["RC"], 11);
  EXPECT_EQ(Call(sid, 308)["status"]["RCT"], "Bad session ID");
  // The session file was changed by the program as itself, not as the user:
  // nothing else was lost and nothing was taken for a damaged file.
  EXPECT_EQ(Call(other, 308)["status"]["RC"], 0);
  EXPECT_TRUE(Syslog().Matching("load()").empty());
}

}  // namespace
}  // namespace kvnc::test
