// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ChannelGrid.h"

#include <algorithm>
#include <array>

#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMouseEvent>

#include "app/ChannelTableModel.h"

namespace vx40 {
namespace {

// The drawn widths of the cells; each section also holds the 1-pixel grid line to its right
// (below, for rows).
constexpr std::array<int, kColumnCount> kColumnWidths = {78, 45, 44, 44, 20, 19,
                                                         19, 19, 18, 18, 18, 18};
constexpr int kRowHeight = 15;
constexpr int kGridLine = 1;

}  // namespace

ChannelGrid::ChannelGrid(ChannelTable& table, QWidget* parent)
    : QTableView(parent), tableModel_(new ChannelTableModel(table, this)) {
    setModel(tableModel_);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    for (int c = 0; c < kColumnCount; ++c) {
        setColumnWidth(c, kColumnWidths[static_cast<std::size_t>(c)] + kGridLine);
    }
    for (int r = 0; r < kRowCount; ++r) {
        setRowHeight(r, kRowHeight + kGridLine);
    }
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setAutoScroll(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setShowGrid(true);
    setCornerButtonEnabled(false);
    setDragEnabled(false);
    setAcceptDrops(false);
    connect(tableModel_, &ChannelTableModel::RepaintRequested, this, &ChannelGrid::RepaintNow);

    const ChannelTable& current = tableModel_->Table();
    setCurrentIndex(tableModel_->index(current.CurrentRow(), current.CurrentColumn()));
}

void ChannelGrid::RepaintNow() {
    viewport()->repaint();
}

void ChannelGrid::keyboardSearch(const QString&) {}

QModelIndex ChannelGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex target = QTableView::moveCursor(action, modifiers);
    if (target.isValid() && target.row() < 1) {
        return tableModel_->index(1, target.column());
    }
    return target;
}

void ChannelGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (current.isValid()) {
        tableModel_->Table().SetCurrentCell(current.column(), current.row());
    }
}

void ChannelGrid::keyPressEvent(QKeyEvent* event) {
    const QModelIndex before = currentIndex();
    QTableView::keyPressEvent(event);
    if (currentIndex() != before) {
        emit Click();
    }
}

QModelIndex ChannelGrid::ChannelCellAt(const QPoint& position) const {
    const QModelIndex cell = indexAt(position);
    return cell.isValid() && cell.row() >= 1 ? cell : QModelIndex();
}

void ChannelGrid::SelectRange(const QModelIndex& corner) {
    const QModelIndex anchor = currentIndex();
    const QModelIndex topLeft = tableModel_->index(std::min(anchor.row(), corner.row()),
                                                   std::min(anchor.column(), corner.column()));
    const QModelIndex bottomRight = tableModel_->index(std::max(anchor.row(), corner.row()),
                                                       std::max(anchor.column(), corner.column()));
    selectionModel()->select(QItemSelection(topLeft, bottomRight),
                             QItemSelectionModel::ClearAndSelect);
}

void ChannelGrid::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QModelIndex cell = ChannelCellAt(event->position().toPoint());
    pressedOnChannel_ = cell.isValid();
    if (!pressedOnChannel_) {
        return;
    }
    if ((event->modifiers() & Qt::ShiftModifier) != 0) {
        SelectRange(cell);
    } else {
        selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
    }
}

void ChannelGrid::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!pressedOnChannel_ || (event->buttons() & Qt::LeftButton) == 0) {
        return;
    }
    QPoint position = event->position().toPoint();
    position.setX(std::clamp(position.x(), 0, viewport()->width() - 1));
    position.setY(std::clamp(position.y(), 0, viewport()->height() - 1));
    const QModelIndex cell = ChannelCellAt(position);
    if (cell.isValid()) {
        SelectRange(cell);
    }
}

void ChannelGrid::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton || !pressedOnChannel_) {
        return;
    }
    pressedOnChannel_ = false;
    emit Click();
}

void ChannelGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

}  // namespace vx40
