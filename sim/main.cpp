// kvnc-sim: a stand-in for the Korvane controller daemon, for the tests and
// the demo. It serves the daemon's RPC protocol on the daemon's socket from an
// appliance model (the built-in demo appliance, or a JSON file), and takes
// test commands on a control socket (see control.h).
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "client/eal_log.h"
#include "client/paths.h"
#include "sim/control.h"
#include "sim/events.h"
#include "sim/rpc_dispatch.h"
#include "sim/rpc_server.h"

namespace {

constexpr const char *kDefaultControlSocket = "/tmp/kvnc-sim.control";

struct Options {
  std::string socket = kvnc::paths::kDaemonSocket;
  std::string control = kDefaultControlSocket;
  std::string pid_file = kvnc::paths::kDaemonPidFile;
  std::string model_file;  // empty: the built-in demo appliance
};

void Usage(FILE *out) {
  std::fprintf(out,
               "usage: kvnc-sim [--model FILE] [--socket PATH] [--control PATH] [--pid-file PATH]\n"
               "  --model FILE     appliance model (JSON); default: the built-in demo appliance\n"
               "  --socket PATH    the daemon's RPC socket; default %s\n"
               "  --control PATH   the control socket for tests; default %s\n"
               "  --pid-file PATH  default %s\n",
               kvnc::paths::kDaemonSocket, kDefaultControlSocket, kvnc::paths::kDaemonPidFile);
}

bool ParseOptions(int argc, char **argv, Options *options) {
  struct Option {
    const char *name;
    std::string Options::*value;
  };
  static constexpr Option kOptions[] = {
      {"--model", &Options::model_file},
      {"--socket", &Options::socket},
      {"--control", &Options::control},
      {"--pid-file", &Options::pid_file},
  };
  for (int i = 1; i < argc; ++i) {
    const Option *match = nullptr;
    for (const Option &o : kOptions) {
      if (std::strcmp(argv[i], o.name) == 0) match = &o;
    }
    if (match == nullptr || i + 1 == argc) return false;
    options->*match->value = argv[++i];
  }
  return true;
}

// Written under a temporary name and renamed: a reader never sees half a pid.
bool WritePidFile(const std::string &path) {
  const std::string staging = path + ".new";
  const int fd = open(staging.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const std::string text = std::to_string(getpid()) + "\n";
  const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  return close(fd) == 0 && written && rename(staging.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char **argv) {
  using namespace kvnc::sim;
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    Usage(stderr);
    return 2;
  }
  eal_log_config.ident = "kvnc-sim";
  eal_log_config.to_syslog = 0;
  eal_log_config.stdout_mask = EAL_LOG_ERROR | EAL_LOG_WARNING;

  Model model;
  try {
    model = ModelFromJson(options.model_file.empty() ? Json::parse(DemoModelText()) : ReadJsonFile(options.model_file));
  } catch (const std::exception &e) {
    std::fprintf(stderr, "kvnc-sim: bad model: %s\n", e.what());
    return 2;
  }
  const std::vector<std::string> problems = CheckSimRpcTable();
  for (const std::string &problem : problems) std::fprintf(stderr, "kvnc-sim: %s\n", problem.c_str());
  if (!problems.empty()) return 3;

  // Signals are taken by sigwait below; every other thread inherits the mask.
  sigset_t stop;
  sigemptyset(&stop);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&stop, s);
  pthread_sigmask(SIG_BLOCK, &stop, nullptr);
  signal(SIGPIPE, SIG_IGN);

  Simulator sim(std::move(model));
  RpcServer rpc(sim);
  ControlServer control(sim);
  std::string error;
  if (!control.Start(options.control, &error) || !rpc.Start(options.socket, &error)) {
    std::fprintf(stderr, "kvnc-sim: %s\n", error.c_str());
    return 1;
  }
  // Last: the pid file tells the API that the daemon is up.
  if (!WritePidFile(options.pid_file)) {
    std::fprintf(stderr, "kvnc-sim: cannot write %s: %s\n", options.pid_file.c_str(), std::strerror(errno));
    return 1;
  }
  std::printf("kvnc-sim: serving %s (control %s)\n", options.socket.c_str(), options.control.c_str());
  std::fflush(stdout);

  // The daemon watches its sensors all the time: a crossing is logged, and
  // its alarm raised, within a second even when nobody asks.
  std::thread([&sim] {
    for (;;) {
      std::this_thread::sleep_for(std::chrono::seconds(1));
      auto lock = sim.Lock();
      ObserveSensors(sim.model());
      AdvanceGroupJobs(sim.model(), WallClockSeconds());
    }
  }).detach();

  int signal_number = 0;
  sigwait(&stop, &signal_number);
  for (const std::string *path : {&options.pid_file, &options.socket, &options.control}) unlink(path->c_str());
  std::fflush(stdout);
  _exit(0);  // connection threads may still be running: no destructors
}
