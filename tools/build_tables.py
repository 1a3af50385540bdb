#!/usr/bin/env python3
"""Builds the character tables in data/ from open sources.

Inputs: the Unihan files and CJKRadicals.txt of the Unicode Character Database, OpenCC's
character map dumped to text (STCharacters), the readings pinyin-pro gives every GBK
character (tools/pinyin-readings.mjs), and the name dictionary's five-element classes
(tools/name-dictionary).  tools/build-tables.sh runs the whole chain.
Outputs (GBK): gridstrokes.txt, strokegroups.txt, generalstrokes.txt, traditional.txt,
elements.txt, pinyin.txt, pinyin-fallback.txt, surnames.txt (from pinyin-pro's surname mode,
tools/surname-readings.mjs).
"""

import argparse
import bz2
import os
import sys
import unicodedata

from tsvrows import records

ELEMENT_FILE_ORDER = ["土", "木", "火", "水", "金"]

# Kangxi radicals whose meaning settles the element of a character.
RADICAL_ELEMENT = {
    85: "水", 15: "水", 173: "水", 195: "水",  # 水 氵, 冫, 雨, 魚
    86: "火", 72: "火",  # 火 灬, 日
    75: "木", 140: "木", 118: "木", 115: "木", 119: "木",  # 木, 艸, 竹, 禾, 米
    32: "土", 46: "土", 112: "土", 102: "土", 170: "土",  # 土, 山, 石, 田, 阜
    167: "金", 96: "金",  # 金 钅, 玉 王
}

# The five sounds by the initial of the modern reading.
SOUND_ELEMENT = {
    "b": "水", "p": "水", "m": "水", "f": "水",  # lip sounds
    "d": "火", "t": "火", "n": "火", "l": "火",  # tongue sounds
    # molar sounds, with the palatalised j q x
    "g": "木", "k": "木", "j": "木", "q": "木", "x": "木",
    # tooth sounds
    "z": "金", "c": "金", "s": "金", "zh": "金", "ch": "金", "sh": "金", "r": "金",
    "h": "土", "y": "土", "w": "土", "": "土",  # throat sounds and no initial
}

GRID_ITEMS_PER_LINE = 20
GROUP_LINE_END = "\n"


def fail(message):
    print(f"build_tables: {message}", file=sys.stderr)
    sys.exit(1)


def encodable(text):
    try:
        text.encode("gbk")
        return True
    except UnicodeEncodeError:
        return False


def is_gbk_hanzi(ch):
    name = unicodedata.name(ch, "")
    return ch == "〇" or name.startswith("CJK UNIFIED IDEOGRAPH") or name.startswith(
        "CJK COMPATIBILITY IDEOGRAPH")


def gbk_hanzi():
    """(GB2312 hanzi in GB2312 order, all other GBK hanzi in GBK code order)."""
    gb2312 = []
    for b1 in range(0xB0, 0xF8):
        for b2 in range(0xA1, 0xFF):
            try:
                gb2312.append(bytes([b1, b2]).decode("gb2312"))
            except UnicodeDecodeError:
                pass  # the five empty cells at the end of row 55
    seen = set(gb2312)
    rest = []
    for b1 in range(0x81, 0xFF):
        for b2 in range(0x40, 0xFF):
            if b2 == 0x7F:
                continue
            try:
                ch = bytes([b1, b2]).decode("gbk")
            except UnicodeDecodeError:
                continue
            if len(ch) == 1 and is_gbk_hanzi(ch) and ch not in seen:
                seen.add(ch)
                rest.append(ch)
    return gb2312, rest


def read_unihan(unicode_dir, wanted):
    """{field: {character: value}} for the Unihan fields in `wanted`."""
    fields = {f: {} for f in wanted}
    for part in ("RadicalStrokeCounts", "IRGSources", "Readings", "DictionaryIndices"):
        path = os.path.join(unicode_dir, f"Unihan_{part}.txt.bz2")
        if not os.path.exists(path):
            fail(f"missing {path} (Debian package unicode-data)")
        with bz2.open(path, "rt", encoding="utf-8") as f:
            for line in f:
                if not line.startswith("U+"):
                    continue
                code, field, value = line.rstrip("\n").split("\t", 2)
                if field in fields:
                    fields[field][chr(int(code[2:], 16))] = value
    return fields


# Last radical number of each stroke group of the Kangxi radical list (1-6 have one stroke,
# 7-29 two, ... 214 seventeen).  The list's own grouping is the full-form count that name
# science uses; modern glyph counts differ for 廴 瓦 禸 骨 鬼 鼎 龜.
KANGXI_RADICAL_GROUPS = [6, 29, 60, 94, 117, 146, 166, 175, 186, 194, 200, 204, 208, 210, 211,
                         213, 214]


