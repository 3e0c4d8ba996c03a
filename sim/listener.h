// Listening Unix-domain sockets and the threads that serve their connections.
#pragma once

#include <sys/types.h>

#include <condition_variable>
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

// Accepts connections on `listen_fd` for ever, each served by `serve` on a
// thread of its own (which owns the descriptor); at most `limit` at once, the
// others wait in the backlog.
class Acceptor {
 public:
  Acceptor(int listen_fd, size_t limit, std::function<void(int fd)> serve)
      : listen_fd_(listen_fd), limit_(limit), serve_(std::move(serve)) {}
  bool Start();

 private:
  void Loop();

  int listen_fd_;
  size_t limit_;
  std::function<void(int fd)> serve_;
  std::mutex mutex_;
  std::condition_variable slot_free_;
  size_t active_ = 0;
};

}  // namespace kvnc::sim
