#!/usr/bin/env python3
"""Builds data/names.txt, the name base: given names parents give or would gladly give today,
each with its sex lean, a short 寓意 in our own words and, where it has one, its source.

Sources: tools/namebase/names-*.tsv (UTF-8; "#" starts a comment line). One entry a line:
    名字<TAB>男|女|中<TAB>寓意<TAB>出处
出处 is empty, "《书名·篇名》原句" with the line as the text has it (《诗经·周南·关雎》窈窕淑女，
君子好逑。), or "成语：XXXX".

Checks on every entry (a rejected line is reported as file:line: why and left out):
- one to three characters, each within levels 1-2 of the general standard table (levels.txt),
  with a grid stroke count (gridstrokes.txt), no particle (之 兮 以 …), none of the blocklist
  of the libraries (tools/libraries/blocklist.txt) nor of our rare or odd characters
  (tools/namebase/avoid.txt), none whose meaning parents avoid (meanings.txt "-");
- 性别 one of 男 女 中; 寓意 present, one line, at most 30 characters, writable in GBK;
- the name on its own sounds like no word of tools/libraries/badwords.txt with the same tones
  (after one of the common surnames of realnames.txt "姓：" it is kept with a warning: the
  program flags it after that surname, 杨伟);
- a name given twice keeps its first line; two lines of other sexes make it 中.
A source from a book of the chinese-poetry package (诗经 楚辞 论语 孟子 大学 中庸 唐诗 宋诗 宋词 元曲
…, see BOOKS) must quote, as the book has it after OpenCC t2s, a passage of a piece whose title
matches the 篇名, and the passage must hold every character of the name; an idiom must hold them
too. A source that fails, or from a book the package does not hold, is dropped with a warning;
the name stays. What was verified is kept in tools/namebase/verified.txt, so the build gives the
same file without the package (it then trusts that list).

Second output: data/namepairs.txt, the two-character given names known to hold together
without being in the base: the given names of tools/libraries/realnames.txt (秀英, 学森) and
the pairs of characters that stand side by side in a line of data/verse.txt, both characters
from the character libraries (zmz.fne, zwz.fne), neither a particle. One pair a line, sorted
by GBK bytes, after the same kind of header and count line.

Output: data/names.txt, GBK, LF, "#" header lines (the last "# 名字数：N"), one entry a line
sorted by length and then by the name's GBK bytes.
Usage: build.py [--check]   (--check compares with the committed files and writes nothing)
"""
import glob
import json
import os
import re
import subprocess
import sys
import unicodedata

sys.dont_write_bytecode = True  # the check runs as a test: leave the source tree as it is
HERE = os.path.dirname(os.path.abspath(__file__))
TOOLS = os.path.dirname(HERE)
ROOT = os.path.dirname(TOOLS)
DATA = os.path.join(ROOT, "data")
LIBRARIES = os.path.join(TOOLS, "libraries")
PACKAGE = os.path.join(TOOLS, "node_modules", "chinese-poetry", "dist")
CACHE = os.path.join(HERE, ".cache")
VERIFIED = os.path.join(HERE, "verified.txt")
sys.path.insert(0, LIBRARIES)
sys.path.insert(0, TOOLS)
from nametables import numbered, read_pinyin  # noqa: E402
from tsvrows import records  # noqa: E402

PARTICLES = set("之兮以尔其而于乎也焉矣哉")
COMPOUND_SURNAMES = ("欧阳", "司马", "上官", "诸葛", "东方", "慕容", "司徒", "令狐", "皇甫", "尉迟")
SEXES = ("男", "女", "中")
MAX_MEANING = 30

HEADER = """\
# 名字库：名<TAB>男|女|中（性别倾向）<TAB>寓意<TAB>出处（可空：《书名·篇名》原句，或 成语：XXXX）。
# 名字经人工审读，寓意为本程序自撰；诗文出处经 chinese-poetry 2.0.1 核对（繁体经 OpenCC t2s）。
# 源文件 tools/namebase/names-*.tsv，由 tools/namebase/build.py 生成。
"""

