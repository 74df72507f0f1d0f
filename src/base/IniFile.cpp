#include "base/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace norq::base {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

bool isQuote(char c) {
    return c == '"' || c == '\'';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Cuts a text to at most kMaxValueBytes without splitting a UTF-8 sequence.
std::string capValue(std::string_view text) {
    if (text.size() <= IniFile::kMaxValueBytes) return std::string(text);
    std::size_t cut = IniFile::kMaxValueBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return std::string(text.substr(0, cut));
}

std::string unquote(std::string_view text) {
    text = trim(text);
    if (text.size() >= 2 && isQuote(text.front()) && text.front() == text.back()) {
        text = text.substr(1, text.size() - 2);
    }
    return capValue(text);
}

// The value text that reads back as the given value.
std::string encodeValue(std::string_view text) {
    std::string value(text);
    for (char& c : value) {
        if (c == '\r' || c == '\n' || c == '\0') c = ' ';
    }
    const bool quote =
        !value.empty() &&
        (isBlank(value.front()) || isBlank(value.back()) ||
         (value.size() >= 2 && isQuote(value.front()) && value.front() == value.back()));
    return quote ? '"' + value + '"' : value;
}

}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

IniFile::Line IniFile::parseLine(std::string text) {
    Line line;
    line.raw = std::move(text);
    const std::string_view body = trim(line.raw);
    if (body.empty() || body.front() == ';' || body.front() == '#') return line;
    if (body.front() == '[') {
        const std::size_t close = body.find(']');
        if (close != std::string_view::npos) {
            line.kind = LineKind::Section;
            line.name = std::string(trim(body.substr(1, close - 1)));
        }
        return line;
    }
    const std::size_t equals = body.find('=');
    if (equals == std::string_view::npos) return line;
    const std::string_view name = trim(body.substr(0, equals));
    if (name.empty()) return line;
    line.kind = LineKind::Key;
    line.name = std::string(name);
    line.value = unquote(body.substr(equals + 1));
    return line;
}

bool IniFile::containsName(const std::vector<std::string_view>& names, std::string_view name) {
    for (std::string_view known : names) {
        if (EqualsIgnoringCase(known, name)) return true;
    }
    return false;
}

void IniFile::parse(std::string_view text) {
    lines_.clear();
    crlf_ = false;
    while (text.starts_with(kUtf8Bom))
        text.remove_prefix(kUtf8Bom.size());
    const std::size_t firstBreak = text.find('\n');
    crlf_ = firstBreak != std::string_view::npos && firstBreak > 0 && text[firstBreak - 1] == '\r';
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view piece = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        while (!piece.empty() && piece.back() == '\r')
            piece.remove_suffix(1);
        lines_.push_back(parseLine(std::string(piece)));
    }
}

IniFile::LoadResult IniFile::load(const std::string& path) {
    lines_.clear();
    crlf_ = false;
    bool missing = false;
    const std::optional<std::string> text = ReadFileLimited(path, kMaxFileBytes, &missing);
    if (!text) return missing ? LoadResult::Missing : LoadResult::Failed;
    parse(*text);
    return LoadResult::Loaded;
}

std::string IniFile::toString() const {
    const std::string_view lineEnd = crlf_ ? "\r\n" : "\n";
    std::string text;
    for (const Line& line : lines_) {
        text += line.raw;
        text += lineEnd;
    }
    return text;
}

bool IniFile::save(const std::string& path) const {
    return WriteFileAtomically(path, toString());
}

std::size_t IniFile::findSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == LineKind::Section && EqualsIgnoringCase(lines_[i].name, section)) {
            return i;
        }
    }
    return std::string::npos;
}

std::size_t IniFile::findKey(std::size_t header, std::string_view key) const {
    for (std::size_t i = header + 1; i < lines_.size(); ++i) {
        if (lines_[i].kind == LineKind::Section) break;
        if (lines_[i].kind == LineKind::Key && EqualsIgnoringCase(lines_[i].name, key)) return i;
    }
    return std::string::npos;
}

