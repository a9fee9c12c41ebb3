// SPDX-License-Identifier: GPL-3.0-or-later
// Puts the page together as one file: view.css at the template's style placeholder; the module's
// script, its WebAssembly (gzip-compressed, in base64), view.js, core.js and bind.js, in that
// order, at its script placeholder. Compressed, the module takes less than half the room.
//   node assemble-page.js <web/page> <vx40_module.js> <vx40_module.wasm> <vx40.html>
'use strict';

const fs = require('fs');
const zlib = require('zlib');

const [pageDir, moduleScript, moduleBinary, output] = process.argv.slice(2);
const read = (file) => fs.readFileSync(file, 'utf8');
const fail = (message) => {
    console.error(`assemble-page: ${message}`);
    process.exit(1);
};

const wasm = zlib.gzipSync(fs.readFileSync(moduleBinary), { level: 9 }).toString('base64');
const style = read(`${pageDir}/view.css`);
const script = [
    read(moduleScript),
    `const VX40_WASM_GZIP = '${wasm}';`,
    read(`${pageDir}/view.js`),
    read(`${pageDir}/core.js`),
    read(`${pageDir}/bind.js`),
].join('\n');
// Either would end the inline element early.
if (/<\/script/i.test(script) || /<\/style/i.test(style)) {
    fail('a part of the page closes its inline element');
}
let page = read(`${pageDir}/vx40.html`);
for (const [placeholder, text] of [['/*VX40_STYLE*/', style], ['/*VX40_SCRIPT*/', script]]) {
    const at = page.indexOf(placeholder);
    if (at < 0 || page.indexOf(placeholder, at + 1) >= 0) {
        fail(`the template needs ${placeholder} exactly once`);
    }
    page = page.slice(0, at) + text + page.slice(at + placeholder.length);
}
fs.writeFileSync(`${output}.new`, page);
fs.renameSync(`${output}.new`, output);
