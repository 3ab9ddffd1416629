#!/usr/bin/env bash
# Starts the real simulator under Xvfb, waits for both windows by title (checks their icon and that
# their WM_CLASS is the desktop entry's StartupWMClass), starts the simulation
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


data="$(dirname "$0")/../../data"
# icon_is_shipped WINDOW: its 32 x 32 _NET_WM_ICON is data/bramblex2.svg drawn at that size.
icon_is_shipped() {
  xprop -notype -len 10000000 -id "$1" 32c _NET_WM_ICON >"$out/icon.txt"
  rsvg-convert -w 32 -h 32 "$data/bramblex2.svg" | convert png:- -depth 8 "rgba:$out/icon.rgba"
  python3 - "$out/icon.txt" "$out/icon.rgba" <<'PY'
import sys
values = [int(v) for v in open(sys.argv[1]).read().partition("=")[2].replace(",", " ").split()]
want = open(sys.argv[2], "rb").read()
k = 0
while k + 1 < len(values):
    w, h = values[k], values[k + 1]
    if (w, h) == (32, 32):
        diff = 0
        for i, argb in enumerate(values[k + 2 : k + 2 + w * h]):
            r, g, b, a = want[4 * i : 4 * i + 4]
            got = [argb >> 16 & 255, argb >> 8 & 255, argb & 255]
            diff += abs((argb >> 24) - a) + sum(abs(x * (argb >> 24) - y * a) / 255 for x, y in zip(got, (r, g, b)))
        sys.exit(0 if diff / (w * h) < 4 else 1)
    k += 2 + w * h
sys.exit(1)  # no 32 x 32 picture
PY
}

wait_for "xdpyinfo"
"$bin/Bramblex 2" >"$out/simulator.log" 2>&1 &
app=$!
wait_for "xdotool search --name '^Bramblex 2\.1$'"
wait_for "xdotool search --name '^Simulator$'"
# A save into a pipe whose reader has quit fails with a message: the program ignores SIGPIPE.
(($(printf '%d' "0x$(sed -n 's/^SigIgn:\s*//p' "/proc/$app/status")") & 1 << (13 - 1))) ||
  { echo "the simulator does not ignore SIGPIPE"; exit 1; }
canvas=$(xdotool search --name '^Simulator$' | head -n 1)
panel=$(xdotool search --name '^Bramblex 2\.1$' | head -n 1)
# Docks group the windows under the desktop entry whose StartupWMClass is their WM_CLASS class.
class=$(sed -n 's/^StartupWMClass=//p' "$data/bramblex2.desktop.in")
for window in "$panel" "$canvas"; do
  [ -n "$class" ] && xprop -id "$window" WM_CLASS | grep -qF ", \"$class\"" ||
    { echo "WM_CLASS is not the desktop entry's \"$class\": $(xprop -id "$window" WM_CLASS)"; exit 1; }
  icon_is_shipped "$window" || { echo "the window's icon is not data/bramblex2.svg"; exit 1; }
done
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
