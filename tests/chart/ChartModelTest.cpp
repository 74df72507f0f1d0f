// The chart view's logic: own-ship reference, follow, Center View, symbol slots
// with their placement and hit boxes, pans, cruise steps and layer hooks.
#include <gtest/gtest.h>

#include "chart/ChartModel.h"
#include "chart/RecordingCanvas.h"

namespace norq::chart {
namespace {

struct ChartModelTest : ::testing::Test {
    ChartModel model;
    void SetUp() override {
        model.resize(800, 600);
        ASSERT_TRUE(model.setCentre(1.5, 51.0));
    }
    void target(int slot, float lon, float lat) {
        model.setTarget(slot, lon, lat, 90.0f, 90.0f, {}, false);
    }
};

TEST_F(ChartModelTest, SymbolsAreCentredTwoPixelsRightAndBelowTheirPosition) {
    target(1, 1.5f, 51.0f);
    const PixelXY p = model.axis().geoToPixel(1.5f, 51.0f);
    EXPECT_TRUE(model.target(1).visible);
    EXPECT_EQ(model.target(1).topLeft, (PixelXY{p.x - 15 + 2, p.y - 15 + 2}));
    EXPECT_EQ(model.hitTest(p.x, p.y).slot, 1);
    EXPECT_EQ(model.hitTest(p.x + 20, p.y).kind, ChartHit::Kind::Chart);
    // Off the globe: hidden; cleared: hidden and no longer hit.
    target(2, 181.0f, 91.0f);
    EXPECT_FALSE(model.target(2).visible);
    model.clearTarget(1);
    EXPECT_FALSE(model.target(1).visible);
    EXPECT_EQ(model.hitTest(p.x, p.y).kind, ChartHit::Kind::Chart);
}

TEST_F(ChartModelTest, TheOwnShipWithoutPositionShowsAtTheReferencePoint) {
    model.setManualPosition(1.6, 51.1, 0.0);
    target(0, 181.0f, 91.0f);
    EXPECT_TRUE(model.target(0).visible);
    const PixelXY p = model.axis().geoToPixel(1.6, 51.1);
    EXPECT_EQ(model.hitTest(p.x, p.y).slot, 0);
}

TEST_F(ChartModelTest, AnOwnPositionNeverKnownDrawsNoOwnShipSymbol) {
    SymbolFlags unknown;
    unknown.ownShip = true;
    unknown.ownPositionUnknown = true;
    // A first start: the settings hold no position, so the reference point is no place.
    model.setManualPosition(0.0, 0.0, 0.0, false);
    model.setTarget(0, 181.0f, 91.0f, 0.0f, 0.0f, unknown, false);
    EXPECT_FALSE(model.target(0).visible);
    EXPECT_FALSE(model.ownReferenceKnown());
    // The operator's manual position, or a fix, is a place to mark.
    model.setManualPosition(1.6, 51.1, 0.0);
    EXPECT_TRUE(model.target(0).visible);
    model.setManualPosition(0.0, 0.0, 0.0, false);
    EXPECT_FALSE(model.target(0).visible);
    SymbolFlags fixed;
    fixed.ownShip = true;
    model.setOwnPosition(1.5, 51.0, 90.0, false);
    model.setTarget(0, 1.5f, 51.0f, 90.0f, 90.0f, fixed, false);
    EXPECT_TRUE(model.target(0).visible);
    // Once that fix is lost, the last known position is still marked, as unknown.
    model.setOwnPositionUnknown(true);
    EXPECT_TRUE(model.target(0).visible);
}

TEST_F(ChartModelTest, SelectionAndTheOwnShipAreOnTop) {
    target(1, 1.5f, 51.0f);
    target(2, 1.5f, 51.0f);
    const PixelXY p = model.axis().geoToPixel(1.5, 51.0);
    EXPECT_EQ(model.hitTest(p.x, p.y).slot, 2);  // the later slot lies above
    model.selectTarget(1);
    EXPECT_TRUE(model.target(1).symbol.flags.selected);
    EXPECT_FALSE(model.target(0).symbol.flags.selected);
    EXPECT_EQ(model.hitTest(p.x, p.y).slot, 1);
    model.selectTarget(-1);
    EXPECT_EQ(model.selectedTarget(), -1);
    EXPECT_FALSE(model.target(1).symbol.flags.selected);
}

TEST_F(ChartModelTest, PerTargetStateMovesDownWhenATargetAgesOut) {
    target(1, 1.4f, 51.0f);
    target(2, 1.5f, 51.0f);
    target(3, 1.6f, 51.0f);
    model.setDangerous(2, true);
    model.setLost(3, true);
    model.selectTarget(3);
    model.removeTarget(1, 4);  // entry 1 left a table of four entries
    EXPECT_TRUE(model.dangerous(1));
    EXPECT_FLOAT_EQ(model.target(1).lon, 1.5f);
    EXPECT_TRUE(model.target(2).symbol.flags.lost);
    EXPECT_EQ(model.selectedTarget(), 2);
    EXPECT_TRUE(model.target(2).symbol.flags.selected);
    EXPECT_FALSE(model.dangerous(3));
    EXPECT_FALSE(model.target(3).visible);
    model.clearTargetsFrom(2);
    EXPECT_FALSE(model.target(2).visible);
    EXPECT_EQ(model.selectedTarget(), -1);
    EXPECT_TRUE(model.dangerous(1));
}

TEST_F(ChartModelTest, CenterViewWithoutOwnPositionMovesTheViewOnly) {
    // The own ship has no position: the view goes to the middle of the fleet,
    // but ranges and bearings stay measured from the own-ship reference point.
    target(1, 3.0f, 52.0f);
    target(2, 5.0f, 54.0f);
    model.setCenterView(true, true);
    EXPECT_NEAR(model.centre().lon, 4.0, 1e-6);
    EXPECT_NEAR(model.centre().lat, 53.0, 1e-6);
    EXPECT_EQ(model.ownReference().lon, 181.0);
    EXPECT_EQ(model.ownReference().lat, 91.0);
    // A fleet whose middle lies within one ring distance (km as read) stays put.
    ASSERT_TRUE(model.setCentre(4.05, 53.0));
    EXPECT_FALSE(model.runCenterView(true));
    EXPECT_NEAR(model.centre().lon, 4.05, 1e-9);
}

TEST_F(ChartModelTest, CenterViewFollowsAValidOwnShip) {
    model.setOwnPosition(2.0, 50.5, 45.0, false);
    target(1, 5.0f, 54.0f);
    EXPECT_TRUE(model.runCenterView(true));
    EXPECT_NEAR(model.centre().lon, 2.0, 1e-6);
    EXPECT_NEAR(model.centre().lat, 50.5, 1e-6);
    EXPECT_DOUBLE_EQ(model.ownReference().course, 45.0);
}

TEST_F(ChartModelTest, TrueMotionRecentresNearTheEdgesOnly) {
    const CAxisData& axis = model.axis();
    // Inside the middle 80%: the chart stays.
    model.setOwnPosition(1.5, 51.0 + 0.3 * axis.latitudeSpan(), 0.0, true);
    EXPECT_DOUBLE_EQ(model.centre().lat, 51.0);
    // Within 10% of the top edge: the view jumps to centre it.
    const double lat = 51.0 + 0.45 * axis.latitudeSpan();
    EXPECT_TRUE(model.setOwnPosition(1.5, lat, 0.0, true));
    EXPECT_NEAR(model.centre().lat, lat, 1e-9);
    // Without follow the chart never moves.
    EXPECT_TRUE(model.setOwnPosition(5.0, 53.0, 0.0, false));
    EXPECT_NEAR(model.centre().lat, lat, 1e-9);
    // A latitude off the globe is ignored.
    EXPECT_FALSE(model.setOwnPosition(5.0, 95.0, 0.0, true));
    EXPECT_DOUBLE_EQ(model.ownReference().lat, 53.0);
}

TEST_F(ChartModelTest, DraggingMovesTheCentreAgainstThePointer) {
    GeoPoint centre;
    // 100 pixels to the right at 6 nm per ring: the centre goes west.
    ASSERT_TRUE(model.panCentre({300, 300}, {400, 300}, centre));
    EXPECT_NEAR(centre.lon, 1.5 - 100 / model.axis().xScale(), 1e-12);
    EXPECT_DOUBLE_EQ(centre.lat, 51.0);
    ASSERT_TRUE(model.panCentre({300, 300}, {300, 250}, centre));
    EXPECT_NEAR(centre.lat, 51.0 - 50 / model.axis().yScale(), 1e-12);
    EXPECT_FALSE(model.panCentre({300, 300}, {300, 300}, centre));
    // Rotated head-up on a heading of 90 (east up): a drag downwards brings
    // what lay above (east) to the middle.
    model.setRotation(270.0f);
    ASSERT_TRUE(model.panCentre({300, 300}, {300, 400}, centre));
    EXPECT_NEAR(centre.lon, 1.5 + 100 / model.axis().xScale(), 1e-6);
    EXPECT_NEAR(centre.lat, 51.0, 1e-3);
}

TEST_F(ChartModelTest, CruiseStepsWestAndWrapsAtTheAntimeridian) {
    EXPECT_NEAR(model.cruiseStep(false).lon, 1.5 - model.axis().longitudeSpan() * 2 / 3, 1e-9);
    ASSERT_TRUE(model.setCentre(-179.9, 10.0));
    const double step = model.axis().longitudeSpan() * 2 / 3;
    const GeoPoint next = model.cruiseStep(false);
    EXPECT_NEAR(next.lon, 180.0 - step, 1e-9);
    EXPECT_NEAR(next.lat, 10.0 + model.axis().latitudeSpan() * 2 / 3, 1e-9);
}

TEST_F(ChartModelTest, MonitoredShipsOnlyHidesTheOthers) {
    model.setTarget(1, 1.5f, 51.0f, 0, 0, {}, true);
    target(2, 1.6f, 51.0f);
    model.setMonitoredOnly(true);
    EXPECT_TRUE(model.target(1).visible);
    EXPECT_FALSE(model.target(2).visible);
    model.setMonitoredOnly(false);
    EXPECT_TRUE(model.target(2).visible);
}

TEST(Orientation, AngleOfHeadUpAndCourseUp) {
    EXPECT_FLOAT_EQ(OrientationAngle(Orientation::NorthUp, 90, 80), 0.0f);
    EXPECT_FLOAT_EQ(OrientationAngle(Orientation::HeadUp, 90, 80), 270.0f);
    EXPECT_FLOAT_EQ(OrientationAngle(Orientation::HeadUp, 511, 80), 280.0f);
    EXPECT_FLOAT_EQ(OrientationAngle(Orientation::CourseUp, 90, 80), 280.0f);
    EXPECT_FLOAT_EQ(OrientationAngle(Orientation::CourseUp, 90, 360), 0.0f);
}

// A hook that records which layers it was asked for.
struct LayerLog final : ChartLayerHook {
    std::vector<ChartLayer> layers;
    void drawLayer(const LayerContext& context) override {
        layers.push_back(context.layer);
        context.canvas.line(context.axis.geoToPixel(1.5, 51.0), {0, 0});
    }
};

TEST_F(ChartModelTest, HooksDrawInTheFixedLayerOrder) {
    LayerLog log;
    for (ChartLayer layer : {ChartLayer::Destination, ChartLayer::Markers, ChartLayer::TargetTracks,
                             ChartLayer::OwnTracks, ChartLayer::AlarmMarks, ChartLayer::Routes}) {
        model.addLayerHook(layer, &log);
    }
    EXPECT_TRUE(model.hasOverlayHooks());
    EXPECT_TRUE(model.overlayDirty());
    ChartPalette palette;
    test::RecordingCanvas canvas;
    model.drawOverlay(canvas, palette);
    model.showTracks(true);
    model.drawVectorLayers(canvas, palette);
    const std::vector<ChartLayer> expected{ChartLayer::OwnTracks,  ChartLayer::Markers,
                                           ChartLayer::Routes,     ChartLayer::TargetTracks,
                                           ChartLayer::AlarmMarks, ChartLayer::Destination};
    EXPECT_EQ(log.layers, expected);
    // Target tracks only while tracks are shown.
    log.layers.clear();
    model.showTracks(false);
    model.drawVectorLayers(canvas, palette);
    EXPECT_EQ(log.layers.size(), 2u);
    model.removeLayerHook(&log);
    EXPECT_FALSE(model.hasOverlayHooks());
}

}  // namespace
}  // namespace norq::chart

