#!/usr/bin/env bash
# Runs one command on the demo site with the simulated instruments on its serial ports:
#   1. makes the demo site when it is missing and writes a fresh settings file for it
#      (scripts/make-demo-site.sh), so nothing of an earlier run is left in it;
#   2. starts velunit-sim and flowcomputer-sim on pseudo-terminals and names their devices
#      as COM1 and COM2 in the settings file;
#   3. runs the command with TIDEWELL_CONFIG pointing at that file;
#   4. when the command ends, fails, or this script is interrupted (Ctrl-C, kill, hang-up),
#      stops the simulators and takes COM1 and COM2 out of the settings file again. Once its
#      simulator has gone, a pseudo-terminal's number is handed to whatever opens one next,
#      and a later start of the program must not open someone else's terminal.
#
#   scripts/demo-session.sh BUILD_DIR DEMO_DIR COMMAND [ARGS...]
#
# Exit status: the command's; 128 + the signal's number when interrupted; 2 for bad usage.
# scripts/run.sh uses it to start the program; the tests run it with a short command.
set -euo pipefail
if [ $# -lt 3 ]; then
  echo "usage: scripts/demo-session.sh BUILD_DIR DEMO_DIR COMMAND [ARGS...]" >&2
  exit 2
fi
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$1
demo=$2
shift 2

"$root/scripts/make-demo-site.sh" "$build" "$demo"
conf="$demo/tidewell.conf"
export TIDEWELL_CONFIG="$conf"

sim_pids=()
command_pid=
# wait_gone PID...: gives each a moment to end, then makes sure it has.
wait_gone() {
  local pid
  for pid in "$@"; do
    for _ in $(seq 20); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
  done
}
stop_all() {
  # A second Ctrl-C must not cut the cleaning short.
  trap '' HUP INT TERM
  local pid
  [ -n "$command_pid" ] && kill "$command_pid" 2>/dev/null || true
  for pid in "${sim_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  # The program writes its settings back whole, so the ports go only once it has ended.
  [ -n "$command_pid" ] && wait_gone "$command_pid"
  sed -i '/^COM[12]=/d' "$conf" 2>/dev/null || true
  wait_gone "${sim_pids[@]}"
}
trap stop_all EXIT
# An interrupted run leaves through the EXIT trap above with the signal's status.
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# Each simulator prints the device to open on its first line.
start_sim() { # start_sim COMKEY PROGRAM ARGS...
  local key=$1 program=$2 out device=
  shift 2
  out="$demo/$key.sim.out"
  if [ ! -x "$program" ]; then
    echo "No $program: $key stays without a device." >&2
    return 0
  fi
  "$program" "$@" >"$out" 2>&1 &
  sim_pids+=($!)
  for _ in $(seq 50); do
    device=$(head -n1 "$out" 2>/dev/null || true)
    case $device in /dev/*) break ;; esac
    device=
    kill -0 "${sim_pids[-1]}" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$device" ]; then
    echo "$program did not start (see $out): $key stays without a device." >&2
    return 0
  fi
  echo "$key=$device" >>"$conf"
  echo "$key: $device ($(basename "$program"))"
}
start_sim COM1 "$build/tools/velunit-sim" --site Harbour_Weir --recorder "$demo/velunit-recorder.bin" --compress 60
start_sim COM2 "$build/tools/flowcomputer-sim" --serve

# In the background, so that a signal to this script is handled at once rather than when
# the command happens to end; the EXIT trap stops the command too.
"$@" &
command_pid=$!
status=0
wait "$command_pid" || status=$?
command_pid=
exit "$status"
