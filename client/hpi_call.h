// The common step of every client function: put the addresses of the call's
// values into the parameter block of HpiRpcCall and make the call.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "client/hpi_types.h"
#include "client/kvn_types.h"

// request: addresses of the request values in the RPC's order (at most 16);
// reply: the caller's output addresses in the order of the reply list after
// the SaErrorT (at most 15). Any null address is SA_ERR_HPI_INVALID_PARAMS and
// nothing is sent: the marshaller would read or write through it.
SaErrorT HpiCall(uint32_t rpc_number, std::initializer_list<const void *> request, std::initializer_list<void *> reply);

// A severity list can be sent when it exists and, unless it is empty, points
// at its values.
bool SeverityListSendable(const KvnSeverityListT *list);
