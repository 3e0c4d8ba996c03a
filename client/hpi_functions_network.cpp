// Network interfaces, DNS and network services.
// Client functions of the controller's extensions: each passes the addresses
// of its values in the daemon's order, and HpiCall refuses a missing text,
// record or output before anything is sent.
#include "client/hpi_call.h"
#include "client/hpi_functions.h"

SaErrorT kvnHpiAdapterNameGet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex, SaHpiTextBufferT *Name) {
  return HpiCall(178, {&SessionId, &AdapterIndex}, {Name});
}

SaErrorT kvnHpiMACAddressGet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex, SaHpiTextBufferT *MacAddress) {
  return HpiCall(179, {&SessionId, &AdapterIndex}, {MacAddress});
}

SaErrorT kvnHpiInterfaceModeAndSpeedGet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex,
                                        SaHpiBoolT *AutoNegotiation, SaHpiUint8T *Duplex, SaHpiInt16T *Speed) {
  return HpiCall(180, {&SessionId, &AdapterIndex}, {AutoNegotiation, Duplex, Speed});
}

SaErrorT kvnHpiInterfaceModeAndSpeedSet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex,
                                        SaHpiBoolT AutoNegotiation, SaHpiUint8T Duplex, SaHpiInt16T Speed) {
  return HpiCall(181, {&SessionId, &AdapterIndex, &AutoNegotiation, &Duplex, &Speed}, {});
}

SaErrorT kvnHpiIPv4DHCPGet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex, SaHpiBoolT *DhcpEnabled) {
  return HpiCall(182, {&SessionId, &AdapterIndex}, {DhcpEnabled});
}

SaErrorT kvnHpiIPv4AddressGet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex, SaHpiTextBufferT *Address) {
  return HpiCall(183, {&SessionId, &AdapterIndex}, {Address});
}

SaErrorT kvnHpiIPv4DHCPAddressGatewaySet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex, SaHpiBoolT DhcpEnabled,
                                         const SaHpiTextBufferT *Address, const SaHpiTextBufferT *Gateway) {
  return HpiCall(184, {&SessionId, &AdapterIndex, &DhcpEnabled, Address, Gateway}, {});
}

SaErrorT kvnHpiIPv4GatewayGet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex, SaHpiTextBufferT *Gateway) {
  return HpiCall(185, {&SessionId, &AdapterIndex}, {Gateway});
}

SaErrorT kvnHpiIPv4DNSServersGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Servers) {
  return HpiCall(186, {&SessionId}, {Servers});
}

SaErrorT kvnHpiIPv4DNSServersSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Servers) {
  return HpiCall(187, {&SessionId, Servers}, {});
}

SaErrorT kvnHpiIPv6AddressesPrefixesGet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex,
                                        SaHpiTextBufferT *AddressesPrefixes) {
  return HpiCall(189, {&SessionId, &AdapterIndex}, {AddressesPrefixes});
}

SaErrorT kvnHpiIPv6AddressesPrefixesGatewaySet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex,
                                               const SaHpiTextBufferT *AddressesPrefixes,
                                               const SaHpiTextBufferT *Gateway) {
  return HpiCall(190, {&SessionId, &AdapterIndex, AddressesPrefixes, Gateway}, {});
}

SaErrorT kvnHpiIPv6RouteGet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex, SaHpiUint32T RouteNumber,
                            SaHpiTextBufferT *Prefix, SaHpiTextBufferT *Address) {
  return HpiCall(191, {&SessionId, &AdapterIndex, &RouteNumber}, {Prefix, Address});
}

SaErrorT kvnHpiIPv6DNSServersGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Servers) {
  return HpiCall(192, {&SessionId}, {Servers});
}

SaErrorT kvnHpiIPv6DNSServersSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Servers) {
  return HpiCall(193, {&SessionId, Servers}, {});
}

SaErrorT kvnHpiDNSPreferenceGet(SaHpiSessionIdT SessionId, SaHpiUint8T *Preference) {
  return HpiCall(194, {&SessionId}, {Preference});
}

SaErrorT kvnHpiDNSPreferenceSet(SaHpiSessionIdT SessionId, SaHpiUint8T Preference) {
  return HpiCall(195, {&SessionId, &Preference}, {});
}

SaErrorT kvnHpiHTTPPortGet(SaHpiSessionIdT SessionId, SaHpiUint16T *Port) { return HpiCall(196, {&SessionId}, {Port}); }

SaErrorT kvnHpiHTTPPortSet(SaHpiSessionIdT SessionId, SaHpiUint16T Port) {
  return HpiCall(197, {&SessionId, &Port}, {});
}

SaErrorT kvnHpiHTTPSPortGet(SaHpiSessionIdT SessionId, SaHpiUint16T *Port) {
  return HpiCall(198, {&SessionId}, {Port});
}

