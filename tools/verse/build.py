#!/usr/bin/env python3
"""Builds data/verse.txt, the verse table behind names with a source, from the chinese-poetry
package pinned in tools/package-lock.json: 诗经, 楚辞, 唐诗三百首 (traditional in the package,
converted with OpenCC t2s) and 宋词三百首.

Usage: python3 tools/verse/build.py [--package DIR] [--out FILE] [--check]
Needs python3 (standard library) and Debian's opencc for the Tang poems.
"""
import argparse
import json
import os
import re
import subprocess
import sys

TOOLS = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
HEADER = """# 诗词出处表：诗经、楚辞、唐诗三百首、宋词三百首的诗句，供"出处"与按诗词取名使用。
# 由 tools/verse/build.py 从 chinese-poetry 2.0.1（MIT）生成，唐诗经 OpenCC t2s 转为简体。
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


def t2s(texts):
    """Simplifies many short texts with one opencc run (one text per line)."""
    joined = "\n".join(texts) + "\n"
    out = subprocess.run(["opencc", "-c", "t2s.json"], input=joined.encode("utf-8"),
                         stdout=subprocess.PIPE, check=True).stdout.decode("utf-8")
    result = out.split("\n")[:len(texts)]
    if len(result) != len(texts):
        sys.exit("opencc returned %d lines for %d" % (len(result), len(texts)))
    return result


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
                tang_raw.append((title, p.get("author") or "", p["paragraphs"]))
    flat = []
    for title, author, paragraphs in tang_raw:
        flat += [title, author] + paragraphs
    simple = iter(t2s(flat))
    tang = []
    for title, author, paragraphs in tang_raw:
        tang.append((next(simple), next(simple), [next(simple) for _ in paragraphs]))
    with open(os.path.join(dist, "songci", "宋词三百首.json"), encoding="utf-8") as f:
        songci = [(p["rhythmic"], p.get("author") or "", p["paragraphs"]) for p in json.load(f)]
    return [("诗经", shijing), ("楚辞", chuci), ("唐诗", tang), ("宋词", songci)]


def gbk_ok(text):
    try:
        text.encode("gbk")
        return True
    except UnicodeEncodeError:
        return False


def build(package):
    out = [HEADER]
    stats = []
    for book, poems in load(package):
        out.append("书\t" + book)
        kept = dropped = 0
        for title, author, paragraphs in poems:
            title = title.strip().translate(MIDDLE_DOT)
            author = author.strip().translate(MIDDLE_DOT)
            lines = [line for p in paragraphs for line in split_lines(p)]
            # "[糹習]" spells out a character the source could not write: such a line goes too.
            good = [line for line in lines if gbk_ok(line) and "[" not in line]
            dropped += len(lines) - len(good)
            if not good or not gbk_ok(title + author):
                dropped += len(good)
                continue
            out.append("篇\t%s\t%s" % (title, author))
            out += good
            kept += len(good)
        stats.append("%s: %d poems, %d lines kept, %d lines with a character GBK lacks (or a spelled-out one) dropped"
                     % (book, len(poems), kept, dropped))
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
