// Client functions: one per RPC of the controller daemon. Each checks its
// arguments, sends one request through HpiRpcCall and returns the SaErrorT of
// the call. Arguments that fail a check give SA_ERR_HPI_INVALID_PARAMS (or
// SA_ERR_HPI_INVALID_DATA where noted) and nothing is sent. Outputs are written
// only when the result is SA_OK; the caller's inputs are never changed.
//
// The saHpi functions have the standard's signatures. The extension functions
// take the session, their request values in the daemon's order, then pointers
// to their results in the daemon's order; a null text, record or output
// pointer is SA_ERR_HPI_INVALID_PARAMS. Severity lists received from the
// daemon are allocated here and released by the caller with free().
#pragma once

#include "client/hpi_types.h"
#include "client/kvn_types.h"

// Sessions and discovery.
// DomainId SAHPI_UNSPECIFIED_DOMAIN_ID opens a session on the default domain;
// SecurityParams must be null.
SaErrorT saHpiSessionOpen(SaHpiDomainIdT DomainId, SaHpiSessionIdT *SessionId, void *SecurityParams);
SaErrorT saHpiSessionClose(SaHpiSessionIdT SessionId);
SaErrorT saHpiDiscover(SaHpiSessionIdT SessionId);
SaErrorT saHpiMyEntityPathGet(SaHpiSessionIdT SessionId, SaHpiEntityPathT *EntityPath);
SaErrorT saHpiGetIdByEntityPath(SaHpiSessionIdT SessionId, SaHpiEntityPathT EntityPath, SaHpiRdrTypeT InstrumentType,
                                SaHpiUint32T *InstanceId, SaHpiResourceIdT *ResourceId,
                                SaHpiInstrumentIdT *InstrumentId, SaHpiUint32T *RptUpdateCount);

// Resources and their records.
SaErrorT saHpiResourceSeveritySet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSeverityT Severity);
SaErrorT saHpiResourceTagSet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId,
                             const SaHpiTextBufferT *ResourceTag);
SaErrorT saHpiRdrGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiEntryIdT EntryId,
                     SaHpiEntryIdT *NextEntryId, SaHpiRdrT *Rdr);
SaErrorT saHpiRdrGetByInstrumentId(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiRdrTypeT RdrType,
                                   SaHpiInstrumentIdT InstrumentId, SaHpiRdrT *Rdr);
// Vendor addition: the daemon writes the records of ResourceId (all bits set:
// every resource) of RdrType (0: every type) into the file FileName.
SaErrorT saHpiRdrListGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiRdrTypeT RdrType,
                         const SaHpiTextBufferT *FileName);

// Event log and alarms.
SaErrorT saHpiEventLogInfoGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiEventLogInfoT *Info);
// Rdr and RptEntry may be null.
SaErrorT saHpiEventLogEntryGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiEventLogEntryIdT EntryId,
                               SaHpiEventLogEntryIdT *PrevEntryId, SaHpiEventLogEntryIdT *NextEntryId,
                               SaHpiEventLogEntryT *EventLogEntry, SaHpiRdrT *Rdr, SaHpiRptEntryT *RptEntry);
SaErrorT saHpiEventLogClear(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId);
// Continues after *Alarm; an AlarmId of SAHPI_LAST_ENTRY is SA_ERR_HPI_NOT_PRESENT.
SaErrorT saHpiAlarmGetNext(SaHpiSessionIdT SessionId, SaHpiSeverityT Severity, SaHpiBoolT UnacknowledgedOnly,
                           SaHpiAlarmT *Alarm);
// AlarmId SAHPI_ENTRY_UNSPECIFIED acts on every alarm of Severity.
SaErrorT saHpiAlarmAcknowledge(SaHpiSessionIdT SessionId, SaHpiAlarmIdT AlarmId, SaHpiSeverityT Severity);
SaErrorT saHpiAlarmDelete(SaHpiSessionIdT SessionId, SaHpiAlarmIdT AlarmId, SaHpiSeverityT Severity);
// Vendor addition: a user event with the daemon's event code and level.
SaErrorT saHpiGenerateUserEvent(SaHpiSessionIdT SessionId, SaHpiUint32T EventCode, SaHpiUint32T Level,
                                const SaHpiTextBufferT *Text);

// Sensors. Reading and EventState may be null, as may both masks.
SaErrorT saHpiSensorReadingGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum,
                               SaHpiSensorReadingT *Reading, SaHpiEventStateT *EventState);
SaErrorT saHpiSensorThresholdsGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum,
                                  SaHpiSensorThresholdsT *Thresholds);
// Unsupported readings are sent empty; a supported reading of an unknown
// Type is SA_ERR_HPI_INVALID_DATA.
SaErrorT saHpiSensorThresholdsSet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum,
                                  const SaHpiSensorThresholdsT *Thresholds);
SaErrorT saHpiSensorEventMasksGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum,
                                  SaHpiEventStateT *AssertEventMask, SaHpiEventStateT *DeassertEventMask);
SaErrorT saHpiSensorEventMasksSet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum,
                                  SaHpiSensorEventMaskActionT Action, SaHpiEventStateT AssertEventMask,
                                  SaHpiEventStateT DeassertEventMask);

// Controls.
// A *CtrlState whose Type is known is sent along (a TEXT state selects the
// line to read); otherwise all lines of a TEXT control are asked for. Either
// output may be null.
SaErrorT saHpiControlGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiCtrlNumT CtrlNum,
                         SaHpiCtrlModeT *CtrlMode, SaHpiCtrlStateT *CtrlState);
// In AUTO mode the state is not used and an all-zero one is sent; MANUAL
// needs a state of a known Type (else SA_ERR_HPI_INVALID_DATA).
SaErrorT saHpiControlSet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiCtrlNumT CtrlNum,
                         SaHpiCtrlModeT CtrlMode, const SaHpiCtrlStateT *CtrlState);

// Inventory data repositories.
SaErrorT saHpiIdrInfoGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiIdrIdT IdrId,
                         SaHpiIdrInfoT *IdrInfo);
SaErrorT saHpiIdrAreaHeaderGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiIdrIdT IdrId,
                               SaHpiIdrAreaTypeT AreaType, SaHpiEntryIdT AreaId, SaHpiEntryIdT *NextAreaId,
                               SaHpiIdrAreaHeaderT *Header);
