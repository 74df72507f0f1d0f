// The AIS MOB List window (TfrmAISMOBList) and its device edit dialog
// (TfrmAISMOBDeviceEdit). The window exists from start-up and its timer runs
// whether it is shown or not, so the alarm works while it is closed.
#pragma once

#include <QDialog>
#include <QWidget>
#include <functional>
#include <string>

#include "base/LanguageTable.h"
#include "crew/AisMobList.h"

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableWidget;
class QTimer;

namespace norq::ui {
class ClassAlertSound;
class Dialogs;
}  // namespace norq::ui

namespace norq::crew {

// Why the alarm cannot be heard, in the current language; empty when it can.
QString AlarmSilentText(const base::TextStore& texts, const ui::ClassAlertSound& sound);

class TfrmAISMOBDeviceEdit final : public QDialog {
    Q_OBJECT

  public:
    TfrmAISMOBDeviceEdit(const base::TextStore& texts, const AisMobList& list,
                         QWidget* parent = nullptr);
    // Shows the dialog; on OK the MMSI and name take the entered values.
    bool edit(bool mmsiEditable, std::uint32_t& mmsi, std::string& name);
    // The validation step of the dialog's 300 ms timer.
    void validate();
    void retranslate();
    QString warningText() const;
    bool okEnabled() const;
    QLineEdit* mmsiField() const { return labeledEditMmsi_; }
    QLineEdit* nameField() const { return labeledEditName_; }

  private:
    const base::TextStore& texts_;
    const AisMobList& list_;
    QLineEdit* labeledEditMmsi_;
    QLineEdit* labeledEditName_;
    QLabel* labelMmsi_;
    QLabel* labelName_;
    QLabel* labelWarningText_;
    QPushButton* btnOk_;
    QPushButton* btnCancel_;
    QTimer* timer_;
    int bits_ = -1;
    bool mmsiEditable_ = true;
};

class TfrmAISMOBList final : public QWidget, public AisMobListView {
    Q_OBJECT

  public:
    struct Hooks {
        // Feeds one line into the sentence intake as a replayed (not live) line.
        std::function<void(const std::string&)> feedLine;
        // The position the drill device reports (the own ship's).
        std::function<std::pair<double, double>()> drillPosition;
    };

    TfrmAISMOBList(const base::TextStore& texts, AisMobList& list, ui::ClassAlertSound& sound,
                   ui::Dialogs& dialogs, QWidget* parent = nullptr);

    void setFile(const std::string& path) { file_ = path; }
    void setDatePattern(const std::string& pattern) { datePattern_ = pattern; }
    void setHooks(Hooks hooks) { hooks_ = std::move(hooks); }
    void retranslate();
    // Reads the list file and fills the grid (at the main window's first showing).
    void loadFile();

    // The window timer's step (also run by the tests).
    void Timer1Timer();
    void onAdd();
    void onEdit();
    void onDelete();
    void onSilent();
    void onTestAlarm();
    void onHeaderClicked(int column);
    void selectRow(int row);

    // AisMobListView
    void refillGrid() override;
    void rewriteRow(int entry) override;
    void alarmRowsChanged(int alarmRows) override;
    void showCaution(bool panel, bool label) override;

    QTableWidget* grid() const { return grid_; }
    TfrmAISMOBDeviceEdit* editor() const { return editor_; }
    QString cautionText() const;
    bool cautionShown() const;
    QString statusText() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void buildLayout();
    void fillRow(int row);
    void colourRows();
    void updateButtons();
    void save();
    void feedDrillReport();

    const base::TextStore& texts_;
    AisMobList& list_;
    ui::ClassAlertSound& sound_;
    ui::Dialogs& dialogs_;
    Hooks hooks_;
    std::string file_;
    std::string datePattern_ = "dd/MM/yyyy";
    TfrmAISMOBDeviceEdit* editor_;
    QTableWidget* grid_;
    QWidget* panelInformation_;
    QLabel* labelAlert_;
    QLabel* labelSound_;
    QWidget* buttonBar_;
    QPushButton* btnAdd_;
    QPushButton* btnEdit_;
    QPushButton* btnDelete_;
    QPushButton* btnConfirm_;
    QPushButton* btnTestAlarm_;
    QMenu* popup_;
    QAction* menuAdd_;
    QAction* menuEdit_;
    QAction* menuDelete_;
    QAction* menuConfirm_;
    QTimer* timer1_;
    int selectedRow_ = 0;
    int drillReports_ = 0;
    int drillButtonState_ = -1;  // 0 Test alarm, 1 Stop test, 2 End test
    bool positioned_ = false;
};

}  // namespace norq::crew
