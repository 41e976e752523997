#!/usr/bin/env bash
# Builds the desktop program and starts it on a demo site of its own: three stations with
# recorded data in build/demo (kept between runs), COM 1 the simulated Velunit and COM 2 the
# simulated Flow Computer, both on pseudo-terminals while the program runs. Without a display
# it runs the program under Xvfb and saves a screenshot of the main window instead.
#
#   scripts/run.sh
# TIDEWELL_BUILD_DIR and TIDEWELL_DEMO_DIR choose other folders for the build and the site.
# However the program ends (closed, Ctrl-C, an error), the simulators are stopped and their
# devices taken out of the demo settings file (scripts/demo-session.sh).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="${TIDEWELL_BUILD_DIR:-$root/build}"
demo="${TIDEWELL_DEMO_DIR:-$build/demo}"

"$root/scripts/setup-packages.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j 2 --target tidewell tidewell-demo-site velunit-sim flowcomputer-sim

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$root/scripts/demo-session.sh" "$build" "$demo" "$build/app/tidewell"
fi

if ! command -v xvfb-run >/dev/null; then
  echo "No display and no Xvfb: cannot show the program (install xvfb to get a screenshot)." >&2
  exit 1
fi
shot="$demo/tidewell-main-window.png"
echo "No display: running Tidewell under Xvfb at 1280x800 and saving a screenshot of the main window."
rm -f "$shot"
"$root/scripts/demo-session.sh" "$build" "$demo" \
  xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    "$1" 2>"$3" & app=$!
    sleep 5
    import -window root "$2"
    kill "$app"
    wait "$app" || true' _ "$build/app/tidewell" "$shot" "$demo/tidewell.log"
[ -f "$shot" ] || { echo "The screenshot could not be taken (see $demo/tidewell.log)." >&2; exit 1; }
echo "Screenshot: $shot"
