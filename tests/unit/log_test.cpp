#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "client/eal_log.h"
#include "tests/support/capture_stdout.h"

namespace {

// Unit tests run on the host, where no syslog socket of ours exists (glibc
// would fall back to the console): the syslog channel is tested inside the
// hermetic environment instead.
const bool syslog_off = [] {
  eal_log_config.to_syslog = 0;
  eal_log_config.stdout_mask = 0;  // as in the running program
  return true;
}();

struct StdoutMask {
  explicit StdoutMask(uint32_t mask) : saved(eal_log_config.stdout_mask) { eal_log_config.stdout_mask = mask; }
  ~StdoutMask() { eal_log_config.stdout_mask = saved; }
  uint32_t saved;
};

TEST(LogLevels, TagsAndSyslogPriorities) {
  const struct {
    uint32_t level;
    char tag;
    int priority;
  } cases[] = {{0, '*', 30},  {1, 'E', 27},  {2, 'W', 28},   {4, 'I', 30},    {8, 'V', 31},
               {16, 'T', 31}, {64, 'D', 30}, {128, 'L', 31}, {512, 'R', 31},  {3, '+', 27},
               {6, '+', 28},  {68, '+', 30}, {32, '+', 31},  {1024, '+', 31}, {24, '+', 31}};
  for (const auto &c : cases) {
    EXPECT_EQ(eal_log_tag(c.level), c.tag) << c.level;
    EXPECT_EQ(eal_log_priority(c.level), c.priority) << c.level;
  }
}

TEST(LogFormatCut, KeepsAtMost229CharactersAndEndsLinesWithCrLf) {
  char out[256];
  eal_log_cut_format("abc\n", 229, true, out, sizeof out);
  EXPECT_STREQ(out, "abc\r\n");

  const std::string long_format = std::string(300, 'x') + "\n";
  eal_log_cut_format(long_format.c_str(), 229, true, out, sizeof out);
  EXPECT_EQ(std::string(out), std::string(229, 'x'));  // the cut-away line feed is not restored

  const std::string lf_at_229 = std::string(228, 'y') + "\nzzz";
  eal_log_cut_format(lf_at_229.c_str(), 229, true, out, sizeof out);
  EXPECT_EQ(std::string(out), std::string(228, 'y') + "\r\n");
}

TEST(LogFormatCut, NeverSplitsAConversion) {
  char out[256];
  // "%s" would straddle the cut at 229: it is dropped whole, so the kept text
  // stays a valid format.
  const std::string format = std::string(228, 'a') + "%s tail";
  eal_log_cut_format(format.c_str(), 229, true, out, sizeof out);
  EXPECT_EQ(std::string(out), std::string(228, 'a'));

  const std::string flags = std::string(225, 'b') + "%-08lld";
  eal_log_cut_format(flags.c_str(), 229, false, out, sizeof out);
  EXPECT_EQ(std::string(out), std::string(225, 'b'));

  eal_log_cut_format("100%% done %d\n", 229, false, out, sizeof out);
  EXPECT_STREQ(out, "100%% done %d\n");
}

TEST(LogStdout, LineHasTagTimeThreadIdAndCrLf) {
  StdoutMask mask(1);
  kvnc::test::CaptureStdout capture;
  const int written = eal_log(1, "CGI %s: error %d\n", "10.0.0.5", 12);
  const std::string text = capture.Text();
  EXPECT_EQ(written, static_cast<int>(text.size()));
  static const std::regex line(R"(<E> \d\d:\d\d:\d\d\.\d{3} +\[\d+\] CGI 10\.0\.0\.5: error 12\r\n)");
  EXPECT_TRUE(std::regex_match(text, line)) << text;
  // "<E> HH:MM:SS.mmm " is 17 characters; the thread id is right-aligned in
  // the 7 columns after it (wider only when the id itself is).
  const size_t close = text.find("] ");
  EXPECT_EQ(close < 17 + 6 ? 17u + 6u : close, close) << text;
  EXPECT_EQ(text.substr(17, 7).find_first_not_of(' '), 7 - (close + 1 - text.find('['))) << text;
}

TEST(LogStdout, MasksChooseWhatIsPrinted) {
  {
    StdoutMask mask(0);  // the running program's value: only level 0
    kvnc::test::CaptureStdout capture;
    eal_log(1, "error line\n");
    eal_log(16, "Before write message\n");
    EXPECT_EQ(capture.Text(), "");
    eal_log(0, "always\n");
    EXPECT_NE(capture.Text().find("<*> "), std::string::npos);
  }
  {
    StdoutMask mask(0xFFFFFFFFu);  // not set yet: takes the syslog mask (7)
    kvnc::test::CaptureStdout capture;
    eal_log(16, "trace\n");
    eal_log(2, "warn\n");
    EXPECT_EQ(eal_log_config.stdout_mask, 7u);
    const std::string text = capture.Text();
    EXPECT_EQ(text.find("trace"), std::string::npos);
    EXPECT_NE(text.find("<W> "), std::string::npos);
  }
  EXPECT_EQ(eal_log(1, nullptr), 14);
}

TEST(LogStdout, ArgumentsAreFormattedNotInterpreted) {
  StdoutMask mask(4);
  kvnc::test::CaptureStdout capture;
  eal_log(4, "peer %s\n", "%n%s%x");  // a hostile argument is only data
  EXPECT_NE(capture.Text().find("peer %n%s%x\r\n"), std::string::npos);
}

}  // namespace
