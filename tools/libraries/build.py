#!/usr/bin/env python3
"""Write the character libraries data/zmz.fne (boys) and data/zwz.fne (girls), the tables that
judge a name's characters and sound (data/meanings.txt, data/badwords.txt, data/levels.txt), and
check them together.

Sources (UTF-8, next to this script): boys.txt, girls.txt — themed lists, one theme per block,
"#" starts a comment, blanks are ignored; blocklist.txt — characters that never enter a library.
Output: GBK, one character per line, "\r\n" line ends, no blank lines.

Checks: every entry is one Han character, encodable in GB2312, within the first 6,500 entries of
the 2013 general standard character table (Unihan kTGH, so none is rare), not in the blocklist,
not listed twice in its source. When the program's tables exist in data/, every character must
also have a grid count, a display count, an element and a pinyin reading.

meanings.txt and badwords.txt (UTF-8 sources next to this script, same lines as the output) are
checked and written to data/ as GBK; levels.txt is written from Unihan kTGH. See nametables.py.

Usage: build.py [--check]   (--check only verifies the existing files in data/)
Environment: UNIHAN_DIR (default /usr/share/unicode, Debian package unicode-data).
"""
import bz2
import os
import re
import sys

sys.dont_write_bytecode = True  # the check runs as a test: leave the source tree as it is
import nametables  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
DATA = os.path.join(ROOT, "data")
UNIHAN_DIR = os.environ.get("UNIHAN_DIR", "/usr/share/unicode")
LIBRARIES = (("boys.txt", "zmz.fne"), ("girls.txt", "zwz.fne"))
MINIMUM = 500
COMMON_LIMIT = 6500  # levels 1 and 2 of the general standard table
LEVEL_ONE = 3500


def is_han(ch):
    return 0x4E00 <= ord(ch) <= 0x9FFF


def read_source(name):
    """Characters of a source list in order; exits on a stray symbol."""
    chars = []
    path = os.path.join(HERE, name)
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.split("#", 1)[0]
            for ch in "".join(line.split()):
                if not is_han(ch):
                    sys.exit(f"{name}:{number}: '{ch}' is not a Han character")
                chars.append((ch, number))
    return chars


def read_blocklist():
    blocked = set()
    with open(os.path.join(HERE, "blocklist.txt"), encoding="utf-8") as f:
        for line in f:
            blocked.update(ch for ch in line.split("#", 1)[0] if is_han(ch))
    return blocked


def standard_table_index(check_only):
    """Code point -> place in the 2013 general standard character table, and whether it came
    from Unihan. Without Unihan a check falls back on data/levels.txt (first place of the level)."""
    index = {}
    for name in ("Unihan_OtherMappings.txt.bz2", "Unihan_OtherMappings.txt"):
        path = os.path.join(UNIHAN_DIR, name)
        if not os.path.exists(path):
            continue
        opener = bz2.open if name.endswith(".bz2") else open
        with opener(path, "rt", encoding="utf-8") as f:
            for line in f:
                if "\tkTGH\t" in line:
                    code, _, value = line.rstrip("\n").split("\t")
                    index[chr(int(code[2:], 16))] = int(value.split(":")[1])
        return index, True
    levels = decode_gbk_file("levels.txt")
    if not check_only or levels is None:
        sys.exit(f"Unihan not found in {UNIHAN_DIR} (install unicode-data or set UNIHAN_DIR)")
    first_place = {"1": 1, "2": LEVEL_ONE + 1, "3": COMMON_LIMIT + 1}
    for line in levels.splitlines():
        if line and not line.startswith("#"):
            ch, level = line.split("\t")
            index[ch] = first_place[level]
    return index, False


def check_source(name, chars, blocked, standard):
    problems, seen = [], {}
    for ch, number in chars:
        where = f"{name}:{number}: {ch}"
        if ch in seen:
            problems.append(f"{where} already on line {seen[ch]}")
            continue
        seen[ch] = number
        try:
            ch.encode("gb2312")
        except UnicodeEncodeError:
            problems.append(f"{where} is not in GB2312")
        if ch in blocked:
            problems.append(f"{where} is on the blocklist")
        place = standard.get(ch)
        if place is None or place > COMMON_LIMIT:
            problems.append(f"{where} is rare (standard table place {place})")
    if len(seen) < MINIMUM:
        problems.append(f"{name}: {len(seen)} characters, at least {MINIMUM} needed")
    return problems


