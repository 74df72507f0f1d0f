// norq-ais health on a recording with tag-block receive times: the figures are
// timed by the file's own clock, and comment lines are not counted.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

std::string Tagged(long time, const std::string& sentence) {
    const std::string tag = "c:" + std::to_string(time);
    unsigned sum = 0;
    for (char c : tag)
        sum ^= static_cast<unsigned char>(c);
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", sum);
    return "\\" + tag + "*" + hex + "\\" + sentence + "\r\n";
}

std::string Output(const std::string& command) {
    std::string out;
    if (std::FILE* p = ::popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, p) != nullptr)
            out += buffer;
        ::pclose(p);
    }
    return out;
}

}  // namespace

TEST(HealthCommand, AFileIsTimedByItsReceiveTimes) {
    const std::string good = "!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26";
    const std::string bad = "!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*27";
    const std::string file = ::testing::TempDir() + "health-command.nmea";
    {
        std::ofstream out(file, std::ios::binary);
        out << Tagged(1700000000, good) << Tagged(1700000000, good) << "# a comment\r\n"
            << Tagged(1700000010, bad) << Tagged(1700000030, good);
    }
    const std::string report = Output(std::string(NORQ_AIS_TOOL) + " health " + file);
    EXPECT_NE(report.find("lines             4\n"), std::string::npos) << report;
    // Two sentences in the 30 whole seconds; the last one's second is not over.
    EXPECT_NE(report.find("sentences/s       0.1 over the last minute"), std::string::npos)
        << report;
    EXPECT_NE(report.find("last sentence     0 s ago"), std::string::npos) << report;
    EXPECT_NE(report.find("checksum rejects  1 in the last minute, 1 in all"), std::string::npos)
        << report;
    // The sample is the line as it was received, tag block included.
    EXPECT_NE(report.find("last error        checksum, 20 s ago: \\c:1700000010*5E\\" + bad),
              std::string::npos)
        << report;
    std::remove(file.c_str());
}
