// One RPC to the controller daemon: the per-call client session and the
// generic entry HpiRpcCall that every client function goes through.
#pragma once

#include <cstdint>

#include "client/hpi_types.h"

class cKvnApiClientStreamSock;

// Addresses of one call's values. request[i] points at the i-th value of the
// RPC's request list; reply[0] is HpiRpcCall's own SaErrorT and is filled by
// HpiRpcCall itself, reply[1..] are the caller's outputs in reply-list order.
// Unused slots are null.
struct HpiParamBlock {
  const void *request[16];
  void *reply[16];  // reply[0] = slot 16, HpiRpcCall's own SaErrorT
};

// Opens a connection to the daemon, sends the request, reads and unpacks the
// reply, closes the connection. Outputs are written only when the result is
// SA_OK. Client-made results: SA_ERR_HPI_UNSUPPORTED_API (unknown number),
// SA_ERR_HPI_INTERNAL_ERROR (request not marshallable), SA_ERR_HPI_NO_RESPONSE
// (no connection, both attempts failed, or an unusable reply).
SaErrorT HpiRpcCall(uint32_t rpc_number, HpiParamBlock block);

// A connection to the daemon for the duration of one call.
class cKvnApiClientSession {
 public:
  cKvnApiClientSession() = default;
  virtual ~cKvnApiClientSession();
  cKvnApiClientSession(const cKvnApiClientSession &) = delete;
  cKvnApiClientSession &operator=(const cKvnApiClientSession &) = delete;

  // Connects to the daemon socket unless already connected. A socket that
  // someone other than the controller serves counts as no daemon.
  bool Open();
  // Closes and drops the connection; true when there was none.
  bool Close();
  // One request/reply exchange with at most one retry on the same connection.
  SaErrorT Rpc(uint32_t rpc_number, const void *const *request_pointers, void **reply_pointers);

 private:
  cKvnApiClientStreamSock *sock_ = nullptr;
};
