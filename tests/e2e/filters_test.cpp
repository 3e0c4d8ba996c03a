// Event filters, actions and named action lists end to end against the
// simulated demo rack.
#include <string>

#include "tests/e2e/monitor_fixture.h"

namespace kvnc::test {
namespace {

using Json = nlohmann::json;

// The demo's filters, in the daemon's order: "Rack too hot" (its own
// actions: a mail and a user list), "Rear door opened" (uses the named list
// "Security team": a mail and an address list), "Outlet current report"
// (periodic, 3600 s, one action of type 2).
constexpr const char *kHot = "Rack too hot";
constexpr const char *kDoor = "Rear door opened";
constexpr const char *kTeam = "Security team";

class Filters : public MonitorApi {
 protected:
  // Makes the daemon answer the next call of `rpc` after `skip` good ones
  // with reply value `output` (a next id) set to `value`.
  void RepeatId(uint32_t rpc, uint32_t value, int skip = 0) {
    for (int i = 0; i < skip; ++i) sim().Fault({{"rpc", rpc}});  // served as usual
    sim().Fault({{"rpc", rpc}, {"output", 0}, {"value", value}});
  }
};

TEST_F(Filters, ListsWalkEveryFilterWithItsActionTypesAndPeriods) {
  EXPECT_EQ(Call(46, nullptr).dump(),
            R"({"MN":null,"response":[{"ACTS":[3,5],"EXPR":"temperature >= major","NAME":"Rack too hot"},)"
            R"({"ACTS":[3,6],"EXPR":"door asserted","NAME":"Rear door opened"},)"
            R"({"ACTS":[2],"EXPR":"current","NAME":"Outlet current report"}],"status":{"IC":0,"RC":0,"RCT":"OK"}})");
  // The actions of each filter are read right after it; the last id ends each walk.
  EXPECT_EQ(CallArgs(), Json::parse(R"([
      ["kvnHpiEventFilterGetNext",0],["kvnHpiEventActionGet","Rack too hot",0],
      ["kvnHpiEventActionGet","Rack too hot",1],
      ["kvnHpiEventFilterGetNext",1],["kvnHpiEventActionGet","Rear door opened",0],
      ["kvnHpiEventActionGet","Rear door opened",1],
      ["kvnHpiEventFilterGetNext",2],["kvnHpiEventActionGet","Outlet current report",0]])"));

  const Json periodic = Call(131, nullptr)["response"];
  ASSERT_EQ(periodic.size(), 3u);
  EXPECT_EQ(periodic[0]["PERIOD"], 0);
  EXPECT_EQ(periodic[2], Json::parse(R"({"ACTS":[2],"EXPR":"current","NAME":"Outlet current report","PERIOD":3600})"));
  EXPECT_EQ(CallNames()[0], "kvnHpiEventFilterGetNext2");

  // Both lists fail under the first walk's name; an empty list is an empty array.
  FailNext("kvnHpiEventFilterGetNext2", -1004);
  EXPECT_EQ(Status(131, nullptr), Error(9, "kvnHpiEventFilterGetNext", 1004));
  sim().Fault({{"rpc", Rpc("kvnHpiEventActionGet")}, {"error", -1002}});
  EXPECT_EQ(Status(46, nullptr), Error(9, "kvnHpiEventActionGet", 1002));
  sim().Set("/event_filters", Json::array());
  EXPECT_EQ(Call(46, nullptr)["response"], Json::array());
}

TEST_F(Filters, StoredParametersReadBackInTheFormOfTheirType) {
  sim().Set("/event_filters/0/actions", Json::parse(R"([
      {"disp":7,"type":0,"parm":"logger -t rack"},
      {"disp":0,"type":1,"parm":" a, b "},
      {"disp":0,"type":2,"parm":"ignored"},
      {"disp":1,"type":3,"parm":" \tops@example.com\nHot\nFirst line\nSecond line"},
      {"disp":1,"type":3,"parm":"ops@example.com"},
      {"disp":1,"type":3,"parm":"ops@example.com\nHot"},
      {"disp":0,"type":4,"parm":"10.0.0.1"},
      {"disp":0,"type":5,"parm":"admin;operator,,viewer "},
      {"disp":0,"type":7,"parm":" a\tb\nc"},
      {"disp":4294967295,"type":9,"parm":"x"}])"));
  EXPECT_EQ(Call(49, {{"NAME", kHot}})["response"], Json::parse(R"([
      {"DISP":7,"ID":0,"PARM":"logger -t rack","TYPE":0},
      {"DISP":0,"ID":1,"PARM":" a, b ","TYPE":1},
      {"DISP":0,"ID":2,"PARM":"","TYPE":2},
      {"DISP":1,"ID":3,"PARM":{"EMAIL":"ops@example.com","MSG":"First line\nSecond line","THEME":"Hot"},"TYPE":3},
      {"DISP":1,"ID":4,"PARM":{"EMAIL":"","MSG":"","THEME":""},"TYPE":3},
      {"DISP":1,"ID":5,"PARM":{"EMAIL":"ops@example.com","MSG":"","THEME":""},"TYPE":3},
      {"DISP":0,"ID":6,"PARM":"10.0.0.1","TYPE":4},
      {"DISP":0,"ID":7,"PARM":["admin","operator","","viewer"],"TYPE":5},
      {"DISP":0,"ID":8,"PARM":["a","b","c"],"TYPE":7},
      {"DISP":4294967295,"ID":9,"PARM":"","TYPE":9}])"));

  EXPECT_EQ(CallNames().size(), 10u);

  // A named list reads the same way, through its own call.
  EXPECT_EQ(Call(142, {{"NAME", kTeam}})["response"][1],
            Json::parse(R"({"DISP":0,"ID":1,"PARM":["192.0.2.10","192.0.2.11"],"TYPE":6})"));
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiNamedActionListActionGet","Security team",0],
                                         ["kvnHpiNamedActionListActionGet","Security team",1]])"));
}

