#!/usr/bin/env bash
# The full-screen saver on two monitors (an X server with the dummy driver, two 1920x1080 heads
# side by side), without a window manager and under openbox: one window covers both, the world is
# drawn on both, the pointer is hidden on both, a window that comes up later is covered again, and
# a key or the pointer's moves on the second monitor end it.
#   saver_monitors_e2e.sh <programs' folder> <output folder> <xorg.conf> <host window helper> <cursor probe>
# Ends with 77 (skipped) where Xorg or its dummy driver is missing or cannot be started (it must
# run as root to read a configuration file given by path).
set -euo pipefail
bin=$1
out=$2
config=$3
helper=$4
probe=$5
saver="$bin/Bramblex 2.scr"
. "$(dirname "$0")/xvfb.sh"
saver_home

skip() { echo "SKIPPED: $*"; exit 77; }
command -v Xorg >/dev/null || skip "no Xorg (install xserver-xorg-core)"
ls /usr/lib/xorg/modules/drivers/dummy_drv.so >/dev/null 2>&1 || skip "no dummy driver (install xserver-xorg-video-dummy)"
[ "$(id -u)" -eq 0 ] || skip "Xorg with a configuration file by path needs root"

Xorg -displayfd 3 -config "$config" -noreset -nolisten tcp -novtswitch -sharevts \
  -logfile "$out/xorg.log" 3>"$out/display" >"$out/xorg.out" 2>&1 &
xorg=$!
app=""
host=""
late=""
wmpid=""
cleanup() {
  for p in "$app" "$host" "$late" "$wmpid" "$xorg"; do [ -n "$p" ] && kill "$p" 2>/dev/null || true; done
}
trap cleanup EXIT
for _ in $(seq 1 150); do
  [ -s "$out/display" ] || ! kill -0 "$xorg" 2>/dev/null && break
  sleep 0.1
done
[ -s "$out/display" ] || { cat "$out/xorg.out"; skip "Xorg with the dummy driver did not start"; }
export DISPLAY=":$(head -n 1 "$out/display")"
wait_for "xdpyinfo"
[[ "$(xdpyinfo)" == *"dimensions:"*" 3840x1080 pixels"* ]] || skip "the dummy server did not span two monitors"

passed=0
failed=0
fail() { echo "FAILED: $*"; [ -f "$out/saver.log" ] && cat "$out/saver.log"; failed=$((failed + 1)); }
colours_in() { import -window root -crop "$1" +repage png:- | identify -format '%k' png:-; }
saver_window() { xdotool search --onlyvisible --name '^Bramblex 2 Screen Saver$' 2>/dev/null | head -n 1; }
geometry_of() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
                           /^  Width/ {w=$2} /^  Height/ {h=$2} END {print w "x" h "+" x "+" y}'
}

# run WM ENDING: /s, with another program's window focused on the second monitor; checks that
# it covers both monitors and draws on both, then ends it by ENDING there.
run() {
  local wm=$1 ending=$2
  "$helper" 400 300 >"$out/host_id" &
  host=$!
  wait_for "test -s '$out/host_id'"
  xdotool windowmove "$(head -n 1 "$out/host_id")" 2400 300 2>/dev/null || true
  "$saver" /s >"$out/saver.log" 2>&1 &
  app=$!
  if ! wait_for "[ -n \"\$(saver_window)\" ]"; then
    fail "$wm: /s showed no window"
  elif [ "$(geometry_of "$(saver_window)")" != "3840x1080+0+0" ]; then
    fail "$wm: the saver's window is $(geometry_of "$(saver_window)"), not 3840x1080+0+0"
  elif ! wait_for "[ \$(colours_in 1920x1080+0+0) -gt 8 ] && [ \$(colours_in 1920x1080+1920+0) -gt 8 ]"; then
    fail "$wm: the world was not drawn on both monitors"
  else
    import -window root "$out/two-monitors-$wm-$ending.png"
    "$helper" 300 200 >"$out/late_id" &
    late=$!
    wait_for "test -s '$out/late_id' && xwininfo -id \$(head -n 1 '$out/late_id') | grep -q IsViewable"
    local late_area
    late_area=$(geometry_of "$(head -n 1 "$out/late_id")")
    local covered=no
    for _ in $(seq 1 20); do # a picture of the screen takes a while: about 5 s in all
      [ "$(colours_in "$late_area")" -gt 8 ] && { covered=yes; break; }
    done
    [ $covered = yes ] || fail "$wm: a window that came up later stayed over /s"
    kill "$late"
    wait "$late" 2>/dev/null || true
    late=""
    local where
    for where in "600 500" "2800 500"; do
      xdotool mousemove $where
      [ "$("$probe")" = blank ] || fail "$wm: the pointer shows at $where"
    done
    sleep 0.5
    if [ "$ending" = key ]; then
      xdotool key q
    else
      for i in 1 2 3 4 5 6 7; do xdotool mousemove $((2800 + 20 * i)) 500; done
    fi
    local status=0
    if wait_for "! kill -0 $app"; then
      wait "$app" || status=$?
      app=""
      if [ "$status" -eq 0 ]; then passed=$((passed + 1)); else fail "$wm: /s ended with $status on $ending"; fi
    else
      fail "$wm: $ending on the second monitor did not end /s"
    fi
  fi
  [ -n "$app" ] && { kill -KILL "$app" 2>/dev/null || true; app=""; }
  kill "$host" 2>/dev/null || true
  wait "$host" 2>/dev/null || true
  host=""
}

run none key
run none pointer
openbox --sm-disable >"$out/openbox.log" 2>&1 &
wmpid=$!
wait_for "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'"
run openbox key
run openbox pointer

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
