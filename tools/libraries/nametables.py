"""The tables that judge the characters and the sound of a name, written and checked by build.py.

- levels.txt: 字<TAB>1|2|3, the level of every character of the 2013 general standard character
  table (Unihan kTGH: places 1-3500 level 1, 3501-6500 level 2, 6501-8105 level 3) that GBK can
  hold, in the table's order.
- meanings.txt: 字<TAB>男|女|中<TAB>+|0|-<TAB>meaning, from meanings.txt next to this script.
  Every library character has a line, none of them a "-" meaning, and no boys' character leans
  女 nor a girls' character 男.
- badwords.txt: 词<TAB>reading<TAB>why, from badwords.txt next to this script. A word has two to
  four characters; its reading has one syllable per character, letters a-z or ü and a tone digit
  1-5 (5 the neutral tone), and each syllable must be one of that character's readings in
  pinyin.txt (any tone for 5). No word may sound like a run of syllables in one of the common
  real names of realnames.txt, with the program's rule of likeness (see sounds_like).
All three are GBK with LF line ends; lines starting with "#" are comments, one of them
"# 行数：N", the number of rows, by which the program refuses a file cut short.
"""
import os
import re
import sys
import unicodedata

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from tsvrows import records  # noqa: E402

LEVEL_LIMITS = ((3500, 1), (6500, 2), (8105, 3))
SEXES = "男女中"
POLARITIES = "+0-"
SYLLABLE = re.compile(r"^([a-zü]+)([1-5])$")
MAX_GLOSS = 24

LEVELS_HEADER = """\
# 通用规范汉字表（2013）的级别：字<TAB>级。一级 1-3500 号，二级 3501-6500 号，三级 6501-8105 号。
# 数据取自 Unihan kTGH；表中 276 个三级字 GBK 无法书写，未列入。由 tools/libraries/build.py 生成。
"""
MEANINGS_HEADER = """\
# 取名用字的字义：字<TAB>男|女|中（今人取名的性别倾向）<TAB>+|0|-（褒义、中性、家长避用）<TAB>字义。
# 字义为本程序自撰。源文件 tools/libraries/meanings.txt，由 tools/libraries/build.py 生成。
"""
BADWORDS_HEADER = """\
# 名字应避开的谐音词：词<TAB>读音（音节以空格分隔，声调 1-5，5 为轻声，ü 照写）<TAB>原因。
# 本程序自撰。源文件 tools/libraries/badwords.txt，由 tools/libraries/build.py 生成。
"""

TONE_MARKS = {}
for base, marks in (("a", "āáǎà"), ("e", "ēéěè"), ("i", "īíǐì"), ("o", "ōóǒò"),
                    ("u", "ūúǔù"), ("ü", "ǖǘǚǜ"), ("n", " ńňǹ"), ("m", " ḿ")):
    for tone, mark in enumerate(marks, 1):
        if mark != " ":
            TONE_MARKS[mark] = (base, tone)


def numbered(reading):
    """'lǜ' -> 'lü4', 'ma' -> 'ma5'."""
    tone, letters = 5, []
    for ch in unicodedata.normalize("NFC", reading):
        if ch in TONE_MARKS:
            base, tone = TONE_MARKS[ch]
            letters.append(base)
        elif ch == "ɑ":
            letters.append("a")
        elif ch == "ɡ":
            letters.append("g")
        else:
            letters.append(ch)
    return "".join(letters) + str(tone)


def level_of(place):
    for limit, level in LEVEL_LIMITS:
        if place <= limit:
            return level
    return None


def gbk_ok(ch):
    try:
        ch.encode("gbk")
        return True
    except UnicodeEncodeError:
        return False


def read_pinyin(data):
    """Character -> its readings with tone digits, from pinyin.txt and pinyin-fallback.txt."""
    readings = {}
    for name in ("pinyin.txt", "pinyin-fallback.txt"):
        path = os.path.join(data, name)
        if not os.path.exists(path):
            continue
        with open(path, "rb") as f:
            text = f.read().decode("gbk")
        current = None
        for item in text.split(","):
            item = item.strip()
            if not item:
                continue
            if 0x3400 <= ord(item[0]) <= 0x9FFF or 0xF900 <= ord(item[0]) <= 0xFAFF:
                current, item = item[0], item[1:]
                readings.setdefault(current, [])
            if current and item:
                readings[current].append(numbered(item))
    return readings


def write_or_compare(path, text, write):
    data = text.encode("gbk")
    name = os.path.basename(path)
    if write:
        with open(path, "wb") as f:
            f.write(data)
        return []
    if not os.path.exists(path):
        return [f"{name}: missing"]
    with open(path, "rb") as f:
        if f.read() != data:
            return [f"{name}: differs from its source (run build.py)"]
    return []


