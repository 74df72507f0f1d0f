// The safety related message windows: the send dialog (TfrmSRM), the SRM log
// with its in-box and out-box (TfrmSRMRecordBox) and the alert dialog
// (TfrmSRMAlertDialog).
#pragma once

#include <QDialog>
#include <functional>

#include "base/LanguageTable.h"
#include "messaging/SafetyMessages.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTableWidget;
class QTimer;

namespace norq::messaging {

class TfrmSRMRecordBox final : public QDialog {
    Q_OBJECT

  public:
    TfrmSRMRecordBox(const base::TextStore& texts, const SafetyMessages& srm,
                     QWidget* parent = nullptr);
    void retranslate();
    void setDatePattern(const std::string& pattern) { datePattern_ = pattern; }
    void refreshInBox();
    void refreshOutBox();
    // Shows the window on the In-Box (0) or Out-Box (1) page.
    void showPage(int page);
    int currentPage() const;
    QTableWidget* inBoxGrid() const { return inBox_; }
    QTableWidget* outBoxGrid() const { return outBox_; }

  private:
    void fillRow(QTableWidget* grid, int row, const SrmMessage& m, bool withMmsi);

    const base::TextStore& texts_;
    const SafetyMessages& srm_;
    std::string datePattern_ = "dd/MM/yyyy";
    QStackedWidget* pageControlMailBox_;
    QTableWidget* inBox_;
    QTableWidget* outBox_;
    QPushButton* speedButtonClose_;
};

class TfrmSRMAlertDialog final : public QDialog {
    Q_OBJECT

  public:
    TfrmSRMAlertDialog(const base::TextStore& texts, SafetyMessages& srm,
                       QWidget* parent = nullptr);
    void retranslate();
    // The count and note of the pending alerts.
    void setAlert(int count, std::string_view note);
    void onOpen();
    void onClose();
    void TimerBlinkTimer();
    bool alertTextShown() const;
    QString noteText() const;
    QString openText() const;
    void setOpenHandler(std::function<void()> handler) { onOpen_ = std::move(handler); }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    const base::TextStore& texts_;
    SafetyMessages& srm_;
    QLabel* lblAlramTextMsg_;
    QLabel* lblAlramTextNote_;
    QPushButton* btnOpen_;
    QPushButton* btnClose_;
    QTimer* timer_;
    int blink_ = 0;
    int count_ = 0;
    std::function<void()> onOpen_;
};

class TfrmSRM final : public QDialog {
    Q_OBJECT

  public:
    TfrmSRM(const base::TextStore& texts, SafetyMessages& srm, QWidget* parent = nullptr);
    void retranslate();
    // "Send Message": sends the text field's text.
    void onSend();
    void setSentHandler(std::function<void()> handler) { onSent_ = std::move(handler); }
    QLineEdit* textField() const { return edtSrmMsg_; }
    QListWidget* messageList() const { return lstboxSrmMsg_; }

  private:
    const base::TextStore& texts_;
    SafetyMessages& srm_;
    QLabel* lblSelectMsg_;
    QListWidget* lstboxSrmMsg_;
    QLineEdit* edtSrmMsg_;
    QPushButton* bitBtnSendMsg_;
    QPushButton* bitBtnCancel_;
    QLabel* labelWarningInfo_;
    std::function<void()> onSent_;
};

}  // namespace norq::messaging
