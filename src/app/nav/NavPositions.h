// The destination with its flag, the manual own position, the chart calibration
// and the ENC display settings: their files, windows and chart drawing.
#pragma once

#include <QObject>
#include <string>

class QWidget;

namespace norq::app {

class NavigationHub;

class NavPositions final : public QObject {
    Q_OBJECT

  public:
    explicit NavPositions(NavigationHub& hub);
    ~NavPositions() override;

    void readFiles(const std::string& dataFolder);
    void retranslate();
    void stepSecond();
    void shutdown();

    // "Set manual positioning here" and "Add destination here" of the chart popup.
    void setManualPositionHere(double lon, double lat);
    void addDestinationHere(double lon, double lat);

  private:
    NavigationHub& hub_;
};

}  // namespace norq::app
