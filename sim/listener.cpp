#include "sim/listener.h"

#include <pthread.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "client/thread_stack.h"

namespace kvnc::sim {

namespace {

bool MakeAddress(const std::string &path, sockaddr_un *address, socklen_t *length) {
  *address = {};
  address->sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address->sun_path) return false;
  std::memcpy(address->sun_path, path.data(), path.size());
  *length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() + 1);
  return true;
}

void *RunBody(void *argument) {
  std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()> *>(argument));
  (*body)();
  return nullptr;
}

}  // namespace

int ListenUnix(const std::string &path, mode_t mode, std::string *error) {
  const std::string staging = path + ".new-" + std::to_string(getpid());
  sockaddr_un address;
  socklen_t length;
  if (!MakeAddress(staging, &address, &length)) {
    *error = "socket path too long: " + path;
    return -1;
  }
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    *error = std::string("socket: ") + std::strerror(errno);
    return -1;
  }
  unlink(staging.c_str());
  if (bind(fd, reinterpret_cast<const sockaddr *>(&address), length) != 0 || chmod(staging.c_str(), mode) != 0 ||
      listen(fd, 256) != 0 || rename(staging.c_str(), path.c_str()) != 0) {
    *error = path + ": " + std::strerror(errno);
    close(fd);
    unlink(staging.c_str());
    return -1;
  }
  return fd;
}

bool SpawnDetached(std::function<void()> body, size_t stack_size) {
  auto *argument = new std::function<void()>(std::move(body));
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, stack_size);
  pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
  pthread_t thread;
  const int rc = pthread_create(&thread, &attributes, RunBody, argument);
  pthread_attr_destroy(&attributes);
  if (rc != 0) delete argument;
  return rc == 0;
}

bool Acceptor::Start() {
  std::lock_guard<std::mutex> lock(mutex_);
  return AddThread();
}

bool Acceptor::AddThread() {
  constexpr size_t kConnectionStack =
      ThreadStackSize(512 * 1024);  // a call's buffers are on the heap; the transport's 64 KiB is not
  if (!SpawnDetached([this] { Loop(); }, kConnectionStack)) return false;
  ++threads_;
  ++idle_;
  return true;
}

void Acceptor::Loop() {
  for (;;) {
    const int fd = accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED || errno == EMFILE || errno == ENFILE || errno == ENOBUFS ||
          errno == ENOMEM) {
        usleep(10000);  // transient: try again shortly
        continue;
      }
      std::fprintf(stderr, "kvnc-sim: accept: %s; no more connections\n", std::strerror(errno));
      return;
    }
    {
      // The last idle thread took a connection: start another one to accept
      // the next while this one serves (none when the limit is reached).
      std::lock_guard<std::mutex> lock(mutex_);
      if (--idle_ == 0 && threads_ < limit_) AddThread();
    }
    serve_(fd);
    std::lock_guard<std::mutex> lock(mutex_);
    ++idle_;
  }
}

}  // namespace kvnc::sim
