// Server reachability watch list.
// Client functions of the controller's extensions: each passes the addresses
// of its values in the daemon's order, and HpiCall refuses a missing text,
// record or output before anything is sent.
#include "client/hpi_call.h"
#include "client/hpi_functions.h"

SaErrorT kvnServerReachabilityAdd(SaHpiSessionIdT SessionId, const SaHpiTextBufferT *Destination, SaHpiUint32T SCNT,
                                  SaHpiUint32T UCNT, SaHpiUint32T ASCC, SaHpiUint32T AUNSC, SaHpiUint32T BRES,
                                  SaHpiBoolT Enabled, SaHpiUint32T *EntryId) {
  return HpiCall(159, {&SessionId, Destination, &SCNT, &UCNT, &ASCC, &AUNSC, &BRES, &Enabled}, {EntryId});
}

SaErrorT kvnServerReachabilitySet(SaHpiSessionIdT SessionId, SaHpiUint32T EntryId, const SaHpiTextBufferT *Destination,
                                  SaHpiUint32T SCNT, SaHpiUint32T UCNT, SaHpiUint32T ASCC, SaHpiUint32T AUNSC,
                                  SaHpiUint32T BRES, SaHpiBoolT Enabled) {
  return HpiCall(160, {&SessionId, &EntryId, Destination, &SCNT, &UCNT, &ASCC, &AUNSC, &BRES, &Enabled}, {});
}

SaErrorT kvnServerReachabilityGetCount(SaHpiSessionIdT SessionId, SaHpiUint32T *Count) {
  return HpiCall(161, {&SessionId}, {Count});
}

SaErrorT kvnServerReachabilityDelete(SaHpiSessionIdT SessionId, SaHpiUint32T EntryId) {
  return HpiCall(162, {&SessionId, &EntryId}, {});
}

SaErrorT kvnServerReachabilityGet(SaHpiSessionIdT SessionId, SaHpiUint32T EntryId, SaHpiTextBufferT *Destination,
                                  SaHpiUint32T *SCNT, SaHpiUint32T *UCNT, SaHpiUint32T *ASCC, SaHpiUint32T *AUNSC,
                                  SaHpiUint32T *BRES, SaHpiBoolT *Enabled, SaHpiBoolT *Reachable,
                                  SaHpiBoolT *Unreachable) {
  return HpiCall(164, {&SessionId, &EntryId},
                 {Destination, SCNT, UCNT, ASCC, AUNSC, BRES, Enabled, Reachable, Unreachable});
}
