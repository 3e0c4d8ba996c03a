// What the simulator answers, through the client functions the API calls, on
// the demo appliance: sensors, controls and outlets, records and names, the
// data of a login, and the model under many concurrent connections.
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

constexpr SaHpiResourceIdT kController = 1000;
constexpr SaHpiResourceIdT kProbe = 2001;      // temperature 1, humidity 2
constexpr SaHpiResourceIdT kDoor = 2002;       // dry contact 1
constexpr SaHpiResourceIdT kLostProbe = 2003;  // failed, removable; upper thresholds only
constexpr SaHpiEntityTypeT kOutletEntity = 219;

class SimServing : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    ASSERT_EQ(saHpiSessionOpen(SAHPI_UNSPECIFIED_DOMAIN_ID, &s_, nullptr), SA_OK);
  }
  void TearDown() override { saHpiSessionClose(s_); }

  SaHpiSessionIdT s_ = 0;
};

SaHpiSensorReadingT Float(double value) {
  SaHpiSensorReadingT reading{SAHPI_TRUE, SAHPI_SENSOR_READING_TYPE_FLOAT64, {}};
  reading.Value.SensorFloat64 = value;
  return reading;
}

std::vector<SaHpiSeverityT> Take(KvnSeverityListT list) {
  std::vector<SaHpiSeverityT> values(list.Severities, list.Severities + list.Count);
  free(list.Severities);
  return values;
}

