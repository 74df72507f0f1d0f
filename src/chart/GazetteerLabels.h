// The labels of one chart redraw: records of the visible cells that pass the
// scale filter, at most 200, each with its chosen name, then decluttered so that
// colliding labels do not overprint. Fixed storage, allocated once.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "chart/Gazetteer.h"

namespace norq::chart {

inline constexpr int kMaxLabels = 200;
inline constexpr int kLabelNameBytes = 100;  // 99 bytes and a terminator
inline constexpr int kLinkNone = -1;
inline constexpr int kLinkSuppressed = -99;

// Whether a record of a class and level shows at a scale index (0..14).
bool PassesScaleFilter(int scaleIndex, int labelClass, int level);

// Collision threshold: the latitude extent of 12 pixels at a ring distance, in
// millionths of a degree.
std::int32_t DeclutterThreshold(float ringDistanceNm);

// Copies a name into a label's area, cut at a character boundary to fit 99 bytes.
int CopyLabelName(std::string_view name, char (&out)[kLabelNameBytes]);

struct Label {
    std::uint8_t flags = 0;
    std::int32_t lon = 0;
    std::int32_t lat = 0;
    char name[kLabelNameBytes] = {};
    int nameLength = 0;
    int link = kLinkNone;
    bool drawn = false;

    int labelClass() const { return flags & 0x3F; }
    int level() const { return flags >> 6; }
    std::string_view text() const { return {name, static_cast<std::size_t>(nameLength)}; }
};

class GazetteerLabels final : private GazetteerVisitor {
  public:
    // Collects the labels of the cells covering the plain view bounds.
    void collect(const GazetteerReader& reader, double top, double bottom, double left,
                 double right, int scaleIndex, int language);
    // Adds one record as collect() would (used by collect and by tests).
    bool add(const GazetteerRecord& record);
    void clear() { count_ = 0; }
    // Sets link and drawn of every label by the declutter rule.
    void declutter(float ringDistanceNm);

    int size() const { return count_; }
    const Label& operator[](int i) const { return labels_[static_cast<std::size_t>(i)]; }

  private:
    bool record(const GazetteerRecord& record) override;
    bool collides(int s, int j, std::int32_t threshold) const;

    std::array<Label, kMaxLabels> labels_{};
    int count_ = 0;
    int scaleIndex_ = 0;
    int language_ = 0;
};

}  // namespace norq::chart
