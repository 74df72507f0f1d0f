// The destination flag (hint, placement at the antimeridian, drawing), the
// route layer's drawing, and the rules of the calibration and depth edits.
#include <gtest/gtest.h>

#include "../chart/RecordingCanvas.h"
#include "base/TempFolder.h"
#include "nav/ChartCalibration.h"
#include "nav/Dstpoint.h"
#include "nav/RouteLayer.h"

namespace norq::nav {
namespace {

using chart::test::Op;
using chart::test::RecordingCanvas;

chart::CAxisData Axis(double lon, double lat, int scale) {
    chart::CAxisData axis;
    axis.setPixelRect(0, 0, 800, 600);
    axis.setSize(800, 600);
    axis.setScaleIndex(scale);
    axis.setCentre(lon, lat);
    return axis;
}

TEST(DstpointTest, TheHintNamesThePlaceWithItsPosition) {
    DestinationInfo d{true, "KEELUNG", 121.75, 25.15};
    EXPECT_EQ(DestinationHint(d), "KEELUNG\n121.45'00\"E, 25.09'00\"N");
    EXPECT_EQ(DestinationLongitudeText(-5.5), "  5.30'00\"W");
    EXPECT_EQ(DestinationLatitudeText(-33.875), " 33.52'30\"S");
}

TEST(DstpointTest, TheFlagTipSitsTwoPixelsOffThePointAndKeepsToTheShownSide) {
    chart::CAxisData axis = Axis(178.0, 0.0, 2);
    ASSERT_GT(axis.right(), 180.0);
    // 179.5 E with the right edge beyond 180: drawn at 179.5, not a turn away.
    DestinationInfo d{true, "A", 179.5, 0.0};
    const std::optional<FlagRect> box = PlaceDestinationFlag(axis, d);
    ASSERT_TRUE(box);
    const chart::PixelXY p = axis.geoToPixel(179.5, 0.0);
    EXPECT_EQ(box->left, p.x - 8 + 2);
    EXPECT_EQ(box->top, p.y - 24 + 2);
    // 179.5 W on the same view lies right of 180 E.
    d.longitude = -179.5;
    const std::optional<FlagRect> west = PlaceDestinationFlag(axis, d);
    ASSERT_TRUE(west);
    EXPECT_EQ(west->left, axis.geoToPixel(180.5, 0.0).x - 6);
    // Not valid, or off the globe: hidden.
    d.valid = false;
    EXPECT_FALSE(PlaceDestinationFlag(axis, d));
    d = {true, "B", 181.0, 0.0};
    EXPECT_FALSE(PlaceDestinationFlag(axis, d));
    d = {true, "B", 0.0, 91.0};
    EXPECT_FALSE(PlaceDestinationFlag(axis, d));
}

TEST(DstpointTest, TheFlagIsATriangleUnderARoundHead) {
    RecordingCanvas canvas;
    DrawDestinationFlag(canvas, FlagRect{100, 50});
    ASSERT_EQ(canvas.drawn.size(), 3u);
    EXPECT_EQ(canvas.drawn[0].op, Op::Polygon);
    EXPECT_EQ(canvas.drawn[0].points[2], (chart::PixelXY{108, 74}));
    EXPECT_EQ(canvas.drawn[0].brush, chart::PaletteRole::Alarm);
    EXPECT_EQ(canvas.drawn[1].op, Op::Ellipse);
    EXPECT_EQ(canvas.drawn[1].penStyle, chart::PenStyle::None);
    EXPECT_EQ(canvas.drawn[2].points[1], (chart::PixelXY{117, 62}));
    EXPECT_EQ(canvas.drawn[2].brushStyle, chart::BrushStyle::None);
}

TEST(RouteLayerTest, WaypointsAreRingedJoinedAndNumberedInTheirColours) {
    base::TempFolder temp;
    RouteStore store;
    store.setFolder(temp.path(""));
    store.addWaypoint(0, 0, 10.0, 50.0);
    store.addWaypoint(0, 0, 10.1, 50.0);
    store.finishRoute("t");
    store.addWaypoint(0, 0, 10.0, 50.1);
    store.addWaypoint(0, 0, 10.1, 50.1);
    store.setHighlighted(0);
    const chart::CAxisData axis = Axis(10.05, 50.05, 8);
    chart::ChartPalette palette;
    RecordingCanvas canvas;
    RouteLayer layer(store);
    layer.drawLayer({axis, palette, canvas, chart::ChartLayer::Routes});
    int circles = 0;
    int selectedLegs = 0;
    int legs = 0;
    std::vector<std::string> numbers;
    for (const auto& d : canvas.drawn) {
        if (d.op == Op::Ellipse) ++circles;
        if (d.op == Op::Line) (d.pen == chart::PaletteRole::SelectedLeg ? selectedLegs : legs)++;
        if (d.op == Op::Text) numbers.push_back(d.text);
    }
    EXPECT_EQ(circles, 8);
    EXPECT_EQ(legs, 1);          // the route under construction
    EXPECT_EQ(selectedLegs, 1);  // the located route
    EXPECT_EQ(numbers, (std::vector<std::string>{"1", "2", "1", "2"}));
    const chart::PixelXY first = axis.geoToPixel(10.0, 50.0);
    EXPECT_EQ(store.route(0).waypoints[0].x, first.x);
    // Hidden routes and a hidden layer draw nothing.
    store.route(0).visible = false;
    store.dropBuilding();
    canvas.drawn.clear();
    layer.drawLayer({axis, palette, canvas, chart::ChartLayer::Routes});
    EXPECT_TRUE(canvas.drawn.empty());
}

TEST(RouteLayerTest, TheOverlayMovesALongitudeToTheSideOf180TheViewShows) {
    const chart::CAxisData east = Axis(178.0, 0.0, 2);
    EXPECT_EQ(OverlayLongitude(east, -179.0), 181.0);
    EXPECT_EQ(OverlayLongitude(east, 179.0), 179.0);
    const chart::CAxisData west = Axis(-178.0, 0.0, 2);
    EXPECT_EQ(OverlayLongitude(west, 179.0), -181.0);
    const chart::CAxisData middle = Axis(0.0, 0.0, 2);
    EXPECT_EQ(OverlayLongitude(middle, 179.0), 179.0);
}

TEST(CalibrationRulesTest, OffsetsWithinOneHundredthOfADegree) {
    EXPECT_TRUE(CheckCalibration("0.0100", "-0.01").accepted);
    EXPECT_FALSE(CheckCalibration("0.0101", "0").accepted);
    EXPECT_FALSE(CheckCalibration("0", "-0.0101").accepted);
    const CalibrationCheck empty = CheckCalibration("", "");
    EXPECT_TRUE(empty.accepted);
    EXPECT_EQ(empty.latitude, "0");
    EXPECT_EQ(empty.longitude, "0");
    EXPECT_FALSE(CheckCalibration("-", "0").accepted);  // no number
    EXPECT_EQ(FilterCalibrationText("1", "1a"), "1");
    EXPECT_EQ(FilterCalibrationText("-0.0", "-0.00"), "-0.00");
    EXPECT_EQ(FilterCalibrationText("-0.", "-0.."), "-0.");
    EXPECT_EQ(FilterCalibrationText("-0", "--0"), "-0");
}

TEST(CalibrationRulesTest, DepthEditsKeepOneDecimal) {
    int caret = 5;
    EXPECT_EQ(FilterDepthText("12.34", &caret), "12.3");
    EXPECT_EQ(caret, 4);
    caret = 2;
    EXPECT_EQ(FilterDepthText("1x5", &caret), "15");
    EXPECT_EQ(caret, 1);
    EXPECT_EQ(FilterDepthText("1.2.3"), "1.2");
}

}  // namespace
}  // namespace norq::nav
