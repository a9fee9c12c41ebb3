// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ChannelTableModel.h"

#include <QBrush>
#include <QColor>

namespace vx40 {
namespace {

const QColor kFixedCellColour(166, 202, 240);

}  // namespace

ChannelTableModel::ChannelTableModel(ChannelTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {
    table_.SetObserver(this);
}

ChannelTableModel::~ChannelTableModel() {
    table_.SetObserver(nullptr);
}

int ChannelTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kRowCount;
}

int ChannelTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant ChannelTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(table_.Cell(index.column(), index.row()));
        case Qt::BackgroundRole:
            if (index.row() == 0) {
                return QBrush(kFixedCellColour);
            }
            return {};
        default:
            return {};
    }
}

Qt::ItemFlags ChannelTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    if (index.row() == 0) {
        return Qt::ItemIsEnabled;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void ChannelTableModel::CellChanged(int column, int row) {
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

void ChannelTableModel::RepaintNow() {
    emit RepaintRequested();
}

}  // namespace vx40
