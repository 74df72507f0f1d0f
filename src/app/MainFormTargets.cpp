// What the target logic reports, shown in the ship list, the grid, the detail
// pages and the top information strip. Every report only notes what changed; the
// next flush (once per turn of the event loop) shows it, so a fast feed repaints
// each view once per turn.
#include <QAction>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <algorithm>

#include "ais/TargetTexts.h"
#include "app/AlarmWindows.h"
#include "app/DetailPanes.h"
#include "app/MainForm.h"
#include "app/ShipListModel.h"
#include "app/TargetGridModel.h"
#include "chart/forms/GpsStatusForm.h"
#include "chart/forms/PaintChart.h"
#include "codec/Fields.h"
#include "ui/PageControl.h"
#include "ui/SvgIcons.h"

namespace norq::app {

namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void SetText(QLabel* label, const QString& text) {
    if (label->text() != text) label->setText(text);
}

}  // namespace

void TForm1::scheduleFlush() {
    if (viewFlush_ == nullptr || viewFlush_->isActive() || shutDown_) return;
    // At most one flush (and so one repaint of the lists) per kFlushIntervalMs.
    const qint64 since = lastFlush_.isValid() ? lastFlush_.elapsed() : kFlushIntervalMs;
    viewFlush_->start(static_cast<int>(std::max<qint64>(0, kFlushIntervalMs - since)));
}

void TForm1::refreshTextOptions() {
    textOptions_.degree = kDegreeSign;
    textOptions_.ownPositionValid = run_->tracker.table().own().ownPositionValid != 0;
    textOptions_.datePattern = datePattern_;
}

void TForm1::flushViews() {
    if (viewFlush_ != nullptr) viewFlush_->stop();
    lastFlush_.start();
    ++flushCount_;
    refreshTextOptions();
    shipListModel_->flush();
    gridModel_->flush();
    if (countPending_) {
        countPending_ = false;
        SetText(lblTopVessel_, QString::number(targetCount_));
        groupBoxShipList_->setTitle(ToQString(
            ais::ShipListCaption(texts_.text(TextId::ShipListShipList), targetCount_).view()));
    }
    if (selectionPending_) {
        selectionPending_ = false;
        applySelectionToViews();
    }
    if (atonTabPending_) {
        atonTabPending_ = false;
        if (atonTabShown_) {
            pageControlDevInfo_->setTabVisible(1, true);
            pageControlDevInfo_->setActivePage(1);
        } else {
            pageControlDevInfo_->setTabVisible(1, false);
            pageControlDevInfo_->setActivePage(0);
        }
    }
    fillDetails();
    showTopValues();
}

void TForm1::applySelectionToViews() {
    applyingSelection_ = true;
    // The views scroll to the selection only while the user is not using them;
    // the grid's rows are in the user's sort order (MainFormWatch.cpp).
    selectRowsInViews();
    applyingSelection_ = false;
}

void TForm1::fillDetails() {
    const ais::TargetTable& table = run_->tracker.table();
    if (detailsIndex_ >= 0) {
        if (table.valid(detailsIndex_)) {
            const ais::TargetRecord& record = table[detailsIndex_];
            details_->showDynamic(ais::DynamicDetails(record, detailsIndex_, textOptions_));
            details_->showStatic(ais::StaticDetails(record, textOptions_));
        }
        detailsIndex_ = -1;
    }
    if (atonDetailsIndex_ >= 0) {
        if (table.valid(atonDetailsIndex_)) {
            details_->showAton(ais::AtonDetails(table[atonDetailsIndex_], textOptions_));
        }
        atonDetailsIndex_ = -1;
    }
}

