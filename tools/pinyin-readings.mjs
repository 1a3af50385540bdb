// Prints the readings that pinyin-pro gives each character read from stdin (one per line),
// as "<character>\t<reading> <reading> ..." in the library's own order (first = most usual).
import { pinyin } from 'pinyin-pro';
import { readFileSync } from 'node:fs';

const lines = readFileSync(0, 'utf8').split('\n').filter((l) => l.length > 0);
const out = [];
for (const ch of lines) {
    const readings = pinyin(ch, { multiple: true, type: 'array', toneType: 'symbol' });
    // For a character it does not know, the library echoes the character itself.
    const known = readings.filter((r) => r !== ch && /^[\p{Ll}\u0300-\u036f]+$/u.test(r));
    if (known.length > 0) out.push(`${ch}\t${known.join(' ')}`);
}
process.stdout.write(out.join('\n') + '\n');
