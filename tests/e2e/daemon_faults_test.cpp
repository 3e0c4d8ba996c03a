// The program under load when the controller daemon misbehaves: stops, answers
// slowly, drops connections, or when the session file is taken away. Every
// request gets an answer in bounded time, no worker is lost, and service
// comes back by itself.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "client/paths.h"
#include "tests/support/api_test.h"
#include "tests/support/syslog_sink.h"

namespace kvnc::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using Json = nlohmann::json;

const Json kThresholds = {{"ID", 2001}, {"SNUM", 1}};  // FN 13: the probe's temperature thresholds
const Json kReadings = {{"SENS", {{{"ID", 2001}, {"SNUM", 2}, {"THRES", 0}, {"EMASK", 0}}}}};  // FN 12

std::string ReadText(const std::string &path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// One request of a load thread: its status (null when no reply came) and when
// it ran.
struct Timed {
  Json status;
  Clock::time_point start, end;
  int Rc() const { return status.is_object() ? status.value("RC", -1) : -1; }
  milliseconds Took() const { return std::chrono::duration_cast<milliseconds>(end - start); }
};
using History = std::vector<Timed>;

Timed TimedRequest(int i, const std::function<Json(int)> &request) {
  Timed t;
  t.start = Clock::now();
  try {
    const Json reply = request(i);
    if (reply.is_object()) t.status = reply.value("status", Json());
  } catch (const std::exception &) {
    // not JSON: recorded without a status
  }
  t.end = Clock::now();
  return t;
}

// `threads` threads sending requests one after the other (5 ms apart) until
// stopped, each keeping the history of its own.
class Load {
 public:
  Load(int threads, std::function<Json(int)> request) : histories_(static_cast<size_t>(threads)) {
    for (int i = 0; i < threads; ++i) workers_.emplace_back([this, i, request] { Run(i, request); });
  }
  ~Load() { Stop(); }
  Load(const Load &) = delete;
  Load &operator=(const Load &) = delete;

  std::vector<History> Stop() {
    stop_ = true;
    for (std::thread &t : workers_) {
      if (t.joinable()) t.join();
    }
    return histories_;
  }
  // Waits until `done` holds for the history of every thread; false on timeout.
  bool WaitUntilEach(const std::function<bool(const History &)> &done, milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        bool all = true;
        for (const History &h : histories_) all = all && done(h);
        if (all) return true;
      }
      if (Clock::now() > deadline) return false;
      std::this_thread::sleep_for(milliseconds(10));
    }
  }

 private:
  void Run(int i, const std::function<Json(int)> &request) {
    while (!stop_) {
      const Timed t = TimedRequest(i, request);
      {
        std::lock_guard<std::mutex> lock(mutex_);
        histories_[static_cast<size_t>(i)].push_back(t);
      }
      std::this_thread::sleep_for(milliseconds(5));
    }
  }

  std::mutex mutex_;
  std::atomic<bool> stop_{false};
  std::vector<History> histories_;
  std::vector<std::thread> workers_;
};

// `count` requests at once; their statuses and times, in thread order.
std::vector<Timed> AtOnce(int count, const std::function<Json(int)> &request) {
  std::vector<Timed> out(static_cast<size_t>(count));
  std::vector<std::thread> threads;
  for (int i = 0; i < count; ++i) {
    threads.emplace_back([&out, &request, i] { out[static_cast<size_t>(i)] = TimedRequest(i, request); });
  }
  for (std::thread &t : threads) t.join();
  return out;
}

