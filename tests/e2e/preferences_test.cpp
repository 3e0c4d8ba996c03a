// Global preferences, date and time, NTP, the iPDU's power-up settings and
// the server reachability watch list end to end against the demo appliance
// (an iPDU with outlets 1 to 8). The time-zone list is read from a small
// zoneinfo tree mounted for the suite inside the test's mount namespace.
#include <sys/mount.h>
#include <sys/stat.h>

#include <fstream>
#include <string>

#include "tests/e2e/monitor_fixture.h"

namespace kvnc::test {
namespace {

using Json = nlohmann::json;

constexpr int32_t kNotPresent = -1011;
constexpr int32_t kBusy = -1004;

class Preferences : public MonitorApi {
 protected:
  // A whole group of FN 71, flags set by the caller.
  static Json AllGroups() {
    return Json::parse(R"({"CUS":true,"CNC":true,"CESC":true,"Language":7,"LCDUIFlags":3,
        "MeasurementUnits":{"Temperature":1,"Length":2,"Pressure":3},
        "Web":{"IdleDetectionEnabled":0,"IdleTimeout":600,"DelayBeforeDisconnect":40,"EventLogQueryPollPeriod":9},
        "Location":"Row 4","AssetTag":"A-17",
        "ExternalSensorZCoordinate":5,"TransientAlarmSeverity":2,"DebugLevel":4,"OneWire":{"PollPeriod":30}})");
  }
  static Json Without(Json prm, const std::string &pointer) {
    const Json::json_pointer p(pointer);
    prm[p.parent_pointer()].erase(p.back());
    return prm;
  }
  void FailSecond(const std::string &function, int32_t error) {
    sim().Fault({{"rpc", Rpc(function)}});
    FailNext(function, error);
  }
  // Names of the journalled calls that change something.
  Json SetterNames() {
    Json names = Json::array();
    for (const Json &name : CallNames()) {
      const std::string n = name.get<std::string>();
      if (n.find("Set") != std::string::npos || n == "kvnHpiDebugLevel") names.push_back(n);
    }
    return names;
  }
};

// ---- FN 70, 71: global preferences -----------------------------------------------------

TEST_F(Preferences, GlobalPreferencesReadEveryValue) {
  sim().Set("/appliance/asset_tag", "A-1");
  sim().Set("/appliance/location", "Lab");
  sim().Set("/appliance/language", 3);
  sim().Set("/appliance/external_sensor_z", 12);
  sim().Set("/appliance/units", {{"degrees", 1}, {"length", 0}, {"pressure", 2}});
  sim().Set("/appliance/web", {{"idle_enabled", 1}, {"idle_timeout", 900}, {"wait_timeout", 20}, {"log_polling", 6}});
  sim().Set("/preferences/global/lcd_ui_flags", 5);
  sim().Set("/preferences/global/transient_alarm_severity", 4);
  sim().Set("/preferences/global/debug_level", 9);
  sim().Set("/preferences/global/w1_poll_interval", 15);
  EXPECT_EQ(Call(70, nullptr).dump(),
            R"({"MN":null,"response":{"AssetTag":"A-1","DebugLevel":9,"ExternalSensorZCoordinate":12,)"
            R"("LCDUIFlags":5,"Language":3,"Location":"Lab","MeasurementUnits":{"Length":0,"Pressure":2,)"
            R"("Temperature":1},"OneWire":{"PollPeriod":15},"TransientAlarmSeverity":4,"Web":{)"
            R"("DelayBeforeDisconnect":20,"EventLogQueryPollPeriod":6,"IdleDetectionEnabled":1,"IdleTimeout":900}},)"
            R"("status":{"IC":0,"RC":0,"RCT":"OK"}})");
  EXPECT_EQ(CallArgs().back(), Json::parse(R"(["kvnHpiDebugLevel"])"))
      << "the level is only read; the query value travels as the first argument";
  EXPECT_EQ(Model("/preferences/global/debug_level"), 9);

  // The first failing getter ends the reply; the debug level is not asked.
  FailNext("kvnHpiAssetTagGet", kBusy);
  EXPECT_EQ(Status(70, nullptr), Error(9, "kvnHpiAssetTagGet", 1004));
  EXPECT_EQ(CallNames().back(), "kvnHpiAssetTagGet");
}

TEST_F(Preferences, SetGlobalPreferencesWritesTheSelectedGroupsInOrder) {
  EXPECT_EQ(Status(71, AllGroups()), Ok());
  // Records travel as their members in order: degrees, length, pressure;
  // idle flag, idle time-out, wait time-out, log polling period.
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiCurrentLanguageSet",7],["kvnHpiCurrentLCDUIFlagsSet",3],
      ["kvnHpiGlobalMeasurementUnitsSet",[1,2,3]],
      ["kvnHpiGlobalWebParametersSet",[0,600,40,9]],
      ["kvnHpiLocationSet","Row 4"],["kvnHpiAssetTagSet","A-17"],
      ["kvnHpiExternalSensorZCoordSet",5],["kvnHpiTransientAlarmSeveritySet",2],["kvnHpiDebugLevel"],
      ["kvnHpiW1PollIntervalSet",30]])"));
  EXPECT_EQ(Model("/appliance/web/idle_timeout"), 600);
  EXPECT_EQ(Model("/appliance/units/pressure"), 3);
  EXPECT_EQ(Model("/appliance/asset_tag"), "A-17");
  EXPECT_EQ(Model("/preferences/global/debug_level"), 4);
  EXPECT_EQ(Model("/preferences/global/w1_poll_interval"), 30);

  // Flags off: their groups are neither read nor written.
  Json only_names = {{"CUS", false}, {"CNC", true}, {"CESC", false}, {"Location", "L"}, {"AssetTag", "T"}};
  EXPECT_EQ(Status(71, only_names), Ok());
  EXPECT_EQ(CallNames(), Json::parse(R"(["kvnHpiLocationSet","kvnHpiAssetTagSet"])"));
  EXPECT_EQ(Status(71, {{"CUS", false}, {"CNC", false}, {"CESC", false}}), Ok());
  EXPECT_EQ(CallNames(), Json::array());
}

