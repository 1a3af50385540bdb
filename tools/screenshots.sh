#!/bin/sh
# Starts the real desktop program under Xvfb, makes a generation run and opens an analysis from
# the keyboard (xdotool), and saves screenshots as PNG files into docs/screenshots/. With a text
# scale (1.5 for text half as large again, as a desktop set to 144 dpi for its fonts shows it)
# the pictures are named with the percentage: start-150.png.
#
#   tools/screenshots.sh [path/to/huimingfang] [output directory] [text scale]
#
# Needs xvfb (xvfb-run), xdotool, python3 and a Simplified Chinese font (fonts-noto-cjk).
#
# The Windows program runs the same way under Wine: HMF_SCREENSHOT_RUNNER=wine starts the
# program through it, and HMF_SCREENSHOT_NAME=windows- puts a prefix before each picture's name
# (tools/windows-screenshots.sh sets both, with a Wine prefix of its own).
set -eu
runner=${HMF_SCREENSHOT_RUNNER:-}
name_prefix=${HMF_SCREENSHOT_NAME:-}

here=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$here/build/bin/huimingfang}
out=${2:-$here/docs/screenshots}
scale=${3:-1}

if [ -z "${HMF_SCREENSHOT_INNER:-}" ]; then
    for tool in xvfb-run xdotool python3; do
        command -v "$tool" >/dev/null || { echo "screenshots.sh: $tool is missing" >&2; exit 1; }
    done
    [ -f "$program" ] || { echo "screenshots.sh: no program at $program" >&2; exit 1; }
    mkdir -p "$out"
    fb=$(mktemp -d)
    trap 'rm -rf "$fb"' EXIT
    # Xvfb keeps its screen in an XWD file under -fbdir; the pictures are cut from it.
    HMF_SCREENSHOT_INNER=1 HMF_FB_DIR=$fb xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96 -fbdir $fb" \
        "$0" "$program" "$out" "$scale"
    exit $?
fi

# Cuts the rectangle x y w h of the screen into a PNG file (the pointer is moved out of sight).
snap() {
    xdotool mousemove 1023 767
    sleep 0.3
    python3 - "$HMF_FB_DIR/Xvfb_screen0" "$1" "$2" "$3" "$4" "$5" <<'PY'
import struct, sys, zlib
src, dst = sys.argv[1], sys.argv[2]
x, y, w, h = (int(v) for v in sys.argv[3:7])
data = open(src, "rb").read()
f = struct.unpack(">25I", data[:100])
header, width, height, order, bpp, stride, ncolors = f[0], f[4], f[5], f[7], f[11], f[12], f[19]
if bpp != 32:
    sys.exit("snap: expected 32 bits per pixel, got %d" % bpp)
pixels = data[header + 12 * ncolors:]
x, y = max(0, x), max(0, y)
w, h = min(w, width - x), min(h, height - y)
rows = []
for r in range(y, y + h):
    line = pixels[r * stride + 4 * x: r * stride + 4 * (x + w)]
    rgb = bytearray(3 * w)
    if order == 0:  # least significant byte first: B G R X
        rgb[0::3], rgb[1::3], rgb[2::3] = line[2::4], line[1::4], line[0::4]
    else:
        rgb[0::3], rgb[1::3], rgb[2::3] = line[1::4], line[2::4], line[3::4]
    rows.append(b"\0" + bytes(rgb))
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b"")
open(dst, "wb").write(png)
PY
}

# Where a window lies on the screen: sets X Y WIDTH HEIGHT.
geometry() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
}

# Presses keys in the main window, then waits a moment.
keys() {
    xdotool key --delay 80 "$@"
    sleep 0.4
}

