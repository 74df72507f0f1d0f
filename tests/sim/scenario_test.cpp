// The scenario file: values, sections, and the errors a mistyped file gives.
#include <gtest/gtest.h>

#include <set>

#include "FleetBuilder.h"
#include "ScenarioParser.h"
#include "ScenarioValues.h"
#include "SimClock.h"
#include "SimTestSupport.h"

namespace norq::sim {
namespace {

std::vector<std::string> Errors(std::string_view text) {
    Scenario s;
    std::vector<std::string> errors;
    ParseScenario(text, s, errors);
    return errors;
}

TEST(ScenarioValues, ReadsPositionsDurationsAndLists) {
    std::string error;
    GeoPoint p;
    ASSERT_TRUE(ReadPoint("51.05N 1.45W", p, error)) << error;
    EXPECT_DOUBLE_EQ(p.lat, 51.05);
    EXPECT_DOUBLE_EQ(p.lon, -1.45);
    ASSERT_TRUE(ReadPoint("-33.9 18.4", p, error));
    EXPECT_DOUBLE_EQ(p.lat, -33.9);
    EXPECT_FALSE(ReadPoint("91 0", p, error));
    EXPECT_FALSE(ReadPoint("51.0", p, error));

    double d = 0;
    ASSERT_TRUE(ReadDuration("1:02:03", d, error));
    EXPECT_DOUBLE_EQ(d, 3723.0);
    ASSERT_TRUE(ReadDuration("25:00", d, error));
    EXPECT_DOUBLE_EQ(d, 1500.0);
    EXPECT_FALSE(ReadDuration("-5", d, error));

    std::vector<TimeWindow> w;
    ASSERT_TRUE(ReadWindows("100-130; 25:00-26:15", w, error)) << error;
    ASSERT_EQ(w.size(), 2u);
    EXPECT_DOUBLE_EQ(w[1].from, 1500.0);
    EXPECT_DOUBLE_EQ(w[1].to, 1575.0);
    EXPECT_FALSE(ReadWindows("130-100", w, error));

    std::int64_t n = 0;
    ASSERT_TRUE(ReadInteger("0xD2", n, error));
    EXPECT_EQ(n, 0xD2);
    std::array<std::uint8_t, 3> id{};
    ASSERT_TRUE(ReadDeviceId("93fa2f", id, error));
    EXPECT_EQ(id[0], 0x93);
    EXPECT_EQ(id[2], 0x2F);
    EXPECT_FALSE(ReadDeviceId("93FA2", id, error));

    EXPECT_EQ(AisText("Sea spray~!", 20), "SEA SPRAY!");
}

TEST(ScenarioParser, ReadsEverySectionOfTheTestScenario) {
    const Scenario s = test::SmallScenario();
    EXPECT_EQ(s.name, "test");
    EXPECT_EQ(s.seed, 7u);
    EXPECT_EQ(s.startEpoch, EpochFromUtc(2025, 1, 2, 3, 4, 0));
    EXPECT_FALSE(s.interleave);
    EXPECT_EQ(s.ownShip.mmsi, 235000001u);
    EXPECT_EQ(s.ownShip.info.toBow, 100);
    EXPECT_EQ(s.ownShip.info.etaDay, 3);
    EXPECT_EQ(s.transponder.model, "NQ-TEST");
    ASSERT_EQ(s.crewDevices.size(), 2u);
    EXPECT_EQ(s.crewDevices[0].events.size(), 4u);
    EXPECT_EQ(s.crewDevices[1].type, 2);
    ASSERT_EQ(s.stations.size(), 9u);
    EXPECT_EQ(s.stations[1].navStatus, 1);
    EXPECT_EQ(s.stations[2].kind, StationKind::ClassB);
    EXPECT_TRUE(s.stations[5].virtualAton);
    EXPECT_EQ(s.stations[5].info.name, "VIRTUAL WRECK MARK WITH A LONG NAM");  // 20 + 14
    EXPECT_TRUE(s.stations[7].testMode);
    EXPECT_DOUBLE_EQ(s.stations[8].activeFrom, 30.0);
    ASSERT_EQ(s.safetyMessages.size(), 2u);
    EXPECT_EQ(s.safetyMessages[1].to, 235000001u);
    ASSERT_EQ(s.channelManagement.size(), 1u);
    EXPECT_EQ(s.channelManagement[0].channelB, 2088);
}

TEST(ScenarioParser, ReportsMistakesWithTheirLine) {
    const auto unknownKey = Errors("[scenario]\nspeed = 3\n[own_ship]\nmmsi = 1\n");
    ASSERT_EQ(unknownKey.size(), 1u);
    EXPECT_EQ(unknownKey[0], "line 2: speed: unknown key 'speed'");

    const auto badSection = Errors("[own_ship]\nmmsi = 1\n\n[lighthouse x]\nmmsi = 2\n");
    ASSERT_FALSE(badSection.empty());
    EXPECT_EQ(badSection[0], "line 4: unknown section 'lighthouse'");

    const auto badValue = Errors("[own_ship]\nmmsi = 1\nposition = 51 x\n");
    ASSERT_EQ(badValue.size(), 1u);
    EXPECT_NE(badValue[0].find("line 3: position"), std::string::npos);

    EXPECT_FALSE(Errors("[scenario]\nduration = 10\n").empty());  // no own ship
    EXPECT_FALSE(Errors("[own_ship]\nmmsi = 1\n[sart s]\nmmsi = 123456789\n").empty());
    EXPECT_FALSE(Errors("[own_ship]\nmmsi = 1\n[vessel a]\nmmsi = 1\n").empty());  // twice
    EXPECT_FALSE(Errors("[own_ship]\nmmsi = 1\n[fleet f]\nlane = nowhere\ncount = 2\n").empty());
    EXPECT_FALSE(Errors("[own_ship]\nmmsi = 1\n[pendant p]\nevents = 20 sos; 10 lost\n").empty());
    EXPECT_FALSE(Errors("mmsi = 1\n").empty());  // outside a section
    EXPECT_TRUE(Errors("# comment\n[own_ship]  # the own ship\nmmsi = 1 # nine digits\n").empty());
}

TEST(FleetBuilder, ExpandsFleetsDeterministicallyWithUniqueIdentities) {
    const Scenario s = test::SmallScenario();
    const std::vector<StationSetup> a = BuildStations(s);
    const std::vector<StationSetup> b = BuildStations(s);
    ASSERT_EQ(a.size(), 9u + 3u + 1u);
    std::set<std::uint32_t> mmsis{s.ownShip.mmsi};
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].mmsi, b[i].mmsi);
        EXPECT_EQ(a[i].info.name, b[i].info.name);
        EXPECT_TRUE(mmsis.insert(a[i].mmsi).second) << a[i].mmsi;
    }
    // Fleet vessels: a flag of the list, a valid IMO check digit, on the lane.
    for (std::size_t i = 9; i < 12; ++i) {
        const StationSetup& v = a[i];
        EXPECT_EQ(v.mmsi / 1000000, 235u);
        const std::uint32_t imo = v.info.imo;
        constexpr std::uint32_t kPow[] = {1000000, 100000, 10000, 1000, 100, 10};
        int sum = 0;
        for (int k = 0; k < 6; ++k)
            sum += static_cast<int>(imo / kPow[k] % 10) * (7 - k);
        EXPECT_EQ(static_cast<int>(imo % 10), sum % 10) << imo;
        EXPECT_GE(v.speed, 15.0);
        EXPECT_LE(v.speed, 18.0);
        EXPECT_NEAR(v.course, BearingDeg({50.90, 1.30}, {51.10, 1.70}), 2.0);
    }
}

}  // namespace
}  // namespace norq::sim
