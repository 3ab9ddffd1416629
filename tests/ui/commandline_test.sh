#!/usr/bin/env bash
# The simulator started from a terminal without a desktop: its own switches answer and exit 0,
# and a display it cannot open is said in one line with status 1 (not Qt's abort, 134).
#   commandline_test.sh <folder of the programs>
set -uo pipefail
program="$1/Bramblex 2"
failed=0
# Each row: DISPLAY ("-" unset); arguments; status; the output's first line; its line count
while IFS=';' read -r display arguments status first lines; do
  [ -n "$display" ] || continue
  if [ "$display" = - ]; then unset DISPLAY; else export DISPLAY=$display; fi
  # shellcheck disable=SC2086 # the arguments are words
  output=$(env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY "$program" $arguments 2>&1 </dev/null)
  got=$?
  if [ "$got" != "$status" ] || [ "$(printf '%s\n' "$output" | head -n 1)" != "$first" ] ||
    [ "$(printf '%s\n' "$output" | wc -l)" != "$lines" ]; then
    echo "FAILED: DISPLAY=$display bramblex2 $arguments: status $got (expected $status), output:"
    printf '%s\n' "$output"
    failed=$((failed + 1))
  fi
done <<'TABLE'
-;--help;0;Usage: bramblex2 [--help | --version] [Qt options];5
-;--version;0;bramblex2 2.1;1
-;-display :1 --version;0;bramblex2 2.1;1
-;;1;bramblex2: cannot open the display: DISPLAY is not set;1
:97;;1;bramblex2: cannot open the display: ":97" does not answer;1
-;-display :97;1;bramblex2: cannot open the display: ":97" does not answer;1
TABLE
[ "$failed" = 0 ] && echo "all rows passed"
exit "$failed"
