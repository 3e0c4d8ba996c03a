#!/usr/bin/env bash
# The test command: installs what is missing, builds, checks the formatting,
# that the product opens nothing without close-on-exec and the lint profile,
# runs the fuzz targets for a bounded time, the unit tests built for the
# appliance under emulation and the tests under the sanitizers, then every
# test on the build machine (unit tests on the host, the rest inside the
# hermetic environment). Ends with ctest's summary line.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build
cd "$root"

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$build"

echo "== format"
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
clang-format --dry-run --Werror "${sources[@]}"

echo "== close-on-exec: every file and socket of the product"
"$root/scripts/check-cloexec.sh"

echo "== lint"
mapfile -t units < <(git ls-files 'front/*.cpp' 'client/*.cpp' 'api/*.cpp' 'sim/*.cpp')
if [ ${#units[@]} -gt 0 ]; then
  if ! printf '%s\n' "${units[@]}" | xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet >"$build/clang-tidy.log" 2>&1; then
    grep -v -E '^[0-9]+ warnings? generated|^Suppressed [0-9]+ warnings|^Use -header-filter' "$build/clang-tidy.log"
    echo "lint: clang-tidy found problems" >&2
    exit 1
  fi
fi

echo "== fuzz: bounded runs of every libFuzzer target"
"$root/scripts/fuzz.sh" 30

echo "== target: 32-bit ARM under emulation"
start=$(date +%s)
"$root/scripts/test-armhf.sh"
echo "target build and tests: $(( $(date +%s) - start )) s"

echo "== AddressSanitizer and UndefinedBehaviorSanitizer: every test"
"$root/scripts/sanitize.sh" address
echo "== ThreadSanitizer: the concurrent tests"
"$root/scripts/sanitize.sh" thread

echo "== tests"
cd "$build"
ctest --output-on-failure -j"$(nproc)"
