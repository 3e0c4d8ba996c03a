// Controls and outlets end to end against the simulated demo rack.
#include <string>

#include "tests/e2e/monitor_fixture.h"

namespace kvnc::test {
namespace {

using Json = nlohmann::json;

// Resource 1000: control 1 digital, 2 discrete ("Off", "Low", ...), 3 analog
// 0..100, 4 text. Outlet n is control 1 and sensor 1 of resource 4001 + n.
constexpr int kController = 1000;
constexpr int kOutlet1 = 4002;

class Controls : public MonitorApi {};

TEST_F(Controls, SwitchingChecksTheModeFirstAndTheStateByTheControlsType) {
  EXPECT_EQ(Status(19, {{"ID", kOutlet1}, {"CNUM", 1}, {"MODE", 2}, {"STATE", 0}}),
            Json::parse(R"({"IC":0,"PARAM":2,"RC":6,"RCT":"MODE"})"));
  EXPECT_EQ(Status(19, {{"ID", kOutlet1}, {"CNUM", 1}, {"MODE", 4294967296.0}})["RC"], 6);  // no wrap to AUTO
  EXPECT_EQ(CallNames(), Json::array());

  EXPECT_EQ(Status(19, {{"ID", kController}, {"CNUM", 4}, {"MODE", 1}, {"STATE", 1}}), Error(13, ""));
  EXPECT_EQ(CallNames(), Json::parse(R"(["saHpiRdrGetByInstrumentId"])"));
  EXPECT_EQ(Model("/resources/1000/controls/4/lines"), Json::parse(R"(["Korvane RC-200","Rack A3"])"));

  EXPECT_EQ(Status(19, {{"ID", kOutlet1}, {"CNUM", 1}, {"MODE", 1}, {"STATE", 0}}), Ok());
  const Json set = Calls().back();  // MANUAL, a digital state OFF
  EXPECT_EQ(set["args"], Json::array({set["args"][0], kOutlet1, 1, 1, {0, 0}}));
  EXPECT_EQ(Model("/resources/4002/controls/1/state"), 0);
  EXPECT_EQ(Status(19, {{"ID", kController}, {"CNUM", 3}, {"MODE", 1}, {"STATE", 75}}), Ok());
  EXPECT_EQ(Model("/resources/1000/controls/3/state"), 75);
  EXPECT_EQ(Status(19, {{"ID", kController}, {"CNUM", 3}, {"MODE", 1}, {"STATE", 101}}),
            Error(9, "saHpiControlSet", 1010));
  EXPECT_EQ(Status(19, {{"ID", kController}, {"CNUM", 2}, {"MODE", 1}}), Error(5, "STATE"));
  EXPECT_EQ(Status(19, {{"ID", kOutlet1}, {"CNUM", 1}, {"MODE", 0}}), Ok());  // AUTO needs no state
  EXPECT_EQ(Model("/resources/4002/controls/1/mode"), 0);
  EXPECT_EQ(Status(19, {{"ID", kOutlet1}, {"CNUM", 9}, {"MODE", 0}}), Error(9, "saHpiRdrGetByInstrumentId", 1011));
  EXPECT_EQ(Status(19, {{"ID", kOutlet1}, {"CNUM", 1}, {"MODE", "1"}}), TypeError("number, but is string"));
}

TEST_F(Controls, StatesAreReadByTypeAndOneUnreadableControlFailsTheList) {
  const Json ctrl = {
      {{"NUM", 1}, {"TYPE", 0}}, {{"NUM", 2}, {"TYPE", 1}}, {{"NUM", 3}, {"TYPE", 2}}, {{"NUM", 4}, {"TYPE", 4}}};
  EXPECT_EQ(Call(18, {{"ID", kController}, {"CTRL", ctrl}})["response"], Json::parse(R"([
      {"cnum":1,"mode":1,"stat":0,"type":0},
      {"cnum":2,"istat":"Low","mode":1,"stat":1,"type":1},
      {"cnum":3,"mode":0,"stat":50,"type":2},
      {"cnum":4,"mode":1,"stat":"Error","type":4}])"));

  // A state the daemon cannot tell is shown as unknown, not as a value.
  sim().Fault({{"rpc", 47}, {"error", -1021}});
  sim().Fault({{"rpc", 432}, {"error", -1011}});
  EXPECT_EQ(Call(18, {{"ID", kController}, {"CTRL", {ctrl[0], ctrl[1]}}})["response"],
            Json::parse(R"([{"cnum":1,"mode":0,"stat":"Unknown","type":0},{"cnum":2,"mode":1,"stat":1,"type":1}])"));

  sim().Fault({{"rpc", 47}, {"error", -1011}});
  const Json failed = Call(18, {{"ID", kController}, {"CTRL", ctrl}});
  EXPECT_EQ(failed["status"], Error(9, "saHpiControlGet", 1011));
  EXPECT_FALSE(failed.contains("response"));
  EXPECT_EQ(Status(18, {{"ID", kController}}), Error(5, "CTRL"));
  EXPECT_EQ(Status(18, {{"ID", kController}, {"CTRL", {ctrl[0], {{"NUM", 2}}}}}), Error(5, "TYPE"));
  EXPECT_EQ(Status(18, {{"ID", kController}, {"CTRL", ctrl[0]}}), Error(6, "CTRL"));
}

TEST_F(Controls, OutletInstrumentsSkipNumbersWithoutRecords) {
  EXPECT_EQ(Call(8, {{"ID", 1}})["response"],
            Json::parse(R"({"controls":[{"name":"Outlet 1","num":1,"rid":4002}],)"
                        R"("sensors":[{"name":"Outlet 1 current","num":1,"rid":4002}]})"));
  sim().Set("/outlets/1/last_control", 3);
  sim().Set("/outlets/1/last_sensor", 0);  // first 1 > last 0: no sensors
  Calls();
  EXPECT_EQ(Call(8, {{"ID", 1}})["response"],
            Json::parse(R"({"controls":[{"name":"Outlet 1","num":1,"rid":4002}],"sensors":[]})"));
  EXPECT_EQ(CallNames().size(), 4u);

  // A range that ends at the last 32-bit number ends; a first control number
  // with all bits set means no on/off control.
  sim().Set("/outlets/1/first_sensor", 4294967294u);
  sim().Set("/outlets/1/last_sensor", 4294967295u);
  sim().Set("/outlets/1/first_control", 4294967295u);
  sim().Set("/outlets/1/last_control", 4294967295u);
  Calls();
  EXPECT_EQ(Call(8, {{"ID", 1}})["response"], Json::parse(R"({"controls":[],"sensors":[]})"));
  EXPECT_EQ(CallNames().size(), 3u);

  // The range comes from the daemon: one that no outlet has (every 32-bit
  // number, 2^32 calls) is refused before a record is read; 256 numbers are
  // walked.
  sim().Set("/outlets/1/first_sensor", 0);
  Calls();
  EXPECT_EQ(Status(8, {{"ID", 1}}), Error(9, "kvnHpiFindOutletInstruments", 1010));
  EXPECT_EQ(CallNames(), Json::parse(R"(["kvnHpiFindOutletInstruments"])"));
  sim().Set("/outlets/1/first_control", 1);
  sim().Set("/outlets/1/last_control", 257);
  sim().Set("/outlets/1/last_sensor", 0);
  EXPECT_EQ(Status(8, {{"ID", 1}}), Error(9, "kvnHpiFindOutletInstruments", 1010));
  sim().Set("/outlets/1/last_control", 256);
  Calls();
  EXPECT_EQ(Call(8, {{"ID", 1}})["response"]["controls"].size(), 1u);
  EXPECT_EQ(CallNames().size(), 1u + 256u + 1u);  // the range, 256 controls, sensor 0

  sim().Fault({{"rpc", 35}, {"error", -1004}});
  EXPECT_EQ(Status(8, {{"ID", 2}}), Error(9, "saHpiRdrGetByInstrumentId", 1004));
  EXPECT_EQ(Status(8, {{"ID", 99}}), Error(9, "kvnHpiFindOutletInstruments", 1011));
}

TEST_F(Controls, OutletNamesAreCutTo255Bytes) {
  EXPECT_EQ(Status(55, {{"WI", true}, {"ID", 3}, {"NAME", std::string(300, 'n')}}), Ok());
  EXPECT_EQ(Model("/outlets/3/user_name"), std::string(255, 'n'));
  EXPECT_EQ(Model("/outlets/3/name_flag"), 1);
  EXPECT_EQ(Status(55, {{"WI", 1}, {"ID", 3}, {"NAME", "x"}}), TypeError("boolean, but is number"));
  EXPECT_EQ(Status(55, {{"WI", true}, {"ID", 3}}), Error(5, "NAME"));
}

}  // namespace
}  // namespace kvnc::test
