#!/usr/bin/env bash
# demo.sh [BUILD_DIR]: installs what is missing, builds the program and the
# simulator, and runs the web console and API on the demo appliance behind
# nginx on 127.0.0.1:8080, inside the hermetic environment (private /tmp,
# /run, /var/log, users and PAM: nothing on the host is touched). Ctrl-C or
# SIGTERM stops it and everything it started.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build}
echo "demo: the web console will be at http://127.0.0.1:8080/ (the API at /api)"

# Each long step runs as a process group of its own, so that a signal to this
# script reaches every process of the step: run-hermetic and unshare do not
# pass signals on to what runs inside.
set -m
step=
stop() {
  trap - INT TERM
  if [ -n "$step" ]; then kill -TERM -- "-$step" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  exit "$1"
}
trap 'stop 130' INT
trap 'stop 143' TERM
run_step() {
  "$@" &
  step=$!
  wait "$step"
  step=
}

"$root/scripts/install-deps.sh"
# A build folder configured before keeps its options (a sanitizer build, a
# build type): configuring it again with others would rebuild everything.
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
run_step cmake --build "$build" -j"$(nproc)" --target kvnc-api kvnc-sim
export KVNC_HERMETIC_NET=host
run_step "$root/tests/hermetic/run-hermetic" "$root/scripts/demo-inside.sh" "$root" "$build"