void TForm1::showTopValues() {
    if (!ownTopPending_ && !ownDetailsPending_) return;
    const auto [lon, lat, sog, cog] = ownTop_;
    const QString lonText = ToQString(ais::ChartLongitudeText(lon).view());
    const QString latText = ToQString(ais::ChartLatitudeText(lat).view());
    const QString sogText = ToQString(ais::SogText(static_cast<float>(sog)).view());
    const QString cogText = ToQString(ais::CogText(static_cast<float>(cog)).view());
    SetText(lblTopLat_, latText);
    SetText(lblTopLon_, lonText);
    SetText(lblTopSog_, sogText);
    SetText(lblTopCog_, cogText);
    if (ownDetailsPending_) details_->showOwnShip(lonText, latText, sogText, cogText);
    lblChartNoFix_->setVisible(run_->tracker.table().own().ownPositionValid == 0);
    ownTopPending_ = false;
    ownDetailsPending_ = false;
}

// ---- ais::TargetView -------------------------------------------------------------

void TForm1::setShipListLine(int index, std::string_view line) {
    shipListModel_->setLine(index, line);
    scheduleFlush();
}

int TForm1::shipListLineCount() const {
    return shipListModel_->lineCount();
}

void TForm1::deleteLastShipListLine() {
    shipListModel_->deleteLastLine();
    if (listSelection_ >= shipListModel_->lineCount()) listSelection_ = -1;
    scheduleFlush();
}

void TForm1::gridRowChanged(int index) {
    gridModel_->markRowChanged(index);
    scheduleFlush();
}

void TForm1::setTargetCount(int targets) {
    targetCount_ = targets;
    countPending_ = true;
    scheduleFlush();
}

void TForm1::rebuildLists() {
    shipListModel_->rebuild(run_->tracker.table());
    gridModel_->resetRows();
    const int count = run_->tracker.table().count();
    if (listSelection_ >= count) listSelection_ = count - 1;
    if (gridSelection_ >= count) gridSelection_ = count - 1;
    selectionPending_ = true;
    chart_->repaintLayers();
    scheduleFlush();
}

bool TForm1::targetMonitorChecked() const {
    return mnuFixShip_->isChecked();
}

void TForm1::setTargetMonitorChecked(bool checked) {
    mnuFixShip_->setChecked(checked);
}

void TForm1::setListSelection(int index) {
    // A selection in the list box also selects the grid row.
    listSelection_ = index;
    gridSelection_ = index;
    selectionPending_ = true;
    scheduleFlush();
}

void TForm1::setGridSelection(int index) {
    gridSelection_ = index;
    selectionPending_ = true;
    scheduleFlush();
}

void TForm1::showAtonTab(bool shown) {
    if (shown == atonTabShown_ && !atonTabPending_) return;
    atonTabShown_ = shown;
    atonTabPending_ = true;
    scheduleFlush();
}

void TForm1::showDetails(int index) {
    detailsIndex_ = index;
    scheduleFlush();
}

void TForm1::showAtonDetails(int index) {
    atonDetailsIndex_ = index;
    alarms_->CopyAtonDetails(index);
    scheduleFlush();
}

void TForm1::onTargetRemoved(int index) {
    // The selections, the fixed "Target Monitor" target and the details follow
    // their entries down; when the fixed target itself aged out the monitor is
    // released, so that the list again follows the traffic.
    const bool fixedGone = listSelection_ == index && targetMonitorChecked();
    for (int* held : {&listSelection_, &gridSelection_, &detailsIndex_, &atonDetailsIndex_}) {
        if (*held == index) {
            *held = -1;
        } else if (*held > index) {
            --*held;
        }
    }
    if (fixedGone) setTargetMonitorChecked(false);
    if (listSelection_ >= 0) detailsIndex_ = listSelection_;
    selectionPending_ = true;
    scheduleFlush();
}

void TForm1::onListClicked(int row) {
    if (shutDown_) return;
    listSelection_ = row;
    gridSelection_ = row;
    selectionPending_ = true;
    run_->tracker.SelectTarget(row, true);
    flushViews();
}

void TForm1::onGridClicked(int row) {
    if (shutDown_) return;
    // A click on a grid row selects the same entry in the list.
    listSelection_ = row;
    gridSelection_ = row;
    selectionPending_ = true;
    run_->tracker.SelectTarget(row, true);
    flushViews();
}

