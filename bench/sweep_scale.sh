#!/usr/bin/env bash
# How a sweep scales over local workers, and what a run costs in it against bramblex-run.
# Rounds are interleaved (1 worker, 2 workers, the same runs one after another with bramblex-run),
# so that a machine loaded by others weighs on all alike. Times are whole commands, wall clock:
# starting and stopping the cluster included.
#   bench/sweep_scale.sh [-n RUNS] [-g GENERATIONS] [-s SIZE] [-r ROUNDS] BIN_FOLDER
# Prints one line per command and round, then the medians and the two ratios.
set -euo pipefail
runs=100 generations=2000 size=100 rounds=3
while getopts "n:g:s:r:" opt; do
  case $opt in
  n) runs=$OPTARG ;;
  g) generations=$OPTARG ;;
  s) size=$OPTARG ;;
  r) rounds=$OPTARG ;;
  *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ $# -eq 1 ] || { echo "usage: $0 [-n RUNS] [-g GENERATIONS] [-s SIZE] [-r ROUNDS] BIN_FOLDER"; exit 2; }
bin=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
grid=(--set "gridSizeX=$size" --set "gridSizeY=$size")

seconds() { # the wall time of a command, in seconds
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  echo "scale=3; ($end - $start) / 1000000000" | bc
}
serial() {
  for seed in $(seq 1 "$runs"); do
    "$bin/bramblex-run" --seed "$seed" --generations "$generations" "${grid[@]}" --stats "$out/run.csv"
  done
}
median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

for round in $(seq 1 "$rounds"); do
  for workers in 1 2; do
    t=$(seconds "$bin/bramblex-sweep" --seeds "1-$runs" "${grid[@]}" --generations "$generations" \
      --out "$out/sweep.csv" --workers "$workers")
    echo "round $round: sweep, $workers worker(s): $t s" >&2
    echo "$t" >>"$out/w$workers"
  done
  t=$(seconds serial)
  echo "round $round: $runs bramblex-run one after another: $t s" >&2
  echo "$t" >>"$out/serial"
done
one=$(median <"$out/w1") two=$(median <"$out/w2") bare=$(median <"$out/serial")
echo "$runs runs of $generations generations, ${size}x$size, $(nproc) cores; medians of $rounds:"
echo "  1 worker $one s, 2 workers $two s, bramblex-run in a loop $bare s"
echo "  2 workers / 1 worker: $(echo "scale=3; $two / $one" | bc)"
echo "  1 worker / bramblex-run loop: $(echo "scale=3; $one / $bare" | bc)"