// The suite's simulator steps off the daemon's fixed paths (it keeps running;
// its listening sockets are only renamed) so that another daemon can take
// them, and steps back on Restore() or at the end of the scope.
class ParkedSimulator {
 public:
  explicit ParkedSimulator(pid_t pid) : pid_(pid) {
    std::rename(paths::kDaemonSocket, kParkedSocket);
    std::rename(kSimControlSocket, kParkedControl);
    unlink(paths::kDaemonPidFile);
  }
  ~ParkedSimulator() { Restore(); }
  ParkedSimulator(const ParkedSimulator &) = delete;
  ParkedSimulator &operator=(const ParkedSimulator &) = delete;
  void Restore() {
    if (restored_) return;
    restored_ = true;
    std::rename(kParkedSocket, paths::kDaemonSocket);
    std::rename(kParkedControl, kSimControlSocket);
    WriteDaemonPidFile(pid_);
  }

 private:
  static constexpr const char *kParkedSocket = "/tmp/Korvane.parked";
  static constexpr const char *kParkedControl = "/tmp/kvnc-sim.control.parked";
  pid_t pid_;
  bool restored_ = false;
};

class DaemonFaults : public ApiTest {
 protected:
  void SetUp() override {
    ApiTest::SetUp();
    // The program's syslog connection is made by its first logged error:
    // made here, so that it does not count as a new descriptor later.
    Syslog();
    Post({{"FN", 3}});
    std::this_thread::sleep_for(milliseconds(100));  // the worker closes its connection after the reply
    descriptors_ = Targets();
    threads_ = ThreadCount(ApiPid());
  }
  void TearDown() override { WriteDaemonPidFile(sim().pid()); }

  // No descriptor or thread was left behind by the test (requests that were
  // still being finished get a moment).
  void ExpectNothingLeaked() {
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (Targets() != descriptors_ && Clock::now() < deadline) std::this_thread::sleep_for(milliseconds(20));
    EXPECT_EQ(Targets(), descriptors_) << "descriptors";
    EXPECT_EQ(ThreadCount(ApiPid()), threads_) << "threads";
  }

  // 24 requests at once, one per worker: all served, none is stuck. (The
  // bounds here and below prove that nothing waits for ever; they are wide
  // enough for a loaded 2-core machine under the sanitizers.)
  void ExpectEveryWorkerServes(const std::string &sid) {
    const auto start = Clock::now();
    for (const Timed &t : AtOnce(24, [&](int) { return Call(sid, 13, kThresholds); })) EXPECT_EQ(t.Rc(), 0);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
  }

 private:
  // What the program's descriptors are open on, by number.
  static std::vector<std::string> Targets() {
    std::vector<std::string> targets;
    for (const OpenDescriptor &d : OpenDescriptors(ApiPid())) {
      targets.push_back(std::to_string(d.fd) + " " + d.target);
    }
    std::sort(targets.begin(), targets.end());
    return targets;
  }

  std::vector<std::string> descriptors_;
  int threads_ = 0;
};

bool Is1012(const Timed &t) { return t.Rc() == 9 && t.status.value("IC", 0) == 1012; }

