#include "app/nav/NavMarkers.h"

#include <QAbstractButton>
#include <QAction>

#include "app/BaseNames.h"
#include "app/MainForm.h"
#include "app/NavigationHub.h"
#include "app/nav/NavRoutes.h"
#include "app/nav/NavTracks.h"
#include "base/DataFolder.h"
#include "chart/forms/PaintChart.h"
#include "comm/TSysSensorControl.h"
#include "nav/forms/MarkSettingForm.h"
#include "ui/Dialogs.h"

namespace norq::app {

namespace {

QString Text(const TextStore& texts, TextId id) {
    return QString::fromStdString(texts.text(id));
}

}  // namespace

NavMarkers::NavMarkers(NavigationHub& hub) : QObject(nullptr), hub_(hub) {
    const NavContext& c = hub_.context();
    exchange_.setPort(this);
    editor_ = std::make_unique<nav::TfrmMarkSetting>(c.texts, c.dialogs, &c.main);
    nav::TfrmMarkSetting::Hooks hooks;
    hooks.accept = [this](const nav::MarkerRecord& r) { return acceptEdit(r); };
    hooks.openManager = [this] { openManager(nav::ManagerPage::Markers); };
    hooks.closed = [this] { editingClosed(); };
    editor_->setHooks(std::move(hooks));
    manager_ = std::make_unique<nav::TfrmNavManager>(c.texts, c.dialogs, markers_, exchange_, *this,
                                                     &c.main);
    markerFile_ = NavDataFilePath(c.main.paths().folders, kMarkersFile);
    if (chart::TPaintChart* chart = c.main.chart()) {
        chart->addLayerHook(chart::ChartLayer::Markers, &layer_);
        chart->addLayerHook(chart::ChartLayer::PendingMarker, &layer_);
    }
    connectMenus();
}

NavMarkers::~NavMarkers() {
    const NavContext& c = hub_.context();
    if (chart::TPaintChart* chart = c.main.chart()) {
        chart->removeLayerHook(&layer_);
        if (toolDown_) chart->setPointerTool(nullptr);
    }
    if (intakeConnected_) {
        ais::IntakeConnections connections = c.run.intake.connections();
        if (connections.proprietary == this) {
            connections.proprietary = previousProprietary_;
            c.run.intake.connect(connections);
        }
    }
}

void NavMarkers::connectMenus() {
    TForm1& main = hub_.context().main;
    auto onAction = [this, &main](const char* name, auto slot) {
        if (QAction* a = main.action(QString::fromLatin1(name)))
            connect(a, &QAction::triggered, this, slot);
    };
    auto onButton = [this, &main](const char* name, auto slot) {
        if (auto* b = main.findChild<QAbstractButton*>(QString::fromLatin1(name)))
            connect(b, &QAbstractButton::clicked, this, slot);
    };
    // Config and the tool bar open the manager on the page it showed last.
    onAction("mnuMarkManager", [this] { openManager(manager_->activePage()); });
    onButton("spbEcsIconBarNavManager", [this] { openManager(manager_->activePage()); });
    onAction("mnuMarkerManager", [this] { openManager(nav::ManagerPage::Markers); });
    onAction("mnuRouteManager", [this] { openManager(nav::ManagerPage::Routes); });
    onAction("mnuTrackManager", [this] { openManager(nav::ManagerPage::Tracks); });
    if (QAction* show = main.action(QStringLiteral("mnuViewShowMarks"))) {
        show->setCheckable(true);
        show->setChecked(drawState_.shown);
        connect(show, &QAction::triggered, this, [this] { setMarkersShown(!drawState_.shown); });
    }
    if (auto* tool = main.findChild<QAbstractButton*>(QStringLiteral("spbEcsIconBarMark"))) {
        tool->setCheckable(true);
        connect(tool, &QAbstractButton::toggled, this, [this](bool down) { setToolDown(down); });
    }
    onAction("mnuCreateMarker", [&main] {
        if (auto* tool = main.findChild<QAbstractButton*>(QStringLiteral("spbEcsIconBarMark")))
            tool->setChecked(true);
    });
}

void NavMarkers::connectIntake() {
    if (intakeConnected_) return;
    ais::SentenceIntake& intake = hub_.context().run.intake;
    ais::IntakeConnections connections = intake.connections();
    // Crew-watch reports keep going to whoever took them before.
    previousProprietary_ = connections.proprietary;
    connections.proprietary = this;
    intake.connect(connections);
    intakeConnected_ = true;
}

void NavMarkers::readFiles(const std::string& /*dataFolder*/) {
    markers_.Load(markerFile_);
    drawState_ = nav::MarkerDrawState{};
    connectIntake();
    redraw();
}

void NavMarkers::retranslate() {
    editor_->retranslate();
    manager_->retranslate();
}

void NavMarkers::stepSecond() {}

void NavMarkers::shutdown() {
    // The list is saved after every change; nothing is left to write.
}

void NavMarkers::addMarkerHere(double lon, double lat) {
    if (!(lat >= -90.0 && lat <= 90.0) || markers_.full()) return;
    mode_ = EditMode::New;
    editSide_ = nav::MarkerSide::Viewer;
    editIndex_ = -1;
    drawState_.pending = true;
    drawState_.pendingLon = lon;
    drawState_.pendingLat = lat;
    redraw();
    editor_->setMarker("Marker" + std::to_string(markers_.count() + 1), lon, lat);
    showEditor();
}

void NavMarkers::showEditor() {
    // Over the modal manager the editor is modal too, or it could not be used.
    editor_->setWindowModality(manager_->isVisible() ? Qt::ApplicationModal : Qt::NonModal);
    editor_->show();
    editor_->raise();
    editor_->activateWindow();
}

void NavMarkers::openManager(nav::ManagerPage page) {
    if (!pagesSet_) {
        pagesSet_ = true;
        manager_->setPages(hub_.routes().managerPage(), hub_.tracks().managerPage());
    }
    drawState_.highlighted = -1;
    manager_->openModal(page);
}

void NavMarkers::setMarkersShown(bool shown) {
    drawState_.shown = shown;
    if (QAction* a = hub_.context().main.action(QStringLiteral("mnuViewShowMarks")))
        a->setChecked(shown);
    redraw();
}

bool NavMarkers::deviceKeepsMarkers() const {
    const comm::TSysSensorControl& control = hub_.context().main.sensorControl();
    return control.deviceKind() == comm::DeviceKind::Mkd2 &&
           control.linkState(comm::kAisPort) == comm::LinkState::Connected;
}

void NavMarkers::locateMarker(int index) {
    if (!markers_.valid(index)) return;
    drawState_.highlighted = index;
    const nav::MarkerRecord& m = markers_.at(index);
    if (chart::TPaintChart* chart = hub_.context().main.chart()) {
        chart->holdView();
        chart->setCentre(m.longitude, m.latitude);
        chart->markOverlayDirty();
        chart->repaintChart();
    }
}

void NavMarkers::editMarker(int index) {
    if (!markers_.valid(index)) return;
    // A marker being placed is given up: the editor now edits this one.
    if (drawState_.pending) {
        drawState_.pending = false;
        redraw();
    }
    mode_ = EditMode::Edit;
    editSide_ = nav::MarkerSide::Viewer;
    editIndex_ = index;
    const nav::MarkerRecord& m = markers_.at(index);
    editor_->setMarker(m.nameText(), m.longitude, m.latitude);
    showEditor();
}

void NavMarkers::editDeviceMarker(int row) {
    if (!exchange_.deviceValid(row)) return;
    // A marker being placed is given up: the editor now edits this one.
    if (drawState_.pending) {
        drawState_.pending = false;
        redraw();
    }
    mode_ = EditMode::Edit;
    editSide_ = nav::MarkerSide::Device;
    editIndex_ = row;
    const nav::MarkerRecord& m = exchange_.device(row).record;
    editor_->setMarker(m.nameText(), m.longitude, m.latitude);
    showEditor();
}

bool NavMarkers::acceptEdit(const nav::MarkerRecord& record) {
    const NavContext& c = hub_.context();
    if (mode_ == EditMode::New) {
        if (!markers_.add(record)) {
            c.dialogs.message(editor_.get(), Text(c.texts, TextId::MarkSettingMarkWarning),
                              Text(c.texts, TextId::MarkSettingMarkMax), ui::MessageIcon::Warning,
                              ui::MessageButtons::Ok);
            return true;
        }
    } else if (mode_ == EditMode::Edit && editSide_ == nav::MarkerSide::Device) {
        // The device list changes when the transponder reports the modification.
        if (!exchange_.modifyOnDevice(editIndex_, record)) commandNotSent();
        return true;
    } else if (mode_ == EditMode::Edit && markers_.valid(editIndex_)) {
        nav::MarkerRecord edited = record;
        edited.deviceIndex = markers_.at(editIndex_).deviceIndex;
        markers_.replace(editIndex_, edited);
    } else {
        return true;
    }
    markersChanged();
    if (manager_->isVisible()) manager_->refillViewer();
    return true;
}

void NavMarkers::editingClosed() {
    mode_ = EditMode::None;
    editIndex_ = -1;
    drawState_.pending = false;
    redraw();
}

bool NavMarkers::save() {
    if (markers_.Save(markerFile_)) return true;
    const NavContext& c = hub_.context();
    QWidget* parent = editor_->isVisible()    ? static_cast<QWidget*>(editor_.get())
                      : manager_->isVisible() ? static_cast<QWidget*>(manager_.get())
                                              : static_cast<QWidget*>(&c.main);
    c.dialogs.message(parent, Text(c.texts, TextId::OtherMsgError),
                      Text(c.texts, TextId::MarkPropertiesSaveFailed) + QLatin1Char('\n') +
                          QString::fromStdString(markerFile_),
                      ui::MessageIcon::Error, ui::MessageButtons::Ok);
    return false;
}

void NavMarkers::markersChanged() {
    save();
    redraw();
}

void NavMarkers::commandNotSent() {
    const NavContext& c = hub_.context();
    c.dialogs.message(manager_->isVisible() ? static_cast<QWidget*>(manager_.get()) : &c.main,
                      Text(c.texts, TextId::OtherMsgError),
                      Text(c.texts, TextId::OtherMsgCmdSendFail), ui::MessageIcon::Error,
                      ui::MessageButtons::Ok);
}

void NavMarkers::managerClosed() {
    drawState_.highlighted = -1;
    redraw();
}

void NavMarkers::redraw() {
    if (chart::TPaintChart* chart = hub_.context().main.chart()) {
        chart->markOverlayDirty();
        chart->repaintChart();
    }
}

bool NavMarkers::sendMarkerLine(std::string_view line) {
    comm::TSysSensorControl& control = hub_.context().main.sensorControl();
    return control.SendBytes(comm::kAisPort, line.data(), static_cast<int>(line.size()));
}

void NavMarkers::OnMobSentence() {
    if (previousProprietary_ != nullptr) previousProprietary_->OnMobSentence();
}

void NavMarkers::OnMarkerSentence() {
    const codec::ProprietaryStore& p = hub_.context().run.codec.proprietary();
    const nav::MarkerReportResult result = exchange_.onSentence(p.mrkSubtype, p.mrk);
    if (manager_->isVisible()) manager_->onReport(result);
}

void NavMarkers::setToolDown(bool down) {
    const NavContext& c = hub_.context();
    chart::TPaintChart* chart = c.main.chart();
    auto* button = c.main.findChild<QAbstractButton*>(QStringLiteral("spbEcsIconBarMark"));
    if (down && !drawState_.shown) {
        const ui::MessageAnswer answer =
            c.dialogs.message(&c.main, Text(c.texts, TextId::MarkSettingMarkWarning),
                              Text(c.texts, TextId::MarkSettingShowMarkQuery),
                              ui::MessageIcon::Question, ui::MessageButtons::YesNo);
        if (answer != ui::MessageAnswer::Yes) {
            if (button != nullptr) button->setChecked(false);
            return;
        }
        setMarkersShown(true);
    }
    if (down) {
        // The marker, route and measure tools exclude each other.
        for (const char* other : {"spbEcsIconBarRoute", "spbEcsIconBarMeasure"}) {
            if (auto* b = c.main.findChild<QAbstractButton*>(QString::fromLatin1(other)))
                b->setChecked(false);
        }
    }
    toolDown_ = down;
    if (chart != nullptr) {
        chart->setPointerTool(down ? &tool_ : nullptr);
        chart->setCursor(down ? Qt::CrossCursor : Qt::ArrowCursor);
    }
}

bool NavMarkers::MarkerTool::press(const chart::ChartPointer& p) {
    pressed_ = p.position;
    down_ = true;
    return true;
}

bool NavMarkers::MarkerTool::release(const chart::ChartPointer& p) {
    const chart::GeoPoint at = down_ ? pressed_ : p.position;
    down_ = false;
    // The tool is released first: placing the marker opens the editor.
    if (auto* b = owner_.hub_.context().main.findChild<QAbstractButton*>(
            QStringLiteral("spbEcsIconBarMark"))) {
        b->setChecked(false);
    }
    owner_.addMarkerHere(at.lon, at.lat);
    return true;
}

}  // namespace norq::app
