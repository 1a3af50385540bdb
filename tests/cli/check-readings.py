#!/usr/bin/env python3
"""Names are read as they are said, in `hmf analyse --json` (characters[].pinyin) and in
`hmf pinyin`: a polyphone by the word it stands in, a surname as a surname.

    check-readings.py HMF
"""
import json
import subprocess
import sys

# surname, given name, one syllable per character.
NAMES = [
    ("李", "重阳", "lǐ chóng yáng"),
    ("王", "重光", "wáng chóng guāng"),
    ("司马", "相如", "sī mǎ xiàng rú"),
    ("王", "载德", "wáng zài dé"),
    ("张", "乐乐", "zhāng lè lè"),
    ("陈", "乐韵", "chén yuè yùn"),
    ("刘", "朝阳", "liú zhāo yáng"),
    ("赵", "长青", "zhào cháng qīng"),
    ("孙", "行之", "sūn xíng zhī"),
    ("周", "少华", "zhōu shào huá"),
    ("吴", "重", "wú zhòng"),
    # Surnames read otherwise than their characters.
    ("曾", "明", "zēng míng"),
    ("单", "明", "shàn míng"),
    ("解", "明", "xiè míng"),
    ("区", "明", "ōu míng"),
    ("仇", "明", "qiú míng"),
    ("朴", "明", "piáo míng"),
    ("查", "明", "zhā míng"),
    ("盖", "明", "gě míng"),
    ("缪", "明", "miào míng"),
    ("召", "明", "shào míng"),
    ("乐", "明", "yuè míng"),
    ("任", "明", "rén míng"),
    ("华", "明", "huà míng"),
    ("朝", "阳", "cháo yáng"),
    ("重", "明", "chóng míng"),
    ("佴", "明", "nài míng"),
    ("蔚", "明", "yù míng"),
    ("种", "明", "chóng míng"),
    ("尉迟", "恭", "yù chí gōng"),
    ("万俟", "明", "mò qí míng"),
    ("澹台", "明", "tán tái míng"),
    ("长孙", "明", "zhǎng sūn míng"),
    ("单于", "明", "chán yú míng"),
]


def run(hmf, *args):
    out = subprocess.run([hmf, *args], capture_output=True, check=True)
    return out.stdout.decode("utf-8")


def main():
    hmf = sys.argv[1]
    faults = []
    for surname, given, expected in NAMES:
        doc = json.loads(run(hmf, "analyse", surname, given, "--birth", "2019-05-05 05", "--json"))
        got = " ".join(c["pinyin"] for c in doc["characters"])
        if got != expected:
            faults.append(f"analyse {surname}{given}: {got}, expected {expected}")
    # hmf pinyin reads the whole text as one run of words.
    for text, expected in [("重阳", "chóng yáng"), ("相如", "xiàng rú"), ("重", "zhòng")]:
        got = " ".join(line.split()[1] for line in run(hmf, "pinyin", text).splitlines())
        if got != expected:
            faults.append(f"pinyin {text}: {got}, expected {expected}")
        doc = json.loads(run(hmf, "pinyin", text, "--json"))
        got = " ".join(c["pinyin"] for c in doc["characters"])
        if got != expected:
            faults.append(f"pinyin {text} --json: {got}, expected {expected}")
    if faults:
        sys.exit("\n".join(faults))


main()
