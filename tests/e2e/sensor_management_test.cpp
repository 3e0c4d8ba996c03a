// Managed sensors, user sensor types and the sensor log end to end against
// the simulated demo rack (managed sensors 1 and 2 on the inlet probe 2001,
// 3 detached; one user type "Door contact").
#include <string>

#include "tests/e2e/monitor_fixture.h"

namespace kvnc::test {
namespace {

using Json = nlohmann::json;

Json States(const std::vector<std::string> &names) {
  Json states = Json::array();
  for (size_t i = 0; i < names.size(); ++i) states.push_back({{"name", names[i]}, {"svrt", static_cast<int>(i % 5)}});
  return states;
}

// A log frozen at the given entries: its periods are taken up to 2096.
Json FrozenLog(const Json &entries, int size = 10) {
  return {{"enabled", 1}, {"period", 300}, {"size", size}, {"taken", 4000000000LL}, {"entries", entries}};
}

class SensorManagement : public MonitorApi {};

TEST_F(SensorManagement, UserTypeStatesTravelAsMaskSeveritiesAndTwoNameBuffers) {
  const Json two = {{{"name", "Open"}, {"svrt", 1}}, {{"name", "Closed"}, {"svrt", 0}}};
  EXPECT_EQ(Status(126, {{"name", "Window"}, {"states", two}}), Ok());
  Json calls = Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0]["function"], "kvnHpiSensorUserTypeAdd");
  const Json &args = calls[0]["args"];
  EXPECT_EQ(Json(args.begin() + 1, args.end()), Json::parse(R"(["Window","Open\nClosed","",3,[2,[1,0]]])"));
  EXPECT_EQ(Call(125, nullptr)["response"][1],
            Json::parse(R"({"name":"Window","type":2,"states":[{"name":"Open","state":0,"svrt":1},)"
                        R"({"name":"Closed","state":1,"svrt":0}]})"));

  // 300 bytes joined: 255 + 45.
  Calls();
  const std::vector<std::string> medium = {std::string(150, 'a'), std::string(149, 'b')};
  EXPECT_EQ(Status(127, {{"type", 2}, {"states", States(medium)}}), Ok());
  calls = Calls();
  const std::string joined = medium[0] + "\n" + medium[1];
  EXPECT_EQ(calls[0]["args"][2], joined.substr(0, 255));
  EXPECT_EQ(calls[0]["args"][3], joined.substr(255));
  EXPECT_EQ(calls[0]["args"][3].get<std::string>().size(), 45u);
  EXPECT_EQ(Call(125, nullptr)["response"][1]["states"][1]["name"], medium[1]);

  // 600 bytes: 255 + 255, the rest cut; the third name comes back cut short.
  Calls();
  const std::vector<std::string> big = {std::string(200, 'c'), std::string(199, 'd'), std::string(199, 'e')};
  EXPECT_EQ(Status(127, {{"type", 2}, {"states", States(big)}}), Ok());
  calls = Calls();
  const std::string long_joined = big[0] + "\n" + big[1] + "\n" + big[2];
  ASSERT_EQ(long_joined.size(), 600u);
  EXPECT_EQ(calls[0]["args"][2], long_joined.substr(0, 255));
  EXPECT_EQ(calls[0]["args"][3], long_joined.substr(255, 255));
  EXPECT_EQ(calls[0]["args"][4], 0x7);
  EXPECT_EQ(Call(125, nullptr)["response"][1]["states"][2]["name"], std::string(109, 'e'));
}

