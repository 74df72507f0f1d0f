// A reader for the flat JSON objects of gpsd's and this program's AIS output
// (one level, no nesting), for the differential tests.
#pragma once

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

}  // namespace norq::test