def with_row_count(header, lines):
    """The table's text: its header, the count line the program checks, then the rows."""
    return header + f"# 行数：{len(lines)}\n" + "\n".join(lines) + "\n"


def build_levels(write, standard, data):
    rows = sorted((place, ch) for ch, place in standard.items())
    lines = [f"{ch}\t{level_of(place)}" for place, ch in rows if gbk_ok(ch)]
    print(f"levels.txt: {len(lines)} characters "
          f"({len(rows) - len(lines)} of level 3 left out: GBK cannot hold them)")
    return write_or_compare(os.path.join(data, "levels.txt"),
                            with_row_count(LEVELS_HEADER, lines), write)


def build_meanings(write, standard, libraries, data, here):
    name = "meanings.txt"
    problems, seen, lines = [], {}, []
    for number, fields in records(os.path.join(here, name)):
        where = f"{name}:{number}"
        if len(fields) != 4:
            problems.append(f"{where}: {len(fields)} fields, 4 expected")
            continue
        ch, sex, polarity, gloss = fields
        if len(ch) != 1 or not gbk_ok(ch) or not 0x3400 <= ord(ch) <= 0x9FFF:
            problems.append(f"{where}: '{ch}' is not one GBK Han character")
        if ch in seen:
            problems.append(f"{where}: {ch} already on line {seen[ch]}")
        seen[ch] = number
        if sex not in SEXES or len(sex) != 1:
            problems.append(f"{where}: sex '{sex}' is not one of {SEXES}")
        if polarity not in POLARITIES or len(polarity) != 1:
            problems.append(f"{where}: '{polarity}' is not one of {POLARITIES}")
        if not gloss.strip() or gloss != gloss.strip() or len(gloss) > MAX_GLOSS:
            problems.append(f"{where}: meaning empty, padded or longer than {MAX_GLOSS}")
        elif not gbk_ok(gloss):
            problems.append(f"{where}: meaning not writable in GBK")
        lines.append("\t".join(fields))
    entries = {f[0]: f for _, f in records(os.path.join(here, name)) if len(f) == 4}
    for fne, avoid in (("zmz.fne", "女"), ("zwz.fne", "男")):
        chars = libraries[fne]
        missing = [c for c in chars if c not in entries]
        if missing:
            problems.append(f"{name}: no meaning for {len(missing)} characters of {fne}: "
                            + "".join(missing))
        negative = [c for c in chars if c in entries and entries[c][2] == "-"]
        if negative:
            problems.append(f"{fne}: characters with a meaning parents avoid: " + "".join(negative))
        wrong = [c for c in chars if c in entries and entries[c][1] == avoid]
        if wrong:
            problems.append(f"{fne}: characters that lean {avoid}: " + "".join(wrong))
    count = {s: 0 for s in SEXES}
    signs = {p: 0 for p in POLARITIES}
    for f in entries.values():
        count[f[1]] = count.get(f[1], 0) + 1
        signs[f[2]] = signs.get(f[2], 0) + 1
    level3 = sum(1 for c in entries if level_of(standard.get(c, 99999)) in (3, None))
    print(f"meanings.txt: {len(entries)} characters; "
          + " ".join(f"{k} {v}" for k, v in count.items()) + "; "
          + " ".join(f"{k} {v}" for k, v in signs.items())
          + f"; {level3} outside levels 1-2")
    if not problems:
        problems += write_or_compare(os.path.join(data, name),
                                     with_row_count(MEANINGS_HEADER, lines), write)
    return problems


# Surnames read otherwise than their first reading in pinyin.txt.
SURNAME_READINGS = {"曾": "zeng1", "覃": "qin2", "单": "shan4", "解": "xie4", "仇": "qiu2",
                    "区": "ou1", "查": "zha1", "盖": "ge3", "朴": "piao2", "缪": "miao4"}


# Real names that do sound like a listed word and are flagged on purpose: 杨伟杰 holds 杨伟,
# which everyone hears as 阳痿.
KNOWN_HITS = {"杨伟杰", "杨伟民"}


def spoken(tones):
    """Tones as said: a third tone before another third tone is said as a second (网友 wǎng
    yǒu sounds like 王友 wáng yǒu)."""
    tones = list(tones)
    for i in range(len(tones) - 1):
        if tones[i] == "3" and tones[i + 1] == "3":
            tones[i] = "2"
    return tones


