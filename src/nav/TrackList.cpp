#include "nav/TrackList.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <optional>

#include "base/Files.h"

namespace norq::nav {

namespace {

// The list file holds 200 lines of at most 498 characters, plus line ends.
constexpr std::size_t kMaxListFileBytes = 1 << 20;

template <typename T>
void PutLittle(std::uint8_t* out, T value) {
    using U = std::conditional_t<sizeof(T) == 8, std::uint64_t, std::uint32_t>;
    const U bits = std::bit_cast<U>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        out[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

template <typename T>
T GetLittle(const std::uint8_t* in) {
    using U = std::conditional_t<sizeof(T) == 8, std::uint64_t, std::uint32_t>;
    U bits = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bits |= static_cast<U>(in[i]) << (8 * i);
    return std::bit_cast<T>(bits);
}

// A decimal integer as the list file writes it; anything else reads as 0.
std::int64_t ParseInteger(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{}) return 0;
    (void)end;
    return value;
}

std::optional<TrackEntry> ParseLine(std::string_view line) {
    if (line.size() > kMaxTrackListLine) return std::nullopt;
    if (std::count(line.begin(), line.end(), ',') != 6) return std::nullopt;
    std::array<std::string_view, 7> field;
    std::size_t at = 0;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const std::size_t comma = i + 1 < field.size() ? line.find(',', at) : line.size();
        field[i] = line.substr(at, comma - at);
        at = comma + 1;
    }
    TrackEntry e;
    e.name = field[0] == " " ? std::string() : std::string(field[0]);
    e.fileName = std::string(field[1]);
    e.startTime = std::string(field[2]);
    e.stopTime = std::string(field[3]);
    e.recordedSeconds = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(ParseInteger(field[4]), INT32_MIN, INT32_MAX));
    e.pointCount = static_cast<std::int16_t>(
        std::clamp<std::int64_t>(ParseInteger(field[5]), 0, kMaxTrackPoints));
    e.visible = ParseInteger(field[6]) != 0;
    // A line must come back from its own writing: numbers written anew (an
    // empty field becomes "0") may lengthen it beyond what is read.
    if (FormatTrackList(std::span<const TrackEntry>(&e, 1)).size() - 2 > kMaxTrackListLine) {
        return std::nullopt;
    }
    return e;
}

}  // namespace

// ---- Records ---------------------------------------------------------------------------

std::string_view TrackRecord::timeText() const {
    return {time.data(), strnlen(time.data(), time.size())};
}

void TrackRecord::setTimeText(std::string_view text) {
    time.fill('\0');
    std::memcpy(time.data(), text.data(), std::min(text.size(), time.size() - 1));
}

void EncodeTrackRecord(const TrackRecord& r, std::span<std::uint8_t, kTrackRecordSize> out) {
    PutLittle(out.data(), r.lon);
    PutLittle(out.data() + 8, r.lat);
    PutLittle(out.data() + 16, r.course);
    PutLittle(out.data() + 20, r.speed);
    PutLittle(out.data() + 24, r.heading);
    std::memcpy(out.data() + 28, r.time.data(), r.time.size());
    out[36] = 0;
}

TrackRecord DecodeTrackRecord(std::span<const std::uint8_t, kTrackRecordSize> in) {
    TrackRecord r;
    r.lon = GetLittle<double>(in.data());
    r.lat = GetLittle<double>(in.data() + 8);
    r.course = GetLittle<float>(in.data() + 16);
    r.speed = GetLittle<float>(in.data() + 20);
    r.heading = GetLittle<float>(in.data() + 24);
    std::memcpy(r.time.data(), in.data() + 28, r.time.size());
    r.time.back() = '\0';
    return r;
}

std::string EncodeTrackFile(std::span<const TrackRecord> records) {
    std::string bytes(records.size() * kTrackRecordSize, '\0');
    auto* out = reinterpret_cast<std::uint8_t*>(bytes.data());
    for (std::size_t i = 0; i < records.size(); ++i) {
        EncodeTrackRecord(records[i], std::span<std::uint8_t, kTrackRecordSize>(
                                          out + i * kTrackRecordSize, kTrackRecordSize));
    }
    return bytes;
}

// ---- Texts -----------------------------------------------------------------------------

bool TrackNameAcceptable(std::string_view name) {
    // A name longer than a list line could hold would lose the whole line.
    if (name.size() > 200) return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return c == ',' || u < 0x20 || u == 0x7F;
    });
}

bool PlainTrackFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of("/\\") == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