PAIRS_HEADER = """\
# 两字名的已知搭配：常见真实人名的名，以及古诗词（verse.txt）中相邻、都在字库里的两个字。
# 名字库之外的两字名，两字见于此表即视为意思相连。由 tools/namebase/build.py 生成。
"""

# Book name in a source -> files of the package that hold it (globs under dist/).
BOOKS = {
    "诗经": ["shijing/shijing.json"],
    "楚辞": ["chuci/chuci.json"],
    "论语": ["lunyu/lunyu.json"],
    "孟子": ["sishuwujing/mengzi.json"],
    "大学": ["sishuwujing/daxue.json"],
    "中庸": ["sishuwujing/zhongyong.json"],
    "唐诗": ["quantangshi/poet.tang.*.json", "mengxue/tangshisanbaishou.json"],
    "宋诗": ["quantangshi/poet.song.*.json"],
    "宋词": ["songci/ci.song.*.json", "songci/宋词三百首.json"],
    "元曲": ["yuanqu/yuanqu.json"],
    "花间集": ["wudaishici/huajianji/*.json"],
    "南唐词": ["wudaishici/nantang/*.json"],
    "纳兰词": ["nalanxingde/*.json"],
    "曹操诗": ["caocaoshiji/*.json"],
    "千字文": ["mengxue/qianziwen.json"],
    "古文观止": ["mengxue/guwenguanzhi.json"],
    "声律启蒙": ["mengxue/shenglvqimeng.json"],
    "幼学琼林": ["mengxue/youxueqionglin.json"],
    "增广贤文": ["mengxue/zengguangxianwen.json"],
}
SOURCE = re.compile(r"^《([^》·]+)((?:·[^》·]+)*)》(.+)$")
IDIOM = re.compile(r"^成语：([\u4e00-\u9fff]{4,8})$")


def is_han(ch):
    return "\u4e00" <= ch <= "\u9fff" or "\u3400" <= ch <= "\u4dbf"


def han_only(text):
    return "".join(ch for ch in text if is_han(ch))


def gbk_ok(text):
    try:
        text.encode("gbk")
        return True
    except UnicodeEncodeError:
        return False


def read_gbk(name):
    with open(os.path.join(DATA, name), "rb") as f:
        return f.read().decode("gbk")


def table_lines(name):
    return [line for line in read_gbk(name).splitlines() if line and not line.startswith("#")]


def character_list(path):
    """Han characters of a list file ("#" starts a comment)."""
    chars = set()
    with open(path, encoding="utf-8") as f:
        for line in f:
            chars.update(ch for ch in line.split("#", 1)[0] if is_han(ch))
    return chars


class Tables:
    """What the checks need from data/ and tools/libraries/."""

    def __init__(self):
        self.levels = dict(line.split("\t") for line in table_lines("levels.txt"))
        self.grid = set(re.findall(r"([\u3400-\u9fff])[ 0-9]{2} ", read_gbk("gridstrokes.txt")))
        self.avoided = {}
        for line in table_lines("meanings.txt"):
            ch, _, polarity, _ = line.split("\t")
            if polarity == "-":
                self.avoided[ch] = True
        self.blocked = character_list(os.path.join(LIBRARIES, "blocklist.txt"))
        self.odd = character_list(os.path.join(HERE, "avoid.txt"))
        self.readings = read_pinyin(DATA)
        self.surnames = self.common_surnames()
        # Toneless syllables -> (tones, word) of every bad word.
        self.badwords = {}
        for _, fields in records(os.path.join(LIBRARIES, "badwords.txt")):
            word, reading = fields[0], fields[1].split(" ")
            key = tuple(s[:-1] for s in reading)
            self.badwords.setdefault(key, []).append((tuple(s[-1] for s in reading), word))

    def common_surnames(self):
        readings = {}
        for line in table_lines("surnames.txt"):
            surname, sylls = line.split("\t")
            readings[surname] = [numbered(s) for s in sylls.split(" ")]
        surnames = []
        for _, fields in records(os.path.join(LIBRARIES, "realnames.txt")):
            if fields[0].startswith("姓："):
                for s in fields[0][2:].split():
                    sylls = readings.get(s) or [self.reading(ch) for ch in s]
                    if all(sylls):
                        surnames.append((s, sylls))
        return surnames

    def reading(self, ch):
        r = self.readings.get(ch)
        return r[0] if r else None

    def sound_alike(self, name):
        """A bad word the name sounds like with the same tones, alone or after a common
        surname, as (surname, word); None when there is none."""
        given = [self.reading(ch) for ch in name]
        if not all(given):
            return None
        for surname, sylls in [("", [])] + self.surnames:
            full = sylls + given
            for i in range(len(full)):
                for j in range(max(i + 2, len(sylls) + 1), min(len(full), i + 4) + 1):
                    run = full[i:j]
                    for tones, word in self.badwords.get(tuple(s[:-1] for s in run), ()):
                        if all(t == "5" or t == s[-1] for t, s in zip(tones, run)):
                            return surname, word
        return None


