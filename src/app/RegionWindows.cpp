#include "app/RegionWindows.h"

#include <QAction>
#include <QDateTime>
#include <QTimer>
#include <filesystem>

#include "app/MainForm.h"
#include "messaging/TrafficStatistics.h"
#include "messaging/forms/RegionForms.h"

namespace norq::app {

namespace {

constexpr int kCountIntervalMs = 5 * 60 * 1000;

}  // namespace

RegionWindows::RegionWindows(TForm1& main, const TextStore& texts, const std::string& dataFolder)
    : QObject(&main),
      main_(main),
      folder_((std::filesystem::path(dataFolder) / messaging::kStatisticsFolder).string()) {
    regionList_ = std::make_unique<messaging::TfrmRegionList>(
        texts, regions_, [this] { return main_.statusPanel(3).toStdString(); }, &main);
    statistics_ = std::make_unique<messaging::TfrmTrafficFlowStatistics>(texts, folder_, &main);
    if (QAction* a = main_.action(QStringLiteral("mnuViewRegionList"))) {
        connect(a, &QAction::triggered, this, [this] {
            regionList_->show();
            regionList_->raise();
        });
    }
    if (QAction* a = main_.action(QStringLiteral("mnuTrafficFlowStatistics"))) {
        connect(a, &QAction::triggered, this, [this] {
            statistics_->show();
            statistics_->raise();
        });
    }
    counter_ = new QTimer(this);
    counter_->setObjectName(QStringLiteral("TimerTrafficCount"));
    counter_->setInterval(kCountIntervalMs);
    connect(counter_, &QTimer::timeout, this, [this] { countTargets(); });
    counter_->start();
}

RegionWindows::~RegionWindows() = default;

void RegionWindows::AddChannelRegion(const ais::ChannelRegion& region) {
    regionList_->AddChannelRegion(region);
}

void RegionWindows::retranslate() {
    regionList_->retranslate();
    regionList_->setDegree(std::string(main_.exportTextOptions().degree));
    statistics_->retranslate();
}

bool RegionWindows::countTargets() {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QDate d = now.date();
    const int minute = now.time().hour() * 60 + now.time().minute();
    const int targets = main_.runState().tracker.table().count() - 1;  // without the own ship
    const bool ok =
        messaging::RecordTargetCount(folder_, {d.year(), d.month(), d.day()}, minute, targets);
    // One note in the log per failing run keeps a full disk from flooding it.
    if (!ok && !countFailureShown_) {
        countFailureShown_ = true;
        qWarning("%s %s", main_.texts().text(TextId::TrafficStatisticsCountFailed).c_str(),
                 folder_.c_str());
    }
    if (ok) countFailureShown_ = false;
    return ok;
}

}  // namespace norq::app