TEST_F(Preferences, SetGlobalPreferencesRefusesBadRequestsBeforeWriting) {
  struct Case {
    const char *remove;
    const char *key;
  };
  for (const Case &c : {Case{"/CUS", "CUS"}, Case{"/CNC", "CNC"}, Case{"/CESC", "CESC"}, Case{"/Web", "Web"},
                        Case{"/MeasurementUnits/Temperature", "MeasurementUnits:Temperature"},
                        Case{"/Web/IdleTimeout", "Web:IdleTimeout"}, Case{"/AssetTag", "AssetTag"},
                        Case{"/OneWire/PollPeriod", "OneWire:PollPeriod"}, Case{"/DebugLevel", "DebugLevel"}}) {
    EXPECT_EQ(Status(71, Without(AllGroups(), c.remove)), Error(5, c.key)) << c.remove;
    EXPECT_EQ(SetterNames(), Json::array()) << c.remove << ": a later group's missing key writes nothing";
  }
  Json number_flag = AllGroups();
  number_flag["CNC"] = 1;
  EXPECT_EQ(Status(71, number_flag), TypeError("boolean, but is number"));
  Json string_units = AllGroups();
  string_units["MeasurementUnits"]["Length"] = "2";
  EXPECT_EQ(Status(71, string_units), TypeError("number, but is string"));
  EXPECT_EQ(SetterNames(), Json::array());

  // A daemon failure stops at the failing call, names it, and keeps what was written.
  FailNext("kvnHpiGlobalWebParametersSet", kBusy);
  EXPECT_EQ(Status(71, AllGroups()), Error(9, "kvnHpiGlobalWebParametersSet", 1004));
  EXPECT_EQ(SetterNames(), Json::parse(R"(["kvnHpiCurrentLanguageSet","kvnHpiCurrentLCDUIFlagsSet",
      "kvnHpiGlobalMeasurementUnitsSet","kvnHpiGlobalWebParametersSet"])"));
  EXPECT_EQ(Model("/appliance/language"), 7);
}

