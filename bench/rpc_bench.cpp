// Cost of one HpiRpcCall round trip (connect, send, receive, demarshal,
// close) against a minimal in-process daemon. HpiRpcCall always dials the
// daemon's fixed path, so run this inside a private mount namespace:
//   unshare --mount --propagation private sh -c 'mount -t tmpfs tmpfs /tmp && bench/rpc_bench'
#include <benchmark/benchmark.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <thread>

#include "client/client_session.h"
#include "client/eal_log.h"
#include "client/paths.h"

namespace {

bool ReadExactly(int fd, uint8_t *buffer, size_t n) {
  size_t done = 0;
  while (done < n) {
    const ssize_t got = recv(fd, buffer + done, n - done, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += static_cast<size_t>(got);
  }
  return true;
}

// Answers every saHpiSessionOpen (RPC 1) with SA_OK and session id 42, one
// connection at a time.
class MiniDaemon {
 public:
  MiniDaemon() {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, kvnc::paths::kDaemonSocket, sizeof address.sun_path - 1);
    listen_fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    stop_fd_ = eventfd(0, EFD_CLOEXEC);
    if (listen_fd_ < 0 || stop_fd_ < 0 ||
        bind(listen_fd_, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 || listen(listen_fd_, 16) != 0) {
      return;
    }
    ok_ = true;
    thread_ = std::thread([this] { Serve(); });
  }
  ~MiniDaemon() {
    if (ok_) {
      const uint64_t one = 1;
      (void)!write(stop_fd_, &one, sizeof one);
      thread_.join();
      unlink(kvnc::paths::kDaemonSocket);
    }
    if (listen_fd_ >= 0) close(listen_fd_);
    if (stop_fd_ >= 0) close(stop_fd_);
  }
  bool ok() const { return ok_; }

 private:
  void Serve() {
    // type 1, flags 0x11, id 1, length 8; SaErrorT 0; session id 42
    static const uint8_t kReply[20] = {0x01, 0x11, 0, 0, 0x01, 0, 0, 0, 0x08, 0, 0, 0, 0, 0, 0, 0, 0x2A, 0, 0, 0};
    for (;;) {
      pollfd fds[2] = {{listen_fd_, POLLIN, 0}, {stop_fd_, POLLIN, 0}};
      if (poll(fds, 2, -1) < 0 && errno != EINTR) return;
      if (fds[1].revents != 0) return;
      if (fds[0].revents == 0) continue;
      const int fd = accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) continue;
      uint8_t request[16];
      if (ReadExactly(fd, request, sizeof request)) {
        (void)!send(fd, kReply, sizeof kReply, MSG_NOSIGNAL);
        uint8_t rest;
        while (recv(fd, &rest, 1, 0) > 0) {
        }
      }
      close(fd);
    }
  }

  int listen_fd_ = -1;
  int stop_fd_ = -1;
  bool ok_ = false;
  std::thread thread_;
};

void BM_HpiRpcCallRoundTrip(benchmark::State &state) {
  struct stat existing;
  if (lstat(kvnc::paths::kDaemonSocket, &existing) == 0) {
    // Never take over a real daemon's socket.
    state.SkipWithError("daemon socket path exists; run in a private mount namespace with an empty /tmp");
    return;
  }
  eal_log_config.to_syslog = 0;
  eal_log_config.stdout_mask = 0;
  MiniDaemon daemon;
  if (!daemon.ok()) {
    state.SkipWithError("cannot listen on the daemon socket path");
    return;
  }
  uint32_t domain = 0;
  uint32_t session = 0;
  for (auto _ : state) {
    HpiParamBlock block = {};
    block.request[0] = &domain;
    block.reply[1] = &session;
    const SaErrorT rv = HpiRpcCall(1, block);
    if (rv != SA_OK || session != 42) {
      state.SkipWithError("RPC failed");
      break;
    }
    benchmark::DoNotOptimize(session);
  }
}
BENCHMARK(BM_HpiRpcCallRoundTrip)->UseRealTime();

}  // namespace
