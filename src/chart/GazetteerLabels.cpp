#include "chart/GazetteerLabels.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace norq::chart {

bool PassesScaleFilter(int scaleIndex, int labelClass, int level) {
    const int k = scaleIndex;
    if (labelClass == 1 || labelClass == 2) {
        if (k < 3 && level == 1) return false;
        if (k >= 5 && level == 0) return false;
        if (k >= 7 && level == 1) return false;
        return true;
    }
    if (k <= 1) return false;
    if (k <= 3) return level == 0;
    if (k == 4) return level <= 1;
    if (k <= 6) return level <= 2;
    return true;
}

std::int32_t DeclutterThreshold(float ringDistanceNm) {
    const double a = static_cast<double>(ringDistanceNm) * 1000000.0 / 60.0 / 60.0 * 12.0;
    return static_cast<std::int32_t>(std::trunc(a));
}

int CopyLabelName(std::string_view name, char (&out)[kLabelNameBytes]) {
    std::size_t n = name.size();
    if (n > kLabelNameBytes - 1) {
        n = kLabelNameBytes - 1;
        // Do not split a UTF-8 sequence: step back over continuation bytes.
        while (n > 0 && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80)
            --n;
    }
    if (n > 0) std::memcpy(out, name.data(), n);
    out[n] = '\0';
    return static_cast<int>(n);
}

void GazetteerLabels::collect(const GazetteerReader& reader, double top, double bottom, double left,
                              double right, int scaleIndex, int language) {
    count_ = 0;
    scaleIndex_ = scaleIndex;
    language_ = language;
    if (!reader.isOpen()) return;
    reader.visit(reader.cellRange(top, bottom, left, right), *this);
}

bool GazetteerLabels::record(const GazetteerRecord& record) {
    if (PassesScaleFilter(scaleIndex_, record.labelClass(), record.level())) add(record);
    return count_ < kMaxLabels;
}

bool GazetteerLabels::add(const GazetteerRecord& record) {
    if (count_ >= kMaxLabels) return false;
    Label& label = labels_[static_cast<std::size_t>(count_++)];
    label.flags = record.flags;
    label.lon = record.lon;
    label.lat = record.lat;
    label.nameLength = CopyLabelName(record.chosenName(language_), label.name);
    label.link = kLinkNone;
    label.drawn = false;
    return true;
}

bool GazetteerLabels::collides(int s, int j, std::int32_t threshold) const {
    const Label& a = labels_[static_cast<std::size_t>(s)];
    const Label& b = labels_[static_cast<std::size_t>(j)];
    const std::int64_t dLat = std::llabs(static_cast<std::int64_t>(a.lat) - b.lat);
    const std::int64_t dLon = std::llabs(static_cast<std::int64_t>(a.lon) - b.lon);
    return dLat < threshold && dLon < static_cast<std::int64_t>(threshold) * a.nameLength;
}

// Each label links to one colliding label; of a linked pair the one with the
// smaller flags byte is suppressed (on equal flags the later one), and the label
// its partner linked onwards to is suppressed too. Sea and strait names (classes
// 1 and 2) start no links of their own.
void GazetteerLabels::declutter(float ringDistanceNm) {
    const std::int32_t a = DeclutterThreshold(ringDistanceNm);
    for (int i = 0; i < count_; ++i)
        labels_[static_cast<std::size_t>(i)].link = kLinkNone;
    for (int s = 0; s < count_; ++s) {
        Label& ls = labels_[static_cast<std::size_t>(s)];
        if (ls.labelClass() != 1 && ls.labelClass() != 2) {
            for (int j = s + 1; j < count_; ++j) {
                if (!collides(s, j, a)) continue;
                Label& lj = labels_[static_cast<std::size_t>(j)];
                if (ls.link == kLinkNone) {
                    lj.link = s;
                    ls.link = j;
                } else if (ls.link >= s) {
                    lj.link = ls.link;
                    ls.link = j;
                } else {
                    ls.link = kLinkSuppressed;
                }
            }
            if (ls.link > 0) {
                Label& l1 = labels_[static_cast<std::size_t>(ls.link)];
                if (ls.flags < l1.flags) {
                    ls.link = kLinkSuppressed;
                } else {
                    l1.link = kLinkSuppressed;
                }
                const int j2 = l1.link;
                if (j2 != kLinkNone && j2 != kLinkSuppressed && j2 != s) {
                    labels_[static_cast<std::size_t>(j2)].link = kLinkSuppressed;
                }
            }
        }
        ls.drawn = ls.link != kLinkSuppressed;
    }
}

}  // namespace norq::chart
