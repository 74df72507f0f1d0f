// The country of an MMSI, from the Maritime Identification Digits (MID) it carries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace norq::ais {

// One MID of the ITU allocation with the country's name in the three languages
// of the interface. All texts are UTF-8.
struct MidEntry {
    std::uint16_t mid = 0;
    const char* english = "";
    const char* traditionalChinese = "";
    const char* simplifiedChinese = "";
};

inline constexpr std::size_t kMidCount = 301;

// The rows in ascending MID order.
std::span<const MidEntry, kMidCount> MidTable();

enum class CountryLanguage : std::uint8_t {
    English = 1,
    TraditionalChinese = 2,
    SimplifiedChinese = 3,
};

inline constexpr const char* kUnknownCountryEnglish = "Unknown Country";
inline constexpr const char* kUnknownCountryTraditional = "未知國家";
inline constexpr const char* kUnknownCountrySimplified = "未知国家";

struct CountryName {
    const char* text = kUnknownCountryEnglish;  // static text, never null
    bool found = false;
};

// The MID an MMSI carries: 00MIDxxxx (coast station), 0MIDxxxxx (group call),
// otherwise the first three of its nine digits (so SAR aircraft, 111MIDxxx, give
// 111 and aids to navigation, 99MIDxxxx, give 991-998).
int MidOfMmsi(std::uint32_t mmsi);

// The country of the MMSI's MID, or the language's "Unknown Country" text.
CountryName CountryOfMmsi(std::uint32_t mmsi, CountryLanguage language);

}  // namespace norq::ais
