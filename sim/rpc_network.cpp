// Network interfaces and DNS of the simulated controller.
#include <string>

#include "client/text_buffer.h"
#include "sim/sim_functions.h"

namespace kvnc::sim {

namespace {

constexpr const char *kDefaultRoute6 = "::/0";

Adapter *AdapterAt(Model &model, SaHpiUint32T index) {
  std::vector<Adapter> &adapters = model.appliance.adapters;
  return index >= 1 && index <= adapters.size() ? &adapters[index - 1] : nullptr;
}

SaErrorT Give(const std::string &text, SaHpiTextBufferT *out) {
  *out = TextBufferFromString(text);
  return SA_OK;
}

SaErrorT Take(const SaHpiTextBufferT *text, std::string &into) {
  into = TextBufferToString(*text);
  return SA_OK;
}

}  // namespace

SaErrorT SimInterfaceModeAndSpeedGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T adapter, SaHpiBoolT *an,
                                     SaHpiUint8T *duplex, SaHpiInt16T *speed) {
  const Adapter *a = AdapterAt(c.model, adapter);
  if (a == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  *an = a->auto_negotiation;
  *duplex = a->duplex;
  *speed = a->speed;
  return SA_OK;
}

SaErrorT SimInterfaceModeAndSpeedSet(Caller &c, SaHpiSessionIdT, SaHpiUint32T adapter, SaHpiBoolT an,
                                     SaHpiUint8T duplex, SaHpiInt16T speed) {
  Adapter *a = AdapterAt(c.model, adapter);
  if (a == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  a->auto_negotiation = an;
  a->duplex = duplex;
  a->speed = speed;
  return SA_OK;
}

SaErrorT SimIPv4DHCPGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T adapter, SaHpiBoolT *dhcp) {
  const Adapter *a = AdapterAt(c.model, adapter);
  if (a == nullptr || !a->dhcp4) return SA_ERR_HPI_NOT_PRESENT;
  *dhcp = *a->dhcp4;
  return SA_OK;
}

SaErrorT SimIPv4DHCPAddressGatewaySet(Caller &c, SaHpiSessionIdT, SaHpiUint32T adapter, SaHpiBoolT dhcp,
                                      const SaHpiTextBufferT *address, const SaHpiTextBufferT *gateway) {
  Adapter *a = AdapterAt(c.model, adapter);
  if (a == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  a->dhcp4 = dhcp;
  a->ipv4 = TextBufferToString(*address);
  a->gateway4 = TextBufferToString(*gateway);
  return SA_OK;
}

SaErrorT SimIPv4GatewayGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T adapter, SaHpiTextBufferT *gateway) {
  const Adapter *a = AdapterAt(c.model, adapter);
  return a == nullptr ? SA_ERR_HPI_NOT_PRESENT : Give(a->gateway4, gateway);
}

SaErrorT SimIPv4DNSServersGet(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *servers) {
  return Give(c.model.appliance.dns4, servers);
}

SaErrorT SimIPv4DNSServersSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *servers) {
  return Take(servers, c.model.appliance.dns4);
}

SaErrorT SimIPv6AddressesPrefixesGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T adapter, SaHpiTextBufferT *addresses) {
  const Adapter *a = AdapterAt(c.model, adapter);
  return a == nullptr ? SA_ERR_HPI_NOT_PRESENT : Give(a->ipv6, addresses);
}

SaErrorT SimIPv6AddressesPrefixesGatewaySet(Caller &c, SaHpiSessionIdT, SaHpiUint32T adapter,
                                            const SaHpiTextBufferT *addresses, const SaHpiTextBufferT *gateway) {
  Adapter *a = AdapterAt(c.model, adapter);
  if (a == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  a->ipv6_auto = 0;
  a->dhcp6 = 0;
  a->ipv6 = TextBufferToString(*addresses);
  std::erase_if(a->routes6, [](const Route6 &r) { return r.prefix == kDefaultRoute6; });
  const std::string via = TextBufferToString(*gateway);
  if (!via.empty()) a->routes6.push_back({kDefaultRoute6, via});
  return SA_OK;
}

SaErrorT SimIPv6RouteGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T adapter, SaHpiUint32T route, SaHpiTextBufferT *prefix,
                         SaHpiTextBufferT *address) {
  const Adapter *a = AdapterAt(c.model, adapter);
  if (a == nullptr || route < 1 || route > a->routes6.size()) return SA_ERR_HPI_NOT_PRESENT;
  const Route6 &r = a->routes6[route - 1];
  *prefix = TextBufferFromString(r.prefix);
  return Give(r.address, address);
}

SaErrorT SimIPv6DNSServersGet(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *servers) {
  return Give(c.model.appliance.dns6, servers);
}

SaErrorT SimIPv6DNSServersSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *servers) {
  return Take(servers, c.model.appliance.dns6);
}

SaErrorT SimDNSPreferenceGet(Caller &c, SaHpiSessionIdT, SaHpiUint8T *preference) {
  *preference = c.model.appliance.dns_preference;
  return SA_OK;
}

SaErrorT SimDNSPreferenceSet(Caller &c, SaHpiSessionIdT, SaHpiUint8T preference) {
  c.model.appliance.dns_preference = preference;
  return SA_OK;
}

SaErrorT SimDomainSearchPathGet(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *path) {
  return Give(c.model.appliance.search_path, path);
}

SaErrorT SimDomainSearchPathSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *path) {
  return Take(path, c.model.appliance.search_path);
}

SaErrorT SimIPv4DHCPRejectedServersGet(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *servers) {
  return Give(c.model.appliance.dhcp4_rejected, servers);
}

SaErrorT SimIPv4DHCPRejectedServersSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *servers) {
  return Take(servers, c.model.appliance.dhcp4_rejected);
}

SaErrorT SimIPv6DHCPRejectedServersGet(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *servers) {
  return Give(c.model.appliance.dhcp6_rejected, servers);
}

SaErrorT SimIPv6DHCPRejectedServersSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *servers) {
  return Take(servers, c.model.appliance.dhcp6_rejected);
}

SaErrorT SimIPv6AutoDHCPGet(Caller &c, SaHpiSessionIdT, SaHpiUint32T adapter, SaHpiBoolT *automatic, SaHpiBoolT *dhcp) {
  const Adapter *a = AdapterAt(c.model, adapter);
  if (a == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  *automatic = a->ipv6_auto;
  *dhcp = a->dhcp6;
  return SA_OK;
}

SaErrorT SimIPv6AutoDHCPSet(Caller &c, SaHpiSessionIdT, SaHpiUint32T adapter, SaHpiBoolT dhcp) {
  Adapter *a = AdapterAt(c.model, adapter);
  if (a == nullptr) return SA_ERR_HPI_NOT_PRESENT;
  a->ipv6_auto = 1;
  a->dhcp6 = dhcp;
  return SA_OK;
}

}  // namespace kvnc::sim
