// The user's identity around every request fails closed: a session that
// would run as root, or a switch the kernel did not make, never reaches the
// daemon.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "client/paths.h"
#include "front/session_store.h"
#include "tests/support/api_test.h"
#include "tests/support/fcgi_client.h"
#include "tests/support/syslog_sink.h"

namespace kvnc::test {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

// The session file as the program writes it (as root, mode 0600): sessions
// of 127.0.0.1, last used a second ago, with these ids and uids.
void PlantSessions(const std::vector<std::pair<std::string, Json>> &id_and_uid) {
  Json sessions = Json::array();
  for (const auto &[id, uid] : id_and_uid) {
    sessions.push_back(
        {{"id", id}, {"peer", "127.0.0.1"}, {"stamp", WebSessionStore::Now() - 1000000000LL}, {"uid", uid}});
  }
  const std::string temp = std::string(paths::kSessionFile) + ".test";
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  ASSERT_GE(fd, 0);
  const std::string text = sessions.dump();
  ASSERT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  fchmod(fd, 0600);
  close(fd);
  fs::rename(temp, paths::kSessionFile);
}

// The uid lines of every thread of a process: real, effective, saved, file system.
std::vector<std::string> ThreadUids(pid_t pid) {
  std::vector<std::string> uids;
  for (const auto &task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task")) {
    std::ifstream status(task.path() / "status");
    std::string line;
    while (std::getline(status, line)) {
      if (line.rfind("Uid:", 0) == 0) uids.push_back(line);
    }
  }
  return uids;
}

// The function names of the journal's calls.
Json Functions(const Json &journal) {
  Json names = Json::array();
  for (const Json &call : journal) names.push_back(call["function"]);
  return names;
}

class IdentityTest : public ApiTest {};

TEST_F(IdentityTest, ASessionOfRootOrOfNoUidIsNoSession) {
  // (uid_t)-1 is "keep the uid" to the kernel: the switch would report
  // success and the request would run as root.
  PlantSessions({{"Minus1Minus1Minus1Minus1Minus1xx", 4294967295u},
                 {"Minus1WrittenAsNegativeNumber0xx", -1},
                 {"RootRootRootRootRootRootRootRoot", 0}});
  for (const char *sid :
       {"Minus1Minus1Minus1Minus1Minus1xx", "Minus1WrittenAsNegativeNumber0xx", "RootRootRootRootRootRootRootRoot"}) {
    EXPECT_EQ(Call(sid, 308)["status"], (Json{{"IC", 0}, {"RC", 2}, {"RCT", "Bad session ID"}})) << sid;
    EXPECT_EQ(Post({{"FN", 309}, {"PRM", {{"SID", sid}, {"USER", "root"}}}})["status"]["RCT"], "Bad session ID") << sid;
  }
  EXPECT_EQ(sim().Journal(), Json::array()) << "no call reached the daemon";
}

// kvnc-api started without the capability to change uids: every switch
// fails, as a kernel that refuses it would make it.
class IdentityWithoutSetuid : public SimTest {
 protected:
  static void SetUpTestSuite() {
    SimTest::SetUpTestSuite();
    unlink(paths::kFastCgiSocket);
    unlink(paths::kSessionFile);
    api_ = new ChildProcess({"/usr/bin/setpriv", "--inh-caps=-setuid", "--bounding-set=-setuid", "--", KVNC_API_BINARY},
                            "/var/log/kvnc-api-nosetuid.out");
    ready_ = WaitForPath(paths::kFastCgiSocket);
  }
  static void TearDownTestSuite() {
    api_->Stop(SIGTERM);
    delete api_;
    api_ = nullptr;
    SimTest::TearDownTestSuite();
  }
  void SetUp() override {
    SimTest::SetUp();
    ASSERT_TRUE(ready_) << "kvnc-api did not start; see /var/log/kvnc-api-nosetuid.out";
    Syslog().Clear();
    sim().Journal();
  }

  static Json Post(const Json &request) {
    const std::string body = ReplyBody(FcgiPost(paths::kFastCgiSocket, request.dump()));
    return body.empty() ? Json() : Json::parse(body);
  }
  // The effective capabilities of the program (CapEff of /proc/PID/status).
  static uint64_t EffectiveCapabilities() {
    std::ifstream status("/proc/" + std::to_string(api_->pid()) + "/status");
    std::string line;
    while (std::getline(status, line)) {
      if (line.rfind("CapEff:", 0) == 0) return std::stoull(line.substr(7), nullptr, 16);
    }
    return ~0ull;
  }

  static inline ChildProcess *api_ = nullptr;
  static inline bool ready_ = false;
};

TEST_F(IdentityWithoutSetuid, AFailedSwitchAnswersRc4AndNeverOpensAnHpiSession) {
  constexpr int kCapSetuid = 7;
  ASSERT_EQ(EffectiveCapabilities() & (1ull << kCapSetuid), 0u) << "the program must run without CAP_SETUID";

  // PAM still checks the password; the login reply itself runs as the user,
  // so the login is answered RC 4 before any HPI call.
  const Json login = Post({{"FN", 0}, {"PRM", {{"USER", "operator"}, {"PWD", "operator-secret"}}}});
  EXPECT_EQ(login["status"], (Json{{"IC", 0}, {"RC", 4}, {"RCT", "Can't open session"}}));
  EXPECT_EQ(Syslog().WaitFor("setresuid failed").text, "setresuid failed: 1\n");  // EPERM
  EXPECT_EQ(Functions(sim().Journal()), Json::array());
  EXPECT_EQ(Post({{"FN", 0}, {"PRM", {{"USER", "operator"}, {"PWD", "wrong"}}}})["status"]["RC"], 3)
      << "PAM works as before";
  sim().Journal();

  // A live session of the operator: its request is refused the same way.
  Syslog().Clear();
  PlantSessions({{"OperatorOperatorOperatorOperator", 1002}});
  EXPECT_EQ(Post({{"FN", 308}, {"SID", "OperatorOperatorOperatorOperator"}}),
            Json::parse(R"({"MN":null,"status":{"IC":0,"RC":4,"RCT":"Can't open session"}})"));
  EXPECT_EQ(Syslog().WaitFor("setresuid failed").text, "setresuid failed: 1\n");
  EXPECT_EQ(Functions(sim().Journal()), Json::array());

  // The workers are themselves and serve the requests that need no user.
  for (const std::string &line : ThreadUids(api_->pid())) EXPECT_EQ(line, "Uid:\t0\t0\t0\t0") << line;
  EXPECT_EQ(Post({{"FN", 308}})["response"], (Json{{"LANG", 25}}));
  const Json journal = sim().Journal();
  EXPECT_EQ(Functions(journal), (Json{"saHpiSessionOpen", "kvnHpiCurrentLanguageGet", "saHpiSessionClose"}));
  for (const Json &call : journal) EXPECT_EQ(call["uid"], 0) << call.dump();
}

}  // namespace
}  // namespace kvnc::test