SaErrorT saHpiIdrFieldGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiIdrIdT IdrId,
                          SaHpiEntryIdT AreaId, SaHpiIdrFieldTypeT FieldType, SaHpiEntryIdT FieldId,
                          SaHpiEntryIdT *NextFieldId, SaHpiIdrFieldT *Field);

// Vendor additions: restart, reset and reboot the controller.
SaErrorT saHpiRestart(SaHpiSessionIdT SessionId);
SaErrorT saHpiReset(SaHpiSessionIdT SessionId);
SaErrorT saHpiReboot(SaHpiSessionIdT SessionId);

// Sets the daemon's debug level (0xFFFF only reads it). No session; the
// result is the current level, not an SaErrorT.
SaErrorT kvnHpiDebugLevel(SaHpiUint32T Level);

// Sensors: state severities, extended information, managed sensors, log, user types.
SaErrorT kvnHpiSensorStateSeverityGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum,
                                      SaHpiEventStateT StateMask, KvnSeverityListT *Severities);
SaErrorT kvnHpiSensorStateSeveritySet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum,
                                      SaHpiEventStateT StateMask, const KvnSeverityListT *Severities);
SaErrorT kvnHpiSensorExtendedInfoGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum,
                                     SaHpiUint32T Unnamed32, KvnSensorInfoT *Info, SaHpiUint32T *UnnamedResult32);
SaErrorT kvnHpiSensorResetEraseConfiguration(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId,
                                             SaHpiSensorNumT SensorNum);
SaErrorT kvnHpiSensorLogEnableGet(SaHpiSessionIdT SessionId, SaHpiBoolT *Enabled);
SaErrorT kvnHpiSensorLogEnableSet(SaHpiSessionIdT SessionId, SaHpiBoolT Enabled);
SaErrorT kvnHpiSensorLogAccumPeriodGet(SaHpiSessionIdT SessionId, SaHpiUint32T *AccumulationPeriod);
SaErrorT kvnHpiSensorLogAccumPeriodSet(SaHpiSessionIdT SessionId, SaHpiUint32T AccumulationPeriod);
SaErrorT kvnHpiSensorLogSizeGet(SaHpiSessionIdT SessionId, SaHpiUint32T *Size);
SaErrorT kvnHpiSensorLogFirstLastGet(SaHpiSessionIdT SessionId, SaHpiUint32T *FirstIndex, SaHpiUint32T *LastIndex);
SaErrorT kvnHpiSensorLogTimestampGet(SaHpiSessionIdT SessionId, SaHpiUint32T Index, SaHpiTimeT *Timestamp,
                                     SaHpiUint32T *NextIndex);
SaErrorT kvnHpiSensorLogEntryGet(SaHpiSessionIdT SessionId, SaHpiUint32T Index, SaHpiUint32T ManagedNum,
                                 KvnSensorLogEntryT *Entry);
SaErrorT kvnHpiSensorDescriptionGet(SaHpiSessionIdT SessionId, SaHpiUint32T ManagedNum, SaHpiTextBufferT *Description);
SaErrorT kvnHpiSensorDescriptionSet(SaHpiSessionIdT SessionId, SaHpiUint32T ManagedNum,
                                    const SaHpiTextBufferT *Description);
SaErrorT kvnHpiSensorUserTypeGet(SaHpiSessionIdT SessionId, SaHpiUint32T ManagedNum, SaHpiTextBufferT *Type,
                                 SaHpiTextBufferT *Subtype);
SaErrorT kvnHpiSensorUserTypeSet(SaHpiSessionIdT SessionId, SaHpiUint32T ManagedNum, const SaHpiTextBufferT *Type,
                                 const SaHpiTextBufferT *Subtype);
SaErrorT kvnHpiSensorCoordinatesGet(SaHpiSessionIdT SessionId, SaHpiUint32T ManagedNum, SaHpiTextBufferT *X,
                                    SaHpiTextBufferT *Y, SaHpiTextBufferT *Z);
SaErrorT kvnHpiSensorCoordinatesSet(SaHpiSessionIdT SessionId, SaHpiUint32T ManagedNum, const SaHpiTextBufferT *X,
                                    const SaHpiTextBufferT *Y, const SaHpiTextBufferT *Z);
SaErrorT kvnHpiSensorAttach(SaHpiSessionIdT SessionId, SaHpiUint32T ManagedNum, SaHpiResourceIdT ResourceId,
                            SaHpiSensorNumT SensorNum);
SaErrorT kvnHpiSensorDetach(SaHpiSessionIdT SessionId, SaHpiUint32T ManagedNum);
SaErrorT kvnHpiSensorAttachStateGet(SaHpiSessionIdT SessionId, SaHpiUint32T ManagedNum, SaHpiUint32T *AttachState,
                                    SaHpiResourceIdT *ResourceId, SaHpiSensorNumT *SensorNum,
                                    SaHpiEntityPathT *EntityPath);
SaErrorT kvnHpiSensorManage(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum,
                            SaHpiBoolT Automatic, SaHpiUint32T *ManagedNum);
SaErrorT kvnHpiSensorManagedNumberGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum,
                                      SaHpiUint32T *ManagedNum);
SaErrorT kvnHpiSensorUserTypeInfoGet(SaHpiSessionIdT SessionId, SaHpiEntryIdT EntryId, SaHpiTextBufferT *Name,
                                     SaHpiUint32T *TypeId, SaHpiTextBufferT *StateNames1, SaHpiTextBufferT *StateNames2,
                                     KvnSeverityListT *Severities, SaHpiEntryIdT *NextEntryId);
SaErrorT kvnHpiSensorUserTypeAdd(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Name,
                                 const SaHpiTextBufferT *StateNames1, const SaHpiTextBufferT *StateNames2,
                                 SaHpiEventStateT StateMask, const KvnSeverityListT *Severities, SaHpiUint32T *TypeId);
SaErrorT kvnHpiSensorUserTypeDelete(SaHpiSessionIdT SessionId, SaHpiUint32T TypeId);
SaErrorT kvnHpiSensorUserTypeUpdate(SaHpiSessionIdT SessionId, SaHpiUint32T TypeId, const SaHpiTextBufferT *StateNames1,
                                    const SaHpiTextBufferT *StateNames2, SaHpiEventStateT StateMask,
                                    const KvnSeverityListT *Severities);
SaErrorT kvnHpiSensorTypeSetByName(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum,
                                   const SaHpiTextBufferT *TypeName);
