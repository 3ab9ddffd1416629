#!/usr/bin/env bash
# Makes the profile corpus again after a change to the profile layout: every file of
# tests/data/profiles but good/two-by-two.bx2 from the table in tests/options/profilecorpus.h,
# then the golden world. Edit good/two-by-two.bx2 by hand first.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build --target profile_tests bramblex-run
BRAMBLEX_REGENERATE_CORPUS=1 build/bin/profile_tests --gtest_filter='*corpus_files_are*'
scripts/regenerate-golden.sh
