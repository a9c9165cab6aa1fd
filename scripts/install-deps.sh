#!/usr/bin/env bash
# Installs every build and test dependency from Debian's packages, and fetches
# zlib's source package (for minizip) into third_party/. Quick when all is there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  cmake make g++ googletest zlib1g-dev
  g++-mingw-w64-i686 libz-mingw-w64-dev
  wine wine32:i386 libgl1-mesa-dri:i386 libgl1:i386 libglx-mesa0:i386 xvfb xdotool imagemagick
  zip unzip nsis libimage-exiftool-perl
  python3 fonts-noto-cjk
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

# minizip's sources come from Debian's zlib source package; the private apt
# configuration below leaves the machine's own sources untouched.
minizip="$root/third_party/minizip"
if [ ! -f "$minizip/unzip.c" ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  mkdir -p "$work/sources" "$work/lists/partial" "$work/dl"
  sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources > "$work/sources/src.sources"
  aptopts=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$work/sources"
           -o Dir::State::Lists="$work/lists" -o Debug::NoLocking=1)
  apt-get "${aptopts[@]}" update -q >/dev/null
  (cd "$work/dl" && apt-get "${aptopts[@]}" source --download-only zlib=1:1.2.13.dfsg-1 >/dev/null 2>&1)
  tarball=$(ls "$work"/dl/zlib_*.orig.tar.* | head -n 1)
  mkdir -p "$work/x"
  tar -xf "$tarball" -C "$work/x"
  src=$(find "$work/x" -type d -path '*contrib/minizip' | head -n 1)
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
