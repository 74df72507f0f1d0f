// The AtoN details window (TfrmAtonDetails) with its lantern group, and the
// lantern control window (TfrmLanternCtrl) that sends the lantern mode.
#pragma once

#include <QDialog>
#include <functional>
#include <map>

#include "ais/TargetTable.h"
#include "base/LanguageTable.h"
#include "messaging/AtonLantern.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace norq::messaging {

class TfrmLanternCtrl final : public QDialog {
    Q_OBJECT

  public:
    TfrmLanternCtrl(const base::TextStore& texts, codec::SentenceCodec& codec,
                    QWidget* parent = nullptr);
    void setSender(ais::SentenceSender* sender) { sender_ = sender; }
    void retranslate();
    void select(LanternMode mode);
    // OK: sends the selected mode and closes the window; false when not written.
    bool onOk();

  private:
    const base::TextStore& texts_;
    codec::SentenceCodec& codec_;
    ais::SentenceSender* sender_ = nullptr;
    QGroupBox* group_;
    QRadioButton* rbAuto_;
    QRadioButton* rbOn_;
    QRadioButton* rbOff_;
    QPushButton* btnOk_;
};

class TfrmAtonDetails final : public QDialog {
    Q_OBJECT

  public:
    TfrmAtonDetails(const base::TextStore& texts, const ais::TargetTable& table,
                    TfrmLanternCtrl& lantern, QWidget* parent = nullptr);
    void retranslate();
    void setDatePattern(const std::string& pattern) { datePattern_ = pattern; }
    // Fills the general fields from the entry (when an AtoN is selected).
    void CopyAtonDetails(int index);
    // Fills the lantern fields (after every message 6 of the entry).
    void ShowLanternStatus(int index);
    // "Detail": shows the window with the lantern group hidden.
    void showDetails();
    QString field(const char* name) const;
    QGroupBox* lanternGroup() const { return lanternGroup_; }

  private:
    QLineEdit* addField(QWidget* page, const char* name);

    const base::TextStore& texts_;
    const ais::TargetTable& table_;
    TfrmLanternCtrl& lantern_;
    std::string datePattern_ = "dd/MM/yyyy";
    std::map<std::string, QLineEdit*> fields_;
    std::map<std::string, QLabel*> labels_;
    QGroupBox* lanternGroup_;
    QPushButton* btnClose_;
    QPushButton* btnCommand_;
};

}  // namespace norq::messaging
