// Groups end to end against the simulated demo rack: its group "Rack A
// outlets" holds the on/off controls (control 1) of outlets 1..8, resources
// 4002..4009, one second apart; outlets 3 and 7 start switched off.
#include <chrono>
#include <string>
#include <thread>

#include "tests/e2e/monitor_fixture.h"

namespace kvnc::test {
namespace {

using Json = nlohmann::json;

constexpr const char *kRack = "Rack A outlets";
constexpr int kOutlets = 8;
constexpr int kController = 1000;  // control 1: a relay; control 9 does not exist
constexpr int kProbe = 2001;       // sensors 1 and 2, every threshold writable

class Groups : public MonitorApi {
 protected:
  Json OutletStates() {
    Json states = Json::array();
    for (int n = 0; n < kOutlets; ++n)
      states.push_back(Model("/resources/" + std::to_string(4002 + n) + "/controls/1/state"));
    return states;
  }
  // FN 106 of the rack group until `done` holds for its answer (or 10 s pass).
  template <typename Done>
  Json PollProgress(Done done) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
      Json progress = Call(106, {{"GROUP", kRack}})["response"];
      if (done(progress) || std::chrono::steady_clock::now() > give_up) return progress;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
};

TEST_F(Groups, ListShowsOutletsPlainControlsAndMembersThatAreGone) {
  sim().Set("/groups/1", {{"name", "Mixed"},
                          {"controls",
                           {{{"resource", kController}, {"control", 1}, {"delay", 5}},
                            {{"resource", kController}, {"control", 9}, {"delay", 0}},
                            {{"resource", 3000}, {"control", 1}, {"delay", 2}}}},
                          {"sensors", {{{"resource", kProbe}, {"sensor", 2}}, {{"resource", kProbe}, {"sensor", 7}}}}});
  const Json reply = Call(103, nullptr);
  ASSERT_EQ(reply["status"], Ok());
  ASSERT_EQ(reply["response"].size(), 2u);
  const Json &rack = reply["response"][0];
  EXPECT_EQ(rack["ID"], 0);
  EXPECT_EQ(rack["GROUP"], kRack);
  ASSERT_EQ(rack["OUTLETS"].size(), 8u);
  EXPECT_EQ(rack["OUTLETS"][7], Json::parse(R"({"DELAY":1,"ID":7,"NAME":"Outlet 8","OUTLET":8,"PRESENT":true})"));
  EXPECT_EQ(rack["CONTROLS"], Json::array());
  EXPECT_EQ(rack["SENSORS"], Json::array());
  // A resource that was removed is shown like a missing instrument, so
  // that the member can still be seen and removed.
  EXPECT_EQ(reply["response"][1], Json::parse(R"({"CONTROLS":[
      {"DELAY":5,"ID":0,"NAME":"Relay 1","NUM":1,"PRESENT":true,"RES":1000},
      {"DELAY":0,"ID":1,"NAME":"NOT PRESENT","NUM":9,"PRESENT":false,"RES":1000},
      {"DELAY":2,"ID":2,"NAME":"NOT PRESENT","NUM":1,"PRESENT":false,"RES":3000}],
      "GROUP":"Mixed","ID":1,"OUTLETS":[],"SENSORS":[
      {"ID":0,"NAME":"Inlet humidity","NUM":2,"PRESENT":true,"RES":2001},
      {"ID":1,"NAME":"NOT PRESENT","NUM":7,"PRESENT":false,"RES":2001}]})"));

  // An outlet's control is an outlet only on an outlet resource whose
  // record names an outlet entity with a location.
  sim().Set("/resources/4002/entity_path/0/location", 0);
  sim().Set("/resources/4003/entity_path/0/type", 220);
  const Json rack_again = Call(103, nullptr)["response"][0];
  EXPECT_EQ(rack_again["OUTLETS"].size(), 6u);
  EXPECT_EQ(rack_again["CONTROLS"][1],
            Json::parse(R"({"DELAY":1,"ID":1,"NAME":"Outlet 2","NUM":1,"PRESENT":true,"RES":4003})"));

