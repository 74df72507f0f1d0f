// The crew-watch windows: the "Crew Member Watch" page of the main window
// with the crew list and its commands, the device detail dialog, the event
// log, the rescue guide and the alarm popup. They render what the crew watch
// holds and turn the operator's actions into its commands; every question
// before a command goes through ui::Dialogs.
#pragma once

#include <QDialog>
#include <QWidget>
#include <array>
#include <optional>
#include <string>

#include "base/LanguageTable.h"
#include "crew/CrewRescueGuide.h"
#include "crew/CrewWatch.h"

class QCheckBox;
class QComboBox;
class QPixmap;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTableWidget;
class QTimer;
class QToolButton;

namespace norq::ui {
class Dialogs;
}

namespace norq::crew {

// The battery picture of the crew windows: 0-4 bars (BatteryLevel).
QPixmap CrewBatteryPixmap(int level);

// The device detail dialog: name and special notes of one device.
class TfrmRenameDlg final : public QDialog {
    Q_OBJECT

  public:
    TfrmRenameDlg(const base::TextStore& texts, QWidget* parent = nullptr);
    void retranslate();
    // Fills the fields from a table row; editable false shows the detail view.
    void fill(const CrewDeviceTable& table, int row, bool editable);
    // The crew timer's refresh of the online duration of the row shown.
    void refreshOnline(const CrewDeviceTable& table);
    int row() const { return row_; }
    std::string name() const;
    std::string notes() const;
    QLineEdit* nameField() const { return lblEdtName_; }
    QLineEdit* notesField() const { return lblEdtSpecialNotes_; }

  private:
    const base::TextStore& texts_;
    QLabel* labelId_;
    QLabel* labelName_;
    QLabel* labelNotes_;
    QLabel* lblId_;
    QLabel* labelState_;
    QLabel* lblState_;
    QLabel* labelZone_;
    QLabel* lblZone_;
    QLabel* labelOnline_;
    QLabel* lblMobDtConnectTime_;
    QLabel* battery_;
    QLineEdit* lblEdtName_;
    QLineEdit* lblEdtSpecialNotes_;
    QPushButton* btnOk_;
    QPushButton* btnCancel_;
    int row_ = -1;
};

// The page TabSheetMOBView: counts, status light, crew list and commands.
class TCrewWatchPage final : public QWidget {
    Q_OBJECT

  public:
    TCrewWatchPage(const base::TextStore& texts, CrewWatch& watch, ui::Dialogs& dialogs,
                   QWidget* parent = nullptr);
    void retranslate();
    // RefreshCrewRow, and every row (after a load, a removal, a sort).
    void refreshRow(int row);
    void refreshAll();
    // The crew timer's columns 7 and 8 and the count boxes.
    void refreshTimes();
    void showStatus(const CrewStatusDisplay& status);

    // The commands of the buttons and the popup menu.
    void onEdit();
    void onRemove();
    void onShutDown();
    void onShutDownAll();
    void onCancelSos();

    QTableWidget* grid() const { return grid_; }
    QString statusText() const;
    QString pendantCaption() const;
    // The selected data rows, in order.
    std::vector<int> selectedRows() const;
    // Small: the centre pages share one size, and this page must not widen the window.
    QSize minimumSizeHint() const override { return {320, 240}; }

    // The care window was closed: its toggle comes up.
    void releaseCare();
    // "Auto SRM": while ticked, a crew alarm sends "MAN OVERBOARD" as a safety
    // message (over a serial AIS link). Set from the settings without a signal.
    void setAutoSrm(bool on);
    QCheckBox* autoSrmBox() const { return cbxAutoSrm_; }

  Q_SIGNALS:
    void eventLoggerRequested();
    void rowClicked(int row);
    void careToggled(bool shown);
    void autoSrmToggled(bool on);

  private:
    void buildLayout();
    void colourRow(int row);
    bool confirm(const QString& text);
    void refuse(base::TextId text);
    QString question(base::TextId one, base::TextId many, base::TextId oneTail,
                     base::TextId manyTail, int count) const;

    const base::TextStore& texts_;
    CrewWatch& watch_;
    ui::Dialogs& dialogs_;
    TfrmRenameDlg* editor_;
    QGroupBox* gbxPendantCnt_;
    QGroupBox* gbxRepeaterCnt_;
    std::array<QLabel*, 3> pendantCounts_{};
    std::array<QLabel*, 3> repeaterCounts_{};
    QLabel* imageMobSysStatusLed_;
    QLabel* lblMobSysStatusValue_;
    QTableWidget* grid_;
    QPushButton* btnEdit_;
    QPushButton* btnRemove_;
    QPushButton* btnShutDown_;
    QPushButton* btnCancelSos_;
    QPushButton* btnLogger_;
    QPushButton* btnCare_;
    QCheckBox* cbxAutoSrm_;
    QMenu* popupMenuMob_;
    std::array<QAction*, 5> menuItems_{};
};

// The selection dialog of a care slot: one line per crew device.
class TfrmCareSelDlg final : public QDialog {
    Q_OBJECT

