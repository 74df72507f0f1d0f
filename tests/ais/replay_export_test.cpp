// norq-ais replay --export on a recording made here: the own ship from GNSS
// sentences and targets from VDM sentences, with the expected range, bearing,
// CPA and TCPA of each target computed independently (spherical trigonometry
// and a local east/north frame), not with the viewer's own geometry.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "SentenceLines.h"
#include "TrackerFakes.h"
#include "ais/AisEncoder.h"

using namespace norq::ais;
using norq::test::Checksummed;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kNmPerDegree = 111.12 / 1.852;  // 60 nm per degree of latitude

struct Vessel {
    std::uint32_t mmsi;
    double lon, lat, sog, cog;
};

std::string Vdm(const Vessel& v) {
    AisMessage m = norq::test::PositionReport(v.mmsi, v.lon, v.lat, static_cast<float>(v.sog),
                                              static_cast<float>(v.cog));
    AisBitBuffer bits{};
    EXPECT_TRUE(PackAisMessage(m, bits));
    const ArmouredPayload p = ArmourPayload(bits);
    return Checksummed("AIVDM,1,1,,A," + std::string(p.view()) + "," + std::to_string(p.fillBits),
                       '!');
}

std::string Nmea(double value, bool latitude) {
    const double a = std::fabs(value);
    const int degrees = static_cast<int>(a);
    char text[32];
    std::snprintf(text, sizeof text, latitude ? "%02d%09.6f,%c" : "%03d%09.6f,%c", degrees,
                  (a - degrees) * 60.0,
                  latitude ? (value < 0 ? 'S' : 'N') : (value < 0 ? 'W' : 'E'));
    return text;
}

double Radians(double d) {
    return d * kPi / 180.0;
}

// Great-circle distance (nm) and initial bearing (degrees) on the sphere.
double DistanceNm(const Vessel& a, const Vessel& b) {
    const double dLat = Radians(b.lat - a.lat);
    const double dLon = Radians(b.lon - a.lon);
    const double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(Radians(a.lat)) * std::cos(Radians(b.lat)) * std::sin(dLon / 2) *
                         std::sin(dLon / 2);
    return 2 * std::asin(std::sqrt(h)) * 180.0 / kPi * kNmPerDegree;
}

double BearingDeg(const Vessel& a, const Vessel& b) {
    const double y = std::sin(Radians(b.lon - a.lon)) * std::cos(Radians(b.lat));
    const double x =
        std::cos(Radians(a.lat)) * std::sin(Radians(b.lat)) -
        std::sin(Radians(a.lat)) * std::cos(Radians(b.lat)) * std::cos(Radians(b.lon - a.lon));
    return std::fmod(std::atan2(y, x) * 180.0 / kPi + 360.0, 360.0);
}

// CPA (nm) and TCPA (minutes) by straight-line motion in an east/north frame.
std::pair<double, double> Cpa(const Vessel& own, const Vessel& t) {
    const double east = (t.lon - own.lon) * kNmPerDegree * std::cos(Radians(own.lat));
    const double north = (t.lat - own.lat) * kNmPerDegree;
    const double vx = t.sog * std::sin(Radians(t.cog)) - own.sog * std::sin(Radians(own.cog));
    const double vy = t.sog * std::cos(Radians(t.cog)) - own.sog * std::cos(Radians(own.cog));
    const double v2 = vx * vx + vy * vy;
    const double hours = v2 < 1e-12 ? 0.0 : -(east * vx + north * vy) / v2;
    return {std::hypot(east + vx * hours, north + vy * hours), hours * 60.0};
}

std::vector<std::vector<std::string>> ReadCsv(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    std::vector<std::vector<std::string>> rows;
    std::string line;
    std::istringstream lines(all.str());
    while (std::getline(lines, line)) {
        EXPECT_FALSE(line.empty() || line.back() != '\r') << "CR LF line ends";
        if (!line.empty()) line.pop_back();
        std::vector<std::string> cells;
        std::string cell;
        for (char c : line) {
            if (c == ',') {
                cells.push_back(cell);
                cell.clear();
            } else {
                cell += c;
            }
        }
        rows.push_back(cells);
    }
    return rows;
}

}  // namespace

TEST(ReplayExport, RangesBearingsAndCpasMatchAnIndependentComputation) {
    const Vessel own{211999999, 1.5, 51.0, 12.0, 30.0};
    const std::vector<Vessel> targets = {
        {211000001, 1.5, 51.1, 10.0, 180.0},    // ahead, meeting
        {211000002, 1.62, 51.05, 8.0, 270.0},   // crossing from starboard
        {211000003, 1.30, 50.95, 12.0, 30.0},   // parallel course
        {211000004, 1.40, 51.08, 15.0, 315.0},  // moving away
        {211000005, 1.55, 51.02, 0.0, 0.0},     // stopped, close
    };
    const std::string dir = ::testing::TempDir();
    const std::string recording = dir + "replay-export.nmea";
    const std::string csv = dir + "replay-export.csv";
    {
        std::ofstream out(recording, std::ios::binary);
        out << Checksummed("GPRMC,120000.00,A," + Nmea(own.lat, true) + "," + Nmea(own.lon, false) +
                           ",12.0,30.0,091226,,,A");
        for (const Vessel& v : targets)
            out << Vdm(v);
    }
    const std::string command =
        std::string(NORQ_AIS_TOOL) + " replay " + recording + " --export " + csv + " > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);

    const auto rows = ReadCsv(csv);
    ASSERT_EQ(rows.size(), targets.size() + 2);
    EXPECT_EQ(rows[0][7], "RANGE");
    EXPECT_EQ(rows[1][0], "Own");
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const Vessel& t = targets[i];
        const std::vector<std::string>& row = rows[i + 2];
        SCOPED_TRACE(t.mmsi);
        ASSERT_EQ(row.size(), 23u);
        EXPECT_EQ(row[1], std::to_string(t.mmsi));
        const double range = std::atof(row[7].c_str());
        const double bearing = std::atof(row[8].c_str());
        EXPECT_NEAR(range, DistanceNm(own, t), 0.005 * DistanceNm(own, t) + 0.01);
        EXPECT_NEAR(bearing, BearingDeg(own, t), 0.3);
        const auto [cpa, tcpa] = Cpa(own, t);
        if (tcpa < 0) {
            EXPECT_EQ(row[12], "Pass") << "a closest point behind us";
        } else {
            EXPECT_NEAR(std::atof(row[12].c_str()), cpa, 0.02 + 0.01 * cpa);
            EXPECT_NEAR(std::atof(row[13].c_str()), tcpa, 0.2 + 0.01 * tcpa);
        }
    }
}
