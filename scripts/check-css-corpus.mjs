// Run by scripts/check-css-corpus from the package cache, where the packages below are installed.
import { analyze } from '@projectwallace/css-analyzer';
import * as csstree from 'css-tree';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);
const cli = process.argv[2];
const sheets = [
    ['bootstrap@5', 'bootstrap/dist/css/bootstrap.css'],
    ['@primer/css', '@primer/css/dist/primer.css'],
    ['foundation-sites', 'foundation-sites/dist/css/foundation.css'],
    ['@picocss/pico', '@picocss/pico/css/pico.css'],
    ['bulma', 'bulma/css/bulma.css'],
];

// Colours that name no definite value: Pictor leaves them alone.
const systemColours = new Set(('accentcolor accentcolortext activetext buttonborder buttonface buttontext canvas ' +
    'canvastext field fieldtext graytext highlight highlighttext linktext mark marktext selecteditem ' +
    'selecteditemtext visitedtext activeborder activecaption appworkspace background buttonhighlight ' +
    'buttonshadow captiontext inactiveborder inactivecaption inactivecaptiontext infobackground infotext menu ' +
    'menutext scrollbar threeddarkshadow threedface threedhighlight threedlightshadow threedshadow window ' +
    'windowframe windowtext').split(' '));

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'pictor-css-corpus-'));
const squeeze = (text) => text.replace(/\s+/g, '').toLowerCase();

function pictor(args) {
    return execFileSync(cli, args, { encoding: 'utf8', maxBuffer: 1 << 30, stdio: ['ignore', 'pipe', 'pipe'] });
}

function site(folder, css) {
    fs.mkdirSync(folder, { recursive: true });
    fs.writeFileSync(path.join(folder, 'index.html'), '<link rel="stylesheet" href="s.css">');
    fs.writeFileSync(path.join(folder, 's.css'), css);
    return path.join(folder, 'index.html');
}

function sheetColours(page) {
    return JSON.parse(pictor(['list', '--json', page])).files[1].colors;
}

function invert(page, out) {
    pictor(['adjust', page, '--invert', '--out', out]);
    return path.join(out, 'index.html');
}

