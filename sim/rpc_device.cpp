// The device tree documents, the device's identity texts, the iPDU summary
// and the persistent resources.
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "client/text_buffer.h"
#include "sim/sim_functions.h"

namespace kvnc::sim {

namespace {

constexpr SaHpiResourceIdT kEveryResource = 0xFFFFFFFF;

Json EntityPathJson(const std::vector<EntityElement> &path) {
  Json elements = Json::array();
  for (const EntityElement &e : path) elements.push_back({{"type", e.type}, {"location", e.location}});
  return elements;
}

Json SensorJson(uint32_t record, uint32_t num, const Sensor &s, double now) {
  Json rdr = {{"record", record}, {"rdr_type", SAHPI_SENSOR_RDR}, {"num", num}, {"name", s.name},
              {"type", s.type},   {"category", s.category}};
  const double value = SensorValue(s, now);
  rdr["value"] = s.format ? Json(value) : Json(nullptr);
  rdr["event_state"] = SensorEventState(s, value);
  return rdr;
}

Json ControlJson(uint32_t record, uint32_t num, const Control &k) {
  Json rdr = {{"record", record}, {"rdr_type", SAHPI_CTRL_RDR}, {"num", num},    {"name", k.name},
              {"type", k.type},   {"output", k.output},         {"mode", k.mode}};
  if (k.type == SAHPI_CTRL_TYPE_TEXT) {
    rdr["lines"] = k.lines;
  } else {
    rdr["state"] = k.state;
  }
  return rdr;
}

// A resource's records in record id order (controls, sensors, inventories,
// as saHpiRdrGet numbers them), those of `type` only unless it is 0.
Json ResourceJson(uint32_t id, const Resource &r, SaHpiRdrTypeT type, double now) {
  Json rdrs = Json::array();
  uint32_t record = 0;
  auto wanted = [type](SaHpiRdrTypeT t) { return type == 0 || type == t; };
  for (const auto &[num, k] : r.controls) {
    ++record;
    if (wanted(SAHPI_CTRL_RDR)) rdrs.push_back(ControlJson(record, num, k));
  }
  for (const auto &[num, s] : r.sensors) {
    ++record;
    if (wanted(SAHPI_SENSOR_RDR)) rdrs.push_back(SensorJson(record, num, s, now));
  }
  for (const auto &[num, i] : r.inventories) {
    ++record;
    if (wanted(SAHPI_INVENTORY_RDR)) {
      rdrs.push_back({{"record", record}, {"rdr_type", SAHPI_INVENTORY_RDR}, {"num", num}, {"name", i.name}});
    }
  }
  return {{"id", id},
          {"tag", r.tag},
          {"severity", r.severity},
          {"failed", r.failed},
          {"entity_path", EntityPathJson(r.entity_path)},
          {"rdrs", std::move(rdrs)}};
}

// Into an existing file only, as the daemon fills the file it is given.
SaErrorT WriteInto(const std::string &path, const std::string &text) {
  const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return SA_ERR_HPI_ERROR;
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  const bool closed = close(fd) == 0;
  return done == text.size() && closed ? SA_OK : SA_ERR_HPI_ERROR;
}

SaErrorT GiveText(const std::string &text, SaHpiTextBufferT *out) {
  *out = TextBufferFromString(text);
  return SA_OK;
}

SaErrorT GiveOptionalText(const std::optional<std::string> &text, SaHpiTextBufferT *out) {
  if (!text) return SA_ERR_HPI_NOT_PRESENT;
  return GiveText(*text, out);
}

}  // namespace

SaErrorT SimRdrListGet(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource, SaHpiRdrTypeT type,
                       const SaHpiTextBufferT *file) {
  const std::string path = TextBufferToString(*file);
  if (path.rfind("/tmp/", 0) != 0 || path.find("/..") != std::string::npos) return SA_ERR_HPI_INVALID_PARAMS;
  if (type > SAHPI_FUMI_RDR) return SA_ERR_HPI_INVALID_PARAMS;
  Json resources = Json::array();
  const double now = WallClockSeconds();
  if (resource == kEveryResource) {
    for (const auto &[id, r] : c.model.resources) resources.push_back(ResourceJson(id, r, type, now));
  } else {
    Resource *r;
    if (SaErrorT rv = c.FindResource(resource, &r); rv != SA_OK) return rv;
    resources.push_back(ResourceJson(resource, *r, type, now));
  }
  const std::optional<std::string> &replaced = c.model.appliance.tree_text;
  return WriteInto(path, replaced ? *replaced : Json{{"resources", std::move(resources)}}.dump());
}

SaErrorT SimGetDeviceName(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *name) {
  return GiveText(c.model.appliance.device_name, name);
}

SaErrorT SimGetDeviceModel(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *model) {
  return GiveText(c.model.appliance.model, model);
}

SaErrorT SimGetHardwareVersion(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *version) {
  return GiveText(c.model.appliance.hardware, version);
}

SaErrorT SimGetSerialNumber(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *serial) {
  return GiveOptionalText(c.model.appliance.serial, serial);
}

SaErrorT SimGetUTCOffset(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *offset) {
  return GiveText(c.model.appliance.utc_offset, offset);
}

SaErrorT SimAssetTagGet(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *tag) {
  return GiveText(c.model.appliance.asset_tag, tag);
}

SaErrorT SimLocationGet(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *location) {
  return GiveText(c.model.appliance.location, location);
}

SaErrorT SimGetProductName(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *name) {
  return GiveOptionalText(c.model.appliance.product, name);
}

SaErrorT SimDateTimeGet(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *time, SaHpiTextBufferT *zone,
                        SaHpiTextBufferT *zone1) {
  const Appliance &a = c.model.appliance;
  const time_t seconds = a.clock ? static_cast<time_t>(*a.clock / 1000000000) : static_cast<time_t>(WallClockSeconds());
  tm utc{};
  gmtime_r(&seconds, &utc);
  char text[32];
  strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &utc);
  *time = TextBufferFromString(text);
  *zone = TextBufferFromString(a.time_zone);
  *zone1 = TextBufferFromString(a.time_zone1);
  return SA_OK;
}