TEST_F(Filters, ParametersAreWrittenInTheFormOfTheirType) {
  const Json mail = {{"EMAIL", "ops@example.com"}, {"THEME", "Hot"}, {"MSG", "Line 1\nLine 2"}};
  EXPECT_EQ(Status(51, {{"NAME", kHot}, {"DISP", 1}, {"TYPE", 3}, {"PARM", mail}}), Ok());
  EXPECT_EQ(Status(51, {{"NAME", kHot}, {"DISP", 2}, {"TYPE", 5}, {"PARM", {"a", "b", "c"}}}), Ok());
  EXPECT_EQ(Status(51, {{"NAME", kHot}, {"DISP", 3}, {"TYPE", 2}}), Ok());  // no PARM to read
  EXPECT_EQ(Status(51, {{"NAME", kHot}, {"DISP", 4}, {"TYPE", 8}, {"PARM", 17}}), Ok());
  EXPECT_EQ(Status(51, {{"NAME", kHot}, {"DISP", 5}, {"TYPE", 6}, {"PARM", Json::array()}}), Ok());
  EXPECT_EQ(Status(51, {{"NAME", kHot}, {"DISP", 6}, {"TYPE", 0}, {"PARM", std::string(300, 'x')}}), Ok());
  Json sent = Json::parse(R"([
      ["kvnHpiEventActionAdd","Rack too hot",1,3,"ops@example.com\nHot\nLine 1\nLine 2"],
      ["kvnHpiEventActionAdd","Rack too hot",2,5,"a;b;c"],
      ["kvnHpiEventActionAdd","Rack too hot",3,2,""],
      ["kvnHpiEventActionAdd","Rack too hot",4,8,""],
      ["kvnHpiEventActionAdd","Rack too hot",5,6,""]])");
  sent.push_back({"kvnHpiEventActionAdd", kHot, 6, 0, std::string(255, 'x')});  // a text buffer's capacity
  EXPECT_EQ(CallArgs(), sent);
  const Json stored = Model("/event_filters/0/actions");
  ASSERT_EQ(stored.size(), 8u);
  EXPECT_EQ(stored[7]["parm"], std::string(255, 'x'));
  const Json read = Call(49, {{"NAME", kHot}})["response"];
  EXPECT_EQ(read[2]["PARM"], mail);
  EXPECT_EQ(read[3]["PARM"], Json::parse(R"(["a","b","c"])"));
  EXPECT_EQ(read[4]["PARM"], "");

  // Setting replaces one action in place, under its id.
  EXPECT_EQ(Status(50, {{"ID", 1}, {"NAME", kHot}, {"DISP", 9}, {"TYPE", 4}, {"PARM", "10.0.0.9"}}), Ok());
  EXPECT_EQ(Model("/event_filters/0/actions/1"), Json::parse(R"({"disp":9,"parm":"10.0.0.9","type":4})"));
  EXPECT_EQ(Status(50, {{"ID", 8}, {"NAME", kHot}, {"DISP", 9}, {"TYPE", 2}}), Error(9, "kvnHpiEventActionSet", 1011));
  // Removing renumbers the actions after it.
  EXPECT_EQ(Status(52, {{"ID", 0}, {"NAME", kHot}}), Ok());
  EXPECT_EQ(Call(49, {{"NAME", kHot}})["response"][0]["DISP"], 9);
  EXPECT_EQ(Status(52, {{"ID", 7}, {"NAME", kHot}}), Error(9, "kvnHpiEventActionRemove", 1011));
}

