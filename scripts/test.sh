#!/usr/bin/env bash
# Builds everything and runs every test.
#   scripts/test.sh            Release build in build/, all tests
#   scripts/test.sh --sanitize ASan + UBSan build in build-sanitize/, the fast tests
#   scripts/test.sh --no-gui   the engine, options and bramblex-run alone in build-nogui/, their tests
#                              (further arguments go to ctest, such as -E NAME)
#   scripts/test.sh --web      the page in build-web/ (scripts/web.sh), its tests in headless Chromium
# Without an option it runs the Release build's tests, then the page's.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
if [ "${1:-}" = "--no-gui" ]; then
  cmake -S . -B build-nogui -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRAMBLEX_GUI=OFF -DBRAMBLEX_BENCH=OFF
  cmake --build build-nogui
  ctest --test-dir build-nogui --output-on-failure -j "$jobs" "${@:2}"
elif [ "${1:-}" = "--web" ]; then
  scripts/web.sh
  # The runner the page is compared with: the Release build's, or bramblex-run built alone.
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
  cmake --build build --target bramblex-run
  node --test tests/web/
elif [ "${1:-}" = "--sanitize" ]; then
  cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRAMBLEX_SANITIZE=ON -DBRAMBLEX_BENCH=OFF
  cmake --build build-sanitize
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs" -L fast
else
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
  cmake --build build
  ctest --test-dir build --output-on-failure -j "$jobs"
  "$0" --web
fi
