#include "tests/support/sim_control.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "client/paths.h"

namespace kvnc::test {

namespace {

using Json = nlohmann::json;

Json Failure(const std::string &why) { return {{"ok", false}, {"error", why}}; }

pid_t PidInFile(const char *path) {
  const int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  char text[16] = {};
  const ssize_t n = read(fd, text, sizeof text - 1);
  close(fd);
  return n > 0 ? static_cast<pid_t>(std::atoi(text)) : 0;
}

}  // namespace

SimProcess::SimProcess(const std::string &binary, const std::vector<std::string> &extra_args,
                       const std::string &log_file) {
  // Leftovers of an earlier simulator must not pass for this one.
  unlink(kvnc::paths::kDaemonPidFile);
  unlink(kSimControlSocket);
  std::vector<std::string> argv = {binary};
  argv.insert(argv.end(), extra_args.begin(), extra_args.end());
  child_ = ChildProcess(argv, log_file);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline && child_.Running()) {
    if (PidInFile(kvnc::paths::kDaemonPidFile) == child_.pid()) {
      ok_ = true;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

SimProcess::~SimProcess() {
  if (child_.pid() > 0) child_.Stop(SIGTERM);
}

Json SimProcess::Command(const Json &command) {
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return Failure("socket");
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, kSimControlSocket, sizeof address.sun_path - 1);
  const timeval timeout{30, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  if (connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
    close(fd);
    return Failure("cannot connect to the control socket");
  }
  const std::string line = command.dump() + "\n";
  std::string answer;
  bool complete = send(fd, line.data(), line.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(line.size());
  char chunk[65536];
  while (complete && (answer.empty() || answer.back() != '\n')) {
    const ssize_t n = recv(fd, chunk, sizeof chunk, 0);
    if (n <= 0) complete = false;
    if (n > 0) answer.append(chunk, static_cast<size_t>(n));
  }
  close(fd);
  if (!complete) return Failure("no answer on the control socket");
  return Json::parse(answer, nullptr, false);
}

Json SimProcess::Expect(const Json &command) {
  Json answer = Command(command);
  if (!answer.is_object() || answer.value("ok", false) != true) {
    ADD_FAILURE() << "simulator command " << command.dump() << " answered " << answer.dump();
  }
  return answer;
}

void SimProcess::Reset() { Expect({{"cmd", "reset"}}); }

void SimProcess::LoadDemo() { Expect({{"cmd", "load"}, {"demo", true}}); }

void SimProcess::Set(const std::string &pointer, const Json &value) {
  Expect({{"cmd", "set"}, {"pointer", pointer}, {"value", value}});
}

void SimProcess::Fault(const Json &rule) {
  Json command = rule;
  command["cmd"] = "fault";
  Expect(command);
}

Json SimProcess::Journal() { return Expect({{"cmd", "journal"}}).value("calls", Json::array()); }

Json SimProcess::Dump() { return Expect({{"cmd", "dump"}}).value("model", Json::object()); }

}  // namespace kvnc::test
