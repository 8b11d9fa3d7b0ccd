#!/usr/bin/env bash
# The test command: installs what is needed, builds everything, starts a
# private PostgreSQL server and runs every test, first in the normal build and
# then in the sanitizer build (ASan + UBSan) of the libraries and app/core.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
scripts/install-deps.sh
# shellcheck source=pg-private.sh
source scripts/pg-private.sh
trap pg_private_stop EXIT
pg_private_start

jobs="${PANELPICK_JOBS:-$(nproc)}"
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs" --timeout 900

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPANELPICK_SANITIZE=address,undefined -DPANELPICK_GUI=OFF
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 900

# Threaded code is also run under ThreadSanitizer; the targets opt in with the label "tsan".
if ctest --test-dir build -N -L tsan | grep -q 'Total Tests: [1-9]'; then
    cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPANELPICK_SANITIZE=thread -DPANELPICK_GUI=OFF -DPANELPICK_TSAN_ONLY=ON
    cmake --build build-tsan -j "$jobs"
    TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan --output-on-failure -j "$jobs" -L tsan --timeout 900
fi

# Short libFuzzer runs (clang, ASan + UBSan) of every fuzz target, label "fuzz".
if grep -rqs 'panelpick_add_fuzzer' --include=CMakeLists.txt . ; then
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DPANELPICK_FUZZ=ON -DPANELPICK_GUI=OFF -DPANELPICK_SANITIZE=address,undefined
    cmake --build build-fuzz -j "$jobs"
    ctest --test-dir build-fuzz --output-on-failure -j "$jobs" -L fuzz
fi
