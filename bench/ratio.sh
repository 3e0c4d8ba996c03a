#!/usr/bin/env bash
# bench/ratio.sh [SECONDS]: how much of the web server's capacity the API
# keeps. In one run, inside the hermetic environment, the same wrk load
# (FN 13 bodies with a logged-in SID, SECONDS each, default 10) goes through
# the same nginx to (a) bench/noop_responder (24 libfcgi threads, one fixed
# reply) on 127.0.0.1:8081 and (b) kvnc-api reading a sensor's thresholds
# from the simulator on 127.0.0.1:8080, at each of $KVNC_BENCH_CONNECTIONS
# (default "16 64") connections. Prints both throughputs, their ratio and
# both p99 latencies. Then, with everything stopped, the Google Benchmarks
# of the long walks (FN 314 over 1,000 log entries, FN 11 over 200 alarms:
# time per daemon call), of the session store (lookup with 1, 10, 100 and
# 1000 sessions on this environment's tmpfs /tmp) and of the client library
# (marshalling, one HpiRpcCall round trip). Exits 1 on any error reply, 3 when a ratio is
# below $KVNC_BENCH_TARGET (default 0.3).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
bench_enter "$bench_root/bench/ratio.sh" "$@"

seconds=${1:-10}
connections=${KVNC_BENCH_CONNECTIONS:-16 64}
target=${KVNC_BENCH_TARGET:-0.3}
trap bench_stop_all EXIT

bench_start_api
bench_start_noop
bench_start_nginx noop
sid=$(bench_login)
api=http://127.0.0.1:8080/api
noop=http://127.0.0.1:8081/api

bench_wrk 64 2 "$noop" fn13 "$sid" >/dev/null
bench_wrk 64 2 "$api" fn13 "$sid" >/dev/null

errors_of() {
  echo $(($(bench_field "$1" rc_errors) + $(bench_field "$1" non2xx) + $(bench_field "$1" socket_errors)))
}

failed=0
below=0
table=$(printf '%-12s %11s %11s %7s %13s %12s %7s' connections 'noop req/s' 'api req/s' ratio 'noop p99 ms' 'api p99 ms' errors)
echo "$table"
for c in $connections; do
  noop_line=$(bench_wrk "$c" "$seconds" "$noop" fn13 "$sid" | grep '^RESULT')
  api_result=$(bench_wrk "$c" "$seconds" "$api" fn13 "$sid")
  api_line=$(grep '^RESULT' <<<"$api_result")
  noop_rps=$(bench_field "$noop_line" rps)
  api_rps=$(bench_field "$api_line" rps)
  ratio=$(awk -v a="$api_rps" -v n="$noop_rps" 'BEGIN { printf "%.3f", (n > 0 ? a / n : 0) }')
  errors=$(($(errors_of "$noop_line") + $(errors_of "$api_line")))
  row=$(printf '%-12s %11s %11s %7s %13s %12s %7s' "$c" "$noop_rps" "$api_rps" "$ratio" \
    "$(bench_field "$noop_line" p99_ms)" "$(bench_field "$api_line" p99_ms)" "$errors")
  echo "$row"
  table+=$'\n'"$row"
  echo "  noop: $noop_line"
  echo "  api:  $api_line"
  grep '^FIRST-ERROR' <<<"$api_result" | sed 's/^/  /' || true
  [ "$errors" -eq 0 ] || failed=1
  awk -v r="$ratio" -v t="$target" 'BEGIN { exit !(r < t) }' && below=1
done
echo
# The long walks, while the simulator and kvnc-api still run (it loads its
# own log and alarms into the simulator).
"$bench_build/bench/walk_bench" --benchmark_min_time=2
bench_stop_all
bench_pids=()
echo
"$bench_build/bench/session_store_bench" --benchmark_min_time=0.5
"$bench_build/bench/marshal_bench" --benchmark_min_time=0.2
"$bench_build/bench/rpc_bench" --benchmark_min_time=0.5
echo
echo "$table"
if [ "$failed" -ne 0 ]; then
  echo "ratio: FAILED (error replies above)"
  exit 1
fi
if [ "$below" -ne 0 ]; then
  echo "ratio: below the target of $target"
  exit 3
fi
echo "ratio: at or above the target of $target at every load"
