#!/usr/bin/env bash
# The simulator's windows as a user meets them, under a window manager (openbox, xfwm4) or without
# one: the control panel keeps its size and cannot be maximised, full screen gives the canvas back
# where it was, the help viewer and the Statistics window open wholly on screen clear of the panel
# and the canvas, F2 brings a minimised help viewer back, a file dialog opens centred on the
# program, and the options window's shortcuts work from inside a number box.
#   windows_e2e.sh <folder of the programs> <output folder> openbox|xfwm4|none
set -euo pipefail
bin=$1
out=$2
wm=$3
rm -rf "$out"
mkdir -p "$out"
export XDG_CONFIG_HOME="$out/config" XDG_DATA_HOME="$out/data"
unset QT_QPA_PLATFORM

. "$(dirname "$0")/xvfb.sh"
applog="$out/simulator.log"
start_xvfb 1280x1024x24
app=""
wmpid=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  [ -n "$wmpid" ] && kill "$wmpid" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT

passed=0
failed=0
fail() { echo "FAILED ($wm): $*"; failed=$((failed + 1)); }
check() { if eval "$1"; then passed=$((passed + 1)); else fail "$2"; fi; }

wait_for "xdpyinfo"
case $wm in
  openbox) openbox --sm-disable >"$out/wm.log" 2>&1 & ;;
  xfwm4) xfwm4 --sm-client-disable --compositor=off >"$out/wm.log" 2>&1 & ;;
esac
if [ "$wm" != none ]; then
  wmpid=$!
  wait_for "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'"
fi

window() { xdotool search --onlyvisible --name "$1" | head -n 1; }
# focus WINDOW: with a window manager the window is activated, without one it takes the focus.
focus() { if [ "$wm" != none ]; then xdotool windowactivate --sync "$1"; else xdotool windowfocus --sync "$1"; fi; }
# client WINDOW: "x y width height" of the window's inside, on the screen.
client() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
                           /^  Width/ {w=$2} /^  Height/ {h=$2} END {print x, y, w, h}'
}
# frame WINDOW: the same with the window manager's frame around it.
frame() {
  local extents
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | grep -o '[0-9][0-9, ]*$' | tr -d ',' || true)
  [ -n "$extents" ] || extents="0 0 0 0"
  read -r l r t b <<<"$extents"
  read -r x y w h <<<"$(client "$1")"
  echo $((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))
}
on_screen() { read -r x y w h <<<"$(frame "$1")"; [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le 1280 ] && [ $((y + h)) -le 1024 ]; }
apart() {
  read -r ax ay aw ah <<<"$(frame "$1")"
  read -r bx by bw bh <<<"$(frame "$2")"
  [ $((ax + aw)) -le "$bx" ] || [ $((bx + bw)) -le "$ax" ] || [ $((ay + ah)) -le "$by" ] || [ $((by + bh)) -le "$ay" ]
}
centre_inside() {
  read -r ax ay aw ah <<<"$(frame "$1")"
  read -r bx by bw bh <<<"$(frame "$2")"
  local cx=$((ax + aw / 2)) cy=$((ay + ah / 2))
  [ "$cx" -ge "$bx" ] && [ "$cx" -lt $((bx + bw)) ] && [ "$cy" -ge "$by" ] && [ "$cy" -lt $((by + bh)) ]
}
fixed_size() { xprop -id "$1" WM_NORMAL_HINTS | awk '/minimum size/ {min=$NF" "$(NF-2)} /maximum size/ {max=$NF" "$(NF-2)} END {exit !(min != "" && min == max)}'; }

"$bin/Bramblex 2" >"$applog" 2>&1 &
app=$!
wait_for "xdotool search --onlyvisible --name '^Bramblex 2\.1$'"
wait_for "xdotool search --onlyvisible --name '^Simulator$'"
panel=$(window '^Bramblex 2\.1$')
canvas=$(window '^Simulator$')
wait_for "[ -n \"\$(xprop -id $panel _NET_FRAME_EXTENTS 2>/dev/null | grep -o '[0-9]')\" ] || [ $wm = none ]"

