# Shared by tools/windows-test.sh and tools/build-windows.sh (sourced, not run): the Debian
# packages a Windows cross-build needs, the Debian source packages it builds, and the libraries
# built from them into a cache folder outside the repository.

HMF_WINDOWS_CACHE=${HMF_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/huimingfang-windows}
HMF_WINDOWS_PREFIX=$HMF_WINDOWS_CACHE/prefix
HMF_JOBS=${HMF_JOBS:-2}
export HMF_WINDOWS_PREFIX

as_root() {
    if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# The cross compilers, Wine to run their programs, CMake and Ninja; dpkg-dev unpacks sources.
windows_packages() {
    missing=
    for p in g++-mingw-w64-x86-64-posix wine64 cmake ninja-build dpkg-dev libgtest-dev "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    echo "== installing$missing"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
}

# `apt-get source` needs a deb-src entry: the same archive and suites as the system's own entry.
windows_deb_src() {
    grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/ && return 0
    echo "== adding a deb-src entry for the Debian archive"
    as_root sh -c 'sed -n "/^URIs:/p;/^Suites:/p;/^Components:/p;/^Signed-By:/p" \
        /etc/apt/sources.list.d/debian.sources | awk "/^URIs:/ && n++ {exit} {print}" |
        { echo "Types: deb-src"; cat; } > /etc/apt/sources.list.d/huimingfang-src.sources'
    as_root apt-get update -qq
}

# Unpacks Debian's source package $1 into the cache once; prints the folder.
windows_source() {
    mkdir -p "$HMF_WINDOWS_CACHE/src"
    dir=$(find "$HMF_WINDOWS_CACHE/src" -mindepth 1 -maxdepth 1 -type d -name "$2" | head -n 1)
    if [ -z "$dir" ]; then
        windows_deb_src >&2
        (cd "$HMF_WINDOWS_CACHE/src" && apt-get source -qq "$1" >&2)
        dir=$(find "$HMF_WINDOWS_CACHE/src" -mindepth 1 -maxdepth 1 -type d -name "$2" | head -n 1)
    fi
    echo "$dir"
}

# ERFA (the astronomy under the lunar calendar) as a static library: its C files compiled
# directly, which is all its autotools build does (less erfaversion.c, which wants autotools'
# config.h and which nothing here calls).
windows_erfa() {
    [ -f "$HMF_WINDOWS_PREFIX/lib/liberfa.a" ] && return 0
    src=$(windows_source erfa 'erfa-*')
    echo "== building ERFA for Windows from $(basename "$src")"
    obj=$HMF_WINDOWS_CACHE/erfa-build
    rm -rf "$obj" && mkdir -p "$obj" "$HMF_WINDOWS_PREFIX/lib" "$HMF_WINDOWS_PREFIX/include"
    find "$src/src" -name '*.c' ! -name 't_*' ! -name erfaversion.c | xargs -P "$HMF_JOBS" -I{} sh -c \
        'x86_64-w64-mingw32-gcc-posix -O2 -c "$1" -o "$2/$(basename "$1" .c).o"' _ {} "$obj"
    x86_64-w64-mingw32-ar rcs "$HMF_WINDOWS_PREFIX/lib/liberfa.a" "$obj"/*.o
    cp "$src"/src/erfa*.h "$HMF_WINDOWS_PREFIX/include/"
}

# GoogleTest from the sources Debian ships in libgtest-dev.
windows_gtest() {
    [ -f "$HMF_WINDOWS_PREFIX/lib/libgtest.a" ] && return 0
    echo "== building GoogleTest for Windows"
    cmake -S /usr/src/googletest -B "$HMF_WINDOWS_CACHE/gtest-build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$HMF_ROOT/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$HMF_WINDOWS_PREFIX" -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON >/dev/null
    cmake --build "$HMF_WINDOWS_CACHE/gtest-build" -j "$HMF_JOBS"
    cmake --install "$HMF_WINDOWS_CACHE/gtest-build" >/dev/null
}