// SA_ERR_HPI_INVALID_CMD: a sensor without readable thresholds; the outputs
// are then set empty (the daemon's values of that reply are not read).
SaErrorT kvnHpiSensorStatusGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum,
                               SaHpiBoolT ReadThresholds, SaHpiEventStateT StateMask, SaHpiSensorReadingT *Reading,
                               SaHpiEventStateT *EventState, SaHpiSensorThresholdsT *Thresholds,
                               KvnSeverityListT *Severities);
SaErrorT kvnHpiSensorAssertionDelayGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId,
                                       SaHpiSensorNumT SensorNum, KvnAssertionDelaysT *Delays);
SaErrorT kvnHpiSensorAssertionDelaySet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId,
                                       SaHpiSensorNumT SensorNum, SaHpiEventStateT PresenceMask,
                                       const KvnAssertionDelaysT *Delays);

// Event filters, event actions and named action lists.
SaErrorT kvnHpiEventFilterCreate(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Name,
                                 const SaHpiTextBufferT *Expression);
SaErrorT kvnHpiEventFilterGetNext(SaHpiSessionIdT SessionId, SaHpiEntryIdT EntryId, SaHpiEntryIdT *NextEntryId,
                                  SaHpiTextBufferT *Name, SaHpiTextBufferT *Expression);
SaErrorT kvnHpiEventFilterRemove(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Name);
SaErrorT kvnHpiEventActionAdd(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *FilterName, SaHpiUint32T Disposition,
                              SaHpiUint32T ActionType, const SaHpiTextBufferT *Parameter, SaHpiUint32T *ActionId);
SaErrorT kvnHpiEventActionGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *FilterName, SaHpiUint32T ActionId,
                              SaHpiUint32T *NextActionId, SaHpiUint32T *Disposition, SaHpiUint32T *ActionType,
                              SaHpiTextBufferT *Parameter);
SaErrorT kvnHpiEventActionRemove(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *FilterName, SaHpiUint32T ActionId);
SaErrorT kvnHpiEventActionSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *FilterName, SaHpiUint32T ActionId,
                              SaHpiUint32T Disposition, SaHpiUint32T ActionType, const SaHpiTextBufferT *Parameter);
SaErrorT kvnHpiPeriodicExpressionCreate(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Name,
                                        const SaHpiTextBufferT *Expression, SaHpiUint32T Period);
SaErrorT kvnHpiEventFilterGetNext2(SaHpiSessionIdT SessionId, SaHpiEntryIdT EntryId, SaHpiEntryIdT *NextEntryId,
                                   SaHpiTextBufferT *Name, SaHpiTextBufferT *Expression, SaHpiUint32T *Period);
SaErrorT kvnHpiNamedActionListCreate(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *ListName);
SaErrorT kvnHpiNamedActionListRemove(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *ListName);
SaErrorT kvnHpiNamedActionListGetNext(SaHpiSessionIdT SessionId, SaHpiEntryIdT EntryId, SaHpiEntryIdT *NextEntryId,
                                      SaHpiTextBufferT *ListName);
SaErrorT kvnHpiEventActionListNameGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *FilterName,
                                      SaHpiTextBufferT *ListName);
SaErrorT kvnHpiEventActionListSetNamed(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *FilterName,
                                       const SaHpiTextBufferT *ListName);
SaErrorT kvnHpiEventActionListSetAnonymous(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *FilterName);
SaErrorT kvnHpiNamedActionListActionAdd(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *ListName,
                                        SaHpiUint32T Disposition, SaHpiUint32T ActionType,
                                        const SaHpiTextBufferT *Parameter, SaHpiUint32T *ActionId);
SaErrorT kvnHpiNamedActionListActionGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *ListName,
                                        SaHpiUint32T ActionId, SaHpiUint32T *NextActionId, SaHpiUint32T *Disposition,
                                        SaHpiUint32T *ActionType, SaHpiTextBufferT *Parameter);
SaErrorT kvnHpiNamedActionListActionRemove(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *ListName,
                                           SaHpiUint32T ActionId);
SaErrorT kvnHpiNamedActionListActionSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *ListName,
                                        SaHpiUint32T ActionId, SaHpiUint32T Disposition, SaHpiUint32T ActionType,
                                        const SaHpiTextBufferT *Parameter);
SaErrorT kvnHpiVerifyExpressionForSensor(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Expression,
                                         SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum, SaHpiBoolT *Matches);
SaErrorT kvnHpiVerifyFilterForSensor(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *FilterName,
                                     SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum, SaHpiBoolT *Matches);
SaErrorT kvnHpiEventActionListConvertToNamed(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *FilterName,
                                             const SaHpiTextBufferT *ListName);

// Server reachability watch list.
SaErrorT kvnServerReachabilityAdd(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Destination, SaHpiUint32T SCNT,
                                  SaHpiUint32T UCNT, SaHpiUint32T ASCC, SaHpiUint32T AUNSC, SaHpiUint32T BRES,
                                  SaHpiBoolT Enabled, SaHpiUint32T *EntryId);
SaErrorT kvnServerReachabilitySet(SaHpiSessionIdT SessionId, SaHpiUint32T EntryId, const SaHpiTextBufferT *Destination,
                                  SaHpiUint32T SCNT, SaHpiUint32T UCNT, SaHpiUint32T ASCC, SaHpiUint32T AUNSC,
                                  SaHpiUint32T BRES, SaHpiBoolT Enabled);
SaErrorT kvnServerReachabilityGetCount(SaHpiSessionIdT SessionId, SaHpiUint32T *Count);
SaErrorT kvnServerReachabilityDelete(SaHpiSessionIdT SessionId, SaHpiUint32T EntryId);
SaErrorT kvnServerReachabilityGet(SaHpiSessionIdT SessionId, SaHpiUint32T EntryId, SaHpiTextBufferT *Destination,
                                  SaHpiUint32T *SCNT, SaHpiUint32T *UCNT, SaHpiUint32T *ASCC, SaHpiUint32T *AUNSC,
                                  SaHpiUint32T *BRES, SaHpiBoolT *Enabled, SaHpiBoolT *Reachable,
                                  SaHpiBoolT *Unreachable);

// Network interfaces, DNS and network services.
SaErrorT kvnHpiAdapterNameGet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex, SaHpiTextBufferT *Name);
SaErrorT kvnHpiMACAddressGet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex, SaHpiTextBufferT *MacAddress);
SaErrorT kvnHpiInterfaceModeAndSpeedGet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex,
                                        SaHpiBoolT *AutoNegotiation, SaHpiUint8T *Duplex, SaHpiInt16T *Speed);
