#!/usr/bin/env bash
# Prepares a Debian 12 machine (as root) to build the launcher for Windows and
# test it under Wine. Idempotent: every step checks before it acts.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
deps="$here/.deps"
mkdir -p "$deps"

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

packages=(
  make cmake ninja-build dpkg-dev ca-certificates
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  libz-mingw-w64-dev
  wine wine64 wine32:i386
  googletest g++ python3 python3-pyftpdlib curl zip unzip time
)

# Source entries mirror the machine's own binary entries, so `apt-get source`
# fetches from the same archive and suites.
derive_deb_src() {
  local out=/etc/apt/sources.list.d/kiv-deb-src.sources
  [ -f "$out" ] && return 0
  local tmp; tmp=$(mktemp)
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    grep -q 'debian' "$f" || continue
    sed -n 's/^Types:.*\bdeb\b.*/Types: deb-src/;p' "$f" >>"$tmp"
    echo >>"$tmp"
  done
  if [ -f /etc/apt/sources.list ]; then
    grep -E '^deb[[:space:]]' /etc/apt/sources.list | grep debian | sed 's/^deb /deb-src /' \
      >/etc/apt/sources.list.d/kiv-deb-src.list || true
  fi
  if [ -s "$tmp" ]; then as_root cp "$tmp" "$out"; fi
  rm -f "$tmp"
}

need_install=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  need_install=1
fi
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || { need_install=1; break; }
done
if ! ls /etc/apt/sources.list.d/kiv-deb-src.* >/dev/null 2>&1; then
  derive_deb_src
  need_install=1
fi
if [ "$need_install" -eq 1 ]; then
  as_root apt-get update -q
  as_root apt-get install -y -q --no-install-recommends "${packages[@]}"
fi

# minizip is compiled from Debian's source package; it is fetched, never committed.
if [ ! -f "$deps/minizip/unzip.c" ]; then
  work=$(mktemp -d)
  (
    cd "$work"
    if ! apt-get source -q minizip >/dev/null 2>&1; then
      # The security suite may not carry minizip: ask for the main suite's version.
      version=$(apt-cache showsrc minizip | awk '/^Version:/ {print $2; exit}')
      apt-get source -q "minizip=$version" >/dev/null
    fi
  )
  src=$(find "$work" -name unzip.c -path '*minizip*' | head -n 1)
  [ -n "$src" ] || { echo "setup: minizip source not found" >&2; exit 1; }
  rm -rf "$deps/minizip"
  mkdir -p "$deps/minizip"
  cp "$(dirname "$src")"/*.[ch] "$deps/minizip/"
  rm -rf "$work"
fi

echo "setup: ready"
