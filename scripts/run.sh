#!/usr/bin/env bash
# Builds the desktop program and starts it on a demo site of its own: three stations with
# recorded data in build/demo (kept between runs), COM 1 the simulated Velunit and COM 2 the
# simulated Flow Computer. Without a display it runs the program under Xvfb and saves a
# screenshot of the main window instead.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="${TIDEWELL_BUILD_DIR:-$root/build}"
demo="${TIDEWELL_DEMO_DIR:-$build/demo}"

"$root/scripts/setup-packages.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=(tidewell tidewell-demo-site tidewell-datagen)
for sim in velunit-sim flowcomputer-sim; do
  [ -d "$root/tools/$sim" ] && targets+=("$sim")
done
cmake --build "$build" -j 2 --target "${targets[@]}"

"$root/scripts/make-demo-site.sh" "$build" "$demo"
export TIDEWELL_CONFIG="$demo/tidewell.conf"

# The simulators sit on pseudo-terminals; each prints the device to open on its first line.
# The settings file gets this run's devices; without a simulator program the port keeps the
# name of the simulator inside the program.
sim_pids=()
cleanup() {
  for pid in "${sim_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT
start_sim() { # start_sim COMKEY FALLBACK PROGRAM ARGS...
  local key=$1 program=$3
  local device=$2
  shift 3
  if [ -x "$program" ]; then
    local out="$demo/$key.sim.out"
    "$program" "$@" >"$out" 2>&1 &
    sim_pids+=($!)
    for _ in $(seq 30); do
      if head -n1 "$out" 2>/dev/null | grep -q '^/dev/'; then
        device=$(head -n1 "$out")
        break
      fi
      sleep 0.1
    done
  fi
  sed -i "/^$key=/d" "$TIDEWELL_CONFIG"
  echo "$key=$device" >>"$TIDEWELL_CONFIG"
}
start_sim COM1 sim:velunit "$build/tools/velunit-sim" --site Harbour_Weir --recorder "$demo/velunit-recorder.bin" --compress 60
start_sim COM2 sim:flowcomputer "$build/tools/flowcomputer-sim" --serve

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  "$build/app/tidewell"
  exit 0
fi

shot="$demo/tidewell-main-window.png"
if ! command -v xvfb-run >/dev/null; then
  echo "No display and no Xvfb: cannot show the program (install xvfb to get a screenshot)."
  exit 1
fi
echo "No display: running Tidewell under Xvfb at 1280x800 and saving a screenshot of the main window."
rm -f "$shot"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  "$1" 2>"$3" & app=$!
  sleep 5
  import -window root "$2"
  kill "$app"' _ "$build/app/tidewell" "$shot" "$demo/tidewell.log"
[ -f "$shot" ] || { echo "The screenshot could not be taken." >&2; exit 1; }
echo "Screenshot: $shot"
