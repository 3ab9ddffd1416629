#!/usr/bin/env bash
# bramblex-run stopped by a signal: the first one ends the run at the end of a generation with
# every output whole and the status 128 + the signal's number; a second one ends it at once. An
# output whose reader quits ends it as the first signal does.
# Neither leaves a temporary file behind.
#   signals_test.sh <bramblex-run> <scratch folder>
set -euo pipefail
set -m # background runs keep SIGINT, as they do when started from a terminal
run=$(realpath "$1")
work=$2
rm -rf "$work"
mkdir -p "$work"
cd "$work"
pid=""
reader=""
trap 'kill $pid $reader 2>/dev/null || true' EXIT
passed=0
failed=0
fail() { echo "FAILED: $*"; failed=$((failed + 1)); }
check() { if eval "$1"; then passed=$((passed + 1)); else fail "$2"; fi; }
temporaries() { find . -name '.*.??????' | wc -l; }
# wait_for CONDITION: polls for up to ~20 s.
wait_for() {
  for _ in $(seq 1 200); do
    if eval "$1" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  return 1
}

number=([2]=INT [15]=TERM [1]=HUP)
for n in 15 2 1; do
  sig=${number[$n]}
  rm -f s.csv s.png s.bx2
  "$run" --generations 100000000 --seed 3 --stats s.csv --png s.png --save s.bx2 >out.txt 2>err.txt &
  pid=$!
  wait_for '[ "$(find . -maxdepth 1 -name ".s.csv.*" -size +20k | wc -l)" -eq 1 ]' # the run is under way
  kill -"$sig" "$pid"
  status=0
  wait "$pid" || status=$?
  generation=$(sed -n 's/.* at the end of generation \([0-9]*\);.*/\1/p' err.txt)
  check '[ "$status" -eq $((128 + n)) ]' "SIG$sig: status $status, not $((128 + n))"
  check '[ -n "$generation" ] && [ "$(tail -n 1 s.csv | cut -d, -f1)" = "$generation" ] && [ "$(wc -l <s.csv)" -eq $((generation + 1)) ]' \
    "SIG$sig: the statistics do not end at generation '$generation': $(tail -n 1 s.csv)"
  check '[ "$(head -c 4 s.png | tail -c 3)" = PNG ]' "SIG$sig: s.png is not a whole picture"
  check '"$run" --profile s.bx2 --generations 0 >/dev/null 2>&1 && [ "$(sed -n 21p s.bx2 | cut -d, -f3 | tr -d "\r")" = "$generation" ]' \
    "SIG$sig: s.bx2 does not load as generation $generation"
  check '[ "$(temporaries)" -eq 0 ]' "SIG$sig: temporary files were left: $(ls -a)"
done

# A second signal while the run cannot finish its generation (its statistics go to a pipe that is
# never read): it ends at once, and the picture's and the profile's temporary files go with it,
# also from a folder whose path is longer than the system's longest path.
deep=$(printf 'd%.0s' {1..250})
long=.
for _ in $(seq 17); do long=$long/$deep; done
mkdir -p "$long"
mkfifo pipe
sleep 600 <pipe &
reader=$!
"$run" --generations 100000000 --stats pipe --png "$long/p.png" --save p.bx2 >/dev/null 2>&1 &
pid=$!
wait_for 'grep -q pipe_write /proc/$pid/wchan' # the pipe is full: the generation cannot end
kill -TERM "$pid"
# Signals of one kind do not queue: the second is sent once the first has been taken.
wait_for '! grep -qE "^(Shd|Sig)Pnd:.*[1-9a-f]" /proc/$pid/status'
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
kill "$reader" 2>/dev/null || true
wait "$reader" 2>/dev/null || true
check '[ "$status" -eq 143 ]' "a second SIGTERM: status $status, not 143"
check '[ "$(temporaries)" -eq 0 ] && [ -z "$(find . -name p.png)" ] && [ ! -e p.bx2 ]' \
  "a second SIGTERM left files: $(find . -name '.*.??????' -o -name 'p.*')"

# An output whose reader quits (SIGPIPE): standard output read by head, a named pipe read by head.
# The run ends as a signal ends it: the other outputs whole as of that generation, status 141,
# no temporary file, and the message names the output that was closed. The same when the caller
# ignores SIGPIPE and the write fails instead (EPIPE).
mkfifo closing
# Runs bramblex-run with SIGPIPE ignored when $ignored is set.
runs() { if [ -n "$ignored" ]; then trap '' PIPE; fi; exec "$run" "$@"; }
for output in - closing "- ignored" "closing ignored"; do
  ignored=${output#* }
  [ "$ignored" = "$output" ] && ignored=""
  output=${output%% *}
  rm -f c.png c.bx2
  set +e
  if [ "$output" = - ]; then
    (runs --generations 100000000 --seed 3 --stats - --png c.png --save c.bx2 2>err.txt) | head -n 2 >/dev/null
    status=${PIPESTATUS[0]}
    named="standard output"
  else
    head -c 1000 closing >/dev/null &
    (runs --generations 100000000 --seed 3 --stats closing --png c.png --save c.bx2 >/dev/null 2>err.txt)
    status=$?
    named="'closing'"
  fi
  set -e
  output="$output${ignored:+ (SIGPIPE ignored)}"
  check '[ "$status" -eq 141 ]' "reader of $output gone: status $status, not 141"
  check 'grep -q "nothing reads $named any more (SIGPIPE); stopped at the end of generation" err.txt' \
    "reader of $output gone: the message does not name it: $(cat err.txt)"
  check '[ "$(head -c 4 c.png | tail -c 3)" = PNG ] && "$run" --profile c.bx2 --generations 0 >/dev/null 2>&1' \
    "reader of $output gone: the other outputs are not whole"
  check '[ "$(temporaries)" -eq 0 ]' "reader of $output gone: temporary files were left: $(ls -a)"
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
