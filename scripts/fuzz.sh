#!/usr/bin/env bash
# fuzz.sh [SECONDS]: builds the libFuzzer targets with clang and runs each
# for SECONDS (default 30) on a copy of its seed corpus in the repository.
# As root: request_fuzz runs inside tests/hermetic/run-hermetic.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-30}
build=$root/build-fuzz
# Built like the sanitizer builds: -O1 with line tables is enough for the
# sanitizers' reports, and builds faster than -O2.
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVNC_FUZZ=ON \
  -DKVNC_BENCH=OFF -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" >/dev/null
targets=()
for src in "$root"/tests/fuzz/*_fuzz.cpp; do targets+=("$(basename "$src" .cpp)"); done
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"
# The targets run side by side, one per processor; each one's summary is
# printed when all have ended.
pids=()
dirs=()
for target in "${targets[@]}"; do
  work=$(mktemp -d)
  dirs+=("$work")
  mkdir "$work/corpus"
  name=${target%_fuzz}
  if [ -d "$root/tests/fuzz/corpus/$name" ]; then cp -r "$root/tests/fuzz/corpus/$name/." "$work/corpus/"; fi
  # request_fuzz uses the appliance's fixed paths (/tmp/Korvane, the pid and
  # session files): it runs in the hermetic environment, which keeps the
  # corpus folder visible although it lies under /tmp.
  hermetic=()
  if [ "$target" = request_fuzz ]; then hermetic=(env KVNC_HERMETIC_KEEP="$work/corpus" "$root/tests/hermetic/run-hermetic"); fi
  (cd "$build" && "${hermetic[@]}" "$build/tests/$target" -max_total_time="$seconds" -print_final_stats=1 \
    "$work/corpus" >"$work/log" 2>&1) &
  pids+=($!)
done
failed=0
for i in "${!targets[@]}"; do
  status=0
  wait "${pids[$i]}" || status=$?
  echo "== fuzz ${targets[$i]} for ${seconds}s"
  grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::average_exec_per_sec|==[0-9]+==ERROR|SUMMARY|.*cov: )' \
    "${dirs[$i]}/log" | tail -4 || true
  if [ "$status" -ne 0 ]; then
    echo "fuzz: ${targets[$i]} failed" >&2
    failed=1
  fi
  rm -rf "${dirs[$i]}"
done
exit "$failed"