SaErrorT SimMACAddressGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T adapter, SaHpiTextBufferT *mac) {
  const std::vector<Adapter> &adapters = c.model.appliance.adapters;
  if (adapter < 1 || adapter > adapters.size()) return SA_ERR_HPI_NOT_PRESENT;
  return GiveText(adapters[adapter - 1].mac, mac);
}

SaErrorT SimBACnetEnableAndDeviceIdGet(Caller &c, SaHpiSessionIdT, SaHpiUint8T *enabled, SaHpiUint32T *device_id) {
  *enabled = c.model.appliance.bacnet_enabled;
  *device_id = c.model.appliance.bacnet_device_id;
  return SA_OK;
}

SaErrorT SimIpduCountsGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T *inlets, SaHpiUint32T *plugs, SaHpiUint32T *phases,
                          SaHpiUint32T *branches, SaHpiUint32T *outlets, SaHpiUint32T *rcms) {
  const std::optional<IpduCounts> &ipdu = c.model.appliance.ipdu;
  if (!ipdu) return SA_ERR_HPI_NOT_PRESENT;
  *inlets = ipdu->inlets;
  *plugs = ipdu->plugs;
  *phases = ipdu->phases;
  *branches = ipdu->branches;
  *outlets = static_cast<SaHpiUint32T>(c.model.outlets.size());
  *rcms = ipdu->rcms;
  return SA_OK;
}

SaErrorT SimOutletTypeGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T outlet, SaHpiUint32T *type) {
  const Outlet *o = c.model.outlets.Find(outlet);
  if (o == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  *type = o->type;
  return SA_OK;
}

SaErrorT SimPersistentResourcesGet(Caller &c, SaHpiSessionIdT, SaHpiEntryIdT cursor, SaHpiEntryIdT *next,
                                   SaHpiResourceIdT *resource, SaHpiTextBufferT *name) {
  const ById<PersistentResource> &kept = c.model.persistent_resources;
  if (cursor >= kept.size()) return SA_ERR_HPI_NOT_PRESENT;
  auto it = std::next(kept.begin(), static_cast<std::ptrdiff_t>(cursor));
  *resource = it->first;
  *name = TextBufferFromString(it->second.name);
  *next = cursor + 1 < kept.size() ? cursor + 1 : SAHPI_LAST_ENTRY;
  return SA_OK;
}

SaErrorT SimPersistentResourceDelete(Caller &c, SaHpiSessionIdT, SaHpiResourceIdT resource) {
  return c.model.persistent_resources.erase(resource) != 0 ? SA_OK : SA_ERR_HPI_NOT_PRESENT;
}

}  // namespace kvnc::sim
