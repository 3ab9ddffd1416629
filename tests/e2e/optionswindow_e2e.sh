#!/usr/bin/env bash
# Starts the real simulator under Xvfb, opens the options window with F5 from the control panel,
# photographs each page (chosen with the window's own page shortcuts), cancels with Escape and quits.
#   optionswindow_e2e.sh <folder of the programs> <output folder>
set -euo pipefail
bin=$1
out=$2
mkdir -p "$out"
rm -f "$out"/options-*.png
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
wait_for "xdotool search --onlyvisible --name '^Bramblex 2\.1$'"
panel=$(xdotool search --onlyvisible --name '^Bramblex 2\.1$' | head -n 1)
xdotool windowfocus --sync "$panel"
xdotool key F5
wait_for "xdotool search --onlyvisible --name '^Bramblex 2\.1 Options$'"
options=$(xdotool search --onlyvisible --name '^Bramblex 2\.1 Options$' | head -n 1)
xdotool windowfocus --sync "$options"

# A page is photographed once the window's picture has changed from the previous page's.
previous=""
for page in general:ctrl+g organisms:ctrl+o environment:ctrl+e special:ctrl+p screensaver:ctrl+s; do
  name=${page%%:*}
  keys=${page#*:}
  shot="$out/options-$name.png"
  xdotool key "$keys"
  changed() {
    import -window "$options" "$shot" || return 1
    [ -z "$previous" ] && return 0
    ! compare -metric AE "$previous" "$shot" null: 2>/dev/null
  }
  if [ "$name" = general ]; then
    # General is the page shown on opening: wait until the window has been painted at all.
    wait_for "import -window '$options' '$shot' && [ \$(convert '$shot' -format '%k' info:) -gt 8 ]"
  else
    wait_for changed
  fi
  previous=$shot
done

# Escape cancels: the window goes, the program goes on.
xdotool key Escape
wait_for "! xdotool search --onlyvisible --name '^Bramblex 2\.1 Options$'"
kill -0 "$app"
xdotool windowfocus --sync "$panel"
xdotool key ctrl+q
for _ in $(seq 1 100); do
  kill -0 "$app" 2>/dev/null || { app=""; break; }
  sleep 0.1
done
[ -z "$app" ] || { echo "the simulator did not end on Ctrl+Q"; exit 1; }
echo "1 passed, 0 failed"
