// The own ship's track recording: while the own position is known, a point every
// 10 seconds when the ship has moved; the recording is written as a track file
// with its entry in the track list every minute, when it is full and at the end
// of the run, so a crash loses at most a minute of it. After ten minutes without
// a position, at 32767 points or at the end of the run the recording closes and
// the next position starts a new track.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ais/Clock.h"
#include "nav/TrackList.h"

namespace norq::nav {

struct OwnFix {
    double lon = 181.0;
    double lat = 91.0;
    float course = 0.0f;
    float speed = 0.0f;
    float heading = kTrackHeadingNotAvailable;
};

// What one second of the recording did.
struct RecorderStep {
    bool pointTaken = false;
    bool written = false;  // the track file and the list were written
    TrackSaveResult save = TrackSaveResult::Saved;
};

class TrackRecorder {
  public:
    explicit TrackRecorder(TrackList& list) : list_(list) {}

    static constexpr int kIntervalSeconds = 10;
    static constexpr int kFlushSeconds = 60;
    static constexpr int kGapSeconds = 600;
    // About 5 m: a ship at anchor or alongside adds no points.
    static constexpr double kMinMoveDegrees = 0.00005;

    // One second of the run. `fix` is the own position (nullptr when unknown);
    // `stamp` is the date and time as the operator reads it (start and stop
    // texts). Takes a point when due and writes the recording when due.
    RecorderStep step(const OwnFix* fix, std::int64_t nowSeconds, const ais::LocalDateTime& local,
                      std::string_view stamp);

    const std::vector<TrackRecord>& points() const { return points_; }
    bool recording() const { return !points_.empty(); }
    // The recording's entry in the list, or -1 before its first write.
    int listIndex() const { return listIndex_; }
    // Points not written yet, and whether the minute to write them is up.
    bool unsaved() const { return unsaved_; }
    bool flushDue(std::int64_t nowSeconds) const;

    // Writes the track file and the list entry (added at the first write; the
    // operator's name and visibility are kept). A recording of one point waits.
    TrackSaveResult flush(std::int64_t nowSeconds);
    // Writes and closes the recording: the next point starts a new track.
    TrackSaveResult finish(std::int64_t nowSeconds);
    // The list entry at `index` was deleted by the operator: a later entry moves
    // up; the recording's own entry deleted drops the recording.
    void onEntryRemoved(int index);

  private:
    void close();

    TrackList& list_;
    std::vector<TrackRecord> points_;
    std::string fileName_;
    std::string startStamp_;
    std::string stopStamp_;
    std::int64_t startSeconds_ = 0;
    std::int64_t lastPointSeconds_ = 0;
    std::int64_t lastFixSeconds_ = 0;
    std::int64_t lastFlushSeconds_ = 0;
    int listIndex_ = -1;
    bool unsaved_ = false;
};

// "Track_YYYYMMDD_hhmmss.trk" of a start time.
std::string TrackFileName(const ais::LocalDateTime& start);
// "hh:mm:ss" of a time.
std::string TrackTimeText(const ais::TimeStamp& time);

}  // namespace norq::nav
