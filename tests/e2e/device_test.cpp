// The device tree, inventory, device information, product summary and
// persistent resources end to end against the simulated demo rack. A
// stand-in BACnet server on PATH records each run and what it inherited.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "tests/e2e/monitor_fixture.h"
#include "tests/support/stand_in_tools.h"

namespace kvnc::test {
namespace {

using Json = nlohmann::json;
namespace fs = std::filesystem;

constexpr uint32_t kEveryResource = 0xFFFFFFFF;
constexpr int kController = 1000;  // inventory 0: areas 1 (5 fields) and 2 (3 fields)

std::set<std::string> TmpEntries() {
  std::set<std::string> names;
  for (const auto &entry : fs::directory_iterator("/tmp")) names.insert(entry.path().filename().string());
  return names;
}

std::string ReadText(const std::string &path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class DeviceApi : public MonitorApi {
 protected:
  static void SetUpTestSuite() {
    char dir[] = "/tmp/kvnc-bacnet-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    bin_ = dir;
    chmod(dir, 0777);  // the server runs as the logged-in user
    // Prints its version, then the descriptors it was given (listed from a
    // child, so the listing opens none of its own); records its arguments.
    const std::string script = bin_ + "/bacservd";
    std::ofstream(script) << "#!/bin/sh\n"
                             "exec /bin/sh -c 'printf \"bacservd 1.4.2\\nBACnet stack 0.9\\n\"; "
                             "ls -l /proc/$$/fd; echo \"$*\" >> "
                          << bin_ << "/runs' bacservd \"$@\"\n";
    chmod(script.c_str(), 0755);
    PutToolsFirstOnPath(bin_);  // before kvnc-api starts below
    MonitorApi::SetUpTestSuite();
  }
  static void TearDownTestSuite() {
    MonitorApi::TearDownTestSuite();
    RemoveToolsFromPath(bin_);
  }
  void SetUp() override {
    MonitorApi::SetUp();
    fs::remove(bin_ + "/runs");
    chmod((bin_ + "/bacservd").c_str(), 0755);
  }

  // The arguments of the one call of `function` among `calls`.
  static Json ArgsOf(const Json &calls, const std::string &function) {
    Json found;
    for (const Json &call : calls) {
      if (call["function"] == function) {
        EXPECT_TRUE(found.is_null()) << function << " called twice";
        found = call["args"];
      }
    }
    EXPECT_FALSE(found.is_null()) << function << " not called";
    return found;
  }
  // Queues `served` plain answers of `function`, then one whose reply value
  // `output` is `value`.
  void ReplaceOutput(const std::string &function, int served, int output, int64_t value) {
    for (int i = 0; i < served; ++i) sim().Fault({{"rpc", Rpc(function)}});
    sim().Fault({{"rpc", Rpc(function)}, {"output", output}, {"value", value}});
  }

  static inline std::string bin_;
};

// ---- tree files ----------------------------------------------------------------

struct TreeCase {
  int fn;
  Json prm;
  const char *prefix;
  uint32_t resource;
  uint32_t rdr_type;
};

const TreeCase kTreeCases[] = {
    {300, nullptr, "all_", kEveryResource, 0},   {305, {{"ID", 2001}}, "ures_", 2001, 0},
    {306, nullptr, "usen_", kEveryResource, 2},  {307, {{"ID", 4002}}, "res_", 4002, 0},
    {312, nullptr, "uctrl_", kEveryResource, 1},
};

TEST_F(DeviceApi, TreeDocumentsTravelThroughAFileThatIsAlwaysRemoved) {
  for (const TreeCase &c : kTreeCases) {
    SCOPED_TRACE(c.fn);
    const std::set<std::string> before = TmpEntries();
    const Json reply = Call(c.fn, c.prm);
    ASSERT_EQ(reply["status"], Ok());
    const Json args = ArgsOf(Calls(), "saHpiRdrListGet");
    ASSERT_EQ(args.size(), 4u);
    EXPECT_EQ(args[1], c.resource);
    EXPECT_EQ(args[2], c.rdr_type);
    EXPECT_TRUE(std::regex_match(args[3].get<std::string>(), std::regex(std::string("/tmp/") + c.prefix + "\\w{6}")))
        << args[3];
    EXPECT_FALSE(fs::exists(args[3].get<std::string>()));
    EXPECT_EQ(TmpEntries(), before);

    // The daemon's document, as it wrote it.
    const Json &resources = reply["response"]["resources"];
    ASSERT_FALSE(resources.empty());
    if (c.resource != kEveryResource) {
      ASSERT_EQ(resources.size(), 1u);
      EXPECT_EQ(resources[0]["id"], c.resource);
    } else {
      EXPECT_EQ(resources.size(), 13u);
    }
    size_t records = 0;
    for (const Json &r : resources) {
      for (const Json &rdr : r["rdrs"]) {
        ++records;
        if (c.rdr_type != 0) {
          EXPECT_EQ(rdr["rdr_type"], c.rdr_type);
        }
      }
    }
    EXPECT_GT(records, 0u);
  }
  const Json whole = Call(300, nullptr)["response"]["resources"][0];
  EXPECT_EQ(whole["id"], kController);
  EXPECT_EQ(whole["rdrs"].size(), 6u);
  EXPECT_EQ(whole["rdrs"][5], Json::parse(R"({"name":"Controller inventory","num":0,"rdr_type":3,"record":6})"));
}

TEST_F(DeviceApi, TreeFilesGoAlsoWhenTheDaemonFailsOrWritesNoJson) {
  const std::set<std::string> before = TmpEntries();
  for (const TreeCase &c : kTreeCases) {
    SCOPED_TRACE(c.fn);
    FailNext("saHpiRdrListGet", -1004);
    EXPECT_EQ(Status(c.fn, c.prm), Error(9, "saHpiRdrListGet", 1004));
    const std::string file = ArgsOf(Calls(), "saHpiRdrListGet")[3];  // the daemon had the name
    EXPECT_EQ(file.rfind(std::string("/tmp/") + c.prefix, 0), 0u) << file;
    EXPECT_EQ(TmpEntries(), before);
  }
  EXPECT_EQ(Status(305, {{"ID", 77}}), Error(9, "saHpiRdrListGet", 1016));  // no such resource
  EXPECT_EQ(TmpEntries(), before);

  for (const char *damaged : {"{\"resources\": [", "", "{} trailing"}) {
    SCOPED_TRACE(damaged);
    sim().Set("/appliance/tree_text", damaged);
    for (const TreeCase &c : kTreeCases) {
      const Json status = Status(c.fn, c.prm);
      EXPECT_EQ(status["RC"], 11) << c.fn;
      EXPECT_EQ(status["RCT"].get<std::string>().rfind("[json.exception.parse_error.101]", 0), 0u) << status;
      EXPECT_EQ(TmpEntries(), before) << c.fn;
    }
  }
  // No "ID": nothing created, nothing asked.
  Calls();
  EXPECT_EQ(Status(305, nullptr), Error(5, "ID"));
  EXPECT_EQ(Status(307, {{"ID", "4002"}}), TypeError("number, but is string"));
  EXPECT_EQ(CallNames(), Json::array());
}

// ---- inventory -------------------------------------------------------------------

TEST_F(DeviceApi, InventoryAreasAndFieldsEndAtTheDaemonsRefusal) {
  const Json inventory = Call(85, {{"RID", kController}, {"IID", 0}})["response"]["Inventory"];
  EXPECT_EQ(inventory["UpdateCount"], 1);
  EXPECT_EQ(inventory["ReadOnly"], 1);
  EXPECT_EQ(inventory["NumAreas"], 2);
  ASSERT_EQ(inventory["Areas"].size(), 2u);
  EXPECT_EQ(inventory["Areas"][1], Json::parse(R"({"Fields":[
      {"Data":"Korvane Systems","ID":1,"ReadOnly":1,"Type":2},
      {"Data":"RC200-MB-03","ID":2,"ReadOnly":1,"Type":6},
      {"Data":"MB-190233","ID":3,"ReadOnly":1,"Type":5}],"ID":2,"NumFields":3,"ReadOnly":1,"Type":178})"));
  EXPECT_EQ(inventory["Areas"][0]["Fields"][4], Json::parse(R"({"Data":"A3-CTRL","ID":5,"ReadOnly":0,"Type":8})"));

  // After the last area one more call with its next id, which the daemon
  // refuses. (That of the fields is refused by the client library itself.)
  int area_calls = 0, field_calls = 0;
  Json last_area_call;
  for (const Json &call : Calls()) {
    if (call["function"] == "saHpiIdrAreaHeaderGet") {
      ++area_calls;
      last_area_call = call["args"];
    }
    if (call["function"] == "saHpiIdrFieldGet") ++field_calls;
  }
  EXPECT_EQ(area_calls, 3);
  EXPECT_EQ(field_calls, 5 + 3);
  EXPECT_EQ(last_area_call[4], kEveryResource);  // SAHPI_LAST_ENTRY

  sim().Set("/resources/1000/inventories/0/areas", Json::array());
  EXPECT_EQ(Call(85, {{"RID", kController}, {"IID", 0}})["response"],
            Json::parse(R"({"Inventory":{"Areas":[],"NumAreas":0,"ReadOnly":1,"UpdateCount":1}})"));

  EXPECT_EQ(Status(85, {{"RID", kController}, {"IID", 3}}), Error(9, "saHpiIdrInfoGet", 1011));
  EXPECT_EQ(Status(85, {{"RID", kController}}), Error(5, "IID"));
}

TEST_F(DeviceApi, InventoryWalksEndWhenAnIdComesBack) {
  ReplaceOutput("saHpiIdrAreaHeaderGet", 1, 0, 1);  // the second area names the first again
  EXPECT_EQ(Status(85, {{"RID", kController}, {"IID", 0}}), Error(9, "saHpiIdrAreaHeaderGet", 1010));
  ReplaceOutput("saHpiIdrFieldGet", 2, 0, 0);  // the third field names the first
  EXPECT_EQ(Status(85, {{"RID", kController}, {"IID", 0}}), Error(9, "saHpiIdrFieldGet", 1010));
}

// ---- device information ------------------------------------------------------------

TEST_F(DeviceApi, DeviceInformationWithUnknownTextsAndTheMacOfEth0) {
  sim().Set("/appliance/clock", int64_t{1700000000} * 1000000000);
  sim().Set("/appliance/serial", nullptr);
  EXPECT_EQ(Call(84, nullptr)["response"], Json::parse(R"({
      "assetTag":"A3-CTRL","bn_enabled":0,"bn_version":"",
      "description":"Korvane RC-200 rack controller, demo rack A3","fwver":"3.2.1","hwver":"2.4",
      "location":"Hall 2, row A, rack 3","mac":"00:1a:4b:03:a3:10","model":"RC-200","name":"Rack A3 controller",
      "offset":"+01:00","sn":"UNKNOWN","time":"2023-11-14 22:13:20","tz":"Europe/Berlin",
      "tz1":"CET-1CEST,M3.5.0,M10.5.0/3"})"));
  EXPECT_FALSE(fs::exists(bin_ + "/runs"));  // BACnet off: nothing run
  const Json calls = Calls();
  EXPECT_EQ(ArgsOf(calls, "kvnHpiAdapterNameGet")[1], 1);  // the first adapter is eth0: the search ends
  EXPECT_EQ(ArgsOf(calls, "kvnHpiMACAddressGet")[1], 1);

  FailNext("kvnHpiGetDeviceModel", -1011);
  FailNext("kvnHpiGetHardwareVersion", -1011);
  Json info = Call(84, nullptr)["response"];
  EXPECT_EQ(info["model"], "UNKNOWN");
  EXPECT_EQ(info["hwver"], "UNKNOWN");

  // eth0 second: its own MAC; no eth0 at all: none.
  sim().Set("/appliance/adapters", Json::parse(R"([{"name":"usb0","mac":"m1"},{"name":"eth0","mac":"m2"}])"));
  EXPECT_EQ(Call(84, nullptr)["response"]["mac"], "m2");
  sim().Set("/appliance/adapters", Json::parse(R"([{"name":"eth1","mac":"m1"}])"));
  EXPECT_EQ(Call(84, nullptr)["response"]["mac"], "");

  FailNext("kvnHpiGetDeviceName", -1011);  // only some texts may be absent
  EXPECT_EQ(Status(84, nullptr), Error(9, "kvnHpiGetDeviceName", 1011));
  FailNext("kvnHpiGetSerialNumber", -1004);
  EXPECT_EQ(Status(84, nullptr), Error(9, "kvnHpiGetSerialNumber", 1004));
  FailNext("kvnHpiAdapterNameGet", -1004);
  EXPECT_EQ(Status(84, nullptr), Error(9, "kvnHpiAdapterNameGet", 1004));
  FailNext("kvnHpiBACnetEnableAndDeviceIdGet", -1004);
  EXPECT_EQ(Status(84, nullptr), Error(9, "kvnHpiBACnetEnableAndDeviceIdGet", 1004));
}

TEST_F(DeviceApi, BacnetVersionComesFromAServerThatInheritsOnlyItsPipe) {
  sim().Set("/appliance/bacnet_enabled", 1);
  const Json info = Call(84, nullptr)["response"];
  EXPECT_EQ(info["bn_enabled"], 1);
  const std::string version = info["bn_version"];
  EXPECT_EQ(version.rfind("bacservd 1.4.2\nBACnet stack 0.9\ntotal", 0), 0u) << version;  // the whole output
  EXPECT_EQ(ReadText(bin_ + "/runs"), "--version\n");
  // Descriptor by descriptor; some shells keep their script open without
  // close-on-exec, and that one is the stand-in's own.
  std::map<int, std::string> fds;
  std::istringstream listing(version);
  for (std::string line; std::getline(listing, line);) {
    const size_t arrow = line.find(" -> ");
    if (arrow == std::string::npos) continue;
    const size_t space = line.rfind(' ', arrow - 1);
    fds[std::stoi(line.substr(space + 1, arrow - space - 1))] = line.substr(arrow + 4);
  }
  ASSERT_GE(fds.size(), 3u) << version;
  EXPECT_EQ(fds[0], "/dev/null");
  EXPECT_EQ(fds[1].rfind("pipe:", 0), 0u) << fds[1];
  EXPECT_EQ(fds[2], "/dev/null");
  for (const auto &[fd, target] : fds) {
    if (fd > 2) {
      EXPECT_EQ(target, bin_ + "/bacservd") << fd;
    }
  }

  chmod((bin_ + "/bacservd").c_str(), 0644);  // cannot be run
  EXPECT_EQ(Status(84, nullptr), Error(14, "Can't read bacnet version"));
}

// ---- product summary and outlets --------------------------------------------------

TEST_F(DeviceApi, ProductSummaryOfAnIpduAndOfOtherProducts) {
  sim().Set("/outlets/3/type", 7);
  sim().Fault({{"rpc", Rpc("kvnHpiOutletUserNameGet")}});
  FailNext("kvnHpiOutletUserNameGet", -1004);  // outlet 2: no name
  sim().Fault({{"rpc", Rpc("kvnHpiOutletTypeGet")}});
  FailNext("kvnHpiOutletTypeGet", -1004);  // outlet 2: no type
  Json r = Call(302, nullptr)["response"];
  EXPECT_EQ(r["name"], "Korvane RC-200 iPDU");
  EXPECT_EQ(r["is_ipdu"], true);
  EXPECT_EQ(r["inlets"], 1);
  EXPECT_EQ(r["branches"], 2);
  EXPECT_EQ(r["rcms"], 1);
  ASSERT_EQ(r["outlets"].size(), 8u);
  EXPECT_EQ(r["outlets"][0], Json::parse(R"({"name":"Server A3-01","number":1,"type":1})"));
  EXPECT_EQ(r["outlets"][1], Json::parse(R"({"name":"","number":2,"type":0})"));
  EXPECT_EQ(r["outlets"][2], Json::parse(R"({"name":"","number":3,"type":7})"));
  EXPECT_EQ(r["outlets"][7]["number"], 8);
  Calls();

  const Json no_ipdu = Json::parse(R"({"branches":0,"inlets":0,"is_ipdu":false,"name":"Korvane RC-200 iPDU",
                                      "outlets":[],"phases":0,"plugs":0,"rcms":0})");
  FailNext("kvnHpiIpduCountsGet", -1050);
  EXPECT_EQ(Call(302, nullptr)["response"], no_ipdu);
  sim().Set("/appliance/ipdu", nullptr);
  EXPECT_EQ(Call(302, nullptr)["response"], no_ipdu);
  EXPECT_EQ(CallNames(), Json::parse(R"(["kvnHpiGetProductName","kvnHpiIpduCountsGet",
                                       "kvnHpiGetProductName","kvnHpiIpduCountsGet"])"))
      << "no outlet is asked for";

