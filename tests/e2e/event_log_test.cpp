// Event logs and alarms end to end: logs and alarm tables loaded into the
// simulator, and what its appliance does (logins, crossings, switches).
#include <cstdint>
#include <string>

#include "tests/e2e/monitor_fixture.h"

namespace kvnc::test {
namespace {

using Json = nlohmann::json;

constexpr int64_t kSecond = 1000000000;
constexpr int64_t kClock = 1765000000 * kSecond;  // 2025-12-06 05:46:40 UTC
constexpr const char *kClockText = "2025-12-06 05:46:40";
constexpr int64_t kMaxRelative = 0x0C00000000000000;
constexpr int64_t kUnspecified = INT64_MIN;
constexpr uint32_t kDomain = 0xFFFFFFFF;

// A user event entry whose entry and event carry the same time stamp.
Json UserEntry(uint32_t id, int64_t time, const std::string &text = "") {
  return {{"id", id},
          {"time", time},
          {"event",
           {{"source", kDomain}, {"type", 8}, {"time", time}, {"severity", 3}, {"data", {{"UserEventData", text}}}}}};
}

// Entries 1..n, a second apart, absolute times ending at the clock.
Json Entries(uint32_t n) {
  Json entries = Json::array();
  for (uint32_t id = 1; id <= n; ++id)
    entries.push_back(UserEntry(id, kClock - (n - id) * kSecond, "e" + std::to_string(id)));
  return entries;
}

Json Ids(const Json &entries) {
  Json ids = Json::array();
  for (const Json &e : entries) ids.push_back(e["entry"]["ID"]);
  return ids;
}

class EventLogs : public MonitorApi {
 protected:
  void SetUp() override {
    MonitorApi::SetUp();
    // A still appliance: no crossing logs anything behind the tests' backs
    // (the log and alarms are replaced after whatever the humidity did).
    sim().Set("/resources/2001/sensors/2/reading/swing", 0);
    sim().Set("/resources/2001/sensors/2/observed", nullptr);
    sim().Set("/appliance/clock", kClock);
    sim().Set("/alarms", Json::array());
    LoadLog(Json::array());
  }
  void LoadLog(const Json &entries, uint32_t size = 100, const std::string &log = "/event_log") {
    sim().Set(log, {{"size", size}, {"updated", kClock}, {"entries", entries}});
    sim().Journal();
  }
  static Json Info(uint32_t entries, uint32_t size, int overflow = 0) {
    return {{"ctime", kClockText},  {"enabled", 1}, {"entries", entries},
            {"overflow", overflow}, {"size", size}, {"utime", kClockText}};
  }
  Json Response(int fn, const Json &prm) {
    const Json reply = Call(fn, prm);
    EXPECT_EQ(reply["status"], Ok()) << reply.dump();
    return reply.value("response", Json());
  }
};

TEST_F(EventLogs, TimeStampsReadAsRelativeUpToTheBoundaryAndAsLocalTimeBeyond) {
  LoadLog({UserEntry(1, kMaxRelative), UserEntry(2, kMaxRelative + 1), UserEntry(3, 0), UserEntry(4, kUnspecified),
           UserEntry(5, -90061 * kSecond), UserEntry(6, 90061 * kSecond + 999999999)});
  Json texts = Json::array();
  for (const Json &e : Response(314, Json::object())) {
    EXPECT_EQ(e["entry"]["TS"], e["event"]["TC"]);
    texts.push_back(e["entry"]["TS"]);
  }
  EXPECT_EQ(texts, Json::parse(R"(["RELATIVE: 1d 01:01:01", "RELATIVE: -1d -1:-1:-1", "TIME UNSPECIFIED",
      "RELATIVE: 0d 00:00:00", "1997-05-26 23:58:48", "RELATIVE: 10007d 23:58:48"])"));
}

TEST_F(EventLogs, EveryEventTypeHasItsData) {
  auto event = [](uint32_t type, const Json &data) {
    return Json{{"id", type + 1},
                {"time", kClock},
                {"event", {{"source", 2001}, {"type", type}, {"time", 5 * kSecond}, {"severity", 1}, {"data", data}}}};
  };
  const Json reading = {{"IsSupported", 1}, {"Type", 2}, {"Value", 61.5}};
  LoadLog({event(0, {{"ResourceEventType", 4}}),
           event(2, {{"SensorNum", 2},
                     {"SensorType", 11},
                     {"EventCategory", 1},
                     {"Assertion", 1},
                     {"EventState", 8},
                     {"OptionalDataPresent", 0x1B},
                     {"TriggerReading", reading},
                     {"TriggerThreshold", {{"IsSupported", 1}, {"Type", 3}}},
                     {"PreviousState", 0},
                     {"CurrentState", 8},
                     {"Oem", 7},
                     {"SensorSpecific", 9}}),
           event(6, {{"MId", 12}, {"Type", 1}, {"EventData", "started"}}), event(8, {{"UserEventData", "hello"}})});
  Json log = Response(314, Json::object());
  ASSERT_EQ(log.size(), 4u);
  log.insert(log.begin(), Json());  // (indexes as in the list above, newest first)
  EXPECT_EQ(log[1]["event"].dump(), R"({"TC":"RELATIVE: 0d 00:00:05","data":"hello","rid":2001,"severity":1})");
  EXPECT_EQ(log[2]["event"]["data"].dump(), R"({"data":"started","mid":12})");
  EXPECT_EQ(log[2]["event"]["type"], 9);
  EXPECT_EQ(log[3]["event"]["data"].dump(),
            R"({"OEM":7,"assert":1,"cstate":8,"ecat":1,"estate":8,"num":2,"opdata":27,"pstate":0,"spec":9,)"
            R"("thresh":{"supp":0},"trigger":{"supp":1,"type":"FLOAT64","value":61.5},"type":11})");
  EXPECT_EQ(log[3]["event"]["type"], 1);
  EXPECT_EQ(log[4]["event"].dump(),
            R"({"TC":"RELATIVE: 0d 00:00:05","data":{"type":4},"rid":2001,"severity":1,"type":3})");
}

TEST_F(EventLogs, PagesCountBackFromTheNewestEntry) {
  LoadLog(Entries(10));
  const Json info = Info(10, 100);
  Json pages = Json::array();
  for (int num = 1; num <= 4; ++num) {
    const Json page = Response(4, {{"num", num}, {"size", 3}});
    EXPECT_EQ(page["info"], info);
    pages.push_back(Ids(page["events"]));
  }
  EXPECT_EQ(pages, Json::parse("[[10,9,8],[7,6,5],[4,3,2],[1]]"));
  // Each page: the log's status and its newest entry, then the page from its
  // start; page 4 starts at the oldest entry (9 modulo 3 is 0).
  const Json calls = Calls();
  ASSERT_EQ(calls.size(), 4u * 2 + 2 + 3 + 3 + 1) << calls.dump();
  EXPECT_EQ(calls.back()["args"][2], 0);
  EXPECT_EQ(calls[6]["args"][2], 7);

  // Entries carry no fingerprint here; size 0 reads the whole log from the top.
  const Json page = Response(4, {{"num", 1}, {"size", 0}});
  EXPECT_EQ(Ids(page["events"]), Json::parse("[10,9,8,7,6,5,4,3,2,1]"));
  EXPECT_EQ(
      page["events"][0].dump(),
      R"({"entry":{"ID":10,"TS":"2025-12-06 05:46:40"},"event":{"TC":"2025-12-06 05:46:40","data":"e10","rid":4294967295,"severity":3}})");
  EXPECT_EQ(Ids(Response(4, {{"num", 1}, {"size", 1}})["events"]), Json::parse("[10]"));
}

TEST_F(EventLogs, AFullLogWrapsItsIdsWithinItsSize) {
  // Size 5 after seven entries: ids 3, 4, 5, then 1 and 2 overwrote 1 and 2.
  Json entries = Entries(5);
  entries[3]["id"] = 1;
  entries[4]["id"] = 2;
  entries[0]["id"] = 3;
  entries[1]["id"] = 4;
  entries[2]["id"] = 5;
  LoadLog(entries, 5);
  EXPECT_EQ(Ids(Response(4, {{"num", 1}, {"size", 3}})["events"]), Json::parse("[2,1,5]"));
  EXPECT_EQ(Ids(Response(4, {{"num", 2}, {"size", 3}})["events"]), Json::parse("[4,3]"));
  EXPECT_EQ(Ids(Response(314, Json::object())), Json::parse("[2,1,5,4,3]"));

  // The simulated daemon overwrites the oldest entry and says so.
  sim().Set("/event_log/overflow", 0);
  ASSERT_EQ(Status(19, {{"ID", 4002}, {"CNUM", 1}, {"MODE", 1}, {"STATE", 0}}), Ok());
  const Json newest = Response(5, Json::object());
  EXPECT_EQ(newest["info"], Info(5, 5, 1));
  EXPECT_EQ(Ids(newest["events"]), Json::parse("[3]"));
  EXPECT_EQ(Ids(Response(314, Json::object())), Json::parse("[3,2,1,5,4]"));
}

TEST_F(EventLogs, AnEmptyLogHasNoNewestEntryButNoPageEither) {
  const Json empty = {{"events", Json::array()}, {"info", Info(0, 100)}};
  EXPECT_EQ(Response(5, Json::object()), empty);
  EXPECT_EQ(Status(4, {{"num", 1}, {"size", 3}}), Error(9, "saHpiEventLogEntryGet", 1011));
  EXPECT_EQ(Status(314, Json::object()), Error(9, "saHpiEventLogEntryGet", 1011));
  EXPECT_EQ(Status(4, {{"size", 3}}), Error(5, "num"));
  EXPECT_EQ(Status(4, {{"num", 1}}), Error(5, "size"));
  EXPECT_EQ(Status(4, {{"num", "1"}, {"size", 3}}), TypeError("number, but is string"));

  // A disabled log keeps not even the note of its clearing.
  sim().Set("/event_log/enabled", 0);
  sim().Journal();
  const Json cleared = Response(74, Json::object());
  EXPECT_EQ(cleared["events"], Json::array());
  EXPECT_EQ(CallNames(), Json::parse(R"(["saHpiEventLogClear","saHpiEventLogInfoGet","saHpiEventLogEntryGet"])"));
}

TEST_F(EventLogs, ClearingLeavesTheDaemonsNoteAsTheNewestEntry) {
  LoadLog(Entries(4));
  const Json cleared = Response(74, Json::object());
  EXPECT_EQ(cleared["info"]["entries"], 1);
  ASSERT_EQ(cleared["events"].size(), 1u);
  EXPECT_EQ(cleared["events"][0]["event"]["data"], Json({{"data", "Event log cleared by admin"}, {"mid", 0}}));
  EXPECT_EQ(cleared["events"][0]["entry"]["CRC"], Json::array({210796544, 410946086, kDomain, 3, 7}));

  // A resource's own log is cleared alone; one without a log answers so.
  sim().Set("/resources/1000/event_log", {{"size", 10}, {"entries", Entries(2)}});
  EXPECT_EQ(Ids(Response(74, {{"res_id", 1000}})["events"]), Json::parse("[1]"));
  EXPECT_EQ(Model("/event_log/entries").size(), 1u);
  EXPECT_EQ(Status(74, {{"res_id", 2001}}), Error(9, "saHpiEventLogClear", 1020));
  EXPECT_EQ(Status(5, {{"res_id", 2001}}), Error(9, "saHpiEventLogInfoGet", 1020));
}

TEST_F(EventLogs, TheDomainLogAloneCarriesTheFirmwareVersion) {
  LoadLog(Entries(2));
  EXPECT_EQ(Response(3, {{"res_id", 0}}), Json({{"info", Info(2, 100)}, {"ver", "3.2.1"}}));
  EXPECT_EQ(CallNames(), Json::parse(R"(["saHpiEventLogInfoGet","kvnHpiGetFirmwareVersion"])"));
  EXPECT_EQ(Calls(), Json::array());

  sim().Set("/resources/1000/event_log", {{"size", 10}, {"updated", kClock}});
  EXPECT_EQ(Response(3, {{"res_id", 1000}}), Json({{"info", Info(0, 10)}}));
  EXPECT_EQ(CallNames(), Json::parse(R"(["saHpiEventLogInfoGet"])"));

  FailNext("kvnHpiGetFirmwareVersion", -1011);
  EXPECT_EQ(Response(3, Json::object()), Json({{"info", Info(2, 100)}}));
  FailNext("saHpiEventLogInfoGet", -1002);
  EXPECT_EQ(Status(3, Json::object()), Error(9, "saHpiEventLogInfoGet", 1002));
}

TEST_F(EventLogs, NewEntriesStopAtTheFingerprintOrAtAnOlderTimeOfTheSameBase) {
  LoadLog(Entries(10));
  const Json top = Response(5, Json::object())["events"][0];
  EXPECT_EQ(top["entry"]["ID"], 10);
  EXPECT_EQ(Response(6, {{"last", top["entry"]["CRC"]}})["events"], Json::array());

  const Json page = Response(4, {{"num", 1}, {"size", 10}})["events"];
  Json last = Response(6, {{"last", Json::array({0, 0, 0, 0, 0})}})["events"][2]["entry"]["CRC"];
  EXPECT_EQ(last.size(), 5u);
  EXPECT_EQ(Ids(Response(6, {{"last", last}})["events"]), Json::parse("[10,9]"));
  EXPECT_EQ(page.size(), 10u);

  // The entry last seen is gone: the walk ends at the first older one.
  const int64_t between = kClock - 2 * kSecond + 1;  // after entry 8, before entry 9
  const Json gone = {static_cast<int64_t>(static_cast<uint32_t>(between)), static_cast<int32_t>(between >> 32), kDomain,
                     3, 8};
  EXPECT_EQ(Ids(Response(6, {{"last", gone}})["events"]), Json::parse("[10,9]"));

  // Relative and absolute stamps are never compared: a relative last one
  // lets every absolute entry through.
  EXPECT_EQ(Ids(Response(6, {{"last", {5, 0, kDomain, 3, 8}}})["events"]).size(), 10u);
  LoadLog({UserEntry(1, 3 * kSecond, "boot"), UserEntry(2, 4 * kSecond, "boot"), UserEntry(3, kClock, "now")});
  EXPECT_EQ(
      Ids(Response(
          6, {{"last",
               {static_cast<uint32_t>(kClock - 1), static_cast<int32_t>(kClock >> 32), kDomain, 3, 8}}})["events"]),
      Json::parse("[3,2,1]"));

  EXPECT_EQ(Status(6, Json::object()), Error(5, "last"));
  EXPECT_EQ(Status(6, {{"last", {1, 2, 3, 4}}})["RC"], 11);
  EXPECT_EQ(Status(6, {{"last", "x"}})["RC"], 11);
}

TEST_F(EventLogs, WalksEndWhenTheDaemonHandsBackAnIdAlreadySeen) {
  // Entry 1 names entry 3 as the one before it, which names 1 again.
  LoadLog({UserEntry(3, kClock - 3 * kSecond), UserEntry(1, kClock - 2 * kSecond), UserEntry(3, kClock - kSecond),
           UserEntry(1, kClock)});
  EXPECT_EQ(Ids(Response(314, Json::object())), Json::parse("[1,3]"));
  EXPECT_EQ(Ids(Response(4, {{"num", 1}, {"size", 0}})["events"]), Json::parse("[1,3]"));
  EXPECT_EQ(Ids(Response(6, {{"last", {0, 0, 0, 0, 0}}})["events"]), Json::parse("[1,3]"));
  EXPECT_LE(Calls().size(), 12u);
}

// ---- alarms --------------------------------------------------------------------

Json SensorAlarm(uint32_t id, uint32_t resource, uint32_t sensor, uint32_t severity, uint32_t state) {
  return {{"id", id},         {"time", kClock}, {"severity", severity}, {"type", 0}, {"resource", resource},
          {"sensor", sensor}, {"state", state}};
}

Json NamedAlarm(uint32_t id, uint32_t type, const std::string &name, uint32_t severity = 2) {
  return {{"id", id},     {"time", 5 * kSecond}, {"severity", severity},
          {"type", type}, {"resource", 1000},    {"name", name}};
}

TEST_F(EventLogs, AlarmsListSensorAndResourceConditionsOnly) {
  EXPECT_EQ(Status(11, nullptr), Error(8, "DAT"));
  sim().Set("/alarms", {NamedAlarm(1, 2, "oem"), NamedAlarm(2, 3, "user")});
  EXPECT_EQ(Response(11, nullptr), Json::array());

  sim().Set("/alarms", {SensorAlarm(3, 2001, 2, 1, 0x10), SensorAlarm(4, 2001, 9, 0, 0x20), NamedAlarm(5, 2, "oem"),
                        NamedAlarm(6, 1, "Power supply 2 failed and was switched off")});
  sim().Journal();
  EXPECT_EQ(Response(11, nullptr).dump(),
            R"([{"ack":false,"alid":3,"est":16,"name":"Inlet humidity","rid":2001,"scat":1,"sn":2,"stype":11,)"
            R"("svrt":1,"time":"2025-12-06 05:46:40","type":0},)"
            R"({"ack":false,"alid":4,"est":32,"name":"","rid":2001,"scat":"","sn":9,"stype":"","svrt":0,)"
            R"("time":"2025-12-06 05:46:40","type":0},)"
            R"({"ack":false,"alid":6,"est":0,"name":"Power supply 2 failed and was sw","rid":1000,"scat":"","sn":"",)"
            R"("stype":"","svrt":2,"time":"RELATIVE: 0d 00:00:05","type":1}])");
  EXPECT_EQ(CallNames(), Json::parse(R"(["saHpiAlarmGetNext","saHpiRdrGetByInstrumentId","saHpiAlarmGetNext",
      "saHpiRdrGetByInstrumentId","saHpiAlarmGetNext","saHpiAlarmGetNext","saHpiAlarmGetNext"])"));

  FailNext("saHpiAlarmGetNext", -1002);
  EXPECT_EQ(Status(11, nullptr), Error(9, "saHpiAlarmGetNext", 1002));
}

TEST_F(EventLogs, TheAlarmListEndsWhenTheDaemonHandsBackAnIdAlreadySeen) {
  sim().Set("/alarms", {NamedAlarm(1, 1, "first"), NamedAlarm(2, 1, "second"), NamedAlarm(3, 1, "third")});
  sim().Fault({{"rpc", Rpc("saHpiAlarmGetNext")}});  // the first answered as it is
  sim().Fault({{"rpc", Rpc("saHpiAlarmGetNext")}, {"output", 0}, {"member", 0}, {"value", 1}});
  const Json alarms = Response(11, nullptr);
  ASSERT_EQ(alarms.size(), 1u) << alarms.dump();
  EXPECT_EQ(alarms[0]["name"], "first");
  EXPECT_EQ(CallNames(), Json::parse(R"(["saHpiAlarmGetNext","saHpiAlarmGetNext"])"));
}

TEST_F(EventLogs, AcknowledgingAndDeletingGoElementByElementAndStopAtAFailure) {
  sim().Set("/alarms", {SensorAlarm(1, 2001, 1, 2, 8), SensorAlarm(2, 2001, 2, 1, 16), NamedAlarm(3, 3, "note", 2),
                        NamedAlarm(4, 3, "other", 1)});
  EXPECT_EQ(Status(82, Json::object()), Error(6, "NOT ARRAY"));
  EXPECT_EQ(Status(82, Json::array()), Ok());
  EXPECT_EQ(Calls(), Json::array());
  EXPECT_EQ(Status(82, Json::parse(R"([{"ID": 3}])")), Error(5, "SEVERITY"));
  EXPECT_EQ(Status(83, Json::parse(R"([{"SEVERITY": 3}])")), Error(5, "ID"));
  EXPECT_EQ(Status(82, Json::parse(R"([{"ID": "3", "SEVERITY": 3}])"))["RC"], 11);

  EXPECT_EQ(
      Status(82, Json::parse(R"([{"ID": 1.9, "SEVERITY": 0}, {"ID": 9, "SEVERITY": 0}, {"ID": 2, "SEVERITY": 0}])")),
      Error(9, "saHpiAlarmAcknowledge", 1011));
  EXPECT_EQ(Model("/alarms/0/acknowledged"), 1);
  EXPECT_EQ(Model("/alarms/1/acknowledged"), 0);
  const Json calls = Calls();  // 1.9 read as 1; the third element never sent
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0]["args"][1], 1);
  EXPECT_EQ(calls[1]["args"][1], 9);

