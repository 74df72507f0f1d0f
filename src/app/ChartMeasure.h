// The measure tool's place in the main window: the "Measure distance" tool
// button and "Measure(&S)" arm it on the chart, the marker and route tools
// release it, and its popup offers "End Measure".
#pragma once

#include <QObject>

#include "app/BaseNames.h"
#include "base/LanguageTable.h"
#include "chart/MeasureTool.h"

class QAbstractButton;
class QAction;
class QWidget;

namespace norq::chart {
class TPaintChart;
}

namespace norq::app {

class ChartMeasure final : public QObject, public chart::MeasureToolHost {
  public:
    ChartMeasure(QWidget& main, chart::TPaintChart& chart, const TextStore& texts);
    ~ChartMeasure() override;

    // Arms (or releases) the tool; the button follows.
    void setArmed(bool armed);
    bool armed() const { return armed_; }
    // The readout labels in the current language.
    void retranslate();

    const chart::MeasureTool& tool() const { return tool_; }

    void measureChanged() override;
    void measurePopup(chart::PixelXY pixel) override;
    bool measureOwnPosition(chart::GeoPoint& position) const override;

  private:
    QWidget& main_;
    chart::TPaintChart& chart_;
    const TextStore& texts_;
    chart::MeasureTool tool_{*this};
    QAbstractButton* button_ = nullptr;
    bool armed_ = false;
};

}  // namespace norq::app
