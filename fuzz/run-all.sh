#!/bin/sh
# Runs every fuzz target for the given number of seconds (default 180), one after the other,
# starting from the committed seed corpus. New inputs and any crash go to a scratch directory
# (the committed corpus is only read). Prints the executions and coverage of each target and
# exits non-zero when a target found a fault.
#
# Usage: fuzz/run-all.sh [seconds] [target...]
#   HMF_FUZZ_BUILD  build tree configured with -DHMF_FUZZ=ON (default: build-fuzz)
#   HMF_FUZZ_WORK   scratch directory (default: <build tree>/fuzz-work)
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-180}
[ $# -gt 0 ] && shift
build=${HMF_FUZZ_BUILD:-build-fuzz}
work=${HMF_FUZZ_WORK:-$build/fuzz-work}
targets=${*:-$(cd "$build/bin" && ls fuzz_* 2>/dev/null)}
[ -n "$targets" ] || { echo "no fuzz targets in $build/bin (configure with -DHMF_FUZZ=ON)" >&2; exit 1; }

status=0
printf '%-18s %12s %8s %8s  %s\n' target executions cov ft result
for t in $targets; do
    case $t in
    # Loaders meet whole files: let inputs grow to long lines.
    fuzz_library | fuzz_tables) extra="-max_len=65536" ;;
    fuzz_cli) extra="-max_len=1024" ;;
    *) extra="" ;;
    esac
    mkdir -p "$work/$t/corpus"
    log="$work/$t/log.txt"
    # shellcheck disable=SC2086
    if "$build/bin/$t" -max_total_time="$seconds" -timeout=20 -print_final_stats=1 \
        -artifact_prefix="$work/$t/" $extra "$work/$t/corpus" "fuzz/corpus/$t" >"$log" 2>&1; then
        result=ok
    else
        result="FAULT (see $log)"
        status=1
    fi
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
    ft=$(grep -o 'ft: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
    printf '%-18s %12s %8s %8s  %s\n' "$t" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$result"
done
exit $status
