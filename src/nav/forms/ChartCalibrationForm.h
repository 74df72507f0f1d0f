// The chart calibration window ("Chart Calibration"): a small latitude and
// longitude offset, within +-0.01 degrees, that moves the world chart against
// the positions.
#pragma once

#include <QDialog>
#include <string>

#include "base/LanguageTable.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace norq::ui {
class Dialogs;
}

namespace norq::nav {

struct CalibrationValues {
    bool active = false;
    std::string latitude = "0";
    std::string longitude = "0";
};

class TfrmChartCalibration final : public QDialog {
    Q_OBJECT

  public:
    TfrmChartCalibration(const base::TextStore& texts, ui::Dialogs& dialogs,
                         QWidget* parent = nullptr);
    void retranslate();
    void setValues(const CalibrationValues& values);
    const CalibrationValues& taken() const { return taken_; }

    QCheckBox* enable() const { return cbxEnable_; }
    QLineEdit* latitudeEdit() const { return edtLat_; }
    QLineEdit* longitudeEdit() const { return edtLon_; }
    QPushButton* okButton() const { return btnOk_; }

  private:
    void onOk();

    const base::TextStore& texts_;
    ui::Dialogs& dialogs_;
    CalibrationValues taken_;
    QCheckBox* cbxEnable_;
    QLabel* lblLat_;
    QLabel* lblLon_;
    QLabel* lblNote_;
    QLineEdit* edtLat_;
    QLineEdit* edtLon_;
    QPushButton* btnOk_;
    QPushButton* btnCancel_;
};

}  // namespace norq::nav