def character_problem(ch, tables):
    if ch in PARTICLES:
        return f"{ch} is a particle"
    if ch in tables.blocked:
        return f"{ch} is on the libraries' blocklist"
    if ch in tables.odd:
        return f"{ch} is rare or odd in a name (avoid.txt)"
    if tables.levels.get(ch) not in ("1", "2"):
        return f"{ch} is outside levels 1-2 of the general standard table"
    if ch not in tables.grid:
        return f"{ch} has no grid stroke count"
    if ch in tables.avoided:
        return f"{ch} has a meaning parents avoid (meanings.txt)"
    return None


class Corpus:
    """The books of the chinese-poetry package, simplified, read when a source needs them."""

    def __init__(self):
        self.available = os.path.isdir(PACKAGE)
        self.books = {}

    def pieces(self, book):
        """[(title, text of the piece with Han characters only)] of a book."""
        if book not in self.books:
            self.books[book] = self.load(book)
        return self.books[book]

    def load(self, book):
        cache = os.path.join(CACHE, book + ".json")
        if os.path.exists(cache):
            with open(cache, encoding="utf-8") as f:
                return [tuple(p) for p in json.load(f)]
        raw = []
        for pattern in BOOKS[book]:
            for path in sorted(glob.glob(os.path.join(PACKAGE, pattern))):
                if os.path.basename(os.path.dirname(path)) == "error":
                    continue
                with open(path, encoding="utf-8") as f:
                    collect(json.load(f), "", raw)
        # One opencc run for the whole book: titles and texts alternate, one a line.
        flat = "\n".join(t.replace("\n", "") for pair in raw for t in pair) + "\n"
        out = subprocess.run(["opencc", "-c", "t2s.json"], input=flat.encode("utf-8"),
                             stdout=subprocess.PIPE, check=True).stdout.decode("utf-8")
        lines = out.split("\n")
        pieces = [(lines[2 * i], lines[2 * i + 1]) for i in range(len(raw))]
        os.makedirs(CACHE, exist_ok=True)
        with open(cache, "w", encoding="utf-8") as f:
            json.dump(pieces, f, ensure_ascii=False)
        return pieces


def collect(node, title, out):
    """Appends (title, Han text) of every piece below node: a dict with lines in
    paragraphs/para/content (a list of texts), titled by title, rhythmic or chapter."""
    if isinstance(node, list):
        for item in node:
            collect(item, title, out)
        return
    if not isinstance(node, dict):
        return
    own = node.get("title") or node.get("rhythmic") or node.get("chapter") or title
    if node.get("section") and not node.get("title"):
        own = node["section"]
    for key in ("paragraphs", "para", "content"):
        value = node.get(key)
        if isinstance(value, list) and value and all(isinstance(v, str) for v in value):
            out.append((own, han_only("".join(value))))
        elif isinstance(value, (list, dict)):
            collect(value, own, out)