SaErrorT kvnHpiHTTPSPortSet(SaHpiSessionIdT SessionId, SaHpiUint16T Port) {
  return HpiCall(199, {&SessionId, &Port}, {});
}

SaErrorT kvnHpiTelnetEnableAndPortGet(SaHpiSessionIdT SessionId, SaHpiBoolT *Enabled, SaHpiUint16T *Port) {
  return HpiCall(200, {&SessionId}, {Enabled, Port});
}

SaErrorT kvnHpiTelnetEnableAndPortSet(SaHpiSessionIdT SessionId, SaHpiBoolT Enabled, SaHpiUint16T Port) {
  return HpiCall(201, {&SessionId, &Enabled, &Port}, {});
}

SaErrorT kvnHpiSSHEnableAndPortGet(SaHpiSessionIdT SessionId, SaHpiBoolT *Enabled, SaHpiUint16T *Port) {
  return HpiCall(202, {&SessionId}, {Enabled, Port});
}

SaErrorT kvnHpiSSHEnableAndPortSet(SaHpiSessionIdT SessionId, SaHpiBoolT Enabled, SaHpiUint16T Port) {
  return HpiCall(203, {&SessionId, &Enabled, &Port}, {});
}

SaErrorT kvnHpiSSHAuthMethodGet(SaHpiSessionIdT SessionId, SaHpiUint8T *Method) {
  return HpiCall(204, {&SessionId}, {Method});
}

SaErrorT kvnHpiSSHAuthMethodSet(SaHpiSessionIdT SessionId, SaHpiUint8T Method) {
  return HpiCall(205, {&SessionId, &Method}, {});
}

SaErrorT kvnHpiSMTPOwnAddressGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Address) {
  return HpiCall(206, {&SessionId}, {Address});
}

SaErrorT kvnHpiSMTPOwnAddressSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Address) {
  return HpiCall(207, {&SessionId, Address}, {});
}

SaErrorT kvnHpiSMTPServerGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Server) {
  return HpiCall(208, {&SessionId}, {Server});
}

SaErrorT kvnHpiSMTPServerSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Server) {
  return HpiCall(209, {&SessionId, Server}, {});
}

SaErrorT kvnHpiSMTPDefaultRecipientsGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Recipients) {
  return HpiCall(210, {&SessionId}, {Recipients});
}

SaErrorT kvnHpiSMTPDefaultRecipientsSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Recipients) {
  return HpiCall(211, {&SessionId, Recipients}, {});
}

SaErrorT kvnHpiSNMPEnablesGet(SaHpiSessionIdT SessionId, SaHpiBoolT *Enable, SaHpiBoolT *Enable12) {
  return HpiCall(212, {&SessionId}, {Enable, Enable12});
}

SaErrorT kvnHpiSNMPEnablesSet(SaHpiSessionIdT SessionId, SaHpiBoolT Enable, SaHpiBoolT Enable12) {
  return HpiCall(213, {&SessionId, &Enable, &Enable12}, {});
}

SaErrorT kvnHpiSNMPReadCommunityGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Community) {
  return HpiCall(214, {&SessionId}, {Community});
}

SaErrorT kvnHpiSNMPReadCommunitySet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Community) {
  return HpiCall(215, {&SessionId, Community}, {});
}

SaErrorT kvnHpiSNMPWriteCommunityGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Community) {
  return HpiCall(216, {&SessionId}, {Community});
}

SaErrorT kvnHpiSNMPWriteCommunitySet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Community) {
  return HpiCall(217, {&SessionId, Community}, {});
}

SaErrorT kvnHpiSNMPSysNameGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *SysName) {
  return HpiCall(218, {&SessionId}, {SysName});
}

SaErrorT kvnHpiSNMPSysNameSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *SysName) {
  return HpiCall(219, {&SessionId, SysName}, {});
}

SaErrorT kvnHpiSNMPSysContactGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *SysContact) {
  return HpiCall(220, {&SessionId}, {SysContact});
}

SaErrorT kvnHpiSNMPSysContactSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *SysContact) {
  return HpiCall(221, {&SessionId, SysContact}, {});
}

SaErrorT kvnHpiSNMPSysLocationGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *SysLocation) {
  return HpiCall(222, {&SessionId}, {SysLocation});
}

SaErrorT kvnHpiSNMPSysLocationSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *SysLocation) {
  return HpiCall(223, {&SessionId, SysLocation}, {});
}

SaErrorT kvnHpiSNMPTrapDestinationGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Destination) {
  return HpiCall(224, {&SessionId}, {Destination});
}

SaErrorT kvnHpiSNMPTrapDestinationSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Destination) {
  return HpiCall(225, {&SessionId, Destination}, {});
}

