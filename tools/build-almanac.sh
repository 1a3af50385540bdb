#!/bin/sh
# Rewrites calendar/almanactable.cpp, the solar terms and lunar months of 1899-2101, with the
# calendar's own astronomy (about three seconds). `--check` compares instead of writing.
#   tools/build-almanac.sh [--check] [build directory]      (default: build in the source tree)
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
check=
[ "$1" = --check ] && { check=1; shift; }
build=${1:-$root/build}
[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" >/dev/null
out=$(mktemp)
trap 'rm -f "$out"' EXIT
cmake --build "$build" --target almanac_table >"$out" || { cat "$out" >&2; exit 1; }
"$build/bin/almanac_table" >"$out"
if [ -n "$check" ]; then
    cmp -s "$out" "$root/calendar/almanactable.cpp" ||
        { echo "calendar/almanactable.cpp is not what the astronomy gives" >&2; exit 1; }
else
    cp "$out" "$root/calendar/almanactable.cpp"
fi
