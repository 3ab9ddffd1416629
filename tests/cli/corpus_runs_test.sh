#!/usr/bin/env bash
# Every profile of the corpus continued by bramblex-run for 50 generations, as saved and in grids
# of other sizes set after it: a good profile runs (status 0), a broken one is refused (status 1
# with one message), and no run reports anything else — the sanitizer build aborts on a bad read.
#   corpus_runs_test.sh BRAMBLEX_RUN PROFILES_FOLDER
set -u
run=$1
profiles=$2
err=$(mktemp)
trap 'rm -f "$err"' EXIT
grids=("" "gridSizeX=100" "gridSizeX=100 gridSizeY=100" "gridSizeX=1 gridSizeY=1" "gridSizeX=2 gridSizeY=1")
failures=0
runs=0
for file in "$profiles"/good/*.bx2 "$profiles"/broken/*.bx2; do
  want=0
  case $file in */broken/*) want=1 ;; esac
  for grid in "${grids[@]}"; do
    sets=()
    for s in $grid; do sets+=(--set "$s"); done
    "$run" --seed 1 --profile "$file" "${sets[@]}" --generations 50 --stats /dev/null >/dev/null 2>"$err"
    status=$?
    runs=$((runs + 1))
    lines=$(grep -vc '^bramblex-run: warning:' "$err")
    if [ "$status" -ne "$want" ] || [ "$lines" -gt "$want" ]; then
      echo "FAIL: ${file##*/} ${grid:-as saved}: status $status (want $want)"
      sed 's/^/    /' "$err" | head -20
      failures=$((failures + 1))
    fi
  done
done
echo "$((runs - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