bool IniFile::hasSection(std::string_view section) const {
    return findSection(section) != std::string::npos;
}

bool IniFile::hasKey(std::string_view section, std::string_view key) const {
    return value(section, key).has_value();
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
    const std::size_t header = findSection(section);
    if (header == std::string::npos) return std::nullopt;
    const std::size_t at = findKey(header, key);
    if (at == std::string::npos) return std::nullopt;
    return lines_[at].value;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
    std::optional<std::string> text = value(section, key);
    return text ? std::move(*text) : std::string(fallback);
}

int IniFile::readInt(std::string_view section, std::string_view key, int fallback) const {
    const std::optional<std::string> text = value(section, key);
    if (!text) return fallback;
    return ParseProfileInt(*text).value_or(fallback);
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool fallback) const {
    return readInt(section, key, fallback ? 1 : 0) != 0;
}

double IniFile::readFloat(std::string_view section, std::string_view key, double fallback) const {
    const std::optional<std::string> text = value(section, key);
    if (!text) return fallback;
    return ParseProfileFloat(*text).value_or(fallback);
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view text) {
    std::size_t header = findSection(section);
    if (header == std::string::npos) {
        if (!lines_.empty() && !trim(lines_.back().raw).empty()) lines_.push_back(Line{});
        lines_.push_back(parseLine('[' + std::string(section) + ']'));
        header = lines_.size() - 1;
    }
    const std::size_t at = findKey(header, key);
    if (at != std::string::npos) {
        lines_[at] = parseLine(lines_[at].name + '=' + encodeValue(text));
        return;
    }
    std::size_t insertAfter = header;
    for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != LineKind::Section;
         ++i) {
        if (lines_[i].kind == LineKind::Key) insertAfter = i;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAfter + 1),
                  parseLine(std::string(key) + '=' + encodeValue(text)));
}

void IniFile::writeInt(std::string_view section, std::string_view key, int number) {
    writeString(section, key, std::to_string(number));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool flag) {
    writeString(section, key, flag ? "1" : "0");
}

void IniFile::writeFloat(std::string_view section, std::string_view key, double number) {
    writeString(section, key, FormatProfileFloat(number));
}

std::optional<int> ParseProfileInt(std::string_view text) {
    text = trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    }
    std::uint64_t magnitude = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, magnitude, base);
    if (text.empty() || error != std::errc{} || stop != end) return std::nullopt;
    if (base == 16) {
        if (magnitude > 0xFFFFFFFFu) return std::nullopt;
        const auto bits = static_cast<std::uint32_t>(negative ? 0u - magnitude : magnitude);
        return static_cast<std::int32_t>(bits);
    }
    if (magnitude > (negative ? 2147483648u : 2147483647u)) return std::nullopt;
    return static_cast<int>(negative ? -static_cast<std::int64_t>(magnitude)
                                     : static_cast<std::int64_t>(magnitude));
}

std::optional<double> ParseProfileFloat(std::string_view text) {
    std::string number(trim(text));
    const std::size_t comma = number.find(',');
    if (comma != std::string::npos) number[comma] = '.';
    std::string_view digits = number;
    const bool plus = !digits.empty() && digits.front() == '+';
    if (plus) digits.remove_prefix(1);
    // Only plain decimal numbers: no "nan", "inf" or doubled signs.
    const std::size_t first = !plus && !digits.empty() && digits.front() == '-' ? 1 : 0;
    if (digits.size() <= first) return std::nullopt;
    const char lead = digits[first];
    if (!(lead == '.' || (lead >= '0' && lead <= '9'))) return std::nullopt;
    double value = 0.0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    if (error != std::errc{} || stop != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string FormatProfileFloat(double number) {
    if (!std::isfinite(number) || number == 0.0) return "0";
    char buffer[64];
    const auto [stop, error] =
        std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::general, 15);
    if (error != std::errc{}) return "0";
    return std::string(buffer, stop);
}

}  // namespace norq::base
