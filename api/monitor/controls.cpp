#include "api/monitor/controls.h"

#include <string>

#include "api/monitor/hpi_json.h"
#include "client/hpi_functions.h"
#include "client/text_buffer.h"
#include "front/api_error.h"

namespace kvnc {
namespace {

// A resource id or control number with all bits set names no instrument.
constexpr uint32_t kNone = 0xFFFFFFFF;

// The most instrument numbers one outlet range may span. Each number costs
// one RPC on a connection of its own, and the range comes from the daemon:
// 0..0xFFFFFFFF would be 2^32 calls. An outlet has a handful of instruments
// (a switch, current, power, energy); 256 calls take well under a second on
// a healthy daemon. A wider range is answered as invalid data from the
// daemon before any record is read.
constexpr uint64_t kMaxOutletInstruments = 256;

uint64_t RangeWidth(uint32_t first, uint32_t last) { return first > last ? 0 : uint64_t{last} - first + 1; }

// Appends {"name", "num", "rid"} for each instrument number first..last of
// `type` on `rid` that has a record; numbers without one are skipped.
void AppendInstruments(HpiSession session, SaHpiResourceIdT rid, SaHpiRdrTypeT type, uint32_t first, uint32_t last,
                       json &out) {
  // Counted in 64 bits: a range that ends at the last 32-bit number must end.
  for (uint64_t n = first; n <= last; ++n) {
    const auto num = static_cast<SaHpiInstrumentIdT>(n);
    SaHpiRdrT rdr{};
    const SaErrorT rv = saHpiRdrGetByInstrumentId(session, rid, type, num, &rdr);
    if (rv == SA_ERR_HPI_NOT_PRESENT) continue;
    CheckHpi(rv, "saHpiRdrGetByInstrumentId");
    out.push_back({{"name", TextBufferToString(rdr.IdString)}, {"num", num}, {"rid", rid}});
  }
}

json ControlStateJson(HpiSession session, SaHpiResourceIdT rid, SaHpiCtrlNumT num, SaHpiCtrlTypeT type) {
  SaHpiCtrlModeT mode = SAHPI_CTRL_MODE_AUTO;
  SaHpiCtrlStateT state{};
  state.Type = type;
  const SaErrorT rv = saHpiControlGet(session, rid, num, &mode, &state);
  json control = {{"cnum", static_cast<int32_t>(num)}, {"mode", 0}, {"type", 0}, {"stat", "Unknown"}};
  // UNKNOWN: the daemon cannot tell this control's state; it is listed as such.
  if (rv == SA_ERR_HPI_UNKNOWN) return control;
  CheckHpi(rv, "saHpiControlGet");

  control["mode"] = static_cast<int32_t>(mode);
  control["type"] = static_cast<int32_t>(state.Type);
  switch (state.Type) {
    case SAHPI_CTRL_TYPE_DIGITAL:
      control["stat"] = static_cast<int32_t>(state.StateUnion.Digital);
      break;
    case SAHPI_CTRL_TYPE_ANALOG:
      control["stat"] = state.StateUnion.Analog;
      break;
    case SAHPI_CTRL_TYPE_DISCRETE: {
      control["stat"] = state.StateUnion.Discrete;
      SaHpiUint32T unused = 0;
      SaHpiTextBufferT first{}, second{};
      if (kvnHpiControlStateTextGet(session, rid, num, &unused, &first, &second) == SA_OK) {
        control["istat"] = TextBufferToString(first) + TextBufferToString(second);
      }
      break;
    }
    default:
      control["stat"] = "Error";
      break;
  }
  return control;
}

}  // namespace

json GetOutletInstruments(HpiSession session, const json &prm) {
  const auto outlet = GetNumber<SaHpiUint32T>(RequireKey(prm, "ID"));
  KvnOutletInstrumentsT range{};
  CheckHpi(kvnHpiFindOutletInstruments(session, outlet, &range), "kvnHpiFindOutletInstruments");

  json controls = json::array();
  json sensors = json::array();
  if (range.ResourceId != kNone) {
    // An outlet without an on/off control has a first control number with all bits set.
    const bool has_controls = range.FirstCtrlNum != kNone;
    if ((has_controls && RangeWidth(range.FirstCtrlNum, range.LastCtrlNum) > kMaxOutletInstruments) ||
        RangeWidth(range.FirstSensorNum, range.LastSensorNum) > kMaxOutletInstruments) {
      Fail(ErrorReplyWithCode(kRcHpiError, SA_ERR_HPI_INVALID_DATA, "kvnHpiFindOutletInstruments"));
    }
    if (has_controls) {
      AppendInstruments(session, range.ResourceId, SAHPI_CTRL_RDR, range.FirstCtrlNum, range.LastCtrlNum, controls);
    }
    AppendInstruments(session, range.ResourceId, SAHPI_SENSOR_RDR, range.FirstSensorNum, range.LastSensorNum, sensors);
  }
  return OkReplyWithResponse({{"controls", std::move(controls)}, {"sensors", std::move(sensors)}});
}

json GetControlStates(HpiSession session, const json &prm) {
  const auto rid = GetNumber<SaHpiResourceIdT>(RequireKey(prm, "ID"));
  json response = json::array();
  for (const json &element : RequireArray(prm, "CTRL")) {
    const auto num = GetNumber<SaHpiCtrlNumT>(RequireKey(element, "NUM"));
    const auto type = GetNumber<SaHpiCtrlTypeT>(RequireKey(element, "TYPE"));
    response.push_back(ControlStateJson(session, rid, num, type));
  }
  return OkReplyWithResponse(response);
}

json SetControlState(HpiSession session, const json &prm) {
  const auto rid = GetNumber<SaHpiResourceIdT>(RequireKey(prm, "ID"));
  const auto num = GetNumber<SaHpiCtrlNumT>(RequireKey(prm, "CNUM"));
  // Read wide, so that no huge number wraps around into a valid mode.
  const auto mode = GetNumber<int64_t>(RequireKey(prm, "MODE"));
  if (mode != SAHPI_CTRL_MODE_AUTO && mode != SAHPI_CTRL_MODE_MANUAL) {
    Fail(ErrorReplyWithParam(kRcBadValue, "MODE", static_cast<int32_t>(mode)));
  }
  SaHpiRdrT rdr{};
  CheckHpi(saHpiRdrGetByInstrumentId(session, rid, SAHPI_CTRL_RDR, num, &rdr), "saHpiRdrGetByInstrumentId");

  if (mode == SAHPI_CTRL_MODE_AUTO) {
    CheckHpi(saHpiControlSet(session, rid, num, SAHPI_CTRL_MODE_AUTO, nullptr), "saHpiControlSet");
    return OkReply();
  }
  const json &value = RequireKey(prm, "STATE");
  SaHpiCtrlStateT state{};
  state.Type = rdr.RdrTypeUnion.CtrlRec.Type;
  switch (state.Type) {
    case SAHPI_CTRL_TYPE_DIGITAL:
      state.StateUnion.Digital = GetNumber<SaHpiCtrlStateDigitalT>(value);
      break;
    case SAHPI_CTRL_TYPE_DISCRETE:
      state.StateUnion.Discrete = GetNumber<SaHpiCtrlStateDiscreteT>(value);
      break;
    case SAHPI_CTRL_TYPE_ANALOG:
      state.StateUnion.Analog = GetNumber<SaHpiCtrlStateAnalogT>(value);
      break;
    default:  // stream, text and OEM states are not one number
      Fail(ErrorReplyFn(kRcOutOfRange, static_cast<int32_t>(state.Type)));
  }
  CheckHpi(saHpiControlSet(session, rid, num, SAHPI_CTRL_MODE_MANUAL, &state), "saHpiControlSet");
  return OkReply();
}

json SetOutletUserName(HpiSession session, const json &prm) {
  const bool flag = RequireKey(prm, "WI").get<bool>();
  const auto outlet = GetNumber<SaHpiUint32T>(RequireKey(prm, "ID"));
  const SaHpiTextBufferT name = TextBufferFromString(RequireKey(prm, "NAME").get<std::string>());
  CheckHpi(kvnHpiOutletUserNameSet(session, outlet, &name, flag ? 1 : 0), "kvnHpiOutletUserNameSet");
  return OkReply();
}

}  // namespace kvnc
