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
constexpr int kIdleSeconds = 10;

JournalCall Journaled(const RpcCall &call, const char *fault, std::optional<SaErrorT> result) {
  JournalCall line;
  line.rpc = call.rpc;
  line.uid = call.uid;
  line.byte_order = call.byte_order;
  line.payload.assign(call.payload, call.payload + call.length);
  line.result = result;
  line.fault = fault;
  return line;
}

// The header of the answer, announcing all of it, and half its payload.
void SendHalfAnswer(int fd, uint32_t id, const std::vector<uint8_t> &payload) {
  std::vector<uint8_t> frame(kFrameHeaderSize);
  PutFrameHeader(frame.data(), kFrameTypeRpc, id, static_cast<uint32_t>(payload.size()));
  frame.insert(frame.end(), payload.begin(), payload.begin() + static_cast<ptrdiff_t>(payload.size() / 2));
  send(fd, frame.data(), frame.size(), MSG_NOSIGNAL);
}

const char *FaultName(const FaultRule &fault) {
  if (fault.drop) return "drop";
  if (fault.cut) return "cut";
  if (fault.error && *fault.error != SA_OK) return "error";
  if (fault.reply_id) return "reply_id";
  if (fault.output) return "output";
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
  socket.SetTimeouts(kIdleSeconds);

  // Kept by the thread for the connections it serves after this one.
  thread_local std::vector<uint8_t> request(kFrameMaxPayload);
  uint8_t type = 0;
  uint32_t id = 0, length = 0;
  int byte_order = kFrameLittleEndian;
  if (!socket.ReceiveMessage(&type, &id, request.data(), static_cast<uint32_t>(request.size()), &length, &byte_order)) {
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
    sim_.Record(Journaled(call, "drop", std::nullopt));
    return;
  }
  if (fault && fault->error && *fault->error != SA_OK) call.injected = fault->error;
  if (fault) call.output = fault->output;

  ServeRpc(sim_, call);
  sim_.Record(Journaled(call, fault ? FaultName(*fault) : nullptr, call.result));
  const uint32_t reply_id = fault && fault->reply_id ? *fault->reply_id : id;
  if (fault && fault->cut) {
    SendHalfAnswer(fd, reply_id, call.reply);
    return;
  }
  // One request per connection, as the daemon serves them: the connection
  // closes after the reply.
  socket.SendMessage(kFrameTypeRpc, reply_id, call.reply.data(), static_cast<uint32_t>(call.reply.size()));
}

}  // namespace kvnc::sim
