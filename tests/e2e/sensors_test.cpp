// The sensor pages end to end against the simulated demo rack.
#include <iterator>
#include <string>

#include "tests/e2e/monitor_fixture.h"

namespace kvnc::test {
namespace {

using Json = nlohmann::json;

constexpr int kProbe = 2001;  // sensors 1 (temperature, delays writable) and 2 (humidity)
constexpr int kDoor = 2002;   // sensor 1: a door contact without thresholds or delays

Json Float(double value) { return {{"sup", 1}, {"type", 2}, {"value", value}}; }
Json Unsupported() { return {{"sup", 0}, {"type", 0}, {"value", 0}}; }

// Only the upper three supported, as the outlet sensors (4002..4009, 1) take them.
Json UpperThresholds(double minor, double major, double critical) {
  return {{"LCr", Unsupported()}, {"LMj", Unsupported()},   {"LMn", Unsupported()}, {"UMn", Float(minor)},
          {"UMj", Float(major)},  {"UCr", Float(critical)}, {"PHs", Unsupported()}, {"NHs", Unsupported()}};
}
const Json kOutletDefaults = {{"UCr", 12.0}, {"UMj", 10.0}, {"UMn", 8.0}};

class Sensors : public MonitorApi {
 protected:
  // The values an outlet's sensor holds (the unset ones left out).
  Json OutletThresholds(int rid) {
    Json values = Model("/resources/" + std::to_string(rid) + "/sensors/1/thresholds/values");
    for (auto it = values.begin(); it != values.end();) it = it->is_null() ? values.erase(it) : std::next(it);
    return values;
  }
};

TEST_F(Sensors, BulkReadingsReportFailingSensorsInPlace) {
  const Json sens = {{{"ID", kProbe}, {"SNUM", 1}, {"THRES", 1}, {"EMASK", 0x3F}},
                     {{"ID", 2999}, {"SNUM", 1}, {"THRES", 0}, {"EMASK", 0}},
                     {{"ID", kDoor}, {"SNUM", 1}, {"THRES", 1}, {"EMASK", 0}}};
  const Json r = Call(12, {{"SENS", sens}})["response"];
  ASSERT_EQ(r.size(), 3u);
  EXPECT_GT(r[0]["value"].get<double>(), 20.0);
  EXPECT_EQ(r[0]["thres"]["UCr"], Float(35));
  EXPECT_EQ(r[0]["sever"], Json::parse(R"({"set":[2,1,0,2,1,0],"sup":true})"));
  EXPECT_EQ(r[1], Json::parse(R"({"error":-1016,"id":2999,"is_ok":false,"sever":{"sup":false},"snum":1})"));
  // INVALID_CMD: the door contact has no thresholds; eight zero readings.
  EXPECT_EQ(r[2]["is_ok"], true);
  ASSERT_EQ(r[2]["thres"].size(), 8u);
  for (const auto &[key, reading] : r[2]["thres"].items()) EXPECT_EQ(reading, Unsupported()) << key;

  EXPECT_EQ(Status(12, Json::object()), Error(5, "SENS"));
  EXPECT_EQ(Status(12, {{"SENS", {{"ID", 1}}}}), Error(6, "SENS"));
  EXPECT_EQ(Status(12, {{"SENS", {sens[0], {{"ID", kProbe}, {"SNUM", 2}}}}}), Error(5, "THRES"));
  EXPECT_EQ(Status(12, {{"SENS", {{{"ID", kProbe}, {"SNUM", 1}, {"THRES", true}, {"EMASK", 0}}}}}),
            TypeError("number, but is boolean"));

  Json many = Json::array();
  for (int i = 0; i < 10000; ++i) many.push_back({{"ID", kProbe}, {"SNUM", 2}, {"THRES", 0}, {"EMASK", 1}});
  const Json reply = Call(12, {{"SENS", many}});
  ASSERT_EQ(reply["response"].size(), 10000u);
  EXPECT_EQ(reply["response"][9999]["sever"], Json::parse(R"({"set":[2],"sup":true})"));
}

TEST_F(Sensors, ThresholdsAndAssertionDelaysAreWrittenAsAsked) {
  // "delays" alone: one call with UCr's mask bit and slot.
  EXPECT_EQ(Status(14, {{"ID", kProbe}, {"SNUM", 1}, {"wr", 0}, {"delays", {{"UCr", 5}}}}), Ok());
  const Json calls = Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0]["function"], "kvnHpiSensorAssertionDelaySet");
  EXPECT_EQ(calls[0]["args"][3], 0x20);
  EXPECT_EQ(calls[0]["args"][4][0], Json::parse("[0,0,0,0,0,5,0,0,0,0,0,0,0,0,0,0]"));
  EXPECT_EQ(Call(303, {{"ID", kProbe}, {"SNUM", 1}, {"EVENTS", 0}})["response"]["delays"],
            Json::parse(R"({"LCr":0,"LMj":0,"LMn":0,"UCr":5,"UMj":0,"UMn":0})"));

