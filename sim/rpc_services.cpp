// The network services (web ports, SSH, Telnet, SNMP, mail, BACnet, Redfish)
// and the cloud IoT link.
#include <optional>
#include <string>

#include "client/text_buffer.h"
#include "sim/sim_functions.h"

namespace kvnc::sim {

namespace {

template <typename T>
SaErrorT Give(const T &value, T *out) {
  *out = value;
  return SA_OK;
}

SaErrorT GiveText(const std::string &value, SaHpiTextBufferT *out) {
  *out = TextBufferFromString(value);
  return SA_OK;
}

SaErrorT TakeText(const SaHpiTextBufferT *value, std::string &into) {
  into = TextBufferToString(*value);
  return SA_OK;
}

// No service listens on port 0.
SaErrorT TakePort(SaHpiUint16T port, uint16_t &into) {
  if (port == 0) return SA_ERR_HPI_INVALID_PARAMS;
  into = port;
  return SA_OK;
}

SaErrorT TakeFlagAndPort(SaHpiBoolT enabled, SaHpiUint16T port, uint8_t &enabled_into, uint16_t &port_into) {
  if (port == 0) return SA_ERR_HPI_INVALID_PARAMS;
  enabled_into = enabled;
  port_into = port;
  return SA_OK;
}

Services &Of(Caller &c) { return c.model.services; }

bool Supports(const Iot &iot, const std::string &provider) {
  for (const std::string &p : iot.providers) {
    if (p == provider) return true;
  }
  return false;
}

// Writes (in the model) the configuration of `thing` for `provider`, unless
// the system lacks it or refuses.
SaErrorT Populate(Caller &c, const std::string &provider, const SaHpiTextBufferT *directory,
                  const SaHpiTextBufferT *thing, const std::string &endpoint, SaHpiBoolT *succeeded,
                  SaHpiTextBufferT *message) {
  std::optional<Iot> &iot = Of(c).iot;
  if (!iot || !Supports(*iot, provider)) return SA_ERR_HPI_NOT_PRESENT;
  if (!iot->refusal.empty()) {
    *succeeded = SAHPI_FALSE;
    return GiveText(iot->refusal, message);
  }
  iot->provider = provider;
  iot->name = TextBufferToString(*thing);
  iot->directory = TextBufferToString(*directory);
  iot->endpoint = endpoint;
  *succeeded = SAHPI_TRUE;
  return GiveText("", message);
}

}  // namespace

SaErrorT SimHTTPPortGet(Caller &c, SaHpiSessionIdT, SaHpiUint16T *port) { return Give(Of(c).http_port, port); }
SaErrorT SimHTTPPortSet(Caller &c, SaHpiSessionIdT, SaHpiUint16T port) {
  if (port == Of(c).https_port) return SA_ERR_HPI_INVALID_PARAMS;
  return TakePort(port, Of(c).http_port);
}
SaErrorT SimHTTPSPortGet(Caller &c, SaHpiSessionIdT, SaHpiUint16T *port) { return Give(Of(c).https_port, port); }
SaErrorT SimHTTPSPortSet(Caller &c, SaHpiSessionIdT, SaHpiUint16T port) {
  if (port == Of(c).http_port) return SA_ERR_HPI_INVALID_PARAMS;
  return TakePort(port, Of(c).https_port);
}
SaErrorT SimEnforceHTTPSGet(Caller &c, SaHpiSessionIdT, SaHpiBoolT *enforced) {
  return Give(Of(c).force_https, enforced);
}
SaErrorT SimEnforceHTTPSSet(Caller &c, SaHpiSessionIdT, SaHpiBoolT enforced) {
  Of(c).force_https = enforced;
  return SA_OK;
}

SaErrorT SimTelnetEnableAndPortGet(Caller &c, SaHpiSessionIdT, SaHpiBoolT *enabled, SaHpiUint16T *port) {
  *enabled = Of(c).telnet_enabled;
  return Give(Of(c).telnet_port, port);
}
SaErrorT SimTelnetEnableAndPortSet(Caller &c, SaHpiSessionIdT, SaHpiBoolT enabled, SaHpiUint16T port) {
  return TakeFlagAndPort(enabled, port, Of(c).telnet_enabled, Of(c).telnet_port);
}
SaErrorT SimSSHEnableAndPortGet(Caller &c, SaHpiSessionIdT, SaHpiBoolT *enabled, SaHpiUint16T *port) {
  *enabled = Of(c).ssh_enabled;
  return Give(Of(c).ssh_port, port);
}
SaErrorT SimSSHEnableAndPortSet(Caller &c, SaHpiSessionIdT, SaHpiBoolT enabled, SaHpiUint16T port) {
  return TakeFlagAndPort(enabled, port, Of(c).ssh_enabled, Of(c).ssh_port);
}
SaErrorT SimSSHAuthMethodGet(Caller &c, SaHpiSessionIdT, SaHpiUint8T *method) { return Give(Of(c).ssh_method, method); }
SaErrorT SimSSHAuthMethodSet(Caller &c, SaHpiSessionIdT, SaHpiUint8T method) {
  Of(c).ssh_method = method;
  return SA_OK;
}

SaErrorT SimSMTPOwnAddressGet(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *address) {
  return GiveText(Of(c).smtp_address, address);
}
SaErrorT SimSMTPOwnAddressSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *address) {
  return TakeText(address, Of(c).smtp_address);
}
SaErrorT SimSMTPServerGet(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *server) {
  return GiveText(Of(c).smtp_server, server);
}
SaErrorT SimSMTPServerSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *server) {
  return TakeText(server, Of(c).smtp_server);
}
SaErrorT SimSMTPDefaultRecipientsGet(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *recipients) {
  return GiveText(Of(c).smtp_recipients, recipients);
}
SaErrorT SimSMTPDefaultRecipientsSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *recipients) {
  return TakeText(recipients, Of(c).smtp_recipients);
}

