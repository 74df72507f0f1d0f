// Builds well-formed sentence lines for the tests: start character, body,
// checksum and CR LF.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace norq::test {

inline std::string Checksummed(std::string_view body, char start = '$') {
    unsigned sum = 0;
    for (char c : body)
        sum ^= static_cast<unsigned char>(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum & 0xFF);
    return std::string(1, start) + std::string(body) + tail;
}

}  // namespace norq::test