// ---- FN 72, 73: date, time and time zones -------------------------------------------------

class DateTime : public Preferences {
 protected:
  static constexpr const char *kZoneInfo = "/usr/share/zoneinfo";
  static void SetUpTestSuite() {
    Preferences::SetUpTestSuite();
    // Private to the test's mount namespace: the host's tree is untouched.
    ASSERT_EQ(mount("tmpfs", kZoneInfo, "tmpfs", 0, "mode=755"), 0);
    for (const char *dir : {"Europe", "Etc", "posix", "posix/Europe", "Empty"}) {
      mkdir((std::string(kZoneInfo) + "/" + dir).c_str(), 0755);
    }
    for (const char *file : {"Europe/Berlin", "Europe/Istab", "Etc/UTC", "Tabriz", "tabby", "zone.tab", "zone1970.tab",
                             "posix/Europe/Berlin", "Zone with space"}) {
      std::ofstream(std::string(kZoneInfo) + "/" + file) << "TZif";
    }
  }
  static void TearDownTestSuite() {
    umount2(kZoneInfo, MNT_DETACH);
    Preferences::TearDownTestSuite();
  }
};

TEST_F(DateTime, ZoneListLeavesOutWhatGrepsDotTabMatches) {
  sim().Set("/appliance/clock", int64_t{1700000000} * 1000000000);
  sim().Set("/appliance/time_zone", "Europe/Berlin");
  sim().Set("/preferences/global/ntp_enabled", 1);
  // ".tab" is grep's pattern: any character before "tab", so "Istab" and
  // "/tabby" go too, while "Tabriz" stays (case matters).
  EXPECT_EQ(Call(72, nullptr).dump(),
            R"({"MN":null,"response":{"DateTime":"2023-11-14 22:13:20","NTPEnabled":1,"Timezone":"Europe/Berlin",)"
            R"("ZList":["Etc/UTC","Europe/Berlin","Tabriz","Zone with space","posix/Europe/Berlin"]},)"
            R"("status":{"IC":0,"RC":0,"RCT":"OK"}})");
  FailNext("kvnHpiNTPEnableGet", kBusy);
  EXPECT_EQ(Status(72, nullptr), Error(9, "kvnHpiNTPEnableGet", 1004));
}

TEST_F(DateTime, SetDateTimePassesBothTexts) {
  EXPECT_EQ(Status(73, {{"DateTime", "2024-02-29 12:00:00"}, {"Timezone", "Etc/UTC"}}), Ok());
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiDateTimeSet","2024-02-29 12:00:00","Etc/UTC"]])"));
  EXPECT_EQ(Call(72, nullptr)["response"]["DateTime"], "2024-02-29 12:00:00");
  sim().Journal();

  EXPECT_EQ(Status(73, {{"DateTime", "2024-02-29 12:00:00"}}), Error(5, "Timezone"));
  EXPECT_EQ(Status(73, {{"Timezone", "Etc/UTC"}}), Error(5, "DateTime"));
  EXPECT_EQ(Status(73, {{"DateTime", 5}, {"Timezone", "Etc/UTC"}}), TypeError("string, but is number"));
  EXPECT_EQ(CallNames(), Json::array());
  EXPECT_EQ(Status(73, {{"DateTime", "yesterday"}, {"Timezone", "Etc/UTC"}}), Error(9, "kvnHpiDateTimeSet", 1009));
}

// ---- FN 90, 91: NTP ------------------------------------------------------------------------

