// A reader for the flat JSON objects of gpsd's and this program's AIS output
// (one level, no nesting), for the differential tests.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace norq::test {

struct JsonValue {
    enum Kind { Null, Bool, Number, String } kind = Null;
    double number = 0;
    std::string text;
};

using JsonObject = std::map<std::string, JsonValue>;

inline bool ParseFlatJson(const std::string& s, JsonObject& out) {
    std::size_t i = 0;
    auto skip = [&] {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\r' || s[i] == '\n'))
            ++i;
    };
    auto string = [&](std::string& v) {
        if (i >= s.size() || s[i] != '"') return false;
        for (++i; i < s.size() && s[i] != '"'; ++i) {
            if (s[i] == '\\' && i + 1 < s.size()) ++i;
            v += s[i];
        }
        return i++ < s.size();
    };
    skip();
    if (i >= s.size() || s[i++] != '{') return false;
    for (;;) {
        skip();
        std::string key;
        if (!string(key)) return false;
        skip();
        if (i >= s.size() || s[i++] != ':') return false;
        skip();
        JsonValue v;
        if (s.compare(i, 4, "null") == 0) {
            i += 4;
        } else if (s.compare(i, 4, "true") == 0 || s.compare(i, 5, "false") == 0) {
            v.kind = JsonValue::Bool;
            v.number = s[i] == 't';
            i += s[i] == 't' ? 4 : 5;
        } else if (s[i] == '"') {
            v.kind = JsonValue::String;
            if (!string(v.text)) return false;
        } else {
            char* end = nullptr;
            v.kind = JsonValue::Number;
            v.number = std::strtod(s.c_str() + i, &end);
            if (end == s.c_str() + i) return false;
            i = static_cast<std::size_t>(end - s.c_str());
        }
        out[key] = v;
        skip();
        if (i < s.size() && s[i] == ',') {
            ++i;
            continue;
        }
        return i < s.size() && s[i] == '}';
    }
}

// Binary data "bits:hex" of both programs: the same bit count and the same
// bits (gpsd leaves whatever follows the data in its last byte).
inline bool SameData(const std::string& g, const std::string& ours) {
    const std::size_t gc = g.find(':'), oc = ours.find(':');
    if (gc == std::string::npos || oc == std::string::npos) return false;
    const long bits = std::strtol(g.c_str(), nullptr, 10);
    if (bits != std::strtol(ours.c_str(), nullptr, 10)) return false;
    std::string gh = g.substr(gc + 1), oh = ours.substr(oc + 1);
    if (gh.size() != oh.size()) return false;
    if (bits % 8 != 0 && !gh.empty()) {
        const unsigned mask = 0xFFu << (8 - bits % 8) & 0xFF;
        const unsigned last = std::strtoul(gh.substr(gh.size() - 2).c_str(), nullptr, 16) & mask;
        char buf[3];
        std::snprintf(buf, sizeof buf, "%02x", last);
        gh.replace(gh.size() - 2, 2, buf);
    }
    return gh == oh;
}

}  // namespace norq::test
