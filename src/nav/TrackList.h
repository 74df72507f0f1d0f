// The own ship's tracks: the list of at most 200 recorded tracks with its list
// file, and the binary track files of 37-byte point records.
//
// List file, one line per track: "name,file,start,stop,seconds,points,visible\r\n"
// (an empty name is written as one space; visible is 0 or 1). Only lines with
// exactly six commas and at most 498 characters are taken; hidden tracks are
// read back as well. Track file, per point, little-endian: longitude and
// latitude (double, degrees), course, speed (knots) and heading (float; 511 not
// available), and the time of the point as 9 bytes of zero-terminated text.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace norq::nav {

inline constexpr int kMaxTracks = 200;
inline constexpr int kTrackRecordSize = 37;
inline constexpr int kTrackBlockRecords = 720;  // records read at a time
inline constexpr int kMaxTrackPoints = 32767;   // the list's 16-bit point count
inline constexpr std::size_t kMaxTrackListLine = 498;
inline constexpr float kTrackHeadingNotAvailable = 511.0f;
inline constexpr std::string_view kTrackListFile = "TrackList.csv";  // in NAV_Data/

struct TrackEntry {
    std::string name;
    std::string fileName;  // below the track folder
    std::string startTime;
    std::string stopTime;
    std::int32_t recordedSeconds = 0;
    std::int16_t pointCount = 0;
    bool visible = true;
    friend bool operator==(const TrackEntry&, const TrackEntry&) = default;
};

struct TrackRecord {
    double lon = 0.0;
    double lat = 0.0;
    float course = 0.0f;
    float speed = 0.0f;
    float heading = kTrackHeadingNotAvailable;
    std::array<char, 9> time{};  // always zero-terminated after decoding
    std::string_view timeText() const;
    void setTimeText(std::string_view text);
};

// One 37-byte record, and back; the decoded time text is always terminated.
void EncodeTrackRecord(const TrackRecord& record, std::span<std::uint8_t, kTrackRecordSize> out);
TrackRecord DecodeTrackRecord(std::span<const std::uint8_t, kTrackRecordSize> in);
std::string EncodeTrackFile(std::span<const TrackRecord> records);

// True for a name the editor accepts: it would come back from the list file as
// typed (no comma, no line break, no other control character).
bool TrackNameAcceptable(std::string_view name);
// A file name is only ever a plain name inside the track folder.
bool PlainTrackFileName(std::string_view fileName);

// "%03dh%02dm%02ds" of the recorded seconds.
std::string FormatRecordTime(std::int32_t seconds);

// The list file's text of the entries, and the entries of a list file's text
// (at most 200; bad lines are skipped).
std::string FormatTrackList(std::span<const TrackEntry> entries);
std::vector<TrackEntry> ParseTrackList(std::string_view text);

// Reads a track file in blocks of at most 720 records: at most the entry's point
// count and never beyond the whole records the file holds.
class TrackFileReader {
  public:
    TrackFileReader(const std::string& path, int pointCount);
    ~TrackFileReader();
    TrackFileReader(const TrackFileReader&) = delete;
    TrackFileReader& operator=(const TrackFileReader&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    // Records that will be read in all: min(point count, file size / 37).
    int total() const { return total_; }
    // The next block (empty at the end). The span stays valid until the next call.
    std::span<const TrackRecord> nextBlock();

  private:
    std::FILE* file_ = nullptr;
    int total_ = 0;
    int read_ = 0;
    std::vector<TrackRecord> block_;
    std::vector<std::uint8_t> bytes_;
};

// The first record of a track file, when there is one.
bool ReadFirstTrackRecord(const std::string& path, int pointCount, TrackRecord& out);

// Why a change of the list could not be kept.
enum class TrackSaveResult : std::uint8_t { Saved, ListFull, WriteFailed };

// The list of the own ship's tracks in the track folder (which ends with '/').
// Every change that the operator makes is written at once; the caller reports a
// failed write to the operator.
class TrackList {
  public:
    void setFolder(std::string folder) { folder_ = std::move(folder); }
    const std::string& folder() const { return folder_; }
    std::string listPath() const { return folder_ + std::string(kTrackListFile); }
    // The track file's path, or empty for a name that is not a plain file name.
    std::string trackPath(const TrackEntry& entry) const;

    // Reads the list file; a missing or unreadable file leaves the list empty.
    void load();
    bool save() const;

    int count() const { return static_cast<int>(entries_.size()); }
    bool valid(int index) const { return index >= 0 && index < count(); }
    const TrackEntry& operator[](int index) const {
        return entries_[static_cast<std::size_t>(index)];
    }
    std::span<const TrackEntry> entries() const { return entries_; }

    // Adds an entry (not saved); false when the list holds 200.
    bool add(TrackEntry entry);
    // Replaces an entry (not saved).
    void replace(int index, TrackEntry entry);
    // Flips the visible flag and saves.
    bool toggleVisible(int index);
    // Renames and saves; false (nothing changed) for a name the file could not keep.
    bool rename(int index, const std::string& name);
    // Removes the entry and its file, the following entries move up; saves.
    bool remove(int index);

  private:
    std::string folder_;
    std::vector<TrackEntry> entries_;
};

}  // namespace norq::nav
