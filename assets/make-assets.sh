#!/usr/bin/env bash
# Makes the saver's pictures and language files from the sources in assets/:
# texts/*.txt give Resource/Language_*.csv; the pictures are drawn from scratch
# with ImageMagick and the Noto CJK fonts (fonts-noto-cjk). The outputs are
# committed, so the build itself needs neither.
set -euo pipefail
cd "$(dirname "$0")"
python3 tools/make_assets.py
