#!/usr/bin/env bash
# Installs the Debian packages the project needs to build, test and run its
# demo, when any is missing. Debian 12, as root.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libfcgi-dev libpam0g-dev nlohmann-json3-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang clang-format clang-tidy libclang-rt-14-dev
  nginx-light libnginx-mod-http-js spawn-fcgi curl openssl util-linux procps iproute2 wrk
  g++-arm-linux-gnueabihf qemu-user
  lintian debootstrap zstd chrpath
  chromium chromium-driver python3-selenium
)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
if [ "$(id -u)" != 0 ]; then
  echo "install-deps: missing packages (${missing[*]}); run as root" >&2
  exit 1
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# One index of a mirror in sync may fail to update; the install says if it matters.
apt-get update -qq || true
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
