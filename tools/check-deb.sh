#!/bin/sh
# Installs the Debian package into a clean Debian 12 system and starts both programs there: the
# package must bring every dependency with it. Needs root, debootstrap and Debian's archive.
#
#   tools/check-deb.sh build-deb/huimingfang_31.0_amd64.deb [chroot directory]
#
# The chroot (default: a fresh one under /tmp) is made with `debootstrap --variant=minbase
# bookworm` when it does not exist yet, and removed at the end when this script made it. The
# mirror is the one this machine's apt already uses (or $HMF_DEB_MIRROR when set).
set -eu
deb=$(realpath "$1")
root=${2:-}
made=""
if [ -z "$root" ]; then
    root=$(mktemp -d /tmp/hmf-deb-check.XXXXXX)
    made=$root
fi
cleanup() {
    for m in proc dev/pts dev; do umount "$root/$m" 2>/dev/null || true; done
    [ -n "$made" ] && rm -rf "$made"
}
trap cleanup EXIT
mirror=${HMF_DEB_MIRROR:-}
if [ -z "$mirror" ]; then
    # The first main-archive URI of apt's sources (deb822 or one-line form).
    mirror=$(cat /etc/apt/sources.list.d/*.sources 2>/dev/null |
        awk '$1 == "URIs:" && $2 !~ /security/ { print $2; exit }')
fi
if [ -z "$mirror" ]; then
    mirror=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
        awk '$1 == "deb" && $0 !~ /security/ { print $2; exit }')
fi
if [ -z "$mirror" ]; then
    echo "check-deb.sh: no Debian mirror found in apt's sources; set HMF_DEB_MIRROR" >&2
    exit 1
fi
if [ ! -x "$root/usr/bin/apt-get" ]; then
    debootstrap --variant=minbase bookworm "$root" "$mirror"
fi
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
mount -t proc proc "$root/proc"
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/tmp/"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "/tmp/$(basename "$deb")"

echo "--- hmf, without a display"
in_root hmf --version
in_root hmf analyse 张 明华 --birth "2019-05-05 05" | head -3
in_root hmf top 林 --sex 女 --birth "2019-05-05 05" --count 3 --json
echo "--- huimingfang, offscreen: it must start and keep running until stopped"
set +e
in_root env QT_QPA_PLATFORM=offscreen timeout 5 huimingfang 2>"$root/tmp/window.err"
code=$?
set -e
cat "$root/tmp/window.err"
# A start-up fault prints "huimingfang: …" before its message box (which would keep it running).
if [ "$code" != 124 ] || grep -q '^huimingfang:' "$root/tmp/window.err"; then
    echo "huimingfang did not start (exit code $code)" >&2
    exit 1
fi
echo "--- the package works on a clean Debian 12"
