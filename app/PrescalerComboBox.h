// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>

namespace vx40 {

// An editable prescaler box: its items in list order, not sorted, any typed text taken as it
// stands, each typed character completed from the start of an item (ItemCompletionEdit). The
// wheel changes it only while it has the focus; over a box without the focus the wheel neither
// gives it the focus nor changes its text. Its drop-down list shows items 13 pixels high.
class PrescalerComboBox : public QComboBox {
    Q_OBJECT
  public:
    explicit PrescalerComboBox(QWidget* parent = nullptr);

  protected:
    void wheelEvent(QWheelEvent* event) override;
};

}  // namespace vx40
