#include "ScenarioValues.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace norq::sim {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> SplitList(std::string_view text, char separator) {
    std::vector<std::string_view> out;
    while (true) {
        const std::size_t cut = text.find(separator);
        const std::string_view piece = Trim(text.substr(0, cut));
        if (!piece.empty()) out.push_back(piece);
        if (cut == std::string_view::npos) break;
        text.remove_prefix(cut + 1);
    }
    return out;
}

bool ReadDouble(std::string_view text, double& out, std::string& error) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, out);
    if (text.empty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(out)) {
        error = "not a number: '" + std::string(text) + "'";
        return false;
    }
    return true;
}

bool ReadInteger(std::string_view text, std::int64_t& out, std::string& error) {
    text = Trim(text);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, out, base);
    if (text.empty() || result.ec != std::errc() || result.ptr != end) {
        error = "not a whole number: '" + std::string(text) + "'";
        return false;
    }
    return true;
}

bool ReadBool(std::string_view text, bool& out, std::string& error) {
    text = Trim(text);
    std::string lower;
    for (char c : text)
        lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    if (lower == "yes" || lower == "true" || lower == "on" || lower == "1") {
        out = true;
        return true;
    }
    if (lower == "no" || lower == "false" || lower == "off" || lower == "0") {
        out = false;
        return true;
    }
    error = "not yes or no: '" + std::string(text) + "'";
    return false;
}

bool ReadDuration(std::string_view text, double& out, std::string& error) {
    const std::vector<std::string_view> parts = SplitList(Trim(text), ':');
    if (parts.empty() || parts.size() > 3) {
        error = "not a duration: '" + std::string(text) + "'";
        return false;
    }
    double total = 0.0;
    for (std::string_view part : parts) {
        double v = 0.0;
        if (!ReadDouble(part, v, error) || v < 0.0) {
            error = "not a duration: '" + std::string(text) + "'";
            return false;
        }
        total = total * 60.0 + v;
    }
    out = total;
    return true;
}

namespace {

bool ReadCoordinate(std::string_view text, double limit, char positive, char negative, double& out,
                    std::string& error) {
    text = Trim(text);
    double sign = 1.0;
    if (!text.empty()) {
        const char last = static_cast<char>(std::toupper(static_cast<unsigned char>(text.back())));
        if (last == positive || last == negative) {
            if (last == negative) sign = -1.0;
            text.remove_suffix(1);
        }
    }
    if (!ReadDouble(text, out, error)) return false;
    out *= sign;
    if (std::fabs(out) > limit) {
        error = "coordinate out of range: '" + std::string(text) + "'";
        return false;
    }
    return true;
}

}  // namespace

bool ReadPoint(std::string_view text, GeoPoint& out, std::string& error) {
    text = Trim(text);
    std::size_t cut = text.find_first_of(" \t,");
    if (cut == std::string_view::npos) {
        error = "a position needs a latitude and a longitude: '" + std::string(text) + "'";
        return false;
    }
    return ReadCoordinate(text.substr(0, cut), 90.0, 'N', 'S', out.lat, error) &&
           ReadCoordinate(text.substr(cut + 1), 180.0, 'E', 'W', out.lon, error);
}

bool ReadPointList(std::string_view text, std::vector<GeoPoint>& out, std::string& error) {
    out.clear();
    for (std::string_view piece : SplitList(text, ';')) {
        GeoPoint p;
        if (!ReadPoint(piece, p, error)) return false;
        out.push_back(p);
    }
    if (out.empty()) {
        error = "no positions given";
        return false;
    }
    return true;
}

bool ReadRange(std::string_view text, double& lo, double& hi, std::string& error) {
    text = Trim(text);
    const std::size_t cut = text.find('-', 1);
    if (cut == std::string_view::npos) {
        if (!ReadDouble(text, lo, error)) return false;
        hi = lo;
        return true;
    }
    if (!ReadDouble(text.substr(0, cut), lo, error) || !ReadDouble(text.substr(cut + 1), hi, error))
        return false;
    if (hi < lo) {
        error = "range upside down: '" + std::string(text) + "'";
        return false;
    }
    return true;
}

bool ReadIntegerList(std::string_view text, std::vector<int>& out, std::string& error) {
    out.clear();
    for (std::string_view piece : SplitList(text, ',')) {
        std::int64_t v = 0;
        if (!ReadInteger(piece, v, error)) return false;
        out.push_back(static_cast<int>(v));
    }
    if (out.empty()) {
        error = "empty list";
        return false;
    }
    return true;
}

bool ReadWindows(std::string_view text, std::vector<TimeWindow>& out, std::string& error) {
    out.clear();
    for (std::string_view piece : SplitList(text, ';')) {
        const std::size_t cut = piece.find('-');
        TimeWindow w;
        if (cut == std::string_view::npos || !ReadDuration(piece.substr(0, cut), w.from, error) ||
            !ReadDuration(piece.substr(cut + 1), w.to, error) || w.to < w.from) {
            error = "not a time window 'from-to': '" + std::string(piece) + "'";
            return false;
        }
        out.push_back(w);
    }
    return true;
}

