#include "chart/ChartSymbols.h"

#include <cmath>

namespace norq::chart {

namespace {

constexpr int kCentre = kSymbolSize / 2;  // 15
constexpr std::uint8_t kAtonOffPositionBit = 0x01;
constexpr std::uint8_t kAtonVirtualBit = 0x40;

// Points of the symbol's box, moved to where the box lies on the canvas.
struct Box {
    PixelXY origin;
    PixelXY operator()(int x, int y) const { return {origin.x + x, origin.y + y}; }
    PixelXY at(PixelXY p) const { return {origin.x + p.x, origin.y + p.y}; }
};

bool AvailableAngle(float value) {
    return value >= 0.0f && value < 360.0f;
}

void DrawShape(ChartCanvas& canvas, const SymbolLook& look, const ShipSymbol& symbol,
               const Box& box) {
    const int c = kCentre;
    const PixelXY centre = box(c, c);
    switch (look.shape) {
        case SymbolShape::OwnShip:
            canvas.setPen(PaletteRole::Outline, 2, PenStyle::None);
            canvas.circle(centre, 8);
            canvas.setPen(PaletteRole::Outline, 2);
            canvas.setBrush(look.fill, BrushStyle::None);
            canvas.circle(centre, 8);
            canvas.circle(centre, 2);
            return;
        case SymbolShape::RealAton:
        case SymbolShape::VirtualAton: {
            const PixelXY diamond[4] = {box(c, c + 10), box(c + 10, c), box(c, c - 10),
                                        box(c - 10, c)};
            canvas.polygon(diamond);
            canvas.setPen(PaletteRole::Outline, 1);
            canvas.line(box(c - 3, c), box(c + 4, c));
            canvas.line(box(c, c - 3), box(c, c + 4));
            if (look.shape == SymbolShape::VirtualAton) {
                canvas.line(box(c + 6, c), box(c, c + 6));
                canvas.line(box(c - 6, c), box(c, c + 6));
                canvas.setPixel(box(c, c + 6), PaletteRole::Outline);
            }
            return;
        }
        case SymbolShape::SartOrMob:
            canvas.setPen(PaletteRole::Outline, 2, PenStyle::None);
            canvas.circle(centre, 8);
            canvas.setPen(PaletteRole::Outline, 2);
            canvas.setBrush(look.fill, BrushStyle::None);
            canvas.circle(centre, 8);
            canvas.line(box(c + 5, c - 5), box(c - 5, c + 5));
            canvas.line(box(c - 5, c - 5), box(c + 5, c + 5));
            return;
        case SymbolShape::BaseStation: {
            const PixelXY tower[6] = {box(c - 8, c - 8), box(c + 8, c - 8), box(c + 2, c - 1),
                                      box(c + 2, c + 8), box(c - 2, c + 8), box(c - 2, c - 1)};
            canvas.polygon(tower);
            return;
        }
        case SymbolShape::SarAircraft:
            canvas.line(box(c - 8, c), box(c + 9, c));
            canvas.line(box(c - 8, c + 1), box(c + 9, c + 1));
            canvas.line(box(c - 4, c + 6), box(c + 5, c + 6));
            canvas.line(box(c - 4, c + 7), box(c + 5, c + 7));
            canvas.line(box(c, c - 8), box(c, c + 6));
            canvas.line(box(c + 1, c - 8), box(c + 1, c + 6));
            return;
        case SymbolShape::Hull:
        case SymbolShape::OwnPositionUnknown: {
            const float a = look.hullAngle;
            const float r = symbol.rotation;
            const PixelXY tip = RotateSymbolPoint(0, kSymbolHullTip, a, r);
            const PixelXY port = RotateSymbolPoint(-kSymbolHullHalfWidth, kSymbolHullBase, a, r);
            const PixelXY stbd = RotateSymbolPoint(kSymbolHullHalfWidth, kSymbolHullBase, a, r);
            const PixelXY hull[3] = {box(c + tip.x, c + tip.y), box(c + port.x, c + port.y),
                                     box(c + stbd.x, c + stbd.y)};
            canvas.polygon(hull);
            return;
        }
    }
}

void DrawOverlays(ChartCanvas& canvas, const ShipSymbol& symbol, const Box& box) {
    const int w = kSymbolSize;
    const int h = kSymbolSize;
    const int c = kCentre;
    // Dangerous and lost targets must stand out at a glance on a busy chart: the
    // ring is a solid double line and the cross a solid line.
    if (symbol.flags.dangerous) {
        canvas.setPen(PaletteRole::Alarm, 2);
        canvas.setBrush(PaletteRole::Alarm, BrushStyle::None);
        canvas.ellipse(box(4, 4), box(w - 4, h - 4));
    } else if (symbol.flags.cpaWarning || symbol.flags.cpaCaution) {
        // A CPA warning or caution: a single ring, orange or yellow.
        const PaletteRole ring =
            symbol.flags.cpaWarning ? PaletteRole::Orange : PaletteRole::RangeRing;
        canvas.setPen(ring, 1);
        canvas.setBrush(ring, BrushStyle::None);
        canvas.ellipse(box(4, 4), box(w - 4, h - 4));
    }
    if (symbol.flags.lost) {
        canvas.setPen(PaletteRole::Lost, 1);
        canvas.line(box(c - w / 2 + 2, c - h / 2 + 2), box(c + w / 2 - 2, c + h / 2 - 2));
        canvas.line(box(c - w / 2 + 2, c + h / 2 - 2), box(c + w / 2 - 2, c - h / 2 + 2));
    }
    if (symbol.flags.selected) {
        const int k = w / 2 - 1;
        const int m = k / 2;
        canvas.setBrush(PaletteRole::Hatch, BrushStyle::Solid);
        // A dotted pen two pixels wide draws solid.
        canvas.setPen(PaletteRole::Outline, 2);
        canvas.line(box(c - k, c - k), box(c - k + m, c - k));
        canvas.line(box(c - k, c - k - 1), box(c - k, c - k + m));
        canvas.line(box(c + k, c - k), box(c + k - m, c - k));
        canvas.line(box(c + k, c - k - 1), box(c + k, c - k + m));
        canvas.line(box(c - k, c + k), box(c - k + m, c + k));
        canvas.line(box(c - k, c + k - m), box(c - k, c + k));
        canvas.line(box(c + k, c + k), box(c + k - m, c + k));
        canvas.line(box(c + k, c + k - m), box(c + k, c + k));
    }
}

}  // namespace

SymbolFlags KindFlags(const ais::TargetRecord& record, int slot) {
    SymbolFlags f;
    f.ownShip = slot == 0;
    if (record.kind == ais::TargetKind::Aton) {
        const bool isVirtual = (record.atonFlags & kAtonVirtualBit) != 0;
        f.realAton = !isVirtual;
        f.virtualAton = isVirtual;
        f.atonOffPosition = (record.atonFlags & kAtonOffPositionBit) != 0;
    }
    f.sartOrMob = record.kind == ais::TargetKind::Sart || record.kind == ais::TargetKind::Mob;
    f.baseStation = record.kind == ais::TargetKind::Base;
    f.sarAircraft = record.kind == ais::TargetKind::SarAircraft;
    return f;
}

SymbolLook LookOf(const ShipSymbol& symbol) {
    const SymbolFlags& f = symbol.flags;
    SymbolLook look;
    const PaletteRole aton =
        f.atonOffPosition ? PaletteRole::AtonOffPositionFill : PaletteRole::AtonFill;
    if (f.ownShip && f.realAton) {
        look.fill = aton;
    } else if (f.ownShip) {
        look.fill = PaletteRole::OwnShipFill;
    } else if (f.realAton || f.virtualAton) {
        look.fill = aton;
    } else if (f.sartOrMob) {
        look.fill = PaletteRole::SartFill;
    } else if (f.baseStation || f.sarAircraft) {
        look.fill = PaletteRole::TargetFill;
    } else if (f.dangerous) {
        look.fill = PaletteRole::DangerousFill;
    } else if (f.friendShip) {
        look.fill = PaletteRole::FriendFill;
    } else {
        look.fill = PaletteRole::TargetFill;
    }

    if (f.ownShip && f.ownPositionUnknown) {
        look.shape = SymbolShape::OwnPositionUnknown;
    } else if (f.realAton) {
        look.shape = SymbolShape::RealAton;
    } else if (f.ownShip) {
        look.shape = SymbolShape::OwnShip;
    } else if (f.virtualAton) {
        look.shape = SymbolShape::VirtualAton;
    } else if (f.sartOrMob) {
        look.shape = SymbolShape::SartOrMob;
    } else if (f.baseStation) {
        look.shape = SymbolShape::BaseStation;
    } else if (f.sarAircraft) {
        look.shape = SymbolShape::SarAircraft;
    } else {
        look.shape = SymbolShape::Hull;
    }

    // A hull points along the heading; without one along the course, and upright
    // when neither is known. Only a known course (below 360) draws a course line.
    look.hullAngle = AvailableAngle(symbol.heading)  ? symbol.heading
                     : AvailableAngle(symbol.course) ? symbol.course
                                                     : 0.0f;
    const bool fixedStation =
        f.realAton || f.virtualAton || f.sartOrMob || f.baseStation || f.sarAircraft;
    look.courseLine = !fixedStation && look.shape != SymbolShape::OwnPositionUnknown &&
                      AvailableAngle(symbol.course);
    return look;
}

PixelXY RotateSymbolPoint(int x, int y, float angle, float rotation) {
    float a = angle + rotation;
    if (a > 360.0f) a -= 360.0f;
    const float r = a * 0.0174533f;
    const float c = std::cos(r);
    const float s = std::sin(r);
    const float fx = static_cast<float>(x);
    const float fy = static_cast<float>(y);
    return {static_cast<int>(std::trunc(fx * c - fy * s)),
            static_cast<int>(std::trunc(fx * s + fy * c))};
}

void DrawShipSymbol(ChartCanvas& canvas, const ShipSymbol& symbol, PixelXY origin) {
    const Box box{origin};
    const int c = kCentre;
    const SymbolLook look = LookOf(symbol);
    canvas.setBrush(PaletteRole::Hatch, BrushStyle::DiagonalCross);
    canvas.setPen(PaletteRole::Outline, 2);
    if (look.shape == SymbolShape::OwnPositionUnknown) {
        canvas.setPen(PaletteRole::OwnShipLost, 2);
        canvas.setBrush(PaletteRole::WhiteFill);
        canvas.rectangle(box(c - 8, c - 8), box(c + 8, c + 8));
        canvas.setBrush(PaletteRole::OwnShipLost);
        canvas.rectangle(box(c - 4, c - 4), box(c + 4, c + 4));
    } else {
        canvas.setBrush(look.fill);
        DrawShape(canvas, look, symbol, box);
        if (look.courseLine) {
            canvas.setPen(PaletteRole::Outline, 1);
            canvas.setBrush(look.fill);
            const PixelXY end =
                RotateSymbolPoint(0, -kCourseLineLength, symbol.course, symbol.rotation);
            canvas.line(box(c, c), box(c + end.x, c + end.y));
        }
    }
    DrawOverlays(canvas, symbol, box);
}

void DrawPendantSymbol(ChartCanvas& canvas, const PendantSymbol& pendant, PixelXY origin) {
    const Box box{origin};
    const int c = kCentre;
    const PaletteRole body = pendant.lost ? PaletteRole::OwnShipLost : PaletteRole::Orange;
    // A ring buoy with a head and raised arms above the waterline.
    canvas.setPen(PaletteRole::Outline, 1);
    canvas.setBrush(PaletteRole::WhiteFill);
    canvas.circle(box(c, c + 5), 7);
    canvas.setBrush(body);
    canvas.circle(box(c, c - 5), 4);
    canvas.setPen(body, 2);
    canvas.line(box(c - 7, c - 9), box(c - 3, c - 2));
    canvas.line(box(c + 7, c - 9), box(c + 3, c - 2));
    canvas.line(box(c, c - 1), box(c, c + 6));
    canvas.setPen(PaletteRole::Aqua, 1);
    canvas.line(box(c - 10, c + 9), box(c + 11, c + 9));
    if (pendant.selected) DrawPendantBrackets(canvas, origin);
}

void DrawPendantBrackets(ChartCanvas& canvas, PixelXY origin) {
    const Box box{origin};
    const int c = kCentre;
    const int k = kSymbolSize / 2 - 1;
    const int m = k / 2;
    canvas.setBrush(PaletteRole::Hatch, BrushStyle::Solid);
    canvas.setPen(PaletteRole::Alarm, 2);
    canvas.line(box(c - k, c - k), box(c - k + m, c - k));
    canvas.line(box(c - k, c - k), box(c - k, c - k + m));
    canvas.line(box(c + k - m, c - k), box(c + k, c - k));
    canvas.line(box(c + k, c - k), box(c + k, c - k + m));
    canvas.line(box(c - k, c + k), box(c - k + m, c + k));
    canvas.line(box(c - k, c + k - m), box(c - k, c + k));
    canvas.line(box(c + k - m, c + k), box(c + k, c + k));
    canvas.line(box(c + k, c + k - m), box(c + k, c + k));
}

}  // namespace norq::chart
