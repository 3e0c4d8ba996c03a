// Cost of the long walks through the whole program: FN 314 over a log of
// 1,000 entries and FN 11 over 200 sensor alarms (an alarm and its sensor's
// record each), as FastCGI requests to a running kvnc-api whose daemon is the
// simulator. "per_call" is the time of one request divided by the daemon
// calls it makes, to set beside the round trip of one of those calls made
// straight from the client library to the same simulator (and the minimal
// round trip of rpc_bench); FN 3 on a resource's log (one call) is the
// request without a walk.
//
// Needs kvnc-sim (control socket /tmp/kvnc-sim.control) and kvnc-api serving
// on their fixed paths with the test accounts, as bench/ratio.sh arranges
// inside the hermetic environment. Loads the demo appliance with the walked
// log and alarms first.
#include <benchmark/benchmark.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>

#include <nlohmann/json.hpp>

#include "client/hpi_functions.h"
#include "client/paths.h"
#include "tests/support/fcgi_client.h"

namespace {

using Json = nlohmann::json;

constexpr int kEntries = 1000;
constexpr int kAlarms = 200;

// One command line to the simulator's control socket and its answer.
Json Control(const Json &command) {
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, "/tmp/kvnc-sim.control", sizeof address.sun_path - 1);
  std::string answer;
  if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0) {
    const std::string line = command.dump() + "\n";
    if (write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size())) {
      char c;
      while (read(fd, &c, 1) == 1 && c != '\n') answer += c;
    }
  }
  if (fd >= 0) close(fd);
  return Json::parse(answer, nullptr, false);
}

Json Post(const Json &request) {
  const std::string body = kvnc::test::ReplyBody(kvnc::test::FcgiPost(kvnc::paths::kFastCgiSocket, request.dump()));
  return Json::parse(body, nullptr, false);
}

std::string Setup() {
  static const std::string sid = [] {
    Json entries = Json::array();
    for (int id = 1; id <= kEntries; ++id) {
      const int64_t time = (int64_t{1765000000} + id) * 1000000000;
      entries.push_back({{"id", id},
                         {"time", time},
                         {"event", {{"type", 8}, {"time", time}, {"data", {{"UserEventData", "admin: logged in"}}}}}});
    }
    Json alarms = Json::array();
    for (int id = 1; id <= kAlarms; ++id) {
      alarms.push_back({{"id", id}, {"severity", 2}, {"resource", 2001}, {"sensor", 2}, {"state", 8}});
    }
    const Json commands[] = {
        {{"cmd", "load"}, {"demo", true}},
        {{"cmd", "set"}, {"pointer", "/resources/2001/sensors/2/reading/swing"}, {"value", 0}},
        {{"cmd", "set"}, {"pointer", "/event_log"}, {"value", {{"size", kEntries}, {"entries", entries}}}},
        {{"cmd", "set"}, {"pointer", "/alarms"}, {"value", alarms}},
        {{"cmd", "set"}, {"pointer", "/resources/1000/event_log"}, {"value", Json::object()}},
    };
    for (const Json &command : commands) {
      if (Control(command).value("ok", false) != true) return std::string();
    }
    const Json login = Post({{"FN", 0}, {"PRM", {{"USER", "admin"}, {"PWD", "admin-secret"}}}});
    return login.is_discarded() ? std::string() : login.value("/response/SESSION/ID"_json_pointer, std::string());
  }();
  return sid;
}

// Times FN `fn`; `calls` is the number of daemon calls one request makes
// (not counting the session opened and closed around each request).
void Walk(benchmark::State &state, int fn, const Json &prm, size_t expected, int calls) {
  const std::string sid = Setup();
  if (sid.empty()) {
    state.SkipWithError("no simulator or kvnc-api to measure (see bench/ratio.sh)");
    return;
  }
  const Json request = {{"FN", fn}, {"SID", sid}, {"PRM", prm}};
  for (auto _ : state) {
    const Json reply = Post(request);
    const Json &response = reply.is_object() ? reply.value("response", Json()) : Json();
    const size_t size = response.is_object() ? response.value("info", Json::object()).size() : response.size();
    if (size != expected) {
      state.SkipWithError(("unexpected reply: " + reply.dump().substr(0, 200)).c_str());
      return;
    }
  }
  state.counters["per_call"] = benchmark::Counter(static_cast<double>(state.iterations()) * calls,
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// One saHpiEventLogEntryGet straight from the client library to the same
// simulator: the round trip a walk repeats, without FastCGI, the handler or
// its JSON.
void BM_EntryGetRoundTrip(benchmark::State &state) {
  if (Setup().empty()) {
    state.SkipWithError("no simulator or kvnc-api to measure (see bench/ratio.sh)");
    return;
  }
  SaHpiSessionIdT session = 0;
  if (saHpiSessionOpen(SAHPI_UNSPECIFIED_DOMAIN_ID, &session, nullptr) != SA_OK) {
    state.SkipWithError("saHpiSessionOpen failed");
    return;
  }
  SaHpiEventLogEntryIdT id = SAHPI_NEWEST_ENTRY;
  for (auto _ : state) {
    SaHpiEventLogEntryIdT prev = 0, next = 0;
    SaHpiEventLogEntryT entry{};
    SaHpiRdrT rdr{};
    SaHpiRptEntryT rpt{};
    if (saHpiEventLogEntryGet(session, SAHPI_UNSPECIFIED_RESOURCE_ID, id, &prev, &next, &entry, &rdr, &rpt) != SA_OK) {
      state.SkipWithError("saHpiEventLogEntryGet failed");
      break;
    }
    id = prev == SAHPI_NO_MORE_ENTRIES ? SAHPI_NEWEST_ENTRY : prev;
  }
  saHpiSessionClose(session);
}

void BM_OneCallRequest(benchmark::State &state) { Walk(state, 3, {{"res_id", 1000}}, 6, 1); }
void BM_WholeEventLog(benchmark::State &state) { Walk(state, 314, Json::object(), kEntries, kEntries); }
void BM_Alarms(benchmark::State &state) { Walk(state, 11, nullptr, kAlarms, 2 * kAlarms + 1); }

BENCHMARK(BM_EntryGetRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_OneCallRequest)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_WholeEventLog)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Alarms)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
