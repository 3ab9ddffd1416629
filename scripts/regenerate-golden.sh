#!/usr/bin/env bash
# Makes the golden world again: the seeded bramblex-run result the tests compare with. Run it only
# when a change to the rules or the generator is meant to change every seeded world.
set -euo pipefail
cd "$(dirname "$0")/.."
golden=tests/data/golden
mapfile -t arguments <"$golden/arguments"
build/bin/bramblex-run "${arguments[@]}" --stats "$golden/world-stats.csv" --save "$golden/world.bx2"
