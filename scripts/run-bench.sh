#!/usr/bin/env bash
# Builds the benchmarks and runs them under Wine on private Xvfb screens,
# printing each one's table (the monitors benchmark on two monitors of its
# own): on the 64-bit build, and on the 32-bit build too
# where the kernel runs 32-bit programs. Inputs they need are made once into
# out/bench/; each table is saved in out/bench/<x64|x86>/. Figures only:
# nothing here passes or fails on a threshold.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/testbed.sh

# 30 photographs of 4000 x 3000: fractal noise, so the decoder has real work.
mkdir -p out/bench/photos
for i in $(seq -w 1 30); do
  photo=out/bench/photos/photo_$i.jpg
  [ -f "$photo" ] || /usr/bin/convert -size 500x375 -seed "$((10#$i))" plasma:fractal \
    -resize '4000x3000!' -quality 90 "$photo" || exit 1
done
# 21 PNG pictures of 1920 x 1080 to 5120 x 2880 (one portrait), each size in
# three kinds: screenshots (flat windows with lines of text), photographic
# wallpapers (fractal noise) and exported artwork (soft shapes on a gradient,
# with transparent rounded corners).
make_png() { # kind WxH seed path
  local kind=$1 size=$2 seed=$3 out=$4 w=${2%x*} h=${2#*x}
  case $kind in
    screenshot)
      /usr/bin/convert -font /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf -pointsize 26 \
        -background white -fill '#202020' \
        label:'The quick brown fox jumps over the lazy dog, 0123456789; and so on.   ' \
        -gravity northwest -extent x44 -write mpr:line +delete \
        -size "$size" xc:'#ececec' -fill white -stroke '#b0b0b0' \
        -draw "rectangle $((w / 32)),$((h / 20)) $((w * 5 / 8)),$((h * 5 / 6))" \
        -draw "rectangle $((w / 2)),$((h * 3 / 10)) $((w * 31 / 32)),$((h * 19 / 20))" \
        -stroke none -fill '#3465a4' \
        -draw "rectangle $((w / 32)),$((h / 20)) $((w * 5 / 8)),$((h / 20 + 50))" \
        -draw "rectangle $((w / 2)),$((h * 3 / 10)) $((w * 31 / 32)),$((h * 3 / 10 + 50))" \
        \( -size "$((w * 19 / 32 - 80))x$((h * 47 / 60 - 100))" tile:mpr:line \) \
        -geometry "+$((w / 32 + 40))+$((h / 20 + 80))" -composite \
        \( -size "$((w * 15 / 32 - 80))x$((h * 13 / 20 - 100))" tile:mpr:line \) \
        -geometry "+$((w / 2 + 40))+$((h * 3 / 10 + 80))" -composite "PNG24:$out" ;;
    photo)
      /usr/bin/convert -size 480x270 -seed "$seed" plasma:fractal -resize "$size!" "PNG24:$out" ;;
    artwork)
      /usr/bin/convert -size 480x270 radial-gradient:'#ffd27a'-'#3a1c71' -fill '#ffffff60' \
        -draw "circle $((100 + seed * 7 % 200)),110 150,40" -fill '#20106080' \
        -draw 'roundrectangle 250,50 420,210 15,15' -blur 0x4 -swirl $((30 + seed * 11 % 90)) \
        -resize "$size!" \( -size "$size" xc:black -fill white \
        -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) $((w / 10)),$((w / 10))" \) \
        -alpha off -compose copy_opacity -composite "PNG32:$out" ;;
  esac
}
# Fine stripes, 8 pixels black and 8 white across 4000 x 3000: in the nearest
# slot of a 1920 x 1080 screen the picture spans about 1035 pixels, so the
# stripes come to about 4 pixels a period, as fine as a window shows without
# the stripes of a period meeting the screen's own grid.
[ -f out/bench/stripes.png ] || /usr/bin/convert -size 16x3000 xc:black -fill white \
  -draw 'rectangle 8,0 15,2999' -write mpr:stripe +delete -size 4000x3000 tile:mpr:stripe \
  PNG24:out/bench/stripes.png || exit 1
mkdir -p out/bench/pngs
sizes=(1920x1080 2560x1440 3840x2160 5120x2880 2560x1600 3440x1440 1080x1920)
kinds=(screenshot photo artwork)
for i in $(seq -w 1 21); do
  png=out/bench/pngs/picture_$i.png
  [ -f "$png" ] || make_png "${kinds[$((10#$i % 3))]}" "${sizes[$(( (10#$i - 1) % 7 ))]}" "$((10#$i))" \
    "$png" || exit 1
done

# The collection's inputs. A folder of 100,000 files in nested folders (10 x
# 10 x 10 folders of 100 files), one tenth small pictures, the rest other files;
# 300 pictures of distinct proportions; and 300 photographs of 4000 x 3000,
# hard links to the 21 above (each its own path, so its own cache entry).
if [ ! -f out/bench/tree100k/.made ]; then
  rm -rf out/bench/tree100k
  /usr/bin/convert -size 64x48 -seed 7 plasma:fractal -quality 80 out/bench/small.jpg || exit 1
  python3 - out/bench/tree100k out/bench/small.jpg <<'PY' || exit 1
