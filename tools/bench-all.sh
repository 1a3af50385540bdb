#!/bin/sh
# Builds a Release tree and takes every figure docs/performance.md records: the Google Benchmark
# programs (medians of three repetitions), the calendar against the reference calendar, 1,000
# calls of `hmf element`, and the peak memory of the window and of two commands.
#   tools/bench-all.sh [build directory]     (default: build-bench in the source tree)
# Needs: cmake, g++, Qt 6, libbenchmark-dev, node with npm, and GNU time (/usr/bin/time).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-bench}
reps=${HMF_BENCH_REPETITIONS:-3}
export QT_QPA_PLATFORM=offscreen

for tool in cmake node npm; do
    command -v $tool >/dev/null || { echo "bench-all: $tool is missing" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "bench-all: /usr/bin/time is missing (Debian package time)" >&2; exit 1; }

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DHMF_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 >/dev/null
bin=$build/bin
for program in calendar_bench naming_bench startup_bench hmf; do
    [ -x "$bin/$program" ] || { echo "bench-all: $bin/$program was not built" >&2; exit 1; }
done

echo "== machine"
echo "$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')," \
     "$(. /etc/os-release && echo "$PRETTY_NAME"), $(g++ --version | head -1)"

# Only the aggregate lines; the medians are the figures recorded.
for program in calendar_bench naming_bench startup_bench; do
    echo "== $program (median of $reps)"
    "$bin/$program" --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true \
        --benchmark_filter='^BM_[^H]' 2>/dev/null | grep -E '^(Benchmark|BM_.*_median)'
done

echo "== calendar against the reference (100,000 birth hours)"
reference=$root/tools/calendar-reference
[ -d "$reference/node_modules/lunar-javascript" ] || (cd "$reference" && npm ci --silent)
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
