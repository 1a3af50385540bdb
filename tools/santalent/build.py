#!/usr/bin/env python3
"""Write data/santalent.txt (GBK) from descriptions.txt and check the result.

Each of the 125 element triples (天格 人格 地格, each in the order 木 火 土 金 水) becomes a block
of four lines: the odd last digits, the elements, the even last digits, and the description
ending in its verdict. The verdict comes from the relations 天格→人格 and 人格→地格:
a grid fed by its neighbour gains, a grid pressed by its neighbour loses, and one element three
times over is only half good for 火, 金 and 水, whose excess the tradition warns of (see verdict()).

Usage: build.py [--check]   (--check only verifies the existing file)
"""
import os
import sys

sys.dont_write_bytecode = True  # the check runs as a test: leave the source tree as it is
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from tsvrows import records  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
SOURCE = os.path.join(HERE, "descriptions.txt")
TARGET = os.path.join(ROOT, "data", "santalent.txt")

ELEMENTS = "木火土金水"
ODD = dict(zip(ELEMENTS, "一三五七九"))
EVEN = dict(zip(ELEMENTS, "二四六八十"))
DIGIT_ELEMENT = {d: e for e, d in ODD.items()}
DIGIT_ELEMENT.update({d: e for e, d in EVEN.items()})
GENERATES = {e: ELEMENTS[(i + 1) % 5] for i, e in enumerate(ELEMENTS)}  # 木生火 ...
OVERCOMES = {"木": "土", "土": "水", "水": "火", "火": "金", "金": "木"}  # 木克土 ...
VERDICTS = ("吉", "半吉", "半凶", "凶")
INDENT = "　　"
HEADING = ("三才配置表：天格、人格、地格各取尾数定五行，尾数一二属木、三四属火、五六属土、"
           "七八属金、九十（零）属水；每组依次列出奇数尾数、五行、偶数尾数与释义。")


def verdict(heaven, person, earth):
    """Points for the two relations around 人格; the person is the centre of the configuration."""
    def upper(h, p):  # 天格 to 人格
        if h == p:
            return 1
        if GENERATES[h] == p:
            return 2  # the superior feeds the person
        if GENERATES[p] == h:
            return 0  # the person spends itself upwards
        return -3  # either one overcomes the other
    def lower(p, e):  # 人格 to 地格
        if p == e:
            return 1
        if GENERATES[e] == p:
            return 2  # the foundation feeds the person
        if GENERATES[p] == e:
            return 1
        if OVERCOMES[e] == p:
            return -3  # the foundation undermines the person
        return -2  # the person damages its own foundation
    if heaven == person == earth and heaven in "火金水":
        return "半吉"  # one element three times over: too hot, too hard or too restless
    score = upper(heaven, person) + lower(person, earth)
    if score >= 2:
        return "吉"
    if score == 1:
        return "半吉"
    if score >= -1:
        return "半凶"
    return "凶"


def triples():
    return [a + b + c for a in ELEMENTS for b in ELEMENTS for c in ELEMENTS]


def read_descriptions():
    texts = {}
    for number, fields in records(SOURCE):
        key, text = fields[0], "\t".join(fields[1:])
        if len(fields) < 2 or key not in triples():
            sys.exit(f"{SOURCE}:{number}: expected '<three elements><tab><text>'")
        if key in texts:
            sys.exit(f"{SOURCE}:{number}: {key} described twice")
        texts[key] = text.strip()
    missing = [t for t in triples() if t not in texts]
    if missing:
        sys.exit(f"{SOURCE}: no description for {' '.join(missing)}")
    return texts


def build_lines(texts):
    lines = [HEADING]
    for key in triples():
        lines.append(INDENT + " ".join(ODD[e] for e in key))
        lines.append(INDENT + " ".join(key))
        lines.append(INDENT + " ".join(EVEN[e] for e in key))
        lines.append(INDENT + texts[key] + "（" + verdict(*key) + "）")
    return lines


def check(raw):
    """Verify the written file; returns a list of problems."""
    problems = []
    try:
        text = raw.decode("gbk")
    except UnicodeDecodeError as err:
        return [f"not GBK: {err}"]
    lines = text.split("\r\n")
    body = lines[1:]
    if len(body) != 125 * 4:
        problems.append(f"{len(body)} block lines, expected 500")
    seen = []
    counts = dict.fromkeys(VERDICTS, 0)
    lengths = []
    descriptions = set()
    for i in range(0, len(body) - 3, 4):
        odd, elem, even, desc = body[i:i + 4]
        where = f"block {i // 4 + 1}"
        if not all(l.startswith(INDENT) for l in (odd, elem, even, desc)):
            problems.append(f"{where}: a line lacks the indent")
        odd_d, elem_e, even_d = (l[len(INDENT):].split(" ") for l in (odd, elem, even))
        if [DIGIT_ELEMENT.get(d) for d in odd_d] != elem_e or any(d not in "一三五七九" for d in odd_d):
            problems.append(f"{where}: odd digits {odd_d} do not match elements {elem_e}")
        if [DIGIT_ELEMENT.get(d) for d in even_d] != elem_e or any(d not in "二四六八十" for d in even_d):
            problems.append(f"{where}: even digits {even_d} do not match elements {elem_e}")
        key = "".join(elem_e)
        seen.append(key)
        v = desc[desc.rfind("（") + 1:-1] if desc.endswith("）") else ""
        if v not in VERDICTS:
            problems.append(f"{where}: description does not end in a verdict")
        elif v != verdict(*key):
            problems.append(f"{where}: verdict {v}, expected {verdict(*key)}")
        else:
            counts[v] += 1
        d = desc[len(INDENT):desc.rfind("（")]
        lengths.append(len(d))
        if not 20 <= len(d) <= 60:
            problems.append(f"{where}: description of {len(d)} characters")
        if d in descriptions:
            problems.append(f"{where}: description repeated")
        descriptions.add(d)
    if seen != triples():
        problems.append("blocks missing or out of order")
    if text.endswith("\r\n"):
        problems.append("line end after the last line")
    if not problems:
        print(f"santalent.txt: {len(seen)} blocks, {len(raw)} bytes, {len(text)} characters; "
              + ", ".join(f"{v} {counts[v]}" for v in VERDICTS)
              + f"; descriptions {min(lengths)}-{max(lengths)} characters")
    return problems


def main():
    if "--check" not in sys.argv[1:]:
        raw = "\r\n".join(build_lines(read_descriptions())).encode("gbk")
        with open(TARGET, "wb") as f:
            f.write(raw)
    with open(TARGET, "rb") as f:
        problems = check(f.read())
    for p in problems:
        print("santalent.txt:", p, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
