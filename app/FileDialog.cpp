// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FileDialog.h"

#include <QDir>
#include <QFileInfo>

#include "app/CheckedFileDialog.h"
#include "app/FocusReturn.h"

namespace vx40 {
namespace {

FileDialog::TestHook testHook;

// A refused name keeps the dialog open; a test hook that keeps answering with it must still end.
constexpr int kMaxTestAnswers = 100;

constexpr const char* kMustExistMessage =
    "%1\nFile not found.\nPlease verify the correct file name was given.";

}  // namespace

FileDialog::FileDialog(const QString& name, FileDialogSettings settings, QObject* parent)
    : QObject(parent), settings_(std::move(settings)) {
    setObjectName(name);
    const QStringList parts = settings_.filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        filterNames_.append(parts[i]);
        filterPatterns_.append(parts[i + 1]);
    }
}

void FileDialog::SelectFilter(int index) {
    if (index >= 0 && index < FilterCount()) {
        filterIndex_ = index;
    }
}

QStringList FileDialog::QtNameFilters() const {
    QStringList filters;
    for (qsizetype i = 0; i < filterNames_.size(); ++i) {
        // "*.*" stands for every file, also one without a dot in its name.
        QString patterns = filterPatterns_[i];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (patterns == QStringLiteral("*.*")) {
            patterns = QStringLiteral("*");
        }
        filters.append(filterNames_[i] + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return filters;
}

QString FileDialog::CompleteName(const QString& typed, int selectedFilter) const {
    QString path = QFileInfo(typed).absoluteFilePath();
    if (selectedFilter == 0 && !settings_.defaultExtension.isEmpty() &&
        QFileInfo(path).suffix().isEmpty() && !QFileInfo(path).isDir()) {
        path += QLatin1Char('.') + settings_.defaultExtension;
    }
    return path;
}

QString FileDialog::Refusal(const QString& fullPath) const {
    if (settings_.mustExist && !QFileInfo(fullPath).isFile()) {
        return QString::fromLatin1(kMustExistMessage).arg(QDir::toNativeSeparators(fullPath));
    }
    return {};
}

bool FileDialog::Execute(QWidget* parent) {
    lastRefusal_.clear();
    const FocusReturn focusReturn(parent);
    const bool confirmed = testHook ? ExecuteTestHook() : ExecuteQtDialog(parent);
    if (!confirmed) {
        fileName_.clear();
    }
    return confirmed;
}

bool FileDialog::ExecuteTestHook() {
    for (int answer = 0; answer < kMaxTestAnswers; ++answer) {
        const std::optional<QString> typed = testHook(*this);
        if (!typed) {
            return false;
        }
        const QString path = CompleteName(*typed, filterIndex_);
        const QString refusal = Refusal(path);
        if (refusal.isEmpty()) {
            fileName_ = path;
            return true;
        }
        lastRefusal_ = refusal;
    }
    return false;
}

bool FileDialog::ExecuteQtDialog(QWidget* parent) {
    CheckedFileDialog dialog(*this, parent);
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    filterIndex_ = dialog.SelectedFilterIndex();
    if (confirmed) {
        fileName_ = dialog.ConfirmedPath();
    }
    return confirmed;
}

void FileDialog::SetTestHook(TestHook hook) {
    testHook = std::move(hook);
}

}  // namespace vx40