TEST_F(SimServing, SensorReadingsThresholdsAndTheirSettings) {
  sim().Set("/resources/2001/sensors/1/reading", {{"value", 20}});
  SaHpiSensorReadingT reading{};
  SaHpiEventStateT state = 0xFFFF;
  ASSERT_EQ(saHpiSensorReadingGet(s_, kProbe, 1, &reading, &state), SA_OK);
  EXPECT_EQ(reading.Type, SAHPI_SENSOR_READING_TYPE_FLOAT64);
  EXPECT_EQ(reading.Value.SensorFloat64, 20);
  EXPECT_EQ(state, 0);
  EXPECT_EQ(saHpiSensorReadingGet(s_, kProbe, 9, &reading, &state), SA_ERR_HPI_NOT_PRESENT);
  EXPECT_EQ(saHpiSensorReadingGet(s_, 999, 1, &reading, &state), SA_ERR_HPI_INVALID_RESOURCE);

  // Thresholds: written values stay; out of order, of another type or not writable are refused.
  SaHpiSensorThresholdsT t{};
  t.LowMinor = Float(19);
  ASSERT_EQ(saHpiSensorThresholdsSet(s_, kProbe, 1, &t), SA_OK);
  ASSERT_EQ(saHpiSensorThresholdsGet(s_, kProbe, 1, &t), SA_OK);
  EXPECT_EQ(t.LowMinor.Value.SensorFloat64, 19);
  EXPECT_EQ(t.UpCritical.Value.SensorFloat64, 35);
  sim().Set("/resources/2001/sensors/1/reading/value", 19);
  ASSERT_EQ(saHpiSensorReadingGet(s_, kProbe, 1, &reading, &state), SA_OK);
  EXPECT_EQ(state, SAHPI_ES_LOWER_MINOR);  // at the new lower minor limit
  SaHpiSensorThresholdsT bad{};
  bad.UpMinor = Float(40);  // above the upper major limit of 30
  EXPECT_EQ(saHpiSensorThresholdsSet(s_, kProbe, 1, &bad), SA_ERR_HPI_INVALID_DATA);
  bad = {};
  bad.UpMinor = {SAHPI_TRUE, SAHPI_SENSOR_READING_TYPE_INT64, {}};
  EXPECT_EQ(saHpiSensorThresholdsSet(s_, kProbe, 1, &bad), SA_ERR_HPI_INVALID_DATA);
  bad = {};
  bad.LowMinor = Float(1);
  EXPECT_EQ(saHpiSensorThresholdsSet(s_, kLostProbe, 1, &bad), SA_ERR_HPI_INVALID_CMD);
  EXPECT_EQ(saHpiSensorThresholdsGet(s_, kDoor, 1, &t), SA_ERR_HPI_INVALID_CMD);

  // Status in one call: severities of the selected states; a sensor without
  // thresholds to read answers INVALID_CMD when they are asked for.
  SaHpiSensorThresholdsT status_thresholds{};
  KvnSeverityListT severities{};
  ASSERT_EQ(kvnHpiSensorStatusGet(s_, kProbe, 1, SAHPI_TRUE, 0x0024, &reading, &state, &status_thresholds, &severities),
            SA_OK);
  EXPECT_EQ(Take(severities), std::vector<SaHpiSeverityT>({SAHPI_CRITICAL, SAHPI_CRITICAL}));
  EXPECT_EQ(status_thresholds.UpMajor.Value.SensorFloat64, 30);
  EXPECT_EQ(kvnHpiSensorStatusGet(s_, kDoor, 1, SAHPI_TRUE, 0x3, &reading, &state, &status_thresholds, &severities),
            SA_ERR_HPI_INVALID_CMD);
  ASSERT_EQ(kvnHpiSensorStatusGet(s_, kDoor, 1, SAHPI_FALSE, 0x3, &reading, &state, &status_thresholds, &severities),
            SA_OK);
  EXPECT_EQ(reading.IsSupported, SAHPI_FALSE);
  EXPECT_EQ(state, SAHPI_ES_STATE_DEASSERTED);
  EXPECT_EQ(Take(severities), std::vector<SaHpiSeverityT>({SAHPI_OK, SAHPI_MAJOR}));

  // State severities: one per set bit.
  SaHpiSeverityT two[] = {SAHPI_MINOR, SAHPI_INFORMATIONAL};
  KvnSeverityListT set{2, two};
  ASSERT_EQ(kvnHpiSensorStateSeveritySet(s_, kDoor, 1, 0x3, &set), SA_OK);
  ASSERT_EQ(kvnHpiSensorStateSeverityGet(s_, kDoor, 1, 0x2, &severities), SA_OK);
  EXPECT_EQ(Take(severities), std::vector<SaHpiSeverityT>({SAHPI_INFORMATIONAL}));
  set.Count = 1;
  EXPECT_EQ(kvnHpiSensorStateSeveritySet(s_, kDoor, 1, 0x3, &set), SA_ERR_HPI_INVALID_PARAMS);

  // Event masks: added and removed bits; unsupported states refused.
  SaHpiEventStateT assert_mask, deassert_mask;
  ASSERT_EQ(saHpiSensorEventMasksSet(s_, kProbe, 1, SAHPI_SENS_REMOVE_EVENTS_FROM_MASKS, 0x0001, 0x0030), SA_OK);
  ASSERT_EQ(saHpiSensorEventMasksGet(s_, kProbe, 1, &assert_mask, &deassert_mask), SA_OK);
  EXPECT_EQ(assert_mask, 0x3E);
  EXPECT_EQ(deassert_mask, 0x0F);
  EXPECT_EQ(saHpiSensorEventMasksSet(s_, kProbe, 1, SAHPI_SENS_ADD_EVENTS_TO_MASKS, 0x0100, 0),
            SA_ERR_HPI_INVALID_DATA);

  // Assertion delays: only the slots of the presence mask change.
  KvnAssertionDelaysT delays{};
  delays.Delay[5] = 5;
  delays.Delay[0] = 99;
  ASSERT_EQ(kvnHpiSensorAssertionDelaySet(s_, kController, 1, 0x20, &delays), SA_OK);
  ASSERT_EQ(kvnHpiSensorAssertionDelayGet(s_, kController, 1, &delays), SA_OK);
  EXPECT_EQ(std::vector<SaHpiUint32T>(delays.Delay, delays.Delay + 6), std::vector<SaHpiUint32T>({0, 0, 0, 10, 10, 5}));
  EXPECT_EQ(kvnHpiSensorAssertionDelayGet(s_, kDoor, 1, &delays), SA_ERR_HPI_INVALID_CMD);

  KvnSensorInfoT info{};
  SaHpiUint32T unused;
  ASSERT_EQ(kvnHpiSensorExtendedInfoGet(s_, kController, 1, 0, &info, &unused), SA_OK);
  EXPECT_EQ(info.Resolution, 0.1);
  EXPECT_EQ(info.Tolerance, 0.5);

  // Reset: the loaded configuration comes back, the reading stays.
  ASSERT_EQ(kvnHpiSensorResetEraseConfiguration(s_, kProbe, 1), SA_OK);
  ASSERT_EQ(saHpiSensorThresholdsGet(s_, kProbe, 1, &t), SA_OK);
  EXPECT_EQ(t.LowMinor.Value.SensorFloat64, 18);
  ASSERT_EQ(saHpiSensorEventMasksGet(s_, kProbe, 1, &assert_mask, &deassert_mask), SA_OK);
  EXPECT_EQ(assert_mask, 0x3F);
  ASSERT_EQ(saHpiSensorReadingGet(s_, kProbe, 1, &reading, &state), SA_OK);
  EXPECT_EQ(reading.Value.SensorFloat64, 19);
}

