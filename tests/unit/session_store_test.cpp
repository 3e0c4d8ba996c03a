#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
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
  // Writes the file as another process would: a new file renamed over it.
  void WriteFile(const std::string &text) {
    std::ofstream(path_ + ".other") << text;
    fs::rename(path_ + ".other", path_);
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

TEST_F(SessionStoreTest, SessionsExpire900SecondsAfterTheirLastUse) {
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
