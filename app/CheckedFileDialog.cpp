// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CheckedFileDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

#include "app/FileDialog.h"

namespace vx40 {

CheckedFileDialog::CheckedFileDialog(const FileDialog& component, QWidget* parent)
    : QFileDialog(parent), component_(component) {
    const FileDialogSettings& settings = component.Settings();
    setOption(QFileDialog::DontUseNativeDialog);
    // No component asks before a file is replaced.
    setOption(QFileDialog::DontConfirmOverwrite);
    setWindowTitle(settings.title);
    setLabelText(QFileDialog::Accept, settings.confirmText);
    setAcceptMode(settings.kind == FileDialogSettings::Kind::Save ? QFileDialog::AcceptSave
                                                                  : QFileDialog::AcceptOpen);
    // The must-exist check is the component's own, so every dialog lets any name through.
    setFileMode(QFileDialog::AnyFile);
    if (settings.showHidden) {
        setFilter(filter() | QDir::Hidden);
    }
    const QStringList filters = component.QtNameFilters();
    setNameFilters(filters);
    if (component.FilterIndex() < filters.size()) {
        selectNameFilter(filters[component.FilterIndex()]);
    }
    const QString last = component.FileName();
    if (!last.isEmpty()) {
        setDirectory(QFileInfo(last).absolutePath());
        selectFile(last);
    } else {
        setDirectory(QDir::currentPath());
    }
}

int CheckedFileDialog::SelectedFilterIndex() const {
    const auto index = component_.QtNameFilters().indexOf(selectedNameFilter());
    return index < 0 ? 0 : static_cast<int>(index);
}

void CheckedFileDialog::accept() {
    const QStringList chosen = selectedFiles();
    if (chosen.isEmpty() || QFileInfo(chosen.front()).isDir()) {
        // An empty name or a folder: Qt's dialog opens the folder and stays open.
        QFileDialog::accept();
        return;
    }
    const QString path = component_.CompleteName(chosen.front(), SelectedFilterIndex());
    const QString refusal = component_.Refusal(path);
    if (!refusal.isEmpty()) {
        QMessageBox::warning(this, windowTitle(), refusal);
        return;
    }
    confirmedPath_ = path;
    QFileDialog::accept();
}

}  // namespace vx40
