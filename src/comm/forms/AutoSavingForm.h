// "Auto Saving" (TfrmAutoSaving): the period, the start ("Now") and end
// ("Forever") of the recording window, the file name prefix and "Enabled".
// The summary line is checked again on every change; OK hands the schedule
// to the auto-saving logic.
#pragma once

#include <QDialog>

#include "ais/Clock.h"
#include "base/LanguageTable.h"
#include "comm/AutoSaving.h"
#include "ui/Dialogs.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimeEdit;

namespace norq::comm {

class TfrmAutoSaving final : public QDialog {
    Q_OBJECT

  public:
    // The pickers start at today and tomorrow at the current time of day, the
    // file name at the data folder followed by "FileName".
    TfrmAutoSaving(AutoSaving& saving, const ais::Clock& clock, const base::TextStore& texts,
                   ui::Dialogs& dialogs, const QString& dataFolder, QWidget* parent = nullptr);

    void retranslate();
    // What the controls hold, and the check of it.
    AutoSavingForm form() const;
    AutoSavingCheck check() const;
    QString summaryText() const;
    // OK: false when the window stays open.
    bool accept_();

  private:
    void layOut();
    void connectControls();
    void updateSummary();
    void browse();

    AutoSaving& saving_;
    const ais::Clock& clock_;
    const base::TextStore& texts_;
    ui::Dialogs& dialogs_;
    QComboBox* comboBoxRecordTime_;
    QDateEdit* startDate_;
    QTimeEdit* startTime_;
    QCheckBox* checkBoxStart_;
    QDateEdit* endDate_;
    QTimeEdit* endTime_;
    QCheckBox* checkBoxEnd_;
    QLineEdit* editFileNameSetting_;
    QPushButton* btnBrowse_;
    QCheckBox* checkBoxAutoSave_;
    QLabel* lblSummary_;
    QPushButton* btnOk_;
    QPushButton* btnCancel_;
    std::array<QLabel*, 4> captions_{};
};

}  // namespace norq::comm
