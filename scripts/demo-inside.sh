#!/usr/bin/env bash
# Runs inside the hermetic environment: the controller simulator (when
# built), the API and nginx, until interrupted.
set -euo pipefail
root=$1 build=$2
pids=()
stop() {
  for p in "${pids[@]}"; do kill -TERM "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap stop EXIT INT TERM

if [ -x "$build/sim/kvnc-sim" ]; then
  "$build/sim/kvnc-sim" >/var/log/kvnc-sim.out 2>&1 &
  pids+=($!)
fi
"$build/kvnc-api" >/var/log/kvnc-api.out 2>&1 &
pids+=($!)

# The product's site with the console's pages added to its server block.
mkdir -p /tmp/nginx
cp "$root/deploy/nginx/kvnc-api.js" "$root/deploy/nginx/kvnc-console.conf" /tmp/nginx/
cp "$root/deploy/nginx/nginx-standalone.conf" /tmp/nginx/nginx.conf
cp -r "$root/web" /tmp/nginx/console
sed 's/^    server_tokens off;$/&\n    include kvnc-console.conf;/' "$root/deploy/nginx/kvnc-api.conf" >/tmp/nginx/kvnc-api.conf
if ! grep -q '^    include kvnc-console.conf;$' /tmp/nginx/kvnc-api.conf; then
  echo "demo: the site has no 'server_tokens off;' line to add the console after" >&2
  exit 1
fi
nginx -p /tmp/nginx -c /tmp/nginx/nginx.conf &
pids+=($!)

for _ in $(seq 100); do
  curl -s -o /dev/null -X POST http://127.0.0.1:8080/api -d '{}' && break
  sleep 0.1
done
cat <<'EOT'

The web console runs on http://127.0.0.1:8080/ (and http://[::1]:8080/),
on the simulated demo appliance, with its web API at /api. Log in there as
one of the demo users below, or try the API with curl:

  curl -s -X POST http://127.0.0.1:8080/api -d '{"FN":0,"PRM":{"USER":"admin","PWD":"admin-secret"},"MN":1}'

then use the "ID" of the reply's "SESSION" as "SID", for example the live
readings of probe 2001 (temperature with thresholds, humidity):

  curl -s -X POST http://127.0.0.1:8080/api -d '{"FN":12,"SID":"<ID>","PRM":{"SENS":[{"ID":2001,"SNUM":1,"THRES":1,"EMASK":63},{"ID":2001,"SNUM":2,"THRES":0,"EMASK":0}]},"MN":2}'

Demo users (name / password): admin / admin-secret, operator / operator-secret,
viewer / viewer-secret, bigid / bigid-secret. They exist only inside this
private environment. Press Ctrl-C to stop.
EOT
wait
