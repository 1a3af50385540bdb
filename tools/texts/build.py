#!/usr/bin/env python3
"""Build the reference texts in data/ from the UTF-8 sources beside this script.

  luck81.txt (source)  -> data/luck81.txt      the 81-number table
  tips.txt (source)    -> data/tips.txt        the naming tips
  (generated)          -> data/sexagenary.txt  stem and branch elements of the 60 pairs

The data files are GBK with "\\r\\n" line ends and no line end after the last line.
Every output is checked before anything is written; on a fault the script prints what is
wrong on stderr, writes nothing and exits with 1. With --check it writes nothing and only
reports whether the files in data/ are up to date.

The luck source holds one record per block of six lines (title, verdict, 基业, 家庭, 健康,
含义), blocks separated by one empty line.
"""

import argparse
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
DATA = HERE.parent.parent / "data"

RECORD_SEPARATOR = "*******"
FIELD_SEPARATOR = "---"

VERDICTS = {
    "吉": [1, 3, 5, 6, 7, 8, 11, 13, 15, 16, 21, 23, 24, 31, 32, 33, 35, 37, 41, 45,
          47, 48, 52, 57, 61, 63, 65, 67, 68, 81],
    "半吉": [17, 18, 25, 29, 30, 38, 39, 51, 58, 71, 73, 75, 77, 78],
    "凶": [2, 4, 9, 10, 12, 14, 19, 20, 22, 26, 27, 28, 34, 36, 40, 42, 43, 44, 46, 49,
          50, 53, 54, 55, 56, 59, 60, 62, 64, 66, 69, 70, 72, 74, 76, 79, 80],
}
VERDICT_COUNTS = {"吉": 30, "半吉": 14, "凶": 37}

RECORD_17 = ["第17数理", "半吉", "天官、将星、威武、艺术、文昌。", "可望圆满，女性能涵养女德则贤慧。",
             "身心健康，可望长寿。"]
RECORD_17_MEANING_START = "权威刚强，意志坚定，勇往直前"

MEANING_MIN, MEANING_MAX = 20, 130

STEM_ELEMENTS = "木木火火土土金金水水"        # 甲 乙 丙 丁 戊 己 庚 辛 壬 癸
BRANCH_ELEMENTS = "水土木木土火火土金金土水"  # 子 丑 寅 卯 辰 巳 午 未 申 酉 戌 亥
SEXAGENARY_EXPECTED = {1: "木,水,", 2: "木,土,", 5: "土,土,", 11: "木,土,", 12: "木,水,",
                       60: "水,水,"}

FIELD_NAMES = ["数理", "吉凶", "基业", "家庭", "健康", "含义"]


class Faults:
    def __init__(self):
        self.messages = []

    def add(self, where, message):
        self.messages.append(f"{where}: {message}")

    def check(self, condition, where, message):
        if not condition:
            self.add(where, message)


def read_source(name):
    text = (HERE / name).read_text(encoding="utf-8")
    return text.replace("\r\n", "\n")


def check_gbk(text, where, faults):
    # GB2312 is the core of GBK that every GBK decoder maps alike; symbols outside it (such
    # as an en dash) are where codecs disagree, so the texts keep to it.
    for i, ch in enumerate(text):
        try:
            ch.encode("gb2312")
        except UnicodeEncodeError:
            faults.add(where, f"character U+{ord(ch):04X} at offset {i} is outside GB2312")


