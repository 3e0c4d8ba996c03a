#!/usr/bin/env bash
# bench/walks.sh: the cost of the long walks alone (bench/walk_bench.cpp),
# beside the one-call round trip of the client library, inside the hermetic
# environment with the simulator and kvnc-api on their fixed paths. The
# same figures are part of bench/ratio.sh.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
bench_enter "$bench_root/bench/walks.sh" "$@"
trap bench_stop_all EXIT

bench_start_api
"$bench_build/bench/walk_bench" --benchmark_min_time=2
bench_stop_all
bench_pids=()
"$bench_build/bench/rpc_bench" --benchmark_min_time=0.5
