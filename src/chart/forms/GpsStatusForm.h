// TfrmGpsStatus, "GPS Satellite View": the own-ship fix as text (UTC, position,
// fix mode, satellites, altitude), a bar of signal strength per satellite in view
// and the sky plot (TPaintSatelliteChart) with every satellite at its azimuth
// and elevation. A fixed-size window that stays on top; created once, shown and
// hidden.
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <span>

#include "ais/OwnShip.h"
#include "chart/ChartPalette.h"
#include "chart/SatelliteView.h"

class QLineEdit;
class QLabel;

namespace norq::chart {

// The sky plot: background, elevation circles, axes, compass letters and one
// 20 x 20 marker per satellite (drawn in one pass, with tooltips).
class TPaintSatelliteChart final : public QWidget {
    Q_OBJECT

  public:
    TPaintSatelliteChart(const SatelliteSet& set, const ChartPalette& palette,
                         QWidget* parent = nullptr);
    int markerCount() const { return markers_; }
    // Top-left corner of marker i as last placed.
    PixelXY markerTopLeft(int i) const { return placed_[static_cast<std::size_t>(i)]; }
    void placeMarkers();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

  private:
    const SatelliteSet& set_;
    const ChartPalette& palette_;
    std::array<PixelXY, kMaxSkyMarkers> placed_{};
    std::array<int, kMaxSkyMarkers> markerSatellite_{};
    int markers_ = 0;
};

// The bar chart of signal strengths, 0 to 58 dB.
class TSignalBars final : public QWidget {
    Q_OBJECT

  public:
    TSignalBars(const SatelliteSet& set, const ChartPalette& palette, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const SatelliteSet& set_;
    const ChartPalette& palette_;
};

class TfrmGpsStatus final : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmGpsStatus(QWidget* parent = nullptr);

    // Caption and the six field titles (language section GPS).
    void setTexts(const QString& caption, const std::array<QString, 6>& titles);
    void setScheme(const ChartPalette& palette);
    // Shows the window; with satellites known, rebuilds the bars and the sky plot.
    void showWindow(std::span<const ais::SatelliteEntry> satellites);
    void setTime(const QString& utc);
    void setPosition(const ais::GnssFixData& fix);
    void rebuildSatellites(std::span<const ais::SatelliteEntry> satellites);

    QString fieldText(int field) const;
    const SatelliteSet& satellites() const { return set_; }
    TPaintSatelliteChart* skyPlot() const { return sky_; }

  private:
    ChartPalette palette_;
    SatelliteSet set_;
    std::array<QLabel*, 6> titles_{};
    std::array<QLineEdit*, 6> fields_{};
    TPaintSatelliteChart* sky_ = nullptr;
    TSignalBars* bars_ = nullptr;
};

}  // namespace norq::chart
