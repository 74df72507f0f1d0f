// The destination window ("Destination Setting"): whether a destination is
// configured, its name and its position in degrees, minutes and seconds.
#pragma once

#include <QDialog>
#include <optional>

#include "base/LanguageTable.h"
#include "nav/Dstpoint.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace norq::ui {
class Dialogs;
}

namespace norq::nav {

class DmsFieldsWidget;

class TfrmDestination final : public QDialog {
    Q_OBJECT

  public:
    TfrmDestination(const base::TextStore& texts, ui::Dialogs& dialogs, QWidget* parent = nullptr);
    void retranslate();
    void setDestination(const DestinationInfo& destination);
    // What "OK" took (valid after the window was accepted).
    const DestinationInfo& destination() const { return taken_; }

    QCheckBox* configure() const { return cbxConfigure_; }
    QLineEdit* nameEdit() const { return edtName_; }
    DmsFieldsWidget* longitude() const { return lon_; }
    DmsFieldsWidget* latitude() const { return lat_; }
    QPushButton* okButton() const { return btnOk_; }
    QPushButton* cancelButton() const { return btnCancel_; }

  private:
    void onOk();

    const base::TextStore& texts_;
    ui::Dialogs& dialogs_;
    DestinationInfo taken_;
    QCheckBox* cbxConfigure_;
    QGroupBox* group_;
    QLabel* lblName_;
    QLabel* lblLon_;
    QLabel* lblLat_;
    QLineEdit* edtName_;
    DmsFieldsWidget* lon_;
    DmsFieldsWidget* lat_;
    QPushButton* btnOk_;
    QPushButton* btnCancel_;
};

}  // namespace norq::nav
