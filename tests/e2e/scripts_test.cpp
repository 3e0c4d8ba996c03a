// Lua scripts, Modbus drivers, interfaces and discovery end to end. The
// driver validator is a stand-in put first on kvnc-api's PATH: it records
// each argument vector it gets and prints what a test prepares.
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "tests/e2e/monitor_fixture.h"
#include "tests/support/stand_in_tools.h"

namespace kvnc::test {
namespace {

using Json = nlohmann::json;
namespace fs = std::filesystem;

constexpr const char *kToolDir = "/tmp/kvnc-validator-bin";
const std::string kValidator = std::string(kToolDir) + "/modbus_json_validator";
const std::string kValidatorRecord = std::string(kToolDir) + "/validator.args";
const std::string kValidatorOutput = std::string(kToolDir) + "/validator.out";
const fs::path kLuaDir = "/var/nvdata/lua_src";
const fs::path kConfigDir = "/var/nvdata/config";
const fs::path kAgreement = "/var/nvdata/config/service_agreement_text";
constexpr auto kStoredMode = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec;

std::string Slurp(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteText(const fs::path &path, const std::string &text) { std::ofstream(path, std::ios::binary) << text; }

fs::perms Mode(const fs::path &path) { return fs::status(path).permissions() & fs::perms::mask; }

// Every path under /var/nvdata with its content and mode, to see that nothing changed.
std::map<std::string, std::string> Snapshot() {
  std::map<std::string, std::string> files;
  for (const auto &entry : fs::recursive_directory_iterator("/var/nvdata")) {
    files[entry.path()] = std::to_string(static_cast<int>(Mode(entry.path()))) + ":" +
                          (entry.is_regular_file() ? Slurp(entry.path()) : "");
  }
  return files;
}

Json Sorted(Json names) {
  std::sort(names.begin(), names.end());
  return names;
}

class Scripts : public MonitorApi {
 protected:
  static void SetUpTestSuite() {
    PutToolsFirstOnPath(kToolDir);  // before kvnc-api starts below
    MonitorApi::SetUpTestSuite();
  }
  static void TearDownTestSuite() {
    operator_sid_.clear();
    MonitorApi::TearDownTestSuite();
    RemoveToolsFromPath(kToolDir);
  }
  void SetUp() override {
    MonitorApi::SetUp();
    CleanUp();
    fs::create_directories(kLuaDir);
    WriteText(kAgreement, "Terms of use\n");
    InstallValidator("", 0);
    if (operator_sid_.empty()) operator_sid_ = LoginSid("operator", "operator-secret");
    Calls();  // the login's own calls
  }
  void TearDown() override { CleanUp(); }
  static void CleanUp() {
    fs::remove_all(kLuaDir);
    fs::remove_all(kConfigDir);
    fs::create_directories(kConfigDir);
    fs::remove(kValidatorRecord);
  }

  // The stand-in: "<argc>\n" and one line per argument for each run, then
  // `output` as it is and exit `status`.
  static void InstallValidator(const std::string &output, int status) {
    WriteText(kValidatorOutput, output);
    WriteText(kValidator, "#!/bin/sh\n{ printf '%s\\n' \"$#\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } >> " +
                              kValidatorRecord + "\ncat " + kValidatorOutput + "\nexit " + std::to_string(status) +
                              "\n");
    fs::permissions(kValidator, kStoredMode);
    fs::permissions(kValidatorOutput, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  }
  static Json AsOperator(int fn, const Json &prm) { return OperatorCall(fn, prm)["status"]; }
  static Json OperatorCall(int fn, const Json &prm) { return ApiTest::Call(operator_sid_, fn, prm); }
  static std::string Reply(int fn, const Json &prm) { return Call(fn, prm).dump(); }
  static std::string Ran(const std::string &path) { return "2\n-qz\n" + path + "\n"; }

 private:
  static inline std::string operator_sid_;
};

TEST_F(Scripts, LuaListingShowsScriptsToPrivilegedUsersOnly) {
  WriteText(kLuaDir / "a.lua", "x");
  WriteText(kLuaDir / ".lua", "x");
  WriteText(kLuaDir / "notes.txt", "x");
  fs::create_directory(kLuaDir / "x.lua");
  EXPECT_EQ(Reply(154, nullptr), R"({"MN":null,"response":[{"name":"a.lua"}],"status":{"IC":0,"RC":0,"RCT":"OK"}})");
  for (const int fn : {154, 155, 156, 157}) {
    EXPECT_EQ(AsOperator(fn, {{"name", "a.lua"}, {"text", "y"}}), Error(2, "not enough privileges")) << fn;
  }
  EXPECT_EQ(Slurp(kLuaDir / "a.lua"), "x");
  // Verifying needs no privilege of the API; the daemon judges the file.
  EXPECT_EQ(OperatorCall(162, {{"name", "a.lua"}})["response"], Json::parse(R"({"res":"a.lua: syntax OK","valid":1})"));

  fs::remove_all(kLuaDir);
  EXPECT_EQ(Call(154, nullptr)["response"], Json::array());
  EXPECT_FALSE(fs::exists(kLuaDir)) << "listing made the repository";
}

TEST_F(Scripts, LuaScriptIsStoredReadBackVerifiedAndDeleted) {
  fs::remove_all(kLuaDir);
  EXPECT_EQ(Reply(155, {{"name", "t.lua"}, {"text", "print(1)\n"}}),
            R"({"MN":null,"response":{"res":"t.lua: syntax OK","valid":1},"status":{"IC":0,"RC":0,"RCT":"OK"}})");
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiCurrentPrivilegeMaskGet"],["kvnHpiLuaVerifyScript","t.lua"]])"));
  EXPECT_EQ(Mode(kLuaDir), kStoredMode);
  EXPECT_EQ(Mode(kLuaDir / "t.lua"), kStoredMode);
  EXPECT_EQ(Call(156, {{"name", "t.lua"}})["response"], "print(1)\n");

  // Stored over a world-writable file, without a final newline; a script
  // that fails verification stays.
  fs::permissions(kLuaDir / "t.lua", fs::perms::all);
  EXPECT_EQ(Status(155, {{"name", "t.lua"}, {"text", "a\n\nb"}}), Ok());
  EXPECT_EQ(Mode(kLuaDir / "t.lua"), kStoredMode);
  EXPECT_EQ(Call(156, {{"name", "t.lua"}})["response"], "a\n\nb");
  EXPECT_EQ(Call(155, {{"name", "e.lua"}, {"text", ""}})["response"],
            Json::parse(R"({"res":"e.lua: empty script","valid":0})"));
  EXPECT_TRUE(fs::exists(kLuaDir / "e.lua"));

  EXPECT_EQ(Reply(157, {{"name", "t.lua"}}), R"({"MN":null,"response":"","status":{"IC":0,"RC":0,"RCT":"OK"}})");
  EXPECT_FALSE(fs::exists(kLuaDir / "t.lua"));
  EXPECT_EQ(Status(157, {{"name", "t.lua"}}), Ok());
  EXPECT_EQ(Status(156, {{"name", "t.lua"}}), Error(14, "Can't open the script"));
  EXPECT_EQ(Call(162, {{"name", "t.lua"}})["response"], Json::parse(R"({"res":"t.lua: cannot open","valid":0})"));

  // A link is not followed out of the repository.
  fs::create_symlink(kAgreement, kLuaDir / "l.lua");
  EXPECT_EQ(Status(156, {{"name", "l.lua"}}), Error(14, "Can't open the script"));
  EXPECT_EQ(Call(155, {{"name", "l.lua"}, {"text", "evil"}})["response"]["valid"], 0);
  EXPECT_EQ(Slurp(kAgreement), "Terms of use\n");

  FailNext("kvnHpiLuaVerifyScript", -1004);
  EXPECT_EQ(Status(162, {{"name", "e.lua"}}), Error(9, "kvnHpiLuaVerifyScript", 1004));
  EXPECT_EQ(Status(155, {{"text", "x"}}), Error(5, "name"));
  EXPECT_EQ(Status(155, {{"name", "x.lua"}}), Error(5, "text"));
  EXPECT_EQ(Status(162, {{"name", 3}}), TypeError("string, but is number"));
}

TEST_F(Scripts, LuaRepositoryThatIsAFileIsReportedWithItsErrno) {
  fs::remove_all(kLuaDir);
  WriteText("/var/nvdata/lua_src", "not a directory");
  EXPECT_EQ(Status(156, {{"name", "a.lua"}}), Error(14, "Can't open LUA repository", -20));
  EXPECT_EQ(Status(155, {{"name", "a.lua"}, {"text", "x"}}), Error(14, "Can't open LUA repository", -20));
  EXPECT_EQ(CallNames(), Json::parse(R"(["kvnHpiCurrentPrivilegeMaskGet","kvnHpiCurrentPrivilegeMaskGet"])"));
  fs::remove("/var/nvdata/lua_src");
}

TEST_F(Scripts, LuaSettingsAreNumbers) {
  EXPECT_EQ(Reply(160, nullptr),
            R"({"MN":null,"response":{"enabled":1,"timeout":30},"status":{"IC":0,"RC":0,"RCT":"OK"}})");
  EXPECT_EQ(Status(161, {{"enabled", 0}, {"timeout", 90}}), Ok());
  EXPECT_EQ(Model("/lua"), Json::parse(R"({"enabled":0,"timeout":90})"));
  EXPECT_EQ(Status(161, {{"enabled", true}, {"timeout", 90}}), TypeError("number, but is boolean"));
  EXPECT_EQ(Status(161, {{"enabled", 1}}), Error(5, "timeout"));
  FailNext("kvnHpiLuaConfigurationGet", -1004);
  EXPECT_EQ(Status(160, nullptr), Error(9, "kvnHpiLuaConfigurationGet", 1004));
}

TEST_F(Scripts, DriverListingsShowJsonFilesButNoDirectories) {
  for (const char *name : {"m.json", ".json", "a.js", "json", "iot.pem"}) WriteText(kConfigDir / name, "{}");
  fs::create_directory(kConfigDir / "x.json");
  EXPECT_EQ(Sorted(Call(165, nullptr)["response"]), Json::parse(R"([{"name":".json"},{"name":"m.json"}])"));
  EXPECT_EQ(AsOperator(165, nullptr), Error(2, "not enough privileges"));
  Calls();
  const Json drivers = Call(159, nullptr)["response"];
  ASSERT_EQ(drivers.size(), 5u);
  EXPECT_EQ(Json(drivers.begin(), drivers.begin() + 3), Json::parse(R"(["generic-rtu","generic-tcp","meter-3ph"])"));
  EXPECT_EQ(Sorted(Json(drivers.begin() + 3, drivers.end())), Json::parse(R"([".json","m.json"])"));
  EXPECT_EQ(CallArgs()[0], Json::parse(R"(["kvnHpiSupportedDriverListGet","modbus",0])"));

  // A daemon whose driver list goes round in a circle.
  sim().Fault({{"rpc", Rpc("kvnHpiSupportedDriverListGet")}});
  sim().Fault({{"rpc", Rpc("kvnHpiSupportedDriverListGet")}, {"output", 0}, {"value", 0}});
  EXPECT_EQ(Status(159, nullptr), Error(9, "kvnHpiSupportedDriverListGet", 1010));
}

TEST_F(Scripts, StoredDriverStaysOnlyWhenTheValidatorFindsNoError) {
  const std::string path = "/var/nvdata/config/d.json";
  InstallValidator("d.json: 12 registers\n", 0);
  EXPECT_EQ(
      Reply(166, {{"name", "d.json"}, {"text", "{\"a\":1}"}}),
      R"({"MN":null,"response":{"errors":0,"log":"d.json: 12 registers\n"},"status":{"IC":0,"RC":0,"RCT":"OK"}})");
  EXPECT_EQ(Slurp(kValidatorRecord), Ran(path));
  EXPECT_EQ(Mode(path), kStoredMode);
  EXPECT_EQ(Call(168, {{"name", "d.json"}})["response"], "{\"a\":1}");
  EXPECT_EQ(Call(167, {{"name", "d.json"}})["response"]["errors"], 0);

  // Rejected: reported, and the file is gone. Pieces are read as a
  // 126-byte line buffer reads them, so an "Error:" past byte 125 of a
  // line starts a piece of its own.
  const std::string rejection = "Error: no registers\n" + std::string(125, 'x') + "Error: split\n" +
                                std::string(124, 'y') + "Error: inside\nWarning: Error: not first\n";
  InstallValidator(rejection, 1);
  EXPECT_EQ(Call(166, {{"name", "d.json"}, {"text", "{}"}})["response"], Json({{"errors", 2}, {"log", rejection}}));
  EXPECT_FALSE(fs::exists(path));

  // A validator that fails without naming an error, or is killed, has not passed it.
  InstallValidator("", 3);
  EXPECT_EQ(Call(166, {{"name", "d.json"}, {"text", "{}"}})["response"],
            Json::parse(R"({"errors":1,"log":"Error: modbus_json_validator ended with status 3\n"})"));
  EXPECT_FALSE(fs::exists(path));
  WriteText(kValidator, "#!/bin/sh\nkill -9 $$\n");
  EXPECT_EQ(Call(166, {{"name", "d.json"}, {"text", "{}"}})["response"]["errors"], 1);
  EXPECT_FALSE(fs::exists(path));

  // No validator: nothing unvalidated is kept.
  fs::remove(kValidator);
  EXPECT_EQ(Status(166, {{"name", "d.json"}, {"text", "{}"}}), Error(14, "Can't validate the driver"));
  EXPECT_FALSE(fs::exists(path));

  EXPECT_EQ(Status(168, {{"name", "d.json"}}), Error(14, "Can't open the driver"));
  WriteText(path, "{}\n");
  EXPECT_EQ(Reply(169, {{"name", "d.json"}}), R"({"MN":null,"response":"","status":{"IC":0,"RC":0,"RCT":"OK"}})");
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(Status(169, {{"name", "d.json"}}), Ok());
  for (const int fn : {166, 167, 168, 169}) {
    EXPECT_EQ(AsOperator(fn, {{"name", "d.json"}, {"text", "{}"}}), Error(2, "not enough privileges")) << fn;
  }
  EXPECT_FALSE(fs::exists(path));
}

TEST_F(Scripts, InterfaceAttributesWalkBothRanges) {
  EXPECT_EQ(Reply(123, nullptr),
            R"({"MN":null,"response":[{"iface":1,"param":"9600,8,N,1"},{"iface":2,"param":"19200,8,E,1"},)"
            R"({"iface":8,"param":"192.0.2.40:502"},{"iface":9,"param":""}],"status":{"IC":0,"RC":0,"RCT":"OK"}})");
  sim().Set("/modbus/serial", Json::array());
  Calls();
  EXPECT_EQ(Call(123, nullptr)["response"].size(), 2u);
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnModbusSerialAttributesGet",1],["kvnModbusSerialAttributesGet",8],)"
                                    R"(["kvnModbusSerialAttributesGet",9],["kvnModbusSerialAttributesGet",10]])"));

