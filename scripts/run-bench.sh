#!/usr/bin/env bash
# Builds the benchmarks and runs them under Wine on private Xvfb screens,
# printing each one's table: on the 64-bit build, and on the 32-bit build too
# where the kernel runs 32-bit programs. Inputs they need are made once into
# out/bench/; each table is saved in out/bench/<x64|x86>/. Figures only:
# nothing here passes or fails on a threshold.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/testbed.sh

# 21 photographs of 4000 x 3000: fractal noise, so the decoder has real work.
mkdir -p out/bench/photos
for i in $(seq -w 1 21); do
  photo=out/bench/photos/photo_$i.jpg
  [ -f "$photo" ] || /usr/bin/convert -size 500x375 -seed "$((10#$i))" plasma:fractal \
    -resize '4000x3000!' -quality 90 "$photo" || exit 1
done
# 21 PNG wallpapers of 1920 x 1080 to 5120 x 2880 (one portrait), three of them
# with an alpha channel, as exported artwork has.
mkdir -p out/bench/pngs
sizes=(1920x1080 2560x1440 3840x2160 5120x2880 2560x1600 3440x1440 1080x1920)
for i in $(seq -w 1 21); do
  png=out/bench/pngs/wallpaper_$i.png size=${sizes[$(( (10#$i - 1) % 7 ))]}
  [ -f "$png" ] && continue
  if [ "$size" = 3840x2160 ]; then
    /usr/bin/convert -size 480x270 -seed "$((10#$i))" plasma:fractal -resize "$size!" \
      \( -size "$size" gradient:white-black \) -alpha off -compose copy_opacity -composite \
      "PNG32:$png" || exit 1
  else
    /usr/bin/convert -size 480x270 -seed "$((10#$i))" plasma:fractal -resize "$size!" "PNG24:$png" || exit 1
  fi
done

bench_xvfb_pid=
stop_all() {
  testbed_stop
  if [ -n "$bench_xvfb_pid" ]; then kill "$bench_xvfb_pid" 2>/dev/null; wait "$bench_xvfb_pid" 2>/dev/null; fi
  bench_xvfb_pid=
}
trap stop_all EXIT

windows_path() { echo "Z:$1" | tr / '\\'; }

# Settings files that list the 21 photographs and the 21 PNG pictures, lines ending in CR LF.
list_pictures() {
  printf '#Picture Info _ begin\r\n'
  for picture in "$@"; do printf '%s\r\n' "$(windows_path "$root/$picture")"; done
  printf '#Picture Info _ end\r\n'
}
list_pictures out/bench/photos/photo_*.jpg >out/bench/photos.settings
list_pictures out/bench/pngs/wallpaper_*.png >out/bench/pngs.settings

bench_build() { # arch preset
  local arch=$1 preset=$2 out=out/bench/$1 fifo number
  mkdir -p "$out"
  cmake --preset "$preset" >/dev/null || return 1
  cmake --build --preset "$preset" -j "$(nproc)" --target scene_bench_win loader_bench_win dist \
    saver_bench_win || return 1

  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  bench_xvfb_pid=$!
  read -r -t 20 number <"$fifo" || { rm -f "$fifo"; echo "run-bench: Xvfb did not start" >&2; return 1; }
  rm -f "$fifo"
  export DISPLAY=":$number"
  testbed_start "$arch" no || return 1
  echo "== scene ($arch) =="
  wine "$wine_build/bin/scene_bench_win.exe" "$(windows_path "$root/out/bench/photos")" \
    "$(windows_path "$root/out/bench/pngs")" | tr -d '\r' | tee "$out/scene.txt"
  echo "== loader ($arch) =="
  wine "$wine_build/bin/loader_bench_win.exe" "$(windows_path "$root/out/bench/photos")" \
    | tr -d '\r' | tee "$out/loader.txt"
  stop_all

  # The saver itself, on a screen of 1024 x 768 of its own.
  testbed_start "$arch" yes || return 1
  echo "== saver ($arch) =="
  wine "$wine_build/bin/saver_bench_win.exe" "$(windows_path "$root/out/bench/photos.settings")" \
    "$(windows_path "$root/out/bench/pngs.settings")" | tr -d '\r' | tee "$out/saver.txt"
  stop_all
}

bench_build x64 windows-x64 || exit 1
if wine_can_run x86; then
  bench_build x86 windows || exit 1
else
  echo "== 32-bit build: skipped, this machine's kernel runs no 32-bit programs =="
fi