// The daemon stops while 8 clients keep sending FN 13, each of them with a
// call held in the daemon at that moment. Expected: those 8 calls are cut and
// answered RC 9 with IC 1012 after the client's retry (two pauses of 2 s:
// at least 4 s, under 15 s); every later request is RC 1 within 5 s; once the
// daemon is back, the same web session is served again (RC 0) and all 24
// workers are free. No reply is missing, none takes 15 s or more.
TEST_F(DaemonFaults, AStoppedDaemonFailsRequestsInBoundedTimeAndServiceResumes) {
  const std::string sid = LoginSid("admin", "admin-secret");
  Clock::time_point stopped, restored;
  std::vector<History> histories;
  {
    ParkedSimulator parked(sim().pid());
    auto daemon = std::make_unique<SimProcess>(kSimBinary, std::vector<std::string>{}, "/tmp/kvnc-sim-second.log");
    ASSERT_TRUE(daemon->ok());
    Load load(8, [&](int) { return Call(sid, 13, kThresholds); });
    const auto served = [](const History &h) { return !h.empty() && h.back().Rc() == 0; };
    ASSERT_TRUE(load.WaitUntilEach(served, std::chrono::seconds(10)));

    const Json held = {{"cmd", "fault"}, {"rpc", Rpc("saHpiSensorThresholdsGet")}, {"delay_ms", 3000}, {"count", 8}};
    ASSERT_EQ(daemon->Command(held).value("ok", false), true);
    std::this_thread::sleep_for(milliseconds(300));  // each client's next call is now held
    stopped = Clock::now();
    daemon.reset();  // SIGTERM: it removes its pid file and socket; the held calls are cut

    const auto refused = [&](const History &h) { return !h.empty() && h.back().start > stopped && h.back().Rc() == 1; };
    EXPECT_TRUE(load.WaitUntilEach(refused, std::chrono::seconds(20)));
    parked.Restore();
    restored = Clock::now();  // after: a request started while the pid file came back may still be refused
    const auto back = [&](const History &h) { return !h.empty() && h.back().start > restored && h.back().Rc() == 0; };
    EXPECT_TRUE(load.WaitUntilEach(back, std::chrono::seconds(15)));
    histories = load.Stop();
  }

  for (size_t i = 0; i < histories.size(); ++i) {
    SCOPED_TRACE("client " + std::to_string(i));
    int cut = 0;
    for (const Timed &t : histories[i]) {
      ASSERT_TRUE(t.status.is_object()) << "a request without reply";
      EXPECT_LT(t.Took(), std::chrono::seconds(15)) << t.status.dump();
      if (t.end < stopped || t.start > restored) {
        EXPECT_EQ(t.Rc(), 0) << t.status.dump();
      } else if (t.start < stopped) {
        EXPECT_TRUE(Is1012(t)) << t.status.dump();  // held in the daemon when it stopped
        EXPECT_GE(t.end - stopped, std::chrono::milliseconds(3900));
        ++cut;
      } else if (t.end < restored) {
        EXPECT_EQ(t.status, (Json{{"IC", 0}, {"RC", 1}, {"RCT", "The Telvar management service is not running."}}));
        EXPECT_LT(t.Took(), std::chrono::seconds(5));
      } else {
        EXPECT_TRUE(t.Rc() == 0 || t.Rc() == 1) << t.status.dump();  // sent while the daemon came back
      }
    }
    EXPECT_EQ(cut, 1);
  }
  EXPECT_EQ(Call(sid, 13, kThresholds)["status"]["RC"], 0);
  ExpectEveryWorkerServes(sid);
  ExpectNothingLeaked();
}

// Calls the daemon holds for 2.5 s. Expected: 12 such requests at once are
// all answered RC 0 in 2.5 s to 12 s together (30 s one after the other),
// while FN 12 requests next to them are answered in under 2 s each; 30 at
// once, more than the 24 workers, are all answered RC 0, the last ones in a
// second round (5 s to 15 s in all).
TEST_F(DaemonFaults, SlowRepliesHoldOnlyTheirOwnRequests) {
  const std::string sid = LoginSid("admin", "admin-secret");
  const uint32_t thresholds_get = Rpc("saHpiSensorThresholdsGet");

  constexpr milliseconds kHeld{2500};
  sim().Fault({{"rpc", thresholds_get}, {"delay_ms", kHeld.count()}, {"count", 12}});
  auto start = Clock::now();
  std::vector<Timed> fast;
  std::thread beside([&] {
    std::this_thread::sleep_for(milliseconds(200));
    for (int i = 0; i < 4; ++i) {
      Timed t;
      t.start = Clock::now();
      t.status = Call(sid, 12, kReadings)["status"];
      t.end = Clock::now();
      fast.push_back(t);
    }
  });
  const std::vector<Timed> slow = AtOnce(12, [&](int) { return Call(sid, 13, kThresholds); });
  beside.join();
  const auto together = Clock::now() - start;
  for (const Timed &t : slow) {
    EXPECT_EQ(t.Rc(), 0) << t.status.dump();
    EXPECT_GE(t.Took(), kHeld);
  }
  EXPECT_LT(together, std::chrono::seconds(12));
  for (const Timed &t : fast) {
    EXPECT_EQ(t.Rc(), 0) << t.status.dump();
    EXPECT_LT(t.Took(), milliseconds(2000));
  }

  sim().Fault({{"rpc", thresholds_get}, {"delay_ms", kHeld.count()}, {"count", 30}});
  start = Clock::now();
  const std::vector<Timed> many = AtOnce(30, [&](int) { return Call(sid, 13, kThresholds); });
  const auto all = Clock::now() - start;
  int second_round = 0;
  for (const Timed &t : many) {
    EXPECT_EQ(t.Rc(), 0) << t.status.dump();
    second_round += t.end - start >= 2 * kHeld ? 1 : 0;
  }
  // A worker serves one at a time: 24 workers end at most 24 in the first round.
  EXPECT_GE(second_round, 6);
  EXPECT_GE(all, 2 * kHeld);
  EXPECT_LT(all, std::chrono::seconds(15));
  ExpectNothingLeaked();
}

