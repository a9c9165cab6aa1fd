#!/usr/bin/env bash
# Fails when an executable imports a DLL that Windows itself does not provide.
#   check-imports.sh <objdump of the build's toolchain> <executable>
set -euo pipefail
allowed='^(kernel32|user32|gdi32|advapi32|shell32|comdlg32|comctl32|ole32|oleaut32|opengl32|glu32|gdiplus|msvcrt|imm32|winmm|version|shlwapi)\.dll$'
bad=$("$1" -p "$2" | awk '/DLL Name:/ {print $3}' | tr 'A-Z' 'a-z' | grep -Ev "$allowed" || true)
if [ -n "$bad" ]; then
  echo "$2 imports DLLs that are not part of Windows: $bad" >&2
  exit 1
fi