TEST_F(Filters, MissingKeysAndWrongTypesAreReportedInOrderBeforeAnyCall) {
  Json prm = Json::object();
  for (const char *key : {"ID", "NAME", "DISP", "TYPE", "PARM"}) {
    EXPECT_EQ(Status(50, prm), Error(5, key));
    prm[key] = std::string(key) == "NAME" ? Json(kHot) : Json(key == std::string("TYPE") ? 3 : 0);
  }
  prm["PARM"] = Json::object();
  for (const char *member : {"EMAIL", "THEME", "MSG"}) {
    EXPECT_EQ(Status(50, prm), Error(5, std::string("PARM:") + member));
    prm["PARM"][member] = "";
  }
  EXPECT_EQ(Status(50, {{"ID", 0}, {"NAME", kHot}, {"DISP", 0}, {"TYPE", 3}, {"PARM", "a@b"}}), Error(5, "PARM:EMAIL"));
  EXPECT_EQ(Status(51, {{"DISP", 0}}), Error(5, "NAME"));
  EXPECT_EQ(Status(139, {{"NAME", kTeam}, {"DISP", 0}, {"TYPE", 1}}), Error(5, "PARM"));
  EXPECT_EQ(Status(141, {{"NAME", kTeam}}), Error(5, "ID"));
  EXPECT_EQ(Status(52, {{"NAME", kHot}}), Error(5, "ID"));
  EXPECT_EQ(Status(140, {{"ID", 0}}), Error(5, "NAME"));
  EXPECT_EQ(Status(144, {{"FILTER", kHot}}), Error(5, "NAME"));
  EXPECT_EQ(Status(144, {{"NAME", kTeam}}), Error(5, "FILTER"));
  EXPECT_EQ(Status(147, {{"NAME", "x"}}), Error(5, "RULE"));
  EXPECT_EQ(Status(147, {{"RULE", kHot}}), Error(5, "NAME"));
  EXPECT_EQ(Status(150, {{"RULE", "*"}, {"SNUM", 1}}), Error(5, "RID"));
  EXPECT_EQ(Status(151, {{"RID", 2001}, {"SNUM", 1}}), Error(5, "TAG"));

  Json periodic = Json::object();
  for (const char *key : {"NAME", "EXPR", "PERIOD", "UPDATE"}) {
    EXPECT_EQ(Status(132, periodic), Error(5, key));
    periodic[key] = std::string(key) == "PERIOD" ? Json(60) : Json("x");
  }
  periodic["UPDATE"] = 1;
  EXPECT_EQ(Status(132, periodic), TypeError("boolean, but is number"));
  EXPECT_EQ(Status(51, {{"NAME", kHot}, {"DISP", 0}, {"TYPE", 5}, {"PARM", "a;b"}}), TypeError("array, but is string"));
  EXPECT_EQ(Status(51, {{"NAME", kHot}, {"DISP", 0}, {"TYPE", 6}, {"PARM", {"a", 1}}}),
            TypeError("string, but is number"));
  EXPECT_EQ(Status(51, {{"NAME", kHot}, {"DISP", 0}, {"TYPE", 1}, {"PARM", {"a"}}}), TypeError("string, but is array"));
  EXPECT_EQ(Status(52, {{"ID", "0"}, {"NAME", kHot}}), TypeError("number, but is string"));
  EXPECT_EQ(CallNames(), Json::array());
}

