#!/usr/bin/env python3
"""The day master's strength and true solar time in JSON agree with the text of the section:
with a birthplace the whole chart and the strength read the pillars of solar time, to the minute;
without one solarTime is null and both read the clock's; assess weighs the same 用神 and 喜神.

Usage: check-chart-json.py <hmf>"""
import json
import subprocess
import sys

hmf = sys.argv[1]
failures = []


def run(*args):
    out = subprocess.run([hmf, *args], stdout=subprocess.PIPE, check=True).stdout
    return out.decode("utf-8")


def expect(what, got, wanted):
    if got != wanted:
        failures.append("%s: %r, expected %r" % (what, got, wanted))


def agrees_with_text(what, strength, text):
    """The data and the printed section say the same: every JSON line is printed, and the verdict,
    percentage and elements are those of the lines."""
    for line in strength["lines"]:
        if line not in text:
            failures.append("%s: line not printed: %s" % (what, line))
    lines = "\n".join(strength["lines"])
    verdict = strength["verdict"]
    if strength["extreme"]:
        verdict = verdict.replace("身", "身极")
    if "结论：" + verdict not in lines:
        failures.append("%s: verdict %s not in the lines" % (what, verdict))
    if "生扶占%.0f%%" % strength["percent"] not in lines:
        failures.append("%s: percent %s not in the lines" % (what, strength["percent"]))
    if "用神 %s，喜神 %s" % (strength["useful"], strength["favourable"]) not in lines:
        failures.append("%s: elements not in the lines" % what)
    pillars = strength["pillars"]
    for key in ("year", "month", "day", "hour"):
        pair = strength["stems"][key]["stem"] + strength["branches"][key]["branch"]
        expect(what + " " + key, pair, pillars[key])


# Urumqi: 05:00 Beijing time is 02:44 solar time, which moves the hour pillar from 丁卯 to 乙丑.
args = ["chart", "--lunar", "2023-闰2-01 05", "--place", "乌鲁木齐"]
chart = json.loads(run(*args, "--json"))
solar = chart["solarTime"]
expect("place", solar["place"], "乌鲁木齐")
expect("clock", solar["clock"], {"year": 2023, "month": 3, "day": 22, "hour": 5, "minute": 0})
expect("solar", (solar["solar"]["hour"], solar["solar"]["minute"]), (2, 44))
expect("chart hour pillar", chart["pillars"]["hour"], "乙丑")
expect("solar hour pillar", chart["strength"]["pillars"]["hour"], "乙丑")
expect("day master", chart["strength"]["dayMaster"], {"stem": "己", "element": "土"})
agrees_with_text("Urumqi", chart["strength"], run(*args))

# A typed longitude names no place; 01:00 Beijing time at 75°E is about 22:03 the day before, and
# the strength reads that day's pillar.
chart = json.loads(run("chart", "2019-05-05", "01", "--longitude", "75", "--json"))
expect("typed longitude", (chart["solarTime"]["place"], chart["solarTime"]["longitude"]), (None, 75))
expect("solar date", (chart["solarTime"]["solar"]["day"], chart["solarTime"]["solar"]["hour"]), (4, 22))
clock = json.loads(run("chart", "2019-05-05", "01", "--json"))
if chart["pillars"]["day"] == clock["pillars"]["day"]:
    failures.append("the day before keeps the clock's day pillar")
expect("one set of pillars", chart["strength"]["pillars"], chart["pillars"])

# The minute counts: 05:59 in Urumqi is 03:5x by the Sun, the 寅 hour (05:00 would be 丑).
chart = json.loads(run("chart", "2019-05-05", "05:59", "--place", "乌鲁木齐", "--json"))
expect("minute in the birth", chart["birth"]["minute"], 59)
expect("minute in solar time", (chart["solarTime"]["solar"]["hour"], chart["pillars"]["hour"]),
       (3, "壬寅"))

# Without a birthplace: no solar time, the same pillars, and assess weighs the same elements.
birth = ["--birth", "2019-05-05 05"]
analyse = json.loads(run("analyse", "张", "明华", *birth, "--json"))
chart = analyse["chart"]
expect("no birthplace", chart["solarTime"], None)
expect("clock pillars", chart["strength"]["pillars"], chart["pillars"])
agrees_with_text("analyse", chart["strength"], run("analyse", "张", "明华", *birth))
order = "金木水火土"
wanted = sorted([chart["strength"]["useful"], chart["strength"]["favourable"]], key=order.index)
expect("assess favourable", json.loads(run("assess", "张", "明华", *birth, "--json"))["favourable"],
       wanted)
expect("assess without a birth", json.loads(run("assess", "张", "明华", "--json"))["favourable"], None)

for f in failures[:20]:
    print(f)
sys.exit(1 if failures else 0)
