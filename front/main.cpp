// kvnc-api: the FastCGI application behind the web UI. No options, no
// configuration file: it listens on the inherited FastCGI socket (started by
// a process manager) or on /tmp/api-fastcgi.socket-0, and serves with a
// fixed pool of worker threads until it is told to stop (exit status 0) or
// its listening socket fails (status 1, for the service manager to restart).
#include <fcgiapp.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/socket.h>
#include <syslog.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>

#include "client/eal_log.h"
#include "client/paths.h"
#include "client/thread_stack.h"
#include "front/request_loop.h"

// Every connection libfcgi accepts is made close-on-exec at the accept
// itself: the shell tools that handlers run must never inherit a client's
// connection, and a flag set after accept() would race with a fork on
// another worker. libfcgi calls accept() through the dynamic linker, so this
// definition in the executable takes its place.
extern "C" int accept(int fd, struct sockaddr *address,  // NOLINT(readability-inconsistent-declaration-parameter-name)
                      socklen_t *length) {
  return accept4(fd, address, length, SOCK_CLOEXEC);
}

namespace {

// During every RPC the controller client keeps three 64 KiB buffers on the
// stack (the marshalled request, the reply, and the transport's send buffer
// of header and payload): 192 KiB. The rest covers the handler, the JSON
// library, PAM's modules during login and the C library's syslog and stdio.
constexpr size_t kWorkerStackSize = ThreadStackSize(512 * 1024);

constexpr int kListenBacklog = 1024;

void *RunWorker(void *) {
  kvnc::WorkerLoop();
  return nullptr;
}

std::atomic<bool> stop_requested{false};

// SIGTERM, SIGINT and SIGUSR1 are blocked in every thread and taken here.
// Shutting the listening socket down makes every worker's pending and next
// accept fail, so each worker finishes its request in hand and ends; main
// then returns 0. (libfcgi's own handler would wake a single thread only, and
// after it every later accept fails at once: SIGUSR1, libfcgi's request for a
// graceful stop, would leave workers that neither serve nor end.)
void *WaitForStopSignal(void *signals) {
  int received = 0;
  sigwait(static_cast<const sigset_t *>(signals), &received);
  stop_requested = true;
  shutdown(0, SHUT_RDWR);
  return nullptr;
}

const char *BaseName(const char *path) {
  const char *slash = std::strrchr(path, '/');
  return slash != nullptr ? slash + 1 : path;
}

}  // namespace

int main(int argc, char **argv) {
  eal_log_config.ident = BaseName(argc > 0 ? argv[0] : "kvnc-api");
  eal_log_config.stdout_mask = 0;
  // Connected now rather than at the first line: when descriptors run out,
  // the line that says so could not open a socket of its own.
  openlog(eal_log_config.ident, LOG_CONS | LOG_NDELAY, LOG_DAEMON);

  // A write to a peer that has gone must fail, not end the process.
  std::signal(SIGPIPE, SIG_IGN);
  static sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGTERM);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGUSR1);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

  FCGX_Init();
  if (FCGX_IsCGI()) {
    const int listener = FCGX_OpenSocket(kvnc::paths::kFastCgiSocket, kListenBacklog);
    if (listener < 0) {
      eal_log(EAL_LOG_ERROR, "cannot listen on %s: %d\n", kvnc::paths::kFastCgiSocket, errno);
      return 1;
    }
    close(0);
    dup2(listener, 0);  // cloexec-ok: the listening socket, made close-on-exec just below
    close(listener);
  }
  fcntl(0, F_SETFD, FD_CLOEXEC);

  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, kWorkerStackSize);

  pthread_t stopper;
  if (pthread_create(&stopper, &attributes, WaitForStopSignal, &stop_signals) == 0) pthread_detach(stopper);

  pthread_t workers[kvnc::kWorkerCount];
  int started = 0;
  for (; started < kvnc::kWorkerCount; ++started) {
    if (pthread_create(&workers[started], &attributes, RunWorker, nullptr) != 0) {
      eal_log(EAL_LOG_ERROR, "cannot start worker %d\n", started);
      break;
    }
  }
  pthread_attr_destroy(&attributes);
  for (int i = 0; i < started; ++i) pthread_join(workers[i], nullptr);
  if (stop_requested) return 0;
  eal_log(EAL_LOG_ERROR, "no worker left: the listening socket failed\n");
  return 1;
}