namespace norq::chart {
namespace {

TEST_F(ChartModelTest, PendantsArePlacedDrawnAndHit) {
    model.setPendant(3, 1.5f, 51.0f, false, true);
    const PixelXY p = model.axis().geoToPixel(1.5, 51.0);
    EXPECT_TRUE(model.pendant(3).visible);
    EXPECT_EQ(model.hitTest(p.x, p.y).kind, ChartHit::Kind::Pendant);
    EXPECT_EQ(model.hitTest(p.x, p.y).slot, 3);
    model.selectPendant(3);
    EXPECT_TRUE(model.pendant(3).symbol.selected);
    test::RecordingCanvas canvas;
    model.drawSymbols(canvas);
    // The lost pendant's figure is grey; the selection adds eight bracket lines.
    int grey = 0, alarm = 0;
    for (const auto& d : canvas.drawn) {
        grey += d.brush == PaletteRole::OwnShipLost && d.op == test::Op::Ellipse;
        alarm += d.pen == PaletteRole::Alarm && d.op == test::Op::Line;
    }
    EXPECT_EQ(grey, 1);
    EXPECT_EQ(alarm, 8);
    model.setPendant(3, 181.0f, 91.0f, false, false);
    EXPECT_FALSE(model.pendant(3).visible);
}

TEST_F(ChartModelTest, HitBoxesFollowTheRotatedChart) {
    target(1, 1.55f, 51.0f);    // east of the centre
    model.setRotation(270.0f);  // east up
    const PixelXY p = model.axis().project(1.55, 51.0);
    EXPECT_LT(p.y, 300);
    EXPECT_NEAR(p.x, 400, 2);
    EXPECT_EQ(model.hitTest(p.x + 2, p.y + 2).slot, 1);
    EXPECT_FLOAT_EQ(model.target(1).symbol.rotation, 270.0f);
}

}  // namespace
}  // namespace norq::chart
