#include "messaging/FairwayList.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "base/Files.h"
#include "messaging/AreaNotice.h"

namespace norq::messaging {
namespace {

constexpr std::size_t kListFileLimit = 1 << 20;
constexpr std::size_t kWaypointBytes = 8 + 8 + 4 + 4;
constexpr std::size_t kListFields = 17;

// A name field of the list: no separators or line breaks, bounded length.
std::string FieldText(std::string_view s, std::size_t limit) {
    std::string out(s.substr(0, limit));
    for (char& c : out) {
        if (c == ',' || c == '\n' || c == '\r') c = ' ';
    }
    return out;
}

bool ToInt(std::string_view s, int lo, int hi, int& out) {
    int v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc{} || end != s.data() + s.size() || v < lo || v > hi) return false;
    out = v;
    return true;
}

// A waypoint file name stays inside the fairway folder.
bool SafeFileName(std::string_view s) {
    return !s.empty() && s.size() <= kFairwayFileNameLength && s.front() != '.' &&
           s.find_first_of("/\\") == std::string_view::npos;
}

template <class T>
void Put(std::string& out, T v) {
    char b[sizeof v];
    std::memcpy(b, &v, sizeof v);
    out.append(b, sizeof v);
}

template <class T>
T Get(const char* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

bool EnsureFolder(const std::string& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return std::filesystem::is_directory(folder, ec);
}

}  // namespace

void ComputeLegs(Fairway& f) {
    f.totalLength = 0;
    for (std::size_t i = 0; i < f.waypoints.size(); ++i) {
        FairwayWaypoint& w = f.waypoints[i];
        if (i == 0) {
            w.legMetres = 0;
            w.bearing = 0;
            continue;
        }
        const FairwayWaypoint& p = f.waypoints[i - 1];
        w.legMetres =
            static_cast<float>(LegMetres(p.longitude, p.latitude, w.longitude, w.latitude));
        const double b = LegBearing(p.longitude, p.latitude, w.longitude, w.latitude);
        w.bearing = b == kBearingNotAvailable ? 0 : static_cast<std::int32_t>(std::lround(b)) % 360;
        f.totalLength += w.legMetres;
    }
}

int FairwayList::LowestFreeId() const {
    for (int id = 1; id <= kMaxLinkageId; ++id) {
        if (!used_[id]) return id;
    }
    return 0;
}

bool FairwayList::IdAvailable(int id, int index) const {
    if (id < 1 || id > kMaxLinkageId) return false;
    if (index >= 0 && index < int(count()) && items_[index].linkageId == id) return true;
    return !used_[id];
}

int FairwayList::Append(Fairway f) {
    if (items_.size() >= kMaxFairways) return -1;
    if (!IdAvailable(f.linkageId, -1)) f.linkageId = LowestFreeId();
    if (f.linkageId == 0) return -1;
    used_[f.linkageId] = true;
    if (f.waypointFile.empty() || !SafeFileName(f.waypointFile)) {
        f.waypointFile = "Fairway_" + std::to_string(f.linkageId) + ".bin";
    }
    ComputeLegs(f);
    items_.push_back(std::move(f));
    return static_cast<int>(items_.size() - 1);
}

bool FairwayList::SetLinkageId(std::size_t index, int id) {
    if (index >= count() || !IdAvailable(id, static_cast<int>(index))) return false;
    used_[items_[index].linkageId] = false;
    items_[index].linkageId = id;
    used_[id] = true;
    return true;
}

void FairwayList::Remove(std::size_t index) {
    if (index >= count()) return;
    used_[items_[index].linkageId] = false;
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    if (selected_ >= int(count())) selected_ = -1;
    used_[0] = false;
}

void FairwayList::Clear() {
    items_.clear();
    used_.reset();
    selected_ = -1;
}

void FairwayList::rebuildPool() {
    used_.reset();
    for (const Fairway& f : items_)
        used_[f.linkageId] = true;
}

std::string FairwayListLine(const Fairway& f) {
    std::string name = FieldText(f.name, kFairwayNameLength);
    if (name.empty()) name = " ";
    char tail[160];
    std::snprintf(tail, sizeof tail, "%d,%d,%d,%d,%s,%zu,%d,%d,%d,%d,%d,%d,%d,%d,%d,\n",
                  f.linkageId, f.fi, f.areaShape, f.noticeDescription,
                  FieldText(f.created, kFairwayCreatedLength).c_str(), f.waypoints.size(),
                  f.visible ? 1 : 0, f.broadcast ? 1 : 0, f.spare ? 1 : 0, f.year, f.month, f.day,
                  f.hour, f.minute, f.duration);
    return name + "," + FieldText(f.waypointFile, kFairwayFileNameLength) + "," + tail;
}

bool ParseFairwayListLine(std::string_view line, Fairway& out) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    std::string_view field[kListFields];
    std::size_t n = 0;
    while (n < kListFields) {
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos) break;
        field[n++] = line.substr(0, comma);
        line.remove_prefix(comma + 1);
    }
    if (n < kListFields || !line.empty()) return false;
    Fairway f;
    int waypointCount = 0, visible = 0, broadcast = 0, spare = 0;
    const bool ok =
        ToInt(field[2], 1, kMaxLinkageId, f.linkageId) && ToInt(field[3], 22, 27, f.fi) &&
        (f.fi == 22 || f.fi == 27) && ToInt(field[4], 0, 4, f.areaShape) &&
        ToInt(field[5], 0, 127, f.noticeDescription) &&
        ToInt(field[7], 0, int(kMaxFairwayWaypoints), waypointCount) &&
        ToInt(field[8], 0, 1, visible) && ToInt(field[9], 0, 1, broadcast) &&
        ToInt(field[10], 0, 1, spare) && ToInt(field[11], 0, 9999, f.year) &&
        ToInt(field[12], 0, 12, f.month) && ToInt(field[13], 0, 31, f.day) &&
        ToInt(field[14], 0, 24, f.hour) && ToInt(field[15], 0, 60, f.minute) &&
        ToInt(field[16], 1, kFairwayMaxDuration, f.duration) && SafeFileName(field[1]) &&
        field[0].size() <= kFairwayNameLength && field[6].size() <= kFairwayCreatedLength;
    if (!ok) return false;
    f.name = field[0] == " " ? std::string() : std::string(field[0]);
    f.waypointFile = std::string(field[1]);
    f.created = std::string(field[6]);
    f.visible = visible == 1;
    f.broadcast = broadcast == 1;
    f.spare = spare == 1;
    out = std::move(f);
    return true;
}

