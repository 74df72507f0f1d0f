// The main window's part in the device connections: it creates the device
// wizard, the port dialog and the device detection over its sensor port
// control, and lets the connection menu items and the port images open them.
#include <QAction>
#include <QEvent>
#include <QLabel>
#include <array>

#include "app/MainForm.h"
#include "app/ViewerLinks.h"
#include "comm/forms/DeviceConnections.h"

namespace norq::app {

namespace {

// A click on a port image opens the port dialog of its sensor.
class PortImageClicks final : public QObject {
  public:
    PortImageClicks(comm::DeviceConnections& connections, QObject* parent)
        : QObject(parent), connections_(connections) {}
    void watch(QLabel* image, int sensor) {
        if (image == nullptr) return;
        images_[static_cast<std::size_t>(sensor)] = image;
        image->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonRelease) return false;
        for (std::size_t i = 0; i < images_.size(); ++i) {
            if (watched == images_[i]) {
                connections_.openPortDialog(static_cast<int>(i));
                return true;
            }
        }
        return false;
    }

  private:
    comm::DeviceConnections& connections_;
    std::array<QObject*, comm::kSensorCount> images_{};
};

}  // namespace

void TForm1::createConnections() {
    comm::ConnectionHost host;
    host.refreshStatus = [this] { links_->refreshStatus(); };
    host.reloadLanguage = [this] { ApplyLanguage(); };
    host.startReplay = [this](const QString& file) { startReplay(file); };
    host.rememberChoice = [this](int choice, const QString& recording) {
        settings_.wizard.startChoice = choice;
        if (!recording.isEmpty()) settings_.wizard.lastRecording = recording.toStdString();
    };
    host.rememberNetworkInput = [this](int input) { settings_.wizard.networkInput = input; };
    connections_ = std::make_unique<comm::DeviceConnections>(links_->control(), texts_, dialogs_,
                                                             std::move(host), this);
    // The intake hands the device's identification lines to the detection.
    connectRunState(true);
    // A link that goes silent or drops shows in the open dialogs at once.
    links_->setLinkHealthHandler([this] {
        if (connections_) connections_->linkStateChanged();
    });

    // The connection items open the port dialog, the wizard item the wizard.
    const std::array<std::pair<const char*, int>, comm::kSensorCount> items{
        {{"mnuConnectAisPort", comm::kAisPort},
         {"mnuConnectGpsPort", comm::kGpsPort},
         {"mnuConnectMobPort", comm::kMobPort}}};
    for (const auto& [name, sensor] : items) {
        QAction* item = action(QString::fromLatin1(name));
        if (item == nullptr) continue;
        connect(item, &QAction::triggered, this,
                [this, sensor = sensor] { connections_->openPortDialog(sensor); });
    }
    if (QAction* wizard = action(QStringLiteral("mnuDeviceWizard"))) {
        connect(wizard, &QAction::triggered, this, [this] { connections_->openWizard(); });
    }
    auto* clicks = new PortImageClicks(*connections_, this);
    const std::array<const char*, comm::kSensorCount> images{
        "ImageStatusBarAISConnect", "ImageStatusBarGPSConnect", "ImageStatusBarMOBConnedt"};
    for (std::size_t i = 0; i < images.size(); ++i) {
        clicks->watch(findChild<QLabel*>(QString::fromLatin1(images[i])), static_cast<int>(i));
    }
}

}  // namespace norq::app
