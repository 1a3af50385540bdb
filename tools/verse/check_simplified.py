#!/usr/bin/env python3
"""Checks that data/verse.txt shows no traditional character that has a simplified form: every
title, author and line is left as it is by OpenCC t2s, except a character whose simplified form
GBK cannot write (駉, whose simplified form is outside GBK) and the places that
t2s-exceptions.tsv puts right.

Usage: python3 tools/verse/check_simplified.py [VERSE_FILE]
Exit status 0 when the table is simplified throughout, 1 with every fault listed, 77 (skipped)
without Debian's opencc.
"""
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.dirname(HERE))
from tsvrows import records  # noqa: E402


def gbk_ok(ch):
    try:
        ch.encode("gbk")
        return True
    except UnicodeEncodeError:
        return False


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "..", "data", "verse.txt")
    if not shutil.which("opencc"):
        print("opencc not installed: verse text not checked")
        return 77
    with open(path, "rb") as f:
        rows = [r for r in f.read().decode("gbk").split("\r\n") if r and not r.startswith("#")]
    texts = [r.split("\t", 1)[1] if r.startswith(("书\t", "篇\t")) else r for r in rows]
    out = subprocess.run(["opencc", "-c", "t2s.json"], input="\n".join(texts).encode("utf-8"),
                         stdout=subprocess.PIPE, check=True).stdout.decode("utf-8").split("\n")
    kept = [(right, wrong) for _, (wrong, right, _) in records(os.path.join(HERE, "t2s-exceptions.tsv"))]
    faults = []
    for number, (text, simple) in enumerate(zip(texts, out), 1):
        for right, wrong in kept:
            # t2s would write the exception's wrong form again; compare with it put right.
            at = simple.find(wrong)
            while at >= 0 and text[at:at + len(right)] == right:
                simple = simple[:at] + right + simple[at + len(right):]
                at = simple.find(wrong, at + len(right))
        bad = [t for t, s in zip(text, simple) if t != s and gbk_ok(s)]
        if bad or len(text) != len(simple):
            faults.append("%s: record %d has traditional characters %s: %s"
                          % (path, number, "".join(bad), text))
    for fault in faults:
        print(fault, file=sys.stderr)
    print("verse.txt: %d records checked, %d with a traditional character" % (len(texts), len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