TEST_F(SensorManagement, UserTypesWithMoreThanSixteenStatesAreRefusedUnsent) {
  std::vector<std::string> names;
  for (int i = 0; i < 17; ++i) names.push_back("s" + std::to_string(i));
  EXPECT_EQ(Status(126, {{"name", "Many"}, {"states", States(names)}}), Error(6, "states"));
  EXPECT_EQ(Status(127, {{"type", 1}, {"states", States(names)}}), Error(6, "states"));
  // Bad input of every other kind is found before anything is sent, too.
  EXPECT_EQ(Status(126, {{"states", States({"a"})}}), Error(5, "name"));
  EXPECT_EQ(Status(126, {{"name", "X"}}), Error(5, "states"));
  EXPECT_EQ(Status(126, {{"name", "X"}, {"states", "a"}}), Error(6, "states"));
  EXPECT_EQ(Status(126, {{"name", "X"}, {"states", {{{"name", "a"}, {"svrt", 1}}, {{"name", "b"}}}}}),
            Error(5, "svrt"));
  EXPECT_EQ(Status(127, {{"type", 1}, {"states", {{{"svrt", 1}}}}}), Error(5, "name"));
  EXPECT_EQ(Status(127, {{"type", 1}, {"states", {{{"name", 5}, {"svrt", 1}}}}}), TypeError("string, but is number"));
  EXPECT_EQ(CallNames(), Json::array());
  EXPECT_EQ(Model("/user_types").size(), 1u);

  names.pop_back();  // sixteen fill the mask
  EXPECT_EQ(Status(127, {{"type", 1}, {"states", States(names)}}), Ok());
  EXPECT_EQ(Calls()[0]["args"][4], 0xFFFF);
  EXPECT_EQ(Model("/user_types/0/states").size(), 16u);
}

TEST_F(SensorManagement, UserTypesAreListedAssignedAndDeleted) {
  EXPECT_EQ(Call(125, nullptr)["response"],
            Json::parse(R"([{"name":"Door contact","type":1,"states":[{"name":"Closed","state":0,"svrt":4},)"
                        R"({"name":"Open","state":1,"svrt":1}]}])"));
  EXPECT_EQ(Status(126, {{"name", "Door contact"}, {"states", States({"a"})}}),
            Error(9, "kvnHpiSensorUserTypeAdd", 1013));

  EXPECT_EQ(Status(129, {{"RID", 2002}, {"SNUM", 1}, {"TYPE", "Door contact"}}), Ok());
  EXPECT_EQ(Model("/resources/2002/sensors/1/user_type"), "Door contact");
  EXPECT_EQ(Status(129, {{"RID", 2002}, {"SNUM", 1}, {"TYPE", "Nothing"}}),
            Error(9, "kvnHpiSensorTypeSetByName", 1011));
  EXPECT_EQ(Status(129, {{"RID", 2002}, {"SNUM", 1}}), Error(5, "TYPE"));
  EXPECT_EQ(Status(128, {{"type", 1}}), Error(9, "kvnHpiSensorUserTypeDelete", 1003));  // in use

  EXPECT_EQ(Status(129, {{"RID", 2002}, {"SNUM", 1}, {"TYPE", ""}}), Ok());
  EXPECT_EQ(Status(128, {{"type", 1}}), Ok());
  Calls();
  EXPECT_EQ(Call(125, nullptr)["response"], Json::array());  // a daemon without user types
  EXPECT_EQ(CallNames(), Json::parse(R"(["kvnHpiSensorUserTypeInfoGet"])"));
  EXPECT_EQ(Status(128, {{"type", 1}}), Error(9, "kvnHpiSensorUserTypeDelete", 1011));
  EXPECT_EQ(Status(128, Json::object()), Error(5, "type"));
}

TEST_F(SensorManagement, UserTypeListEndsWhenTheDaemonRepeatsACursorOrFails) {
  sim().Fault({{"rpc", Rpc("kvnHpiSensorUserTypeInfoGet")}, {"output", 5}, {"value", 0}});
  EXPECT_EQ(Status(125, nullptr), Error(9, "kvnHpiSensorUserTypeInfoGet", 1010));
  FailNext("kvnHpiSensorUserTypeInfoGet", -1004);
  EXPECT_EQ(Status(125, nullptr), Error(9, "kvnHpiSensorUserTypeInfoGet", 1004));
}

