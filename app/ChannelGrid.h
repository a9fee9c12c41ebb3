// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTableView>

#include "channel/ChannelTable.h"

namespace vx40 {

class ChannelTableModel;

// The view of the channel table: 17 rows of 15 pixels with row 0 a fixed header row, fixed
// column widths, no headers, no scroll bars, no editing. The current cell mirrors the table's
// and never enters row 0. Click() fires when the left button is released after a press on a
// channel cell (also after a drag or a shift-click) and when a key moves the current cell.
class ChannelGrid : public QTableView {
    Q_OBJECT
  public:
    ChannelGrid(ChannelTable& table, QWidget* parent = nullptr);

    ChannelTableModel* TableModel() const { return tableModel_; }
    // Draws all pending changes now instead of at the next turn of the event loop.
    void RepaintNow();

    void keyboardSearch(const QString& search) override;

  signals:
    void Click();

  protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    QModelIndex ChannelCellAt(const QPoint& position) const;
    void SelectRange(const QModelIndex& corner);

    ChannelTableModel* tableModel_;
    bool pressedOnChannel_ = false;
};

}  // namespace vx40
