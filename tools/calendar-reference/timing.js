#!/usr/bin/env node
// Times the reference calendar and ours on the same 100,000 birth hours:
//   node timing.js <build>/bin/calendar_bench
// Both compute, for each hour, the lunar date, the four pillars and the zodiac animal. The
// reference is timed on a first pass, a second pass and the list in date order (which suits its
// one-year cache); ours reports
// its first pass (year tables computed on the way) and its steady state from Google Benchmark.
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const { spawnSync } = require('child_process');
const { Solar } = require('lunar-javascript');
const { birthHours } = require('./golden.js');

const bench = process.argv[2];
const count = Number(process.argv[3] || 100000);
const hours = birthHours(count, 1234567);

function referencePass(list) {
  let sink = 0;
  const start = process.hrtime.bigint();
  for (const [y, m, d, h] of list) {
    const lunar = Solar.fromYmdHms(y, m, d, h, 0, 0).getLunar();
    const e = lunar.getEightChar();
    const text = e.getYear() + e.getMonth() + e.getDay() + e.getTime() + lunar.getYearShengXiaoExact();
    sink += lunar.getYear() + lunar.getMonth() + lunar.getDay() + text.length;
  }
  const ms = Number(process.hrtime.bigint() - start) / 1e6;
  if (sink === 0) console.log('');
  return ms;
}

const first = referencePass(hours);
const second = referencePass(hours);
// The reference keeps only the latest year it computed: in date order it reuses it.
const sorted = hours.slice().sort((a, b) => a[0] - b[0] || a[1] - b[1] || a[2] - b[2] || a[3] - b[3]);
const inOrder = referencePass(sorted);
console.log(`reference (lunar-javascript ${require('lunar-javascript/package.json').version}, ` +
            `node ${process.version}), ${count} birth hours:`);
console.log(`  first pass  ${first.toFixed(0)} ms  (${(first * 1000 / count).toFixed(2)} µs per hour)`);
console.log(`  second pass ${second.toFixed(0)} ms  (${(second * 1000 / count).toFixed(2)} µs per hour)`);
console.log(`  in date order ${inOrder.toFixed(0)} ms  (${(inOrder * 1000 / count).toFixed(2)} µs per hour)`);

if (!bench) {
  console.log('(give the path of calendar_bench to time ours as well)');
  process.exit(0);
}
const listFile = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'hmf-hours-')), 'hours.txt');
fs.writeFileSync(listFile, hours.map((h) => h.join(' ')).join('\n') + '\n');
const run = spawnSync(bench, [`--hours=${listFile}`, '--benchmark_filter=BM_HourList$',
                              '--benchmark_format=json'], { encoding: 'utf8' });
fs.rmSync(path.dirname(listFile), { recursive: true });
if (run.status !== 0) {
  console.error(run.stderr);
  process.exit(1);
}
const coldMatch = /first pass over \d+ birth hours: ([\d.]+) ms/.exec(run.stderr);
const result = JSON.parse(run.stdout).benchmarks.find((b) => b.name === 'BM_HourList');
const oursCold = coldMatch ? Number(coldMatch[1]) : NaN;
const oursWarm = result.real_time; // milliseconds per pass over the list
console.log(`ours (calendar_bench), the same ${count} birth hours:`);
console.log(`  first pass  ${oursCold.toFixed(1)} ms  (${(oursCold * 1000 / count).toFixed(3)} µs per hour)`);
console.log(`  steady      ${oursWarm.toFixed(1)} ms  (${(oursWarm * 1000 / count).toFixed(3)} µs per hour)`);
console.log(`throughput ratio: first passes ${(first / oursCold).toFixed(0)}x, ` +
            `steady ${(second / oursWarm).toFixed(0)}x, ` +
            `ours steady against the reference in date order ${(inOrder / oursWarm).toFixed(0)}x`);
