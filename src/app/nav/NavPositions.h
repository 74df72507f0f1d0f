// The destination with its flag, the manual own position, the chart calibration
// and the ENC display settings: their files, windows and chart drawing.
#pragma once

#include <QObject>
#include <string>

#include "app/BaseNames.h"
#include "base/Settings.h"
#include "nav/Dstpoint.h"

class QWidget;

namespace norq::nav {
class TfrmChartCalibration;
class TfrmDestination;
class TfrmOwnShip;
class TfrmS57ChartSetting;
}  // namespace norq::nav

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

    // "Destination(&D)" and a double click on the flag: the window pre-filled
    // from the destination.
    void openDestination();
    // "Manual Positioning(&O)": the window with the own MMSI and position.
    void openManualPosition();
    // "Chart Calibration(&C)".
    void openChartCalibration();
    // "ENC Setting" and the settings tool button (both hidden as shipped).
    void openEncSettings();
    const EncSettings& encSettings() const { return enc_; }
    nav::TfrmS57ChartSetting& encWindow() { return *encWindow_; }

    nav::TDstPoint& flag() { return flag_; }
    nav::TfrmDestination& destinationWindow() { return *destination_; }
    nav::TfrmOwnShip& manualPositionWindow() { return *ownShip_; }
    nav::TfrmChartCalibration& calibrationWindow() { return *calibration_; }
    // The course the manual position window keeps (0 before its first OK
    // without a fix).
    double manualCourse() const { return course_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void connectMenus();
    void onDestinationAccepted();
    void onManualPositionAccepted();
    void onCalibrationClosed(int result);
    void onEncAccepted();
    void saveEnc();

    NavigationHub& hub_;
    nav::TDstPoint flag_;
    nav::TfrmDestination* destination_ = nullptr;
    nav::TfrmOwnShip* ownShip_ = nullptr;
    nav::TfrmChartCalibration* calibration_ = nullptr;
    nav::TfrmS57ChartSetting* encWindow_ = nullptr;
    // The ENC record starts from its defaults in every run.
    EncSettings enc_;
    double course_ = 0.0;
    bool fromPopup_ = false;  // the manual position came from the chart popup
};

}  // namespace norq::app