def verify_source(name, source, corpus):
    """(source kept or "", warning or None)."""
    if not source:
        return "", None
    idiom = IDIOM.match(source)
    if idiom:
        missing = [ch for ch in name if ch not in idiom.group(1)]
        if missing:
            return "", f"idiom {idiom.group(1)} lacks {''.join(missing)}: source dropped"
        return source, None
    m = SOURCE.match(source)
    if not m:
        return "", f"source '{source}' is neither 《书名·篇名》原句 nor 成语：XXXX: dropped"
    book, parts, quote = m.group(1), m.group(2), m.group(3)
    passage = han_only(quote)
    missing = [ch for ch in name if ch not in passage]
    if missing:
        return "", f"the quoted line lacks {''.join(missing)}: source dropped"
    if book not in BOOKS:
        return "", f"《{book}》 is not in the verse corpus, so it cannot be checked: source dropped"
    if not corpus.available:
        return "", "chinese-poetry is not installed and the source is not in verified.txt: dropped"
    title = han_only(parts.split("·")[-1]) if parts else ""
    found_under = None
    for piece_title, text in corpus.pieces(book):
        if passage in text:
            plain = han_only(piece_title)
            if not title or title in plain or (plain and plain in title):
                return source, None
            found_under = found_under or piece_title
    if found_under:
        return "", f"the line stands in 《{found_under}》, not 《{title}》: source dropped"
    return "", f"the line is not in {book}: source dropped"


def read_entries(tables):
    """(entries by name, rejections, warnings); an entry is [name, sex, meaning, source, where]."""
    entries, rejected, warnings = {}, [], []
    for path in sorted(glob.glob(os.path.join(HERE, "names-*.tsv"))):
        file = os.path.relpath(path, ROOT)
        for number, fields in records(path):
            where = f"{file}:{number}"
            fields = [unicodedata.normalize("NFC", f.strip()) for f in fields]
            while len(fields) < 4:
                fields.append("")
            if len(fields) != 4:
                rejected.append(f"{where}: {len(fields)} fields, 4 expected")
                continue
            name, sex, meaning, source = fields
            why = entry_problem(name, sex, meaning, tables)
            if why:
                rejected.append(f"{where}: {name}: {why}")
                continue
            # After one surname only, the program flags the name for that surname (杨伟).
            hit = tables.sound_alike(name)
            if hit:
                warnings.append(f"{where}: {hit[0]}{name} sounds like {hit[1]}: "
                                f"kept, flagged after {hit[0]}")
            if name in entries:
                first = entries[name]
                if first[1] != sex:
                    warnings.append(f"{where}: {name} also on {first[4]} as {first[1]}: "
                                    "kept as 中")
                    first[1] = "中"
                else:
                    warnings.append(f"{where}: {name} already on {first[4]}: kept the first")
                if not first[3] and source:
                    first[3] = source
                continue
            entries[name] = [name, sex, meaning, source, where]
    return entries, rejected, warnings


def entry_problem(name, sex, meaning, tables):
    if not 1 <= len(name) <= 3 or not all(is_han(ch) for ch in name):
        return "a name is one to three Han characters"
    for ch in name:
        why = character_problem(ch, tables)
        if why:
            return why
    if sex not in SEXES:
        return f"sex '{sex}' is not one of {' '.join(SEXES)}"
    if not meaning:
        return "no 寓意"
    if len(meaning) > MAX_MEANING:
        return f"寓意 of {len(meaning)} characters, at most {MAX_MEANING}"
    if not gbk_ok(meaning):
        return "寓意 not writable in GBK"
    hit = tables.sound_alike(name)
    if hit and not hit[0]:
        return f"{name} sounds like {hit[1]}"
    return None


def read_verified():
    verified = set()
    if os.path.exists(VERIFIED):
        with open(VERIFIED, encoding="utf-8") as f:
            verified = {line.rstrip("\n") for line in f if line.strip() and line[0] != "#"}
    return verified


