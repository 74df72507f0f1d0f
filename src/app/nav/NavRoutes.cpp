#include "app/nav/NavRoutes.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QSignalBlocker>
#include <QToolButton>
#include <cstdio>

#include "app/MainForm.h"
#include "app/NavigationHub.h"
#include "app/nav/NavMarkers.h"
#include "chart/forms/PaintChart.h"
#include "nav/forms/NavFormTexts.h"
#include "nav/forms/NavManagerForm.h"
#include "nav/forms/RouteManagerPage.h"
#include "nav/forms/RoutePropertiesForm.h"
#include "ui/Dialogs.h"

namespace norq::app {

NavRoutes::NavRoutes(NavigationHub& hub) : QObject(nullptr), hub_(hub) {
    const NavContext& c = hub_.context();
    page_ = new nav::RouteManagerPage(c.texts, store_);
    properties_ = new nav::TfrmRouteProperties(c.texts, &c.main);
    connect(properties_, &QDialog::accepted, this, &NavRoutes::onPropertiesAccepted);
    connect(properties_, &nav::TfrmRouteProperties::managerRequested, this,
            &NavRoutes::managerRequested);
    connect(page_, &nav::RouteManagerPage::locateRequested, this, &NavRoutes::locate);
    connect(page_, &nav::RouteManagerPage::propertiesRequested, this, &NavRoutes::openProperties);
    connect(page_, &nav::RouteManagerPage::deleteRequested, this,
            [this](int row) { deleteRoute(row, true); });
    connect(page_, &nav::RouteManagerPage::visibleRequested, this, &NavRoutes::setVisible);
    connect(page_, &nav::RouteManagerPage::pageShown, this, &NavRoutes::clearHighlight);
    connect(page_, &nav::RouteManagerPage::pageHidden, this, &NavRoutes::clearHighlight);
    // The manager window is the markers' ("Route Manager(&R)" is theirs too).
    connect(this, &NavRoutes::managerRequested, this,
            [this] { hub_.markers().openManager(nav::ManagerPage::Routes); });
    if (chart::TPaintChart* chart = c.main.chart())
        chart->addLayerHook(chart::ChartLayer::Routes, &layer_);
    connectMenus();
}

NavRoutes::~NavRoutes() {
    // The page reads the store: it goes first, unless its window took it along.
    delete page_.data();
    if (chart::TPaintChart* chart = hub_.context().main.chart()) {
        chart->removeLayerHook(&layer_);
        if (toolArmed()) chart->setPointerTool(nullptr);
    }
}

void NavRoutes::connectMenus() {
    TForm1& main = hub_.context().main;
    if (QAction* create = main.action(QStringLiteral("mnuCreateRoute")))
        connect(create, &QAction::triggered, this, [this] { setToolArmed(true); });
    if (QAction* show = main.action(QStringLiteral("mnuViewShowRoutes"))) {
        show->setCheckable(true);
        show->setChecked(store_.shown());
        connect(show, &QAction::triggered, this, &NavRoutes::setShown);
    }
    toolButton_ = main.findChild<QToolButton*>(QStringLiteral("spbEcsIconBarRoute"));
    if (toolButton_ != nullptr) {
        toolButton_->setCheckable(true);
        // Unchecked by the marker tool too, which then arms its own.
        connect(toolButton_, &QToolButton::toggled, this, [this](bool on) {
            if (on != toolArmed()) setToolArmed(on);
        });
    }
}

void NavRoutes::readFiles(const std::string& /*dataFolder*/) {
    const NavContext& c = hub_.context();
    store_.setFolder(c.main.paths().folders.navDataFolder);
    const int damaged = store_.load();
    if (page_) page_->refill();
    redraw();
    if (damaged > 0) {
        c.dialogs.message(&c.main, nav::Tx(c.texts, TextId::OtherMsgWarning),
                          nav::Tx(c.texts, TextId::RoutePropertiesReadDamaged),
                          ui::MessageIcon::Warning, ui::MessageButtons::Ok);
    }
}

void NavRoutes::retranslate() {
    if (page_) page_->retranslate();
    properties_->retranslate();
}

void NavRoutes::stepSecond() {}

// Every change is written when it is made; nothing waits for the shutdown.
void NavRoutes::shutdown() {}

nav::RouteManagerPage& NavRoutes::page() {
    return *page_;
}

QWidget* NavRoutes::managerPage() {
    return page_.data();
}

bool NavRoutes::toolArmed() const {
    chart::TPaintChart* chart = hub_.context().main.chart();
    return chart != nullptr && tool_.state() != nav::RouteToolState::Idle;
}

void NavRoutes::setToolArmed(bool armed) {
    chart::TPaintChart* chart = hub_.context().main.chart();
    if (chart == nullptr) return;
    if (armed) {
        // The route tool excludes the marker and measure tools: their buttons
        // are released first, then the chart takes this tool.
        for (const char* other : {"spbEcsIconBarMark", "spbEcsIconBarMeasure"}) {
            if (auto* b = hub_.context().main.findChild<QToolButton*>(QString::fromLatin1(other)))
                b->setChecked(false);
        }
        chart->setPointerTool(&tool_);
        tool_.setState(nav::RouteToolState::Released);
        chart->setCursor(Qt::PointingHandCursor);
    } else {
        chart->setPointerTool(nullptr);
        tool_.setState(nav::RouteToolState::Idle);
        tool_.setAppendRoute(-1);
        chart->unsetCursor();
    }
    if (toolButton_ != nullptr && toolButton_->isChecked() != armed) {
        const QSignalBlocker quiet(toolButton_);
        toolButton_->setChecked(armed);
    }
}

std::string NavRoutes::nowText() const {
    const ais::LocalDateTime t = hub_.context().run.tracker.clock().localNow();
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.date.year, t.date.month,
                  t.date.day, t.time.hour, t.time.minute, t.time.second);
    return text;
}

