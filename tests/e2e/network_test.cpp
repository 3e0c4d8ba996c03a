// Network interfaces, DNS and the host name end to end against the demo
// appliance: eth0 (192.168.1.10/24, static) and eth1 (disabled,
// "0.0.0.0/0"). The IPv4 address and gateway and the domain search path are
// applied by a setting process after the reply, so their calls are waited
// for in the journal.
#include <dirent.h>
#include <poll.h>
#include <sys/socket.h>
#include <syslog.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "client/hpi_types.h"
#include "client/paths.h"
#include "tests/e2e/monitor_fixture.h"
#include "tests/support/fcgi_client.h"
#include "tests/support/syslog_sink.h"

namespace kvnc::test {
namespace {

using Json = nlohmann::json;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kGet = 20;
constexpr int kSet = 21;
constexpr int kHostName = 120;

// Processes that are copies of kvnc-api other than kvnc-api itself: setting
// processes (and the short-lived ones in between), found by their executable.
std::vector<pid_t> ApiCopies(pid_t api) {
  std::vector<pid_t> copies;
  char own[4096] = {};
  const std::string api_exe = "/proc/" + std::to_string(api) + "/exe";
  if (readlink(api_exe.c_str(), own, sizeof own - 1) <= 0) return copies;
  DIR *proc = opendir("/proc");
  while (dirent *entry = proc != nullptr ? readdir(proc) : nullptr) {
    const pid_t pid = std::atoi(entry->d_name);
    if (pid <= 0 || pid == api) continue;
    char exe[4096] = {};
    const std::string link = std::string("/proc/") + entry->d_name + "/exe";
    if (readlink(link.c_str(), exe, sizeof exe - 1) > 0 && std::string(exe) == own) copies.push_back(pid);
  }
  if (proc != nullptr) closedir(proc);
  return copies;
}

// Children of `pid` in state Z.
int Zombies(pid_t pid) {
  int zombies = 0;
  DIR *proc = opendir("/proc");
  while (dirent *entry = proc != nullptr ? readdir(proc) : nullptr) {
    std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
    std::string line;
    if (!std::getline(stat, line) || line.rfind(')') == std::string::npos) continue;
    char state = 0;
    int parent = 0;
    if (std::sscanf(line.c_str() + line.rfind(')') + 2, "%c %d", &state, &parent) == 2 && parent == pid &&
        state == 'Z') {
      ++zombies;
    }
  }
  if (proc != nullptr) closedir(proc);
  return zombies;
}

class NetworkApi : public MonitorApi {
 protected:
  void SetUp() override {
    Syslog();  // bound before the lines that tests wait for are sent
    MonitorApi::SetUp();
  }
  // The calls of the journal until one of `function` has come (at most 5 s):
  // setting processes make theirs after the reply.
  Json CallsUntil(const std::string &function) {
    Json calls = Json::array();
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    for (;;) {
      for (Json &call : Calls()) calls.push_back(std::move(call));
      const bool seen =
          std::any_of(calls.begin(), calls.end(), [&](const Json &c) { return c["function"] == function; });
      if (seen || Clock::now() > deadline) return calls;
      std::this_thread::sleep_for(milliseconds(20));
    }
  }
  // The calls within a short while after a reply, for the cases where no
  // setting process may come.
  Json CallsSettled() {
    std::this_thread::sleep_for(milliseconds(400));
    return Calls();
  }
  static Json Names(const Json &calls) {
    Json names = Json::array();
    for (const Json &call : calls) names.push_back(call["function"]);
    return names;
  }
  // The arguments after the session of the first call of `function`.
  static Json ArgsOf(const Json &calls, const std::string &function) {
    for (const Json &call : calls) {
      if (call["function"] != function) continue;
      return Json(call["args"].begin() + 1, call["args"].end());
    }
    return nullptr;
  }
  static Json Ipv4(unsigned en, unsigned dhcp, const std::string &ip4, const std::string &gw4,
                   const Json &rejected = {"192.168.1.66", "192.168.1.67"}, unsigned idx = 1) {
    return {{"cmd", 1}, {"idx", idx}, {"dhcp4r", rejected}, {"ip4en", en}, {"dhcp", dhcp}, {"ip4", ip4}, {"gw4", gw4}};
  }
  static Json Dns(const std::string &v4a, const std::string &v4b,
                  const std::string &path = "a3.example.net example.net") {
    return {{"cmd", 3},      {"dnsres", 1},    {"dns4prim", v4a}, {"dns4sec", v4b}, {"dns6prim", "2001:db8:a3::53"},
            {"dns6sec", ""}, {"dnspath", path}};
  }
};

// ---- reading ------------------------------------------------------------------------

TEST_F(NetworkApi, ReadsEachGroupOfAnInterfaceFoundByItsName) {
  EXPECT_EQ(Call(kGet, {{"cmd", 0}, {"id", "eth1"}})["response"],
            Json::parse(R"({"idx":2,"id":"eth1","mac":"02:1a:4b:03:a3:11","an":0,"duplex":1,"speed":100})"));
  // Found by comparing every name up to the match.
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiAdapterNameGet",1],["kvnHpiAdapterNameGet",2],
      ["kvnHpiMACAddressGet",2],["kvnHpiInterfaceModeAndSpeedGet",2]])"));

