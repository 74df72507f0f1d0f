// The chart palette: 48 colour roles filled by one of five colour schemes. Every
// chart drawing names its colours by role; switching the scheme recolours the
// chart, the symbols and the application's own windows (never the desktop).
#pragma once

#include <array>
#include <cstdint>

namespace norq::chart {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb RgbFromHex(std::uint32_t hex) {
    return {static_cast<std::uint8_t>(hex >> 16), static_cast<std::uint8_t>(hex >> 8),
            static_cast<std::uint8_t>(hex)};
}

enum class PaletteRole : std::uint8_t {
    Interface1 = 0,  // window
    Interface2,      // window frame
    Interface3,      // active caption
    Interface4,      // inactive caption
    ChartText,       // interface 5: window text, grid labels
    Interface6,      // highlight
    Outline,         // symbol outlines, default pen
    Alarm,           // dangerous ring, pendant brackets, new-marker glyph
    SelectedLeg,     // highlighted route leg; satellite used in the fix
    Lost,            // crossed-out lost target; satellite not used
    SelectedWaypoint,
    WhiteFill,  // own ship without position
    Grey,
    OwnShipLost,
    Panel,
    RangeRing,  // own-ship cross and range rings
    Light,
    Purple,
    Hatch,  // symbol background hatch, selection brackets
    Maroon,
    Sky,
    Orange,
    Rose,
    Fuchsia,
    Aqua,
    Sea,
    Land,
    Coastline,
    PlaceLabel1,  // gazetteer class 0 ... class 5, then any other class
    PlaceLabel2,
    PlaceLabel3,
    PlaceLabel4,
    PlaceLabel5,
    PlaceLabel6,
    PlaceLabel7,
    Marker,
    HighlightedMarker,
    RouteLeg,
    Waypoint,
    FriendFill,
    OwnShipFill,
    DangerousFill,
    TargetFill,
    Track,
    SartFill,
    AtonOffPositionFill,
    AtonFill,
    DialogBackground,
};
inline constexpr int kPaletteRoleCount = 48;

enum class ColourScheme : std::uint8_t { DayBright = 0, DayWhite, DayBlack, Dusk, Night };
inline constexpr int kColourSchemeCount = 5;

// The scheme after this one, wrapping from Night to Day Bright.
ColourScheme NextScheme(ColourScheme scheme);
// True for Day Black, Dusk and Night: the application's interface colours then
// come from the palette instead of the desktop's.
bool IsDarkScheme(ColourScheme scheme);

// The desktop's standard interface colours, in the order the dark schemes set them.
enum class InterfaceElement : std::uint8_t {
    Window = 0,
    WindowFrame,
    ActiveCaption,
    InactiveCaption,
    WindowText,
    Highlight,
    HighlightText,
    ScrollBar,
    DesktopBackground,
    MenuBar,
    Menu,
    MenuText,
    CaptionText,
    ActiveBorder,
    InactiveBorder,
    AppWorkspace,
    ButtonFace,
    ButtonShadow,
    GreyText,
    ButtonText,
    InactiveCaptionText,
    ButtonHighlight,
    TooltipText,
    TooltipBackground,
    HotTrackedItem,
    GradientActiveCaption,
    GradientInactiveCaption,
    DarkShadow3D,
    Light3D,
};
inline constexpr int kInterfaceElementCount = 29;

// The role each interface element takes in the dark schemes.
PaletteRole InterfaceElementRole(InterfaceElement element);

// The interface colours the desktop used at start-up (roles 0..5 of the day schemes).
struct DesktopColours {
    Rgb window{0xFF, 0xFF, 0xFF};
    Rgb windowFrame{0x64, 0x64, 0x64};
    Rgb activeCaption{0x99, 0xB4, 0xD1};
    Rgb inactiveCaption{0xBF, 0xCD, 0xDB};
    Rgb windowText{0x00, 0x00, 0x00};
    Rgb highlight{0x00, 0x78, 0xD7};
};

class ChartPalette {
  public:
    // Day Bright with the default desktop colours.
    ChartPalette();

    // Fills the palette for the scheme; the day schemes take roles 0..5 from the
    // desktop colours saved at start-up.
    void apply(ColourScheme scheme);
    void setDesktopColours(const DesktopColours& desktop);
    const DesktopColours& desktopColours() const { return desktop_; }

    ColourScheme scheme() const { return scheme_; }
    Rgb operator[](PaletteRole role) const { return roles_[static_cast<std::size_t>(role)]; }
    Rgb colour(PaletteRole role) const { return (*this)[role]; }
    // The role of a gazetteer label class (0..5, others share the seventh).
    static PaletteRole placeLabelRole(int labelClass);

  private:
    std::array<Rgb, kPaletteRoleCount> roles_{};
    DesktopColours desktop_;
    ColourScheme scheme_ = ColourScheme::DayBright;
};

}  // namespace norq::chart
