// The network services and the cloud IoT link end to end against the
// simulated demo rack: the getters' replies, the setters' calls and what the
// daemon kept, the web ports applied by a process of their own after the
// reply, and the IoT answers of a system with and without IoT.
#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "client/hpi_types.h"
#include "client/kvn_types.h"
#include "tests/e2e/monitor_fixture.h"
#include "tests/support/syslog_sink.h"

namespace kvnc::test {
namespace {

using Json = nlohmann::json;
using std::chrono::milliseconds;
using std::chrono::steady_clock;

constexpr int kAdminUid = 1001;

class ServicesApi : public MonitorApi {
 protected:
  static void SetUpTestSuite() {
    Syslog();  // bound before the program starts, so none of its lines is lost
    MonitorApi::SetUpTestSuite();
  }

  // The simulator's journal with the session bookkeeping, from now until
  // it holds calls of `functions` in this order (or 10 s passed).
  Json JournalUntil(const std::vector<std::string> &functions) {
    Json calls = Json::array();
    const auto deadline = steady_clock::now() + std::chrono::seconds(10);
    while (steady_clock::now() < deadline) {
      for (const Json &call : sim().Journal()) calls.push_back(call);
      size_t found = 0;
      for (const Json &call : calls) {
        if (found < functions.size() && call["function"] == functions[found]) ++found;
      }
      if (found == functions.size()) return calls;
      std::this_thread::sleep_for(milliseconds(50));
    }
    ADD_FAILURE() << "calls missing from " << calls.dump();
    return calls;
  }
  // [name, values after the session, result] of each daemon call but the
  // session bookkeeping.
  static Json Lines(const Json &calls) {
    Json lines = Json::array();
    for (const Json &call : calls) {
      if (call["function"].get<std::string>().rfind("saHpiSession", 0) == 0) continue;
      Json args = Json::array();
      for (size_t i = 1; i < call["args"].size(); ++i) args.push_back(call["args"][i]);
      lines.push_back({call["function"], args, call["result"]});
    }
    return lines;
  }
  static int Count(const Json &calls, const std::string &function) {
    int n = 0;
    for (const Json &call : calls) n += call["function"] == function ? 1 : 0;
    return n;
  }
  // A whole reply; MN is null when the request had none.
  static Json Reply(const Json &status, const Json &response = nullptr) {
    Json reply = {{"MN", nullptr}, {"status", status}};
    if (!response.is_null()) reply["response"] = response;
    return reply;
  }
  size_t OpenSessions() { return sim().Command({{"cmd", "sessions"}})["sessions"].size(); }
};

// ---- getters and setters ---------------------------------------------------------

// Every getter's mapping is read back in the setter test below with values
// of its own; the web ports in their own tests.
TEST_F(ServicesApi, GettersEndAtTheFirstFailingCall) {
  FailNext("kvnHpiSNMPWriteCommunityGet", SA_ERR_HPI_INTERNAL_ERROR);
  EXPECT_EQ(Call(28, nullptr), Reply(Error(9, "kvnHpiSNMPWriteCommunityGet", 1004)));
  EXPECT_EQ(CallNames(),
            Json::array({"kvnHpiSNMPEnablesGet", "kvnHpiSNMPReadCommunityGet", "kvnHpiSNMPWriteCommunityGet"}));
}

TEST_F(ServicesApi, SettersPassTheirValuesAndTheGettersReadThemBack) {
  struct Case {
    int set_fn;
    Json prm;
    const char *calls;  // each: name, the values after the session
    int get_fn;
    const char *response;
  };
  const Case cases[] = {
      {25,
       {{"sshPort", 2222}, {"enabled", 0}, {"method", 1}},
       R"([["kvnHpiSSHEnableAndPortSet", 0, 2222], ["kvnHpiSSHAuthMethodSet", 1]])",
       24,
       R"({"enabled":0,"method":1,"sshPort":2222})"},
      {27,
       {{"port", 2323}, {"enabled", 1}},
       R"([["kvnHpiTelnetEnableAndPortSet", 1, 2323]])",
       26,
       R"({"enabled":1,"port":2323})"},
      {134,
       {{"DID", 4194303}, {"enabled", 1}},
       R"([["kvnHpiBACnetEnableAndDeviceIdSet", 1, 4194303]])",
       133,
       R"({"DID":4194303,"enabled":1})"},
      {149,
       {{"port", 9443}, {"enabled", 0}},
       R"([["kvnHpiRedFishEnableSet", 0, 9443]])",
       148,
       R"({"enabled":0,"port":9443})"},
      {31,
       {{"server", "smtp.example.org"}, {"email", "a3@example.org"}, {"recip", {"a", "b"}}},
       R"([["kvnHpiSMTPServerSet", "smtp.example.org"], ["kvnHpiSMTPOwnAddressSet", "a3@example.org"],
           ["kvnHpiSMTPDefaultRecipientsSet", "a,b"]])",
       30,
       R"({"email":"a3@example.org","recip":["a","b"],"server":"smtp.example.org"})"},
      {29,
       {{"enable", 1},
        {"enable12", 0},
        {"readcom", "ro"},
        {"writecom", "rw"},
        {"syscont", "ops"},
        {"sysname", "a3"},
        {"sysloc", "hall 2"},
        {"trapdest", "192.0.2.30"},
        {"trap2en", 0}},
       R"([["kvnHpiSNMPEnablesSet", 1, 0], ["kvnHpiSNMPReadCommunitySet", "ro"],
           ["kvnHpiSNMPWriteCommunitySet", "rw"], ["kvnHpiSNMPSysContactSet", "ops"], ["kvnHpiSNMPSysNameSet", "a3"],
           ["kvnHpiSNMPSysLocationSet", "hall 2"], ["kvnHpiSNMPTrapDestinationSet", "192.0.2.30"],
           ["kvnHpiSNMPTrapV2EnableSet", 0]])",
       28,
       R"({"enable":1,"enable12":0,"readcom":"ro","syscont":"ops","sysloc":"hall 2","sysname":"a3","trap2en":0,
           "trapdest":"192.0.2.30","writecom":"rw"})"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.set_fn);
    EXPECT_EQ(Call(c.set_fn, c.prm), Reply(Ok()));
    EXPECT_EQ(CallArgs(), Json::parse(c.calls));
    EXPECT_EQ(Call(c.get_fn, nullptr)["response"], Json::parse(c.response));
    Calls();
  }
  EXPECT_EQ(Model("/services/smtp_recipients"), "a,b");

  // Equal values are passed again: nothing is compared.
  EXPECT_EQ(Status(27, {{"port", 2323}, {"enabled", 1}}), Ok());
  EXPECT_EQ(CallNames(), Json::array({"kvnHpiTelnetEnableAndPortSet"}));
  // The daemon's refusal names the call.
  EXPECT_EQ(Status(149, {{"port", 0}, {"enabled", 1}}), Error(9, "kvnHpiRedFishEnableSet", 1009));
}