  Calls();
  EXPECT_EQ(Status(14, {{"ID", kProbe}, {"SNUM", 1}, {"wr", 0}, {"delays", Json::object()}}), Ok());
  EXPECT_EQ(Status(14, {{"ID", kProbe}, {"SNUM", 1}, {"wr", 0}}), Ok());
  EXPECT_EQ(CallNames(), Json::array());

  Json prm = UpperThresholds(9, 11, 13);
  prm.update({{"ID", 4002}, {"SNUM", 1}, {"wr", 1}, {"delays", {{"UMn", 30}, {"LMn", 2}}}});
  EXPECT_EQ(Status(14, prm), Ok());
  EXPECT_EQ(CallNames(), Json::parse(R"(["saHpiSensorThresholdsSet","kvnHpiSensorAssertionDelaySet"])"));
  EXPECT_EQ(OutletThresholds(4002), Json::parse(R"({"UCr":13.0,"UMj":11.0,"UMn":9.0})"));
  EXPECT_EQ(Model("/resources/4002/sensors/1/assertion_delays"), Json::parse("[2,0,0,30,0,0]"));

  // Refused delays leave the thresholds written.
  sim().Fault({{"rpc", 469}, {"error", -1050}});
  prm = UpperThresholds(1, 2, 3);
  prm.update({{"ID", 4003}, {"SNUM", 1}, {"wr", 1}, {"delays", {{"UCr", 1}}}});
  EXPECT_EQ(Status(14, prm), Error(9, "kvnHpiSensorAssertionDelaySet", 1050));
  EXPECT_EQ(OutletThresholds(4003), Json::parse(R"({"UCr":3.0,"UMj":2.0,"UMn":1.0})"));
}

TEST_F(Sensors, BadThresholdRequestsChangeNothing) {
  Json prm = UpperThresholds(9, 11, 13);
  prm.update({{"ID", 4002}, {"SNUM", 1}});
  EXPECT_EQ(Status(14, prm), Error(5, "WR"));
  prm["wr"] = 1;
  const struct {
    const char *key;
    Json value;
    Json status;
  } cases[] = {
      {"PHs", nullptr, Error(5, "PHs")},
      {"UMj", {{"sup", 1}, {"type", 3}, {"value", 0}}, Error(6, "")},
      {"UMj", {{"sup", 1}, {"type", 2}}, Error(5, "")},
      {"delays", {{"UCr", "5"}}, TypeError("number, but is string")},  // found before anything is written
  };
  for (const auto &c : cases) {
    Json bad = prm;
    if (c.value.is_null()) {
      bad.erase(c.key);
    } else {
      bad[c.key] = c.value;
    }
    EXPECT_EQ(Status(14, bad), c.status) << c.key;
  }
  EXPECT_EQ(CallNames(), Json::array());
  EXPECT_EQ(OutletThresholds(4002), kOutletDefaults);
}

TEST_F(Sensors, ManySensorsGetTheSameThresholdsUntilTheFirstRefuses) {
  Json prm = UpperThresholds(5, 6, 7);
  prm["SENS"] = {{{"RID", 4002}, {"NUM", 1}}, {{"RID", kDoor}, {"NUM", 1}}, {{"RID", 4004}, {"NUM", 1}}};
  EXPECT_EQ(Status(15, prm), Error(9, "saHpiSensorThresholdsSet", 1005));
  EXPECT_EQ(CallNames(), Json::parse(R"(["saHpiSensorThresholdsSet","saHpiSensorThresholdsSet"])"));
  EXPECT_EQ(OutletThresholds(4002), Json::parse(R"({"UCr":7.0,"UMj":6.0,"UMn":5.0})"));
  EXPECT_EQ(OutletThresholds(4004), kOutletDefaults);

  // The list is checked whole before any sensor is changed.
  prm["SENS"] = {{{"RID", 4004}, {"NUM", 1}}, {{"RID", 4005}}};
  EXPECT_EQ(Status(15, prm), Error(5, "NUM"));
  prm["SENS"] = {{"RID", 4004}, {"NUM", 1}};
  EXPECT_EQ(Status(15, prm), Error(6, "SENS"));
  prm.erase("LCr");
  EXPECT_EQ(Status(15, prm), Error(5, "LCr"));
  EXPECT_EQ(CallNames(), Json::array());
  EXPECT_EQ(OutletThresholds(4004), kOutletDefaults);
}

