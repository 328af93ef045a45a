// Run by scripts/check-painted from the package cache, where the packages below are installed.
// For each framework sheet: a page of elements built from the sheet's own selectors, its colours as
// Chromium computes them without the sheet, with it, and after pictor-cli has adjusted the page.
import Color from 'colorjs.io';
import * as csstree from 'css-tree';
import puppeteer from 'puppeteer-core';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);
const frameworks = [
    ['bootstrap@5', 'bootstrap/dist/css/bootstrap.css'],
    ['tailwindcss@2', 'tailwindcss/dist/tailwind.css'],
    ['@primer/css', '@primer/css/dist/primer.css'],
    ['bulma@1', 'bulma/css/bulma.css'],
    ['daisyui@4', 'daisyui/dist/full.css'],
    ['foundation-sites', 'foundation-sites/dist/css/foundation.css'],
    ['@picocss/pico', '@picocss/pico/css/pico.css'],
    ['bootstrap@4', 'bootstrap4/dist/css/bootstrap.css'],
    ['bulma@0.9', 'bulma09/css/bulma.css'],
];
// With --more: frameworks no rule of pictor's was tuned on, to see how it does on what it has not met.
const more = [
    ['bootstrap@3', 'bootstrap3/dist/css/bootstrap.css'],
    ['water.css', 'water.css/out/water.css'],
    ['uikit', 'uikit/dist/css/uikit.css'],
    ['milligram', 'milligram/dist/milligram.css'],
    ['spectre.css', 'spectre.css/dist/spectre.css'],
    ['purecss', 'purecss/build/pure.css'],
    ['tachyons', 'tachyons/css/tachyons.css'],
    ['mvp.css', 'mvp.css/mvp.css'],
    ['chota', 'chota/dist/chota.css'],
    ['materialize-css', 'materialize-css/dist/css/materialize.css'],
    ['@tabler/core', '@tabler/core/dist/css/tabler.css'],
];

// What an adjustment should make of a colour (8-bit sRGB channels, alpha 0..1). Another mode is
// another entry: its pictor-cli arguments and the colour a browser should paint afterwards.
const modes = {
    invert: { args: ['--invert'], expected: (c) => ({ r: 255 - c.r, g: 255 - c.g, b: 255 - c.b, a: c.a }) },
    // The page follows the reader's setting: read once in the light scheme, once in the dark one.
    dark: { args: ['--dark', '--follow-system'], dark: true },
};
// pictor-cli's default ends: the oklch lightness white and black become.
const darkEnd = 0.18, lightEnd = 0.93;

function usage(message) {
    if (message) console.error(`check-painted: ${message}`);
    console.error('usage: check-painted [--mode invert|dark] [--more] [--only NAME,...] [--max-selectors N] [--top N] [--lookups N] PICTOR_CLI CHROMIUM');
    process.exit(2);
}

const options = { mode: 'invert', more: false, only: null, maxSelectors: 4000, top: 12, lookups: 200 };
const positional = [];
for (let k = 2; k < process.argv.length; ++k) {
    const arg = process.argv[k];
    const value = () => process.argv[++k] ?? usage(`${arg} needs a value`);
    if (arg === '--mode') options.mode = value();
    else if (arg === '--only') options.only = value().split(',');
    else if (arg === '--more') options.more = true;
    else if (arg === '--max-selectors') options.maxSelectors = Number(value());
    else if (arg === '--top') options.top = Number(value());
    else if (arg === '--lookups') options.lookups = Number(value());
    else if (arg.startsWith('--')) usage(`unknown option ${arg}`);
    else positional.push(arg);
}
if (positional.length !== 2) usage();
const [cli, chromium] = positional;
const mode = modes[options.mode] ?? usage(`unknown mode ${options.mode}`);
for (const name of ['maxSelectors', 'top', 'lookups']) if (!(options[name] > 0)) usage('--max-selectors, --top and --lookups take a positive number');

// ---------------------------------------------------------------------------------------------------
// A page from the sheet's selectors

const voidTags = new Set('area base br col embed hr img input link meta source track wbr'.split(' '));
// Tags that hold no rendered element children: a selector going below them is cut there.
const leafTags = new Set([...voidTags, 'textarea', 'option', 'iframe', 'script', 'style', 'title', 'select']);
const unrenderedTags = new Set('head title meta link base script style template noscript'.split(' '));
const phrasingParents = new Set('p span a button label h1 h2 h3 h4 h5 h6 strong em small b i u s code abbr cite q sub sup mark kbd samp var time legend summary'.split(' '));
// The parser moves or drops table parts found outside their parent: give them one.
const tableParent = { td: 'tr', th: 'tr', tr: 'tbody', tbody: 'table', thead: 'table', tfoot: 'table', caption: 'table', colgroup: 'table', col: 'colgroup' };
const tableChild = { table: 'tbody', tbody: 'tr', thead: 'tr', tfoot: 'tr', tr: 'td' };
const defaultChild = { ul: 'li', ol: 'li', menu: 'li', dl: 'dd', svg: 'g', g: 'g', datalist: 'option', optgroup: 'option' };

