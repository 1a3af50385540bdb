#!/bin/sh
# The Windows build of the Qt-free part, checked under Wine: cross-builds core, calendar, naming,
# hmf.exe and their tests with MinGW-w64, runs every test and a few hmf.exe commands under Wine in
# a fresh prefix, and compares hmf.exe's JSON with the native hmf's byte for byte.
#   tools/windows-test.sh [native build folder]     (default: build; made when absent)
# ERFA and GoogleTest are built for Windows from Debian's sources once, into HMF_WINDOWS_CACHE
# (default ~/.cache/huimingfang-windows). Missing Debian packages are installed with apt-get.
set -eu
HMF_ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$HMF_ROOT/tools/windows-common.sh"
cd "$HMF_ROOT"
started=$(date +%s)

NATIVE=${1:-build}
CROSS=build-windows
launcher=
command -v ccache >/dev/null && launcher=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache

windows_packages
windows_erfa
windows_gtest

# The native hmf is the reference, and its build-time tools write the generated sources.
if [ ! -f "$NATIVE/CMakeCache.txt" ]; then
    cmake -S . -B "$NATIVE" -G Ninja -DHMF_BUILD_GUI=OFF -DHMF_BUILD_TESTS=OFF \
        -DHMF_BUILD_BENCH=OFF $launcher >/dev/null
fi
cmake --build "$NATIVE" -j "$HMF_JOBS" --target hmf gbkcodes prebuilttables

echo "== cross-building for Windows"
# -O2 as the native build has it (GCC 12 warns falsely at -O3 about std::string's memcpy).
cmake -S . -B "$CROSS" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$HMF_ROOT/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DHMF_WERROR=ON -DHMF_BUILD_GUI=OFF -DHMF_BUILD_BENCH=OFF \
    -DHMF_HOST_TOOLS_DIR="$HMF_ROOT/$NATIVE/bin" -DCMAKE_CROSSCOMPILING_EMULATOR=wine \
    $launcher >/dev/null
cmake --build "$CROSS" -j "$HMF_JOBS"
built=$(date +%s)

# A fresh prefix each run, so nothing from an earlier run or another program decides the result.
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/hmf-wine.XXXXXX")
WORK=$(mktemp -d "${TMPDIR:-/tmp}/hmf-windows-test.XXXXXX")
export WINEPREFIX WINEDEBUG=-all
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX" "$WORK"' EXIT
wineboot -i >/dev/null 2>&1

echo "== the tests under Wine"
ctest --test-dir "$CROSS" -j "$HMF_JOBS" --output-on-failure

echo "== hmf.exe under Wine"
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
# The program as a Windows user has it: hmf.exe with its data folder beside it, in a folder
# with a Chinese name, found without HMF_DATA_DIR.
app="$WORK/慧名坊"
mkdir -p "$app"
cp "$CROSS/bin/hmf.exe" "$app/"
cp -r data "$app/data"
hmf_exe() { wine "$app/hmf.exe" "$@"; }
hmf_native() { HMF_DATA_DIR="$HMF_ROOT/data" "$NATIVE/bin/hmf" "$@"; }

# Chinese arguments arrive intact and Chinese text comes out as UTF-8.
hmf_exe analyse 张 明华 --birth "2019-05-05 05" >"$WORK/analyse.txt" || fail "analyse exited $?"
grep -q '^姓名：张明华' "$WORK/analyse.txt" || fail "analyse does not name 张明华"
grep -q '^姓名（繁体）：張明華' "$WORK/analyse.txt" || fail "analyse has no traditional form"

# The same answers as the native program, byte for byte.
compare() {
    hmf_exe "$@" >"$WORK/windows.out" 2>"$WORK/windows.err" || fail "hmf.exe $* exited $?"
    hmf_native "$@" >"$WORK/native.out"
    if cmp -s "$WORK/windows.out" "$WORK/native.out"; then
        echo "same output as the native hmf: $*"
    else
        fail "hmf.exe $* differs from the native hmf"
        diff "$WORK/native.out" "$WORK/windows.out" | head -n 20 >&2
    fi
}
compare analyse 张 明华 --birth "2019-05-05 05" --json
compare analyse 欧阳 恒秉 --lunar "2019-4-1 05" --place 拉萨 --json
compare top 林 --sex 女 --birth "2019-05-05 05" --count 50 --json
compare chart 2019-05-05 05 --json
compare chart --lunar "2023-闰2-01 05" --place 乌鲁木齐 --json
compare generate 林 --sex 男 --birth "2019-05-05 05" --draws 200 --seed 7 --json

# A library file with a Chinese name, and a refusal: a message on stderr and exit code 2.
cp data/zwz.fne "$WORK/字库.fne"
hmf_exe top 林 --birth "2019-05-05 05" --library "$WORK/字库.fne" --count 3 >/dev/null ||
    fail "top with a library named 字库.fne exited $?"
code=0
hmf_exe grids Zhang 明华 2>"$WORK/refused.err" >/dev/null || code=$?
[ "$code" = 2 ] || fail "grids Zhang exited $code, not 2"
grep -q '不是汉字' "$WORK/refused.err" || fail "grids Zhang does not say 不是汉字"

finished=$(date +%s)
echo "== Windows: built in $((built - started)) s, checked under Wine in $((finished - built)) s"
[ "$failures" = 0 ] || { echo "$failures hmf.exe checks failed" >&2; exit 1; }
