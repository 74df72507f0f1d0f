// Field splitting and value conversions shared by the sentence parsers.
//
// After MarkEmptyFields every empty field of a sentence reads as one space, so
// a field is "empty" when it holds nothing but spaces. Every reader here works
// on a bounded string_view; nothing allocates.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace norq::codec {

// Empty-field values as the parsers store them.
inline constexpr double kEmptyFloat = -100000.0;
inline constexpr double kEmptyLat = 91.0;
inline constexpr double kEmptyLon = 181.0;
inline constexpr int kEmptyByte = 128;
inline constexpr int kEmptyInt16 = -1;
inline constexpr std::int64_t kEmptyMmsi = 999999999;

// Longest sentence line accepted by ParseSentence, CR LF included.
inline constexpr std::size_t kMaxLineLength = 100;
// Longest line after empty-field marking, CR LF included.
inline constexpr std::size_t kMaxMarkedLength = 98;

// A tokenizer with one remembered position: each call returns the text up to
// the next occurrence of the delimiter the caller names. Parsers pass ',' for
// every field but the last and '*' for the last. Leading spaces are skipped
// unless the field is nothing but spaces, so an empty field still reads as
// one space. Each parse owns its tokenizer; no state is shared.
class FieldTokenizer {
  public:
    explicit FieldTokenizer(std::string_view text) : text_(text) {}

    // Next field, or false when the delimiter does not occur again.
    bool next(char delimiter, std::string_view& field);

    // Skips the rest of the current field: used for the address field.
    bool skip(char delimiter) {
        std::string_view ignored;
        return next(delimiter, ignored);
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// True when the text holds exactly n commas.
bool CountCommas(std::string_view text, int n);

// Copies the line into out with one space inserted after every comma that is
// directly followed by another comma or by '*'. Returns the marked length, or
// 0 when the result (CR LF included) would exceed kMaxMarkedLength or the
// output capacity.
std::size_t MarkEmptyFields(std::string_view line, char* out, std::size_t capacity);

bool IsEmptyField(std::string_view field);

// Whole number as C's atoi reads it: optional sign, then digits up to the
// first non-digit; a field without digits reads 0. Saturates at the ends of
// the 32-bit range instead of overflowing.
std::int64_t ReadWhole(std::string_view field);
// ReadWhole, or `empty` when the field is empty.
std::int64_t ReadInt(std::string_view field, std::int64_t empty);
// Decimal number (C locale, either sign, optional exponent); an unreadable
// field reads 0, an empty one `empty`.
double ReadFloat(std::string_view field, double empty = kEmptyFloat);
// First character, or `empty` when the field is empty.
int ReadChar(std::string_view field, int empty = ' ');
// Hexadecimal digit value, or -1.
int HexValue(char c);

struct TimeOfDay {
    int hour = 24;
    int minute = 60;
    int second = 60;
    int hundredths = 0;
    friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
};

struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

// "ddmm.mmmm" + hemisphere to signed degrees; 91 when empty or beyond 90
// degrees either way.
double ReadLatitude(std::string_view value, std::string_view hemisphere);
// "dddmm.mmmm" + hemisphere to signed degrees; 181 when empty or beyond 180
// degrees either way.
double ReadLongitude(std::string_view value, std::string_view hemisphere);
// "hhmmss.ss"; hour 24, minute 60, second 60 when empty.
TimeOfDay ReadTime(std::string_view field);
// "ddmmyy" as 20yy; 0, 0, 0 when empty.
CalendarDate ReadDate(std::string_view field);

// Degrees split for composing positions: whole degrees, whole minutes and the
// remaining fraction of a minute in hundred-thousandths. The value is rounded
// to the nearest unit of the last digit printed (fractionDigits of the
// minute, 1 to 5), so that composing and parsing again keeps the position.
struct DegreesMinutes {
    int degrees = 0;
    int minutes = 0;
    int minuteFraction = 0;  // 1/100000 minute
};
DegreesMinutes SplitDegrees(double absoluteDegrees, int fractionDigits = 5);

// Copies a text field into a fixed buffer (NUL-terminated, cut to fit).
template <std::size_t N>
void CopyText(std::string_view field, char (&out)[N]) {
    const std::size_t n = field.size() < N - 1 ? field.size() : N - 1;
    for (std::size_t i = 0; i < n; ++i)
        out[i] = field[i];
    out[n] = '\0';
}

template <std::size_t N>
void CopyText(std::string_view field, std::array<char, N>& out) {
    const std::size_t n = field.size() < N - 1 ? field.size() : N - 1;
    for (std::size_t i = 0; i < n; ++i)
        out[i] = field[i];
    out[n] = '\0';
}

}  // namespace norq::codec
