// SPDX-License-Identifier: GPL-3.0-or-later
// The module at the page's boundary, under Node's test runner: the calls the bind script makes,
// on the built module in build-web/ (or VX40_WEB_BUILD), each on a fresh page.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');

const root = path.join(__dirname, '..', '..');
const build = process.env.VX40_WEB_BUILD || path.join(root, 'build-web');
const VX40Module = require(path.join(build, 'web', 'vx40_module.js'));
const VX40Core = require(path.join(root, 'web', 'page', 'core.js'));

// The page as the bind script keeps it: cells, fields and what the dialogs showed.
async function openPage() {
    // As in the page, the module is handed its WebAssembly and fetches nothing.
    const wasmBinary = fs.readFileSync(path.join(build, 'web', 'vx40_module.wasm'));
    const core = VX40Core(await VX40Module({ wasmBinary }));
    const page = { cells: {}, fields: {}, dialogs: [], downloads: [], outputs: {} };
    page.call = (args, content) => {
        const reply = core.call(args.map(String), content);
        for (const step of reply.steps) {
            step.fields.forEach(([id, text]) => { page.fields[id] = text; });
            step.cells.forEach(([column, row, text]) => { page.cells[`${column},${row}`] = text; });
            step.outputs.forEach(([id, text]) => { page.outputs[id] = text; });
            if (step.download) {
                page.downloads.push({ name: step.download[0], bytes: reply.bytes });
            }
            if (step.message !== undefined) {
                page.dialogs.push(step.message);
            }
            if (step.failure !== undefined) {
                page.dialogs.push(`failure: ${step.failure}`);
            }
        }
        return reply;
    };
    page.row = (row) => Array.from({ length: 12 }, (_, column) => page.cells[`${column},${row}`] ?? '');
    page.call(['start', ',', '.']);
    page.call(['FormActivate']);
    return page;
}

const startFields = (frequency, r2 = '2', quarz = '6000000') =>
    ['RzButton1Click', quarz, '12', '5', r2, frequency, '1', ''];
const row1 = ['798300', '120', '114', '3', '05', '08', '03', '07', '02', '07', '08', '04'];

test('a calculation writes its row; a refusal shows its message between the parts and the 0F', async () => {
    const cases = [
        { frequency: '798.300', parts: row1.slice(1, 4), nibbles: row1.slice(4), dialogs: [] },
        { frequency: '798.301', parts: [' ', ' ', ' '], nibbles: Array(8).fill('0F'),
          dialogs: ['Frequenz nicht berechenbar'],
          nearest: '798301 kHz: Frequenz nicht berechenbar (nächste erreichbare: 798300 kHz darunter, 798325 kHz darüber)' },
    ];
    for (const c of cases) {
        const page = await openPage();
        page.call(['Grid1Click', 0, 1, c.frequency]);
        const reply = page.call(startFields(c.frequency));
        assert.strictEqual(page.fields.Overall, '12500');
        assert.strictEqual(reply.steps.length, 2, c.frequency);
        const before = reply.steps[0].cells.filter(([, row]) => row === 1).map(([, , text]) => text);
        assert.deepStrictEqual(before, c.parts, c.frequency);
        assert.deepStrictEqual(page.row(1).slice(1, 4), c.parts, c.frequency);
        assert.deepStrictEqual(page.row(1).slice(4), c.nibbles, c.frequency);
        assert.deepStrictEqual(page.dialogs, c.dialogs, c.frequency);
        if (c.nearest) {
            assert.strictEqual(page.outputs.WerkbankNearestOutput.trim(), c.nearest);
        }
    }
});

test('a runtime failure arrives as the failure report and changes no cell', async () => {
    const cases = [
        { args: startFields('798.300', '0'), report: 'failure: Division by zero.' },
        { args: startFields('798.300', '2', '6 MHz'),
          report: "failure: '6 MHz' is not a valid integer value." },
    ];
    for (const c of cases) {
        const page = await openPage();
        const reply = page.call(c.args);
        assert.deepStrictEqual(page.dialogs, [c.report]);
        assert.deepStrictEqual(reply.steps.flatMap((step) => step.cells), []);
        assert.strictEqual(page.fields.Overall, '');
    }
});

// The same table of keys the window's tests read. "|" is the caret, "[...]" the selection.
function fieldOf(notation) {
    const open = notation.indexOf('[');
    if (open < 0) {
        const caret = notation.indexOf('|');
        return { text: notation.replace('|', ''), start: caret, end: caret };
    }
    const text = notation.replace(/[[\]|]/g, '');
    const close = notation.indexOf(']') - 1;
    return { text, start: open, end: close };
}
const keyKinds = { '<Enter>': ['Enter', ''], '<Space>': ['Text', ' '], '<Backspace>': ['Erase', ''] };

