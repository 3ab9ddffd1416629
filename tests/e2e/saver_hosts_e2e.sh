#!/usr/bin/env bash
# The screensaver as hosts and users on a Linux desktop meet it, under openbox: Alt+F4 and a wheel
# turn end the full-screen saver; SIGTERM ends every mode within half a second, by that signal as
# hosts expect, and leaves no window; --root --window-id draws into the window; a host window that
# grows gets a world filling it; --root without a host draws on the desktop's background, opens no
# window, and ends on SIGINT, SIGTERM and SIGHUP with the background back, every time.
#   saver_hosts_e2e.sh <folder of the programs> <output folder> <host window helper>
set -euo pipefail
bin=$1
out=$2
helper=$3
saver="$bin/Bramblex 2.scr"
. "$(dirname "$0")/xvfb.sh"
saver_home

start_xvfb 800x600x24
app=""
host=""
wmpid=""
cleanup() {
  for p in "$app" "$host" "$wmpid"; do [ -n "$p" ] && kill "$p" 2>/dev/null || true; done
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT

passed=0
failed=0
fail() { echo "FAILED: $*"; [ -f "$out/saver.log" ] && cat "$out/saver.log"; failed=$((failed + 1)); }
check() { if eval "$1"; then passed=$((passed + 1)); else fail "$2"; fi; }

# Ends within half a second: polled every 50 ms.
ends_soon() {
  for _ in $(seq 1 10); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.05
  done
  ! kill -0 "$1" 2>/dev/null
}
colours_in() { import -window root -crop "$1" +repage png:- | identify -format '%k' png:-; }
saver_windows() { xdotool search --onlyvisible --name 'Bramblex 2' 2>/dev/null | wc -l; }
# area ID [WxH+dx+dy]: the window's inside on the screen (a window manager places it), or a part
# of it, as an ImageMagick crop geometry.
area() {
  eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {print "x=" $4} /Absolute upper-left Y/ {print "y=" $4}
                                   /^  Width/ {print "w=" $2} /^  Height/ {print "h=" $2}')"
  if [ -n "${2:-}" ]; then
    local size=${2%%+*} rest=${2#*+}
    echo "${size}+$((x + ${rest%%+*}))+$((y + ${rest#*+}))"
  else
    echo "${w}x${h}+${x}+${y}"
  fi
}
start_host() {
  rm -f "$out/host_id"
  "$helper" "$1" "$2" >"$out/host_id" &
  host=$!
  wait_for "test -s '$out/host_id'"
  host_id=$(head -n 1 "$out/host_id")
  wait_for "xwininfo -id $host_id | grep -q IsViewable"
}
stop_host() { kill "$host" 2>/dev/null || true; wait "$host" 2>/dev/null || true; host=""; }
# start_saver ARGS...: the saver in the background, logging to saver.log; sets app.
start_saver() {
  "$saver" "$@" >"$out/saver.log" 2>&1 &
  app=$!
}
# terminate WHAT [SIGNAL]: ends the saver with SIGNAL (TERM) and checks that it went within half
# a second, died by that signal (status 128 + its number, as hosts expect) and left no window.
terminate() {
  local sig=${2:-TERM} status=0
  kill -"$sig" "$app"
  if ends_soon "$app"; then
    wait "$app" 2>/dev/null || status=$?
    app=""
    check '[ "$status" -eq $((128 + $(kill -l "$sig"))) ]' "$1: ended with status $status, not by SIG$sig"
    check '[ "$(saver_windows)" -eq 0 ]' "$1: a window was left after SIG$sig"
  else
    fail "$1 did not end within 0.5 s of SIG$sig"
    kill -KILL "$app"; app=""
  fi
}

wait_for "xdpyinfo"

# --- without a host: --root draws on the desktop's background and opens no window of its own.
# Ctrl+C (SIGINT), SIGTERM and SIGHUP end it; the desktop's own background (two colours) is back
# once it has gone, every time: the server has cleared it before the saver disconnects.
for round in 1 2 3 4; do
  for sig in INT TERM HUP; do
    start_saver --root
    if wait_for "[ \$(colours_in 800x600+0+0) -gt 8 ]"; then
      [ "$round$sig" = 1INT ] && import -window root "$out/root.png"
      check '[ "$(saver_windows)" -eq 0 ]' "--root without a host opened a window"
      terminate "--root without a host" "$sig"
      check '[ "$(colours_in 800x600+0+0)" -le 2 ]' "--root left its picture on the desktop after SIG$sig"
    else
      fail "--root without a host drew nothing on the desktop"
    fi
  done
done

openbox --sm-disable >"$out/openbox.log" 2>&1 &
wmpid=$!
wait_for "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'"

# --- /s: the window manager's close (Alt+F4) ends the process; so does a wheel turn.
for way in alt+F4 wheel; do
  start_saver /s
  if wait_for "xdotool search --onlyvisible --name '^Bramblex 2 Screen Saver$'"; then
    win=$(xdotool search --onlyvisible --name '^Bramblex 2 Screen Saver$' | head -n 1)
    xdotool windowactivate --sync "$win" 2>/dev/null || true
    if [ "$way" = wheel ]; then xdotool click 4; else xdotool key alt+F4; fi
    if wait_for "! kill -0 $app"; then app=""; passed=$((passed + 1)); else fail "/s did not end on $way"; fi
  else
    fail "/s showed no window"
  fi
  [ -n "$app" ] && { kill -KILL "$app" 2>/dev/null || true; app=""; }
done

# --- SIGTERM ends every mode within half a second, leaving no window.
start_saver /s
wait_for "xdotool search --onlyvisible --name '^Bramblex 2 Screen Saver$'" && terminate "/s"
start_saver /c
wait_for "xdotool search --onlyvisible --name 'Screen Saver Configuration'" && terminate "/c"
start_host 320 240
start_saver /p "$host_id"
wait_for "[ \$(colours_in \$(area $host_id)) -gt 8 ]" && terminate "/p"
stop_host

# --- --root --window-id ID draws into the window; the window grows and the world fills it.
start_host 200 150
start_saver --root --window-id "$host_id"
if wait_for "[ \$(colours_in \$(area $host_id)) -gt 8 ]"; then
  xdotool windowsize "$host_id" 600 450
  check "wait_for \"[ \\\$(colours_in \\\$(area $host_id 200x150+400+300)) -gt 8 ]\"" \
    "the world did not follow its window to 600 x 450"
  import -window root "$out/resized.png"
  terminate "--root --window-id"
else
  fail "--root --window-id drew nothing into the window"
fi
stop_host

# --- a host screensaver's window named by XSCREENSAVER_WINDOW, with --root.
start_host 320 240
XSCREENSAVER_WINDOW=$(printf '0x%x' "$host_id") start_saver --root
wait_for "[ \$(colours_in \$(area $host_id)) -gt 8 ]" && terminate "--root in XSCREENSAVER_WINDOW"
stop_host

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
