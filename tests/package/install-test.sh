#!/usr/bin/env bash
# install-test.sh [BUILD_DIR]
#
# Installs the package built from BUILD_DIR (default build/) into a fresh,
# minimal Debian 12 root with apt-get, as on a new machine: dependencies come
# from the host's Debian mirror. Then starts the program as its systemd units
# would, nginx with the installed site and the controller simulator (not part
# of the package), logs in through nginx and makes one call with the session.
# Removing the package must leave only its conffiles, purging nothing.
#
# The minimal root and the downloaded packages are kept in $KVNC_PACKAGE_CACHE
# (default /var/cache/kvnc-api-test), so a later run downloads nothing. Each
# run unpacks its own copy into a temporary folder, works in private mount,
# process and (while serving) network namespaces, and leaves nothing behind.
#
# Exit status: 0 passed, 1 failed, 77 skipped (no cache and no mirror: a
# "SKIPPED:" line says why).
# Perl expressions and dpkg-query formats stand in single quotes on purpose.
# shellcheck disable=SC2016
set -euo pipefail
export LC_ALL=C
readonly skipped=77
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
cache=${KVNC_PACKAGE_CACHE:-/var/cache/kvnc-api-test}
base=$cache/bookworm-minbase.tar.zst

fail() {
  echo "install-test: FAILED: $*" >&2
  exit 1
}
skip() {
  echo "SKIPPED: $*"
  exit $skipped
}
step() { echo "-- $*"; }

# The host's Debian mirrors (main suite and security), from apt's own view.
mirror_of() {
  apt-cache policy | awk -v suite="$1/main" '$3 == suite && $NF == "Packages" { print $2; exit }'
}

# ---- in the private namespaces ------------------------------------------

# Every path in the root but the volatile trees and the package manager's
# own records and caches.
root_files() {
  (cd "$1" && find . -xdev \( -path ./proc -o -path ./dev -o -path ./tmp -o -path ./run -o -path ./sys \
    -o -path ./var/cache -o -path ./var/lib/apt -o -path ./var/lib/dpkg -o -path ./var/log \
    -o -path ./root \) -prune -o -print | sed 's|^\.||' | sort)
}

in_root() { chroot "$r" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LC_ALL=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }

make_base() {
  local mirror security
  mirror=$(mirror_of bookworm)
  security=$(mirror_of bookworm-security)
  [ -n "$mirror" ] || fail "no Debian 12 mirror in the host's apt sources"
  step "making a minimal Debian 12 root from $mirror (once; kept in $base)"
  mkdir -p "$cache/archives/partial"
  debootstrap --variant=minbase --cache-dir="$cache/archives" bookworm "$r" "$mirror" >"$logs/debootstrap.log" 2>&1 ||
    { tail -20 "$logs/debootstrap.log" >&2; fail "debootstrap did not make the root"; }
  {
    echo "deb $mirror bookworm main"
    echo "deb $mirror bookworm-updates main"
    [ -z "$security" ] || echo "deb $security bookworm-security main"
  } >"$r/etc/apt/sources.list"
  mount_root
  in_root apt-get update -qq >"$logs/update.log" 2>&1 || { cat "$logs/update.log" >&2; fail "apt-get update in the root"; }
  umount_root
  tar --zstd -C "$r" -cf "$base.new" . && mv "$base.new" "$base"
}

mount_root() {
  mount -t proc proc "$r/proc"
  mount -t tmpfs -o mode=755 tmpfs "$r/run"
  mount -t tmpfs -o mode=755 tmpfs "$r/dev"
  local node
  for node in null zero full random urandom tty; do
    touch "$r/dev/$node"
    mount --bind "/dev/$node" "$r/dev/$node"
  done
  mkdir -p "$r/dev/shm" "$r/dev/pts"
  ln -s /proc/self/fd "$r/dev/fd"
  mkdir -p "$cache/archives/partial" "$r/var/cache/apt/archives"
  mount --bind "$cache/archives" "$r/var/cache/apt/archives"
  cat /etc/resolv.conf >"$r/etc/resolv.conf"
  # The host's settings for reaching the mirror (proxy, release dates).
  apt-config dump | grep -E '^Acquire::(Check-Valid-Until|Check-Date|https?::Proxy) ' \
    >"$r/etc/apt/apt.conf.d/99host-acquire" || true
}

