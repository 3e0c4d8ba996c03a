// Reset/restart/reboot, the saved configuration and system log downloads,
// and the web certificate pages end to end, with the real openssl, tar and
// gzip. Injection payloads must never be executed: each names a marker file
// that must not appear.
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/monitor_fixture.h"

namespace kvnc::test {
namespace {

using Json = nlohmann::json;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char *kMarker = "/tmp/kvnc-injected";
constexpr const char *kWork = "/tmp/kvnc-system-test";  // the test's own unpacking place

std::string Slurp(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteText(const std::string &path, const std::string &text) { std::ofstream(path, std::ios::binary) << text; }

std::string Base64Decode(const std::string &text) {
  static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string bytes;
  uint32_t bits = 0;
  int count = 0;
  for (const char c : text) {
    if (c == '=') break;
    bits = bits << 6 | static_cast<uint32_t>(alphabet.find(c));
    if ((count += 6) >= 8) {
      count -= 8;
      bytes += static_cast<char>(bits >> count & 0xFF);
    }
  }
  return bytes;
}

// A fixed command of the test (no request value in it); its output and status.
std::string Shell(const std::string &command, int *status = nullptr) {
  FILE *pipe = popen((command + " 2>&1").c_str(), "r");
  std::string out;
  char buffer[4096];
  size_t n = 0;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  const int rc = pclose(pipe);
  if (status != nullptr) *status = rc;
  return out;
}

// Everything in /tmp whose name starts with `prefix`.
std::vector<std::string> TmpEntries(const std::string &prefix) {
  std::vector<std::string> found;
  for (const auto &entry : fs::directory_iterator("/tmp")) {
    const std::string name = entry.path().filename();
    if (name.rfind(prefix, 0) == 0) found.push_back(name);
  }
  return found;
}

class SystemPages : public MonitorApi {
 protected:
  void SetUp() override {
    MonitorApi::SetUp();
    if (operator_sid_.empty()) operator_sid_ = LoginSid("operator", "operator-secret");
    fs::remove(kMarker);
    fs::remove_all(kWork);
    fs::create_directories(kWork);
    sim().Set("/system/config_polls", 0);
    Calls();
  }
  void TearDown() override {
    EXPECT_FALSE(fs::exists(kMarker)) << "a request value was executed";
    EXPECT_TRUE(TmpEntries("cert_").empty()) << "a private certificate directory was left behind";
    EXPECT_TRUE(TmpEntries("syslog_").empty());
    fs::remove_all(kWork);
  }
  static Json AsOperator(int fn, const Json &prm) { return ApiTest::Call(operator_sid_, fn, prm)["status"]; }

  // The bytes a download reply carries.
  static std::string Downloaded(const Json &reply) {
    EXPECT_EQ(reply["status"], Ok()) << reply.dump();
    return Base64Decode(reply["response"].value("d", ""));
  }
  // Unpacks a downloaded tar archive into kWork; its member names, sorted.
  static std::string Unpack(const std::string &archive) {
    WriteText(std::string(kWork) + "/c.tar.gz", archive);
    std::string members = Shell(std::string("cd ") + kWork + " && tar tzf c.tar.gz | sort | tr '\\n' ' '");
    Shell(std::string("cd ") + kWork + " && tar xzf c.tar.gz");
    return members;
  }
  static Json CreateSelfSigned(const std::string &subject) {
    return Call(117, {{"SELF", true}, {"KL", "1024"}, {"SB", subject}, {"DAYS", "30"}});
  }

 private:
  static inline std::string operator_sid_;
};

// ---- reset, restart, reboot ---------------------------------------------------------

TEST_F(SystemPages, ResetRestartAndRebootEachReachTheDaemonOnce) {
  EXPECT_EQ(Status(67, nullptr), Ok());
  EXPECT_EQ(Status(68, nullptr), Ok());
  EXPECT_EQ(Status(69, nullptr), Ok());
  EXPECT_EQ(CallNames(), Json({"saHpiReset", "saHpiRestart", "saHpiReboot"}));
  EXPECT_EQ(Model("/system/resets"), 1);
  EXPECT_EQ(Model("/system/restarts"), 1);
  EXPECT_EQ(Model("/system/reboots"), 1);

  FailNext("saHpiReset", -1011);
  FailNext("saHpiRestart", -1003);
  FailNext("saHpiReboot", -1002);
  EXPECT_EQ(Status(67, nullptr), Error(9, "saHpiReset", 1011));
  EXPECT_EQ(Status(68, nullptr), Error(9, "saHpiRestart", 1003));
  EXPECT_EQ(Status(69, nullptr), Error(9, "saHpiReboot", 1002));
  EXPECT_EQ(Model("/system/reboots"), 1);
}

// ---- saved configuration --------------------------------------------------------------

TEST_F(SystemPages, SavedConfigurationIsEncodedByteExactlyAndDeleted) {
  // The model carries text: every byte value a JSON string can hold, a NUL and a two-byte character among them.
  const std::string archive = std::string("\x1f\x08\x00 binary\r\n\xc3\xa9tail\x7f", 19) + "xy";
  sim().Set("/system/config_archive", archive);
  sim().Set("/system/config_busy", 1);   // one retry after a second
  sim().Set("/system/config_polls", 2);  // two polls of "not yet"
  sim().Set("/system/next_job", 41);
  const Json reply = Call(89, {{"mask", 7.9}});
  EXPECT_EQ(Downloaded(reply), archive);
  const Json start = Json::array({"kvnHpiForcedConfigWriteStart", 7});
  const Json poll = Json::array({"kvnHpiForcedConfigWriteCompleted", 41});
  EXPECT_EQ(CallArgs(), Json::array({start, start, poll, poll, poll}));
  EXPECT_FALSE(fs::exists("/tmp/config_saved_41.tgz"));

  EXPECT_EQ(Status(89, Json::object()), Error(5, "mask"));
  EXPECT_EQ(Status(89, {{"mask", "7"}}), TypeError("number, but is string"));
  FailNext("kvnHpiForcedConfigWriteStart", -1011);
  EXPECT_EQ(Status(89, {{"mask", 1}}), Error(9, "kvnHpiForcedConfigWriteStart", 1011));
  FailNext("kvnHpiForcedConfigWriteCompleted", -1010);
  EXPECT_EQ(Status(89, {{"mask", 1}}), Error(9, "kvnHpiForcedConfigWriteCompleted", 1010));
}

TEST_F(SystemPages, SavedConfigurationThatNeverAppearsOnDiskIsAnOpenFailure) {
  // The daemon reports completion but wrote nothing: the reply says so.
  sim().Set("/system/config_polls", -1);
  sim().Fault({{"rpc", Rpc("kvnHpiForcedConfigWriteCompleted")}, {"output", 0}, {"value", 1}});
  const Json status = Status(89, {{"mask", 1}});
  EXPECT_EQ(status["RC"], 14);
  EXPECT_EQ(status["RCT"], "Could not open saved configuration file!");
  EXPECT_EQ(status["IC"], -ENOENT);
}

TEST_F(SystemPages, SavedConfigurationGivesUpAfterNineBusyStarts) {
  sim().Set("/system/config_busy", 100);
  const auto start = Clock::now();
  EXPECT_EQ(Status(89, {{"mask", 1}}), Error(9, "kvnHpiForcedConfigWriteStart", 1022));
  const double waited = std::chrono::duration<double>(Clock::now() - start).count();
  EXPECT_GE(waited, 7.9);
  EXPECT_LT(waited, 12);
  EXPECT_EQ(CallNames(), Json(std::vector<std::string>(9, "kvnHpiForcedConfigWriteStart")));
}

TEST_F(SystemPages, SavedConfigurationThatNeverCompletesTimesOutAfterTwentyPolls) {
  sim().Set("/system/config_polls", -1);
  const auto start = Clock::now();
  EXPECT_EQ(Status(89, {{"mask", 1}}), Error(14, "Creation of saved configuration has timed out!"));
  const double waited = std::chrono::duration<double>(Clock::now() - start).count();
  EXPECT_GE(waited, 9.9);
  EXPECT_LT(waited, 14);
  std::vector<std::string> expected(21, "kvnHpiForcedConfigWriteCompleted");
  expected[0] = "kvnHpiForcedConfigWriteStart";
  EXPECT_EQ(CallNames(), Json(expected));
}

// ---- certificate creation -------------------------------------------------------------

TEST_F(SystemPages, SelfSignedCertificateArchiveHoldsAUsableKeyAndCertificate) {
  const std::string archive = Downloaded(CreateSelfSigned("/CN=rack-a.example/O=Korvane 'Labs'"));
  EXPECT_EQ(Unpack(archive), "openssl.log ss_cert.pem ");
  const std::string pem = std::string(kWork) + "/ss_cert.pem";
  int status = -1;
  EXPECT_NE(Shell("openssl x509 -noout -subject -in " + pem, &status).find("rack-a.example"), std::string::npos);
  EXPECT_EQ(status, 0);
  Shell("openssl rsa -check -noout -in " + pem, &status);
  EXPECT_EQ(status, 0) << "the key is not usable";
  // The key belongs to the certificate.
  EXPECT_EQ(Shell("openssl x509 -noout -modulus -in " + pem), Shell("openssl rsa -noout -modulus -in " + pem));
  for (const char *name : {"ss_cert.pem", "openssl.log", "c.tar.gz", "req_key.pem"}) {
    EXPECT_FALSE(fs::exists(std::string("/tmp/") + name)) << name;
  }
}

TEST_F(SystemPages, SigningRequestArchiveHoldsTheRequestAndItsKey) {
  const Json reply = Call(117, {{"SELF", false}, {"KL", "1024"}, {"SB", "/CN=csr.example"}, {"DAYS", ""}});
  EXPECT_EQ(Unpack(Downloaded(reply)), "openssl.log req.csr req_key.pem ");
  const std::string dir = std::string(kWork) + "/";
  int status = -1;
  EXPECT_NE(Shell("openssl req -verify -noout -subject -in " + dir + "req.csr", &status).find("csr.example"),
            std::string::npos);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Shell("openssl req -noout -modulus -in " + dir + "req.csr"),
            Shell("openssl rsa -noout -modulus -in " + dir + "req_key.pem"));
}

TEST_F(SystemPages, CertificateCreationRefusesMalformedValuesBeforeRunningAnything) {
  const Json good = {{"SELF", true}, {"KL", "1024"}, {"SB", "/CN=x"}, {"DAYS", "30"}};
  for (const char *key : {"SELF", "KL", "SB", "DAYS"}) {
    Json prm = good;
    prm.erase(key);
    EXPECT_EQ(Status(117, prm), Error(5, key));
  }
  EXPECT_EQ(Status(117, {{"SELF", "true"}, {"KL", "1024"}, {"SB", "/CN=x"}, {"DAYS", "30"}})["RC"], 11);
  EXPECT_EQ(Status(117, {{"SELF", true}, {"KL", 1024}, {"SB", "/CN=x"}, {"DAYS", "30"}})["RC"], 11);
  EXPECT_EQ(Status(117, {{"SELF", true}, {"KL", "1024"}, {"SB", "/CN=x"}, {"DAYS", 30}})["RC"], 11);
  const std::string touch = std::string("touch ") + kMarker;
  for (const std::string &bad : {std::string("abc"), std::string(""), std::string("123456"), std::string("-1"),
                                 std::string("1024;") + touch, "$(" + touch + ")", "`" + touch + "`",
                                 std::string("1024\n") + touch, std::string("'1024'"), std::string("+1024")}) {
    Json prm = good;
    prm["KL"] = bad;
    EXPECT_EQ(Status(117, prm), Error(6, "KL")) << bad;
    prm = good;
    prm["DAYS"] = bad;
    EXPECT_EQ(Status(117, prm), Error(6, "DAYS")) << bad;
  }
  // A key longer than openssl's largest recommended one would hold the worker for hours.
  Json huge = good;
  huge["KL"] = "16385";
  EXPECT_EQ(Status(117, huge), Error(6, "KL"));
  for (const Json &name : CallNames()) EXPECT_EQ(name, "kvnHpiCurrentPrivilegeMaskGet");  // the check alone
  EXPECT_EQ(AsOperator(117, good), Error(2, "not enough privileges"));
}

TEST_F(SystemPages, SubjectReachesOpensslAsOneArgumentWhateverItHolds) {
  const std::string touch = std::string("touch ") + kMarker;
  // Slashes would start new name parts: openssl reads "\/" as one, and so would a shell.
  const std::string escaped = "touch \\/tmp\\/" + fs::path(kMarker).filename().string();
  for (const std::string &subject :
       {"/CN=a'; " + escaped + "; echo '", "/CN=$(" + escaped + ")", "/CN=`" + escaped + "`", "/CN=\"q\" " + escaped}) {
    const std::string archive = Downloaded(CreateSelfSigned(subject));
    Unpack(archive);
    // openssl escapes nothing of these: the whole text is the common name.
    const std::string shown =
        Shell(std::string("openssl x509 -noout -subject -nameopt RFC2253 -in ") + kWork + "/ss_cert.pem");
    EXPECT_NE(shown.find(touch), std::string::npos) << subject << " -> " << shown;
  }
  // A subject openssl cannot read fails the tool; it is not taken as an option.
  for (const std::string &subject : {std::string("-x509"), std::string("\n") + touch}) {
    const Json status = Status(117, {{"SELF", true}, {"KL", "1024"}, {"SB", subject}, {"DAYS", "30"}});
    EXPECT_EQ(status["RC"], 14) << subject;
    EXPECT_EQ(status["RCT"], "Openssl utility error");
  }
  // A key length openssl refuses: the same, and nothing is left behind.
  EXPECT_EQ(Status(117, {{"SELF", false}, {"KL", "1"}, {"SB", "/CN=x"}, {"DAYS", "1"}})["RCT"],
            "Openssl utility error");
}

// ---- certificate view -----------------------------------------------------------------

TEST_F(SystemPages, CertificateViewShowsTheTextOrOpensslsComplaint) {
  const std::string pem = "/tmp/kvnc-view.pem";
  Shell("openssl req -x509 -newkey rsa:1024 -nodes -keyout /dev/null -out " + pem + " -days 2 -subj /CN=view.example");
  chmod(pem.c_str(), 0644);
  const Json shown = Call(102, {{"cert", pem}});
  EXPECT_EQ(shown["status"], Ok());
  EXPECT_NE(shown["response"]["cert"].get<std::string>().find("Subject: CN = view.example"), std::string::npos);
  EXPECT_NE(shown["response"]["cert"].get<std::string>().find("-----BEGIN CERTIFICATE-----"), std::string::npos);
  EXPECT_EQ(shown["response"]["error"], "");

  // The fixed error file of old is neither read nor written: a link planted there stays as it is.
  WriteText("/tmp/kvnc-victim", "keep");
  fs::create_symlink("/tmp/kvnc-victim", "/tmp/cert_view.err");
  const std::string touch = std::string("touch ") + kMarker;
  for (const std::string &path : {std::string("/tmp/absent.pem"), "/tmp/x;" + touch, "$(" + touch + ")",
                                  "`" + touch + "`", std::string("-text"), "'\n" + touch}) {
    const Json reply = Call(102, {{"cert", path}});
    EXPECT_EQ(reply["status"], Ok()) << path;
    EXPECT_EQ(reply["response"]["cert"], "") << path;
    EXPECT_NE(reply["response"]["error"], "") << path;
  }
  EXPECT_EQ(Slurp("/tmp/kvnc-victim"), "keep");
  EXPECT_TRUE(fs::is_symlink("/tmp/cert_view.err"));
  fs::remove("/tmp/cert_view.err");
  fs::remove("/tmp/kvnc-victim");
  fs::remove(pem);

  EXPECT_EQ(Status(102, Json::object()), Error(5, "cert"));
  EXPECT_EQ(Status(102, {{"cert", 1}})["RC"], 11);
  EXPECT_EQ(AsOperator(102, {{"cert", pem}}), Error(2, "not enough privileges"));
}

// ---- certificate installation ---------------------------------------------------------

TEST_F(SystemPages, InstallationIsPolledFromRunningToItsResult) {
  Shell(
      "openssl req -x509 -newkey rsa:1024 -nodes -keyout /tmp/host.pem -out /tmp/kvnc-cert.pem -days 2 -subj "
      "/CN=host && cat /tmp/kvnc-cert.pem >> /tmp/host.pem");
  const std::string uploaded = Slurp("/tmp/host.pem");
  const auto install_and_poll = [&]() {
    sim().Fault({{"rpc", Rpc("kvnHpiCertificateInstall")}, {"delay_ms", 1500}});
    const Json reply = Call(121, nullptr);
    EXPECT_EQ(reply["status"], Ok());
    const std::string path = reply["response"].value("status", "");
    EXPECT_TRUE(std::regex_match(path, std::regex("/tmp/inhp_[A-Za-z0-9]{6}"))) << path;
    const Json first = Call(152, {{"status", path}});
    EXPECT_EQ(first["response"], Json({{"status", "?"}}));
    Json last = first;
    for (int i = 0; i < 50 && last["response"].value("status", "") == "?"; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      last = Call(152, {{"status", path}});
    }
    EXPECT_FALSE(fs::exists(path)) << "the result is read once";
    EXPECT_EQ(Status(152, {{"status", path}}),
              Error(10, "Cannot open a temporary file after the SSL certificate check."));
    return last["response"].value("status", "");
  };
  EXPECT_EQ(install_and_poll(), "0");
  EXPECT_EQ(Model("/system/certificate"), uploaded);

  WriteText("/tmp/host.pem", "not a certificate\n");
  EXPECT_EQ(install_and_poll(), "1");
  EXPECT_EQ(Model("/system/certificate"), uploaded);
  EXPECT_EQ(Model("/system/certificate_installs"), 2);
  EXPECT_TRUE(TmpEntries("inhp_").empty());
  fs::remove("/tmp/host.pem");
  fs::remove("/tmp/kvnc-cert.pem");
}

TEST_F(SystemPages, InstallStatusReadsOnlyTheInstallationsOwnFiles) {
  WriteText("/tmp/kvnc-victim", "keep");
  fs::create_symlink("/tmp/kvnc-victim", "/tmp/inhp_LINK01");
  fs::create_directory("/tmp/inhp_DIR001");
  fs::create_directory("/tmp/inhp_");
  WriteText("/tmp/inhp_/x", "0");
  WriteText("tmp-relative", "0");
  const Json refused = Error(10, "Cannot open a temporary file after the SSL certificate check.");
  for (const char *path :
       {"/etc/passwd", "tmp/inhp_abcdef", "/tmp/inhp_../x", "/tmp/inhp_/x", "/tmp/inhp_LINK01", "/tmp/inhp_DIR001",
        "/tmp/inhp_abcdefg", "/tmp/inhp_abc", "/tmp//inhp_abcde", "/tmp/inhp_ab/def", "tmp-relative", ""}) {
    EXPECT_EQ(Status(152, {{"status", path}}), refused) << path;
  }
  EXPECT_TRUE(fs::exists("/etc/passwd"));
  EXPECT_EQ(Slurp("/tmp/kvnc-victim"), "keep");
  EXPECT_TRUE(fs::is_symlink("/tmp/inhp_LINK01"));
  EXPECT_TRUE(fs::is_directory("/tmp/inhp_DIR001"));
  EXPECT_EQ(Slurp("/tmp/inhp_/x"), "0");
  EXPECT_TRUE(fs::exists("tmp-relative"));
  for (const char *path : {"/tmp/kvnc-victim", "/tmp/inhp_LINK01", "/tmp/inhp_DIR001", "tmp-relative"})
    fs::remove(path);
  fs::remove_all("/tmp/inhp_");

  EXPECT_EQ(Status(152, Json::object()), Error(5, "status"));
  EXPECT_EQ(Status(152, {{"status", 3}})["RC"], 11);
  WriteText("/tmp/inhp_Abc123", "0");
  EXPECT_EQ(AsOperator(152, {{"status", "/tmp/inhp_Abc123"}}), Error(2, "not enough privileges"));
  EXPECT_TRUE(fs::exists("/tmp/inhp_Abc123"));
  EXPECT_EQ(Call(152, {{"status", "/tmp/inhp_Abc123"}})["response"], Json({{"status", "0"}}));
  EXPECT_FALSE(fs::exists("/tmp/inhp_Abc123"));
}

// ---- system log -------------------------------------------------------------------------

TEST_F(SystemPages, SystemLogIsTheGzippedOlderAndCurrentLog) {
  WriteText("/var/log/messages.0", "older line\n");
  WriteText("/var/log/messages", "current line\n");
  chmod("/var/log/messages.0", 0644);
  chmod("/var/log/messages", 0644);
  const std::string image = Downloaded(Call(153, nullptr));
  WriteText(std::string(kWork) + "/log.gz", image);
  EXPECT_EQ(Shell(std::string("gzip -dc ") + kWork + "/log.gz"), "older line\ncurrent line\n");

  fs::remove("/var/log/messages.0");
  const std::string current_only = Downloaded(Call(153, nullptr));
  WriteText(std::string(kWork) + "/log.gz", current_only);
  EXPECT_EQ(Shell(std::string("gzip -dc ") + kWork + "/log.gz"), "current line\n");
  fs::remove("/var/log/messages");

  EXPECT_EQ(AsOperator(153, nullptr), Error(2, "not enough privileges"));
  FailNext("kvnHpiCurrentPrivilegeMaskGet", -1011);
  EXPECT_EQ(Status(153, nullptr), Error(9, "kvnHpiCurrentPrivilegeMaskGet", 1011));
}

}  // namespace
}  // namespace kvnc::test
