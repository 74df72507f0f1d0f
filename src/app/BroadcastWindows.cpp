#include "app/BroadcastWindows.h"

#include <QAction>
#include <QDateTime>

#include "ais/RunState.h"
#include "app/MainForm.h"
#include "app/NavigationHub.h"
#include "app/nav/NavRoutes.h"
#include "chart/forms/PaintChart.h"
#include "ui/Dialogs.h"

namespace norq::app {

using base::TextId;

BroadcastWindows::BroadcastWindows(TForm1& main, ais::RunState& run, ais::SentenceSender& port,
                                   const base::TextStore& texts, ui::Dialogs& dialogs)
    : QObject(&main),
      main_(main),
      texts_(texts),
      dialogs_(dialogs),
      bbm_(run.codec, port),
      sender_(bbm_) {
    appData_ = std::make_unique<messaging::TfrmBinaryMsgAppData>(texts, sender_, &main);
    creation_ = std::make_unique<messaging::TfrmBinmsgFairwayCreation>(texts, &main);
    properties_ = std::make_unique<messaging::TfrmBinmsgFairwayProperties>(texts, list_, &main);
    manager_ =
        std::make_unique<messaging::TfrmBinmsgFairwayDataManagement>(texts, list_, sender_, &main);
    auto show = [this](const std::string& t) { notify(t); };
    appData_->setNotify(show);
    manager_->setNotify(show);
    manager_->setAskDelete([this] {
        return dialogs_.message(
                   manager_.get(),
                   QString::fromStdString(texts_.text(TextId::BroadcastDeleteCaption)),
                   QString::fromStdString(texts_.text(TextId::BroadcastDeleteQuestion)),
                   ui::MessageIcon::Warning, ui::MessageButtons::YesNo) == ui::MessageAnswer::Yes;
    });
    messaging::TfrmBinmsgFairwayDataManagement::Hooks hooks;
    hooks.properties = [this](std::size_t i) {
        if (properties_->edit(i, false)) {
            list_.SaveWaypoints(folder_, i);
            save();
        }
    };
    hooks.broadcast = [this](std::size_t i) { appData_->confirmBroadcast(list_[i]); };
    hooks.locate = [this](std::size_t i) { locate(i); };
    hooks.changed = [this] { save(); };
    manager_->setHooks(std::move(hooks));
    creation_->setStartHandler([this](const messaging::FairwayChoice& c) { create(c); });
    connectMenus();
    if (chart::TPaintChart* chart = main.chart())
        chart->addLayerHook(chart::ChartLayer::Routes, &layer_);
}

BroadcastWindows::~BroadcastWindows() {
    if (chart::TPaintChart* chart = main_.chart()) chart->removeLayerHook(&layer_);
}

void BroadcastWindows::connectMenus() {
    auto onAction = [this](const char* name, auto slot) {
        if (QAction* a = main_.action(QString::fromLatin1(name)))
            connect(a, &QAction::triggered, this, slot);
    };
    onAction("mmuBinaryMsgAppData", [this] {
        appData_->pages()->setCurrentIndex(0);
        appData_->show();
        appData_->raise();
    });
    onAction("mmuFairwayCreation", [this] {
        std::vector<std::string> names;
        for (const nav::Route& r : main_.navigation().routes().store().routes()) {
            names.push_back(r.name);
        }
        creation_->setRoutes(names);
        creation_->show();
        creation_->raise();
    });
    onAction("mmuFairwayDataManagement", [this] {
        manager_->show();
        manager_->raise();
    });
}

void BroadcastWindows::readFiles(const std::string& dataFolder) {
    folder_ = dataFolder + std::string(messaging::kFairwayFolder);
    list_.Load(folder_);
}

void BroadcastWindows::save() {
    if (!list_.SaveList(folder_)) notify(texts_.text(TextId::BroadcastSaveFailed));
    if (chart::TPaintChart* chart = main_.chart()) {
        chart->markOverlayDirty();
        chart->repaintChart();
    }
}

void BroadcastWindows::notify(const std::string& text) {
    dialogs_.message(&main_, QString::fromStdString(texts_.text(TextId::OtherMsgWarning)),
                     QString::fromStdString(text), ui::MessageIcon::Warning,
                     ui::MessageButtons::Ok);
}

void BroadcastWindows::create(const messaging::FairwayChoice& choice) {
    fairwayMode_ = true;
    const nav::RouteStore& routes = main_.navigation().routes().store();
    if (!routes.valid(choice.routeIndex) || routes.route(choice.routeIndex).waypoints.size() < 2) {
        notify(texts_.text(TextId::BroadcastNoRoute));
        return;
    }
    const nav::Route& route = routes.route(choice.routeIndex);
    messaging::Fairway f;
    f.fi = choice.fi;
    f.noticeDescription = choice.noticeDescription;
    f.areaShape = choice.areaShape;
    f.name = route.name.substr(0, messaging::kFairwayNameLength);
    for (const nav::Waypoint& w : route.waypoints) {
        if (f.waypoints.size() >= static_cast<std::size_t>(choice.maxPoints)) break;
        f.waypoints.push_back({w.longitude, w.latitude, 0, 0});
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    f.created =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")).toStdString();
    f.year = now.date().year();
    f.month = now.date().month();
    f.day = now.date().day();
    f.hour = now.time().hour();
    f.minute = now.time().minute();
    const int index = list_.Append(std::move(f));
    if (index < 0) return;
    if (!properties_->edit(static_cast<std::size_t>(index), true)) {
        list_.Remove(static_cast<std::size_t>(index));
        return;
    }
    list_.SaveWaypoints(folder_, static_cast<std::size_t>(index));
    save();
    list_.select(index);
    manager_->show();
    manager_->refresh();
}

void BroadcastWindows::locate(std::size_t index) {
    if (index >= list_.count() || list_[index].waypoints.empty()) return;
    list_.select(static_cast<int>(index));
    const messaging::FairwayWaypoint& first = list_[index].waypoints.front();
    if (chart::TPaintChart* chart = main_.chart()) {
        chart->holdView();
        chart->setCentre(first.longitude, first.latitude);
        chart->markOverlayDirty();
        chart->repaintChart();
    }
}

}  // namespace norq::app
