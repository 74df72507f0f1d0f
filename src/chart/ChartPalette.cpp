#include "chart/ChartPalette.h"

namespace norq::chart {

namespace {

// 0 marks the desktop's value (roles 0..5 of the day schemes).
constexpr std::uint32_t kDesktop = 0xFF000000u;

// Role by role: Day Bright, Day White, Day Black, Dusk, Night.
constexpr std::uint32_t kSchemeTable[kPaletteRoleCount][kColourSchemeCount] = {
    {kDesktop, kDesktop, 0x787878, 0x5A5A5A, 0x2D2D2D},  // 0 interface 1
    {kDesktop, kDesktop, 0x6E6E6E, 0x505050, 0x141414},  // 1 interface 2
    {kDesktop, kDesktop, 0x646464, 0x464646, 0x1E1E1E},  // 2 interface 3
    {kDesktop, kDesktop, 0x787878, 0x5A5A5A, 0x2D2D2D},  // 3 interface 4
    {kDesktop, kDesktop, 0x000000, 0x828282, 0x414141},  // 4 chart text
    {kDesktop, kDesktop, 0xB4B4B4, 0x646464, 0x373737},  // 5 interface 6
    {0x000000, 0x000000, 0x000000, 0x000000, 0x000000},  // 6 outline
    {0xFF0000, 0xFF0000, 0xB20000, 0x800000, 0x4C0000},  // 7 alarm
    {0x00FF00, 0x00FF00, 0x00B200, 0x008000, 0x004C00},  // 8 selected leg
    {0x0000FF, 0x0000FF, 0x0000B2, 0x000080, 0x00004C},  // 9 lost
    {0x008000, 0x008000, 0x005A00, 0x003F00, 0x002D00},  // 10 selected waypoint
    {0xFFFFFF, 0xFFFFFF, 0xB2B2B2, 0x808080, 0x4C4C4C},  // 11 white fill
    {0x808080, 0x808080, 0x5A5A5A, 0x3F3F3F, 0x2D2D2D},  // 12 grey
    {0xC0C0C0, 0xC0C0C0, 0x808080, 0x5A5A5A, 0x3F3F3F},  // 13 own-ship lost
    {0xECECEC, 0xECECEC, 0xA5A5A5, 0x737373, 0x474747},  // 14 panel
    {0xFFFF00, 0xFFFF00, 0xB2B200, 0x808000, 0x4C4C00},  // 15 range ring
    {0xFFFBF0, 0xFFFBF0, 0xB2AFA9, 0x7F7D79, 0x4C4B49},  // 16 light
    {0x800080, 0x800080, 0x5A005A, 0x3F003F, 0x2D002D},  // 17 purple
    {0x000080, 0x000080, 0x000033, 0x000021, 0x000014},  // 18 hatch
    {0x800000, 0x800000, 0x5A0000, 0x3F0000, 0x2D0000},  // 19 maroon
    {0xA6CAF0, 0xA6CAF0, 0x728AA3, 0x506172, 0x323D47},  // 20 sky
    {0xFF8000, 0xFF8000, 0xB25A00, 0x803F00, 0x4C2600},  // 21 orange
    {0xFF0080, 0xFF0080, 0xB2005C, 0x800041, 0x4C0026},  // 22 rose
    {0xFF00FF, 0xFF00FF, 0xB200B2, 0x800080, 0x4C004C},  // 23 fuchsia
    {0x00FFFF, 0x00FFFF, 0x00B2B2, 0x008080, 0x004C4C},  // 24 aqua
    {0xA7E0E9, 0x8DB5C5, 0x4D6168, 0x222A2A, 0x03091B},  // 25 sea
    {0xCCC57B, 0xB1AA6B, 0x8F8957, 0x3A3824, 0x181507},  // 26 land
    {0x7B797B, 0x7B797B, 0x545354, 0x3D3C3D, 0x2D2D2D},  // 27 coastline
    {0xFF0000, 0xFF0000, 0xB20000, 0x800000, 0x4C0000},  // 28 place label 1
    {0x505050, 0x505050, 0x333333, 0x1F1F1F, 0x141414},  // 29 place label 2
    {0x0000FF, 0x0000FF, 0x0000B2, 0x000080, 0x00004C},  // 30 place label 3
    {0x1E1E96, 0x1E1E96, 0x131360, 0x0D0D42, 0x090930},  // 31 place label 4
    {0x646464, 0x646464, 0x424242, 0x2D2D2D, 0x1E1E1E},  // 32 place label 5
    {0x3C003C, 0x3C003C, 0x2D002D, 0x1E001E, 0x140014},  // 33 place label 6
    {0x808080, 0x808080, 0x5A5A5A, 0x3F3F3F, 0x2D2D2D},  // 34 place label 7
    {0xA62D38, 0xA62D38, 0x722028, 0x4C151A, 0x380F13},  // 35 marker
    {0xFF0000, 0xFF0000, 0xB20000, 0x800000, 0x4C0000},  // 36 highlighted marker
    {0xFF00FF, 0xFF00FF, 0xB200B2, 0x800080, 0x4C004C},  // 37 route leg
    {0xFF0000, 0xFF0000, 0xB20000, 0x800000, 0x4C0000},  // 38 waypoint
    {0xEE82EE, 0xEE82EE, 0xA55BA5, 0x723F72, 0x472747},  // 39 friend fill
    {0xC0C0C0, 0xC0C0C0, 0x808080, 0x5A5A5A, 0x3F3F3F},  // 40 own-ship fill
    {0xEE5A6C, 0xCD4F5D, 0xEE5A6C, 0x5A282B, 0x471B09},  // 41 dangerous fill
    {0x00FF00, 0x00FF00, 0x00B200, 0x008000, 0x002D00},  // 42 target fill
    {0x419664, 0x419664, 0x00B200, 0x008000, 0x002D00},  // 43 track
    {0xFF0000, 0xFF0000, 0xB20000, 0x800000, 0x4C0000},  // 44 SART fill
    {0xFF0000, 0xFF0000, 0xB20000, 0x800000, 0x4C0000},  // 45 AtoN off-position fill
    {0x00FF00, 0x00FF00, 0x00B200, 0x008000, 0x002D00},  // 46 AtoN fill
    {0xECECEC, 0xECECEC, 0xA5A5A5, 0x5A5A5A, 0x2D2D2D},  // 47 dialog background
};

constexpr PaletteRole kElementRoles[kInterfaceElementCount] = {
    PaletteRole::Interface1,  // window
    PaletteRole::Interface2,  // window frame
    PaletteRole::Interface3,  // active caption
    PaletteRole::Interface4,  // inactive caption
    PaletteRole::ChartText,   // window text
    PaletteRole::Interface6,  // highlight
    PaletteRole::ChartText,   // highlight text
    PaletteRole::Interface1,  // scroll bar
    PaletteRole::Interface1,  // desktop background
    PaletteRole::Interface1,  // menu bar
    PaletteRole::Interface1,  // menu
    PaletteRole::ChartText,   // menu text
    PaletteRole::ChartText,   // caption text
    PaletteRole::Interface2,  // active border
    PaletteRole::Interface2,  // inactive border
    PaletteRole::Interface1,  // application workspace
    PaletteRole::Interface1,  // button face
    PaletteRole::Interface2,  // button shadow
    PaletteRole::ChartText,   // grey text
    PaletteRole::ChartText,   // button text
    PaletteRole::ChartText,   // inactive caption text
    PaletteRole::ChartText,   // button highlight
    PaletteRole::ChartText,   // tooltip text
    PaletteRole::Interface1,  // tooltip background
    PaletteRole::Interface6,  // hot-tracked item
    PaletteRole::Interface3,  // gradient of active caption
    PaletteRole::Interface4,  // gradient of inactive caption
    PaletteRole::Interface2,  // 3-D dark shadow
    PaletteRole::Interface2,  // 3-D light
};

}  // namespace

ColourScheme NextScheme(ColourScheme scheme) {
    const int next = (static_cast<int>(scheme) + 1) % kColourSchemeCount;
    return static_cast<ColourScheme>(next);
}

bool IsDarkScheme(ColourScheme scheme) {
    return scheme == ColourScheme::DayBlack || scheme == ColourScheme::Dusk ||
           scheme == ColourScheme::Night;
}

PaletteRole InterfaceElementRole(InterfaceElement element) {
    const auto i = static_cast<std::size_t>(element);
    return i < kInterfaceElementCount ? kElementRoles[i] : PaletteRole::Interface1;
}

ChartPalette::ChartPalette() {
    apply(ColourScheme::DayBright);
}

void ChartPalette::setDesktopColours(const DesktopColours& desktop) {
    desktop_ = desktop;
    apply(scheme_);
}

void ChartPalette::apply(ColourScheme scheme) {
    auto s = static_cast<std::size_t>(scheme);
    if (s >= kColourSchemeCount) s = 0;
    scheme_ = static_cast<ColourScheme>(s);
    const Rgb desktop[6] = {desktop_.window,          desktop_.windowFrame, desktop_.activeCaption,
                            desktop_.inactiveCaption, desktop_.windowText,  desktop_.highlight};
    for (std::size_t role = 0; role < kPaletteRoleCount; ++role) {
        const std::uint32_t value = kSchemeTable[role][s];
        roles_[role] = value == kDesktop ? desktop[role] : RgbFromHex(value);
    }
}

PaletteRole ChartPalette::placeLabelRole(int labelClass) {
    if (labelClass < 0 || labelClass > 5) return PaletteRole::PlaceLabel7;
    return static_cast<PaletteRole>(static_cast<int>(PaletteRole::PlaceLabel1) + labelClass);
}

}  // namespace norq::chart
