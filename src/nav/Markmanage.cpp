#include "nav/Markmanage.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

#include "base/Files.h"

namespace norq::nav {

namespace {

// A decimal number filling the whole field (blanks around it allowed), finite.
std::optional<double> ReadNumber(std::string_view field) {
    while (!field.empty() && field.front() == ' ')
        field.remove_prefix(1);
    while (!field.empty() && (field.back() == ' ' || field.back() == '\r'))
        field.remove_suffix(1);
    if (field.empty() || field.size() > 40) return std::nullopt;
    char text[48];
    std::memcpy(text, field.data(), field.size());
    text[field.size()] = '\0';
    // Only plain decimal notation: no hexadecimal, no "nan" or "inf".
    for (char c : field) {
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+')) return std::nullopt;
    }
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end != text + field.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

// One line without its line break; false when it holds no marker.
bool ParseLine(std::string_view line, MarkerRecord& out) {
    std::size_t commas[3] = {};
    int found = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != ',') continue;
        if (found == 3) return false;
        commas[found++] = i;
    }
    if (found != 3) return false;
    const std::string_view name = line.substr(0, commas[0]);
    const std::string_view latField = line.substr(commas[0] + 1, commas[1] - commas[0] - 1);
    const std::string_view lonField = line.substr(commas[1] + 1, commas[2] - commas[1] - 1);
    const std::optional<double> lat = ReadNumber(latField);
    const std::optional<double> lon = ReadNumber(lonField);
    if (!lat || !lon) return false;
    // A position off the globe is not one this system writes.
    if (std::fabs(*lat) > 90.0 || std::fabs(*lon) > 180.0) return false;
    out = MakeMarker(name, *lon, *lat);
    return true;
}

// The temporaries of base::WriteFileAtomically are the file's name followed by
// ".new-" and six characters; one left behind is a save that never finished.
void RemoveStaleTemporaries(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path file(path);
    const std::string prefix = file.filename().string() + ".new-";
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() == prefix.size() + 6 && name.starts_with(prefix) &&
            it->is_regular_file(error)) {
            fs::remove(it->path(), error);
        }
    }
}

}  // namespace

void MarkerRecord::setName(std::string_view text) {
    std::size_t n = std::min(text.size(), static_cast<std::size_t>(kMarkerNameLength));
    // Back off to the start of a UTF-8 character when the cut falls inside one.
    if (n < text.size()) {
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
            --n;
    }
    std::memcpy(name, text.data(), n);
    name[n] = '\0';
    // A NUL inside the text ends the name, as the record keeps it.
    if (name[0] == '\0' || std::strcmp(name, "\n") == 0) std::strcpy(name, " ");
}

MarkerRecord MakeMarker(std::string_view name, double longitude, double latitude) {
    MarkerRecord r;
    r.setName(name);
    r.longitude = static_cast<float>(longitude);
    r.latitude = static_cast<float>(latitude);
    r.deviceIndex = -1;
    return r;
}

bool MarkerNameAcceptable(std::string_view name) {
    return name.find_first_of(",\r\n") == std::string_view::npos;
}

std::int64_t ToMillionths(float degrees) {
    const double value = static_cast<double>(degrees) * 1000000.0;
    if (!std::isfinite(value) || std::fabs(value) > 2.0e9) return 0;
    return static_cast<std::int64_t>(std::trunc(value));
}

MarkerList::MarkerList() {
    clear();
}

bool MarkerList::add(const MarkerRecord& record) {
    if (full()) return false;
    records_[static_cast<std::size_t>(count_)] = record;
    ++count_;
    return true;
}

bool MarkerList::replace(int index, const MarkerRecord& record) {
    if (!valid(index)) return false;
    records_[static_cast<std::size_t>(index)] = record;
    return true;
}

bool MarkerList::remove(int index) {
    if (!valid(index)) return false;
    for (int i = index; i + 1 < count_; ++i)
        records_[static_cast<std::size_t>(i)] = records_[static_cast<std::size_t>(i + 1)];
    --count_;
    records_[static_cast<std::size_t>(count_)] = MarkerRecord{};
    return true;
}

void MarkerList::clear() {
    records_.fill(MarkerRecord{});
    count_ = 0;
}

void MarkerList::ParseFile(std::string_view text) {
    clear();
    std::size_t at = 0;
    while (at < text.size() && !full()) {
        const std::size_t end = text.find('\n', at);
        // A last line without its line break is not taken.
        if (end == std::string_view::npos) break;
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (line.size() > kMaxMarkerLine) continue;
        MarkerRecord record;
        if (ParseLine(line, record)) add(record);
    }
}

std::string MarkerList::FileText() const {
    std::string text;
    text.reserve(static_cast<std::size_t>(count_) * 48);
    char line[96];
    for (int i = 0; i < count_; ++i) {
        const MarkerRecord& r = at(i);
        const char* name = r.name[0] == '\0' ? " " : r.name;
        const int n =
            std::snprintf(line, sizeof line, "%s,%11.6f,%11.6f,\n", name,
                          static_cast<double>(r.latitude), static_cast<double>(r.longitude));
        if (n > 0) text.append(line, static_cast<std::size_t>(std::min<int>(n, sizeof line - 1)));
    }
    return text;
}

void MarkerList::Load(const std::string& path) {
    clear();
    RemoveStaleTemporaries(path);
    const std::optional<std::string> text = base::ReadFileLimited(path, kMaxMarkerFileBytes);
    if (text) ParseFile(*text);
}

bool MarkerList::Save(const std::string& path) const {
    return base::WriteFileAtomically(path, FileText());
}

}  // namespace norq::nav
