#!/usr/bin/env bash
# Runs a Windows program under Wine in the test bed's prefix and display
# (scripts/testbed.sh exports them; the build tree's prefix is the default).
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/windows/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export WINEARCH=win32
exec wine "$@"
