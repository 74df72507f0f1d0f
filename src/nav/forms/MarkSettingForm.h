// The marker editor ("Marker Properties"): the name and the position in
// degrees, minutes and seconds with the hemisphere. Shown without being modal;
// what "Ok" does with the marker is the owner's (a new marker, an edited one,
// or a modify command to the transponder).
#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "base/LanguageTable.h"
#include "nav/Markmanage.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace norq::ui {
class Dialogs;
}

namespace norq::nav {

class TfrmMarkSetting final : public QDialog {
    Q_OBJECT

  public:
    struct Hooks {
        // "Ok" with a marker whose fields are valid; true closes the window.
        std::function<bool(const MarkerRecord&)> accept;
        // "Marker Manager": the window has closed; open the manager.
        std::function<void()> openManager;
        // The window closed, whatever the button.
        std::function<void()> closed;
    };

    TfrmMarkSetting(const base::TextStore& texts, ui::Dialogs& dialogs, QWidget* parent = nullptr);
    ~TfrmMarkSetting() override;

    void setHooks(Hooks hooks) { hooks_ = std::move(hooks); }
    void retranslate();

    // Fills the fields (a longitude beyond 180 is shown wrapped).
    void setMarker(std::string_view name, double lon, double lat);
    // The marker of the fields, or nothing (with the reason shown to the user)
    // when the name holds a comma or a line break or the position is out of range.
    std::optional<MarkerRecord> marker();

    // The buttons, as the user presses them.
    void onOk();
    void onCancel();
    void onManager();

    QLineEdit* nameField() const { return name_; }
    QSpinBox* latDegrees() const { return latDeg_; }
    QSpinBox* latMinutes() const { return latMin_; }
    QSpinBox* latSeconds() const { return latSec_; }
    QComboBox* latHemisphere() const { return latHem_; }
    QSpinBox* lonDegrees() const { return lonDeg_; }
    QSpinBox* lonMinutes() const { return lonMin_; }
    QSpinBox* lonSeconds() const { return lonSec_; }
    QComboBox* lonHemisphere() const { return lonHem_; }

  protected:
    void done(int result) override;

  private:
    void warn(base::TextId text);

    const base::TextStore& texts_;
    ui::Dialogs& dialogs_;
    Hooks hooks_;
    QLabel* lblName_ = nullptr;
    QLabel* lblLat_ = nullptr;
    QLabel* lblLon_ = nullptr;
    QLineEdit* name_ = nullptr;
    QSpinBox* latDeg_ = nullptr;
    QSpinBox* latMin_ = nullptr;
    QSpinBox* latSec_ = nullptr;
    QComboBox* latHem_ = nullptr;
    QSpinBox* lonDeg_ = nullptr;
    QSpinBox* lonMin_ = nullptr;
    QSpinBox* lonSec_ = nullptr;
    QComboBox* lonHem_ = nullptr;
    QPushButton* btnOk_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
    QPushButton* btnManager_ = nullptr;
};

}  // namespace norq::nav
