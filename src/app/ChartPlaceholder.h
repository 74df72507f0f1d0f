// Stand-in for the chart view until it is built: it keeps the chart's own
// position (the manual position without a fix), the highlight and the dangerous
// marks the target logic hands it, and draws a plain plot of the targets around
// the own ship so that the page is not empty.
#pragma once

#include <QTimer>
#include <QWidget>
#include <bitset>
#include <functional>

#include "ais/TargetTable.h"
#include "ais/TargetViews.h"
#include "ui/GridPalette.h"

namespace norq::app {

class ChartPlaceholder final : public QWidget, public ais::ChartTargets {
    Q_OBJECT

  public:
    ChartPlaceholder(const ais::TargetTable& table, QWidget* parent = nullptr);

    // ChartTargets
    OwnPosition chartOwnPosition() const override { return own_; }
    void setOwnShip(double lon, double lat, double cog) override;
    void centreOn(double lon, double lat) override;
    void stopCentreView() override;
    void highlightTarget(int index) override;
    void refreshSymbol(int index) override;
    void setDangerous(int index, bool dangerous) override;
    void removeSymbolsFrom(int count) override;
    void onTargetRemoved(int index) override;

    void setManualPosition(double lon, double lat, double course);
    void setCentreViewStopped(std::function<void()> handler) { onStopCentre_ = std::move(handler); }
    // The chart's layers are stale and the one-second step repaints them.
    bool layersStale() const { return stale_; }
    void repaintLayers();
    // The range scale: index 0..14 into the ring distances (nautical miles
    // between two range rings, 60 pixels apart); other indices are ignored.
    void setScaleIndex(int index);
    int scaleIndex() const { return scaleIndex_; }
    double ringDistanceNm() const;
    int highlighted() const { return highlight_; }
    bool dangerous(int index) const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // Pixel position of a geographic position in the view.
    QPointF toPixel(double lon, double lat) const;
    // A repaint soon, at most one per 40 ms however often it is asked for.
    void scheduleRepaint();

    const ais::TargetTable& table_;
    ui::GridPalette palette_;
    OwnPosition own_;
    double centreLon_ = 0.0;
    double centreLat_ = 0.0;
    int scaleIndex_ = 7;
    int highlight_ = -1;
    bool stale_ = true;
    std::bitset<ais::kTargetTableSize> dangerous_;
    std::function<void()> onStopCentre_;
    QTimer* repaint_;
};

}  // namespace norq::app