void NavRoutes::redraw() {
    if (chart::TPaintChart* chart = hub_.context().main.chart()) chart->markOverlayDirty();
}

void NavRoutes::reportWrite(bool written, const std::string& file) {
    if (written) return;
    const NavContext& c = hub_.context();
    c.dialogs.message(
        &c.main, nav::Tx(c.texts, TextId::OtherMsgWarning),
        nav::Tx(c.texts, TextId::RoutePropertiesWriteFailed) + QLatin1Char('\n') + nav::Utf8(file),
        ui::MessageIcon::Error, ui::MessageButtons::Ok);
}

void NavRoutes::routeStoreFull() {
    const NavContext& c = hub_.context();
    c.dialogs.message(&c.main, nav::Tx(c.texts, TextId::NavManagerRouteRouteWarning),
                      nav::Tx(c.texts, TextId::NavManagerRouteRouteMax), ui::MessageIcon::Warning,
                      ui::MessageButtons::Ok);
    setToolArmed(false);
}

void NavRoutes::routeChanged() {
    redraw();
}

void NavRoutes::routePopup(nav::RouteHit hit, chart::PixelXY pixel) {
    const NavContext& c = hub_.context();
    QMenu menu(&c.main);
    menu.setObjectName(QStringLiteral("PopupMenuRoute"));
    const int route = store_.selectedRoute();
    if (hit == nav::RouteHit::Nothing) {
        QAction* end = menu.addAction(nav::Tx(c.texts, TextId::RoutePropertiesEndRoute));
        if (menu.exec(QCursor::pos()) == end) endRoute();
        return;
    }
    QAction* remove = menu.addAction(nav::Tx(c.texts, TextId::RoutePropertiesDeleteRoute));
    QAction* reverse = menu.addAction(nav::Tx(c.texts, TextId::RoutePropertiesReverseRoute));
    QAction* properties = menu.addAction(nav::Tx(c.texts, TextId::RoutePropertiesProperties));
    menu.addSeparator();
    // Waypoint editing: append from the route's end, insert on the leg under
    // the pointer, delete the waypoint under it.
    QAction* append = menu.addAction(nav::Tx(c.texts, TextId::RoutePropertiesAppendWaypoint));
    QAction* insert = nullptr;
    if (hit == nav::RouteHit::Leg)
        insert = menu.addAction(nav::Tx(c.texts, TextId::RoutePropertiesInsertWaypoint));
    const int waypoint = store_.waypointAt(route, pixel.x, pixel.y);
    QAction* removePoint = nullptr;
    if (waypoint >= 0 && store_.valid(route) && store_.route(route).waypoints.size() > 1)
        removePoint = menu.addAction(nav::Tx(c.texts, TextId::RoutePropertiesDeleteWaypoint));
    const int leg = store_.selectedWaypoint();
    QAction* chosen = popupChoice_ ? popupChoice_(menu) : menu.exec(QCursor::pos());
    if (chosen == nullptr) return;
    if (chosen == remove) deleteRoute(route, true);
    if (chosen == reverse) reverseRoute(route);
    if (chosen == properties) openProperties(route);
    if (chosen == append) tool_.setAppendRoute(route);
    if (chosen == insert) {
        const chart::TPaintChart* chart = c.main.chart();
        if (chart == nullptr) return;
        const chart::GeoPoint at = chart->model().axis().pixelToGeo(pixel.x, pixel.y);
        routeEdited(route, store_.insertWaypoint(route, leg, at.lon, at.lat));
    }
    if (chosen == removePoint) routeEdited(route, store_.deleteWaypoint(route, waypoint));
}