  // ID 0 acts on every alarm of the severity; only user alarms can be deleted.
  EXPECT_EQ(Status(82, Json::parse(R"([{"ID": 0, "SEVERITY": 1}])")), Ok());
  EXPECT_EQ(Model("/alarms/1/acknowledged"), 1);
  EXPECT_EQ(Model("/alarms/3/acknowledged"), 1);
  EXPECT_EQ(Status(83, Json::parse(R"([{"ID": 3, "SEVERITY": 2}, {"ID": 1, "SEVERITY": 2}])")),
            Error(9, "saHpiAlarmDelete", 1019));
  EXPECT_EQ(Model("/alarms").size(), 3u);
  EXPECT_EQ(Status(83, Json::parse(R"([{"ID": 0, "SEVERITY": 255}])")), Ok());
  EXPECT_EQ(Model("/alarms").size(), 2u);
}

// ---- what the appliance logs by itself -----------------------------------------

TEST_F(EventLogs, ACrossingLogsASensorEventAndRaisesAnAlarmUntilItClears) {
  sim().Set("/resources/2001/sensors/2/reading/value", 65);  // above the upper minor threshold of 60
  const Json alarms = Response(11, nullptr);
  ASSERT_EQ(alarms.size(), 1u) << alarms.dump();
  EXPECT_EQ(alarms[0]["rid"], 2001);
  EXPECT_EQ(alarms[0]["sn"], 2);
  EXPECT_EQ(alarms[0]["est"], 8);
  EXPECT_EQ(alarms[0]["svrt"], 2);
  EXPECT_EQ(alarms[0]["time"], kClockText);

  const Json event = Response(5, Json::object())["events"][0]["event"];
  EXPECT_EQ(event["type"], 1);
  EXPECT_EQ(event["severity"], 2);
  EXPECT_EQ(event["data"]["assert"], 1);
  EXPECT_EQ(event["data"]["trigger"], Json({{"supp", 1}, {"type", "FLOAT64"}, {"value", 65.0}}));
  EXPECT_EQ(event["data"]["thresh"], Json({{"supp", 1}, {"type", "FLOAT64"}, {"value", 60.0}}));

  sim().Set("/resources/2001/sensors/2/reading/value", 45);
  EXPECT_EQ(Status(11, nullptr), Error(8, "DAT"));
  const Json log = Response(314, Json::object());
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0]["event"]["data"]["assert"], 0);
  EXPECT_EQ(log[0]["event"]["data"]["estate"], 8);
}

