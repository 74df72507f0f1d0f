// The stored fairways: area notices (FI 22) and routes (FI 27) that the
// operator keeps and broadcasts or withdraws, numbered by linkage ID.
//
// Files, in the data folder's "Fairway/" folder: the list file
// "FairwayList.csv", one line per fairway, and one binary waypoint file per
// fairway (per waypoint: latitude and longitude as little-endian doubles, the
// leg distance into the point in metres as a float and its bearing as an
// int32, no header). Both are written atomically; reading stays inside the
// file and skips what does not parse.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace norq::messaging {

inline constexpr int kMaxLinkageId = 499;
inline constexpr std::size_t kMaxFairways = kMaxLinkageId;
inline constexpr std::size_t kMaxFairwayWaypoints = 64;
inline constexpr std::size_t kFairwayNameLength = 30;
inline constexpr std::size_t kFairwayFileNameLength = 34;
inline constexpr std::size_t kFairwayCreatedLength = 19;
inline constexpr int kFairwayMaxDuration = 262143;
inline constexpr std::string_view kFairwayFolder = "Fairway/";
inline constexpr std::string_view kFairwayListFile = "FairwayList.csv";

inline constexpr int kNoticeFairwayClosed = 18;
inline constexpr int kNoticeRecommendRoute = 120;

struct FairwayWaypoint {
    double longitude = 0;
    double latitude = 0;
    float legMetres = 0;  // the leg into this point; 0 for the first
    std::int32_t bearing = 0;
};

struct Fairway {
    std::vector<FairwayWaypoint> waypoints;
    int linkageId = 0;
    int fi = 22;
    int noticeDescription = kNoticeFairwayClosed;
    int areaShape = 3;
    float totalLength = 0;  // metres
    std::string name;
    std::string waypointFile;
    std::string created;
    bool visible = true;
    bool broadcast = false;
    bool spare = false;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    int duration = 60;
};

// Recomputes every leg's distance and bearing from the coordinates, and the
// total length.
void ComputeLegs(Fairway& f);

class FairwayList {
  public:
    std::size_t count() const { return items_.size(); }
    const Fairway& operator[](std::size_t i) const { return items_[i]; }
    Fairway& operator[](std::size_t i) { return items_[i]; }
    const std::vector<Fairway>& items() const { return items_; }

    int selected() const { return selected_; }
    void select(int index) { selected_ = index >= 0 && index < int(count()) ? index : -1; }
    Fairway* selectedFairway() { return selected_ >= 0 ? &items_[selected_] : nullptr; }

    // The lowest linkage ID from 1 to 499 that no fairway uses; 0 when none is free.
    int LowestFreeId() const;
    bool IdUsed(int id) const { return id >= 1 && id <= kMaxLinkageId && used_[id]; }
    // True when `id` may be given to the fairway at `index` (-1: a new one).
    bool IdAvailable(int id, int index) const;

    // Appends the fairway with a free linkage ID when it has none (or a
    // used one); the index, or -1 when the list is full.
    int Append(Fairway f);
    // Gives the fairway a new ID: the old one is freed. False when taken.
    bool SetLinkageId(std::size_t index, int id);
    void Remove(std::size_t index);
    void Clear();

    // The list file; deleted when the list is empty. False on a write failure.
    bool SaveList(const std::string& folder) const;
    bool SaveWaypoints(const std::string& folder, std::size_t index) const;
    // Replaces the list with the files' fairways and rebuilds the ID pool;
    // lines that do not parse, or repeat an ID, are skipped.
    void Load(const std::string& folder);

  private:
    void rebuildPool();

    std::vector<Fairway> items_;
    std::bitset<kMaxLinkageId + 1> used_;
    int selected_ = -1;
};

// Text of a list line and its parse (also used by the tests).
std::string FairwayListLine(const Fairway& f);
bool ParseFairwayListLine(std::string_view line, Fairway& out);
std::string EncodeWaypoints(const std::vector<FairwayWaypoint>& points);
std::vector<FairwayWaypoint> DecodeWaypoints(std::string_view bytes);

}  // namespace norq::messaging
