// The syslog channel of the diagnostic log, read back from /dev/log.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

#include "client/eal_log.h"
#include "front/replies.h"
#include "tests/support/syslog_sink.h"

namespace kvnc {
namespace {

using test::Syslog;

class LogToSyslog : public ::testing::Test {
 protected:
  void SetUp() override {
    Syslog().Clear();
    eal_log_config.stdout_mask = 0;  // as in the running program
    SetPeer("198.51.100.9");
  }
  void TearDown() override { SetPeer(nullptr); }
};

TEST_F(LogToSyslog, LevelsMapToPrioritiesAndTheMaskDropsTraces) {
  eal_log(0, "level zero\n");
  eal_log(2, "a warning\n");
  eal_log(4, "some info\n");
  eal_log(8, "HPI transport: peer closed connection.\n");
  eal_log(16, "Before write message\n");
  eal_log(1, "last one\n");
  ASSERT_EQ(Syslog().WaitFor("last one").priority, 27);
  EXPECT_EQ(Syslog().WaitFor("level zero").priority, 30);
  EXPECT_EQ(Syslog().WaitFor("a warning").priority, 28);
  EXPECT_EQ(Syslog().WaitFor("some info").priority, 30);
  EXPECT_TRUE(Syslog().Matching("peer closed").empty());  // level 8 is outside the syslog mask 7
  EXPECT_TRUE(Syslog().Matching("Before write").empty());
}

TEST_F(LogToSyslog, LongFormatsAreCutToTheLineBuffer) {
  const std::string format = std::string(300, 'x') + "\n";
  eal_log(1, "%s", format.c_str());  // an argument is not cut
  // The format itself is cut, with its "[tid]: " prefix, to 255 characters.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-security"
  eal_log(1, format.c_str());  // NOLINT(clang-diagnostic-format-security)
#pragma GCC diagnostic pop
  Syslog().WaitFor(std::string(200, 'x'));
  for (int i = 0; i < 100 && Syslog().Lines().size() < 2; ++i) usleep(10000);
  const auto lines = Syslog().Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].text, format);
  EXPECT_EQ(lines[1].message.size(), 255u);
}

}  // namespace
}  // namespace kvnc
