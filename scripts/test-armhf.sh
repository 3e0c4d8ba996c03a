#!/usr/bin/env bash
# Cross-builds everything for the appliance (32-bit ARM, hard-float) and runs
# the unit tests under user-mode emulation (qemu-arm), from the same sources
# and CMakeLists as the host build.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build-armhf
"$root/scripts/install-deps.sh"
"$root/scripts/armhf-sysroot.sh" "$build/sysroot"
cmake -S "$root" -B "$build/tree" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/armhf-toolchain.cmake" \
  -DKVNC_ARMHF_SYSROOT="$build/sysroot" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVNC_BENCH=OFF >/dev/null
# The program and the unit tests: the simulator and the other suites run on the build machine only.
cmake --build "$build/tree" -j"$(nproc)" --target kvnc-api unit_tests
cd "$build/tree"
ctest --output-on-failure -j"$(nproc)"
