// Locked users, unlocking and SSH keys end to end. pam_tally2 is a stand-in
// put first on kvnc-api's PATH: it records each argument vector it gets and
// prints the tool's table.
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/e2e/monitor_fixture.h"
#include "tests/support/stand_in_tools.h"

namespace kvnc::test {
namespace {

using Json = nlohmann::json;
namespace fs = std::filesystem;

// Where the stand-in lives: first on kvnc-api's PATH, writable by the users
// requests run as.
constexpr const char *kToolDir = "/tmp/kvnc-tally-bin";
const std::string kTally = std::string(kToolDir) + "/pam_tally2";
const std::string kTallyRecord = std::string(kToolDir) + "/pam_tally2.args";
constexpr const char *kTallyHeader = "Login           Failures Latest failure     From";

std::string Slurp(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteText(const std::string &path, const std::string &text) { std::ofstream(path, std::ios::binary) << text; }

class LocalAccounts : public MonitorApi {
 protected:
  static void SetUpTestSuite() {
    PutToolsFirstOnPath(kToolDir);  // before kvnc-api starts below
    MonitorApi::SetUpTestSuite();
  }
  void SetUp() override {
    MonitorApi::SetUp();
    fs::remove(kTally);
    fs::remove(kTallyRecord);
    if (operator_sid_.empty()) operator_sid_ = LoginSid("operator", "operator-secret");
    Calls();  // the login's own calls
  }
  void TearDown() override {
    for (const char *name : {"/tmp/admin.skey", "/tmp/operator.skey", "/tmp/victim", "/tmp/never"}) {
      fs::remove(name);
    }
  }
  static void TearDownTestSuite() {
    operator_sid_.clear();
    MonitorApi::TearDownTestSuite();
    RemoveToolsFromPath(kToolDir);
  }

  // The stand-in: "<argc>\n" and one line per argument for each run, the
  // table header and `rows`, then exit `status`.
  static void InstallTally(const std::string &rows, int status = 0) {
    WriteText(kTally, "#!/bin/sh\n{ printf '%s\\n' \"$#\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } >> " +
                          kTallyRecord + "\nprintf '%s\\n' '" + kTallyHeader + "'\nprintf '" + rows + "'\nexit " +
                          std::to_string(status) + "\n");
    fs::permissions(kTally, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
  }
  static Json AsOperator(int fn, const Json &prm) { return ApiTest::Call(operator_sid_, fn, prm)["status"]; }
  static std::string Reply(int fn, const Json &prm) { return Call(fn, prm).dump(); }

 private:
  static inline std::string operator_sid_;
};

TEST_F(LocalAccounts, LockedUsersNeedThePrivilegeAndComeFromTheToolsTable) {
  InstallTally(
      "operator            3    12/06/26 21:00:00  192.0.2.7\\nviewer              1    12/06/26 21:05:00  "
      "[2001:db8::5]\\n");
  EXPECT_EQ(AsOperator(35, nullptr), Error(2, "not enough privileges"));
  EXPECT_FALSE(fs::exists(kTallyRecord)) << "the tool ran for a user without the privilege";

  EXPECT_EQ(
      Reply(35, nullptr),
      R"({"MN":null,"response":[{"FAIL":3,"NAME":"operator"},{"FAIL":1,"NAME":"viewer"},{"FAIL":0,"NAME":"LAST_ENTRY"}],)"
      R"("status":{"IC":0,"RC":0,"RCT":"OK"}})");
  EXPECT_EQ(Slurp(kTallyRecord), "0\n");
  EXPECT_EQ(CallNames(), Json::parse(R"(["kvnHpiCurrentPrivilegeMaskGet","kvnHpiCurrentPrivilegeMaskGet"])"));

  // Nobody locked, and no tool at all: only the end marker.
  InstallTally("");
  EXPECT_EQ(Call(35, nullptr)["response"], Json::parse(R"([{"FAIL":0,"NAME":"LAST_ENTRY"}])"));
  fs::remove(kTally);
  EXPECT_EQ(Call(35, nullptr)["response"], Json::parse(R"([{"FAIL":0,"NAME":"LAST_ENTRY"}])"));

  FailNext("kvnHpiCurrentPrivilegeMaskGet", -1004);
  EXPECT_EQ(Status(35, nullptr), Error(9, "kvnHpiCurrentPrivilegeMaskGet", 1004));
}

TEST_F(LocalAccounts, UnlockGivesTheToolTheNameAsOneArgument) {
  InstallTally("");
  EXPECT_EQ(AsOperator(41, {{"NAME", "viewer"}}), Error(2, "not enough privileges"));
  EXPECT_FALSE(fs::exists(kTallyRecord));

  EXPECT_EQ(Reply(41, {{"NAME", "viewer"}}), R"({"MN":null,"status":{"IC":0,"RC":0,"RCT":"OK"}})");
  const std::string longest(32, 'x');
  EXPECT_EQ(Status(41, {{"NAME", "web.admin_2-b"}}), Ok());
  EXPECT_EQ(Status(41, {{"NAME", longest}}), Ok());
  EXPECT_EQ(Slurp(kTallyRecord),
            "3\n-u\nviewer\n--reset\n3\n-u\nweb.admin_2-b\n--reset\n3\n-u\n" + longest + "\n--reset\n");

  // The tool's failure is reported with its status, under the command the UI knows.
  InstallTally("", 3);
  EXPECT_EQ(Status(41, {{"NAME", "viewer"}}), Error(14, "Can't run pam_tally2 -u viewer --reset >> /dev/null", -3));
  fs::remove(kTally);
  EXPECT_EQ(Status(41, {{"NAME", "viewer"}}), Error(14, "Can't run pam_tally2 -u viewer --reset >> /dev/null", -2));

  EXPECT_EQ(Status(41, Json::object()), Error(5, "NAME"));
  EXPECT_EQ(Status(41, {{"NAME", 7}}), TypeError("string, but is number"));
}

TEST_F(LocalAccounts, UnlockRunsNothingForNamesThatAreNoUserNames) {
  InstallTally("");
  const std::vector<std::string> names = {"",
                                          "viewer;touch /tmp/never",
                                          "$(touch /tmp/never)",
                                          "`touch /tmp/never`",
                                          "viewer' '--reset",
                                          "viewer\"x",
                                          "viewer\ntouch /tmp/never",
                                          "-u",
                                          "--reset",
                                          "-viewer",
                                          "vi ewer",
                                          "a/b",
                                          "v\xc3\xa9ra",
                                          std::string(33, 'x'),
                                          std::string("vi\0ewer", 7),
                                          "viewer\\x",
                                          "viewer>/tmp/never",
                                          "viewer|id",
                                          "viewer&"};
  for (const std::string &name : names) {
    EXPECT_EQ(Status(41, {{"NAME", name}}), Error(6, "NAME")) << Json(name).dump();
  }
  EXPECT_FALSE(fs::exists(kTallyRecord)) << Slurp(kTallyRecord);
  EXPECT_FALSE(fs::exists("/tmp/never"));
}

TEST_F(LocalAccounts, SshKeyReachesTheDaemonThroughAFileThatIsThenGone) {
  const std::string key = "ssh-ed25519 AAAAC3NzaC1lZDI1NTE5AAAAIOpc otto@desk\n";
  EXPECT_EQ(Reply(61, {{"USER", "operator"}, {"KEY", key}}), R"({"MN":null,"status":{"IC":0,"RC":0,"RCT":"OK"}})");
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiUserSSHPublicKeySet","operator","/tmp/operator.skey"]])"));
  EXPECT_EQ(Model("/users/operator/ssh_key"), key);
  EXPECT_FALSE(fs::exists("/tmp/operator.skey"));

  // An empty key removes the user's key and writes no file: even a name
  // that is taken does not matter then.
  fs::create_symlink("/tmp/victim", "/tmp/operator.skey");
  EXPECT_EQ(Status(61, {{"USER", "operator"}, {"KEY", ""}}), Ok());
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiUserSSHPublicKeySet","operator",""]])"));
  EXPECT_EQ(Model("/users/operator/ssh_key"), "");
  EXPECT_TRUE(fs::is_symlink("/tmp/operator.skey"));
  EXPECT_FALSE(fs::exists("/tmp/victim"));

