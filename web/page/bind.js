// SPDX-License-Identifier: GPL-3.0-or-later
// Binds every event of the page to the core and shows what it returns; no rule of the window is
// written here. Events are handled one after the other: a dialog holds the next one back, as the
// window's modal dialogs do.
'use strict';

(function () {
    const element = (id) => document.getElementById(id);
    let core = null;
    const ready = VX40Core.load().then((loaded) => {
        core = loaded;
    });
    let queue = ready;

    // The field texts, cells, caption, beep, outputs and download of a step, all at once.
    function showStep(step, bytes) {
        for (const [id, text, start, end] of step.fields) {
            const field = element(id);
            if (field && field.type === 'checkbox') {
                field.checked = text !== '';
            } else {
                View.setFieldText(id, text, start, end);
            }
        }
        for (const [column, row, text] of step.cells) {
            View.setCell(column, row, text);
        }
        if (step.current) {
            View.setCurrentCell(step.current[0], step.current[1]);
        }
        if (step.caption !== undefined) {
            View.setCaption(step.caption);
        }
        if (step.beep) {
            View.beep();
        }
        for (const [id, text] of step.outputs) {
            if (id === 'WerkbankSheetFrame') {
                View.printSheet(text);
            } else {
                View.setWerkbankOutput(id, text);
            }
        }
        if (step.download) {
            View.offerDownload(step.download[0], bytes, step.download[1]);
        }
    }

    async function show(reply) {
        for (const step of reply.steps) {
            showStep(step, reply.bytes);
            if (step.message !== undefined) {
                await View.showMessage(step.message);
            }
            if (step.failure !== undefined) {
                await View.showFailureReport(step.failure);
            }
        }
        for (const [id, items] of Object.entries(reply.lists)) {
            const list = element(id.startsWith('Werkbank') ? id : id + '_List');
            if (!list) {
                continue;
            }
            list.replaceChildren(...items.map((item) => new Option(item, item)));
        }
    }

    // args may be a function, so that the fields are read when the event's turn comes.
    function handle(args, content) {
        queue = queue
            .then(async () => {
                const values = typeof args === 'function' ? await args() : args;
                await show(core.call(values, await content));
            })
            .catch((failure) => View.showFailureReport(String(failure)));
        return queue;
    }

    // A picked file's bytes, or null when the browser cannot read it.
    function fileContent(file) {
        return file.arrayBuffer().then((buffer) => new Uint8Array(buffer), () => null);
    }

    const on = (id, type, listener) => {
        const target = element(id);
        if (target) {
            target.addEventListener(type, listener);
        }
    };
    const click = (id, name) => on(id, 'click', () => handle([name]));

    // The core decides a key of a field at once: its answer says whether the browser may go on.
    function fieldKey(event, kind, typed) {
        if (!core) {
            event.preventDefault();
            return;
        }
        const field = event.target;
        const reply = core.call(['key', field.id, kind, typed, field.value,
            field.selectionStart ?? 0, field.selectionEnd ?? 0]);
        const step = reply.steps[0];
        if (step && step.prevent) {
            event.preventDefault();
        }
        if (step) {
            showStep(step, reply.bytes);
        }
    }

    function inputKind(event) {
        const typed = event.data ??
            (event.dataTransfer ? event.dataTransfer.getData('text/plain') : '');
        switch (event.inputType) {
            case 'insertText':
                return ['Text', typed];
            case 'insertFromPaste':
                return ['Paste', typed];
            case 'insertFromDrop':
                return ['Drop', typed];
            case 'deleteByCut':
                return ['Cut', ''];
            case 'insertLineBreak':
            case 'insertParagraph':
                return ['Enter', ''];
            default:
                return [event.inputType.startsWith('delete') ? 'Erase' : 'Other', ''];
        }
    }

    const stepKeys = ['ArrowUp', 'ArrowDown', 'PageUp', 'PageDown'];
    function keyKind(event, readOnly) {
        if (event.key === 'Enter') {
            return 'Enter';
        }
        if (stepKeys.includes(event.key) && !event.altKey) {
            return 'Step';
        }
        // A read-only field gets no input events: its keys are told here.
        if (readOnly && !event.ctrlKey && !event.metaKey && !event.altKey) {
            if (event.key.length === 1) {
                return 'Text';
            }
            if (event.key === 'Backspace' || event.key === 'Delete') {
                return 'Erase';
            }
        }
        return null;
    }

    for (const id of ['Quarz', 'R0_INPUT', 'R1_Input', 'R2_Input', 'FR_Input']) {
        on(id, 'beforeinput', (event) => {
            if (event.isComposing || event.inputType === 'insertCompositionText') {
                return;
            }
            const [kind, typed] = inputKind(event);
            fieldKey(event, kind, typed);
        });
        on(id, 'keydown', (event) => {
            const kind = keyKind(event, event.target.readOnly);
            if (kind) {
                fieldKey(event, kind, kind === 'Text' ? event.key : '');
            }
        });
        on(id, 'drop', (event) => fieldKey(event, 'Drop', ''));
    }
    // An input method's composition cannot be refused while it goes on: what it commits is put
    // back and typed character by character through the core, as the window does.
    let composition = null;
    on('FR_Input', 'compositionstart', (event) => {
        const field = event.target;
        composition = [field.value, field.selectionStart ?? 0, field.selectionEnd ?? 0];
    });
    on('FR_Input', 'compositionend', (event) => {
        const field = event.target;
        if (!composition || !core) {
            return;
        }
        const [text, start, end] = composition;
        composition = null;
        View.setFieldText(field.id, text, start, end);
        for (const character of event.data || '') {
            fieldKey({ target: field, preventDefault: () => {} }, 'Text', character);
        }
    });
    for (const id of ['Quarz_Up', 'Quarz_Down']) {
        on(id, 'click', (event) => {
            const quarz = element('Quarz');
            fieldKey({ target: quarz, preventDefault: () => event.preventDefault() }, 'Step', '');
        });
    }
    const formatFrequency = () => {
        if (core) {
            show(core.call(['format', element('FR_Input').value]));
        }
    };
    on('FR_Input', 'focus', formatFrequency);
    on('FR_Input', 'blur', formatFrequency);

    on('RzButton1', 'click', () => handle(() => ['RzButton1Click', element('Quarz').value,
        element('R0_INPUT').value, element('R1_Input').value, element('R2_Input').value,
        element('FR_Input').value, element('Modulator').checked ? '1' : '',
        element('Testfunktion').checked ? '1' : '']));
    click('loeschen', 'loeschenClick');
    on('Grid1', 'click', (event) => {
        const cell = event.target.closest('td');
        if (cell) {
            handle(() => ['Grid1Click', cell.dataset.column, cell.dataset.row,
                element('FR_Input').value]);
        }
    });
    on('Grid1', 'keydown', (event) => {
        if (event.key.startsWith('Arrow')) {
            event.preventDefault();
            handle(() => ['Grid1Key', event.key, element('FR_Input').value]);
        }
    });

    click('Speichern1', 'Speichern1Click');
    on('Laden1', 'click', () => element('OpenDialog').click());
    on('BinLesen', 'click', () => element('BinOpen').click());
    click('BinDateierzeugen1', 'BinDateierzeugen1Click');
    click('Ende1', 'Ende1Click');
    click('BinrdateiNFaktorzurckrechnen1', 'BinrdateiNFaktorzurckrechnen1Click');
    for (const [id, name, offset] of [['OpenDialog', 'Laden1Click'],
        ['BinOpen', 'BinLesenClick'], ['WerkbankInspectFile', 'WerkbankInspect',
            'WerkbankInspectOffset']]) {
        on(id, 'change', (event) => {
            const picker = event.target;
            const file = picker.files[0];
            if (file) {
                handle([name, file.name, offset ? element(offset).value : ''],
                    fileContent(file));
            }
            // The same file can be picked again.
            picker.value = '';
        });
    }

    on('WerkbankRaster', 'click', () => handle(() => ['WerkbankRaster',
        element('WerkbankRasterList').value]));
    on('WerkbankExport', 'click', () => handle(() => ['WerkbankExport',
        element('WerkbankFormat').value, element('WerkbankSize').value,
        element('WerkbankFill').value, element('WerkbankOffset').value]));

    // A plan is calculated with the Vorgaben as they stand when its turn comes.
    const plan = (name, content) => handle(() => ['WerkbankPlan', element('Quarz').value,
        element('R0_INPUT').value, element('R1_Input').value, element('R2_Input').value,
        element('Modulator').checked ? '1' : '', element('Testfunktion').checked ? '1' : '',
        name], content);
    on('WerkbankPlanFile', 'change', (event) => {
        const picker = event.target;
        if (picker.files[0]) {
            plan(picker.files[0].name, fileContent(picker.files[0]));
        }
        picker.value = '';
    });
    on('WerkbankPlanList', 'click', () =>
        plan('Liste', new TextEncoder().encode(element('WerkbankRasterList').value)));
    for (const [id, mode] of [['WerkbankSheetPrint', 'print'], ['WerkbankSheetSave', '']]) {
        on(id, 'click', () => {
            const today = new Date();
            handle(() => ['WerkbankSheet', element('Quarz').value, today.getDate(),
                today.getMonth() + 1, today.getFullYear(), mode]);
        });
    }
    on('WerkbankDiff', 'click', () => {
        const a = element('WerkbankDiffA').files[0];
        const b = element('WerkbankDiffB').files[0];
        if (!a || !b) {
            return;
        }
        const sides = Promise.all([fileContent(a), fileContent(b)]);
        handle(async () => {
            const [first, second] = await sides;
            return ['WerkbankDiff', a.name, b.name, first && second ? first.length : -1,
                element('WerkbankDiffOffset').value];
        }, sides.then(([first, second]) => {
            if (!first || !second) {
                return null;
            }
            const joined = new Uint8Array(first.length + second.length);
            joined.set(first);
            joined.set(second, first.length);
            return joined;
        }));
    });

    const separators = new Intl.NumberFormat().formatToParts(12345.6);
    const part = (type, fallback) =>
        (separators.find((entry) => entry.type === type) || { value: fallback }).value;
    queue = queue.then(() => show(core.call(['start', part('decimal', ','), part('group', '.')])))
        .then(() => show(core.call(['FormActivate'])));
    window.addEventListener('focus', () => handle(['FormActivate']));
})();
