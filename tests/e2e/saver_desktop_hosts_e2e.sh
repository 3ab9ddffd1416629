#!/usr/bin/env bash
# The real screensaver hosts, run as an ordinary user (nobody, with a home of its own) under Xvfb:
# after `bramblex2-screensaver --activate`, `xscreensaver-command -activate` and
# `mate-screensaver-command --activate` each start Bramblex 2, and --deactivate puts back what the
# user had.
#   1. a copy of one's own (the build) with xscreensaver: the per-user install that --activate makes;
#   2. the packaged saver with xscreensaver and MATE (in a D-Bus session): MATE starts only savers
#      of the system's hack folder, so unless the package is installed, the build's saver is linked
#      there as /usr/libexec/xscreensaver/bramblex2-screensaver for this part, and removed after;
#      the package's MATE entry goes into the user's data folder.
# Skips (77) without root (runuser), xscreensaver, mate-screensaver or dbus-run-session.
#   saver_desktop_hosts_e2e.sh <folder of the programs> <output folder>
set -euo pipefail
bin=$1
out=$2
saver="$(cd "$bin" && pwd)/Bramblex 2.scr"
hack=/usr/libexec/xscreensaver/bramblex2-screensaver
for tool in runuser xscreensaver xscreensaver-command mate-screensaver mate-screensaver-command dbus-run-session gsettings; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ "$(id -u)" -eq 0 ] || { echo "SKIP: needs root to run the hosts as nobody"; exit 77; }

