#!/usr/bin/env node
// Writes tests/data/calendar/ten-gods.txt from the reference calendar (lunar-javascript, pinned
// in package.json): for the first 2,000 birth hours of golden.js's fixed sample, the ten god of
// each visible stem and the hidden stems of each branch with their ten gods. Run `npm ci && node
// chart-golden.js <output directory>`; the program never needs this script or the package.
'use strict';

const fs = require('fs');
const path = require('path');
const { Solar } = require('lunar-javascript');
const { birthHours } = require('./golden.js');

const outDir = process.argv[2] || '.';
const STEMS = '甲乙丙丁戊己庚辛壬癸';
const GODS = ['比肩', '劫财', '食神', '伤官', '偏财', '正财', '七杀', '正官', '偏印', '正印'];
const god = (name) => {
  if (name === '日主') return '-';
  const i = GODS.indexOf(name);
  if (i < 0) throw new Error('unknown ten god ' + name);
  return String(i);
};
const stems = (list) => list.map((s) => {
  const i = STEMS.indexOf(s);
  if (i < 0) throw new Error('unknown stem ' + s);
  return String(i);
}).join('');
const two = (n) => String(n).padStart(2, '0');

const lines = ['# YYYYMMDDHH, then per pillar (year month day hour): stem god (- for the day master)' +
               ' hidden stems (0=甲 ... 9=癸, main qi first) and their gods (0=比肩 ... 9=正印)'];
for (const [y, m, d, h] of birthHours(10000, 20190505).slice(0, 2000)) {
  const e = Solar.fromYmdHms(y, m, d, h, 0, 0).getLunar().getEightChar();
  const parts = [
    [e.getYearShiShenGan(), e.getYearHideGan(), e.getYearShiShenZhi()],
    [e.getMonthShiShenGan(), e.getMonthHideGan(), e.getMonthShiShenZhi()],
    [e.getDayShiShenGan(), e.getDayHideGan(), e.getDayShiShenZhi()],
    [e.getTimeShiShenGan(), e.getTimeHideGan(), e.getTimeShiShenZhi()],
  ].map(([g, hidden, gods]) => `${god(g)} ${stems(hidden)} ${gods.map(god).join('')}`);
  lines.push(`${y}${two(m)}${two(d)}${two(h)} ${parts.join(' ')}`);
}
fs.writeFileSync(path.join(outDir, 'ten-gods.txt'), lines.join('\n') + '\n');
console.log(`ten gods of ${lines.length - 1} birth hours`);