// The daemon closes connections without answering (one HPI session opening,
// one sensor call) or halfway through its answer (another sensor call),
// among 6 requests sent at once. Expected: the client
// retries each on its connection once and reports failure after two pauses
// of 2 s (at least 4 s, under 15 s): exactly 1 RC 4 "Can't open session" and
// 2 RC 9 "saHpiSensorThresholdsGet" with IC 1012; the other 3 requests are
// RC 0 in under 3.5 s. Nothing is left open.
TEST_F(DaemonFaults, DroppedConnectionsAreRetriedOnceAndReportedInBoundedTime) {
  const std::string sid = LoginSid("admin", "admin-secret");
  const std::string stderr_before = ReadText("/var/log/kvnc-api.out");
  sim().Fault({{"rpc", Rpc("saHpiSessionOpen")}, {"drop", true}, {"count", 1}});
  sim().Fault({{"rpc", Rpc("saHpiSensorThresholdsGet")}, {"drop", true}, {"count", 1}});
  sim().Fault({{"rpc", Rpc("saHpiSensorThresholdsGet")}, {"cut", true}, {"count", 1}});

  int no_session = 0, cut = 0, ok = 0;
  for (const Timed &t : AtOnce(6, [&](int) { return Call(sid, 13, kThresholds); })) {
    if (t.Rc() == 0) {
      ++ok;
      EXPECT_LT(t.Took(), milliseconds(3500));
      continue;
    }
    EXPECT_GE(t.Took(), milliseconds(4000)) << t.status.dump();
    EXPECT_LT(t.Took(), std::chrono::seconds(15)) << t.status.dump();
    if (t.status == Json{{"IC", 0}, {"RC", 4}, {"RCT", "Can't open session"}}) {
      ++no_session;
    } else {
      EXPECT_EQ(t.status, (Json{{"IC", 1012}, {"RC", 9}, {"RCT", "saHpiSensorThresholdsGet"}}));
      ++cut;
    }
  }
  EXPECT_EQ(no_session, 1);
  EXPECT_EQ(cut, 2);
  EXPECT_EQ(ok, 3);

  // The daemon saw each such call once: the retry went to the connection
  // it had closed. The program said so on its standard error.
  int dropped = 0, cut_short = 0;
  for (const Json &call : sim().Journal()) {
    dropped += call.value("fault", "") == "drop" ? 1 : 0;
    cut_short += call.value("fault", "") == "cut" ? 1 : 0;
  }
  EXPECT_EQ(dropped, 2);
  EXPECT_EQ(cut_short, 1);
  const std::string stderr_text = ReadText("/var/log/kvnc-api.out").substr(stderr_before.size());
  size_t retries = 0;
  for (size_t at = stderr_text.find(", Attempt 1\n"); at != std::string::npos;
       at = stderr_text.find(", Attempt 1\n", at + 1)) {
    ++retries;
  }
  EXPECT_EQ(retries, 3u) << stderr_text;

  EXPECT_EQ(Call(sid, 13, kThresholds)["status"]["RC"], 0);
  ExpectNothingLeaked();
}

