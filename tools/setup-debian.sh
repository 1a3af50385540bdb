#!/bin/sh
# Installs what building, running and testing need on Debian 12 (as root, or through sudo).
set -e
packages="build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev libgtest-dev
libgmock-dev libbenchmark-dev liberfa-dev fonts-noto-cjk xvfb xauth xdotool python3 time
python3-jsonschema desktop-file-utils appstream dpkg-dev file qt6-translations-l10n poppler-utils"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" = 0 ]; then sudo=""; else sudo="sudo"; fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