TEST_F(SimServing, ControlsOfEachKindAndTheOutlets) {
  SaHpiCtrlModeT mode;
  SaHpiCtrlStateT state{};
  ASSERT_EQ(saHpiControlGet(s_, kController, 2, &mode, &state), SA_OK);
  EXPECT_EQ(state.Type, SAHPI_CTRL_TYPE_DISCRETE);
  EXPECT_EQ(state.StateUnion.Discrete, 1u);
  SaHpiUint32T value;
  SaHpiTextBufferT name, rest;
  ASSERT_EQ(kvnHpiControlStateTextGet(s_, kController, 2, &value, &name, &rest), SA_OK);
  EXPECT_EQ(TextBufferToString(name) + TextBufferToString(rest), "Low");
  EXPECT_EQ(kvnHpiControlStateTextGet(s_, kController, 1, &value, &name, &rest), SA_ERR_HPI_INVALID_CMD);

  SaHpiCtrlStateT analog{};
  analog.Type = SAHPI_CTRL_TYPE_ANALOG;
  analog.StateUnion.Analog = 101;  // range 0..100
  EXPECT_EQ(saHpiControlSet(s_, kController, 3, SAHPI_CTRL_MODE_MANUAL, &analog), SA_ERR_HPI_INVALID_DATA);
  analog.StateUnion.Analog = 75;
  ASSERT_EQ(saHpiControlSet(s_, kController, 3, SAHPI_CTRL_MODE_MANUAL, &analog), SA_OK);
  ASSERT_EQ(saHpiControlGet(s_, kController, 3, &mode, &state), SA_OK);
  EXPECT_EQ(mode, SAHPI_CTRL_MODE_MANUAL);
  EXPECT_EQ(state.StateUnion.Analog, 75);
  EXPECT_EQ(saHpiControlSet(s_, kController, 3, SAHPI_CTRL_MODE_MANUAL, &state), SA_OK);
  state.Type = SAHPI_CTRL_TYPE_DISCRETE;  // not the control's type
  EXPECT_EQ(saHpiControlSet(s_, kController, 3, SAHPI_CTRL_MODE_MANUAL, &state), SA_ERR_HPI_INVALID_DATA);

  // Text: one line, or all of them.
  SaHpiCtrlStateT text{};
  text.Type = SAHPI_CTRL_TYPE_TEXT;
  text.StateUnion.Text.Line = 2;
  text.StateUnion.Text.Text = TextBufferFromString("Rack B1");
  ASSERT_EQ(saHpiControlSet(s_, kController, 4, SAHPI_CTRL_MODE_MANUAL, &text), SA_OK);
  text.StateUnion.Text.Text = TextBufferFromString("");
  ASSERT_EQ(saHpiControlGet(s_, kController, 4, &mode, &text), SA_OK);
  EXPECT_EQ(TextBufferToString(text.StateUnion.Text.Text), "Rack B1");
  text.StateUnion.Text.Line = 0;
  ASSERT_EQ(saHpiControlGet(s_, kController, 4, &mode, &text), SA_OK);
  EXPECT_EQ(TextBufferToString(text.StateUnion.Text.Text), "Korvane RC-200Rack B1");

  // The iPDU: outlet n is the control 1 of resource 4001 + n, of entity type 219.
  for (SaHpiUint32T outlet = 1; outlet <= 8; ++outlet) {
    KvnOutletInstrumentsT range{};
    ASSERT_EQ(kvnHpiFindOutletInstruments(s_, outlet, &range), SA_OK);
    EXPECT_EQ(range.ResourceId, 4001 + outlet);
    EXPECT_EQ(range.FirstCtrlNum, 1u);
    EXPECT_EQ(range.LastCtrlNum, 1u);
    SaHpiRdrT rdr{};
    ASSERT_EQ(saHpiRdrGetByInstrumentId(s_, range.ResourceId, SAHPI_CTRL_RDR, range.FirstCtrlNum, &rdr), SA_OK);
    EXPECT_EQ(rdr.Entity.Entry[0].EntityType, kOutletEntity);
    EXPECT_EQ(rdr.Entity.Entry[0].EntityLocation, outlet);
    EXPECT_EQ(rdr.RdrTypeUnion.CtrlRec.OutputType, SAHPI_CTRL_POWER_STATE);
  }
  KvnOutletInstrumentsT none;
  EXPECT_EQ(kvnHpiFindOutletInstruments(s_, 9, &none), SA_ERR_HPI_NOT_PRESENT);

  SaHpiCtrlStateT off{};
  off.Type = SAHPI_CTRL_TYPE_DIGITAL;
  off.StateUnion.Digital = SAHPI_CTRL_STATE_PULSE_ON;
  EXPECT_EQ(saHpiControlSet(s_, 4002, 1, SAHPI_CTRL_MODE_MANUAL, &off), SA_ERR_HPI_INVALID_REQUEST);  // it is on
  off.StateUnion.Digital = SAHPI_CTRL_STATE_OFF;
  ASSERT_EQ(saHpiControlSet(s_, 4002, 1, SAHPI_CTRL_MODE_MANUAL, &off), SA_OK);
  ASSERT_EQ(saHpiControlGet(s_, 4002, 1, &mode, &state), SA_OK);
  EXPECT_EQ(state.StateUnion.Digital, SAHPI_CTRL_STATE_OFF);

  const SaHpiTextBufferT outlet_name = TextBufferFromString("Switch A3-07");
  ASSERT_EQ(kvnHpiOutletUserNameSet(s_, 7, &outlet_name, 1), SA_OK);
  ASSERT_EQ(kvnHpiOutletUserNameGet(s_, 7, &name), SA_OK);
  EXPECT_EQ(TextBufferToString(name), "Switch A3-07");
}