def radical_full_strokes(number):
    for strokes, last in enumerate(KANGXI_RADICAL_GROUPS, 1):
        if number <= last:
            return strokes
    raise ValueError(f"no Kangxi radical {number}")


def read_radical_characters(unicode_dir):
    """Kangxi radical number -> the unified ideograph of its full form (85 -> 水)."""
    characters = {}
    with open(os.path.join(unicode_dir, "CJKRadicals.txt"), encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            number, _, ideograph = [p.strip() for p in line.split(";")]
            if "'" in number:
                continue  # simplified radical forms such as 讠; Kangxi numbers never use them
            characters[int(number)] = chr(int(ideograph, 16))
    if len(characters) != 214:
        fail(f"CJKRadicals.txt gave {len(characters)} Kangxi radicals, expected 214")
    return characters


def read_opencc(path):
    """Simplified character -> its traditional candidates, first = OpenCC's default."""
    candidates = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line:
                continue
            key, values = line.split("\t", 1)
            if len(key) == 1:
                candidates[key] = values.split(" ")
    return candidates


def read_pinyin_pro(path):
    readings = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line:
                ch, values = line.split("\t", 1)
                readings[ch] = values.split(" ")
    return readings


def read_surnames(path):
    """[(surname, [syllables])] in the order of the file ("<surname>TAB<syllable> ...")."""
    entries = []
    for number, parts in records(path):
        syllables = parts[1].split() if len(parts) >= 2 else []
        if len(parts) not in (2, 3) or len(syllables) != len(parts[0]):
            fail(f"{path}:{number}: expected a surname and one syllable per character")
        entries.append((parts[0], syllables))
    return entries


def read_name_dictionary(path):
    """character -> (five-element class or "", name-science stroke count or 0)."""
    table = {}
    for number, parts in records(path):
        if (len(parts) != 3 or len(parts[0]) != 1 or parts[1] not in ELEMENT_FILE_ORDER + [""]
                or not parts[2].isdigit()):
            fail(f"{path}:{number}: expected character, element and stroke count")
        table[parts[0]] = (parts[1], int(parts[2]))
    return table


def read_components(directory):
    """character -> (strokes to add, component) from components.tsv: lines "<component>TAB<full
    count>TAB<count in the listed characters>TAB<characters>TAB<reason>"."""
    path = os.path.join(directory, "components.tsv")
    table = {}
    for number, parts in records(path):
        if (len(parts) != 5 or len(parts[0]) != 1 or not parts[1].isdigit()
                or not parts[2].isdigit() or not parts[3] or not parts[4].strip()):
            fail(f"{path}:{number}: expected component, full count, short count, "
                 "characters and reason, tab-separated")
        for ch in parts[3]:
            if ch in table:
                fail(f"{path}:{number}: {ch} listed twice")
            table[ch] = (int(parts[1]) - int(parts[2]), parts[0])
    return table


# Classes of stroke-classes.tsv whose other count is a view a parent meets in name books, shown
# beside ours as "（另有N画之说）".  The class dictionary-only holds counts that no form of the
# character gives under the radical rule: slips, not a second view.
NOTED_STROKE_CLASSES = ("numerals", "another-word", "name-traditional", "radical-itself",
                        "kangxi-form", "one-component")


def read_stroke_classes(directory):
    """character -> class from stroke-classes.tsv: lines "<class>TAB<characters>TAB<reason>"."""
    path = os.path.join(directory, "stroke-classes.tsv")
    table = {}
    for number, parts in records(path):
        if len(parts) != 3 or not parts[1] or not parts[2].strip():
            fail(f"{path}:{number}: expected class, characters and reason, tab-separated")
        for ch in parts[1]:
            if ch in table:
                fail(f"{path}:{number}: {ch} also in {table[ch]}")
            table[ch] = parts[0]
    return table


def read_overrides(directory, name, convert=str):
    """character -> value from a file of lines "<character>TAB<value>TAB<reason>"."""
    path = os.path.join(directory, name)
    table = {}
    for number, parts in records(path):
        if len(parts) != 3 or len(parts[0]) != 1 or not parts[2].strip():
            fail(f"{path}:{number}: expected character, value and reason, tab-separated")
        if parts[0] in table:
            fail(f"{path}:{number}: {parts[0]} given twice")
        try:
            table[parts[0]] = convert(parts[1])
        except ValueError:
            fail(f"{path}:{number}: bad value {parts[1]!r}")
    return table


class Builder:
    def __init__(self, args):
        self.gb2312, self.gbk_rest = gbk_hanzi()
        self.all_gbk = self.gb2312 + self.gbk_rest
        self.gb2312_set = set(self.gb2312)
        u = read_unihan(args.unicode_dir,
                        ["kRSKangXi", "kTotalStrokes", "kMandarin", "kTang", "kRSUnicode",
                         "kIRGKangXi"])
        self.rs_kangxi = u["kRSKangXi"]
        self.total = u["kTotalStrokes"]
        self.mandarin = u["kMandarin"]
        self.tang = u["kTang"]
        self.kangxi_position = u["kIRGKangXi"]
        self.radical_characters = read_radical_characters(args.unicode_dir)
        self.opencc = read_opencc(args.opencc)
        self.pinyin_pro = read_pinyin_pro(args.pinyin)
        self.dictionary = read_name_dictionary(args.dictionary)
        self.surnames = read_surnames(args.surnames)
        self.surname_override = dict(read_surnames(os.path.join(args.overrides, "surnames.tsv")))
        ov = args.overrides
        self.trad_override = read_overrides(ov, "traditional.tsv")
        self.grid_override = read_overrides(ov, "gridstrokes.tsv", int)
        self.general_override = read_overrides(ov, "generalstrokes.tsv", int)
        self.element_override = read_overrides(ov, "elements.tsv")
        self.components = read_components(ov)
        self.stroke_classes = read_stroke_classes(ov)
        self.pinyin_override = read_overrides(ov, "pinyin.tsv", str.split)
        for ch, element in self.element_override.items():
            if element not in ELEMENT_FILE_ORDER:
                fail(f"elements.tsv: {ch} has no element but {element!r}")
        self.stats = {}

    # --- strokes -------------------------------------------------------------------------
    def total_strokes(self, ch):
        value = self.total.get(ch) or self.total.get(unicodedata.normalize("NFC", ch))
        return int(value.split()[0]) if value else None

    def radical_residual(self, ch):
        value = self.rs_kangxi.get(ch)
        if value is None:
            value = self.rs_kangxi.get(unicodedata.normalize("NFC", ch))
        if value is None:
            return None
        radical, residual = value.split()[0].split(".")
        return int(radical.rstrip("'")), int(residual)

    def kangxi_count(self, ch):
        """Strokes of the radical's full form plus the residual, with a short-counted component
        made up to its full form (components.tsv).  A residual of 0 or -1 marks the radical
        itself (龜 16) or a form of it (王 4, 亻 2), which count their own strokes; without
        kRSKangXi the plain total."""
        count = self.radical_count(ch)
        if count is not None and ch in self.components:
            count += self.components[ch][0]
        return count

    def radical_count(self, ch):
        rr = self.radical_residual(ch)
        if rr is None:
            return self.total_strokes(ch)
        radical, residual = rr
        if residual <= 0:
            if unicodedata.normalize("NFC", ch) == self.radical_characters[radical]:
                return radical_full_strokes(radical)
            return self.total_strokes(ch)
        return radical_full_strokes(radical) + residual

    # --- traditional forms ---------------------------------------------------------------
    def kangxi_entry(self, ch):
        """Whether the Kangxi dictionary holds the character as an entry of its own: its page
        and place end in 0 (0610.010 沄); a 1 marks a place given to a later form (镕)."""
        value = self.kangxi_position.get(ch, "")
        return any(p.endswith("0") for p in value.split())

    def name_traditional(self, ch):
        if ch in self.trad_override:
            return self.trad_override[ch]
        # Outside GB2312 a character that Kangxi holds as an entry of its own (沄 箓 苧) is
        # counted as itself: OpenCC maps it to a form it does not need (澐 籙 薴).  Only a later
        # simplified form that Kangxi lacks (玙 镕) is counted as its traditional form.
        if ch not in self.gb2312_set and self.kangxi_entry(ch):
            return ch
        candidates = self.opencc.get(ch)
        if not candidates:
            return ch
        for candidate in candidates:
            if encodable(candidate):
                return candidate
        return ch

    def build_traditional(self):
        lines = []
        for ch in self.all_gbk:
            t = self.name_traditional(ch)
            if t != ch:
                lines.append(f"{ch}\t{t}\n")
        self.stats["traditional"] = len(lines)
        return (f"# 人名所用的繁体形式：简<TAB>繁。由 tools/build_tables.py 生成。\n"
                f"# 行数：{len(lines)}\n" + "".join(lines))

    def grid_count(self, ch):
        count = self.grid_override.get(ch)
        if count is None:
            count = self.kangxi_count(self.name_traditional(ch))
        if count is None:
            count = self.kangxi_count(ch) or self.general_override.get(ch)
        if count is None or not 1 <= count <= 99:
            fail(f"no grid count for {ch} (U+{ord(ch):04X}); add it to gridstrokes.tsv")
        return count

    def build_grid(self):
        items = []
        for ch in self.all_gbk:
            items.append(f"{ch}{self.grid_count(ch):2d} ")
        self.stats["grid"] = len(items)
        lines = ["".join(items[i:i + GRID_ITEMS_PER_LINE]).rstrip(" ") + " "
                 for i in range(0, len(items), GRID_ITEMS_PER_LINE)]
        return "\r\n".join(lines) + "\r\n\x1a"

    def display_count(self, ch):
        """The grid count, or for a character of a noted class of stroke-classes.tsv the count
        that the name dictionary gives (松 18 from 鬆, 四 5 written, 艹 6 as 艸)."""
        grid = self.grid_count(ch)
        if self.stroke_classes.get(ch) not in NOTED_STROKE_CLASSES:
            return grid
        other = self.dictionary.get(ch, ("", 0))[1]
        if not other or other == grid:
            fail(f"stroke-classes.tsv: {ch} no longer differs from the name dictionary")
        return other

    def build_groups(self):
        groups = {}
        noted = 0
        for ch in self.gb2312:
            count = self.display_count(ch)
            noted += count != self.grid_count(ch)
            groups.setdefault(count, []).append(ch)
        self.stats["groups"] = (len(groups), sum(len(v) for v in groups.values()), noted)
        return "".join(f"{n}\t{''.join(groups[n])}{GROUP_LINE_END}" for n in sorted(groups))

    def build_general(self):
        items = []
        for ch in self.all_gbk:
            count = self.general_override.get(ch, self.kangxi_count(ch))
            if count is None:
                fail(f"no stroke count for {ch} (U+{ord(ch):04X}); add it to generalstrokes.tsv")
            items.append(f"{ch}{count},")
        self.stats["general"] = len(items)
        return "".join(items)

    # --- pinyin --------------------------------------------------------------------------
    @staticmethod
    def usable(readings):
        out = []
        for r in readings:
            if r and encodable(r) and r not in out:
                out.append(r)
        return out

    def main_readings(self, ch):
        if ch in self.pinyin_override:
            return self.pinyin_override[ch]
        return self.usable(self.pinyin_pro.get(ch, []))

    def fallback_readings(self, ch):
        # Compatibility ideographs such as 郎 (U+F92C) read like the character they stand for.
        value = self.mandarin.get(ch) or self.mandarin.get(unicodedata.normalize("NFC", ch), "")
        return self.usable(value.split())

    @staticmethod
    def pinyin_items(entries):
        return "".join(ch + ",".join(readings) + "," for ch, readings in entries)

    def build_pinyin(self):
        main, fallback, missing = [], [], []
        for ch in self.all_gbk:
            readings = self.main_readings(ch)
            if readings:
                main.append((ch, readings))
                continue
            readings = self.fallback_readings(ch)
            if readings:
                fallback.append((ch, readings))
            else:
                missing.append(ch)
        self.stats["pinyin"] = (len(main), len(fallback))
        # Japanese-only characters for which no source gives a Mandarin reading.
        self.stats["pinyin_missing"] = "".join(missing)
        self.first_reading = {ch: r[0] for ch, r in main + fallback}
        return self.pinyin_items(main), self.pinyin_items(fallback)

    def build_surnames(self):
        """One line per surname: pinyin-pro's surname-mode reading, overrides first; each
        surname's name-proper traditional form reads the same."""
        readings = dict(self.surname_override)
        for surname, syllables in self.surnames:
            readings.setdefault(surname, syllables)
        for surname in list(readings):
            traditional = "".join(self.name_traditional(c) for c in surname)
            readings.setdefault(traditional, readings[surname])
        for surname, syllables in readings.items():
            if not encodable(surname + "".join(syllables)):
                fail(f"surname {surname} {' '.join(syllables)} cannot be written in GBK")
        self.stats["surnames"] = (len(self.surnames), len(self.surname_override), len(readings))
        return (f"# 姓氏的读音：姓<TAB>每字一个音节。由 tools/build_tables.py 生成。\n"
                f"# 行数：{len(readings)}\n"
                + "".join(f"{s}\t{' '.join(r)}\n" for s, r in readings.items()))

    # --- five elements -------------------------------------------------------------------
    @staticmethod
    def initial(reading):
        plain = unicodedata.normalize("NFD", reading)
        plain = "".join(c for c in plain if not unicodedata.combining(c))
        if plain[:2] in ("zh", "ch", "sh"):
            return plain[:2]
        if plain and plain[0] in "bpmfdtnlgkhjqxrzcsyw":
            return plain[0]
        return ""

    def element_by_sound(self, ch, trad):
        initial = self.initial(self.first_reading[ch])
        if initial in ("w", ""):
            # Modern w- and zero initials merge old lip sounds (文 *miən) with throat sounds
            # (王 *hiuɑng); the Tang reading tells them apart where Unihan has one.
            tang = self.tang.get(trad) or self.tang.get(ch)
            if tang and tang.lstrip("*").startswith("m"):
                return "水", "sound-tang"
        return SOUND_ELEMENT[initial], "sound"

    def element_by_rule(self, ch):
        trad = self.name_traditional(ch)
        rr = self.radical_residual(trad) or self.radical_residual(ch)
        # A residual of -1 marks a reduced form that has lost the radical's meaning (王 is no jade).
        if rr and rr[0] in RADICAL_ELEMENT and rr[1] >= 0:
            return RADICAL_ELEMENT[rr[0]], "radical"
        return self.element_by_sound(ch, trad)

    def element_of(self, ch):
        if ch in self.element_override:
            return self.element_override[ch], "override"
        element = self.dictionary.get(ch, ("", 0))[0]
        if element:
            return element, "dictionary"
        return self.element_by_rule(ch)

    def build_elements(self):
        lists = {e: [] for e in ELEMENT_FILE_ORDER}
        assigned = {}
        how = {}
        for ch in self.gb2312:
            element, reason = self.element_of(ch)
            assigned[ch] = element
            how[reason] = how.get(reason, 0) + 1
        # A traditional form outside GB2312 takes the dictionary's class where it gives one,
        # otherwise its simplified character's.
        extra = []
        for ch in self.gb2312:
            t = self.name_traditional(ch)
            if t != ch and t not in assigned:
                element = self.element_override.get(t) or self.dictionary.get(t, ("", 0))[0]
                assigned[t] = element or assigned[ch]
                extra.append(t)
        # Every other GBK character that the dictionary classes.
        for ch in self.gbk_rest:
            if ch not in assigned and self.dictionary.get(ch, ("", 0))[0]:
                assigned[ch] = self.element_override.get(ch) or self.dictionary[ch][0]
                extra.append(ch)
        for ch in self.gb2312 + extra:
            lists[assigned[ch]].append(ch)
        self.stats["elements"] = {e: len(v) for e, v in lists.items()}
        self.stats["elements_how_gb2312"] = how
        self.stats["elements_total"] = len(assigned)
        return "".join(f"{e}\t{''.join(lists[e])}\n" for e in ELEMENT_FILE_ORDER)


def write_gbk(path, text):
    with open(path, "wb") as f:
        f.write(text.encode("gbk"))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--list-gbk", action="store_true",
                        help="only print every GBK hanzi, one a line, and stop")
    parser.add_argument("--unicode-dir")
    parser.add_argument("--opencc", help="STCharacters dumped as text")
    parser.add_argument("--pinyin", help="output of pinyin-readings.mjs")
    parser.add_argument("--dictionary", help="the name dictionary (tools/name-dictionary)")
    parser.add_argument("--surnames", help="output of surname-readings.mjs")
    parser.add_argument("--overrides")
    parser.add_argument("--out")
    args = parser.parse_args()
    if args.list_gbk:
        gb2312, rest = gbk_hanzi()
        sys.stdout.write("".join(ch + "\n" for ch in gb2312 + rest))
        return
    for option in ("unicode_dir", "opencc", "pinyin", "dictionary", "surnames", "overrides",
                   "out"):
        if getattr(args, option) is None:
            parser.error(f"--{option.replace('_', '-')} is required")

    b = Builder(args)
    outputs = {
        "traditional.txt": b.build_traditional(),
        "gridstrokes.txt": b.build_grid(),
        "strokegroups.txt": b.build_groups(),
        "generalstrokes.txt": b.build_general(),
    }
    outputs["pinyin.txt"], outputs["pinyin-fallback.txt"] = b.build_pinyin()
    outputs["elements.txt"] = b.build_elements()
    outputs["surnames.txt"] = b.build_surnames()
    for name, text in outputs.items():
        write_gbk(os.path.join(args.out, name), text)
    for key, value in b.stats.items():
        print(f"{key}: {value}")


if __name__ == "__main__":
    main()
