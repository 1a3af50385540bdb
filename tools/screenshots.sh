#!/bin/sh
# Starts the real desktop program under Xvfb, makes a generation run and opens an analysis with
# real mouse clicks (xdotool), and saves screenshots as PNG files into docs/screenshots/.
#
#   tools/screenshots.sh [path/to/huimingfang] [output directory]
#
# Needs xvfb (xvfb-run), xdotool, python3 and a Simplified Chinese font (fonts-noto-cjk).
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$here/build/bin/huimingfang}
out=${2:-$here/docs/screenshots}

if [ -z "${HMF_SCREENSHOT_INNER:-}" ]; then
    for tool in xvfb-run xdotool python3; do
        command -v "$tool" >/dev/null || { echo "screenshots.sh: $tool is missing" >&2; exit 1; }
    done
    [ -x "$program" ] || { echo "screenshots.sh: no program at $program" >&2; exit 1; }
    mkdir -p "$out"
    fb=$(mktemp -d)
    trap 'rm -rf "$fb"' EXIT
    # Xvfb keeps its screen in an XWD file under -fbdir; the pictures are cut from it.
    HMF_SCREENSHOT_INNER=1 HMF_FB_DIR=$fb xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96 -fbdir $fb" \
        "$0" "$program" "$out"
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

# Clicks (or double-clicks with a second argument) at a point of the main window.
click() {
    xdotool mousemove --window "$main" "$1" "$2"
    sleep 0.2
    xdotool click ${3:+--repeat 2 --delay 120} 1
}

program=$1
out=$2
# A fresh user: no remembered inputs and an empty shortlist, whatever the real user has.
XDG_CONFIG_HOME=$HMF_FB_DIR/config XDG_DATA_HOME=$HMF_FB_DIR/data "$program" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
main=$(xdotool search --sync --onlyvisible --name "慧名坊软件")
sleep 1
geometry "$main"
mx=$X my=$Y mw=$WIDTH mh=$HEIGHT
snap "$out/start.png" "$mx" "$my" "$mw" "$mh"

# Page 宝宝取名: 开始 (the tab pages begin at 72, 32 of the window).
click $((72 + 536 + 32)) $((32 + 8 + 12))
sleep 4
snap "$out/generation.png" "$mx" "$my" "$mw" "$mh"

# A double-click on the first candidate opens its analysis on the page 姓名评测.
click $((72 + 464 + 40)) $((32 + 64 + 10)) double
sleep 1.5
snap "$out/analysis.png" "$mx" "$my" "$mw" "$mh"

# 加入收藏 under the report keeps the name; the confirmation closes with Enter. A second
# candidate is kept from the list with Ctrl+D.
click $((72 + 8 + 48)) $((32 + 472 + 14))
sleep 0.8
xdotool key Return
sleep 0.5
click 40 $((6 + 29))
sleep 0.5
click $((72 + 464 + 40)) $((32 + 64 + 30))
xdotool key ctrl+d
sleep 0.8
xdotool key Return
sleep 0.5

# Tool bar: 81数理表 (third button), then 生辰八字 (seventh), which opens its own window.
click 40 $((6 + 2 * 59 + 29))
sleep 1
snap "$out/luck81.png" "$mx" "$my" "$mw" "$mh"
click 40 $((6 + 6 * 59 + 29))
chart=$(xdotool search --sync --onlyvisible --name "皮肤")
sleep 1
geometry "$chart"
snap "$out/birthchart.png" "$X" "$Y" "$WIDTH" "$HEIGHT"
xdotool key Escape
sleep 0.5

# The element of a character (汉字五行, fifth button) and the star sign of a day (星座查询, sixth).
click 40 $((6 + 4 * 59 + 29))
lookup=$(xdotool search --sync --onlyvisible --name "汉字五行查询")
sleep 0.5
geometry "$lookup"
xdotool mousemove --window "$lookup" 164 20 click 1
xdotool type --delay 100 "林"
xdotool mousemove --window "$lookup" 240 20 click 1
sleep 0.5
snap "$out/element.png" "$X" "$Y" "$WIDTH" "$HEIGHT"
xdotool key Escape
sleep 0.5
click 40 $((6 + 5 * 59 + 29))
lookup=$(xdotool search --sync --onlyvisible --name "星座查询")
sleep 0.5
geometry "$lookup"
xdotool mousemove --window "$lookup" 96 $((HEIGHT - 66)) click 1
sleep 0.5
snap "$out/starsign.png" "$X" "$Y" "$WIDTH" "$HEIGHT"
xdotool key Escape
sleep 0.5

# 宝宝取名 again, now drawing from 诗经 (the second item of 出处): the selected name's line shows
# under the list, and the name is kept with its source (Ctrl+D).
click 40 $((6 + 29))
sleep 0.5
click $((72 + 540 + 32)) $((32 + 544 + 10))
sleep 0.5
xdotool key Down Return
sleep 0.3
click $((72 + 536 + 32)) $((32 + 8 + 12))
sleep 5
click $((72 + 8 + 60)) $((32 + 64 + 10))
sleep 0.5
snap "$out/verse.png" "$mx" "$my" "$mw" "$mh"
xdotool key ctrl+d
sleep 0.8
xdotool key Return
sleep 0.5

# 收藏夹 (ninth button): the kept names; all of them compared side by side.
click 40 $((6 + 8 * 59 + 29))
sleep 1
snap "$out/shortlist.png" "$mx" "$my" "$mw" "$mh"
click $((72 + 8 + 40)) $((32 + 32 + 40))
xdotool key ctrl+a
click $((72 + 112 + 72)) $((32 + 464 + 14))
compare=$(xdotool search --sync --onlyvisible --name "名字比较")
sleep 1
geometry "$compare"
snap "$out/compare.png" "$X" "$Y" "$WIDTH" "$HEIGHT"
xdotool key Escape
sleep 0.5
kill $pid 2>/dev/null || true
wait $pid 2>/dev/null || true
echo "screenshots written to $out"
