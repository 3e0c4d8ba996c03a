# Shared by bench/load.sh and bench/ratio.sh (sourced, not run).
#
# bench_enter SCRIPT ARGS...: outside the hermetic environment, installs what
# is missing, builds the Release tree and runs SCRIPT again inside
# tests/hermetic/run-hermetic (own /tmp, /run, /var/log, users and PAM).
# Inside, the other functions start the simulator, kvnc-api and nginx on
# 127.0.0.1 and measure them with wrk. Every process started here is stopped
# by its pid on exit.

bench_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bench_build=${KVNC_BENCH_BUILD:-$bench_root/build-bench-rel}
bench_pids=()

bench_enter() {
  if [ "${KVNC_HERMETIC:-}" = 1 ]; then return 0; fi
  "$bench_root/scripts/install-deps.sh"
  "$bench_root/scripts/build.sh" "$bench_build" -DCMAKE_BUILD_TYPE=Release -DKVNC_TESTS=OFF
  KVNC_BENCH_BUILD=$bench_build exec "$bench_root/tests/hermetic/run-hermetic" "$@"
}

bench_stop_all() {
  local p _
  for p in "${bench_pids[@]}"; do kill -TERM "$p" 2>/dev/null || true; done
  for p in "${bench_pids[@]}"; do
    for _ in $(seq 50); do
      case $(ps -o stat= -p "$p" 2>/dev/null) in '' | Z*) break ;; esac  # gone, or ended and not yet reaped
      sleep 0.1
    done
    kill -KILL "$p" 2>/dev/null || true  # still there after 5 s
    wait "$p" 2>/dev/null || true
  done
}

bench_wait_for() {  # PATH: waits up to 10 s for it to exist
  local _
  for _ in $(seq 200); do
    [ -e "$1" ] && return 0
    sleep 0.05
  done
  echo "bench: $1 did not appear" >&2
  return 1
}

# The simulator with the demo appliance and kvnc-api on their fixed paths.
bench_start_api() {
  "$bench_build/sim/kvnc-sim" >/var/log/kvnc-sim.out 2>&1 &
  bench_pids+=($!)
  bench_wait_for /var/run/Korvane.pid
  "$bench_build/kvnc-api" >/var/log/kvnc-api.out 2>&1 &
  api_pid=$!
  bench_pids+=("$api_pid")
  bench_wait_for /tmp/api-fastcgi.socket-0
}

# The no-op responder of bench/noop_responder.cpp on NOOP_SOCKET.
noop_socket=/tmp/noop-fastcgi.socket
bench_start_noop() {
  "$bench_build/bench/noop_responder" "$noop_socket" >/var/log/noop_responder.out 2>&1 &
  bench_pids+=($!)
  bench_wait_for "$noop_socket"
}

# nginx with deploy/nginx's site as deployed on 127.0.0.1:8080 (and [::1]);
# with an argument, the site's server block once more on 127.0.0.1:8081 in
# front of the no-op responder (the rate-limit zones above it are defined
# once).
bench_start_nginx() {
  local dir=/tmp/nginx
  mkdir -p "$dir"
  cp "$bench_root/deploy/nginx/nginx-standalone.conf" "$dir/nginx.conf"
  cp "$bench_root/deploy/nginx/kvnc-api.conf" "$bench_root/deploy/nginx/kvnc-api.js" "$dir/"
  if [ "${1:-}" = noop ]; then
    sed -n -e '/^server {/,/^}/p' "$bench_root/deploy/nginx/kvnc-api.conf" |
      sed -e 's/listen 127\.0\.0\.1:8080;/listen 127.0.0.1:8081;/' -e '/listen \[::1\]:8080;/d' \
        -e "s|unix:/tmp/api-fastcgi.socket-0|unix:$noop_socket|" >>"$dir/kvnc-api.conf"
  fi
  nginx -p "$dir" -c "$dir/nginx.conf" &
  bench_pids+=($!)
  local _
  for _ in $(seq 200); do
    curl -s -o /dev/null -X POST http://127.0.0.1:8080/api -d '{}' && return 0
    sleep 0.05
  done
  echo "bench: nginx does not answer on 127.0.0.1:8080" >&2
  return 1
}

# Logs in as admin; prints the session identifier.
bench_login() {
  local reply
  reply=$(curl -s -X POST http://127.0.0.1:8080/api -d '{"FN":0,"PRM":{"USER":"admin","PWD":"admin-secret"},"MN":1}')
  local sid
  sid=$(grep -o '"ID":"[0-9A-Za-z]\{32\}"' <<<"$reply" | head -1 | cut -d'"' -f4)
  if [ -z "$sid" ]; then
    echo "bench: login failed: $reply" >&2
    return 1
  fi
  echo "$sid"
}

# bench_wrk CONNECTIONS SECONDS URL MODE SID: one bounded wrk run; prints its
# RESULT line (and FIRST-ERROR when a reply was not RC 0).
bench_wrk() {
  local connections=$1 seconds=$2 url=$3 mode=$4 sid=$5
  local threads=2
  [ "$connections" -lt "$threads" ] && threads=$connections
  local out
  out=$(wrk -t"$threads" -c"$connections" -d"${seconds}s" --timeout 10s -s "$bench_root/bench/requests.lua" "$url" \
    -- "$mode" "$sid" 2>&1) || true
  if ! grep -q '^RESULT' <<<"$out"; then
    echo "bench: wrk gave no result: $out" >&2
    return 1
  fi
  grep -E '^(RESULT|FIRST-ERROR)' <<<"$out"
}

# One field of a RESULT line: bench_field LINE NAME.
bench_field() { grep -o "$2=[^ ]*" <<<"$1" | cut -d= -f2; }

# The resources of process PID: "fds threads rss_kib zombie_children",
# taken once the requests still in hand when wrk stopped are finished.
bench_snapshot() {
  local pid=$1 fds threads rss zombies
  sleep 1
  fds=$(find "/proc/$pid/fd" -mindepth 1 -maxdepth 1 | wc -l)
  threads=$(awk '/^Threads:/ {print $2}' "/proc/$pid/status")
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
  zombies=$(ps -e -o ppid=,stat= | awk -v p="$pid" '$1 == p && $2 ~ /^Z/' | wc -l)
  echo "$fds $threads $rss $zombies"
}