# --- the control panel: one size whatever its captions say, and no maximising
size_before=$(client "$panel" | cut -d' ' -f3-)
# press WINDOW KEY: the key goes to the window, and the wait ends once the window's picture changed.
press() {
  focus "$1"
  import -window "$1" "$out/before.png"
  xdotool key "$2"
  wait_for "import -window $1 '$out/after.png' && ! compare -metric AE '$out/before.png' '$out/after.png' null: 2>/dev/null"
}
for key in alt+e alt+g alt+i alt+i; do # Hide/Show Environment, Organisms, Simulation
  press "$panel" "$key"
  check '[ "$(client "$panel" | cut -d" " -f3-)" = "$size_before" ]' "the control panel changed its size on $key"
done
wait_for "xdotool search --onlyvisible --name '^Simulator$'"
check "fixed_size $panel" "the control panel is not a fixed-size window"

# --- full screen and back, also straight after the simulation was hidden
canvas_before=$(client "$canvas")
for round in 1 2; do
  focus "$panel"
  xdotool key alt+i
  wait_for "! xdotool search --onlyvisible --name '^Simulator$'"
  xdotool key alt+m
  wait_for "[ \"\$(client $canvas | cut -d' ' -f3-)\" = '1280 1024' ]"
  focus "$canvas"
  xdotool key x
  wait_for "[ \"\$(client $canvas | cut -d' ' -f3-)\" != '1280 1024' ]"
  wait_for "[ \"\$(client $canvas)\" = '$canvas_before' ]" || fail "round $round: the canvas came back at $(client "$canvas"), not $canvas_before"
done
passed=$((passed + 1))

# --- help opens wholly on screen, beside the panel
focus "$panel"
xdotool key F2
wait_for "xdotool search --onlyvisible --name '^Bramblex 2 Help$'"
helpviewer=$(window '^Bramblex 2 Help$')
wait_for "on_screen $helpviewer && apart $helpviewer $panel" || true
check "on_screen $helpviewer" "the help viewer is not wholly on screen: $(frame "$helpviewer")"
check "apart $helpviewer $panel" "the help viewer lies over the panel: $(frame "$helpviewer") / $(frame "$panel")"
check "apart $helpviewer $canvas" "the help viewer lies over the canvas: $(frame "$helpviewer") / $(frame "$canvas")"
import -window root "$out/help.png"
# F2 brings the viewer back when it was minimised (with a window manager to minimise it)
viewable() { xwininfo -id "$1" | grep -q IsViewable; }
if [ "$wm" != none ]; then
  xdotool windowminimize --sync "$helpviewer"
  focus "$panel"
  xdotool key F2
  check "wait_for 'viewable $helpviewer'" "F2 did not bring the minimised help viewer back"
  check "wait_for '[ \$(xdotool getactivewindow) = $helpviewer ]'" "F2 did not make the help viewer the active window"
  # F1 in the canvas brings the viewer back in front when the canvas lies over it
  on_top() { [ "$(xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*' | tail -n 1)" = "$(printf '0x%x' "$1")" ]; }
  read -r cx cy _ <<<"$(client "$canvas")"
  read -r hx hy _ <<<"$(client "$helpviewer")"
  xdotool windowmove --sync "$canvas" "$hx" "$hy"
  focus "$canvas"
  wait_for "on_top $canvas"
  xdotool key F1
  check "wait_for 'on_top $helpviewer'" "F1 did not bring the help viewer in front of the canvas"
  xdotool windowmove --sync "$canvas" "$cx" "$cy"
  focus "$helpviewer"
  xdotool key alt+F4
  wait_for "! viewable $helpviewer"
else
  xdotool windowunmap "$helpviewer"
fi

# --- the Statistics window opens wholly on screen, clear of the panel and the canvas
focus "$panel"
xdotool key F6
wait_for "xdotool search --onlyvisible --name '^Statistics$'"
statistics=$(window '^Statistics$')
wait_for "on_screen $statistics && apart $statistics $panel && apart $statistics $canvas" || true
check "on_screen $statistics" "the Statistics window is not wholly on screen: $(frame "$statistics")"
for w in panel canvas; do
  check "apart $statistics ${!w}" "the Statistics window lies over the $w: $(frame "$statistics") / $(frame "${!w}")"
