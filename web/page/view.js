// SPDX-License-Identifier: GPL-3.0-or-later
// A plain stand-in for the page's view: the functions the bind script calls.
'use strict';

const View = (() => {
    const element = (id) => document.getElementById(id);
    const grid = element('Grid1');
    for (let row = 0; row < 17; ++row) {
        const line = grid.tBodies[0].insertRow();
        for (let column = 0; column < 12; ++column) {
            const cell = line.insertCell();
            cell.dataset.column = column;
            cell.dataset.row = row;
        }
    }
    const cellAt = (column, row) => grid.rows[row].cells[column];
    function dialog(id, text) {
        const box = element(id);
        box.querySelector('.text').textContent = text.replace(/\r\n?/g, '\n');
        return new Promise((resolve) => {
            box.querySelector('.ok').onclick = () => box.close();
            box.onclose = () => resolve();
            box.showModal();
        });
    }
    return {
        showMessage: (text) => dialog('MessageDialog', text),
        showFailureReport: (text) => dialog('FailureReport', text),
        setCell: (column, row, text) => {
            cellAt(column, row).textContent = text;
        },
        setCurrentCell: (column, row) => {
            grid.querySelectorAll('td.current').forEach((cell) => cell.classList.remove('current'));
            cellAt(column, row).classList.add('current');
        },
        setCaption: (text) => {
            document.title = text;
            element('Caption').textContent = text;
        },
        offerDownload: (fileName, bytes, mimeType) => {
            const link = document.createElement('a');
            link.href = URL.createObjectURL(new Blob([bytes], { type: mimeType }));
            link.download = fileName;
            link.click();
            setTimeout(() => URL.revokeObjectURL(link.href), 0);
        },
        setFieldText: (id, text, selectionStart, selectionEnd) => {
            const field = element(id);
            field.value = text;
            if (selectionStart !== undefined && document.activeElement === field) {
                field.setSelectionRange(selectionStart, selectionEnd);
            }
        },
        beep: () => {},
        setWerkbankOutput: (id, text) => {
            element(id).textContent = text;
        },
    };
})();
