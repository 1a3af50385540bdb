#!/bin/sh
# Installs what building, running and testing need on Debian 12 (as root, or through sudo).
set -e
packages="build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev libgtest-dev
libgmock-dev libbenchmark-dev liberfa-dev fonts-noto-cjk xvfb xauth xdotool python3 time
python3-jsonschema desktop-file-utils appstream dpkg-dev file qt6-translations-l10n poppler-utils"
# For the benchmarks only: Debian's table-based lunar calendar, which tools/bench-all.sh times
# against ours. Building and testing do without it, so failing to install it stops nothing.
optional="liblunar-date-dev"
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
missing=""
for p in $packages; do
    installed "$p" || missing="$missing $p"
done
missingOptional=""
for p in $optional; do
    installed "$p" || missingOptional="$missingOptional $p"
done
[ -z "$missing$missingOptional" ] && exit 0
if [ "$(id -u)" = 0 ]; then sudo=""; else sudo="sudo"; fi
$sudo apt-get update -qq
[ -z "$missing" ] || DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
[ -z "$missingOptional" ] ||
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missingOptional ||
    echo "setup-debian: $missingOptional not installed; the benchmarks skip that comparison" >&2