program=$1
out=$2
scale=$3
# The picture names carry the text scale unless it is 1.
suffix=$(python3 -c "import sys; s = float(sys.argv[1]); print('' if s == 1 else '-%d' % round(s * 100))" "$scale")
dpi=$(python3 -c "import sys; print(round(96 * float(sys.argv[1])))" "$scale")
# A fresh user: no remembered inputs and an empty shortlist, whatever the real user has. The
# fonts are drawn at the scale's dots per inch, the window's pixels stay as they are.
QT_ENABLE_HIGHDPI_SCALING=0 QT_FONT_DPI=$dpi \
    XDG_CONFIG_HOME=$HMF_FB_DIR/config XDG_DATA_HOME=$HMF_FB_DIR/data $runner "$program" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
main=$(xdotool search --sync --onlyvisible --name "慧名坊软件")
sleep 1
# Without a window manager nothing hands the window the keyboard: give it.
xdotool windowfocus --sync "$main"
geometry "$main"
mx=$X my=$Y mw=$WIDTH mh=$HEIGHT
snap "$out/${name_prefix}start$suffix.png" "$mx" "$my" "$mw" "$mh"

# Page 宝宝取名: the keyboard starts in 姓, and Enter there starts a run.
keys Return
sleep 4

# Tab from 姓 through the inputs, the options, 开始 and the find box to the two lists and on to
# 候选按品评排序: Space sorts the candidates. 查找 (Ctrl+F) then shows the names whose 寓意 holds
# a comma (most meanings do, no name does), each with its meaning after it.
keys --repeat 22 Tab
keys space
keys ctrl+f
xdotool type --delay 100 "，"
sleep 1
snap "$out/${name_prefix}generation$suffix.png" "$mx" "$my" "$mw" "$mh"
# Down goes from the find box to the first name shown; Enter opens its analysis on the page
# 姓名评测.
keys Down
keys Return
sleep 1
snap "$out/${name_prefix}analysis$suffix.png" "$mx" "$my" "$mw" "$mh"
# Ctrl+D keeps the analysed name in 收藏夹.
keys ctrl+d

# 81数理表 (Ctrl+3), then 生辰八字 (Ctrl+7), which opens its own window.
keys ctrl+3
sleep 0.6
snap "$out/${name_prefix}luck81$suffix.png" "$mx" "$my" "$mw" "$mh"
keys ctrl+7
chart=$(xdotool search --sync --onlyvisible --name "^生辰八字$")
sleep 1
xdotool windowfocus --sync "$chart"
geometry "$chart"
snap "$out/${name_prefix}birthchart$suffix.png" "$X" "$Y" "$WIDTH" "$HEIGHT"
keys Escape
xdotool windowfocus --sync "$main"

# The element of a character (汉字五行, Ctrl+5) and the star sign of the birth day (星座查询,
# Ctrl+6).
keys ctrl+5
lookup=$(xdotool search --sync --onlyvisible --name "汉字五行查询")
sleep 0.5
xdotool windowfocus --sync "$lookup"
geometry "$lookup"
xdotool type --delay 100 "林"
keys Return
snap "$out/${name_prefix}element$suffix.png" "$X" "$Y" "$WIDTH" "$HEIGHT"
keys Escape
xdotool windowfocus --sync "$main"
keys ctrl+6
lookup=$(xdotool search --sync --onlyvisible --name "星座查询")
sleep 0.5
xdotool windowfocus --sync "$lookup"
geometry "$lookup"
snap "$out/${name_prefix}starsign$suffix.png" "$X" "$Y" "$WIDTH" "$HEIGHT"
keys Escape
xdotool windowfocus --sync "$main"

# 收藏夹 (Ctrl+9), then the tips with our help under them (F1).
keys ctrl+9
sleep 0.6
snap "$out/${name_prefix}shortlist$suffix.png" "$mx" "$my" "$mw" "$mh"
keys F1
sleep 0.6
snap "$out/${name_prefix}help$suffix.png" "$mx" "$my" "$mw" "$mh"
kill $pid 2>/dev/null || true
wait $pid 2>/dev/null || true
# Wine keeps its server and the program's processes after the starter is gone.
[ "$runner" = wine ] && wineserver -k 2>/dev/null || true
echo "screenshots written to $out"