done
# painted WINDOW: the window shows more than black (the charts are drawn a moment after it maps)
painted() { [ "$(import -window "$1" -format '%[fx:mean>0.1]' info:)" = 1 ]; }
wait_for "painted $statistics" || true
import -window root "$out/statistics.png"

# --- the options window: its shortcuts work from inside a number box
focus "$panel"
xdotool key F5
wait_for "xdotool search --onlyvisible --name '^Bramblex 2\.1 Options$'"
options=$(window '^Bramblex 2\.1 Options$')
check "fixed_size $options" "the options window is not a fixed-size window"
focus "$options"
xdotool key alt+w # the first box of "World Setup Options": World growth rate
xdotool type 9
xdotool key ctrl+a
check "wait_for \"xdotool search --onlyvisible --name '^Reset simulation\\?$'\"" "Ctrl+A in a number box did not accept"
xdotool key Escape # No: the window stays, the focus goes back into the box
wait_for "! xdotool search --onlyvisible --name '^Reset simulation\\?$'"
for page in ctrl+e ctrl+o; do
  check "press $options $page" "$page in a number box did not change the page"
  xdotool key ctrl+g alt+w
done
xdotool key ctrl+c
check "wait_for \"! xdotool search --onlyvisible --name '^Bramblex 2\\.1 Options\$'\"" "Ctrl+C in a number box did not cancel"

# --- the options window's Save: the save dialog opens once the new world is made, on the panel
focus "$panel"
xdotool key F5
wait_for "xdotool search --onlyvisible --name '^Bramblex 2\.1 Options$'"
focus "$(window '^Bramblex 2\.1 Options$')"
xdotool key F8
wait_for "xdotool search --onlyvisible --name '^Save Profile:$'"
dialog=$(window '^Save Profile:$')
check "centre_inside $dialog $panel" "the save dialog is not centred on the program: $(frame "$dialog") / $(frame "$panel")"
import -window root "$out/save.png"
focus "$dialog"
xdotool key Escape
wait_for "! xdotool search --onlyvisible --name '^Save Profile:$'"

# --- the next start puts the panel, the canvas and the Statistics window where they were left
quit() {
  focus "$panel"
  xdotool key ctrl+q
  for _ in $(seq 1 100); do
    kill -0 "$app" 2>/dev/null || { app=""; break; }
    sleep 0.1
  done
  [ -z "$app" ] || fail "the simulator did not end on Ctrl+Q"
}
xdotool windowmove --sync "$panel" 60 90
xdotool windowmove --sync "$canvas" 700 420
wait_for "[ \"\$(frame $canvas | cut -d' ' -f1-2)\" != \"\$(frame $panel | cut -d' ' -f1-2)\" ]"
left_at="$(frame "$panel")/$(frame "$canvas")/$(frame "$statistics")"
quit
"$bin/Bramblex 2" >"$applog" 2>&1 &
app=$!
wait_for "xdotool search --onlyvisible --name '^Simulator$'"
panel=$(window '^Bramblex 2\.1$')
canvas=$(window '^Simulator$')
wait_for "[ -n \"\$(xprop -id $canvas _NET_FRAME_EXTENTS 2>/dev/null | grep -o '[0-9]')\" ] || [ $wm = none ]"
focus "$panel"
xdotool key F6
wait_for "xdotool search --onlyvisible --name '^Statistics$'"
statistics=$(window '^Statistics$')
back_at() { [ "$(frame "$panel")/$(frame "$canvas")/$(frame "$statistics")" = "$left_at" ]; }
wait_for back_at || true
check back_at "the windows came back at $(frame "$panel")/$(frame "$canvas")/$(frame "$statistics"), not $left_at"
wait_for "painted $statistics" || true
import -window root "$out/restarted.png"
quit
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