TEST_F(SensorManagement, SensorsAreManagedAttachedAndDetached) {
  EXPECT_EQ(Call(76, {{"RID", 4001}, {"NUM", 1}, {"AUTO", 1}})["response"], Json::parse(R"({"SNUM":4})"));
  EXPECT_EQ(Call(76, {{"RID", 4001}, {"NUM", 1}, {"AUTO", 0}})["response"], Json::parse(R"({"SNUM":4})"));
  EXPECT_EQ(Call(77, {{"ID", 4001}, {"NUM", 1}})["response"], Json::parse(R"({"SNUM":4})"));
  EXPECT_EQ(Status(76, {{"RID", 4001}, {"NUM", 1}}), Error(5, "AUTO"));
  EXPECT_EQ(Status(76, {{"RID", 4001}, {"NUM", 9}, {"AUTO", 0}}), Error(9, "kvnHpiSensorManage", 1011));

  EXPECT_EQ(Status(79, {{"NUM", 4}}), Ok());
  EXPECT_EQ(Status(77, {{"ID", 4001}, {"NUM", 1}}), Error(9, "kvnHpiSensorManagedNumberGet", 1011));
  Calls();
  EXPECT_EQ(Status(78, {{"RID", 4001}, {"NUM", 1}, {"MNUM", 4}}), Ok());
  const Json calls = Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(Json(calls[0]["args"].begin() + 1, calls[0]["args"].end()), Json::parse("[4,4001,1]"));  // MNUM first
  EXPECT_EQ(Status(78, {{"RID", 2001}, {"NUM", 1}, {"MNUM", 3}}), Error(9, "kvnHpiSensorAttach", 1013));
  EXPECT_EQ(Status(78, {{"RID", 2001}, {"NUM", 1}}), Error(5, "MNUM"));
  EXPECT_EQ(Status(79, {{"NUM", 99}}), Error(9, "kvnHpiSensorDetach", 1011));
  EXPECT_EQ(Model("/managed_sensors/4/attached"), 1);
}

TEST_F(SensorManagement, SettingsAreReadWholeAndWrittenInOrder) {
  EXPECT_EQ(Call(80, {{"NUM", 3}})["response"],
            Json::parse(R"({"descr":"Outlet temperature, taken off for service","type":"Temperature",)"
                        R"("subtype":"Exhaust","x":"","y":"","z":"","nz":0,"state":0,"rid":2003,"sen":1})"));
  EXPECT_EQ(Status(80, {{"NUM", 99}}), Error(9, "kvnHpiSensorDescriptionGet", 1011));
  FailNext("kvnHpiSensorAttachStateGet", -1004);
  EXPECT_EQ(Status(80, {{"NUM", 1}}), Error(9, "kvnHpiSensorAttachStateGet", 1004));

  Json prm = {{"NUM", 2},           {"descr", "Humidity at the top"},
              {"type", "Humidity"}, {"subtype", "Top"},
              {"x", "10"},          {"y", "200"},
              {"z", "rear"},        {"nz", 1}};
  for (const char *key : {"descr", "nz", "z"}) {
    Json bad = prm;
    bad.erase(key);
    EXPECT_EQ(Status(81, bad), Error(5, key));
  }
  Json bad = prm;
  bad["nz"] = "1";
  EXPECT_EQ(Status(81, bad), TypeError("number, but is string"));
  Calls();
  EXPECT_EQ(Status(81, prm), Ok());
  EXPECT_EQ(CallNames(), Json::parse(R"(["kvnHpiSensorDescriptionSet","kvnHpiSensorUserTypeSet",)"
                                     R"("kvnHpiSensorCoordinatesSet"])"));
  EXPECT_EQ(Call(80, {{"NUM", 2}})["response"],
            Json::parse(R"({"descr":"Humidity at the top","type":"Humidity","subtype":"Top","x":"10","y":"200",)"
                        R"("z":"rear","nz":0,"state":1,"rid":2001,"sen":2})"));

  // The first refusal stops the rest; what was written before stays.
  FailNext("kvnHpiSensorUserTypeSet", -1050);
  prm["descr"] = "Changed";
  prm["type"] = "Not written";
  EXPECT_EQ(Status(81, prm), Error(9, "kvnHpiSensorUserTypeSet", 1050));
  EXPECT_EQ(Model("/managed_sensors/2/description"), "Changed");
  EXPECT_EQ(Model("/managed_sensors/2/type"), "Humidity");
}

TEST_F(SensorManagement, LogSettingsChangeOnlyWhatIsGiven) {
  EXPECT_EQ(Call(92, nullptr)["response"], Json::parse(R"({"enabled":1,"period":300})"));
  Calls();
  EXPECT_EQ(Status(93, {{"period", 60}}), Ok());
  EXPECT_EQ(CallNames(), Json::parse(R"(["kvnHpiSensorLogAccumPeriodSet"])"));
  EXPECT_EQ(Call(92, nullptr)["response"], Json::parse(R"({"enabled":1,"period":60})"));
  Calls();
  EXPECT_EQ(Status(93, Json::object()), Ok());
  EXPECT_EQ(Status(93, {{"enabled", 0}, {"period", "5"}}), TypeError("number, but is string"));
  EXPECT_EQ(CallNames(), Json::array());

  EXPECT_EQ(Status(93, {{"enabled", 0}, {"period", 0}}), Error(9, "kvnHpiSensorLogAccumPeriodSet", 1009));
  EXPECT_EQ(Model("/sensor_log/enabled"), 0);  // set before the period was refused
  FailNext("kvnHpiSensorLogEnableGet", -1004);
  EXPECT_EQ(Status(92, nullptr), Error(9, "kvnHpiSensorLogEnableGet", 1004));
}

