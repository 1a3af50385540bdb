#!/usr/bin/env node
// Writes the calendar golden files from the reference calendar (lunar-javascript, pinned in
// package.json). Run `npm ci && node golden.js <output directory>`; the files are committed and the
// program never needs this script or the package.
//
// Every compact line written here is expanded again below with the rule the tests use and compared
// with the reference hour by hour, so the files stand for every day and hour they cover.
'use strict';

const fs = require('fs');
const path = require('path');
const { Solar, Lunar } = require('lunar-javascript');

const outDir = process.argv[2] || '.';
const FIRST = [1900, 1, 31];
const LAST = [2100, 12, 31];

const STEMS = '甲乙丙丁戊己庚辛壬癸';
const BRANCHES = '子丑寅卯辰巳午未申酉戌亥';
const PAIRS = [];
for (let i = 0; i < 60; ++i) PAIRS.push(STEMS[i % 10] + BRANCHES[i % 12]);
const pairIndex = (text) => {
  const i = PAIRS.indexOf(text);
  if (i < 0) throw new Error('not a pair: ' + text);
  return i;
};
const two = (n) => String(n).padStart(2, '0');
const ymd = (d) => `${d.getUTCFullYear()}-${two(d.getUTCMonth() + 1)}-${two(d.getUTCDate())}`;
const utcDate = (y, m, d) => new Date(Date.UTC(y, m - 1, d));

function pillarsOf(y, m, d, h) {
  const e = Solar.fromYmdHms(y, m, d, h, 0, 0).getLunar().getEightChar();
  return [e.getYear(), e.getMonth(), e.getDay(), e.getTime()].map(pairIndex);
}

// Lunar months: one line per month start "date lunarYear month leap dayPillar"; the days between
// follow by counting. Checked against the reference for every day.
function writeMonths() {
  const lines = ['# date lunar-year lunar-month leap(0/1) day-pillar(0=甲子) at each lunar month start'];
  let start = null;
  let days = 0;
  for (let d = utcDate(...FIRST); d <= utcDate(...LAST); d = new Date(d.getTime() + 86400000)) {
    const solar = Solar.fromYmd(d.getUTCFullYear(), d.getUTCMonth() + 1, d.getUTCDate());
    const lunar = solar.getLunar();
    const month = Math.abs(lunar.getMonth());
    const leap = lunar.getMonth() < 0 ? 1 : 0;
    const dayPillar = pairIndex(lunar.getDayInGanZhi());
    if (start === null || lunar.getDay() === 1) {
      start = { date: d, year: lunar.getYear(), month, leap, day: lunar.getDay(), pillar: dayPillar };
      lines.push(`${ymd(d)} ${start.year} ${month} ${leap} ${dayPillar}` +
                 (start.day !== 1 ? ` ${start.day}` : ''));
    } else {
      const offset = Math.round((d - start.date) / 86400000);
      if (lunar.getYear() !== start.year || month !== start.month || leap !== start.leap ||
          lunar.getDay() !== start.day + offset || dayPillar !== (start.pillar + offset) % 60) {
        throw new Error('month expansion fails at ' + ymd(d));
      }
    }
    ++days;
  }
  fs.writeFileSync(path.join(outDir, 'lunar-months.txt'), lines.join('\n') + '\n');
  return days;
}

// Solar terms: one line per Gregorian year, its 24 terms from 小寒 to 冬至 as MMDDHHMMSS in
// Beijing time, rounded to the second as the reference's pillars use them.
const TERM_NAMES = ['小寒', '大寒', '立春', '雨水', '惊蛰', '春分', '清明', '谷雨', '立夏', '小满', '芒种',
  '夏至', '小暑', '大暑', '立秋', '处暑', '白露', '秋分', '寒露', '霜降', '立冬', '小雪', '大雪', '冬至'];
const ALIASES = { DONG_ZHI: '冬至', XIAO_HAN: '小寒', DA_HAN: '大寒', LI_CHUN: '立春', YU_SHUI: '雨水',
  JING_ZHE: '惊蛰', DA_XUE: '大雪' };

function termsOfYear(year) {
  const found = new Map();
  for (const ly of [year - 1, year, year + 1]) {
    const table = Lunar.fromYmd(ly, 6, 1).getJieQiTable();
    for (const key of Object.keys(table)) {
      const s = table[key];
      if (s.getYear() === year) found.set(ALIASES[key] || key, s);
    }
  }
  return TERM_NAMES.map((name) => {
    const s = found.get(name);
    if (!s) throw new Error(`no ${name} in ${year}`);
    return s;
  });
}