test('the frequency field takes or refuses a key as the window does', async () => {
    const lines = fs.readFileSync(path.join(root, 'tests', 'data', 'frequency-keys.tsv'), 'utf8')
        .split('\n').filter((line) => line && !line.startsWith('#')).slice(1);
    const page = await openPage();
    for (const line of lines) {
        const [name, , before, key, after, beeps] = line.split('\t');
        const field = fieldOf(before);
        const [kind, typed] = keyKinds[key] ?? ['Text', key];
        const step = page.call(['key', 'FR_Input', kind, typed, field.text, field.start, field.end])
            .steps[0];
        assert.strictEqual(Boolean(step.beep), beeps === '1', name);
        if (!step.prevent) {
            assert.strictEqual(kind, 'Erase', `${name}: only the field's own editing passes`);
            continue;
        }
        const expected = fieldOf(after);
        const shown = step.fields.length ? step.fields[0] : ['FR_Input', field.text, field.start, field.end];
        assert.deepStrictEqual(shown.slice(1), [expected.text, expected.start, expected.end], name);
    }
});

test('a prescaler box completes from its list; the crystal field refuses', async () => {
    const cases = [
        { id: 'R0_INPUT', kind: 'Text', typed: '1', field: ['', 0, 0], prevent: true, shown: ['12', 1, 2] },
        { id: 'R1_Input', kind: 'Text', typed: '3', field: ['', 0, 0], prevent: false },
        { id: 'Quarz', kind: 'Text', typed: '1', field: ['6000000', 7, 7], prevent: true, beep: true },
        { id: 'Quarz', kind: 'Paste', typed: '1', field: ['6000000', 7, 7], prevent: true },
    ];
    const page = await openPage();
    for (const c of cases) {
        const step = page.call(['key', c.id, c.kind, c.typed, ...c.field]).steps[0];
        const name = `${c.id} ${c.kind}`;
        assert.strictEqual(step.prevent, c.prevent, name);
        assert.strictEqual(Boolean(step.beep), Boolean(c.beep), name);
        assert.deepStrictEqual(step.fields.map((field) => field.slice(1)), c.shown ? [c.shown] : [], name);
    }
});

test('the image: its bytes from the table, a refused image with its text and no cell changed', async () => {
    const page = await openPage();
    page.call(['Grid1Click', 0, 1, '798.300']);
    page.call(startFields('798.300'));
    page.call(['BinDateierzeugen1Click']);
    const expected = new Uint8Array(128).fill(0x0f);
    expected.set([0x04, 0x08, 0x07, 0x02, 0x07, 0x03, 0x08, 0x05], 120);
    assert.strictEqual(page.downloads[0].name, 'VX40.bin');
    assert.deepStrictEqual(page.downloads[0].bytes, expected);

    const invalid = new Uint8Array(128).fill(0x0f);
    invalid[5] = 0x10;
    const cases = [
        { content: invalid, message: 'Während des Einlesens wurden Daten\rentdeckt die nicht Brenstadel konform sind\r(>0F oder Bitstream falsch)' },
        { content: new Uint8Array(127), message: 'Binärfile ist kein Brenstadel-File' },
    ];
    for (const c of cases) {
        page.dialogs = [];
        const reply = page.call(['BinLesenClick', 'x.bin'], c.content);
        assert.deepStrictEqual(page.dialogs, [c.message]);
        assert.deepStrictEqual(reply.steps.flatMap((step) => step.cells), []);
    }
});

test('a channel set loads under its name and saves with its other sections kept', async () => {
    const page = await openPage();
    const text = '[Andere]\r\nSchluessel=Wert\r\n[Wert1]\r\nFrequenz=145125\r\n';
    const reply = page.call(['Laden1Click', 'plan.vx4'], new TextEncoder().encode(text));
    assert.strictEqual(reply.steps[0].caption, 'VX40 plan.vx4');
    assert.strictEqual(page.cells['0,1'], '145125');
    page.call(['Speichern1Click']);
    const saved = new TextDecoder().decode(page.downloads[0].bytes);
    assert.strictEqual(page.downloads[0].name, 'plan.vx4');
    assert.ok(saved.startsWith('[Andere]\r\nSchluessel=Wert\r\n[Wert1]\r\nFrequenz=145125\r\n'), saved);
    assert.strictEqual((saved.match(/=/g) || []).length, 1 + 192);

    const refused = page.call(['Laden1Click', 'weg.vx4']);
    assert.match(page.dialogs[0], /^Die Datei "weg.vx4" kann nicht geladen werden: .* Die Tabelle bleibt, wie sie war\.$/);
    assert.deepStrictEqual(refused.steps.flatMap((step) => step.cells), []);
});

