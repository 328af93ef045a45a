// Prints the reference table the dark adjustment's tests read (tests/data/dark/oklch-reference.tsv):
// for colours across the sRGB gamut, their oklch coordinates and, with the default ends (18 % and 93 %),
// the mirrored colour mapped into sRGB by reducing oklch chroma until it is in the gamut, all computed by
// colorjs.io.
// Usage: node scripts/dark-reference.mjs > tests/data/dark/oklch-reference.tsv
// (colorjs.io from ~/.cache/pictor-painted/node_modules, which scripts/check-painted installs).
import { createRequire } from "node:module";
import os from "node:os";
import path from "node:path";

const require = createRequire(path.join(process.env.PICTOR_PAINTED ?? path.join(os.homedir(), ".cache/pictor-painted"), "x.js"));
const Color = require("colorjs.io").default;

const dark = 0.18, light = 0.93;
const colours = [];
// A grid over the cube, and the corners, greys and a few named colours of web pages.
const steps = [0, 51, 102, 153, 204, 255];
for (const r of steps) for (const g of steps) for (const b of steps) colours.push([r, g, b]);
for (const v of [17, 34, 68, 119, 136, 187, 221, 238]) colours.push([v, v, v]);
for (const hex of ["#0645ad", "#0b0080", "#ba0000", "#ffd700", "#fdf6e3", "#1e90ff", "#ff69b4", "#2e8b57", "#f4a460", "#6b8e23", "#663399"])
    colours.push(new Color(hex).to("srgb").coords.map((c) => Math.round(c * 255)));

const hex = (rgb) => "#" + rgb.map((c) => c.toString(16).padStart(2, "0")).join("").toUpperCase();
const fixed = (v) => (v == null || Number.isNaN(v) ? 0 : v).toFixed(6);
console.log("# colour\tL\tC\tH\tdark L\tdark colour (mapped, 8 bits)");
for (const rgb of colours) {
    const c = new Color("srgb", rgb.map((v) => v / 255));
    const [l, ch, h] = c.to("oklch").coords;
    const mirrored = dark + (light - dark) * (1 - l);
    const mapped = new Color("oklch", [mirrored, ch, h == null || Number.isNaN(h) ? 0 : h]).toGamut({ space: "srgb", method: "oklch.c", jnd: 0, deltaEMethod: "OK" }).to("srgb");
    const bytes = mapped.coords.map((v) => Math.min(255, Math.max(0, Math.round(v * 255))));
    console.log([hex(rgb), fixed(l), fixed(ch), fixed(h), fixed(mirrored), hex(bytes)].join("\t"));
}
