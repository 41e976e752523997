#!/usr/bin/env bash
# scripts/demo-session.sh, the part of scripts/run.sh that starts the simulators: while the
# command runs, the demo settings name the simulators' pseudo-terminals as COM1 and COM2;
# however the run ends (the command ends, fails, or the script is interrupted with Ctrl-C or
# killed), the simulators are gone and the settings file holds no serial port. A stale
# device in the settings file from an earlier run never survives a new start.
#
#   tests/scripts/DemoSessionTest.sh BUILD_DIR
# Every run is bounded by `timeout`; the whole test takes a few seconds.
set -uo pipefail
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
session="$root/scripts/demo-session.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
demo="$tmp/demo"
conf="$demo/tidewell.conf"
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# The command every run is given: it saves the settings it was started with, which of their
# devices are there to open, and the process ids of the session's children (the simulators
# and itself), then does what it is told.
probe='cp "$TIDEWELL_CONFIG" "$0/during.conf"
for key in COM1 COM2; do
  device=$(sed -n "s/^$key=//p" "$TIDEWELL_CONFIG")
  [ -c "$device" ] && echo "$key" >>"$0/open"
done
for stat in /proc/[0-9]*/stat; do
  read -r pid name state ppid rest <"$stat" 2>/dev/null && [ "$ppid" = "$PPID" ] && echo "$pid"
done >"$0/children"
echo "$PPID" >"$0/session"
case $1 in
  ok) exit 0 ;;
  fail) exit 7 ;;
  wait) exec sleep 60 ;;
esac'

# check_run NAME EXPECTED_STATUS STATUS: the settings during and after the run, and the children.
check_run() {
  local name=$1 expected=$2 status=$3 pid
  [ "$status" -eq "$expected" ] || fail "$name: exit status $status, expected $expected"
  if [ ! -f "$tmp/during.conf" ]; then
    fail "$name: the command did not run"
    return
  fi
  for key in COM1 COM2; do
    local device
    device=$(sed -n "s/^$key=//p" "$tmp/during.conf")
    case $device in
      /dev/pts/999) fail "$name: the stale $key of the earlier run was kept" ;;
      /dev/*) ;;
      *) fail "$name: $key during the run is '$device', expected the simulator's device" ;;
    esac
  done
  [ "$(cat "$tmp/open" 2>/dev/null)" = "$(printf 'COM1\nCOM2')" ] || fail "$name: the devices were not there during the run"
  grep -q '^Stale=' "$tmp/during.conf" && fail "$name: the settings were not written afresh"
  grep -q "^StationDir=$demo/site\$" "$tmp/during.conf" || fail "$name: no StationDir during the run"
  # After the run: no serial port left, the rest of the settings kept.
  grep -n '^COM' "$conf" && fail "$name: serial ports left in the settings after the run"
  grep -q "^StationDir=$demo/site\$" "$conf" || fail "$name: StationDir lost after the run"
  # Two simulators and the command were running; none of them is left.
  [ "$(wc -l <"$tmp/children")" -ge 3 ] || fail "$name: expected two simulators and the command, saw $(wc -l <"$tmp/children") processes"
  for pid in $(cat "$tmp/children"); do
    kill -0 "$pid" 2>/dev/null && { fail "$name: process $pid still runs after the session"; kill "$pid"; }
  done
  rm -f "$tmp/during.conf" "$tmp/children" "$tmp/session" "$tmp/open"
}

# A settings file left by an earlier run that did not clean up.
stale_settings() {
  mkdir -p "$demo"
  printf 'Stale=1\nCOM1=/dev/pts/999\nCOM2=/dev/pts/999\n' >"$conf"
}

# 1. The command ends normally; the first run also makes the demo site.
stale_settings
timeout 60 "$session" "$build" "$demo" bash -c "$probe" "$tmp" ok >"$tmp/out" 2>&1
check_run "normal end" 0 $?
[ -f "$demo/site/North/Harbour Weir/Harbour Weir.hstn" ] || fail "the demo site was not made"

# 2. The command fails: its status comes through, and the session cleans up all the same.
stale_settings
timeout 60 "$session" "$build" "$demo" bash -c "$probe" "$tmp" fail >"$tmp/out" 2>&1
check_run "failing command" 7 $?

# 3 and 4. Interrupted while the command runs: Ctrl-C (SIGINT) and kill (SIGTERM). A script
# started in the background ignores SIGINT unless told otherwise, as a terminal's foreground
# job would not.
for signal in INT TERM; do
  stale_settings
  timeout 60 env --default-signal=INT "$session" "$build" "$demo" bash -c "$probe" "$tmp" wait >"$tmp/out" 2>&1 &
  runner=$!
  for _ in $(seq 100); do
    [ -s "$tmp/session" ] && break
    sleep 0.1
  done
  if [ ! -s "$tmp/session" ]; then
    fail "SIG$signal: the command did not start"
    wait "$runner"
    continue
  fi
  sleep 0.2
  # Twice, as an impatient operator presses Ctrl-C: the second must not cut the cleaning short.
  kill -s "$signal" "$(cat "$tmp/session")"
  sleep 0.05
  kill -s "$signal" "$(cat "$tmp/session")" 2>/dev/null
  wait "$runner"
  status=$?
  case $signal in INT) expected=130 ;; TERM) expected=143 ;; esac
  check_run "SIG$signal" "$expected" "$status"
done

if [ "$failures" -gt 0 ]; then
  echo "--- last session's output:" >&2
  cat "$tmp/out" >&2
  exit 1
fi
echo "demo session: 4 runs, the settings clean after each"
