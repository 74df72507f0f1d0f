// The markers: named points on the chart, at most 200, kept in "Markers.csv" in
// the data folder's NAV_Data/ folder.
//
// The file has one line per marker, "%s,%11.6f,%11.6f,\n": name, latitude,
// longitude, each followed by a comma. A line is taken only when it holds
// exactly three commas and both numbers; anything else is skipped, so that a
// damaged or foreign file costs the damaged lines and nothing more. What this
// writer writes, the reader reads back to the same bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace norq::nav {

inline constexpr int kMaxMarkers = 200;
inline constexpr int kMarkerNameLength = 22;  // bytes of the name, without the NUL
inline constexpr std::string_view kMarkerFileName = "Markers.csv";
// Lines longer than this (without the line break) are not markers of this writer.
inline constexpr std::size_t kMaxMarkerLine = 99;
// A marker file is a few kilobytes; anything far beyond is not one.
inline constexpr std::size_t kMaxMarkerFileBytes = 1 << 20;

struct MarkerRecord {
    char name[kMarkerNameLength + 1] = {};
    float longitude = 0.0f;         // degrees, east positive
    float latitude = 0.0f;          // degrees, north positive
    std::int16_t deviceIndex = -1;  // index in the transponder's list, -1 without

    std::string_view nameText() const { return name; }
    // Cuts the text to the name field (never inside a UTF-8 character); an empty
    // name becomes one space, as the file stores it.
    void setName(std::string_view text);
};

MarkerRecord MakeMarker(std::string_view name, double longitude, double latitude);

// True when the name can be kept in the file: no comma and no line break (they
// would split the record at the next reading).
bool MarkerNameAcceptable(std::string_view name);

// The degrees as the marker exchange carries them: millionths, truncated.
std::int64_t ToMillionths(float degrees);

class MarkerList {
  public:
    MarkerList();

    int count() const { return count_; }
    bool full() const { return count_ >= kMaxMarkers; }
    const MarkerRecord& at(int index) const { return records_[static_cast<std::size_t>(index)]; }
    MarkerRecord& at(int index) { return records_[static_cast<std::size_t>(index)]; }
    bool valid(int index) const { return index >= 0 && index < count_; }

    // False (and nothing changed) at 200 markers.
    bool add(const MarkerRecord& record);
    bool replace(int index, const MarkerRecord& record);
    // The following records move down; the freed last one is cleared.
    bool remove(int index);
    void clear();

    // Replaces the list with the markers of the file's text.
    void ParseFile(std::string_view text);
    std::string FileText() const;
    // A missing or unreadable file leaves the list empty. The temporary files
    // that saves cut short by a crash left beside the file are removed.
    void Load(const std::string& path);
    // Atomically; false when the file could not be written (the old one stays).
    bool Save(const std::string& path) const;

  private:
    std::array<MarkerRecord, kMaxMarkers> records_;
    std::int16_t count_ = 0;
};

}  // namespace norq::nav
