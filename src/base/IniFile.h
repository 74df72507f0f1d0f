// Text files of sections and keys with the semantics of the classic profile files:
// section and key names compare without regard to (ASCII) case, a missing file, section or
// key yields the caller's default, and a rewrite changes only the keys it writes, so lines
// the program does not know (other keys, comments, blank lines) stay where they were.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Files.h"

namespace norq::base {

class IniFile {
  public:
    enum class LoadResult {
        Loaded,   // the file was read
        Missing,  // there is no such file: an empty file
        Failed,   // unreadable or larger than kMaxFileBytes: an empty file
    };

    // Settings and language files are a few tens of kilobytes; anything far beyond that
    // is not one of them and is not read into memory.
    static constexpr std::size_t kMaxFileBytes = 4 * 1024 * 1024;
    // Longest text a read hands out (longer values are cut at a UTF-8 character boundary).
    static constexpr std::size_t kMaxValueBytes = 2047;

    LoadResult load(const std::string& path);
    // Replaces the contents by the given text (a leading UTF-8 byte order mark is skipped).
    void parse(std::string_view text);
    // The file as it would be written: every line ended by LF, or by CR LF when the text
    // read used CR LF.
    std::string toString() const;
    // Writes the file atomically (see WriteFileAtomically); false when it could not.
    bool save(const std::string& path) const;

    bool hasSection(std::string_view section) const;
    bool hasKey(std::string_view section, std::string_view key) const;
    // The value of the first key of that name in the first section of that name: surrounding
    // blanks removed, then one pair of matching surrounding quotes; nullopt when absent.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    std::string readString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;
    // Decimal, or hexadecimal after "0x" or "$"; the fallback when absent or no integer.
    int readInt(std::string_view section, std::string_view key, int fallback) const;
    // True for any non-zero integer.
    bool readBool(std::string_view section, std::string_view key, bool fallback) const;
    // A decimal number with '.' or ',' as separator; the fallback when absent or no finite
    // number.
    double readFloat(std::string_view section, std::string_view key, double fallback) const;

    // Replaces the value of the first key of that name in the first section of that name,
    // or adds the key after the section's last key, or adds the section at the end.
    // Line breaks and NUL bytes in the value become blanks; a value that would not read back
    // unchanged (surrounding blanks or quotes) is written between double quotes.
    void writeString(std::string_view section, std::string_view key, std::string_view text);
    void writeInt(std::string_view section, std::string_view key, int number);
    void writeBool(std::string_view section, std::string_view key, bool flag);
    void writeFloat(std::string_view section, std::string_view key, double number);

    // Every key of the file in file order, with its section; keys before the first section
    // header and keys of a repeated section header are left out, as lookups ignore them.
    template <typename Visit>
    void forEachKey(Visit&& visit) const {
        std::vector<std::string_view> seen;
        bool active = false;
        std::string_view section;
        for (const Line& line : lines_) {
            if (line.kind == LineKind::Section) {
                section = line.name;
                active = !containsName(seen, section);
                if (active) seen.push_back(section);
            } else if (line.kind == LineKind::Key && active) {
                visit(section, std::string_view(line.name), std::string_view(line.value));
            }
        }
    }

  private:
    enum class LineKind { Other, Section, Key };
    struct Line {
        std::string raw;  // the line as read or written, without its line break
        LineKind kind = LineKind::Other;
        std::string name;   // section or key name, trimmed
        std::string value;  // key value, trimmed and unquoted
    };

    static Line parseLine(std::string line);
    static bool containsName(const std::vector<std::string_view>& names, std::string_view name);
    // Index of the first header of the section, or npos.
    std::size_t findSection(std::string_view section) const;
    // Index of the first key line in the section that starts at header, or npos.
    std::size_t findKey(std::size_t header, std::string_view key) const;

    std::vector<Line> lines_;
    bool crlf_ = false;
};

// Integer text as the profile reader reads it: optional sign, then decimal digits, or
// hexadecimal digits after "0x" or "$" (up to 32 bits, taken as a signed 32-bit pattern).
// Blanks around the text are ignored; anything else gives nullopt.
std::optional<int> ParseProfileInt(std::string_view text);
// Float text with the first ',' read as the decimal point; nullopt unless the whole text
// is one finite decimal number.
std::optional<double> ParseProfileFloat(std::string_view text);
// Up to 15 significant digits with '.' as decimal point, whatever the locale.
std::string FormatProfileFloat(double number);

// ASCII case-insensitive equality, as section and key names compare.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace norq::base