  EXPECT_EQ(Call(kGet, {{"cmd", 1}, {"id", "eth0"}})["response"],
            Json::parse(R"({"idx":1,"id":"eth0","ip4en":true,"dhcp4r":["192.168.1.66","192.168.1.67"],"dhcp":0,
                           "ip4":"192.168.1.10/24","gw4":"192.168.1.1"})"));
  // Disabled: the address is shown as it is, the flag false.
  EXPECT_EQ(Call(kGet, {{"cmd", 1}, {"id", "eth1"}})["response"],
            Json::parse(R"({"idx":2,"id":"eth1","ip4en":false,"dhcp4r":["192.168.1.66","192.168.1.67"],"dhcp":1,
                           "ip4":"0.0.0.0/0","gw4":""})"));

  EXPECT_EQ(Call(kGet, {{"cmd", 2}, {"id", "eth0"}})["response"], Json::parse(R"({"idx":1,"id":"eth0",
      "ip6en":true,"dhcp6r":[],"dhcp6auto":1,"dhcp6en":0,"ip6":["2001:db8:a3::10/64","fd00:a3::10/64"],
      "routes":[{"idx":1,"pref":"2001:db8:a3::/64","addr":"::"},{"idx":2,"pref":"::/0","addr":"2001:db8:a3::1"}],
      "gw6":"2001:db8:a3::1"})"));
  EXPECT_EQ(Call(kGet, {{"cmd", 2}, {"id", "eth1"}})["response"], Json::parse(R"({"idx":2,"id":"eth1",
      "ip6en":false,"dhcp6r":[],"dhcp6auto":1,"dhcp6en":0,"ip6":[],"routes":[],"gw6":""})"));

  // DNS is the controller's: no "id" needed, no adapter looked up.
  sim().Set("/appliance/dns6", "");
  Calls();
  EXPECT_EQ(Call(kGet, {{"cmd", 3}})["response"],
            Json::parse(R"({"dnsres":1,"dns4prim":"192.168.1.2","dns4sec":"192.168.1.3","dns6prim":"","dns6sec":"",
                           "dnspath":"a3.example.net example.net"})"));
  EXPECT_EQ(CallNames(), Json::parse(R"(["kvnHpiDNSPreferenceGet","kvnHpiIPv4DNSServersGet",
      "kvnHpiIPv6DNSServersGet","kvnHpiDomainSearchPathGet"])"));
}

