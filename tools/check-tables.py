#!/usr/bin/env python3
"""Checks the generated character tables: GBK encoding, exact item formats, the counts, elements
and readings that the program promises, coverage, and one element list per character.

Usage: check-tables.py [DATA_DIR]   (default: the data/ folder next to tools/)
Exit status 0 when every check holds; otherwise every failure is listed on stderr.
"""

import bz2
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from build_tables import (NOTED_STROKE_CLASSES, gbk_hanzi, read_name_dictionary,  # noqa: E402
                          read_overrides, read_stroke_classes)
from tsvrows import records  # noqa: E402

TOOLS = os.path.dirname(os.path.abspath(__file__))
UNICODE_DIR = os.environ.get("UNICODE_DIR", "/usr/share/unicode")
DICTIONARY = os.path.join(TOOLS, "name-dictionary", "name-dictionary.tsv")
OVERRIDES = os.path.join(TOOLS, "overrides")

GRID_EXPECTED = {
    "刘": 15, "陈": 16, "国": 11, "爱": 13, "宝": 20, "王": 4, "李": 7, "张": 11,
    "明": 8, "华": 14, "伟": 11, "芳": 10, "丽": 19, "强": 12, "哎": 8, "海": 11,
    "振": 11, "情": 12, "猛": 12, "祥": 11, "裕": 13, "玲": 10, "郭": 15, "胡": 11,
    "道": 16, "罗": 20, "成": 7, "及": 4, "健": 11, "敬": 13, "林": 8, "子": 3,
    "涵": 12, "德": 15, "文": 4,
    "一": 1, "二": 2, "三": 3, "四": 4, "五": 5, "六": 6, "七": 7, "八": 8,
    "九": 9, "十": 10,
    "百": 6, "千": 3, "万": 15,
    # A component counts the same in every character.
    "暑": 13, "署": 15, "著": 15, "都": 16, "诸": 16, "储": 18, "节": 15, "鲫": 20, "即": 9,
    "慨": 15, "既": 11, "嘅": 14, "搜": 14, "嫂": 13,
    "余": 7, "范": 11, "于": 3, "后": 6, "郁": 13, "台": 5, "党": 10, "种": 9, "朴": 6,
}
# The other count that name books give beside ours (another word's form, written strokes, a
# radical's full form); elsewhere the grid count.
GROUP_EXPECTED = {"松": 18, "范": 15, "姜": 19, "钟": 20, "丑": 17, "才": 4, "四": 5, "十": 2,
                  "即": 7, "千": 3, "万": 15, "刘": 15, "周": 8, "国": 11}
# Characters outside GB2312 that Kangxi holds as entries of their own count as themselves, not
# as the form OpenCC maps them to (澐 籙 薴 虆 樧 縕 蒕 憖).
OWN_FORM_EXPECTED = {"沄": 8, "箓": 14, "苧": 11, "蔂": 17, "榝": 14, "緼": 15, "蒀": 15, "慭": 15}
GENERAL_EXPECTED = {"劉": 15, "龜": 16, "衛": 15, "东": 5, "萬": 15}
TRADITIONAL_EXPECTED = {"刘": "劉", "张": "張", "国": "國", "华": "華", "万": "萬"}
TRADITIONAL_KEPT = "余范于后郁台党种朴丑强"
ELEMENT_EXPECTED = {"文": "水", "自": "火", "又": "土", "林": "木",
                    "海": "水", "鑫": "金", "炎": "火", "坤": "土"}
