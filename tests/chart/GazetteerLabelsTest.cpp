// Labels of a redraw: the scale filter, the 200-label limit, name cutting and
// the declutter rule.
#include <gtest/gtest.h>

#include <string>

#include "ChartBytes.h"
#include "chart/GazetteerLabels.h"

namespace norq::chart {
namespace {

GazetteerRecord Record(int cls, int level, double lon, double lat, const char* name) {
    GazetteerRecord r;
    r.flags = static_cast<std::uint8_t>(cls | (level << 6));
    r.lon = static_cast<std::int32_t>(lon * 1e6);
    r.lat = static_cast<std::int32_t>(lat * 1e6);
    r.nameCount = 1;
    r.names[0] = {0, name};
    return r;
}

TEST(ScaleFilter, SeaNamesAndPlacesByScale) {
    // At 400 nm (index 1) only seas and straits of level 0 and 2..3 show.
    for (int level = 0; level < 4; ++level) {
        EXPECT_EQ(PassesScaleFilter(1, 1, level), level != 1) << level;
        EXPECT_EQ(PassesScaleFilter(1, 2, level), level != 1) << level;
        for (int cls : {0, 3, 4, 5, 9})
            EXPECT_FALSE(PassesScaleFilter(1, cls, level));
    }
    // At 6 nm (index 7) every level of every other class shows; seas only from level 2.
    for (int level = 0; level < 4; ++level) {
        EXPECT_TRUE(PassesScaleFilter(7, 5, level));
        EXPECT_EQ(PassesScaleFilter(7, 1, level), level >= 2);
    }
    const bool placeRows[15][4] = {{0, 0, 0, 0}, {0, 0, 0, 0}, {1, 0, 0, 0}, {1, 0, 0, 0},
                                   {1, 1, 0, 0}, {1, 1, 1, 0}, {1, 1, 1, 0}, {1, 1, 1, 1},
                                   {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1},
                                   {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}};
    const bool seaRows[15][4] = {{1, 0, 1, 1}, {1, 0, 1, 1}, {1, 0, 1, 1}, {1, 1, 1, 1},
                                 {1, 1, 1, 1}, {0, 1, 1, 1}, {0, 1, 1, 1}, {0, 0, 1, 1},
                                 {0, 0, 1, 1}, {0, 0, 1, 1}, {0, 0, 1, 1}, {0, 0, 1, 1},
                                 {0, 0, 1, 1}, {0, 0, 1, 1}, {0, 0, 1, 1}};
    for (int k = 0; k < 15; ++k) {
        for (int level = 0; level < 4; ++level) {
            EXPECT_EQ(PassesScaleFilter(k, 4, level), placeRows[k][level]) << k << "/" << level;
            EXPECT_EQ(PassesScaleFilter(k, 2, level), seaRows[k][level]) << k << "/" << level;
        }
    }
}

TEST(Declutter, Thresholds) {
    EXPECT_EQ(DeclutterThreshold(6.0f), 20000);
    EXPECT_EQ(DeclutterThreshold(800.0f), 2666666);
    EXPECT_EQ(DeclutterThreshold(96.0f), 320000);
    EXPECT_EQ(DeclutterThreshold(0.05f), 166);
}

TEST(Declutter, LargerFlagsStayEarlierOnEqualFlags) {
    GazetteerLabels labels;
    labels.add(Record(4, 0, 10.0, 50.00, "Aa"));
    labels.add(Record(4, 0, 10.0, 50.01, "Bb"));
    labels.declutter(6.0f);
    EXPECT_TRUE(labels[0].drawn);
    EXPECT_FALSE(labels[1].drawn);

    labels.clear();
    labels.add(Record(4, 0, 10.0, 50.00, "Aa"));
    labels.add(Record(4, 1, 10.0, 50.01, "Bb"));  // larger flags byte
    labels.declutter(6.0f);
    EXPECT_FALSE(labels[0].drawn);
    EXPECT_TRUE(labels[1].drawn);

    // 0.03° apart they do not collide at 6 nm, but do at 12 nm.
    labels.clear();
    labels.add(Record(4, 0, 10.0, 50.00, "Aa"));
    labels.add(Record(4, 0, 10.0, 50.03, "Bb"));
    labels.declutter(6.0f);
    EXPECT_TRUE(labels[0].drawn && labels[1].drawn);
    labels.declutter(12.0f);
    EXPECT_FALSE(labels[1].drawn);
}

TEST(Declutter, WidthFollowsTheNameOfTheFirstLabel) {
    GazetteerLabels labels;
    // 0.1° east at 6 nm: a two-byte name reaches 0.04°, a ten-byte name 0.2°.
    labels.add(Record(5, 3, 10.0, 50.0, "Ab"));
    labels.add(Record(5, 3, 10.1, 50.0, "Cd"));
    labels.declutter(6.0f);
    EXPECT_TRUE(labels[1].drawn);
    labels.clear();
    labels.add(Record(5, 3, 10.0, 50.0, "Abcdefghij"));
    labels.add(Record(5, 3, 10.1, 50.0, "Cd"));
    labels.declutter(6.0f);
    EXPECT_FALSE(labels[1].drawn);
}

TEST(Declutter, SeaNamesStartNoLinks) {
    GazetteerLabels labels;
    labels.add(Record(2, 2, 10.0, 50.0, "Strait"));
    labels.add(Record(2, 2, 10.0, 50.0, "Strait"));
    labels.declutter(6.0f);
    EXPECT_TRUE(labels[0].drawn && labels[1].drawn);
    // A place before a sea name links to it and the larger flags byte wins.
    labels.clear();
    labels.add(Record(5, 0, 10.0, 50.0, "Town"));
    labels.add(Record(2, 1, 10.0, 50.0, "Strait"));
    labels.declutter(12.0f);
    EXPECT_FALSE(labels[0].drawn);
    EXPECT_TRUE(labels[1].drawn);
}

TEST(Declutter, ChainOfThreeSuppressesThePartnersLink) {
    // 0 collides with 1 and 2 and links on to 2, which it outranks; 1 still links
    // back to 0 and is suppressed in its own step when it meets 2.
    GazetteerLabels labels;
    labels.add(Record(5, 3, 10.0, 50.000, "A"));
    labels.add(Record(5, 1, 10.0, 50.001, "B"));
    labels.add(Record(5, 2, 10.0, 50.002, "C"));
    labels.declutter(6.0f);
    EXPECT_EQ(labels[0].link, 2);
    EXPECT_EQ(labels[2].link, kLinkSuppressed);
    EXPECT_EQ(labels[1].link, kLinkSuppressed);
    EXPECT_TRUE(labels[0].drawn);
    EXPECT_FALSE(labels[1].drawn);
    EXPECT_FALSE(labels[2].drawn);
}

TEST(GazetteerLabels, CollectsAtMost200InReadingOrder) {
    test::Bytes b = test::GazetteerHeader();
    b.setI32(test::GazetteerEntry(38, 181), static_cast<std::int64_t>(b.size()));
    for (int i = 0; i < 250; ++i) {
        const auto r = test::LabelRecord(i % 2 == 0 ? 5 : 5 | (3 << 6), 1.5, 51.5,
                                         {{0, "P" + std::to_string(i)}});
        b.data.insert(b.data.end(), r.data.begin(), r.data.end());
    }
    b.u16(0);
    GazetteerReader reader;
    ASSERT_TRUE(reader.openBytes(b.data));
    GazetteerLabels labels;
    labels.collect(reader, 51.9, 51.1, 1.1, 1.9, 7, 0);
    ASSERT_EQ(labels.size(), kMaxLabels);
    EXPECT_EQ(labels[199].text(), "P199");
    labels.collect(reader, 51.9, 51.1, 1.1, 1.9, 4, 0);  // level 3 filtered out
    ASSERT_EQ(labels.size(), 125);
    EXPECT_EQ(labels[1].text(), "P2");
}

TEST(GazetteerLabels, LongNamesAreCutAtACharacterBoundary) {
    char out[kLabelNameBytes];
    const std::string ascii(150, 'a');
    EXPECT_EQ(CopyLabelName(ascii, out), 99);
    EXPECT_EQ(out[99], '\0');
    std::string chinese;
    for (int i = 0; i < 40; ++i)
        chinese += "海";  // three bytes each
    EXPECT_EQ(CopyLabelName(chinese, out), 99);
    std::string shifted = "a" + chinese;  // 99 would split a character
    EXPECT_EQ(CopyLabelName(shifted, out), 97);
    EXPECT_EQ(std::string(out), shifted.substr(0, 97));
    EXPECT_EQ(CopyLabelName(std::string_view(), out), 0);  // a record without names
    EXPECT_EQ(out[0], '\0');
}

}  // namespace
}  // namespace norq::chart
