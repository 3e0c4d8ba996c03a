#include "sim/control.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "sim/rpc_dispatch.h"

namespace kvnc::sim {

namespace {

Json Ok() { return {{"ok", true}}; }

struct CommandRow {
  const char *name;
  Json (ControlServer::*run)(const Json &command);
};

bool SendLine(int fd, const Json &answer) {
  std::string line = answer.dump(-1, ' ', false, Json::error_handler_t::replace);
  line += '\n';
  size_t sent = 0;
  while (sent < line.size()) {
    const ssize_t n = send(fd, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

bool ControlServer::Start(const std::string &path, std::string *error) {
  const int fd = ListenUnix(path, 0600, error);
  if (fd < 0) return false;
  acceptor_ = std::make_unique<Acceptor>(fd, 16, [this](int connection) { ServeConnection(connection); });
  if (acceptor_->Start()) return true;
  *error = "cannot start the accepting thread";
  return false;
}

void ControlServer::ServeConnection(int fd) {
  std::string pending;
  char chunk[65536];
  for (;;) {
    const ssize_t n = recv(fd, chunk, sizeof chunk, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    pending.append(chunk, static_cast<size_t>(n));
    size_t end;
    while ((end = pending.find('\n')) != std::string::npos) {
      const std::string line = pending.substr(0, end);
      pending.erase(0, end + 1);
      if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
      Json answer;
      try {
        answer = Execute(Json::parse(line));
      } catch (const std::exception &e) {
        answer = {{"ok", false}, {"error", std::string("not JSON: ") + e.what()}};
      }
      if (!SendLine(fd, answer)) {
        close(fd);
        return;
      }
    }
    if (pending.size() > kMaxLine) {
      SendLine(fd, {{"ok", false}, {"error", "line too long"}});
      break;
    }
  }
  close(fd);
}

Json ControlServer::Execute(const Json &command) {
  static constexpr CommandRow kCommands[] = {
      {"ping", &ControlServer::Ping},
      {"load", &ControlServer::Load},
      {"reset", &ControlServer::Reset},
      {"dump", &ControlServer::Dump},
      {"set", &ControlServer::Set},
      {"fault", &ControlServer::Fault},
      {"clear_faults", &ControlServer::ClearFaults},
      {"journal", &ControlServer::Journal},
      {"sessions", &ControlServer::Sessions},
  };
  try {
    if (!command.is_object() || !command.contains("cmd") || !command["cmd"].is_string()) {
      return {{"ok", false}, {"error", "a command is an object with a string \"cmd\""}};
    }
    const std::string name = command["cmd"].get<std::string>();
    for (const CommandRow &row : kCommands) {
      if (name == row.name) return (this->*row.run)(command);
    }
    return {{"ok", false}, {"error", "unknown command " + name}};
  } catch (const std::exception &e) {
    return {{"ok", false}, {"error", e.what()}};
  }
}

Json ControlServer::Ping(const Json &) { return Ok(); }

Json ControlServer::Load(const Json &command) {
  Json model;
  if (command.value("demo", false)) {
    model = Json::parse(DemoModelText());
  } else if (command.contains("model")) {
    model = command["model"];
  } else if (command.contains("file")) {
    model = ReadJsonFile(command["file"].get<std::string>());
  } else {
    return {{"ok", false}, {"error", "load needs \"model\", \"file\" or \"demo\""}};
  }
  sim_.Load(ModelFromJson(model));
  return Ok();
}

Json ControlServer::Reset(const Json &) {
  sim_.Reset();
  return Ok();
}

Json ControlServer::Dump(const Json &) {
  Json answer = Ok();
  answer["model"] = sim_.ModelJson();
  return answer;
}

Json ControlServer::Set(const Json &command) {
  const Json::json_pointer pointer(command.at("pointer").get<std::string>());
  const Json &value = command.at("value");
  sim_.ChangeModel([&](Json &model) { model[pointer] = value; });
  return Ok();
}

Json ControlServer::Fault(const Json &command) {
  FaultRule rule;
  rule.rpc = command.at("rpc").get<uint32_t>();
  rule.remaining = command.value("count", 1u);
  if (command.contains("error")) rule.error = command["error"].get<SaErrorT>();
  rule.delay_ms = command.value("delay_ms", 0u);
  rule.drop = command.value("drop", false);
  rule.cut = command.value("cut", false);
  if (command.contains("reply_id")) rule.reply_id = command["reply_id"].get<uint32_t>();
  if (command.contains("output")) {
    OutputOverride output;
    output.output = command["output"].get<uint32_t>();
    if (command.contains("member")) output.member = command["member"].get<uint32_t>();
    output.value = command.at("value").get<uint64_t>();
    // With rpc 0 the rule meets RPCs of every shape; it changes only those that have the value.
    if (rule.rpc != 0) {
      if (std::string problem = CheckOutputOverride(rule.rpc, output); !problem.empty()) {
        return {{"ok", false}, {"error", problem}};
      }
    }
    rule.output = output;
  }
  sim_.AddFault(rule);
  return Ok();
}

Json ControlServer::ClearFaults(const Json &) {
  sim_.ClearFaults();
  return Ok();
}

Json ControlServer::Journal(const Json &command) {
  Json answer = Ok();
  Json calls = Json::array();
  for (const JournalCall &call : sim_.Journal(command.value("keep", false))) calls.push_back(JournalCallJson(call));
  answer["calls"] = std::move(calls);
  return answer;
}

Json ControlServer::Sessions(const Json &) {
  Json sessions = Json::array();
  auto lock = sim_.Lock();
  for (const auto &[id, session] : sim_.sessions()) sessions.push_back({{"id", id}, {"uid", session.uid}});
  Json answer = Ok();
  answer["sessions"] = std::move(sessions);
  return answer;
}

}  // namespace kvnc::sim
