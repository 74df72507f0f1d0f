// Readers for the values of a scenario file. Each returns false (and leaves a
// reason in `error`) when the text is not a value of its kind.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "GeoMath.h"
#include "Scenario.h"

namespace norq::sim {

std::string_view Trim(std::string_view text);
// Splits on `separator`, trimming each piece; empty pieces are dropped.
std::vector<std::string_view> SplitList(std::string_view text, char separator);

bool ReadDouble(std::string_view text, double& out, std::string& error);
// Decimal, or hexadecimal with a 0x prefix.
bool ReadInteger(std::string_view text, std::int64_t& out, std::string& error);
bool ReadBool(std::string_view text, bool& out, std::string& error);
// Seconds: "90", "90.5", "1:30" (minutes:seconds) or "1:02:30".
bool ReadDuration(std::string_view text, double& out, std::string& error);
// "lat lon" in signed decimal degrees, or with hemisphere letters "51.05N 1.45E".
bool ReadPoint(std::string_view text, GeoPoint& out, std::string& error);
// Points separated by ';'.
bool ReadPointList(std::string_view text, std::vector<GeoPoint>& out, std::string& error);
// "lo-hi" or a single value (lo = hi).
bool ReadRange(std::string_view text, double& lo, double& hi, std::string& error);
// Integers separated by ','.
bool ReadIntegerList(std::string_view text, std::vector<int>& out, std::string& error);
// Time windows "from-to" separated by ';', each bound a duration.
bool ReadWindows(std::string_view text, std::vector<TimeWindow>& out, std::string& error);
// Six hexadecimal digits, upper or lower case.
bool ReadDeviceId(std::string_view text, std::array<std::uint8_t, 3>& out, std::string& error);
// "bow stern port starboard" in metres.
bool ReadDimensions(std::string_view text, VesselInfo& info, std::string& error);
// "MM-DD hh:mm" (UTC).
bool ReadEta(std::string_view text, VesselInfo& info, std::string& error);
// "<time> <event>" pairs separated by ';'.
bool ReadCrewEvents(std::string_view text, std::vector<CrewEvent>& out, std::string& error);
// Upper-cases and keeps only the characters of the AIS 6-bit alphabet.
std::string AisText(std::string_view text, std::size_t maxLength);

}  // namespace norq::sim