TEST_F(Preferences, NtpSettingsRoundTrip) {
  const Json prm = {{"NTPEnabled", 1},
                    {"NTPDHCPEnabled", 0},
                    {"NTPPrim", "ntp1.example"},
                    {"NTPSec", "ntp2.example"},
                    {"Override", 257}};
  EXPECT_EQ(Status(91, prm), Ok());
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiNTPEnableSet",1],["kvnHpiNTPFromDHCPEnableSet",0],
      ["kvnHpiNTPServersSet","ntp1.example","ntp2.example",1]])"))
      << "Override is an 8-bit value";
  EXPECT_EQ(Call(90, nullptr).dump(),
            R"({"MN":null,"response":{"NTPDHCPEnabled":0,"NTPEnabled":1,"NTPPrim":"ntp1.example",)"
            R"("NTPSec":"ntp2.example"},"status":{"IC":0,"RC":0,"RCT":"OK"}})");

  for (const char *key : {"NTPEnabled", "NTPDHCPEnabled", "NTPPrim", "NTPSec", "Override"}) {
    Json missing = prm;
    missing.erase(key);
    EXPECT_EQ(Status(91, missing), Error(5, key));
  }
  EXPECT_EQ(SetterNames(), Json::array());

  FailSecond("kvnHpiNTPFromDHCPEnableSet", kBusy);
  EXPECT_EQ(Status(91, prm), Ok());
  EXPECT_EQ(Status(91, prm), Error(9, "kvnHpiNTPFromDHCPEnableSet", 1004));
  EXPECT_EQ(SetterNames().back(), "kvnHpiNTPFromDHCPEnableSet");
  FailNext("kvnHpiNTPServersGet", kNotPresent);
  EXPECT_EQ(Status(90, nullptr), Error(9, "kvnHpiNTPServersGet", 1011));
}

// ---- FN 86 to 88: iPDU ---------------------------------------------------------------------

class Ipdu : public Preferences {
 protected:
  static Json Step(int id, int delay, int init) { return {{"ID", id}, {"DELAY", delay}, {"INIT", init}}; }
};

TEST_F(Ipdu, SettingsListTheSequenceWithEachOutletsInitialState) {
  sim().Set("/preferences/ipdu_power/sequence", Json::parse(R"([{"outlet":3,"delay":2},{"outlet":1,"delay":0}])"));
  sim().Set("/preferences/ipdu_power/initial_states", {{"3", 2}});
  sim().Set("/preferences/ipdu_power/default_initial_state", 1);
  sim().Set("/preferences/ipdu_power/voltage", 120);
  sim().Set("/preferences/ipdu_power/frequency", 60);
  EXPECT_EQ(Call(86, nullptr).dump(),
            R"({"MN":null,"response":{"BRANCHES":2,"DEFAULT":{"FREQUENCY":50,"VOLTAGE":230},"INLETS":1,)"
            R"("NOMINAL":{"FREQUENCY":60,"VOLTAGE":120},"OUTLETS":8,"PHASES":1,"PLUGS":1,)"
            R"("STARTUP":{"DEFAULT":1,"SEQ":[{"DELAY":2,"ID":3,"INIT":2},{"DELAY":0,"ID":1,"INIT":1}]}},)"
            R"("status":{"IC":0,"RC":0,"RCT":"OK"}})");

  sim().Set("/preferences/ipdu_power/sequence", Json::array());
  EXPECT_EQ(Call(86, nullptr)["response"]["STARTUP"]["SEQ"], Json::array());

  // A daemon claiming more steps than the 64 places of the record.
  sim().Fault({{"rpc", Rpc("kvnHpiOutletStartupSequenceGet")}, {"output", 0}, {"value", 65}});
  EXPECT_EQ(Status(86, nullptr), Error(9, "kvnHpiOutletStartupSequenceGet", 1010));
  EXPECT_EQ(CallNames().back(), "kvnHpiOutletStartupSequenceGet");
}

TEST_F(Ipdu, NominalValues) {
  EXPECT_EQ(Status(87, {{"voltage", 110}, {"frequency", 60}}), Ok());
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnHpiIpduNominalVoltageFrequencySet",110,60]])"));
  EXPECT_EQ(Model("/preferences/ipdu_power/voltage"), 110);
  EXPECT_EQ(Status(87, {{"frequency", 60}}), Error(5, "voltage"));
  EXPECT_EQ(Status(87, {{"voltage", 110}}), Error(5, "frequency"));
  EXPECT_EQ(Status(87, {{"voltage", true}, {"frequency", 60}}), TypeError("number, but is boolean"));
  EXPECT_EQ(CallNames(), Json::array());
}