  sim().Fault({{"rpc", Rpc("kvnModbusSerialAttributesGet")}});
  sim().Fault({{"rpc", Rpc("kvnModbusSerialAttributesGet")}, {"error", -1004}});
  EXPECT_EQ(Reply(123, nullptr), R"({"MN":null,"status":{"IC":1004,"RC":9,"RCT":"kvnModbusSerialAttributesGet"}})");
  // A daemon that never says an interface is missing.
  sim().Set("/modbus/network", Json(std::vector<std::string>(5000, "x")));
  EXPECT_EQ(Status(123, nullptr), Error(9, "kvnModbusSerialAttributesGet", 1010));
}

TEST_F(Scripts, InterfaceAttributesAreSetInOrderUntilOneFails) {
  EXPECT_EQ(Status(124, Json::parse(R"([{"iface":8,"param":""},{"iface":2,"param":""},{"iface":1,"param":"4800"}])")),
            Ok());
  EXPECT_EQ(Model("/modbus"), Json::parse(R"({"serial":["4800",""],"network":["0.0.0.0",""],)"
                                          R"("drivers":["generic-rtu","generic-tcp","meter-3ph"],"discoveries":[]})"));
  EXPECT_EQ(Status(124, Json::parse(R"([{"iface":1,"param":"a"},{"iface":3,"param":"b"},{"iface":2,"param":"c"}])")),
            Error(9, "kvnModbusSerialAttributesSet", 1011));
  EXPECT_EQ(Model("/modbus/serial"), Json::parse(R"(["a",""])"));
  Calls();
  EXPECT_EQ(Status(124, Json::parse(R"([{"iface":1,"param":"b"},{"iface":2}])")), Error(5, "param"));
  EXPECT_EQ(Status(124, Json::parse(R"([{"iface":1,"param":"b"},{"param":"x"}])")), Error(5, "iface"));
  EXPECT_EQ(Status(124, Json::parse(R"({"iface":1,"param":"b"})")), TypeError("array, but is object"));
  EXPECT_EQ(Calls(), Json::array()) << "a bad request changed an interface";
}

