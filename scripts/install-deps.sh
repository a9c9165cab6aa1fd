#!/usr/bin/env bash
# Installs every build and test dependency from Debian's packages, fetches
# zlib's source package (for minizip) and libspng's into third_party/ and
# builds libjpeg-turbo from its source package there, for both Windows builds.
# Quick when all is there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  cmake make g++ googletest zlib1g-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev
  wine wine64 wine32:i386 libgl1-mesa-dri:i386 libgl1:i386 libglx-mesa0:i386 xvfb xdotool imagemagick
  zip unzip nsis libimage-exiftool-perl nasm
  python3 fonts-noto-cjk fonts-ipafont-gothic
)

sudo_if_needed() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    sudo_if_needed dpkg --add-architecture i386
  fi
  sudo_if_needed apt-get update -q
  DEBIAN_FRONTEND=noninteractive sudo_if_needed apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Source packages come down with a private apt configuration, which leaves the
# machine's own sources untouched.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
aptopts=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$work/sources"
         -o Dir::State::Lists="$work/lists" -o Debug::NoLocking=1)
# Prints the folder that the source package `name=version` unpacked into.
fetch_source() {
  local dl="$work/dl-${1%%=*}"
  if [ ! -d "$work/lists" ]; then
    mkdir -p "$work/sources" "$work/lists/partial"
    sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources > "$work/sources/src.sources"
    apt-get "${aptopts[@]}" update -q >/dev/null
  fi
  mkdir -p "$dl/x"
  (cd "$dl" && apt-get "${aptopts[@]}" source --download-only "$1" >/dev/null 2>&1)
  tar -xf "$(ls "$dl"/*.orig.tar.* | head -n 1)" -C "$dl/x"
  echo "$dl/x"
}

# minizip's sources come from Debian's zlib source package.
minizip="$root/third_party/minizip"
if [ ! -f "$minizip/unzip.c" ]; then
  src=$(find "$(fetch_source zlib=1:1.2.13.dfsg-1)" -type d -path '*contrib/minizip' | head -n 1)
  mkdir -p "$minizip"
  for f in unzip.c unzip.h ioapi.c ioapi.h iowin32.c iowin32.h crypt.h; do cp "$src/$f" "$minizip/"; done
  # Upstream forces decryption off; the package is encrypted, so take that block out.
  python3 - "$minizip/unzip.c" <<'PY'
import re, sys
p = sys.argv[1]
s = open(p, encoding='latin-1').read()
s2 = re.sub(r'#ifndef NOUNCRYPT\s*\n\s*#define NOUNCRYPT\s*\n#endif\s*\n', '', s, count=1)
if s2 == s:
    sys.exit("unzip.c: decryption block not found")
open(p, 'w', encoding='latin-1').write(s2)
PY
fi

# libspng is one C file with its header, compiled by each build against its zlib.
# The C file is copied last, so its presence means both are there.
spng="$root/third_party/libspng"
if [ ! -f "$spng/spng.c" ]; then
  src=$(dirname "$(find "$(fetch_source libspng=0.7.3-3)" -path '*/spng/spng.c' | head -n 1)")
  mkdir -p "$spng"
  cp "$src/spng.h" "$spng/"
  cp "$src/spng.c" "$spng/"
fi

# libjpeg-turbo for each MinGW build, in third_party/libjpeg-turbo/<processor>:
# the static library alone (libjpeg API), with its SIMD code, which needs nasm.
# The library is copied in last, so its presence means the whole folder is there.
build_jpeg() { # processor (i686, x86_64)
  local jpeg="$root/third_party/libjpeg-turbo/$1" src build="$work/jpeg-build-$1"
  [ -f "$jpeg/lib/libjpeg.a" ] && return 0
  [ -n "${jpeg_src:-}" ] ||
    jpeg_src=$(dirname "$(find "$(fetch_source libjpeg-turbo=1:2.1.5-2)" -maxdepth 2 -name jpeglib.h | head -n 1)")
  src=$jpeg_src
  cmake -S "$src" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$1.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$jpeg" -DENABLE_SHARED=OFF \
    -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DREQUIRE_SIMD=ON >"$work/jpeg-$1.log" 2>&1 &&
    nice cmake --build "$build" -j "$(nproc)" --target jpeg-static >>"$work/jpeg-$1.log" 2>&1 ||
    { tail -n 40 "$work/jpeg-$1.log" >&2; exit 1; }
  rm -rf "$jpeg"
  mkdir -p "$jpeg/include" "$jpeg/lib"
  cp "$src/jpeglib.h" "$src/jerror.h" "$src/jmorecfg.h" "$build/jconfig.h" "$jpeg/include/"
  cp "$build/libjpeg.a" "$jpeg/lib/"
}
# The layout before the 64-bit build had one library for i686 at the top.
rm -rf "$root/third_party/libjpeg-turbo/include" "$root/third_party/libjpeg-turbo/lib"
build_jpeg i686
build_jpeg x86_64
