#include "tests/support/syslog_sink.h"

#include <poll.h>
#include <sys/stat.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace kvnc::test {

SyslogSink::SyslogSink(const std::string &path) : path_(path) {
  unlink(path_.c_str());
  fd_ = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path_.c_str(), sizeof address.sun_path - 1);
  if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
    throw std::runtime_error("cannot bind syslog sink at " + path_);
  }
  chmod(path_.c_str(), 0666);  // users' threads log too
  thread_ = std::thread([this] { Run(); });
}

SyslogSink::~SyslogSink() {
  stop_ = true;
  thread_.join();
  close(fd_);
  unlink(path_.c_str());
}

SyslogLine SyslogSink::Parse(const std::string &datagram) {
  SyslogLine line;
  size_t at = 0;
  if (datagram.size() > 2 && datagram[0] == '<') {
    const size_t close = datagram.find('>');
    line.priority = std::stoi(datagram.substr(1, close - 1));
    at = close + 1;
  }
  // "<pri>Mmm dd hh:mm:ss ident: message" (or "ident[pid]: " with LOG_PID)
  at += 16;  // the time stamp and its space
  const size_t colon = datagram.find(": ", at);
  if (at <= datagram.size() && colon != std::string::npos) {
    line.ident = datagram.substr(at, std::min(colon, datagram.find('[', at)) - at);
    line.message = datagram.substr(colon + 2);
  } else {
    line.message = datagram.substr(std::min(at, datagram.size()));
  }
  line.text = line.message;
  if (!line.text.empty() && line.text[0] == '[') {
    const size_t end = line.text.find("]: ");
    if (end != std::string::npos) line.text.erase(0, end + 3);
  }
  return line;
}

void SyslogSink::Run() {
  char buffer[4096];
  while (!stop_) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, 50) <= 0) continue;
    const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
    if (n <= 0) continue;
    SyslogLine line = Parse(std::string(buffer, static_cast<size_t>(n)));
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.push_back(std::move(line));
    arrived_.notify_all();
  }
}

std::vector<SyslogLine> SyslogSink::Lines() {
  std::lock_guard<std::mutex> lock(mutex_);
  return lines_;
}

void SyslogSink::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  lines_.clear();
}

SyslogLine SyslogSink::WaitFor(const std::string &fragment, std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  SyslogLine found;
  arrived_.wait_for(lock, timeout, [&] {
    for (const SyslogLine &line : lines_) {
      if (line.text.find(fragment) != std::string::npos) {
        found = line;
        return true;
      }
    }
    return false;
  });
  return found;
}

std::vector<SyslogLine> SyslogSink::Matching(const std::string &fragment) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<SyslogLine> out;
  for (const SyslogLine &line : lines_) {
    if (line.text.find(fragment) != std::string::npos) out.push_back(line);
  }
  return out;
}

}  // namespace kvnc::test

namespace kvnc::test {

void RequireHermetic() {
  const char *flag = std::getenv("KVNC_HERMETIC");
  if (flag == nullptr || std::strcmp(flag, "1") != 0) {
    std::fprintf(stderr,
                 "this test program uses the appliance's fixed paths: run it through "
                 "tests/hermetic/run-hermetic\n");
    std::abort();
  }
}

SyslogSink &Syslog() {
  RequireHermetic();
  static SyslogSink sink;
  return sink;
}

}  // namespace kvnc::test