bool ReadDeviceId(std::string_view text, std::array<std::uint8_t, 3>& out, std::string& error) {
    text = Trim(text);
    std::int64_t v = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), v, 16);
    if (text.size() != 6 || result.ec != std::errc() || result.ptr != text.data() + text.size()) {
        error = "a device id is six hexadecimal digits: '" + std::string(text) + "'";
        return false;
    }
    out = {static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
           static_cast<std::uint8_t>(v)};
    return true;
}

bool ReadDimensions(std::string_view text, VesselInfo& info, std::string& error) {
    std::vector<std::string_view> parts = SplitList(Trim(text), ' ');
    int values[4] = {};
    if (parts.size() != 4) {
        error = "dimensions are 'bow stern port starboard' in metres";
        return false;
    }
    for (int i = 0; i < 4; ++i) {
        std::int64_t v = 0;
        if (!ReadInteger(parts[static_cast<std::size_t>(i)], v, error)) return false;
        const int limit = i < 2 ? 511 : 63;
        if (v < 0 || v > limit) {
            error = "dimension out of range: " + std::to_string(v);
            return false;
        }
        values[i] = static_cast<int>(v);
    }
    info.toBow = values[0];
    info.toStern = values[1];
    info.toPort = values[2];
    info.toStarboard = values[3];
    return true;
}

bool ReadEta(std::string_view text, VesselInfo& info, std::string& error) {
    text = Trim(text);
    int mo = 0, d = 0, h = 0, mi = 0;
    if (std::sscanf(std::string(text).c_str(), "%d-%d %d:%d", &mo, &d, &h, &mi) != 4 || mo < 1 ||
        mo > 12 || d < 1 || d > 31 || h < 0 || h > 23 || mi < 0 || mi > 59) {
        error = "an ETA is 'MM-DD hh:mm': '" + std::string(text) + "'";
        return false;
    }
    info.etaMonth = mo;
    info.etaDay = d;
    info.etaHour = h;
    info.etaMinute = mi;
    return true;
}

bool ReadCrewEvents(std::string_view text, std::vector<CrewEvent>& out, std::string& error) {
    static constexpr struct {
        std::string_view name;
        CrewEventKind kind;
    } kNames[] = {{"online", CrewEventKind::Online},
                  {"sos", CrewEventKind::Sos},
                  {"cancel_sos", CrewEventKind::CancelSos},
                  {"low_battery", CrewEventKind::LowBattery},
                  {"lost", CrewEventKind::Lost},
                  {"off", CrewEventKind::Off},
                  {"silent", CrewEventKind::Silent},
                  {"battery", CrewEventKind::Battery},
                  {"zone", CrewEventKind::Zone}};
    out.clear();
    for (std::string_view piece : SplitList(text, ';')) {
        const std::size_t cut = piece.find_first_of(" \t");
        CrewEvent e;
        if (cut == std::string_view::npos || !ReadDuration(piece.substr(0, cut), e.at, error)) {
            error = "a crew event is '<time> <event>': '" + std::string(piece) + "'";
            return false;
        }
        std::string_view name = Trim(piece.substr(cut + 1));
        // "battery 0xBE" and "zone 5A0001" carry a value after the name.
        const std::size_t argCut = name.find_first_of(" \t");
        const std::string_view arg =
            argCut == std::string_view::npos ? std::string_view{} : Trim(name.substr(argCut + 1));
        if (argCut != std::string_view::npos) name = name.substr(0, argCut);
        bool known = false;
        for (const auto& n : kNames) {
            if (n.name == name) {
                e.kind = n.kind;
                known = true;
            }
        }
        if (!known) {
            error = "unknown crew event '" + std::string(name) +
                    "' (online, sos, cancel_sos, low_battery, lost, off, silent, battery N, "
                    "zone ID)";
            return false;
        }
        const bool wantsArg = e.kind == CrewEventKind::Battery || e.kind == CrewEventKind::Zone;
        if (wantsArg != !arg.empty()) {
            error = "crew event '" + std::string(piece) + "': only battery and zone take a value";
            return false;
        }
        if (e.kind == CrewEventKind::Battery) {
            std::int64_t value = 0;
            if (!ReadInteger(arg, value, error)) return false;
            if (value < 0 || value > 255) {
                error = "a battery value is 0..255";
                return false;
            }
            e.battery = static_cast<int>(value);
        }
        if (e.kind == CrewEventKind::Zone && !ReadDeviceId(arg, e.zone, error)) return false;
        if (!out.empty() && e.at < out.back().at) {
            error = "crew events must be in time order";
            return false;
        }
        out.push_back(e);
    }
    return true;
}

std::string AisText(std::string_view text, std::size_t maxLength) {
    std::string out;
    for (char c : text) {
        if (out.size() >= maxLength) break;
        const int u = std::toupper(static_cast<unsigned char>(c));
        // The 6-bit alphabet: '@' to '_' and ' ' to '?'.
        if ((u >= 64 && u <= 95) || (u >= 32 && u <= 63)) out.push_back(static_cast<char>(u));
    }
    return out;
}

}  // namespace norq::sim
