#include "client/client_session.h"

#include <chrono>
#include <cstdio>
#include <new>
#include <thread>

#include "client/eal_log.h"
#include "client/marshal.h"
#include "client/paths.h"
#include "client/transport.h"

namespace {

// Request and reply each fit one 64 KiB buffer. Both live on the calling
// thread's stack, as does the transport's send buffer, so that concurrent
// calls share nothing: a call needs about 200 KiB of stack, which the worker
// threads are given explicitly. (Thread-local buffers would cost every thread
// of the process that much static TLS, whether it ever calls the daemon or not.)
constexpr uint32_t kRpcBufferSize = 65536;

// Pause before the single retry of a failed exchange.
constexpr std::chrono::seconds kRetryPause{2};

}  // namespace

cKvnApiClientSession::~cKvnApiClientSession() { Close(); }

bool cKvnApiClientSession::Open() {
  if (sock_ == nullptr) {
    sock_ = new (std::nothrow) cKvnApiClientStreamSock();
  } else if (sock_->Descriptor() != -1) {
    return true;
  }
  if (sock_ != nullptr && sock_->ConnectDaemon(kvnc::paths::kDaemonSocket)) return true;
  delete sock_;
  sock_ = nullptr;
  std::fputs("cKvnApiClientSession: cannot open connection to Korvane!\n", stderr);
  return false;
}

bool cKvnApiClientSession::Close() {
  if (sock_ == nullptr) return true;
  const bool closed = sock_->CloseSocket();
  delete sock_;
  sock_ = nullptr;
  return closed;
}

SaErrorT cKvnApiClientSession::Rpc(uint32_t rpc_number, const void *const *request_pointers, void **reply_pointers) {
  const RpcMarshalEntry *entry = FindRpcMarshal(rpc_number);
  if (entry == nullptr) return SA_ERR_HPI_UNSUPPORTED_API;

  // Bounded by what one frame may carry, so a request that could never be
  // sent is reported as unmarshallable instead of failing the send twice.
  uint8_t request[kRpcBufferSize];
  const int request_length = MarshalRequest(entry, request, kFrameMaxPayload, request_pointers);
  if (request_length < 0) return SA_ERR_HPI_INTERNAL_ERROR;

  uint8_t reply[kRpcBufferSize];
  uint8_t reply_type = 0;
  uint32_t reply_id = 0;
  uint32_t reply_length = 0;
  int byte_order = kFrameLittleEndian;
  for (unsigned attempt = 1;; ++attempt) {
    if (sock_ == nullptr || sock_->Descriptor() == -1) {
      if (!Open()) return SA_ERR_HPI_NO_RESPONSE;
    }
    eal_log(EAL_LOG_TRACE, "Before write message\n");
    if (sock_->SendMessage(kFrameTypeRpc, rpc_number, request, static_cast<uint32_t>(request_length))) {
      const bool read = sock_->ReceiveMessage(&reply_type, &reply_id, reply, sizeof reply, &reply_length, &byte_order);
      eal_log(EAL_LOG_TRACE, "After read message, rc=%d, len=%d\n", read ? 1 : 0, static_cast<int>(reply_length));
      if (read) break;
    }
    std::this_thread::sleep_for(kRetryPause);
    if (attempt == 2) return SA_ERR_HPI_NO_RESPONSE;
    std::fprintf(stderr, "Session: RPC request %u, Attempt %u\n", static_cast<unsigned>(rpc_number), attempt);
    // The retry resends the same request on the same connection.
  }

  // Checked before anything is demarshalled: a reply to some other request
  // must not reach the caller's output variables.
  if (reply_type != kFrameTypeRpc || reply_id != rpc_number) return SA_ERR_HPI_NO_RESPONSE;

  SaErrorT rv = SA_ERR_HPI_NO_RESPONSE;
  reply_pointers[0] = &rv;
  const int consumed = DemarshalReply(byte_order, entry, reply, reply_length, reply_pointers);
  eal_log(EAL_LOG_TRACE, "After demarshal reply, rv=%d\n", static_cast<int>(rv));
  if (consumed < 1) return SA_ERR_HPI_NO_RESPONSE;
  return rv;
}

SaErrorT HpiRpcCall(uint32_t rpc_number, HpiParamBlock block) {
  cKvnApiClientSession session;
  if (!session.Open()) {
    eal_log(EAL_LOG_ERROR, "Failed to open a session to the Korvane!\n");
    session.Close();
    return SA_ERR_HPI_NO_RESPONSE;
  }
  const SaErrorT result = session.Rpc(rpc_number, block.request, block.reply);
  session.Close();
  return result;
}
