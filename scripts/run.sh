#!/usr/bin/env bash
# Builds Bramblex 2 and starts the simulator (needs a desktop session or an X display).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null
exec "build/bin/Bramblex 2" "$@"