TEST_F(Scripts, DiscoveryEverywhereOrAtOneAddress) {
  EXPECT_EQ(Reply(101, nullptr), R"({"MN":null,"status":{"IC":0,"RC":0,"RCT":"OK"}})");
  EXPECT_EQ(Status(101, {{"SUBS", "rtu1"}, {"ADDR", "17"}}), Ok());
  EXPECT_EQ(CallArgs(), Json::parse(R"([["saHpiDiscover"],["kvnHpiDiscoverAt","Modbus","rtu1:17"]])"));
  EXPECT_EQ(Model("/modbus/discoveries"), Json::parse(R"(["","Modbus rtu1:17"])"));
  EXPECT_EQ(Status(101, {{"SUBS", "rtu1"}}), Error(5, "ADDR"));
  EXPECT_EQ(Status(101, {{"SUBS", "rtu1"}, {"ADDR", std::string(260, '1')}}), Error(6, "ADDR"));
  EXPECT_EQ(Calls(), Json::array());
  FailNext("kvnHpiDiscoverAt", -1004);
  EXPECT_EQ(Status(101, {{"SUBS", "tcp"}, {"ADDR", "192.0.2.9"}}), Error(9, "kvnHpiDiscoverAt", 1004));
}

TEST_F(Scripts, NamesThatLeaveTheirDirectoryOrCarrySyntaxAreRefused) {
  WriteText("/var/nvdata/canary.lua", "canary");
  WriteText("/var/nvdata/canary.json", "canary");
  WriteText(kLuaDir / "s.lua", "kept");
  WriteText(kConfigDir / "s.json", "kept");
  const std::vector<std::string> names = {"",
                                          ".",
                                          "..",
                                          "../canary.lua",
                                          "../canary.json",
                                          "a/b.json",
                                          "/var/nvdata/canary.json",
                                          "/etc/passwd",
                                          std::string("s.lua\0.json", 11),
                                          "x;touch /tmp/pwned;.json",
                                          "$(touch /tmp/pwned).json",
                                          "`touch /tmp/pwned`.json",
                                          "x'y.json",
                                          "x\"y.json",
                                          "x\ntouch.json",
                                          "-rf.json",
                                          "--help.json",
                                          std::string(251, 'n') + ".json"};
  const auto before = Snapshot();
  for (const std::string &name : names) {
    for (const int fn : {155, 156, 157, 162, 166, 167, 168, 169}) {
      EXPECT_EQ(Status(fn, {{"name", name}, {"text", "pwned"}}), Error(6, "name")) << fn << " " << Json(name).dump();
    }
  }
  // The driver functions touch JSON documents only, never the appliance's
  // other configuration beside them.
  for (const char *name : {"service_agreement_text", "s.lua", "s.json.bak"}) {
    for (const int fn : {166, 167, 168, 169}) {
      EXPECT_EQ(Status(fn, {{"name", name}, {"text", "pwned"}}), Error(6, "name")) << fn << " " << name;
    }
  }
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(Slurp(kAgreement), "Terms of use\n");
  EXPECT_FALSE(fs::exists("/tmp/pwned"));
  EXPECT_FALSE(fs::exists(kValidatorRecord)) << Slurp(kValidatorRecord);
  for (const Json &name : CallNames()) EXPECT_EQ(name, "kvnHpiCurrentPrivilegeMaskGet");
  fs::remove("/var/nvdata/canary.lua");
  fs::remove("/var/nvdata/canary.json");
}

}  // namespace
}  // namespace kvnc::test