// ---- ais::OwnShipView and ais::GnssView --------------------------------------

void TForm1::ShowOwnShipTop(double lon, double lat, double sog, double cog) {
    ownTop_ = {lon, lat, sog, cog};
    ownTopPending_ = true;
    scheduleFlush();
}

void TForm1::ShowOwnShipDetails(double lon, double lat, double sog, double cog) {
    ownTop_ = {lon, lat, sog, cog};
    ownTopPending_ = true;
    ownDetailsPending_ = true;
    scheduleFlush();
}

void TForm1::setUtcText(std::string_view text) {
    const QString utc = ToQString(text);
    SetText(lblTopUtc_, utc);
    details_->showUtc(utc);
    gpsStatus_->setTime(utc);
}

void TForm1::setFixData(const ais::GnssFixData& data) {
    const QString fix = data.fixType == 3   ? QStringLiteral("3D")
                        : data.fixType == 2 ? QStringLiteral("2D")
                                            : QStringLiteral("N/A");
    details_->showGps(lblTopUtc_->text(), ToQString(ais::ChartLatitudeText(data.latitude).view()),
                      ToQString(ais::ChartLongitudeText(data.longitude).view()), fix,
                      QStringLiteral("%1 / %2").arg(data.satellitesUsed).arg(data.satellitesInView),
                      data.altitude == codec::kEmptyFloat
                          ? QString()  // the GGA gave no altitude
                          : QStringLiteral("%1 m").arg(data.altitude, 0, 'f', 1));
    gpsStatus_->setPosition(data);
}

bool TForm1::satelliteWindowShowing() const {
    return gpsStatus_ != nullptr && gpsStatus_->isVisible();
}

void TForm1::showSatellites(std::span<const ais::SatelliteEntry> satellites) {
    gpsStatus_->rebuildSatellites(satellites);
}

void TForm1::setFixIndicator(ais::FixIndicator indicator) {
    static constexpr std::array<const char*, 3> kImages{"fix-lost", "fix-2d", "fix-3d"};
    const int image = static_cast<int>(indicator);
    if (imgFix_->property("fixImage").toInt() == image + 1) return;
    imgFix_->setProperty("fixImage", image + 1);
    imgFix_->setPixmap(ui::SvgPixmap(QString::fromLatin1(kImages[image]), 22, 22));
    imgFix_->setToolTip(text(indicator == ais::FixIndicator::Lost ? TextId::SatelliteInfoLost
                                                                  : TextId::SatelliteInfoFixed));
}

void TForm1::showCpaStatus(ais::CpaStatus status) {
    cpaStatus_ = status;
    const QString reason = CatalogueText(texts_, ais::CpaStatusText(status));
    lblStatusBarCpa_->setText(reason);
    lblStatusBarCpa_->setToolTip(reason);
}

// ---- SearchHost ------------------------------------------------------------------

const ais::TargetTable& TForm1::searchTable() const {
    return run_->tracker.table();
}

void TForm1::searchTickTargetMonitor() {
    setTargetMonitorChecked(true);
}

void TForm1::searchShowTarget(int index) {
    setListSelection(index);
    run_->tracker.SelectTarget(index, true);
    flushViews();
}

// ---- Read-back for the tests and the screenshots ------------------------------

QString TForm1::shipListCaption() const {
    return groupBoxShipList_->title();
}

QString TForm1::shipListLineText(int index) const {
    return ToQString(shipListModel_->line(index));
}

QString TForm1::gridCellText(int row, int column) const {
    return gridModel_->cellText(row, column);
}

QString TForm1::detailText(const QString& component) const {
    return details_->fieldText(component);
}

bool TForm1::atonTabShown() const {
    return pageControlDevInfo_->isTabVisible(1);
}

int TForm1::activeDetailPage() const {
    return pageControlDevInfo_->activePage();
}

}  // namespace norq::app