rm -rf "$out"
mkdir -p "$out/home" "$out/xbin"
chmod 755 "$out"
chown nobody "$out/home"
# For part 1 the saver sees xscreensaver as the only host.
ln -s "$(command -v xscreensaver)" "$out/xbin/xscreensaver"
ln -s "$(command -v xscreensaver-command)" "$out/xbin/xscreensaver-command"
. "$(dirname "$0")/xvfb.sh"
start_xvfb 800x600x24
linked=""
daemon=""
cleanup() {
  [ -n "$daemon" ] && kill "$daemon" 2>/dev/null || true
  for p in $(pgrep -u nobody -f "$bin/Bramblex 2.scr") $(pgrep -u nobody -f "$hack"); do kill "$p" 2>/dev/null || true; done
  [ -n "$linked" ] && rm -f "$hack"
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT

passed=0
failed=0
fail() { echo "FAILED: $*"; failed=$((failed + 1)); }
check() { if eval "$1"; then passed=$((passed + 1)); else fail "$2"; fi; }
# as_user COMMAND...: as nobody, in the test's home, on the test's display; no session bus is
# started behind the test's back (dbus-run-session gives part 2 its own).
as_user() {
  runuser -u nobody -- env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_RUNTIME_DIR HOME="$out/home" DISPLAY="$DISPLAY" \
    DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent NO_AT_BRIDGE=1 "$@"
}
saver_runs() { pgrep -u nobody -f "$1" >/dev/null; }
names_this_copy() { grep -qF "'$saver' --root" "$out/home/.xscreensaver"; }
user_entry="$out/home/.local/share/applications/screensavers/bramblex2-screensaver.desktop"
wait_for xdpyinfo

# --- 1. a copy of one's own, xscreensaver
as_user xscreensaver -no-splash >"$out/xscreensaver.log" 2>&1 &
wait_for "as_user xscreensaver-command -time"
daemon=$(pgrep -u nobody -n -x xscreensaver)
as_user env PATH="$out/xbin" "$saver" --activate >"$out/activate1.log" 2>&1 ||
  fail "--activate failed: $(cat "$out/activate1.log")"
check 'grep -q "^xscreensaver: .*mode one, selected" "$out/activate1.log"' "--activate did not say what it set for xscreensaver"
check names_this_copy "~/.xscreensaver does not name this copy by its full path"
check '[ -f "$user_entry" ]' "no MATE/Xfce entry for this copy"
# --activate told the daemon to restart: it answers again once it is back.
wait_for "as_user xscreensaver-command -activate" >/dev/null || true
check 'wait_for "saver_runs \"Bramblex 2.scr --root\""' "xscreensaver -activate did not start this copy"
wait_for "xwininfo -root -tree | grep -q '\"Bramblex 2'" >/dev/null || true # named, when Qt has mapped it
as_user xscreensaver-command -deactivate >/dev/null || true
wait_for '! saver_runs "Bramblex 2.scr --root"' || true
as_user env PATH="$out/xbin" "$saver" --deactivate >"$out/deactivate1.log" 2>&1 ||
  fail "--deactivate failed: $(cat "$out/deactivate1.log")"
check '! grep -qE "bramblex2-screensaver|Bramblex 2.scr" "$out/home/.xscreensaver" && grep -qx "mode:[[:space:]]*random" "$out/home/.xscreensaver"' \
  "--deactivate did not put xscreensaver back"
check '[ ! -e "$user_entry" ]' \
  "--deactivate left the install --activate made"
kill "$daemon"
wait_for "! kill -0 $daemon" || true
daemon=""

# --- 2. the packaged saver, MATE and xscreensaver in one D-Bus session
if [ ! -e "$hack" ]; then
  ln -s "$(readlink -f "$saver")" "$hack"
  linked=yes
fi
if [ ! -e /usr/share/applications/screensavers/bramblex2-screensaver.desktop ]; then
  sed "s|@BRAMBLEX_EXEC@|$hack|" "$(dirname "$0")/../../data/bramblex2-screensaver.desktop.in" >"$out/entry"
  as_user sh -c "mkdir -p '$(dirname "$user_entry")' && cp '$out/entry' '$user_entry'"
fi
cat >"$out/session.sh" <<EOF
set -u
fail() { echo "FAILED: \$*"; status=1; }
status=0
runs() { for _ in \$(seq 1 100); do pgrep -u nobody -f "\$1" >/dev/null && return 0; sleep 0.1; done; return 1; }
gone() { for _ in \$(seq 1 100); do pgrep -u nobody -f "\$1" >/dev/null || return 0; sleep 0.1; done; return 1; }
before="\$(gsettings get org.mate.screensaver mode) \$(gsettings get org.mate.screensaver themes)"
"$saver" --activate >"$out/home/activate2.log" 2>&1 || fail "--activate: \$(cat "$out/home/activate2.log")"
grep -q "^MATE: org.mate.screensaver: mode 'single'" "$out/home/activate2.log" || fail "--activate did not say what it set for MATE"
mate-screensaver --no-daemon >"$out/home/mate.log" 2>&1 &
mate=\$!
for _ in \$(seq 1 100); do mate-screensaver-command --query >/dev/null 2>&1 && break; sleep 0.1; done
mate-screensaver-command --activate
runs "$hack --root" || fail "mate-screensaver-command --activate did not start Bramblex 2"
mate-screensaver-command --deactivate
gone "$hack --root" || true
kill \$mate; wait \$mate
xscreensaver -no-splash >"$out/home/xscreensaver2.log" 2>&1 &
for _ in \$(seq 1 100); do xscreensaver-command -time >/dev/null 2>&1 && break; sleep 0.1; done
xscreensaver-command -activate >/dev/null
runs "bramblex2-screensaver --root" || fail "xscreensaver -activate did not start the packaged Bramblex 2"
kill \$(pgrep -u nobody -n -x xscreensaver)
"$saver" --deactivate >"$out/home/deactivate2.log" 2>&1 || fail "--deactivate: \$(cat "$out/home/deactivate2.log")"
after="\$(gsettings get org.mate.screensaver mode) \$(gsettings get org.mate.screensaver themes)"
[ "\$before" = "\$after" ] || fail "--deactivate left MATE at \$after, not \$before"
exit \$status
EOF
if as_user dbus-run-session -- sh "$out/session.sh" >"$out/session.log" 2>&1; then
  passed=$((passed + 1))
else
  fail "the packaged saver in MATE and xscreensaver:"
  cat "$out/session.log"
fi
check '! grep -qE "bramblex2-screensaver|Bramblex 2.scr" "$out/home/.xscreensaver"' "--deactivate left the packaged entry in ~/.xscreensaver"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