TEST_F(ServicesApi, MostSettersChangeNothingUntilTheWholeRequestIsRead) {
  struct Case {
    int fn;
    Json prm;
    Json status;
  };
  const Case cases[] = {
      {25, {{"sshPort", 2222}, {"enabled", 1}}, Error(5, "method")},
      {25, {{"enabled", 1}, {"method", 1}}, Error(5, "sshPort")},
      {25, {{"sshPort", 2222}, {"enabled", 1}, {"method", "1"}}, TypeError("number, but is string")},
      {27, {{"port", 2323}}, Error(5, "enabled")},
      {134, {{"enabled", 1}}, Error(5, "DID")},
      {149, {{"port", true}, {"enabled", 1}}, TypeError("number, but is boolean")},
      {23, {{"httpPort", 8080}, {"httpsPort", 8443}}, Error(5, "forceHttps")},
      {29, nullptr, Error(5, "enable")},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.prm.dump());
    EXPECT_EQ(Status(c.fn, c.prm), c.status);
    EXPECT_EQ(CallNames(), Json::array());
  }
  std::this_thread::sleep_for(milliseconds(300));  // a setting process would have called by now
  EXPECT_EQ(CallNames(), Json::array());
  EXPECT_EQ(Model("/services/ssh_port"), 22);
}

