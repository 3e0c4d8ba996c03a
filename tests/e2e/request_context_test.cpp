// What every request goes through before and after its handler: the daemon
// check, the web session, the user's identity and the HPI session.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include "client/paths.h"
#include "front/session_store.h"
#include "tests/support/api_test.h"
#include "tests/support/syslog_sink.h"

namespace kvnc::test {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const std::string &path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Rewrites the session file as another process would (a new file renamed over).
void RewriteSessions(const nlohmann::json &sessions) {
  const std::string temp = std::string(paths::kSessionFile) + ".test";
  std::ofstream(temp) << sessions.dump();
  fs::rename(temp, paths::kSessionFile);
}

class RequestContextTest : public ApiTest {
 protected:
  void TearDown() override {
    WriteDaemonPidFile(sim().pid());  // whatever a test did to the pid file
  }
  // Sets the last use of session `sid` to `seconds_ago` seconds before now.
  void Age(const std::string &sid, int64_t seconds_ago) {
    Json sessions = Json::parse(ReadText(paths::kSessionFile));
    for (Json &s : sessions) {
      if (s["id"] == sid) s["stamp"] = WebSessionStore::Now() - seconds_ago * 1000000000LL;
    }
    RewriteSessions(sessions);
  }
};

TEST_F(RequestContextTest, SessionsBelongToTheirAddressAndExpireAfter900Seconds) {
  const std::string sid = LoginSid("operator", "operator-secret", "10.0.0.5");
  EXPECT_EQ(Call(sid, 308, nullptr, "10.0.0.6")["status"]["RCT"], "Bad session ID");
  EXPECT_EQ(Call(sid, 308, nullptr, "10.0.0.5")["status"]["RC"], 0);  // still valid for its owner

  Age(sid, 899);
  EXPECT_EQ(Call(sid, 308, nullptr, "10.0.0.5")["status"]["RC"], 0);
  Age(sid, 901);
  EXPECT_EQ(Call(sid, 308, nullptr, "10.0.0.5")["status"], (Json{{"IC", 0}, {"RC", 2}, {"RCT", "Bad session ID"}}));
  EXPECT_EQ(ReadText(paths::kSessionFile).find(sid), std::string::npos) << "an expired session is dropped";

  EXPECT_EQ(Post({{"FN", 3}})["status"], (Json{{"IC", 0}, {"RC", 2}, {"RCT", ""}}));
  EXPECT_EQ(Post({{"FN", 3}, {"SID", "no-such-session"}})["status"]["RCT"], "Bad session ID");
  EXPECT_EQ(Post({{"FN", 3}, {"SID", 12}})["status"]["RCT"], "");  // not a string: no SID at all
}

TEST_F(RequestContextTest, TheSessionFileIsPrivateAndSurvivesDamage) {
  Syslog().Clear();
  fs::remove(paths::kSessionFile);
  std::ofstream("/tmp/victim") << "precious";
  fs::create_symlink("/tmp/victim", paths::kSessionFile);
  const std::string sid = LoginSid("admin", "admin-secret");
  EXPECT_EQ(ReadText("/tmp/victim"), "precious");
  EXPECT_FALSE(fs::is_symlink(paths::kSessionFile));
  struct stat st {};
  ASSERT_EQ(stat(paths::kSessionFile, &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  int temporaries = 0;
  for (const auto &entry : fs::directory_iterator("/tmp")) {
    temporaries += entry.path().filename().string().rfind("web-sessions.json.", 0) == 0 ? 1 : 0;
  }
  EXPECT_EQ(temporaries, 0);

  // Deleting the file logs everybody out, silently. (Reading the planted
  // link's target above was logged as a damaged file.)
  Syslog().Clear();
  fs::remove(paths::kSessionFile);
  EXPECT_EQ(Call(sid, 308)["status"]["RCT"], "Bad session ID");
  EXPECT_TRUE(Syslog().Matching("Caught exception").empty());

  // A corrupt file is logged and the service goes on.
  std::ofstream(paths::kSessionFile) << "[{\"id\":";
  const std::string again = LoginSid("admin", "admin-secret");
  EXPECT_FALSE(again.empty());
  EXPECT_EQ(Call(again, 308)["status"]["RC"], 0);
  EXPECT_NE(Syslog().WaitFor("Caught exception in load(): ").priority, -1);
}

TEST_F(RequestContextTest, ConcurrentLoginsGetDistinctWorkingSessions) {
  std::vector<std::string> sids(24);
  std::vector<std::thread> threads;
  for (int i = 0; i < 24; ++i) {
    threads.emplace_back([&, i] {
      sids[i] = LoginSid(i % 2 == 0 ? "admin" : "viewer", i % 2 == 0 ? "admin-secret" : "viewer-secret",
                         "10.1.0." + std::to_string(i));
    });
  }
  for (auto &t : threads) t.join();
  EXPECT_EQ(std::set<std::string>(sids.begin(), sids.end()).size(), 24u);
  for (int i = 0; i < 24; ++i) {
    EXPECT_EQ(Call(sids[i], 308, nullptr, "10.1.0." + std::to_string(i))["status"]["RC"], 0) << i;
  }
}

// The uids of every thread of a process: real, effective, saved, file system.
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

TEST_F(RequestContextTest, EachRequestRunsAsItsUserOnItsOwnThread) {
  const std::string admin = LoginSid("admin", "admin-secret");
  const std::string big = LoginSid("bigid", "bigid-secret");
  sim().Journal();
  // Both requests are held in the daemon at the same time.
  sim().Fault({{"rpc", Rpc("kvnHpiCurrentLanguageGet")}, {"delay_ms", 400}, {"count", 2}});
  const auto start = std::chrono::steady_clock::now();
  Json first, second;
  std::thread a([&] { first = Call(admin, 308); });
  std::thread b([&] { second = Call(big, 308); });
  a.join();
  b.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(790)) << "served in parallel";
  EXPECT_EQ(first["status"]["RC"], 0);
  EXPECT_EQ(second["status"]["RC"], 0);
  std::multiset<int64_t> uids;
  for (const Json &call : sim().Journal()) uids.insert(call["uid"].get<int64_t>());
  // Session open, the query and session close of each user, under its uid;
  // 70000 does not fit 16 bits and must arrive whole.
  EXPECT_EQ(uids, (std::multiset<int64_t>{1001, 1001, 1001, 70000, 70000, 70000}));
  // Every worker is back to root afterwards.
  for (const std::string &line : ThreadUids(ApiPid())) EXPECT_EQ(line, "Uid:\t0\t0\t0\t0") << line;
}

TEST_F(RequestContextTest, TheDaemonCheckComesFirstAndTheHpiSessionIsAlwaysClosed) {
  const std::string sid = LoginSid("admin", "admin-secret");
  std::ofstream(paths::kAgreementText) << "Terms";

  // A pid file naming a process that has ended: everything but FN 118 is RC 1.
  const pid_t gone = fork();
  if (gone == 0) _exit(0);
  waitpid(gone, nullptr, 0);
  WriteDaemonPidFile(gone);
  EXPECT_EQ(Call(sid, 308)["status"],
            (Json{{"IC", 0}, {"RC", 1}, {"RCT", "The Telvar management service is not running."}}));
  EXPECT_EQ(Login("admin", "admin-secret")["status"]["RC"], 1);
  EXPECT_EQ(Post({{"FN", 118}})["response"]["text"], "Terms");
  unlink(paths::kDaemonPidFile);
  EXPECT_EQ(Post({{"FN", 118}})["status"]["RC"], 0);
  EXPECT_EQ(Post({{"FN", 308}})["status"]["RC"], 1);
  WriteDaemonPidFile(sim().pid());
  sim().Journal();

  // Unimplemented numbers with a live session: RC 12, the HPI session still
  // opened and closed.
  for (int fn : {2, 309, 400, -1}) {
    EXPECT_EQ(Call(sid, fn)["status"], (Json{{"IC", 0}, {"RC", 12}, {"RCT", ""}})) << fn;
  }
  Json names = Json::array();
  for (const Json &call : sim().Journal()) names.push_back(call["function"]);
  EXPECT_EQ(names.size(), 8u);
  EXPECT_EQ(std::count(names.begin(), names.end(), "saHpiSessionOpen"), 4);
  EXPECT_EQ(std::count(names.begin(), names.end(), "saHpiSessionClose"), 4);

  // A failed close replaces the handler's reply; a failed open answers RC 4.
  FailNext("saHpiSessionClose", -1004);
  EXPECT_EQ(Call(sid, 308), Json::parse(R"({"MN":null,"status":{"IC":1004,"RC":9,"RCT":"saHpiSessionClose"}})"));
  FailNext("saHpiSessionOpen", -1004);
  EXPECT_EQ(Call(sid, 308)["status"], (Json{{"IC", 0}, {"RC", 4}, {"RCT", "Can't open session"}}));
  EXPECT_EQ(Call(sid, 308)["status"]["RC"], 0);
}

TEST_F(RequestContextTest, ChangingTheServiceAgreementNeedsItsPrivilege) {
  const std::string viewer = LoginSid("viewer", "viewer-secret");
  EXPECT_EQ(Call(viewer, 119, {{"needed", false}})["status"],
            (Json{{"IC", 0}, {"RC", 2}, {"RCT", "not enough privileges to change the restricted service agreement"}}));

  const std::string admin = LoginSid("admin", "admin-secret");
  EXPECT_EQ(Call(admin, 119, Json::object())["status"]["RCT"], "needed");
  EXPECT_EQ(Call(admin, 119, {{"needed", "yes"}})["status"]["RC"], 11);
  EXPECT_EQ(
      Call(admin, 119, {{"needed", true}, {"text", "Line one\nline two\n\nNext"}, {"enforced", true}})["status"]["RC"],
      0);
  EXPECT_EQ(Post({{"FN", 118}})["response"],
            (Json{{"enforced", true}, {"needed", true}, {"text", "Line one line two\nNext"}}));
  struct stat st {};
  ASSERT_EQ(stat(paths::kAgreementEnforced, &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);

  // Without "enforced" the text is already written when RC 5 comes back.
  EXPECT_EQ(Call(admin, 119, {{"needed", true}, {"text", "New"}})["status"]["RCT"], "enforced");
  EXPECT_EQ(ReadText(paths::kAgreementText), "New");

  EXPECT_EQ(Call(admin, 119, {{"needed", false}})["status"]["RC"], 0);
  EXPECT_EQ(Post({{"FN", 118}})["response"], (Json{{"enforced", false}, {"needed", false}, {"text", "New"}}));
  // Switching enforcement off when it is not on: the marker cannot be removed.
  EXPECT_EQ(Call(admin, 119, {{"needed", true}, {"text", "T"}, {"enforced", false}})["status"],
            (Json{{"IC", -2}, {"RC", 10}, {"RCT", "enforced"}}));
}

}  // namespace
}  // namespace kvnc::test
