#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ais/MidTable.h"

namespace norq::ais {
namespace {

std::string English(std::uint32_t mmsi) {
    return CountryOfMmsi(mmsi, CountryLanguage::English).text;
}

bool HasNonAscii(const char* text) {
    for (const char* p = text; *p != '\0'; ++p) {
        if (static_cast<unsigned char>(*p) >= 0x80) return true;
    }
    return false;
}

TEST(MidTable, RowsAreCompleteSortedAndUnique) {
    const auto table = MidTable();
    ASSERT_EQ(table.size(), 301u);
    EXPECT_EQ(table.front().mid, 111);
    EXPECT_EQ(table.back().mid, 998);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const MidEntry& e = table[i];
        if (i > 0) {
            EXPECT_LT(table[i - 1].mid, e.mid) << e.mid;
        }
        EXPECT_GT(std::strlen(e.english), 0u) << e.mid;
        // The Chinese names are written in Chinese, not left as English copies.
        EXPECT_TRUE(HasNonAscii(e.traditionalChinese)) << e.mid;
        EXPECT_TRUE(HasNonAscii(e.simplifiedChinese)) << e.mid;
    }
}

TEST(MidTable, WellKnownAllocations) {
    EXPECT_EQ(English(211000001), "Germany (Federal Republic of)");
    for (std::uint32_t mid = 232; mid <= 235; ++mid) {
        EXPECT_EQ(English(mid * 1000000 + 1),
                  "United Kingdom of Great Britain and Northern Ireland");
    }
    for (std::uint32_t mid = 366; mid <= 369; ++mid) {
        EXPECT_EQ(English(mid * 1000000 + 1), "United States of America");
    }
    EXPECT_EQ(English(412000001), "China (People's Republic of)");
    EXPECT_EQ(English(413000001), "China (People's Republic of)");
    EXPECT_EQ(English(416000001), "Taiwan (Province of China)");
    EXPECT_EQ(English(477000001), "Hong Kong (Special Administrative Region of China)");
    // The names the table has always carried for these rows.
    EXPECT_EQ(English(201000001), "Albania (Socialist People's Republic of)");
    EXPECT_EQ(English(202000001), "Andorra (Principality of)");
    EXPECT_EQ(English(203000001), "Austria");
    EXPECT_EQ(English(204000001), "Azores");
    EXPECT_EQ(English(205000001), "Belgium");
    EXPECT_EQ(English(350000001), "Nicaragua");
    EXPECT_EQ(English(610000001), "Benin (Republic of)");
    for (std::uint32_t mid = 991; mid <= 998; ++mid) {
        EXPECT_EQ(English(mid * 1000000 + 1), "Aids to navigation");
    }
}

TEST(MidTable, MmsiFormsFindTheirMid) {
    EXPECT_EQ(MidOfMmsi(2111234), 211);    // coast station 00 211 xxxx
    EXPECT_EQ(MidOfMmsi(21112345), 211);   // group 0 211 xxxxx
    EXPECT_EQ(MidOfMmsi(211123456), 211);  // ship
    EXPECT_EQ(English(2111234), English(211123456));
    EXPECT_EQ(English(111211001), "Used as a prefix for SAR aircraft");
    EXPECT_EQ(English(992111234), "Aids to navigation");
}

TEST(MidTable, LanguagesAndUnknownCountries) {
    const CountryName tw = CountryOfMmsi(416123456, CountryLanguage::TraditionalChinese);
    EXPECT_TRUE(tw.found);
    EXPECT_STREQ(tw.text, "台灣");
    EXPECT_STREQ(CountryOfMmsi(211123456, CountryLanguage::SimplifiedChinese).text, "德国");

    // AIS-SART, MMSI 0 and a MID outside the table.
    for (std::uint32_t mmsi : {970123456u, 0u, 217000001u, 4294967295u}) {
        const CountryName en = CountryOfMmsi(mmsi, CountryLanguage::English);
        EXPECT_FALSE(en.found) << mmsi;
        EXPECT_STREQ(en.text, "Unknown Country");
        EXPECT_STREQ(CountryOfMmsi(mmsi, CountryLanguage::TraditionalChinese).text, "未知國家");
        EXPECT_STREQ(CountryOfMmsi(mmsi, CountryLanguage::SimplifiedChinese).text, "未知国家");
    }
}

}  // namespace
}  // namespace norq::ais
