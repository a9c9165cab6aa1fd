#!/usr/bin/env bash
# Runs a Windows program of one build under Wine on several monitors:
#   VELTRANO_HEADS=1920x1080+0+0,1280x1024+1920+0 monitors-exec.sh x86|x64 PROGRAM ARGS...
# Xvfb offers one screen, so the monitors are its heads as the stand-in
# libXinerama.so.1 (tests/e2e/standins/Xinerama.c, built into the build's
# bin/xinerama/) reports them, which Wine takes with UseXRandR = N. Wine reads
# its monitors when its server and desktop start, so the prefix's server is
# ended first and started again on an Xvfb of the heads' size; afterwards it
# is ended again, the setting removed, and a server left waiting as the test
# bed left it, for the one-screen programs that follow in the same prefix.
# Without VELTRANO_HEADS the program runs as wine-exec.sh runs it.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
arch=$1
shift
[ -n "${VELTRANO_HEADS:-}" ] || exec "$here/wine-exec.sh" "$arch" "$@"
. "$here/testbed.sh"
wine_env "$arch" || exit 2
[[ ${WINEPREFIX:-} == "$wine_build"/* ]] || export WINEPREFIX=$wine_build/wineprefix
standin=$wine_build/bin/xinerama
[ -f "$standin/libXinerama.so.1" ] || { echo "monitors-exec: no $standin/libXinerama.so.1" >&2; exit 2; }

# The screen spans every head: its size is the heads' bounding box.
width=0 height=0
IFS=',' read -ra heads <<<"$VELTRANO_HEADS"
for head in "${heads[@]}"; do
  [[ $head =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] ||
    { echo "monitors-exec: a head is WxH+X+Y, not '$head'" >&2; exit 2; }
  w=${BASH_REMATCH[1]} h=${BASH_REMATCH[2]} x=${BASH_REMATCH[3]} y=${BASH_REMATCH[4]}
  ((x + w > width)) && width=$((x + w))
  ((y + h > height)) && height=$((y + h))
done

x11_key='HKCU\Software\Wine\X11 Driver'
outer_display=${DISPLAY:-}
outer_library_path=${LD_LIBRARY_PATH-}
server_restart() { # ends the prefix's server, then leaves a persistent one waiting
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  wineserver -p >/dev/null 2>&1
}
restore() {
  wine reg delete "$x11_key" /v UseXRandR /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  [ -n "$testbed_xvfb_pid" ] && { kill "$testbed_xvfb_pid" 2>/dev/null; wait "$testbed_xvfb_pid" 2>/dev/null; }
  testbed_xvfb_pid=
  export DISPLAY=$outer_display
  if [ -n "$outer_library_path" ]; then export LD_LIBRARY_PATH=$outer_library_path; else unset LD_LIBRARY_PATH; fi
  wineserver -p >/dev/null 2>&1
  # The session's own processes start with the first Wine program and keep its
  # output open: started here, they do not hold the next test's output.
  wine reg query "$x11_key" >/dev/null 2>&1
}
trap restore EXIT

testbed_start_xvfb "${width}x${height}" || exit 2
export LD_LIBRARY_PATH=$standin${outer_library_path:+:$outer_library_path}
# The setting first, then a fresh server: the desktop that reg.exe may have
# started read the settings before the setting was made.
wine reg add "$x11_key" /v UseXRandR /t REG_SZ /d N /f >/dev/null 2>&1
server_restart
wine "$@"
rc=$?
exit "$rc"
