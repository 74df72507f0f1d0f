// Every Maritime Identification Digit that ITU has allocated (ITU-R M.585 and the
// ITU's published MID table), written out here on its own and not taken from the
// viewer's table, so that a MID the table lacks shows up as a failure instead of
// as "Unknown Country" on a ship's detail page.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "ais/MidTable.h"

namespace norq::ais {
namespace {

struct ItuMid {
    int mid;
    const char* english;  // as ITU writes it
};

// clang-format off
constexpr ItuMid kItuMids[] = {
    {201, nullptr}, {202, nullptr}, {203, nullptr}, {204, nullptr}, {205, nullptr},
    {206, nullptr}, {207, nullptr}, {208, nullptr}, {209, nullptr}, {210, nullptr},
    {211, nullptr}, {212, nullptr}, {213, nullptr}, {214, nullptr}, {215, "Malta"},
    {216, "Armenia (Republic of)"}, {218, nullptr}, {219, nullptr}, {220, nullptr},
    {224, "Spain"}, {225, "Spain"}, {226, nullptr}, {227, nullptr}, {228, nullptr},
    {229, "Malta"}, {230, nullptr}, {231, nullptr}, {232, nullptr}, {233, nullptr},
    {234, nullptr}, {235, nullptr}, {236, nullptr}, {237, "Greece"}, {238, nullptr},
    {239, "Greece"}, {240, "Greece"}, {241, "Greece"}, {242, nullptr}, {243, nullptr},
    {244, nullptr}, {245, nullptr}, {246, nullptr}, {247, nullptr}, {248, "Malta"},
    {249, "Malta"}, {250, nullptr}, {251, nullptr}, {252, nullptr}, {253, nullptr},
    {254, nullptr}, {255, nullptr}, {256, "Malta"}, {257, nullptr}, {258, nullptr},
    {259, nullptr}, {261, nullptr}, {262, "Montenegro"}, {263, nullptr}, {264, nullptr},
    {265, nullptr}, {266, nullptr}, {267, nullptr}, {268, nullptr}, {269, nullptr},
    {270, nullptr}, {271, nullptr}, {272, nullptr}, {273, nullptr}, {274, nullptr},
    {275, nullptr}, {276, nullptr}, {277, nullptr}, {278, nullptr}, {279, nullptr},
    {301, nullptr}, {303, nullptr}, {304, "Antigua and Barbuda"},
    {305, "Antigua and Barbuda"}, {306, nullptr}, {307, nullptr}, {308, nullptr},
    {309, nullptr}, {310, nullptr}, {311, nullptr}, {312, nullptr}, {314, nullptr},
    {316, nullptr}, {319, nullptr}, {321, nullptr}, {323, nullptr}, {325, nullptr},
    {327, nullptr}, {329, nullptr}, {330, nullptr}, {331, nullptr}, {332, nullptr},
    {334, nullptr}, {336, nullptr}, {338, nullptr}, {339, nullptr}, {341, nullptr},
    {343, nullptr}, {345, nullptr}, {347, nullptr}, {348, nullptr}, {350, nullptr},
    {351, "Panama (Republic of)"}, {352, "Panama (Republic of)"},
    {353, "Panama (Republic of)"}, {354, "Panama (Republic of)"},
    {355, "Panama (Republic of)"}, {356, "Panama (Republic of)"},
    {357, "Panama (Republic of)"}, {358, nullptr}, {359, nullptr}, {361, nullptr},
    {362, nullptr}, {364, nullptr}, {366, nullptr}, {367, nullptr}, {368, nullptr},
    {369, nullptr}, {370, "Panama (Republic of)"}, {371, "Panama (Republic of)"},
    {372, "Panama (Republic of)"}, {373, "Panama (Republic of)"},
    {374, "Panama (Republic of)"}, {375, nullptr}, {376, nullptr}, {377, nullptr},
    {378, nullptr}, {379, nullptr},
    {401, nullptr}, {403, nullptr}, {405, nullptr}, {408, nullptr}, {410, nullptr},
    {412, "China (People's Republic of)"}, {413, "China (People's Republic of)"},
    {414, "China (People's Republic of)"}, {416, nullptr}, {417, nullptr}, {419, nullptr},
    {422, nullptr}, {423, nullptr}, {425, nullptr}, {428, nullptr}, {431, nullptr},
    {432, nullptr}, {434, nullptr}, {436, nullptr}, {437, "Uzbekistan (Republic of)"},
    {438, nullptr}, {440, nullptr}, {441, nullptr},
    {443, "State of Palestine (In accordance with Resolution 99 Rev. Dubai, 2018)"},
    {445, nullptr}, {447, nullptr}, {450, nullptr}, {451, "Kyrgyz Republic"},
    {453, "Macao (Special Administrative Region of China)"}, {455, nullptr},
    {457, nullptr}, {459, nullptr}, {461, nullptr}, {463, nullptr}, {466, nullptr},
    {468, nullptr}, {470, "United Arab Emirates"}, {471, "United Arab Emirates"},
    {472, "Tajikistan (Republic of)"}, {473, nullptr}, {475, nullptr}, {477, nullptr},
    {478, "Bosnia and Herzegovina"},
    {501, nullptr}, {503, nullptr}, {506, nullptr}, {508, nullptr}, {510, nullptr},
    {511, nullptr}, {512, nullptr}, {514, nullptr}, {515, nullptr}, {516, nullptr},
    {518, nullptr}, {520, nullptr}, {523, nullptr}, {525, nullptr}, {529, nullptr},
    {531, nullptr}, {533, nullptr}, {536, nullptr}, {538, nullptr}, {540, nullptr},
    {542, nullptr}, {544, nullptr}, {546, nullptr}, {548, nullptr},
    {550, "Timor-Leste (Democratic Republic of)"}, {553, nullptr}, {555, nullptr},
    {557, nullptr}, {559, nullptr}, {561, nullptr}, {563, "Singapore (Republic of)"},
    {564, "Singapore (Republic of)"}, {565, "Singapore (Republic of)"},
    {566, "Singapore (Republic of)"}, {567, nullptr}, {570, nullptr}, {572, nullptr},
    {574, nullptr}, {576, "Vanuatu (Republic of)"}, {577, "Vanuatu (Republic of)"},
    {578, nullptr},
    {601, nullptr}, {603, nullptr}, {605, nullptr}, {607, nullptr}, {608, nullptr},
    {609, nullptr}, {610, nullptr}, {611, nullptr}, {612, nullptr}, {613, nullptr},
    {615, nullptr}, {616, "Comoros (Union of the)"}, {617, nullptr}, {618, nullptr},
    {619, nullptr}, {620, "Comoros (Union of the)"}, {621, nullptr}, {622, nullptr},
    {624, nullptr}, {625, "Eritrea"}, {626, nullptr}, {627, nullptr}, {629, nullptr},
    {630, nullptr}, {631, nullptr}, {632, nullptr}, {633, nullptr}, {634, nullptr},
    {635, nullptr}, {636, nullptr}, {637, nullptr}, {638, "South Sudan (Republic of)"},
    {642, nullptr}, {644, nullptr}, {645, nullptr}, {647, nullptr}, {649, nullptr},
    {650, nullptr}, {654, nullptr}, {655, nullptr}, {656, nullptr}, {657, nullptr},
    {659, nullptr}, {660, nullptr}, {661, nullptr}, {662, nullptr}, {663, nullptr},
    {664, nullptr}, {665, nullptr}, {666, nullptr}, {667, nullptr}, {668, nullptr},
    {669, nullptr}, {670, nullptr}, {671, nullptr}, {672, nullptr}, {674, nullptr},
    {675, nullptr}, {676, nullptr}, {677, nullptr}, {678, nullptr}, {679, nullptr},
    {701, nullptr}, {710, nullptr}, {720, nullptr}, {725, nullptr}, {730, nullptr},
    {735, nullptr}, {740, nullptr}, {745, nullptr}, {750, nullptr}, {755, nullptr},
    {760, nullptr}, {765, nullptr}, {770, nullptr}, {775, nullptr},
};
// clang-format on

TEST(MidTable, EveryItuMidHasItsCountryInEveryLanguage) {
    EXPECT_EQ(std::size(kItuMids), 292u);
    for (const ItuMid& itu : kItuMids) {
        const auto mid = static_cast<std::uint32_t>(itu.mid);
        // A ship (MIDxxxxxx), a group call (0MIDxxxxx) and a coast station (00MIDxxxx).
        for (const std::uint32_t mmsi :
             {mid * 1000000u + 123456u, mid * 100000u + 12345u, mid * 10000u + 1234u}) {
            const CountryName english = CountryOfMmsi(mmsi, CountryLanguage::English);
            ASSERT_TRUE(english.found) << "MID " << itu.mid << ", MMSI " << mmsi;
            EXPECT_STRNE(english.text, kUnknownCountryEnglish) << itu.mid;
            if (itu.english != nullptr) {
                EXPECT_STREQ(english.text, itu.english) << itu.mid;
            }
        }
        const std::uint32_t ship = mid * 1000000u + 1u;
        const CountryName traditional = CountryOfMmsi(ship, CountryLanguage::TraditionalChinese);
        const CountryName simplified = CountryOfMmsi(ship, CountryLanguage::SimplifiedChinese);
        EXPECT_TRUE(traditional.found && simplified.found) << itu.mid;
        EXPECT_STRNE(traditional.text, kUnknownCountryTraditional) << itu.mid;
        EXPECT_STRNE(simplified.text, kUnknownCountrySimplified) << itu.mid;
        EXPECT_GT(std::string(traditional.text).size(), 0u) << itu.mid;
        EXPECT_GT(std::string(simplified.text).size(), 0u) << itu.mid;
    }
}

TEST(MidTable, TheTableHoldsNothingBeyondItuAndTheSpecialPrefixes) {
    // Besides the ITU MIDs the table carries the SAR aircraft prefix 111 and the
    // aids-to-navigation prefixes 991-998.
    std::size_t itu = 0;
    for (const MidEntry& row : MidTable()) {
        const bool special = row.mid == 111 || (row.mid >= 991 && row.mid <= 998);
        if (special) continue;
        bool listed = false;
        for (const ItuMid& m : kItuMids)
            listed = listed || m.mid == row.mid;
        EXPECT_TRUE(listed) << "MID " << row.mid << " is not allocated by ITU";
        ++itu;
    }
    EXPECT_EQ(itu, std::size(kItuMids));
}

}  // namespace
}  // namespace norq::ais
