#include <gtest/gtest.h>

#include <climits>

#include "client/eal_log.h"
#include "front/api_error.h"
#include "front/replies.h"
#include "tests/support/capture_stdout.h"

namespace kvnc {
namespace {

// Runs `build` with the error level copied to standard output and returns
// the reply text and the log line (without its time and thread prefix).
template <typename Build>
std::pair<std::string, std::string> ReplyAndLog(Build build) {
  const uint32_t saved = eal_log_config.stdout_mask;
  eal_log_config.stdout_mask = 1;
  SetPeer("192.0.2.7");
  std::string text;
  std::string log;
  {
    test::CaptureStdout capture;
    text = build().dump();
    log = capture.Text();
  }
  SetPeer(nullptr);
  eal_log_config.stdout_mask = saved;
  const size_t start = log.find("] ");
  return {text, start == std::string::npos ? log : log.substr(start + 2)};
}

TEST(StatusReplies, EachBuilderGivesItsBytesAndItsLogLine) {
  const struct {
    const char *name;
    json (*build)();
    const char *reply;
    const char *log;
  } cases[] = {
      {"OkReply", [] { return OkReply(); }, R"({"status":{"IC":0,"RC":0,"RCT":"OK"}})", ""},
      {"OkReplyWithResponse",
       [] {
         return OkReplyWithResponse(json{{"b", 1}, {"a", {1, 2}}});
       },
       R"({"response":{"a":[1,2],"b":1},"status":{"IC":0,"RC":0,"RCT":"OK"}})", ""},
      {"ErrorReplyWithCode", [] { return ErrorReplyWithCode(9, -1004, "saHpiSensorThresholdsGet"); },
       R"({"status":{"IC":1004,"RC":9,"RCT":"saHpiSensorThresholdsGet"}})",
       "CGI 192.0.2.7: error 9, internal code: -1004, msg: saHpiSensorThresholdsGet\r\n"},
      {"ErrorReplyWithCode errno", [] { return ErrorReplyWithCode(14, 2, "Could not send file!"); },
       R"({"status":{"IC":-2,"RC":14,"RCT":"Could not send file!"}})",
       "CGI 192.0.2.7: error 14, internal code: 2, msg: Could not send file!\r\n"},
      {"ErrorReplyWithParam", [] { return ErrorReplyWithParam(6, "MODE", 2); },
       R"({"status":{"IC":0,"PARAM":2,"RC":6,"RCT":"MODE"}})", "CGI 192.0.2.7: error 6, msg: MODE, param: 2\r\n"},
      {"ErrorReplyInternal", [] { return ErrorReplyInternal(12, 3); }, R"({"status":{"IC":3,"RC":12,"RCT":""}})",
       "CGI 192.0.2.7: error 12, internal error: 3\r\n"},
      {"ErrorReplyFn", [] { return ErrorReplyFn(12, 2); }, R"({"status":{"IC":0,"RC":12,"RCT":""}})",
       "CGI 192.0.2.7: error 12, fn(2)\r\n"},
      {"ErrorReplyMsg", [] { return ErrorReplyMsg(5, "PREFERENCES:DEGREES"); },
       R"({"status":{"IC":0,"RC":5,"RCT":"PREFERENCES:DEGREES"}})",
       "CGI 192.0.2.7: error 5, msg: PREFERENCES:DEGREES\r\n"},
      {"ErrorReplyPlain", [] { return ErrorReplyPlain(2); }, R"({"status":{"IC":0,"RC":2,"RCT":""}})",
       "CGI 192.0.2.7: error 2\r\n"},
  };
  for (const auto &c : cases) {
    const auto [reply, log] = ReplyAndLog(c.build);
    EXPECT_EQ(reply, c.reply) << c.name;
    EXPECT_EQ(log, c.log) << c.name;
  }
}

TEST(StatusReplies, NumberKindsHoldTheirWholeRange) {
  // -INT32_MIN does not fit 32 bits: IC is 64-bit.
  EXPECT_EQ(ErrorReplyWithCode(9, INT32_MIN, "f")["status"]["IC"].get<int64_t>(), 2147483648LL);
  EXPECT_TRUE(ErrorReplyMsg(11, "x")["status"]["RC"].is_number_unsigned());
  EXPECT_EQ(ErrorReplyWithParam(6, "p", INT32_MIN).dump(),
            R"({"status":{"IC":0,"PARAM":-2147483648,"RC":6,"RCT":"p"}})");
}

TEST(HandlerHelpers, RequiredKeysAndHpiResultsFailWithTheirReplies) {
  const json prm = json::parse(R"({"SENS":[1],"PREFERENCES":{"UNITS":1}})");
  EXPECT_EQ(RequireKey(prm, "SENS"), json::array({1}));
  const auto failure_of = [](auto call) {
    try {
      call();
    } catch (const ApiFailure &f) {
      return f.reply.dump();
    }
    return std::string("no failure");
  };
  EXPECT_EQ(failure_of([&] { RequireKey(prm, "WR"); }), R"({"status":{"IC":0,"RC":5,"RCT":"WR"}})");
  EXPECT_EQ(failure_of([&] { RequireKey(prm["PREFERENCES"], "DEGREES", "PREFERENCES"); }),
            R"({"status":{"IC":0,"RC":5,"RCT":"PREFERENCES:DEGREES"}})");
  EXPECT_EQ(failure_of([&] { RequireKey(json(), "SENS"); }), R"({"status":{"IC":0,"RC":5,"RCT":"SENS"}})");
  EXPECT_EQ(failure_of([&] { RequireKey(json::array({1}), "SENS"); }), R"({"status":{"IC":0,"RC":5,"RCT":"SENS"}})");
  EXPECT_EQ(failure_of([] { CheckHpi(-1011, "saHpiRdrGet"); }), R"({"status":{"IC":1011,"RC":9,"RCT":"saHpiRdrGet"}})");
  EXPECT_EQ(failure_of([] { CheckHpi(0, "saHpiRdrGet"); }), "no failure");
}

TEST(HandlerHelpers, NumbersAreReadFromAnyJsonNumberKind) {
  EXPECT_EQ(GetNumber<int32_t>(json(-5)), -5);
  EXPECT_EQ(GetNumber<int32_t>(json(7.9)), 7);  // truncated
  EXPECT_EQ(GetNumber<int32_t>(json(-7.9)), -7);
  EXPECT_EQ(GetNumber<uint8_t>(json(0x1ff)), 0xff);  // 8-bit fields keep the low 8 bits
  EXPECT_EQ(GetNumber<uint32_t>(json(4294967295u)), 4294967295u);
  EXPECT_EQ(GetNumber<int32_t>(json(4294967296ull)), 0);  // integer conversion, as in C
  // Out-of-range floating values are clamped to 64 bits before narrowing:
  // never an undefined conversion.
  EXPECT_EQ(GetNumber<int64_t>(json(1e300)), INT64_MAX);
  EXPECT_EQ(GetNumber<int64_t>(json(-1e300)), INT64_MIN);
  EXPECT_THROW(GetNumber<int32_t>(json(true)), json::type_error);
  EXPECT_THROW(GetNumber<int32_t>(json("5")), json::type_error);
  EXPECT_THROW(GetNumber<int32_t>(json()), json::type_error);
}

}  // namespace
}  // namespace kvnc
