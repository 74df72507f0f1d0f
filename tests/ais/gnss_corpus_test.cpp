// Recordings of real GNSS receivers (tests/fixtures/gpsd, see PROVENANCE-GNSS.md)
// replayed into the own ship. Each line is also read here on its own, by a
// small reader that knows only the NMEA 0183 4.11 framing and field counts:
// no GNSS line that reader accepts may be refused, and the own position after
// the replay must be the recording's own last valid fix.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ais/OwnShip.h"
#include "ais/SentenceIntake.h"

using namespace norq::ais;

namespace {

std::vector<std::string> Split(const std::string& text, char at) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, at))
        parts.push_back(part);
    if (!text.empty() && text.back() == at) parts.emplace_back();
    return parts;
}

// The fields after the address of an NMEA 0183 sentence that frames and
// checksums correctly and fits 82 characters with CR LF; empty otherwise.
bool ReadSentence(const std::string& line, std::string& address, std::vector<std::string>& fields) {
    if (line.size() < 9 || line.size() + 2 > 82 || (line[0] != '$' && line[0] != '!')) return false;
    const std::size_t star = line.size() - 3;
    if (line[star] != '*') return false;
    unsigned sum = 0;
    for (std::size_t i = 1; i < star; ++i)
        sum ^= static_cast<unsigned char>(line[i]);
    unsigned given = 0;
    if (std::sscanf(line.c_str() + star + 1, "%2X", &given) != 1 || given != sum) return false;
    std::vector<std::string> parts = Split(line.substr(1, star - 1), ',');
    address = parts.front();
    fields.assign(parts.begin() + 1, parts.end());
    return address.size() == 5;
}

// Field counts of NMEA 0183 4.11 and the older layouts it keeps accepting.
bool FieldCountAccepted(const std::string& formatter, std::size_t n) {
    if (formatter == "GGA") return n == 14;
    if (formatter == "GLL") return n == 6 || n == 7;
    if (formatter == "RMC") return n >= 11 && n <= 13;
    if (formatter == "VTG") return n == 8 || n == 9;
    if (formatter == "GSA") return n == 17 || n == 18;
    if (formatter == "GSV") return n >= 3 && n <= 20 && ((n - 3) % 4 == 0 || (n - 3) % 4 == 1);
    if (formatter == "ZDA") return n == 6;
    if (formatter == "HDT") return n == 2;
    if (formatter == "GNS") return n == 12 || n == 13;
    return false;
}

double Degrees(const std::string& value, const std::string& hemisphere) {
    const double x = std::stod(value);
    const double d = std::floor(x / 100.0) + std::fmod(x, 100.0) / 60.0;
    return hemisphere == "S" || hemisphere == "W" ? -d : d;
}

struct Fix {
    bool seen = false;
    double lat = 0.0;
    double lon = 0.0;
};

// The position of a GGA of quality 1-5, or of an RMC or GLL with status A and
// a mode other than N.
void ReadFix(const std::string& formatter, const std::vector<std::string>& f, Fix& fix) {
    int at = -1;
    if (formatter == "GGA" && !f[5].empty() && std::stoi(f[5]) >= 1 && std::stoi(f[5]) <= 5) at = 1;
    if (formatter == "RMC" && f[1] == "A" && (f.size() < 12 || f[11] != "N")) at = 2;
    if (formatter == "GLL" && f[5] == "A" && (f.size() < 7 || f[6] != "N")) at = 0;
    if (at < 0 || f[at].empty() || f[at + 2].empty()) return;
    fix = {true, Degrees(f[at], f[at + 1]), Degrees(f[at + 2], f[at + 3])};
}

struct Replay {
    ManualClock clock;
    norq::codec::SentenceCodec codec;
    TargetTracker tracker{clock};
    OwnShip own{codec, tracker};
    SentenceIntake intake{codec, {&tracker, &own, nullptr, nullptr, nullptr}};
};

class GnssCorpus : public ::testing::TestWithParam<const char*> {};

TEST_P(GnssCorpus, EveryStandardLineIsTakenAndTheOwnShipEndsOnTheLastFix) {
    std::ifstream in(std::string(NORQ_FIXTURES) + "/gpsd/" + GetParam(), std::ios::binary);
    ASSERT_TRUE(in.is_open());
    std::stringstream all;
    all << in.rdbuf();

    auto replay = std::make_unique<Replay>();
    Fix expected;
    std::set<GnssSystem> systems;  // of the GSV sentences read
    int standard = 0;
    int taken = 0;
    for (std::string line : Split(all.str(), '\n')) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        replay->intake.ReceiveLine(line + "\r\n", false);
        const bool accepted = replay->intake.lastStatus() == norq::codec::ParseStatus::Ok;

        std::string address;
        std::vector<std::string> fields;
        if (!ReadSentence(line, address, fields)) continue;
        const std::string formatter = address.substr(2);
        if (!FieldCountAccepted(formatter, fields.size())) continue;
        ++standard;
        taken += accepted;
        EXPECT_TRUE(accepted) << line;
        ReadFix(formatter, fields, expected);
        if (formatter == "GSV" && fields.size() > 3 && !fields[3].empty()) {
            systems.insert(SystemOfTalker(address.substr(0, 2)));
        }
    }
    std::printf("[ corpus   ] %-20s %4d standard GNSS lines, %4d taken\n", GetParam(), standard,
                taken);
    EXPECT_GT(standard, 0);

    const TargetRecord& own = replay->tracker.table().own();
    if (expected.seen) {
        EXPECT_EQ(own.ownPositionValid, 1);
        EXPECT_NEAR(own.latitude, expected.lat, 1e-5);
        EXPECT_NEAR(own.longitude, expected.lon, 1e-5);
    } else {
        EXPECT_EQ(own.ownPositionValid, 0);
    }
    // Every constellation of the recording's GSVs is in the satellite list.
    std::set<GnssSystem> listed;
    for (const SatelliteEntry& s : replay->own.satellites())
        listed.insert(s.system);
    for (GnssSystem s : systems)
        EXPECT_TRUE(listed.count(s)) << GnssSystemName(s);
}

INSTANTIATE_TEST_SUITE_P(Receivers, GnssCorpus,
                         ::testing::Values("furuno_gl_ga.log", "garmin-geko201.log", "quectel.log",
                                           "sirfstarv-nmea.log", "telit-he910.log", "ublox-8.log",
                                           "ais-nmea.log"),
                         [](const auto& info) {
                             std::string name;
                             for (const char* c = info.param; *c != '.'; ++c) {
                                 if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                             }
                             return name;
                         });

}  // namespace
