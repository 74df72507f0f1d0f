#include "comm/AutoSaving.h"

#include <cstdio>

namespace norq::comm {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = static_cast<unsigned>((153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1);
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2 ? 1 : 0));
}

}  // namespace

int AutoSavingPeriodSeconds(int index) {
    switch (index) {
        case 1:
            return 1800;
        case 2:
            return 3600;
        case 3:
            return 7200;
        case 4:
            return 10800;
        case 5:
            return 21600;
        case 6:
            return 86400;
        default:
            return 600;
    }
}

std::int64_t LocalSeconds(const ais::LocalDateTime& t) {
    return DaysFromCivil(t.date.year, t.date.month, t.date.day) * 86400 + t.time.hour * 3600 +
           t.time.minute * 60 + t.time.second;
}

ais::LocalDateTime FromLocalSeconds(std::int64_t seconds) {
    std::int64_t days = seconds / 86400;
    std::int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    int y = 0;
    int m = 0;
    int d = 0;
    CivilFromDays(days, y, m, d);
    ais::LocalDateTime t;
    t.date = {static_cast<std::int16_t>(y), static_cast<std::uint8_t>(m),
              static_cast<std::uint8_t>(d)};
    t.time = {static_cast<std::uint8_t>(rest / 3600), static_cast<std::uint8_t>(rest / 60 % 60),
              static_cast<std::uint8_t>(rest % 60)};
    return t;
}

std::string RecordingFileName(const std::string& prefix, const ais::LocalDateTime& t) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d_%02d%02d%02d.txt", t.date.year, t.date.month,
                  t.date.day, t.time.hour, t.time.minute, t.time.second);
    return prefix + stamp;
}

AutoSavingCheck CheckAutoSavingForm(const AutoSavingForm& form, const ais::LocalDateTime& now) {
    if (!form.forever) {
        const ais::LocalDateTime start = form.startNow ? now : form.start;
        const std::int64_t s = LocalSeconds(start);
        const std::int64_t e = LocalSeconds(form.end);
        const std::int64_t startDay = LocalSeconds({start.date, {}});
        const std::int64_t endDay = LocalSeconds({form.end.date, {}});
        if (s == e) return AutoSavingCheck::SameStartAndEnd;
        if (endDay < startDay) return AutoSavingCheck::EndDateBeforeStart;
        if (endDay == startDay && e < s) return AutoSavingCheck::EndTimeBeforeStart;
    }
    if (form.fileName == ".\\FileName" || form.fileName == "./FileName") {
        return AutoSavingCheck::DefaultFileName;
    }
    if (form.fileName.empty()) return AutoSavingCheck::EmptyFileName;
    return AutoSavingCheck::Ok;
}

void AutoSaving::apply(const AutoSavingForm& form) {
    const ais::LocalDateTime now = clock_.localNow();
    prefix_ = form.fileName;
    period_ = AutoSavingPeriodSeconds(form.periodIndex);
    start_ = LocalSeconds(form.startNow ? now : form.start);
    end_ = form.forever ? -1 : LocalSeconds(form.end);
    if (form.enabled) {
        enabled_ = true;
        // A new schedule starts with a new file at its first step.
        if (periodOpen_) closePeriod();
        return;
    }
    // "Enabled" unticked: the recording stops.
    enabled_ = false;
    closePeriod();
}

void AutoSaving::step() {
    if (!enabled_) return;
    const ais::LocalDateTime nowLocal = clock_.localNow();
    const std::int64_t now = LocalSeconds(nowLocal);
    const bool inside = now >= start_ && (end_ < 0 || now <= end_);
    if (!inside) {
        if (periodOpen_) closePeriod();
        return;
    }
    // A new file at the very last second of the window would stay empty.
    const bool lastSecond = end_ >= 0 && now >= end_;
    if (!periodOpen_ || (now - fileOpened_ >= period_ && !lastSecond)) {
        openNewFile(nowLocal);
        return;
    }
    if (recording_.writeFailed() && !reported_) {
        reported_ = true;
        if (report_ != nullptr) report_->recordingFailed(recording_.path(), recording_.lastError());
    }
}

void AutoSaving::openNewFile(const ais::LocalDateTime& now) {
    recording_.close();
    const std::string path = RecordingFileName(prefix_, now);
    periodOpen_ = true;
    fileOpened_ = LocalSeconds(now);
    if (recording_.open(path)) {
        reported_ = false;
        return;
    }
    // Told once; the next attempt comes when the period has passed.
    if (!reported_) {
        reported_ = true;
        if (report_ != nullptr) report_->recordingFailed(path, recording_.lastError());
    }
}

void AutoSaving::closePeriod() {
    recording_.close();
    periodOpen_ = false;
}

}  // namespace norq::comm
