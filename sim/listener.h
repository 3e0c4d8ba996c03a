// Listening Unix-domain sockets and the threads that serve their connections.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <mutex>
#include <string>

namespace kvnc::sim {

// Binds and listens on `path` with file mode `mode`. The socket appears at
// `path` only once it accepts connections (it is bound under a temporary name
// and renamed), replacing whatever was there. Returns the descriptor
// (close-on-exec) or -1 with `error` set.
int ListenUnix(const std::string &path, mode_t mode, std::string *error);

// Runs `body` on a detached thread with a stack of `stack_size` bytes, so that
// hundreds of connections fit a 32-bit address space too. False when no
// thread could be started.
bool SpawnDetached(std::function<void()> body, size_t stack_size);

// Accepts connections on `listen_fd` for ever with a pool of threads that
// each accept one connection, serve it with `serve` (which owns the
// descriptor) and go back to accepting. The pool starts with one thread and
// grows by one whenever every thread is busy, up to `limit`; further
// connections wait in the backlog. Threads are kept, not ended, so a busy
// daemon does not pay a thread start per connection.
class Acceptor {
 public:
  Acceptor(int listen_fd, size_t limit, std::function<void(int fd)> serve)
      : listen_fd_(listen_fd), limit_(limit), serve_(std::move(serve)) {}
  bool Start();

 private:
  bool AddThread();  // with mutex_ held
  void Loop();

  int listen_fd_;
  size_t limit_;
  std::function<void(int fd)> serve_;
  std::mutex mutex_;
  size_t threads_ = 0;
  size_t idle_ = 0;  // threads waiting in accept()
};

}  // namespace kvnc::sim