// Values the daemon cannot give are shown as defaults where the page has
// one, and fail the request where it has none.
TEST_F(NetworkApi, ReadsWithWhatTheDaemonCannotGive) {
  sim().Set("/appliance/adapters/0/dhcp4", nullptr);
  FailNext("kvnHpiIPv4AddressGet", SA_ERR_HPI_INTERNAL_ERROR);
  FailNext("kvnHpiIPv4GatewayGet", SA_ERR_HPI_INTERNAL_ERROR);
  EXPECT_EQ(Call(kGet, {{"cmd", 1}, {"id", "eth0"}})["response"],
            Json::parse(R"({"idx":1,"id":"eth0","ip4en":false,"dhcp4r":["192.168.1.66","192.168.1.67"],
                           "ip4":"","gw4":""})"));
  FailNext("kvnHpiIPv6AutoDHCPGet", SA_ERR_HPI_INTERNAL_ERROR);
  FailNext("kvnHpiIPv6AddressesPrefixesGet", SA_ERR_HPI_INTERNAL_ERROR);
  const Json v6 = Call(kGet, {{"cmd", 2}, {"id", "eth0"}})["response"];
  EXPECT_EQ(v6["dhcp6auto"], 1);
  EXPECT_EQ(v6["dhcp6en"], 0);
  EXPECT_EQ(v6["ip6"], Json::array());
  EXPECT_EQ(v6["ip6en"], false);
  EXPECT_EQ(v6["gw6"], "2001:db8:a3::1");

  FailNext("kvnHpiIPv4DHCPRejectedServersGet", SA_ERR_HPI_INTERNAL_ERROR);
  EXPECT_EQ(Status(kGet, {{"cmd", 1}, {"id", "eth0"}}), Error(9, "kvnHpiIPv4DHCPRejectedServersGet", 1004));
  FailNext("kvnHpiIPv4DHCPGet", SA_ERR_HPI_INTERNAL_ERROR);
  EXPECT_EQ(Status(kGet, {{"cmd", 1}, {"id", "eth0"}}), Error(9, "kvnHpiIPv4DHCPGet", 1004));
  FailNext("kvnHpiInterfaceModeAndSpeedGet", SA_ERR_HPI_BUSY);
  EXPECT_EQ(Status(kGet, {{"cmd", 0}, {"id", "eth0"}}), Error(9, "kvnHpiInterfaceModeAndSpeedGet", 1003));
  FailNext("kvnHpiAdapterNameGet", SA_ERR_HPI_BUSY);
  EXPECT_EQ(Status(kGet, {{"cmd", 0}, {"id", "eth0"}}), Error(9, "kvnHpiAdapterNameGet", 1003));
  FailNext("kvnHpiDomainSearchPathGet", SA_ERR_HPI_BUSY);
  EXPECT_EQ(Status(kGet, {{"cmd", 3}}), Error(9, "kvnHpiDomainSearchPathGet", 1003));
}

TEST_F(NetworkApi, RefusesRequestsItCannotServe) {
  for (const int fn : {kGet, kSet}) {
    EXPECT_EQ(Status(fn, Json::object()), Error(5, "cmd")) << fn;
    EXPECT_EQ(Status(fn, {{"cmd", 7}}), Error(12, "", 7)) << fn;
    EXPECT_EQ(Status(fn, {{"cmd", -1}, {"id", "eth0"}, {"idx", 1}}), Error(12, "", -1)) << fn;
    EXPECT_EQ(Status(fn, {{"cmd", "1"}}), TypeError("number, but is string")) << fn;
  }
  EXPECT_EQ(Status(kGet, {{"cmd", 1}}), Error(5, "id"));
  EXPECT_EQ(Status(kSet, {{"cmd", 1}}), Error(5, "idx"));
  EXPECT_EQ(Status(kGet, {{"cmd", 1}, {"id", 1}}), TypeError("string, but is number"));
  // A name no adapter has, compared in full: "eth" is no prefix match.
  EXPECT_EQ(Status(kGet, {{"cmd", 1}, {"id", "wlan0"}}), Error(15, "wlan0"));
  EXPECT_EQ(Status(kGet, {{"cmd", 0}, {"id", "eth"}}), Error(15, "eth"));
  EXPECT_EQ(Names(Calls()), Json::parse(R"(["kvnHpiAdapterNameGet","kvnHpiAdapterNameGet","kvnHpiAdapterNameGet",
      "kvnHpiAdapterNameGet","kvnHpiAdapterNameGet","kvnHpiAdapterNameGet"])"));
  // An index the daemon does not know is its error.
  EXPECT_EQ(Status(kSet, {{"cmd", 0}, {"idx", 9}, {"an", 1}, {"duplex", 1}, {"speed", 10}}),
            Error(9, "kvnHpiInterfaceModeAndSpeedGet", 1011));
  EXPECT_EQ(Status(kHostName, Json::object()), Error(5, "hostname"));
  EXPECT_EQ(Status(kHostName, {{"hostname", 5}}), TypeError("string, but is number"));
}

// ---- writing --------------------------------------------------------------------------