TEST_F(SensorManagement, LogOfOneSensorWithTimesSizeAndSkippedPeriods) {
  sim().Set("/sensor_log", FrozenLog(Json::array()));
  EXPECT_EQ(Call(94, {{"sn", 1}})["response"], Json::parse(R"({"state":2})"));

  const Json record = {{"sensor", 1}, {"count", 10},  {"state_count", 2}, {"avr", 21.5},
                       {"min", 20.0}, {"max", 23.25}, {"dsp", 0.5},       {"aes", 8}};
  Json other = record;
  other["sensor"] = 2;
  sim().Set("/sensor_log", FrozenLog({{{"index", 5}, {"time", 1700000000000000000LL}, {"records", {record}}},
                                      {{"index", 6}, {"time", 1700000300000000000LL}, {"records", {other}}},
                                      {{"index", 7}, {"time", 1700000600000000000LL}, {"records", {other, record}}}}));
  EXPECT_EQ(Call(94, {{"sn", 1}})["response"],
            Json::parse(R"({"state":0,"size":9,"fid":5,"lid":7,"log":[)"
                        R"({"ID":5,"TS":"Tue Nov 14 22:13:20 2023","RC":10,"ESC":2,"AVR":21.5,"MIN":20.0,)"
                        R"("MAX":23.25,"DSP":0.5,"AES":8},)"
                        R"({"ID":7,"TS":"Tue Nov 14 22:23:20 2023","RC":10,"ESC":2,"AVR":21.5,"MIN":20.0,)"
                        R"("MAX":23.25,"DSP":0.5,"AES":8}]})"));
  EXPECT_EQ(Call(94, {{"sn", 9}})["response"]["log"], Json::array());
  EXPECT_EQ(Status(94, Json::object()), Error(5, "sn"));

  // A next index handed out before ends the walk; so does a failing entry.
  sim().Fault({{"rpc", Rpc("kvnHpiSensorLogTimestampGet")}});
  sim().Fault({{"rpc", Rpc("kvnHpiSensorLogTimestampGet")}, {"output", 1}, {"value", 5}});
  EXPECT_EQ(Status(94, {{"sn", 1}}), Error(9, "kvnHpiSensorLogTimestampGet", 1010));
  sim().Fault({{"rpc", Rpc("kvnHpiSensorLogEntryGet")}, {"error", -1004}});
  EXPECT_EQ(Status(94, {{"sn", 1}}), Error(9, "kvnHpiSensorLogEntryGet", 1004));
  FailNext("kvnHpiSensorLogFirstLastGet", -1004);
  EXPECT_EQ(Status(94, {{"sn", 1}}), Error(9, "kvnHpiSensorLogFirstLastGet", 1004));
}

TEST_F(SensorManagement, LogGrowsFromTheMovingReadingsOfAttachedSensors) {
  // The demo's log has not been looked at since long ago: a full log at once.
  const Json r = Call(94, {{"sn", 1}})["response"];
  EXPECT_EQ(r["size"], 287);
  ASSERT_EQ(r["log"].size(), 288u);
  EXPECT_EQ(r["lid"].get<int64_t>() - r["fid"].get<int64_t>(), 287);
  for (const Json &entry : r["log"]) {
    EXPECT_EQ(entry["RC"], 10);
    EXPECT_LE(entry["MIN"].get<double>(), entry["AVR"].get<double>());
    EXPECT_LE(entry["AVR"].get<double>(), entry["MAX"].get<double>());
  }
  EXPECT_EQ(Call(94, {{"sn", 3}})["response"]["log"], Json::array());  // detached
  // Disabled, the periods pass without entries.
  sim().Set("/sensor_log", {{"enabled", 0}, {"taken", 0}});
  EXPECT_EQ(Call(94, {{"sn", 1}})["response"], Json::parse(R"({"state":2})"));
}

}  // namespace
}  // namespace kvnc::test