TEST_F(Filters, ReplacingAPeriodicFilterReaddsItsActionsInOrder) {
  EXPECT_EQ(Status(132, {{"NAME", kHot}, {"EXPR", "temperature >= minor"}, {"PERIOD", 60}, {"UPDATE", true}}), Ok());
  EXPECT_EQ(CallArgs(), Json::parse(R"([
      ["kvnHpiEventActionGet","Rack too hot",0],["kvnHpiEventActionGet","Rack too hot",1],
      ["kvnHpiEventFilterRemove","Rack too hot"],
      ["kvnHpiPeriodicExpressionCreate","Rack too hot","temperature >= minor",60],
      ["kvnHpiEventActionAdd","Rack too hot",1,3,
       "ops@example.com\nRack A3 too hot\nAn inlet or outlet temperature passed its major threshold.\nCheck the cooling."],
      ["kvnHpiEventActionAdd","Rack too hot",1,5,"admin;operator"]])"));
  const Json filter = Model("/event_filters/2");
  EXPECT_EQ(filter["name"], kHot);
  EXPECT_EQ(filter["period"], 60);
  EXPECT_EQ(filter["actions"].size(), 2u);

  // Without UPDATE an existing name goes to the daemon as it is, which refuses it.
  EXPECT_EQ(Status(132, {{"NAME", kHot}, {"EXPR", "x"}, {"PERIOD", 5}, {"UPDATE", false}}),
            Error(9, "kvnHpiPeriodicExpressionCreate", 1013));
  EXPECT_EQ(CallNames(), Json::parse(R"(["kvnHpiPeriodicExpressionCreate"])"));
  EXPECT_EQ(Status(132, {{"NAME", "Every minute"}, {"EXPR", "*"}, {"PERIOD", 60}, {"UPDATE", false}}), Ok());
  EXPECT_EQ(Call(131, nullptr)["response"][3],
            Json::parse(R"({"ACTS":[],"EXPR":"*","NAME":"Every minute","PERIOD":60})"));
}

TEST_F(Filters, AFailedReplacementStepKeepsTheStepsBeforeIt) {
  const Json replace = {{"NAME", kHot}, {"EXPR", "temperature"}, {"PERIOD", 60}, {"UPDATE", true}};
  FailNext("kvnHpiPeriodicExpressionCreate", -1007);
  EXPECT_EQ(Status(132, replace), Error(9, "kvnHpiPeriodicExpressionCreate", 1007));
  EXPECT_EQ(Model("/event_filters").size(), 2u);  // removed, and not created again
  EXPECT_EQ(Model("/event_filters/0/name"), kDoor);

  sim().LoadDemo();
  sim().Fault({{"rpc", Rpc("kvnHpiEventActionAdd")}});  // the first action goes back
  FailNext("kvnHpiEventActionAdd", -1007);
  EXPECT_EQ(Status(132, replace), Error(9, "kvnHpiEventActionAdd", 1007));
  EXPECT_EQ(Model("/event_filters/2/actions"), Json::parse(R"([{"disp":1,"parm":
      "ops@example.com\nRack A3 too hot\nAn inlet or outlet temperature passed its major threshold.\nCheck the cooling.",
      "type":3}])"));

  // A filter that cannot be read is not removed.
  sim().LoadDemo();
  FailNext("kvnHpiEventActionGet", -1004);  // any error but the walk's end
  EXPECT_EQ(Status(132, replace)["RC"], 9);
  EXPECT_EQ(Model("/event_filters/0/name"), kHot);
}