TEST_F(NetworkApi, LinkIsSetOnlyWhenItChanges) {
  EXPECT_EQ(Status(kSet, {{"cmd", 0}, {"idx", 2}, {"an", 0}, {"duplex", 1}, {"speed", 100}}), Ok());
  EXPECT_EQ(CallNames(), Json::array({"kvnHpiInterfaceModeAndSpeedGet"}));
  EXPECT_EQ(Status(kSet, {{"cmd", 0}, {"idx", 2}, {"an", 1}, {"duplex", 0}, {"speed", -1}}), Ok());
  EXPECT_EQ(ArgsOf(Calls(), "kvnHpiInterfaceModeAndSpeedSet"), Json::parse("[2,1,0,-1]"));
  EXPECT_EQ(Model("/appliance/adapters/1/speed"), -1);
  EXPECT_EQ(Status(kSet, {{"cmd", 0}, {"idx", 2}, {"an", 1}, {"duplex", 0}}), Error(5, "speed"));
}

TEST_F(NetworkApi, Ipv4DisablingIsAppliedByASettingProcess) {
  EXPECT_EQ(Status(kSet, Ipv4(0, 0, "", "")), Ok());
  const Json calls = CallsUntil("kvnHpiIPv4DHCPAddressGatewaySet");
  EXPECT_EQ(ArgsOf(calls, "kvnHpiIPv4DHCPAddressGatewaySet"), Json::parse(R"([1,1,"0.0.0.0/0",""])"));
  EXPECT_EQ(Names(calls), Json::parse(R"(["kvnHpiIPv4DHCPRejectedServersGet","kvnHpiIPv4AddressGet",
      "kvnHpiIPv4DHCPAddressGatewaySet"])"));
  EXPECT_EQ(Model("/appliance/adapters/0/ipv4"), "0.0.0.0/0");

  // Already disabled: nothing to do, no process.
  EXPECT_EQ(Status(kSet, Ipv4(0, 1, "10.0.0.1/8", "10.0.0.254", {"192.168.1.66", "192.168.1.67"}, 2)), Ok());
  EXPECT_EQ(Names(CallsSettled()), Json::parse(R"(["kvnHpiIPv4DHCPRejectedServersGet","kvnHpiIPv4AddressGet"])"));
}

TEST_F(NetworkApi, Ipv4IsSetOnlyWhenAddressGatewayOrDhcpChange) {
  // Equal values: no process, but the rejected servers, which differ, are set.
  EXPECT_EQ(Status(kSet, Ipv4(1, 0, "192.168.1.10/24", "192.168.1.1", {"10.1.1.1", "", "10.1.1.2"})), Ok());
  const Json calls = CallsSettled();
  EXPECT_EQ(Names(calls), Json::parse(R"(["kvnHpiIPv4DHCPRejectedServersGet","kvnHpiIPv4DHCPRejectedServersSet",
      "kvnHpiIPv4AddressGet","kvnHpiIPv4DHCPGet","kvnHpiIPv4GatewayGet"])"));
  EXPECT_EQ(ArgsOf(calls, "kvnHpiIPv4DHCPRejectedServersSet"), Json::array({"10.1.1.1,,10.1.1.2"}));

  // Each of the three alone is a change.
  const Json changes[] = {Ipv4(1, 1, "192.168.1.10/24", "192.168.1.1"), Ipv4(1, 0, "192.168.1.11/24", "192.168.1.1"),
                          Ipv4(1, 0, "192.168.1.10/24", "")};
  for (const Json &change : changes) {
    sim().LoadDemo();
    EXPECT_EQ(Status(kSet, change), Ok());
    EXPECT_EQ(ArgsOf(CallsUntil("kvnHpiIPv4DHCPAddressGatewaySet"), "kvnHpiIPv4DHCPAddressGatewaySet"),
              Json::array({1, change["dhcp"], change["ip4"], change["gw4"]}));
  }
  // Enabling the disabled eth1.
  sim().LoadDemo();
  EXPECT_EQ(Status(kSet, Ipv4(1, 0, "10.0.0.5/8", "10.0.0.1", {"192.168.1.66", "192.168.1.67"}, 2)), Ok());
  EXPECT_EQ(ArgsOf(CallsUntil("kvnHpiIPv4DHCPAddressGatewaySet"), "kvnHpiIPv4DHCPAddressGatewaySet"),
            Json::parse(R"([2,0,"10.0.0.5/8","10.0.0.1"])"));

  // Keys are required as the steps reach them; steps done stay done.
  Json missing = Ipv4(1, 0, "192.168.1.10/24", "192.168.1.1", {"10.9.9.9"});
  missing.erase("gw4");
  EXPECT_EQ(Status(kSet, missing), Error(5, "gw4"));
  EXPECT_EQ(Model("/appliance/dhcp4_rejected"), "10.9.9.9");
  missing.erase("dhcp4r");
  EXPECT_EQ(Status(kSet, missing), Error(5, "dhcp4r"));
}

