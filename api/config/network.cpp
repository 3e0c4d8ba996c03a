#include "api/config/network.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "api/events/id_walk.h"
#include "client/eal_log.h"
#include "client/hpi_functions.h"
#include "client/text_buffer.h"
#include "front/api_error.h"
#include "front/child_process.h"
#include "front/text_helpers.h"

namespace kvnc {
namespace {

enum NetworkGroup : int32_t { kLink = 0, kIpv4 = 1, kIpv6 = 2, kDns = 3 };

constexpr const char *kDisabledIpv4 = "0.0.0.0/0";
constexpr const char *kDefaultRoute6 = "::/0";
// Both setting processes answer a failed fork with this text.
constexpr const char *kNoSettingProcess = "Can't fork IPv4 address and gateway setting process.";

// ---- texts and lists -------------------------------------------------------------

// A text output of the daemon, read by `get`; RC 9 naming `function` on error.
std::string GetText(const char *function, const std::function<SaErrorT(SaHpiTextBufferT *)> &get) {
  SaHpiTextBufferT text{};
  CheckHpi(get(&text), function);
  return TextBufferToString(text);
}

// The daemon keeps address lists as one text: elements joined by ",".
std::string JoinList(const std::vector<std::string> &items) {
  std::string text;
  for (const std::string &item : items) {
    if (!text.empty()) text += ',';
    text += item;
  }
  return text;
}

std::string RequireString(const json &prm, const char *key) { return RequireKey(prm, key).get<std::string>(); }

std::string RequireList(const json &prm, const char *key) {
  return JoinList(RequireKey(prm, key).get<std::vector<std::string>>());
}

// A primary and a secondary server as the daemon's list.
std::string ServerPair(const std::string &primary, const std::string &secondary) {
  if (secondary.empty()) return primary;
  return primary.empty() ? secondary : primary + "," + secondary;
}

json Tokens(const std::string &text) {
  json list = json::array();
  for (std::string &token : SplitTokens(text)) list.push_back(std::move(token));
  return list;
}

// ---- interfaces ------------------------------------------------------------------

SaHpiUint32T FindInterfaceIndex(HpiSession session, const std::string &name) {
  WalkGuard guard("kvnHpiAdapterNameGet");  // only its length limit matters: indexes count up
  for (SaHpiUint32T index = 1;; ++index) {
    guard.Visit(index);
    SaHpiTextBufferT text{};
    const SaErrorT rv = kvnHpiAdapterNameGet(session, index, &text);
    if (rv == SA_ERR_HPI_NOT_PRESENT) Fail(ErrorReplyMsg(kRcNoInterface, name));
    CheckHpi(rv, "kvnHpiAdapterNameGet");
    const std::string adapter = TextBufferToString(text);
    eal_log(EAL_LOG_INFO, "CGI DEBUG: get_iface_properties(%d, %s, %s)\n", static_cast<int>(index), adapter.c_str(),
            adapter.c_str());
    if (adapter == name) return index;
  }
}

struct LinkMode {
  SaHpiBoolT an = 0;
  SaHpiUint8T duplex = 0;
  SaHpiInt16T speed = 0;
  bool operator==(const LinkMode &) const = default;
};

LinkMode GetLinkMode(HpiSession session, SaHpiUint32T index) {
  LinkMode mode;
  CheckHpi(kvnHpiInterfaceModeAndSpeedGet(session, index, &mode.an, &mode.duplex, &mode.speed),
           "kvnHpiInterfaceModeAndSpeedGet");
  return mode;
}

json ReadLink(HpiSession session, SaHpiUint32T index, json out) {
  out["mac"] =
      GetText("kvnHpiMACAddressGet", [&](SaHpiTextBufferT *t) { return kvnHpiMACAddressGet(session, index, t); });
  const LinkMode mode = GetLinkMode(session, index);
  out["an"] = mode.an;
  out["duplex"] = mode.duplex;
  out["speed"] = mode.speed;
  return out;
}

json ReadIpv4(HpiSession session, SaHpiUint32T index, json out) {
  out["ip4en"] = false;
  out["dhcp4r"] = Tokens(GetText("kvnHpiIPv4DHCPRejectedServersGet",
                                 [&](SaHpiTextBufferT *t) { return kvnHpiIPv4DHCPRejectedServersGet(session, t); }));
  SaHpiBoolT dhcp = 0;
  const SaErrorT rv = kvnHpiIPv4DHCPGet(session, index, &dhcp);
  if (rv != SA_ERR_HPI_NOT_PRESENT) {
    CheckHpi(rv, "kvnHpiIPv4DHCPGet");
    out["dhcp"] = dhcp;
  }
  // Address and gateway are shown empty when the daemon has none to give.
  SaHpiTextBufferT text{};
  out["ip4"] = "";
  if (kvnHpiIPv4AddressGet(session, index, &text) == SA_OK) {
    out["ip4"] = TextBufferToString(text);
    out["ip4en"] = out["ip4"] != kDisabledIpv4;
  }
  out["gw4"] = "";
  if (kvnHpiIPv4GatewayGet(session, index, &text) == SA_OK) out["gw4"] = TextBufferToString(text);
  return out;
}

json ReadIpv6(HpiSession session, SaHpiUint32T index, json out) {
  out["ip6en"] = false;
  out["dhcp6r"] = Tokens(GetText("kvnHpiIPv6DHCPRejectedServersGet",
                                 [&](SaHpiTextBufferT *t) { return kvnHpiIPv6DHCPRejectedServersGet(session, t); }));
  SaHpiBoolT automatic = 0;
  SaHpiBoolT dhcp = 0;
  if (kvnHpiIPv6AutoDHCPGet(session, index, &automatic, &dhcp) == SA_OK) {
    out["dhcp6auto"] = automatic;
    out["dhcp6en"] = dhcp;
  } else {
    out["dhcp6auto"] = 1;
    out["dhcp6en"] = 0;
  }
  out["ip6"] = json::array();
  SaHpiTextBufferT text{};
  if (kvnHpiIPv6AddressesPrefixesGet(session, index, &text) == SA_OK && text.DataLength > 0) {
    out["ip6"] = Tokens(TextBufferToString(text));
    out["ip6en"] = true;
  }
  out["routes"] = json::array();
  out["gw6"] = "";
  WalkGuard guard("kvnHpiIPv6RouteGet");  // a daemon that never ends the list
  for (SaHpiUint32T n = 1;; ++n) {
    guard.Visit(n);
    SaHpiTextBufferT prefix{};
    SaHpiTextBufferT address{};
    if (kvnHpiIPv6RouteGet(session, index, n, &prefix, &address) != SA_OK) break;
    const std::string pref = TextBufferToString(prefix);
    const std::string addr = TextBufferToString(address);
    out["routes"].push_back({{"idx", n}, {"pref", pref}, {"addr", addr}});
    if (pref == kDefaultRoute6) out["gw6"] = addr;
  }
  return out;
}

json ReadDns(HpiSession session) {
  SaHpiUint8T preference = 0;
  CheckHpi(kvnHpiDNSPreferenceGet(session, &preference), "kvnHpiDNSPreferenceGet");
  const auto first_two = [](const std::string &text) {
    std::vector<std::string> tokens = SplitTokens(text);
    tokens.resize(std::max<size_t>(tokens.size(), 2));
    return tokens;
  };
  const std::vector<std::string> v4 = first_two(
      GetText("kvnHpiIPv4DNSServersGet", [&](SaHpiTextBufferT *t) { return kvnHpiIPv4DNSServersGet(session, t); }));
  const std::vector<std::string> v6 = first_two(
      GetText("kvnHpiIPv6DNSServersGet", [&](SaHpiTextBufferT *t) { return kvnHpiIPv6DNSServersGet(session, t); }));
  const std::string path =
      GetText("kvnHpiDomainSearchPathGet", [&](SaHpiTextBufferT *t) { return kvnHpiDomainSearchPathGet(session, t); });
  return {{"dnsres", preference}, {"dns4prim", v4[0]}, {"dns4sec", v4[1]},
          {"dns6prim", v6[0]},    {"dns6sec", v6[1]},  {"dnspath", path}};
}

// ---- setting processes -----------------------------------------------------------

// Applies `set` in a setting process with an HPI session of its own; `what`
// starts the line logged when the call fails there. The caller is answered
// at once; the outcome reaches only the log.
json ApplyInSettingProcess(const char *what, const char *fork_failure, std::function<SaErrorT(SaHpiSessionIdT)> set) {
  const bool started = StartSettingProcess([what, set = std::move(set)] {
    SaHpiSessionIdT own = 0;
    SaErrorT rv = saHpiSessionOpen(SAHPI_UNSPECIFIED_DOMAIN_ID, &own, nullptr);
    if (rv != SA_OK) {
      eal_log(EAL_LOG_ERROR, "CGI: Can't open session for set_http process. Error %d\n", rv);
      return 1;
    }
    const SaErrorT set_rv = set(own);
    if (set_rv != SA_OK) eal_log(EAL_LOG_ERROR, "%s. Error %d\n", what, set_rv);
    // Closed on failure too: the daemon would keep the session otherwise.
    rv = saHpiSessionClose(own);
    if (rv != SA_OK) {
      eal_log(EAL_LOG_ERROR, "CGI: Can't close session for set_http process. Error %d\n", rv);
      return 1;
    }
    return set_rv == SA_OK ? 0 : 1;
  });
  if (!started) {
    eal_log(EAL_LOG_ERROR, "%s\n", fork_failure);
    Fail(ErrorReplyMsg(kRcNoChild, kNoSettingProcess));
  }
  return OkReply();
}

// ---- writing -----------------------------------------------------------------------

json WriteLink(HpiSession session, SaHpiUint32T index, const json &prm) {
  LinkMode wanted;
  wanted.an = GetNumber<SaHpiBoolT>(RequireKey(prm, "an"));
  wanted.duplex = GetNumber<SaHpiUint8T>(RequireKey(prm, "duplex"));
  wanted.speed = GetNumber<SaHpiInt16T>(RequireKey(prm, "speed"));
  if (GetLinkMode(session, index) == wanted) return OkReply();
  CheckHpi(kvnHpiInterfaceModeAndSpeedSet(session, index, wanted.an, wanted.duplex, wanted.speed),
           "kvnHpiInterfaceModeAndSpeedSet");
  return OkReply();
}

// A controller-wide list of rejected DHCP servers, set when it differs.
void WriteRejectedServers(const json &prm, const char *key, const char *get_name, const char *set_name,
                          SaErrorT (*get)(SaHpiSessionIdT, SaHpiTextBufferT *),
                          SaErrorT (*set)(SaHpiSessionIdT, const SaHpiTextBufferT *), HpiSession session) {
  const std::string current = GetText(get_name, [&](SaHpiTextBufferT *t) { return get(session, t); });
  const std::string wanted = RequireList(prm, key);
  if (wanted == current) return;
  const SaHpiTextBufferT text = TextBufferFromString(wanted);
  CheckHpi(set(session, &text), set_name);
}

json WriteIpv4(HpiSession session, SaHpiUint32T index, const json &prm) {
  WriteRejectedServers(prm, "dhcp4r", "kvnHpiIPv4DHCPRejectedServersGet", "kvnHpiIPv4DHCPRejectedServersSet",
                       kvnHpiIPv4DHCPRejectedServersGet, kvnHpiIPv4DHCPRejectedServersSet, session);
  const auto enable = GetNumber<SaHpiUint8T>(RequireKey(prm, "ip4en"));
  const std::string address =
      GetText("kvnHpiIPv4AddressGet", [&](SaHpiTextBufferT *t) { return kvnHpiIPv4AddressGet(session, index, t); });
  const bool enabled = address != kDisabledIpv4;

  SaHpiBoolT dhcp = 1;
  std::string new_address = kDisabledIpv4;
  std::string new_gateway;
  if (enable == 0) {
    if (!enabled) return OkReply();
  } else {
    dhcp = GetNumber<SaHpiBoolT>(RequireKey(prm, "dhcp"));
    new_address = RequireString(prm, "ip4");
    new_gateway = RequireString(prm, "gw4");
    SaHpiBoolT current_dhcp = 0;
    CheckHpi(kvnHpiIPv4DHCPGet(session, index, &current_dhcp), "kvnHpiIPv4DHCPGet");
    const std::string gateway =
        GetText("kvnHpiIPv4GatewayGet", [&](SaHpiTextBufferT *t) { return kvnHpiIPv4GatewayGet(session, index, t); });
    if (current_dhcp == dhcp && address == new_address && gateway == new_gateway) return OkReply();
  }
  return ApplyInSettingProcess(
      "CGI: Can't set IPv4 address and gateway", "CGI: Can't fork IPv4 address and gateway setting process.",
      [index, dhcp, a = TextBufferFromString(new_address), g = TextBufferFromString(new_gateway)](SaHpiSessionIdT own) {
        return kvnHpiIPv4DHCPAddressGatewaySet(own, index, dhcp, &a, &g);
      });
}

json WriteIpv6(HpiSession session, SaHpiUint32T index, const json &prm) {
  WriteRejectedServers(prm, "dhcp6r", "kvnHpiIPv6DHCPRejectedServersGet", "kvnHpiIPv6DHCPRejectedServersSet",
                       kvnHpiIPv6DHCPRejectedServersGet, kvnHpiIPv6DHCPRejectedServersSet, session);
  if (GetNumber<SaHpiUint8T>(RequireKey(prm, "ip6en")) == 0) return OkReply();
  const auto dhcp = GetNumber<SaHpiBoolT>(RequireKey(prm, "dhcp6en"));
  const auto automatic = GetNumber<SaHpiBoolT>(RequireKey(prm, "dhcp6auto"));
  if (dhcp != 0 || automatic != 0) {
    CheckHpi(kvnHpiIPv6AutoDHCPSet(session, index, dhcp), "kvnHpiIPv6AutoDHCPSet");
    return OkReply();
  }
  const SaHpiTextBufferT addresses = TextBufferFromString(RequireList(prm, "ip6"));
  const auto gw6 = prm.find("gw6");
  const SaHpiTextBufferT gateway = TextBufferFromString(gw6 != prm.end() ? gw6->get<std::string>() : "");
  CheckHpi(kvnHpiIPv6AddressesPrefixesGatewaySet(session, index, &addresses, &gateway),
           "kvnHpiIPv6AddressesPrefixesGatewaySet");
  return OkReply();
}

// One DNS server list, set when it differs.
void WriteServers(HpiSession session, const json &prm, const char *primary, const char *secondary, bool v6) {
  const std::string wanted = ServerPair(RequireString(prm, primary), RequireString(prm, secondary));
  const std::string current =
      v6 ? GetText("kvnHpiIPv6DNSServersGet", [&](SaHpiTextBufferT *t) { return kvnHpiIPv6DNSServersGet(session, t); })
         : GetText("kvnHpiIPv4DNSServersGet", [&](SaHpiTextBufferT *t) { return kvnHpiIPv4DNSServersGet(session, t); });
  if (wanted == current) return;
  const SaHpiTextBufferT text = TextBufferFromString(wanted);
  if (v6) {
    eal_log(EAL_LOG_INFO, "CGI DEBIG: kvnHpiIPv6DNSServersSet(%s)\n", wanted.c_str());
    CheckHpi(kvnHpiIPv6DNSServersSet(session, &text), "kvnHpiIPv6DNSServersSet");
  } else {
    CheckHpi(kvnHpiIPv4DNSServersSet(session, &text), "kvnHpiIPv4DNSServersSet");
  }
}

json WriteDns(HpiSession session, const json &prm) {
  const auto preference = GetNumber<SaHpiUint8T>(RequireKey(prm, "dnsres"));
  SaHpiUint8T current = 0;
  CheckHpi(kvnHpiDNSPreferenceGet(session, &current), "kvnHpiDNSPreferenceGet");
  if (current != preference) CheckHpi(kvnHpiDNSPreferenceSet(session, preference), "kvnHpiDNSPreferenceSet");
  WriteServers(session, prm, "dns4prim", "dns4sec", false);
  WriteServers(session, prm, "dns6prim", "dns6sec", true);
  const std::string path = RequireString(prm, "dnspath");
  const std::string current_path =
      GetText("kvnHpiDomainSearchPathGet", [&](SaHpiTextBufferT *t) { return kvnHpiDomainSearchPathGet(session, t); });
  if (path == current_path) return OkReply();
  return ApplyInSettingProcess(
      "CGI: Can't set Domain Search Path", "CGI: Can't set Domain Search Path.",
      [text = TextBufferFromString(path)](SaHpiSessionIdT own) { return kvnHpiDomainSearchPathSet(own, &text); });
}

}  // namespace

json GetNetworkSettings(HpiSession session, const json &prm) {
  const auto cmd = GetNumber<int32_t>(RequireKey(prm, "cmd"));
  if (cmd == kDns) return OkReplyWithResponse(ReadDns(session));
  if (cmd != kLink && cmd != kIpv4 && cmd != kIpv6) Fail(ErrorReplyInternal(kRcNotImplemented, cmd));
  const std::string name = RequireString(prm, "id");
  const SaHpiUint32T index = FindInterfaceIndex(session, name);
  json interface = {{"idx", index}, {"id", name}};
  switch (cmd) {
    case kLink:
      return OkReplyWithResponse(ReadLink(session, index, std::move(interface)));
    case kIpv4:
      return OkReplyWithResponse(ReadIpv4(session, index, std::move(interface)));
    default:
      return OkReplyWithResponse(ReadIpv6(session, index, std::move(interface)));
  }
}

json SetNetworkSettings(HpiSession session, const json &prm) {
  const auto cmd = GetNumber<int32_t>(RequireKey(prm, "cmd"));
  if (cmd == kDns) return WriteDns(session, prm);
  if (cmd != kLink && cmd != kIpv4 && cmd != kIpv6) Fail(ErrorReplyInternal(kRcNotImplemented, cmd));
  const auto index = GetNumber<SaHpiUint32T>(RequireKey(prm, "idx"));
  switch (cmd) {
    case kLink:
      return WriteLink(session, index, prm);
    case kIpv4:
      return WriteIpv4(session, index, prm);
    default:
      return WriteIpv6(session, index, prm);
  }
}

json SetHostName(HpiSession session, const json &prm) {
  const SaHpiTextBufferT name = TextBufferFromString(RequireString(prm, "hostname"));
  CheckHpi(kvnHpiHostNameSet(session, &name), "kvnHpiHostNameSet");
  return OkReply();
}

}  // namespace kvnc