  sim().Set("/groups", Json::array());
  Calls();
  EXPECT_EQ(Call(103, nullptr)["response"], Json::array());
  EXPECT_EQ(CallNames(), Json::parse(R"(["kvnHpiGroupGetNext"])"));
}

TEST_F(Groups, WalksEndOnRepeatedIdsAndStopAtDaemonFailures) {
  sim().Fault({{"rpc", Rpc("kvnHpiGroupGetNext")}, {"output", 0}, {"value", 0}});
  EXPECT_EQ(Status(103, nullptr), Error(9, "kvnHpiGroupGetNext", 1010));
  sim().Fault({{"rpc", Rpc("kvnHpiGroupControlGet")}});
  sim().Fault({{"rpc", Rpc("kvnHpiGroupControlGet")}, {"output", 0}, {"value", 0}});
  EXPECT_EQ(Status(103, nullptr), Error(9, "kvnHpiGroupControlGet", 1010));
  sim().Set("/groups/0/sensors", {{{"resource", kProbe}, {"sensor", 1}}});
  sim().Fault({{"rpc", Rpc("kvnHpiGroupSensorGet")}, {"output", 0}, {"value", 0}});
  EXPECT_EQ(Status(103, nullptr), Error(9, "kvnHpiGroupSensorGet", 1010));

  // The group list itself ends quietly at a failure; a member list does not.
  sim().Set("/groups/1", {{"name", "Second"}});
  sim().Fault({{"rpc", Rpc("kvnHpiGroupGetNext")}});
  FailNext("kvnHpiGroupGetNext", -1004);
  const Json first_only = Call(103, nullptr);
  EXPECT_EQ(first_only["status"], Ok());
  EXPECT_EQ(first_only["response"].size(), 1u);
  FailNext("kvnHpiGroupControlGet", -1004);
  EXPECT_EQ(Status(103, nullptr), Error(9, "kvnHpiGroupControlGet", 1004));
  FailNext("kvnHpiGroupSensorGet", -1004);
  EXPECT_EQ(Status(103, nullptr), Error(9, "kvnHpiGroupSensorGet", 1004));
  FailNext("saHpiRdrGetByInstrumentId", -1004);
  EXPECT_EQ(Status(103, nullptr), Error(9, "saHpiRdrGetByInstrumentId", 1004));
}

TEST_F(Groups, MembersAreAddedAndRemovedByInstrumentOrOutlet) {
  EXPECT_EQ(Status(104, {{"GROUP", "Servers"}}), Ok());
  EXPECT_EQ(Status(108, {{"GROUP", "Servers"}, {"RID", kController}, {"CNUM", 1}, {"DELAY", 3}}), Ok());
  EXPECT_EQ(Status(110, {{"GROUP", "Servers"}, {"OUTLET", 3}, {"DELAY", 2}}), Ok());
  EXPECT_EQ(Status(112, {{"GROUP", "Servers"}, {"RID", kProbe}, {"SNUM", 1}}), Ok());
  EXPECT_EQ(CallArgs(), Json::parse(R"([
      ["kvnHpiGroupCreate","Servers"],
      ["kvnHpiGroupControlAdd","Servers",1000,1,3],
      ["kvnHpiFindOutletInstruments",3],
      ["kvnHpiGroupControlAdd","Servers",4004,1,2],
      ["kvnHpiGroupSensorAdd","Servers",2001,1]])"));
  EXPECT_EQ(Model("/groups/1"), Json::parse(R"({"controls":[{"control":1,"delay":3,"resource":1000},
      {"control":1,"delay":2,"resource":4004}],"job":null,"name":"Servers",
      "sensors":[{"resource":2001,"sensor":1}]})"));

