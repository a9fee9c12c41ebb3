// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FixedHeightItemDelegate.h"

namespace vx40 {

FixedHeightItemDelegate::FixedHeightItemDelegate(int height, QObject* parent)
    : QItemDelegate(parent), height_(height) {}

QSize FixedHeightItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
    return {QItemDelegate::sizeHint(option, index).width(), height_};
}

}  // namespace vx40
