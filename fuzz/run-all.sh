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
    # One child process at a time that is restarted after a fault, so one run collects every
    # distinct fault instead of stopping at the first.
    # shellcheck disable=SC2086
    "$build/bin/$t" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
        -max_total_time="$seconds" -timeout=20 -artifact_prefix="$work/$t/" $extra \
        "$work/$t/corpus" "fuzz/corpus/$t" >"$log" 2>&1 || true
    last=$(grep -E '^#[0-9]+: cov:' "$log" | tail -n 1)
    execs=$(printf '%s' "$last" | sed -n 's/^#\([0-9]*\):.*/\1/p')
    cov=$(printf '%s' "$last" | sed -n 's/.* cov: \([0-9]*\).*/\1/p')
    ft=$(printf '%s' "$last" | sed -n 's/.* ft: \([0-9]*\).*/\1/p')
    faults=$(printf '%s' "$last" | sed -n 's|.*oom/timeout/crash: \([0-9/]*\).*|\1|p')
    if [ "${faults:-0/0/0}" = 0/0/0 ]; then
        result=ok
    else
        result="FAULTS oom/timeout/crash $faults: $(ls "$work/$t" | grep -E '^(crash|timeout|oom)-' | tr '\n' ' ')"
        status=1
    fi
    printf '%-18s %12s %8s %8s  %s\n' "$t" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$result"
done
exit $status
