#!/usr/bin/env bash
# bench/load.sh [SECONDS]: the API under load, as deployed. Inside the
# hermetic environment it starts the simulator (demo appliance), kvnc-api
# (Release build in build-bench-rel, or $KVNC_BENCH_BUILD) and nginx on
# 127.0.0.1:8080, logs in once as admin, and runs wrk with a mix of FN 12,
# 13, 18 and 7 for SECONDS (default 10) at each of $KVNC_BENCH_CONNECTIONS
# (default "16 64") connections. Prints requests per second, p50 and p99
# latency and the errors (replies whose status.RC is not 0, non-2xx answers,
# socket errors and timeouts), then the growth of kvnc-api's descriptors,
# threads, resident memory and zombie children over the runs. Exits 1 when
# there was an error or something grew (resident memory: more than
# $KVNC_BENCH_RSS_SLACK_KIB, default 2048, for the allocator's own caches).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
bench_enter "$bench_root/bench/load.sh" "$@"

seconds=${1:-10}
connections=${KVNC_BENCH_CONNECTIONS:-16 64}
rss_slack=${KVNC_BENCH_RSS_SLACK_KIB:-2048}
trap bench_stop_all EXIT

bench_start_api
bench_start_nginx
sid=$(bench_login)
url=http://127.0.0.1:8080/api

# Warm-up, so that every worker has served and the first snapshot sees the
# process in its steady state.
bench_wrk 64 2 "$url" mix "$sid" >/dev/null
read -r fds0 threads0 rss0 zombies0 <<<"$(bench_snapshot "$api_pid")"

failed=0
printf '%-12s %10s %9s %9s %9s %7s\n' connections 'req/s' 'p50 ms' 'p99 ms' 'max ms' errors
for c in $connections; do
  result=$(bench_wrk "$c" "$seconds" "$url" mix "$sid")
  line=$(grep '^RESULT' <<<"$result")
  errors=$(($(bench_field "$line" rc_errors) + $(bench_field "$line" non2xx) + $(bench_field "$line" socket_errors)))
  printf '%-12s %10s %9s %9s %9s %7s\n' "$c" "$(bench_field "$line" rps)" "$(bench_field "$line" p50_ms)" \
    "$(bench_field "$line" p99_ms)" "$(bench_field "$line" max_ms)" "$errors"
  echo "  $line"
  grep '^FIRST-ERROR' <<<"$result" | sed 's/^/  /' || true
  [ "$errors" -eq 0 ] || failed=1
done

read -r fds1 threads1 rss1 zombies1 <<<"$(bench_snapshot "$api_pid")"
echo "kvnc-api (pid $api_pid) after warm-up -> after the runs:"
printf '  descriptors %d -> %d (growth %d)\n' "$fds0" "$fds1" $((fds1 - fds0))
printf '  threads     %d -> %d (growth %d)\n' "$threads0" "$threads1" $((threads1 - threads0))
printf '  RSS KiB     %d -> %d (growth %d)\n' "$rss0" "$rss1" $((rss1 - rss0))
printf '  zombies     %d -> %d\n' "$zombies0" "$zombies1"
if [ $((fds1 - fds0)) -ne 0 ] || [ $((threads1 - threads0)) -ne 0 ] || [ "$zombies1" -ne 0 ] ||
  [ $((rss1 - rss0)) -gt "$rss_slack" ]; then
  failed=1
fi
if [ "$failed" -ne 0 ]; then
  echo "load: FAILED (errors or growth above)"
  exit 1
fi
echo "load: no errors, no growth"
