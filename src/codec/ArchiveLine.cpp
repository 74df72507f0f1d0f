#include "codec/ArchiveLine.h"

#include <cstring>

#include "codec/Fields.h"

namespace norq::codec {

namespace {

// Unix milliseconds from a field of 9 to 13 digits (up to 10: seconds; 11
// to 13: milliseconds), or -1.
std::int64_t ReadUnixTimeMs(std::string_view digits) {
    if (digits.size() < 9 || digits.size() > 13) return kNoReceiveTime;
    std::int64_t v = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return kNoReceiveTime;
        v = v * 10 + (c - '0');
    }
    return digits.size() > 10 ? v : v * 1000;
}

// The "c:" time (milliseconds) of one tag block's content ("g:1-2-1604,c:1418169601*37"),
// when its checksum holds.
std::int64_t TagBlockTime(std::string_view content) {
    const std::size_t star = content.find('*');
    if (star == std::string_view::npos || star + 3 != content.size()) return kNoReceiveTime;
    const int hi = HexValue(content[star + 1]);
    const int lo = HexValue(content[star + 2]);
    unsigned sum = 0;
    for (std::size_t i = 0; i < star; ++i)
        sum ^= static_cast<unsigned char>(content[i]);
    if (hi < 0 || lo < 0 || sum != static_cast<unsigned>(hi * 16 + lo)) return kNoReceiveTime;
    const std::string_view fields = content.substr(0, star);
    std::size_t at = 0;
    while (at <= fields.size()) {
        std::size_t end = fields.find(',', at);
        if (end == std::string_view::npos) end = fields.size();
        const std::string_view field = fields.substr(at, end - at);
        if (field.starts_with("c:")) return ReadUnixTimeMs(field.substr(2));
        at = end + 1;
    }
    return kNoReceiveTime;
}

// A trailing Unix time (milliseconds): the last of the station fields after the checksum.
std::int64_t TrailingTime(std::string_view rest) {
    while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t' || rest.back() == '\r' ||
                             rest.back() == '\n')) {
        rest.remove_suffix(1);
    }
    if (rest.empty() || rest.front() != ',') return kNoReceiveTime;
    const std::size_t comma = rest.rfind(',');
    return ReadUnixTimeMs(rest.substr(comma + 1));
}

}  // namespace

bool SplitArchiveLine(std::string_view line, ArchiveLine& out) {
    out = ArchiveLine{};
    std::int64_t tagTime = kNoReceiveTime;
    // Tag blocks: "\...\" directly before the sentence (spaces before them allowed).
    for (;;) {
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line[first] != '\\') break;
        const std::size_t close = line.find('\\', first + 1);
        if (close == std::string_view::npos) return false;
        out.tagBlock = true;
        const std::int64_t t = TagBlockTime(line.substr(first + 1, close - first - 1));
        if (t != kNoReceiveTime) tagTime = t;
        line.remove_prefix(close + 1);
    }
    const std::size_t start = line.find_first_of("$!");
    if (start == std::string_view::npos) return false;
    const std::size_t star = line.find('*', start);
    if (star == std::string_view::npos || star + 2 >= line.size()) return false;
    out.sentence = line.substr(start, star + 3 - start);
    out.prefixLength = start;
    const std::string_view rest = line.substr(star + 3);
    out.trailingFields = rest.find_first_not_of(" \t\r\n") != std::string_view::npos;
    out.receiveTimeMs = tagTime != kNoReceiveTime ? tagTime : TrailingTime(rest);
    out.receiveTime =
        out.receiveTimeMs == kNoReceiveTime ? kNoReceiveTime : out.receiveTimeMs / 1000;
    return true;
}

std::size_t FormArchiveSentence(std::string_view line, char* out, std::size_t capacity,
                                std::int64_t& receiveTime) {
    ArchiveLine split;
    receiveTime = kNoReceiveTime;
    if (!SplitArchiveLine(line, split)) return 0;
    const std::size_t n = split.sentence.size();
    if (n + 2 > capacity) return 0;
    std::memcpy(out, split.sentence.data(), n);
    out[n] = '\r';
    out[n + 1] = '\n';
    receiveTime = split.receiveTime;
    return n + 2;
}

}  // namespace norq::codec