// A colour inside a data: URL's picture is listed at the URL with its text as decoded: the file does not
// hold that text there. The URL then differs only in how its colours are spelt (hex digits, rgb() as a
// colour code, characters percent-encoded), and base64 data in what it encodes.
function embedded(file, colour) {
    return !file.subarray(colour.pos - 1, colour.pos - 1 + Buffer.byteLength(colour.text)).equals(Buffer.from(colour.text));
}
function colourSpelling(bytes) {
    const full = (hex) => (hex.length === 3 || hex.length === 4 ? [...hex].map((d) => d + d).join('') : hex).toLowerCase();
    return bytes.toString('latin1')
        .replace(/;base64,([A-Za-z0-9+/=]+)/g, (m, data) => ',' + Buffer.from(data, 'base64').toString('latin1'))
        .replace(/%2[089c]/gi, (m) => decodeURIComponent(m))
        .replace(/rgb\(\s*([\d.]+)\s*,\s*([\d.]+)\s*,\s*([\d.]+)\s*\)/gi,
                 (m, ...rgb) => '#' + rgb.slice(0, 3).map((v) => Math.round(Number(v)).toString(16).padStart(2, '0')).join(''))
        .replace(/%23/g, '#')
        .replace(/(#|%23)([0-9a-f]{3,8})\b/gi, (m, hash, hex) => hash + full(hex));
}

// The texts between colour occurrences, byte for byte but for colours in data: URLs, and each
// occurrence's value and alpha.
function sameOutsideColours(a, aColours, b, bColours) {
    if (aColours.length !== bColours.length) return false;
    let ai = 0, bi = 0;
    for (let k = 0; k < aColours.length; ++k) {
        const ca = aColours[k], cb = bColours[k];
        if (ca.value !== cb.value || ca.alpha !== cb.alpha) return false;
        if (embedded(a, ca) || embedded(b, cb)) continue;
        if (colourSpelling(a.subarray(ai, ca.pos - 1)) !== colourSpelling(b.subarray(bi, cb.pos - 1))) return false;
        ai = ca.pos - 1 + Buffer.byteLength(ca.text);
        bi = cb.pos - 1 + Buffer.byteLength(cb.text);
    }
    return a.subarray(ai).equals(b.subarray(bi));
}

// One channel of a colour a variable holds ("41%", "171deg"): the channel is inverted exactly, and
// the colour the browser paints from the channels, rounded to 8 bits, is the inverse within 1.
const oneChannel = /^[-+]?[\d.]+(%|deg|grad|rad|turn)?$/i;
function inverse(before, after, text) {
    const flipped = 0xffffff ^ parseInt(before.slice(1), 16), got = parseInt(after.slice(1), 16);
    if (!oneChannel.test(text)) return got === flipped;
    return [16, 8, 0].every((shift) => Math.abs(((got >> shift) & 255) - ((flipped >> shift) & 255)) <= 1);
}

function counts(css) {
    let rules = 0, declarations = 0;
    csstree.walk(csstree.parse(css, { parseValue: false }), (node) => {
        if (node.type === 'Rule') ++rules;
        if (node.type === 'Declaration') ++declarations;
    });
    return `${rules}/${declarations}`;
}

const rows = [];
let failed = false;
for (const [name, file] of sheets) {
    const cssPath = require.resolve(file);
    const css = fs.readFileSync(cssPath);
    const folder = path.join(work, name.replace(/[@/]/g, '_'));
    const row = { name, kb: Math.round(css.length / 1024) };
    try {
        const page = site(path.join(folder, 'a'), css);
        const found = sheetColours(page);
        const foundTexts = new Set(found.map((c) => squeeze(c.text)));
        const reported = Object.keys(analyze(css.toString('utf8')).values.colors.unique)
            .filter((v) => !/^(transparent|currentcolor)$/i.test(v) && !/var\(/i.test(v))
            .filter((v) => !systemColours.has(v.toLowerCase()));
        const missed = reported.filter((v) => !foundTexts.has(squeeze(v)));
        row.analyzer = reported.length;
        row.found = reported.length - missed.length;
        row.occurrences = found.length;

        // Two runs of pictor-cli: a colour comes back to its value and alpha, written as a colour
        // code; every other byte comes back as it was. (Within one session it comes back as written.)
        const once = invert(page, path.join(folder, 'b'));
        const twice = invert(once, path.join(folder, 'c'));
        const back = fs.readFileSync(path.join(path.dirname(twice), 's.css'));
        const backColours = sheetColours(twice);
        row.twice = back.equals(css) ? 'every byte' :
            sameOutsideColours(css, found, back, backColours) ? 'every byte but colour spellings' : 'NO';

        const inverted = sheetColours(once);
        let exact = inverted.length === found.length;
        for (let k = 0; exact && k < found.length; ++k)
            exact = inverse(found[k].value, inverted[k].value, found[k].text) && inverted[k].alpha === found[k].alpha;
        row.inverse = exact ? 'yes' : 'NO';
        const before = counts(css.toString('utf8'));
        const after = counts(fs.readFileSync(path.join(path.dirname(once), 's.css'), 'utf8'));
        row.parse = before === after ? `same (${before})` : `NO (${before} -> ${after})`;
        if (missed.length) row.missed = missed.slice(0, 5).join(' | ');
        if (missed.length || row.twice === 'NO' || !exact || before !== after) failed = true;
    } catch (error) {
        row.error = String(error.stderr || error.message).trim().split('\n')[0];
        failed = true;
    }
    rows.push(row);
}
fs.rmSync(work, { recursive: true, force: true });

console.log('| Package | Sheet (KB) | Analyzer colours | Found by Pictor | Occurrences | Invert, save, invert again gives back | One invert exact, alpha kept | Rules/declarations after one invert |');
console.log('|---|---|---|---|---|---|---|---|');
for (const r of rows) {
    if (r.error) console.log(`| ${r.name} | ${r.kb} | load failed: ${r.error} | | | | | |`);
    else console.log(`| ${r.name} | ${r.kb} | ${r.analyzer} | ${r.found} | ${r.occurrences} | ${r.twice} | ${r.inverse} | ${r.parse} |`);
}
for (const r of rows) if (r.missed) console.log(`${r.name}: not found: ${r.missed}`);
process.exit(failed ? 1 : 0);
