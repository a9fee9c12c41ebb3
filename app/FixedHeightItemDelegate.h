// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QItemDelegate>

namespace vx40 {

// The items of a drop-down list drawn as Qt draws them, each of one fixed height.
class FixedHeightItemDelegate : public QItemDelegate {
    Q_OBJECT
  public:
    FixedHeightItemDelegate(int height, QObject* parent);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  private:
    int height_;
};

}  // namespace vx40
