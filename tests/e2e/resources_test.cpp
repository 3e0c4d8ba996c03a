// Resources and their records end to end against the simulated demo rack.
#include <string>

#include "tests/e2e/monitor_fixture.h"

namespace kvnc::test {
namespace {

using Json = nlohmann::json;

// Resource 1000: records 1..6 are controls 1..4, sensor 1 and inventory 0;
// its path is chassis 1 in rack 1. Resource 2001: sensors 1 and 2 (humidity,
// whose range has a maximum and a minimum only).
constexpr int kController = 1000;
constexpr int kProbe = 2001;

class Resources : public MonitorApi {};

TEST_F(Resources, RecordListsWithInventoryPathsAndRanges) {
  Json r = Call(7, {{"ID", kController}})["response"];
  EXPECT_EQ(r["inv"], true);
  EXPECT_EQ(r["invid"], 0);
  ASSERT_EQ(r["rdrs"].size(), 6u);
  EXPECT_EQ(r["rdrs"][5], Json::parse(R"({"ep":[{"l":1,"t":65536},{"l":1,"t":23}],"i":{"OEM":0,"num":0,"pers":1},)"
                                      R"("id":"Controller inventory"})"));
  EXPECT_EQ(r["rdrs"][2]["c"]["stat"], Json::parse(R"({"def":50,"max":100,"min":0})"));

  r = Call(10, {{"ID", kProbe}})["response"];
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[1]["id"], "Inlet humidity");
  EXPECT_EQ(r[1]["ep"], Json::parse(R"([{"l":1,"t":65536},{"l":1,"t":23},{"l":1,"t":39}])"));
  EXPECT_EQ(r[1]["s"]["df"]["rng"], Json::parse(R"({"flags":24,"max":{"sup":1,"type":2,"value":100.0},)"
                                                R"("min":{"sup":1,"type":2,"value":0.0}})"));
  EXPECT_EQ(Call(10, {{"ID", 2002}})["response"][0]["s"]["df"], Json::parse(R"({"sup":0})"));

  // Given record ids: only the sensor records among them.
  r = Call(10, {{"ID", kController}, {"RID", {2, 5, 6}}})["response"];
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0]["id"], "Controller temperature");
  EXPECT_EQ(Call(10, {{"ID", kController}, {"RID", 1}})["response"], Json::array());
  EXPECT_EQ(Status(10, {{"ID", kController}, {"RID", {5, 9}}}), Error(9, "saHpiRdrGet", 1011));
  sim().Set("/resources/4002/sensors", Json::object());  // only a control left
  EXPECT_EQ(Call(10, {{"ID", 4002}})["response"], Json::array());

  sim().Fault({{"rpc", 34}, {"error", -1004}});
  EXPECT_EQ(Status(7, {{"ID", kController}}), Error(9, "saHpiRdrGet", 1004));
  sim().Fault({{"rpc", 34}, {"error", -1004}});
  EXPECT_EQ(Status(10, {{"ID", kController}}), Error(9, "saHpiRdrGet", 1004));

  r = Call(9, {{"ID", kController}, {"TYPE", 1}, {"NUM", {2, 4}}})["response"];
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0]["c"]["stat"], 1);
  EXPECT_FALSE(r[1]["c"].contains("stat"));  // a text control
  EXPECT_EQ(Call(9, {{"ID", kController}, {"TYPE", 3}, {"NUM", 0}})["response"][0]["i"]["num"], 0);
  EXPECT_EQ(Status(9, {{"ID", kController}, {"TYPE", 1}, {"NUM", {1, 7}}}),
            Error(9, "saHpiRdrGetByInstrumentId", 1011));
  EXPECT_EQ(Status(9, {{"ID", kController}, {"TYPE", 1}, {"NUM", {1, "2"}}}), TypeError("number, but is string"));
}

// Record ids come from the daemon: one leading back ends the list, and an
// endless run of new ones is refused instead of holding the worker.
TEST_F(Resources, RecordWalksEndOnARepeatedIdAndRefuseARunawayDaemon) {
  sim().Fault({{"rpc", 34}});
  sim().Fault({{"rpc", 34}, {"output", 0}, {"value", 2}});
  EXPECT_EQ(Call(7, {{"ID", kController}})["response"]["rdrs"].size(), 2u);

  Json sensors = Json::object();
  for (int n = 1; n <= 4097; ++n) sensors[std::to_string(n)] = {{"name", "s"}, {"type", 5}, {"category", 3}};
  sim().Set("/resources/2002/sensors", sensors);
  EXPECT_EQ(Status(10, {{"ID", 2002}}), Error(9, "saHpiRdrGet", 1010));
  sensors.erase("4097");
  sim().Set("/resources/2002/sensors", sensors);
  EXPECT_EQ(Call(10, {{"ID", 2002}})["response"].size(), 4096u);
}

TEST_F(Resources, InstrumentNamesAreSetCutOrRestored) {
  EXPECT_EQ(Call(53, {{"RID", kProbe}, {"NUM", 1}, {"DEFAULT", false}, {"NAME", "Hot aisle"}})["response"],
            Json::parse(R"({"DEFAULT":false,"NAME":"Hot aisle"})"));
  EXPECT_EQ(Model("/resources/2001/sensors/1/name"), "Hot aisle");
  EXPECT_EQ(Call(53, {{"RID", kProbe}, {"NUM", 1}, {"DEFAULT", true}, {"NAME", "ignored"}})["response"],
            Json::parse(R"({"DEFAULT":true,"NAME":"Inlet temperature"})"));
  EXPECT_EQ(Model("/resources/2001/sensors/1/name"), "Inlet temperature");

  const std::string long_name(300, 'r');
  EXPECT_EQ(Call(54, {{"RID", kController}, {"NUM", 1}, {"DEFAULT", false}, {"NAME", long_name}})["response"]["NAME"],
            long_name.substr(0, 255));
  EXPECT_EQ(Model("/resources/1000/controls/1/name"), long_name.substr(0, 255));

  EXPECT_EQ(Status(53, {{"RID", kProbe}, {"NUM", 1}, {"DEFAULT", "no"}}), TypeError("boolean, but is string"));
  EXPECT_EQ(Status(53, {{"RID", kProbe}, {"NUM", 1}, {"DEFAULT", false}}), Error(5, "NAME"));
}

TEST_F(Resources, DescriptionsOfTheDeviceAResourceAndAnInstrument) {
  EXPECT_EQ(Call(163, {{"TYPE", 0}})["response"], "Korvane RC-200 rack controller, demo rack A3");
  EXPECT_EQ(Call(163, {{"TYPE", 2}, {"RID", kController}, {"RTYPE", 2}, {"NUM", 1}})["response"],
            "Inside the controller housing");
  EXPECT_EQ(Status(163, {{"TYPE", 2}, {"RID", kController}, {"NUM", 1}}), Error(5, "RTYPE"));
  EXPECT_EQ(Status(164, {{"TYPE", 0}, {"DESCRIPTION", std::string(300, 'd')}}), Ok());
  EXPECT_EQ(Model("/appliance/description"), std::string(255, 'd'));
  EXPECT_EQ(Status(164, {{"TYPE", 1}, {"DESCRIPTION", "Back door"}, {"RID", 2002}}), Ok());
  EXPECT_EQ(Call(163, {{"TYPE", 1}, {"RID", 2002}})["response"], "Back door");
  EXPECT_EQ(Status(164, {{"TYPE", 1}, {"RID", 2002}}), Error(5, "DESCRIPTION"));
}

}  // namespace
}  // namespace kvnc::test
