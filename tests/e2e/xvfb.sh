# Sourced by the end-to-end scripts. start_xvfb SCREEN (e.g. 1280x1024x24) starts a virtual X
# server on a display it picks itself, exports DISPLAY and sets $xvfb to its process; logs go to
# "$out/xvfb.log". -noreset keeps the server from resetting (and refusing connections for a
# moment) each time its last client goes.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp -noreset 3>"$out/display" >"$out/xvfb.log" 2>&1 &
  xvfb=$!
  for _ in $(seq 1 100); do
    [ -s "$out/display" ] && break
    sleep 0.1
  done
  [ -s "$out/display" ] || { echo "Xvfb did not start:"; cat "$out/xvfb.log"; exit 1; }
  export DISPLAY=":$(head -n 1 "$out/display")"
}

# wait_for CONDITION: polls a shell condition for up to ~20 s (wait on conditions, not on time).
# When $applog is set, a program $app that ends early stops the wait and its log is shown.
wait_for() {
  for _ in $(seq 1 200); do
    if eval "$1" >/dev/null 2>&1; then return 0; fi
    if [ -n "${applog:-}" ] && [ -n "${app:-}" ] && ! kill -0 "$app" 2>/dev/null; then
      echo "the program ended early:"; cat "$applog"; return 1
    fi
    sleep 0.1
  done
  echo "timed out waiting for: $1"
  [ -n "${applog:-}" ] && [ -f "$applog" ] && cat "$applog"
  return 1
}

# saver_home: an empty "$out" that holds the saver's settings (squares of 6 pixels), the XDG
# folders pointing into it, and no host window or Qt platform taken over from the caller.
saver_home() {
  rm -rf "$out"
  mkdir -p "$out/config/bramblex"
  export XDG_CONFIG_HOME="$out/config" XDG_DATA_HOME="$out/data"
  unset QT_QPA_PLATFORM XSCREENSAVER_WINDOW
  printf '[General]\nSquare%%20Size=6\n' >"$out/config/bramblex/Bramblex 2.ini"
}
