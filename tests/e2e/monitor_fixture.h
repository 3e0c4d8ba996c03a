// The monitoring pages end to end (see tests/support/api_test.h), logged in
// once per suite as admin; each test starts from the demo appliance with an
// empty journal of calls.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/support/api_test.h"

namespace kvnc::test {

class MonitorApi : public ApiTest {
 protected:
  static void TearDownTestSuite() {
    sid_.clear();
    ApiTest::TearDownTestSuite();
  }
  void SetUp() override {
    ApiTest::SetUp();
    if (sid_.empty()) {
      sid_ = LoginSid("admin", "admin-secret");
      ASSERT_FALSE(sid_.empty());
    }
    sim().Journal();  // each test looks only at its own calls
  }

  using ApiTest::Call;
  // One API call of the logged-in admin; the whole reply.
  static Json Call(int fn, const Json &prm) { return ApiTest::Call(sid_, fn, prm); }
  // The status of the reply to one call, for comparing in one piece.
  static Json Status(int fn, const Json &prm) { return Call(fn, prm).value("status", Json()); }
  static Json Ok() { return {{"IC", 0}, {"RC", 0}, {"RCT", "OK"}}; }
  static Json Error(unsigned rc, const std::string &text, int64_t ic = 0) {
    return {{"IC", ic}, {"RC", rc}, {"RCT", text}};
  }
  static Json TypeError(const std::string &type) {
    return Error(11, "[json.exception.type_error.302] type must be " + type);
  }
  // The arguments of each journalled call after the session, with its name first.
  Json CallArgs() {
    Json calls = Json::array();
    for (const Json &call : Calls()) {
      Json line = Json::array({call["function"]});
      for (size_t i = 1; i < call["args"].size(); ++i) line.push_back(call["args"][i]);
      calls.push_back(std::move(line));
    }
    return calls;
  }
  Json Model(const std::string &pointer) { return sim().Dump().at(Json::json_pointer(pointer)); }

 private:
  static inline std::string sid_;
};

}  // namespace kvnc::test
