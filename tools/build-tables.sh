#!/bin/sh
# Rebuilds every character table in data/ from the open sources and checks the result.
# Needs: unicode-data, opencc (opencc_dict) and libopencc-data from Debian, python3, node and
# npm (pinyin-pro is installed into tools/node_modules at the version that package-lock.json pins).
set -e
tools=$(cd "$(dirname "$0")" && pwd)
data="$tools/../data"
unicode_dir=${UNICODE_DIR:-/usr/share/unicode}
opencc_dir=${OPENCC_DIR:-/usr/share/opencc}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

[ -d "$tools/node_modules/pinyin-pro" ] || (cd "$tools" && npm ci --no-audit --no-fund)

opencc_dict -i "$opencc_dir/STCharacters.ocd2" -o "$work/st.txt" -f ocd2 -t text
python3 "$tools/build_tables.py" --list-gbk > "$work/gbk.txt"
node "$tools/pinyin-readings.mjs" < "$work/gbk.txt" > "$work/pinyin.txt"
node "$tools/surname-readings.mjs" > "$work/surnames.txt"
python3 "$tools/build_tables.py" --unicode-dir "$unicode_dir" --opencc "$work/st.txt" \
    --pinyin "$work/pinyin.txt" \
    --dictionary "$tools/name-dictionary/name-dictionary.tsv" --surnames "$work/surnames.txt" \
    --overrides "$tools/overrides" --out "$data"
python3 "$tools/check-tables.py" "$data"
