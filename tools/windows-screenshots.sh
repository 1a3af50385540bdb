#!/bin/sh
# Screenshots of the Windows program under Wine: a fresh Wine prefix with a Simplified Chinese
# font in its Fonts folder (a bare prefix has none, and Chinese would show as boxes), then the
# same keyboard walk as tools/screenshots.sh, saved as docs/screenshots/windows-*.png.
#
#   tools/windows-screenshots.sh path/to/huimingfang.exe [output directory]
#
# Needs wine64, xvfb, xdotool, python3 and fonts-noto-cjk.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
program=${1:?usage: windows-screenshots.sh path/to/huimingfang.exe [output directory]}
out=${2:-$here/docs/screenshots}
font=/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc
[ -f "$font" ] || { echo "windows-screenshots.sh: $font is missing (fonts-noto-cjk)" >&2; exit 1; }

WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all
# No Mono or Gecko installer dialogs while the prefix is made: the program needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
wineboot -i >/dev/null 2>&1
wineserver -w
cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"

HMF_SCREENSHOT_RUNNER=wine HMF_SCREENSHOT_NAME=windows- "$here/tools/screenshots.sh" "$program" "$out"