// Four clients keep sending FN 13 while the session file is deleted or
// damaged (cut in the middle, an entry without its members, not JSON).
// Expected, each time: every client sees RC 0 until its session is gone and
// from then on only RC 2 "Bad session ID", each reply in under 5 s; the
// program goes on, logs the damaged file, and a new login is served at once.
TEST_F(DaemonFaults, ALostSessionFileLogsEveryoneOutAndLoginsGoOn) {
  const Json bad_session = {{"IC", 0}, {"RC", 2}, {"RCT", "Bad session ID"}};
  const std::vector<std::string> damages = {"deleted", "cut", "incomplete entry", "not JSON"};
  Syslog().Clear();
  for (const std::string &damage : damages) {
    SCOPED_TRACE(damage);
    std::vector<std::string> sids, peers;
    for (int i = 0; i < 4; ++i) {
      peers.push_back("10.2.0." + std::to_string(i));
      sids.push_back(i % 2 == 0 ? LoginSid("admin", "admin-secret", peers.back())
                                : LoginSid("viewer", "viewer-secret", peers.back()));
    }
    Load load(
        4, [&](int i) { return Call(sids[static_cast<size_t>(i)], 13, kThresholds, peers[static_cast<size_t>(i)]); });
    ASSERT_TRUE(load.WaitUntilEach([](const History &h) { return h.size() >= 2; }, std::chrono::seconds(10)));

    // A request in hand may write the file back after the damage (the last
    // writer wins): the damage is made again until it stays.
    const std::string text = ReadText(paths::kSessionFile);
    std::string garbage;
    if (damage == "cut") {
      garbage = text.substr(0, text.size() / 2);
    } else if (damage == "incomplete entry") {
      garbage = R"([{"id":")" + sids[0] + R"(","peer":"10.2.0.0"}])";
    } else if (damage == "not JSON") {
      static constexpr char kBinary[] = "\x00\xff\x01 sessions?";
      garbage.assign(kBinary, sizeof kBinary - 1);
    }
    const auto damaged = [&] {
      return damage == "deleted" ? !std::filesystem::exists(paths::kSessionFile)
                                 : ReadText(paths::kSessionFile) == garbage;
    };
    for (int attempt = 0; attempt < 20 && (attempt == 0 || !damaged()); ++attempt) {
      if (damage == "deleted") {
        unlink(paths::kSessionFile);
      } else {
        std::ofstream(paths::kSessionFile, std::ios::binary | std::ios::trunc) << garbage;
      }
      std::this_thread::sleep_for(milliseconds(50));
    }
    EXPECT_TRUE(damaged());
    const auto out = [&](const History &h) { return !h.empty() && h.back().status == bad_session; };
    EXPECT_TRUE(load.WaitUntilEach(out, std::chrono::seconds(10)));
    const std::vector<History> histories = load.Stop();

    for (size_t i = 0; i < histories.size(); ++i) {
      bool logged_out = false;
      for (const Timed &t : histories[i]) {
        EXPECT_LT(t.Took(), std::chrono::seconds(5));
        if (logged_out) {
          EXPECT_EQ(t.status, bad_session) << "client " << i;
        } else if (t.status == bad_session) {
          logged_out = true;
        } else {
          EXPECT_EQ(t.Rc(), 0) << "client " << i << ": " << t.status.dump();
        }
      }
      EXPECT_TRUE(logged_out) << "client " << i;
    }
    const std::string sid = LoginSid("operator", "operator-secret");
    ASSERT_FALSE(sid.empty());
    EXPECT_EQ(Call(sid, 13, kThresholds)["status"]["RC"], 0);
  }
  EXPECT_NE(Syslog().WaitFor("Caught exception in load(): ").priority, -1);
  ExpectNothingLeaked();
}

}  // namespace
}  // namespace kvnc::test