TEST_F(NetworkApi, Ipv6) {
  // Disabled: only the rejected servers change.
  EXPECT_EQ(Status(kSet, {{"cmd", 2}, {"idx", 1}, {"dhcp6r", {"fe80::1", "fe80::2"}}, {"ip6en", 0}, {"dhcp6en", 1}}),
            Ok());
  Json calls = CallsSettled();
  EXPECT_EQ(Names(calls), Json::parse(R"(["kvnHpiIPv6DHCPRejectedServersGet","kvnHpiIPv6DHCPRejectedServersSet"])"));
  EXPECT_EQ(ArgsOf(calls, "kvnHpiIPv6DHCPRejectedServersSet"), Json::array({"fe80::1,fe80::2"}));
  EXPECT_EQ(Model("/appliance/adapters/0/ipv6"), "2001:db8:a3::10/64,fd00:a3::10/64");

  // Automatic or DHCP: the DHCP flag alone is sent, nothing compared.
  EXPECT_EQ(
      Status(
          kSet,
          {{"cmd", 2}, {"idx", 1}, {"dhcp6r", {"fe80::1", "fe80::2"}}, {"ip6en", 1}, {"dhcp6en", 0}, {"dhcp6auto", 1}}),
      Ok());
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiIPv6DHCPRejectedServersGet"],["kvnHpiIPv6AutoDHCPSet",1,0]])"));

  // Static: addresses joined, the gateway empty when not given.
  EXPECT_EQ(Status(kSet, {{"cmd", 2},
                          {"idx", 1},
                          {"dhcp6r", Json::array()},
                          {"ip6en", 1},
                          {"dhcp6en", 0},
                          {"dhcp6auto", 0},
                          {"ip6", {"2001:db8::5/64", "fd00::5/64"}}}),
            Ok());
  EXPECT_EQ(ArgsOf(Calls(), "kvnHpiIPv6AddressesPrefixesGatewaySet"),
            Json::parse(R"([1,"2001:db8::5/64,fd00::5/64",""])"));
  const Json v6 = Call(kGet, {{"cmd", 2}, {"id", "eth0"}})["response"];
  EXPECT_EQ(v6["dhcp6auto"], 0);
  EXPECT_EQ(v6["gw6"], "");
  EXPECT_EQ(Status(kSet, {{"cmd", 2}, {"idx", 1}, {"dhcp6r", Json::array()}, {"ip6en", 1}, {"dhcp6auto", 0}}),
            Error(5, "dhcp6en"));
  EXPECT_EQ(Status(kSet, {{"cmd", 2}, {"idx", 1}, {"dhcp6r", {1}}, {"ip6en", 0}}), TypeError("string, but is number"));
}

TEST_F(NetworkApi, DnsServerListsJoinedAndSetOnlyWhenTheyChange) {
  // All equal: reads only.
  EXPECT_EQ(Status(kSet, Dns("192.168.1.2", "192.168.1.3")), Ok());
  EXPECT_EQ(Names(CallsSettled()), Json::parse(R"(["kvnHpiDNSPreferenceGet","kvnHpiIPv4DNSServersGet",
      "kvnHpiIPv6DNSServersGet","kvnHpiDomainSearchPathGet"])"));

  struct Case {
    const char *primary, *secondary, *stored;
  };
  for (const Case &c : {Case{"", "10.0.0.53", "10.0.0.53"}, Case{"10.0.0.1", "10.0.0.2", "10.0.0.1,10.0.0.2"},
                        Case{"10.0.0.1", "", "10.0.0.1"}}) {
    EXPECT_EQ(Status(kSet, Dns(c.primary, c.secondary)), Ok());
    EXPECT_EQ(ArgsOf(Calls(), "kvnHpiIPv4DNSServersSet"), Json::array({c.stored})) << c.primary << "|" << c.secondary;
  }

  Json v6 = Dns("10.0.0.1", "");
  v6["dnsres"] = 2;
  v6["dns6prim"] = "";
  v6["dns6sec"] = "fd00::53";
  EXPECT_EQ(Status(kSet, v6), Ok());
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiDNSPreferenceGet"],["kvnHpiDNSPreferenceSet",2],
      ["kvnHpiIPv4DNSServersGet"],["kvnHpiIPv6DNSServersGet"],["kvnHpiIPv6DNSServersSet","fd00::53"],
      ["kvnHpiDomainSearchPathGet"]])"));
  EXPECT_NE(Syslog().WaitFor("CGI DEBIG: kvnHpiIPv6DNSServersSet(fd00::53)").priority, -1);
}