TEST_F(ServicesApi, SnmpAndMailApplyEachKeyAsTheyReadIt) {
  // Without "writecom" the settings before it are already applied.
  EXPECT_EQ(Status(29, {{"enable", 1}, {"enable12", 1}, {"readcom", "ro-new"}}), Error(5, "writecom"));
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiSNMPEnablesSet", 1, 1], ["kvnHpiSNMPReadCommunitySet", "ro-new"]])"));
  EXPECT_EQ(Model("/appliance/snmp_enabled"), 1);
  EXPECT_EQ(Model("/appliance/snmp_v12_enabled"), 1);
  EXPECT_EQ(Model("/services/snmp_read_community"), "ro-new");
  EXPECT_EQ(Model("/services/snmp_write_community"), "a3-private");

  // A failing call stops the rest.
  const Json all = {{"enable", 0},      {"enable12", 0}, {"readcom", "r"},  {"writecom", "w"}, {"syscont", "c"},
                    {"sysname", "new"}, {"sysloc", "l"}, {"trapdest", "t"}, {"trap2en", 0}};
  FailNext("kvnHpiSNMPSysNameSet", SA_ERR_HPI_INVALID_PARAMS);
  EXPECT_EQ(Status(29, all), Error(9, "kvnHpiSNMPSysNameSet", 1009));
  EXPECT_EQ(CallNames().back(), "kvnHpiSNMPSysNameSet");
  EXPECT_EQ(Model("/services/snmp_sys_contact"), "c");
  EXPECT_EQ(Model("/services/snmp_sys_name"), "rack-a3");

  // Recipients must be an array of strings; the server and address before
  // them are applied.
  for (const Json &recip : {Json("a,b"), Json::array({"a", 7})}) {
    SCOPED_TRACE(recip.dump());
    const Json status = Status(31, {{"server", "s"}, {"email", "e"}, {"recip", recip}});
    EXPECT_EQ(status, recip.is_string() ? TypeError("array, but is string") : TypeError("string, but is number"));
    EXPECT_EQ(CallNames(), Json::array({"kvnHpiSMTPServerSet", "kvnHpiSMTPOwnAddressSet"}));
  }
  EXPECT_EQ(Model("/services/smtp_recipients"), "noc@example.com,facilities@example.com");
  // An empty list empties the text.
  EXPECT_EQ(Status(31, {{"server", "s"}, {"email", "e"}, {"recip", Json::array()}}), Ok());
  EXPECT_EQ(Call(30, nullptr)["response"]["recip"], Json::array());
}

TEST_F(ServicesApi, OnlyAdministratorsChangeServices) {
  const std::string viewer = LoginSid("viewer", "viewer-secret");
  EXPECT_EQ(ApiTest::Call(viewer, 28, nullptr)["status"], Ok());
  EXPECT_EQ(ApiTest::Call(viewer, 135, nullptr)["status"], Ok());
  const int32_t refused = -KVN_ERR_HPI_INSUFFICIENT_PRIVILEGES;
  EXPECT_EQ(ApiTest::Call(viewer, 27, {{"port", 2323}, {"enabled", 1}})["status"],
            Error(9, "kvnHpiTelnetEnableAndPortSet", refused));
  EXPECT_EQ(ApiTest::Call(viewer, 29, {{"enable", 1}, {"enable12", 1}})["status"],
            Error(9, "kvnHpiSNMPEnablesSet", refused));
  EXPECT_EQ(ApiTest::Call(viewer, 158, nullptr)["status"], Error(9, "kvnHpiUnconfigureIot", refused));
  EXPECT_EQ(Model("/services/telnet_port"), 23);
}

