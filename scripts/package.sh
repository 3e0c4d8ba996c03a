#!/usr/bin/env bash
# package.sh [--host] [--armhf] [--build DIR] [--out DIR]
#
# Builds the Debian package kvnc-api_<version>_<arch>.deb with dpkg-deb:
#   --host    for this machine, from the host build (DIR, default build/)
#   --armhf   for the appliance, from the cross build in build-armhf/tree
# (both when neither is given), into DIR of --out (default out/), and
# checks each with lintian. A missing program is built first. The version
# is the top entry of deploy/debian/changelog. Debian 12, as root (the
# armhf dependencies are read from Debian's armhf libraries, downloaded).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
debian=$root/deploy/debian

want_host=0 want_armhf=0 host_build=$root/build out=$root/out
while [ $# -gt 0 ]; do
  case "$1" in
    --host) want_host=1 ;;
    --armhf) want_armhf=1 ;;
    --build) host_build=$(realpath -m "$2"); shift ;;
    --out) out=$(realpath -m "$2"); shift ;;
    *) echo "usage: package.sh [--host] [--armhf] [--build DIR] [--out DIR]" >&2; exit 2 ;;
  esac
  shift
done
if [ $want_host = 0 ] && [ $want_armhf = 0 ]; then want_host=1 want_armhf=1; fi

"$root/scripts/install-deps.sh" lintian chrpath
version=$(dpkg-parsechangelog -l "$debian/changelog" -S Version)
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Debian's armhf builds of the libraries the program links, unpacked with
# their control files (symbols, shlibs) where dpkg-shlibdeps looks for the
# libraries of a package being built. Downloaded once into the cross build.
armhf_libraries() {
  local cache=$root/build-armhf/package-libs deb
  local names=(libc6 libgcc-s1 libstdc++6 libfcgi0ldbl libpam0g)
  if [ ! -f "$cache/.complete" ]; then
    rm -rf "$cache"
    mkdir -p "$cache"
    chmod 777 "$cache"  # apt's download user writes there
    (cd "$cache" && apt-get download -qq "${names[@]/%/:armhf}")
    touch "$cache/.complete"
  fi
  for deb in "$cache"/*.deb; do
    dpkg-deb -R "$deb" "$work/shlibs/debian/$(dpkg-deb -f "$deb" Package)"
  done
}

# The host build's program, or the cross build's, made when it is missing.
program_of() {
  case "$1" in
    host)
      [ -x "$host_build/kvnc-api" ] || "$root/scripts/build.sh" "$host_build"
      echo "$host_build/kvnc-api"
      ;;
    armhf)
      [ -x "$root/build-armhf/tree/kvnc-api" ] || "$root/scripts/test-armhf.sh" >&2
      echo "$root/build-armhf/tree/kvnc-api"
      ;;
  esac
}

# install MODE SOURCE DEST (relative to the package tree)
put() {
  install -D -m "$1" "$2" "$stage/$3"
}

build_package() {
  local kind=$1 arch prefix='' program deb
  program=$(program_of "$kind")
  if [ "$kind" = armhf ]; then
    arch=armhf prefix=arm-linux-gnueabihf-
  else
    arch=$(dpkg --print-architecture)
  fi
  stage=$work/$arch
  rm -rf "$stage" "$work/shlibs"
  mkdir -p "$stage/DEBIAN" "$work/shlibs/debian"

  put 0755 "$program" usr/sbin/kvnc-api
  # As Debian's packaging tools strip: debug information and notes out.
  "${prefix}strip" --strip-unneeded --remove-section=.comment --remove-section=.note "$stage/usr/sbin/kvnc-api"
  # The cross build finds its libraries in the build's sysroot through a
  # run path; installed, they are in the system's folders.
  chrpath -d "$stage/usr/sbin/kvnc-api" >/dev/null
  put 0644 "$root/deploy/pam.d/webkvnc" etc/pam.d/webkvnc
  put 0644 "$root/deploy/nginx/kvnc-api.conf" etc/nginx/sites-available/kvnc-api
  mkdir -p "$stage/etc/nginx/sites-enabled"
  ln -s ../sites-available/kvnc-api "$stage/etc/nginx/sites-enabled/kvnc-api"
  # js_import names it relative to nginx.conf's folder.
  put 0644 "$root/deploy/nginx/kvnc-api.js" etc/nginx/kvnc-api.js
  put 0644 "$debian/kvnc-api.service" lib/systemd/system/kvnc-api.service
  put 0644 "$debian/kvnc-api.socket" lib/systemd/system/kvnc-api.socket
  put 0644 "$debian/copyright" usr/share/doc/kvnc-api/copyright
  put 0644 "$debian/lintian-overrides" usr/share/lintian/overrides/kvnc-api
  gzip -9n <"$debian/changelog" >"$stage/usr/share/doc/kvnc-api/changelog.Debian.gz"
  mkdir -p "$stage/usr/share/man/man8"
  gzip -9n <"$debian/kvnc-api.8" >"$stage/usr/share/man/man8/kvnc-api.8.gz"
  chmod 0644 "$stage/usr/share/doc/kvnc-api/changelog.Debian.gz" "$stage/usr/share/man/man8/kvnc-api.8.gz"
  for script in postinst prerm postrm; do
    install -m 0755 "$debian/$script" "$stage/DEBIAN/$script"
  done
  (cd "$stage" && find etc -type f | sed 's|^|/|' | sort) >"$stage/DEBIAN/conffiles"
  (cd "$stage" && find usr lib -type f -print0 | sort -z | xargs -0 md5sum) >"$stage/DEBIAN/md5sums"
  chmod 0644 "$stage/DEBIAN/conffiles" "$stage/DEBIAN/md5sums"

  # Dependencies as dpkg-shlibdeps computes them from the libraries' symbols
  # files: the host's installed ones, or the armhf packages unpacked. (For
  # armhf it warns of __aeabi_atexit, which libstdc++6's symbols file does
  # not list; the library has it, and other symbols set the version.)
  cp "$debian/control" "$work/shlibs/debian/control"
  [ "$kind" = armhf ] && armhf_libraries
  (cd "$work/shlibs" && DEB_HOST_ARCH=$arch dpkg-shlibdeps -Tdebian/substvars "$stage/usr/sbin/kvnc-api")
  (cd "$work/shlibs" && DEB_HOST_ARCH=$arch dpkg-gencontrol -pkvnc-api -l"$debian/changelog" -cdebian/control \
    -Tdebian/substvars -fdebian/files -P"$stage")

  deb=$out/kvnc-api_${version}_$arch.deb
  dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb" >/dev/null
  echo "package: $deb"
  lintian --fail-on error --tag-display-limit 0 "$deb"
}

[ $want_host = 1 ] && build_package host
[ $want_armhf = 1 ] && build_package armhf
exit 0
