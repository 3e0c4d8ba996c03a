#include "api/monitor/device_info.h"

#include <map>
#include <string>
#include <vector>

#include "api/events/id_walk.h"
#include "client/hpi_functions.h"
#include "client/text_buffer.h"
#include "front/api_error.h"
#include "front/child_process.h"

namespace kvnc {
namespace {

using TextGetter = SaErrorT (*)(SaHpiSessionIdT, SaHpiTextBufferT *);

// One text of the daemon; RC 9 naming `function` when the call fails.
std::string Text(HpiSession session, TextGetter get, const char *function) {
  SaHpiTextBufferT text{};
  CheckHpi(get(session, &text), function);
  return TextBufferToString(text);
}

// Texts the device may lack: "UNKNOWN" then.
std::string TextOrUnknown(HpiSession session, TextGetter get, const char *function) {
  SaHpiTextBufferT text{};
  const SaErrorT rv = get(session, &text);
  if (rv == SA_ERR_HPI_NOT_PRESENT) return "UNKNOWN";
  CheckHpi(rv, function);
  return TextBufferToString(text);
}

struct DeviceText {
  const char *key;
  TextGetter get;
  const char *function;
  bool may_be_absent;
};

// In the order the daemon is asked.
constexpr DeviceText kDeviceTexts[] = {
    {"name", kvnHpiGetDeviceName, "kvnHpiGetDeviceName", false},
    {"model", kvnHpiGetDeviceModel, "kvnHpiGetDeviceModel", true},
    {"hwver", kvnHpiGetHardwareVersion, "kvnHpiGetHardwareVersion", true},
    {"sn", kvnHpiGetSerialNumber, "kvnHpiGetSerialNumber", true},
    {"fwver", kvnHpiGetFirmwareVersion, "kvnHpiGetFirmwareVersion", false},
};

// After the date and time.
constexpr DeviceText kPlaceTexts[] = {
    {"offset", kvnHpiGetUTCOffset, "kvnHpiGetUTCOffset", false},
    {"assetTag", kvnHpiAssetTagGet, "kvnHpiAssetTagGet", false},
    {"location", kvnHpiLocationGet, "kvnHpiLocationGet", false},
    {"description", kvnHpiDeviceDescriptionGet, "kvnHpiDeviceDescriptionGet", false},
};

void AddTexts(HpiSession session, const DeviceText *first, const DeviceText *last, json &info) {
  for (const DeviceText *t = first; t != last; ++t) {
    info[t->key] = t->may_be_absent ? TextOrUnknown(session, t->get, t->function) : Text(session, t->get, t->function);
  }
}

// The MAC address of the first adapter named "eth0"; empty when there is none.
std::string Eth0Mac(HpiSession session) {
  WalkGuard guard("kvnHpiAdapterNameGet");  // only its length limit matters: numbers count up
  for (SaHpiUint32T adapter = 1;; ++adapter) {
    guard.Visit(adapter);
    SaHpiTextBufferT name{};
    const SaErrorT rv = kvnHpiAdapterNameGet(session, adapter, &name);
    if (rv == SA_ERR_HPI_NOT_PRESENT) return "";
    CheckHpi(rv, "kvnHpiAdapterNameGet");
    if (TextBufferToString(name) != "eth0") continue;
    SaHpiTextBufferT mac{};
    CheckHpi(kvnHpiMACAddressGet(session, adapter, &mac), "kvnHpiMACAddressGet");
    return TextBufferToString(mac);
  }
}

// The BACnet server's own account of its version, as it prints it.
std::string BacnetVersion() {
  const ChildRun run = RunChild({"bacservd", "--version"});
  if (!run.started()) Fail(ErrorReplyMsg(kRcSystemError, "Can't read bacnet version"));
  return run.output;
}

struct OutletInfo {
  std::string name;  // empty when the daemon gives none
  SaHpiUint32T type = 0;
};

// Neither failure fails the request: the page shows the outlet without them.
OutletInfo ReadOutlet(HpiSession session, SaHpiUint32T outlet) {
  OutletInfo info;
  SaHpiTextBufferT name{};
  if (kvnHpiOutletUserNameGet(session, outlet, &name) == SA_OK) info.name = TextBufferToString(name);
  SaHpiUint32T type = 0;
  if (kvnHpiOutletTypeGet(session, outlet, &type) == SA_OK) info.type = type;
  return info;
}

// One number, or an array of numbers.
std::vector<SaHpiResourceIdT> ReadResourceIds(const json &value) {
  std::vector<SaHpiResourceIdT> ids;
  if (!value.is_array()) {
    ids.push_back(GetNumber<SaHpiResourceIdT>(value));
    return ids;
  }
  for (const json &id : value) ids.push_back(GetNumber<SaHpiResourceIdT>(id));
  return ids;
}

}  // namespace

json GetDeviceInfo(HpiSession session, const json &) {
  json info = json::object();
  AddTexts(session, std::begin(kDeviceTexts), std::end(kDeviceTexts), info);
  SaHpiTextBufferT time{}, zone{}, zone1{};
  CheckHpi(kvnHpiDateTimeGet(session, &time, &zone, &zone1), "kvnHpiDateTimeGet");
  info["time"] = TextBufferToString(time);
  info["tz"] = TextBufferToString(zone);
  info["tz1"] = TextBufferToString(zone1);
  AddTexts(session, std::begin(kPlaceTexts), std::end(kPlaceTexts), info);
  info["mac"] = Eth0Mac(session);
  SaHpiBoolT enabled = SAHPI_FALSE;
  SaHpiUint32T device_id = 0;
  CheckHpi(kvnHpiBACnetEnableAndDeviceIdGet(session, &enabled, &device_id), "kvnHpiBACnetEnableAndDeviceIdGet");
  info["bn_enabled"] = enabled;
  info["bn_version"] = enabled != SAHPI_FALSE ? BacnetVersion() : std::string();
  return OkReplyWithResponse(info);
}

json GetOutletInfo(HpiSession session, const json &prm) {
  const auto outlet = GetNumber<SaHpiUint32T>(RequireKey(prm, "NUM"));
  const OutletInfo info = ReadOutlet(session, outlet);
  return OkReplyWithResponse({{"name", info.name}, {"type", info.type}});
}

json GetProductSummary(HpiSession session, const json &) {
  SaHpiTextBufferT product{};
  const SaErrorT rv = kvnHpiGetProductName(session, &product);
  if (rv == SA_ERR_HPI_NOT_PRESENT) return OkReplyWithResponse({{"name", "UNKNOWN"}, {"no_info", true}});
  CheckHpi(rv, "kvnHpiGetProductName");

  SaHpiUint32T inlets = 0, plugs = 0, phases = 0, branches = 0, outlets = 0, rcms = 0;
  const SaErrorT counted = kvnHpiIpduCountsGet(session, &inlets, &plugs, &phases, &branches, &outlets, &rcms);
  // Products that are no iPDU answer that they have no counts, or that
  // nobody may ask for them.
  const bool is_ipdu = counted != SA_ERR_HPI_NOT_PRESENT && counted != KVN_ERR_HPI_INSUFFICIENT_PRIVILEGES;
  if (is_ipdu) CheckHpi(counted, "kvnHpiIpduCountsGet");
  if (!is_ipdu) inlets = plugs = phases = branches = outlets = rcms = 0;
  // Each outlet costs two calls: a count no appliance has is a daemon fault.
  if (outlets > kMaxWalkItems) Fail(ErrorReplyWithCode(kRcHpiError, SA_ERR_HPI_INVALID_DATA, "kvnHpiIpduCountsGet"));

  json list = json::array();
  for (SaHpiUint32T number = 1; number <= outlets; ++number) {
    const OutletInfo info = ReadOutlet(session, number);
    list.push_back({{"number", number}, {"name", info.name}, {"type", info.type}});
  }
  return OkReplyWithResponse({{"name", TextBufferToString(product)},
                              {"is_ipdu", is_ipdu},
                              {"inlets", inlets},
                              {"plugs", plugs},
                              {"phases", phases},
                              {"branches", branches},
                              {"rcms", rcms},
                              {"outlets", std::move(list)}});
}

json GetPersistentResources(HpiSession session, const json &) {
  std::map<SaHpiResourceIdT, std::string> names;  // by id; a later entry of the same id wins
  WalkIds("kvnHpiPersistentResourcesGet", [&](uint32_t cursor, uint32_t *next) {
    SaHpiResourceIdT rid = 0;
    SaHpiTextBufferT name{};
    const SaErrorT rv = kvnHpiPersistentResourcesGet(session, cursor, next, &rid, &name);
    if (rv == SA_OK) names[rid] = TextBufferToString(name);
    return rv;
  });
  json list = json::array();
  for (const auto &[rid, name] : names) list.push_back({{"id", rid}, {"name", name}});
  return OkReplyWithResponse(list);
}

json DeletePersistentResources(HpiSession session, const json &prm) {
  for (const SaHpiResourceIdT rid : ReadResourceIds(prm)) {
    CheckHpi(kvnHpiPersistentResourceDelete(session, rid), "kvnHpiPersistentResourceDelete");
  }
  return OkReply();
}

}  // namespace kvnc
