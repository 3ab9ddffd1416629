#!/usr/bin/env bash
# Builds Bramblex 2 and starts it. Until the simulator's windows exist this runs the headless
# runner on the default world and writes a picture of it to bramblex-world.png.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null
exec build/bin/bramblex-run --generations 200 --stats - --png bramblex-world.png "$@"
