// The simulator's model under many concurrent connections, through the
// client functions the API calls. What it answers to each call is checked
// through the API's handlers by the end-to-end tests.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "client/hpi_functions.h"
#include "client/text_buffer.h"
#include "tests/support/sim_control.h"

namespace {

using kvnc::test::SimTest;
using Json = nlohmann::json;

constexpr SaHpiResourceIdT kProbe = 2001;  // temperature 1, humidity 2

class SimServing : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    ASSERT_EQ(saHpiSessionOpen(SAHPI_UNSPECIFIED_DOMAIN_ID, &s_, nullptr), SA_OK);
  }
  void TearDown() override { saHpiSessionClose(s_); }

  SaHpiSessionIdT s_ = 0;
};

TEST_F(SimServing, ManyConcurrentConnectionsKeepTheModelWhole) {
  constexpr int kThreads = 24, kCalls = 50;
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &failures] {
      const SaHpiResourceIdT outlet = 4002 + t % 8;
      for (int i = 0; i < kCalls; ++i) {
        SaHpiSessionIdT s;
        SaHpiCtrlStateT state{};
        SaHpiCtrlModeT mode;
        SaHpiSensorReadingT reading;
        SaHpiEventStateT events;
        state.Type = SAHPI_CTRL_TYPE_DIGITAL;
        state.StateUnion.Digital = (i % 2) == 0 ? SAHPI_CTRL_STATE_ON : SAHPI_CTRL_STATE_OFF;
        const SaHpiTextBufferT description = TextBufferFromString("thread " + std::to_string(t));
        const SaErrorT results[] = {
            saHpiSessionOpen(SAHPI_UNSPECIFIED_DOMAIN_ID, &s, nullptr),
            saHpiControlSet(s, outlet, 1, SAHPI_CTRL_MODE_MANUAL, &state),
            saHpiControlGet(s, outlet, 1, &mode, &state),
            saHpiSensorReadingGet(s, kProbe, 2, &reading, &events),
            kvnHpiResourceDescriptionSet(s, outlet, &description),
            saHpiSessionClose(s),
        };
        for (SaErrorT rv : results) failures += rv != SA_OK;
      }
    });
  }
  for (std::thread &t : threads) t.join();
  EXPECT_EQ(failures, 0);

  const Json calls = sim().Journal();
  EXPECT_EQ(calls.size(), static_cast<size_t>(kThreads * kCalls * 6 + 1));  // + the fixture's session
  const Json model = sim().Dump();
  for (int outlet = 4002; outlet <= 4009; ++outlet) {
    const std::string description = model["resources"][std::to_string(outlet)]["description"];
    EXPECT_EQ(description.rfind("thread ", 0), 0u) << outlet;
    EXPECT_EQ(model["resources"][std::to_string(outlet)]["controls"]["1"]["state"],
              SAHPI_CTRL_STATE_OFF);  // last: i = 49
  }
  EXPECT_EQ(sim().Command({{"cmd", "sessions"}})["sessions"].size(), 1u);  // the fixture's
}

}  // namespace