import os, shutil, sys
root, small = sys.argv[1], sys.argv[2]
for a in range(10):
    for b in range(10):
        for c in range(10):
            folder = os.path.join(root, f"a{a}", f"b{b}", f"c{c}")
            os.makedirs(folder)
            for i in range(100):
                if i % 10 == 0:
                    shutil.copyfile(small, os.path.join(folder, f"picture_{i:02d}.jpg"))
                else:
                    with open(os.path.join(folder, f"note_{i:02d}.txt"), "w") as f:
                        f.write("not a picture\n")
PY
  touch out/bench/tree100k/.made
fi
mkdir -p out/bench/rotation300 out/bench/photos300
[ -f out/bench/rotation_base.jpg ] || /usr/bin/convert -size 400x300 -seed 3 plasma:fractal \
  out/bench/rotation_base.jpg || exit 1
for i in $(seq -w 1 300); do
  picture=out/bench/rotation300/picture_$i.jpg
  [ -f "$picture" ] || /usr/bin/convert out/bench/rotation_base.jpg -resize "$((300 + 10#$i))x300!" \
    -quality 85 "$picture" || exit 1
  photo=out/bench/photos300/photo_$i.jpg
  [ -f "$photo" ] || ln "out/bench/photos/photo_$(printf %02d $(( (10#$i - 1) % 21 + 1 ))).jpg" "$photo" || exit 1
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
mapfile -t photos < <(ls out/bench/photos/photo_*.jpg)
list_pictures "${photos[@]:0:21}" >out/bench/photos.settings
list_pictures "${photos[@]}" >out/bench/photos30.settings
list_pictures out/bench/pngs/picture_*.png >out/bench/pngs.settings

bench_build() { # arch preset
  local arch=$1 preset=$2 out=out/bench/$1
  mkdir -p "$out"
  cmake --preset "$preset" >/dev/null || return 1
  cmake --build --preset "$preset" -j "$(nproc)" --target scene_bench_win loader_bench_win dist \
    saver_bench_win sharpness_bench_win collection_bench_win monitors_bench_win xinerama_standin || return 1

  bench_screen 1920x1080 || return 1
  testbed_start "$arch" no || return 1
  echo "== sharpness ($arch) =="
  wine "$wine_build/bin/sharpness_bench_win.exe" "$(windows_path "$root/out/bench/stripes.png")" \
    | tr -d '\r' | tee "$out/sharpness.txt"
  echo "== scene ($arch) =="
  wine "$wine_build/bin/scene_bench_win.exe" "$(windows_path "$root/out/bench/photos")" \
    "$(windows_path "$root/out/bench/pngs")" | tr -d '\r' | tee "$out/scene.txt"
  echo "== loader ($arch) =="
  wine "$wine_build/bin/loader_bench_win.exe" "$(windows_path "$root/out/bench/photos")" \
    | tr -d '\r' | tee "$out/loader.txt"
  stop_all

  # The saver itself, on a screen of 1920 x 1080 of its own, and the peak
  # working set of 30 photos there and on a screen of 3840 x 2160.
  bench_screen 1920x1080 || return 1
  testbed_start "$arch" no || return 1
  echo "== saver ($arch) =="
  wine "$wine_build/bin/saver_bench_win.exe" "$(windows_path "$root/out/bench/photos.settings")" \
    "$(windows_path "$root/out/bench/pngs.settings")" | tr -d '\r' | tee "$out/saver.txt"
  wine "$wine_build/bin/saver_bench_win.exe" peak "$(windows_path "$root/out/bench/photos30.settings")" \
    | tr -d '\r' | tee -a "$out/saver.txt"
  stop_all
  bench_screen 3840x2160 || return 1
  testbed_start "$arch" no || return 1
  wine "$wine_build/bin/saver_bench_win.exe" peak "$(windows_path "$root/out/bench/photos30.settings")" \
    | tr -d '\r' | tee -a "$out/saver.txt"
  stop_all
  testbed_start "$arch" yes || return 1
  echo "== collection ($arch) =="
  wine "$wine_build/bin/collection_bench_win.exe" "$(windows_path "$root/out/bench/tree100k")" \
    "$(windows_path "$root/out/bench/rotation300")" "$(windows_path "$root/out/bench/photos300")" \
    | tr -d '\r' | tee "$out/collection.txt"
  stop_all

  # A scene per monitor, on two monitors of 1920 x 1080 side by side, on an
  # Xvfb of their own that scripts/monitors-exec.sh starts.
  testbed_start "$arch" no || return 1
  echo "== monitors ($arch) =="
  VELTRANO_HEADS=1920x1080+0+0,1920x1080+1920+0 scripts/monitors-exec.sh "$arch" \
    "$wine_build/bin/monitors_bench_win.exe" | tr -d '\r' | tee "$out/monitors.txt"
  stop_all
}

# A private Xvfb of the given size as the display, ended by stop_all.
bench_screen() { # WxH
  testbed_start_xvfb "$1" || return 1
  bench_xvfb_pid=$testbed_xvfb_pid
  testbed_xvfb_pid=
}

bench_build x64 windows-x64 || exit 1
if wine_can_run x86; then
  bench_build x86 windows || exit 1
else
  echo "== 32-bit build: skipped, this machine's kernel runs no 32-bit programs =="
fi