SaErrorT kvnHpiInterfaceModeAndSpeedSet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex,
                                        SaHpiBoolT AutoNegotiation, SaHpiUint8T Duplex, SaHpiInt16T Speed);
SaErrorT kvnHpiIPv4DHCPGet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex, SaHpiBoolT *DhcpEnabled);
SaErrorT kvnHpiIPv4AddressGet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex, SaHpiTextBufferT *Address);
SaErrorT kvnHpiIPv4DHCPAddressGatewaySet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex, SaHpiBoolT DhcpEnabled,
                                         const SaHpiTextBufferT *Address, const SaHpiTextBufferT *Gateway);
SaErrorT kvnHpiIPv4GatewayGet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex, SaHpiTextBufferT *Gateway);
SaErrorT kvnHpiIPv4DNSServersGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Servers);
SaErrorT kvnHpiIPv4DNSServersSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Servers);
SaErrorT kvnHpiIPv6AddressesPrefixesGet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex,
                                        SaHpiTextBufferT *AddressesPrefixes);
SaErrorT kvnHpiIPv6AddressesPrefixesGatewaySet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex,
                                               const SaHpiTextBufferT *AddressesPrefixes,
                                               const SaHpiTextBufferT *Gateway);
SaErrorT kvnHpiIPv6RouteGet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex, SaHpiUint32T RouteNumber,
                            SaHpiTextBufferT *Prefix, SaHpiTextBufferT *Address);
SaErrorT kvnHpiIPv6DNSServersGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Servers);
SaErrorT kvnHpiIPv6DNSServersSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Servers);
SaErrorT kvnHpiDNSPreferenceGet(SaHpiSessionIdT SessionId, SaHpiUint8T *Preference);
SaErrorT kvnHpiDNSPreferenceSet(SaHpiSessionIdT SessionId, SaHpiUint8T Preference);
SaErrorT kvnHpiHTTPPortGet(SaHpiSessionIdT SessionId, SaHpiUint16T *Port);
SaErrorT kvnHpiHTTPPortSet(SaHpiSessionIdT SessionId, SaHpiUint16T Port);
SaErrorT kvnHpiHTTPSPortGet(SaHpiSessionIdT SessionId, SaHpiUint16T *Port);
SaErrorT kvnHpiHTTPSPortSet(SaHpiSessionIdT SessionId, SaHpiUint16T Port);
SaErrorT kvnHpiTelnetEnableAndPortGet(SaHpiSessionIdT SessionId, SaHpiBoolT *Enabled, SaHpiUint16T *Port);
SaErrorT kvnHpiTelnetEnableAndPortSet(SaHpiSessionIdT SessionId, SaHpiBoolT Enabled, SaHpiUint16T Port);
SaErrorT kvnHpiSSHEnableAndPortGet(SaHpiSessionIdT SessionId, SaHpiBoolT *Enabled, SaHpiUint16T *Port);
SaErrorT kvnHpiSSHEnableAndPortSet(SaHpiSessionIdT SessionId, SaHpiBoolT Enabled, SaHpiUint16T Port);
SaErrorT kvnHpiSSHAuthMethodGet(SaHpiSessionIdT SessionId, SaHpiUint8T *Method);
SaErrorT kvnHpiSSHAuthMethodSet(SaHpiSessionIdT SessionId, SaHpiUint8T Method);
SaErrorT kvnHpiSMTPOwnAddressGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Address);
SaErrorT kvnHpiSMTPOwnAddressSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Address);
SaErrorT kvnHpiSMTPServerGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Server);
SaErrorT kvnHpiSMTPServerSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Server);
SaErrorT kvnHpiSMTPDefaultRecipientsGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Recipients);
SaErrorT kvnHpiSMTPDefaultRecipientsSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Recipients);
SaErrorT kvnHpiSNMPEnablesGet(SaHpiSessionIdT SessionId, SaHpiBoolT *Enable, SaHpiBoolT *Enable12);
SaErrorT kvnHpiSNMPEnablesSet(SaHpiSessionIdT SessionId, SaHpiBoolT Enable, SaHpiBoolT Enable12);
SaErrorT kvnHpiSNMPReadCommunityGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Community);
SaErrorT kvnHpiSNMPReadCommunitySet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Community);
SaErrorT kvnHpiSNMPWriteCommunityGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Community);
SaErrorT kvnHpiSNMPWriteCommunitySet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Community);
SaErrorT kvnHpiSNMPSysNameGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *SysName);
SaErrorT kvnHpiSNMPSysNameSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *SysName);
SaErrorT kvnHpiSNMPSysContactGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *SysContact);
SaErrorT kvnHpiSNMPSysContactSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *SysContact);
SaErrorT kvnHpiSNMPSysLocationGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *SysLocation);
SaErrorT kvnHpiSNMPSysLocationSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *SysLocation);
SaErrorT kvnHpiSNMPTrapDestinationGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Destination);
SaErrorT kvnHpiSNMPTrapDestinationSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Destination);
SaErrorT kvnHpiSNMPTrapV2EnableGet(SaHpiSessionIdT SessionId, SaHpiBoolT *Enabled);
SaErrorT kvnHpiSNMPTrapV2EnableSet(SaHpiSessionIdT SessionId, SaHpiBoolT Enabled);
SaErrorT kvnHpiNTPEnableGet(SaHpiSessionIdT SessionId, SaHpiBoolT *Enabled);
SaErrorT kvnHpiNTPEnableSet(SaHpiSessionIdT SessionId, SaHpiBoolT Enabled);
SaErrorT kvnHpiNTPFromDHCPEnableGet(SaHpiSessionIdT SessionId, SaHpiBoolT *Enabled);
SaErrorT kvnHpiNTPFromDHCPEnableSet(SaHpiSessionIdT SessionId, SaHpiBoolT Enabled);
SaErrorT kvnHpiNTPServersGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Primary, SaHpiTextBufferT *Secondary);
SaErrorT kvnHpiNTPServersSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Primary,
                             const SaHpiTextBufferT *Secondary, SaHpiUint8T Override);
