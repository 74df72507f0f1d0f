#include "app/nav/NavTracks.h"

#include <QAction>
#include <QMenu>
#include <cmath>

#include "ais/TargetTexts.h"
#include "app/BaseNames.h"
#include "app/MainForm.h"
#include "app/NavigationHub.h"
#include "base/DataFolder.h"
#include "chart/forms/PaintChart.h"
#include "comm/LogReplay.h"
#include "ui/Dialogs.h"

namespace norq::app {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

NavTracks::NavTracks(NavigationHub& hub) : QObject(nullptr), hub_(hub) {
    const NavContext& c = hub_.context();
    page_ = new nav::TrackManagerPage(c.texts, list_, *this);
    properties_ = std::make_unique<nav::TfrmTrackProperties>(c.texts, &c.main);
    connect(properties_.get(), &nav::TfrmTrackProperties::nameConfirmed, this,
            &NavTracks::onNameConfirmed);
    connect(properties_.get(), &nav::TfrmTrackProperties::nameRefused, this,
            [this] { reportError(TextId::TrackPropertyBadName); });
    if (chart::TPaintChart* chart = c.main.chart()) {
        targetLayer_ = std::make_unique<nav::TargetTrackLayer>(rings_, chart->model());
        chart->addLayerHook(chart::ChartLayer::TargetTracks, targetLayer_.get());
        chart->addLayerHook(chart::ChartLayer::OwnTracks, &ownLayer_);
    }
    connectMenus();
}

NavTracks::~NavTracks() {
    if (chart::TPaintChart* chart = hub_.context().main.chart()) {
        chart->removeLayerHook(&ownLayer_);
        if (targetLayer_) chart->removeLayerHook(targetLayer_.get());
    }
    // The manager window may hold the page; deleting it takes it out of there.
    delete page_.data();
}

void NavTracks::connectMenus() {
    TForm1& main = hub_.context().main;
    QAction* tracks = main.action(QStringLiteral("mnuViewTracks"));
    QAction* ownTracks = main.action(QStringLiteral("mnuViewShowTracks"));
    QAction* allVessels = main.action(QStringLiteral("mnuViewShowAllVesselsTrack"));
    if (ownTracks != nullptr) {
        connect(ownTracks, &QAction::triggered, this,
                [this] { setOwnTracksShown(!ownTracksShown()); });
    }
    if (allVessels != nullptr && tracks != nullptr) {
        // Another way to the chart's tracks-shown flag.
        connect(allVessels, &QAction::triggered, this,
                [tracks] { tracks->setChecked(!tracks->isChecked()); });
    }
    if (tracks == nullptr) return;
    // The View menu ticks the two hidden entries as it opens.
    for (QObject* object : tracks->associatedObjects()) {
        if (auto* menu = qobject_cast<QMenu*>(object)) {
            connect(menu, &QMenu::aboutToShow, this, [this, tracks, ownTracks, allVessels] {
                if (ownTracks != nullptr) {
                    ownTracks->setCheckable(true);
                    ownTracks->setChecked(ownTracksShown());
                }
                if (allVessels != nullptr) {
                    allVessels->setCheckable(true);
                    allVessels->setChecked(tracks->isChecked());
                }
            });
        }
    }
}

void NavTracks::readFiles(const std::string& /*dataFolder*/) {
    // NAV_Data/ of the data folder, or the current folder when it could not be made.
    list_.setFolder(hub_.context().main.paths().folders.navDataFolder);
    list_.load();
    listChanged();
}

void NavTracks::retranslate() {
    if (page_) page_->retranslate();
    properties_->retranslate();
}

void NavTracks::stepSecond() {
    TForm1& main = hub_.context().main;
    ais::TargetTracker& tracker = hub_.context().run.tracker;
    const ais::TargetRecord& own = tracker.table().own();
    nav::OwnFix fix;
    // A replayed log (the demo feed among them) is not the own ship's voyage.
    const bool replaying = main.replay().playState() != comm::PlayState::Stopped;
    const bool known = !replaying && tracker.ownPositionFlag() &&
                       std::fabs(own.longitude) <= 180.0f && std::fabs(own.latitude) <= 90.0f;
    if (known) {
        fix = {own.longitude, own.latitude, own.cog, own.sog, own.heading};
    }
    const ais::LocalDateTime local = tracker.clock().localNow();
    const ais::TextOptions options = main.exportTextOptions();
    const ais::CellText stamp = ais::DateTimeText(local.date, local.time, options.datePattern);
    const nav::RecorderStep step = recorder_.step(
        known ? &fix : nullptr, tracker.clock().monotonicSeconds(), local, stamp.view());
    if (step.pointTaken) {
        if (chart::TPaintChart* chart = main.chart()) chart->markOverlayDirty();
    }
    if (step.written && page_ && page_->isVisible()) page_->refill();
    reportRecording(step);
}

void NavTracks::shutdown() {
    nav::RecorderStep step;
    step.save = recorder_.finish(hub_.context().run.tracker.clock().monotonicSeconds());
    recordingFailureReported_ = false;
    reportRecording(step);
}

void NavTracks::reportRecording(const nav::RecorderStep& step) {
    if (step.written) recordingFailureReported_ = false;
    if (step.save == nav::TrackSaveResult::ListFull && !listFullReported_) {
        listFullReported_ = true;
        reportError(TextId::NavManagerTrackListFull);
    } else if (step.save == nav::TrackSaveResult::WriteFailed && !recordingFailureReported_) {
        recordingFailureReported_ = true;
        reportError(TextId::NavManagerTrackRecordingFailed);
    }
}

void NavTracks::reportError(TextId text) {
    const NavContext& c = hub_.context();
    c.dialogs.message(&c.main, Q(c.texts.text(TextId::TrackPropertyError)), Q(c.texts.text(text)),
                      ui::MessageIcon::Error, ui::MessageButtons::Ok);
}

QWidget* NavTracks::managerPage() {
    return page_;
}

bool NavTracks::trackVisible(int slot) const {
    return rings_.visible(slot);
}

void NavTracks::setTrackVisible(int slot, bool visible) {
    const ais::TargetTable& table = hub_.context().run.tracker.table();
    if (!table.valid(slot)) return;
    rings_.setVisible(slot, table[slot].mmsi, visible);
    if (chart::TPaintChart* chart = hub_.context().main.chart()) chart->markTargetTracksDirty();
}

void NavTracks::appendTrackPoint(int index) {
    const ais::TargetTable& table = hub_.context().run.tracker.table();
    if (!table.valid(index)) return;
    const ais::TargetRecord& t = table[index];
    rings_.append(index, t.mmsi, t.longitude, t.latitude);
}

void NavTracks::onTargetRemoved(int index) {
    rings_.onTargetRemoved(index, hub_.context().run.tracker.table().count());
    if (chart::TPaintChart* chart = hub_.context().main.chart()) chart->markTargetTracksDirty();
}

// ---- The track page ---------------------------------------------------------------------

void NavTracks::listChanged() {
    if (page_) page_->refill();
    if (chart::TPaintChart* chart = hub_.context().main.chart()) chart->markOverlayDirty();
}

void NavTracks::setOwnTracksShown(bool on) {
    ownLayer_.setShown(on);
    if (QAction* a = hub_.context().main.action(QStringLiteral("mnuViewShowTracks"))) {
        a->setCheckable(true);
        a->setChecked(on);
    }
    listChanged();
}

void NavTracks::locateTrack(int index) {
    if (!ownTracksShown() || !list_.valid(index) || !list_[index].visible) return;
    nav::TrackRecord first;
    if (!nav::ReadFirstTrackRecord(list_.trackPath(list_[index]), list_[index].pointCount, first))
        return;
    // A damaged file may hold anything: only a position on the globe is located.
    if (!(std::fabs(first.lon) <= 180.0) || !(std::fabs(first.lat) <= 90.0)) return;
    chart::TPaintChart* chart = hub_.context().main.chart();
    if (chart == nullptr) return;
    ownLayer_.setHighlighted(index);
    chart->holdView();
    chart->setCentre(first.lon, first.lat);
    chart->markOverlayDirty();
}

void NavTracks::showTrackProperties(int index) {
    if (!list_.valid(index)) return;
    propertiesFile_ = list_[index].fileName;
    properties_->load(list_[index], list_.trackPath(list_[index]));
    properties_->open();
}

void NavTracks::onNameConfirmed(const QString& name) {
    // The list may have changed while the window was open: find the track again.
    for (int i = 0; i < list_.count(); ++i) {
        if (list_[i].fileName != propertiesFile_) continue;
        const std::string typed = name.toStdString();
        if (typed == list_[i].name) return;
        if (!list_.rename(i, typed)) reportError(TextId::NavManagerTrackWriteFailed);
        listChanged();
        return;
    }
}

void NavTracks::deleteTrack(int index) {
    if (!list_.valid(index)) return;
    const NavContext& c = hub_.context();
    const ui::MessageAnswer answer =
        c.dialogs.message(&c.main, Q(c.texts.text(TextId::NavManagerWarning)),
                          Q(c.texts.text(TextId::NavManagerConfirmDelete)),
                          ui::MessageIcon::Warning, ui::MessageButtons::YesNo);
    if (answer != ui::MessageAnswer::Yes) return;
    if (!list_.remove(index)) {
        reportError(TextId::NavManagerTrackWriteFailed);
        return;
    }
    recorder_.onEntryRemoved(index);
    ownLayer_.setHighlighted(-1);
    listChanged();
}

void NavTracks::toggleTrackVisible(int index) {
    if (!list_.valid(index) || !ownTracksShown()) return;
    if (!list_.toggleVisible(index)) reportError(TextId::NavManagerTrackWriteFailed);
    listChanged();
}

}  // namespace norq::app
