#!/usr/bin/env bash
# Installs the product into a temporary prefix and checks the installed tree, then drives the
# installed simulator under Xvfb: Screensaver page, Install, Activate, square size 12 + OK, Test.
# The simulator sees one screensaver host, xscreensaver, through stand-ins for its programs on
# its PATH; its home folder is a temporary one, where Install and Activate write ~/.xscreensaver.
# The screensaver started by Test must draw 12-pixel squares. Screenshots: screensaver-page.png
# (after Install and Activate) and screensaver-test.png (the running saver) in the output folder.
#   screensaver_install_e2e.sh <build folder> <output folder>
set -euo pipefail
build=$1
out=$2
prefix="$out/prefix"
rm -rf "$out"
mkdir -p "$out"
export XDG_CONFIG_HOME="$out/config" XDG_DATA_HOME="$out/data" HOME="$out/home"
mkdir -p "$HOME" "$out/hosts"
for tool in xscreensaver xscreensaver-command; do printf '#!/bin/sh\nexit 0\n' >"$out/hosts/$tool"; chmod +x "$out/hosts/$tool"; done
unset QT_QPA_PLATFORM XSCREENSAVER_WINDOW

passed=0
failed=0
fail() { echo "FAILED: $*"; [ -f "$out/simulator.log" ] && cat "$out/simulator.log"; failed=$((failed + 1)); }
check() { if eval "$1"; then passed=$((passed + 1)); else fail "$2"; fi; }

# --- the installed tree
cmake --install "$build" --prefix "$prefix" >"$out/install.log" 2>&1 || { cat "$out/install.log"; exit 1; }
programs="$prefix/lib/bramblex2"
[ -d "$programs" ] || programs=$(dirname "$(readlink -f "$prefix/bin/bramblex2")")
layout_ok() {
  for f in "Bramblex 2" "Bramblex 2.scr" bramblex-run; do [ -x "$programs/$f" ] || return 1; done
  for f in bramblex.hlp bramblexss.hlp bramblexss.cnt; do [ -f "$programs/$f" ] || return 1; done
  [ "$(readlink -f "$prefix/bin/bramblex2")" = "$(readlink -f "$programs/Bramblex 2")" ] || return 1
  [ -x "$prefix/bin/bramblex-run" ] && [ -x "$prefix/libexec/xscreensaver/bramblex2-screensaver" ] || return 1
  grep -qx "Exec=\"$prefix/bin/bramblex2\"" "$prefix/share/applications/bramblex2.desktop" || return 1
  grep -qx 'Icon=bramblex2' "$prefix/share/applications/bramblex2.desktop" || return 1
  grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/bramblex2.svg"
}
check layout_ok "the installed tree lacks a program, a help file, a link, the desktop entry or the icon"
# What screensaver hosts read: xscreensaver's settings file and the screensaver desktop entry.
hack_xml="$prefix/share/xscreensaver/config/bramblex2-screensaver.xml"
hack_entry="$prefix/share/applications/screensavers/bramblex2-screensaver.desktop"
check 'xmllint --noout "$hack_xml" && grep -q "<screensaver name=\"bramblex2-screensaver\" _label=\"Bramblex 2\">" "$hack_xml"' \
  "the xscreensaver settings file is missing or not well-formed"
check 'desktop-file-validate "$hack_entry" && grep -qx "Exec=$prefix/libexec/xscreensaver/bramblex2-screensaver --root" "$hack_entry"' \
  "the screensaver desktop entry is missing or not valid"
# A host starts it by its space-free name from its screen-hack folder (xscreensaver puts that
# folder on PATH), from any folder, with a bare environment.
check '(cd / && env -i PATH="$prefix/libexec/xscreensaver:/usr/bin:/bin" HOME="$out/home" bramblex2-screensaver --help | grep -q "^Usage: bramblex2-screensaver")' \
  "bramblex2-screensaver --help did not run from / with a bare environment"
check '"$prefix/bin/bramblex-run" --help >/dev/null' "the installed bramblex-run does not run"