  EXPECT_EQ(Status(111, {{"GROUP", "Servers"}, {"OUTLET", 3}}), Ok());
  EXPECT_EQ(Status(109, {{"GROUP", "Servers"}, {"RID", kController}, {"CNUM", 1}}), Ok());
  EXPECT_EQ(Status(113, {{"GROUP", "Servers"}, {"RID", kProbe}, {"SNUM", 1}}), Ok());
  EXPECT_EQ(Model("/groups/1/controls"), Json::array());
  EXPECT_EQ(Model("/groups/1/sensors"), Json::array());
  EXPECT_EQ(Status(105, {{"GROUP", "Servers"}}), Ok());
  EXPECT_EQ(Model("/groups").size(), 1u);

  // Names travel cut to 255 bytes.
  EXPECT_EQ(Status(104, {{"GROUP", std::string(300, 'g')}}), Ok());
  EXPECT_EQ(Model("/groups/1/name"), std::string(255, 'g'));

  // An outlet without an on/off control: nothing is added.
  sim().Set("/outlets/5/first_control", 4294967295u);
  Calls();
  EXPECT_EQ(Status(110, {{"GROUP", kRack}, {"OUTLET", 5}, {"DELAY", 1}}), Error(6, "no on/off control for outlet"));
  EXPECT_EQ(Status(111, {{"GROUP", kRack}, {"OUTLET", 5}}), Error(6, "no on/off control for outlet"));
  sim().Set("/outlets/6/resource", 4294967295u);
  EXPECT_EQ(Status(110, {{"GROUP", kRack}, {"OUTLET", 6}, {"DELAY", 1}}), Error(6, "no on/off control for outlet"));
  EXPECT_EQ(CallNames(), Json::parse(R"(["kvnHpiFindOutletInstruments","kvnHpiFindOutletInstruments",
      "kvnHpiFindOutletInstruments"])"));
  EXPECT_EQ(Model("/groups/0/controls").size(), 8u);
}

TEST_F(Groups, KeysAreReadInOrderAndDaemonRefusalsNameTheFunction) {
  EXPECT_EQ(Status(104, nullptr), Error(5, "GROUP"));
  EXPECT_EQ(Status(104, {{"GROUP", 7}}), TypeError("string, but is number"));
  EXPECT_EQ(Status(108, {{"GROUP", kRack}, {"RID", kController}, {"DELAY", 1}}), Error(5, "CNUM"));
  EXPECT_EQ(Status(110, {{"GROUP", kRack}, {"OUTLET", 1}}), Error(5, "DELAY"));
  EXPECT_EQ(Status(112, {{"RID", kProbe}, {"SNUM", 1}}), Error(5, "GROUP"));
  EXPECT_EQ(Status(115, {{"GROUP", kRack}}), Error(5, "OPERATION"));
  EXPECT_EQ(CallNames(), Json::array());

  EXPECT_EQ(Status(104, {{"GROUP", kRack}}), Error(9, "kvnHpiGroupCreate", 1013));
  EXPECT_EQ(Status(105, {{"GROUP", "nope"}}), Error(9, "kvnHpiGroupDelete", 1011));
  EXPECT_EQ(Status(106, {{"GROUP", "nope"}}), Error(9, "kvnHpiGroupControlGetProgressAsynchronous", 1011));
  EXPECT_EQ(Status(107, {{"GROUP", kRack}}), Error(9, "kvnHpiGroupControlCancelAsynchronous", 1017));
  EXPECT_EQ(Status(108, {{"GROUP", kRack}, {"RID", 4002}, {"CNUM", 1}, {"DELAY", 1}}),
            Error(9, "kvnHpiGroupControlAdd", 1013));
  EXPECT_EQ(Status(109, {{"GROUP", kRack}, {"RID", kController}, {"CNUM", 1}}),
            Error(9, "kvnHpiGroupControlDelete", 1011));
  EXPECT_EQ(Status(110, {{"GROUP", kRack}, {"OUTLET", 99}, {"DELAY", 1}}),
            Error(9, "kvnHpiFindOutletInstruments", 1011));
  EXPECT_EQ(Status(111, {{"GROUP", "nope"}, {"OUTLET", 1}}), Error(9, "kvnHpiGroupControlDelete", 1011));
  EXPECT_EQ(Status(112, {{"GROUP", kRack}, {"RID", kProbe}, {"SNUM", 9}}), Error(9, "kvnHpiGroupSensorAdd", 1011));
  EXPECT_EQ(Status(113, {{"GROUP", kRack}, {"RID", kProbe}, {"SNUM", 1}}), Error(9, "kvnHpiGroupSensorDelete", 1011));
  EXPECT_EQ(Status(115, {{"GROUP", kRack}, {"OPERATION", 1}}), Error(9, "kvnHpiGroupSensorReadingAggregateGet", 1017));
  EXPECT_EQ(Status(116, {{"GROUP", "nope"}, {"MODE", 0}}), Error(9, "kvnHpiGroupControlStateAssignAsynchronous", 1011));
}