umount_root() {
  umount -R "$r/var/cache/apt/archives" "$r/dev" "$r/run" "$r/proc"
}

install_package() {
  local deb=$1 mirror_ok=$2
  cp "$deb" "$r/root/"
  # As in any chroot: packages' maintainer scripts start no service here.
  printf '#!/bin/sh\nexit 101\n' >"$r/usr/sbin/policy-rc.d"
  chmod 755 "$r/usr/sbin/policy-rc.d"
  step "apt-get install ./${deb##*/}"
  local install=(apt-get install -y -q --no-install-recommends "/root/${deb##*/}")
  if ! in_root "${install[@]}" >"$logs/install.log" 2>&1; then
    [ "$mirror_ok" = 1 ] || skip "the Debian mirror is unreachable and the cache lacks packages the install needs"
    # The cached index may name versions the mirror no longer has.
    in_root apt-get update -qq >>"$logs/install.log" 2>&1 || true
    in_root "${install[@]}" >>"$logs/install.log" 2>&1 || { tail -30 "$logs/install.log" >&2; fail "apt-get install"; }
  fi
  grep -E '^(Get|Need to get)' "$logs/install.log" | tail -1 || true
}

# VALUE KEY FILE: the value of the first "KEY=" line of a systemd unit.
unit_value() {
  sed -n "s/^$1=//p" "$2" | head -1
}

