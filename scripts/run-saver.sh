#!/usr/bin/env bash
# Starts the saver of one build under Wine: run-saver.sh x64|x86 [switch]
# (dist/x64/Veltrano.scr or dist/Veltrano.scr; the switch defaults to /s).
# On a display it runs until the user closes it. Without one it runs on a private
# Xvfb for a few seconds, saves screenshots to out/run/ and closes the saver
# with a key press (Escape for a dialog), as a user would. Wine gets a Japanese
# font here, and LANGUAGE (a language number, 6 for Japanese) sets the
# interface language as the installer records it.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/testbed.sh
arch=$1
shift
args=${*:-/s}
saver=dist/x64/Veltrano.scr
[ "$arch" = x86 ] && saver=dist/Veltrano.scr
if ! wine_can_run "$arch"; then
  echo "this machine's kernel runs no 32-bit programs: try ARCH=x64" >&2
  exit 1
fi

looks() { # the font and the language, once the prefix is up
  testbed_japanese_fonts
  [ -n "${LANGUAGE:-}" ] && wine reg add 'HKLM\SOFTWARE\Korimba\ScreenSaver\Veltrano' \
    /v CurLang /t REG_DWORD /d "$LANGUAGE" /f >/dev/null 2>&1
  return 0
}

if [ -n "${DISPLAY:-}" ]; then
  testbed_start "$arch" no
  trap testbed_stop EXIT
  looks
  wine "$saver" $args
  exit 0
fi

trap testbed_stop EXIT
testbed_start "$arch" yes || exit 1
looks
mkdir -p out/run
rm -f out/run/*.png
wine "$saver" $args &
pid=$!
for t in 2 4 6; do
  sleep 2
  /usr/bin/import -display "$DISPLAY" -window root "out/run/screen-${t}s.png" 2>/dev/null
done
if xdotool search --onlyvisible --name . >/dev/null 2>&1; then
  xdotool key Escape 2>/dev/null || true
fi
for _ in $(seq 1 20); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.5
done
if kill -0 "$pid" 2>/dev/null; then
  echo "the saver did not close on a key press; ending it" >&2
  kill "$pid" 2>/dev/null
fi
wait "$pid" 2>/dev/null
echo "exit code: $?"
ls out/run/*.png