TEST_F(SimServing, RecordsNamesDescriptionsAndInventory) {
  // The controller's records: four controls, one sensor, one inventory.
  std::vector<std::pair<SaHpiRdrTypeT, SaHpiUint32T>> seen;
  SaHpiEntryIdT entry = SAHPI_FIRST_ENTRY, next = 0;
  do {
    SaHpiRdrT rdr{};
    ASSERT_EQ(saHpiRdrGet(s_, kController, entry, &next, &rdr), SA_OK);
    EXPECT_EQ(rdr.RecordId, seen.size() + 1);
    const SaHpiUint32T num = rdr.RdrType == SAHPI_CTRL_RDR     ? rdr.RdrTypeUnion.CtrlRec.Num
                             : rdr.RdrType == SAHPI_SENSOR_RDR ? rdr.RdrTypeUnion.SensorRec.Num
                                                               : rdr.RdrTypeUnion.InventoryRec.IdrId;
    seen.emplace_back(rdr.RdrType, num);
    entry = next;
  } while (next != SAHPI_LAST_ENTRY && seen.size() < 20);
  EXPECT_EQ(seen,
            (std::vector<std::pair<SaHpiRdrTypeT, SaHpiUint32T>>{{1, 1}, {1, 2}, {1, 3}, {1, 4}, {2, 1}, {3, 0}}));
  SaHpiRdrT rdr{};
  EXPECT_EQ(saHpiRdrGet(s_, kController, 7, &next, &rdr), SA_ERR_HPI_NOT_PRESENT);

  ASSERT_EQ(saHpiRdrGetByInstrumentId(s_, kProbe, SAHPI_SENSOR_RDR, 2, &rdr), SA_OK);
  const SaHpiSensorRecT &humidity = rdr.RdrTypeUnion.SensorRec;
  EXPECT_EQ(TextBufferToString(rdr.IdString), "Inlet humidity");
  EXPECT_EQ(humidity.DataFormat.Percentage, SAHPI_TRUE);
  EXPECT_EQ(humidity.DataFormat.Range.Flags, SAHPI_SRF_MAX | SAHPI_SRF_MIN);
  EXPECT_EQ(humidity.DataFormat.Range.Max.Value.SensorFloat64, 100);
  EXPECT_EQ(humidity.ThresholdDefn.IsAccessible, SAHPI_TRUE);
  EXPECT_EQ(rdr.Entity.Entry[0].EntityType, SAHPI_ENT_EXTERNAL_ENVIRONMENT);
  EXPECT_EQ(rdr.Entity.Entry[3].EntityType, SAHPI_ENT_ROOT);
  EXPECT_EQ(saHpiRdrGetByInstrumentId(s_, kProbe, SAHPI_CTRL_RDR, 2, &rdr), SA_ERR_HPI_NOT_PRESENT);

  // Names: set, and back to the loaded default.
  const SaHpiTextBufferT name = TextBufferFromString("Intake");
  ASSERT_EQ(kvnHpiInstrumentNameSet(s_, kProbe, SAHPI_SENSOR_RDR, 1, &name), SA_OK);
  ASSERT_EQ(saHpiRdrGetByInstrumentId(s_, kProbe, SAHPI_SENSOR_RDR, 1, &rdr), SA_OK);
  EXPECT_EQ(TextBufferToString(rdr.IdString), "Intake");
  SaHpiTextBufferT restored;
  ASSERT_EQ(kvnHpiInstrumentNameSetDefault(s_, kProbe, SAHPI_SENSOR_RDR, 1, &restored), SA_OK);
  EXPECT_EQ(TextBufferToString(restored), "Inlet temperature");

  // Descriptions of the device, a resource and an instrument.
  const SaHpiTextBufferT text = TextBufferFromString("Cold aisle");
  SaHpiTextBufferT read;
  ASSERT_EQ(kvnHpiInstrumentDescriptionSet(s_, kProbe, SAHPI_SENSOR_RDR, 1, &text), SA_OK);
  ASSERT_EQ(kvnHpiInstrumentDescriptionGet(s_, kProbe, SAHPI_SENSOR_RDR, 1, &read), SA_OK);
  EXPECT_EQ(TextBufferToString(read), "Cold aisle");
  ASSERT_EQ(kvnHpiResourceDescriptionGet(s_, kProbe, &read), SA_OK);
  EXPECT_EQ(TextBufferToString(read), "Front door, top");
  ASSERT_EQ(kvnHpiDeviceDescriptionSet(s_, &text), SA_OK);
  ASSERT_EQ(kvnHpiDeviceDescriptionGet(s_, &read), SA_OK);
  EXPECT_EQ(TextBufferToString(read), "Cold aisle");

  // Resources: tag, severity, removal of the removable one only.
  ASSERT_EQ(saHpiResourceSeveritySet(s_, kProbe, SAHPI_MINOR), SA_OK);
  EXPECT_EQ(sim().Dump()["resources"]["2001"]["severity"], SAHPI_MINOR);
  EXPECT_EQ(kvnHpiResourceRemove(s_, kProbe), SA_ERR_HPI_INVALID_REQUEST);
  ASSERT_EQ(kvnHpiResourceRemove(s_, kLostProbe), SA_OK);
  EXPECT_EQ(kvnHpiResourceRemove(s_, kLostProbe), SA_ERR_HPI_INVALID_RESOURCE);

  // The inventory: areas and fields in order, filtered by type.
  SaHpiIdrInfoT info{};
  ASSERT_EQ(saHpiIdrInfoGet(s_, kController, 0, &info), SA_OK);
  EXPECT_EQ(info.NumAreas, 2u);
  SaHpiIdrAreaHeaderT area{};
  ASSERT_EQ(saHpiIdrAreaHeaderGet(s_, kController, 0, SAHPI_IDR_AREATYPE_UNSPECIFIED, SAHPI_FIRST_ENTRY, &next, &area),
            SA_OK);
  EXPECT_EQ(area.Type, SAHPI_IDR_AREATYPE_PRODUCT_INFO);
  EXPECT_EQ(next, 2u);
  ASSERT_EQ(saHpiIdrAreaHeaderGet(s_, kController, 0, SAHPI_IDR_AREATYPE_BOARD_INFO, SAHPI_FIRST_ENTRY, &next, &area),
            SA_OK);
  EXPECT_EQ(area.AreaId, 2u);
  EXPECT_EQ(next, SAHPI_LAST_ENTRY);
  SaHpiIdrFieldT field{};
  ASSERT_EQ(
      saHpiIdrFieldGet(s_, kController, 0, 1, SAHPI_IDR_FIELDTYPE_SERIAL_NUMBER, SAHPI_FIRST_ENTRY, &next, &field),
      SA_OK);
  EXPECT_EQ(TextBufferToString(field.Field), "KV2-004711");
  EXPECT_EQ(next, SAHPI_LAST_ENTRY);
}

