#!/usr/bin/env bash
# Makes the demo site that scripts/run.sh starts the program on, when it is not there yet:
#   DEMO_DIR/site/...            three stations of different channel types, each with recorded
#                                data files made by tidewell-datagen
#   DEMO_DIR/tidewell.conf       the program's settings file (point TIDEWELL_CONFIG at it)
# An existing demo site is kept as it is, with whatever the operator changed in it.
#
#   scripts/make-demo-site.sh BUILD_DIR DEMO_DIR
set -euo pipefail
build=$1
demo=$2
site="$demo/site"
conf="$demo/tidewell.conf"

if [ ! -d "$site" ]; then
  mkdir -p "$site"
  "$build/app/tidewell-demo-site" "$site" >/dev/null
  gen="$build/tools/tidewell-datagen"
  weir="$site/North/Harbour Weir"
  creek="$site/Mill Creek"
  pipe="$site/North/Outfall 7"
  # Ten-minute ensembles over a day or two of tide; one file in the older PD14 format.
  "$gen" --format pd0 --count 144 --interval 600 --start "2005/12/03 00:00:00" --seed 1 "$weir/20051203.001"
  "$gen" --format pd0 --count 288 --interval 600 --start "2005/12/04 00:00:00" --seed 2 "$weir/20051204.002"
  "$gen" --format pd14 --count 144 --interval 600 --start "2005/12/03 00:00:00" --seed 3 "$creek/20051203.001"
  "$gen" --format pd0 --count 96 --interval 900 --start "2005/12/05 06:00:00" --beam --seed 4 "$pipe/20051205.001"
fi >/dev/null

if [ ! -f "$conf" ]; then
  {
    echo "# Settings of the Tidewell demo site (made by scripts/make-demo-site.sh)."
    echo "StationDir=$site"
    echo "LastStation=$site/North/Harbour Weir/Harbour Weir.hstn"
    echo "COM1=sim:velunit"
    echo "COM2=sim:flowcomputer"
  } >"$conf"
fi