def known_pairs(tables):
    """Two-character given names of real names and side-by-side library characters of verse."""
    pairs = set()
    for _, fields in records(os.path.join(LIBRARIES, "realnames.txt")):
        line = fields[0]
        if line.startswith("姓："):
            continue
        given = line[2:].split() if line.startswith("名：") else \
            [n[2:] if n[:2] in COMPOUND_SURNAMES else n[1:] for n in line.split()]
        pairs.update(g for g in given if len(g) == 2)
    library = set()
    for fne in ("zmz.fne", "zwz.fne"):
        library.update(ch for ch in read_gbk(fne) if is_han(ch))
    library -= PARTICLES
    for line in read_gbk("verse.txt").splitlines():
        if line.startswith(("#", "书\t", "篇\t")):
            continue
        pairs.update(a + b for a, b in zip(line, line[1:])
                     if a in library and b in library and a != b)
    return sorted((p for p in pairs if all(tables.levels.get(c) in ("1", "2") for c in p)),
                  key=lambda p: p.encode("gbk"))


def compare_or_write(path, data, write):
    if write:
        with open(path, "wb") as f:
            f.write(data)
        return []
    if not os.path.exists(path):
        return [f"{os.path.relpath(path, ROOT)}: missing"]
    with open(path, "rb") as f:
        if f.read() != data:
            return [f"{os.path.relpath(path, ROOT)}: differs from its sources (run build.py)"]
    return []


def main():
    write = "--check" not in sys.argv[1:]
    tables = Tables()
    corpus = Corpus()
    entries, rejected, warnings = read_entries(tables)
    verified = read_verified()
    now_verified = set()
    for entry in entries.values():
        name, _, _, source, where = entry
        if not source:
            continue
        if not corpus.available and f"{name}\t{source}" in verified:
            now_verified.add(f"{name}\t{source}")
            continue
        kept, warning = verify_source(name, source, corpus)
        entry[3] = kept
        if warning:
            warnings.append(f"{where}: {name}: {warning}")
        if kept and not IDIOM.match(kept):
            now_verified.add(f"{name}\t{kept}")
    for line in rejected:
        print("rejected: " + line)
    for line in warnings:
        print("warning: " + line)
    ordered = sorted(entries.values(), key=lambda e: (len(e[0]), e[0].encode("gbk")))
    rows = ["\t".join(e[:4]) for e in ordered]
    # The count lets the program tell a whole table from one cut short.
    text = HEADER + f"# 名字数：{len(rows)}\n" + "".join(row + "\n" for row in rows)
    problems = compare_or_write(os.path.join(DATA, "names.txt"), text.encode("gbk"), write)
    pairs = known_pairs(tables)
    problems += compare_or_write(
        os.path.join(DATA, "namepairs.txt"),
        (PAIRS_HEADER + f"# 搭配数：{len(pairs)}\n" + "".join(p + "\n" for p in pairs)).encode("gbk"),
        write)
    print(f"namepairs.txt: {len(pairs)} known pairs")
    if corpus.available:
        listing = "# 已核对的诗文出处（名<TAB>出处），供无 chinese-poetry 时重建。由 build.py 写出。\n"
        listing += "".join(line + "\n" for line in sorted(now_verified))
        problems += compare_or_write(VERIFIED, listing.encode("utf-8"), write)
    count = {(n, s): 0 for n in (1, 2, 3) for s in SEXES}
    for e in ordered:
        count[(len(e[0]), e[1])] += 1
    for n in (1, 2, 3):
        print(f"{n} character(s): 男 {count[(n, '男')]}, 女 {count[(n, '女')]}, "
              f"中 {count[(n, '中')]}")
    with_source = sum(1 for e in ordered if e[3])
    print(f"names.txt: {len(ordered)} names, {with_source} with a source; "
          f"{len(rejected)} lines rejected, {len(warnings)} warnings"
          + ("" if corpus.available else " (sources taken from verified.txt)"))
    for p in problems:
        print(p, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
