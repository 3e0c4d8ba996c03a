// What every request goes through before and after its handler: the daemon
// check, the web session, the user's identity and the HPI session.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
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

// A file of `text` with `mode`, whatever the umask.
void WriteText(const std::string &path, const std::string &text, mode_t mode) {
  std::ofstream(path) << text;
  chmod(path.c_str(), mode);
}

// Rewrites the session file as another process of the program would (a new
// private file renamed over).
void RewriteSessions(const nlohmann::json &sessions) {
  const std::string temp = std::string(paths::kSessionFile) + ".test";
  WriteText(temp, sessions.dump(), 0600);
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
  EXPECT_EQ(Post({{"FN", 3}})["status"], (Json{{"IC", 0}, {"RC", 2}, {"RCT", ""}}));
  EXPECT_EQ(Post({{"FN", 3}, {"SID", "no-such-session"}})["status"]["RCT"], "Bad session ID");
  EXPECT_EQ(Post({{"FN", 3}, {"SID", 12}})["status"]["RCT"], "");  // not a string: no SID at all

  // Stamps are never before the boot: older ones are refused as forged.
  if (WebSessionStore::Now() < 901 * 1000000000LL) GTEST_SKIP() << "the machine has been up for less than 901 s";
  Age(sid, 899);
  EXPECT_EQ(Call(sid, 308, nullptr, "10.0.0.5")["status"]["RC"], 0);
  Age(sid, 901);
  EXPECT_EQ(Call(sid, 308, nullptr, "10.0.0.5")["status"], (Json{{"IC", 0}, {"RC", 2}, {"RCT", "Bad session ID"}}));
  EXPECT_EQ(ReadText(paths::kSessionFile).find(sid), std::string::npos) << "an expired session is dropped";
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

  // Deleting the file logs everybody out, silently. (The planted link above
  // was logged as a damaged file.)
  Syslog().Clear();
  fs::remove(paths::kSessionFile);
  EXPECT_EQ(Call(sid, 308)["status"]["RCT"], "Bad session ID");
  EXPECT_TRUE(Syslog().Matching("Caught exception").empty());

  // A corrupt file is logged and the service goes on.
  WriteText(paths::kSessionFile, "[{\"id\":", 0600);
  const std::string again = LoginSid("admin", "admin-secret");
  EXPECT_FALSE(again.empty());
  EXPECT_EQ(Call(again, 308)["status"]["RC"], 0);
  EXPECT_NE(Syslog().WaitFor("Caught exception in load(): ").priority, -1);
}

// Any local account can create files in /tmp. Whatever it plants at the
// session file's name (here with a session of the administrator's from this
// address) gives no session, is logged, and the next login replaces it with
// the program's own private file.
TEST_F(RequestContextTest, APlantedSessionFileIsNeitherTrustedNorKept) {
  const std::string forged(32, 'F');
  const std::string text =
      Json::array({{{"id", forged}, {"peer", "127.0.0.1"}, {"stamp", WebSessionStore::Now()}, {"uid", 1001}}}).dump();
  int fifo_writer = -1;
  struct Plant {
    const char *name;
    const char *logged;
    std::function<void()> make;
  };
  const Plant plants[] = {
      {"another user's file", "is owned by uid 1003, not 0",
       [&] {
         WriteText(paths::kSessionFile, text, 0600);
         ASSERT_EQ(chown(paths::kSessionFile, 1003, 1003), 0);
       }},
      {"writable by all", "is writable by others (mode 0666)", [&] { WriteText(paths::kSessionFile, text, 0666); }},
      {"writable by the group", "is writable by others (mode 0620)",
       [&] { WriteText(paths::kSessionFile, text, 0620); }},
      {"link to a private file", "is a symbolic link",
       [&] {
         WriteText("/tmp/forged-sessions", text, 0600);
         fs::create_symlink("/tmp/forged-sessions", paths::kSessionFile);
       }},
      {"FIFO with a writer", "is not a regular file",
       [&] {
         ASSERT_EQ(mkfifo(paths::kSessionFile, 0600), 0);
         fifo_writer = open(paths::kSessionFile, O_RDWR | O_CLOEXEC);
         ASSERT_EQ(write(fifo_writer, (text + "\n").data(), text.size() + 1), static_cast<ssize_t>(text.size() + 1));
       }},
      {"empty directory", "is not a regular file", [&] { fs::create_directory(paths::kSessionFile); }},
  };
  for (const Plant &plant : plants) {
    SCOPED_TRACE(plant.name);
    fs::remove(paths::kSessionFile);
    plant.make();
    Syslog().Clear();
    EXPECT_EQ(Call(forged, 308)["status"], (Json{{"IC", 0}, {"RC", 2}, {"RCT", "Bad session ID"}}));
    const SyslogLine line = Syslog().WaitFor(
        std::string("Caught exception in load(): session file /tmp/web-sessions.json ") + plant.logged);
    EXPECT_EQ(line.priority, 27);  // daemon.err

    const std::string sid = LoginSid("operator", "operator-secret");
    EXPECT_EQ(Call(sid, 308)["status"]["RC"], 0);
    EXPECT_EQ(Call(forged, 308)["status"]["RCT"], "Bad session ID");
    struct stat st {};
    ASSERT_EQ(lstat(paths::kSessionFile, &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(st.st_uid, 0u);
    EXPECT_EQ(ReadText(paths::kSessionFile).find(forged), std::string::npos);
    if (fifo_writer >= 0) close(fifo_writer);
    fifo_writer = -1;
  }
  unlink("/tmp/forged-sessions");
  if (fs::is_directory(paths::kSessionFile)) fs::remove(paths::kSessionFile);  // left only if not replaced
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
  // Enforcement off when it was not on is no failure; a marker that cannot
  // be removed is.
  EXPECT_EQ(Call(admin, 119, {{"needed", true}, {"text", "T"}, {"enforced", false}})["status"]["RC"], 0);
  EXPECT_EQ(Post({{"FN", 118}})["response"], (Json{{"enforced", false}, {"needed", true}, {"text", "T"}}));
  ASSERT_EQ(mkdir(paths::kAgreementEnforced, 0755), 0);  // unlink cannot remove it
  EXPECT_EQ(Call(admin, 119, {{"needed", true}, {"text", "T"}, {"enforced", false}})["status"],
            (Json{{"IC", -21}, {"RC", 10}, {"RCT", "enforced"}}));
  rmdir(paths::kAgreementEnforced);
}

}  // namespace
}  // namespace kvnc::test
