#!/usr/bin/env bash
# armhf-sysroot.sh DIR: unpacks Debian's armhf builds of the libraries the
# program links (libfcgi, libpam and what they need), the headers-only
# nlohmann JSON and the googletest sources into DIR, for the cross build.
# Packages are downloaded and unpacked, never installed: the host's amd64
# libraries may be of another point release than the armhf ones.
set -euo pipefail
out=$1
stamp="$out/.complete"
[ -f "$stamp" ] && exit 0

arch_packages=(libfcgi0ldbl libfcgi-dev libpam0g libpam0g-dev libaudit1 libcap-ng0)
all_packages=(nlohmann-json3-dev googletest)

if ! dpkg --print-foreign-architectures | grep -qx armhf; then
  dpkg --add-architecture armhf
  apt-get update -qq || true  # a mirror in sync may fail one index; the download says if it matters
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 777 "$work"  # apt's download user writes there
names=()
for p in "${arch_packages[@]}"; do names+=("$p:armhf"); done
names+=("${all_packages[@]}")
if ! (cd "$work" && apt-get download -qq "${names[@]}" 2>/dev/null); then
  apt-get update -qq || true
  (cd "$work" && apt-get download -qq "${names[@]}")
fi

rm -rf "$out"
mkdir -p "$out"
for deb in "$work"/*.deb; do dpkg-deb -x "$deb" "$out"; done

# Absolute links (libpam.so -> /lib/...) would point at the host: make them
# relative to the sysroot.
find "$out" -type l | while read -r link; do
  target=$(readlink "$link")
  case "$target" in
    /*) ln -sfn "$(realpath -m --relative-to="$(dirname "$link")" "$out$target")" "$link" ;;
  esac
done
touch "$stamp"
