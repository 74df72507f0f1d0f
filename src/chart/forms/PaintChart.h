// TPaintChart: the chart view of the "Radar View" page. A thin widget over the
// chart's logic (ChartModel) and its renderer: it keeps the symbols in step with
// the target table (as the tracker's ChartTargets), paints
// the frame, and turns pointer events into pans, centring, selection, popups,
// tooltips and the position readout.
//
// Other subsystems draw on it through layer hooks (markers, routes, tracks, the
// destination, alarm marks), tell it friend and monitored marks, take the popup
// menus' commands and arm pointer tools: see chart/ChartLayers.h.
#pragma once

#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "ais/TargetTable.h"
#include "ais/TargetViews.h"
#include "chart/ChartLayers.h"
#include "chart/ChartModel.h"
#include "chart/ChartPalette.h"
#include "chart/SeaChart.h"
#include "chart/paint/ChartRenderer.h"

namespace norq::chart {

class TPaintChart final : public QWidget, public ais::ChartTargets {
    Q_OBJECT

  public:
    explicit TPaintChart(const ais::TargetTable& table, QWidget* parent = nullptr);
    ~TPaintChart() override;

    ChartModel& model() { return *model_; }
    const ChartModel& model() const { return *model_; }
    ChartPalette& palette() { return palette_; }
    const ChartPalette& palette() const { return palette_; }
    SeaChart& seaChart() { return *seaChart_; }
    ChartRenderer& renderer() { return *renderer_; }
    // The folder holding VORN_Bin/ and GEO_Bin/.
    void setProgramFolder(const std::string& folder);
    void setSeaChartSettings(const SeaChartSettings& settings);

    // ---- Hooks of other subsystems (chart/ChartLayers.h) -------------------------
    void addLayerHook(ChartLayer layer, ChartLayerHook* hook);
    void removeLayerHook(ChartLayerHook* hook);
    void setTargetMarkSource(const TargetMarkSource* source);
    void setCommands(ChartCommands* commands) { commands_ = commands; }
    ChartCommands* commands() const { return commands_; }
    // While a tool is armed it sees the pointer first; nullptr disarms it.
    void setPointerTool(ChartPointerTool* tool) { tool_ = tool; }
    ChartPointerTool* pointerTool() const { return tool_; }
    // Markers, routes or own tracks changed: the overlay is redrawn once.
    void markOverlayDirty();
    // The operator changed which target tracks are shown: the next frame draws
    // them anew.
    void markTargetTracksDirty();
    // The friend or monitored marks changed: every symbol is refreshed.
    void refreshAllSymbols();

    // ---- The frame -------------------------------------------------------------
    void setScaleIndex(int index);
    int scaleIndex() const { return model_->scaleIndex(); }
    double ringDistanceNm() const { return model_->ringDistance(); }
    // Centres the view (latitude clamped to the scale's limit); false when refused.
    bool setCentre(double lon, double lat);
    // Repaints soon (at most every 40 ms) with the symbols placed again.
    void repaintChart();
    // The layers-stale flag and the one-second step's repaint of stale layers.
    bool layersStale() const { return model_->stale(); }
    void repaintLayers();
    void setManualPosition(double lon, double lat, double course, bool known = true);
    // True motion: the view follows the own ship near the edges.
    void setFollow(bool on) { follow_ = on; }
    bool follow() const { return follow_; }
    // A view the user moved (a pan, a double click, a located object) stays
    // where it is: Center View is switched off, and neither true motion nor an
    // own-ship report re-centres it, until releaseView() ("Go to own ship",
    // Center View switched on again).
    void holdView();
    void releaseView() { viewHeld_ = false; }
    bool viewHeld() const { return viewHeld_; }
    // Switching Center View on releases a held view.
    void setCenterView(bool on);
    void showRangeRings(bool on);
    void showGrid(bool on);
    void showTracks(bool on);
    void hideGridLines(bool on);
    void setMonitoredOnly(bool on);
    // North-up, head-up or course-up, rotated by the own heading or course.
    void setOrientation(Orientation orientation);
    Orientation orientation() const { return model_->orientation(); }
    void applyOrientation(float heading, float course);
    void applyScheme(ColourScheme scheme);
    // Targets silent for longer than their lost time (600 s under the legacy
    // rule) are crossed out, and the cross removed when they report again.
    void markLostTargets(std::int64_t nowSeconds);
    // The frame as the screen shows it, as an image (screenshots, tests).
    QImage renderToImage();

    // ---- ais::ChartTargets -------------------------------------------------------
    OwnPosition chartOwnPosition() const override;
    void setOwnShip(double lon, double lat, double cog) override;
    void centreOn(double lon, double lat) override;
    void stopCentreView() override;
    void highlightTarget(int index) override;
    void refreshSymbol(int index) override;
    void setDangerous(int index, bool dangerous) override;
    void setCpaLevel(int index, ais::CpaLevel level) override;
    void removeSymbolsFrom(int count) override;
    void onTargetRemoved(int index) override;

    int highlighted() const { return model_->selectedTarget(); }
    bool dangerous(int index) const { return model_->dangerous(index); }
    // The tooltip of a target symbol: "MMSI:%09d\nName:%s\nMonitored:%s".
    QString targetHint(int slot) const;
    // The tooltip of a pendant symbol, set by the crew watch.
    void setPendantHint(int slot, const QString& hint);
    QString pendantHint(int slot) const;

  Q_SIGNALS:
    // Center View was switched off by the chart (double click) or the logic.
    void centreViewStopped();
    // The centre or scale changed by the pointer (the scale label follows).
    void frameChanged();
    void targetClicked(int slot);
    // A symbol was double-clicked (after the chart centred on it).
    void targetDoubleClicked(int slot);
    // Right button released on a target symbol (not the own ship) or the chart.
    void targetPopupRequested(int slot, QPoint globalPos);
    void chartPopupRequested(GeoPoint position, QPoint globalPos);
    // Wheel steps: positive zooms in.
    void zoomRequested(int steps);
    void pointerMoved(GeoPoint position);
    void pointerLeft();
    void pointerPressed();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void scheduleRepaint();
    ChartPointer pointerAt(const QPoint& pos, Qt::MouseButton button) const;
    void finishDrag(const QPoint& release);
    void centreOnPixel(PixelXY pixel);

    const ais::TargetTable& table_;
    std::unique_ptr<ChartModel> model_;
    ChartPalette palette_;
    std::unique_ptr<SeaChart> seaChart_;
    std::unique_ptr<ChartRenderer> renderer_;
    const TargetMarkSource* marks_ = nullptr;
    ChartCommands* commands_ = nullptr;
    std::array<QString, kPendantSlots> pendantHints_{};
    ChartPointerTool* tool_ = nullptr;
    QTimer* repaint_;
    QTimer* tracksRefresh_;
    bool follow_ = true;
    bool viewHeld_ = false;
    // Pointer state.
    QPoint press_;
    bool pressed_ = false;
    bool dragging_ = false;
    Qt::MouseButton pressButton_ = Qt::NoButton;
    ChartHit pressHit_;
    QPoint dragOffset_;
};

}  // namespace norq::chart

// Positions travel in the widget's signals.
Q_DECLARE_METATYPE(norq::chart::GeoPoint)
