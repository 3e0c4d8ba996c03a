// The daemon's socket: frames in, frames out, as the client library expects
// of the controller daemon: one request per connection, answered, then the
// connection is closed (a client's resend on it after a failed read then
// fails, as it does against the daemon).
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