def decode_gbk_file(name):
    path = os.path.join(DATA, name)
    if not os.path.exists(path):
        return None
    with open(path, "rb") as f:
        return f.read().decode("gbk")


def program_tables():
    """Characters known to each table the program reads, or None when a table is missing."""
    texts = {n: decode_gbk_file(n) for n in
             ("gridstrokes.txt", "strokegroups.txt", "generalstrokes.txt", "elements.txt",
              "pinyin.txt", "pinyin-fallback.txt")}
    if any(texts[n] is None for n in ("gridstrokes.txt", "strokegroups.txt", "elements.txt",
                                      "pinyin.txt")):
        return None
    tables = {}
    # gridstrokes.txt: items "字NN " — a character followed by a two-character count field.
    grid = texts["gridstrokes.txt"]
    tables["grid count"] = {m.group(1) for m in re.finditer(r"([\u3400-\u9fff])[ 0-9]{2} ", grid)}
    # strokegroups.txt: "<count>\t<characters>" per line; generalstrokes.txt backs it up.
    display = set()
    for line in texts["strokegroups.txt"].splitlines():
        display.update(ch for ch in line.partition("\t")[2] if is_han(ch))
    if texts["generalstrokes.txt"]:
        display.update(re.findall(r"([\u3400-\u9fff])\d+,", texts["generalstrokes.txt"]))
    tables["display count"] = display
    elements = {}
    for line in texts["elements.txt"].splitlines():
        element, _, chars = line.partition("\t")
        elements.update((ch, element) for ch in chars if is_han(ch))  # the last list wins
    tables["element"] = elements
    # pinyin: items separated by ","; an item that begins with a Han character starts its entry.
    readings = set()
    for text in (texts["pinyin.txt"], texts["pinyin-fallback.txt"] or ""):
        for item in text.split(","):
            item = item.strip()
            if len(item) > 1 and is_han(item[0]):
                readings.add(item[0])
    tables["pinyin"] = readings
    return tables


def check_written(fne, expected):
    text = decode_gbk_file(fne)
    problems = []
    if text is None:
        return [f"{fne}: missing"]
    lines = text.split("\r\n")
    if lines and lines[-1] == "":
        lines.pop()
    if "\n" in "".join(lines) or "\r" in "".join(lines):
        problems.append(f"{fne}: stray line break")
    if any(len(l) != 1 for l in lines):
        problems.append(f"{fne}: a line that is not exactly one character")
    if len(set(lines)) != len(lines):
        problems.append(f"{fne}: duplicates")
    if expected is not None and lines != expected:
        problems.append(f"{fne}: differs from its source (run build.py)")
    return problems


def main():
    write = "--check" not in sys.argv[1:]
    blocked = read_blocklist()
    standard, from_unihan = standard_table_index(not write)
    tables = program_tables()
    problems = []
    libraries = {}
    for source, fne in LIBRARIES:
        chars = read_source(source)
        problems += check_source(source, chars, blocked, standard)
        ordered = list(dict.fromkeys(ch for ch, _ in chars))
        libraries[fne] = ordered
        level_two = [ch for ch in ordered if standard.get(ch, 0) > LEVEL_ONE]
        print(f"{fne}: {len(ordered)} characters, {len(level_two)} from level 2: "
              + "".join(level_two))
    if problems:
        for p in problems:
            print(p, file=sys.stderr)
        return 1
    for fne, ordered in libraries.items():
        if write:
            with open(os.path.join(DATA, fne), "wb") as f:
                f.write(("\r\n".join(ordered) + "\r\n").encode("gbk"))
        problems += check_written(fne, ordered)
    both = set(libraries["zmz.fne"]) & set(libraries["zwz.fne"])
    print(f"shared by both libraries: {len(both)}")
    if tables is None:
        print("program tables not all present in data/: coverage not checked")
    else:
        for fne, ordered in libraries.items():
            for what, known in tables.items():
                missing = [ch for ch in ordered if ch not in known]
                if missing:
                    problems.append(f"{fne}: no {what} for {''.join(missing)}")
        if not problems:
            print("every library character has a grid count, display count, element and pinyin")
        for fne, ordered in libraries.items():
            counts = {e: 0 for e in "金木水火土"}
            for ch in ordered:
                if ch in tables["element"]:
                    counts[tables["element"][ch]] += 1
            print(f"{fne} by element: " + " ".join(f"{e} {n}" for e, n in counts.items()))
    problems += nametables.build_all(write, standard, libraries, DATA, HERE, from_unihan)
    for p in problems:
        print(p, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
