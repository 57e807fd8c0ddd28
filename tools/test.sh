#!/usr/bin/env bash
# Builds and runs every test: the release build (unit, real-time and VST3 bundle tests), the unit
# tests again built with AddressSanitizer and UndefinedBehaviorSanitizer, and the saved-state fuzzer.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

tools/install-deps.sh

jobs="$(nproc)"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build --parallel "$jobs"
ctest --test-dir build --output-on-failure --parallel "$jobs"

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTESSALINE_SANITIZE=ON \
      -DTESSALINE_HOST_TOOLS=OFF -DTESSALINE_BENCHMARKS=OFF
cmake --build build-sanitize --parallel "$jobs" --target TessalineTests TessalineRealtimeTests
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-sanitize --output-on-failure --parallel "$jobs"

# The saved-state fuzz target (libFuzzer with clang), run for a bounded time from real saved states.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALINE_FUZZ=ON \
      -DTESSALINE_HOST_TOOLS=OFF -DTESSALINE_BENCHMARKS=OFF
cmake --build build-fuzz --parallel "$jobs" --target TessalineStateFuzzer TessalineFuzzSeeds
rm -rf build-fuzz/seeds
mkdir -p build-fuzz/corpus
build-fuzz/tests/fuzz/TessalineFuzzSeeds build-fuzz/seeds
build-fuzz/tests/fuzz/TessalineStateFuzzer -max_total_time="${FUZZ_SECONDS:-60}" -max_len=65536 \
    -rss_limit_mb=4096 -malloc_limit_mb=9000 -artifact_prefix=build-fuzz/ -print_final_stats=1 \
    build-fuzz/corpus build-fuzz/seeds
