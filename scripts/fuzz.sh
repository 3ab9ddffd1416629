#!/usr/bin/env bash
# Builds the profile reader's fuzz target with clang (libFuzzer, ASan, UBSan) into build-fuzz/ and
# runs it on a scratch copy of the test corpus. The engine that runs each profile read is built
# with the sanitizers and the fuzzer's coverage too.
#   scripts/fuzz.sh [seconds]   (60 by default; needs scripts/install-deps.sh --fuzz)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DBRAMBLEX_FUZZ=ON -DBRAMBLEX_SANITIZE=ON -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
  -DBRAMBLEX_GUI=OFF -DBRAMBLEX_TESTS=OFF -DBRAMBLEX_BENCH=OFF >/dev/null
cmake --build build-fuzz --target profile_fuzz
corpus=build-fuzz/corpus
mkdir -p "$corpus"
cp -n tests/data/profiles/good/* tests/data/profiles/broken/* "$corpus"/ 2>/dev/null || true
build-fuzz/bin/profile_fuzz -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 \
  -artifact_prefix=build-fuzz/ "$corpus"
