#!/usr/bin/env bash
# The Windows tidewell-tool, run under Wine, against the Linux one on the same inputs: a new
# station, the station shown as JSON and as text, the data summary of every real recording,
# the data table export of one, and the Flow Computer settings message. Text may end its lines
# with CR LF on Windows; everything else must be the same. The message is bytes and must be
# identical, on standard output as well as in a file.
#
#   tests/scripts/WineToolTest.sh LINUX_TOOL WINDOWS_TOOL_EXE SHARED_DATA_DIR
# WINE names the loader (default: wine64); WINEPREFIX and WINEDEBUG are taken as they are.
set -uo pipefail
linux_tool=$1
windows_tool=$2
data=$3
wine=${WINE:-$(command -v wine64 || echo /usr/lib/wine/wine64)}
export WINEDEBUG=${WINEDEBUG:--all}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
checks=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Runs both programs with the same arguments from $tmp; the outputs land in $tmp/lin.* and
# $tmp/win.* (standard output and status).
both() {
  (cd "$tmp" && "$linux_tool" "$@" >lin.out 2>lin.err; echo $? >lin.rc)
  (cd "$tmp" && timeout 120 "$wine" "$windows_tool" "$@" >win.out 2>win.err; echo $? >win.rc)
}

# The two runs agree: same status, and the same text once CR LF is read as LF.
same_text() {
  local what=$1
  checks=$((checks + 1))
  if [ "$(cat "$tmp/lin.rc")" != "$(cat "$tmp/win.rc")" ]; then
    fail "$what: status $(cat "$tmp/lin.rc") on Linux, $(cat "$tmp/win.rc") on Windows ($(head -c 300 "$tmp/win.err"))"
    return
  fi
  if [ "$(cat "$tmp/lin.rc")" != 0 ]; then
    fail "$what: failed on both ($(head -c 300 "$tmp/lin.err"))"
    return
  fi
  if [ ! -s "$tmp/lin.out" ]; then
    fail "$what: no output"
    return
  fi
  if ! cmp -s "$tmp/lin.out" <(tr -d '\r' <"$tmp/win.out"); then
    fail "$what: outputs differ"
    diff "$tmp/lin.out" <(tr -d '\r' <"$tmp/win.out") | head -20 >&2
  fi
}

same_bytes() {
  local what=$1 a=$2 b=$3
  checks=$((checks + 1))
  if [ ! -s "$a" ] || ! cmp -s "$a" "$b"; then
    fail "$what: $a and $b are not the same bytes"
    cmp "$a" "$b" | head -3 >&2
  fi
}

# Identification first: a program that does not start says so plainly.
both --version
same_text "--version"

# A station made by each program reads back the same, apart from the moment it was made.
(cd "$tmp" && "$linux_tool" station new --site "Mill Creek" --group North linux.hstn >/dev/null)
(cd "$tmp" && timeout 120 "$wine" "$windows_tool" station new --site "Mill Creek" --group North windows.hstn \
  >"$tmp/win.out" 2>"$tmp/win.err")
rc=$?
checks=$((checks + 1))
[ $rc = 0 ] || fail "station new on Windows: $(cat "$tmp/win.err")"
checks=$((checks + 1))
if [ -s "$tmp/linux.hstn" ] && [ -s "$tmp/windows.hstn" ]; then
  # The creation time is the only field that may differ: its object is left out.
  "$linux_tool" station show "$tmp/linux.hstn" | awk '/"m_dtCreated"/ {skip = 1} !skip {print} /}/ {skip = 0}' >"$tmp/linux.json"
  "$linux_tool" station show "$tmp/windows.hstn" | awk '/"m_dtCreated"/ {skip = 1} !skip {print} /}/ {skip = 0}' >"$tmp/windows.json"
  grep -q '"m_strSiteName": "Mill Creek"' "$tmp/windows.json" || fail "station new: the site name is not in the Windows station"
  cmp -s "$tmp/linux.json" "$tmp/windows.json" || fail "station new: the two stations differ"
  [ "$(stat -c %s "$tmp/linux.hstn")" = "$(stat -c %s "$tmp/windows.hstn")" ] ||
    fail "station new: the two station files differ in size"
else
  fail "station new: a station file is missing"
fi

# One station file shown by both.
both station show linux.hstn
same_text "station show"
both station show linux.hstn --human
same_text "station show --human"
both station calc linux.hstn
same_text "station calc"

# The real recordings.
recordings=0
for file in "$data"/pd0/*.000; do
  [ -e "$file" ] || continue
  recordings=$((recordings + 1))
  name=$(basename "$file")
  both data summary "$file"
  same_text "data summary $name"
  both data summary "$file" --human
  same_text "data summary --human $name"
done
checks=$((checks + 1))
[ "$recordings" -gt 0 ] || fail "no recordings found in $data/pd0"
first=$(ls "$data"/pd0/*.000 2>/dev/null | head -1)
if [ -n "$first" ]; then
  both data export "$first" --station linux.hstn
  same_text "data export $(basename "$first")"
fi

# The Flow Computer message: bytes, to standard output and to a file.
both flowcomputer message linux.hstn
checks=$((checks + 1))
[ "$(cat "$tmp/win.rc")" = 0 ] || fail "flowcomputer message on Windows: $(cat "$tmp/win.err")"
same_bytes "flowcomputer message to standard output" "$tmp/lin.out" "$tmp/win.out"
(cd "$tmp" && "$linux_tool" flowcomputer message linux.hstn -o lin.msg &&
  timeout 120 "$wine" "$windows_tool" flowcomputer message linux.hstn -o win.msg >/dev/null 2>&1)
same_bytes "flowcomputer message -o" "$tmp/lin.msg" "$tmp/win.msg"

# Errors come once, on standard error, with a failing status on both.
both station show missing.hstn
checks=$((checks + 1))
if [ "$(cat "$tmp/lin.rc")" = 0 ] || [ "$(cat "$tmp/win.rc")" != "$(cat "$tmp/lin.rc")" ]; then
  fail "station show of a missing file: status $(cat "$tmp/lin.rc") on Linux, $(cat "$tmp/win.rc") on Windows"
elif [ "$(tr -d '\r' <"$tmp/win.err" | wc -l)" != 1 ]; then
  fail "station show of a missing file: not one line on standard error: $(cat "$tmp/win.err")"
fi

echo "$checks checks, $failures failed"
[ "$failures" -eq 0 ]