  FailNext("kvnHpiIpduCountsGet", -1004);
  EXPECT_EQ(Status(302, nullptr), Error(9, "kvnHpiIpduCountsGet", 1004));
  sim().Set("/appliance/product", nullptr);
  EXPECT_EQ(Call(302, nullptr)["response"], Json::parse(R"({"name":"UNKNOWN","no_info":true})"));
  FailNext("kvnHpiGetProductName", -1004);
  EXPECT_EQ(Status(302, nullptr), Error(9, "kvnHpiGetProductName", 1004));
}

TEST_F(DeviceApi, OneOutletsNameAndTypeNeverFail) {
  EXPECT_EQ(Call(301, {{"NUM", 2}})["response"], Json::parse(R"({"name":"Server A3-02","type":1})"));
  EXPECT_EQ(Call(301, {{"NUM", 99}})["response"], Json::parse(R"({"name":"","type":0})"));
  EXPECT_EQ(Status(301, nullptr), Error(5, "NUM"));
}

// ---- persistent resources ------------------------------------------------------------

TEST_F(DeviceApi, PersistentResourcesByIdWithLaterDuplicatesWinning) {
  EXPECT_EQ(Call(310, nullptr)["response"], Json::array());  // none kept
  sim().Set("/persistent_resources", Json::parse(R"({"9":{"name":"c"},"5":{"name":"a"},"7":{"name":"b"}})"));
  EXPECT_EQ(Call(310, nullptr)["response"],
            Json::parse(R"([{"id":5,"name":"a"},{"id":7,"name":"b"},{"id":9,"name":"c"}])"));

  ReplaceOutput("kvnHpiPersistentResourcesGet", 1, 1, 5);  // the second answer ("b") comes as id 5
  EXPECT_EQ(Call(310, nullptr)["response"], Json::parse(R"([{"id":5,"name":"b"},{"id":9,"name":"c"}])"));

  ReplaceOutput("kvnHpiPersistentResourcesGet", 1, 0, 0);  // the second answer leads back to the first
  EXPECT_EQ(Status(310, nullptr), Error(9, "kvnHpiPersistentResourcesGet", 1010));
  FailNext("kvnHpiPersistentResourcesGet", -1004);
  EXPECT_EQ(Status(310, nullptr), Error(9, "kvnHpiPersistentResourcesGet", 1004));
}

TEST_F(DeviceApi, PersistentResourcesAreDeletedOneOrManyUntilTheFirstFailure) {
  sim().Set("/persistent_resources",
            Json::parse(R"({"5":{"name":"a"},"7":{"name":"b"},"9":{"name":"c"},"11":{"name":"d"}})"));
  EXPECT_EQ(Status(311, 5), Ok());
  EXPECT_EQ(Status(311, {7, 9}), Ok());
  EXPECT_EQ(Model("/persistent_resources"), Json::parse(R"({"11":{"name":"d"}})"));
  Calls();
  sim().Set("/persistent_resources", Json::parse(R"({"5":{"name":"a"},"9":{"name":"c"}})"));
  EXPECT_EQ(Status(311, {5, 77, 9}), Error(9, "kvnHpiPersistentResourceDelete", 1011));
  EXPECT_EQ(Model("/persistent_resources"), Json::parse(R"({"9":{"name":"c"}})"));
  EXPECT_EQ(Status(311, {5, "9"}), TypeError("number, but is string"));
}

}  // namespace
}  // namespace kvnc::test