SaErrorT kvnHpiEnforceHTTPSGet(SaHpiSessionIdT SessionId, SaHpiBoolT *Enforced);
SaErrorT kvnHpiEnforceHTTPSSet(SaHpiSessionIdT SessionId, SaHpiBoolT Enforced);
SaErrorT kvnHpiHostNameGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *HostName);
SaErrorT kvnHpiHostNameSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *HostName);
SaErrorT kvnHpiDomainSearchPathGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *SearchPath);
SaErrorT kvnHpiDomainSearchPathSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *SearchPath);
SaErrorT kvnHpiIPv4DHCPRejectedServersGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Servers);
SaErrorT kvnHpiIPv4DHCPRejectedServersSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Servers);
SaErrorT kvnHpiIPv6DHCPRejectedServersGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Servers);
SaErrorT kvnHpiIPv6DHCPRejectedServersSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Servers);
SaErrorT kvnHpiIPv6AutoDHCPGet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex, SaHpiBoolT *Automatic,
                               SaHpiBoolT *DhcpEnabled);
SaErrorT kvnHpiIPv6AutoDHCPSet(SaHpiSessionIdT SessionId, SaHpiUint32T AdapterIndex, SaHpiBoolT DhcpEnabled);
SaErrorT kvnHpiBACnetEnableAndDeviceIdGet(SaHpiSessionIdT SessionId, SaHpiBoolT *Enabled, SaHpiUint32T *DeviceId);
SaErrorT kvnHpiBACnetEnableAndDeviceIdSet(SaHpiSessionIdT SessionId, SaHpiBoolT Enabled, SaHpiUint32T DeviceId);
SaErrorT kvnHpiRedFishEnableGet(SaHpiSessionIdT SessionId, SaHpiBoolT *Enabled, SaHpiUint16T *Port);
SaErrorT kvnHpiRedFishEnableSet(SaHpiSessionIdT SessionId, SaHpiBoolT Enabled, SaHpiUint16T Port);

// Groups of sensors and controls.
SaErrorT kvnHpiGroupCreate(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName);
SaErrorT kvnHpiGroupDelete(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName);
SaErrorT kvnHpiGroupGetNext(SaHpiSessionIdT SessionId, SaHpiEntryIdT EntryId, SaHpiEntryIdT *NextEntryId,
                            SaHpiTextBufferT *GroupName);
SaErrorT kvnHpiGroupSensorAdd(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName, SaHpiResourceIdT ResourceId,
                              SaHpiSensorNumT SensorNum);
SaErrorT kvnHpiGroupSensorDelete(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName,
                                 SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum);
SaErrorT kvnHpiGroupControlAdd(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName,
                               SaHpiResourceIdT ResourceId, SaHpiCtrlNumT CtrlNum, SaHpiUint32T Delay);
SaErrorT kvnHpiGroupControlDelete(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName,
                                  SaHpiResourceIdT ResourceId, SaHpiCtrlNumT CtrlNum);
SaErrorT kvnHpiGroupSensorGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName, SaHpiUint32T Index,
                              SaHpiUint32T *NextIndex, SaHpiResourceIdT *ResourceId, SaHpiSensorNumT *SensorNum);
SaErrorT kvnHpiGroupControlGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName, SaHpiUint32T Index,
                               SaHpiUint32T *NextIndex, SaHpiResourceIdT *ResourceId, SaHpiCtrlNumT *CtrlNum,
                               SaHpiUint32T *Delay);
SaErrorT kvnHpiGroupControlStateAssignAsynchronous(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName,
                                                   SaHpiCtrlModeT CtrlMode, const SaHpiCtrlStateT *CtrlState);
SaErrorT kvnHpiGroupControlCancelAsynchronous(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName);
SaErrorT kvnHpiGroupControlGetProgressAsynchronous(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName,
                                                   SaHpiUint32T *Processed, SaHpiUint32T *Total, SaHpiInt32T *Error);
SaErrorT kvnHpiGroupSensorReadingAggregateGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName,
                                              SaHpiUint32T Operation, SaHpiSensorReadingT *Reading,
                                              SaHpiEventStateT *EventState);
SaErrorT kvnHpiGroupSensorThresholdsSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName,
                                        const SaHpiSensorThresholdsT *Thresholds);

// Users, roles, privileges, preferences and login security.
SaErrorT kvnHpiCurrentPrivilegeMaskGet(SaHpiSessionIdT SessionId, SaHpiUint64T *PrivilegeMask, SaHpiUint64T *OtherMask);
SaErrorT kvnHpiCurrentUserMeasurementUnitsGet(SaHpiSessionIdT SessionId, KvnMeasurementUnitsT *Units);
SaErrorT kvnHpiCurrentUserMeasurementUnitsSet(SaHpiSessionIdT SessionId, const KvnMeasurementUnitsT *Units);
SaErrorT kvnHpiUserMeasurementUnitsGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName,
                                       KvnMeasurementUnitsT *Units);
SaErrorT kvnHpiUserMeasurementUnitsSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName,
                                       const KvnMeasurementUnitsT *Units);
SaErrorT kvnHpiGlobalMeasurementUnitsGet(SaHpiSessionIdT SessionId, KvnMeasurementUnitsT *Units);
SaErrorT kvnHpiGlobalMeasurementUnitsSet(SaHpiSessionIdT SessionId, const KvnMeasurementUnitsT *Units);
SaErrorT kvnHpiCurrentUserWebParametersGet(SaHpiSessionIdT SessionId, KvnWebParametersT *Parameters);
SaErrorT kvnHpiCurrentUserWebParametersSet(SaHpiSessionIdT SessionId, const KvnWebParametersT *Parameters);
SaErrorT kvnHpiUserWebParametersGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName,
                                    KvnWebParametersT *Parameters);
SaErrorT kvnHpiUserWebParametersSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName,
                                    const KvnWebParametersT *Parameters);
SaErrorT kvnHpiGlobalWebParametersGet(SaHpiSessionIdT SessionId, KvnWebParametersT *Parameters);
SaErrorT kvnHpiGlobalWebParametersSet(SaHpiSessionIdT SessionId, const KvnWebParametersT *Parameters);
SaErrorT kvnHpiCurrentLanguageGet(SaHpiSessionIdT SessionId, SaHpiUint32T *Language);
SaErrorT kvnHpiCurrentLanguageSet(SaHpiSessionIdT SessionId, SaHpiUint32T Language);
SaErrorT kvnHpiCurrentLCDUIFlagsGet(SaHpiSessionIdT SessionId, SaHpiUint32T *Flags);
SaErrorT kvnHpiCurrentLCDUIFlagsSet(SaHpiSessionIdT SessionId, SaHpiUint32T Flags);
SaErrorT kvnHpiUserInfoGetByIndex(SaHpiSessionIdT SessionId, SaHpiUint32T Index, SaHpiUint32T *NextIndex,
                                  SaHpiTextBufferT *UserName, SaHpiTextBufferT *FullName, SaHpiTextBufferT *Phone,
                                  SaHpiTextBufferT *Email, SaHpiBoolT *Enabled, SaHpiBoolT *External);