function writeTerms() {
  const lines = ['# year, then 小寒 大寒 立春 ... 大雪 冬至 as MMDDHHMMSS, Beijing time (UTC+8)'];
  const jie = [];
  for (let y = 1900; y <= 2100; ++y) {
    const terms = termsOfYear(y);
    lines.push(y + ' ' + terms.map((s) =>
      two(s.getMonth()) + two(s.getDay()) + two(s.getHour()) + two(s.getMinute()) + two(s.getSecond())
    ).join(' '));
    terms.forEach((s, k) => { if (k % 2 === 0) jie.push(s); });
  }
  fs.writeFileSync(path.join(outDir, 'solar-terms.txt'), lines.join('\n') + '\n');
  return jie;
}

// Every hour of the days of the twelve 节: "date d h0 y m [hour y' m']": the day pillar d all day,
// the hour pillar h0 at 00:00 and one further for each two hours (23:00 starting the next day's
// 子 hour), year and month pillar y m, changing to y' m' from the given hour on.
function expandJieDay(fields) {
  const [d, h0, y0, m0, sw, y1, m1] = fields.slice(1).map(Number);
  const out = [];
  for (let h = 0; h < 24; ++h) {
    const late = sw !== undefined && !Number.isNaN(sw) && h >= sw;
    out.push([late ? y1 : y0, late ? m1 : m0, d, (h0 + Math.floor((h + 1) / 2)) % 60]);
  }
  return out;
}

function writeJieDays(jie) {
  const lines = ['# date day-pillar hour-pillar-at-00 year-pillar month-pillar [from-hour year month]'];
  let hours = 0;
  for (const s of jie) {
    const [y, m, dd] = [s.getYear(), s.getMonth(), s.getDay()];
    if (utcDate(y, m, dd) < utcDate(...FIRST)) continue;
    const got = [];
    for (let h = 0; h < 24; ++h) got.push(pillarsOf(y, m, dd, h));
    let line = `${y}-${two(m)}-${two(dd)} ${got[0][2]} ${got[0][3]} ${got[0][0]} ${got[0][1]}`;
    const sw = got.findIndex((p) => p[0] !== got[0][0] || p[1] !== got[0][1]);
    if (sw > 0) line += ` ${sw} ${got[sw][0]} ${got[sw][1]}`;
    const expanded = expandJieDay(line.split(' '));
    if (JSON.stringify(expanded) !== JSON.stringify(got)) throw new Error('jie expansion fails: ' + line);
    lines.push(line);
    hours += 24;
  }
  fs.writeFileSync(path.join(outDir, 'jie-days.txt'), lines.join('\n') + '\n');
  return hours;
}

// A fixed pseudo-random list of birth hours over the whole range (same seed, same list).
function birthHours(count, seed) {
  let x = seed >>> 0;
  const next = () => {
    x ^= x << 13; x >>>= 0; x ^= x >>> 17; x ^= x << 5; x >>>= 0;
    return x;
  };
  const first = utcDate(...FIRST).getTime() / 86400000;
  const span = utcDate(...LAST).getTime() / 86400000 - first + 1;
  const out = [];
  for (let i = 0; i < count; ++i) {
    const d = new Date((first + (next() % span)) * 86400000);
    out.push([d.getUTCFullYear(), d.getUTCMonth() + 1, d.getUTCDate(), next() % 24]);
  }
  return out;
}

function writeSample(count) {
  const lines = ['# YYYYMMDDHH year month day hour pillars (0=甲子 ... 59=癸亥) lunar y m d leap zodiac-branch'];
  for (const [y, m, d, h] of birthHours(count, 20190505)) {
    const lunar = Solar.fromYmdHms(y, m, d, h, 0, 0).getLunar();
    const p = pillarsOf(y, m, d, h);
    const zodiac = '鼠牛虎兔龙蛇马羊猴鸡狗猪'.indexOf(lunar.getYearShengXiaoExact());
    lines.push(`${y}${two(m)}${two(d)}${two(h)} ${p.join(' ')} ${lunar.getYear()} ` +
               `${Math.abs(lunar.getMonth())} ${lunar.getDay()} ${lunar.getMonth() < 0 ? 1 : 0} ${zodiac}`);
  }
  fs.writeFileSync(path.join(outDir, 'birth-hours.txt'), lines.join('\n') + '\n');
}

module.exports = { birthHours, pairIndex, PAIRS };

if (require.main === module) {
  fs.mkdirSync(outDir, { recursive: true });
  const days = writeMonths();
  const jie = writeTerms();
  const hours = writeJieDays(jie);
  writeSample(10000);
  console.log(`days ${days}, terms ${201 * 24}, hours on 节 days ${hours}, sample 10000`);
}
