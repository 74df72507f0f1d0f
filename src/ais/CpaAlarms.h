// Graded CPA alarms: caution, warning and alarm by CPA and TCPA limits, quiet
// for boats lying still beside an own ship that lies still itself, and the
// alarm state of every target (sounding, acknowledged for a while, lost while
// in alarm).
#pragma once

#include <array>
#include <cstdint>

#include "ais/Geometry.h"
#include "ais/TargetTable.h"

namespace norq::ais {

enum class CpaLevel : std::uint8_t { None = 0, Caution, Warning, Alarm };

// A ship at or below this SOG lies still (moored, at anchor or drifting).
inline constexpr float kAtRestSog = 0.2f;
// A ship that reports itself at anchor or moored is taken at its word up to
// this SOG; faster, it is under way whatever its status says.
inline constexpr float kAtRestStatusSogLimit = 3.0f;

// The levels below the alarm and the alarm behaviour ([CPA] keys). The alarm
// level itself is CpaSettings, the dangerous limits. While `graded` is off the
// viewer behaves as it always has: only the alarm level exists, nothing is
// kept quiet and nothing sounds.
struct CpaGrading {
    bool graded = false;           // Graded
    double cautionCpa = 8.0;       // CautionCPA, nautical miles
    double cautionTcpa = 30.0;     // CautionTCPA, minutes
    double warningCpa = 6.0;       // WarningCPA
    double warningTcpa = 20.0;     // WarningTCPA
    bool quietWhenMoored = true;   // QuietWhenMoored
    int acknowledgeSeconds = 300;  // AcknowledgeMinutes x 60
    friend bool operator==(const CpaGrading&, const CpaGrading&) = default;
};

// The own ship lies still: its SOG is known and at most kAtRestSog.
bool OwnShipAtRest(const TargetRecord& own);
// A target lies still: SOG at most kAtRestSog, or at anchor or moored
// (status 1 or 5) and not faster than kAtRestStatusSogLimit.
bool TargetAtRest(const TargetRecord& target);

// The level of a target from its stored CPA and TCPA. The alarm level is
// IsDangerous with the dangerous limits; a lower level holds when both CPA and
// TCPA are ahead and below its limits (a limit of 0 switches it off). With
// grading on and QuietWhenMoored, a target lying still beside an own ship
// lying still has no level at all; a target under way closing on it has.
CpaLevel GradeCpa(const TargetRecord& own, const TargetRecord& target, const CpaSettings& alarm,
                  const CpaGrading& grading);

// What happened to a target's alarm.
enum class CpaAlarmEvent : std::uint8_t {
    Raised,      // it came into the alarm level
    Resounded,   // acknowledged, but still in alarm when the acknowledgement ran out
    TargetLost,  // it stopped reporting while in alarm
};

class CpaAlarmReport {
  public:
    virtual ~CpaAlarmReport() = default;
    virtual void onCpaAlarm(int /*index*/, CpaAlarmEvent) {}
};

// The alarm state of every entry of the target table, kept by entry index
// (fixed size, moved down with the table when a target ages out).
class CpaAlarmMonitor {
  public:
    struct Entry {
        CpaLevel level = CpaLevel::None;
        bool sounding = false;        // wants the watch's attention
        bool acknowledged = false;    // silenced until quietUntil
        bool lost = false;            // went silent while in alarm
        std::int64_t quietUntil = 0;  // monotonic seconds
    };

    void setReport(CpaAlarmReport* report) { report_ = report ? report : &nullReport_; }
    void setAcknowledgeSeconds(int seconds) { acknowledgeSeconds_ = seconds; }

    // The target's level after its CPA was computed. Coming into the alarm
    // level raises an alarm; leaving it resolves the alarm (and its
    // acknowledgement). A lost target keeps its lost alarm whatever its stale
    // geometry gives until it reports again.
    void setLevel(int index, CpaLevel level);
    // Once a second: targets in alarm that went lost raise "dangerous target
    // lost"; a lost target that reports again is no longer lost; an
    // acknowledged alarm still standing when its time ran out sounds again.
    void step(const TargetTable& table, std::int64_t now);
    // Silences every sounding alarm for the acknowledgement time. A lost
    // alarm, once acknowledged, stays silent.
    void acknowledge(std::int64_t now);

    bool sounding() const;
    // Targets in the alarm level or lost while in alarm.
    int alarmCount() const;
    const Entry& entry(int index) const { return entries_[static_cast<std::size_t>(index)]; }
    CpaLevel level(int index) const { return entry(index).level; }

    // The entry was given to another station.
    void reset(int index);
    // The table removed `index`; later entries move down by one.
    void onTargetRemoved(int index);
    void clear();

  private:
    void raise(int index, CpaAlarmEvent event);

    std::array<Entry, kTargetTableSize> entries_{};
    int acknowledgeSeconds_ = 300;
    CpaAlarmReport nullReport_;
    CpaAlarmReport* report_ = &nullReport_;
};

}  // namespace norq::ais
