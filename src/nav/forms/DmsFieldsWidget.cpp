#include "nav/forms/DmsFieldsWidget.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <charconv>
#include <cmath>
#include <string>

namespace norq::nav {

DmsFieldsWidget::DmsFieldsWidget(Axis axis, int decimals, const QString& namePrefix,
                                 QWidget* parent)
    : QWidget(parent), axis_(axis), decimals_(decimals) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    auto spin = [&](const char* suffix, int max, const QString& unit) {
        auto* s = new QSpinBox(this);
        s->setObjectName(namePrefix + QString::fromLatin1(suffix));
        s->setRange(0, max);
        s->setMinimumWidth(56);
        row->addWidget(s);
        row->addWidget(new QLabel(unit, this));
        return s;
    };
    degrees_ = spin("Deg", axis == Axis::Longitude ? 180 : 90, QStringLiteral("°"));
    minutes_ = spin("Min", 59, QStringLiteral("'"));
    if (decimals == 0) {
        seconds_ = spin("Sec", 59, QStringLiteral("\""));
    } else {
        secondsText_ = new QLineEdit(this);
        secondsText_->setObjectName(namePrefix + QStringLiteral("Sec"));
        secondsText_->setMaximumWidth(90);
        row->addWidget(secondsText_);
        row->addWidget(new QLabel(QStringLiteral("\""), this));
    }
    hemisphere_ = new QComboBox(this);
    hemisphere_->setObjectName(namePrefix + QStringLiteral("Hemisphere"));
    if (axis == Axis::Longitude) {
        hemisphere_->addItems({QStringLiteral("E"), QStringLiteral("W")});
    } else {
        hemisphere_->addItems({QStringLiteral("N"), QStringLiteral("S")});
    }
    row->addWidget(hemisphere_);
    row->addStretch();
}

void DmsFieldsWidget::setValue(double degrees) {
    // Wrapped at 180 and rounded with carry, so taking it back gives the same
    // position to the shown precision.
    const DmsFields f = ShowDms(degrees, axis_, decimals_);
    degrees_->setValue(f.degrees);
    minutes_->setValue(f.minutes);
    if (seconds_ != nullptr) {
        seconds_->setValue(static_cast<int>(std::lround(f.seconds)));
    } else {
        secondsText_->setText(QString::asprintf("%8.*f", decimals_, f.seconds));
    }
    hemisphere_->setCurrentIndex(f.negative ? 1 : 0);
}

std::optional<double> DmsFieldsWidget::value() const {
    DmsFields f;
    f.degrees = degrees_->value();
    f.minutes = minutes_->value();
    if (seconds_ != nullptr) {
        f.seconds = seconds_->value();
    } else {
        const std::string text = secondsText_->text().trimmed().toStdString();
        double seconds = 0.0;
        const char* end = text.data() + text.size();
        const auto [ptr, ec] = std::from_chars(text.data(), end, seconds);
        if (!text.empty() && (ec != std::errc() || ptr != end)) return std::nullopt;
        f.seconds = seconds;
    }
    f.negative = hemisphere_->currentIndex() == 1;
    return EnterDms(f, axis_);
}

}  // namespace norq::nav
