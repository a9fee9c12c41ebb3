// SPDX-License-Identifier: GPL-3.0-or-later
// The page's parts without what only their readers need: comments and indentation. Nothing is
// renamed or reordered, so the page runs exactly as its sources read.
//   Scripts are cut along the tokens of a real JavaScript tokenizer (the one emscripten itself
//   uses), so strings, template literals and regular expressions stay as they are; a line break
//   between two tokens stays a line break, so no statement ends differently.
//   The style keeps its strings and every blank that can separate two selectors or values.
//   The markup loses its comments (but the licence line) and the indentation after a line break;
//   the break itself stays, so no two words of the text run together; pre and textarea stay whole.
'use strict';

// Debian's emscripten brings its tokenizer along, outside Node's own search path.
const acorn = (() => {
    try {
        return require('acorn');
    } catch {
        return require('/usr/share/nodejs/acorn');
    }
})();

const isWordCharacter = (c) => /[\w$\\\u0080-\uffff]/.test(c);
const isOperatorCharacter = (c) => '+-*/%<>=!&|^~?:.'.includes(c);

function compactScript(text) {
    let out = '';
    let end = 0;
    for (const token of acorn.tokenizer(text, { ecmaVersion: 'latest' })) {
        const gap = text.slice(end, token.start);
        const piece = text.slice(token.start, token.end);
        if (out && gap) {
            const before = out[out.length - 1];
            const after = piece[0];
            if (/[\n\r\u2028\u2029]/.test(gap)) {
                out += '\n';
            } else if ((isWordCharacter(before) && isWordCharacter(after)) ||
                       (isOperatorCharacter(before) && isOperatorCharacter(after)) ||
                       (/\d/.test(before) && after === '.')) {
                out += ' ';
            }
        }
        out += piece;
        end = token.end;
    }
    return out;
}

function compactStyle(text) {
    // Strings and comments first, so that neither is read as the other.
    const parts = text.split(/("(?:[^"\\\n]|\\.)*"|'(?:[^'\\\n]|\\.)*'|\/\*[\s\S]*?\*\/)/);
    let out = '';
    parts.forEach((part, index) => {
        if (index % 2 === 1) {
            out += part.startsWith('/*') ? ' ' : part;
            return;
        }
        out += part;
    });
    // Runs of blanks become one; none is needed beside a brace, a semicolon, a comma or a child
    // combinator, nor after a declaration's colon (a blank before a colon can be a descendant
    // combinator and stays). Strings are put back untouched.
    const strings = [];
    out = out.replace(/"(?:[^"\\\n]|\\.)*"|'(?:[^'\\\n]|\\.)*'/g, (string) => {
        strings.push(string);
        return `\u0000${strings.length - 1}\u0000`;
    });
    out = out.replace(/\s+/g, ' ')
              .replace(/ ?([{};,>]) ?/g, '$1')
              .replace(/: /g, ':')
              .replace(/;}/g, '}')
              .trim();
    return out.replace(/\u0000(\d+)\u0000/g, (_, index) => strings[Number(index)]);
}

function compactMarkup(text) {
    // What a pre or a textarea holds is shown as it stands.
    return text.split(/(<(pre|textarea)\b[\s\S]*?<\/\2>)/i)
        .map((part, index) => {
            if (index % 3 === 1) {
                return part;
            }
            if (index % 3 === 2) {
                return '';
            }
            return part
                .replace(/<!--[\s\S]*?-->\n?/g, (comment) => (comment.includes('SPDX') ? comment : ''))
                .replace(/\n[ \t]+/g, '\n');
        })
        .join('');
}

module.exports = { compactScript, compactStyle, compactMarkup };