// The search path is applied by a setting process with its own session, as
// the requesting user; its failure reaches only the log.
TEST_F(NetworkApi, SearchPathIsAppliedByASettingProcessAndItsFailureLogged) {
  const pid_t api = ApiPid();
  EXPECT_EQ(Status(kSet, Dns("192.168.1.2", "192.168.1.3", "b4.example.net")), Ok());
  Json calls = CallsUntil("kvnHpiDomainSearchPathSet");
  EXPECT_EQ(ArgsOf(calls, "kvnHpiDomainSearchPathSet"), Json::array({"b4.example.net"}));
  EXPECT_EQ(calls.back()["uid"], calls.front()["uid"]);  // the user's rights, not root's
  EXPECT_EQ(Model("/appliance/search_path"), "b4.example.net");

  Syslog().Clear();
  FailNext("kvnHpiDomainSearchPathSet", SA_ERR_HPI_INVALID_DATA);
  EXPECT_EQ(Status(kSet, Dns("192.168.1.2", "192.168.1.3", "c5.example.net")), Ok());
  const SyslogLine line = Syslog().WaitFor("Can't set Domain Search Path");
  EXPECT_EQ(line.text, "CGI: Can't set Domain Search Path. Error -1010\n");
  EXPECT_EQ(line.priority, LOG_DAEMON | LOG_ERR);
  // Its own session, closed also after the failure.
  Json raw = Json::array();
  const auto closed = [&raw] {
    const auto set = std::find_if(raw.begin(), raw.end(),
                                  [](const Json &c) { return c["function"] == "kvnHpiDomainSearchPathSet"; });
    return set != raw.end() && std::any_of(set, raw.end(), [&](const Json &c) {
             return c["function"] == "saHpiSessionClose" && c["args"][0] == (*set)["args"][0];
           });
  };
  for (const auto deadline = Clock::now() + std::chrono::seconds(5); !closed() && Clock::now() < deadline;) {
    for (Json &call : sim().Journal()) raw.push_back(std::move(call));
    std::this_thread::sleep_for(milliseconds(20));
  }
  EXPECT_TRUE(closed()) << raw;
  EXPECT_EQ(Model("/appliance/search_path"), "b4.example.net");
  EXPECT_EQ(Zombies(api), 0);
}

// Milliseconds until the program closes the connection of one request
// (a web server without keep-alive waits for that), and what came.
std::pair<int64_t, std::string> UntilClosed(const std::string &body) {
  const FcgiParams params = {{"REQUEST_METHOD", "POST"},
                             {"CONTENT_TYPE", "application/json"},
                             {"CONTENT_LENGTH", std::to_string(body.size())},
                             {"REMOTE_ADDR", "127.0.0.1"}};
  const std::string bytes = EncodeFcgiRequest(params, body);
  const int fd = ConnectUnixSocket(paths::kFastCgiSocket);
  if (fd < 0) return {-1, ""};
  const auto start = Clock::now();
  (void)!send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
  std::string in;
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 10000) <= 0) break;
    char buffer[65536];
    const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    in.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  return {std::chrono::duration_cast<milliseconds>(Clock::now() - start).count(), in};
}

