#include "api/monitor/resources.h"

#include <string>
#include <vector>

#include "api/events/id_walk.h"
#include "api/monitor/hpi_json.h"
#include "client/hpi_functions.h"
#include "client/text_buffer.h"
#include "front/api_error.h"

namespace kvnc {
namespace {

// Calls `visit` for each RDR of `rid`, from the first entry until the one
// whose next id is SAHPI_LAST_ENTRY. Any failure ends the request.
template <typename Visit>
void WalkRdrs(HpiSession session, SaHpiResourceIdT rid, Visit visit) {
  // A daemon handing out new record ids for ever would hold the worker and
  // grow the reply without end: past more records than any resource holds
  // the walk is invalid data.
  WalkGuard guard("saHpiRdrGet");
  SaHpiEntryIdT entry = SAHPI_FIRST_ENTRY;
  for (;;) {
    guard.Visit(entry);
    SaHpiEntryIdT next = SAHPI_LAST_ENTRY;
    SaHpiRdrT rdr{};
    CheckHpi(saHpiRdrGet(session, rid, entry, &next, &rdr), "saHpiRdrGet");
    visit(rdr);
    // Next ids that lead back to a record already read end the list.
    if (next == SAHPI_LAST_ENTRY || guard.Visited(next)) return;
    entry = next;
  }
}

// One number, or an array of numbers.
std::vector<uint32_t> ReadNumbers(const json &value) {
  std::vector<uint32_t> numbers;
  if (!value.is_array()) {
    numbers.push_back(GetNumber<uint32_t>(value));
    return numbers;
  }
  numbers.reserve(value.size());
  for (const json &n : value) numbers.push_back(GetNumber<uint32_t>(n));
  return numbers;
}

json SetInstrumentName(HpiSession session, const json &prm, SaHpiRdrTypeT type) {
  const auto rid = GetNumber<SaHpiResourceIdT>(RequireKey(prm, "RID"));
  const auto num = GetNumber<SaHpiInstrumentIdT>(RequireKey(prm, "NUM"));
  const bool restore_default = RequireKey(prm, "DEFAULT").get<bool>();
  SaHpiTextBufferT name{};
  if (restore_default) {
    CheckHpi(kvnHpiInstrumentNameSetDefault(session, rid, type, num, &name), "kvnHpiInstrumentNameSetDefault");
  } else {
    name = TextBufferFromString(RequireKey(prm, "NAME").get<std::string>());
    CheckHpi(kvnHpiInstrumentNameSet(session, rid, type, num, &name), "kvnHpiInstrumentNameSet");
  }
  // The name now in effect: the restored default, or the given one as sent (cut to 255 bytes).
  return OkReplyWithResponse({{"DEFAULT", restore_default}, {"NAME", TextBufferToString(name)}});
}

// What a description belongs to: TYPE 0 the device, 1 a resource ("RID"),
// anything else an instrument ("RID", "RTYPE", "NUM").
struct DescribedObject {
  int64_t type = 0;
  SaHpiResourceIdT rid = 0;
  SaHpiRdrTypeT rtype = 0;
  SaHpiInstrumentIdT num = 0;
};
constexpr int64_t kDescribeDevice = 0;
constexpr int64_t kDescribeResource = 1;

DescribedObject ReadDescribedObject(const json &prm, int64_t type) {
  DescribedObject object;
  object.type = type;
  if (type == kDescribeDevice) return object;
  object.rid = GetNumber<SaHpiResourceIdT>(RequireKey(prm, "RID"));
  if (type == kDescribeResource) return object;
  object.rtype = GetNumber<SaHpiRdrTypeT>(RequireKey(prm, "RTYPE"));
  object.num = GetNumber<SaHpiInstrumentIdT>(RequireKey(prm, "NUM"));
  return object;
}

}  // namespace

json GetInventoryRdrs(HpiSession session, const json &prm) {
  const auto rid = GetNumber<SaHpiResourceIdT>(RequireKey(prm, "ID"));
  json response = {{"inv", false}, {"rdrs", json::array()}};
  WalkRdrs(session, rid, [&response](const SaHpiRdrT &rdr) {
    response["rdrs"].push_back(RdrJson(rdr));
    if (rdr.RdrType == SAHPI_INVENTORY_RDR) {
      response["inv"] = true;
      response["invid"] = rdr.RdrTypeUnion.InventoryRec.IdrId;
    }
  });
  return OkReplyWithResponse(response);
}

json GetRdrByInstrumentId(HpiSession session, const json &prm) {
  const auto rid = GetNumber<SaHpiResourceIdT>(RequireKey(prm, "ID"));
  const auto type = GetNumber<SaHpiRdrTypeT>(RequireKey(prm, "TYPE"));
  json response = json::array();
  for (const uint32_t num : ReadNumbers(RequireKey(prm, "NUM"))) {
    SaHpiRdrT rdr{};
    CheckHpi(saHpiRdrGetByInstrumentId(session, rid, type, num, &rdr), "saHpiRdrGetByInstrumentId");
    response.push_back(RdrJson(rdr));
  }
  return OkReplyWithResponse(response);
}

json GetResourceRdrs(HpiSession session, const json &prm) {
  const auto rid = GetNumber<SaHpiResourceIdT>(RequireKey(prm, "ID"));
  json response = json::array();
  const auto append_sensor = [&response](const SaHpiRdrT &rdr) {
    if (rdr.RdrType == SAHPI_SENSOR_RDR) response.push_back(RdrJson(rdr));
  };
  const json *records = OptionalKey(prm, "RID");
  if (records == nullptr) {
    WalkRdrs(session, rid, append_sensor);
    return OkReplyWithResponse(response);
  }
  for (const uint32_t entry : ReadNumbers(*records)) {
    SaHpiEntryIdT next = 0;
    SaHpiRdrT rdr{};
    CheckHpi(saHpiRdrGet(session, rid, entry, &next, &rdr), "saHpiRdrGet");
    append_sensor(rdr);
  }
  return OkReplyWithResponse(response);
}

json SetSensorName(HpiSession session, const json &prm) { return SetInstrumentName(session, prm, SAHPI_SENSOR_RDR); }

json SetControlName(HpiSession session, const json &prm) { return SetInstrumentName(session, prm, SAHPI_CTRL_RDR); }

json SetResourceTag(HpiSession session, const json &prm) {
  const auto rid = GetNumber<SaHpiResourceIdT>(RequireKey(prm, "RID"));
  const SaHpiTextBufferT tag = TextBufferFromString(RequireKey(prm, "NAME").get<std::string>());
  CheckHpi(saHpiResourceTagSet(session, rid, &tag), "saHpiResourceTagSet");
  return OkReply();
}

json RemoveResource(HpiSession session, const json &prm) {
  const auto rid = GetNumber<SaHpiResourceIdT>(RequireKey(prm, "RID"));
  CheckHpi(kvnHpiResourceRemove(session, rid), "kvnHpiResourceRemove");
  return OkReply();
}

json GetDescription(HpiSession session, const json &prm) {
  const DescribedObject o = ReadDescribedObject(prm, GetNumber<int64_t>(RequireKey(prm, "TYPE")));
  SaHpiTextBufferT text{};
  if (o.type == kDescribeDevice) {
    CheckHpi(kvnHpiDeviceDescriptionGet(session, &text), "kvnHpiDeviceDescriptionGet");
  } else if (o.type == kDescribeResource) {
    CheckHpi(kvnHpiResourceDescriptionGet(session, o.rid, &text), "kvnHpiResourceDescriptionGet");
  } else {
    CheckHpi(kvnHpiInstrumentDescriptionGet(session, o.rid, o.rtype, o.num, &text), "kvnHpiInstrumentDescriptionGet");
  }
  return OkReplyWithResponse(TextBufferToString(text));
}

json SetDescription(HpiSession session, const json &prm) {
  const auto type = GetNumber<int64_t>(RequireKey(prm, "TYPE"));
  const SaHpiTextBufferT text = TextBufferFromString(RequireKey(prm, "DESCRIPTION").get<std::string>());
  const DescribedObject o = ReadDescribedObject(prm, type);
  if (o.type == kDescribeDevice) {
    CheckHpi(kvnHpiDeviceDescriptionSet(session, &text), "kvnHpiDeviceDescriptionSet");
  } else if (o.type == kDescribeResource) {
    CheckHpi(kvnHpiResourceDescriptionSet(session, o.rid, &text), "kvnHpiResourceDescriptionSet");
  } else {
    CheckHpi(kvnHpiInstrumentDescriptionSet(session, o.rid, o.rtype, o.num, &text), "kvnHpiInstrumentDescriptionSet");
  }
  return OkReply();
}

json SetResourceSeverity(HpiSession session, const json &prm) {
  const auto rid = GetNumber<SaHpiResourceIdT>(RequireKey(prm, "RID"));
  const auto severity = GetNumber<SaHpiSeverityT>(RequireKey(prm, "SEV"));
  CheckHpi(saHpiResourceSeveritySet(session, rid, severity), "saHpiResourceSeveritySet");
  return OkReply();
}

}  // namespace kvnc
