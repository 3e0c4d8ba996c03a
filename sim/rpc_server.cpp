#include "sim/rpc_server.h"

#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

#include "client/marshal.h"
#include "client/transport.h"
#include "sim/rpc_dispatch.h"

namespace kvnc::sim {

namespace {

// A peer that sends nothing (or reads nothing) for this long is hung up on.
constexpr time_t kIdleSeconds = 10;

// One line of the journal; `fault` names the fault applied to the call, if any.
Json JournalEntry(const RpcCall &call, const char *fault, bool answered) {
  const RpcMarshalEntry *entry = FindRpcMarshal(call.rpc);
  Json record = {
      {"rpc", call.rpc},
      {"function", entry != nullptr && entry->function_name != nullptr ? Json(entry->function_name) : Json(nullptr)},
      {"uid", call.uid},
      {"args", call.args}};
  record["result"] = answered ? Json(call.result) : Json(nullptr);
  if (fault != nullptr) record["fault"] = fault;
  return record;
}

const char *FaultName(const FaultRule &fault) {
  if (fault.drop) return "drop";
  if (fault.error && *fault.error != SA_OK) return "error";
  if (fault.reply_id) return "reply_id";
  if (fault.delay_ms != 0) return "delay";
  return nullptr;
}

}  // namespace

bool RpcServer::Start(const std::string &path, std::string *error) {
  const int fd = ListenUnix(path, 0666, error);
  if (fd < 0) return false;
  acceptor_ = std::make_unique<Acceptor>(fd, kMaxConnections, [this](int connection) { ServeConnection(connection); });
  if (acceptor_->Start()) return true;
  *error = "cannot start the accepting thread";
  return false;
}

void RpcServer::ServeConnection(int fd) {
  cKvnStreamSock socket(fd);  // closes the connection when done
  ucred peer{};
  socklen_t peer_length = sizeof peer;
  if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &peer_length) != 0) return;
  const timeval idle{kIdleSeconds, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &idle, sizeof idle);
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &idle, sizeof idle);

  std::vector<uint8_t> request(kFrameMaxPayload);
  for (;;) {
    uint8_t type = 0;
    uint32_t id = 0, length = 0;
    int byte_order = kFrameLittleEndian;
    if (!socket.ReceiveMessage(&type, &id, request.data(), static_cast<uint32_t>(request.size()), &length,
                               &byte_order)) {
      return;  // closed, garbage header, or a payload larger than any request
    }
    if (type != kFrameTypeRpc) return;  // not a request: hang up

    RpcCall call;
    call.rpc = id;
    call.uid = static_cast<uint32_t>(peer.uid);
    call.byte_order = byte_order;
    call.payload = request.data();
    call.length = length;

    const std::optional<FaultRule> fault = sim_.TakeFault(id);
    if (fault && fault->delay_ms != 0) std::this_thread::sleep_for(std::chrono::milliseconds(fault->delay_ms));
    if (fault && fault->drop) {
      call.args = DecodeArguments(call);
      sim_.Record(JournalEntry(call, "drop", false));
      return;
    }
    if (fault && fault->error && *fault->error != SA_OK) call.injected = fault->error;

    ServeRpc(sim_, call);
    sim_.Record(JournalEntry(call, fault ? FaultName(*fault) : nullptr, true));
    const uint32_t reply_id = fault && fault->reply_id ? *fault->reply_id : id;
    if (!socket.SendMessage(kFrameTypeRpc, reply_id, call.reply.data(), static_cast<uint32_t>(call.reply.size()))) {
      return;
    }
  }
}

}  // namespace kvnc::sim
