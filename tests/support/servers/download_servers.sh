#!/usr/bin/env bash
# Starts or stops the loopback HTTP and FTP servers of the download tests.
# Usage: download_servers.sh start|stop STATE_DIR
#
# start: serves STATE_DIR/root over HTTP (a free port, written to
#        STATE_DIR/http.port) and anonymous FTP (port 21), records both process
#        ids in STATE_DIR/*.pid and returns once both listen. The servers run in
#        the background with every stream redirected, so a test runner that
#        waits for its children's output does not wait for them.
# stop:  ends exactly the processes recorded by start.
set -euo pipefail
action=$1
state=$(realpath -m "$2")
here=$(cd "$(dirname "$0")" && pwd)
# Debian's interpreter: python3-pyftpdlib is installed for it.
python=${KIV_TEST_PYTHON:-/usr/bin/python3}

# A process that has ended stays a zombie until its new parent reaps it.
running() {
  local state
  state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) || return 1
  [ -n "$state" ] && [ "$state" != Z ]
}

stop_recorded() {
  local name=$1 pidfile="$state/$1.pid" pid
  [ -f "$pidfile" ] || return 0
  pid=$(cat "$pidfile")
  # Only a process that still runs this server's script is ours to end.
  if [ -r "/proc/$pid/cmdline" ] && tr '\0' ' ' <"/proc/$pid/cmdline" | grep -q "${name}_server.py"; then
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do
      running "$pid" || break
      sleep 0.1
    done
  fi
  rm -f "$pidfile"
}

case "$action" in
start)
  stop_recorded http
  stop_recorded ftp
  mkdir -p "$state/root"
  rm -f "$state/http.port" "$state/ftp.ready"
  "$python" "$here/http_server.py" "$state/root" "$state/http.port" \
    </dev/null >"$state/http.log" 2>&1 &
  echo $! >"$state/http.pid"
  "$python" "$here/ftp_server.py" "$state/root" "$state/ftp.ready" \
    </dev/null >"$state/ftp.log" 2>&1 &
  echo $! >"$state/ftp.pid"
  # The FTP server may wait for another run to free port 21 (up to 120 s).
  for _ in $(seq 1300); do
    if [ -s "$state/http.port" ] && [ -s "$state/ftp.ready" ]; then
      echo "download servers: http on port $(cat "$state/http.port"), ftp on port 21"
      exit 0
    fi
    for name in http ftp; do
      if ! running "$(cat "$state/$name.pid")"; then
        echo "download servers: the $name server ended:" >&2
        cat "$state/$name.log" >&2
        stop_recorded http
        stop_recorded ftp
        exit 1
      fi
    done
    sleep 0.1
  done
  echo "download servers: not ready in time" >&2
  stop_recorded http
  stop_recorded ftp
  exit 1
  ;;
stop)
  stop_recorded http
  stop_recorded ftp
  ;;
*)
  echo "usage: $0 start|stop STATE_DIR" >&2
  exit 2
  ;;
esac