SaErrorT kvnHpiSNMPTrapV2EnableGet(SaHpiSessionIdT SessionId, SaHpiBoolT *Enabled) {
  return HpiCall(226, {&SessionId}, {Enabled});
}

SaErrorT kvnHpiSNMPTrapV2EnableSet(SaHpiSessionIdT SessionId, SaHpiBoolT Enabled) {
  return HpiCall(227, {&SessionId, &Enabled}, {});
}

SaErrorT kvnHpiNTPEnableGet(SaHpiSessionIdT SessionId, SaHpiBoolT *Enabled) {
  return HpiCall(228, {&SessionId}, {Enabled});
}

SaErrorT kvnHpiNTPEnableSet(SaHpiSessionIdT SessionId, SaHpiBoolT Enabled) {
  return HpiCall(229, {&SessionId, &Enabled}, {});
}

SaErrorT kvnHpiNTPFromDHCPEnableGet(SaHpiSessionIdT SessionId, SaHpiBoolT *Enabled) {
  return HpiCall(230, {&SessionId}, {Enabled});
}

SaErrorT kvnHpiNTPFromDHCPEnableSet(SaHpiSessionIdT SessionId, SaHpiBoolT Enabled) {
  return HpiCall(231, {&SessionId, &Enabled}, {});
}

SaErrorT kvnHpiNTPServersGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Primary, SaHpiTextBufferT *Secondary) {
  return HpiCall(232, {&SessionId}, {Primary, Secondary});
}

SaErrorT kvnHpiNTPServersSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Primary,
                             const SaHpiTextBufferT *Secondary, SaHpiUint8T Override) {
  return HpiCall(233, {&SessionId, Primary, Secondary, &Override}, {});
}

SaErrorT kvnHpiEnforceHTTPSGet(SaHpiSessionIdT SessionId, SaHpiBoolT *Enforced) {
  return HpiCall(302, {&SessionId}, {Enforced});
}

SaErrorT kvnHpiEnforceHTTPSSet(SaHpiSessionIdT SessionId, SaHpiBoolT Enforced) {
  return HpiCall(303, {&SessionId, &Enforced}, {});
}

SaErrorT kvnHpiHostNameGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *HostName) {
  return HpiCall(352, {&SessionId}, {HostName});
}

SaErrorT kvnHpiHostNameSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *HostName) {
  return HpiCall(353, {&SessionId, HostName}, {});
}

SaErrorT kvnHpiDomainSearchPathGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *SearchPath) {
  return HpiCall(357, {&SessionId}, {SearchPath});
}

SaErrorT kvnHpiDomainSearchPathSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *SearchPath) {
  return HpiCall(358, {&SessionId, SearchPath}, {});
}

SaErrorT kvnHpiIPv4DHCPRejectedServersGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Servers) {
  return HpiCall(374, {&SessionId}, {Servers});
}

SaErrorT kvnHpiIPv4DHCPRejectedServersSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Servers) {
  return HpiCall(375, {&SessionId, Servers}, {});
}

SaErrorT kvnHpiIPv6DHCPRejectedServersGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Servers) {
  return HpiCall(376, {&SessionId}, {Servers});
}

SaErrorT kvnHpiIPv6DHCPRejectedServersSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Servers) {
  return HpiCall(377, {&SessionId, Servers}, {});
}

SaErrorT kvnHpiIPv6AutoDHCPGet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex, SaHpiBoolT *Automatic,
                               SaHpiBoolT *DhcpEnabled) {
  return HpiCall(401, {&SessionId, &AdapterIndex}, {Automatic, DhcpEnabled});
}

SaErrorT kvnHpiIPv6AutoDHCPSet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex, SaHpiBoolT DhcpEnabled) {
  return HpiCall(402, {&SessionId, &AdapterIndex, &DhcpEnabled}, {});
}

SaErrorT kvnHpiBACnetEnableAndDeviceIdGet(SaHpiSessionIdT SessionId, SaHpiBoolT *Enabled, SaHpiUint32T *DeviceId) {
  return HpiCall(429, {&SessionId}, {Enabled, DeviceId});
}

SaErrorT kvnHpiBACnetEnableAndDeviceIdSet(SaHpiSessionIdT SessionId, SaHpiBoolT Enabled, SaHpiUint32T DeviceId) {
  return HpiCall(430, {&SessionId, &Enabled, &DeviceId}, {});
}

SaErrorT kvnHpiRedFishEnableGet(SaHpiSessionIdT SessionId, SaHpiBoolT *Enabled, SaHpiUint16T *Port) {
  return HpiCall(457, {&SessionId}, {Enabled, Port});
}

SaErrorT kvnHpiRedFishEnableSet(SaHpiSessionIdT SessionId, SaHpiBoolT Enabled, SaHpiUint16T Port) {
  return HpiCall(458, {&SessionId, &Enabled, &Port}, {});
}
