#include "api/config/modbus.h"

#include <unistd.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "api/config/stored_files.h"
#include "api/events/id_walk.h"
#include "client/hpi_functions.h"
#include "client/paths.h"
#include "client/text_buffer.h"
#include "front/api_error.h"
#include "front/child_process.h"

namespace kvnc {
namespace {

constexpr uint64_t kDriverPrivileges = 0x42;
constexpr const char *kNoPrivileges = "not enough privileges";
constexpr const char *kDriverSuffix = ".json";
constexpr size_t kShorterThanDriver = 4;  // ".json" itself is listed
constexpr SaHpiUint32T kSecondRange = 8;
constexpr SaHpiUint32T kFirstInterfaces[] = {1, kSecondRange};  // where each range starts
constexpr const char *kUnsetAddress = "0.0.0.0";                // an empty parameter of the second range
// The validator's output was read with fgets into a buffer of this size: a
// piece ends after a newline or at one byte less.
constexpr size_t kLineBuffer = 126;
constexpr std::string_view kErrorPrefix = "Error:";

// A string that reaches the daemon whole: longer ones would be cut in the
// text buffer and name something else.
std::string WholeText(const json &object, const char *key) {
  std::string text = RequireKey(object, key).get<std::string>();
  if (text.size() > SAHPI_MAX_TEXT_BUFFER_LENGTH) Fail(ErrorReplyMsg(kRcBadValue, key));
  return text;
}

std::string DriverPath(HpiSession session, const json &prm) {
  RequirePrivilege(session, kDriverPrivileges, kNoPrivileges);
  return paths::kNvConfigDir + RequireStoredFileName(prm, kDriverSuffix);
}

size_t CountErrors(const std::string &output) {
  size_t errors = 0;
  for (size_t at = 0; at < output.size();) {
    const size_t newline = output.find('\n', at);
    const size_t length =
        std::min(newline == std::string::npos ? output.size() - at : newline + 1 - at, kLineBuffer - 1);
    if (output.compare(at, std::min(length, kErrorPrefix.size()), kErrorPrefix) == 0) ++errors;
    at += length;
  }
  return errors;
}

// Runs the validator on the driver file and removes the file unless it
// passed. A validator that dies or fails without naming an error has not
// passed it either: that counts as one error, said in the log.
json Validate(const std::string &path, bool just_stored) {
  const ChildRun run = RunChild({"modbus_json_validator", "-qz", path});
  if (!run.started()) {
    if (just_stored) unlink(path.c_str());  // never kept unvalidated
    return ErrorReplyMsg(kRcSystemError, "Can't validate the driver");
  }
  std::string log = run.output;
  size_t errors = CountErrors(run.output);
  if (errors == 0 && run.exit_code() != 0) {
    errors = 1;
    log += std::string(kErrorPrefix) + " modbus_json_validator ended with status " + std::to_string(run.exit_code()) +
           "\n";
  }
  if (errors != 0) unlink(path.c_str());
  return OkReplyWithResponse({{"errors", errors}, {"log", log}});
}

}  // namespace

json DiscoverModbusDevices(HpiSession session, const json &prm) {
  if (!prm.is_object() || !prm.contains("SUBS")) {
    CheckHpi(saHpiDiscover(session), "saHpiDiscover");
    return OkReply();
  }
  const std::string subsystem = prm["SUBS"].get<std::string>();
  const std::string address = subsystem + ":" + RequireKey(prm, "ADDR").get<std::string>();
  if (address.size() > SAHPI_MAX_TEXT_BUFFER_LENGTH) return ErrorReplyMsg(kRcBadValue, "ADDR");
  const SaHpiTextBufferT driver_text = TextBufferFromString("Modbus");
  const SaHpiTextBufferT address_text = TextBufferFromString(address);
  CheckHpi(kvnHpiDiscoverAt(session, &driver_text, &address_text), "kvnHpiDiscoverAt");
  return OkReply();
}

json GetModbusSerialAttributes(HpiSession session, const json &) {
  json interfaces = json::array();
  for (const SaHpiUint32T first : kFirstInterfaces) {
    WalkGuard guard("kvnModbusSerialAttributesGet");
    for (SaHpiUint32T number = first;; ++number) {
      guard.Visit(number);
      SaHpiTextBufferT param{};
      const SaErrorT rv = kvnModbusSerialAttributesGet(session, number, &param);
      if (rv == SA_ERR_HPI_NOT_PRESENT) break;
      CheckHpi(rv, "kvnModbusSerialAttributesGet");
      interfaces.push_back({{"iface", number}, {"param", TextBufferToString(param)}});
    }
  }
  return OkReplyWithResponse(interfaces);
}

json SetModbusSerialAttributes(HpiSession session, const json &prm) {
  // The whole request is read before anything is set: a bad element leaves
  // every interface as it was.
  std::vector<std::pair<SaHpiUint32T, std::string>> settings;
  for (const json &element : prm.get<std::vector<json>>()) {
    const auto number = GetNumber<SaHpiUint32T>(RequireKey(element, "iface"));
    std::string param = WholeText(element, "param");
    if (param.empty() && number >= kSecondRange) param = kUnsetAddress;
    settings.emplace_back(number, std::move(param));
  }
  for (const auto &[number, param] : settings) {
    const SaHpiTextBufferT text = TextBufferFromString(param);
    CheckHpi(kvnModbusSerialAttributesSet(session, number, &text), "kvnModbusSerialAttributesSet");
  }
  return OkReply();
}

json GetModbusDrivers(HpiSession session, const json &) {
  json drivers = json::array();
  const SaHpiTextBufferT driver_class = TextBufferFromString("modbus");
  WalkGuard guard("kvnHpiSupportedDriverListGet");
  for (SaHpiUint32T entry = SAHPI_FIRST_ENTRY; entry != SAHPI_LAST_ENTRY;) {
    guard.Visit(entry);
    SaHpiUint32T next = SAHPI_LAST_ENTRY;
    SaHpiTextBufferT name{};
    CheckHpi(kvnHpiSupportedDriverListGet(session, &driver_class, entry, &next, &name), "kvnHpiSupportedDriverListGet");
    drivers.push_back(TextBufferToString(name));
    entry = next;
  }
  for (std::string &name : ListStoredFiles(paths::kNvConfigDir, kDriverSuffix, kShorterThanDriver)) {
    drivers.push_back(std::move(name));
  }
  return OkReplyWithResponse(drivers);
}

json ListModbusDriverFiles(HpiSession session, const json &) {
  RequirePrivilege(session, kDriverPrivileges, kNoPrivileges);
  json files = json::array();
  for (const std::string &name : ListStoredFiles(paths::kNvConfigDir, kDriverSuffix, kShorterThanDriver)) {
    files.push_back({{"name", name}});
  }
  return OkReplyWithResponse(files);
}

json SaveModbusDriver(HpiSession session, const json &prm) {
  RequirePrivilege(session, kDriverPrivileges, kNoPrivileges);
  RequireKey(prm, "name");
  const std::string text = RequireKey(prm, "text").get<std::string>();
  const std::string path = paths::kNvConfigDir + RequireStoredFileName(prm, kDriverSuffix);
  // A failed write is not reported: the validator judges what was written.
  StoreFile(path, text);
  return Validate(path, true);
}

json ValidateModbusDriver(HpiSession session, const json &prm) { return Validate(DriverPath(session, prm), false); }

json GetModbusDriver(HpiSession session, const json &prm) {
  std::string text;
  if (!ReadStoredFile(DriverPath(session, prm), text)) return ErrorReplyMsg(kRcSystemError, "Can't open the driver");
  return OkReplyWithResponse(text);
}

json DeleteModbusDriver(HpiSession session, const json &prm) {
  unlink(DriverPath(session, prm).c_str());  // a driver that was not there is gone all the same
  return OkReplyWithResponse("");
}

}  // namespace kvnc
