// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFileDialog>

namespace vx40 {

class FileDialog;

// Qt's own file dialog, set up from a FileDialog component: it completes a typed name the way
// the component does and refuses, staying open, a name that must exist and does not.
class CheckedFileDialog : public QFileDialog {
    Q_OBJECT
  public:
    CheckedFileDialog(const FileDialog& component, QWidget* parent);

    QString ConfirmedPath() const { return confirmedPath_; }
    int SelectedFilterIndex() const;

  protected:
    void accept() override;

  private:
    const FileDialog& component_;
    QString confirmedPath_;
};

}  // namespace vx40
