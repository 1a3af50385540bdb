#!/usr/bin/env python3
"""The source of names in JSON: every row of a verse run carries {book, title, author, line} and
its line holds the row's given name; a library run's rows carry null; hmf verse agrees.

Usage: check-verse-json.py <hmf>"""
import json
import subprocess
import sys

hmf = sys.argv[1]


def run(*args):
    out = subprocess.run([hmf, *args], stdout=subprocess.PIPE, check=True).stdout
    return json.loads(out.decode("utf-8"))


def holds(line, name):
    chars = list(line)
    for c in name:
        if c not in chars:
            return False
        chars.remove(c)
    return True


failures = []
birth = ["--birth", "2019-05-05 05", "--seed", "3", "--draws", "200", "--json"]
for book in ["诗经", "楚辞", "唐诗", "宋词"]:
    for sex in ["男", "女"]:
        result = run("generate", "欧阳", "--sex", sex, "--source", book, *birth)
        if len(result["rows"]) < 20:
            failures.append("%s %s: only %d rows" % (book, sex, len(result["rows"])))
        for row in result["rows"]:
            source = row["source"]
            given = row["name"][2:]
            if sorted(source) != ["author", "book", "line", "title"] or source["book"] != book:
                failures.append("%s: bad source %r" % (row["name"], source))
            elif not holds(source["line"], given):
                failures.append("%s: not in %s" % (row["name"], source["line"]))
plain = run("generate", "林", "--sex", "女", *birth)
failures += ["%s: library row with a source" % r["name"] for r in plain["rows"] if r["source"]]
verse = run("verse", "静姝", "--json")
expected = {"book": "诗经", "title": "静女", "author": "", "line": "静女其姝，俟我于城隅。"}
if verse["lines"][0]["source"] != expected or not verse["lines"][0]["inOrder"]:
    failures.append("verse 静姝: %r" % verse["lines"][:1])
for f in failures[:20]:
    print(f)
sys.exit(1 if failures else 0)
