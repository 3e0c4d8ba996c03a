// The request spine without FastCGI: body text in, reply text out. Only
// bodies refused before the dispatcher looks at the daemon are tested here;
// the rest needs the appliance's paths (tests/ns/request_body_test.cpp).
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>

#include "front/api_error.h"
#include "front/function_table.h"
#include "front/request_loop.h"

namespace kvnc {
namespace {

TEST(RequestBody, UnparseableOrNonObjectBodiesAnswerRc11WithoutMn) {
  // A body that is no JSON, or an array, is in the request loop's tests.
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

// Stand-ins for the dispatcher that fail the way a handler can.
json ThrowsApiFailure(const json &, const char *) { Fail(ErrorReplyMsg(kRcBadValue, "USER")); }
json ThrowsRuntimeError(const json &, const char *) { throw std::runtime_error("daemon went away"); }
json ThrowsTypeError(const json &request, const char *) { return request.at("PRM").get<std::string>(); }
json ThrowsBadAlloc(const json &, const char *) { throw std::bad_alloc(); }
json ThrowsInt(const json &, const char *) { throw 42; }
struct NotAnException {};
json ThrowsOtherType(const json &, const char *) { throw NotAnException{}; }
json Answers(const json &request, const char *) { return OkReplyWithResponse(request.at("PRM")); }

TEST(RequestBody, EveryExceptionBecomesAReplyAndTheNextRequestIsServed) {
  const std::string body = R"({"FN":3,"PRM":7,"MN":1})";
  EXPECT_EQ(ProcessRequestBody(body, ThrowsApiFailure), R"({"status":{"IC":0,"RC":6,"RCT":"USER"}})");
  EXPECT_EQ(ProcessRequestBody(body, ThrowsRuntimeError), R"({"status":{"IC":0,"RC":11,"RCT":"daemon went away"}})");
  EXPECT_EQ(
      ProcessRequestBody(body, ThrowsTypeError),
      R"({"status":{"IC":0,"RC":11,"RCT":"[json.exception.type_error.302] type must be string, but is number"}})");
  EXPECT_EQ(ProcessRequestBody(body, ThrowsBadAlloc), R"({"status":{"IC":0,"RC":11,"RCT":"std::bad_alloc"}})");
  EXPECT_EQ(ProcessRequestBody(body, ThrowsInt), R"({"status":{"IC":0,"RC":11,"RCT":"unknown exception"}})");
  EXPECT_EQ(ProcessRequestBody(body, ThrowsOtherType), R"({"status":{"IC":0,"RC":11,"RCT":"unknown exception"}})");
  EXPECT_EQ(ProcessRequestBody(body, Answers), R"({"MN":1,"response":7,"status":{"IC":0,"RC":0,"RCT":"OK"}})");
}

TEST(FunctionTable, LookupIsBoundedAndEmptySlotsAreAbsent) {
  EXPECT_EQ(FindApiFunction(-1), nullptr);
  EXPECT_EQ(FindApiFunction(315), nullptr);
  EXPECT_EQ(FindApiFunction(INT32_MIN), nullptr);
  for (int32_t fn : {2, 75, 118, 170, 299, 309}) EXPECT_EQ(FindApiFunction(fn), nullptr) << fn;
}

}  // namespace
}  // namespace kvnc
