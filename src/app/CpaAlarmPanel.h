// The graded CPA alarm in the status row: a button that says how many targets
// are in alarm and acknowledges them, and what the one-second step needs to
// know to sound the beep. It hears the tracker's alarm events; while the
// grading is off it stays hidden and silent.
#pragma once

#include <QObject>

#include "ais/CpaAlarms.h"
#include "ais/TargetTracker.h"
#include "app/BaseNames.h"
#include "base/LanguageTable.h"

class QPushButton;
class QWidget;

namespace norq::app {

class CpaAlarmPanel final : public QObject, public ais::CpaAlarmReport {
    Q_OBJECT

  public:
    CpaAlarmPanel(ais::TargetTracker& tracker, const TextStore& texts, QWidget* statusRow);

    QPushButton* button() const { return button_; }
    // ais::CpaAlarmReport
    void onCpaAlarm(int index, ais::CpaAlarmEvent event) override;
    // One-second step: the lost targets and run-out acknowledgements, then
    // the button. Returns whether the alarm wants the beep.
    bool step();
    // The button's text in the current language.
    void retranslate();

  private:
    void acknowledge();

    ais::TargetTracker& tracker_;
    const TextStore& texts_;
    QPushButton* button_ = nullptr;
    // The MMSI of the target last lost while in alarm, 0 for none.
    std::uint32_t lostMmsi_ = 0;
};

}  // namespace norq::app
