#!/usr/bin/env bash
# Makes the demo site that scripts/run.sh starts the program on, when it is not there yet,
# and writes its settings file afresh:
#   DEMO_DIR/site/...            three stations of different channel types, each with recorded
#                                data files that fit its channel (tidewell-demo-site); the weir
#                                also has reference discharge measurements, measurements.csv,
#                                for trying the velocity rating
#   DEMO_DIR/site-version        which tidewell-demo-site made it
#   DEMO_DIR/tidewell.conf       the program's settings file (point TIDEWELL_CONFIG at it): the
#                                site folder and the station to open, and no serial ports, which
#                                scripts/demo-session.sh adds while the simulators run
# An existing demo site is kept as it is, with whatever the operator changed in it, unless an
# older tidewell-demo-site made it: that one is moved aside to DEMO_DIR/site.old.
#
#   scripts/make-demo-site.sh BUILD_DIR DEMO_DIR
set -euo pipefail
build=$1
demo=$2
site="$demo/site"
conf="$demo/tidewell.conf"
# Raised whenever tidewell-demo-site makes a different site.
version=3
stamp="$demo/site-version"

if [ -d "$site" ] && [ "$(cat "$stamp" 2>/dev/null || true)" != "$version" ]; then
  rm -rf "$demo/site.old"
  mv "$site" "$demo/site.old"
  echo "The demo site was made by an older version: moved to $demo/site.old, making a new one."
fi
if [ ! -d "$site" ]; then
  mkdir -p "$demo"
  # Made beside its final place and renamed, so an interrupted run leaves no half site.
  rm -rf "$site.new"
  mkdir -p "$site.new"
  "$build/app/tidewell-demo-site" "$site.new" >/dev/null
  mv "$site.new" "$site"
  echo "$version" >"$stamp"
fi

{
  echo "# Settings of the Tidewell demo site, written afresh at every start by scripts/make-demo-site.sh."
  echo "StationDir=$site"
  echo "LastStation=$site/North/Harbour Weir/Harbour Weir.hstn"
} >"$conf.new"
mv "$conf.new" "$conf"
