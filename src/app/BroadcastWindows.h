// The fairway broadcasts in the viewer: the fairway list with its files in
// the data folder's "Fairway/" folder, the binary message windows opened
// from the "Fairway Broadcast" menu, and the sends through the AIS port.
#pragma once

#include <QObject>
#include <memory>
#include <string>

#include "ais/BbmSender.h"
#include "base/LanguageTable.h"
#include "messaging/FairwayLayer.h"
#include "messaging/FairwayList.h"
#include "messaging/forms/BroadcastForms.h"

namespace norq::ais {
class RunState;
}
namespace norq::ui {
class Dialogs;
}

namespace norq::app {

class TForm1;

class BroadcastWindows final : public QObject {
    Q_OBJECT

  public:
    BroadcastWindows(TForm1& main, ais::RunState& run, ais::SentenceSender& port,
                     const base::TextStore& texts, ui::Dialogs& dialogs);
    ~BroadcastWindows() override;

    void readFiles(const std::string& dataFolder);
    const std::string& folder() const { return folder_; }
    messaging::FairwayList& list() { return list_; }
    messaging::TfrmBinaryMsgAppData& appData() { return *appData_; }
    messaging::TfrmBinmsgFairwayCreation& creation() { return *creation_; }
    messaging::TfrmBinmsgFairwayDataManagement& manager() { return *manager_; }
    messaging::TfrmBinmsgFairwayProperties& properties() { return *properties_; }
    // A new fairway through the waypoints of a stored route; opens its properties.
    void create(const messaging::FairwayChoice& choice);

  private:
    void connectMenus();
    void save();
    void notify(const std::string& text);
    void locate(std::size_t index);

    TForm1& main_;
    const base::TextStore& texts_;
    ui::Dialogs& dialogs_;
    ais::BinaryBbmSender bbm_;
    messaging::BinaryMessageSender sender_;
    messaging::FairwayList list_;
    messaging::FairwayLayer layer_{list_};
    std::string folder_;
    bool fairwayMode_ = false;
    std::unique_ptr<messaging::TfrmBinaryMsgAppData> appData_;
    std::unique_ptr<messaging::TfrmBinmsgFairwayCreation> creation_;
    std::unique_ptr<messaging::TfrmBinmsgFairwayProperties> properties_;
    std::unique_ptr<messaging::TfrmBinmsgFairwayDataManagement> manager_;
};

}  // namespace norq::app
