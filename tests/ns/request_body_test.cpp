// The request spine without FastCGI, in-process: body text in, reply text
// out. The daemon's pid file names this process, but nothing listens on the
// daemon's socket, so requests without a session stop at the session check.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "client/paths.h"
#include "front/replies.h"
#include "front/request_context.h"
#include "front/request_loop.h"
#include "tests/support/syslog_sink.h"

namespace kvnc {
namespace {

class RequestBody : public ::testing::Test {
 protected:
  void SetUp() override {
    test::RequireHermetic();
    std::ofstream(paths::kDaemonPidFile) << getpid() << "\n";
  }
  void TearDown() override { unlink(paths::kDaemonPidFile); }
};

TEST_F(RequestBody, MnIsEchoedOrNull) {
  EXPECT_EQ(ProcessRequestBody(R"({"FN":2,"MN":17})"), R"({"MN":17,"status":{"IC":0,"RC":2,"RCT":""}})");
  EXPECT_EQ(ProcessRequestBody(R"({"FN":309,"PRM":{},"MN":[1]})"),
            R"({"MN":[1],"status":{"IC":0,"RC":5,"RCT":"SID"}})");
  EXPECT_EQ(ProcessRequestBody(R"({"FN":2})"), R"({"MN":null,"status":{"IC":0,"RC":2,"RCT":""}})");
  EXPECT_EQ(ProcessRequestBody(R"({"MN":{"z":[1,"x"],"a":null},"FN":2})"),
            R"({"MN":{"a":null,"z":[1,"x"]},"status":{"IC":0,"RC":2,"RCT":""}})");
}

TEST_F(RequestBody, WithoutASessionOnlyTheOpenNumbersPass) {
  // Everything but login (0), the agreement (118), the language (308) and
  // resumption (309) needs a session: RC 2 with an empty text.
  for (const char *fn :
       {"1", "2", "13", "75", "170", "299", "310", "315", "400", "-1", "2147483647", "-2147483648", "12.7"}) {
    EXPECT_EQ(ProcessRequestBody(std::string(R"({"FN":)") + fn + "}"),
              R"({"MN":null,"status":{"IC":0,"RC":2,"RCT":""}})")
        << fn;
  }
}

TEST_F(RequestBody, HostileBodiesGetAnAnswerNotACrash) {
  // 1 MiB of "[": refused by depth long before the parser's end-of-input error.
  const std::string brackets(1 << 20, '[');
  EXPECT_EQ(ProcessRequestBody(brackets),
            R"({"status":{"IC":0,"RC":11,"RCT":"request nested deeper than 128 levels"}})");
  // A deeply nested but valid MN would recurse on copy and serialisation.
  std::string deep_mn = R"({"FN":2,"MN":)" + std::string(5000, '[') + std::string(5000, ']') + "}";
  EXPECT_EQ(ProcessRequestBody(deep_mn),
            R"({"status":{"IC":0,"RC":11,"RCT":"request nested deeper than 128 levels"}})");
  // 128 levels are fine.
  std::string ok_mn = R"({"FN":2,"MN":)" + std::string(127, '[') + std::string(127, ']') + "}";
  EXPECT_EQ(ProcessRequestBody(ok_mn).substr(0, 10), R"({"MN":[[[[)");

  // Bytes that are not UTF-8: the parser's message quotes them; the reply
  // replaces them and stays valid JSON.
  const std::string reply = ProcessRequestBody("{\"FN\":2,\"MN\":\"\xff\xfe\"}");
  EXPECT_TRUE(json::accept(reply)) << reply;
  EXPECT_EQ(json::parse(reply)["status"]["RC"], 11);
  EXPECT_EQ(json::parse(ProcessRequestBody("\xc3\x28"))["status"]["RC"], 11);
}

}  // namespace
}  // namespace kvnc
