// TPaintShip and TPaintMob: the 31 x 31 symbol of one target slot (slot 0 the
// own ship) and of one crew-watch pendant, what each holds, how the kind and
// state of a target select its shape and colours, and how it is drawn.
#pragma once

#include <array>
#include <cstdint>

#include "ais/TargetRecord.h"
#include "chart/ChartCanvas.h"
#include "chart/ChartLayers.h"

namespace norq::chart {

inline constexpr int kSymbolSize = 31;
inline constexpr int kSymbolSlots = 501;    // target table entries 0..500
inline constexpr int kPendantSlots = 50;    // crew-watch pendants 0..49
inline constexpr int kSymbolHullTip = -10;  // -32 / 3 of a hull 16 pixels long
inline constexpr int kSymbolHullBase = 5;   // 16 / 3
inline constexpr int kSymbolHullHalfWidth = 6;
inline constexpr int kCourseLineLength = 18;

struct SymbolFlags {
    bool ownShip = false;
    bool ownPositionUnknown = false;
    bool realAton = false;
    bool virtualAton = false;
    bool sartOrMob = false;
    bool baseStation = false;
    bool sarAircraft = false;
    bool selected = false;
    bool friendShip = false;
    bool dangerous = false;
    bool lost = false;
    bool atonOffPosition = false;
    // The graded CPA alarm's lower levels (the alarm level is `dangerous`).
    bool cpaWarning = false;
    bool cpaCaution = false;
    friend bool operator==(const SymbolFlags&, const SymbolFlags&) = default;
};

// The kind flags of a target table entry (own ship, AtoN real or virtual with
// its off-position bit, SART/MOB, base station, SAR aircraft).
SymbolFlags KindFlags(const ais::TargetRecord& record, int slot);

struct ShipSymbol {
    float rotation = 0.0f;  // the chart's rotation
    float heading = ais::kHeadingNotAvailable;
    float course = ais::kCogReset;
    SymbolFlags flags;
};

enum class SymbolShape : std::uint8_t {
    OwnPositionUnknown,  // double square
    OwnShip,             // disc with two circles
    RealAton,            // diamond with plus sign
    VirtualAton,         // diamond, plus sign and the V below it
    SartOrMob,           // disc with a cross
    BaseStation,
    SarAircraft,
    Hull,  // class A, class B, EPIRB, not available
};

// What a symbol looks like: shape, fill and the marks around it.
struct SymbolLook {
    SymbolShape shape = SymbolShape::Hull;
    PaletteRole fill = PaletteRole::TargetFill;
    bool courseLine = false;
    float hullAngle = 0.0f;  // degrees, before the chart's rotation
};
SymbolLook LookOf(const ShipSymbol& symbol);

// A point of the symbol's box rotated clockwise on the screen by angle + rotation
// degrees, as the symbols round it (32-bit float radians and sine/cosine).
PixelXY RotateSymbolPoint(int x, int y, float angle, float rotation);

// Draws the symbol with its box's top-left corner at origin.
void DrawShipSymbol(ChartCanvas& canvas, const ShipSymbol& symbol, PixelXY origin);

// Draws target symbols; a renderer may keep finished symbols and copy them.
class SymbolDrawer {
  public:
    virtual ~SymbolDrawer() = default;
    virtual void draw(ChartCanvas& canvas, const ShipSymbol& symbol, PixelXY origin) {
        DrawShipSymbol(canvas, symbol, origin);
    }
};

struct PendantSymbol {
    bool selected = false;
    bool lost = false;
};
// Draws a crew-watch pendant: its man-overboard picture (a figure in the water,
// grey while the pendant is lost) and, when selected, its alarm-coloured brackets.
void DrawPendantSymbol(ChartCanvas& canvas, const PendantSymbol& pendant, PixelXY origin);
// The brackets alone.
void DrawPendantBrackets(ChartCanvas& canvas, PixelXY origin);

}  // namespace norq::chart
