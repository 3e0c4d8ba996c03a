#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <future>
#include <set>
#include <sstream>
#include <thread>

#include "client/eal_log.h"
#include "front/replies.h"
#include "front/session_store.h"
#include "tests/support/capture_stdout.h"

namespace kvnc {
namespace {

namespace fs = std::filesystem;
constexpr int64_t kSecond = 1000000000LL;

class SessionStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char dir[] = "/tmp/kvnc-store-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    dir_ = dir;
    path_ = dir_ + "/web-sessions.json";
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string FileText() {
    std::ifstream in(path_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // Writes the file as another process of the program would: a new private
  // file renamed over it.
  void WriteFile(const std::string &text) {
    std::ofstream(path_ + ".other") << text;
    fs::permissions(path_ + ".other", fs::perms::owner_read | fs::perms::owner_write);
    fs::rename(path_ + ".other", path_);
  }
  // The file as the program leaves it: regular, private, its own.
  void ExpectPrivateFile() {
    struct stat st {};
    ASSERT_EQ(lstat(path_.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(st.st_uid, geteuid());
  }
  std::string Entry(const std::string &id, const std::string &peer, int64_t stamp, uint32_t uid) {
    return json{{"id", id}, {"peer", peer}, {"stamp", stamp}, {"uid", uid}}.dump();
  }

  std::string dir_;
  std::string path_;
};

bool IsIdentifier(const std::string &id) {
  return id.size() == 32 && id.find_first_not_of(WebSessionStore::kAlphabet) == std::string::npos;
}

TEST_F(SessionStoreTest, CreateWritesOnePrivateLineOfCompactJson) {
  WebSessionStore store(path_);
  const WebSession a = store.Create(1001, "10.0.0.5");
  const WebSession b = store.Create(1001, "10.0.0.5");  // same user, same address: a second session
  EXPECT_TRUE(IsIdentifier(a.id)) << a.id;
  EXPECT_NE(a.id, b.id);
  EXPECT_EQ(a.uid, 1001u);
  EXPECT_EQ(FileText(),
            "[" + Entry(a.id, "10.0.0.5", a.stamp, 1001) + "," + Entry(b.id, "10.0.0.5", b.stamp, 1001) + "]");
  struct stat st {};
  ASSERT_EQ(stat(path_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  // No temporary file is left beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(SessionStoreTest, OddAddressesAreWrittenAsTheJsonLibraryWouldAndReadBack) {
  WebSessionStore store(path_);
  const WebSession quoted = store.Create(1, "a\"b\\c\x01");
  const WebSession bad = store.Create(2, "\xff::1");
  json expected = json::array();
  for (const WebSession &s : {quoted, bad}) {
    expected.push_back(json{{"id", s.id}, {"peer", s.peer}, {"stamp", s.stamp}, {"uid", s.uid}});
  }
  EXPECT_EQ(FileText(), expected.dump(-1, ' ', false, json::error_handler_t::replace));
  WebSessionStore other(path_);
  EXPECT_EQ(other.Lookup("a\"b\\c\x01", quoted.id).uid, 1u);
  EXPECT_EQ(other.Lookup("\xff::1", bad.id).uid, 0u);  // stored as U+FFFD: never the same address again
  EXPECT_EQ(other.Lookup("\xef\xbf\xbd::1", bad.id).uid, 2u);
}

TEST_F(SessionStoreTest, IdentifiersUseTheWholeAlphabet) {
  WebSessionStore store(path_);
  std::set<char> seen;
  for (int i = 0; i < 200; ++i) {
    const std::string id = store.Create(5, "p").id;
    ASSERT_TRUE(IsIdentifier(id)) << id;
    seen.insert(id.begin(), id.end());
  }
  EXPECT_EQ(seen.size(), 62u);
}

TEST_F(SessionStoreTest, LookupNeedsTheSameAddressAndRefreshesTheStamp) {
  WebSessionStore store(path_);
  const WebSession s = store.Create(1002, "10.0.0.5");
  EXPECT_EQ(store.Lookup("10.0.0.6", s.id).uid, 0u);
  std::string other_id = s.id;  // differs in the first character only
  other_id[0] = other_id[0] == 'x' ? 'y' : 'x';
  EXPECT_EQ(store.Lookup("10.0.0.5", other_id).uid, 0u);
  const WebSession again = store.Lookup("10.0.0.5", s.id);  // still there for its owner
  EXPECT_EQ(again.uid, 1002u);
  EXPECT_GT(again.stamp, s.stamp);
  store.Remove("10.0.0.6", s.id);  // not the owner's address: nothing removed
  EXPECT_EQ(store.Lookup("10.0.0.5", s.id).uid, 1002u);
  store.Remove("10.0.0.5", s.id);
  EXPECT_EQ(store.Lookup("10.0.0.5", s.id).uid, 0u);
  EXPECT_EQ(FileText(), "[]");
}

// Stamps are never before the boot: ages beyond the machine's uptime cannot
// be made.
bool UpLongerThan(int64_t seconds) { return WebSessionStore::Now() > seconds * kSecond; }

TEST_F(SessionStoreTest, SessionsExpire900SecondsAfterTheirLastUse) {
  if (!UpLongerThan(2000)) GTEST_SKIP() << "the machine has been up for less than 2000 s";
  const int64_t now = WebSessionStore::Now();
  WriteFile("[" + Entry("OLD", "a", now - 901 * kSecond, 7) + "," + Entry("YOUNG", "a", now - 899 * kSecond, 8) + "," +
            Entry("AFTER", "a", now - 2000 * kSecond, 9) + "]");
  WebSessionStore store(path_);
  // 899 s after its last use a session is accepted; the walk drops OLD on
  // the way and stops at the match, so AFTER is not examined yet.
  EXPECT_EQ(store.Lookup("a", "YOUNG").uid, 8u);
  EXPECT_EQ(FileText().find("OLD"), std::string::npos);
  EXPECT_NE(FileText().find("AFTER"), std::string::npos);
  // 901 s after: refused, and removed.
  EXPECT_EQ(store.Lookup("a", "AFTER").uid, 0u);
  EXPECT_EQ(FileText().find("AFTER"), std::string::npos);

  WriteFile("[" + Entry("STALE", "a", now - 901 * kSecond, 7) + "]");
  store.Create(10, "b");  // a login drops every expired session
  EXPECT_EQ(FileText().find("STALE"), std::string::npos);
}

TEST_F(SessionStoreTest, TheFileIsTheAuthority) {
  WebSessionStore store(path_);
  const WebSession s = store.Create(1001, "a");
  // Deleting the file logs everybody out, silently.
  const uint32_t saved = eal_log_config.stdout_mask;
  eal_log_config.stdout_mask = 1;
  {
    test::CaptureStdout capture;
    fs::remove(path_);
    EXPECT_EQ(store.Lookup("a", s.id).uid, 0u);
    EXPECT_EQ(capture.Text(), "");
  }
  // Sessions written by another process are seen, however the file changed.
  const int64_t now = WebSessionStore::Now();
  WriteFile("[" + Entry("FOREIGN", "a", now, 1003) + "]");
  EXPECT_EQ(store.Lookup("a", "FOREIGN").uid, 1003u);
  {
    std::ofstream in_place(path_, std::ios::trunc);  // rewritten in place: same file, new size
    in_place << "[" + Entry("FOREIGN", "a", now, 1003) + "," + Entry("SECOND", "a", now, 1004) + "]";
  }
  EXPECT_EQ(store.Lookup("a", "SECOND").uid, 1004u);
  // The same file, believed a moment ago, opened to everybody in place: from
  // then on it is not believed, though its contents are unchanged.
  {
    test::CaptureStdout capture;
    ASSERT_EQ(chmod(path_.c_str(), 0666), 0);
    EXPECT_EQ(store.Lookup("a", "SECOND").uid, 0u);
    EXPECT_NE(capture.Text().find("is writable by others (mode 0666)"), std::string::npos) << capture.Text();
  }

  // A corrupt file is logged and the service goes on; entries before the bad
  // one are kept.
  {
    test::CaptureStdout capture;
    WriteFile("[" + Entry("GOOD", "a", now, 1005) + R"(,{"id":"BAD","peer":"a","stamp":1}])");
    EXPECT_EQ(store.Lookup("a", "GOOD").uid, 1005u);
    EXPECT_NE(capture.Text().find("Caught exception in load(): [json.exception.out_of_range.403] key 'uid' not found"),
              std::string::npos)
        << capture.Text();
  }
  {
    test::CaptureStdout capture;
    WriteFile("{not json");
    EXPECT_EQ(store.Lookup("a", "GOOD").uid, 0u);
    EXPECT_NE(capture.Text().find("Caught exception in load(): "), std::string::npos);
    EXPECT_TRUE(IsIdentifier(store.Create(1, "a").id));
  }
  eal_log_config.stdout_mask = saved;
}

// A removed or disabled account loses every session, from every address and
// also those another process wrote; other users keep theirs, and a uid
// without sessions leaves the file alone.
TEST_F(SessionStoreTest, RemoveUidEndsEverySessionOfThatUserOnly) {
  WebSessionStore store(path_);
  const WebSession mine = store.Create(1002, "a");
  const WebSession other = store.Create(1001, "a");
  const int64_t now = WebSessionStore::Now();
  WriteFile("[" + Entry(mine.id, "a", mine.stamp, 1002) + "," + Entry(other.id, "a", other.stamp, 1001) + "," +
            Entry("ELSEWHERE", "b", now, 1002) + "]");
  store.RemoveUid(1002);
  EXPECT_EQ(store.Lookup("a", mine.id).uid, 0u);
  EXPECT_EQ(store.Lookup("b", "ELSEWHERE").uid, 0u);
  EXPECT_EQ(store.Lookup("a", other.id).uid, 1001u);
  ExpectPrivateFile();

  struct stat before {};
  ASSERT_EQ(stat(path_.c_str(), &before), 0);
  store.RemoveUid(4242);
  struct stat after {};
  ASSERT_EQ(stat(path_.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(store.Lookup("a", other.id).uid, 1001u);
}

TEST_F(SessionStoreTest, ImpossibleStampsAreDroppedWithoutOverflow) {
  const int64_t now = WebSessionStore::Now();
  const int64_t high = INT64_MAX - WebSessionStore::kIdleLimitNs;  // the old sum just fits: never expired
  WriteFile("[" + Entry("GOOD", "a", now, 5) + "," + Entry("NEGATIVE", "a", -1, 5) + "," +
            Entry("FUTURE", "a", now + 1000 * kSecond, 5) + "," + Entry("HIGH", "a", high, 5) + "," +
            Entry("MAX", "a", INT64_MAX, 5) + "]");
  WebSessionStore store(path_);
  // Dropped at load, not only when a walk reaches them: the walk stops at
  // GOOD, and the file written back holds GOOD alone.
  EXPECT_EQ(store.Lookup("a", "GOOD").uid, 5u);
  EXPECT_EQ(json::parse(FileText()).size(), 1u) << FileText();
  for (const char *id : {"FUTURE", "HIGH", "MAX", "NEGATIVE"}) {
    WriteFile("[" + Entry("FUTURE", "a", now + 1000 * kSecond, 5) + "," + Entry("HIGH", "a", high, 5) + "," +
              Entry("MAX", "a", INT64_MAX, 5) + "," + Entry("NEGATIVE", "a", INT64_MIN, 5) + "]");
    EXPECT_EQ(store.Lookup("a", id).uid, 0u) << id;
  }
}

// A file that the program did not write, planted where the session file
// belongs: /tmp is open to every local account.
struct Plant {
  const char *name;
  const char *logged;  // what the log line says of it
  bool needs_root;
  void (*make)(const std::string &path, const std::string &forged);
};

void PlantFile(const std::string &path, const std::string &text, mode_t mode) {
  std::ofstream(path) << text;
  ASSERT_EQ(chmod(path.c_str(), mode), 0);
}

const Plant kPlants[] = {
    {"AnotherUsersFile", "is owned by uid 1003, not 0", true,
     [](const std::string &path, const std::string &forged) {
       PlantFile(path, forged, 0600);
       ASSERT_EQ(chown(path.c_str(), 1003, 1003), 0);
     }},
    {"WritableByAll", "is writable by others (mode 0666)", false,
     [](const std::string &path, const std::string &forged) { PlantFile(path, forged, 0666); }},
    {"WritableByTheGroup", "is writable by others (mode 0620)", false,
     [](const std::string &path, const std::string &forged) { PlantFile(path, forged, 0620); }},
    {"LinkToAPrivateFile", "is a symbolic link", false,
     [](const std::string &path, const std::string &forged) {
       PlantFile(path + ".target", forged, 0600);
       fs::create_symlink(path + ".target", path);
     }},
    {"EmptyDirectory", "is not a regular file", false,
     [](const std::string &path, const std::string &) { fs::create_directory(path); }},
};

void PrintTo(const Plant &plant, std::ostream *out) { *out << plant.name; }

class PlantedSessionFile : public SessionStoreTest, public ::testing::WithParamInterface<Plant> {};

TEST_P(PlantedSessionFile, GivesNoSessionIsLoggedAndIsReplacedAtTheNextSave) {
  const Plant &plant = GetParam();
  if (plant.needs_root && geteuid() != 0) GTEST_SKIP() << "needs root";
  const std::string forged = "[" + Entry("FORGED", "a", WebSessionStore::Now(), 1001) + "]";
  plant.make(path_, forged);
  ASSERT_FALSE(HasFatalFailure());
  // Checked after the capture, which would swallow the failure messages.
  const uint32_t saved = eal_log_config.stdout_mask;
  eal_log_config.stdout_mask = 1;
  uint32_t forged_uid = 0, mine_uid = 0, forged_after = 0;
  std::string logged;
  {
    test::CaptureStdout capture;
    WebSessionStore store(path_);
    forged_uid = store.Lookup("a", "FORGED").uid;
    logged = capture.Text();
    const WebSession mine = store.Create(1002, "a");
    mine_uid = store.Lookup("a", mine.id).uid;
    forged_after = store.Lookup("a", "FORGED").uid;
  }
  eal_log_config.stdout_mask = saved;
  EXPECT_EQ(forged_uid, 0u);
  EXPECT_NE(logged.find("Caught exception in load(): session file " + path_ + " " + plant.logged), std::string::npos)
      << logged;
  EXPECT_EQ(mine_uid, 1002u);
  EXPECT_EQ(forged_after, 0u);
  ExpectPrivateFile();
  EXPECT_EQ(FileText().find("FORGED"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(, PlantedSessionFile, ::testing::ValuesIn(kPlants),
                         [](const ::testing::TestParamInfo<Plant> &info) { return std::string(info.param.name); });

// A FIFO would hold the worker that opens it until someone writes; one with
// a writer would hand over whatever that writer sends.
TEST_F(SessionStoreTest, APlantedFifoNeitherBlocksNorIsRead) {
  ASSERT_EQ(mkfifo(path_.c_str(), 0600), 0);
  const int writer = open(path_.c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(writer, 0);
  const std::string forged = "[" + Entry("FORGED", "a", WebSessionStore::Now(), 1001) + "]\n";
  ASSERT_EQ(write(writer, forged.data(), forged.size()), static_cast<ssize_t>(forged.size()));
  WebSessionStore store(path_);
  EXPECT_EQ(store.Lookup("a", "FORGED").uid, 0u);
  store.Create(1002, "a");
  close(writer);
  ExpectPrivateFile();
  EXPECT_EQ(FileText().find("FORGED"), std::string::npos);

  // Without a writer it must not block either (if it does, a writer is
  // brought after a while to end the test).
  fs::remove(path_);
  ASSERT_EQ(mkfifo(path_.c_str(), 0600), 0);
  auto lookup = std::async(std::launch::async, [&] { return store.Lookup("a", "FORGED").uid; });
  if (lookup.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
    ADD_FAILURE() << "blocked on the FIFO";
    close(open(path_.c_str(), O_WRONLY | O_CLOEXEC));
  }
  EXPECT_EQ(lookup.get(), 0u);
}

#ifdef SYS_setresuid32
constexpr long kSetResUid = SYS_setresuid32;
#else
constexpr long kSetResUid = SYS_setresuid;
#endif

// A logout removes its session while the thread runs as the user; the
// program's own file must still be trusted then.
TEST_F(SessionStoreTest, TheFileStaysTrustedWhileTheThreadRunsAsAUser) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root";
  WebSessionStore store(path_);
  const WebSession s = store.Create(1003, "a");
  const WebSession other = store.Create(1001, "b");
  uid_t inside = 0;
  uint32_t found = 0, kept = 0;
  {
    struct AsUser {
      AsUser() {
        if (syscall(kSetResUid, -1L, 1003L, -1L) == 0) setfsuid(0);  // as a request takes the identity
      }
      ~AsUser() { syscall(kSetResUid, -1L, 0L, -1L); }
    } as_user;
    inside = geteuid();
    found = store.Lookup("a", s.id).uid;
    store.Remove("a", s.id);
    kept = store.Lookup("b", other.id).uid;
  }
  ASSERT_EQ(geteuid(), 0u);
  EXPECT_EQ(inside, 1003u);
  EXPECT_EQ(found, 1003u);
  EXPECT_EQ(kept, 1001u);
  EXPECT_EQ(FileText().find(s.id), std::string::npos);
  ExpectPrivateFile();
}

TEST_F(SessionStoreTest, APlantedLinkIsReplacedNotWrittenThrough) {
  const std::string target = dir_ + "/victim";
  std::ofstream(target) << "precious";
  fs::create_symlink(target, path_);
  WebSessionStore store(path_);
  store.Create(1001, "a");
  std::ifstream victim(target);
  std::string text;
  victim >> text;
  EXPECT_EQ(text, "precious");
  EXPECT_FALSE(fs::is_symlink(path_));
}

TEST_F(SessionStoreTest, ConcurrentLoginsGetDistinctWorkingSessions) {
  WebSessionStore store(path_);
  std::vector<WebSession> sessions(24);
  std::vector<std::thread> threads;
  for (int i = 0; i < 24; ++i) {
    threads.emplace_back([&, i] { sessions[i] = store.Create(1000 + i, "10.0.0." + std::to_string(i)); });
  }
  for (auto &t : threads) t.join();
  std::set<std::string> ids;
  for (int i = 0; i < 24; ++i) {
    ids.insert(sessions[i].id);
    EXPECT_EQ(store.Lookup("10.0.0." + std::to_string(i), sessions[i].id).uid, 1000u + i);
  }
  EXPECT_EQ(ids.size(), 24u);
  // A second store on the same file (another process) sees them all.
  WebSessionStore other(path_);
  for (int i = 0; i < 24; ++i) EXPECT_EQ(other.Lookup("10.0.0." + std::to_string(i), sessions[i].id).uid, 1000u + i);
}

}  // namespace
}  // namespace kvnc
