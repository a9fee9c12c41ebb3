// SPDX-License-Identifier: GPL-3.0-or-later
// The page's parts compacted for the one file: shorter, and the same script, style and markup.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const path = require('node:path');

const { compactScript, compactStyle, compactMarkup } =
    require(path.join(__dirname, '..', '..', 'web', 'compact-page.js'));

test('a compacted script computes what its source computes', () => {
    // Each source is an expression's body; the cases are the ones a blind cut would break.
    const cases = [
        'let a = 1, b = 2; return a - -b + +b;', // operators that would join
        'let a = 5\nlet b = a\n++a\nreturn [a, b];', // a line break that ends a statement
        'return (() => {\n  return\n  42;\n})();', // a return that ends at its line
        'const s = "  two  blanks  // not a comment /* nor this */"; return s;',
        'const t = `a  ${1 + 1}  b\n   c`; return t;', // a template literal keeps its blanks
        'const r = / +\\/\\*x/g; return "a  /*x".replace(r, "-") + 4 / 2 / 1;', // regex or division
        'let n = 1 .toString(); return n + typeof n;',
        '/* a comment */ let x = 1; // another\nreturn x in {1: 0} ? "in" : "out";',
        'const f = async function () { return await 1; }; return typeof f;',
    ];
    for (const source of cases) {
        const compacted = compactScript(source);
        assert.ok(compacted.length < source.length, source);
        assert.deepStrictEqual(new Function(compacted)(), new Function(source)(), source);
    }
});

test('a compacted style keeps its strings, selectors and values', () => {
    const cases = [
        ['a > b ,\n  c  d { color: red ; }', 'a>b,c d{color:red}'],
        ['.x :focus { content: "  /* kept */  "; }', '.x :focus{content:"  /* kept */  "}'],
        ['/* gone */ .y { font: 11px "MS Sans Serif", sans-serif; margin: 0 2px; }',
         '.y{font:11px "MS Sans Serif",sans-serif;margin:0 2px}'],
        ['.z { width: calc(100% - 2px); }', '.z{width:calc(100% - 2px)}'],
    ];
    for (const [source, expected] of cases) {
        assert.strictEqual(compactStyle(source), expected);
    }
});

test('compacted markup keeps its licence line, its text and a break between words', () => {
    const cases = [
        ['<!-- SPDX-License-Identifier: x -->\n<!--\n  notes\n-->\n<div>\n  <p>a\n    b</p>\n</div>',
         '<!-- SPDX-License-Identifier: x -->\n<div>\n<p>a\nb</p>\n</div>'],
        ['<div>\n  <pre id="p">\n  kept\n</pre>\n  <textarea>\n  too</textarea>\n</div>',
         '<div>\n<pre id="p">\n  kept\n</pre>\n<textarea>\n  too</textarea>\n</div>'],
    ];
    for (const [source, expected] of cases) {
        assert.strictEqual(compactMarkup(source), expected);
    }
});