PINYIN_EXPECTED = {"长": "cháng", "行": "xíng", "曾": "céng", "朝": "zhāo", "冠": "guàn"}
SURNAME_EXPECTED = {
    "曾": "zēng", "单": "shàn", "解": "xiè", "区": "ōu", "仇": "qiú", "朴": "piáo", "查": "zhā",
    "盖": "gě", "种": "chóng", "缪": "miào", "召": "shào", "员": "yùn", "折": "shé", "乐": "yuè",
    "任": "rén", "尉迟": "yù chí", "万俟": "mò qí", "单于": "chán yú", "澹台": "tán tái",
    "长孙": "zhǎng sūn", "單": "shàn",
}
ELEMENT_ORDER = ["土", "木", "火", "水", "金"]
TONED = "āáǎàēéěèīíǐìōóǒòūúǔùǘǚǜüêɑɡńňḿ"
READING = re.compile(f"^[a-z{TONED}]+$")


def kangxi_entries():
    """Characters that Kangxi holds as entries of their own (kIRGKangXi place ending in 0), or
    None without Unihan."""
    path = os.path.join(UNICODE_DIR, "Unihan_IRGSources.txt.bz2")
    if not os.path.exists(path):
        return None
    entries = set()
    with bz2.open(path, "rt", encoding="utf-8") as f:
        for line in f:
            if "\tkIRGKangXi\t" in line:
                code, _, value = line.rstrip("\n").split("\t")
                if any(p.endswith("0") for p in value.split()):
                    entries.add(chr(int(code[2:], 16)))
    return entries