SaErrorT kvnHpiUserInfoGetByName(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName,
                                 SaHpiTextBufferT *FullName, SaHpiTextBufferT *Phone, SaHpiTextBufferT *Email,
                                 SaHpiBoolT *Enabled, SaHpiBoolT *External, SaHpiUint32T *UnnamedResult32);
SaErrorT kvnHpiUserCreate(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName, const SaHpiTextBufferT *Password,
                          SaHpiUint8T Forced, const SaHpiTextBufferT *FullName, const SaHpiTextBufferT *Phone,
                          const SaHpiTextBufferT *Email, SaHpiBoolT Enabled, const SaHpiTextBufferT *Roles,
                          const SaHpiTextBufferT *OtherRoles, SaHpiBoolT External, SaHpiUint32T *UserId);
SaErrorT kvnHpiUserDelete(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName, SaHpiUint8T DeleteHome);
SaErrorT kvnHpiUserInfoSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName,
                           const SaHpiTextBufferT *FullName, const SaHpiTextBufferT *Phone,
                           const SaHpiTextBufferT *Email, SaHpiBoolT Enabled);
SaErrorT kvnHpiUserEnabledSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName, SaHpiBoolT Enabled);
SaErrorT kvnHpiChangePasswordUser(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName,
                                  const SaHpiTextBufferT *Password, SaHpiUint8T Forced);
SaErrorT kvnHpiUserRolesGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName, SaHpiTextBufferT *Roles,
                            SaHpiTextBufferT *OtherRoles);
SaErrorT kvnHpiUserRolesSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName, const SaHpiTextBufferT *Roles,
                            const SaHpiTextBufferT *OtherRoles);
SaErrorT kvnHpiUserPrivilegesGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName,
                                 SaHpiUint64T *PrivilegeMask, SaHpiUint64T *OtherMask);
SaErrorT kvnHpiRoleInfoGetByIndex(SaHpiSessionIdT SessionId, SaHpiUint32T Index, SaHpiUint32T *NextIndex,
                                  SaHpiTextBufferT *RoleName, SaHpiTextBufferT *Description,
                                  SaHpiUint64T *PrivilegeMask, SaHpiUint64T *OtherMask);
SaErrorT kvnHpiRoleCreate(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *RoleName,
                          const SaHpiTextBufferT *Description, SaHpiUint64T PrivilegeMask, SaHpiUint64T OtherMask,
                          SaHpiUint32T *RoleId);
SaErrorT kvnHpiRoleDelete(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *RoleName);
SaErrorT kvnHpiRoleDescriptionSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *RoleName,
                                  const SaHpiTextBufferT *Description);
SaErrorT kvnHpiRolePrivilegesSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *RoleName,
                                 SaHpiUint64T PrivilegeMask, SaHpiUint64T OtherMask);
SaErrorT kvnHpiLDAPConfigurationEnable(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Uri, SaHpiUint32T ServerType,
                                       SaHpiBoolT UseSsl, SaHpiUint32T SslPort, const SaHpiTextBufferT *Certificate,
                                       SaHpiBoolT UseAnonymousBind, const SaHpiTextBufferT *BindDn,
                                       const SaHpiTextBufferT *BindPassword, const SaHpiTextBufferT *SearchBaseDn,
                                       const SaHpiTextBufferT *LoginNameAttribute, const SaHpiTextBufferT *UserClass,
                                       const SaHpiTextBufferT *UserSearchFilter, const SaHpiTextBufferT *ExtraOptions);
SaErrorT kvnHpiLDAPConfigurationDisable(SaHpiSessionIdT SessionId);
SaErrorT kvnHpiLDAPConfigurationGet(SaHpiSessionIdT SessionId, SaHpiBoolT *Enabled, SaHpiTextBufferT *Uri,
                                    SaHpiUint32T *ServerType, SaHpiBoolT *UseSsl, SaHpiUint32T *SslPort,
                                    SaHpiTextBufferT *Certificate, SaHpiBoolT *UseAnonymousBind,
                                    SaHpiTextBufferT *BindDn, SaHpiTextBufferT *BindPassword,
                                    SaHpiTextBufferT *SearchBaseDn, SaHpiTextBufferT *LoginNameAttribute,
                                    SaHpiTextBufferT *UserClass, SaHpiTextBufferT *UserSearchFilter,
                                    SaHpiTextBufferT *ExtraOptions);
SaErrorT kvnHpiFirewallEnableGet(SaHpiSessionIdT SessionId, SaHpiUint8T Family, SaHpiBoolT *Enabled);
SaErrorT kvnHpiFirewallEnableSet(SaHpiSessionIdT SessionId, SaHpiUint8T Family, SaHpiBoolT Enabled);
SaErrorT kvnHpiFirewallDefaultPolicyGet(SaHpiSessionIdT SessionId, SaHpiUint8T Family, SaHpiUint32T *Policy);
SaErrorT kvnHpiFirewallDefaultPolicySet(SaHpiSessionIdT SessionId, SaHpiUint8T Family, SaHpiUint32T Policy);
SaErrorT kvnHpiFirewallRuleGet(SaHpiSessionIdT SessionId, SaHpiUint8T Family, SaHpiUint32T RuleNumber,
                               SaHpiTextBufferT *Destination, SaHpiUint32T *Policy);
SaErrorT kvnHpiFirewallRuleAdd(SaHpiSessionIdT SessionId, SaHpiUint8T Family, const SaHpiTextBufferT *Destination,
                               SaHpiUint32T Policy);