TEST_F(Groups, SwitchingRunsMemberAfterMemberToItsEnd) {
  sim().Set("/group_delay_scale", 0.1);  // 100 ms between outlets
  EXPECT_EQ(Status(116, {{"GROUP", kRack}, {"MODE", 1}, {"STATE", 0}}), Ok());
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiGroupControlStateAssignAsynchronous","Rack A outlets",1,[2,0]]])"));

  const Json early = Call(106, {{"GROUP", kRack}})["response"];
  EXPECT_LT(early["processed"], 8);  // the job runs on after the reply
  EXPECT_EQ(early["total"], 8);
  Json seen = Json::array({early["processed"]});
  const Json done = PollProgress([&](const Json &p) {
    if (p["processed"] != seen.back()) seen.push_back(p["processed"]);
    return p["processed"] == p["total"];
  });
  EXPECT_EQ(done, Json::parse(R"({"error":0,"processed":8,"total":8})"));
  EXPECT_GT(seen.size(), 2u) << seen;  // progress was seen step by step, not all at once
  EXPECT_EQ(OutletStates(), Json::parse("[0,0,0,0,0,0,0,0]"));

  // MODE 0 (auto) needs no STATE and sends the value 0.
  Calls();
  EXPECT_EQ(Status(116, {{"GROUP", kRack}, {"MODE", 0}}), Ok());
  EXPECT_EQ(CallArgs()[0][3], Json::parse("[2,0]"));
  PollProgress([](const Json &p) { return p["processed"] == p["total"]; });
  EXPECT_EQ(Model("/resources/4009/controls/1/mode"), 0);

  EXPECT_EQ(Status(116, {{"GROUP", kRack}, {"MODE", 1}}), Error(5, "STATE"));
  EXPECT_EQ(Status(116, {{"GROUP", kRack}, {"MODE", 2}, {"STATE", 1}}),
            Json::parse(R"({"IC":0,"PARAM":2,"RC":6,"RCT":"MODE"})"));
  EXPECT_EQ(Status(116, {{"GROUP", kRack}, {"MODE", 4294967297.0}, {"STATE", 1}})["RC"], 6);  // no wrap to MANUAL
}

