#!/usr/bin/env bash
# Builds the benchmarks and runs them under Wine on a private Xvfb of
# 1920 x 1080, printing each one's table. Inputs they need are made once into
# out/bench/. Figures only: nothing here passes or fails on a threshold.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/testbed.sh

cmake --preset windows >/dev/null || exit 1
cmake --build --preset windows -j "$(nproc)" --target scene_bench_win loader_bench_win || exit 1

# 21 photographs of 4000 x 3000: fractal noise, so the decoder has real work.
mkdir -p out/bench/photos
for i in $(seq -w 1 21); do
  photo=out/bench/photos/photo_$i.jpg
  [ -f "$photo" ] || /usr/bin/convert -size 500x375 -seed "$((10#$i))" plasma:fractal \
    -resize '4000x3000!' -quality 90 "$photo" || exit 1
done

bench_xvfb_pid=
stop_all() {
  testbed_stop
  if [ -n "$bench_xvfb_pid" ]; then kill "$bench_xvfb_pid" 2>/dev/null; wait "$bench_xvfb_pid" 2>/dev/null; fi
}
trap stop_all EXIT
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
bench_xvfb_pid=$!
read -r -t 20 number <"$fifo" || { rm -f "$fifo"; echo "run-bench: Xvfb did not start" >&2; exit 1; }
rm -f "$fifo"
export DISPLAY=":$number"
testbed_start no || exit 1

windows_path() { echo "Z:$1" | tr / '\\'; }
echo "== scene =="
scripts/wine-exec.sh build/windows/bin/scene_bench_win.exe "$(windows_path "$root/out/bench/photos")" \
  | tr -d '\r' | tee out/bench/scene.txt
echo "== loader =="
scripts/wine-exec.sh build/windows/bin/loader_bench_win.exe "$(windows_path "$root/out/bench/photos")" \
  | tr -d '\r' | tee out/bench/loader.txt

# The saver itself, on a screen of 1024 x 768 of its own.
cmake --build --preset windows -j "$(nproc)" --target dist saver_bench_win || exit 1
testbed_stop
testbed_start yes || exit 1
# A settings file that lists the 21 photographs, lines ending in CR LF.
{
  printf '#Picture Info _ begin\r\n'
  for photo in out/bench/photos/photo_*.jpg; do printf '%s\r\n' "$(windows_path "$root/$photo")"; done
  printf '#Picture Info _ end\r\n'
} >out/bench/photos.settings
echo "== saver =="
scripts/wine-exec.sh build/windows/bin/saver_bench_win.exe "$(windows_path "$root/out/bench/photos.settings")" \
  | tr -d '\r' | tee out/bench/saver.txt