const decode = (name) => csstree.ident.decode(name);
// States a page at rest is never in, and pseudo-elements getComputedStyle does not reach: a selector
// with one of these styles no element here, so it is left out of the sample.
const unreachable = /^(hover|focus|focus-within|focus-visible|active|visited|target|target-within|autofill|-webkit-autofill|fullscreen|modal|popover-open|user-invalid|user-valid|selection|-moz-.*|-ms-.*|-webkit-(?!input-placeholder).*)$/i;

// One compound selector as an element: tag, id, classes, attributes; null where it cannot be made.
function compound(nodes) {
    const element = { tag: null, id: null, classes: [], attrs: new Map(), root: false };
    const add = (node) => {
        switch (node.type) {
        case 'TypeSelector':
            if (node.name !== '*' && !node.name.includes('|')) element.tag = node.name.toLowerCase();
            return true;
        case 'IdSelector': element.id = decode(node.name); return true;
        case 'ClassSelector': element.classes.push(decode(node.name)); return true;
        case 'NestingSelector': return false;
        case 'AttributeSelector': {
            const name = decode(node.name.name);
            if (/[\s"'=<>/|]/.test(name)) return false;
            const value = !node.value ? '' : node.value.type === 'String' ? node.value.value : decode(node.value.name);
            element.attrs.set(name.toLowerCase(), value);
            return true;
        }
        case 'PseudoElementSelector':
            if (unreachable.test(node.name)) return false;
            if (/placeholder/.test(node.name)) {
                element.tag ??= 'input';
                element.attrs.set('placeholder', 'x');
            } else if (node.name === 'marker') element.tag ??= 'li';
            return true;
        case 'PseudoClassSelector': {
            const name = node.name.toLowerCase();
            if (unreachable.test(name)) return false;
            if (['is', 'where', 'matches', '-webkit-any', '-moz-any'].includes(name) && node.children) {
                // The first alternative stands for the list, if it is one compound.
                const first = node.children.first?.children?.first;
                if (!first || first.type !== 'Selector' || first.children.some((n) => n.type === 'Combinator')) return false;
                return first.children.toArray().every(add);
            }
            if (name === 'root') element.root = true;
            else if (['disabled', 'checked', 'required', 'open'].includes(name)) element.attrs.set(name, '');
            else if (name === 'read-only') element.attrs.set('readonly', '');
            else if (name === 'placeholder-shown') element.attrs.set('placeholder', 'x');
            else if (name === 'link' || name === 'any-link') { element.tag ??= 'a'; element.attrs.set('href', '#'); }
            else if (name === 'lang' || name === 'dir') {
                const argument = node.children?.first;
                if (argument?.type === 'Identifier') element.attrs.set(name, argument.name);
            }
            return true; // states (:hover, :focus, …) and structure (:first-child, :not(), …) are not made
        }
        default: return false;
        }
    };
    return nodes.every(add) ? element : null;
}

// A selector as a chain of compounds and the combinators before each; null where one cannot be made.
function chain(selector) {
    const links = [];
    let nodes = [], combinator = null;
    for (const node of selector.children) {
        if (node.type === 'Combinator') {
            links.push({ combinator, nodes });
            combinator = node.name;
            nodes = [];
        } else nodes.push(node);
    }
    links.push({ combinator, nodes });
    const result = [];
    for (const link of links) {
        const element = compound(link.nodes);
        if (!element) return null;
        result.push({ ...element, combinator: link.combinator });
    }
    return result;
}

// Every distinct selector of the sheet's style rules, in sheet order (@media and @supports included),
// and of those the ones an element can be made for, as chains: first those of rules that set a colour.
const colourProperty = /color|background|border|outline|shadow|fill|stroke|decoration|caret|column-rule|emphasis/i;
function selectors(css) {
    const seen = new Set(), colourful = [], list = [];
    csstree.walk(csstree.parse(css, { parseValue: false, parseCustomProperty: false }), {
        visit: 'Rule',
        enter(rule) {
            if (this.atrule && /keyframes$/i.test(this.atrule.name)) return;
            if (rule.prelude.type !== 'SelectorList') return;
            const paints = rule.block.children.some((d) => d.type === 'Declaration' && colourProperty.test(d.property));
            for (const selector of rule.prelude.children) {
                const text = csstree.generate(selector);
                if (seen.has(text)) continue;
                seen.add(text);
                const links = chain(selector);
                if (links) (paints ? colourful : list).push(links);
            }
        },
    });
    return { count: seen.size, colourful, rest: list };
}

// Every n-th item, so that a sample spans the whole list and is the same on every run. Selectors of
// rules that set colours come first.
const spread = (list, n) => list.length <= n ? list : Array.from({ length: n }, (_, k) => list[Math.floor(k * list.length / n)]);
function sample({ colourful, rest }, count) {
    return colourful.length >= count ? spread(colourful, count) : [...colourful, ...spread(rest, count - colourful.length)];
}

const node = (tag, parent) => ({ tag, id: null, classes: [], attrs: new Map(), children: [], parent });

function attach(parent, tag) {
    const needed = tableParent[tag];
    if (needed && !(parent.tag === needed || (tag === 'tr' && ['thead', 'tfoot', 'table'].includes(parent.tag))))
        parent = attach(parent, needed);
    else if (!needed && tableChild[parent.tag]) parent = attach(parent, tableChild[parent.tag]);
    const child = node(tag, parent);
    parent.children.push(child);
    return child;
}

function defaultTag(parent) {
    return defaultChild[parent.tag] ?? tableChild[parent.tag] ?? (phrasingParents.has(parent.tag) ? 'span' : 'div');
}

// Adds the elements one selector needs below body.
function build(body, links) {
    let previous = null;
    for (const [k, link] of links.entries()) {
        const contextual = k === 0 && (link.root || link.tag === 'html' || link.tag === 'body');
        if (contextual && !link.id && !link.classes.length && !link.attrs.size) continue; // body itself
        let parent;
        if (!previous || link.combinator === ' ' || link.combinator === '>') parent = previous ?? body;
        else parent = previous.parent; // + and ~: a sibling after the previous element
        if (leafTags.has(parent.tag) && !(parent.tag === 'select' && ['option', 'optgroup'].includes(link.tag))) return;
        let tag = link.tag;
        if (!tag || unrenderedTags.has(tag) || ['html', 'body'].includes(tag)) tag = defaultTag(parent);
        const element = attach(parent, tag);
        element.id = link.id;
        element.classes = link.classes.filter((c) => !/\s/.test(c));
        element.attrs = link.attrs;
        previous = element;
    }
}

const escape = (text) => text.replace(/&/g, '&amp;').replace(/"/g, '&quot;').replace(/</g, '&lt;').replace(/>/g, '&gt;');

function html(element, out) {
    let open = `<${element.tag}`;
    if (element.id) open += ` id="${escape(element.id)}"`;
    if (element.classes.length) open += ` class="${escape(element.classes.join(' '))}"`;
    for (const [name, value] of element.attrs) if (name !== 'id' && name !== 'class') open += ` ${name}="${escape(value)}"`;
    out.push(open + '>');
    if (voidTags.has(element.tag)) return;
    for (const child of element.children) html(child, out);
    out.push(`</${element.tag}>`);
}

function page(list) {
    const body = node('body', null);
    for (const links of list) build(body, links);
    const out = ['<!DOCTYPE html>\n<html><head><meta charset="utf-8"><link rel="stylesheet" href="s.css"></head><body>\n'];
    for (const child of body.children) { html(child, out); out.push('\n'); }
    out.push('</body></html>\n');
    return out.join('');
}

// ---------------------------------------------------------------------------------------------------
// Computed colours

// Properties read on every box: whether they inherit (then compared with the parent's value), and when
// the browser paints them at all (`v` gives a computed value of the box, `tag` its element's name).
const visibleLine = (side) => (v) => !/^(none|hidden)$/.test(v(`${side}-style`)) && parseFloat(v(`${side}-width`)) > 0;
const always = () => true;
const properties = [
    ['color', true, always], ['background-color', false, always], ['background-image', false, always],
    ...['top', 'right', 'bottom', 'left'].map((side) => [`border-${side}-color`, false, visibleLine(`border-${side}`)]),
    ['outline-color', false, visibleLine('outline')],
    ['text-decoration-color', false, (v) => v('text-decoration-line') !== 'none'],
    ['column-rule-color', false, (v) => visibleLine('column-rule')(v) && (v('column-count') !== 'auto' || v('column-width') !== 'auto')],
    ['box-shadow', false, always], ['text-shadow', true, always], ['fill', true, always], ['stroke', true, always],
    ['stop-color', false, (v, tag) => tag === 'stop'],
    ['flood-color', false, (v, tag) => /^fe(flood|dropshadow)$/.test(tag)],
    ['lighting-color', false, (v, tag) => /^fe(diffuse|specular)lighting$/.test(tag)],
    ['caret-color', true, (v, tag) => /^(input|textarea)$/.test(tag)],
    ['accent-color', true, (v, tag) => /^(input|progress|meter)$/.test(tag)],
    ['text-emphasis-color', true, (v) => v('text-emphasis-style') !== 'none'],
    ['-webkit-text-fill-color', true, always],
    ['-webkit-text-stroke-color', true, (v) => parseFloat(v('-webkit-text-stroke-width')) > 0],
];
// Read besides the colours, for the conditions above.
const conditions = ['outline-style', 'outline-width', 'text-decoration-line', 'column-rule-style', 'column-rule-width',
    'column-count', 'column-width', 'text-emphasis-style', '-webkit-text-stroke-width',
    ...['top', 'right', 'bottom', 'left'].flatMap((side) => [`border-${side}-style`, `border-${side}-width`])];
const propertyNames = [...properties.map(([name]) => name), ...conditions];
const column = new Map(propertyNames.map((name, k) => [name, k]));

// Runs in the page. Boxes are elements and their pseudo-elements, each as [element, pseudo, parent box, tag];
// without `boxes` it finds them (::before/::after with content, ::placeholder, ::marker of list items).
// Values come back as indexes into a string table to keep the transfer small.
function readPage(names, boxes) {
    const elements = [document.documentElement, document.body, ...document.body.querySelectorAll('*')];
    if (!boxes) {
        boxes = [];
        const boxOf = new Map();
        for (const [k, element] of elements.entries()) {
            const parent = element.parentElement ? boxOf.get(element.parentElement) ?? -1 : -1;
            boxOf.set(element, boxes.length);
            const self = boxes.length;
            boxes.push([k, '', parent, element.localName]);
            const pseudos = ['::before', '::after'];
            if (/^(INPUT|TEXTAREA)$/.test(element.tagName)) pseudos.push('::placeholder');
            if (getComputedStyle(element).display === 'list-item') pseudos.push('::marker');
            for (const pseudo of pseudos) {
                const content = getComputedStyle(element, pseudo).content;
                if (pseudo.endsWith('before') || pseudo.endsWith('after') ? content !== 'none' && content !== 'normal' : true)
                    boxes.push([k, pseudo, self, element.localName]);
            }
        }
    }
    const strings = new Map(), table = [];
    const intern = (s) => {
        let k = strings.get(s);
        if (k === undefined) { k = table.length; strings.set(s, k); table.push(s); }
        return k;
    };
    const values = boxes.map(([k, pseudo]) => {
        const style = getComputedStyle(elements[k], pseudo || null);
        return names.map((name) => intern(style.getPropertyValue(name)));
    });
    return { boxes, table, values, elements: elements.length };
}

async function read(browserPage, boxes) {
    const { boxes: found, table, values, elements } = await browserPage.evaluate(readPage, propertyNames, boxes);
    return { boxes: found, elements, values: values.map((row) => row.map((k) => table[k])) };
}

// Colour tokens in a computed value as { text, svg }, in order (gradients and shadows hold several, and so does an SVG
// picture in a data: URL).
const colourToken = /\burl\("(?:[^"\\]|\\.)*"\)|\b(?:color-mix|light-dark|rgba?|hsla?|hwb|lab|lch|oklab|oklch|color)\(|#[0-9a-f]{3,8}\b|\b(?:currentcolor|transparent)\b/gi;
function tokens(value) {
    const found = [];
    const pattern = new RegExp(colourToken);
    for (let match; (match = pattern.exec(value));) {
        let end = pattern.lastIndex;
        if (match[0].startsWith('url(')) {
            found.push(...svgColours(match[0].slice(5, -2).replace(/\\(.)/g, '$1')).map((text) => ({ text, svg: true })));
            continue;
        }
        if (match[0].endsWith('(')) {
            for (let depth = 1; end < value.length && depth; ++end) depth += value[end] === '(' ? 1 : value[end] === ')' ? -1 : 0;
            pattern.lastIndex = end;
        }
        found.push({ text: value.slice(match.index, end), svg: false });
    }
    return found;
}

// The colours of the paint attributes and style properties of an SVG picture in a data: URL.
function svgColours(url) {
    const header = /^data:image\/svg\+xml([^,]*),/i.exec(url);
    if (!header) return [];
    let svg = url.slice(header[0].length);
    try {
        svg = /;base64$/i.test(header[1]) ? Buffer.from(svg, 'base64').toString('utf8') : decodeURIComponent(svg);
    } catch { return []; }
    const paint = /\b(?:fill|stroke|stop-color|flood-color|lighting-color|color)\s*(?:=\s*(["'])(.*?)\1|:\s*([^;"'}>]+))/gi;
    const found = [];
    for (let match; (match = paint.exec(svg));) {
        const text = (match[2] ?? match[3]).trim();
        if (srgb(text)) found.push(text);
    }
    return found;
}

// 8-bit sRGB as a display paints it (out-of-gamut channels clipped), or null for what is no colour here.
const parsed = new Map();
function srgb(token) {
    if (parsed.has(token)) return parsed.get(token);
    let result = null;
    try {
        const colour = new Color(token).to('srgb');
        const [r, g, b] = colour.coords.map((c) => Math.round(Math.min(1, Math.max(0, Number.isNaN(c) ? 0 : c)) * 255));
        result = { r, g, b, a: Number(colour.alpha ?? 1) };
    } catch { /* currentcolor, unresolved color-mix(): compared as text */ }
    parsed.set(token, result);
    return result;
}

function srgbMapped(token) {
    const colour = new Color(token).toGamut({ space: 'srgb', method: 'css' }).to('srgb');
    const [r, g, b] = colour.coords.map((c) => Math.round(Math.min(1, Math.max(0, Number.isNaN(c) ? 0 : c)) * 255));
    return { r, g, b, a: Number(colour.alpha ?? 1) };
}

const same = (x, y) => (x.a === 0 && y.a === 0) ||
    (Math.abs(x.r - y.r) <= 1 && Math.abs(x.g - y.g) <= 1 && Math.abs(x.b - y.b) <= 1 && Math.abs(x.a - y.a) <= 1 / 255);
function equal(x, y) {
    const cx = srgb(x), cy = srgb(y);
    return cx && cy ? same(cx, cy) : x === y;
}

// ---------------------------------------------------------------------------------------------------
// Counting

// Each colour slot of each property that paints on each box: author's (differs from the page without the sheet) or
// the browser's default; set on the box or inherited; painted as expected or not. A slot that is the
// box's own `color` before and after (currentcolor: borders, outlines, carets, shadows without a colour)
// is that colour again and not counted twice.
function count(defaults, before, after) {
    const result = { all: 0, allExact: 0, set: 0, setExact: 0, defaults: 0, defaultsChanged: 0, writtenAsDefault: 0, setSvg: 0, setSvgExact: 0, misses: [], changed: [] };
    for (const [b, [, , parent, tag]] of before.boxes.entries()) {
        const ownBefore = before.values[b][0], ownAfter = after.values[b][0];
        const v = (name) => before.values[b][column.get(name)];
        for (const [p, [name, inherited, paints]] of properties.entries()) {
            if (!paints(v, tag)) continue;
            const texts = (value) => tokens(value).map((token) => token.text);
            const found = tokens(before.values[b][p]);
            const was = found.map((token) => token.text), now = texts(after.values[b][p]), plain = texts(defaults.values[b][p]);
            const inParent = parent >= 0 ? texts(before.values[parent][p]) : [];
            for (const [k, token] of was.entries()) {
                if (name !== 'color' && equal(token, ownBefore) && now[k] !== undefined && equal(now[k], ownAfter)) continue;
                const miss = { box: b, name, before: token, after: now[k] ?? '(none)' };
                const colour = srgb(token), then = now[k] !== undefined ? srgb(now[k]) : null;
                if (colour?.a === 0 && then?.a === 0) continue; // paints nothing, before and after
                const exact = colour && then ? same(mode.expected(colour), then) : false;
                if (plain[k] !== undefined && equal(token, plain[k])) {
                    // The sheet may write the browser's own colour (`.close { color: #000 }`): seen only
                    // when it comes out adjusted, so counted neither way.
                    if (now[k] !== undefined && equal(token, now[k])) ++result.defaults;
                    else if (exact) ++result.writtenAsDefault;
                    else { ++result.defaultsChanged; result.changed.push(miss); }
                    continue;
                }
                const set = !inherited || inParent[k] === undefined || !equal(token, inParent[k]);
                ++result.all;
                if (exact) ++result.allExact;
                if (set) {
                    ++result.set;
                    if (exact) ++result.setExact;
                    else result.misses.push(miss);
                    if (found[k].svg) { ++result.setSvg; if (exact) ++result.setSvgExact; }
                }
            }
        }
    }
    return result;
}

// The dark scheme: in the light scheme every colour slot of every painted property as it was; in the
// dark scheme each author colour set on the element (as `count` takes them) with the mirrored oklch
// lightness (±0.02) and its hue (±3° where the dark colour's chroma is above 0.03); and the share of
// element boxes whose text colour and background (the nearest one painted, else the canvas) reach AA.
// A colour off the mirror that paints what pictor-cli says it nudged that colour to (`nudged`, from its
// report) is counted apart, as right.
function countDark(defaults, before, light, dark, canvas, nudged) {
    const result = { lightSlots: 0, lightSame: 0, set: 0, setExact: 0, lightness: 0, hue: 0, nudged: 0, misses: [], changed: [],
        pairs: 0, aaBefore: 0, aaDark: 0, lost: [] };
    const opaque = (c) => ({ ...c, a: 1 });
    // The computed colour's own coordinates, not those of its clipped sRGB: what the author wrote.
    const oklch = (token) => new Color(token).to('oklch').coords;
    const hueKept = (token, dark) => {
        const [, , h] = oklch(token), [, c2, h2] = oklch(dark);
        return !(c2 > 0.03) || Math.min(Math.abs(h2 - h), 360 - Math.abs(h2 - h)) <= 3;
    };
    // pictor-cli names a colour beyond sRGB as CSS gamut mapping brings it in; the browser clips it. A
    // colour the browser makes dark itself (a relative colour) is nudged right with the nudged
    // lightness (±0.02) and its own hue.
    const asNudged = (token, colour, then, dark) => nudged.some(([from, to]) =>
        (same(from, opaque(colour)) || same(from, opaque(srgbMapped(token)))) &&
        (same(to, opaque(then)) || (Math.abs(oklch(dark)[0] - oklch(rgbText(to))[0]) <= 0.02 && hueKept(token, dark))));
    for (const [b, [, , parent, tag]] of before.boxes.entries()) {
        const v = (name) => before.values[b][column.get(name)];
        for (const [p, [name, inherited, paints]] of properties.entries()) {
            if (!paints(v, tag)) continue;
            const was = tokens(before.values[b][p]).map((t) => t.text);
            const inLight = tokens(light.values[b][p]).map((t) => t.text), inDark = tokens(dark.values[b][p]).map((t) => t.text);
            const plain = tokens(defaults.values[b][p]).map((t) => t.text);
            const inParent = parent >= 0 ? tokens(before.values[parent][p]).map((t) => t.text) : [];
            for (const [k, token] of was.entries()) {
                ++result.lightSlots;
                if (inLight[k] !== undefined && equal(token, inLight[k])) ++result.lightSame;
                else result.changed.push({ box: b, name, before: token, after: inLight[k] ?? '(none)' });
                if (plain[k] !== undefined && equal(token, plain[k])) continue;
                if (inherited && inParent[k] !== undefined && equal(token, inParent[k])) continue;
                const colour = srgb(token), then = inDark[k] !== undefined ? srgb(inDark[k]) : null;
                if (!colour || colour.a === 0) continue;
                ++result.set;
                const miss = { box: b, name, before: token, after: inDark[k] ?? '(none)' };
                if (!then) { result.misses.push(miss); continue; }
                const [l] = oklch(token), [l2] = oklch(inDark[k]);
                const lightnessOk = Math.abs(l2 - (darkEnd + (lightEnd - darkEnd) * (1 - l))) <= 0.02;
                const hueOk = hueKept(token, inDark[k]);
                if (lightnessOk) ++result.lightness;
                if (hueOk) ++result.hue;
                if (lightnessOk && hueOk) ++result.setExact;
                else if (asNudged(token, colour, then, inDark[k])) ++result.nudged;
                else result.misses.push(miss);
            }
        }
    }
    // Text on its background, before and in the dark scheme.
    // The backgrounds below a box down to an opaque one, else the canvas, painted one over the other.
    const over = (top, under) => top.a >= 1 ? top : {
        r: top.r * top.a + under.r * (1 - top.a), g: top.g * top.a + under.g * (1 - top.a),
        b: top.b * top.a + under.b * (1 - top.a), a: 1 };
    const ground = (read, b, fallback) => {
        const layers = [];
        for (let box = b; box >= 0; box = read.boxes[box][2]) {
            const c = srgb(read.values[box][column.get('background-color')]);
            if (c && c.a > 0) layers.push(c);
            if (c && c.a >= 1) break;
        }
        return layers.reduceRight((under, top) => over(top, under), fallback);
    };
    const ratio = (text, back) => new Color('srgb', [text.r / 255, text.g / 255, text.b / 255])
        .contrast(new Color('srgb', [back.r / 255, back.g / 255, back.b / 255]), 'WCAG21');
    for (const [b, [, pseudo]] of before.boxes.entries()) {
        if (pseudo) continue;
        const text = srgb(before.values[b][0]), darkText = srgb(dark.values[b][0]);
        if (!text || !darkText || text.a === 0) continue;
        ++result.pairs;
        const back = ground(before, b, { r: 255, g: 255, b: 255, a: 1 }), darkBack = ground(dark, b, canvas);
        const was = ratio(over(text, back), back) >= 4.5, now = ratio(over(darkText, darkBack), darkBack) >= 4.5;
        if (was) ++result.aaBefore;
        if (now) ++result.aaDark;
        if (was && !now) result.lost.push({ box: b, name: 'text on background', before: `${rgbText(text)} on ${rgbText(back)}`,
            after: `${rgbText(darkText)} on ${rgbText(darkBack)}` });
    }
    return result;
}

// Misses grouped by the declaration that set them (else by property and computed colours), most first.
function groups(misses) {
    const byKey = new Map();
    for (const miss of misses) {
        const family = miss.name.replace(/^border-(top|right|bottom|left)-color$/, 'border-color');
        const key = miss.declaration ? miss.declaration.text : `${family}: ${miss.before} → ${miss.after}`;
        const group = byKey.get(key) ?? { key, count: 0, example: miss };
        ++group.count;
        byKey.set(key, group);
    }
    return [...byKey.values()].sort((x, y) => y.count - x.count);
}

// Longhand -> the declarations that can set it, for finding the authored text of a miss.
function setters(name) {
    const side = /^border-(top|right|bottom|left)-color$/.exec(name)?.[1];
    if (side) {
        const logical = { top: 'block-start', bottom: 'block-end', left: 'inline-start', right: 'inline-end' }[side];
        const axis = logical.split('-')[0];
        return [name, 'border-color', `border-${side}`, 'border', `border-${logical}-color`, `border-${logical}`,
            `border-${axis}-color`, `border-${axis}`];
    }
    const shorthand = { 'background-color': 'background', 'background-image': 'background', 'outline-color': 'outline',
        'text-decoration-color': 'text-decoration', 'column-rule-color': 'column-rule', 'text-emphasis-color': 'text-emphasis',
        '-webkit-text-stroke-color': '-webkit-text-stroke' }[name];
    return shorthand ? [name, shorthand] : [name];
}

// The sheet's declarations that win for a miss's property on its box, as Chromium's inspector finds
// them: { text: "property: value", selector }, or null. Matched rules are asked once per element.
function declarations(session, nodeIds) {
    const matched = new Map();
    return async (before, miss) => {
        const [element, pseudo] = before.boxes[miss.box];
        if (!matched.has(element))
            matched.set(element, await session.send('CSS.getMatchedStylesForNode', { nodeId: nodeIds[element] }).catch(() => null));
        const styles = matched.get(element);
        if (!styles) return null;
        const rules = pseudo
            ? (styles.pseudoElements ?? []).filter((p) => `::${p.pseudoType}` === pseudo).flatMap((p) => p.matches)
            : styles.matchedCSSRules ?? [];
        const names = setters(miss.name);
        let winner = null;
        for (const { rule } of rules) { // in cascade order: a later one wins unless only an earlier is !important
            if (rule.origin !== 'regular') continue;
            for (const property of rule.style.cssProperties) {
                // Longhands a shorthand with var() expands to come back empty: the shorthand speaks for them.
                const value = property.value?.replace(/\s*!important\s*$/i, '');
                if (!names.includes(property.name) || property.disabled || property.parsedOk === false || !value) continue;
                if (!winner || property.important || !winner.important)
                    winner = { text: `${property.name}: ${value}${property.important ? ' !important' : ''}`,
                        selector: rule.selectorList.text, important: property.important };
            }
        }
        return winner;
    };
}

// ---------------------------------------------------------------------------------------------------

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'pictor-painted-'));
const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    args: ['--disable-gpu', ...(process.getuid?.() === 0 ? ['--no-sandbox'] : [])],
    defaultViewport: { width: 1280, height: 800 },
});

async function open(file, scheme = 'light') {
    const browserPage = await browser.newPage();
    await browserPage.emulateMediaFeatures([{ name: 'prefers-color-scheme', value: scheme }]);
    await browserPage.goto('file://' + file, { waitUntil: 'load', timeout: 120000 });
    return browserPage;
}

const cut = (text, length) => text.length > length ? text.slice(0, length) + '…' : text;
// What pictor-cli's report says it nudged, as [light colour, dark colour] pairs, from lines
// "nudged to stay AA: colour 12 and 40, #FG on #BG (was #FG on #BG), …".
function nudgedColours(report) {
    const found = [];
    for (const line of report.split('\n')) {
        const match = /(?:nudged to stay|could not stay) .*?(#[0-9A-F]{6}) on (#[0-9A-F]{6}) \(was (#[0-9A-F]{6}) on (#[0-9A-F]{6})\)/.exec(line);
        if (match) found.push([srgb(match[3]), srgb(match[1])], [srgb(match[4]), srgb(match[2])]);
    }
    return found;
}
const rgbText = ({ r, g, b, a }) => a === 1 ? `rgb(${r}, ${g}, ${b})` : `rgba(${r}, ${g}, ${b}, ${a})`;
const pct = (part, whole) => whole ? `${(Math.floor(1000 * part / whole) / 10).toFixed(1)} %` : '–';
const rows = [], details = [];
let failed = false;
try {
    for (const [name, file] of options.more ? [...frameworks, ...more] : frameworks) {
        if (options.only && !options.only.includes(name)) continue;
        const css = fs.readFileSync(require.resolve(file), 'utf8');
        const folder = path.join(work, name.replace(/[@/.]/g, '_'));
        fs.mkdirSync(path.join(folder, 'a'), { recursive: true });
        const all = selectors(css), chosen = sample(all, options.maxSelectors);
        const pagePath = path.join(folder, 'a', 'index.html');
        fs.writeFileSync(pagePath, page(chosen));
        fs.writeFileSync(path.join(folder, 'a', 's.css'), css);
        const row = { name, kb: Math.round(Buffer.byteLength(css) / 1024), selectors: `${chosen.length} of ${all.count}` };
        rows.push(row);
        try {
            const first = await open(pagePath);
            const before = await read(first);
            await first.evaluate(() => { document.querySelector('link[rel=stylesheet]').disabled = true; });
            const defaults = await read(first, before.boxes);
            await first.evaluate(() => { document.querySelector('link[rel=stylesheet]').disabled = false; });

            // A copy adjusted in place: a save below another folder lays files out below the folder
            // every file shares, which references that climb out of the page's folder (Bootstrap 3's
            // ../fonts/) move up.
            fs.cpSync(path.join(folder, 'a'), path.join(folder, 'b'), { recursive: true });
            const report = execFileSync(cli, ['adjust', path.join(folder, 'b', 'index.html'), ...mode.args, '--in-place'],
                { stdio: ['ignore', 'pipe', 'pipe'], encoding: 'utf8', maxBuffer: 1 << 28 });
            if (mode.dark) {
                const adjusted = path.join(folder, 'b', 'index.html');
                const inLight = await open(adjusted), inDark = await open(adjusted, 'dark');
                const light = await read(inLight, before.boxes), dark = await read(inDark, before.boxes);
                const canvas = srgb(await inDark.evaluate(() => {
                    const probe = document.createElement('div');
                    probe.style.backgroundColor = 'Canvas';
                    document.documentElement.append(probe);
                    const value = getComputedStyle(probe).backgroundColor;
                    probe.remove();
                    return value;
                }));
                const result = countDark(defaults, before, light, dark, canvas, nudgedColours(report));
                // The element of each text that lost AA and of each miss, with its ancestors: "a.navbar-item < div.navbar.is-link".
                const lostElements = [...new Set([...result.lost, ...result.misses].map((one) => before.boxes[one.box][0]))];
                const paths = await first.evaluate((indexes) => {
                    const elements = [document.documentElement, document.body, ...document.body.querySelectorAll('*')];
                    const name = (e) => e.localName + [...e.classList].map((c) => '.' + c).join('');
                    return indexes.map((k) => {
                        const chain = [];
                        for (let e = elements[k]; e && e !== document.body && chain.length < 4; e = e.parentElement) chain.push(name(e));
                        return chain.join(' < ');
                    });
                }, lostElements);
                const pathOf = new Map(lostElements.map((k, n) => [k, paths[n]]));
                for (const lost of result.lost) lost.after += ` (${pathOf.get(before.boxes[lost.box][0])})`;
                for (const miss of result.misses) miss.where = pathOf.get(before.boxes[miss.box][0]);
                await Promise.all([inLight.close(), inDark.close(), first.close()]);
                Object.assign(row, { elements: before.elements, boxes: before.boxes.length, ...result });
                if (result.lightSame !== result.lightSlots || result.aaDark < result.aaBefore) failed = true;
                const describe = ({ count, example: { name, before: was, after: now, where } }) =>
                    `- ${count}× ${name}: ${was} → ${now}${where ? ` (${where})` : ''}`;
                const lines = groups(spread(result.misses, options.lookups)).slice(0, options.top).map(describe);
                if (result.changed.length) lines.push('', 'Changed in the light scheme:', ...groups(result.changed).slice(0, options.top).map(describe));
                if (result.lost.length) lines.push('', 'Text at AA in the light scheme and below it in the dark one:', ...groups(result.lost).slice(0, options.top).map(describe));
                details.push({ name, lines });
                console.error(`check-painted: ${name} done`);
                continue;
            }
            const second = await open(path.join(folder, 'b', 'index.html'));
            const after = await read(second, before.boxes);
            await second.close();
            if (after.elements !== before.elements) throw new Error(`the adjusted page has ${after.elements} elements, not ${before.elements}`);

            const result = count(defaults, before, after);
            Object.assign(row, { elements: before.elements, boxes: before.boxes.length, ...result });
            if (result.set === 0 || result.setExact / result.set < 0.99 || result.defaultsChanged) failed = true;

            const session = await first.createCDPSession();
            await session.send('DOM.enable');
            await session.send('CSS.enable');
            const { root } = await session.send('DOM.getDocument', { depth: 0 });
            const { nodeIds } = await session.send('DOM.querySelectorAll', { nodeId: root.nodeId, selector: 'html, body, body *' });
            const declaration = declarations(session, nodeIds);
            // Chromium takes a while per element on a big sheet: a spread sample of the misses is looked up.
            const looked = { misses: spread(result.misses, options.lookups), changed: spread(result.changed, options.lookups) };
            for (const miss of [...looked.misses, ...looked.changed]) miss.declaration = await declaration(before, miss);
            const describe = ({ count, example: { name, before: was, after: now, declaration } }) => {
                const expected = srgb(was) ? `, expected ${rgbText(mode.expected(srgb(was)))}` : '';
                const where = declaration ? `\`${cut(declaration.text, 200)}\` (${name}, e.g. \`${cut(declaration.selector, 100)}\`): ` : `${name}: `;
                return `- ${count}× ${where}${was} → ${now}${expected}`;
            };
            const lines = [];
            if (looked.misses.length < result.misses.length) lines.push(`(counts among ${looked.misses.length} of the ${result.misses.length} misses, every n-th)`, '');
            lines.push(...groups(looked.misses).slice(0, options.top).map(describe));
            if (result.writtenAsDefault) lines.push('', `Equal to the browser's default and adjusted as expected (the sheet writes that colour; not counted): ${result.writtenAsDefault}`);
            const changed = groups(looked.changed).slice(0, options.top);
            if (changed.length) lines.push('', `Defaults changed (${looked.changed.length} of ${result.changed.length} looked up):`, ...changed.map(describe));
            details.push({ name, lines });
            await first.close();
        } catch (error) {
            row.error = String(error.stderr || error.message).trim().split('\n')[0];
            failed = true;
        }
        console.error(`check-painted: ${name} done`);
    }
} finally {
    await browser.close();
    fs.rmSync(work, { recursive: true, force: true });
}

if (mode.dark) {
    console.log('| Framework | Sheet (KB) | Selectors used of all | Elements (boxes) | Light scheme: colours unchanged | Dark: author colours set on the element | Mirrored lightness ±0.02 | Hue ±3° | Both | Nudged, painted as computed | Right (both or nudged) | Text/background pairs at AA, light → dark |');
    console.log('|---|---|---|---|---|---|---|---|---|---|---|---|');
    for (const r of rows) {
        if (r.error) console.log(`| ${r.name} | ${r.kb} | ${r.selectors} | failed: ${r.error} | | | | | | | | |`);
        else console.log(`| ${r.name} | ${r.kb} | ${r.selectors} | ${r.elements} (${r.boxes}) | ${r.lightSame} of ${r.lightSlots} | ${r.set} | ` +
            `${pct(r.lightness, r.set)} | ${pct(r.hue, r.set)} | ${pct(r.setExact, r.set)} | ${pct(r.nudged, r.set)} | ` +
            `${pct(r.setExact + r.nudged, r.set)} | ${pct(r.aaBefore, r.pairs)} → ${pct(r.aaDark, r.pairs)} |`);
    }
    for (const { name, lines } of details) {
        if (!lines.length) continue;
        console.log(`\n**${name}**, dark colours off the mirror and not painted as nudged, most first (count, property, computed colour before → in the dark scheme):\n`);
        console.log(lines.join('\n'));
    }
    process.exit(failed ? 1 : 0);
}
console.log(`| Framework | Sheet (KB) | Selectors used of all | Elements (boxes) | Author colours | Exact | Set on the element | Exact, set on the element | Of those in SVG data: URLs, exact | Defaults changed |`);
console.log('|---|---|---|---|---|---|---|---|---|---|');
for (const r of rows) {
    if (r.error) console.log(`| ${r.name} | ${r.kb} | ${r.selectors} | failed: ${r.error} | | | | | | |`);
    else console.log(`| ${r.name} | ${r.kb} | ${r.selectors} | ${r.elements} (${r.boxes}) | ${r.all} | ${pct(r.allExact, r.all)} | ` +
        `${r.set} | ${pct(r.setExact, r.set)} | ${r.setSvgExact} of ${r.setSvg} | ${r.defaultsChanged} of ${r.defaults} |`);
}
for (const { name, lines } of details) {
    if (!lines.length) continue;
    console.log(`\n**${name}**, colours set on the element and missed, by the declaration that sets them, most first (count, declaration, property and a selector, one computed colour before → after):\n`);
    console.log(lines.join('\n'));
}
process.exit(failed ? 1 : 0);
