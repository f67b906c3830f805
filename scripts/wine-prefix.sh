#!/usr/bin/env bash
# Starts or stops the Wine prefix of a build: a 64-bit prefix, kept inside the
# build tree. Usage: wine-prefix.sh start|stop PREFIX
set -euo pipefail
action=$1
export WINEPREFIX=$(realpath -m "$2")
export WINEDEBUG=-all
export WINEARCH=win64
export WINELOADER=/usr/lib/wine/wine64
wine=/usr/lib/wine/wine64

case "$action" in
start)
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    # No Mono or Gecko: nothing here needs them, and their installers would ask.
    WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot -i </dev/null >/dev/null 2>&1 || true
    wineserver -w
  fi
  # A persistent server, and one wineboot with every stream on /dev/null, so that
  # Wine's background services never inherit a test runner's pipes.
  wineserver -p </dev/null >/dev/null 2>&1 || true  # already running for this prefix
  "$wine" wineboot </dev/null >/dev/null 2>&1 || true
  ;;
stop)
  wineserver -k </dev/null >/dev/null 2>&1 || true
  ;;
*)
  echo "usage: $0 start|stop PREFIX" >&2
  exit 2
  ;;
esac