std::string EncodeWaypoints(const std::vector<FairwayWaypoint>& points) {
    std::string out;
    out.reserve(points.size() * kWaypointBytes);
    for (const FairwayWaypoint& w : points) {
        Put(out, w.latitude);
        Put(out, w.longitude);
        Put(out, w.legMetres);
        Put(out, w.bearing);
    }
    return out;
}

std::vector<FairwayWaypoint> DecodeWaypoints(std::string_view bytes) {
    std::vector<FairwayWaypoint> out;
    const std::size_t n = std::min(bytes.size() / kWaypointBytes, kMaxFairwayWaypoints);
    for (std::size_t i = 0; i < n; ++i) {
        const char* p = bytes.data() + i * kWaypointBytes;
        FairwayWaypoint w;
        w.latitude = Get<double>(p);
        w.longitude = Get<double>(p + 8);
        w.legMetres = Get<float>(p + 16);
        w.bearing = Get<std::int32_t>(p + 20);
        if (!(std::fabs(w.latitude) <= 90.0) || !(std::fabs(w.longitude) <= 180.0)) continue;
        out.push_back(w);
    }
    return out;
}

bool FairwayList::SaveList(const std::string& folder) const {
    const std::string path = folder + std::string(kFairwayListFile);
    if (items_.empty()) {
        std::error_code ec;
        std::filesystem::remove(path, ec);
        return !ec;
    }
    std::string text;
    for (const Fairway& f : items_)
        text += FairwayListLine(f);
    return EnsureFolder(folder) && base::WriteFileAtomically(path, text);
}

bool FairwayList::SaveWaypoints(const std::string& folder, std::size_t index) const {
    if (index >= count() || !SafeFileName(items_[index].waypointFile)) return false;
    return EnsureFolder(folder) &&
           base::WriteFileAtomically(folder + items_[index].waypointFile,
                                     EncodeWaypoints(items_[index].waypoints));
}

void FairwayList::Load(const std::string& folder) {
    Clear();
    const auto text = base::ReadFileLimited(folder + std::string(kFairwayListFile), kListFileLimit);
    if (!text) return;
    std::string_view rest = *text;
    while (!rest.empty() && items_.size() < kMaxFairways) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        Fairway f;
        if (!ParseFairwayListLine(line, f) || used_[f.linkageId]) continue;
        const auto bytes = base::ReadFileLimited(folder + f.waypointFile,
                                                 kMaxFairwayWaypoints * kWaypointBytes + 64);
        if (bytes) f.waypoints = DecodeWaypoints(*bytes);
        ComputeLegs(f);
        used_[f.linkageId] = true;
        items_.push_back(std::move(f));
    }
    rebuildPool();
}

}  // namespace norq::messaging