TEST_F(Filters, NamedListsAreSharedCopiedAndConverted) {
  EXPECT_EQ(Call(138, nullptr)["response"], Json::parse(R"([{"ID":0,"NAME":"Security team"}])"));
  EXPECT_EQ(Call(143, {{"NAME", kDoor}})["response"], Json::parse(R"({"internal":false,"name":"Security team"})"));
  EXPECT_EQ(Call(143, {{"NAME", kHot}}).dump(),
            R"({"MN":null,"response":{"internal":true},"status":{"IC":0,"RC":0,"RCT":"OK"}})");
  EXPECT_EQ(Status(143, {{"NAME", "nobody"}}), Error(9, "kvnHpiEventActionListNameGet", 1009));

  // A filter on a named list reads the list's actions, also after the list changes.
  EXPECT_EQ(Status(139, {{"NAME", kTeam}, {"DISP", 2}, {"TYPE", 4}, {"PARM", "10.1.1.1"}}), Ok());
  EXPECT_EQ(Call(49, {{"NAME", kDoor}})["response"][2]["PARM"], "10.1.1.1");
  EXPECT_EQ(Status(137, {{"NAME", kTeam}}), Error(9, "kvnHpiNamedActionListRemove", 1003));

  // A private copy stays as it was when the list changes.
  EXPECT_EQ(Status(145, {{"FILTER", kDoor}}), Ok());
  EXPECT_EQ(Call(143, {{"NAME", kDoor}})["response"], Json::parse(R"({"internal":true})"));
  EXPECT_EQ(Status(140, {{"NAME", kTeam}, {"ID", 0}}), Ok());
  EXPECT_EQ(Call(142, {{"NAME", kTeam}})["response"].size(), 2u);
  EXPECT_EQ(Call(49, {{"NAME", kDoor}})["response"].size(), 3u);

  // Converting names the filter's own actions; a name in use is refused.
  EXPECT_EQ(Status(147, {{"RULE", kHot}, {"NAME", "Cooling"}}), Ok());
  EXPECT_EQ(Status(147, {{"RULE", kDoor}, {"NAME", "Cooling"}}), Error(9, "kvnHpiEventActionListConvertToNamed", 1013));
  EXPECT_EQ(Call(138, nullptr)["response"],
            Json::parse(R"([{"ID":0,"NAME":"Security team"},{"ID":1,"NAME":"Cooling"}])"));
  EXPECT_EQ(Call(143, {{"NAME", kHot}})["response"]["name"], "Cooling");
  EXPECT_EQ(Call(142, {{"NAME", "Cooling"}})["response"].size(), 2u);

  EXPECT_EQ(Status(136, {{"NAME", "Night shift"}}), Ok());
  EXPECT_EQ(Status(136, {{"NAME", "Night shift"}}), Error(9, "kvnHpiNamedActionListCreate", 1013));
  EXPECT_EQ(Status(144, {{"NAME", "Night shift"}, {"FILTER", kHot}}), Ok());
  EXPECT_EQ(CallArgs().back(), Json::parse(R"(["kvnHpiEventActionListSetNamed","Rack too hot","Night shift"])"));
  EXPECT_EQ(Call(49, {{"NAME", kHot}})["response"], Json::array());
  EXPECT_EQ(Status(137, {{"NAME", "Cooling"}}), Ok());
  EXPECT_EQ(Status(137, {{"NAME", "Cooling"}}), Error(9, "kvnHpiNamedActionListRemove", 1011));
}

TEST_F(Filters, FiltersAreCreatedAndRemovedByTheAdministratorOnly) {
  EXPECT_EQ(Status(47, {{"NAME", "Voltage"}, {"EXPR", "voltage < minor"}}), Ok());
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiEventFilterCreate","Voltage","voltage < minor"]])"));
  EXPECT_EQ(Model("/event_filters/3"),
            Json::parse(R"({"actions":[],"expression":"voltage < minor","list":"","name":"Voltage","period":null})"));
  EXPECT_EQ(Status(47, {{"NAME", "Voltage"}, {"EXPR", "*"}}), Error(9, "kvnHpiEventFilterCreate", 1013));
  EXPECT_EQ(Status(47, {{"NAME", "Empty"}, {"EXPR", ""}}), Error(9, "kvnHpiEventFilterCreate", 1009));
  EXPECT_EQ(Status(48, {{"NAME", "Voltage"}}), Ok());
  EXPECT_EQ(Status(48, {{"NAME", "Voltage"}}), Error(9, "kvnHpiEventFilterRemove", 1011));

  const std::string operator_sid = LoginSid("operator", "operator-secret");
  EXPECT_EQ(Call(operator_sid, 47, {{"NAME", "Mine"}, {"EXPR", "*"}})["status"],
            Error(9, "kvnHpiEventFilterCreate", 1050));
  EXPECT_EQ(Call(operator_sid, 46, nullptr)["response"].size(), 3u);
}

