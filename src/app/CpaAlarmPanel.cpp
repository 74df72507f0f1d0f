#include "app/CpaAlarmPanel.h"

#include <QPushButton>
#include <QWidget>
#include <cstdio>

namespace norq::app {

namespace {

// A language text with its "%d" replaced by the number.
QString Filled(const std::string& pattern, int value) {
    return QString::fromUtf8(pattern.c_str()).replace(QStringLiteral("%d"), QString::number(value));
}

}  // namespace

CpaAlarmPanel::CpaAlarmPanel(ais::TargetTracker& tracker, const TextStore& texts,
                             QWidget* statusRow)
    : QObject(statusRow), tracker_(tracker), texts_(texts) {
    button_ = new QPushButton(statusRow);
    button_->setObjectName(QStringLiteral("btnCpaAlarm"));
    button_->setVisible(false);
    connect(button_, &QPushButton::clicked, this, &CpaAlarmPanel::acknowledge);
}

void CpaAlarmPanel::onCpaAlarm(int index, ais::CpaAlarmEvent event) {
    if (event == ais::CpaAlarmEvent::TargetLost && tracker_.table().valid(index)) {
        lostMmsi_ = tracker_.table()[index].mmsi;
    }
    retranslate();
}

bool CpaAlarmPanel::step() {
    tracker_.stepCpaAlarms();
    retranslate();
    return tracker_.cpaGrading().graded && tracker_.cpaAlarms().sounding();
}

void CpaAlarmPanel::acknowledge() {
    tracker_.acknowledgeCpaAlarms();
    retranslate();
}

void CpaAlarmPanel::retranslate() {
    const ais::CpaAlarmMonitor& alarms = tracker_.cpaAlarms();
    const int count = tracker_.cpaGrading().graded ? alarms.alarmCount() : 0;
    if (count == 0) lostMmsi_ = 0;
    button_->setVisible(count > 0);
    if (count == 0) return;
    const bool sounding = alarms.sounding();
    QString shown = Filled(texts_.text(sounding ? TextId::MainWindowCpaAlarmAcknowledge
                                                : TextId::MainWindowCpaAlarmAcknowledged),
                           count);
    if (lostMmsi_ != 0) {
        char mmsi[16];
        std::snprintf(mmsi, sizeof mmsi, "%09u", static_cast<unsigned>(lostMmsi_));
        shown += QStringLiteral(" - ") +
                 QString::fromUtf8(texts_.text(TextId::MainWindowCpaAlarmTargetLost).c_str())
                     .replace(QStringLiteral("%s"), QString::fromLatin1(mmsi));
    }
    button_->setText(shown);
    button_->setEnabled(sounding);
    // Red while it sounds, plain once acknowledged.
    button_->setStyleSheet(sounding ? QStringLiteral("color: white; background: #D00000;")
                                    : QString());
}

}  // namespace norq::app