test('the Werkbank gives the tool\'s texts', async () => {
    const image = new Uint8Array(128).fill(0x0f);
    image.set([0x04, 0x08, 0x07, 0x02, 0x07, 0x03, 0x08, 0x05], 120);
    const empty = new Uint8Array(128).fill(0x0f);
    const both = new Uint8Array(256);
    both.set(image);
    both.set(empty, 128);
    const cases = [
        { args: ['WerkbankInspect', 'p.bin'], content: image, output: 'WerkbankInspectOutput',
          starts: 'Kanal   R0 R1 R2 Ratio     N   Frequenz Modulator Test\n' +
            '    1   12  5  2 12500 63864 798300.000         1   04\n    2 leer\n' },
        { args: ['WerkbankRaster', '798300\n'], output: 'WerkbankRasterOutput',
          starts: 'R0 R1 R2 Ratio Erreicht Abgelehnt\n12  5  1 25000        1\n' },
        { args: ['WerkbankDiff', 'p.bin', 'e.bin', 128], content: both, output: 'WerkbankDiffOutput',
          starts: 'Kanal 1: 798300.000 kHz gegen leer (D7, D6, D5, D4, D3, D2, D1, D0 verschieden)\n' },
        { args: ['WerkbankExport', 'ihex'], output: 'WerkbankExportOutput', table: true,
          ends: ':100070000F0F0F0F0F0F0F0F0408070207030805DC\n:00000001FF\n' +
            '"VX40.hex": Summe 0x0734, CRC-32 0x56897F4E\n' },
    ];
    for (const c of cases) {
        const page = await openPage();
        if (c.table) {
            page.call(['Grid1Click', 0, 1, '798.300']);
            page.call(startFields('798.300'));
        }
        page.call(c.args, c.content);
        const text = page.outputs[c.output];
        assert.ok(c.starts ? text.startsWith(c.starts) : text.endsWith(c.ends), `${c.args[0]}:\n${text}`);
    }
});

// The same calls against vx40-tool, where a native build has it (VX40_TOOL, else build-test/ or
// build/).
const { spawnSync } = require('node:child_process');
const os = require('node:os');
const toolPath = [process.env.VX40_TOOL, path.join(root, 'build-test', 'tools', 'vx40-tool'),
    path.join(root, 'build', 'tools', 'vx40-tool')].find((file) => file && fs.existsSync(file));
const withTool = { skip: toolPath ? false : 'no vx40-tool built' };
const workDir = fs.mkdtempSync(path.join(os.tmpdir(), 'vx40-page-'));
process.on('exit', () => fs.rmSync(workDir, { recursive: true, force: true }));
function tool(...args) {
    const run = spawnSync(toolPath, args, { cwd: workDir });
    return { out: run.stdout, err: run.stderr.toString(), status: run.status };
}
const put = (name, text) => fs.writeFileSync(path.join(workDir, name), text);
// The tool's checksum line without the tool's name.
const checksums = (err) => err.split('\n').filter((line) => line.includes('CRC-32'))
    .map((line) => line.replace(/^vx40-tool: /, ''));
const planFields = ['6000000', '12', '5', '2', '1', ''];
const khzPlan = '798300\n798325\n';
const mhzTable = '\ufeffName;Kanal;Frequenz (MHz)\r\nA;3;"798,325 MHz"\r\nB;1;798,3\r\n';
const today = new Date();
const todayArgs = [today.getDate(), today.getMonth() + 1, today.getFullYear()];

async function plannedPage(plan = khzPlan) {
    const page = await openPage();
    page.call(['WerkbankPlan', ...planFields, 'plan.txt'], new TextEncoder().encode(plan));
    return page;
}

test('a plan fills the table as vx40-tool plan writes it; a refused plan changes nothing', withTool, async () => {
    const cases = [
        { plan: khzPlan },
        { plan: mhzTable },
        { plan: 'Kanal,Frequenz/kHz\n1,798300\n1,798325\n', refused: true },
        { plan: '798300\n798301\n', refused: true },
        // The tool writes an image of empty channels; the page keeps its table.
        { plan: '# leer\n', refused: 'Der Plan nennt keinen Kanal: die Tabelle bleibt, wie sie war.\n' },
    ];
    for (const c of cases) {
        put('plan.txt', c.plan);
        const expected = tool('plan', 'plan.txt', '-o', '-');
        if (c.refused) {
            const page = await plannedPage('798325\n');
            const before = page.row(1);
            page.call(['WerkbankPlan', ...planFields, 'plan.txt'], new TextEncoder().encode(c.plan));
            assert.strictEqual(page.outputs.WerkbankPlanOutput,
                c.refused === true ? expected.err : c.refused, c.plan);
            assert.deepStrictEqual(page.row(1), before, c.plan);
            continue;
        }
        assert.strictEqual(expected.status, 0, expected.err);
        const page = await plannedPage(c.plan);
        page.call(['BinDateierzeugen1Click']);
        assert.deepStrictEqual(Buffer.from(page.downloads[0].bytes), expected.out, c.plan);
        assert.strictEqual(page.outputs.WerkbankChecksumOutput,
            checksums(expected.err)[0].replace('Standardausgabe', '"VX40.bin"') + '\n');
    }
});

