#!/bin/bash
# The Windows tool on a COM port under Wine, against the Linux velunit-sim: Wine maps COMn to
# whatever $WINEPREFIX/dosdevices/comN links to, here the simulator's pseudo-terminal.
#
#   WineSerialTest.sh LINUX_BUILD WINDOWS_BUILD
#
# LINUX_BUILD holds tools/velunit-sim and tools/tidewell-tool, WINDOWS_BUILD holds
# tools/tidewell-tool.exe (and tests/test_link.exe, whose COM port cases then run too). Uses
# WINEPREFIX from the environment, or a temporary prefix, and WINE (the program that runs
# Windows programs) when set. Exits 0 when every check passed.
set -u

if [ $# -ne 2 ]; then
    echo "usage: $0 LINUX_BUILD WINDOWS_BUILD" >&2
    exit 2
fi
linux_build=$(cd "$1" && pwd) || exit 2
windows_build=$(cd "$2" && pwd) || exit 2
sim="$linux_build/tools/velunit-sim"
linux_tool="$linux_build/tools/tidewell-tool"
tool="$windows_build/tools/tidewell-tool.exe"
test_link="$windows_build/tests/test_link.exe"
for f in "$sim" "$linux_tool" "$tool"; do
    if [ ! -x "$f" ] && [ ! -f "$f" ]; then
        echo "missing: $f" >&2
        exit 2
    fi
done
wine=${WINE:-$(command -v wine64 || true)}
[ -z "$wine" ] && [ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64
if [ -z "$wine" ]; then
    echo "wine64 is not installed" >&2
    exit 2
fi

work=$(mktemp -d /tmp/tidewell-wine-serial-XXXXXX)
own_prefix=0
if [ -z "${WINEPREFIX:-}" ]; then
    export WINEPREFIX="$work/prefix"
    own_prefix=1
fi
export WINEDEBUG=-all
# A port number that no real port of the machine takes in the prefix.
port_number=37
com_link="$WINEPREFIX/dosdevices/com$port_number"
sim_pid=
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    rm -f "$com_link"
    if [ $own_prefix = 1 ]; then
        WINEPREFIX="$WINEPREFIX" timeout 30 wineserver -k 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
passes=0
check() { # NAME CONDITION-STATUS
    if [ "$2" = 0 ]; then
        echo "ok: $1"
        passes=$((passes + 1))
    else
        echo "FAILED: $1"
        failures=$((failures + 1))
    fi
}

# The prefix first (its first start takes a while), so that dosdevices exists.
timeout 300 "$wine" "$tool" --version > "$work/version.txt" 2>&1
check "the Windows tool starts under Wine" $?
mkdir -p "$WINEPREFIX/dosdevices"

# velunit-sim with a recorder card of every byte value in a scrambled order.
head -c 40000 /dev/urandom > "$work/card.rec"
start_sim() { # [extra velunit-sim options]
    rm -f "$work/sim.out"
    "$sim" --site Mill --recorder "$work/card.rec" --link "$com_link" "$@" > "$work/sim.out" 2>&1 &
    sim_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/sim.out" ] && [ -L "$com_link" ] && return 0
        sleep 0.05
    done
    return 1
}
stop_sim() {
    kill "$sim_pid" 2>/dev/null
    wait "$sim_pid" 2>/dev/null
    sim_pid=
}

mkdir -p "$work/Mill"
"$linux_tool" station new --site Mill "$work/Mill/Mill.hstn" > /dev/null
cp "$work/card.rec" "$work/card-before.rec"
# An empty settings file: "COM n" is then the port of that number.
: > "$work/tidewell.conf"
export TIDEWELL_CONFIG="$work/tidewell.conf"

start_sim
status=$?
check "velunit-sim serves on $(head -1 "$work/sim.out" 2>/dev/null) linked as com$port_number" $status

(cd "$work" && timeout 120 "$wine" "$tool" velunit connect --station Mill/Mill.hstn --port "COM $port_number" \
    > "$work/connect.out" 2> "$work/connect.err")
status=$?
sed 's/^/  connect: /' "$work/connect.out" "$work/connect.err" | tr -d '\r'
[ $status = 0 ] && grep -q "^Connected to velunit" "$work/connect.out"
check "velunit connect over COM $port_number" $?
grep -q "Site Name: Mill" "$work/connect.out"
check "the unit's site name read through the port" $?

(cd "$work" && timeout 300 "$wine" "$tool" velunit download --station Mill/Mill.hstn --port "COM $port_number" \
    > "$work/download.out" 2> "$work/download.err")
status=$?
sed 's/^/  download: /' "$work/download.out" "$work/download.err" | tr -d '\r'
check "velunit download exits 0" $status
size=$(stat -c %s "$work/card-before.rec")
cmp "$work/card-before.rec" "$work/Mill/Mill.000"
check "the downloaded file is the recorder's, byte for byte ($size bytes)" $?
stop_sim

# A deployed unit streaming ensembles, thirty seconds of them every half second, listened to.
start_sim --stay-deployed --compress 60
(cd "$work" && timeout 120 "$wine" "$tool" velunit program --station Mill/Mill.hstn --port "COM $port_number" --yes \
    > "$work/program.out" 2>&1)
status=$?
tail -n 2 "$work/program.out" | tr -d '\r' | sed 's/^/  program: /'
check "velunit program deploys the unit" $status
(cd "$work" && timeout 120 "$wine" "$tool" velunit listen --station Mill/Mill.hstn --port "COM $port_number" \
    --seconds 4 > "$work/listen.out" 2>&1)
status=$?
grep "^Listened" "$work/listen.out" | tr -d '\r' | sed 's/^/  listen: /'
[ $status = 0 ] && grep -Eq "^Listened 4 s: ([2-9]|[1-9][0-9]+) ensembles, ([2-9]|[1-9][0-9]+) recorded" "$work/listen.out"
check "velunit listen records the ensembles the unit sends" $?
stop_sim

if [ -f "$test_link" ]; then
    start_sim
    (cd "$work" && TIDEWELL_TEST_COM_PORT="COM $port_number" timeout 300 "$wine" "$test_link" \
        --gtest_filter='ComStream*:PortNamesWindows*' > "$work/gtest.out" 2>&1)
    status=$?
    tr -d '\r' < "$work/gtest.out" | grep -E '^\[ *(OK|FAILED|SKIPPED|PASSED) *\]|Failure|error' | sed 's/^/  /'
    check "test_link.exe COM port cases against the simulator" $status
    stop_sim
fi

echo "$passes passed, $failures failed"
[ $failures = 0 ]
