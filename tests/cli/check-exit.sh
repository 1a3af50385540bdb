#!/bin/sh
# Runs a command and checks how it refuses bad input: its exit code, a text its stderr must hold
# (and no more than a few lines, no raw control character), and for a refusal nothing at all on
# stdout. A case expecting exit 0 finds its text on stdout or stderr.
#
# Usage: check-exit.sh <exit code> <text on stderr> <command> [arguments...]
# An argument naming a fixture (@empty, @badgbk ...), or ending in "=@fixture", is replaced by
# the path of that fixture, made fresh in a scratch directory.
set -u
expected=$1
needle=$2
shift 2

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

gbk() { printf '%s' "$1" | iconv -f UTF-8 -t GBK; }

# A data directory that links to the shipped tables, less the files named.
data_copy() {
    dir=$scratch/$1
    shift
    mkdir -p "$dir"
    for f in "$HMF_DATA_DIR"/*; do ln -s "$(cd "$(dirname "$f")" && pwd)/$(basename "$f")" "$dir/"; done
    for f in "$@"; do rm -f "$dir/$f"; done
    printf '%s' "$dir"
}

fixture() {
    f=$scratch/$1
    case $1 in
    empty) : >"$f" ;;
    blank) printf '\r\n  \r\n\r\n' >"$f" ;;
    badgbk) { gbk '明'; printf '\n\377\377\n'; } >"$f" ;;
    truncated) { gbk '明'; printf '\n\303'; } >"$f" ;;
    twochars) { gbk '明'; printf '\n'; gbk '明华'; printf '\n'; } >"$f" ;;
    latin) printf 'ab\n' >"$f" ;;
    symbol) gbk '★' >"$f" ;;
    outside) gbk '龘' >"$f" ;;
    hugeline) gbk '明' | awk '{ s = $0; for (i = 0; i < 19; ++i) s = s s; printf "%s", s }' >"$f" ;;
    utf8) printf '明\n华\n' >"$f" ;;
    dir) mkdir -p "$f" ;;
    fifo) mkfifo "$f" ;;
    hugefile) gbk '明' | awk '{ for (i = 0; i < 600000; ++i) print $0 }' >"$f" ;;
    badlibs)
        f=$(data_copy badlibs zmz.fne zwz.fne)
        printf 'ab\n' >"$f/zmz.fne"
        printf 'ab\n' >"$f/zwz.fne" ;;
    longarg) head -c 131000 /dev/zero | tr '\0' 9 && return ;;
    escape) printf '\001\033[31mX' && return ;;
    control) printf '\001' && return ;;
    missing) ;;
    nolibs) f=$(data_copy nolibs zmz.fne zwz.fne) ;;
    nodata) f=$scratch/nodata ;;
    damaged)
        f=$(data_copy damaged gridstrokes.txt)
        { gbk '啊16 '; printf '\r\n'; gbk '阿1x '; } >"$f/gridstrokes.txt" ;;
    notables) f=$(data_copy notables luck81.txt) ;;
    shortpinyin)
        f=$(data_copy shortpinyin pinyin.txt)
        cp "$HMF_DATA_DIR/pinyin-fallback.txt" "$f/pinyin.txt" ;;
    hugetable)
        f=$(data_copy hugetable elements.txt)
        head -c 10000000 /dev/zero | tr '\0' a >"$f/elements.txt" ;;
    badcities)
        f=$(data_copy badcities cities.txt)
        { gbk '# 行数：1'; printf '\r\nx\r\n'; } >"$f/cities.txt" ;;
    noverse) f=$(data_copy noverse verse.txt) ;;
    badverse)
        f=$(data_copy badverse verse.txt)
        { gbk '# 行数：2'; printf '\r\n'; gbk '书'; printf '\t'; gbk '诗经'; printf '\r\n'
          gbk '静女其姝。'; printf '\r\n'; } >"$f/verse.txt" ;;
    shortverse)
        f=$(data_copy shortverse verse.txt)
        { gbk '# 行数：3'; printf '\r\n'; gbk '书'; printf '\t'; gbk '诗经'; printf '\r\n'
          gbk '篇'; printf '\t'; gbk '静女'; printf '\t\r\n'
          gbk '静女其姝，俟我于城隅。'; printf '\r\n'; } >"$f/verse.txt" ;;
    escgroups)
        f=$(data_copy escgroups strokegroups.txt)
        { printf '1\t\033'; gbk '一'; printf '\r\n'; } >"$f/strokegroups.txt" ;;
    badutf8) printf '\377\376' && return ;;
    halfchar) printf '\351\246' && return ;; # the first two bytes of 香 (香港)
    emptyarg) return ;;
    *) echo "unknown fixture @$1" >&2 && exit 1 ;;
    esac
    printf '%s' "$f"
}

# Rebuild the argument list with fixtures in place.
count=$#
i=0
while [ $i -lt "$count" ]; do
    arg=$1
    shift
    case $arg in
    @*) arg=$(fixture "${arg#@}") ;;
    *=@*) arg="${arg%%=@*}=$(fixture "${arg#*=@}")" ;;
    esac
    set -- "$@" "$arg"
    i=$((i + 1))
done

"$@" >"$scratch/out" 2>"$scratch/err"
code=$?
status=0
if [ "$code" != "$expected" ]; then
    echo "exit code $code, expected $expected" >&2
    status=1
fi
# A refusal's reason is on stderr (its stdout stays empty); a success may answer on stdout.
if ! cat "$scratch/err" "$scratch/out" | grep -qF -- "$needle"; then
    echo "output lacks: $needle" >&2
    status=1
fi
# One clear message, not a flood (the usage list is the longest).
if [ "$(wc -c <"$scratch/err")" -gt 4096 ]; then
    echo "stderr holds $(wc -c <"$scratch/err") bytes" >&2
    status=1
fi
# What the user typed comes back escaped: no control character but the line end reaches stderr.
if LC_ALL=C grep -q "$(printf '[\001-\011\013-\037\177]')" "$scratch/err"; then
    echo "stderr holds a raw control character" >&2
    status=1
fi
if [ "$expected" = 0 ] && [ ! -s "$scratch/out" ]; then
    echo "nothing on stdout" >&2
    status=1
fi
if [ "$expected" != 0 ] && [ -s "$scratch/out" ]; then
    echo "a refused command wrote to stdout:" >&2
    head -c 300 "$scratch/out" >&2
    status=1
fi
if [ $status != 0 ]; then
    echo "--- stderr of: $*" >&2
    head -c 2000 "$scratch/err" >&2
fi
exit $status
