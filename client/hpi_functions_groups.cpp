// Groups of sensors and controls.
// Client functions of the controller's extensions: each passes the addresses
// of its values in the daemon's order, and HpiCall refuses a missing text,
// record or output before anything is sent.
#include "client/hpi_call.h"
#include "client/hpi_functions.h"

SaErrorT kvnHpiGroupCreate(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName) {
  return HpiCall(234, {&SessionId, GroupName}, {});
}

SaErrorT kvnHpiGroupDelete(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName) {
  return HpiCall(235, {&SessionId, GroupName}, {});
}

SaErrorT kvnHpiGroupGetNext(SaHpiSessionIdT SessionId, SaHpiEntryIdT EntryId, SaHpiEntryIdT *NextEntryId,
                            SaHpiTextBufferT *GroupName) {
  return HpiCall(236, {&SessionId, &EntryId}, {NextEntryId, GroupName});
}

SaErrorT kvnHpiGroupSensorAdd(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName, SaHpiResourceIdT ResourceId,
                              SaHpiSensorNumT SensorNum) {
  return HpiCall(237, {&SessionId, GroupName, &ResourceId, &SensorNum}, {});
}

SaErrorT kvnHpiGroupSensorDelete(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName,
                                 SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum) {
  return HpiCall(238, {&SessionId, GroupName, &ResourceId, &SensorNum}, {});
}

SaErrorT kvnHpiGroupControlAdd(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName,
                               SaHpiResourceIdT ResourceId, SaHpiCtrlNumT CtrlNum, SaHpiUint32T Delay) {
  return HpiCall(240, {&SessionId, GroupName, &ResourceId, &CtrlNum, &Delay}, {});
}

SaErrorT kvnHpiGroupControlDelete(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName,
                                  SaHpiResourceIdT ResourceId, SaHpiCtrlNumT CtrlNum) {
  return HpiCall(241, {&SessionId, GroupName, &ResourceId, &CtrlNum}, {});
}

SaErrorT kvnHpiGroupSensorGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName, SaHpiUint32T Index,
                              SaHpiUint32T *NextIndex, SaHpiResourceIdT *ResourceId, SaHpiSensorNumT *SensorNum) {
  return HpiCall(243, {&SessionId, GroupName, &Index}, {NextIndex, ResourceId, SensorNum});
}

SaErrorT kvnHpiGroupControlGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName, SaHpiUint32T Index,
                               SaHpiUint32T *NextIndex, SaHpiResourceIdT *ResourceId, SaHpiCtrlNumT *CtrlNum,
                               SaHpiUint32T *Delay) {
  return HpiCall(244, {&SessionId, GroupName, &Index}, {NextIndex, ResourceId, CtrlNum, Delay});
}

SaErrorT kvnHpiGroupControlStateAssignAsynchronous(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName,
                                                   SaHpiCtrlModeT CtrlMode, const SaHpiCtrlStateT *CtrlState) {
  return HpiCall(248, {&SessionId, GroupName, &CtrlMode, CtrlState}, {});
}

SaErrorT kvnHpiGroupControlCancelAsynchronous(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName) {
  return HpiCall(249, {&SessionId, GroupName}, {});
}

SaErrorT kvnHpiGroupControlGetProgressAsynchronous(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName,
                                                   SaHpiUint32T *Processed, SaHpiUint32T *Total, SaHpiInt32T *Error) {
  return HpiCall(250, {&SessionId, GroupName}, {Processed, Total, Error});
}

SaErrorT kvnHpiGroupSensorReadingAggregateGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName,
                                              SaHpiUint32T Operation, SaHpiSensorReadingT *Reading,
                                              SaHpiEventStateT *EventState) {
  return HpiCall(251, {&SessionId, GroupName, &Operation}, {Reading, EventState});
}

SaErrorT kvnHpiGroupSensorThresholdsSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *GroupName,
                                        const SaHpiSensorThresholdsT *Thresholds) {
  return HpiCall(369, {&SessionId, GroupName, Thresholds}, {});
}
