// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>

#include <QObject>
#include <QString>
#include <QStringList>

class QWidget;

namespace vx40 {

// How a file dialog component is configured. The filter lists display names and patterns in
// turn: "Binärdaten|*.bin|alles|*.*".
struct FileDialogSettings {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    QString title;
    QString confirmText;
    QString filter;
    QString defaultExtension;  // without the dot
    bool mustExist = false;    // only the name of an existing file is accepted
    bool showHidden = true;
};

// A modal file dialog component of the main window. It remembers the full path confirmed last
// (shown again in the file-name field; empty after a cancel) and the filter entry selected when
// it last closed. A name typed without an extension while the first filter entry is selected
// gets the default extension before it is checked.
class FileDialog : public QObject {
    Q_OBJECT
  public:
    FileDialog(const QString& name, FileDialogSettings settings, QObject* parent);

    // Runs the dialog; true when the user confirmed a file, whose full path is then FileName().
    bool Execute(QWidget* parent);

    QString FileName() const { return fileName_; }
    int FilterIndex() const { return filterIndex_; }
    void SelectFilter(int index);
    const FileDialogSettings& Settings() const { return settings_; }

    // The entries of the filter as display name and pattern, and in the form Qt's dialog takes.
    int FilterCount() const { return static_cast<int>(filterNames_.size()); }
    QStringList QtNameFilters() const;

    // The typed name as the dialog completes it: made absolute, with the default extension when
    // it has none and the first filter entry is the selected one.
    QString CompleteName(const QString& typed, int selectedFilter) const;
    // The refusal text for a name that must exist and does not; empty when it is accepted.
    QString Refusal(const QString& fullPath) const;
    // The message that the last refused name got; empty when none was refused.
    QString LastRefusal() const { return lastRefusal_; }

    // A test answers for the user: each time the dialog opens (or stays open after a refused
    // name) the hook gives the name typed into it and confirmed, or nothing for a cancel. The
    // hook may select a filter entry first.
    using TestHook = std::function<std::optional<QString>(FileDialog&)>;
    static void SetTestHook(TestHook hook);

  private:
    bool ExecuteQtDialog(QWidget* parent);
    bool ExecuteTestHook();

    FileDialogSettings settings_;
    QStringList filterNames_;
    QStringList filterPatterns_;
    QString fileName_;
    QString lastRefusal_;
    int filterIndex_ = 0;
};

}  // namespace vx40
