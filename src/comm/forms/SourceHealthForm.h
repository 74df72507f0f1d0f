// "Source Health" (TfrmSourceHealth): one row per link (AIS transponder, GNSS
// receiver, crew watch controller) with its state, sentences per second, the
// age of its last sentence, checksum and framing rejects and lost fragments in
// the last minute, and its last error. The owner refreshes it once a second
// while it is shown; a cell is written only when its text changes.
//
// SourceHealthSummary gives the status row's compact form of the same.
#pragma once

#include <QDialog>
#include <QString>

#include "base/LanguageTable.h"
#include "comm/HealthLevel.h"
#include "comm/TSysSensorControl.h"

class QPushButton;
class QTableWidget;

namespace norq::comm {

struct HealthSummary {
    QString text;  // "AIS 12.3/s  GNSS 1.0/s"; empty while every link is off
    HealthLevel worst = HealthLevel::Off;
};

HealthSummary SourceHealthSummary(const TSysSensorControl& control);

class TfrmSourceHealth final : public QDialog {
    Q_OBJECT

  public:
    TfrmSourceHealth(const TSysSensorControl& control, const base::TextStore& texts,
                     QWidget* parent = nullptr);

    void retranslate();
    void refresh();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void setCell(int row, int column, const QString& text);
    QString stateText(LinkHealth health) const;
    QString errorText(const ais::HealthError& error) const;
    QString text(base::TextId id) const;

    const TSysSensorControl& control_;
    const base::TextStore& texts_;
    QTableWidget* grid_;
    QPushButton* btnClose_;
};

}  // namespace norq::comm
