#!/usr/bin/env bash
# Builds everything and runs every test.
#   scripts/test.sh            Release build in build/, all tests
#   scripts/test.sh --sanitize ASan + UBSan build in build-sanitize/, the fast tests
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
if [ "${1:-}" = "--sanitize" ]; then
  cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRAMBLEX_SANITIZE=ON -DBRAMBLEX_BENCH=OFF
  cmake --build build-sanitize
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs" -L fast
else
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
  cmake --build build
  ctest --test-dir build --output-on-failure -j "$jobs"
fi
