// Target and own-ship symbols: shape, fill, heading and course marks, overlays.
#include <gtest/gtest.h>

#include "chart/ChartSymbols.h"
#include "chart/RecordingCanvas.h"

namespace norq::chart {
namespace {

using test::Op;
using test::RecordingCanvas;

ShipSymbol Ship(float heading, float course, SymbolFlags flags = {}) {
    ShipSymbol s;
    s.heading = heading;
    s.course = course;
    s.flags = flags;
    return s;
}

TEST(ShipSymbol, ClassATargetPointsAlongItsHeadingWithACourseLine) {
    RecordingCanvas canvas;
    DrawShipSymbol(canvas, Ship(90.0f, 45.0f), {0, 0});
    const auto hulls = canvas.of(Op::Polygon);
    ASSERT_EQ(hulls.size(), 1u);
    EXPECT_EQ(hulls[0].points[0], (PixelXY{25, 15}));  // tip ten pixels east
    EXPECT_EQ(hulls[0].brush, PaletteRole::TargetFill);
    EXPECT_EQ(hulls[0].pen, PaletteRole::Outline);
    const auto lines = canvas.of(Op::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points[0], (PixelXY{15, 15}));
    EXPECT_EQ(lines[0].points[1], (PixelXY{27, 3}));
    EXPECT_EQ(lines[0].penWidth, 1);
    // Placed at a box corner on the chart.
    RecordingCanvas placed;
    DrawShipSymbol(placed, Ship(90.0f, 45.0f), {100, 200});
    EXPECT_EQ(placed.of(Op::Polygon)[0].points[0], (PixelXY{125, 215}));
}

TEST(ShipSymbol, AMissingHeadingOrientsByCourseAndAMissingCourseDrawsNoLine) {
    // Heading 511 (not available) used to point the hull 151 degrees; it now
    // follows the course, and stands upright when both are missing.
    RecordingCanvas byCourse;
    DrawShipSymbol(byCourse, Ship(511.0f, 90.0f), {0, 0});
    EXPECT_EQ(byCourse.of(Op::Polygon)[0].points[0], (PixelXY{25, 15}));
    RecordingCanvas upright;
    DrawShipSymbol(upright, Ship(511.0f, 360.0f), {0, 0});
    EXPECT_EQ(upright.of(Op::Polygon)[0].points[0], (PixelXY{15, 5}));
    // Course 360 and above are "not available": no line (360 used to draw one north).
    EXPECT_TRUE(upright.of(Op::Line).empty());
    RecordingCanvas beyond;
    DrawShipSymbol(beyond, Ship(10.0f, 361.0f), {0, 0});
    EXPECT_TRUE(beyond.of(Op::Line).empty());
    RecordingCanvas north;
    DrawShipSymbol(north, Ship(10.0f, 0.0f), {0, 0});
    ASSERT_EQ(north.of(Op::Line).size(), 1u);
    EXPECT_EQ(north.of(Op::Line)[0].points[1], (PixelXY{15, -3}));
}

TEST(ShipSymbol, StationsNeverGetACourseLine) {
    SymbolFlags aton;
    aton.realAton = true;
    SymbolFlags sart;
    sart.sartOrMob = true;
    SymbolFlags base;
    base.baseStation = true;
    SymbolFlags sar;
    sar.sarAircraft = true;
    for (const SymbolFlags& f : {aton, sart, base, sar}) {
        const SymbolLook look = LookOf(Ship(0.0f, 120.0f, f));
        EXPECT_FALSE(look.courseLine);
    }
    EXPECT_EQ(LookOf(Ship(0, 120, aton)).shape, SymbolShape::RealAton);
    EXPECT_EQ(LookOf(Ship(0, 120, sart)).fill, PaletteRole::SartFill);
    RecordingCanvas canvas;
    DrawShipSymbol(canvas, Ship(0.0f, 120.0f, sart), {0, 0});
    // Disc, ring and the two strokes of the cross.
    EXPECT_EQ(canvas.of(Op::Ellipse).size(), 2u);
    EXPECT_EQ(canvas.of(Op::Line).size(), 2u);
}

TEST(ShipSymbol, OwnStationAsAtonOrAsVirtualAton) {
    SymbolFlags ownReal;
    ownReal.ownShip = true;
    ownReal.realAton = true;
    SymbolLook look = LookOf(Ship(0, 90, ownReal));
    EXPECT_EQ(look.shape, SymbolShape::RealAton);
    EXPECT_EQ(look.fill, PaletteRole::AtonFill);
    EXPECT_FALSE(look.courseLine);
    ownReal.atonOffPosition = true;
    EXPECT_EQ(LookOf(Ship(0, 90, ownReal)).fill, PaletteRole::AtonOffPositionFill);
    SymbolFlags ownVirtual;
    ownVirtual.ownShip = true;
    ownVirtual.virtualAton = true;
    look = LookOf(Ship(0, 90, ownVirtual));
    EXPECT_EQ(look.shape, SymbolShape::OwnShip);
    EXPECT_EQ(look.fill, PaletteRole::OwnShipFill);
    EXPECT_FALSE(look.courseLine);
    SymbolFlags own;
    own.ownShip = true;
    EXPECT_TRUE(LookOf(Ship(0, 90, own)).courseLine);
}

TEST(ShipSymbol, DangerousPrecedesFriendButNotAStation) {
    SymbolFlags f;
    f.dangerous = true;
    f.friendShip = true;
    EXPECT_EQ(LookOf(Ship(0, 0, f)).fill, PaletteRole::DangerousFill);
    f.dangerous = false;
    EXPECT_EQ(LookOf(Ship(0, 0, f)).fill, PaletteRole::FriendFill);
    SymbolFlags base;
    base.baseStation = true;
    base.dangerous = true;
    EXPECT_EQ(LookOf(Ship(0, 0, base)).fill, PaletteRole::TargetFill);
    RecordingCanvas canvas;
    DrawShipSymbol(canvas, Ship(0, 0, base), {0, 0});
    const auto rings = canvas.of(Op::Ellipse);
    ASSERT_EQ(rings.size(), 1u);
    EXPECT_EQ(rings[0].pen, PaletteRole::Alarm);
    EXPECT_EQ(rings[0].points[0], (PixelXY{4, 4}));
    EXPECT_EQ(rings[0].points[1], (PixelXY{27, 27}));
}

TEST(ShipSymbol, CpaWarningAndCautionRingsGiveWayToTheAlarm) {
    SymbolFlags f;
    f.cpaWarning = true;
    RecordingCanvas warning;
    DrawShipSymbol(warning, Ship(0, 0, f), {0, 0});
    ASSERT_EQ(warning.of(Op::Ellipse).size(), 1u);
    EXPECT_EQ(warning.of(Op::Ellipse)[0].pen, PaletteRole::Orange);
    EXPECT_EQ(LookOf(Ship(0, 0, f)).fill, PaletteRole::TargetFill);  // the body stays
    f.cpaWarning = false;
    f.cpaCaution = true;
    RecordingCanvas caution;
    DrawShipSymbol(caution, Ship(0, 0, f), {0, 0});
    ASSERT_EQ(caution.of(Op::Ellipse).size(), 1u);
    EXPECT_EQ(caution.of(Op::Ellipse)[0].pen, PaletteRole::RangeRing);
    f.dangerous = true;  // one ring only: the alarm's
    RecordingCanvas alarm;
    DrawShipSymbol(alarm, Ship(0, 0, f), {0, 0});
    ASSERT_EQ(alarm.of(Op::Ellipse).size(), 1u);
    EXPECT_EQ(alarm.of(Op::Ellipse)[0].pen, PaletteRole::Alarm);
}

TEST(ShipSymbol, LostTargetsAreCrossedOutAndTheSelectionBracketed) {
    SymbolFlags f;
    f.lost = true;
    RecordingCanvas canvas;
    DrawShipSymbol(canvas, Ship(0, 500, f), {0, 0});
    const auto lines = canvas.of(Op::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].pen, PaletteRole::Lost);
    EXPECT_EQ(lines[0].points[0], (PixelXY{2, 2}));
    EXPECT_EQ(lines[0].points[1], (PixelXY{28, 28}));
    EXPECT_EQ(lines[1].points[0], (PixelXY{2, 28}));
    f.lost = false;
    f.selected = true;
    RecordingCanvas selected;
    DrawShipSymbol(selected, Ship(0, 500, f), {0, 0});
    const auto brackets = selected.of(Op::Line);
    ASSERT_EQ(brackets.size(), 8u);
    EXPECT_EQ(brackets[0].points[0], (PixelXY{1, 1}));
    EXPECT_EQ(brackets[0].points[1], (PixelXY{8, 1}));
    EXPECT_EQ(brackets[7].points[1], (PixelXY{29, 29}));
}

TEST(ShipSymbol, OwnShipWithoutPositionIsADoubleSquare) {
    SymbolFlags f;
    f.ownShip = true;
    f.ownPositionUnknown = true;
    RecordingCanvas canvas;
    DrawShipSymbol(canvas, Ship(0, 90, f), {0, 0});
    const auto squares = canvas.of(Op::Rectangle);
    ASSERT_EQ(squares.size(), 2u);
    EXPECT_EQ(squares[0].points[0], (PixelXY{7, 7}));
    EXPECT_EQ(squares[0].brush, PaletteRole::WhiteFill);
    EXPECT_EQ(squares[1].brush, PaletteRole::OwnShipLost);
    EXPECT_TRUE(canvas.of(Op::Line).empty());
    EXPECT_TRUE(canvas.of(Op::Polygon).empty());
}

TEST(ShipSymbol, RotationTurnsHullAndCourseWithTheChart) {
    ShipSymbol s = Ship(90.0f, 90.0f);
    s.rotation = 270.0f;  // head-up for a heading of 90: the hull points up
    RecordingCanvas canvas;
    DrawShipSymbol(canvas, s, {0, 0});
    EXPECT_EQ(canvas.of(Op::Polygon)[0].points[0], (PixelXY{15, 5}));
    EXPECT_EQ(canvas.of(Op::Line)[0].points[1], (PixelXY{15, -3}));
}

TEST(KindFlags, FromTheTargetKind) {
    ais::TargetRecord r;
    r.kind = ais::TargetKind::Aton;
    r.atonFlags = 0x41;  // virtual, off position
    SymbolFlags f = KindFlags(r, 3);
    EXPECT_TRUE(f.virtualAton);
    EXPECT_FALSE(f.realAton);
    EXPECT_TRUE(f.atonOffPosition);
    EXPECT_FALSE(f.ownShip);
    r.kind = ais::TargetKind::Mob;
    EXPECT_TRUE(KindFlags(r, 0).sartOrMob);
    EXPECT_TRUE(KindFlags(r, 0).ownShip);
    r.kind = ais::TargetKind::Base;
    EXPECT_TRUE(KindFlags(r, 1).baseStation);
}

}  // namespace
}  // namespace norq::chart
