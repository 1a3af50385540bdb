#!/bin/sh
# Builds a Release tree and takes every figure docs/performance.md records: the Google Benchmark
# programs (medians of three repetitions), the calendar against the reference calendar, 1,000
# calls of `hmf element`, and the peak memory of the window and of two commands.
#   tools/bench-all.sh [--floor] [build directory]   (default: build-bench in the source tree)
# --floor takes only the floor table (the last section).
# Needs: cmake, g++, Qt 6, libbenchmark-dev, node with npm, and GNU time (/usr/bin/time). The
# floor table needs farm-bench (times whole processes side by side) and, for its calendar line,
# Debian's liblunar-date-dev; without them that part is skipped with a note.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
floor_only=
[ "$1" = --floor ] && { floor_only=1; shift; }
build=${1:-$root/build-bench}
reps=${HMF_BENCH_REPETITIONS:-3}
floor_runs=${HMF_FLOOR_RUNS:-20}
export QT_QPA_PLATFORM=offscreen

for tool in cmake node npm; do
    command -v $tool >/dev/null || { echo "bench-all: $tool is missing" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "bench-all: /usr/bin/time is missing (Debian package time)" >&2; exit 1; }

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DHMF_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 >/dev/null
bin=$build/bin
for program in calendar_bench naming_bench verse_bench startup_bench hmf floor_hello floor_window; do
    [ -x "$bin/$program" ] || { echo "bench-all: $bin/$program was not built" >&2; exit 1; }
done

echo "== machine"
echo "$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')," \
     "$(. /etc/os-release && echo "$PRETTY_NAME"), $(g++ --version | head -1)"

reference=$root/tools/calendar-reference
[ -d "$reference/node_modules/lunar-javascript" ] || (cd "$reference" && npm ci --silent)

if [ -z "$floor_only" ]; then
    # Only the aggregate lines; the medians are the figures recorded.
    for program in calendar_bench naming_bench verse_bench startup_bench; do
        echo "== $program (median of $reps)"
        "$bin/$program" --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true \
            --benchmark_filter='^BM_[^H]' 2>/dev/null | grep -E '^(Benchmark|BM_.*_median)'
    done

    echo "== calendar against the reference (100,000 birth hours)"
    node "$reference/timing.js" "$bin/calendar_bench"

    echo "== 1,000 calls of hmf element 文"
    start=$(date +%s%N)
    i=0
    while [ $i -lt 1000 ]; do
        "$bin/hmf" element 文 >/dev/null
        i=$((i + 1))
    done
    end=$(date +%s%N)
    awk -v ns=$((end - start)) 'BEGIN { printf "total %.2f s, %.2f ms per call\n", ns / 1e9, ns / 1e9 }'

    echo "== peak memory (maximum resident set size)"
    peak() {
        label=$1
        shift
        kb=$(/usr/bin/time -v "$@" 2>&1 >/dev/null | sed -n 's/.*Maximum resident set size (kbytes): //p')
        echo "$label: $kb kB ($((kb / 1024)) MB)"
    }
    peak "window after start-up" "$bin/startup_bench" --memory=window
    peak "window after a 5,000-draw run" "$bin/startup_bench" --memory=run
    peak "hmf analyse 张 明华" "$bin/hmf" analyse 张 明华 --birth "2019-05-05 05"
    peak "hmf top 林 (女, two characters)" "$bin/hmf" top 林 --sex 女 --birth "2019-05-05 05"
fi

# Each command against the floor: floor_hello (hmf's shared libraries, prints a line and exits),
# the window (built, shown and painted offscreen, then exit) against floor_window (an empty Qt
# window the same way). farm-bench alternates the two commands and takes the ratio pair by pair.
echo "== floor (whole processes, median of $floor_runs runs; ratio = command / floor)"
if ! command -v farm-bench >/dev/null; then
    echo "farm-bench is not installed: floor table skipped"
    exit 0
fi
floor() {
    label=$1
    vs=$2
    shift 2
    farm-bench -n "$floor_runs" --warmup 2 --timeout 600 --vs "$vs" -- "$@" 2>&1 | awk -v label="$label" '
        $1 == "A" && $2 == "wall" { aw = $5 }  $1 == "B" && $2 == "wall" { bw = $5 }
        $1 == "A" && $2 == "cpu" { ac = $5 }   $1 == "B" && $2 == "cpu" { bc = $5 }
        $1 == "A/B" && $2 == "wall" { rw = $4 } $1 == "A/B" && $2 == "cpu" { rc = $4 }
        END { printf "%-34s wall %7.1f ms (floor %5.1f) %6.2fx   cpu %7.1f ms (floor %5.1f) %6.2fx\n",
                     label, aw * 1000, bw * 1000, rw, ac * 1000, bc * 1000, rc }'
}
birth="2019-05-05 05"
floor "hmf element 文" "$bin/floor_hello" "$bin/hmf" element 文
floor "hmf analyse 张 明华" "$bin/floor_hello" "$bin/hmf" analyse 张 明华 --birth "$birth"
floor "hmf chart 2019-05-05 05" "$bin/floor_hello" "$bin/hmf" chart 2019-05-05 05
floor "hmf generate 林 (男, two characters)" "$bin/floor_hello" \
    "$bin/hmf" generate 林 --sex 男 --length 2 --birth "$birth" --seed 1
floor "hmf top 林 (女, two characters)" "$bin/floor_hello" \
    "$bin/hmf" top 林 --sex 女 --length 2 --birth "$birth"
floor "hmf top 林 (女, three characters)" "$bin/floor_hello" \
    "$bin/hmf" top 林 --sex 女 --length 3 --birth "$birth"
floor "window shown (offscreen)" "$bin/floor_window" "$bin/startup_bench" --memory=window
# The same against a window with one label of Chinese text: the font list and the CJK font that
# any Chinese window needs before its first character are in this floor.
floor "window against one Chinese label" "$bin/floor_window --text" \
    "$bin/startup_bench" --memory=window

# The calendar cold, one pass in a fresh process over the same 100,000 birth hours (the list of
# timing.js, without 1900-01-31 to 02-03, which liblunar-date cannot take): ours, the reference
# and liblunar-date.
hours=$(mktemp)
node -e "const { birthHours } = require('$reference/golden.js');
         for (const h of birthHours(100000, 1234567)) console.log(h.join(' '));" |
    awk '!($1 == 1900 && $2 <= 2 && ($2 == 1 || $3 <= 3))' >"$hours"
ours=$("$bin/calendar_bench" --hours="$hours" --benchmark_filter=none 2>&1 |
       sed -n 's/.*birth hours: \([0-9.]*\) ms/\1/p')
echo "calendar cold, ours (calendar_bench first pass): $ours ms"
reference_line=$(node "$reference/cold.js" "$hours")
echo "$reference_line"
awk -v o="$ours" -v t="$(echo "$reference_line" | sed -n 's/.*hours: \([0-9.]*\) ms.*/\1/p')" \
    'BEGIN { printf "reference / ours: %.0fx\n", t / o }'
if [ -x "$bin/lunardate_compare" ]; then
    theirs=$("$bin/lunardate_compare" "$hours")
    echo "$theirs"
    awk -v o="$ours" -v t="$(echo "$theirs" | sed -n 's/.*): \([0-9.]*\) ms.*/\1/p')" \
        'BEGIN { printf "liblunar-date / ours: %.2fx\n", t / o }'
else
    echo "lunardate_compare was not built (Debian liblunar-date-dev): liblunar-date skipped"
fi
rm -f "$hours"
