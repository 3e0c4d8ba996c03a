#!/usr/bin/env bash
# fuzz.sh [SECONDS]: builds the libFuzzer targets with clang and runs each
# for SECONDS (default 30) on a copy of its seed corpus in the repository.
# As root: request_fuzz runs inside tests/hermetic/run-hermetic.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-30}
build=$root/build-fuzz
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVNC_FUZZ=ON \
  -DKVNC_BENCH=OFF >/dev/null
targets=()
for src in "$root"/tests/fuzz/*_fuzz.cpp; do targets+=("$(basename "$src" .cpp)"); done
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"
for target in "${targets[@]}"; do
  corpus=$(mktemp -d)
  name=${target%_fuzz}
  if [ -d "$root/tests/fuzz/corpus/$name" ]; then cp -r "$root/tests/fuzz/corpus/$name/." "$corpus/"; fi
  # request_fuzz uses the appliance's fixed paths (/tmp/Korvane, the pid and
  # session files): it runs in the hermetic environment, which keeps the
  # corpus folder visible although it lies under /tmp.
  hermetic=()
  if [ "$target" = request_fuzz ]; then hermetic=(env KVNC_HERMETIC_KEEP="$corpus" "$root/tests/hermetic/run-hermetic"); fi
  echo "== fuzz $target for ${seconds}s"
  set +e
  (cd "$build" && "${hermetic[@]}" "$build/tests/$target" -max_total_time="$seconds" -print_final_stats=1 "$corpus" 2>&1) \
    | grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::average_exec_per_sec|==[0-9]+==ERROR|SUMMARY|.*cov: )' | tail -4
  status=${PIPESTATUS[0]}
  set -e
  rm -rf "$corpus"
  if [ "$status" -ne 0 ]; then
    echo "fuzz: $target failed" >&2
    exit 1
  fi
done
