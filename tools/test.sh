#!/usr/bin/env bash
# Builds and runs every test: the release build (unit, real-time and VST3 bundle tests), then the
# unit tests again built with AddressSanitizer and UndefinedBehaviorSanitizer.
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