class Checker:
    def __init__(self, data_dir):
        self.data_dir = data_dir
        self.failures = []
        self.gb2312, rest = gbk_hanzi()
        self.gbk = self.gb2312 + rest
        self.gbk_set = set(self.gbk)
        self.gb2312_set = set(self.gb2312)
        self.grid_overridden = read_overrides(OVERRIDES, "gridstrokes.tsv", int)
        self.dictionary = read_name_dictionary(DICTIONARY)
        self.libraries = self.library_characters()

    def library_characters(self):
        chars = set()
        for name in ("zmz.fne", "zwz.fne"):
            path = os.path.join(self.data_dir, name)
            if os.path.exists(path):
                chars |= {line.strip() for line in self.read(name).split("\n") if line.strip()}
        return sorted(chars)

    def agreement(self, what, table, column):
        """Share of GB2312 and library characters on which `table` gives the dictionary's value."""
        parts = []
        for label, chars in (("GB2312", self.gb2312), ("libraries", self.libraries)):
            given = [c for c in chars if self.dictionary.get(c, ("", 0))[column]]
            same = sum(table.get(c) == self.dictionary[c][column] for c in given)
            parts.append(f"{label} {same}/{len(given)} = {100 * same / max(len(given), 1):.1f}%")
        print(f"{what} agreeing with the name dictionary: " + ", ".join(parts))

    def fail(self, message):
        self.failures.append(message)

    def read(self, name):
        with open(os.path.join(self.data_dir, name), "rb") as f:
            raw = f.read()
        try:
            return raw.decode("gbk")
        except UnicodeDecodeError as e:
            self.fail(f"{name}: not GBK at byte {e.start}")
            return raw.decode("gbk", errors="replace")

    def rows(self, name, text):
        """The rows of a table of ours (its "#" comment lines left out), checked against the
        "# 行数：N" line of its header, numbered by their line in the file."""
        lines = text.split("\n")[:-1]
        stated = [l for l in lines if l.startswith("# 行数：")]
        rows = [(n, l) for n, l in enumerate(lines, 1) if not l.startswith("#")]
        if len(stated) != 1 or not stated[0][len("# 行数："):].isdigit():
            self.fail(f"{name}: needs one '# 行数：N' line")
        elif int(stated[0][len("# 行数："):]) != len(rows):
            self.fail(f"{name}: {len(rows)} rows, its count line says {stated[0]}")
        return rows

    def expect(self, name, table, expected):
        for ch, value in expected.items():
            if table.get(ch) != value:
                self.fail(f"{name}: {ch} is {table.get(ch)!r}, expected {value!r}")

    def coverage(self, name, keys, wanted, label):
        missing = [ch for ch in wanted if ch not in keys]
        if missing:
            self.fail(f"{name}: {len(missing)} {label} missing, e.g. {''.join(missing[:20])}")
        return len(wanted) - len(missing)

    def check_grid(self):
        name = "gridstrokes.txt"
        text = self.read(name)
        if not text.endswith("\r\n\x1a"):
            self.fail(f"{name}: does not end with CR LF and 0x1A")
        body = text[:-3].replace("\r\n", "")
        table, position = {}, 0
        item = re.compile(r"(.)(\d\d| \d|\d ) ")
        while position < len(body):
            m = item.match(body, position)
            if not m or m.group(1) not in self.gbk_set:
                self.fail(f"{name}: bad item at {body[position:position + 5]!r}")
                break
            table.setdefault(m.group(1), int(m.group(2).strip()))
            position = m.end()
        if any(not 1 <= v <= 99 for v in table.values()):
            self.fail(f"{name}: count out of range")
        first = body[:len(self.gb2312) * 4:4]
        if first != "".join(self.gb2312):
            self.fail(f"{name}: does not start with GB2312 in GB2312 order")
        self.expect(name, table, GRID_EXPECTED)
        self.expect(name, table, OWN_FORM_EXPECTED)
        n = self.coverage(name, table, self.gbk, "GBK hanzi")
        print(f"{name}: {len(table)} characters, {n} of {len(self.gbk)} GBK hanzi")
        return table

    def check_stroke_classes(self, grid):
        """Every GB2312 or library character whose grid count differs from the dictionary's
        stands in one class of stroke-classes.tsv, and every listed character still differs."""
        path = os.path.join(OVERRIDES, "stroke-classes.tsv")
        listed = {}
        for number, parts in records(path):
            if len(parts) != 3 or not parts[1] or not parts[2].strip():
                self.fail(f"stroke-classes.tsv:{number}: expected class, characters, reason")
                continue
            for ch in parts[1]:
                if ch in listed:
                    self.fail(f"stroke-classes.tsv:{number}: {ch} also in {listed[ch]}")
                listed[ch] = parts[0]
        counts = {}
        for ch in dict.fromkeys(self.gb2312 + self.libraries):
            theirs = self.dictionary.get(ch, ("", 0))[1]
            differs = theirs > 0 and grid.get(ch) != theirs
            if differs and ch not in listed:
                self.fail(f"gridstrokes.txt: {ch} is {grid.get(ch)}, the name dictionary "
                          f"{theirs}, and stroke-classes.tsv gives no class")
            elif ch in listed and not differs:
                self.fail(f"stroke-classes.tsv: {ch} ({listed[ch]}) no longer differs")
            elif differs:
                counts[listed[ch]] = counts.get(listed[ch], 0) + 1
        self.agreement("grid counts", grid, 1)
        print("grid counts differing by class: "
              + ", ".join(f"{k} {v}" for k, v in counts.items()))

    def check_own_forms(self, grid, general, traditional):
        """Outside GB2312 a grid count that is not the character's own comes from the traditional
        form that traditional.txt shows, and only for a character that Kangxi does not hold as an
        entry of its own (checked against Unihan kIRGKangXi where unicode-data is installed)."""
        entries = kangxi_entries()
        wrong = []
        for ch in self.gbk:
            if ch in self.gb2312_set:
                continue
            form = traditional.get(ch, ch)
            if grid.get(ch) != general.get(form) and ch not in self.grid_overridden:
                self.fail(f"gridstrokes.txt: {ch} is {grid.get(ch)}, but its form {form} "
                          f"counts {general.get(form)}")
            if form != ch and entries is not None and ch in entries:
                wrong.append(ch)
        if wrong:
            self.fail(f"traditional.txt: {len(wrong)} characters that Kangxi holds as entries of "
                      f"their own take another form, e.g. {''.join(wrong[:20])}")
        if entries is None:
            print("traditional.txt: Unihan not found, Kangxi entries not checked")

    def check_groups(self, grid):
        name = "strokegroups.txt"
        text = self.read(name)
        table, last = {}, 0
        for number, line in enumerate(text.split("\n")[:-1], 1):
            m = re.fullmatch(r"(\d+)\t(\S+)", line)
            if not m:
                self.fail(f"{name}:{number}: not '<count>TAB<characters>'")
                continue
            count = int(m.group(1))
            if count <= last:
                self.fail(f"{name}:{number}: counts not ascending")
            last = count
            for ch in m.group(2):
                if ch not in self.gbk_set:
                    self.fail(f"{name}:{number}: {ch!r} is not a GBK hanzi")
                table[ch] = count  # the last group wins
        if not text.endswith("\n"):
            self.fail(f"{name}: last line has no line end")
        self.expect(name, table, GROUP_EXPECTED)
        classes = read_stroke_classes(OVERRIDES)
        for ch, count in table.items():
            noted = classes.get(ch) in NOTED_STROKE_CLASSES
            if noted and count != self.dictionary.get(ch, ("", 0))[1]:
                self.fail(f"{name}: {ch} ({classes[ch]}) is {count}, not the name dictionary's")
            elif not noted and count != grid.get(ch):
                self.fail(f"{name}: {ch} is {count}, not its grid count {grid.get(ch)}")
        n = self.coverage(name, table, self.gb2312, "GB2312 hanzi")
        print(f"{name}: {len(table)} characters in {text.count(chr(10))} groups, "
              f"{n} of {len(self.gb2312)} GB2312")
        return table

    def check_general(self):
        name = "generalstrokes.txt"
        text = self.read(name)
        table = {}
        if not text.endswith(","):
            self.fail(f"{name}: does not end with ','")
        for index, piece in enumerate(text.split(",")[:-1]):
            m = re.fullmatch(r"(.)(\d+)", piece)
            if not m or m.group(1) not in self.gbk_set:
                self.fail(f"{name}: bad item {index}: {piece!r}")
                continue
            table.setdefault(m.group(1), int(m.group(2)))
        self.expect(name, table, GENERAL_EXPECTED)
        n = self.coverage(name, table, self.gbk, "GBK hanzi")
        print(f"{name}: {len(table)} characters, {n} of {len(self.gbk)} GBK hanzi")
        return table

    def check_traditional(self):
        name = "traditional.txt"
        text = self.read(name)
        table = {}
        for number, line in self.rows(name, text):
            m = re.fullmatch(r"(.)\t(.)", line)
            if not m or m.group(1) not in self.gbk_set or m.group(1) == m.group(2):
                self.fail(f"{name}:{number}: bad line {line!r}")
                continue
            if m.group(1) in table:
                self.fail(f"{name}:{number}: {m.group(1)} twice")
            table[m.group(1)] = m.group(2)
        self.expect(name, table, TRADITIONAL_EXPECTED)
        for ch in TRADITIONAL_KEPT:
            if ch in table:
                self.fail(f"{name}: {ch} must keep its form in names, not become {table[ch]}")
        gb = sum(ch in self.gb2312_set for ch in table)
        print(f"{name}: {len(table)} characters change, {gb} of them GB2312")
        return table

    def check_elements(self, traditional):
        name = "elements.txt"
        text = self.read(name)
        lines = text.split("\n")
        if lines[-1] != "" or len(lines) != 6:
            self.fail(f"{name}: expected exactly five lines")
        table, counts = {}, {}
        for number, line in enumerate(lines[:5], 1):
            element, _, chars = line.partition("\t")
            wanted_element = ELEMENT_ORDER[number - 1]
            if element != wanted_element:
                self.fail(f"{name}:{number}: list {element!r}, expected {wanted_element}")
            counts[element] = len(chars)
            for ch in chars:
                if ch in table:
                    self.fail(f"{name}: {ch} stands in {table[ch]} and {element}")
                if ch not in self.gbk_set:
                    self.fail(f"{name}: {ch!r} is not a GBK hanzi")
                table[ch] = element
        self.expect(name, table, ELEMENT_EXPECTED)
        # The dictionary's class stands wherever it gives one, except for a listed override.
        overrides = read_overrides(OVERRIDES, "elements.tsv")
        differ = [ch for ch, e in table.items()
                  if self.dictionary.get(ch, ("", 0))[0] not in ("", e) and ch not in overrides]
        if differ:
            self.fail(f"{name}: {len(differ)} characters differ from the name dictionary without "
                      f"an override, e.g. {''.join(differ[:20])}")
        self.agreement("elements", table, 0)
        forms = {traditional[ch] for ch in self.gb2312 if ch in traditional}
        wanted = self.gb2312 + sorted(forms - self.gb2312_set)
        n = self.coverage(name, table, wanted, "GB2312 or traditional characters")
        print(f"{name}: {len(table)} characters ({n} of {len(wanted)} wanted), "
              + ", ".join(f"{e} {counts.get(e, 0)}" for e in ELEMENT_ORDER))

    def parse_pinyin(self, name):
        text = self.read(name)
        table = {}
        if text and not text.endswith(","):
            self.fail(f"{name}: does not end with ','")
        current = None
        for piece in text.split(",")[:-1]:
            if piece and piece[0] in self.gbk_set:
                current, reading = piece[0], piece[1:]
                table.setdefault(current, reading)
            elif current is None:
                self.fail(f"{name}: reading {piece!r} before any character")
                continue
            else:
                reading = piece
            if not READING.match(reading):
                self.fail(f"{name}: {current} has a bad reading {reading!r}")
        return table

    def check_pinyin(self):
        main = self.parse_pinyin("pinyin.txt")
        fallback = self.parse_pinyin("pinyin-fallback.txt")
        self.expect("pinyin.txt", main, PINYIN_EXPECTED)
        both = set(main) & set(fallback)
        if both:
            self.fail("pinyin-fallback.txt: repeats main-table characters "
                      + "".join(sorted(both)))
        gb_missing = [ch for ch in self.gb2312 if ch not in main]
        if gb_missing:
            self.fail(f"pinyin.txt: GB2312 without reading: {''.join(gb_missing)}")
        unread = [ch for ch in self.gbk if ch not in main and ch not in fallback]
        print(f"pinyin.txt: {len(main)} characters; pinyin-fallback.txt: {len(fallback)}; "
              f"GBK hanzi without any reading: {len(unread)} {''.join(unread)}")

    def check_surnames(self):
        name = "surnames.txt"
        text = self.read(name)
        table = {}
        for number, line in self.rows(name, text):
            surname, _, reading = line.partition("\t")
            syllables = reading.split(" ")
            if (not 1 <= len(surname) <= 2 or any(c not in self.gbk_set for c in surname)
                    or len(syllables) != len(surname)
                    or not all(READING.match(s) for s in syllables)):
                self.fail(f"{name}:{number}: not '<surname>TAB<one syllable per character>'")
                continue
            if surname in table:
                self.fail(f"{name}:{number}: {surname} twice")
            table[surname] = reading
        if not text.endswith("\n"):
            self.fail(f"{name}: last line has no line end")
        self.expect(name, table, SURNAME_EXPECTED)
        print(f"{name}: {len(table)} surnames, "
              f"{sum(len(s) == 2 for s in table)} of them compound")

    def run(self):
        grid = self.check_grid()
        self.check_stroke_classes(grid)
        self.check_groups(grid)
        general = self.check_general()
        traditional = self.check_traditional()
        self.check_own_forms(grid, general, traditional)
        self.check_elements(traditional)
        self.check_pinyin()
        self.check_surnames()
        for message in self.failures:
            print(f"check-tables: {message}", file=sys.stderr)
        return 1 if self.failures else 0


def main():
    default = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")
    data_dir = sys.argv[1] if len(sys.argv) > 1 else default
    sys.exit(Checker(data_dir).run())


if __name__ == "__main__":
    main()
