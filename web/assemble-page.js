// SPDX-License-Identifier: GPL-3.0-or-later
// Puts the page together as one file: view.css at the template's style placeholder; the module's
// script, its WebAssembly (gzip-compressed, in base64), view.js, core.js and bind.js, in that
// order, at its script placeholder. Compressed, the module takes less than half the room; every
// part loses its comments and indentation (compact-page.js).
//   node assemble-page.js <web/page> <vx40_module.js> <vx40_module.wasm> <vx40.html>
// The same page without its module (the floor its start-up is measured against):
//   node assemble-page.js --floor <web/page> <vx40-floor.html>
'use strict';

const fs = require('fs');
const path = require('path');
const zlib = require('zlib');
const { compactScript, compactStyle, compactMarkup } = require(path.join(__dirname, 'compact-page.js'));

const floor = process.argv[2] === '--floor';
const [pageDir, moduleScript, moduleBinary, output] = floor
    ? [process.argv[3], null, null, process.argv[4]]
    : process.argv.slice(2);
const read = (file) => fs.readFileSync(file, 'utf8');
const fail = (message) => {
    console.error(`assemble-page: ${message}`);
    process.exit(1);
};

const parts = [];
if (!floor) {
    const wasm = zlib.gzipSync(fs.readFileSync(moduleBinary), { level: 9 }).toString('base64');
    parts.push(read(moduleScript), `const VX40_WASM_GZIP='${wasm}';`);
}
parts.push(...['view.js', 'core.js', 'bind.js'].map((name) => read(`${pageDir}/${name}`)));
const style = compactStyle(read(`${pageDir}/view.css`));
const script = parts.map(compactScript).join('\n');
// Either would end the inline element early.
if (/<\/script/i.test(script) || /<\/style/i.test(style)) {
    fail('a part of the page closes its inline element');
}
let page = compactMarkup(read(`${pageDir}/vx40.html`));
for (const [placeholder, text] of [['/*VX40_STYLE*/', style], ['/*VX40_SCRIPT*/', script]]) {
    const at = page.indexOf(placeholder);
    if (at < 0 || page.indexOf(placeholder, at + 1) >= 0) {
        fail(`the template needs ${placeholder} exactly once`);
    }
    page = page.slice(0, at) + text + page.slice(at + placeholder.length);
}
fs.writeFileSync(`${output}.new`, page);
fs.renameSync(`${output}.new`, output);
