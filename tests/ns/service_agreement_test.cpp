// FN 118 is answered before any other check: no daemon, no session.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "client/paths.h"
#include "front/replies.h"
#include "front/request_loop.h"
#include "tests/support/syslog_sink.h"

namespace kvnc {
namespace {

class ServiceAgreementRead : public ::testing::Test {
 protected:
  void SetUp() override {
    test::RequireHermetic();
    mkdir("/var/nvdata/config", 0755);
    unlink(paths::kDaemonPidFile);  // the daemon is down
    for (const char *f : {paths::kAgreementText, paths::kAgreementTextBackup, paths::kAgreementEnforced}) unlink(f);
  }
  json Read() { return json::parse(ProcessRequestBody(R"({"FN":118,"MN":4})")); }
};

TEST_F(ServiceAgreementRead, JoinsLinesIntoParagraphs) {
  std::ofstream(paths::kAgreementText) << "A  \nB\t\n\nC\n   \nD\nE";
  const json reply = Read();
  EXPECT_EQ(reply["status"]["RC"], 0);
  EXPECT_EQ(reply["MN"], 4);
  EXPECT_EQ(reply["response"], (json{{"enforced", false}, {"needed", true}, {"text", "A B\nC\nD E"}}));
  std::ofstream(paths::kAgreementEnforced).close();
  EXPECT_EQ(Read()["response"]["enforced"], true);
}

TEST_F(ServiceAgreementRead, FallsBackToTheKeptTextAndFailsWithoutEither) {
  std::ofstream(paths::kAgreementTextBackup) << "old\ntext\n";
  EXPECT_EQ(Read()["response"], (json{{"enforced", false}, {"needed", false}, {"text", "old text"}}));
  unlink(paths::kAgreementTextBackup);
  EXPECT_EQ(ProcessRequestBody(R"({"FN":118})"),
            R"({"MN":null,"status":{"IC":0,"RC":14,"RCT":"Can't open the service agreement text"}})");
}

}  // namespace
}  // namespace kvnc
