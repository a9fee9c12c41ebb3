// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include <QSpinBox>

namespace vx40 {

// The crystal frequency field: a spin edit that shows its value and refuses every change as its
// rules say (text/CrystalFieldRules.h): steps, typed characters, Backspace and Delete beep; paste
// and cut do nothing. The text can still be selected and copied.
class CrystalSpinEdit : public QSpinBox {
    Q_OBJECT
  public:
    explicit CrystalSpinEdit(QWidget* parent = nullptr);

    std::int32_t IntegerValue() const { return value(); }

    void stepBy(int steps) override;

  protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};

}  // namespace vx40
