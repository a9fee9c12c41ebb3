// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>

#include "channel/ChannelTable.h"

namespace vx40 {

// Shows the channel table to a Qt view. It holds no texts of its own: every cell is read from
// the table when the view asks, and the table tells it of every change as its observer. Row 0,
// the header row, is drawn in the fixed-cell colour and cannot be selected.
class ChannelTableModel : public QAbstractTableModel, public ChannelTableObserver {
    Q_OBJECT
  public:
    ChannelTableModel(ChannelTable& table, QObject* parent = nullptr);
    ~ChannelTableModel() override;

    ChannelTable& Table() const { return table_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void CellChanged(int column, int row) override;
    void RepaintNow() override;

  signals:
    void RepaintRequested();

  private:
    ChannelTable& table_;
};

}  // namespace vx40
