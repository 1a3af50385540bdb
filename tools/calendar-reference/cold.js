#!/usr/bin/env node
// One pass of the reference calendar over a list of birth hours ("YYYY MM DD HH" per line) in a
// fresh process: the lunar date, the four pillars and the zodiac animal of each, as timing.js
// asks. Prints the time of that pass.
//   node cold.js FILE
'use strict';

const fs = require('fs');
const { Solar } = require('lunar-javascript');

const hours = fs.readFileSync(process.argv[2], 'utf8').trim().split('\n').map((l) => l.split(' ').map(Number));
let sink = 0;
const start = process.hrtime.bigint();
for (const [y, m, d, h] of hours) {
  const lunar = Solar.fromYmdHms(y, m, d, h, 0, 0).getLunar();
  const e = lunar.getEightChar();
  const text = e.getYear() + e.getMonth() + e.getDay() + e.getTime() + lunar.getYearShengXiaoExact();
  sink += lunar.getYear() + lunar.getMonth() + lunar.getDay() + text.length;
}
const ms = Number(process.hrtime.bigint() - start) / 1e6;
console.log(`reference (lunar-javascript), ${hours.length} birth hours: ${ms.toFixed(1)} ms` +
            ` (${(ms * 1000 / hours.length).toFixed(3)} us per hour)${sink ? '' : ' '}`);
