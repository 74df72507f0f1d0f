// The chart page of the main window: the chart view with its scale panel, the
// chart's menu items and tool buttons, its popup menus, the pointer readout, the
// automatic map cruise and the orientation timer, and the colour schemes.
#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "ais/TargetTexts.h"
#include "app/AlarmWindows.h"
#include "app/ChartMeasure.h"
#include "app/MainForm.h"
#include "chart/forms/GpsStatusForm.h"
#include "chart/forms/PaintChart.h"
#include "chart/paint/ApplicationPalette.h"

namespace norq::app {

namespace {

constexpr int kMaxSliderPosition = chart::kScaleCount - 1;  // 14
constexpr int kCruiseSliderLimit = 10;                      // 48 nm per ring

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void TForm1::buildChartPage(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    chart_ = new chart::TPaintChart(run_->tracker.table(), page);
    layout->addWidget(chart_);
    // Without a fix the chart says so in its top-left corner.
    lblChartNoFix_ = new QLabel(chart_);
    lblChartNoFix_->setObjectName(QStringLiteral("lblChartNoFix"));
    lblChartNoFix_->setAutoFillBackground(true);
    lblChartNoFix_->setMargin(4);
    lblChartNoFix_->move(4, 24);
    // The scale panel sits at the chart's bottom-right corner.
    panelScale_ = new QWidget(chart_);
    panelScale_->setObjectName(QStringLiteral("PanelScale"));
    panelScale_->setAutoFillBackground(true);
    auto* row = new QHBoxLayout(panelScale_);
    row->setContentsMargins(4, 2, 4, 2);
    scaleSlider_ = new QSlider(Qt::Horizontal, panelScale_);
    scaleSlider_->setObjectName(QStringLiteral("TrackBarScale"));
    scaleSlider_->setRange(0, kMaxSliderPosition);
    scaleSlider_->setPageStep(1);
    scaleSlider_->setInvertedAppearance(true);
    scaleSlider_->setToolTip(QStringLiteral("Change Scalar"));
    scaleSlider_->setFixedWidth(150);
    scaleLabel_ = new QLabel(QStringLiteral("40nm"), panelScale_);
    scaleLabel_->setObjectName(QStringLiteral("lblScale"));
    scaleLabel_->setMinimumWidth(80);
    row->addWidget(scaleSlider_);
    row->addWidget(scaleLabel_);
    panelScale_->adjustSize();
    chart_->installEventFilter(this);
    gpsStatus_ = new chart::TfrmGpsStatus(this);
}

void TForm1::applyChartStartup() {
    chart_->setProgramFolder(paths_.programFolder);
    chart_->setManualPosition(settings_.ownLongitude, settings_.ownLatitude, 0.0,
                              settings_.ownLongitude != 0.0 || settings_.ownLatitude != 0.0);
    chart_->setCenterView(mnuCenterViewChart_->isChecked());
    chart_->refreshSymbol(0);
    scaleSlider_->setMaximum(kMaxSliderPosition);
    chart_->setScaleIndex(settings_.scaleId);
    scaleSlider_->setValue(kMaxSliderPosition - chart_->scaleIndex());
    lastScalePosition_ = scaleSlider_->value();
    showScaleLabel();
}

void TForm1::applyChartCalibration() {
    chart::SeaChartSettings sea = chart_->seaChart().settings();
    sea.calibrationActive = settings_.calibration.active;
    sea.calibrationLatitude = std::atof(settings_.calibration.latitude.c_str());
    sea.calibrationLongitude = std::atof(settings_.calibration.longitude.c_str());
    sea.language = settings_.language;
    sea.suppressOffset = demo_.disableSeaChartCalibration;
    chart_->setSeaChartSettings(sea);
}

void TForm1::retranslateChart() {
    // The place names in the chosen language, the scale's unit, the GNSS window.
    applyChartCalibration();
    showScaleLabel();
    lblChartNoFix_->setText(text(TextId::StatusBarNoFix));
    lblChartNoFix_->adjustSize();
    if (measure_) measure_->retranslate();
    gpsStatus_->setTexts(
        text(TextId::GpsGpsStatus),
        {text(TextId::GpsGpsUtc), text(TextId::GpsGpsLat), text(TextId::GpsGpsLon),
         text(TextId::GpsGpsFixmode), text(TextId::GpsGpsNosv), text(TextId::GpsGpsAltitude)});
    chart_->repaintLayers();
}

void TForm1::connectChartCommands() {
    connect(scaleSlider_, &QSlider::valueChanged, this, &TForm1::onScaleSlider);
    connect(chart_, &chart::TPaintChart::zoomRequested, this, &TForm1::zoomChart);
    connect(chart_, &chart::TPaintChart::frameChanged, this, [this] { scheduleFlush(); });
    connect(chart_, &chart::TPaintChart::centreViewStopped, this,
            [this] { mnuCenterViewChart_->setChecked(false); });
    connect(chart_, &chart::TPaintChart::pointerMoved, this, &TForm1::showPointerPosition);
    connect(chart_, &chart::TPaintChart::pointerPressed, this,
            [this] { scaleSlider_->setFocus(); });
    connect(chart_, &chart::TPaintChart::chartPopupRequested, this, &TForm1::onChartPopup);
    connect(chart_, &chart::TPaintChart::targetPopupRequested, this, &TForm1::onTargetPopup);
    connect(chart_, &chart::TPaintChart::targetClicked, this, [this](int slot) {
        // A click on a symbol checks "Target Monitor" and selects the target.
        onListClicked(slot);
    });
    connect(chart_, &chart::TPaintChart::targetDoubleClicked, this, [this](int slot) {
        // An AtoN's details window opens from its symbol as from the tab's
        // Detail button.
        const ais::TargetTable& table = run_->tracker.table();
        if (!table.valid(slot) || table[slot].kind != ais::TargetKind::Aton) return;
        onListClicked(slot);
        alarms_->onAtonDetail();
    });

    auto toggled = [this](const char* name, auto handler) {
        connect(action(QString::fromLatin1(name)), &QAction::toggled, this, handler);
    };
    toggled("mnuCenterViewChart", [this](bool on) {
        chart_->setCenterView(on);
        run_->tracker.UpdateRanges(run_->tracker.referencePosition());
        scheduleFlush();
    });
    toggled("mnuRardarRangeRing", [this](bool on) { chart_->showRangeRings(on); });
    toggled("mnuViewLonLatLines", [this](bool on) { chart_->showGrid(on); });
    toggled("mnuViewTracks", [this](bool on) { chart_->showTracks(on); });
    toggled("mnuViewSelectShip", [this](bool on) { chart_->setMonitoredOnly(on); });
    toggled("mmuTrueMotion", [this](bool on) {
        chart_->setFollow(on);
        if (on) goToOwnShip();
    });
    toggled("mnuAutoMapCruise", [this](bool on) {
        if (on) {
            timerCruiseMap_->start();
            if (scaleSlider_->value() > kCruiseSliderLimit)
                scaleSlider_->setValue(kCruiseSliderLimit);
        } else {
            timerCruiseMap_->stop();
        }
    });
    action(QStringLiteral("mmuTrueMotion"))->setChecked(true);
    connect(action(QStringLiteral("mnuViewFullScreen")), &QAction::triggered, this,
            &TForm1::onFullScreen);
    connect(action(QStringLiteral("mnuViewGPSStatus")), &QAction::triggered, this,
            &TForm1::showGpsStatus);
    connectChartButtons();
}

// The tool buttons of the chart: GNSS status, colour scheme, navigator, text.
void TForm1::connectChartButtons() {
    auto button = [this](const char* name) { return findChild<QToolButton*>(name); };
    connect(button("spbEcsIconBarGpsSignal"), &QToolButton::clicked, this, &TForm1::showGpsStatus);
    connect(button("spbEcsIconBarColorScheme"), &QToolButton::clicked, this,
            &TForm1::nextColourScheme);
    QToolButton* navigator = button("spbEcsIconBarNavigator");
    navigator->setCheckable(true);
    navigator->setChecked(true);
    connect(navigator, &QToolButton::toggled, this,
            [this](bool on) { action(QStringLiteral("mmuTrueMotion"))->setChecked(on); });
    QToolButton* textButton = button("spbEcsIconBarText");
    textButton->setCheckable(true);
    connect(textButton, &QToolButton::toggled, this, [this](bool on) {
        chartShowText_ = on;
        chart_->model().markStale();
        chart_->repaintChart();
    });
}

void TForm1::setChartView(int scaleIndex, int scheme, int orientation) {
    if (scaleIndex >= 0 && scaleIndex < chart::kScaleCount) {
        scaleSlider_->setValue(kMaxSliderPosition - scaleIndex);
    }
    if (scheme >= 0 && scheme < chart::kColourSchemeCount) applyColourScheme(scheme);
    if (orientation >= 0 && orientation <= 2) setChartOrientation(orientation);
}

QPixmap TForm1::grabChart() {
    chart_->repaint();
    return chart_->grab();
}

// ---- Scale, zoom, centre ----------------------------------------------------------------

void TForm1::onScaleSlider(int position) {
    if (action(QStringLiteral("mnuAutoMapCruise"))->isChecked() && position > kCruiseSliderLimit) {
        scaleSlider_->setValue(kCruiseSliderLimit);
        return;
    }
    if (position == lastScalePosition_) return;
    lastScalePosition_ = position;
    chart_->setScaleIndex(kMaxSliderPosition - position);
    showScaleLabel();
    const chart::GeoPoint centre = chart_->model().centre();
    chart_->setCentre(centre.lon, chart::ClampLatitude(centre.lat, chart_->model().ringDistance()));
}

void TForm1::zoomChart(int steps) {
    // Zooming in moves the slider towards 0 (the finest scale); the ends do nothing.
    const int position = std::clamp(scaleSlider_->value() - steps, 0, kMaxSliderPosition);
    if (position != scaleSlider_->value()) scaleSlider_->setValue(position);
}

void TForm1::goToOwnShip() {
    chart_->releaseView();
    const ais::ChartTargets::OwnPosition own = chart_->chartOwnPosition();
    chart_->centreOn(own.longitude, own.latitude);
}

void TForm1::showScaleLabel() {
    const QString unit = text(TextId::RadarViewUnitNm);
    scaleLabel_->setText(QString::asprintf("%6.3f", static_cast<double>(chart_->ringDistanceNm())) +
                         unit);
    panelScale_->adjustSize();
    panelScale_->move(chart_->width() - panelScale_->width(),
                      chart_->height() - panelScale_->height());
}

// ---- Pointer readout and popups ----------------------------------------------------------

void TForm1::showPointerPosition(const chart::GeoPoint& position) {
    if (demo_.disableSeaChartCalibration) {
        statusPanels_[4] = QString::asprintf("%9.6f,%9.6f", position.lon, position.lat);
    }
    double lon = position.lon;
    char east = lon >= 0.0 ? 'E' : 'W';
    if (lon < -180.0) {
        lon += 360.0;
        east = 'E';
    } else if (lon > 180.0) {
        lon -= 360.0;
        east = 'W';
    }
    const char north = position.lat >= 0.0 ? 'N' : 'S';
    const QString lonText = Utf8(ais::ChartCoordinateText(lon, 2).view()) + QLatin1Char(east);
    const QString latText =
        Utf8(ais::ChartCoordinateText(position.lat, 2).view()) + QLatin1Char(north);
    if (!demo_.disableSeaChartCalibration) statusPanels_[4] = latText + QLatin1Char(',') + lonText;
    lblStatusBarCoordinate_->setText(latText + QStringLiteral("  ") + lonText);
}

void TForm1::onChartPopup(const chart::GeoPoint& position, const QPoint& globalPos) {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("PopupMenuChart"));
    chart::ChartCommands* commands = chart_->commands();
    QAction* manual = menu.addAction(text(TextId::PopupMenuSetOwnshipLocation));
    manual->setObjectName(QStringLiteral("mnuSetOwnShipLocation"));
    QAction* destination = menu.addAction(text(TextId::PopupMenuAddDestination));
    destination->setObjectName(QStringLiteral("mnuAddDestination"));
    QAction* marker = menu.addAction(text(TextId::PopupMenuAddMarker));
    marker->setObjectName(QStringLiteral("mnuAddMark"));
    // The chart's orientation (north-up, head-up, course-up).
    menu.addSeparator();
    QMenu* orientation = menu.addMenu(QStringLiteral("Orientation"));
    orientation->menuAction()->setObjectName(QStringLiteral("mnuChartOrientation"));
    const char* names[3] = {"North Up", "Head Up", "Course Up"};
    for (int mode = 0; mode < 3; ++mode) {
        QAction* item = orientation->addAction(QString::fromLatin1(names[mode]));
        item->setObjectName(QStringLiteral("mnuOrientation%1").arg(mode));
        item->setCheckable(true);
        item->setChecked(static_cast<int>(chart_->orientation()) == mode);
        connect(item, &QAction::triggered, this, [this, mode] { setChartOrientation(mode); });
    }
    // Markers, destination and the manual position are kept by the navigation
    // objects; without them these items do nothing.
    QAction* chosen = menu.exec(globalPos);
    if (chosen == nullptr || commands == nullptr) return;
    if (chosen == manual) commands->setManualPositionHere(position.lon, position.lat);
    if (chosen == destination) commands->addDestinationHere(position.lon, position.lat);
    if (chosen == marker) commands->addMarkerHere(position.lon, position.lat);
}

void TForm1::onTargetPopup(int slot, const QPoint& globalPos) {
    const ais::TargetTable& table = run_->tracker.table();
    if (slot <= 0 || !table.valid(slot)) return;
    chart::ChartCommands* commands = chart_->commands();
    const bool monitored = chart_->model().target(slot).monitored;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("PopupMenuTarget"));
    QAction* monitor = menu.addAction(
        text(monitored ? TextId::PopupMenuMonitoredDeleteShip : TextId::PopupMenuMonitoredAddShip));
    monitor->setObjectName(monitored ? QStringLiteral("mmuDeleteMonitoredShip")
                                     : QStringLiteral("mmuAddMonitoredShip"));
    QAction* track = nullptr;
    const bool trackShown = commands != nullptr && commands->trackVisible(slot);
    if (action(QStringLiteral("mnuViewTracks"))->isChecked()) {
        track = menu.addAction(
            text(trackShown ? TextId::PopupMenuInvisibleTrack : TextId::PopupMenuVisibleTrack));
        track->setObjectName(trackShown ? QStringLiteral("mmuInvisibleTrack")
                                        : QStringLiteral("mmuVisibleTrack"));
    }
    QAction* chosen = menu.exec(globalPos);
    if (chosen == nullptr || commands == nullptr) return;
    if (chosen == monitor) commands->setMonitored(slot, !monitored);
    if (chosen == track && track != nullptr) commands->setTrackVisible(slot, !trackShown);
    chart_->refreshSymbol(slot);
}

