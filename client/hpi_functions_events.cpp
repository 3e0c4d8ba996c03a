// Event filters, event actions and named action lists.
// Client functions of the controller's extensions: each passes the addresses
// of its values in the daemon's order, and HpiCall refuses a missing text,
// record or output before anything is sent.
#include "client/hpi_call.h"
#include "client/hpi_functions.h"

SaErrorT kvnHpiEventFilterCreate(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Name,
                                 const SaHpiTextBufferT *Expression) {
  return HpiCall(150, {&SessionId, Name, Expression}, {});
}

SaErrorT kvnHpiEventFilterGetNext(SaHpiSessionIdT SessionId, SaHpiEntryIdT EntryId, SaHpiEntryIdT *NextEntryId,
                                  SaHpiTextBufferT *Name, SaHpiTextBufferT *Expression) {
  return HpiCall(152, {&SessionId, &EntryId}, {NextEntryId, Name, Expression});
}

SaErrorT kvnHpiEventFilterRemove(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Name) {
  return HpiCall(153, {&SessionId, Name}, {});
}

SaErrorT kvnHpiEventActionAdd(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *FilterName, SaHpiUint32T Disposition,
                              SaHpiUint32T ActionType, const SaHpiTextBufferT *Parameter, SaHpiUint32T *ActionId) {
  return HpiCall(155, {&SessionId, FilterName, &Disposition, &ActionType, Parameter}, {ActionId});
}

SaErrorT kvnHpiEventActionGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *FilterName, SaHpiUint32T ActionId,
                              SaHpiUint32T *NextActionId, SaHpiUint32T *Disposition, SaHpiUint32T *ActionType,
                              SaHpiTextBufferT *Parameter) {
  return HpiCall(156, {&SessionId, FilterName, &ActionId}, {NextActionId, Disposition, ActionType, Parameter});
}

SaErrorT kvnHpiEventActionRemove(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *FilterName, SaHpiUint32T ActionId) {
  return HpiCall(157, {&SessionId, FilterName, &ActionId}, {});
}

SaErrorT kvnHpiEventActionSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *FilterName, SaHpiUint32T ActionId,
                              SaHpiUint32T Disposition, SaHpiUint32T ActionType, const SaHpiTextBufferT *Parameter) {
  return HpiCall(158, {&SessionId, FilterName, &ActionId, &Disposition, &ActionType, Parameter}, {});
}

SaErrorT kvnHpiPeriodicExpressionCreate(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Name,
                                        const SaHpiTextBufferT *Expression, SaHpiUint32T Period) {
  return HpiCall(404, {&SessionId, Name, Expression, &Period}, {});
}

SaErrorT kvnHpiEventFilterGetNext2(SaHpiSessionIdT SessionId, SaHpiEntryIdT EntryId, SaHpiEntryIdT *NextEntryId,
                                   SaHpiTextBufferT *Name, SaHpiTextBufferT *Expression, SaHpiUint32T *Period) {
  return HpiCall(405, {&SessionId, &EntryId}, {NextEntryId, Name, Expression, Period});
}

SaErrorT kvnHpiNamedActionListCreate(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *ListName) {
  return HpiCall(437, {&SessionId, ListName}, {});
}

SaErrorT kvnHpiNamedActionListRemove(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *ListName) {
  return HpiCall(438, {&SessionId, ListName}, {});
}

SaErrorT kvnHpiNamedActionListGetNext(SaHpiSessionIdT SessionId, SaHpiEntryIdT EntryId, SaHpiEntryIdT *NextEntryId,
                                      SaHpiTextBufferT *ListName) {
  return HpiCall(439, {&SessionId, &EntryId}, {NextEntryId, ListName});
}

SaErrorT kvnHpiEventActionListNameGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *FilterName,
                                      SaHpiTextBufferT *ListName) {
  return HpiCall(440, {&SessionId, FilterName}, {ListName});
}

SaErrorT kvnHpiEventActionListSetNamed(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *FilterName,
                                       const SaHpiTextBufferT *ListName) {
  return HpiCall(441, {&SessionId, FilterName, ListName}, {});
}

SaErrorT kvnHpiEventActionListSetAnonymous(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *FilterName) {
  return HpiCall(442, {&SessionId, FilterName}, {});
}

SaErrorT kvnHpiNamedActionListActionAdd(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *ListName,
                                        SaHpiUint32T Disposition, SaHpiUint32T ActionType,
                                        const SaHpiTextBufferT *Parameter, SaHpiUint32T *ActionId) {
  return HpiCall(443, {&SessionId, ListName, &Disposition, &ActionType, Parameter}, {ActionId});
}

SaErrorT kvnHpiNamedActionListActionGet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *ListName,
                                        SaHpiUint32T ActionId, SaHpiUint32T *NextActionId, SaHpiUint32T *Disposition,
                                        SaHpiUint32T *ActionType, SaHpiTextBufferT *Parameter) {
  return HpiCall(444, {&SessionId, ListName, &ActionId}, {NextActionId, Disposition, ActionType, Parameter});
}

SaErrorT kvnHpiNamedActionListActionRemove(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *ListName,
                                           SaHpiUint32T ActionId) {
  return HpiCall(445, {&SessionId, ListName, &ActionId}, {});
}

SaErrorT kvnHpiNamedActionListActionSet(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *ListName,
                                        SaHpiUint32T ActionId, SaHpiUint32T Disposition, SaHpiUint32T ActionType,
                                        const SaHpiTextBufferT *Parameter) {
  return HpiCall(446, {&SessionId, ListName, &ActionId, &Disposition, &ActionType, Parameter}, {});
}

SaErrorT kvnHpiVerifyExpressionForSensor(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Expression,
                                         SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum, SaHpiBoolT *Matches) {
  return HpiCall(449, {&SessionId, Expression, &ResourceId, &SensorNum}, {Matches});
}

SaErrorT kvnHpiVerifyFilterForSensor(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *FilterName,
                                     SaHpiResourceIdT ResourceId, SaHpiSensorNumT SensorNum, SaHpiBoolT *Matches) {
  return HpiCall(450, {&SessionId, FilterName, &ResourceId, &SensorNum}, {Matches});
}

SaErrorT kvnHpiEventActionListConvertToNamed(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *FilterName,
                                             const SaHpiTextBufferT *ListName) {
  return HpiCall(452, {&SessionId, FilterName, ListName}, {});
}
