#!/usr/bin/env bash
# Runs a Windows program of one build under Wine at another DPI, as a display
# scaled to DPI/96 would show it:
#   at-dpi.sh DPI x86|x64 PROGRAM ARGS...
# Wine 8 reads the DPI (HKCU\Control Panel\Desktop, LogPixels) when the
# prefix's server starts, so the server starts again at DPI for the run, and
# again after it with the value the prefix had: every other test keeps 96 DPI.
# The test bed's Wine lock keeps the other Wine tests away meanwhile. The run
# itself ends after RUN_SECONDS (default 80), so that the prefix is restored
# well within its test's timeout.
set -uo pipefail
dpi=$1 arch=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
wine_env "$arch" || exit 2
[[ ${WINEPREFIX:-} == "$wine_build"/* ]] || export WINEPREFIX=$wine_build/wineprefix
key='HKCU\Control Panel\Desktop'

# A persistent server, as the test bed leaves it; it reads LogPixels as it
# starts. A quiet first program starts the prefix's own processes (explorer,
# services), which outlive it: started by a test, they would hold that test's
# output open, and ctest would wait for them until its timeout.
restart_server() {
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  wineserver -p >/dev/null 2>&1
  wine reg query "$key" >/dev/null 2>&1 </dev/null
}

# The prefix's value now: a number, or empty when it has none (Wine's 96).
previous=$(wine reg query "$key" /v LogPixels 2>/dev/null | tr -d '\r' |
  awk '$1 == "LogPixels" {print $3}')
[ -n "$previous" ] && previous=$((previous))

restore() {
  if [ -n "$previous" ]; then
    wine reg add "$key" /v LogPixels /t REG_DWORD /d "$previous" /f >/dev/null 2>&1
  else
    wine reg delete "$key" /v LogPixels /f >/dev/null 2>&1
  fi
  restart_server
}
trap restore EXIT
trap 'exit 143' TERM INT  # a stopped run still restores the prefix

wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 || exit 2
restart_server
timeout "${RUN_SECONDS:-80}" "$here/wine-exec.sh" "$arch" "$@"
rc=$?
exit "$rc"
