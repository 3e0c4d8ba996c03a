// The daemon's socket: frames in, frames out, as the client library expects
// of the controller daemon. Each connection is served on a thread of its own
// and may carry any number of requests (the client sends one, and resends it
// once on the same connection after a failed read).
#pragma once

#include <memory>
#include <string>

#include "sim/listener.h"
#include "sim/simulator.h"

namespace kvnc::sim {

class RpcServer {
 public:
  explicit RpcServer(Simulator &sim) : sim_(sim) {}
  // Listens on `path` (mode 0666: every user's threads connect) and serves
  // until the process ends.
  bool Start(const std::string &path, std::string *error);

  // Connections served at once; more wait in the backlog.
  static constexpr size_t kMaxConnections = 256;

 private:
  void ServeConnection(int fd);

  Simulator &sim_;
  std::unique_ptr<Acceptor> acceptor_;
};

}  // namespace kvnc::sim
