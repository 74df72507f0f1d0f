// The palette roles in the five colour schemes and the interface colours.
#include <gtest/gtest.h>

#include "chart/ChartPalette.h"

namespace norq::chart {
namespace {

TEST(ChartPalette, FiveSchemesWrapAroundToDayBright) {
    ColourScheme s = ColourScheme::DayBright;
    for (int i = 0; i < 5; ++i)
        s = NextScheme(s);
    EXPECT_EQ(s, ColourScheme::DayBright);
    EXPECT_FALSE(IsDarkScheme(ColourScheme::DayWhite));
    EXPECT_TRUE(IsDarkScheme(ColourScheme::DayBlack));
    EXPECT_TRUE(IsDarkScheme(ColourScheme::Night));
}

TEST(ChartPalette, DayBrightAndDayWhiteDifferOnlyInSeaLandAndDangerousFill) {
    ChartPalette bright;
    ChartPalette white;
    white.apply(ColourScheme::DayWhite);
    for (int role = 0; role < kPaletteRoleCount; ++role) {
        const auto r = static_cast<PaletteRole>(role);
        const bool differs =
            r == PaletteRole::Sea || r == PaletteRole::Land || r == PaletteRole::DangerousFill;
        EXPECT_EQ(bright[r] != white[r], differs) << role;
    }
    EXPECT_EQ(white[PaletteRole::Sea], RgbFromHex(0x8DB5C5));
}

TEST(ChartPalette, DaySchemesTakeTheDesktopsInterfaceColours) {
    ChartPalette palette;
    DesktopColours desktop;
    desktop.window = RgbFromHex(0x102030);
    desktop.windowText = RgbFromHex(0x405060);
    palette.setDesktopColours(desktop);
    EXPECT_EQ(palette[PaletteRole::Interface1], RgbFromHex(0x102030));
    EXPECT_EQ(palette[PaletteRole::ChartText], RgbFromHex(0x405060));
    // Day Black: black chart text on a dark grey window; Dusk: #828282.
    palette.apply(ColourScheme::DayBlack);
    EXPECT_EQ(palette[PaletteRole::ChartText], RgbFromHex(0x000000));
    EXPECT_EQ(palette[PaletteRole::Interface1], RgbFromHex(0x787878));
    palette.apply(ColourScheme::Dusk);
    EXPECT_EQ(palette[PaletteRole::ChartText], RgbFromHex(0x828282));
    // Back to a day scheme: the desktop's values again.
    palette.apply(ColourScheme::DayBright);
    EXPECT_EQ(palette[PaletteRole::Interface1], RgbFromHex(0x102030));
}

TEST(ChartPalette, NightValuesAndRolesOfTheInterfaceElements) {
    ChartPalette palette;
    palette.apply(ColourScheme::Night);
    EXPECT_EQ(palette[PaletteRole::Sea], RgbFromHex(0x03091B));
    EXPECT_EQ(palette[PaletteRole::DangerousFill], RgbFromHex(0x471B09));
    EXPECT_EQ(palette[PaletteRole::DialogBackground], RgbFromHex(0x2D2D2D));
    EXPECT_EQ(InterfaceElementRole(InterfaceElement::MenuText), PaletteRole::ChartText);
    EXPECT_EQ(InterfaceElementRole(InterfaceElement::Light3D), PaletteRole::Interface2);
    EXPECT_EQ(InterfaceElementRole(InterfaceElement::HotTrackedItem), PaletteRole::Interface6);
    EXPECT_EQ(ChartPalette::placeLabelRole(0), PaletteRole::PlaceLabel1);
    EXPECT_EQ(ChartPalette::placeLabelRole(5), PaletteRole::PlaceLabel6);
    EXPECT_EQ(ChartPalette::placeLabelRole(9), PaletteRole::PlaceLabel7);
}

}  // namespace
}  // namespace norq::chart