test('a chip-sized export and a chip read back give the tool\'s bytes, checksums and texts', withTool, async () => {
    put('plan.txt', khzPlan);
    tool('plan', 'plan.txt', '-o', 'p.bin', '--vx4', 't.vx4');
    // A channel table is inspected as its image is.
    const tablePage = await openPage();
    tablePage.call(['WerkbankInspect', 't.vx4', ''], fs.readFileSync(path.join(workDir, 't.vx4')));
    assert.strictEqual(tablePage.outputs.WerkbankInspectOutput, tool('inspect', 'p.bin').out.toString());
    // A chip of the blank byte read back with a stray byte, and one of 0x00 bytes: the rest of
    // the chip is reported where it is not the blank byte.
    const cases = [
        { format: 'bin', chip: ['--size', '2048', '--offset', '0x100'], stray: 5 },
        { format: 'ihex', chip: ['--size', '2048', '--fill', '0x00', '--offset', '0x100'] },
        { format: 'srec', chip: ['--size', '2048', '--offset', '0x100'] },
        { format: 'ihex', chip: ['--size', '100'], refused: true },
        { format: 'bin', chip: ['--size', '256', '--offset', '200'], refused: true },
    ];
    for (const c of cases) {
        const page = await openPage();
        page.call(['Laden1Click', 't.vx4'], fs.readFileSync(path.join(workDir, 't.vx4')));
        const value = (option) => { const at = c.chip.indexOf(option); return at < 0 ? '' : c.chip[at + 1]; };
        page.call(['WerkbankExport', c.format, value('--size'), value('--fill'), value('--offset')]);
        const expected = tool('encode', 't.vx4', '-o', 'chip', '--format', c.format, ...c.chip);
        const shown = page.outputs.WerkbankExportOutput;
        if (c.refused) {
            assert.notStrictEqual(expected.status, 0);
            assert.ok(shown.length > 1 && expected.err.includes(shown.trim()), `${shown}\n${expected.err}`);
            assert.strictEqual(page.downloads.length, 0);
            continue;
        }
        const written = fs.readFileSync(path.join(workDir, 'chip'));
        assert.deepStrictEqual(Buffer.from(page.downloads[0].bytes), written, c.format);
        const named = checksums(expected.err)[0].replace('"chip"', `"${page.downloads[0].name}"`);
        assert.ok(shown.endsWith(named + '\n'), shown);

        const readBack = Buffer.from(written);
        if (c.stray !== undefined) {
            readBack[c.stray] = 0x42;
            put('chip', readBack);
        }
        page.call(['WerkbankInspect', 'chip', '0x100'], readBack);
        const inspect = tool('inspect', '--offset', '0x100', 'chip');
        assert.strictEqual(page.outputs.WerkbankInspectOutput, inspect.out.toString(), c.format);
        const both = Buffer.concat([readBack, fs.readFileSync(path.join(workDir, 't.vx4'))]);
        page.call(['WerkbankDiff', 'chip', 't.vx4', readBack.length, '0x100'], both);
        const diff = tool('diff', '--offset', '0x100', 'chip', 't.vx4');
        const report = diff.out.toString().startsWith('Kanal') ? '' : 'gleich\n';
        assert.strictEqual(page.outputs.WerkbankDiffOutput,
            report + diff.out.toString() + checksums(diff.err).join('\n') + '\n', c.format);
    }
});

test('the sheet is vx40-tool sheet\'s page for the same table and day', withTool, async () => {
    put('plan.txt', khzPlan);
    tool('plan', 'plan.txt', '-o', 'p.bin', '--vx4', 't.vx4');
    const cases = [
        { name: 't.vx4', mode: 'print', output: 'WerkbankSheetFrame' },
        { name: 't.vx4', mode: '', download: 'VX40-Blatt.html' },
    ];
    const expected = tool('sheet', 't.vx4').out.toString();
    for (const c of cases) {
        const page = await openPage();
        page.call(['Laden1Click', c.name], fs.readFileSync(path.join(workDir, 't.vx4')));
        page.call(['WerkbankSheet', '6000000', ...todayArgs, c.mode]);
        if (c.output) {
            assert.strictEqual(page.outputs[c.output], expected);
        } else {
            assert.strictEqual(page.downloads[0].name, c.download);
            assert.strictEqual(new TextDecoder().decode(page.downloads[0].bytes), expected);
        }
    }
});
