// Auto-saving: the schedule that opens the raw recording, rolls it over to a
// new file every period and closes it outside the chosen window of time. The
// schedule is set by the auto-saving window and stepped once a second; the
// time comes from an injected clock.
#pragma once

#include <cstdint>
#include <string>

#include "ais/Clock.h"
#include "comm/RawRecording.h"

namespace norq::comm {

// The periods of the period list, in seconds by position: 10 and 30 minutes,
// 1, 2, 3 and 6 hours, 1 day; 600 for any other position.
int AutoSavingPeriodSeconds(int index);
inline constexpr int kAutoSavingPeriodCount = 7;
inline constexpr int kDefaultAutoSavingPeriod = 6;  // "1 day"

// Seconds since 1970-01-01 00:00:00 of a local date and time, counted as if
// every day had 86400 seconds (enough to compare and subtract local times).
std::int64_t LocalSeconds(const ais::LocalDateTime& t);
ais::LocalDateTime FromLocalSeconds(std::int64_t seconds);

// The recording's file name: prefix + "YYYYMMDD_hhmmss.txt" of the moment.
std::string RecordingFileName(const std::string& prefix, const ais::LocalDateTime& opened);

// What the auto-saving window holds.
struct AutoSavingForm {
    int periodIndex = kDefaultAutoSavingPeriod;
    bool startNow = false;
    ais::LocalDateTime start;
    bool forever = false;
    ais::LocalDateTime end;
    std::string fileName;  // the prefix of the recording files
    bool enabled = false;
};

// The result of the window's checks, in the order they are made.
enum class AutoSavingCheck : std::uint8_t {
    Ok = 0,
    EndDateBeforeStart = 1,
    EndTimeBeforeStart = 2,
    SameStartAndEnd = 3,
    DefaultFileName = 4,  // the file name is ".\FileName" (not chosen yet)
    EmptyFileName = 5
};
AutoSavingCheck CheckAutoSavingForm(const AutoSavingForm& form, const ais::LocalDateTime& now);

// Told when a recording file cannot be opened or written (once until a file
// opens again).
class AutoSavingReport {
  public:
    virtual ~AutoSavingReport() = default;
    virtual void recordingFailed(const std::string& path, int error) = 0;
};

class AutoSaving {
  public:
    AutoSaving(RawRecording& recording, const ais::Clock& clock)
        : recording_(recording), clock_(clock) {}

    void setReport(AutoSavingReport* report) { report_ = report; }

    // The window's OK (after its checks): takes the schedule. With "Enabled"
    // unticked auto-saving stops and a recording that is open is closed.
    void apply(const AutoSavingForm& form);
    // The one-second step.
    void step();

    bool enabled() const { return enabled_; }
    // A recording period is running (its file may have failed to open).
    bool periodOpen() const { return periodOpen_; }
    std::int64_t startSeconds() const { return start_; }
    // -1: no end ("Forever").
    std::int64_t endSeconds() const { return end_; }
    int periodSeconds() const { return period_; }
    const std::string& prefix() const { return prefix_; }

  private:
    void openNewFile(const ais::LocalDateTime& now);
    void closePeriod();

    RawRecording& recording_;
    const ais::Clock& clock_;
    AutoSavingReport* report_ = nullptr;
    bool enabled_ = false;
    std::string prefix_;
    int period_ = 86400;
    std::int64_t start_ = 0;
    std::int64_t end_ = -1;
    bool periodOpen_ = false;
    std::int64_t fileOpened_ = 0;
    bool reported_ = false;
};

}  // namespace norq::comm
