#include "app/ChartMeasure.h"

#include <QAbstractButton>
#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QSignalBlocker>
#include <QWidget>

#include "chart/forms/PaintChart.h"
#include "nav/forms/NavFormTexts.h"

namespace norq::app {

ChartMeasure::ChartMeasure(QWidget& main, chart::TPaintChart& chart, const TextStore& texts)
    : main_(main), chart_(chart), texts_(texts) {
    chart_.addLayerHook(chart::ChartLayer::Measure, &tool_);
    retranslate();
    button_ = main_.findChild<QAbstractButton*>(QStringLiteral("spbEcsIconBarMeasure"));
    if (button_ != nullptr) {
        button_->setCheckable(true);
        connect(button_, &QAbstractButton::toggled, this, [this](bool on) { setArmed(on); });
    }
    if (auto* item = main_.findChild<QAction*>(QStringLiteral("mnuMeasure")))
        connect(item, &QAction::triggered, this, [this] { setArmed(true); });
}

ChartMeasure::~ChartMeasure() {
    if (chart_.pointerTool() == &tool_) chart_.setPointerTool(nullptr);
    chart_.removeLayerHook(&tool_);
}

void ChartMeasure::retranslate() {
    tool_.setLabels(texts_.text(TextId::ToolbuttonMeasureBetween),
                    texts_.text(TextId::ToolbuttonMeasureFromOwnShip));
    chart_.update();
}

void ChartMeasure::setArmed(bool armed) {
    // Pressing the tool (again) starts a new measurement.
    tool_.reset();
    if (armed) {
        // The measure, marker and route tools exclude each other.
        for (const char* other : {"spbEcsIconBarMark", "spbEcsIconBarRoute"}) {
            if (auto* b = main_.findChild<QAbstractButton*>(QString::fromLatin1(other)))
                b->setChecked(false);
        }
        chart_.setPointerTool(&tool_);
        chart_.setCursor(Qt::PointingHandCursor);
    } else if (chart_.pointerTool() == &tool_) {
        chart_.setPointerTool(nullptr);
        chart_.unsetCursor();
    }
    armed_ = armed;
    if (button_ != nullptr && button_->isChecked() != armed) {
        const QSignalBlocker quiet(button_);
        button_->setChecked(armed);
    }
    chart_.update();
}

void ChartMeasure::measureChanged() {
    chart_.update();
}

void ChartMeasure::measurePopup(chart::PixelXY /*pixel*/) {
    QMenu menu(&main_);
    menu.setObjectName(QStringLiteral("PopupMenuMeasure"));
    QAction* end = menu.addAction(nav::Tx(texts_, TextId::ToolbuttonMeasureEnd));
    if (menu.exec(QCursor::pos()) == end) setArmed(false);
}

bool ChartMeasure::measureOwnPosition(chart::GeoPoint& position) const {
    if (!chart_.model().ownReferenceKnown()) return false;
    const chart::OwnReference& own = chart_.model().ownReference();
    position = {own.lon, own.lat};
    return true;
}

}  // namespace norq::app