// ---- the web server's ports ------------------------------------------------------------

TEST_F(ServicesApi, WebPortsAreAppliedByAProcessOfTheirOwnAfterTheReply) {
  const size_t sessions = OpenSessions();
  Syslog().Clear();
  // The daemon takes its time with the first port: the reply does not wait.
  sim().Fault({{"rpc", Rpc("kvnHpiHTTPPortSet")}, {"delay_ms", 1500}});
  const auto start = steady_clock::now();
  EXPECT_EQ(Call(23, {{"httpPort", 8080}, {"httpsPort", 8443}, {"forceHttps", 0}}), Reply(Ok()));
  EXPECT_LT(steady_clock::now() - start, milliseconds(1000));

  // A session of its own, as the logged-in user, closed at its end.
  const Json calls = JournalUntil({"kvnHpiEnforceHTTPSSet", "saHpiSessionClose"});
  EXPECT_EQ(Lines(calls), Json::parse(R"([["kvnHpiHTTPPortSet", [8080], 0], ["kvnHpiHTTPSPortSet", [8443], 0],
                                          ["kvnHpiEnforceHTTPSSet", [0], 0]])"));
  EXPECT_EQ(Count(calls, "saHpiSessionOpen"), 2);  // the request's and the process's
  for (const Json &call : calls) EXPECT_EQ(call["uid"], kAdminUid) << call;
  EXPECT_EQ(Call(22, nullptr)["response"], Json::parse(R"({"forceHttps":0,"httpPort":8080,"httpsPort":8443})"));
  EXPECT_EQ(OpenSessions(), sessions);
  EXPECT_TRUE(Syslog().Matching("set_http").empty());
  EXPECT_TRUE(Syslog().Matching("CGI: Can't").empty());
}

TEST_F(ServicesApi, AFailureInTheWebPortProcessReachesOnlyTheLog) {
  const size_t sessions = OpenSessions();
  Syslog().Clear();
  // The HTTPS port may not be the one HTTP was just given: the daemon
  // refuses the second call, and the third is never made.
  EXPECT_EQ(Status(23, {{"httpPort", 8080}, {"httpsPort", 8080}, {"forceHttps", 1}}), Ok());
  const Json calls = JournalUntil({"kvnHpiHTTPSPortSet", "saHpiSessionClose"});
  EXPECT_EQ(Lines(calls), Json::parse(R"([["kvnHpiHTTPPortSet", [8080], 0], ["kvnHpiHTTPSPortSet", [8080], -1009]])"));
  const SyslogLine line = Syslog().WaitFor("CGI: Can't set https port.");
  EXPECT_EQ(line.text, "CGI: Can't set https port. Error -1009\n");
  EXPECT_EQ(line.priority % 8, 3);  // an error
  std::this_thread::sleep_for(milliseconds(300));
  EXPECT_EQ(CallNames(), Json::array());  // nothing after the failure
  EXPECT_EQ(OpenSessions(), sessions);    // its session closed all the same
  EXPECT_EQ(Model("/services/http_port"), 8080);
  EXPECT_EQ(Model("/services/https_port"), 443);
  EXPECT_EQ(Model("/services/force_https"), 1);

  // No session for the process: nothing is set.
  Syslog().Clear();
  sim().Fault({{"rpc", Rpc("saHpiSessionOpen")}});  // the request's own
  sim().Fault({{"rpc", Rpc("saHpiSessionOpen")}, {"error", SA_ERR_HPI_INTERNAL_ERROR}});
  EXPECT_EQ(Status(23, {{"httpPort", 80}, {"httpsPort", 443}, {"forceHttps", 0}}), Ok());
  EXPECT_EQ(Syslog().WaitFor("for set_http process").text,
            "CGI: Can't open session for set_http process. Error -1004\n");
  std::this_thread::sleep_for(milliseconds(300));
  EXPECT_EQ(CallNames(), Json::array());
  EXPECT_EQ(Model("/services/http_port"), 8080);
}