TEST_F(Filters, VerifyingAsksTheDaemonAboutOneSensor) {
  EXPECT_EQ(Call(150, {{"RULE", "Temperature > 30"}, {"RID", 2001}, {"SNUM", 1}})["response"],
            Json::parse(R"({"applicable":1})"));
  EXPECT_EQ(Call(150, {{"RULE", "Temperature > 30"}, {"RID", 2001}, {"SNUM", 2}})["response"],
            Json::parse(R"({"applicable":0})"));
  EXPECT_EQ(Call(151, {{"TAG", kDoor}, {"RID", 2002}, {"SNUM", 1}})["response"], Json::parse(R"({"applicable":1})"));
  EXPECT_EQ(CallArgs(), Json::parse(R"([
      ["kvnHpiVerifyExpressionForSensor","Temperature > 30",2001,1],
      ["kvnHpiVerifyExpressionForSensor","Temperature > 30",2001,2],
      ["kvnHpiVerifyFilterForSensor","Rear door opened",2002,1]])"));
  EXPECT_EQ(Status(150, {{"RULE", "*"}, {"RID", 2001}, {"SNUM", 9}}),
            Error(9, "kvnHpiVerifyExpressionForSensor", 1011));
  EXPECT_EQ(Status(151, {{"TAG", "nobody"}, {"RID", 2001}, {"SNUM", 1}}),
            Error(9, "kvnHpiVerifyFilterForSensor", 1011));
}

// A daemon that hands back an id it handed out before would keep every walk
// going round; each answers invalid data from the daemon instead.
TEST_F(Filters, EveryWalkEndsWhenTheDaemonRepeatsAnId) {
  RepeatId(Rpc("kvnHpiEventFilterGetNext"), 0, 1);  // 0 -> 1 -> 0
  EXPECT_EQ(Status(46, nullptr), Error(9, "kvnHpiEventFilterGetNext", 1010));
  EXPECT_EQ(CallArgs(), Json::parse(R"([
      ["kvnHpiEventFilterGetNext",0],["kvnHpiEventActionGet","Rack too hot",0],
      ["kvnHpiEventActionGet","Rack too hot",1],
      ["kvnHpiEventFilterGetNext",1],["kvnHpiEventActionGet","Rear door opened",0],
      ["kvnHpiEventActionGet","Rear door opened",1]])"));

  RepeatId(Rpc("kvnHpiEventFilterGetNext2"), 1, 1);  // 0 -> 1 -> 1
  EXPECT_EQ(Status(131, nullptr), Error(9, "kvnHpiEventFilterGetNext", 1010));
  Calls();
  RepeatId(Rpc("kvnHpiEventActionGet"), 0);
  EXPECT_EQ(Status(49, {{"NAME", kHot}}), Error(9, "kvnHpiEventActionGet", 1010));
  EXPECT_EQ(CallNames().size(), 1u);  // 0 comes back at once
  RepeatId(Rpc("kvnHpiNamedActionListActionGet"), 0, 1);
  EXPECT_EQ(Status(142, {{"NAME", kTeam}}), Error(9, "kvnHpiNamedActionListActionGet", 1010));
  RepeatId(Rpc("kvnHpiNamedActionListGetNext"), 0);
  EXPECT_EQ(Status(138, nullptr), Error(9, "kvnHpiNamedActionListGetNext", 1010));

  // The fault takes integers only, also a member of a record (an alarm's id).
  EXPECT_EQ(
      sim().Command({{"cmd", "fault"}, {"rpc", Rpc("kvnHpiEventFilterGetNext")}, {"output", 1}, {"value", 0}})["ok"],
      false);
  EXPECT_EQ(sim().Command({{"cmd", "fault"},
                           {"rpc", Rpc("kvnHpiEventFilterGetNext")},
                           {"output", 0},
                           {"member", 0},
                           {"value", 0}})["ok"],
            false);
  EXPECT_EQ(
      sim().Command(
          {{"cmd", "fault"}, {"rpc", Rpc("saHpiAlarmGetNext")}, {"output", 0}, {"member", 0}, {"value", 0}})["ok"],
      true);
  sim().Command({{"cmd", "clear_faults"}});

  // A replacement whose actions cannot all be read leaves the filter alone.
  Calls();
  RepeatId(Rpc("kvnHpiEventActionGet"), 0, 1);
  EXPECT_EQ(Status(132, {{"NAME", kHot}, {"EXPR", "x"}, {"PERIOD", 1}, {"UPDATE", true}}),
            Error(9, "kvnHpiEventActionGet", 1010));
  EXPECT_EQ(CallNames(), Json::parse(R"(["kvnHpiEventActionGet","kvnHpiEventActionGet"])"));
  EXPECT_EQ(Model("/event_filters/0/name"), kHot);
}

}  // namespace
}  // namespace kvnc::test
