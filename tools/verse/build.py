#!/usr/bin/env python3
"""Builds data/verse.txt, the verse table behind names with a source, from the chinese-poetry
package pinned in tools/package-lock.json: 诗经, 楚辞, 唐诗三百首 and 宋词三百首, every title,
author and line in simplified characters (OpenCC t2s, with the exceptions of
t2s-exceptions.tsv), the characters that the package's 宋词三百首 lost taken back from its
全宋词, and the known slips of errata.tsv mended.

Usage: python3 tools/verse/build.py [--package DIR] [--out FILE] [--check]
Needs python3 (standard library) and Debian's opencc.
"""
import argparse
import difflib
import glob
import json
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
TOOLS = os.path.dirname(HERE)
sys.path.insert(0, TOOLS)
from tsvrows import records  # noqa: E402

AVOID = os.path.join(TOOLS, "..", "data", "verse-avoid.txt")
HEADER = """# 诗词出处表：诗经、楚辞、唐诗三百首、宋词三百首的诗句，供"出处"与按诗词取名使用。
# 由 tools/verse/build.py 从 chinese-poetry 2.0.1（MIT）生成，全部经 OpenCC t2s 转为简体，并据勘误表订正。
# 格式：以"#"开头的行为注释；"书<TAB>书名"开始一部书；"篇<TAB>标题<TAB>作者"开始一篇（作者可空）；
# 其余每行是该篇的一句（到句号、问号、叹号或分号为止）。"""

# A line ends after one of these; a couplet like 静女其姝，俟我于城隅。 stays whole.
SENTENCE_END = "。！？；"
ASCII_PUNCT = str.maketrans({"?": "？", "!": "！", ",": "，", ":": "：", ";": "；"})
# The katakana middle dot of some 宋词 tune titles (渡江云三犯・渡江云) has no GBK form.
MIDDLE_DOT = str.maketrans({"\u30fb": "·"})
# Editors' notes in the Tang book: "(明年 一作：年年)", sometimes unclosed.
NOTE = re.compile(r"\s*[（(][^）)]*(?:[）)]|$)")


def split_lines(paragraph):
    text = NOTE.sub("", paragraph).translate(ASCII_PUNCT)
    text = "".join(text.split())  # no blanks inside a line
    # 楚辞 writes a repeated character as 々 and a tune name as <激楚>.
    text = re.sub(r"(.)々", r"\1\1", text).replace("<", "《").replace(">", "》")
    lines, start = [], 0
    for i, ch in enumerate(text):
        if ch in SENTENCE_END:
            lines.append(text[start:i + 1])
            start = i + 1
    if start < len(text):
        lines.append(text[start:])
    return [line for line in lines if any(is_han(c) for c in line)]


def is_han(ch):
    return "\u4e00" <= ch <= "\u9fff" or "\u3400" <= ch <= "\u4dbf"


def opencc_t2s(texts):
    """OpenCC t2s of many short texts in one run (one text per line)."""
    joined = "\n".join(texts) + "\n"
    out = subprocess.run(["opencc", "-c", "t2s.json"], input=joined.encode("utf-8"),
                         stdout=subprocess.PIPE, check=True).stdout.decode("utf-8")
    result = out.split("\n")[:len(texts)]
    if len(result) != len(texts):
        sys.exit("opencc returned %d lines for %d" % (len(result), len(texts)))
    return result


def read_exceptions():
    """[(what t2s gives, what to show)] from t2s-exceptions.tsv."""
    path = os.path.join(HERE, "t2s-exceptions.tsv")
    out = []
    for number, parts in records(path):
        if len(parts) != 3 or len(parts[0]) != len(parts[1]) or not parts[2].strip():
            sys.exit("%s:%d: expected t2s text, text to show (as long) and reason" % (path, number))
        out.append((parts[0], parts[1]))
    return out