SaErrorT kvnHpiFirewallRuleDelete(SaHpiSessionIdT SessionId, SaHpiUint8T Family, SaHpiUint32T RuleNumber);
SaErrorT kvnHpiLoginRestrictionsGet(SaHpiSessionIdT SessionId, KvnLoginRestrictionsT *Restrictions);
SaErrorT kvnHpiLoginRestrictionsSet(SaHpiSessionIdT SessionId, const KvnLoginRestrictionsT *Restrictions);
SaErrorT kvnHpiRoleBasedFirewallEnableGet(SaHpiSessionIdT SessionId, SaHpiUint8T Family, SaHpiBoolT *Enabled);
SaErrorT kvnHpiRoleBasedFirewallEnableSet(SaHpiSessionIdT SessionId, SaHpiUint8T Family, SaHpiBoolT Enabled);
SaErrorT kvnHpiRoleBasedFirewallDefaultPolicyGet(SaHpiSessionIdT SessionId, SaHpiUint8T Family, SaHpiUint32T *Policy);
SaErrorT kvnHpiRoleBasedFirewallDefaultPolicySet(SaHpiSessionIdT SessionId, SaHpiUint8T Family, SaHpiUint32T Policy);
SaErrorT kvnHpiRoleBasedFirewallRuleGet(SaHpiSessionIdT SessionId, SaHpiUint8T Family, SaHpiUint32T RuleNumber,
                                        SaHpiTextBufferT *From, SaHpiTextBufferT *To, SaHpiTextBufferT *Role,
                                        SaHpiUint32T *Policy);
SaErrorT kvnHpiRoleBasedFirewallRuleAdd(SaHpiSessionIdT SessionId, SaHpiUint8T Family, const SaHpiTextBufferT *From,
                                        const SaHpiTextBufferT *To, const SaHpiTextBufferT *Role, SaHpiUint32T Policy);
SaErrorT kvnHpiRoleBasedFirewallRuleDelete(SaHpiSessionIdT SessionId, SaHpiUint8T Family, SaHpiUint32T RuleNumber);
SaErrorT kvnHpiLoginAddressCheck(SaHpiSessionIdT SessionId, SaHpiUint8T Family, const SaHpiTextBufferT *UserName,
                                 const SaHpiTextBufferT *Address);
SaErrorT kvnHpiUserSNMPv3AttributesGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName, SaHpiBoolT *Enabled,
                                       SaHpiUint8T *ReadWrite, SaHpiUint32T *AuthProtocol,
                                       SaHpiUint32T *PrivacyProtocol);
SaErrorT kvnHpiUserSNMPv3AttributesSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName, SaHpiBoolT Enabled,
                                       SaHpiUint8T ReadWrite, SaHpiUint32T AuthProtocol, SaHpiUint32T PrivacyProtocol,
                                       SaHpiUint8T AAP, const SaHpiTextBufferT *AuthPassphrase,
                                       const SaHpiTextBufferT *PrivacyPassphrase);
SaErrorT kvnHpiUserSNMPv3EnableChange(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName, SaHpiBoolT Enabled);
SaErrorT kvnHpiUserSSHPublicKeySet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName,
                                   const SaHpiTextBufferT *KeyFileName);
SaErrorT kvnHpiIsUserLocked(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName, SaHpiBoolT *Locked);
SaErrorT kvnHpiUserPasswordExpirationParametersGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName,
                                                   SaHpiInt32T *DaysLeft, SaHpiUint8T *Warn);
SaErrorT kvnHpiCurrentUserLanguageGet(SaHpiSessionIdT SessionId, SaHpiUint32T *Language);
SaErrorT kvnHpiCurrentUserLanguageSet(SaHpiSessionIdT SessionId, SaHpiUint32T Language);
SaErrorT kvnHpiUserLanguageGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName, SaHpiUint32T *Language);
SaErrorT kvnHpiUserLanguageSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *UserName, SaHpiUint32T Language);

// Device information, preferences, outlets, resources and instruments, configuration and IoT.
SaErrorT kvnHpiGetDeviceName(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Name);
SaErrorT kvnHpiGetDeviceModel(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Model);
SaErrorT kvnHpiGetHardwareVersion(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Version);
SaErrorT kvnHpiGetFirmwareVersion(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Version);
SaErrorT kvnHpiGetSerialNumber(SaHpiSessionIdT SessionId, SaHpiTextBufferT *SerialNumber);
SaErrorT kvnHpiGetUTCOffset(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Offset);
SaErrorT kvnHpiFindOutletInstruments(SaHpiSessionIdT SessionId, SaHpiUint32T OutletId,
                                     KvnOutletInstrumentsT *Instruments);
SaErrorT kvnHpiIpduCountsGet(SaHpiSessionIdT SessionId, SaHpiUint32T *Inlets, SaHpiUint32T *Plugs, SaHpiUint32T *Phases,
                             SaHpiUint32T *Branches, SaHpiUint32T *Outlets, SaHpiUint32T *ResidualCurrentMonitors);
SaErrorT kvnHpiOutletUserNameGet(SaHpiSessionIdT SessionId, SaHpiUint32T OutletId, SaHpiTextBufferT *Name);
SaErrorT kvnHpiOutletUserNameSet(SaHpiSessionIdT SessionId, SaHpiUint32T OutletId, const SaHpiTextBufferT *Name,
                                 SaHpiUint8T Flag);
SaErrorT kvnHpiOutletTypeGet(SaHpiSessionIdT SessionId, SaHpiUint32T OutletId, SaHpiUint32T *OutletType);
SaErrorT kvnHpiOutletStartupSequenceGet(SaHpiSessionIdT SessionId, SaHpiUint32T Capacity, SaHpiUint32T *Count,
                                        KvnStartupSequenceT *Sequence);
SaErrorT kvnHpiOutletStartupSequenceSet(SaHpiSessionIdT SessionId, SaHpiUint32T Count,
                                        const KvnStartupSequenceT *Sequence);
SaErrorT kvnHpiOutletInitialStateGet(SaHpiSessionIdT SessionId, SaHpiUint32T OutletId, SaHpiUint32T *InitialState);
SaErrorT kvnHpiOutletInitialStateSet(SaHpiSessionIdT SessionId, SaHpiUint32T OutletId, SaHpiUint32T InitialState);
SaErrorT kvnHpiOutletDefaultInitialStateGet(SaHpiSessionIdT SessionId, SaHpiUint32T *InitialState);
SaErrorT kvnHpiInstrumentNameSet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiRdrTypeT RdrType,
                                 SaHpiInstrumentIdT InstrumentId, const SaHpiTextBufferT *Name);
SaErrorT kvnHpiForcedConfigWriteStart(SaHpiSessionIdT SessionId, SaHpiInt32T Mask, SaHpiInt32T *JobNumber);
SaErrorT kvnHpiForcedConfigWriteCompleted(SaHpiSessionIdT SessionId, SaHpiInt32T JobNumber, SaHpiBoolT *Completed);
SaErrorT kvnHpiDateTimeGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *DateTime, SaHpiTextBufferT *Timezone,
                           SaHpiTextBufferT *Timezone1);
