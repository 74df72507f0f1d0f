// One position axis as the entry windows show it: whole degrees, minutes,
// seconds (whole, or decimal as text) and the hemisphere letter.
#pragma once

#include <QWidget>
#include <optional>

#include "nav/PositionEntry.h"

class QComboBox;
class QLineEdit;
class QSpinBox;

namespace norq::nav {

class DmsFieldsWidget final : public QWidget {
    Q_OBJECT

  public:
    // decimals 0: seconds in a spin box 0-59; otherwise a text "%8.<d>f".
    DmsFieldsWidget(Axis axis, int decimals, const QString& namePrefix, QWidget* parent = nullptr);
    void setValue(double degrees);
    // The position of the fields, or nothing when they do not make one.
    std::optional<double> value() const;
    QSpinBox* degrees() const { return degrees_; }
    QSpinBox* minutes() const { return minutes_; }
    QSpinBox* seconds() const { return seconds_; }
    QLineEdit* secondsText() const { return secondsText_; }
    QComboBox* hemisphere() const { return hemisphere_; }

  private:
    Axis axis_;
    int decimals_;
    QSpinBox* degrees_;
    QSpinBox* minutes_;
    QSpinBox* seconds_ = nullptr;
    QLineEdit* secondsText_ = nullptr;
    QComboBox* hemisphere_;
};

}  // namespace norq::nav