TEST_F(Groups, CancelledSwitchLeavesTheRestAsItWas) {
  sim().Set("/group_delay_scale", 0.25);
  const Json before = OutletStates();
  EXPECT_EQ(Status(116, {{"GROUP", kRack}, {"MODE", 1}, {"STATE", 0}}), Ok());
  EXPECT_EQ(Status(116, {{"GROUP", kRack}, {"MODE", 1}, {"STATE", 1}}),
            Error(9, "kvnHpiGroupControlStateAssignAsynchronous", 1003));  // one job at a time
  const Json running = PollProgress([](const Json &p) { return p["processed"] >= 3; });
  ASSERT_LT(running["processed"], 8);
  EXPECT_EQ(Status(107, {{"GROUP", kRack}}), Ok());

  const Json stopped = Call(106, {{"GROUP", kRack}})["response"];
  const int switched = stopped["processed"].get<int>();
  EXPECT_GE(switched, 3);
  EXPECT_LT(switched, 8);
  EXPECT_EQ(stopped["total"], 8);
  EXPECT_EQ(stopped["error"], -1001);
  std::this_thread::sleep_for(std::chrono::milliseconds(600));  // past the next two steps' time
  Json expected = Json::array();
  for (int n = 0; n < kOutlets; ++n) expected.push_back(n < switched ? Json(0) : before[static_cast<size_t>(n)]);
  EXPECT_EQ(OutletStates(), expected);
  EXPECT_EQ(Call(106, {{"GROUP", kRack}})["response"], stopped);

  // A job that has ended may be followed by another.
  sim().Set("/group_delay_scale", 0);
  EXPECT_EQ(Status(116, {{"GROUP", kRack}, {"MODE", 1}, {"STATE", 0}}), Ok());
  EXPECT_EQ(Call(106, {{"GROUP", kRack}})["response"], Json::parse(R"({"error":0,"processed":8,"total":8})"));
}

TEST_F(Groups, ThresholdsGoToEveryMemberSensorAndReadingsAggregate) {
  sim().Set("/groups/0/sensors", {{{"resource", 2003}, {"sensor", 1}}, {{"resource", 4002}, {"sensor", 1}}});
  const Json unsupported = {{"sup", 0}, {"type", 0}, {"value", 0}};
  auto upper = [&](double minor) {
    return Json{{"GROUP", kRack},
                {"LCr", unsupported},
                {"LMj", unsupported},
                {"LMn", unsupported},
                {"UCr", {{"sup", 1}, {"type", 2}, {"value", minor + 2}}},
                {"UMj", {{"sup", 1}, {"type", 2}, {"value", minor + 1}}},
                {"UMn", {{"sup", 1}, {"type", 2}, {"value", minor}}},
                {"PHs", unsupported},
                {"NHs", unsupported}};
  };
  EXPECT_EQ(Status(114, upper(20)), Ok());
  EXPECT_EQ(Model("/resources/2003/sensors/1/thresholds/values/UMn"), 20.0);
  EXPECT_EQ(Model("/resources/4002/sensors/1/thresholds/values/UCr"), 22.0);

  Json bad = upper(20);
  bad.erase("UMn");
  EXPECT_EQ(Status(114, bad), Error(5, "UMn"));
  bad["UMn"] = {{"sup", 1}, {"type", 9}, {"value", 1}};
  EXPECT_EQ(Status(114, bad), Error(6, ""));
  Calls();
  FailNext("kvnHpiGroupSensorThresholdsSet", -1005);
  EXPECT_EQ(Status(114, upper(30)), Error(9, "kvnHpiGroupSensorThresholdsSet", 1005));

  // The mean of 10 and 20.5; the second is past its upper minor threshold (20).
  sim().Set("/resources/2003/sensors/1/reading/value", 10);
  sim().Set("/resources/4002/sensors/1/reading", {{"value", 20.5}, {"swing", 0}});
  EXPECT_EQ(Call(115, {{"GROUP", kRack}, {"OPERATION", 1}})["response"],
            Json::parse(R"({"state":8,"sup":1,"type":2,"value":15.25})"));
  EXPECT_EQ(Call(115, {{"GROUP", kRack}, {"OPERATION", 3}})["response"]["value"], 20.5);
  EXPECT_EQ(Status(115, {{"GROUP", kRack}, {"OPERATION", 9}}), Error(9, "kvnHpiGroupSensorReadingAggregateGet", 1009));
}

}  // namespace
}  // namespace kvnc::test
