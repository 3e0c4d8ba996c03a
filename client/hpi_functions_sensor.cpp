// Sensors: state severities, extended information, managed sensors, log, user types.
// Client functions of the controller's extensions: each passes the addresses
// of its values in the daemon's order, and HpiCall refuses a missing text,
// record or output before anything is sent.
#include "client/hpi_call.h"
#include "client/hpi_functions.h"

SaErrorT kvnHpiSensorStateSeverityGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum,
                                      SaHpiEventStateT StateMask, KvnSeverityListT *Severities) {
  return HpiCall(138, {&SessionId, &ResourceId, &SensorNum, &StateMask}, {Severities});
}

SaErrorT kvnHpiSensorStateSeveritySet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum,
                                      SaHpiEventStateT StateMask, const KvnSeverityListT *Severities) {
  if (!SeverityListSendable(Severities)) return SA_ERR_HPI_INVALID_PARAMS;
  return HpiCall(139, {&SessionId, &ResourceId, &SensorNum, &StateMask, Severities}, {});
}

SaErrorT kvnHpiSensorExtendedInfoGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum,
                                     SaHpiUint32T Unnamed32, KvnSensorInfoT *Info, SaHpiUint32T *UnnamedResult32) {
  return HpiCall(140, {&SessionId, &ResourceId, &SensorNum, &Unnamed32}, {Info, UnnamedResult32});
}

SaErrorT kvnHpiSensorResetEraseConfiguration(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId,
                                             SaHpiSensorNumT SensorNum) {
  return HpiCall(141, {&SessionId, &ResourceId, &SensorNum}, {});
}

SaErrorT kvnHpiSensorLogEnableGet(SaHpiSessionIdT SessionId, SaHpiBoolT *Enabled) {
  return HpiCall(142, {&SessionId}, {Enabled});
}

SaErrorT kvnHpiSensorLogEnableSet(SaHpiSessionIdT SessionId, SaHpiBoolT Enabled) {
  return HpiCall(143, {&SessionId, &Enabled}, {});
}

SaErrorT kvnHpiSensorLogAccumPeriodGet(SaHpiSessionIdT SessionId, SaHpiUint32T *AccumulationPeriod) {
  return HpiCall(144, {&SessionId}, {AccumulationPeriod});
}

SaErrorT kvnHpiSensorLogAccumPeriodSet(SaHpiSessionIdT SessionId, SaHpiUint32T AccumulationPeriod) {
  return HpiCall(145, {&SessionId, &AccumulationPeriod}, {});
}

SaErrorT kvnHpiSensorLogSizeGet(SaHpiSessionIdT SessionId, SaHpiUint32T *Size) {
  return HpiCall(146, {&SessionId}, {Size});
}

SaErrorT kvnHpiSensorLogFirstLastGet(SaHpiSessionIdT SessionId, SaHpiUint32T *FirstIndex, SaHpiUint32T *LastIndex) {
  return HpiCall(147, {&SessionId}, {FirstIndex, LastIndex});
}

SaErrorT kvnHpiSensorLogTimestampGet(SaHpiSessionIdT SessionId, SaHpiUint32T Index, SaHpiTimeT *Timestamp,
                                     SaHpiUint32T *NextIndex) {
  return HpiCall(148, {&SessionId, &Index}, {Timestamp, NextIndex});
}

SaErrorT kvnHpiSensorLogEntryGet(SaHpiSessionIdT SessionId, SaHpiUint32T Index, SaHpiUint32T ManagedNum,
                                 KvnSensorLogEntryT *Entry) {
  return HpiCall(149, {&SessionId, &Index, &ManagedNum}, {Entry});
}

SaErrorT kvnHpiSensorDescriptionGet(SaHpiSessionIdT SessionId, SaHpiUint32T ManagedNum, SaHpiTextBufferT *Description) {
  return HpiCall(167, {&SessionId, &ManagedNum}, {Description});
}

SaErrorT kvnHpiSensorDescriptionSet(SaHpiSessionIdT SessionId, SaHpiUint32T ManagedNum,
                                    const SaHpiTextBufferT *Description) {
  return HpiCall(168, {&SessionId, &ManagedNum, Description}, {});
}

SaErrorT kvnHpiSensorUserTypeGet(SaHpiSessionIdT SessionId, SaHpiUint32T ManagedNum, SaHpiTextBufferT *Type,
                                 SaHpiTextBufferT *Subtype) {
  return HpiCall(169, {&SessionId, &ManagedNum}, {Type, Subtype});
}

SaErrorT kvnHpiSensorUserTypeSet(SaHpiSessionIdT SessionId, SaHpiUint32T ManagedNum, const SaHpiTextBufferT *Type,
                                 const SaHpiTextBufferT *Subtype) {
  return HpiCall(170, {&SessionId, &ManagedNum, Type, Subtype}, {});
}