TEST_F(SimServing, WhatALoginAsks) {
  const SaHpiTextBufferT admin = TextBufferFromString("admin"), operator_name = TextBufferFromString("operator");
  SaHpiInt32T days;
  SaHpiUint8T warn;
  ASSERT_EQ(kvnHpiUserPasswordExpirationParametersGet(s_, &operator_name, &days, &warn), SA_OK);
  EXPECT_EQ(days, 5);
  EXPECT_EQ(warn, 1);
  SaHpiTextBufferT full, phone, email;
  SaHpiBoolT enabled, external;
  SaHpiUint32T uid;
  ASSERT_EQ(kvnHpiUserInfoGetByName(s_, &admin, &full, &phone, &email, &enabled, &external, &uid), SA_OK);
  EXPECT_EQ(TextBufferToString(full), "Ada Admin");
  EXPECT_EQ(uid, 1001u);
  const SaHpiTextBufferT ghost = TextBufferFromString("ghost");
  EXPECT_EQ(kvnHpiUserInfoGetByName(s_, &ghost, &full, &phone, &email, &enabled, &external, &uid),
            SA_ERR_HPI_NOT_PRESENT);

  // The address of eth0, and the end of the adapter list.
  SaHpiTextBufferT text;
  ASSERT_EQ(kvnHpiAdapterNameGet(s_, 1, &text), SA_OK);
  EXPECT_EQ(TextBufferToString(text), "eth0");
  ASSERT_EQ(kvnHpiIPv4AddressGet(s_, 1, &text), SA_OK);
  EXPECT_EQ(TextBufferToString(text), "192.168.1.10/24");
  EXPECT_EQ(kvnHpiAdapterNameGet(s_, 3, &text), SA_ERR_HPI_NOT_PRESENT);
  ASSERT_EQ(kvnHpiHostNameGet(s_, &text), SA_OK);
  EXPECT_EQ(TextBufferToString(text), "korvane-demo");

  // Root has no settings of its own: the "current user" queries fail, the
  // appliance's answer.
  KvnWebParametersT web{};
  EXPECT_EQ(kvnHpiCurrentUserWebParametersGet(s_, &web), SA_ERR_HPI_NOT_PRESENT);
  ASSERT_EQ(kvnHpiGlobalWebParametersGet(s_, &web), SA_OK);
  EXPECT_EQ(web.IdleTimeout, 1800u);
  EXPECT_EQ(web.LogPollingPeriod, 10u);
  ASSERT_EQ(kvnHpiUserWebParametersGet(s_, &operator_name, &web), SA_OK);  // no own: the appliance's
  EXPECT_EQ(web.IdleTimeout, 1800u);
  ASSERT_EQ(kvnHpiUserWebParametersGet(s_, &admin, &web), SA_OK);
  EXPECT_EQ(web.IdleTimeout, 600u);
  KvnMeasurementUnitsT units{};
  EXPECT_EQ(kvnHpiCurrentUserMeasurementUnitsGet(s_, &units), SA_ERR_HPI_NOT_PRESENT);
  ASSERT_EQ(kvnHpiGlobalMeasurementUnitsGet(s_, &units), SA_OK);
  EXPECT_EQ(units.Degrees, 0);
  SaHpiUint32T language, z;
  ASSERT_EQ(kvnHpiCurrentLanguageGet(s_, &language), SA_OK);
  EXPECT_EQ(language, SAHPI_LANG_ENGLISH);
  EXPECT_EQ(kvnHpiCurrentUserLanguageGet(s_, &language), SA_ERR_HPI_NOT_PRESENT);
  ASSERT_EQ(kvnHpiExternalSensorZCoordGet(s_, &z), SA_OK);

  // The address check refuses by rule: any user from 203.0.113.*, the viewer from one address.
  const SaHpiTextBufferT viewer = TextBufferFromString("viewer");
  const SaHpiTextBufferT net = TextBufferFromString("203.0.113.9"), one = TextBufferFromString("198.51.100.7");
  EXPECT_EQ(kvnHpiLoginAddressCheck(s_, 0, &admin, &net), KVN_ERR_HPI_INSUFFICIENT_PRIVILEGES);
  EXPECT_EQ(kvnHpiLoginAddressCheck(s_, 0, &viewer, &one), KVN_ERR_HPI_INSUFFICIENT_PRIVILEGES);
  EXPECT_EQ(kvnHpiLoginAddressCheck(s_, 0, &admin, &one), SA_OK);

  const SaHpiTextBufferT audit = TextBufferFromString("admin: logged in from 192.0.2.7");
  ASSERT_EQ(saHpiGenerateUserEvent(s_, 104, 3, &audit), SA_OK);
  const Json events = sim().Dump()["user_events"];
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0]["code"], 104);
  EXPECT_EQ(events[0]["level"], 3);
  EXPECT_EQ(events[0]["text"], "admin: logged in from 192.0.2.7");
}

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
