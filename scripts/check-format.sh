#!/usr/bin/env bash
# Checks that C++ sources are in the house format (the checked-in .clang-format).
#   scripts/check-format.sh          every tracked .cpp and .h file
#   scripts/check-format.sh REV      only the files changed since REV (e.g. origin/main)
# Lists each file that clang-format would change and exits 1 when there is any;
# `clang-format -i FILE` puts one right.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
command -v clang-format >/dev/null || { echo "clang-format is not installed (Debian package clang-format)" >&2; exit 1; }

if [ $# -gt 0 ]; then
  mapfile -t files < <(git diff --name-only --diff-filter=ACMR "$1" -- '*.cpp' '*.h')
else
  mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
fi

bad=0
for f in "${files[@]}"; do
  [ -f "$f" ] || continue
  if ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then
    echo "not in the house format: $f" >&2
    bad=$((bad + 1))
  fi
done
if [ "$bad" -gt 0 ]; then
  echo "$bad of ${#files[@]} files need clang-format -i" >&2
  exit 1
fi
echo "format: ${#files[@]} files checked, all in the house format"
