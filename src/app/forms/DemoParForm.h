// The demo parameters ("DEMO Parameters"): a position bias added to decoded
// positions, the sea-chart calibration switch and the map-cruise steps.
#pragma once

#include <QDialog>

class QCheckBox;
class QDoubleSpinBox;

namespace norq::app {

struct DemoParameters {
    double biasLongitude = 0.0;  // degrees
    double biasLatitude = 0.0;   // degrees
    bool disableSeaChartCalibration = false;
    double cruiseStepLongitude = 0.1;  // degrees
    double cruiseStepLatitude = 0.1;   // degrees
};

class TfrmDemoPar final : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmDemoPar(QWidget* parent = nullptr);
    // Modal, placed 50 right of and 80 below the corner of `owner`. OK takes the
    // four numbers and the box; Cancel keeps the old values.
    bool edit(DemoParameters& parameters, const QWidget* owner);

  private:
    QDoubleSpinBox* biasLon_;
    QDoubleSpinBox* biasLat_;
    QCheckBox* disableCalibration_;
    QDoubleSpinBox* cruiseLon_;
    QDoubleSpinBox* cruiseLat_;
};

}  // namespace norq::app
