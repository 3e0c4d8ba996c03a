// The RPC marshal table: for each RPC number the types of its request values
// and of its reply values (the reply always begins with the SaErrorT).
//
// Numbers whose value lists we do not know have no entry and are answered
// like a number outside the table: FindRpcMarshal returns nullptr and the
// call fails with SA_ERR_HPI_UNSUPPORTED_API before anything is sent. That
// holds for 11, 73 and 107..115, and for the client functions that nothing
// in this program calls. Of 130, 380, 381 and 420 only what is listed is
// known; their entries are kept for the numbering and are not called.
#include <array>
#include <cstddef>

#include "client/marshal.h"
#include "client/marshal_hpi.h"

namespace {

// The value kinds of the protocol, named as the rows use them.
constexpr const MarshalType *U8 = &kMarshalUint8;
constexpr const MarshalType *U16 = &kMarshalUint16;
constexpr const MarshalType *U32 = &kMarshalUint32;
constexpr const MarshalType *U64 = &kMarshalUint64;
constexpr const MarshalType *I16 = &kMarshalInt16;
constexpr const MarshalType *I32 = &kMarshalInt32;
constexpr const MarshalType *I64 = &kMarshalInt64;
constexpr const MarshalType *Text = &kHpiTextBuffer;
constexpr const MarshalType *EntityPath = &kHpiEntityPath;
constexpr const MarshalType *Reading = &kHpiSensorReading;
constexpr const MarshalType *Thresholds = &kHpiSensorThresholds;
constexpr const MarshalType *CtrlState = &kHpiCtrlState;
constexpr const MarshalType *Rdr = &kHpiRdr;
constexpr const MarshalType *RptEntry = &kHpiRptEntry;
constexpr const MarshalType *Alarm = &kHpiAlarm;
constexpr const MarshalType *EventLogInfo = &kHpiEventLogInfo;
constexpr const MarshalType *EventLogEntry = &kHpiEventLogEntry;
constexpr const MarshalType *IdrInfo = &kHpiIdrInfo;
constexpr const MarshalType *IdrAreaHeader = &kHpiIdrAreaHeader;
constexpr const MarshalType *IdrField = &kHpiIdrField;
constexpr const MarshalType *SeverityList = &kKvnSeverityList;
constexpr const MarshalType *UnitsRecord = &kKvnMeasurementUnits;
constexpr const MarshalType *WebParamsRecord = &kKvnWebParameters;
constexpr const MarshalType *LoginRestrictionsRecord = &kKvnLoginRestrictions;
constexpr const MarshalType *SensorLogRecord = &kKvnSensorLogEntry;
constexpr const MarshalType *SensorInfoRecord = &kKvnSensorInfo;
constexpr const MarshalType *OutletInstrumentsRecord = &kKvnOutletInstruments;
constexpr const MarshalType *PairArray64 = &kKvnStartupSequence;
constexpr const MarshalType *U32Array16 = &kKvnAssertionDelays;

// Null-terminated type lists; each distinct list exists once.
template <const MarshalType *...Types>
constexpr const MarshalType *In[] = {Types..., nullptr};
// Reply lists: the SaErrorT first, then the values the row names.
template <const MarshalType *...Types>
constexpr const MarshalType *Out[] = {&kMarshalInt32, Types..., nullptr};
template <const MarshalType *...Types>
constexpr const MarshalType *OutUnsigned[] = {&kMarshalUint32, Types..., nullptr};

constexpr RpcMarshalEntry Rpc(uint32_t number, const char *function, const MarshalType *const *request,
                              const MarshalType *const *reply) {
  return {number, request, reply, function};
}

// RPC number, function, request values, reply values after the SaErrorT.
constexpr RpcMarshalEntry kRpcTable[] = {
    Rpc(1, "saHpiSessionOpen", In<U32>, Out<U32>),
    Rpc(2, "saHpiSessionClose", In<U32>, Out<>),
    Rpc(3, "saHpiDiscover", In<U32>, Out<>),
    Rpc(9, "saHpiResourceSeveritySet", In<U32, U32, U32>, Out<>),
    Rpc(10, "saHpiResourceTagSet", In<U32, U32, Text>, Out<>),
    Rpc(12, "saHpiGetIdByEntityPath", In<U32, EntityPath, U32, U32>, Out<U32, U32, U32, U32>),
    Rpc(15, "saHpiEventLogInfoGet", In<U32, U32>, Out<EventLogInfo>),
    Rpc(17, "saHpiEventLogEntryGet", In<U32, U32, U32>, Out<U32, U32, EventLogEntry, Rdr, RptEntry>),
    Rpc(19, "saHpiEventLogClear", In<U32, U32>, Out<>),
    Rpc(29, "saHpiAlarmGetNext", In<U32, U32, U8, Alarm>, Out<Alarm>),
    Rpc(31, "saHpiAlarmAcknowledge", In<U32, U32, U32>, Out<>),
    Rpc(33, "saHpiAlarmDelete", In<U32, U32, U32>, Out<>),
    Rpc(34, "saHpiRdrGet", In<U32, U32, U32>, Out<U32, Rdr>),
    Rpc(35, "saHpiRdrGetByInstrumentId", In<U32, U32, U32, U32>, Out<Rdr>),
    Rpc(36, "saHpiSensorReadingGet", In<U32, U32, U32>, Out<Reading, U16>),
    Rpc(37, "saHpiSensorThresholdsGet", In<U32, U32, U32>, Out<Thresholds>),
    Rpc(38, "saHpiSensorThresholdsSet", In<U32, U32, U32, Thresholds>, Out<>),
    Rpc(44, "saHpiSensorEventMasksGet", In<U32, U32, U32, U16, U16>, Out<U16, U16>),
    Rpc(45, "saHpiSensorEventMasksSet", In<U32, U32, U32, U32, U16, U16>, Out<>),
    Rpc(47, "saHpiControlGet", In<U32, U32, U32, CtrlState>, Out<U32, CtrlState>),
    Rpc(48, "saHpiControlSet", In<U32, U32, U32, U32, CtrlState>, Out<>),
    Rpc(49, "saHpiIdrInfoGet", In<U32, U32, U32>, Out<IdrInfo>),
    Rpc(50, "saHpiIdrAreaHeaderGet", In<U32, U32, U32, U32, U32>, Out<U32, IdrAreaHeader>),
    Rpc(54, "saHpiIdrFieldGet", In<U32, U32, U32, U32, U32, U32>, Out<U32, IdrField>),
    Rpc(116, "saHpiMyEntityPathGet", In<U32>, Out<EntityPath>),
    Rpc(129, "kvnHpiDebugLevel", In<U32>, Out<>),
    Rpc(130, nullptr, In<>, Out<>),  // no request values; the reply after the SaErrorT is not ours to read
    Rpc(138, "kvnHpiSensorStateSeverityGet", In<U32, U32, U32, U16>, Out<SeverityList>),
    Rpc(139, "kvnHpiSensorStateSeveritySet", In<U32, U32, U32, U16, SeverityList>, Out<>),
    Rpc(140, "kvnHpiSensorExtendedInfoGet", In<U32, U32, U32, U32>, Out<SensorInfoRecord, U32>),
    Rpc(141, "kvnHpiSensorResetEraseConfiguration", In<U32, U32, U32>, Out<>),
    Rpc(142, "kvnHpiSensorLogEnableGet", In<U32>, Out<U8>),
    Rpc(143, "kvnHpiSensorLogEnableSet", In<U32, U8>, Out<>),
    Rpc(144, "kvnHpiSensorLogAccumPeriodGet", In<U32>, Out<U32>),
    Rpc(145, "kvnHpiSensorLogAccumPeriodSet", In<U32, U32>, Out<>),
    Rpc(146, "kvnHpiSensorLogSizeGet", In<U32>, Out<U32>),
    Rpc(147, "kvnHpiSensorLogFirstLastGet", In<U32>, Out<U32, U32>),
    Rpc(148, "kvnHpiSensorLogTimestampGet", In<U32, U32>, Out<I64, U32>),
    Rpc(149, "kvnHpiSensorLogEntryGet", In<U32, U32, U32>, Out<SensorLogRecord>),
    Rpc(150, "kvnHpiEventFilterCreate", In<U32, Text, Text>, Out<>),
    Rpc(152, "kvnHpiEventFilterGetNext", In<U32, U32>, Out<U32, Text, Text>),
    Rpc(153, "kvnHpiEventFilterRemove", In<U32, Text>, Out<>),
    Rpc(155, "kvnHpiEventActionAdd", In<U32, Text, U32, U32, Text>, Out<U32>),
    Rpc(156, "kvnHpiEventActionGet", In<U32, Text, U32>, Out<U32, U32, U32, Text>),
    Rpc(157, "kvnHpiEventActionRemove", In<U32, Text, U32>, Out<>),
    Rpc(158, "kvnHpiEventActionSet", In<U32, Text, U32, U32, U32, Text>, Out<>),
    Rpc(159, "kvnServerReachabilityAdd", In<U32, Text, U32, U32, U32, U32, U32, U8>, Out<U32>),
    Rpc(160, "kvnServerReachabilitySet", In<U32, U32, Text, U32, U32, U32, U32, U32, U8>, Out<>),
    Rpc(161, "kvnServerReachabilityGetCount", In<U32>, Out<U32>),
    Rpc(162, "kvnServerReachabilityDelete", In<U32, U32>, Out<>),
    Rpc(164, "kvnServerReachabilityGet", In<U32, U32>, Out<Text, U32, U32, U32, U32, U32, U8, U8, U8>),
    Rpc(167, "kvnHpiSensorDescriptionGet", In<U32, U32>, Out<Text>),
    Rpc(168, "kvnHpiSensorDescriptionSet", In<U32, U32, Text>, Out<>),
    Rpc(169, "kvnHpiSensorUserTypeGet", In<U32, U32>, Out<Text, Text>),
    Rpc(170, "kvnHpiSensorUserTypeSet", In<U32, U32, Text, Text>, Out<>),
    Rpc(171, "kvnHpiSensorCoordinatesGet", In<U32, U32>, Out<Text, Text, Text>),
    Rpc(172, "kvnHpiSensorCoordinatesSet", In<U32, U32, Text, Text, Text>, Out<>),
    Rpc(173, "kvnHpiSensorAttach", In<U32, U32, U32, U32>, Out<>),
    Rpc(174, "kvnHpiSensorDetach", In<U32, U32>, Out<>),
    Rpc(175, "kvnHpiSensorAttachStateGet", In<U32, U32>, Out<U32, U32, U32, EntityPath>),
    Rpc(176, "kvnHpiSensorManage", In<U32, U32, U32, U8>, Out<U32>),
    Rpc(177, "kvnHpiSensorManagedNumberGet", In<U32, U32, U32>, Out<U32>),
    Rpc(178, "kvnHpiAdapterNameGet", In<U32, U32>, Out<Text>),
    Rpc(179, "kvnHpiMACAddressGet", In<U32, U32>, Out<Text>),
    Rpc(180, "kvnHpiInterfaceModeAndSpeedGet", In<U32, U32>, Out<U8, U8, I16>),
    Rpc(181, "kvnHpiInterfaceModeAndSpeedSet", In<U32, U32, U8, U8, I16>, Out<>),
    Rpc(182, "kvnHpiIPv4DHCPGet", In<U32, U32>, Out<U8>),
    Rpc(183, "kvnHpiIPv4AddressGet", In<U32, U32>, Out<Text>),
    Rpc(184, "kvnHpiIPv4DHCPAddressGatewaySet", In<U32, U32, U8, Text, Text>, Out<>),
    Rpc(185, "kvnHpiIPv4GatewayGet", In<U32, U32>, Out<Text>),
    Rpc(186, "kvnHpiIPv4DNSServersGet", In<U32>, Out<Text>),
    Rpc(187, "kvnHpiIPv4DNSServersSet", In<U32, Text>, Out<>),
    Rpc(189, "kvnHpiIPv6AddressesPrefixesGet", In<U32, U32>, Out<Text>),
    Rpc(190, "kvnHpiIPv6AddressesPrefixesGatewaySet", In<U32, U32, Text, Text>, Out<>),
    Rpc(191, "kvnHpiIPv6RouteGet", In<U32, U32, U32>, Out<Text, Text>),
    Rpc(192, "kvnHpiIPv6DNSServersGet", In<U32>, Out<Text>),
    Rpc(193, "kvnHpiIPv6DNSServersSet", In<U32, Text>, Out<>),
    Rpc(194, "kvnHpiDNSPreferenceGet", In<U32>, Out<U8>),
    Rpc(195, "kvnHpiDNSPreferenceSet", In<U32, U8>, Out<>),
    Rpc(196, "kvnHpiHTTPPortGet", In<U32>, Out<U16>),
    Rpc(197, "kvnHpiHTTPPortSet", In<U32, U16>, Out<>),
    Rpc(198, "kvnHpiHTTPSPortGet", In<U32>, Out<U16>),
    Rpc(199, "kvnHpiHTTPSPortSet", In<U32, U16>, Out<>),
    Rpc(200, "kvnHpiTelnetEnableAndPortGet", In<U32>, Out<U8, U16>),
    Rpc(201, "kvnHpiTelnetEnableAndPortSet", In<U32, U8, U16>, Out<>),
    Rpc(202, "kvnHpiSSHEnableAndPortGet", In<U32>, Out<U8, U16>),
    Rpc(203, "kvnHpiSSHEnableAndPortSet", In<U32, U8, U16>, Out<>),
    Rpc(204, "kvnHpiSSHAuthMethodGet", In<U32>, Out<U8>),
    Rpc(205, "kvnHpiSSHAuthMethodSet", In<U32, U8>, Out<>),
    Rpc(206, "kvnHpiSMTPOwnAddressGet", In<U32>, Out<Text>),
    Rpc(207, "kvnHpiSMTPOwnAddressSet", In<U32, Text>, Out<>),
    Rpc(208, "kvnHpiSMTPServerGet", In<U32>, Out<Text>),
    Rpc(209, "kvnHpiSMTPServerSet", In<U32, Text>, Out<>),
    Rpc(210, "kvnHpiSMTPDefaultRecipientsGet", In<U32>, Out<Text>),
    Rpc(211, "kvnHpiSMTPDefaultRecipientsSet", In<U32, Text>, Out<>),
    Rpc(212, "kvnHpiSNMPEnablesGet", In<U32>, Out<U8, U8>),
    Rpc(213, "kvnHpiSNMPEnablesSet", In<U32, U8, U8>, Out<>),
    Rpc(214, "kvnHpiSNMPReadCommunityGet", In<U32>, Out<Text>),
    Rpc(215, "kvnHpiSNMPReadCommunitySet", In<U32, Text>, Out<>),
    Rpc(216, "kvnHpiSNMPWriteCommunityGet", In<U32>, Out<Text>),
    Rpc(217, "kvnHpiSNMPWriteCommunitySet", In<U32, Text>, Out<>),
    Rpc(218, "kvnHpiSNMPSysNameGet", In<U32>, Out<Text>),
    Rpc(219, "kvnHpiSNMPSysNameSet", In<U32, Text>, Out<>),
    Rpc(220, "kvnHpiSNMPSysContactGet", In<U32>, Out<Text>),
    Rpc(221, "kvnHpiSNMPSysContactSet", In<U32, Text>, Out<>),
    Rpc(222, "kvnHpiSNMPSysLocationGet", In<U32>, Out<Text>),
    Rpc(223, "kvnHpiSNMPSysLocationSet", In<U32, Text>, Out<>),
    Rpc(224, "kvnHpiSNMPTrapDestinationGet", In<U32>, Out<Text>),
    Rpc(225, "kvnHpiSNMPTrapDestinationSet", In<U32, Text>, Out<>),
    Rpc(226, "kvnHpiSNMPTrapV2EnableGet", In<U32>, Out<U8>),
    Rpc(227, "kvnHpiSNMPTrapV2EnableSet", In<U32, U8>, Out<>),
    Rpc(228, "kvnHpiNTPEnableGet", In<U32>, Out<U8>),
    Rpc(229, "kvnHpiNTPEnableSet", In<U32, U8>, Out<>),
    Rpc(230, "kvnHpiNTPFromDHCPEnableGet", In<U32>, Out<U8>),
    Rpc(231, "kvnHpiNTPFromDHCPEnableSet", In<U32, U8>, Out<>),
    Rpc(232, "kvnHpiNTPServersGet", In<U32>, Out<Text, Text>),
    Rpc(233, "kvnHpiNTPServersSet", In<U32, Text, Text, U8>, Out<>),
    Rpc(234, "kvnHpiGroupCreate", In<U32, Text>, Out<>),
    Rpc(235, "kvnHpiGroupDelete", In<U32, Text>, Out<>),
    Rpc(236, "kvnHpiGroupGetNext", In<U32, U32>, Out<U32, Text>),
    Rpc(237, "kvnHpiGroupSensorAdd", In<U32, Text, U32, U32>, Out<>),
    Rpc(238, "kvnHpiGroupSensorDelete", In<U32, Text, U32, U32>, Out<>),
    Rpc(240, "kvnHpiGroupControlAdd", In<U32, Text, U32, U32, U32>, Out<>),
    Rpc(241, "kvnHpiGroupControlDelete", In<U32, Text, U32, U32>, Out<>),
    Rpc(243, "kvnHpiGroupSensorGet", In<U32, Text, U32>, Out<U32, U32, U32>),
    Rpc(244, "kvnHpiGroupControlGet", In<U32, Text, U32>, Out<U32, U32, U32, U32>),
    Rpc(248, "kvnHpiGroupControlStateAssignAsynchronous", In<U32, Text, U32, CtrlState>, Out<>),
    Rpc(249, "kvnHpiGroupControlCancelAsynchronous", In<U32, Text>, Out<>),
    Rpc(250, "kvnHpiGroupControlGetProgressAsynchronous", In<U32, Text>, Out<U32, U32, I32>),
    Rpc(251, "kvnHpiGroupSensorReadingAggregateGet", In<U32, Text, U32>, Out<Reading, U16>),
    Rpc(252, "kvnHpiCurrentPrivilegeMaskGet", In<U32>, Out<U64, U64>),
    Rpc(253, "kvnHpiCurrentUserMeasurementUnitsGet", In<U32>, Out<UnitsRecord>),
    Rpc(254, "kvnHpiCurrentUserMeasurementUnitsSet", In<U32, UnitsRecord>, Out<>),
    Rpc(255, "kvnHpiUserMeasurementUnitsGet", In<U32, Text>, Out<UnitsRecord>),
    Rpc(256, "kvnHpiUserMeasurementUnitsSet", In<U32, Text, UnitsRecord>, Out<>),
    Rpc(257, "kvnHpiGlobalMeasurementUnitsGet", In<U32>, Out<UnitsRecord>),
    Rpc(258, "kvnHpiGlobalMeasurementUnitsSet", In<U32, UnitsRecord>, Out<>),
    Rpc(259, "kvnHpiCurrentUserWebParametersGet", In<U32>, Out<WebParamsRecord>),
    Rpc(260, "kvnHpiCurrentUserWebParametersSet", In<U32, WebParamsRecord>, Out<>),
    Rpc(261, "kvnHpiUserWebParametersGet", In<U32, Text>, Out<WebParamsRecord>),
    Rpc(262, "kvnHpiUserWebParametersSet", In<U32, Text, WebParamsRecord>, Out<>),
    Rpc(263, "kvnHpiGlobalWebParametersGet", In<U32>, Out<WebParamsRecord>),
    Rpc(264, "kvnHpiGlobalWebParametersSet", In<U32, WebParamsRecord>, Out<>),
    Rpc(265, "kvnHpiCurrentLanguageGet", In<U32>, Out<U32>),
    Rpc(266, "kvnHpiCurrentLanguageSet", In<U32, U32>, Out<>),
    Rpc(267, "kvnHpiCurrentLCDUIFlagsGet", In<U32>, Out<U32>),
    Rpc(268, "kvnHpiCurrentLCDUIFlagsSet", In<U32, U32>, Out<>),
    Rpc(269, "kvnHpiUserInfoGetByIndex", In<U32, U32>, Out<U32, Text, Text, Text, Text, U8, U8>),
    Rpc(270, "kvnHpiUserInfoGetByName", In<U32, Text>, Out<Text, Text, Text, U8, U8, U32>),
    Rpc(271, "kvnHpiUserCreate", In<U32, Text, Text, U8, Text, Text, Text, U8, Text, Text, U8>, Out<U32>),
    Rpc(272, "kvnHpiUserDelete", In<U32, Text, U8>, Out<>),
    Rpc(273, "kvnHpiUserInfoSet", In<U32, Text, Text, Text, Text, U8>, Out<>),
    Rpc(277, "kvnHpiUserEnabledSet", In<U32, Text, U8>, Out<>),
    Rpc(278, "kvnHpiChangePasswordUser", In<U32, Text, Text, U8>, Out<>),
    Rpc(279, "kvnHpiUserRolesGet", In<U32, Text>, Out<Text, Text>),
    Rpc(280, "kvnHpiUserRolesSet", In<U32, Text, Text, Text>, Out<>),
    Rpc(281, "kvnHpiUserPrivilegesGet", In<U32, Text>, Out<U64, U64>),
    Rpc(282, "kvnHpiRoleInfoGetByIndex", In<U32, U32>, Out<U32, Text, Text, U64, U64>),
    Rpc(284, "kvnHpiRoleCreate", In<U32, Text, Text, U64, U64>, Out<U32>),
    Rpc(285, "kvnHpiRoleDelete", In<U32, Text>, Out<>),
    Rpc(286, "kvnHpiRoleDescriptionSet", In<U32, Text, Text>, Out<>),
    Rpc(287, "kvnHpiRolePrivilegesSet", In<U32, Text, U64, U64>, Out<>),
    Rpc(290, "kvnHpiLDAPConfigurationEnable",
        In<U32, Text, U32, U8, U32, Text, U8, Text, Text, Text, Text, Text, Text, Text>, Out<>),
    Rpc(291, "kvnHpiLDAPConfigurationDisable", In<U32>, Out<>),
    Rpc(292, "kvnHpiLDAPConfigurationGet", In<U32>,
        Out<U8, Text, U32, U8, U32, Text, U8, Text, Text, Text, Text, Text, Text, Text>),
    Rpc(293, "kvnHpiFirewallEnableGet", In<U32, U8>, Out<U8>),
    Rpc(294, "kvnHpiFirewallEnableSet", In<U32, U8, U8>, Out<>),
    Rpc(295, "kvnHpiFirewallDefaultPolicyGet", In<U32, U8>, Out<U32>),
    Rpc(296, "kvnHpiFirewallDefaultPolicySet", In<U32, U8, U32>, Out<>),
    Rpc(297, "kvnHpiFirewallRuleGet", In<U32, U8, U32>, Out<Text, U32>),
    Rpc(298, "kvnHpiFirewallRuleAdd", In<U32, U8, Text, U32>, Out<>),
    Rpc(301, "kvnHpiFirewallRuleDelete", In<U32, U8, U32>, Out<>),
    Rpc(302, "kvnHpiEnforceHTTPSGet", In<U32>, Out<U8>),
    Rpc(303, "kvnHpiEnforceHTTPSSet", In<U32, U8>, Out<>),
    Rpc(304, "kvnHpiLoginRestrictionsGet", In<U32>, Out<LoginRestrictionsRecord>),
    Rpc(305, "kvnHpiLoginRestrictionsSet", In<U32, LoginRestrictionsRecord>, Out<>),
    Rpc(306, "kvnHpiRoleBasedFirewallEnableGet", In<U32, U8>, Out<U8>),
    Rpc(307, "kvnHpiRoleBasedFirewallEnableSet", In<U32, U8, U8>, Out<>),
    Rpc(308, "kvnHpiRoleBasedFirewallDefaultPolicyGet", In<U32, U8>, Out<U32>),
    Rpc(309, "kvnHpiRoleBasedFirewallDefaultPolicySet", In<U32, U8, U32>, Out<>),
    Rpc(310, "kvnHpiRoleBasedFirewallRuleGet", In<U32, U8, U32>, Out<Text, Text, Text, U32>),
    Rpc(311, "kvnHpiRoleBasedFirewallRuleAdd", In<U32, U8, Text, Text, Text, U32>, Out<>),
    Rpc(314, "kvnHpiRoleBasedFirewallRuleDelete", In<U32, U8, U32>, Out<>),
    Rpc(315, "kvnHpiLoginAddressCheck", In<U32, U8, Text, Text>, Out<>),
    Rpc(316, "kvnHpiGetDeviceName", In<U32>, Out<Text>),
    Rpc(318, "kvnHpiGetDeviceModel", In<U32>, Out<Text>),
    Rpc(319, "kvnHpiGetHardwareVersion", In<U32>, Out<Text>),
    Rpc(320, "kvnHpiGetFirmwareVersion", In<U32>, Out<Text>),
    Rpc(321, "kvnHpiGetSerialNumber", In<U32>, Out<Text>),
    Rpc(322, "kvnHpiGetUTCOffset", In<U32>, Out<Text>),
    Rpc(323, "kvnHpiFindOutletInstruments", In<U32, U32>, Out<OutletInstrumentsRecord>),
    Rpc(327, "kvnHpiIpduCountsGet", In<U32>, Out<U32, U32, U32, U32, U32, U32>),
    Rpc(330, "kvnHpiOutletUserNameGet", In<U32, U32>, Out<Text>),
    Rpc(331, "kvnHpiOutletUserNameSet", In<U32, U32, Text, U8>, Out<>),
    Rpc(332, "kvnHpiOutletTypeGet", In<U32, U32>, Out<U32>),
    Rpc(333, "kvnHpiOutletStartupSequenceGet", In<U32, U32>, Out<U32, PairArray64>),
    Rpc(334, "kvnHpiOutletStartupSequenceSet", In<U32, U32, PairArray64>, Out<>),
    Rpc(335, "kvnHpiOutletInitialStateGet", In<U32, U32>, Out<U32>),
    Rpc(336, "kvnHpiOutletInitialStateSet", In<U32, U32, U32>, Out<>),
    Rpc(337, "kvnHpiOutletDefaultInitialStateGet", In<U32>, Out<U32>),
    Rpc(339, "kvnHpiUserSNMPv3AttributesGet", In<U32, Text>, Out<U8, U8, U32, U32>),
    Rpc(340, "kvnHpiUserSNMPv3AttributesSet", In<U32, Text, U8, U8, U32, U32, U8, Text, Text>, Out<>),
    Rpc(341, "kvnHpiUserSNMPv3EnableChange", In<U32, Text, U8>, Out<>),
    Rpc(343, "kvnHpiUserSSHPublicKeySet", In<U32, Text, Text>, Out<>),
    Rpc(345, "saHpiRestart", In<U32>, Out<>),
    Rpc(346, "saHpiReset", In<U32>, Out<>),
    Rpc(347, "kvnHpiInstrumentNameSet", In<U32, U32, U32, U32, Text>, Out<>),
    Rpc(352, "kvnHpiHostNameGet", In<U32>, Out<Text>),
    Rpc(353, "kvnHpiHostNameSet", In<U32, Text>, Out<>),
    Rpc(357, "kvnHpiDomainSearchPathGet", In<U32>, Out<Text>),
    Rpc(358, "kvnHpiDomainSearchPathSet", In<U32, Text>, Out<>),
    Rpc(359, "kvnHpiForcedConfigWriteStart", In<U32, I32>, Out<I32>),
    Rpc(360, "kvnHpiForcedConfigWriteCompleted", In<U32, I32>, Out<U8>),
    Rpc(361, "kvnHpiDateTimeGet", In<U32>, Out<Text, Text, Text>),
    Rpc(362, "kvnHpiDateTimeSet", In<U32, Text, Text>, Out<>),
    Rpc(363, "kvnHpiTransientAlarmSeverityGet", In<U32>, Out<U32>),
    Rpc(364, "kvnHpiTransientAlarmSeveritySet", In<U32, U32>, Out<>),
    Rpc(365, "kvnHpiExternalSensorZCoordGet", In<U32>, Out<U32>),
    Rpc(366, "kvnHpiExternalSensorZCoordSet", In<U32, U32>, Out<>),
    Rpc(367, "kvnHpiIsUserLocked", In<U32, Text>, Out<U8>),
    Rpc(369, "kvnHpiGroupSensorThresholdsSet", In<U32, Text, Thresholds>, Out<>),
    Rpc(370, "kvnHpiIpduNominalVoltageFrequencyGet", In<U32>, Out<U32, U32, U32, U32>),
    Rpc(371, "kvnHpiIpduNominalVoltageFrequencySet", In<U32, U32, U32>, Out<>),
    Rpc(372, "kvnHpiUserPasswordExpirationParametersGet", In<U32, Text>, Out<I32, U8>),
    Rpc(373, "saHpiReboot", In<U32>, Out<>),
    Rpc(374, "kvnHpiIPv4DHCPRejectedServersGet", In<U32>, Out<Text>),
    Rpc(375, "kvnHpiIPv4DHCPRejectedServersSet", In<U32, Text>, Out<>),
    Rpc(376, "kvnHpiIPv6DHCPRejectedServersGet", In<U32>, Out<Text>),
    Rpc(377, "kvnHpiIPv6DHCPRejectedServersSet", In<U32, Text>, Out<>),
    Rpc(380, nullptr, In<U32>, OutUnsigned<>),  // the session only; SaErrorT read as Uint32
    Rpc(381, nullptr, In<U32>, OutUnsigned<>),  // the session only; SaErrorT read as Uint32
    Rpc(386, "kvnHpiPopulateAwsConfigs", In<U32, Text, Text, Text>, Out<U8, Text>),
    Rpc(401, "kvnHpiIPv6AutoDHCPGet", In<U32, U32>, Out<U8, U8>),
    Rpc(402, "kvnHpiIPv6AutoDHCPSet", In<U32, U32, U8>, Out<>),
    Rpc(403, "saHpiGenerateUserEvent", In<U32, U32, U32, Text>, Out<>),
    Rpc(404, "kvnHpiPeriodicExpressionCreate", In<U32, Text, Text, U32>, Out<>),
    Rpc(405, "kvnHpiEventFilterGetNext2", In<U32, U32>, Out<U32, Text, Text, U32>),
    Rpc(406, "kvnHpiDiscoverAt", In<U32, Text, Text>, Out<>),
    Rpc(407, "kvnHpiCertificateInstall", In<U32, Text>, Out<>),
    Rpc(408, "kvnModbusSerialAttributesSet", In<U32, U32, Text>, Out<>),
    Rpc(409, "kvnModbusSerialAttributesGet", In<U32, U32>, Out<Text>),
    Rpc(412, "kvnHpiSensorUserTypeInfoGet", In<U32, U32>, Out<Text, U32, Text, Text, SeverityList, U32>),
    Rpc(414, "kvnHpiSensorUserTypeAdd", In<U32, Text, Text, Text, U16, SeverityList>, Out<U32>),
    Rpc(415, "kvnHpiSensorUserTypeDelete", In<U32, U32>, Out<>),
    Rpc(417, "kvnHpiSensorUserTypeUpdate", In<U32, U32, Text, Text, U16, SeverityList>, Out<>),
    Rpc(419, "kvnHpiSensorTypeSetByName", In<U32, U32, U32, Text>, Out<>),
    Rpc(420, nullptr, In<>, Out<>),  // no request values
    Rpc(422, "saHpiRdrListGet", In<U32, U32, U32, Text>, Out<>),
    Rpc(423, "kvnHpiCurrentUserLanguageGet", In<U32>, Out<U32>),
    Rpc(424, "kvnHpiCurrentUserLanguageSet", In<U32, U32>, Out<>),
    Rpc(425, "kvnHpiUserLanguageGet", In<U32, Text>, Out<U32>),
    Rpc(426, "kvnHpiUserLanguageSet", In<U32, Text, U32>, Out<>),
    Rpc(427, "kvnHpiSensorStatusGet", In<U32, U32, U32, U8, U16>, Out<Reading, U16, Thresholds, SeverityList>),
    Rpc(429, "kvnHpiBACnetEnableAndDeviceIdGet", In<U32>, Out<U8, U32>),
    Rpc(430, "kvnHpiBACnetEnableAndDeviceIdSet", In<U32, U8, U32>, Out<>),
    Rpc(431, "kvnHpiInstrumentNameSetDefault", In<U32, U32, U32, U32>, Out<Text>),
    Rpc(432, "kvnHpiControlStateTextGet", In<U32, U32, U32>, Out<U32, Text, Text>),
    Rpc(433, "kvnHpiPersistentResourcesGet", In<U32, U32>, Out<U32, U32, Text>),
    Rpc(434, "kvnHpiPersistentResourceDelete", In<U32, U32>, Out<>),
    Rpc(437, "kvnHpiNamedActionListCreate", In<U32, Text>, Out<>),
    Rpc(438, "kvnHpiNamedActionListRemove", In<U32, Text>, Out<>),
    Rpc(439, "kvnHpiNamedActionListGetNext", In<U32, U32>, Out<U32, Text>),
    Rpc(440, "kvnHpiEventActionListNameGet", In<U32, Text>, Out<Text>),
    Rpc(441, "kvnHpiEventActionListSetNamed", In<U32, Text, Text>, Out<>),
    Rpc(442, "kvnHpiEventActionListSetAnonymous", In<U32, Text>, Out<>),
    Rpc(443, "kvnHpiNamedActionListActionAdd", In<U32, Text, U32, U32, Text>, Out<U32>),
    Rpc(444, "kvnHpiNamedActionListActionGet", In<U32, Text, U32>, Out<U32, U32, U32, Text>),
    Rpc(445, "kvnHpiNamedActionListActionRemove", In<U32, Text, U32>, Out<>),
    Rpc(446, "kvnHpiNamedActionListActionSet", In<U32, Text, U32, U32, U32, Text>, Out<>),
    Rpc(447, "kvnHpiGetProductName", In<U32>, Out<Text>),
    Rpc(449, "kvnHpiVerifyExpressionForSensor", In<U32, Text, U32, U32>, Out<U8>),
    Rpc(450, "kvnHpiVerifyFilterForSensor", In<U32, Text, U32, U32>, Out<U8>),
    Rpc(451, "kvnHpiResourceRemove", In<U32, U32>, Out<>),
    Rpc(452, "kvnHpiEventActionListConvertToNamed", In<U32, Text, Text>, Out<>),
    Rpc(453, "kvnHpiAssetTagGet", In<U32>, Out<Text>),
    Rpc(454, "kvnHpiAssetTagSet", In<U32, Text>, Out<>),
    Rpc(455, "kvnHpiLocationGet", In<U32>, Out<Text>),
    Rpc(456, "kvnHpiLocationSet", In<U32, Text>, Out<>),
    Rpc(457, "kvnHpiRedFishEnableGet", In<U32>, Out<U8, U16>),
    Rpc(458, "kvnHpiRedFishEnableSet", In<U32, U8, U16>, Out<>),
    Rpc(459, "kvnHpiPopulateAzureConfigs", In<U32, Text, Text, Text>, Out<U8, Text>),
    Rpc(460, "kvnHpiIotIsConnected", In<U32>, Out<U8, Text, Text, I32>),
    Rpc(461, "kvnHpiIotUseWebSocketsGet", In<U32>, Out<U8>),
    Rpc(462, "kvnHpiIotUseWebSocketsSet", In<U32, U8>, Out<>),
    Rpc(466, "kvnHpiW1PollIntervalGet", In<U32>, Out<U32>),
    Rpc(467, "kvnHpiW1PollIntervalSet", In<U32, U32>, Out<>),
    Rpc(468, "kvnHpiSensorAssertionDelayGet", In<U32, U32, U32>, Out<U32Array16>),
    Rpc(469, "kvnHpiSensorAssertionDelaySet", In<U32, U32, U32, U16, U32Array16>, Out<>),
    Rpc(470, "kvnHpiLuaConfigurationGet", In<U32>, Out<U8, U32>),
    Rpc(471, "kvnHpiLuaConfigurationSet", In<U32, U8, U32>, Out<>),
    Rpc(472, "kvnHpiSupportedDriverListGet", In<U32, Text, U32>, Out<U32, Text>),
    Rpc(473, "kvnHpiUnconfigureIot", In<U32, Text>, Out<>),
    Rpc(474, "kvnHpiLuaVerifyScript", In<U32, Text>, Out<Text, U8>),
    Rpc(475, "kvnHpiInstrumentDescriptionSet", In<U32, U32, U32, U32, Text>, Out<>),
    Rpc(476, "kvnHpiInstrumentDescriptionGet", In<U32, U32, U32, U32>, Out<Text>),
    Rpc(477, "kvnHpiResourceDescriptionSet", In<U32, U32, Text>, Out<>),
    Rpc(478, "kvnHpiResourceDescriptionGet", In<U32, U32>, Out<Text>),
    Rpc(479, "kvnHpiDeviceDescriptionSet", In<U32, Text>, Out<>),
    Rpc(480, "kvnHpiDeviceDescriptionGet", In<U32>, Out<Text>),
    Rpc(484, "kvnHpiPopulateAwsGreengrassConfigs", In<U32, Text, Text, Text, Text>, Out<U8, Text>),
};

constexpr uint32_t kHighestRpc = 495;

// Position + 1 of each number's entry, 0 for none: one look-up per call.
constexpr auto kRpcIndex = [] {
  std::array<uint16_t, kHighestRpc + 1> index{};
  for (size_t i = 0; i < std::size(kRpcTable); ++i) index[kRpcTable[i].rpc_number] = static_cast<uint16_t>(i + 1);
  return index;
}();

constexpr bool RowsAscendWithinRange() {
  uint32_t previous = 0;
  for (const RpcMarshalEntry &entry : kRpcTable) {
    if (entry.rpc_number <= previous || entry.rpc_number > kHighestRpc) return false;
    previous = entry.rpc_number;
  }
  return true;
}
static_assert(RowsAscendWithinRange(), "rows out of order, repeated or outside 1..495");

}  // namespace

const RpcMarshalEntry *FindRpcMarshal(uint32_t rpc_number) {
  if (rpc_number > kHighestRpc || kRpcIndex[rpc_number] == 0) return nullptr;
  return &kRpcTable[kRpcIndex[rpc_number] - 1];
}