TEST_F(EventLogs, LoginsLogoutsRefusalsAndSwitchesAreLogged) {
  const std::string sid = LoginSid("operator", "operator-secret");
  EXPECT_EQ(Login("operator", "wrong")["status"]["RC"], 3);
  ASSERT_EQ(Status(19, {{"ID", 4002}, {"CNUM", 1}, {"MODE", 1}, {"STATE", 0}}), Ok());
  const Json log = Response(314, Json::object());
  ASSERT_EQ(log.size(), 3u) << log.dump();
  EXPECT_EQ(log[0]["event"]["data"], Json({{"data", "Control 1 \"Outlet 1\" set to off by admin"}, {"mid", 0}}));
  EXPECT_EQ(log[0]["event"]["rid"], 4002);
  EXPECT_EQ(log[1]["event"]["data"].get<std::string>().find("operator"), 0u);
  EXPECT_EQ(log[2]["event"]["data"], "operator: logged in from 127.0.0.1");
  EXPECT_EQ(log[2]["event"].count("type"), 0u);

  // The newest entry's fingerprint brings only what came after it (on the
  // wall clock: user events of one pinned instant share their fingerprint).
  sim().Set("/appliance/clock", nullptr);
  ASSERT_EQ(Status(19, {{"ID", 4002}, {"CNUM", 1}, {"MODE", 1}, {"STATE", 1}}), Ok());
  const Json crc = Response(5, Json::object())["events"][0]["entry"]["CRC"];
  ASSERT_EQ(Post({{"FN", 1}, {"SID", sid}, {"PRM", {{"un", "operator"}}}})["status"]["RC"], 0);
  const Json fresh = Response(6, {{"last", crc}})["events"];
  ASSERT_EQ(fresh.size(), 1u) << fresh.dump();
  EXPECT_EQ(fresh[0]["event"]["data"], "operator: logged out from 127.0.0.1");
}

}  // namespace
}  // namespace kvnc::test
