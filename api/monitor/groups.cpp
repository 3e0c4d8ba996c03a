#include "api/monitor/groups.h"

#include <functional>
#include <string>
#include <string_view>

#include "api/events/id_walk.h"
#include "api/monitor/hpi_json.h"
#include "client/hpi_functions.h"
#include "client/text_buffer.h"
#include "front/api_error.h"

namespace kvnc {
namespace {

// A resource id or control number with all bits set names no instrument.
constexpr uint32_t kNone = 0xFFFFFFFF;

// Outlet resources of the iPDU, and the entity type of an outlet.
constexpr SaHpiResourceIdT kFirstOutletResource = 4002;
constexpr SaHpiResourceIdT kLastOutletResource = 4009;
constexpr SaHpiEntityTypeT kOutletEntity = 219;

SaHpiTextBufferT GroupName(const json &prm) {
  return TextBufferFromString(RequireKey(prm, "GROUP").get<std::string>());
}

template <typename T>
T Number(const json &prm, std::string_view key) {
  return GetNumber<T>(RequireKey(prm, key));
}

// A member list of one group, by index from 0, each answer naming the next
// index; the daemon ends it with SA_ERR_HPI_NOT_PRESENT. Indexes come from
// the daemon, so a repeated one ends the walk (WalkGuard).
void WalkMembers(std::string_view function, const std::function<SaErrorT(uint32_t index, uint32_t *next)> &fetch) {
  WalkGuard guard(function);
  uint32_t index = 0;
  for (;;) {
    guard.Visit(index);
    uint32_t next = 0;
    const SaErrorT rv = fetch(index, &next);
    if (rv == SA_ERR_HPI_NOT_PRESENT) return;
    CheckHpi(rv, function);
    index = next;
  }
}

// The member's record; false when its instrument or its whole resource is
// gone (a removed resource must not hide every group from the page that
// lets the user remove the member).
bool MemberRdr(HpiSession session, SaHpiResourceIdT rid, SaHpiRdrTypeT type, SaHpiInstrumentIdT num, SaHpiRdrT *rdr) {
  const SaErrorT rv = saHpiRdrGetByInstrumentId(session, rid, type, num, rdr);
  if (rv == SA_ERR_HPI_NOT_PRESENT || rv == SA_ERR_HPI_INVALID_RESOURCE) return false;
  CheckHpi(rv, "saHpiRdrGetByInstrumentId");
  return true;
}

bool IsOutlet(SaHpiResourceIdT rid, const SaHpiRdrT &rdr) {
  const SaHpiEntityT &first = rdr.Entity.Entry[0];
  return rid >= kFirstOutletResource && rid <= kLastOutletResource && first.EntityType == kOutletEntity &&
         first.EntityLocation != 0;
}

void AppendControls(HpiSession session, const SaHpiTextBufferT &name, json &group) {
  WalkMembers("kvnHpiGroupControlGet", [&](uint32_t index, uint32_t *next) {
    SaHpiResourceIdT rid = 0;
    SaHpiCtrlNumT num = 0;
    SaHpiUint32T delay = 0;
    const SaErrorT rv = kvnHpiGroupControlGet(session, &name, index, next, &rid, &num, &delay);
    if (rv != SA_OK) return rv;
    SaHpiRdrT rdr{};
    if (!MemberRdr(session, rid, SAHPI_CTRL_RDR, num, &rdr)) {
      group["CONTROLS"].push_back(
          {{"ID", index}, {"RES", rid}, {"NUM", num}, {"DELAY", delay}, {"NAME", "NOT PRESENT"}, {"PRESENT", false}});
    } else if (IsOutlet(rid, rdr)) {
      group["OUTLETS"].push_back({{"ID", index},
                                  {"OUTLET", static_cast<int32_t>(rdr.Entity.Entry[0].EntityLocation)},
                                  {"DELAY", delay},
                                  {"NAME", TextBufferToString(rdr.IdString)},
                                  {"PRESENT", true}});
    } else {
      group["CONTROLS"].push_back({{"ID", index},
                                   {"RES", rid},
                                   {"NUM", num},
                                   {"DELAY", delay},
                                   {"NAME", TextBufferToString(rdr.IdString)},
                                   {"PRESENT", true}});
    }
    return SA_OK;
  });
}

void AppendSensors(HpiSession session, const SaHpiTextBufferT &name, json &group) {
  WalkMembers("kvnHpiGroupSensorGet", [&](uint32_t index, uint32_t *next) {
    SaHpiResourceIdT rid = 0;
    SaHpiSensorNumT num = 0;
    const SaErrorT rv = kvnHpiGroupSensorGet(session, &name, index, next, &rid, &num);
    if (rv != SA_OK) return rv;
    SaHpiRdrT rdr{};
    const bool present = MemberRdr(session, rid, SAHPI_SENSOR_RDR, num, &rdr);
    group["SENSORS"].push_back({{"ID", index},
                                {"RES", rid},
                                {"NUM", num},
                                {"NAME", present ? TextBufferToString(rdr.IdString) : "NOT PRESENT"},
                                {"PRESENT", present}});
    return SA_OK;
  });
}

// The on/off control of an outlet: the first control number of its range.
struct OutletControl {
  SaHpiResourceIdT rid;
  SaHpiCtrlNumT num;
};

OutletControl FindOutletControl(HpiSession session, SaHpiUint32T outlet) {
  KvnOutletInstrumentsT range{};
  CheckHpi(kvnHpiFindOutletInstruments(session, outlet, &range), "kvnHpiFindOutletInstruments");
  if (range.ResourceId == kNone || range.FirstCtrlNum == kNone) {
    Fail(ErrorReplyMsg(kRcBadValue, "no on/off control for outlet"));
  }
  return {range.ResourceId, range.FirstCtrlNum};
}

}  // namespace

json GetGroups(HpiSession session, const json & /*prm*/) {
  json groups = json::array();
  WalkGuard guard("kvnHpiGroupGetNext");
  for (SaHpiEntryIdT cursor = SAHPI_FIRST_ENTRY; cursor != SAHPI_LAST_ENTRY;) {
    guard.Visit(cursor);
    SaHpiEntryIdT next = SAHPI_LAST_ENTRY;
    SaHpiTextBufferT name{};
    // Any failure ends the list: the groups read so far are shown.
    if (kvnHpiGroupGetNext(session, cursor, &next, &name) != SA_OK) break;
    json group = {{"ID", cursor},
                  {"GROUP", TextBufferToString(name)},
                  {"OUTLETS", json::array()},
                  {"CONTROLS", json::array()},
                  {"SENSORS", json::array()}};
    AppendControls(session, name, group);
    AppendSensors(session, name, group);
    groups.push_back(std::move(group));
    cursor = next;
  }
  return OkReplyWithResponse(groups);
}

json CreateGroup(HpiSession session, const json &prm) {
  const SaHpiTextBufferT group = GroupName(prm);
  CheckHpi(kvnHpiGroupCreate(session, &group), "kvnHpiGroupCreate");
  return OkReply();
}

json DeleteGroup(HpiSession session, const json &prm) {
  const SaHpiTextBufferT group = GroupName(prm);
  CheckHpi(kvnHpiGroupDelete(session, &group), "kvnHpiGroupDelete");
  return OkReply();
}

json GetGroupSwitchProgress(HpiSession session, const json &prm) {
  const SaHpiTextBufferT group = GroupName(prm);
  SaHpiUint32T processed = 0;
  SaHpiUint32T total = 0;
  SaHpiInt32T error = 0;
  CheckHpi(kvnHpiGroupControlGetProgressAsynchronous(session, &group, &processed, &total, &error),
           "kvnHpiGroupControlGetProgressAsynchronous");
  return OkReplyWithResponse({{"processed", processed}, {"total", total}, {"error", error}});
}

json CancelGroupSwitch(HpiSession session, const json &prm) {
  const SaHpiTextBufferT group = GroupName(prm);
  CheckHpi(kvnHpiGroupControlCancelAsynchronous(session, &group), "kvnHpiGroupControlCancelAsynchronous");
  return OkReply();
}

json AddGroupControl(HpiSession session, const json &prm) {
  const SaHpiTextBufferT group = GroupName(prm);
  const auto rid = Number<SaHpiResourceIdT>(prm, "RID");
  const auto num = Number<SaHpiCtrlNumT>(prm, "CNUM");
  const auto delay = Number<SaHpiUint32T>(prm, "DELAY");
  CheckHpi(kvnHpiGroupControlAdd(session, &group, rid, num, delay), "kvnHpiGroupControlAdd");
  return OkReply();
}

json RemoveGroupControl(HpiSession session, const json &prm) {
  const SaHpiTextBufferT group = GroupName(prm);
  const auto rid = Number<SaHpiResourceIdT>(prm, "RID");
  const auto num = Number<SaHpiCtrlNumT>(prm, "CNUM");
  CheckHpi(kvnHpiGroupControlDelete(session, &group, rid, num), "kvnHpiGroupControlDelete");
  return OkReply();
}

json AddGroupOutlet(HpiSession session, const json &prm) {
  const SaHpiTextBufferT group = GroupName(prm);
  const auto outlet = Number<SaHpiUint32T>(prm, "OUTLET");
  const auto delay = Number<SaHpiUint32T>(prm, "DELAY");
  const OutletControl control = FindOutletControl(session, outlet);
  CheckHpi(kvnHpiGroupControlAdd(session, &group, control.rid, control.num, delay), "kvnHpiGroupControlAdd");
  return OkReply();
}

json RemoveGroupOutlet(HpiSession session, const json &prm) {
  const SaHpiTextBufferT group = GroupName(prm);
  const auto outlet = Number<SaHpiUint32T>(prm, "OUTLET");
  const OutletControl control = FindOutletControl(session, outlet);
  CheckHpi(kvnHpiGroupControlDelete(session, &group, control.rid, control.num), "kvnHpiGroupControlDelete");
  return OkReply();
}

json AddGroupSensor(HpiSession session, const json &prm) {
  const SaHpiTextBufferT group = GroupName(prm);
  const auto rid = Number<SaHpiResourceIdT>(prm, "RID");
  const auto num = Number<SaHpiSensorNumT>(prm, "SNUM");
  CheckHpi(kvnHpiGroupSensorAdd(session, &group, rid, num), "kvnHpiGroupSensorAdd");
  return OkReply();
}

json RemoveGroupSensor(HpiSession session, const json &prm) {
  const SaHpiTextBufferT group = GroupName(prm);
  const auto rid = Number<SaHpiResourceIdT>(prm, "RID");
  const auto num = Number<SaHpiSensorNumT>(prm, "SNUM");
  CheckHpi(kvnHpiGroupSensorDelete(session, &group, rid, num), "kvnHpiGroupSensorDelete");
  return OkReply();
}

json SetGroupThresholds(HpiSession session, const json &prm) {
  const SaHpiTextBufferT group = GroupName(prm);
  const SaHpiSensorThresholdsT thresholds = ReadSensorThresholds(prm);
  CheckHpi(kvnHpiGroupSensorThresholdsSet(session, &group, &thresholds), "kvnHpiGroupSensorThresholdsSet");
  return OkReply();
}

json GetGroupAggregateReading(HpiSession session, const json &prm) {
  const SaHpiTextBufferT group = GroupName(prm);
  const auto operation = Number<SaHpiUint32T>(prm, "OPERATION");
  SaHpiSensorReadingT reading{};
  SaHpiEventStateT state = 0;
  CheckHpi(kvnHpiGroupSensorReadingAggregateGet(session, &group, operation, &reading, &state),
           "kvnHpiGroupSensorReadingAggregateGet");
  json response = SensorReadingJson(reading);
  response["state"] = state;
  return OkReplyWithResponse(response);
}

json SwitchGroup(HpiSession session, const json &prm) {
  const SaHpiTextBufferT group = GroupName(prm);
  // Read wide, so that no huge number wraps around into a valid mode.
  const auto mode = Number<int64_t>(prm, "MODE");
  if (mode != SAHPI_CTRL_MODE_AUTO && mode != SAHPI_CTRL_MODE_MANUAL) {
    Fail(ErrorReplyWithParam(kRcBadValue, "MODE", static_cast<int32_t>(mode)));
  }
  // One value for controls of every type; the daemon applies it to each.
  SaHpiCtrlStateT state{};
  state.Type = SAHPI_CTRL_TYPE_ANALOG;
  if (mode == SAHPI_CTRL_MODE_MANUAL) state.StateUnion.Analog = Number<SaHpiCtrlStateAnalogT>(prm, "STATE");
  CheckHpi(kvnHpiGroupControlStateAssignAsynchronous(session, &group, static_cast<SaHpiCtrlModeT>(mode), &state),
           "kvnHpiGroupControlStateAssignAsynchronous");
  return OkReply();
}

}  // namespace kvnc
