// Receives what the program sends to syslog: binds a datagram socket at
// /dev/log (only inside the hermetic environment, where /dev/log is free).
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kvnc::test {

struct SyslogLine {
  int priority = -1;    // facility * 8 + severity
  std::string ident;    // program name before "[pid]"
  std::string message;  // text after "ident[pid]: "
  std::string text;     // message without the log's "[tid]: " prefix
};

class SyslogSink {
 public:
  explicit SyslogSink(const std::string &path = "/dev/log");
  ~SyslogSink();
  SyslogSink(const SyslogSink &) = delete;
  SyslogSink &operator=(const SyslogSink &) = delete;

  std::vector<SyslogLine> Lines();
  void Clear();
  // Waits until a line whose text contains `fragment` arrived; returns it,
  // or a line with priority -1 after the timeout.
  SyslogLine WaitFor(const std::string &fragment, std::chrono::milliseconds timeout = std::chrono::seconds(5));
  // Lines whose text contains `fragment`.
  std::vector<SyslogLine> Matching(const std::string &fragment);

  static SyslogLine Parse(const std::string &datagram);

 private:
  void Run();
  std::string path_;
  int fd_ = -1;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<SyslogLine> lines_;
  std::thread thread_;
};

}  // namespace kvnc::test

namespace kvnc::test {

// Aborts the test program unless it runs inside the hermetic environment
// (tests/hermetic/run-hermetic): the tests below use the appliance's fixed
// paths and must never do so on the host.
void RequireHermetic();

// The one sink of the test program, bound at /dev/log on first use.
SyslogSink &Syslog();

}  // namespace kvnc::test
