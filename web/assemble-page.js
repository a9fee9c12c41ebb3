// SPDX-License-Identifier: GPL-3.0-or-later
// Puts the page together as one file: view.css at the template's style placeholder; the module's
// script, its WebAssembly (gzip-compressed, in base64) and core.js at its module placeholder in
// the head, which starts the module at once; view.js and bind.js at its script placeholder.
// Compressed, the module takes less than half the room; every part loses its comments and
// indentation (compact-page.js).
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

const moduleParts = [];
if (!floor) {
    const wasm = zlib.gzipSync(fs.readFileSync(moduleBinary), { level: 9, memLevel: 9 }).toString('base64');
    moduleParts.push(read(moduleScript), `const VX40_WASM_GZIP='${wasm}';`);
}
moduleParts.push(read(`${pageDir}/core.js`));
if (!floor) {
    moduleParts.push('VX40Core.started=VX40Core.start();');
}
const compact = (scripts) => scripts.map(compactScript).join('\n');
const moduleScripts = compact(moduleParts);
const script = compact(['view.js', 'bind.js'].map((name) => read(`${pageDir}/${name}`)));
const style = compactStyle(read(`${pageDir}/view.css`));
// Either would end the inline element early.
if (/<\/script/i.test(moduleScripts + script) || /<\/style/i.test(style)) {
    fail('a part of the page closes its inline element');
}
let page = compactMarkup(read(`${pageDir}/vx40.html`));
const placeholders = [
    ['/*VX40_STYLE*/', style],
    ['/*VX40_MODULE*/', moduleScripts],
    ['/*VX40_SCRIPT*/', script],
];
for (const [placeholder, text] of placeholders) {
    const at = page.indexOf(placeholder);
    if (at < 0 || page.indexOf(placeholder, at + 1) >= 0) {
        fail(`the template needs ${placeholder} exactly once`);
    }
    page = page.slice(0, at) + text + page.slice(at + placeholder.length);
}
fs.writeFileSync(`${output}.new`, page);
fs.renameSync(`${output}.new`, output);
