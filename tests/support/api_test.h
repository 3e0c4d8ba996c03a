// The whole program under test: the controller simulator and kvnc-api, one
// of each per suite, requests as the web server sends them into the FastCGI
// socket. Each test starts from the demo appliance.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "tests/support/process.h"
#include "tests/support/sim_control.h"

namespace kvnc::test {

#if defined(KVNC_SIM_BINARY) && defined(KVNC_API_BINARY)
class ApiTest : public SimTest {
 protected:
  using Json = nlohmann::json;

  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;

  // One request from `remote`; the parsed reply, null when there was none.
  static Json Post(const Json &request, const std::string &remote = "127.0.0.1");
  // FN 0 with USER and PWD.
  static Json Login(const std::string &user, const std::string &password, const std::string &remote = "127.0.0.1");
  // The SID of a successful login (a test failure otherwise).
  static std::string LoginSid(const std::string &user, const std::string &password,
                              const std::string &remote = "127.0.0.1");
  static Json Call(const std::string &sid, int fn, const Json &prm = nullptr, const std::string &remote = "127.0.0.1");

  // The calls that reached the simulator since the last look, without the
  // session bookkeeping every request makes: [{"function", "args", "uid"}].
  Json Calls();
  Json CallNames();

  static pid_t ApiPid();

  // The RPC number of a client function, from the client's own table.
  static uint32_t Rpc(const std::string &function);
  // Makes the next `count` calls of `function` answer `error`.
  void FailNext(const std::string &function, int32_t error, int count = 1);

 private:
  static inline ChildProcess *api_ = nullptr;
  static inline bool api_ready_ = false;
};
#endif

}  // namespace kvnc::test
