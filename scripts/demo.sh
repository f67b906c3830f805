#!/usr/bin/env bash
# The main job under Wine: the sample application launched by console.exe.
# Usage: demo.sh [BUILD]
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
bin="$build/win64/bin"
prefix="$build/win64/wineprefix"

"$here/wine-prefix.sh" start "$prefix"
trap '"$here/wine-prefix.sh" stop "$prefix"' EXIT
export WINEPREFIX=$(realpath "$prefix") WINEDEBUG=-all WINELOADER=/usr/lib/wine/wine64

echo "== Corvane runs a command in a hidden console and passes on its exit code"
set +e
/usr/lib/wine/wine64 "$bin/Corvane.exe" cmd /c "echo hello from the child & exit 7"
echo "exit code: $?"