// ---- Map cruise and orientation ----------------------------------------------------------

void TForm1::stepMapCruise() {
    const ais::TargetRecord& own = run_->tracker.table().own();
    const double course = own.cog < 360.0f ? own.cog : 0.0;
    const chart::GeoPoint next = chart_->model().cruiseStep(false);
    if (!chart_->setCentre(next.lon, next.lat)) return;
    if (!run_->tracker.ownPositionFlag()) {
        const chart::GeoPoint centre = chart_->model().centre();
        chart_->model().setOwnPosition(centre.lon, centre.lat, course, false);
    }
    chart_->repaintChart();
}

void TForm1::setChartOrientation(int mode) {
    chartOrientation_ = std::clamp(mode, 0, 2);
    chart_->setOrientation(static_cast<chart::Orientation>(chartOrientation_));
    lblStatusBarOrientation_->setText(QString::fromLatin1(
        chartOrientation_ == 0 ? "North Up" : (chartOrientation_ == 1 ? "Head Up" : "Course Up")));
    const ais::TargetRecord& own = run_->tracker.table().own();
    orientation_.restart(own.heading, own.cog);
    if (chartOrientation_ == 0) {
        timerOrientChart_->stop();
    } else {
        timerOrientChart_->start();
    }
}

void TForm1::stepOrientation() {
    const ais::TargetRecord& own = run_->tracker.table().own();
    const bool headUp = chart_->orientation() == chart::Orientation::HeadUp;
    if (orientation_.step(headUp, own.heading, own.cog)) {
        chart_->applyOrientation(own.heading, own.cog);
        orientation_.arm();
    }
}

