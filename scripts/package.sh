#!/usr/bin/env bash
# Builds the Debian packages dist/bramblex2_<version>_<arch>.deb (the programs as `cmake --install`
# installs them, under /usr) and dist/python3-bramblex_<version>_<arch>.deb (the Python module and
# bramblex-sweep). Uses the build folder of scripts/build.sh and scripts/test.sh (built
# first when needed), so CI packs what it has tested.
#   scripts/package.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build"
rm -f dist/bramblex2_*.deb dist/python3-bramblex_*.deb
cpack --config "$build/CPackConfig.cmake" -B "$PWD/dist"
rm -rf dist/_CPack_Packages
ls dist/bramblex2_*.deb dist/python3-bramblex_*.deb