def build_luck(faults):
    source = read_source("luck81.txt").strip("\n")
    blocks = source.split("\n\n")
    where = "luck81.txt"
    faults.check(len(blocks) == 81, where, f"{len(blocks)} records, expected 81")

    verdict_of = {n: v for v, numbers in VERDICTS.items() for n in numbers}
    assert sorted(verdict_of) == list(range(1, 82))

    records = []
    seen = {}  # (field index, text) -> record number, for texts that must not repeat
    counts = {v: 0 for v in VERDICT_COUNTS}
    for k, block in enumerate(blocks, start=1):
        at = f"{where} record {k}"
        fields = block.split("\n")
        if len(fields) != 6:
            faults.add(at, f"{len(fields)} fields, expected 6")
            continue
        records.append(fields)
        title, verdict, career, family, health, meaning = fields
        faults.check(title == f"第{k}数理", at, f"title {title!r}, expected '第{k}数理'")
        faults.check(verdict == verdict_of.get(k), at,
                     f"verdict {verdict!r}, expected {verdict_of.get(k)!r}")
        if verdict in counts:
            counts[verdict] += 1
        for i, field in enumerate(fields):
            name = FIELD_NAMES[i]
            faults.check(field != "", at, f"{name} is empty")
            faults.check(field == field.strip(), at, f"{name} has blanks at an end")
            faults.check(FIELD_SEPARATOR not in field and "*" not in field, at,
                         f"{name} holds a separator")
            if i >= 2:
                faults.check(field[-1:] == "。", at, f"{name} does not end in '。'")
                key = (i, field)
                if key in seen:
                    faults.add(at, f"{name} repeats the text of record {seen[key]}")
                seen.setdefault(key, k)
        terms = career[:-1].split("、")
        faults.check(len(terms) >= 2 and all(1 <= len(t) <= 4 for t in terms), at,
                     "基业 is not a list of short terms separated by '、'")
        faults.check(not family.startswith("：") and not health.startswith("："), at,
                     "a field begins with '：'")
        faults.check(MEANING_MIN <= len(meaning) <= MEANING_MAX, at,
                     f"含义 has {len(meaning)} characters, expected {MEANING_MIN}..{MEANING_MAX}")

    faults.check(counts == VERDICT_COUNTS, where, f"verdict counts {counts}, expected "
                 f"{VERDICT_COUNTS}")
    if len(records) >= 17:
        r17 = records[16]
        faults.check(r17[:5] == RECORD_17, where, f"record 17 reads {r17[:5]}")
        faults.check(r17[5].startswith(RECORD_17_MEANING_START), where,
                     "含义 of record 17 has the wrong beginning")

    text = RECORD_SEPARATOR.join(FIELD_SEPARATOR.join(r) for r in records)
    check_gbk(text, where, faults)
    return text


def build_tips(faults):
    where = "tips.txt"
    source = read_source("tips.txt")
    if source.endswith("\n"):
        source = source[:-1]
    lines = source.split("\n")
    faults.check(len(lines) == 10, where, f"{len(lines)} lines, expected 10")
    if len(lines) == 10:
        for n in (3, 6, 9):
            faults.check(lines[n - 1] == "", where, f"line {n} is not empty")
        for n in (1, 2, 5, 7, 8, 10):
            faults.check(lines[n - 1] != "", where, f"line {n} is empty")
        faults.check(lines[0].startswith("问：") and lines[1].startswith("答："), where,
                     "lines 1 and 2 are not the question and its answer")
        faults.check(lines[3] == "-" * 40 + "取名技巧" + "-" * 44, where,
                     "line 4 is not 40 '-', '取名技巧', 44 '-'")
    text = "\r\n".join(lines)
    check_gbk(text, where, faults)
    return text


def build_sexagenary(faults):
    where = "sexagenary"
    lines = [f"{STEM_ELEMENTS[(j - 1) % 10]},{BRANCH_ELEMENTS[(j - 1) % 12]},"
             for j in range(1, 61)]
    for j, expected in SEXAGENARY_EXPECTED.items():
        faults.check(lines[j - 1] == expected, where, f"line {j} is {lines[j - 1]!r}, "
                     f"expected {expected!r}")
    return "\r\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--check", action="store_true",
                        help="write nothing; fail if a file in data/ differs from its source")
    args = parser.parse_args()

    faults = Faults()
    outputs = {
        "luck81.txt": build_luck(faults),
        "tips.txt": build_tips(faults),
        "sexagenary.txt": build_sexagenary(faults),
    }
    if faults.messages:
        for message in faults.messages:
            print(message, file=sys.stderr)
        print(f"{len(faults.messages)} fault(s); nothing written", file=sys.stderr)
        return 1

    stale = []
    for name, text in outputs.items():
        data = text.encode("gbk")
        path = DATA / name
        if args.check:
            if not path.exists() or path.read_bytes() != data:
                stale.append(name)
        else:
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_bytes(data)
            print(f"data/{name}: {len(data)} bytes, {len(text)} characters")
    if stale:
        print("out of date in data/: " + ", ".join(stale) +
              " (run tools/texts/build.py)", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
