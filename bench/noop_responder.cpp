// noop_responder [SOCKET]: the yardstick of bench/ratio.sh. A FastCGI
// responder shaped like kvnc-api (24 threads accepting on one Unix socket,
// each reading the POST body and writing one JSON reply) that does no work
// at all: every request gets the same fixed reply. Whatever the web server
// and the FastCGI library cost per request shows in its throughput; the API's
// throughput over it is the share left after our own work.
#include <fcgiapp.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kThreads = 24;
constexpr int kBacklog = 1024;
constexpr const char *kDefaultSocket = "/tmp/noop-fastcgi.socket";
constexpr char kReply[] =
    "Content-type: application/json\n\n{\"MN\":null,\"status\":{\"IC\":0,\"RC\":0,\"RCT\":\"OK\"}}\n";

int listener = -1;

void *Serve(void *) {
  FCGX_Request request;
  FCGX_InitRequest(&request, listener, 0);
  char body[4096];
  while (FCGX_Accept_r(&request) >= 0) {
    // The body is read as the API reads it, then thrown away.
    while (FCGX_GetStr(body, sizeof body, request.in) > 0) {
    }
    FCGX_PutStr(kReply, sizeof kReply - 1, request.out);
    FCGX_Finish_r(&request);
  }
  FCGX_Free(&request, 1);
  return nullptr;
}

}  // namespace

int main(int argc, char **argv) {
  const char *path = argc > 1 ? argv[1] : kDefaultSocket;
  std::signal(SIGPIPE, SIG_IGN);
  // libfcgi's own SIGTERM handler only marks a shutdown that threads blocked
  // in accept() never see: the signal is taken here instead, and ends the
  // process at once.
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTERM);
  sigaddset(&stop, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stop, nullptr);
  FCGX_Init();
  unlink(path);
  listener = FCGX_OpenSocket(path, kBacklog);
  if (listener < 0) {
    std::fprintf(stderr, "noop_responder: cannot listen on %s\n", path);
    return 1;
  }
  chmod(path, 0666);  // nginx's workers may run as another user
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, 256 * 1024);
  pthread_t threads[kThreads];
  int started = 0;
  while (started < kThreads && pthread_create(&threads[started], &attributes, Serve, nullptr) == 0) ++started;
  pthread_attr_destroy(&attributes);
  if (started < kThreads) {
    std::fprintf(stderr, "noop_responder: started %d of %d threads\n", started, kThreads);
    return 1;
  }
  int signal_number = 0;
  sigwait(&stop, &signal_number);
  unlink(path);
  return 0;
}
