# Sourced by the test and run scripts: one Xvfb for a whole run, and one Wine
# prefix for each Windows build it runs (a 32-bit and a 64-bit prefix cannot
# be one). testbed_start exports DISPLAY and the build's Wine (wine-env.sh);
# testbed_stop ends exactly what testbed_start began.
testbed_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$testbed_root/scripts/wine-env.sh"
testbed_xvfb_pid=
testbed_prefixes=()

# Makes $WINEPREFIX when it is missing and leaves one persistent wineserver
# serving it. A server that is not persistent ends a moment after each Wine
# process, and a process starting at that moment loses its connection.
testbed_prefix_ready() {
  mkdir -p "$WINEPREFIX"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || true
    # wineboot returns while the new prefix is still starting up; its server
    # would refuse to become persistent.
    timeout 180 wineserver -w >/dev/null 2>&1 || true
  fi
  if ! wineserver -p >/dev/null 2>&1; then
    # A server of an earlier run still holds the prefix: replace it.
    wineserver -k >/dev/null 2>&1 || true
    wineserver -p >/dev/null 2>&1 || true
  fi
  testbed_prefix_settings
}

# Every prefix of the test bed and the benchmarks gets, once: Managed=N. Xvfb
# has no window manager, and without it Wine waits 2 s for one on every hide or
# destroy of a full-screen window: each close would measure that. And no crash
# dialog: a program that crashes would leave Wine's dialog on the shared
# screen, where later scenarios would find it in their screenshots.
testbed_prefix_settings() {
  grep -q '^"ShowCrashDialog"=dword:00000000' "$WINEPREFIX/user.reg" 2>/dev/null ||
    testbed_import_reg '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000'
}

# Imports registry text (REGEDIT4 lines joined by \r\n) into $WINEPREFIX.
testbed_import_reg() {
  local file=$WINEPREFIX/drive_c/veltrano-testbed.reg
  printf 'REGEDIT4\r\n\r\n%b\r\n' "$1" >"$file"
  wine reg import 'C:\veltrano-testbed.reg' >/dev/null 2>&1 || true
  rm -f "$file"
}

# Wine's own fonts have no Japanese: this serves the Japanese interface fonts
# from Debian's IPAGothic, so that the Japanese dialog can be read on screen.
# Only for looking at the saver: while Tahoma links to a font that exists,
# Wine 8's GDI+ crashes drawing text in Tahoma (the empty list's hint).
testbed_japanese_fonts() {
  local lines='[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]' face
  for face in "MS UI Gothic" "MS Gothic" "MS PGothic" "MS Mincho" "MS PMincho"; do
    lines+="\\r\\n\"$face\"=\"IPAGothic\""
  done
  testbed_import_reg "$lines"
}

# Removes what testbed_japanese_fonts added, so the tests draw as without it.
testbed_no_japanese_fonts() {
  wine reg delete 'HKCU\Software\Wine\Fonts\Replacements' /f >/dev/null 2>&1 || true
}

# testbed_start_xvfb WxH: a private Xvfb with one screen of that size, its
# display exported.
testbed_start_xvfb() {
  local fifo number
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  # Xvfb picks a free display itself and writes its number to the fifo. It
  # must not reset when its last client leaves (between two Wine programs):
  # a reset puts the pointer back at the centre behind Wine's back, and Wine,
  # which believes it is still where it was put, does not move it again.
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  testbed_xvfb_pid=$!
  if ! read -r -t 20 number <"$fifo"; then
    rm -f "$fifo"; echo "testbed: Xvfb did not start" >&2; return 1
  fi
  rm -f "$fifo"
  export DISPLAY=":$number"
}

# testbed_start x86|x64 [yes|no]: the display (a private Xvfb unless "no" is
# given and there is a display already) and the prefix of that build.
testbed_start() {
  local arch=$1 want_private_display=${2:-yes}
  if [ -z "$testbed_xvfb_pid" ] && { [ "$want_private_display" = yes ] || [ -z "${DISPLAY:-}" ]; }; then
    testbed_start_xvfb 1024x768 || return 1
  fi
  wine_env "$arch" || return 1
  export WINEPREFIX=$wine_build/wineprefix
  testbed_prefixes+=("$WINEPREFIX")
  testbed_prefix_ready
  grep -q 'Fonts\\\\Replacements' "$WINEPREFIX/user.reg" 2>/dev/null && testbed_no_japanese_fonts
  # The saver's registry key, as the installer would leave it: no language chosen.
  wine reg delete 'HKLM\SOFTWARE\Korimba\ScreenSaver\Veltrano' /f >/dev/null 2>&1 || true
}

testbed_stop() {
  local prefix
  for prefix in "${testbed_prefixes[@]}"; do
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
  done
  testbed_prefixes=()
  if [ -n "$testbed_xvfb_pid" ]; then
    kill "$testbed_xvfb_pid" 2>/dev/null || true
    wait "$testbed_xvfb_pid" 2>/dev/null || true
    testbed_xvfb_pid=
  fi
}