start_services() {
  local service=$r/lib/systemd/system/kvnc-api.service socket=$r/lib/systemd/system/kvnc-api.socket
  local line listen mode group
  [ -f "$service" ] || fail "the package installed no kvnc-api.service"
  # Never part of the package: the simulated controller daemon.
  cp "$sim" "$r/tmp/kvnc-sim"
  in_root /tmp/kvnc-sim >"$logs/sim.log" 2>&1 &
  pids+=($!)

  # As systemd does: ExecStartPre lines, then ExecStart, its listening socket
  # made as kvnc-api.socket says and handed over on standard input.
  while IFS= read -r line; do
    read -r -a argv <<<"${line#-}"
    in_root "${argv[@]}" || fail "ExecStartPre=$line"
  done < <(sed -n 's/^ExecStartPre=//p' "$service")
  read -r -a argv <<<"$(unit_value ExecStart "$service")"
  [ ${#argv[@]} -gt 0 ] || fail "kvnc-api.service has no ExecStart"
  if [ "$(unit_value StandardInput "$service")" = socket ]; then
    listen=$(unit_value ListenStream "$socket")
    mode=$(unit_value SocketMode "$socket")
    group=$(unit_value SocketGroup "$socket")
    [ -n "$listen" ] || fail "kvnc-api.service takes a socket, but kvnc-api.socket has no ListenStream"
    in_root perl -MIO::Socket::UNIX -e '
      my ($path, $mode, $group, @argv) = @ARGV;
      unlink $path;
      my $s = IO::Socket::UNIX->new(Local => $path, Listen => 1024) or die "listen $path: $!\n";
      chown 0, scalar(getgrnam($group)) // die("no group $group\n"), $path or die "chown: $!\n";
      chmod oct($mode), $path or die "chmod: $!\n";
      open(STDIN, "<&", $s) or die "stdin: $!\n";
      close $s;
      exec { $argv[0] } @argv or die "exec: $!\n";
    ' "$listen" "${mode:-0666}" "${group:-root}" "${argv[@]}" </dev/null >"$logs/kvnc-api.log" 2>&1 &
  else
    in_root "${argv[@]}" </dev/null >"$logs/kvnc-api.log" 2>&1 &
  fi
  pids+=($!)

  # As nginx.service does: the configuration checked first.
  in_root nginx -t -q || fail "nginx refuses the configuration with the installed site"
  in_root nginx -g 'daemon off; master_process on;' >"$logs/nginx.log" 2>&1 &
  pids+=($!)
}

# The reply of one POST to the site; fails on anything but HTTP 200.
post() {
  local code
  code=$(curl -sS --max-time 20 -o "$logs/reply" -w '%{http_code}' -X POST http://127.0.0.1:8080/api -d "$1") ||
    fail "no answer through nginx to $1"
  [ "$code" = 200 ] || { cat "$r/var/log/nginx/error.log" >&2 || true; fail "HTTP $code to $1: $(cat "$logs/reply")"; }
  cat "$logs/reply"
}

# JSON EXPR: evaluates a Perl expression on the decoded reply $j.
json() {
  perl -MJSON::PP -e 'my $j = decode_json($ARGV[0]); my $v = eval $ARGV[1]; die $@ if $@; print $v // ""' "$1" "$2"
}

stop_services() {
  local p
  for p in "${pids[@]}"; do kill -TERM "$p" 2>/dev/null || true; done
  wait
}

serve_and_log_in() {
  ip link set lo up
  pids=()
  trap stop_services EXIT
  start_services
  local reply sid ready=0
  for _ in $(seq 100); do
    if [ -S "$r/tmp/Korvane" ] && [ -S "$r/tmp/api-fastcgi.socket-0" ] && curl -s -o /dev/null --max-time 2 -X POST http://127.0.0.1:8080/ -d '{}'; then
      ready=1
      break
    fi
    sleep 0.1
  done
  [ $ready = 1 ] || fail "nginx, kvnc-api or the simulator did not start: $(cat "$logs"/{sim,kvnc-api,nginx}.log)"

  step "login through nginx"
  reply=$(post '{"FN":0,"PRM":{"USER":"admin","PWD":"admin-secret"},"MN":1}')
  [ "$(json "$reply" '$j->{status}{RC}')" = 0 ] || fail "login answered $reply"
  sid=$(json "$reply" '$j->{response}{SESSION}{ID}')
  [ -n "$sid" ] || fail "login gave no session: $reply"
  [ "$(json "$reply" '$j->{MN}')" = 1 ] || fail "login did not echo MN: $reply"

  step "a sensor reading in that session"
  reply=$(post '{"FN":12,"SID":"'"$sid"'","PRM":{"SENS":[{"ID":2001,"SNUM":1,"THRES":1,"EMASK":63}]},"MN":2}')
  [ "$(json "$reply" '$j->{status}{RC}')" = 0 ] || fail "reading answered $reply"
  [ "$(json "$reply" 'join ",", map { "$_->{id}/$_->{snum}" } @{$j->{response}}')" = 2001/1 ] ||
    fail "reading gave not sensor 2001/1: $reply"
  [ -n "$(json "$reply" '$j->{response}[0]{value}')" ] || fail "reading without a value: $reply"
}

# The systemd links and state files of the enabled (or masked) socket unit.
readonly unit_state='^(/etc/systemd/system|/var/lib/systemd/deb-systemd-helper-(enabled|masked))(/sockets\.target\.wants)?(/kvnc-api\.socket(\.dsh-also)?)?$'

# NAME: lists the root now, and says how it differs from the root before
# the package came (+ added, - gone), without the unit state.
snapshot() {
  root_files "$r" >"$logs/$1"
  comm -13 "$logs/base" "$logs/$1" | grep -v -E "$unit_state" | sed 's/^/+/' || true
  comm -23 "$logs/base" "$logs/$1" | sed 's/^/-/' || true
}

package_status() {
  in_root dpkg-query -W -f '${db:Status-Abbrev}' kvnc-api 2>/dev/null || true
}

# Installed again onto the root it was purged from: every file it adds is
# its own, removing it leaves exactly its conffiles, purging leaves the root
# as it was before.
remove_and_purge() {
  # /lib is a link to /usr/lib in the root (merged /usr).
  dpkg-deb -c "$deb" | awk '{ sub(/^\./, "", $6); sub(/\/$/, "", $6); sub(/^\/lib\//, "/usr/lib/", $6)
    if ($6 != "") print "+" $6 }' | sort >"$logs/package-files"
  root_files "$r" >"$logs/base"

  step "installed again: only its own files added"
  in_root apt-get install -y -q --no-install-recommends "/root/${deb##*/}" >"$logs/reinstall.log" 2>&1 ||
    { cat "$logs/reinstall.log" >&2; fail "apt-get install after purge"; }
  snapshot installed | grep -v -x -F -f "$logs/package-files" >"$logs/diff" &&
    fail "the install changed files not of the package: $(cat "$logs/diff")"
  sed 's/^/+/' "$r/var/lib/dpkg/info/kvnc-api.conffiles" | sort >"$logs/conffiles"

  step "apt-get remove: only the conffiles stay"
  in_root apt-get remove -y -q kvnc-api >"$logs/remove.log" 2>&1 || { cat "$logs/remove.log" >&2; fail "apt-get remove"; }
  [ "$(package_status)" = "rc " ] || fail "after remove the package is '$(package_status)', not rc (conffiles kept)"
  snapshot removed | diff -u "$logs/conffiles" - ||
    fail "after remove, the root holds not just the conffiles more than before (- missing, + extra)"
  in_root dpkg -L kvnc-api | sed 's/^/+/' | grep -x -F -f "$logs/conffiles" | sort | diff -q "$logs/conffiles" - >/dev/null ||
    fail "dpkg -L kvnc-api no longer names the conffiles"

  step "apt-get purge: the root as before"
  in_root apt-get purge -y -q kvnc-api >"$logs/purge.log" 2>&1 || { cat "$logs/purge.log" >&2; fail "apt-get purge"; }
  case "$(package_status)" in "" | "un ") ;; *) fail "after purge the package is '$(package_status)'" ;; esac
  comm -3 "$logs/base" <(root_files "$r") >"$logs/diff"
  [ ! -s "$logs/diff" ] || fail "purge left the root changed: $(cat "$logs/diff")"
}

