#!/usr/bin/env bash
# The simulator as a user runs it: default options, started with its s key, under a virtual X
# server. For SECONDS seconds it counts the CPU time of the simulator and of the X server
# (utime + stime in /proc/PID/stat) and the generations run (the canvas caption's column number
# falls back at each generation's end; xprop reports every caption). Each build given is measured
# in turn, ROUNDS rounds, interleaved, so that a machine loaded by others weighs on all alike.
#   bench/simulator_cpu.sh [-s SECONDS] [-r ROUNDS] BIN_FOLDER...
# Prints a line per run: build, simulator CPU s, X server CPU s, generations.
set -euo pipefail
seconds=20
rounds=3
while getopts "s:r:" opt; do
  case $opt in
  s) seconds=$OPTARG ;;
  r) rounds=$OPTARG ;;
  *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || { echo "usage: $0 [-s SECONDS] [-r ROUNDS] BIN_FOLDER..."; exit 2; }

out=$(mktemp -d)
. "$(dirname "$0")/../tests/e2e/xvfb.sh"
unset QT_QPA_PLATFORM
export XDG_CONFIG_HOME="$out/config" XDG_DATA_HOME="$out/data"
app="" xvfb="" spy=""
cleanup() {
  for p in $spy $app $xvfb; do kill "$p" 2>/dev/null || true; done
  rm -rf "$out"
}
trap cleanup EXIT

ticks() { # utime + stime of a process, in clock ticks (its name may hold spaces)
  sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'
}

measure() {
  rm -f "$out/display"
  start_xvfb 1280x1024x24
  wait_for "xdpyinfo"
  xdotool mousemove 1279 1023 # away from the canvas: no read-out to follow
  "$1/Bramblex 2" >"$out/simulator.log" 2>&1 &
  app=$!
  wait_for "xdotool search --name '^Simulator$'"
  local canvas
  canvas=$(xdotool search --name '^Simulator$' | head -n 1)
  for _ in $(seq 1 100); do # "s" does nothing while the world is being created
    xdotool windowfocus --sync "$canvas" key s
    sleep 0.2
    xdotool search --name '^Running' >/dev/null 2>&1 && break
  done
  sleep 2
  xprop -spy -id "$canvas" WM_NAME >"$out/captions" &
  spy=$!
  sleep 0.5
  local sim0 x0 sim1 x1
  sim0=$(ticks "$app") x0=$(ticks "$xvfb")
  sleep "$seconds"
  sim1=$(ticks "$app") x1=$(ticks "$xvfb")
  kill "$spy" "$app" "$xvfb"
  wait "$spy" "$app" "$xvfb" 2>/dev/null || true
  spy="" app="" xvfb=""
  local hz generations
  hz=$(getconf CLK_TCK)
  generations=$(grep -o 'Running [0-9]*' "$out/captions" | awk '{ if (NR > 1 && $2 < last) n++; last = $2 } END { print n + 0 }')
  awk -v b="$1" -v s=$((sim1 - sim0)) -v x=$((x1 - x0)) -v g="$generations" -v hz="$hz" \
    'BEGIN { printf "%-30s sim %6.2f s  X %6.2f s  generations %d\n", b, s / hz, x / hz, g }'
}

for _ in $(seq 1 "$rounds"); do
  for bin in "$@"; do
    measure "$bin"
  done
done
