#!/usr/bin/env bash
# Runs the real screensaver under Xvfb in each of its modes and takes screenshots:
#   /x ends at once with nothing shown; /s covers the screen until a key; /c opens the dialog,
#   whose Ctrl+O stores the size; /p ID draws into a host window (made by the helper) and ends
#   once that window is destroyed; -window-id ID and XSCREENSAVER_WINDOW with -root draw into a
#   given window.
#   saver_e2e.sh <folder of the programs> <output folder> <host window helper>
set -euo pipefail
bin=$1
out=$2
helper=$3
saver="$bin/Bramblex 2.scr"
mkdir -p "$out"
rm -rf "$out/config" "$out/data"
export XDG_CONFIG_HOME="$out/config" XDG_DATA_HOME="$out/data"
unset QT_QPA_PLATFORM XSCREENSAVER_WINDOW

. "$(dirname "$0")/xvfb.sh"
start_xvfb 800x600x24
app=""
host=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  [ -n "$host" ] && kill "$host" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT

passed=0
failed=0
fail() { echo "FAILED: $*"; [ -f "$out/saver.log" ] && cat "$out/saver.log"; failed=$((failed + 1)); }

# Waits up to ~10 s for process $1 to end.
ended() {
  for _ in $(seq 1 100); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}
# Number of colours in a part of the screen: geometry WxH+X+Y.
colours_in() { import -window root -crop "$1" +repage png:- | identify -format '%k' png:-; }
# Starts the host helper with a window of $1 × $2 pixels; sets host and host_id.
start_host() {
  rm -f "$out/host_id"
  "$helper" "$1" "$2" >"$out/host_id" &
  host=$!
  wait_for "test -s '$out/host_id'"
  host_id=$(head -n 1 "$out/host_id")
  wait_for "xwininfo -id $host_id | grep -q IsViewable"
}

wait_for "xdpyinfo"

# --- /x: no mode, nothing shown, ends at once.
if timeout 10 "$saver" /x >"$out/saver.log" 2>&1 && ! xdotool search --name 'Bramblex' >/dev/null 2>&1; then
  passed=$((passed + 1))
else
  fail "/x did not end at once with nothing shown"
fi

# --- /s: a full-screen window that draws the world and ends on a character key.
"$saver" /s >"$out/saver.log" 2>&1 &
app=$!
if wait_for "xdotool search --onlyvisible --name '^Bramblex 2 Screen Saver$'" &&
  wait_for "[ \$(colours_in 800x600+0+0) -gt 8 ]"; then
  win=$(xdotool search --onlyvisible --name '^Bramblex 2 Screen Saver$' | head -n 1)
  import -window root "$out/fullscreen.png"
  (($(printf '%d' "0x$(sed -n 's/^SigIgn:\s*//p' "/proc/$app/status")") & 1 << (13 - 1))) ||
    fail "/s does not ignore SIGPIPE (a write into a pipe whose reader quit would end it)"
  size=$(xdotool getwindowgeometry "$win" | sed -n 's/.*Geometry: //p')
  xdotool mousemove 400 300
  xdotool windowfocus --sync "$win" 2>/dev/null || true
  xdotool key Shift_L # a key without a character does not end it
  if [ "$size" != "800x600" ]; then
    fail "/s window is $size, not the whole screen"
  elif ! kill -0 "$app" 2>/dev/null; then
    fail "/s ended on Shift alone"
  else
    xdotool key q
    if ended "$app"; then app=""; passed=$((passed + 1)); else fail "/s did not end on a key"; fi
  fi
else
  fail "/s showed no full-screen world"
fi
[ -n "$app" ] && { kill "$app" 2>/dev/null || true; app=""; }

# --- /c: the configuration dialog with its live preview; Ctrl+O stores the size.
"$saver" /c >"$out/saver.log" 2>&1 &
app=$!
if wait_for "xdotool search --onlyvisible --name '^Bramblex 2 : Screen Saver Configuration$'"; then
  win=$(xdotool search --onlyvisible --name '^Bramblex 2 : Screen Saver Configuration$' | head -n 1)
  eval "$(xdotool getwindowgeometry --shell "$win")"
  wait_for "[ \$(colours_in ${WIDTH}x${HEIGHT}+${X}+${Y}) -gt 40 ]" || true
  import -window root "$out/config.png"
  xdotool windowfocus --sync "$win" 2>/dev/null || true
  xdotool key ctrl+o
  if ended "$app" && grep -q '^Square%20Size=6$' "$out/config/bramblex/Bramblex 2.ini"; then
    app=""; passed=$((passed + 1))
  else
    fail "/c did not store the size on Ctrl+O"
  fi
else
  fail "/c showed no configuration dialog"
fi
[ -n "$app" ] && { kill "$app" 2>/dev/null || true; app=""; }

# --- /p ID: the preview draws into the host window and ends when that window is destroyed.
start_host 320 240
"$saver" /p "$host_id" >"$out/saver.log" 2>&1 &
app=$!
if wait_for "[ \$(colours_in 320x240+40+40) -gt 8 ]"; then
  import -window root "$out/preview.png"
  kill "$host"; host=""
  if ended "$app"; then app=""; passed=$((passed + 1)); else fail "/p did not end after its host went"; fi
else
  fail "/p drew nothing into the host window"
fi
[ -n "$app" ] && { kill "$app" 2>/dev/null || true; app=""; }
[ -n "$host" ] && { kill "$host" 2>/dev/null || true; host=""; }

# --- /p with a handle that is no window: ends on its first tick.
if timeout 10 "$saver" /p 12345 >"$out/saver.log" 2>&1; then passed=$((passed + 1)); else fail "/p 12345 did not end"; fi

# --- -window-id ID at the stored size (4 pixels), and XSCREENSAVER_WINDOW with -root.
printf '[General]\nSquare%%20Size=4\n' >"$out/config/bramblex/Bramblex 2.ini"
start_host 400 300
"$saver" -window-id "$host_id" >"$out/saver.log" 2>&1 &
app=$!
if wait_for "[ \$(colours_in 400x300+40+40) -gt 8 ]"; then
  import -window root "$out/windowid.png"
  kill "$app"; ended "$app" && app=""
  XSCREENSAVER_WINDOW=$(printf '0x%x' "$host_id") "$saver" -root >"$out/saver.log" 2>&1 &
  app=$!
  if wait_for "kill -0 $app && [ \$(colours_in 400x300+40+40) -gt 8 ]"; then
    kill "$host"; host=""
    if ended "$app"; then app=""; passed=$((passed + 1)); else fail "-root did not end after its host window went"; fi
  else
    fail "-root with XSCREENSAVER_WINDOW drew nothing"
  fi
else
  fail "-window-id drew nothing into the window"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
