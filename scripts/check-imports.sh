#!/usr/bin/env bash
# Fails when an exe imports anything but Windows system DLLs, so each program
# runs alone on a bare Windows.
set -euo pipefail
system='^(kernel32|user32|advapi32|shell32|version|wininet|psapi|msvcrt|ntdll|ole32|crypt32|ws2_32|gdi32|comctl32)\.dll$'
status=0
for exe in "$@"; do
  dlls=$(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print tolower($3)}')
  for dll in $dlls; do
    if ! [[ $dll =~ $system ]]; then
      echo "check-imports: $exe imports $dll, which is not a system DLL" >&2
      status=1
    fi
  done
done
exit $status
