#include "tests/support/api_test.h"

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include "client/marshal.h"
#include "client/paths.h"
#include "tests/support/fcgi_client.h"

namespace kvnc::test {

#if defined(KVNC_SIM_BINARY) && defined(KVNC_API_BINARY)

void ApiTest::SetUpTestSuite() {
  SimTest::SetUpTestSuite();
  unlink(paths::kFastCgiSocket);
  unlink(paths::kSessionFile);
  setenv("TZ", "UTC", 1);  // absolute time stamps read the same on every machine
  api_ = new ChildProcess({KVNC_API_BINARY}, "/var/log/kvnc-api.out");
  api_ready_ = WaitForPath(paths::kFastCgiSocket);
}

void ApiTest::TearDownTestSuite() {
  api_->Stop(SIGTERM);
  delete api_;
  api_ = nullptr;
  SimTest::TearDownTestSuite();
}

void ApiTest::SetUp() {
  SimTest::SetUp();
  ASSERT_TRUE(api_ready_) << "kvnc-api did not start; see /var/log/kvnc-api.out";
  sim().Journal();
}

pid_t ApiTest::ApiPid() { return api_->pid(); }

uint32_t ApiTest::Rpc(const std::string &function) {
  for (uint32_t n = 1; n <= 495; ++n) {
    const RpcMarshalEntry *entry = FindRpcMarshal(n);
    if (entry != nullptr && entry->function_name != nullptr && function == entry->function_name) return n;
  }
  ADD_FAILURE() << "no RPC named " << function;
  return 0;
}

void ApiTest::FailNext(const std::string &function, int32_t error, int count) {
  sim().Fault({{"rpc", Rpc(function)}, {"error", error}, {"count", count}});
}

ApiTest::Json ApiTest::Post(const Json &request, const std::string &remote) {
  const std::string body = ReplyBody(FcgiPost(paths::kFastCgiSocket, request.dump(), remote));
  return body.empty() ? Json() : Json::parse(body);
}

ApiTest::Json ApiTest::Login(const std::string &user, const std::string &password, const std::string &remote) {
  return Post({{"FN", 0}, {"PRM", {{"USER", user}, {"PWD", password}}}}, remote);
}

std::string ApiTest::LoginSid(const std::string &user, const std::string &password, const std::string &remote) {
  const Json reply = Login(user, password, remote);
  EXPECT_EQ(reply["status"]["RC"], 0) << reply.dump();
  return reply.value("/response/SESSION/ID"_json_pointer, std::string());
}

ApiTest::Json ApiTest::Call(const std::string &sid, int fn, const Json &prm, const std::string &remote) {
  Json request = {{"FN", fn}, {"SID", sid}};
  if (!prm.is_null()) request["PRM"] = prm;
  return Post(request, remote);
}

ApiTest::Json ApiTest::Calls() {
  Json calls = Json::array();
  for (const Json &call : sim().Journal()) {
    const std::string function = call.value("function", "");
    if (function != "saHpiSessionOpen" && function != "saHpiSessionClose") {
      calls.push_back({{"function", function}, {"args", call["args"]}, {"uid", call["uid"]}});
    }
  }
  return calls;
}

ApiTest::Json ApiTest::CallNames() {
  Json names = Json::array();
  for (const Json &call : Calls()) names.push_back(call["function"]);
  return names;
}

#endif

}  // namespace kvnc::test
