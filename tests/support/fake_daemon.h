// An in-process stand-in for the controller daemon: listens on a Unix-domain
// stream socket and runs a handler on each accepted connection, each in its
// own thread. Plus small blocking I/O helpers for the handlers.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kvnc::test {

class FakeDaemon {
 public:
  // The handler gets the connected descriptor; the daemon closes it after the
  // handler returns.
  using Handler = std::function<void(int fd)>;

  // Binds `path` (removing a stale socket file first) and starts accepting.
  // ok() tells whether that worked.
  FakeDaemon(const std::string &path, Handler handler);
  ~FakeDaemon() { Stop(); }
  // Stops accepting, waits for the running handlers, removes the socket file.
  // What the handlers recorded may be read afterwards without locking.
  void Stop();
  FakeDaemon(const FakeDaemon &) = delete;
  FakeDaemon &operator=(const FakeDaemon &) = delete;

  bool ok() const { return listen_fd_ >= 0; }
  int connections() const { return connections_.load(); }

 private:
  void AcceptLoop();

  std::string path_;
  Handler handler_;
  int listen_fd_ = -1;
  int stop_fd_ = -1;  // eventfd that wakes the accept loop
  std::atomic<int> connections_{0};
  std::thread acceptor_;
  std::mutex workers_mutex_;
  std::vector<std::thread> workers_;
};

// Exactly n bytes, or false on error / end of stream.
bool ReadExactly(int fd, void *buffer, size_t n);
bool WriteAll(int fd, const void *buffer, size_t n);
bool WriteAll(int fd, const std::vector<uint8_t> &bytes);
// Everything until the peer closes (or an error).
std::vector<uint8_t> ReadToEnd(int fd);

// One little-endian request frame as the client sends it: the 12 header bytes
// and the payload they announce.
struct RawFrame {
  std::vector<uint8_t> header;
  std::vector<uint8_t> payload;
};
bool ReadRequestFrame(int fd, RawFrame *frame);

}  // namespace kvnc::test