SaErrorT kvnHpiSensorCoordinatesGet(SaHpiSessionIdT SessionId, SaHpiUint32T ManagedNum, SaHpiTextBufferT *X,
                                    SaHpiTextBufferT *Y, SaHpiTextBufferT *Z) {
  return HpiCall(171, {&SessionId, &ManagedNum}, {X, Y, Z});
}

SaErrorT kvnHpiSensorCoordinatesSet(SaHpiSessionIdT SessionId, SaHpiUint32T ManagedNum, const SaHpiTextBufferT *X,
                                    const SaHpiTextBufferT *Y, const SaHpiTextBufferT *Z) {
  return HpiCall(172, {&SessionId, &ManagedNum, X, Y, Z}, {});
}

SaErrorT kvnHpiSensorAttach(SaHpiSessionIdT SessionId, SaHpiUint32T ManagedNum, SaHpiResourceIdT ResourceId,
                            SaHpiSensorNumT SensorNum) {
  return HpiCall(173, {&SessionId, &ManagedNum, &ResourceId, &SensorNum}, {});
}

SaErrorT kvnHpiSensorDetach(SaHpiSessionIdT SessionId, SaHpiUint32T ManagedNum) {
  return HpiCall(174, {&SessionId, &ManagedNum}, {});
}

SaErrorT kvnHpiSensorAttachStateGet(SaHpiSessionIdT SessionId, SaHpiUint32T ManagedNum, SaHpiUint32T *AttachState,
                                    SaHpiResourceIdT *ResourceId, SaHpiSensorNumT *SensorNum,
                                    SaHpiEntityPathT *EntityPath) {
  return HpiCall(175, {&SessionId, &ManagedNum}, {AttachState, ResourceId, SensorNum, EntityPath});
}

SaErrorT kvnHpiSensorManage(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum,
                            SaHpiBoolT Automatic, SaHpiUint32T *ManagedNum) {
  return HpiCall(176, {&SessionId, &ResourceId, &SensorNum, &Automatic}, {ManagedNum});
}

SaErrorT kvnHpiSensorManagedNumberGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum,
                                      SaHpiUint32T *ManagedNum) {
  return HpiCall(177, {&SessionId, &ResourceId, &SensorNum}, {ManagedNum});
}

SaErrorT kvnHpiSensorUserTypeInfoGet(SaHpiSessionIdT SessionId, SaHpiEntryIdT EntryId, SaHpiTextBufferT *Name,
                                     SaHpiUint32T *TypeId, SaHpiTextBufferT *StateNames1, SaHpiTextBufferT *StateNames2,
                                     KvnSeverityListT *Severities, SaHpiEntryIdT *NextEntryId) {
  return HpiCall(412, {&SessionId, &EntryId}, {Name, TypeId, StateNames1, StateNames2, Severities, NextEntryId});
}

SaErrorT kvnHpiSensorUserTypeAdd(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Name,
                                 const SaHpiTextBufferT *StateNames1, const SaHpiTextBufferT *StateNames2,
                                 SaHpiEventStateT StateMask, const KvnSeverityListT *Severities, SaHpiUint32T *TypeId) {
  if (!SeverityListSendable(Severities)) return SA_ERR_HPI_INVALID_PARAMS;
  return HpiCall(414, {&SessionId, Name, StateNames1, StateNames2, &StateMask, Severities}, {TypeId});
}

SaErrorT kvnHpiSensorUserTypeDelete(SaHpiSessionIdT SessionId, SaHpiUint32T TypeId) {
  return HpiCall(415, {&SessionId, &TypeId}, {});
}

SaErrorT kvnHpiSensorUserTypeUpdate(SaHpiSessionIdT SessionId, SaHpiUint32T TypeId, const SaHpiTextBufferT *StateNames1,
                                    const SaHpiTextBufferT *StateNames2, SaHpiEventStateT StateMask,
                                    const KvnSeverityListT *Severities) {
  if (!SeverityListSendable(Severities)) return SA_ERR_HPI_INVALID_PARAMS;
  return HpiCall(417, {&SessionId, &TypeId, StateNames1, StateNames2, &StateMask, Severities}, {});
}

SaErrorT kvnHpiSensorTypeSetByName(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum,
                                   const SaHpiTextBufferT *TypeName) {
  return HpiCall(419, {&SessionId, &ResourceId, &SensorNum, TypeName}, {});
}

SaErrorT kvnHpiSensorAssertionDelayGet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId,
                                       SaHpiSensorNumT SensorNum, KvnAssertionDelaysT *Delays) {
  return HpiCall(468, {&SessionId, &ResourceId, &SensorNum}, {Delays});
}

SaErrorT kvnHpiSensorAssertionDelaySet(SaHpiSessionIdT SessionId, SaHpiResourceIdT ResourceId,
                                       SaHpiSensorNumT SensorNum, SaHpiEventStateT PresenceMask,
                                       const KvnAssertionDelaysT *Delays) {
  return HpiCall(469, {&SessionId, &ResourceId, &SensorNum, &PresenceMask, Delays}, {});
}
