// The request spine without FastCGI: body text in, reply text out.
#include <gtest/gtest.h>

#include <string>

#include "front/function_table.h"
#include "front/request_loop.h"

namespace kvnc {
namespace {

TEST(RequestBody, UnparseableOrNonObjectBodiesAnswerRc11WithoutMn) {
  EXPECT_EQ(ProcessRequestBody("{"),
            R"({"status":{"IC":0,"RC":11,"RCT":"[json.exception.parse_error.101] parse error at line 1, column 2: )"
            R"(syntax error while parsing object key - unexpected end of input; expected string literal"}})");
  // An array reaches the dispatcher, which cannot read FN from it.
  EXPECT_EQ(ProcessRequestBody("[]"),
            R"({"status":{"IC":0,"RC":11,"RCT":"[json.exception.type_error.304] cannot use at() with array"}})");
  EXPECT_EQ(ProcessRequestBody("17"),
            R"({"status":{"IC":0,"RC":11,"RCT":"[json.exception.type_error.304] cannot use at() with number"}})");
  EXPECT_EQ(ProcessRequestBody(R"({"MN":3})"),
            R"({"status":{"IC":0,"RC":11,"RCT":"[json.exception.out_of_range.403] key 'FN' not found"}})");
  EXPECT_EQ(
      ProcessRequestBody(R"({"FN":"13","MN":3})"),
      R"({"status":{"IC":0,"RC":11,"RCT":"[json.exception.type_error.302] type must be number, but is string"}})");
  EXPECT_EQ(
      ProcessRequestBody(R"({"FN":true})"),
      R"({"status":{"IC":0,"RC":11,"RCT":"[json.exception.type_error.302] type must be number, but is boolean"}})");
}

TEST(RequestBody, MnIsEchoedOrNull) {
  EXPECT_EQ(ProcessRequestBody(R"({"FN":2,"MN":17})"), R"({"MN":17,"status":{"IC":0,"RC":12,"RCT":""}})");
  EXPECT_EQ(ProcessRequestBody(R"({"FN":2})"), R"({"MN":null,"status":{"IC":0,"RC":12,"RCT":""}})");
  EXPECT_EQ(ProcessRequestBody(R"({"MN":{"z":[1,"x"],"a":null},"FN":2})"),
            R"({"MN":{"a":null,"z":[1,"x"]},"status":{"IC":0,"RC":12,"RCT":""}})");
}

TEST(RequestBody, UnknownAndOutOfTableNumbersAnswerRc12) {
  for (const char *fn :
       {"2", "75", "118", "170", "299", "309", "315", "400", "-1", "2147483647", "-2147483648", "12.7"}) {
    EXPECT_EQ(ProcessRequestBody(std::string(R"({"FN":)") + fn + "}"),
              R"({"MN":null,"status":{"IC":0,"RC":12,"RCT":""}})")
        << fn;
  }
}

TEST(RequestBody, HostileBodiesGetAnAnswerNotACrash) {
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

TEST(FunctionTable, LookupIsBoundedAndEmptySlotsAreAbsent) {
  EXPECT_EQ(FindApiFunction(-1), nullptr);
  EXPECT_EQ(FindApiFunction(315), nullptr);
  EXPECT_EQ(FindApiFunction(INT32_MIN), nullptr);
  for (int32_t fn : {2, 75, 118, 170, 299, 309}) EXPECT_EQ(FindApiFunction(fn), nullptr) << fn;
}

}  // namespace
}  // namespace kvnc
