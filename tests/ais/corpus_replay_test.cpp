// Real recordings replayed into the target table and exported: the class B
// ships of a live receiver (ais-18-27.log, 2023) carry their real names, which
// their undefined message 24 parts 2 and 3 once overwrote with "O" and "V";
// their long-range reports (message 27) keep them targets with a position.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "ais/RunState.h"
#include "ais/TargetExport.h"

using namespace norq::ais;

namespace {

// The names of the ships' part A reports, as gpsdecode reads them.
const std::map<std::uint32_t, std::string> kNames = {
    {230108610, "SUOKKI"},
    {310556000, "AURORA"},
    {230289000, "SISU"},
    {230111070, "MT1303"},
    {230024660, "TOR"},
    {230044260, "KALLE"},
    {230252000, "OTSO"},
    {230108590, "EHRENSVAERD"},
    {230985490, "SUOMENLINNA II"},
    {230938640, "INGEBORG"},
    {230998670, "ASTRID"},
    {230994270, "RESCUE JENNY WIHURI"},
    {230111690, "OILI 1"},
    {230112370, "HESSU"},
    {230061040, "SUURSAARI"},
    {230290000, "URHO"},
    {230087600, "HELSINKI"},
    {230291000, "VOIMA"},
    {230955000, "CARMEL"},
    {230184000, "SILJA SERENADE"},
    {230987940, "JOANNA SATURNA"},
    {230055040, "MIINA"},
    {230145000, "ARANDA"},
    {276504000, "H.KANTER"},
    {230361000, "GABRIELLA"},
    {230113760, "KATHRINA"},
    {230298000, "MUIKKU"},
    {230086910, "SS LOKKI"},
    {230169030, "RODNY"},
    {230991880, "SVANHILD"},
    {230941940, "VARTIOLAIVA 55"},
    {230108270, "VALBORG"},
    {276829000, "MEGASTAR"},
};

std::vector<std::string> Cells(const std::string& row) {
    std::vector<std::string> cells;
    std::string cell;
    bool quoted = false;
    for (char c : row) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            cells.push_back(cell);
            cell.clear();
        } else if (c != '\r') {
            cell += c;
        }
    }
    return cells;
}

}  // namespace

TEST(CorpusReplay, ClassBShipsOfALiveReceiverCarryTheirRealNames) {
    ManualClock clock;
    auto state = std::make_unique<RunState>(clock);
    std::ifstream in(std::string(NORQ_FIXTURES) + "/gpsd/ais-18-27.log", std::ios::binary);
    ASSERT_TRUE(in.good());
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        state->ReceiveLine(line + "\r\n", false);
    }
    const TargetTable& table = state->tracker.table();
    ASSERT_EQ(table.count() - 1, static_cast<int>(kNames.size()));

    std::istringstream exported(FormatTargetExport(table, TextOptions{}, DefaultColumnTitles()));
    std::string row;
    std::getline(exported, row);  // titles
    std::getline(exported, row);  // own ship
    int ships = 0;
    while (std::getline(exported, row)) {
        const std::vector<std::string> cells = Cells(row);
        ASSERT_GT(cells.size(), 6u) << row;
        const auto mmsi = static_cast<std::uint32_t>(std::stoul(cells[1]));
        ASSERT_EQ(kNames.count(mmsi), 1u) << row;
        EXPECT_EQ(cells[2], "[B]") << row;
        EXPECT_EQ(cells[5], kNames.at(mmsi)) << row;
        ++ships;
    }
    EXPECT_EQ(ships, static_cast<int>(kNames.size()));

    // The last report of each ship is its message 27: a position in 1/10 minute.
    for (int i = 1; i < table.count(); ++i) {
        EXPECT_EQ(table[i].lastMessageType, 27) << table[i].mmsi;
        EXPECT_LT(std::abs(table[i].latitude - 60.15f), 0.1f) << table[i].mmsi;
        EXPECT_EQ(table[i].heading, kHeadingNotAvailable);
    }
}
