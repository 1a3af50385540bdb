#!/bin/sh
# Builds the Windows package of 慧名坊 on Debian 12: Qt (qtbase 6.4.2 from Debian's source
# package, static) and the program cross-built with MinGW-w64, then
# huimingfang-<version>-windows-x64.zip in the current folder.
#   tools/build-windows.sh            everything (the Qt build is cached and done once)
#   tools/build-windows.sh qt         only the Qt build
# The Qt build takes about half an hour on two cores; it runs under nice and is kept in
# HMF_WINDOWS_CACHE (default ~/.cache/huimingfang-windows). Not part of CI.
set -eu
HMF_ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$HMF_ROOT/tools/windows-common.sh"

QT_PREFIX=$HMF_WINDOWS_CACHE/qt-6.4.2-static

build_qt() {
    [ -f "$QT_PREFIX/lib/cmake/Qt6/qt.toolchain.cmake" ] && return 0
    windows_packages qt6-base-dev qt6-base-dev-tools
    src=$(windows_source qt6-base 'qt6-base-6.4.2*')
    # Qt's own toolchain file keeps the path of the one it was built with: a copy in the cache
    # outlives this checkout.
    cp "$HMF_ROOT/cmake/mingw-w64.cmake" "$HMF_WINDOWS_CACHE/mingw-w64.cmake"
    build=$HMF_WINDOWS_CACHE/qt-build
    # A build that was stopped goes on where it stopped.
    if [ ! -f "$build/build.ninja" ]; then
        echo "== configuring Qt for Windows ($(date -u +%H:%M:%S))"
        # Static, with the bundled zlib, PCRE2, FreeType, HarfBuzz, libpng and libjpeg. Tablet input
        # is off because Debian's source drops the wintab header it needs; OpenGL stays on (desktop
        # GL from MinGW), as the Windows platform plugin of 6.4.2 does not compile without it.
        cmake -S "$src" -B "$build" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$HMF_WINDOWS_CACHE/mingw-w64.cmake" \
            -DCMAKE_INSTALL_PREFIX="$QT_PREFIX" -DCMAKE_BUILD_TYPE=Release \
            -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
            -DQT_QMAKE_TARGET_MKSPEC=win32-g++ \
            -DBUILD_SHARED_LIBS=OFF -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
            -DFEATURE_tabletevent=OFF -DINPUT_opengl=desktop \
            -DFEATURE_dbus=OFF -DFEATURE_icu=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF \
            -DFEATURE_concurrent=OFF -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF \
            -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_png=OFF \
            -DFEATURE_system_jpeg=OFF >"$HMF_WINDOWS_CACHE/qt-configure.log"
    fi
    echo "== building Qt for Windows ($(date -u +%H:%M:%S))"
    nice -n 10 cmake --build "$build" -j "$HMF_JOBS"
    cmake --install "$build" >/dev/null
    echo "== Qt installed in $QT_PREFIX ($(date -u +%H:%M:%S))"
}

build_qt
[ "${1:-}" = qt ] && exit 0

# The program, linked with the static Qt: the window and hmf.exe, each one .exe with the C and
# C++ runtimes inside. The generated sources come from a native build's tools.
NATIVE=${HMF_NATIVE_BUILD:-build}
APP=build-windows-app
VERSION=$(sed -n 's/^project(huimingfang VERSION \([0-9.]*\).*/\1/p' "$HMF_ROOT/CMakeLists.txt")
cd "$HMF_ROOT"
windows_packages qt6-translations-l10n
windows_erfa
if [ ! -f "$NATIVE/CMakeCache.txt" ]; then
    cmake -S . -B "$NATIVE" -G Ninja -DHMF_BUILD_GUI=OFF -DHMF_BUILD_TESTS=OFF \
        -DHMF_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$NATIVE" -j "$HMF_JOBS" --target gbkcodes prebuilttables
echo "== building huimingfang.exe and hmf.exe ($(date -u +%H:%M:%S))"
cmake -S . -B "$APP" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$QT_PREFIX/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DHMF_BUILD_TESTS=OFF -DHMF_BUILD_BENCH=OFF \
    -DHMF_HOST_TOOLS_DIR="$HMF_ROOT/$NATIVE/bin" >/dev/null
nice -n 10 cmake --build "$APP" -j "$HMF_JOBS" --target huimingfang hmf

echo "== packing ($(date -u +%H:%M:%S))"
name=huimingfang-$VERSION-windows-x64
stage=$APP/package
rm -rf "$stage" "$name.zip"
mkdir -p "$stage/$name/translations" "$stage/$name/licenses"
for exe in huimingfang hmf; do
    x86_64-w64-mingw32-strip -o "$stage/$name/$exe.exe" "$APP/bin/$exe.exe"
done
cp -r data "$stage/$name/data"
rm -f "$stage/$name/data/README.md"
# A static Qt knows no folder of its own on the user's machine: qt.conf points it at the
# translations beside the program (Qt's dialogs and buttons in Chinese).
printf '[Paths]\r\nPrefix = .\r\nTranslations = translations\r\n' >"$stage/$name/qt.conf"
cp /usr/share/qt6/translations/qtbase_zh_CN.qm "$stage/$name/translations/"
qt_src=$(windows_source qt6-base 'qt6-base-6.4.2*')
cp "$qt_src/LICENSES/LGPL-3.0-only.txt" "$qt_src/LICENSES/GPL-3.0-only.txt" "$stage/$name/licenses/"
cp "$qt_src/debian/copyright" "$stage/$name/licenses/Qt-copyright.txt"
cp "$(windows_source erfa 'erfa-*')/LICENSE" "$stage/$name/licenses/ERFA-LICENSE.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/$name/licenses/GCC-runtime-copyright.txt"
cp /usr/share/doc/mingw-w64-common/copyright "$stage/$name/licenses/MinGW-w64-copyright.txt"
# The README in Chinese, with a byte-order mark and CRLF so that every Notepad shows it.
{
    printf '\357\273\277'
    sed "s/@VERSION@/$VERSION/g; s/\$/\r/" "$HMF_ROOT/tools/windows-readme.txt"
} >"$stage/$name/说明.txt"
# Python's zipfile marks the Chinese file names as UTF-8, which Windows' Explorer honours.
(cd "$stage" && python3 -c '
import os, sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for folder, dirs, files in os.walk(sys.argv[2]):
        dirs.sort()
        for f in sorted(files):
            z.write(os.path.join(folder, f))
' "$HMF_ROOT/$name.zip" "$name")
echo "== $name.zip: $(du -k "$name.zip" | cut -f1) KB ($(date -u +%H:%M:%S))"