// ---- Colour schemes and the GNSS status window ---------------------------------------------

void TForm1::nextColourScheme() {
    const auto next = chart::NextScheme(static_cast<chart::ColourScheme>(colourScheme_));
    applyColourScheme(static_cast<int>(next));
}

void TForm1::applyColourScheme(int scheme) {
    colourScheme_ = std::clamp(scheme, 0, chart::kColourSchemeCount - 1);
    const auto s = static_cast<chart::ColourScheme>(colourScheme_);
    chart_->applyScheme(s);
    chart::ApplyApplicationPalette(chart_->palette());
    gpsStatus_->setScheme(chart_->palette());
    // The hint names the scheme the next press selects.
    static constexpr TextId kSchemeNames[chart::kColourSchemeCount] = {
        TextId::ToolbuttonSchemeDayBright, TextId::ToolbuttonSchemeDayWhite,
        TextId::ToolbuttonSchemeDayBlack, TextId::ToolbuttonSchemeDusk,
        TextId::ToolbuttonSchemeNight};
    if (auto* button = findChild<QToolButton*>(QStringLiteral("spbEcsIconBarColorScheme"))) {
        button->setToolTip(text(kSchemeNames[static_cast<int>(chart::NextScheme(s))]));
    }
    // The orientation timer is armed again.
    orientation_.arm();
    chart_->repaintChart();
}

void TForm1::showGpsStatus() {
    gpsStatus_->setScheme(chart_->palette());
    gpsStatus_->showWindow(run_->ownShip.satellites());
}

}  // namespace norq::app