// ---- the IoT link ----------------------------------------------------------------------

constexpr const char *kNoIot = "IoT configuration does not exist for this system!";
constexpr const char *kNoAws = "AWS configuration does not exist for this system!";
constexpr const char *kNoAzure = "Azure configuration does not exist for this system!";

TEST_F(ServicesApi, IotStatusTellsWhyThereIsNone) {
  EXPECT_EQ(Call(135, nullptr),
            Json::parse(R"({"MN":null,"response":{"connected":1,"lastrc":0,"name":"rack-a3","provider":"aws","ws":0},
                            "status":{"IC":0,"RC":0,"RCT":"OK"}})"));
  EXPECT_EQ(CallNames(), Json::array({"kvnHpiIotIsConnected", "kvnHpiIotUseWebSocketsGet"}));
  sim().Set("/services/iot/last_result", -5);
  sim().Set("/services/iot/web_sockets", 1);
  EXPECT_EQ(Call(135, nullptr)["response"]["lastrc"], -5);
  EXPECT_EQ(Call(135, nullptr)["response"]["ws"], 1);

  FailNext("kvnHpiIotUseWebSocketsGet", SA_ERR_HPI_INTERNAL_ERROR);
  EXPECT_EQ(Status(135, nullptr), Error(9, "kvnHpiIotUseWebSocketsGet", 1004));
  FailNext("kvnHpiIotIsConnected", SA_ERR_HPI_NOT_PRESENT);
  EXPECT_EQ(Status(135, nullptr), Error(9, "kvnHpiIotIsConnected", 1011));
  Calls();
  sim().Set("/services/iot/dispatcher", 0);
  EXPECT_EQ(Status(135, nullptr), Error(8, "Not connected to IoT: no MQTT dispatcher!"));
  sim().Set("/services/iot", nullptr);
  EXPECT_EQ(Status(135, nullptr), Error(12, kNoIot));
  EXPECT_EQ(CallNames(), Json::array({"kvnHpiIotIsConnected", "kvnHpiIotIsConnected"}));
}

TEST_F(ServicesApi, AwsConfigurationReadsTheEndpointOnlyForGreengrass) {
  // "ep" of any type, or none, is not looked at without Greengrass.
  for (const Json &ep : {Json(), Json(5)}) {
    Json prm = {{"thing", "rack-a3-aws"}, {"ws", 1}, {"gg", false}};
    if (!ep.is_null()) prm["ep"] = ep;
    EXPECT_EQ(Call(122, prm), Reply(Ok()));
    EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiPopulateAwsConfigs", "/var/nvdata/config/", "rack-a3-aws", ""],
                                          ["kvnHpiIotUseWebSocketsSet", 1]])"));
  }
  EXPECT_EQ(Model("/services/iot/provider"), "aws");
  EXPECT_EQ(Model("/services/iot/web_sockets"), 1);

  EXPECT_EQ(Status(122, {{"thing", "gg-core"}, {"ws", 0}, {"gg", true}, {"ep", "greengrass.example.com"}}), Ok());
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiPopulateAwsGreengrassConfigs", "/var/nvdata/config/", "gg-core", "",
                                          "greengrass.example.com"], ["kvnHpiIotUseWebSocketsSet", 0]])"));
  EXPECT_EQ(Call(135, nullptr)["response"]["provider"], "greengrass");
  Calls();

  // Bad requests make no call.
  struct Case {
    Json prm;
    Json status;
  };
  const Case cases[] = {
      {{{"thing", "t"}, {"ws", 0}, {"gg", "false"}}, TypeError("boolean, but is string")},
      {{{"thing", "t"}, {"ws", 0}, {"gg", 0}}, TypeError("boolean, but is number")},
      {{{"thing", "t"}, {"ws", 0}, {"gg", true}}, Error(5, "ep")},
      {{{"thing", "t"}, {"ws", 0}, {"gg", true}, {"ep", 1}}, TypeError("string, but is number")},
      {{{"thing", "t"}, {"gg", false}}, Error(5, "ws")},
      {{{"ws", 0}, {"gg", false}}, Error(5, "thing")},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.prm.dump());
    EXPECT_EQ(Status(122, c.prm), c.status);
    EXPECT_EQ(CallNames(), Json::array());
  }
}

