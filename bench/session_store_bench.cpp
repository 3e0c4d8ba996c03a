// The session store's cost per request: one Lookup (reload when changed,
// refresh the stamp, write the file back) with 1, 10, 100 and 1000 live
// sessions. Run it where /tmp is a tmpfs, as on the appliance:
//   tests/hermetic/run-hermetic build/bench/session_store_bench
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "front/session_store.h"

namespace {

void BM_SessionLookup(benchmark::State &state) {
  const std::string path = "/tmp/kvnc-bench-sessions.json";
  unlink(path.c_str());
  kvnc::WebSessionStore store(path);
  std::vector<kvnc::WebSession> sessions;
  for (int64_t i = 0; i < state.range(0); ++i) sessions.push_back(store.Create(1000 + i, "10.0.0.1"));
  // The last created session is found at the end of the walk.
  const kvnc::WebSession &target = sessions.back();
  for (auto _ : state) {
    benchmark::DoNotOptimize(store.Lookup("10.0.0.1", target.id));
  }
  unlink(path.c_str());
}
BENCHMARK(BM_SessionLookup)->Arg(1)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

// Another process changes the file before every lookup: the reload parses.
void BM_SessionLookupAfterForeignChange(benchmark::State &state) {
  const std::string path = "/tmp/kvnc-bench-sessions.json";
  unlink(path.c_str());
  kvnc::WebSessionStore store(path);
  kvnc::WebSessionStore other(path);
  std::vector<kvnc::WebSession> sessions;
  for (int64_t i = 0; i < state.range(0); ++i) sessions.push_back(store.Create(1000 + i, "10.0.0.1"));
  for (auto _ : state) {
    benchmark::DoNotOptimize(other.Lookup("10.0.0.1", sessions.front().id));
    benchmark::DoNotOptimize(store.Lookup("10.0.0.1", sessions.back().id));
  }
  unlink(path.c_str());
}
BENCHMARK(BM_SessionLookupAfterForeignChange)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace
