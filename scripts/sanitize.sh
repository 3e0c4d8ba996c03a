#!/usr/bin/env bash
# sanitize.sh address|thread: builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer (address) or ThreadSanitizer (thread) and runs
# the tests: all of them under address; under thread, the ones that run
# things concurrently (the whole program with its 24 workers, concurrent
# logins and RPCs, the session store).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
kind=$1
build=$root/build-$kind
# -O1 with line tables: the sanitizers' own advice, and about half the build
# time of -O2 -g under their instrumentation.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVNC_SANITIZE="$kind" -DKVNC_BENCH=OFF \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$root/tests/tsan.supp
# The daemon-fault tests assert time bounds, which a sanitizer's slowdown
# makes meaningless; they run in the plain build.
export GTEST_FILTER='-DaemonFaults.*'
if [ "$kind" = address ]; then
  # With every descriptor in use, the undefined-behaviour sanitizer cannot
  # make the pipe it probes memory with and reports every virtual call as
  # an invalid vptr; the test of exhausted descriptors runs in the other builds.
  GTEST_FILTER+=':RequestLoop.EveryWorkerServesAgainAfterDescriptorsRanOut'
fi
# Under the thread sanitizer the build holds only the tests of the concurrent
# parts (see tests/CMakeLists.txt).
ctest --output-on-failure -j"$(nproc)"
