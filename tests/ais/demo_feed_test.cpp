// The bundled demo recording through the full intake: the stations of each
// kind the scenario places, an own ship under way, and dangerous targets.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <memory>
#include <string>

#include "ais/RunState.h"

using namespace norq::ais;

TEST(DemoFeed, ReplayGivesTheScenariosStations) {
    std::ifstream in(std::string(NORQ_SOURCE_DIR) + "/data/demo/demo.nmea", std::ios::binary);
    ASSERT_TRUE(in.good());
    ManualClock clock;
    auto state = std::make_unique<RunState>(clock);
    std::string line;
    int dangerousSeen = 0;
    long lines = 0;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        state->ReceiveLine(line + "\r\n", false);
        if (++lines % 100 == 0) clock.advance(3);  // the recording's pace, roughly
        const TargetTable& table = state->tracker.table();
        for (int i = 1; i < table.count() && lines % 500 == 0; ++i) {
            dangerousSeen += IsDangerous(table[i], state->tracker.cpaSettings());
        }
    }
    const TargetTable& table = state->tracker.table();
    std::array<int, 9> kinds{};
    for (int i = 1; i < table.count(); ++i)
        ++kinds[static_cast<int>(table[i].kind)];
    EXPECT_EQ(table.count() - 1, 152);
    EXPECT_EQ(kinds[static_cast<int>(TargetKind::ClassA)], 105);
    EXPECT_EQ(kinds[static_cast<int>(TargetKind::ClassB)], 27);
    EXPECT_EQ(kinds[static_cast<int>(TargetKind::Base)], 4);
    EXPECT_EQ(kinds[static_cast<int>(TargetKind::Aton)], 12);
    EXPECT_EQ(kinds[static_cast<int>(TargetKind::SarAircraft)], 1);
    EXPECT_EQ(kinds[static_cast<int>(TargetKind::Sart)], 2);
    EXPECT_EQ(kinds[static_cast<int>(TargetKind::Mob)], 1);
    EXPECT_EQ(table.own().mmsi, 235099001u);
    EXPECT_EQ(table.own().ownPositionValid, 1);
    EXPECT_GT(table.own().sog, 10.0f);
    EXPECT_GT(dangerousSeen, 0);
}
