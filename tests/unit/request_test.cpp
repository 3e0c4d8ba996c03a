// The request spine without FastCGI: body text in, reply text out. Only
// bodies refused before the dispatcher looks at the daemon are tested here;
// the rest needs the appliance's paths (tests/ns/request_body_test.cpp).
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

TEST(FunctionTable, LookupIsBoundedAndEmptySlotsAreAbsent) {
  EXPECT_EQ(FindApiFunction(-1), nullptr);
  EXPECT_EQ(FindApiFunction(315), nullptr);
  EXPECT_EQ(FindApiFunction(INT32_MIN), nullptr);
  for (int32_t fn : {2, 75, 118, 170, 299, 309}) EXPECT_EQ(FindApiFunction(fn), nullptr) << fn;
}

}  // namespace
}  // namespace kvnc