TEST_F(ServicesApi, IotConfigurationsTellALackingSystemARefusalAndOtherErrorsApart) {
  const Json aws = {{"thing", "t"}, {"ws", 1}, {"gg", false}};
  const Json greengrass = {{"thing", "t"}, {"ws", 1}, {"gg", true}, {"ep", "e"}};
  const Json azure = {{"thing", "t"}, {"ws", 1}};

  // The daemon refuses with its own message; the web sockets flag stays.
  sim().Set("/services/iot/refusal", "Thing t is not registered with the provider");
  for (const auto &[fn, prm] : {std::pair{122, aws}, std::pair{122, greengrass}, std::pair{313, azure}}) {
    SCOPED_TRACE(prm.dump());
    EXPECT_EQ(Status(fn, prm), Error(14, "Thing t is not registered with the provider"));
    EXPECT_EQ(CallNames().size(), 1u);
  }
  EXPECT_EQ(Model("/services/iot/web_sockets"), 0);

  // Other errors name the call.
  sim().Set("/services/iot/refusal", "");
  FailNext("kvnHpiPopulateAwsGreengrassConfigs", SA_ERR_HPI_INTERNAL_ERROR);
  EXPECT_EQ(Status(122, greengrass), Error(9, "kvnHpiPopulateAwsGreengrassConfigs", 1004));
  FailNext("kvnHpiPopulateAwsConfigs", SA_ERR_HPI_INVALID_PARAMS);
  EXPECT_EQ(Status(122, aws), Error(9, "kvnHpiPopulateAwsConfigs", 1009));
  FailNext("kvnHpiPopulateAzureConfigs", SA_ERR_HPI_BUSY);
  EXPECT_EQ(Status(313, azure), Error(9, "kvnHpiPopulateAzureConfigs", 1003));
  FailNext("kvnHpiIotUseWebSocketsSet", SA_ERR_HPI_INTERNAL_ERROR);
  EXPECT_EQ(Status(313, azure), Error(9, "kvnHpiIotUseWebSocketsSet", 1004));
  FailNext("kvnHpiUnconfigureIot", SA_ERR_HPI_INTERNAL_ERROR);
  EXPECT_EQ(Status(158, nullptr), Error(9, "kvnHpiUnconfigureIot", 1004));

  // Azure alone: AWS is not present.
  sim().Set("/services/iot/providers", Json::array({"azure"}));
  EXPECT_EQ(Status(122, aws), Error(12, kNoAws));
  EXPECT_EQ(Status(122, greengrass), Error(12, kNoAws));
  EXPECT_EQ(Status(313, azure), Ok());
  Calls();
  EXPECT_EQ(Status(158, nullptr), Ok());
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiUnconfigureIot", "/var/nvdata/config/"]])"));
  EXPECT_EQ(Call(135, nullptr)["response"],
            Json::parse(R"({"connected":0,"lastrc":0,"name":"","provider":"","ws":1})"));

  // No IoT at all.
  sim().Set("/services/iot", nullptr);
  EXPECT_EQ(Status(122, aws), Error(12, kNoAws));
  EXPECT_EQ(Status(313, azure), Error(12, kNoAzure));
  EXPECT_EQ(Status(158, nullptr), Error(12, kNoIot));
  EXPECT_EQ(Status(135, nullptr), Error(12, kNoIot));
}

}  // namespace
}  // namespace kvnc::test