SaErrorT kvnHpiDateTimeSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *DateTime,
                           const SaHpiTextBufferT *Timezone);
SaErrorT kvnHpiTransientAlarmSeverityGet(SaHpiSessionIdT SessionId, SaHpiUint32T *Severity);
SaErrorT kvnHpiTransientAlarmSeveritySet(SaHpiSessionIdT SessionId, SaHpiUint32T Severity);
SaErrorT kvnHpiExternalSensorZCoordGet(SaHpiSessionIdT SessionId, SaHpiUint32T *ZCoordinate);
SaErrorT kvnHpiExternalSensorZCoordSet(SaHpiSessionIdT SessionId, SaHpiUint32T ZCoordinate);
SaErrorT kvnHpiIpduNominalVoltageFrequencyGet(SaHpiSessionIdT SessionId, SaHpiUint32T *Voltage, SaHpiUint32T *Frequency,
                                              SaHpiUint32T *DefaultVoltage, SaHpiUint32T *DefaultFrequency);
SaErrorT kvnHpiIpduNominalVoltageFrequencySet(SaHpiSessionIdT SessionId, SaHpiUint32T Voltage, SaHpiUint32T Frequency);
SaErrorT kvnHpiPopulateAwsConfigs(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Directory,
                                  const SaHpiTextBufferT *ThingName, const SaHpiTextBufferT *Unused,
                                  SaHpiBoolT *Succeeded, SaHpiTextBufferT *Message);
SaErrorT kvnHpiDiscoverAt(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Driver, const SaHpiTextBufferT *Address);
SaErrorT kvnHpiCertificateInstall(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *FileName);
SaErrorT kvnModbusSerialAttributesSet(SaHpiSessionIdT SessionId, SaHpiUint32T InterfaceNumber,
                                      const SaHpiTextBufferT *Attributes);
SaErrorT kvnModbusSerialAttributesGet(SaHpiSessionIdT SessionId, SaHpiUint32T InterfaceNumber,
                                      SaHpiTextBufferT *Attributes);
SaErrorT kvnHpiInstrumentNameSetDefault(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiRdrTypeT RdrType,
                                        SaHpiInstrumentIdT InstrumentId, SaHpiTextBufferT *Name);
SaErrorT kvnHpiControlStateTextGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiCtrlNumT CtrlNum,
                                   SaHpiUint32T *UnnamedResult32, SaHpiTextBufferT *StateText1,
                                   SaHpiTextBufferT *StateText2);
SaErrorT kvnHpiPersistentResourcesGet(SaHpiSessionIdT SessionId, SaHpiEntryIdT EntryId, SaHpiEntryIdT *NextEntryId,
                                      SaHpiResourceIdT *ResourceId, SaHpiTextBufferT *Name);
SaErrorT kvnHpiPersistentResourceDelete(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId);
SaErrorT kvnHpiGetProductName(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Name);
SaErrorT kvnHpiResourceRemove(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId);
SaErrorT kvnHpiAssetTagGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *AssetTag);
SaErrorT kvnHpiAssetTagSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *AssetTag);
SaErrorT kvnHpiLocationGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Location);
SaErrorT kvnHpiLocationSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Location);
SaErrorT kvnHpiPopulateAzureConfigs(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Directory,
                                    const SaHpiTextBufferT *ThingName, const SaHpiTextBufferT *Unused,
                                    SaHpiBoolT *Succeeded, SaHpiTextBufferT *Message);
SaErrorT kvnHpiIotIsConnected(SaHpiSessionIdT SessionId, SaHpiBoolT *Connected, SaHpiTextBufferT *Name,
                              SaHpiTextBufferT *Provider, SaHpiInt32T *LastResult);
SaErrorT kvnHpiIotUseWebSocketsGet(SaHpiSessionIdT SessionId, SaHpiBoolT *UseWebSockets);
SaErrorT kvnHpiIotUseWebSocketsSet(SaHpiSessionIdT SessionId, SaHpiBoolT UseWebSockets);
SaErrorT kvnHpiW1PollIntervalGet(SaHpiSessionIdT SessionId, SaHpiUint32T *PollInterval);
SaErrorT kvnHpiW1PollIntervalSet(SaHpiSessionIdT SessionId, SaHpiUint32T PollInterval);
SaErrorT kvnHpiLuaConfigurationGet(SaHpiSessionIdT SessionId, SaHpiBoolT *Enabled, SaHpiUint32T *Timeout);
SaErrorT kvnHpiLuaConfigurationSet(SaHpiSessionIdT SessionId, SaHpiBoolT Enabled, SaHpiUint32T Timeout);
SaErrorT kvnHpiSupportedDriverListGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *DriverClass,
                                      SaHpiEntryIdT EntryId, SaHpiEntryIdT *NextEntryId, SaHpiTextBufferT *DriverName);
SaErrorT kvnHpiUnconfigureIot(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Directory);
SaErrorT kvnHpiLuaVerifyScript(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *ScriptName, SaHpiTextBufferT *Result,
                               SaHpiBoolT *Valid);
SaErrorT kvnHpiInstrumentDescriptionSet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiRdrTypeT RdrType,
                                        SaHpiInstrumentIdT InstrumentId, const SaHpiTextBufferT *Description);
SaErrorT kvnHpiInstrumentDescriptionGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiRdrTypeT RdrType,
                                        SaHpiInstrumentIdT InstrumentId, SaHpiTextBufferT *Description);
SaErrorT kvnHpiResourceDescriptionSet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId,
                                      const SaHpiTextBufferT *Description);
SaErrorT kvnHpiResourceDescriptionGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId,
                                      SaHpiTextBufferT *Description);
SaErrorT kvnHpiDeviceDescriptionSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Description);
SaErrorT kvnHpiDeviceDescriptionGet(SaHpiSessionIdT SessionId, SaHpiTextBufferT *Description);
SaErrorT kvnHpiPopulateAwsGreengrassConfigs(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Directory,
                                            const SaHpiTextBufferT *ThingName, const SaHpiTextBufferT *Unused,
                                            const SaHpiTextBufferT *Endpoint, SaHpiBoolT *Succeeded,
                                            SaHpiTextBufferT *Message);
