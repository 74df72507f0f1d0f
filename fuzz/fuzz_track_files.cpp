// Arbitrary bytes as the track list file and as a track file: read, written back
// and read again; the second reading must give the same bytes (what the viewer
// writes, it reads back unchanged).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "nav/TrackList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace norq::nav;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string list = FormatTrackList(ParseTrackList(text));
    if (ParseTrackList(list).size() > static_cast<std::size_t>(kMaxTracks)) __builtin_trap();
    if (FormatTrackList(ParseTrackList(list)) != list) __builtin_trap();

    std::vector<TrackRecord> records;
    for (std::size_t at = 0; at + kTrackRecordSize <= size; at += kTrackRecordSize) {
        records.push_back(DecodeTrackRecord(
            std::span<const std::uint8_t, kTrackRecordSize>(data + at, kTrackRecordSize)));
        if (records.back().timeText().size() > 8) __builtin_trap();
    }
    const std::string bytes = EncodeTrackFile(records);
    std::vector<TrackRecord> again;
    const auto* raw = reinterpret_cast<const std::uint8_t*>(bytes.data());
    for (std::size_t at = 0; at + kTrackRecordSize <= bytes.size(); at += kTrackRecordSize) {
        again.push_back(DecodeTrackRecord(
            std::span<const std::uint8_t, kTrackRecordSize>(raw + at, kTrackRecordSize)));
    }
    if (EncodeTrackFile(again) != bytes) __builtin_trap();
    return 0;
}
