// The Lua engine's settings and script verification, the Modbus interfaces
// and drivers, and discovery.
#include <fcntl.h>

#include <string>
#include <vector>

#include "client/files.h"
#include "client/paths.h"
#include "client/text_buffer.h"
#include "sim/sim_functions.h"

namespace kvnc::sim {

namespace {

constexpr SaHpiUint32T kSecondRange = 8;

// The parameter string of interface `iface`, or null when there is none.
std::string *FindInterface(Caller &c, SaHpiUint32T iface) {
  Modbus &modbus = c.model.modbus;
  std::vector<std::string> &range = iface >= kSecondRange ? modbus.network : modbus.serial;
  const SaHpiUint32T first = iface >= kSecondRange ? kSecondRange : 1;
  if (iface < first || iface - first >= range.size()) return nullptr;
  return &range[iface - first];
}

// The daemon's verdict on a script's content.
const char *Judge(bool readable, const std::string &text) {
  if (!readable) return "cannot open";
  if (text.empty()) return "empty script";
  if (text.find('\0') != std::string::npos) return "not a text file";
  return "syntax OK";
}

}  // namespace

SaErrorT SimLuaConfigurationGet(Caller &c, SaHpiSessionIdT, SaHpiBoolT *enabled, SaHpiUint32T *timeout) {
  *enabled = c.model.lua.enabled;
  *timeout = c.model.lua.timeout;
  return SA_OK;
}

SaErrorT SimLuaConfigurationSet(Caller &c, SaHpiSessionIdT, SaHpiBoolT enabled, SaHpiUint32T timeout) {
  c.model.lua.enabled = enabled;
  c.model.lua.timeout = timeout;
  return SA_OK;
}

SaErrorT SimLuaVerifyScript(Caller &, SaHpiSessionIdT, const SaHpiTextBufferT *name, SaHpiTextBufferT *result,
                            SaHpiUint8T *valid) {
  const std::string file = TextBufferToString(*name);
  if (file.empty() || file == "." || file == ".." || file.find('/') != std::string::npos) {
    return SA_ERR_HPI_INVALID_PARAMS;
  }
  std::string text;
  const bool readable = ReadFile((paths::kLuaSourceDir + file).c_str(), text, O_NOFOLLOW | O_NONBLOCK);
  const std::string verdict = Judge(readable, text);
  *valid = verdict == "syntax OK" ? SAHPI_TRUE : SAHPI_FALSE;
  *result = TextBufferFromString(file + ": " + verdict);
  return SA_OK;
}

SaErrorT SimSupportedDriverListGet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *driver_class, SaHpiUint32T entry,
                                   SaHpiUint32T *next, SaHpiTextBufferT *name) {
  if (TextBufferToString(*driver_class) != "modbus") return SA_ERR_HPI_INVALID_PARAMS;
  const std::vector<std::string> &drivers = c.model.modbus.drivers;
  if (entry >= drivers.size()) return SA_ERR_HPI_NOT_PRESENT;
  *name = TextBufferFromString(drivers[entry]);
  *next = entry + 1 < drivers.size() ? entry + 1 : SAHPI_LAST_ENTRY;
  return SA_OK;
}

SaErrorT SimModbusSerialAttributesGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T iface, SaHpiTextBufferT *param) {
  const std::string *found = FindInterface(c, iface);
  if (found == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  *param = TextBufferFromString(*found);
  return SA_OK;
}

SaErrorT SimModbusSerialAttributesSet(Caller &c, SaHpiSessionIdT, SaHpiUint32T iface, const SaHpiTextBufferT *param) {
  std::string *found = FindInterface(c, iface);
  if (found == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  *found = TextBufferToString(*param);
  return SA_OK;
}

SaErrorT SimDiscover(Caller &c, SaHpiSessionIdT) {
  c.model.modbus.discoveries.emplace_back();
  return SA_OK;
}

SaErrorT SimDiscoverAt(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *driver, const SaHpiTextBufferT *address) {
  const std::string where = TextBufferToString(*address);
  if (where.empty()) return SA_ERR_HPI_INVALID_PARAMS;
  c.model.modbus.discoveries.push_back(TextBufferToString(*driver) + " " + where);
  return SA_OK;
}

}  // namespace kvnc::sim
