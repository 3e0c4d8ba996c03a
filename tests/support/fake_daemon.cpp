#include "tests/support/fake_daemon.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kvnc::test {

FakeDaemon::FakeDaemon(const std::string &path, Handler handler) : path_(path), handler_(std::move(handler)) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path_.size() >= sizeof address.sun_path) return;
  std::memcpy(address.sun_path, path_.c_str(), path_.size() + 1);
  unlink(path_.c_str());
  // Non-blocking, so that Stop() can take the connections still queued.
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return;
  if (bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 || listen(fd, 64) != 0) {
    close(fd);
    return;
  }
  stop_fd_ = eventfd(0, EFD_CLOEXEC);
  if (stop_fd_ < 0) {
    close(fd);
    unlink(path_.c_str());
    return;
  }
  listen_fd_ = fd;
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

void FakeDaemon::Stop() {
  if (listen_fd_ >= 0) {
    const uint64_t one = 1;
    (void)!write(stop_fd_, &one, sizeof one);
    acceptor_.join();
    close(listen_fd_);
    listen_fd_ = -1;
    unlink(path_.c_str());
  }
  if (stop_fd_ >= 0) close(stop_fd_);
  stop_fd_ = -1;
  for (std::thread &worker : workers_) worker.join();
  workers_.clear();
}

void FakeDaemon::AcceptLoop() {
  for (;;) {
    pollfd fds[2] = {{listen_fd_, POLLIN, 0}, {stop_fd_, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    // Serve what is queued even when asked to stop: a client that connected
    // before Stop() must be counted and handled.
    for (;;) {
      const int fd = accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);  // blocking descriptor
      if (fd < 0) break;
      connections_.fetch_add(1);
      std::lock_guard<std::mutex> lock(workers_mutex_);
      workers_.emplace_back([this, fd] {
        handler_(fd);
        close(fd);
      });
    }
    if (fds[1].revents != 0) return;
  }
}

bool ReadExactly(int fd, void *buffer, size_t n) {
  auto *bytes = static_cast<uint8_t *>(buffer);
  size_t done = 0;
  while (done < n) {
    const ssize_t got = recv(fd, bytes + done, n - done, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += static_cast<size_t>(got);
  }
  return true;
}

bool WriteAll(int fd, const void *buffer, size_t n) {
  const auto *bytes = static_cast<const uint8_t *>(buffer);
  size_t done = 0;
  while (done < n) {
    const ssize_t put = send(fd, bytes + done, n - done, MSG_NOSIGNAL);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<size_t>(put);
  }
  return true;
}

bool WriteAll(int fd, const std::vector<uint8_t> &bytes) { return WriteAll(fd, bytes.data(), bytes.size()); }

std::vector<uint8_t> ReadToEnd(int fd) {
  std::vector<uint8_t> all;
  uint8_t chunk[4096];
  for (;;) {
    const ssize_t got = recv(fd, chunk, sizeof chunk, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return all;
    all.insert(all.end(), chunk, chunk + got);
  }
}

bool ReadRequestFrame(int fd, RawFrame *frame) {
  frame->header.assign(12, 0);
  if (!ReadExactly(fd, frame->header.data(), 12)) return false;
  const uint8_t *h = frame->header.data();
  const uint32_t length = static_cast<uint32_t>(h[8]) | static_cast<uint32_t>(h[9]) << 8 |
                          static_cast<uint32_t>(h[10]) << 16 | static_cast<uint32_t>(h[11]) << 24;
  if (length > 65523) return false;
  frame->payload.assign(length, 0);
  return length == 0 || ReadExactly(fd, frame->payload.data(), length);
}

}  // namespace kvnc::test