TEST_F(Ipdu, StartupSequenceWritesStatesThenTheSequence) {
  EXPECT_EQ(Status(88, {{"seq", {Step(2, 5, 1), Step(4, 0, 0)}}}), Ok());
  EXPECT_EQ(SetterNames(), Json::parse(R"(["kvnHpiOutletInitialStateSet","kvnHpiOutletInitialStateSet",
      "kvnHpiOutletStartupSequenceSet"])"));
  EXPECT_EQ(Model("/preferences/ipdu_power/sequence"),
            Json::parse(R"([{"outlet":2,"delay":5},{"outlet":4,"delay":0}])"));
  EXPECT_EQ(Model("/preferences/ipdu_power/initial_states"), Json::parse(R"({"2":1,"4":0})"));

  // [] empties the sequence and sets no state.
  EXPECT_EQ(Status(88, {{"seq", Json::array()}}), Ok());
  EXPECT_EQ(SetterNames(), Json::parse(R"(["kvnHpiOutletStartupSequenceSet"])"));
  EXPECT_EQ(Model("/preferences/ipdu_power/sequence"), Json::array());

  // A rejected third outlet: the first two states stay written, the sequence is not.
  sim().Set("/preferences/ipdu_power/sequence", Json::parse(R"([{"outlet":8,"delay":1}])"));
  EXPECT_EQ(Status(88, {{"seq", {Step(1, 1, 2), Step(2, 1, 2), Step(99, 1, 2), Step(3, 1, 2)}}}),
            Error(9, "kvnHpiOutletInitialStateSet", 1011));
  EXPECT_EQ(SetterNames(), Json::parse(R"(["kvnHpiOutletInitialStateSet","kvnHpiOutletInitialStateSet",
      "kvnHpiOutletInitialStateSet"])"));
  EXPECT_EQ(Model("/preferences/ipdu_power/initial_states"), Json::parse(R"({"1":2,"2":2,"4":0})"));
  EXPECT_EQ(Model("/preferences/ipdu_power/sequence"), Json::parse(R"([{"outlet":8,"delay":1}])"));
}

TEST_F(Ipdu, StartupSequenceRefusesBadRequestsBeforeAnyCall) {
  Json full = Json::array();
  for (int i = 0; i < 64; ++i) full.push_back(Step(i % 8 + 1, i, 1));
  EXPECT_EQ(Status(88, {{"seq", full}}), Ok());
  EXPECT_EQ(Model("/preferences/ipdu_power/sequence").size(), 64u);
  sim().Journal();

  full.push_back(Step(1, 64, 1));  // the 65th has no place in the sequence
  EXPECT_EQ(Status(88, {{"seq", full}}), Error(6, "seq"));
  EXPECT_EQ(Status(88, Json::object()), Error(5, "seq"));
  EXPECT_EQ(Status(88, {{"seq", {Step(1, 0, 1), {{"ID", 2}, {"DELAY", 0}}}}}), Error(5, "INIT"));
  EXPECT_EQ(Status(88, {{"seq", {{{"DELAY", 0}, {"INIT", 1}}}}}), Error(5, "ID"));
  EXPECT_EQ(Status(88, {{"seq", "1,2"}}), TypeError("array, but is string"));
  EXPECT_EQ(CallNames(), Json::array());
  EXPECT_EQ(Model("/preferences/ipdu_power/sequence").size(), 64u);
}

// ---- FN 97 to 100: server reachability ----------------------------------------------------

class Reachability : public Preferences {
 protected:
  static Json Entry(const std::string &dest, int scnt) {
    return {{"DEST", dest}, {"SCNT", scnt}, {"UCNT", 2}, {"ASCC", 3}, {"AUNSC", 4}, {"BRES", 5}, {"EN", 1}};
  }
};

