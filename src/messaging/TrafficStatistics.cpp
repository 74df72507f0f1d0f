#include "messaging/TrafficStatistics.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/Files.h"

namespace norq::messaging {

namespace {

bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
    constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[static_cast<std::size_t>(m - 1)];
}

bool Before(const CivilDate& a, const CivilDate& b) {
    return DateNumber(a) < DateNumber(b);
}

bool SameDay(const CivilDate& a, const CivilDate& b) {
    return DateNumber(a) == DateNumber(b);
}

std::string Label(const CivilDate& date, int slot) {
    const int minute = slot * 5;
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d %02d:%02d", date.month, date.day, minute / 60,
                  minute % 60);
    return text;
}

void AddDay(const CivilDate& date, int first, int last, int step, const DayCounts& counts,
            InquiryResult& result) {
    for (int slot = first / 5; slot <= last / 5; slot += step) {
        const std::uint16_t c = counts[static_cast<std::size_t>(slot)];
        result.points.push_back({Label(date, slot), c, CountColour(c)});
    }
}

}  // namespace

bool IsValidDate(const CivilDate& d) {
    return d.year >= 1 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
           d.day <= DaysInMonth(d.year, d.month);
}

CivilDate NextDay(const CivilDate& d) {
    CivilDate n = d;
    if (++n.day > DaysInMonth(n.year, n.month)) {
        n.day = 1;
        if (++n.month > 12) {
            n.month = 1;
            ++n.year;
        }
    }
    return n;
}

int DateNumber(const CivilDate& d) {
    return d.year * 10000 + d.month * 100 + d.day;
}

std::string CountFileName(const CivilDate& date) {
    char name[24];
    std::snprintf(name, sizeof name, "TS%08d.dat", DateNumber(date));
    return name;
}

std::string CountFilePath(const std::string& folder, const CivilDate& date) {
    return (std::filesystem::path(folder) / CountFileName(date)).string();
}

CountFileStatus DecodeDayCounts(std::string_view bytes, DayCounts& counts) {
    if (bytes.size() != kCountFileBytes) return CountFileStatus::WrongSize;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        const auto lo = static_cast<unsigned char>(bytes[2 * i]);
        const auto hi = static_cast<unsigned char>(bytes[2 * i + 1]);
        counts[i] = static_cast<std::uint16_t>(lo | (hi << 8));
    }
    return CountFileStatus::Ok;
}

std::string EncodeDayCounts(const DayCounts& counts) {
    std::string bytes(kCountFileBytes, '\0');
    for (std::size_t i = 0; i < counts.size(); ++i) {
        bytes[2 * i] = static_cast<char>(counts[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(counts[i] >> 8);
    }
    return bytes;
}

CountFileStatus ReadDayCounts(const std::string& path, DayCounts& counts) {
    bool missing = false;
    // One byte more than a whole file tells an over-long file from a good one.
    const auto bytes = base::ReadFileLimited(path, kCountFileBytes + 1, &missing);
    if (!bytes) {
        if (missing) return CountFileStatus::Missing;
        // Too long to be a count file, or not readable at all.
        std::error_code ec;
        const bool isFile = std::filesystem::is_regular_file(path, ec);
        return isFile && std::filesystem::file_size(path, ec) > kCountFileBytes
                   ? CountFileStatus::WrongSize
                   : CountFileStatus::Unreadable;
    }
    return DecodeDayCounts(*bytes, counts);
}

bool WriteDayCounts(const std::string& path, const DayCounts& counts) {
    return base::WriteFileAtomically(path, EncodeDayCounts(counts));
}

bool RecordTargetCount(const std::string& folder, const CivilDate& date, int minuteOfDay,
                       int targets) {
    if (!IsValidDate(date) || minuteOfDay < 0 || minuteOfDay >= 1440) return false;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::string path = CountFilePath(folder, date);
    DayCounts counts{};
    if (ReadDayCounts(path, counts) != CountFileStatus::Ok) counts.fill(0);
    counts[static_cast<std::size_t>(minuteOfDay / 5)] =
        static_cast<std::uint16_t>(std::clamp(targets, 0, 65535));
    return WriteDayCounts(path, counts);
}

BarColour CountColour(std::uint16_t count) {
    if (count < 51) return BarColour::Green;
    return count < 71 ? BarColour::Default : BarColour::Red;
}

InquiryResult ShowTrafficStatistics(const InquiryRequest& request, const DayReader& read) {
    InquiryResult result;
    if (!IsValidDate(request.from) || !IsValidDate(request.to)) return result;
    const int interval = std::clamp(request.interval / 5 * 5, 5, 60);
    const int fromMinute = std::clamp(request.fromMinute, 0, 1439);
    const int toMinute = std::clamp(request.toMinute, 0, 1439);
    CivilDate day = request.from;
    for (int n = 0; n < kMaxInquiryDays && !Before(request.to, day); ++n, day = NextDay(day)) {
        DayCounts counts{};
        const CountFileStatus status = read(day, counts);
        if (status != CountFileStatus::Ok) {
            result.stop = status;
            result.stopDate = day;
            break;
        }
        const int first = SameDay(day, request.from) ? fromMinute : 0;
        const int last = SameDay(day, request.to) ? toMinute : 1439;
        AddDay(day, first, last, interval / 5, counts, result);
    }
    return result;
}

DayReader FolderDayReader(std::string folder) {
    return [folder = std::move(folder)](const CivilDate& date, DayCounts& counts) {
        return ReadDayCounts(CountFilePath(folder, date), counts);
    };
}

}  // namespace norq::messaging