// The connection ends with the reply even while the setting process is
// still at work: it holds no descriptor of the program.
TEST_F(NetworkApi, TheConnectionEndsBeforeTheSettingProcessDoes) {
  sim().Fault({{"rpc", Rpc("kvnHpiIPv4DHCPAddressGatewaySet")}, {"delay_ms", 1500}});
  const Json request = {{"FN", kSet}, {"SID", LoginSid("admin", "admin-secret")}, {"PRM", Ipv4(0, 0, "", "")}};
  Calls();
  const auto [took_ms, bytes] = UntilClosed(request.dump());
  EXPECT_NE(bytes.find(R"("RCT":"OK")"), std::string::npos) << bytes;
  EXPECT_LT(took_ms, 1000);
  EXPECT_EQ(ArgsOf(CallsUntil("kvnHpiIPv4DHCPAddressGatewaySet"), "kvnHpiIPv4DHCPAddressGatewaySet"),
            Json::parse(R"([1,1,"0.0.0.0/0",""])"));
}

TEST_F(NetworkApi, HostNameIsSetWithoutComparing) {
  EXPECT_EQ(Status(kHostName, {{"hostname", "korvane-demo"}}), Ok());
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiHostNameSet","korvane-demo"]])"));
  EXPECT_EQ(Status(kHostName, {{"hostname", "rack-b1"}}), Ok());
  EXPECT_EQ(Model("/appliance/host_name"), "rack-b1");
  FailNext("kvnHpiHostNameSet", SA_ERR_HPI_INVALID_PARAMS);
  EXPECT_EQ(Status(kHostName, {{"hostname", "bad name"}}), Error(9, "kvnHpiHostNameSet", 1009));
}

// 200 requests that fork, from 16 connections at once, beside requests that
// do not: every one answered, and afterwards no zombie, no extra descriptor
// or thread in the program, and no setting process left after 5 s.
TEST_F(NetworkApi, ManySettingProcessesAtOnceLeaveNothingBehind) {
  const pid_t api = ApiPid();
  const std::string sid = LoginSid("admin", "admin-secret");
  Post({{"FN", kGet}, {"SID", sid}, {"PRM", {{"cmd", 3}}}});  // every lazy connection made before counting
  std::this_thread::sleep_for(milliseconds(200));
  const size_t descriptors = OpenDescriptors(api).size();
  const int threads = ThreadCount(api);

  constexpr int kConnections = 16;
  constexpr int kForking = 200;
  std::atomic<int> next{0};
  std::atomic<int> ok{0};
  std::atomic<int> reads_ok{0};
  std::atomic<int> failed{0};
  std::vector<std::thread> clients;
  clients.reserve(kConnections);
  for (int t = 0; t < kConnections; ++t) {
    clients.emplace_back([&, t] {
      for (int i = next++; i < kForking; i = next++) {
        const Json prm = Dns("192.168.1.2", "192.168.1.3", "load" + std::to_string(i) + ".example.net");
        const Json reply = Post({{"FN", kSet}, {"SID", sid}, {"PRM", prm}});
        const bool answered = reply.is_object() && reply["status"] == Ok();
        (answered ? ok : failed)++;
        if (t % 4 == 0) {  // a request in flight beside them
          const Json read = Post({{"FN", kGet}, {"SID", sid}, {"PRM", {{"cmd", 1}, {"id", "eth0"}}}});
          (read.is_object() && read["status"] == Ok() ? reads_ok : failed)++;
        }
        if (failed > 0) next = kForking;  // a hung program: no need to wait for every request
      }
    });
  }
  for (std::thread &c : clients) c.join();
  const auto finished = Clock::now();
  EXPECT_EQ(ok, kForking);
  EXPECT_EQ(failed, 0);
  EXPECT_GT(reads_ok, 0);

  while (!ApiCopies(api).empty() && Clock::now() - finished < std::chrono::seconds(5)) {
    std::this_thread::sleep_for(milliseconds(50));
  }
  EXPECT_EQ(ApiCopies(api), std::vector<pid_t>{}) << "setting processes outlived 5 s";
  EXPECT_EQ(Zombies(api), 0);
  EXPECT_EQ(OpenDescriptors(api).size(), descriptors);
  EXPECT_EQ(ThreadCount(api), threads);
  // Every process got through: the last path set is one of the requests'.
  EXPECT_EQ(Model("/appliance/search_path").get<std::string>().rfind("load", 0), 0u);
}

}  // namespace
}  // namespace kvnc::test