def sounds_like(run, word):
    """Whether a run of numbered syllables sounds like a word's, as the program judges it:
    all tones as said alike (5 matches any) a fault, other tones in three or four syllables a
    nuance (沈京兵 shěn jīng bīng, 神经病 shén jīng bìng), other tones in two syllables no
    likeness (刘基 liú jī is not 留级 liú jí)."""
    if [s[:-1] for s in run] != [s[:-1] for s in word]:
        return False
    other = sum(1 for a, b in zip(spoken(s[-1] for s in run), spoken(s[-1] for s in word))
                if a != b and a != "5" and b != "5")
    return other == 0 or len(run) >= 3


def name_runs(name, readings):
    """Every run of two to four syllables of a name, as tuples of numbered syllables."""
    sylls = []
    for i, ch in enumerate(name):
        r = readings.get(ch)
        if not r:
            return []
        sylls.append(SURNAME_READINGS.get(ch, r[0]) if i == 0 else r[0])
    return [tuple(sylls[i:j]) for i in range(len(sylls))
            for j in range(i + 2, min(len(sylls), i + 4) + 1)]


def real_names(path):
    """(line, name) of every real name: the full names, and each surname of a "姓：" line
    before each given name of a "名：" line."""
    names, surnames, given = [], [], []
    for number, fields in records(path):
        line = fields[0]
        if line.startswith("姓："):
            surnames += [(number, s) for s in line[2:].split()]
        elif line.startswith("名："):
            given += [(number, g) for g in line[2:].split()]
            names += given[-len(line[2:].split()):]
        else:
            names += [(number, n) for n in line.split()]
    names += [(number, s + g) for _, s in surnames for number, g in given]
    return names


def build_badwords(write, libraries, data, here):
    name = "badwords.txt"
    readings = read_pinyin(data)
    problems, seen, lines, toneless = [], {}, [], {}
    for number, fields in records(os.path.join(here, name)):
        where = f"{name}:{number}"
        if len(fields) != 3:
            problems.append(f"{where}: {len(fields)} fields, 3 expected")
            continue
        word, reading, why = fields
        if not 2 <= len(word) <= 4 or not all(0x3400 <= ord(c) <= 0x9FFF for c in word) \
                or not gbk_ok(word):
            problems.append(f"{where}: '{word}' is not two to four GBK Han characters")
            continue
        if word in seen:
            problems.append(f"{where}: {word} already on line {seen[word]}")
        seen[word] = number
        sylls = reading.split(" ")
        if len(sylls) != len(word):
            problems.append(f"{where}: {len(sylls)} syllables for {len(word)} characters")
            continue
        for ch, s in zip(word, sylls):
            m = SYLLABLE.match(s)
            if not m:
                problems.append(f"{where}: syllable '{s}' is not letters and a tone 1-5")
                continue
            known = readings.get(ch, [])
            if readings and not any(k == s or (s.endswith("5") and k[:-1] == m.group(1))
                                    for k in known):
                problems.append(f"{where}: {ch} is not read {s} (pinyin.txt: {' '.join(known)})")
        if not why.strip() or not gbk_ok(why):
            problems.append(f"{where}: no reason, or a reason GBK cannot write")
        toneless.setdefault(tuple(s[:-1] for s in sylls), []).append((word, sylls))
        lines.append("\t".join(fields))
    # Common real names must not sound like a word, as the program judges likeness.
    hits, names = 0, real_names(os.path.join(here, "realnames.txt"))
    for number, real in names:
        if real in KNOWN_HITS:
            continue
        for run in name_runs(real, readings):
            for word, sylls in toneless.get(tuple(s[:-1] for s in run), ()):
                if sounds_like(run, sylls):
                    hits += 1
                    problems.append(f"realnames.txt:{number}: {real} sounds like "
                                    f"{word} ({' '.join(run)})")
    print(f"badwords.txt: {len(lines)} words; "
          f"{sum(len(v) for k, v in toneless.items() if len(k) == 2)} of two syllables, "
          f"{sum(len(v) for k, v in toneless.items() if len(k) == 3)} of three, "
          f"{sum(len(v) for k, v in toneless.items() if len(k) == 4)} of four; "
          f"{len(names)} real names checked, hit: {hits}")
    if not problems:
        problems += write_or_compare(os.path.join(data, name),
                                     with_row_count(BADWORDS_HEADER, lines), write)
    return problems


def build_all(write, standard, libraries, data, here, from_unihan=True):
    # Without Unihan, levels.txt itself is the reference and cannot be rebuilt.
    problems = build_levels(write, standard, data) if from_unihan else []
    problems += build_meanings(write, standard, libraries, data, here)
    problems += build_badwords(write, libraries, data, here)
    # Every library character within levels 1-2 (build.py refuses others before this point).
    for fne, chars in libraries.items():
        outside = [c for c in chars if level_of(standard.get(c, 99999)) not in (1, 2)]
        if outside:
            problems.append(f"{fne}: outside levels 1-2: " + "".join(outside))
    return problems