SaErrorT SimSNMPEnablesSet(Caller &c, SaHpiSessionIdT, SaHpiBoolT enabled, SaHpiBoolT v12_enabled) {
  c.model.appliance.snmp_enabled = enabled;
  c.model.appliance.snmp_v12_enabled = v12_enabled;
  return SA_OK;
}
SaErrorT SimSNMPReadCommunityGet(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *community) {
  return GiveText(Of(c).snmp_read_community, community);
}
SaErrorT SimSNMPReadCommunitySet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *community) {
  return TakeText(community, Of(c).snmp_read_community);
}
SaErrorT SimSNMPWriteCommunityGet(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *community) {
  return GiveText(Of(c).snmp_write_community, community);
}
SaErrorT SimSNMPWriteCommunitySet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *community) {
  return TakeText(community, Of(c).snmp_write_community);
}
SaErrorT SimSNMPSysNameGet(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *name) {
  return GiveText(Of(c).snmp_sys_name, name);
}
SaErrorT SimSNMPSysNameSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *name) {
  return TakeText(name, Of(c).snmp_sys_name);
}
SaErrorT SimSNMPSysContactGet(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *contact) {
  return GiveText(Of(c).snmp_sys_contact, contact);
}
SaErrorT SimSNMPSysContactSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *contact) {
  return TakeText(contact, Of(c).snmp_sys_contact);
}
SaErrorT SimSNMPSysLocationGet(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *location) {
  return GiveText(Of(c).snmp_sys_location, location);
}
SaErrorT SimSNMPSysLocationSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *location) {
  return TakeText(location, Of(c).snmp_sys_location);
}
SaErrorT SimSNMPTrapDestinationGet(Caller &c, SaHpiSessionIdT, SaHpiTextBufferT *destination) {
  return GiveText(Of(c).snmp_trap_destination, destination);
}
SaErrorT SimSNMPTrapDestinationSet(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *destination) {
  return TakeText(destination, Of(c).snmp_trap_destination);
}
SaErrorT SimSNMPTrapV2EnableGet(Caller &c, SaHpiSessionIdT, SaHpiBoolT *enabled) {
  return Give(Of(c).snmp_trap_v2, enabled);
}
SaErrorT SimSNMPTrapV2EnableSet(Caller &c, SaHpiSessionIdT, SaHpiBoolT enabled) {
  Of(c).snmp_trap_v2 = enabled;
  return SA_OK;
}

