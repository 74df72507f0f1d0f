#include "app/nav/NavPositions.h"

#include <QAction>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolButton>
#include <QToolTip>

#include "app/MainForm.h"
#include "app/NavigationHub.h"
#include "app/nav/NavRoutes.h"
#include "chart/forms/PaintChart.h"
#include "nav/forms/ChartCalibrationForm.h"
#include "nav/forms/DestinationForm.h"
#include "nav/forms/NavFormTexts.h"
#include "nav/forms/OwnShipForm.h"
#include "nav/forms/S57ChartSettingForm.h"
#include "ui/Dialogs.h"

namespace norq::app {

namespace {
nav::DestinationInfo FromSettings(const DestinationSettings& s) {
    return {s.valid, s.name, s.longitude, s.latitude};
}
}  // namespace

NavPositions::NavPositions(NavigationHub& hub) : QObject(nullptr), hub_(hub) {
    const NavContext& c = hub_.context();
    destination_ = new nav::TfrmDestination(c.texts, c.dialogs, &c.main);
    ownShip_ = new nav::TfrmOwnShip(c.texts, c.dialogs, &c.main);
    calibration_ = new nav::TfrmChartCalibration(c.texts, c.dialogs, &c.main);
    connect(destination_, &QDialog::accepted, this, &NavPositions::onDestinationAccepted);
    connect(ownShip_, &QDialog::accepted, this, &NavPositions::onManualPositionAccepted);
    connect(calibration_, &QDialog::finished, this, &NavPositions::onCalibrationClosed);
    encWindow_ = new nav::TfrmS57ChartSetting(c.texts, &c.main);
    connect(encWindow_, &QDialog::accepted, this, &NavPositions::onEncAccepted);
    if (chart::TPaintChart* chart = c.main.chart()) {
        chart->addLayerHook(chart::ChartLayer::Destination, &flag_);
        chart->installEventFilter(this);
    }
    connectMenus();
}

NavPositions::~NavPositions() {
    if (chart::TPaintChart* chart = hub_.context().main.chart()) {
        chart->removeLayerHook(&flag_);
        chart->removeEventFilter(this);
    }
}

void NavPositions::connectMenus() {
    TForm1& main = hub_.context().main;
    auto onAction = [&](const char* name, auto slot) {
        if (QAction* a = main.action(QString::fromLatin1(name)))
            connect(a, &QAction::triggered, this, slot);
    };
    onAction("mnuDestination", [this] { openDestination(); });
    onAction("mnuOwnShip", [this] { openManualPosition(); });
    onAction("mnuChartCalibration", [this] { openChartCalibration(); });
    onAction("mmuS57ChartOption", [this] { openEncSettings(); });
    if (auto* button = main.findChild<QToolButton*>(QStringLiteral("spbEcsIconBarSettings")))
        connect(button, &QToolButton::clicked, this, [this] { openEncSettings(); });
    // The text and colour-scheme tool buttons change the record directly, and it
    // is saved at once (the chart itself follows the buttons).
    if (auto* text = main.findChild<QToolButton*>(QStringLiteral("spbEcsIconBarText"))) {
        connect(text, &QToolButton::toggled, this, [this](bool on) {
            if (on == enc_.showText) return;
            enc_.showText = on;
            saveEnc();
        });
    }
    if (auto* scheme = main.findChild<QToolButton*>(QStringLiteral("spbEcsIconBarColorScheme"))) {
        connect(scheme, &QToolButton::clicked, this, [this] {
            enc_.colourScheme = static_cast<int>(
                chart::NextScheme(static_cast<chart::ColourScheme>(enc_.colourScheme)));
            saveEnc();
        });
    }
}

void NavPositions::readFiles(const std::string& /*dataFolder*/) {
    // The destination of the settings file, read at start-up.
    flag_.set(FromSettings(hub_.context().main.settings().destination));
    if (chart::TPaintChart* chart = hub_.context().main.chart()) chart->repaintChart();
}

void NavPositions::retranslate() {
    destination_->retranslate();
    ownShip_->retranslate();
    calibration_->retranslate();
    encWindow_->retranslate();
}

// The flag is placed with every frame the chart draws; nothing waits for a tick.
void NavPositions::stepSecond() {}

// The destination, the own position and the calibration are in the settings,
// which the main window writes at exit.
void NavPositions::shutdown() {}

// ---- Destination ------------------------------------------------------------------

void NavPositions::openDestination() {
    destination_->setDestination(flag_.info());
    destination_->open();
}

void NavPositions::addDestinationHere(double lon, double lat) {
    // The window shows the press point; nothing changes unless "OK" takes it.
    nav::DestinationInfo here = flag_.info();
    here.valid = true;
    here.longitude = lon;
    here.latitude = lat;
    destination_->setDestination(here);
    destination_->open();
}

void NavPositions::onDestinationAccepted() {
    const nav::DestinationInfo& taken = destination_->destination();
    DestinationSettings& stored = hub_.context().main.settings().destination;
    stored.valid = taken.valid;
    stored.name = taken.name;
    stored.longitude = taken.longitude;
    stored.latitude = taken.latitude;
    flag_.set(taken);
    if (chart::TPaintChart* chart = hub_.context().main.chart()) chart->repaintChart();
}

// ---- Manual position ------------------------------------------------------------------

void NavPositions::openManualPosition() {
    const NavContext& c = hub_.context();
    const ais::ReferencePosition own = c.run.tracker.referencePosition();
    fromPopup_ = false;
    ownShip_->setValues(c.main.settings().ownMmsi, own.longitude, own.latitude);
    ownShip_->open();
}

void NavPositions::setManualPositionHere(double lon, double lat) {
    fromPopup_ = true;
    ownShip_->setValues(hub_.context().main.settings().ownMmsi, lon, lat);
    ownShip_->open();
}

void NavPositions::onManualPositionAccepted() {
    const NavContext& c = hub_.context();
    const nav::ManualPosition& taken = ownShip_->taken();
    Settings& settings = c.main.settings();
    settings.ownMmsi = taken.mmsi;
    settings.ownLongitude = taken.longitude;
    settings.ownLatitude = taken.latitude;
    ais::TargetTracker& tracker = c.run.tracker;
    // Only without a current fix does the own ship itself move; a fix stays the
    // reference for ranges and bearings.
    if (!tracker.ownPositionFlag()) {
        ais::TargetRecord& own = tracker.table().own();
        own.longitude = taken.longitude;
        own.latitude = taken.latitude;
        own.cog = static_cast<float>(taken.course);
        course_ = taken.course;
    }
    chart::TPaintChart* chart = c.main.chart();
    if (chart == nullptr) return;
    if (fromPopup_) {
        if (QAction* centre = c.main.action(QStringLiteral("mnuCenterViewChart")))
            centre->setChecked(false);
    }
    chart->setManualPosition(taken.longitude, taken.latitude, course_);
    const ais::ReferencePosition ref = tracker.referencePosition();
    tracker.UpdateRanges(ref);
    c.run.ownShip.setManualPosition(ref.longitude, ref.latitude, ref.course);
    tracker.UpdateAllTargetGeometry(ref);
    chart->refreshSymbol(0);
    chart->repaintChart();
    c.main.flushViews();
}

// ---- Chart calibration ------------------------------------------------------------------

void NavPositions::openChartCalibration() {
    const ChartCalibrationSettings& s = hub_.context().main.settings().calibration;
    calibration_->setValues({s.active, s.latitude, s.longitude});
    calibration_->open();
}

void NavPositions::onCalibrationClosed(int result) {
    TForm1& main = hub_.context().main;
    if (result == QDialog::Accepted) {
        const nav::CalibrationValues& taken = calibration_->taken();
        ChartCalibrationSettings& s = main.settings().calibration;
        s.active = taken.active;
        s.latitude = taken.latitude;
        s.longitude = taken.longitude;
        main.applyChartCalibration();
    }
    if (chart::TPaintChart* chart = main.chart()) {
        chart->model().markStale();
        chart->repaintChart();
    }
}

// ---- ENC settings ----------------------------------------------------------------------

void NavPositions::openEncSettings() {
    encWindow_->setRecord(enc_);
    encWindow_->open();
}

void NavPositions::onEncAccepted() {
    EncSettings taken = encWindow_->record();
    if (nav::SameEncRecord(taken, enc_)) return;
    const bool schemeChanged = taken.colourScheme != enc_.colourScheme;
    enc_ = taken;
    const NavContext& c = hub_.context();
    // The scheme with the interface colours, and the orientation with its timer.
    c.main.setChartView(-1, schemeChanged ? enc_.colourScheme : -1, enc_.orientation);
    if (auto* text = c.main.findChild<QToolButton*>(QStringLiteral("spbEcsIconBarText")))
        text->setChecked(enc_.showText);
    if (!SaveEncSettingsFile(c.main.paths().settingsFile, enc_)) {
        c.dialogs.message(&c.main, nav::Tx(c.texts, TextId::OtherMsgWarning),
                          nav::Tx(c.texts, TextId::NavPositionsWriteFailed) + QLatin1Char('\n') +
                              nav::Utf8(c.main.paths().settingsFile),
                          ui::MessageIcon::Error, ui::MessageButtons::Ok);
    }
    if (chart::TPaintChart* chart = c.main.chart()) {
        chart->model().markStale();
        chart->repaintChart();
    }
}

// The ENC keys and the shown switches, written whenever the record changes.
void NavPositions::saveEnc() {
    const NavContext& c = hub_.context();
    enc_.routesShown = hub_.routes().store().shown();
    if (SaveEncSettingsFile(c.main.paths().settingsFile, enc_)) return;
    c.dialogs.message(&c.main, nav::Tx(c.texts, TextId::OtherMsgWarning),
                      nav::Tx(c.texts, TextId::NavPositionsWriteFailed) + QLatin1Char('\n') +
                          nav::Utf8(c.main.paths().settingsFile),
                      ui::MessageIcon::Error, ui::MessageButtons::Ok);
}

// ---- The flag's hint and double click --------------------------------------------------

bool NavPositions::eventFilter(QObject* watched, QEvent* event) {
    const std::optional<nav::FlagRect>& box = flag_.placed();
    if (!box) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (box->contains(help->pos().x(), help->pos().y())) {
            QToolTip::showText(help->globalPos(), nav::Utf8(flag_.hint()),
                               static_cast<QWidget*>(watched));
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (box->contains(p.x(), p.y())) {
            openDestination();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace norq::app