  public:
    TfrmCareSelDlg(const base::TextStore& texts, const CrewWatch& watch, QWidget* parent = nullptr);
    void retranslate();
    // Refills the list with the preset row selected; the chosen row (-1 for
    // none) on OK, nullopt on Cancel.
    std::optional<int> choose(int preset);
    QComboBox* list() const { return cbxMobList_; }

  private:
    const base::TextStore& texts_;
    const CrewWatch& watch_;
    QLabel* prompt_;
    QComboBox* cbxMobList_;
    QPushButton* btnOk_;
    QPushButton* btnCancel_;
};

// "Special Attention Passenger List": four crew members kept in view.
class TfrmCare final : public QWidget {
    Q_OBJECT

  public:
    TfrmCare(const base::TextStore& texts, CrewWatch& watch, ui::Dialogs& dialogs,
             QWidget* parent = nullptr);
    void retranslate();
    void RefreshCareSlots();
    // "Select ..." of a slot, and a click on its photo.
    void selectFor(int slot);
    void choosePhoto(int slot);
    TfrmCareSelDlg& selection() { return *selection_; }
    QString slotText(int slot, const char* field) const;

  Q_SIGNALS:
    void closed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Slot {
        QGroupBox* panel = nullptr;
        QPushButton* select = nullptr;
        QLabel* photo = nullptr;
        QLineEdit* name = nullptr;
        QLineEdit* id = nullptr;
        QLineEdit* state = nullptr;
        QLineEdit* notes = nullptr;
        QLabel* battery = nullptr;
        QLabel* online = nullptr;
        QGroupBox* zone = nullptr;
        QLineEdit* zoneName = nullptr;
        QLineEdit* zoneId = nullptr;
        std::array<QLabel*, 4> captions{};
    };
    void fillSlot(int slot);
    void showPhoto(int slot);

    const base::TextStore& texts_;
    CrewWatch& watch_;
    ui::Dialogs& dialogs_;
    TfrmCareSelDlg* selection_;
    std::array<Slot, kCareSlots> slots_{};
};

// "MOB EVENT LOGGER".
class TfrmMobEventLog final : public QWidget {
    Q_OBJECT

  public:
    TfrmMobEventLog(const base::TextStore& texts, const CrewWatch& watch,
                    QWidget* parent = nullptr);
    void retranslate();
    void ShowCrewEvents();
    QTableWidget* grid() const { return grid_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    const base::TextStore& texts_;
    const CrewWatch& watch_;
    QTableWidget* grid_;
};

// The rescue guide: a small borderless window on top that points the way.
class TfrmMobRescueGuide final : public QWidget {
    Q_OBJECT

  public:
    TfrmMobRescueGuide(const base::TextStore& texts, QWidget* parent = nullptr);
    void retranslate();
    void ShowRescueGuide(const RescueGuide& guide);
    // Placed at the first showing only; afterwards it keeps where it was put.
    bool placed() const { return placed_; }
    void setPlaced() { placed_ = true; }
    QString rangeText() const;
    QString bearingText() const;
    QString angleText() const;

  Q_SIGNALS:
    // "Add destination here" of the guide's popup menu: steer to the alarm position.
    void steerRequested();

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    const base::TextStore& texts_;
    QLabel* lblDevID_;
    QLabel* lblName_;
    QLabel* lblStatus_;
    QLabel* lblLon_;
    QLabel* lblLat_;
    QLabel* labelRange_;
    QLabel* lblEdtMobRange_;
    QLabel* labelBearing_;
    QLabel* lblEdtMobBearing_;
    QLabel* labelZone_;
    QLabel* lblRptName_;
    QLabel* lblRptDevID_;
    QLabel* labelSince_;
    QLabel* lblEdtMobLostTime_;
    QLabel* labelElapsed_;
    QLabel* lblEdtLostTimeTotal_;
    std::array<QLabel*, 3> arrows_{};  // ImageLeft, ImageUp, ImageRight
    QLabel* lblMobDirection_;
    QPoint dragOffset_;
    bool placed_ = false;
};

// The alarm popup: "MOB ALERT!" blinking over the names of the people in the water.
class TfrmAlarmPopup final : public QWidget {
    Q_OBJECT

  public:
    TfrmAlarmPopup(const base::TextStore& texts, const CrewWatch& watch, QWidget* parent = nullptr);
    void retranslate();
    // Shows the popup (again) in the middle of the desktop and starts its timer.
    void showPopup();
    void Timer1Timer();
    void onOk();
    QListWidget* list() const { return listBoxAlarm_; }
    bool alertTextShown() const;

  private:
    void fillList();

    const base::TextStore& texts_;
    const CrewWatch& watch_;
    QLabel* lblAlramTextMsg_;
    QLabel* lblAlramTextNote_;
    QGroupBox* groupBoxMobAlarmList_;
    QListWidget* listBoxAlarm_;
    QPushButton* btnOk_;
    QTimer* timer1_;
    int tag_ = 0;
};

}  // namespace norq::crew
