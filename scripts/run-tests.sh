#!/usr/bin/env bash
# Runs every test of a build (host unit tests and the Windows tests under Wine)
# in one CTest run. Usage: run-tests.sh [BUILD] [ctest arguments...]
set -euo pipefail
build=${1:-build}
[ $# -gt 0 ] && shift
here=$(cd "$(dirname "$0")" && pwd)
tests="$build/win64"
prefix="$tests/wineprefix"

"$here/wine-prefix.sh" start "$prefix"
trap '"$here/wine-prefix.sh" stop "$prefix"' EXIT
export WINEPREFIX=$(realpath "$prefix") WINEDEBUG=-all WINELOADER=/usr/lib/wine/wine64
ctest --test-dir "$tests" --output-on-failure --timeout 300 -j2 "$@"