inside() {
  local work=$1 mirror_ok=$2
  deb=$(echo "$work"/out/kvnc-api_*.deb)
  sim=$3
  r=$work/root
  logs=$work/logs
  mkdir -p "$r" "$logs"
  (
    flock 9
    [ -f "$base" ] && exit 0
    [ "$mirror_ok" = 1 ] || skip "no cached Debian 12 root ($base) and the Debian mirror is unreachable"
    make_base
  ) 9>"$cache/.lock"
  if [ ! -f "$r/etc/debian_version" ]; then
    step "unpacking the cached Debian 12 root"
    tar --zstd -C "$r" -xf "$base"
  fi
  mount_root
  root_files "$r" >"$logs/fresh"
  install_package "$deb" "$mirror_ok"
  # The simulator's demo appliance knows this user.
  in_root useradd -u 1001 admin
  echo 'admin:admin-secret' | in_root chpasswd
  unshare --net -- "$0" --serve "$work" "$sim" || exit $?
  in_root apt-get purge -y -q kvnc-api >"$logs/purge.log" 2>&1 || { cat "$logs/purge.log" >&2; fail "apt-get purge"; }
  # The dependencies leave files of their own; none may be named after us.
  comm -13 "$logs/fresh" <(root_files "$r") | grep kvnc >"$logs/diff" &&
    fail "purge after the first install left: $(cat "$logs/diff")"
  remove_and_purge
  echo "install-test: passed"
}

case "${1:-}" in
  --inside) shift; inside "$@"; exit ;;
  --serve) r=$2/root logs=$2/logs sim=$3; serve_and_log_in; exit ;;
esac

# ---- on the host ----------------------------------------------------------
build=$(realpath -m "${1:-$root/build}")
[ "$(id -u)" = 0 ] || { echo "install-test: must run as root" >&2; exit 2; }
if [ ! -x "$build/kvnc-api" ] || [ ! -x "$build/sim/kvnc-sim" ]; then
  fail "no kvnc-api and sim/kvnc-sim in $build: build first"
fi
"$root/scripts/install-deps.sh" debootstrap zstd lintian
mkdir -p "$cache"
work=$(mktemp -d "${TMPDIR:-/tmp}/kvnc-install-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM
"$root/scripts/package.sh" --host --build "$build" --out "$work/out" >"$work/package.log" 2>&1 ||
  { cat "$work/package.log" >&2; fail "scripts/package.sh"; }
mirror=$(mirror_of bookworm)
mirror_ok=0
[ -n "$mirror" ] && curl -fsS --max-time 15 -o /dev/null "$mirror/dists/bookworm/Release" 2>/dev/null && mirror_ok=1
# Private mounts and processes: whatever happens, nothing stays mounted or
# running once this ends (when unshare ends, its child and with it every
# process of the namespace is killed).
unshare --mount --propagation private --pid --fork --kill-child --mount-proc -- \
  "$0" --inside "$work" "$mirror_ok" "$build/sim/kvnc-sim" &
inner=$!
trap 'kill -TERM $inner 2>/dev/null; wait $inner; exit 130' INT TERM
wait $inner