TEST_F(Reachability, ListAddChangeDelete) {
  EXPECT_EQ(Call(97, nullptr).dump(), R"({"MN":null,"response":[],"status":{"IC":0,"RC":0,"RCT":"OK"}})");
  EXPECT_EQ(CallNames(), Json::parse(R"(["kvnServerReachabilityGetCount"])"));

  EXPECT_EQ(Call(98, Entry("10.0.0.1", 1))["response"], Json::parse(R"({"ID":1})"));
  EXPECT_EQ(Call(98, Entry(std::string(300, 'd'), 7))["response"], Json::parse(R"({"ID":2})"));
  EXPECT_EQ(Model("/preferences/reachability/1/dest"), std::string(255, 'd')) << "cut to 255 bytes";
  sim().Set("/preferences/reachability/0/reach", 1);
  Json change = Entry("host.example", 9);
  change["ID"] = 1;
  change["EN"] = 0;
  EXPECT_EQ(Status(99, change), Ok());
  sim().Journal();
  EXPECT_EQ(Call(97, nullptr)["response"][0].dump(),
            R"({"ASCC":3,"AUNSC":4,"BRES":5,"DEST":"host.example","EN":0,"ID":1,"REACH":1,"SCNT":9,"UCNT":2,)"
            R"("UNRCH":0})");
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnServerReachabilityGetCount"],["kvnServerReachabilityGet",1],
      ["kvnServerReachabilityGet",2]])"));

  EXPECT_EQ(Status(100, {{"ID", 1}}), Ok());
  EXPECT_EQ(Call(97, nullptr)["response"].size(), 1u);
  EXPECT_EQ(Status(100, {{"ID", 5}}), Error(9, "kvnServerReachabilityDelete", 1011));
}

TEST_F(Reachability, RequestsAreCheckedInTheirKeyOrder) {
  Json no_en = Entry("a", 1);
  no_en.erase("EN");
  EXPECT_EQ(Status(98, no_en), Error(5, "EN"));
  EXPECT_EQ(Status(99, Json::object()), Error(5, "ID"));
  EXPECT_EQ(Status(99, {{"ID", 1}}), Error(5, "DEST"));
  EXPECT_EQ(Status(100, Json::object()), Error(5, "ID"));
  Json text_count = Entry("a", 1);
  text_count["SCNT"] = "1";
  EXPECT_EQ(Status(98, text_count), TypeError("number, but is string"));
  EXPECT_EQ(CallNames(), Json::array());
  EXPECT_EQ(Model("/preferences/reachability"), Json::array());
}

TEST_F(Reachability, AFailingEntryDropsTheWholeList) {
  sim().Set("/preferences/reachability", Json::array({{{"dest", "a"}}, {{"dest", "b"}}, {{"dest", "c"}}}));
  FailSecond("kvnServerReachabilityGet", kBusy);
  EXPECT_EQ(Call(97, nullptr).dump(), R"({"MN":null,"status":{"IC":1004,"RC":9,"RCT":"kvnServerReachabilityGet"}})");
  EXPECT_EQ(CallArgs(), Json::parse(R"([["kvnServerReachabilityGetCount"],["kvnServerReachabilityGet",1],
      ["kvnServerReachabilityGet",2]])"));

  // A count the daemon cannot serve ends at the first id it lacks.
  sim().Fault({{"rpc", Rpc("kvnServerReachabilityGetCount")}, {"output", 0}, {"value", 4000000000u}});
  EXPECT_EQ(Status(97, nullptr), Error(9, "kvnServerReachabilityGet", 1011));
  EXPECT_EQ(CallNames().size(), 5u);
  FailNext("kvnServerReachabilityGetCount", kBusy);
  EXPECT_EQ(Status(97, nullptr), Error(9, "kvnServerReachabilityGetCount", 1004));
}

}  // namespace
}  // namespace kvnc::test
