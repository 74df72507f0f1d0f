// ais-testgen: writes random AIS messages 1-27 as !AIVDM sentences.
//
//   ais-testgen [--seed N] [--count N] [--types 1,5,24]
//
// The same seed gives the same sentences. Message types are drawn evenly from
// the listed types (1-26 by default; 27 on request).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "AisTestGenerator.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: ais-testgen [--seed N] [--count N] [--types T,T,...]\n");
    return 2;
}

bool ParseTypes(std::string_view list, std::vector<int>& types) {
    types.clear();
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string item(list.substr(0, comma));
        const int t = std::atoi(item.c_str());
        if (t < 1 || t > 27) return false;
        types.push_back(t);
        list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
    }
    return !types.empty();
}

}  // namespace

int main(int argc, char** argv) {
    unsigned long long seed = 1;
    unsigned long long count = 1000;
    std::vector<int> types;
    for (int t = 1; t <= 26; ++t)
        types.push_back(t);
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (i + 1 >= argc) return Usage();
        const char* value = argv[++i];
        if (arg == "--seed") {
            seed = std::strtoull(value, nullptr, 10);
        } else if (arg == "--count") {
            count = std::strtoull(value, nullptr, 10);
        } else if (arg == "--types") {
            if (!ParseTypes(value, types)) return Usage();
        } else {
            return Usage();
        }
    }
    norq::tools::AisTestGenerator generator(seed);
    std::vector<std::string> lines;
    for (unsigned long long n = 0; n < count; ++n) {
        const int type = types[generator.below(static_cast<std::uint32_t>(types.size()))];
        lines.clear();
        generator.toSentences(generator.makeBits(type), lines);
        for (const std::string& line : lines)
            std::printf("%s\r\n", line.c_str());
    }
    return 0;
}
