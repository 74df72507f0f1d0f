#include "nav/TrackRecorder.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "base/Files.h"

namespace norq::nav {

std::string TrackFileName(const ais::LocalDateTime& t) {
    char name[64];
    std::snprintf(name, sizeof name, "Track_%04d%02d%02d_%02d%02d%02d.trk", t.date.year % 10000,
                  t.date.month % 100, t.date.day % 100, t.time.hour % 100, t.time.minute % 100,
                  t.time.second % 100);
    return name;
}

std::string TrackTimeText(const ais::TimeStamp& time) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", time.hour % 100, time.minute % 100,
                  time.second % 100);
    return text;
}

namespace {

// A new track never takes the file of another one (two started in one second).
std::string UnusedFileName(const TrackList& list, const std::string& wanted) {
    auto used = [&](const std::string& name) {
        for (const TrackEntry& e : list.entries()) {
            if (e.fileName == name) return true;
        }
        std::error_code ec;
        return std::filesystem::exists(list.folder() + name, ec);
    };
    if (!used(wanted)) return wanted;
    const std::string stem = wanted.substr(0, wanted.rfind('.'));
    for (int i = 2; i < 1000; ++i) {
        std::string name = stem + "_" + std::to_string(i) + ".trk";
        if (!used(name)) return name;
    }
    return wanted;
}

}  // namespace

RecorderStep TrackRecorder::step(const OwnFix* fix, std::int64_t now,
                                 const ais::LocalDateTime& local, std::string_view stamp) {
    RecorderStep result;
    auto write = [&](TrackSaveResult saved) {
        result.written = saved == TrackSaveResult::Saved;
        if (saved != TrackSaveResult::Saved) result.save = saved;
    };
    if (fix == nullptr || !(std::fabs(fix->lon) <= 180.0) || !(std::fabs(fix->lat) <= 90.0)) {
        // Without a position the recording is still written on time.
        if (flushDue(now)) write(flush(now));
        return result;
    }
    if (recording() && now - lastFixSeconds_ > kGapSeconds) write(finish(now));
    lastFixSeconds_ = now;
    if (recording()) {
        const TrackRecord& last = points_.back();
        if (static_cast<int>(points_.size()) >= kMaxTrackPoints ||
            now - lastPointSeconds_ < kIntervalSeconds ||
            (std::fabs(last.lon - fix->lon) < kMinMoveDegrees &&
             std::fabs(last.lat - fix->lat) < kMinMoveDegrees)) {
            if (flushDue(now)) write(flush(now));
            return result;
        }
    } else {
        fileName_ = TrackFileName(local);
        startStamp_ = std::string(stamp);
        startSeconds_ = now;
        lastFlushSeconds_ = now;
        listIndex_ = -1;
        points_.reserve(1024);
    }
    TrackRecord r;
    r.lon = fix->lon;
    r.lat = fix->lat;
    r.course = fix->course;
    r.speed = fix->speed;
    r.heading = fix->heading;
    r.setTimeText(TrackTimeText(local.time));
    points_.push_back(r);
    stopStamp_ = std::string(stamp);
    lastPointSeconds_ = now;
    unsaved_ = true;
    result.pointTaken = true;
    if (flushDue(now)) write(flush(now));
    return result;
}

bool TrackRecorder::flushDue(std::int64_t now) const {
    return unsaved_ && (now - lastFlushSeconds_ >= kFlushSeconds ||
                        static_cast<int>(points_.size()) >= kMaxTrackPoints);
}

TrackSaveResult TrackRecorder::flush(std::int64_t now) {
    TrackList& list = list_;
    if (!unsaved_ || points_.size() < 2) return TrackSaveResult::Saved;
    lastFlushSeconds_ = now;
    if (listIndex_ < 0 && list.count() >= kMaxTracks) return TrackSaveResult::ListFull;
    if (listIndex_ < 0) fileName_ = UnusedFileName(list, fileName_);
    TrackEntry entry;
    if (list.valid(listIndex_)) {
        entry = list[listIndex_];
    } else {
        entry.name = "Track " + startStamp_;
        entry.visible = true;
    }
    entry.fileName = fileName_;
    entry.startTime = startStamp_;
    entry.stopTime = stopStamp_;
    entry.recordedSeconds = static_cast<std::int32_t>(lastPointSeconds_ - startSeconds_);
    entry.pointCount = static_cast<std::int16_t>(points_.size());
    if (!TrackNameAcceptable(entry.name)) entry.name = fileName_;
    for (std::string* text : {&entry.startTime, &entry.stopTime}) {
        for (char& c : *text) {
            if (c == ',' || static_cast<unsigned char>(c) < 0x20) c = ' ';
        }
    }
    if (!base::WriteFileAtomically(list.folder() + fileName_, EncodeTrackFile(points_))) {
        return TrackSaveResult::WriteFailed;
    }
    if (list.valid(listIndex_)) {
        list.replace(listIndex_, entry);
    } else {
        list.add(entry);
        listIndex_ = list.count() - 1;
    }
    if (!list.save()) return TrackSaveResult::WriteFailed;
    unsaved_ = false;
    if (static_cast<int>(points_.size()) >= kMaxTrackPoints) close();
    return TrackSaveResult::Saved;
}

TrackSaveResult TrackRecorder::finish(std::int64_t now) {
    // A recording that could not be written goes on, to be written later.
    const TrackSaveResult saved = flush(now);
    if (saved != TrackSaveResult::WriteFailed) close();
    return saved;
}

void TrackRecorder::close() {
    points_.clear();
    listIndex_ = -1;
    unsaved_ = false;
}

void TrackRecorder::onEntryRemoved(int index) {
    if (listIndex_ < 0) return;
    if (index == listIndex_) {
        close();
    } else if (index < listIndex_) {
        --listIndex_;
    }
}

}  // namespace norq::nav
