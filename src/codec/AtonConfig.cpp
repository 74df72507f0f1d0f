// The AtoN configuration sentences: one generic parser and composer driven
// by a layout per formatter. Each field has a presence bit; the last field
// is the status, 'C' (command) or 'R' (reply).
#include <cstring>

#include "codec/FormatterTable.h"
#include "codec/GroupStores.h"

namespace norq::codec {

namespace {

enum class Kind : std::uint8_t {
    Mmsi,      // "%09ld"
    HexByte,   // "%02X"
    Two,       // "%02d"
    Four,      // "%04d"
    Number,    // "%d"
    Text,      // up to 20 characters
    Position,  // lat, N/S, lon, E/W: four sentence fields, one presence bit
};

struct AtonLayout {
    const char* name;
    std::array<Kind, kAtonMaxFields> kinds;
    int count;
};

using K = Kind;
constexpr K N = K::Number;
constexpr K T2 = K::Two;

// In the order of AtonFormatter.
constexpr AtonLayout kLayouts[] = {
    {"AAR", {K::Mmsi, T2, T2, T2, T2, N, N, N, N, N, N, N}, 12},
    {"ACE", {K::Mmsi, K::HexByte, T2, T2, T2, T2, K::Text, N}, 8},
    {"ACF", {K::Mmsi, K::Four, K::Position, T2, T2, T2, T2, T2, T2, T2, N}, 11},
    {"AFB", {K::Mmsi, T2, T2, T2, T2, T2, T2}, 7},
    {"AFC", {N}, 1},
    {"AID", {K::Mmsi, N, N, N}, 4},
    {"AKE", {K::Mmsi, N, N}, 3},
    {"ARW", {K::Mmsi, N, N, N, N, N}, 6},
    {"MCR", {K::Mmsi, N}, 2},
    {"MPR", {K::Mmsi, N, N, N, N, N, N}, 7},
    {"TSP", {K::Mmsi, N, N, N, N, N, N, N, N, N, N, N}, 12},
    {"VER", {N, N, K::Text, K::Text, K::Text, K::Text, K::Text, K::Text, K::Text}, 9},
};

const AtonLayout* LayoutOf(std::string_view name) {
    const int i = AtonFormatterIndex(name);
    return i < 0 ? nullptr : &kLayouts[i];
}

std::int64_t ReadHex(std::string_view field) {
    std::int64_t v = 0;
    for (std::size_t i = 0; i < field.size() && i < 8; ++i) {
        const int d = HexValue(field[i]);
        if (d < 0) break;
        v = v * 16 + d;
    }
    return v;
}

}  // namespace

int AtonFormatterIndex(std::string_view name) {
    for (int i = 0; i < static_cast<int>(AtonFormatter::Count); ++i) {
        if (name == kLayouts[i].name) return i;
    }
    return -1;
}

ParseStatus ParseAtonConfig(const FieldList& f, SentenceRecord& r) {
    const AtonLayout* layout = LayoutOf(r.formatterText());
    if (layout == nullptr) return ParseStatus::UnknownFormatter;
    AtonConfig c;
    int at = 0;
    for (int i = 0; i < layout->count; ++i) {
        const std::string_view field = f[at];
        const Kind kind = layout->kinds[i];
        if (kind == Kind::Position) {
            if (!IsEmptyField(field)) c.present |= 1u << i;
            c.pos = ReadPosition(f, at);
            at += 4;
            continue;
        }
        ++at;
        if (IsEmptyField(field)) continue;
        c.present |= 1u << i;
        if (kind == Kind::Text) {
            CopyText(field, c.texts[i]);
        } else {
            c.values[i] = kind == Kind::HexByte ? ReadHex(field) : ReadWhole(field);
        }
    }
    const std::string_view status = f[at];
    if (status.size() != 1 || (status[0] != 'C' && status[0] != 'R')) return ParseStatus::Range;
    c.status = status[0];
    r.body = c;
    return ParseStatus::Ok;
}

bool ComposeAtonConfig(const SentenceRecord& r, SentenceText& out) {
    const AtonConfig* c = r.as<AtonConfig>();
    const AtonLayout* layout = LayoutOf(r.formatterText());
    if (c == nullptr || layout == nullptr || (c->status != 'C' && c->status != 'R')) return false;
    AppendHeader(r, out);
    for (int i = 0; i < layout->count; ++i) {
        const bool present = c->present & (1u << i);
        const long long v = c->values[i];
        switch (layout->kinds[i]) {
            case Kind::Position:
                if (present) {
                    AppendPosition(out, c->pos);
                } else {
                    out.append(",,,");
                }
                break;
            case Kind::Mmsi:
                if (present) out.appendf("%09lld", v);
                break;
            case Kind::HexByte:
                if (present) out.appendf("%02llX", v & 0xFF);
                break;
            case Kind::Two:
                if (present) out.appendf("%02lld", v);
                break;
            case Kind::Four:
                if (present) out.appendf("%04lld", v);
                break;
            case Kind::Number:
                if (present) out.appendf("%lld", v);
                break;
            case Kind::Text:
                if (present) out.append(c->texts[i].data());
                break;
        }
        out.append(',');
    }
    out.append(static_cast<char>(c->status));
    return true;
}

}  // namespace norq::codec
