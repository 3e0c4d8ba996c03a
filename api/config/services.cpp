#include "api/config/services.h"

#include <functional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "client/eal_log.h"
#include "client/hpi_functions.h"
#include "client/text_buffer.h"
#include "front/api_error.h"
#include "front/child_process.h"
#include "front/text_helpers.h"

namespace kvnc {
namespace {

template <typename... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
template <typename... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

// The daemon's getters by the values they give after the session. Ports are
// 16-bit, flags and method codes 8-bit, the BACnet device id 32-bit; each
// becomes a JSON unsigned number.
using NumberGet =
    std::variant<SaErrorT (*)(SaHpiSessionIdT, SaHpiUint8T *), SaErrorT (*)(SaHpiSessionIdT, SaHpiUint16T *),
                 SaErrorT (*)(SaHpiSessionIdT, SaHpiUint8T *, SaHpiUint8T *),
                 SaErrorT (*)(SaHpiSessionIdT, SaHpiUint8T *, SaHpiUint16T *),
                 SaErrorT (*)(SaHpiSessionIdT, SaHpiUint8T *, SaHpiUint32T *)>;
using TextGet = SaErrorT (*)(SaHpiSessionIdT, SaHpiTextBufferT *);
struct ListGet {  // a text of tokens, given as an array of them
  TextGet get;
};

// One daemon call and the reply keys of its values, in the order it gives them.
struct Getter {
  const char *function;
  std::variant<NumberGet, TextGet, ListGet> get;
  const char *key;
  const char *key2 = nullptr;
};

void Read(HpiSession session, const Getter &getter, json &reply) {
  const auto text = [&](TextGet get) {
    SaHpiTextBufferT value{};
    CheckHpi(get(session, &value), getter.function);
    return TextBufferToString(value);
  };
  const auto one_value = [&]<typename A>(SaErrorT (*get)(SaHpiSessionIdT, A *)) {
    A a{};
    CheckHpi(get(session, &a), getter.function);
    reply[getter.key] = a;
  };
  const auto two_values = [&]<typename A, typename B>(SaErrorT (*get)(SaHpiSessionIdT, A *, B *)) {
    A a{};
    B b{};
    CheckHpi(get(session, &a, &b), getter.function);
    reply[getter.key] = a;
    reply[getter.key2] = b;
  };
  std::visit(Overloaded{[&](const NumberGet &get) {
                          std::visit(Overloaded{one_value, two_values}, get);
                        },
                        [&](TextGet get) { reply[getter.key] = text(get); },
                        [&](ListGet list) { reply[getter.key] = SplitTokens(text(list.get)); }},
             getter.get);
}

// A getter's reply: one object; the first failing call ends it.
json ReadSettings(HpiSession session, std::span<const Getter> getters) {
  json reply = json::object();
  for (const Getter &getter : getters) Read(session, getter, reply);
  return OkReplyWithResponse(reply);
}

// The daemon's setters, likewise.
using NumberSet = std::variant<SaErrorT (*)(SaHpiSessionIdT, SaHpiUint8T), SaErrorT (*)(SaHpiSessionIdT, SaHpiUint16T),
                               SaErrorT (*)(SaHpiSessionIdT, SaHpiUint8T, SaHpiUint16T),
                               SaErrorT (*)(SaHpiSessionIdT, SaHpiUint8T, SaHpiUint32T)>;
using FlagsSet = SaErrorT (*)(SaHpiSessionIdT, SaHpiUint8T, SaHpiUint8T);
using TextSet = SaErrorT (*)(SaHpiSessionIdT, const SaHpiTextBufferT *);
struct ListSet {  // an array of strings, joined with ","
  TextSet set;
};

// One daemon call and the request keys of its values, in the order they are
// read. A flag and a value are read value first and passed flag first.
struct Setter {
  const char *function;
  std::variant<NumberSet, FlagsSet, TextSet, ListSet> set;
  const char *key;
  const char *key2 = nullptr;
};

std::string JoinList(const json &value) {
  if (!value.is_array()) {
    throw json::type_error::create(302, std::string("type must be array, but is ") + value.type_name(), &value);
  }
  std::string joined;
  for (size_t i = 0; i < value.size(); ++i) {
    if (i > 0) joined += ',';
    joined += value[i].get<std::string>();
  }
  return joined;
}

// A set call with its values taken from the request, to be made later.
using SetCall = std::function<SaErrorT(HpiSession)>;

template <typename T>
T Number(const json &prm, const char *key) {
  return GetNumber<T>(RequireKey(prm, key));
}

SetCall Prepare(const Setter &setter, const json &prm) {
  const auto text = [&](TextSet set, const std::string &value) -> SetCall {
    return [set, buffer = TextBufferFromString(value)](HpiSession session) { return set(session, &buffer); };
  };
  const auto one_value = [&]<typename A>(SaErrorT (*set)(SaHpiSessionIdT, A)) -> SetCall {
    const A a = Number<A>(prm, setter.key);
    return [set, a](HpiSession session) { return set(session, a); };
  };
  const auto flag_and_value = [&]<typename B>(SaErrorT (*set)(SaHpiSessionIdT, SaHpiUint8T, B)) -> SetCall {
    const B value = Number<B>(prm, setter.key);
    const SaHpiUint8T flag = Number<SaHpiUint8T>(prm, setter.key2);
    return [set, flag, value](HpiSession session) { return set(session, flag, value); };
  };
  return std::visit(Overloaded{[&](const NumberSet &set) {
                                 return std::visit(Overloaded{one_value, flag_and_value}, set);
                               },
                               [&](FlagsSet set) -> SetCall {
                                 const SaHpiUint8T first = Number<SaHpiUint8T>(prm, setter.key);
                                 const SaHpiUint8T second = Number<SaHpiUint8T>(prm, setter.key2);
                                 return
                                     [set, first, second](HpiSession session) { return set(session, first, second); };
                               },
                               [&](TextSet set) { return text(set, RequireKey(prm, setter.key).get<std::string>()); },
                               [&](ListSet list) { return text(list.set, JoinList(RequireKey(prm, setter.key))); }},
                    setter.set);
}

// Most setters read the whole request before changing anything; SNMP and mail
// apply each key as soon as it is read, so a bad later key leaves the
// earlier ones changed.
enum class Apply { kAfterReadingAll, kEachInTurn };

json ApplySettings(HpiSession session, std::span<const Setter> setters, const json &prm, Apply apply) {
  if (apply == Apply::kEachInTurn) {
    for (const Setter &setter : setters) CheckHpi(Prepare(setter, prm)(session), setter.function);
    return OkReply();
  }
  std::vector<SetCall> calls;
  calls.reserve(setters.size());
  for (const Setter &setter : setters) calls.push_back(Prepare(setter, prm));
  for (size_t i = 0; i < calls.size(); ++i) CheckHpi(calls[i](session), setters[i].function);
  return OkReply();
}

// ---- the web server ---------------------------------------------------------------

const Getter kWebPortGetters[] = {
    {"kvnHpiHTTPPortGet", kvnHpiHTTPPortGet, "httpPort"},
    {"kvnHpiHTTPSPortGet", kvnHpiHTTPSPortGet, "httpsPort"},
    {"kvnHpiEnforceHTTPSGet", kvnHpiEnforceHTTPSGet, "forceHttps"},
};

struct WebPorts {
  SaHpiUint16T http = 0;
  SaHpiUint16T https = 0;
  SaHpiUint8T force_https = 0;
};

// The setting process: the ports through a session of its own, in this
// order; the first failure ends it. Its outcome reaches only the log.
int ApplyWebPorts(const WebPorts &ports) {
  SaHpiSessionIdT session = 0;
  const SaErrorT opened = saHpiSessionOpen(SAHPI_UNSPECIFIED_DOMAIN_ID, &session, nullptr);
  if (opened != SA_OK) {
    eal_log(EAL_LOG_ERROR, "CGI: Can't open session for set_http process. Error %d\n", opened);
    return 1;
  }
  const char *setting = "http port";
  SaErrorT rv = kvnHpiHTTPPortSet(session, ports.http);
  if (rv == SA_OK) {
    setting = "https port";
    rv = kvnHpiHTTPSPortSet(session, ports.https);
  }
  if (rv == SA_OK) {
    setting = "http enforce";
    rv = kvnHpiEnforceHTTPSSet(session, ports.force_https);
  }
  if (rv != SA_OK) {
    eal_log(EAL_LOG_ERROR, "CGI: Can't set %s. Error %d\n", setting, rv);
    saHpiSessionClose(session);  // the daemon would otherwise keep it open
    return 1;
  }
  const SaErrorT closed = saHpiSessionClose(session);
  if (closed != SA_OK) {
    eal_log(EAL_LOG_ERROR, "CGI: Can't close session for set_http process. Error %d\n", closed);
    return 1;
  }
  return 0;
}

// ---- SSH, Telnet, SNMP, mail, BACnet, Redfish ------------------------------------------

const Getter kSshGetters[] = {
    {"kvnHpiSSHEnableAndPortGet", kvnHpiSSHEnableAndPortGet, "enabled", "sshPort"},
    {"kvnHpiSSHAuthMethodGet", kvnHpiSSHAuthMethodGet, "method"},
};
const Setter kSshSetters[] = {
    {"kvnHpiSSHEnableAndPortSet", kvnHpiSSHEnableAndPortSet, "sshPort", "enabled"},
    {"kvnHpiSSHAuthMethodSet", kvnHpiSSHAuthMethodSet, "method"},
};

const Getter kTelnetGetters[] = {
    {"kvnHpiTelnetEnableAndPortGet", kvnHpiTelnetEnableAndPortGet, "enabled", "port"},
};
const Setter kTelnetSetters[] = {
    {"kvnHpiTelnetEnableAndPortSet", kvnHpiTelnetEnableAndPortSet, "port", "enabled"},
};

const Getter kSnmpGetters[] = {
    {"kvnHpiSNMPEnablesGet", kvnHpiSNMPEnablesGet, "enable", "enable12"},
    {"kvnHpiSNMPReadCommunityGet", kvnHpiSNMPReadCommunityGet, "readcom"},
    {"kvnHpiSNMPWriteCommunityGet", kvnHpiSNMPWriteCommunityGet, "writecom"},
    {"kvnHpiSNMPSysContactGet", kvnHpiSNMPSysContactGet, "syscont"},
    {"kvnHpiSNMPSysNameGet", kvnHpiSNMPSysNameGet, "sysname"},
    {"kvnHpiSNMPSysLocationGet", kvnHpiSNMPSysLocationGet, "sysloc"},
    {"kvnHpiSNMPTrapDestinationGet", kvnHpiSNMPTrapDestinationGet, "trapdest"},
    {"kvnHpiSNMPTrapV2EnableGet", kvnHpiSNMPTrapV2EnableGet, "trap2en"},
};
const Setter kSnmpSetters[] = {
    {"kvnHpiSNMPEnablesSet", FlagsSet{kvnHpiSNMPEnablesSet}, "enable", "enable12"},
    {"kvnHpiSNMPReadCommunitySet", kvnHpiSNMPReadCommunitySet, "readcom"},
    {"kvnHpiSNMPWriteCommunitySet", kvnHpiSNMPWriteCommunitySet, "writecom"},
    {"kvnHpiSNMPSysContactSet", kvnHpiSNMPSysContactSet, "syscont"},
    {"kvnHpiSNMPSysNameSet", kvnHpiSNMPSysNameSet, "sysname"},
    {"kvnHpiSNMPSysLocationSet", kvnHpiSNMPSysLocationSet, "sysloc"},
    {"kvnHpiSNMPTrapDestinationSet", kvnHpiSNMPTrapDestinationSet, "trapdest"},
    {"kvnHpiSNMPTrapV2EnableSet", kvnHpiSNMPTrapV2EnableSet, "trap2en"},
};

const Getter kSmtpGetters[] = {
    {"kvnHpiSMTPServerGet", kvnHpiSMTPServerGet, "server"},
    {"kvnHpiSMTPOwnAddressGet", kvnHpiSMTPOwnAddressGet, "email"},
    {"kvnHpiSMTPDefaultRecipientsGet", ListGet{kvnHpiSMTPDefaultRecipientsGet}, "recip"},
};
const Setter kSmtpSetters[] = {
    {"kvnHpiSMTPServerSet", kvnHpiSMTPServerSet, "server"},
    {"kvnHpiSMTPOwnAddressSet", kvnHpiSMTPOwnAddressSet, "email"},
    {"kvnHpiSMTPDefaultRecipientsSet", ListSet{kvnHpiSMTPDefaultRecipientsSet}, "recip"},
};

const Getter kBacnetGetters[] = {
    {"kvnHpiBACnetEnableAndDeviceIdGet", kvnHpiBACnetEnableAndDeviceIdGet, "enabled", "DID"},
};
const Setter kBacnetSetters[] = {
    {"kvnHpiBACnetEnableAndDeviceIdSet", kvnHpiBACnetEnableAndDeviceIdSet, "DID", "enabled"},
};

const Getter kRedfishGetters[] = {
    {"kvnHpiRedFishEnableGet", kvnHpiRedFishEnableGet, "enabled", "port"},
};
const Setter kRedfishSetters[] = {
    {"kvnHpiRedFishEnableSet", kvnHpiRedFishEnableSet, "port", "enabled"},
};

}  // namespace

json GetWebPortSettings(HpiSession session, const json &) { return ReadSettings(session, kWebPortGetters); }

json SetWebPortSettings(HpiSession, const json &prm) {
  WebPorts ports;
  ports.http = GetNumber<SaHpiUint16T>(RequireKey(prm, "httpPort"));
  ports.https = GetNumber<SaHpiUint16T>(RequireKey(prm, "httpsPort"));
  ports.force_https = GetNumber<SaHpiUint8T>(RequireKey(prm, "forceHttps"));
  if (!StartSettingProcess([ports] { return ApplyWebPorts(ports); })) {
    eal_log(EAL_LOG_ERROR, "CGI: Can't fork set_http process.\n");
    return ErrorReplyMsg(kRcNoChild, "Can't fork set_http process.");
  }
  return OkReply();
}

json GetSshSettings(HpiSession session, const json &) { return ReadSettings(session, kSshGetters); }
json SetSshSettings(HpiSession session, const json &prm) {
  return ApplySettings(session, kSshSetters, prm, Apply::kAfterReadingAll);
}

json GetTelnetSettings(HpiSession session, const json &) { return ReadSettings(session, kTelnetGetters); }
json SetTelnetSettings(HpiSession session, const json &prm) {
  return ApplySettings(session, kTelnetSetters, prm, Apply::kAfterReadingAll);
}

json GetSnmpSettings(HpiSession session, const json &) { return ReadSettings(session, kSnmpGetters); }
json SetSnmpSettings(HpiSession session, const json &prm) {
  return ApplySettings(session, kSnmpSetters, prm, Apply::kEachInTurn);
}

json GetSmtpSettings(HpiSession session, const json &) { return ReadSettings(session, kSmtpGetters); }
json SetSmtpSettings(HpiSession session, const json &prm) {
  return ApplySettings(session, kSmtpSetters, prm, Apply::kEachInTurn);
}

json GetBacnetSettings(HpiSession session, const json &) { return ReadSettings(session, kBacnetGetters); }
json SetBacnetSettings(HpiSession session, const json &prm) {
  return ApplySettings(session, kBacnetSetters, prm, Apply::kAfterReadingAll);
}

json GetRedfishSettings(HpiSession session, const json &) { return ReadSettings(session, kRedfishGetters); }
json SetRedfishSettings(HpiSession session, const json &prm) {
  return ApplySettings(session, kRedfishSetters, prm, Apply::kAfterReadingAll);
}

}  // namespace kvnc