. "$(dirname "$0")/xvfb.sh"
applog="$out/simulator.log"
start_xvfb 1024x768x24
app=""
saver_pid=""
cleanup() {
  [ -n "$saver_pid" ] && kill "$saver_pid" 2>/dev/null || true
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT

window() { xdotool search --onlyvisible --name "$1" | head -n 1; }

# Pixel columns and rows where the picture changes, as residues modulo 12: a world of 12-pixel
# squares changes only at square edges (0 or 1, after rounding) and at the edge of the environment
# corner in the middle of each square (5 to 7); 6-, 4- or 8-pixel squares change elsewhere too,
# 24-pixel squares never in the middle.
twelve_pixel_squares() {
  convert "$1" -depth 8 txt:- | awk -F'[,: ]+' '
    NR > 1 {
      x = $1; y = $2; c = ""
      for (i = 3; i <= NF; i++) if (substr($i, 1, 1) == "#") { c = $i; break }
      if (x > 0 && c != left) seen[x % 12] = 1
      if (y > 0 && c != above[x]) seen[y % 12] = 1
      left = c; above[x] = c
    }
    END {
      edge = seen[0] || seen[1] || seen[11]; middle = seen[5] || seen[6] || seen[7]
      for (r = 2; r <= 4; r++) if (seen[r] || seen[r + 6]) { print "change at residue " r " or " r + 6; exit 1 }
      if (!edge || !middle) { print "no square edges or no environment corners"; exit 1 }
    }'
}

wait_for xdpyinfo
PATH="$out/hosts" "$prefix/bin/bramblex2" >"$out/simulator.log" 2>&1 &
app=$!
wait_for "xdotool search --onlyvisible --name '^Bramblex 2\.1$'"
panel=$(window '^Bramblex 2\.1$')
xdotool windowfocus --sync "$panel"
xdotool key F5
wait_for "xdotool search --onlyvisible --name '^Bramblex 2\.1 Options$'"
options=$(window '^Bramblex 2\.1 Options$')
xdotool windowfocus --sync "$options"
xdotool key ctrl+s # the Screensaver page

# Install (the status frame's shortcut gives Install the focus; it then reads Uninstall), then
# Activate, next in line. A copy in a prefix of its own is installed for the user: the MATE/Xfce
# entry and a full path in ~/.xscreensaver, which Activate selects.
entry="$XDG_DATA_HOME/applications/screensavers/bramblex2-screensaver.desktop"
saver_path="$(readlink -f "$prefix/lib/bramblex2/Bramblex 2.scr")"
installed_for_user() {
  grep -qxF "Exec=\"$saver_path\" --root" "$entry" && grep -qF "'$saver_path' --root" "$HOME/.xscreensaver"
}
selected() { grep -qx 'mode:[[:space:]]*one' "$HOME/.xscreensaver" && grep -q '^selected:' "$HOME/.xscreensaver"; }
xdotool key alt+v space
check "wait_for installed_for_user" \
  "Install did not write the desktop entry and the xscreensaver entry naming the installed saver"
xdotool key Tab space
check "wait_for selected" "Activate did not select the screensaver in ~/.xscreensaver"
# The labels change in the click handlers: photograph the page once two pictures agree.
steady() {
  import -window "$options" "$out/page-a.png" && import -window "$options" "$out/screensaver-page.png" &&
    compare -metric AE "$out/page-a.png" "$out/screensaver-page.png" null:
}
wait_for steady || true
rm -f "$out/page-a.png"

# Square size 12 with the keyboard, then OK: the size is stored before the options question.
settings="$XDG_CONFIG_HOME/bramblex/Bramblex 2.ini"
xdotool key alt+u Home
for _ in $(seq 1 10); do xdotool key Right; done
xdotool key alt+k
check "wait_for \"grep -qx 'Square%20Size=12' '$settings'\"" "OK did not store square size 12"
# The question (No is the default): the options window stays open.
wait_for "xdotool search --onlyvisible --name '^Reset simulation\?$'" && xdotool key Return
wait_for "! xdotool search --onlyvisible --name '^Reset simulation\?$'"

# Test: the copy beside the installed simulator covers the screen with 12-pixel squares.
xdotool windowfocus --sync "$options"
xdotool key alt+t
if wait_for "xdotool search --onlyvisible --name '^Bramblex 2 Screen Saver$'" &&
  wait_for "[ \$(import -window root png:- | identify -format '%k' png:-) -gt 30 ]"; then
  # The saver shows organisms only or environments only now and then (no corner marks then):
  # pictures are taken until one shows both.
  shows_twelve_pixel_squares() {
    import -window root "$out/screensaver-test.png" && result=$(twelve_pixel_squares "$out/screensaver-test.png")
  }
  if wait_for shows_twelve_pixel_squares >/dev/null; then
    passed=$((passed + 1))
  else
    fail "the tested screensaver does not draw 12-pixel squares: $(twelve_pixel_squares "$out/screensaver-test.png")"
  fi
  saver=$(window '^Bramblex 2 Screen Saver$')
  saver_pid=$(xdotool getwindowpid "$saver" 2>/dev/null || true)
  xdotool windowfocus --sync "$saver" 2>/dev/null || true
  xdotool key q
  if wait_for "! xdotool search --onlyvisible --name '^Bramblex 2 Screen Saver\$'"; then
    saver_pid=""; passed=$((passed + 1))
  else
    fail "the tested screensaver did not end on a key"
  fi
else
  fail "Test started no screensaver"
fi

# Escape cancels the options, Ctrl+Q ends the simulator.
xdotool windowfocus --sync "$options" 2>/dev/null || true
xdotool key Escape
wait_for "! xdotool search --onlyvisible --name '^Bramblex 2\.1 Options$'" || true
xdotool windowfocus --sync "$panel"
xdotool key ctrl+q
if wait_for "! kill -0 $app"; then app=""; passed=$((passed + 1)); else fail "the simulator did not end on Ctrl+Q"; fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
