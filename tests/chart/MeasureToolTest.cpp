#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "RecordingCanvas.h"
#include "chart/MeasureTool.h"

namespace norq::chart {
namespace {

using test::Op;
using test::RecordingCanvas;

// Haversine distance in nautical miles, written independently of the program's
// geometry (mean earth radius 3440.065 nm).
double HaversineNm(GeoPoint a, GeoPoint b) {
    constexpr double kRad = 3.14159265358979323846 / 180.0;
    const double dLat = (b.lat - a.lat) * kRad;
    const double dLon = (b.lon - a.lon) * kRad;
    const double h =
        std::sin(dLat / 2) * std::sin(dLat / 2) +
        std::cos(a.lat * kRad) * std::cos(b.lat * kRad) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2.0 * 3440.065 * std::asin(std::sqrt(h));
}

class FakeHost final : public MeasureToolHost {
  public:
    void measureChanged() override { ++changes; }
    void measurePopup(PixelXY pixel) override { popupAt = pixel; }
    bool measureOwnPosition(GeoPoint& position) const override {
        if (!own) return false;
        position = *own;
        return true;
    }
    int changes = 0;
    std::optional<PixelXY> popupAt;
    std::optional<GeoPoint> own;
};

ChartPointer At(double lon, double lat, PointerButton button = PointerButton::Left) {
    return {button, {100, 100}, {lon, lat}};
}

void Click(MeasureTool& tool, ChartPointer p) {
    tool.press(p);
    tool.release(p);
}

TEST(MeasureBetween, AgreesWithTheGreatCircleAtSixtyNorthAndAcrossTheAntimeridian) {
    struct Case {
        GeoPoint from, to;
        double bearing;
    };
    const Case cases[] = {
        {{10.0, 60.0}, {11.0, 60.0}, 90.0},      // 1 degree of longitude at 60 N: 30 nm
        {{179.5, 60.0}, {-179.5, 60.0}, 90.0},   // the short way east across 180
        {{-179.5, 60.0}, {179.5, 60.0}, 270.0},  // and west
        {{5.0, 59.5}, {5.0, 60.5}, 0.0},         // one degree of latitude: 60 nm north
        {{5.0, 60.5}, {5.0, 59.5}, 180.0},
    };
    for (const Case& c : cases) {
        const MeasureLeg leg = MeasureBetween(c.from, c.to);
        ASSERT_TRUE(leg.valid);
        // Plane sailing against the sphere: within 0.2 %.
        EXPECT_NEAR(leg.rangeNm, HaversineNm(c.from, c.to), 0.002 * leg.rangeNm)
            << c.from.lon << "," << c.from.lat << " -> " << c.to.lon << "," << c.to.lat;
        EXPECT_NEAR(std::fmod(leg.bearing - c.bearing + 540.0, 360.0) - 180.0, 0.0, 0.6);
    }
    // The chart's own longitudes may run past 180 east of the antimeridian.
    const MeasureLeg unwrapped = MeasureBetween({179.5, 60.0}, {180.5, 60.0});
    EXPECT_NEAR(unwrapped.rangeNm, 30.0, 0.1);
    EXPECT_FALSE(MeasureBetween({0.0, 91.0}, {0.0, 0.0}).valid);
    EXPECT_FALSE(MeasureBetween({NAN, 0.0}, {0.0, 0.0}).valid);
}

TEST(MeasureText, ShowsRangeWithDecimalsByMagnitudeAndABearingOfThreeDigits) {
    EXPECT_EQ(MeasureText({true, 1.234, 45.64}), "1.23 nm 045.6\u00B0");
    EXPECT_EQ(MeasureText({true, 12.34, 5.0}), "12.3 nm 005.0\u00B0");
    EXPECT_EQ(MeasureText({true, 1234.6, 270.0}), "1235 nm 270.0\u00B0");
    // 359.96 rounds to 360.0, which is north: shown as 000.0.
    EXPECT_EQ(MeasureText({true, 2.0, 359.96}), "2.00 nm 000.0\u00B0");
    EXPECT_EQ(MeasureText({}), "N/A");
}

TEST(MeasureTool, TwoClicksMeasureAThirdStartsAgainAndTheEndFollowsThePointerBetween) {
    FakeHost host;
    MeasureTool tool(host);
    EXPECT_EQ(tool.state(), MeasureTool::State::Idle);
    EXPECT_FALSE(tool.between().valid);

    Click(tool, At(10.0, 60.0));
    EXPECT_EQ(tool.state(), MeasureTool::State::Started);
    EXPECT_NEAR(tool.between().rangeNm, 0.0, 1e-9);
    // Unpressed moves drag the end along: the live figures.
    tool.move(At(10.5, 60.0), false);
    EXPECT_NEAR(tool.between().rangeNm, 15.0, 0.1);
    Click(tool, At(11.0, 60.0));
    EXPECT_EQ(tool.state(), MeasureTool::State::Measured);
    EXPECT_NEAR(tool.between().rangeNm, 30.0, 0.1);
    // A measured line stays put while the pointer moves on.
    tool.move(At(20.0, 60.0), false);
    EXPECT_NEAR(tool.between().rangeNm, 30.0, 0.1);
    EXPECT_GE(host.changes, 3);

    Click(tool, At(0.0, 0.0));
    EXPECT_EQ(tool.state(), MeasureTool::State::Started);
    EXPECT_EQ(tool.start().lon, 0.0);
    tool.reset();
    EXPECT_EQ(tool.state(), MeasureTool::State::Idle);
}

TEST(MeasureTool, ADragPansTheChartAndTheRightButtonAsksForThePopup) {
    FakeHost host;
    MeasureTool tool(host);
    Click(tool, At(10.0, 60.0));

    // A press with a few moves is still a click (the moves are taken) ...
    const ChartPointer p = At(11.0, 60.0);
    tool.press(p);
    EXPECT_TRUE(tool.move(p, true));
    // ... more than ten make it a drag: the chart gets the moves and the release.
    for (int i = 0; i < MeasureTool::kDragMoves; ++i)
        tool.move(p, true);
    EXPECT_FALSE(tool.move(p, true));
    EXPECT_FALSE(tool.release(p));
    EXPECT_EQ(tool.state(), MeasureTool::State::Started);

    EXPECT_TRUE(tool.release({PointerButton::Right, {7, 8}, {0.0, 0.0}}));
    ASSERT_TRUE(host.popupAt.has_value());
    EXPECT_EQ(host.popupAt->x, 7);
    // A click off the globe (beyond a pole) measures nothing.
    Click(tool, At(11.0, 95.0));
    EXPECT_EQ(tool.state(), MeasureTool::State::Started);
}

TEST(MeasureTool, DrawsTheLineAndBothReadoutsInsideTheFrame) {
    FakeHost host;
    MeasureTool tool(host);
    tool.setLabels("Measure", "From own ship");
    CAxisData axis;
    axis.setPixelRect(0, 0, 400, 300);
    axis.setSize(400, 300);
    axis.setScaleIndex(3);
    ASSERT_TRUE(axis.setCentre(10.0, 60.0));
    ChartPalette palette;
    RecordingCanvas canvas;
    const LayerContext context{axis, palette, canvas, ChartLayer::Measure};

    tool.drawLayer(context);
    EXPECT_TRUE(canvas.drawn.empty()) << "nothing is drawn before the first click";

    Click(tool, At(10.0, 60.0));
    const GeoPoint corner = axis.pixelToGeo(398, 298);
    Click(tool, At(corner.lon, corner.lat));
    tool.drawLayer(context);
    ASSERT_EQ(canvas.of(Op::Line).size(), 1u);
    auto texts = canvas.of(Op::Text);
    ASSERT_EQ(texts.size(), 1u) << "no own-ship line without an own position";
    EXPECT_EQ(texts[0].text.rfind("Measure: ", 0), 0u);
    // The end point is in the bottom-right corner: the readout moves inside.
    EXPECT_LT(texts[0].points[0].x + 6 * static_cast<int>(texts[0].text.size()), 400);
    EXPECT_LT(texts[0].points[0].y, 298);

    host.own = GeoPoint{9.0, 60.0};
    canvas.drawn.clear();
    tool.drawLayer(context);
    texts = canvas.of(Op::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].text.rfind("From own ship: ", 0), 0u);
}

}  // namespace
}  // namespace norq::chart
