// The controller simulator (kvnc-sim) for tests: started as a child process
// on the daemon's fixed paths, driven through its control channel (see
// sim/control.h for the commands).
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "tests/support/process.h"

namespace kvnc::test {

#ifdef KVNC_SIM_BINARY
inline constexpr const char *kSimBinary = KVNC_SIM_BINARY;
#endif
inline constexpr const char *kSimControlSocket = "/tmp/kvnc-sim.control";

class SimProcess {
 public:
  // Starts `binary` with `extra_args` (its output appended to `log_file`) and
  // waits until it serves: its pid file names it. ok() tells whether it does.
  explicit SimProcess(const std::string &binary, const std::vector<std::string> &extra_args = {},
                      const std::string &log_file = "/tmp/kvnc-sim.log");
  ~SimProcess();
  SimProcess(const SimProcess &) = delete;
  SimProcess &operator=(const SimProcess &) = delete;

  bool ok() const { return ok_; }
  pid_t pid() const { return child_.pid(); }

  // One command and its answer; {"ok": false, "error": ...} when the channel fails.
  nlohmann::json Command(const nlohmann::json &command);

  // Commands that must succeed (a failed one is a test failure).
  void Reset();     // back to the model loaded last
  void LoadDemo();  // the built-in demo appliance, also what Reset returns to
  void Set(const std::string &pointer, const nlohmann::json &value);
  // {"rpc": n, "count", "error", "delay_ms", "drop", "reply_id", "output"/"member"/"value"}
  void Fault(const nlohmann::json &rule);
  nlohmann::json Journal();  // the calls since the last look, oldest first
  nlohmann::json Dump();     // the model as it is now

 private:
  nlohmann::json Expect(const nlohmann::json &command);

  ChildProcess child_;
  bool ok_ = false;
};

#ifdef KVNC_SIM_BINARY
// A suite that shares one simulator (started before its first test, stopped
// after its last), given the demo appliance afresh before each test.
class SimTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { sim_ = new SimProcess(kSimBinary); }
  static void TearDownTestSuite() {
    delete sim_;
    sim_ = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(sim_ != nullptr && sim_->ok()) << "kvnc-sim did not start; see /tmp/kvnc-sim.log";
    sim_->LoadDemo();
  }
  SimProcess &sim() { return *sim_; }

 private:
  static inline SimProcess *sim_ = nullptr;
};
#endif

}  // namespace kvnc::test