  EXPECT_EQ(Status(61, {{"KEY", key}}), Error(5, "USER"));
  EXPECT_EQ(Status(61, {{"USER", "operator"}}), Error(5, "KEY"));
  EXPECT_EQ(Status(61, {{"USER", "operator"}, {"KEY", 1}}), TypeError("string, but is number"));
}

TEST_F(LocalAccounts, SshKeyIsNeverWrittenThroughWhatIsAlreadyAtItsPath) {
  WriteText("/tmp/victim", "precious");
  fs::create_symlink("/tmp/victim", "/tmp/admin.skey");
  const Json refused = Error(14, "Can't open file for writing the key");
  EXPECT_EQ(Status(61, {{"USER", "admin"}, {"KEY", "ssh-rsa AAAA mallory"}}), refused);
  EXPECT_EQ(Slurp("/tmp/victim"), "precious");
  EXPECT_EQ(fs::read_symlink("/tmp/admin.skey"), "/tmp/victim");

  // A link to nothing does not get its target created; a plain file keeps
  // its content (and is left where it is: it is not ours).
  fs::remove("/tmp/admin.skey");
  fs::create_symlink("/tmp/never", "/tmp/admin.skey");
  EXPECT_EQ(Status(61, {{"USER", "admin"}, {"KEY", "ssh-rsa AAAA mallory"}}), refused);
  EXPECT_FALSE(fs::exists("/tmp/never"));
  fs::remove("/tmp/admin.skey");
  WriteText("/tmp/admin.skey", "ssh-rsa BBBB planted");
  EXPECT_EQ(Status(61, {{"USER", "admin"}, {"KEY", "ssh-rsa AAAA mallory"}}), refused);
  EXPECT_EQ(Slurp("/tmp/admin.skey"), "ssh-rsa BBBB planted");

  EXPECT_EQ(Calls(), Json::array()) << "the daemon was handed a file that is not ours";
  EXPECT_EQ(Model("/users/admin/ssh_key"), "");
}

