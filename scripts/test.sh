#!/usr/bin/env bash
# The test command: installs what is missing, builds, checks the formatting,
# that the product opens nothing without close-on-exec and the lint profile,
# runs the fuzz targets for a bounded time, the unit tests built for the
# appliance under emulation and the tests under the sanitizers, builds the
# Debian packages (checked by lintian) and installs the host's into a fresh
# Debian 12 root, then every test on the build machine (unit tests on the
# host, the rest inside the hermetic environment). Ends with the time each
# stage took and whether the install test ran or was skipped (no network).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build
cd "$root"

# Each stage's time is printed as it ends and again in a summary at the end.
timings=()
stage_start=$(date +%s)
run_start=$stage_start
stage_end() {
  local now
  now=$(date +%s)
  timings+=("$(printf '%-12s %5d s' "$1" $((now - stage_start)))")
  echo "-- $1: $((now - stage_start)) s"
  stage_start=$now
}

"$root/scripts/install-deps.sh"
stage_end install
"$root/scripts/build.sh" "$build"
stage_end build

echo "== format"
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
clang-format --dry-run --Werror "${sources[@]}"
stage_end format

echo "== close-on-exec: every file and socket of the product"
"$root/scripts/check-cloexec.sh"
stage_end cloexec

echo "== lint"
mapfile -t units < <(git ls-files 'front/*.cpp' 'client/*.cpp' 'api/*.cpp' 'sim/*.cpp')
if [ ${#units[@]} -gt 0 ]; then
  if ! printf '%s\n' "${units[@]}" | xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet >"$build/clang-tidy.log" 2>&1; then
    grep -v -E '^[0-9]+ warnings? generated|^Suppressed [0-9]+ warnings|^Use -header-filter' "$build/clang-tidy.log"
    echo "lint: clang-tidy found problems" >&2
    exit 1
  fi
fi
stage_end lint

echo "== fuzz: bounded runs of every libFuzzer target"
"$root/scripts/fuzz.sh" 30
stage_end fuzz

echo "== target: 32-bit ARM under emulation"
"$root/scripts/test-armhf.sh"
stage_end armhf

echo "== AddressSanitizer and UndefinedBehaviorSanitizer: every test"
"$root/scripts/sanitize.sh" address
stage_end asan
echo "== ThreadSanitizer: the concurrent tests"
"$root/scripts/sanitize.sh" thread
stage_end tsan

echo "== package: built for the appliance and checked by lintian, installed into a fresh Debian 12 root"
"$root/scripts/package.sh" --armhf --out "$build/packages"
package=passed
"$root/tests/package/install-test.sh" "$build" || case $? in 77) package=SKIPPED ;; *) exit 1 ;; esac
stage_end package

echo "== tests"
status=0
(cd "$build" && ctest --output-on-failure -j"$(nproc)") || status=$?
stage_end tests
printf '%s\n' "== time per stage" "${timings[@]}" "$(printf '%-12s %5d s' total $(( $(date +%s) - run_start )))"
echo "package install test: $package"
exit "$status"