TEST_F(Sensors, EventMasksAreSetByAddingFirstThenRemovingAndNotAtAllWhenEqual) {
  sim().Set("/resources/2001/sensors/1/assert_mask", 0x0F);
  const Json prm = {{"ID", kProbe}, {"SNUM", 1}, {"assert", 0x3C}, {"deassert", 0x3F}};
  EXPECT_EQ(Status(17, prm), Ok());
  const Json calls = Calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0]["function"], "saHpiSensorEventMasksGet");
  EXPECT_EQ(calls[1]["args"], Json::array({calls[1]["args"][0], kProbe, 1, 0, 0x30, 0}));  // add
  EXPECT_EQ(calls[2]["args"], Json::array({calls[2]["args"][0], kProbe, 1, 1, 0x03, 0}));  // remove
  EXPECT_EQ(Call(16, {{"ID", kProbe}, {"SNUM", 1}})["response"], Json::parse(R"({"assert":60,"deassert":63})"));
  Calls();
  EXPECT_EQ(Status(17, prm), Ok());
  EXPECT_EQ(CallNames(), Json::parse(R"(["saHpiSensorEventMasksGet"])"));
}

TEST_F(Sensors, StateSeveritiesNeedOneEntryPerSetBit) {
  const auto set = [](int mask, const Json &severities) {
    return Status(96, {{"ID", kProbe}, {"SNUM", 1}, {"EMASK", mask}, {"SEVER", severities}});
  };
  EXPECT_EQ(set(0x0005, {3, 4}), Ok());
  EXPECT_EQ(Call(303, {{"ID", kProbe}, {"SNUM", 1}, {"EVENTS", 0x0007}})["response"]["sever"],
            Json::parse(R"({"set":[3,1,4],"sup":true})"));
  Calls();
  EXPECT_EQ(set(0x0005, {2}), Error(6, "SEVER, EMASK"));
  EXPECT_EQ(set(0x0005, {2, 3, 4}), Error(6, "SEVER, EMASK"));
  EXPECT_EQ(set(0, Json::array()), Error(6, "SEVER, EMASK"));
  EXPECT_EQ(set(0x0005, 2), Error(6, "SEVER"));
  EXPECT_EQ(CallNames(), Json::array());

  Json seventeen = Json::array();
  for (int i = 0; i < 16; ++i) seventeen.push_back(4);
  seventeen.push_back("ignored");
  EXPECT_EQ(set(0xFFFF, seventeen), Ok());
  EXPECT_EQ(Calls()[0]["args"][4][0], 16);  // the count sent
}

TEST_F(Sensors, SettingsAndResetPagesReportOptionalFailuresInside) {
  Json r = Call(95, {{"ID", kProbe}, {"SNUM", 2}, {"THRES", 1}, {"EVENTS", 0x0030}})["response"];
  EXPECT_EQ(r["thres"]["UMn"], Float(60));
  EXPECT_EQ(r["ext"], Json::parse(R"({"present":true,"unit":{"bum":0,"mum":0,"res":1.0,"tol":3.0}})"));
  EXPECT_EQ(r["sever"], Json::parse(R"({"set":[1,0],"sup":true})"));
  sim().Fault({{"rpc", 140}, {"error", -1011}});
  sim().Fault({{"rpc", 138}, {"error", -1011}});
  r = Call(95, {{"ID", kProbe}, {"SNUM", 2}, {"THRES", 0}, {"EVENTS", 0x0030}})["response"];
  EXPECT_EQ(r, Json::parse(R"({"assert":63,"deassert":63,"ext":{"present":false},"sever":{"set":[],"sup":false},)"
                           R"("thres":{}})"));
  EXPECT_EQ(Call(303, {{"ID", kDoor}, {"SNUM", 1}, {"EVENTS", 3}})["response"],
            Json::parse(R"({"delays":{"error":-1005},"sever":{"set":[4,1],"sup":true}})"));

  Calls();
  sim().Fault({{"rpc", 36}, {"error", -1012}});
  r = Call(130, {{"RID", kProbe}, {"SNUM", 1}})["response"];
  EXPECT_EQ(CallNames(), Json::parse(R"(["kvnHpiSensorResetEraseConfiguration","saHpiRdrGetByInstrumentId",)"
                                     R"("kvnHpiSensorStateSeverityGet","saHpiSensorThresholdsGet",)"
                                     R"("saHpiSensorEventMasksGet","saHpiSensorReadingGet",)"
                                     R"("kvnHpiSensorAssertionDelayGet"])"));
  EXPECT_EQ(r["thr"]["values"]["LMn"], Float(18));
  EXPECT_EQ(r["rd"], Json::parse(R"({"is_ok":false})"));
  EXPECT_FALSE(Call(130, {{"RID", kDoor}, {"SNUM", 1}})["response"]["thr"].contains("values"));
  EXPECT_EQ(Status(130, {{"RID", kProbe}, {"SNUM", 7}}), Error(9, "kvnHpiSensorResetEraseConfiguration", 1011));
}

}  // namespace
}  // namespace kvnc::test