TEST_F(LocalAccounts, SshKeyFileIsRemovedWhenTheDaemonRefuses) {
  FailNext("kvnHpiUserSSHPublicKeySet", -1011);
  EXPECT_EQ(Status(61, {{"USER", "admin"}, {"KEY", "ssh-ed25519 AAAA ada"}}),
            Error(9, "kvnHpiUserSSHPublicKeySet", 1011));
  EXPECT_FALSE(fs::exists("/tmp/admin.skey"));
  EXPECT_EQ(Model("/users/admin/ssh_key"), "");

  // The daemon's own refusals: no such user, and a user who may not set keys.
  EXPECT_EQ(Status(61, {{"USER", "nobody"}, {"KEY", "ssh-ed25519 AAAA x"}}),
            Error(9, "kvnHpiUserSSHPublicKeySet", 1011));
  EXPECT_FALSE(fs::exists("/tmp/nobody.skey"));
  EXPECT_EQ(AsOperator(61, {{"USER", "operator"}, {"KEY", "ssh-ed25519 AAAA otto"}}),
            Error(9, "kvnHpiUserSSHPublicKeySet", 1050));
  EXPECT_FALSE(fs::exists("/tmp/operator.skey"));
  EXPECT_EQ(Model("/users/operator/ssh_key"), "");
}

TEST_F(LocalAccounts, SshKeyUserMustNameAFileDirectlyInTheKeyDirectory) {
  const std::string longest(245, 'u');  // "/tmp/" + 245 + ".skey": 255 bytes, a whole text buffer
  const std::vector<std::string> refused = {
      "../etc/passwd", "a/b", ".", "..", "/", std::string("web-sessions.json\0", 18), longest + "u"};
  for (const std::string &user : refused) {
    EXPECT_EQ(Status(61, {{"USER", user}, {"KEY", "ssh-rsa AAAA"}}), Error(6, "USER")) << Json(user).dump();
  }
  EXPECT_EQ(Calls(), Json::array());

  // Dots inside a name are fine, and so is the longest name whose file name fits.
  EXPECT_EQ(Status(61, {{"USER", "..a"}, {"KEY", "ssh-rsa AAAA"}}), Error(9, "kvnHpiUserSSHPublicKeySet", 1011));
  EXPECT_EQ(Status(61, {{"USER", longest}, {"KEY", "ssh-rsa AAAA"}}), Error(9, "kvnHpiUserSSHPublicKeySet", 1011));
  EXPECT_EQ(Calls().size(), 2u);
  EXPECT_FALSE(fs::exists("/tmp/" + longest + ".skey"));
}

}  // namespace
}  // namespace kvnc::test
