#include "app/TargetSearch.h"

#include <array>
#include <cstdio>
#include <cstring>

namespace norq::app {

namespace {

// Upper-cases ASCII letters; other bytes (UTF-8 sequences) stay as they are.
char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool Contains(std::string_view haystack, std::string_view needle, bool caseSensitive) {
    if (needle.size() > haystack.size()) return false;
    for (std::size_t start = 0; start + needle.size() <= haystack.size(); ++start) {
        std::size_t i = 0;
        for (; i < needle.size(); ++i) {
            char a = haystack[start + i];
            char b = needle[i];
            if (!caseSensitive) {
                a = UpperAscii(a);
                b = UpperAscii(b);
            }
            if (a != b) break;
        }
        if (i == needle.size()) return true;
    }
    return false;
}

bool Matches(const ais::TargetRecord& record, std::string_view text, SearchMode mode,
             bool caseSensitive) {
    if (mode == SearchMode::Mmsi) {
        std::array<char, 16> digits{};
        std::snprintf(digits.data(), digits.size(), "%09u", record.mmsi);
        return Contains(digits.data(), text, true);
    }
    const std::size_t length = strnlen(record.name.data(), record.name.size());
    return Contains({record.name.data(), length}, text, caseSensitive);
}

}  // namespace

int FindTarget(const ais::TargetTable& table, int selected, std::string_view text, SearchMode mode,
               bool caseSensitive) {
    const int count = table.count();
    if (text.empty() || count <= 0) return -1;
    const int start = (selected >= 0 && selected < count) ? selected + 1 : 0;
    for (int step = 0; step < count; ++step) {
        const int index = (start + step) % count;
        if (Matches(table[index], text, mode, caseSensitive)) return index;
    }
    return -1;
}

}  // namespace norq::app