SaErrorT SimBACnetEnableAndDeviceIdSet(Caller &c, SaHpiSessionIdT, SaHpiBoolT enabled, SaHpiUint32T device_id) {
  // BACnet device instances are 22-bit numbers.
  if (device_id > 0x3FFFFF) return SA_ERR_HPI_INVALID_PARAMS;
  c.model.appliance.bacnet_enabled = enabled;
  c.model.appliance.bacnet_device_id = device_id;
  return SA_OK;
}
SaErrorT SimRedFishEnableGet(Caller &c, SaHpiSessionIdT, SaHpiBoolT *enabled, SaHpiUint16T *port) {
  *enabled = Of(c).redfish_enabled;
  return Give(Of(c).redfish_port, port);
}
SaErrorT SimRedFishEnableSet(Caller &c, SaHpiSessionIdT, SaHpiBoolT enabled, SaHpiUint16T port) {
  return TakeFlagAndPort(enabled, port, Of(c).redfish_enabled, Of(c).redfish_port);
}

SaErrorT SimPopulateAwsConfigs(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *directory,
                               const SaHpiTextBufferT *thing, const SaHpiTextBufferT *, SaHpiBoolT *succeeded,
                               SaHpiTextBufferT *message) {
  return Populate(c, "aws", directory, thing, "", succeeded, message);
}
SaErrorT SimPopulateAwsGreengrassConfigs(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *directory,
                                         const SaHpiTextBufferT *thing, const SaHpiTextBufferT *,
                                         const SaHpiTextBufferT *endpoint, SaHpiBoolT *succeeded,
                                         SaHpiTextBufferT *message) {
  return Populate(c, "greengrass", directory, thing, TextBufferToString(*endpoint), succeeded, message);
}
SaErrorT SimPopulateAzureConfigs(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *directory,
                                 const SaHpiTextBufferT *thing, const SaHpiTextBufferT *, SaHpiBoolT *succeeded,
                                 SaHpiTextBufferT *message) {
  return Populate(c, "azure", directory, thing, "", succeeded, message);
}

SaErrorT SimIotIsConnected(Caller &c, SaHpiSessionIdT, SaHpiBoolT *connected, SaHpiTextBufferT *name,
                           SaHpiTextBufferT *provider, SaHpiInt32T *last_result) {
  const std::optional<Iot> &iot = Of(c).iot;
  if (!iot) return SA_ERR_HPI_UNSUPPORTED_API;
  if (iot->dispatcher == 0) return SA_ERR_HPI_INVALID_STATE;
  *connected = iot->connected;
  *name = TextBufferFromString(iot->name);
  *provider = TextBufferFromString(iot->provider);
  return Give(iot->last_result, last_result);
}
SaErrorT SimIotUseWebSocketsGet(Caller &c, SaHpiSessionIdT, SaHpiBoolT *use) {
  if (!Of(c).iot) return SA_ERR_HPI_UNSUPPORTED_API;
  return Give(Of(c).iot->web_sockets, use);
}
SaErrorT SimIotUseWebSocketsSet(Caller &c, SaHpiSessionIdT, SaHpiBoolT use) {
  if (!Of(c).iot) return SA_ERR_HPI_UNSUPPORTED_API;
  Of(c).iot->web_sockets = use;
  return SA_OK;
}
SaErrorT SimUnconfigureIot(Caller &c, SaHpiSessionIdT, const SaHpiTextBufferT *) {
  std::optional<Iot> &iot = Of(c).iot;
  if (!iot) return SA_ERR_HPI_NOT_PRESENT;
  iot->connected = 0;
  iot->name.clear();
  iot->provider.clear();
  iot->endpoint.clear();
  iot->directory.clear();
  return SA_OK;
}

}  // namespace kvnc::sim
