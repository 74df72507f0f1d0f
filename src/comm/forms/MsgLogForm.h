// "Message Log" (TfrmMsgLog): the received, replayed and sent lines while
// "Enable Log" is ticked, with Save and Clear. The window shows what the
// message log holds; new lines are brought in at most ten times a second, so a
// fast feed costs a few repaints, not one per line.
#pragma once

#include <QDialog>
#include <functional>

#include "base/LanguageTable.h"
#include "comm/MessageLog.h"
#include "ui/Dialogs.h"

class QCheckBox;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace norq::comm {

class TfrmMsgLog final : public QDialog, public MessageLogView {
    Q_OBJECT

  public:
    TfrmMsgLog(MessageLog& log, const base::TextStore& texts, ui::Dialogs& dialogs,
               QWidget* parent = nullptr);
    ~TfrmMsgLog() override;

    // Called with the file the log was saved to (the main window shows it).
    void setSavedHandler(std::function<void(const QString&)> handler) {
        onSaved_ = std::move(handler);
    }
    // The date and time format of the time stamps (short date + " hh:mm:ss").
    void setStampFormat(const QString& format) { stampFormat_ = format; }
    void retranslate();
    // Shows the window with its bottom-right corner on `corner`.
    void showAt(const QPoint& bottomRight);

    // Actions of the buttons (the tests press them through these too).
    void saveLog();
    void clearLog();
    // Brings the shown text up to date with the log now.
    void refresh();
    QString shownText() const;

    void onLogChanged() override;

  private:
    void addTimeStamp();

    MessageLog& log_;
    const base::TextStore& texts_;
    ui::Dialogs& dialogs_;
    std::function<void(const QString&)> onSaved_;
    QString stampFormat_ = QStringLiteral("yyyy/MM/dd hh:mm:ss");
    QPlainTextEdit* memo1_;
    QCheckBox* cbxEnableLog_;
    QCheckBox* cbxAddTimeStamp_;
    QPushButton* btnSaveLog_;
    QPushButton* btnClearLog_;
    QTimer* timeStampTimer_;
    QTimer* refreshTimer_;
    std::uint64_t shownAdded_ = 0;   // log lines ever added when the text was brought up to date
    std::uint64_t shownClears_ = 0;  // and the clears of the log
};

}  // namespace norq::comm
