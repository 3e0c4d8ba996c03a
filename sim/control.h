// The control channel through which tests arrange situations: a Unix socket
// (mode 0600) taking one JSON object per line and answering each with one
// JSON line, {"ok": true, ...} or {"ok": false, "error": "..."}.
//
//   {"cmd": "ping"}
//   {"cmd": "load", "model": {...}}, {"cmd": "load", "file": "/path.json"}
//   or {"cmd": "load", "demo": true} (the built-in demo appliance)
//        replaces the model and what "reset" returns to; clears faults and journal
//   {"cmd": "reset"}      back to the loaded model; clears faults and journal
//   {"cmd": "dump"}       -> {"ok": true, "model": {...}}, the model as it is now
//   {"cmd": "set", "pointer": "/resources/2001/sensors/1/reading/value", "value": 31.5}
//        sets one member of the model's JSON form (a JSON pointer; null clears
//        an optional member)
//   {"cmd": "fault", "rpc": 36, "count": 2, "error": -1011}
//        the next `count` (default 1) calls of RPC `rpc` (0: of any RPC) get,
//        each of these being optional:
//          "error": SaErrorT   answered without making the call
//          "delay_ms": n       served n ms late
//          "drop": true        the connection is closed without an answer
//          "cut": true         the connection is closed in the middle of the
//                              answer (its header and half its payload sent)
//          "reply_id": n       answered under RPC number n
//          "output": i, "value": v [, "member": m]
//                              an answer of SA_OK carries v in reply value i
//                              (0: the first after the SaErrorT), or in
//                              integer member m of it when it is a record:
//                              e.g. a next id that was handed out before
//   {"cmd": "clear_faults"}
//   {"cmd": "journal"}    -> {"ok": true, "calls": [...]}, then cleared
//                            ({"keep": true} leaves it). Each call:
//        {"seq", "rpc", "function", "uid", "args": [request values], "result",
//         "fault" when one was applied}; "result" is null for a dropped call
//         (a cut call has the result it would have had)
//   {"cmd": "sessions"}   -> {"ok": true, "sessions": [{"id", "uid"}, ...]}
#pragma once

#include <memory>
#include <string>

#include "sim/listener.h"
#include "sim/simulator.h"

namespace kvnc::sim {

class ControlServer {
 public:
  explicit ControlServer(Simulator &sim) : sim_(sim) {}
  bool Start(const std::string &path, std::string *error);
  // One command; never throws.
  Json Execute(const Json &command);

  static constexpr size_t kMaxLine = 16 * 1024 * 1024;

 private:
  void ServeConnection(int fd);

  Json Ping(const Json &command);
  Json Load(const Json &command);
  Json Reset(const Json &command);
  Json Dump(const Json &command);
  Json Set(const Json &command);
  Json Fault(const Json &command);
  Json ClearFaults(const Json &command);
  Json Journal(const Json &command);
  Json Sessions(const Json &command);

  Simulator &sim_;
  std::unique_ptr<Acceptor> acceptor_;
};

}  // namespace kvnc::sim
