#!/usr/bin/env bash
# Starts the real simulator under Xvfb, waits for both windows by title, starts the simulation
# with a key in the canvas window, takes a screenshot, and opens the Statistics window, whose
# charts must show coloured lines (statistics.png).
#   simulator_e2e.sh <folder of the programs> <output folder>
set -euo pipefail
bin=$1
out=$2
mkdir -p "$out"
export XDG_CONFIG_HOME="$out/config" XDG_DATA_HOME="$out/data"
unset QT_QPA_PLATFORM

. "$(dirname "$0")/xvfb.sh"
applog="$out/simulator.log"
start_xvfb 1280x1024x24
app=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT


wait_for "xdpyinfo"
"$bin/Bramblex 2" >"$out/simulator.log" 2>&1 &
app=$!
wait_for "xdotool search --name '^Bramblex 2\.1$'"
wait_for "xdotool search --name '^Simulator$'"
# A save into a pipe whose reader has quit fails with a message: the program ignores SIGPIPE.
(($(printf '%d' "0x$(sed -n 's/^SigIgn:\s*//p' "/proc/$app/status")") & 1 << (13 - 1))) ||
  { echo "the simulator does not ignore SIGPIPE"; exit 1; }
canvas=$(xdotool search --name '^Simulator$' | head -n 1)
# "s" does nothing while the world is still being created: press until the run begins.
started=""
for _ in $(seq 1 40); do
  xdotool windowfocus --sync "$canvas"
  xdotool key s
  for _ in $(seq 1 10); do
    if xdotool search --name '^Running' >/dev/null 2>&1; then started=1; break 2; fi
    sleep 0.1
  done
done
[ -n "$started" ] || { echo "the simulation did not start on the s key"; exit 1; }
wait_for "xdotool search --name '^Running [0-9]+ of [0-9]+\.$'" # columns are being updated
import -window root "$out/simulator.png"
test -s "$out/simulator.png"
panel=$(xdotool search --name '^Bramblex 2\.1$' | head -n 1)
# F6 opens the Statistics window; its charts draw the generations run so far in colour.
xdotool windowfocus --sync "$panel"
xdotool key F6
wait_for "xdotool search --onlyvisible --name '^Statistics$'"
statistics=$(xdotool search --onlyvisible --name '^Statistics$' | head -n 1)
wait_for "import -window $statistics '$out/statistics.png' && [ \$(convert '$out/statistics.png' -fuzz 10% -fill white -opaque white -format '%k' info:) -gt 40 ] && [ \$(convert '$out/statistics.png' -colorspace HSL -channel G -separate -threshold 40% -format '%[fx:mean>0.002]' info:) = 1 ]" ||
  { echo "the Statistics window shows no drawn chart"; exit 1; }
# The program ends from its Quit command (Ctrl+Q in the control panel).
xdotool windowfocus --sync "$panel"
xdotool key ctrl+q
for _ in $(seq 1 100); do
  kill -0 "$app" 2>/dev/null || { app=""; break; }
  sleep 0.1
done
[ -z "$app" ] || { echo "the simulator did not end on Ctrl+Q"; exit 1; }
echo "1 passed, 0 failed"
