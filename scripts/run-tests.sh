#!/usr/bin/env bash
# Runs every test of a build (host unit tests and the Windows tests under Wine)
# in one CTest run. Usage: run-tests.sh [BUILD] [ctest arguments...]
set -euo pipefail
build=${1:-build}
[ $# -gt 0 ] && shift
here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$here")
tests="$build/win64"
prefix="$tests/wineprefix"

"$here/wine-prefix.sh" start "$prefix"
# A cancelled run skips CTest's own clean-up: the loopback servers would keep
# port 21 from the next run.
trap '"$top/tests/support/servers/download_servers.sh" stop "$tests/servers" || true
      "$here/wine-prefix.sh" stop "$prefix"' EXIT
export WINEPREFIX=$(realpath "$prefix") WINEDEBUG=-all WINELOADER=/usr/lib/wine/wine64
# The downloads go to loopback servers, never through a proxy of the machine's.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY ftp_proxy FTP_PROXY all_proxy ALL_PROXY
# Runtime property files that the stand-in VM leaves (a Java application
# deletes its own) would fill the temporary folder's 65,536 names in time.
rm -f "$WINEPREFIX"/drive_c/users/*/Temp/kiv*.tmp
ctest --test-dir "$tests" --output-on-failure --timeout 300 -j2 "$@"
