// The region list and the traffic statistics of the main window: the regions
// announced in received messages 22, their window, the statistics window and
// the counter that writes the number of targets into the daily count files
// every 5 minutes.
#pragma once

#include <QObject>
#include <memory>
#include <string>

#include "ais/TargetViews.h"
#include "app/BaseNames.h"
#include "base/LanguageTable.h"
#include "messaging/ChannelRegions.h"

class QTimer;

namespace norq::messaging {
class TfrmRegionList;
class TfrmTrafficFlowStatistics;
}  // namespace norq::messaging

namespace norq::app {

class TForm1;

class RegionWindows final : public QObject, public ais::TargetFollowUps {
    Q_OBJECT

  public:
    // The count files go to the "Statistics" folder below the data folder.
    RegionWindows(TForm1& main, const TextStore& texts, const std::string& dataFolder);
    ~RegionWindows() override;

    void AddChannelRegion(const ais::ChannelRegion& region) override;
    void retranslate();
    // Writes the number of targets into the slot of the current UTC time.
    bool countTargets();

    const messaging::ChannelRegionList& regions() const { return regions_; }
    messaging::TfrmRegionList& regionList() { return *regionList_; }
    messaging::TfrmTrafficFlowStatistics& statistics() { return *statistics_; }
    const std::string& statisticsFolder() const { return folder_; }

  private:
    TForm1& main_;
    std::string folder_;
    messaging::ChannelRegionList regions_;
    std::unique_ptr<messaging::TfrmRegionList> regionList_;
    std::unique_ptr<messaging::TfrmTrafficFlowStatistics> statistics_;
    QTimer* counter_ = nullptr;
    bool countFailureShown_ = false;
};

}  // namespace norq::app
