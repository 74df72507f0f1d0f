// The manual position window ("Manual Positioning"): the own MMSI, a position
// in degrees, minutes and decimal seconds, and a course in degrees and tenths.
// Nothing is taken before "OK"; "Cancel" leaves everything as it was.
#pragma once

#include <QDialog>
#include <cstdint>

#include "base/LanguageTable.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace norq::ui {
class Dialogs;
}

namespace norq::nav {

class DmsFieldsWidget;

struct ManualPosition {
    std::uint32_t mmsi = 0;
    double longitude = 0.0;
    double latitude = 0.0;
    double course = 0.0;  // degrees, from the two COG fields
};

class TfrmOwnShip final : public QDialog {
    Q_OBJECT

  public:
    TfrmOwnShip(const base::TextStore& texts, ui::Dialogs& dialogs, QWidget* parent = nullptr);
    void retranslate();
    // MMSI and position; the COG fields keep what was entered last.
    void setValues(std::uint32_t mmsi, double lon, double lat);
    // What "OK" took.
    const ManualPosition& taken() const { return taken_; }

    QLineEdit* mmsiEdit() const { return edtMmsi_; }
    DmsFieldsWidget* longitude() const { return lon_; }
    DmsFieldsWidget* latitude() const { return lat_; }
    QSpinBox* cogWhole() const { return cogWhole_; }
    QSpinBox* cogTenths() const { return cogTenths_; }
    QPushButton* okButton() const { return btnOk_; }
    QPushButton* cancelButton() const { return btnCancel_; }

  private:
    void onOk();

    const base::TextStore& texts_;
    ui::Dialogs& dialogs_;
    ManualPosition taken_;
    QLabel* lblMmsi_;
    QLabel* lblLon_;
    QLabel* lblLat_;
    QLabel* lblCog_;
    QLineEdit* edtMmsi_;
    DmsFieldsWidget* lon_;
    DmsFieldsWidget* lat_;
    QSpinBox* cogWhole_;
    QSpinBox* cogTenths_;
    QPushButton* btnOk_;
    QPushButton* btnCancel_;
};

}  // namespace norq::nav
