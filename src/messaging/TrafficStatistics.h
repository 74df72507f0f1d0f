// The traffic statistics: daily count files of the number of AIS targets, one
// count per 5 minutes of the UTC day, the inquiry that charts them, and the
// counter that fills today's file.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace norq::messaging {

constexpr int kSlotsPerDay = 288;
constexpr std::size_t kCountFileBytes = 2 * kSlotsPerDay;
// The folder of the count files below the data folder.
constexpr std::string_view kStatisticsFolder = "Statistics";

using DayCounts = std::array<std::uint16_t, kSlotsPerDay>;

struct CivilDate {
    int year = 1970;
    int month = 1;
    int day = 1;
};
bool IsValidDate(const CivilDate& date);
CivilDate NextDay(const CivilDate& date);
int DateNumber(const CivilDate& date);  // yyyymmdd

// "TS" + "%08d" of yyyymmdd + ".dat".
std::string CountFileName(const CivilDate& date);
std::string CountFilePath(const std::string& folder, const CivilDate& date);

enum class CountFileStatus : std::uint8_t { Ok, Missing, Unreadable, WrongSize };
// The 288 little-endian counts from the file's bytes; anything but exactly 576
// bytes is WrongSize and leaves counts untouched.
CountFileStatus DecodeDayCounts(std::string_view bytes, DayCounts& counts);
std::string EncodeDayCounts(const DayCounts& counts);
CountFileStatus ReadDayCounts(const std::string& path, DayCounts& counts);
bool WriteDayCounts(const std::string& path, const DayCounts& counts);

// The counter: stores `targets` in the slot of the UTC time in the day's file,
// keeping the day's other slots (a damaged file starts the day afresh). The
// folder is created when missing. False when the file could not be written.
bool RecordTargetCount(const std::string& folder, const CivilDate& date, int minuteOfDay,
                       int targets);

enum class BarColour : std::uint8_t { Green, Default, Red };
BarColour CountColour(std::uint16_t count);  // green < 51, red >= 71

struct InquiryRequest {
    CivilDate from;
    int fromMinute = 0;  // minutes of the day, 0-1439
    CivilDate to;
    int toMinute = 1439;
    int interval = 15;  // minutes: 5-60 in steps of 5
};
struct InquiryPoint {
    std::string label;  // "MM/dd hh:mm" of the slot's start
    std::uint16_t count = 0;
    BarColour colour = BarColour::Green;
};
struct InquiryResult {
    std::vector<InquiryPoint> points;
    // The day that ended the inquiry early and why (Ok: every day was read).
    CountFileStatus stop = CountFileStatus::Ok;
    CivilDate stopDate;
};

// Reads one day's counts; the folder reader in production, a table in tests.
using DayReader = std::function<CountFileStatus(const CivilDate&, DayCounts&)>;

// Walks the calendar days from the start to the end date, reading every
// interval's slot of each day's minute range. The first day that cannot be
// read ends the walk; the points of earlier days stay. At most kMaxInquiryDays
// days are read.
constexpr int kMaxInquiryDays = 366;
InquiryResult ShowTrafficStatistics(const InquiryRequest& request, const DayReader& read);
DayReader FolderDayReader(std::string folder);

}  // namespace norq::messaging