def t2s(texts, exceptions):
    """Simplified texts, character for character: a character whose simplified form GBK cannot
    write (駉 to 𬳶) keeps its form, and the exceptions are put right."""
    result = []
    for text, simple in zip(texts, opencc_t2s(texts)):
        if len(simple) != len(text):
            sys.exit("opencc changed the length of %r" % text)
        simple = "".join(s if gbk_ok(s) else t for t, s in zip(text, simple))
        for wrong, right in exceptions:
            simple = simple.replace(wrong, right)
        result.append(simple)
    return result


def read_errata():
    """{(kind, book, title): [(as given, standard)]} from errata.tsv."""
    path = os.path.join(HERE, "errata.tsv")
    out = {}
    for number, parts in records(path):
        if (len(parts) != 6 or parts[0] not in ("句", "作者", "题") or not all(parts[:5])
                or not parts[5].strip()):
            sys.exit("%s:%d: expected kind, book, title, text, standard text and note" % (path, number))
        out.setdefault(tuple(parts[:3]), []).append((parts[3], parts[4]))
    return out


def read_avoided(path):
    """{word: category} from data/verse-avoid.txt (GBK): lines "category<TAB>words separated by
    blanks"; "#" starts a comment."""
    with open(path, "rb") as f:
        text = f.read().decode("gbk")
    words = {}
    for number, line in enumerate(text.splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        category, _, listed = line.partition("\t")
        if not category or not listed.split():
            sys.exit("%s:%d: expected a category, a tab and words" % (path, number))
        for word in listed.split():
            if word in words:
                sys.exit("%s:%d: %s listed twice" % (path, number, word))
            words[word] = category
    return words


def restore_lost(songci, package):
    """The package's 宋词三百首 lost some rare characters (休说鲈鱼堪 for 休说鲈鱼堪鲙, 张 for 张鎡)
    that its 全宋词 keeps: a piece whose 全宋词 text differs only by such characters takes that
    text, and an author cut short takes the full name."""
    index = {}
    for path in glob.glob(os.path.join(package, "dist", "songci", "ci.song.*.json")):
        with open(path, encoding="utf-8") as f:
            for p in json.load(f):
                index.setdefault("".join(p["paragraphs"])[:6], []).append(p)
    out, restored = [], 0
    for title, author, paragraphs in songci:
        text = "".join(paragraphs)
        for full in index.get(text[:6], []):
            full_text = "".join(full["paragraphs"])
            ops = difflib.SequenceMatcher(None, text, full_text, autojunk=False).get_opcodes()
            if full_text != text and all(op in ("equal", "insert") for op, *_ in ops):
                paragraphs = full["paragraphs"]
                restored += 1
                if full["author"].startswith(author):
                    author = full["author"]
                break
        out.append((title, author, paragraphs))
    return out, restored


def load(package):
    dist = os.path.join(package, "dist")
    with open(os.path.join(dist, "shijing", "shijing.json"), encoding="utf-8") as f:
        shijing = [(p["title"], "", p["content"]) for p in json.load(f)]
    with open(os.path.join(dist, "chuci", "chuci.json"), encoding="utf-8") as f:
        chuci = [(p["title"], p.get("author") or "", p["content"]) for p in json.load(f)]
    with open(os.path.join(dist, "mengxue", "tangshisanbaishou.json"), encoding="utf-8") as f:
        tang_raw = []
        for group in json.load(f)["content"]:
            for p in group["content"]:
                # "雜詩三首·其二" names the poem of a set; "送別 / 山中送別" only lists other titles.
                sub = p.get("subchapter") or ""
                title = sub if "·" in sub and "/" not in sub else p["chapter"]
                # The chapter cuts a long title short (送李少府贬峡中王少府贬); the subchapter
                # or one of its alternatives holds it whole (…王少府贬长沙).
                for alternative in sub.split(" / "):
                    if alternative.startswith(title) and "…" not in alternative:
                        title = alternative
                tang_raw.append((title, p.get("author") or "", p["paragraphs"]))
    with open(os.path.join(dist, "songci", "宋词三百首.json"), encoding="utf-8") as f:
        songci = [(p["rhythmic"], p.get("author") or "", p["paragraphs"]) for p in json.load(f)]
    songci, restored = restore_lost(songci, package)
    books = [("诗经", shijing), ("楚辞", chuci), ("唐诗", tang_raw), ("宋词", songci)]
    # Every book through t2s in one run; the package writes 唐诗三百首 in traditional characters
    # and leaves traditional ones in the others (别後, 不胥以穀, 纷緼宜修).
    flat = []
    for _, poems in books:
        for title, author, paragraphs in poems:
            flat += [title.translate(MIDDLE_DOT), author.translate(MIDDLE_DOT)] + paragraphs
    simple = iter(t2s(flat, read_exceptions()))
    errata = read_errata()
    used = set()
    out = []
    for book, poems in books:
        converted = []
        for _, _, paragraphs in poems:
            title, author = next(simple), next(simple)
            lines = [next(simple) for _ in paragraphs]
            key = (book, title)
            for kind in ("句", "作者", "题"):
                for wrong, right in errata.get((kind,) + key, []):
                    if kind == "句":
                        hits = [i for i, line in enumerate(lines) if wrong in line]
                        for i in hits:
                            lines[i] = lines[i].replace(wrong, right)
                    else:
                        hits = [1] if (author if kind == "作者" else title) == wrong else []
                        if kind == "作者" and hits:
                            author = right
                        elif hits:
                            title = right
                    if hits:
                        used.add((kind,) + key + (wrong,))
            converted.append((title, author, lines))
        out.append((book, converted))
    unused = [k for k, pairs in errata.items() for w, _ in pairs if k + (w,) not in used]
    if unused:
        sys.exit("errata.tsv: not found in the corpus: %r" % unused)
    return out, restored


def gbk_ok(text):
    try:
        text.encode("gbk")
        return True
    except UnicodeEncodeError:
        return False


def build(package):
    out = [HEADER]
    books, restored = load(package)
    avoided = read_avoided(AVOID)
    stats = ["宋词: %d pieces take back characters from 全宋词" % restored]
    for book, poems in books:
        out.append("书\t" + book)
        kept = dropped = grim = 0
        for title, author, paragraphs in poems:
            title = title.strip().translate(MIDDLE_DOT)
            author = author.strip().translate(MIDDLE_DOT)
            lines = [line for p in paragraphs for line in split_lines(p)]
            # A line of death, mourning, war or punishment is no source for a child's name
            # (宛其死矣，他人是愉; 贞女贵殉夫).
            fit = [line for line in lines if not any(word in line for word in avoided)]
            grim += len(lines) - len(fit)
            lines = fit
            # "[糹習]" spells out a character the source could not write: such a line goes too.
            good = [line for line in lines if gbk_ok(line) and "[" not in line]
            dropped += len(lines) - len(good)
            if not good or not gbk_ok(title + author):
                dropped += len(good)
                continue
            out.append("篇\t%s\t%s" % (title, author))
            out += good
            kept += len(good)
        stats.append("%s: %d poems, %d lines kept, %d lines with a character GBK lacks (or a spelled-out one) dropped, %d grim lines left out"
                     % (book, len(poems), kept, dropped, grim))
    # The number of rows, by which the program refuses a file cut short.
    out.insert(1, "# 行数：%d" % (len(out) - 1))
    return "\r\n".join(out) + "\r\n", stats


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--package", default=os.path.join(TOOLS, "node_modules", "chinese-poetry"))
    parser.add_argument("--out", default=os.path.join(TOOLS, "..", "data", "verse.txt"))
    parser.add_argument("--check", action="store_true", help="compare with the committed file")
    args = parser.parse_args()
    if not os.path.isdir(args.package):
        subprocess.run(["npm", "ci", "--no-audit", "--no-fund"], cwd=TOOLS, check=True)
    text, stats = build(args.package)
    data = text.encode("gbk")
    if args.check:
        with open(args.out, "rb") as f:
            if f.read() != data:
                sys.exit("%s is out of date: run tools/verse/build.py" % args.out)
        print("verse.txt is up to date")
        return
    with open(args.out, "wb") as f:
        f.write(data)
    for line in stats:
        print(line)
    print("%s: %d bytes" % (args.out, len(data)))


if __name__ == "__main__":
    main()