void NavRoutes::routeAppended(int route, bool written) {
    routeEdited(route, written);
}

void NavRoutes::routeEdited(int route, bool written) {
    if (!store_.valid(route)) return;
    reportWrite(written, store_.folder() + store_.route(route).fileName);
    // An open properties window shows the route's new legs.
    if (editing_ == route && properties_->isVisible()) properties_->showRoute(store_.route(route));
    if (page_) page_->refill();
    redraw();
}

void NavRoutes::endRoute() {
    if (tool_.appendRoute() >= 0) {
        // Appending to a saved route ends; every waypoint is already written.
        setToolArmed(false);
        return;
    }
    setToolArmed(false);
    if (store_.building().empty()) return;
    bool written = false;
    const int index = store_.finishRoute(nowText(), &written);
    if (index < 0) return;
    reportWrite(written, store_.folder() + store_.route(index).fileName);
    if (page_) page_->refill();
    redraw();
    // The new route is named in its properties window.
    openProperties(index);
}

void NavRoutes::deleteRoute(int index, bool ask) {
    if (!store_.valid(index)) return;
    const NavContext& c = hub_.context();
    if (ask) {
        const ui::MessageAnswer answer =
            c.dialogs.message(&c.main, nav::Tx(c.texts, TextId::NavManagerWarning),
                              nav::Tx(c.texts, TextId::NavManagerConfirmDelete),
                              ui::MessageIcon::Question, ui::MessageButtons::YesNo);
        if (answer != ui::MessageAnswer::Yes) return;
    }
    if (editing_ == index) properties_->reject();
    reportWrite(store_.deleteRoute(index), store_.indexPath());
    if (page_) page_->refill();
    redraw();
}

void NavRoutes::reverseRoute(int index) {
    if (!store_.valid(index)) return;
    reportWrite(store_.reverseRoute(index), store_.folder() + store_.route(index).fileName);
    redraw();
}

void NavRoutes::openProperties(int index) {
    if (!store_.valid(index)) return;
    editing_ = index;
    store_.select(index);
    properties_->showRoute(store_.route(index));
    properties_->show();
    properties_->raise();
}

void NavRoutes::onPropertiesAccepted() {
    if (!store_.valid(editing_)) return;
    const bool written = store_.setTexts(editing_, properties_->name().toStdString(),
                                         properties_->depart().toStdString(),
                                         properties_->destination().toStdString());
    reportWrite(written, store_.indexPath());
    store_.setHighlighted(-1);
    if (page_) page_->refill();
    redraw();
}

void NavRoutes::locate(int index) {
    if (!store_.valid(index) || !store_.shown() || !store_.route(index).visible) return;
    store_.setHighlighted(index);
    store_.select(index);
    const nav::Waypoint& first = store_.route(index).waypoints.front();
    if (chart::TPaintChart* chart = hub_.context().main.chart()) {
        chart->holdView();
        chart->setCentre(first.longitude, first.latitude);
        chart->markOverlayDirty();
        chart->repaintChart();
    }
}

void NavRoutes::setVisible(int index, bool visible) {
    if (!store_.valid(index)) return;
    reportWrite(store_.setVisible(index, visible), store_.indexPath());
    if (page_) page_->refill();
    redraw();
}

void NavRoutes::setShown(bool shown) {
    store_.setShown(shown);
    if (QAction* show = hub_.context().main.action(QStringLiteral("mnuViewShowRoutes")))
        show->setChecked(shown);
    if (page_) page_->refill();
    redraw();
}

void NavRoutes::clearHighlight() {
    store_.setHighlighted(-1);
    redraw();
}

}  // namespace norq::app
