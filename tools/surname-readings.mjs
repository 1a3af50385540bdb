// Prints the reading of every surname that pinyin-pro knows, in its surname mode, as
// "<surname>\t<syllable> <syllable> ..." one surname a line, in the library's own order.
import { pinyin } from 'pinyin-pro';
import Surnames from './node_modules/pinyin-pro/dist/esm/data/surname.mjs';

const out = [];
for (const surname of Object.keys(Surnames)) {
    const syllables = pinyin(surname, { mode: 'surname', type: 'array', toneType: 'symbol' });
    out.push(`${surname}\t${syllables.join(' ')}`);
}
process.stdout.write(out.join('\n') + '\n');