std::string FormatRecordTime(std::int32_t seconds) {
    const std::int64_t s = std::max<std::int64_t>(seconds, 0);
    char text[32];
    std::snprintf(text, sizeof text, "%03dh%02dm%02ds", static_cast<int>(s / 3600),
                  static_cast<int>(s / 60 % 60), static_cast<int>(s % 60));
    return text;
}

std::string FormatTrackList(std::span<const TrackEntry> entries) {
    std::string out;
    for (const TrackEntry& e : entries) {
        out += e.name.empty() ? std::string(" ") : e.name;
        out += ',' + e.fileName + ',' + e.startTime + ',' + e.stopTime + ',';
        out += std::to_string(e.recordedSeconds) + ',' + std::to_string(e.pointCount) + ',';
        out += e.visible ? "1\r\n" : "0\r\n";
    }
    return out;
}

std::vector<TrackEntry> ParseTrackList(std::string_view text) {
    std::vector<TrackEntry> entries;
    while (!text.empty() && entries.size() < static_cast<std::size_t>(kMaxTracks)) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (std::optional<TrackEntry> e = ParseLine(line)) entries.push_back(std::move(*e));
    }
    return entries;
}

// ---- Track files -----------------------------------------------------------------------

TrackFileReader::TrackFileReader(const std::string& path, int pointCount) {
    if (path.empty() || pointCount <= 0) return;
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) return;
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || !std::filesystem::is_regular_file(path, ec)) {
        std::fclose(file_);
        file_ = nullptr;
        return;
    }
    const std::uintmax_t whole = size / kTrackRecordSize;
    total_ = static_cast<int>(std::min<std::uintmax_t>(whole, static_cast<unsigned>(pointCount)));
}

TrackFileReader::~TrackFileReader() {
    if (file_ != nullptr) std::fclose(file_);
}

std::span<const TrackRecord> TrackFileReader::nextBlock() {
    if (file_ == nullptr || read_ >= total_) return {};
    const int n = std::min(kTrackBlockRecords, total_ - read_);
    bytes_.resize(static_cast<std::size_t>(n) * kTrackRecordSize);
    const std::size_t got =
        std::fread(bytes_.data(), kTrackRecordSize, static_cast<std::size_t>(n), file_);
    block_.resize(got);
    for (std::size_t i = 0; i < got; ++i) {
        block_[i] = DecodeTrackRecord(std::span<const std::uint8_t, kTrackRecordSize>(
            bytes_.data() + i * kTrackRecordSize, kTrackRecordSize));
    }
    // A file that shrank while read ends here.
    read_ = got < static_cast<std::size_t>(n) ? total_ : read_ + n;
    return block_;
}

bool ReadFirstTrackRecord(const std::string& path, int pointCount, TrackRecord& out) {
    TrackFileReader reader(path, std::min(pointCount, 1));
    const std::span<const TrackRecord> block = reader.nextBlock();
    if (block.empty()) return false;
    out = block.front();
    return true;
}

// ---- The list --------------------------------------------------------------------------

std::string TrackList::trackPath(const TrackEntry& entry) const {
    if (!PlainTrackFileName(entry.fileName)) return {};
    return folder_ + entry.fileName;
}

void TrackList::load() {
    entries_.clear();
    const std::optional<std::string> text = base::ReadFileLimited(listPath(), kMaxListFileBytes);
    if (text) entries_ = ParseTrackList(*text);
}

bool TrackList::save() const {
    return base::WriteFileAtomically(listPath(), FormatTrackList(entries_));
}

bool TrackList::add(TrackEntry entry) {
    if (count() >= kMaxTracks) return false;
    entries_.push_back(std::move(entry));
    return true;
}

void TrackList::replace(int index, TrackEntry entry) {
    if (valid(index)) entries_[static_cast<std::size_t>(index)] = std::move(entry);
}

bool TrackList::toggleVisible(int index) {
    if (!valid(index)) return true;
    TrackEntry& e = entries_[static_cast<std::size_t>(index)];
    e.visible = !e.visible;
    return save();
}

bool TrackList::rename(int index, const std::string& name) {
    if (!valid(index) || !TrackNameAcceptable(name)) return false;
    entries_[static_cast<std::size_t>(index)].name = name;
    return save();
}

bool TrackList::remove(int index) {
    if (!valid(index)) return true;
    // The list is written first: when that fails, the track stays listed and its
    // file stays where it is.
    const TrackEntry removed = entries_[static_cast<std::size_t>(index)];
    entries_.erase(entries_.begin() + index);
    if (!save()) {
        entries_.insert(entries_.begin() + index, removed);
        return false;
    }
    const std::string path = trackPath(removed);
    if (!path.empty()) std::remove(path.c_str());
    return true;
}

}  // namespace norq::nav
