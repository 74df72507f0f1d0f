// The targets' track rings: their bounds, how they follow the target table, and
// what the chart layer draws of them.
#include <gtest/gtest.h>

#include "chart/ChartModel.h"
#include "chart/RecordingCanvas.h"
#include "nav/ShipTrack.h"

namespace norq::nav {
namespace {

using chart::test::Op;
using chart::test::RecordingCanvas;

TEST(ShipTrackRing, HoldsTheLast719AndRefusesPositionsOffTheGlobe) {
    CShipTrack ring;
    EXPECT_TRUE(ring.empty());
    EXPECT_FALSE(ring.append(180.2f, 0.0f));
    EXPECT_FALSE(ring.append(0.0f, -90.2f));
    EXPECT_FALSE(ring.append(181.0f, 91.0f));  // not available
    EXPECT_TRUE(ring.append(180.1f, 90.1f));   // the limits themselves are taken
    ring.clear();
    for (int i = 0; i < 720; ++i)
        ring.append(static_cast<float>(i) / 10.0f, 0.0f);
    EXPECT_EQ(ring.size(), 719);
    EXPECT_EQ(ring.at(0).lon, 0.1f);  // the first one went with the 720th
    ring.append(72.0f, 0.0f);         // the 721st drops the oldest
    EXPECT_EQ(ring.size(), 719);
    EXPECT_EQ(ring.at(0).lon, 0.2f);
    EXPECT_EQ(ring.at(718).lon, 72.0f);
    ring.clear();
    EXPECT_EQ(ring.head(), 0);
    EXPECT_EQ(ring.tail(), 0);
}

TEST(ShipTrackStore, FollowsTheTableWhenTargetsAgeOutAndSlotsAreReused) {
    ShipTrackStore store;
    // Ten entries: slot s holds s points of the target with MMSI 1000 + s.
    for (int s = 1; s < 10; ++s) {
        for (int p = 0; p < s; ++p)
            store.append(s, 1000u + s, 1.0f + p * 0.01f, 50.0f + s);
        store.setVisible(s, s % 2 == 0);
    }
    // Target 3 of 10 leaves: 4 becomes 3, ..., 9 becomes 8, and 9 is cleared.
    store.onTargetRemoved(3, 9);
    EXPECT_EQ(store.ring(3).size(), 4);
    EXPECT_EQ(store.owner(3), 1004u);
    EXPECT_TRUE(store.visible(3));
    EXPECT_EQ(store.ring(8).size(), 9);
    EXPECT_FALSE(store.visible(8));
    EXPECT_TRUE(store.ring(9).empty());
    EXPECT_EQ(store.owner(9), 0u);
    EXPECT_EQ(store.ring(2).size(), 2);  // slots before the removed one stay

    // A new target in the freed slot starts an empty, hidden ring, never the
    // track of the one that was there before.
    store.setVisible(9, true);
    store.append(9, 2222u, 3.0f, 3.0f);
    EXPECT_EQ(store.ring(9).size(), 1);
    EXPECT_FALSE(store.visible(9));
    store.append(8, 5555u, 3.0f, 3.0f);  // the table was cleared and slot 8 reused
    EXPECT_EQ(store.ring(8).size(), 1);

    // The last slot and slots out of range.
    store.append(500, 7u, 1.0f, 1.0f);
    store.onTargetRemoved(500, 500);
    EXPECT_TRUE(store.ring(500).empty());
    store.append(501, 1u, 1.0f, 1.0f);
    store.onTargetRemoved(-1, 3);
    EXPECT_FALSE(store.visible(501));
}

struct Scene {
    chart::ChartModel model;
    chart::ChartPalette palette;
    ShipTrackStore store;
    TargetTrackLayer layer{store, model};
    RecordingCanvas canvas;

    Scene() {
        model.resize(800, 600);
        model.setScaleIndex(8);
        model.setCentre(1.3, 51.0);
    }
    void target(int slot, float lon, float lat, bool monitored = false) {
        model.setTarget(slot, lon, lat, 0.0f, 0.0f, {}, monitored);
    }
    void draw(bool shown = true) {
        canvas.drawn.clear();
        const chart::LayerContext c{model.axis(), palette, canvas, chart::ChartLayer::TargetTracks,
                                    shown};
        layer.drawLayer(c);
    }
    int segments() const {
        int n = 0;
        for (const auto& d : canvas.of(Op::Polyline))
            n += static_cast<int>(d.points.size()) - 1;
        return n;
    }
};

TEST(TargetTrackLayer, DrawsVisibleTracksAsTheViewShowsThem) {
    Scene s;
    for (int p = 0; p < 5; ++p)  // zig-zag
        s.store.append(3, 1003u, 1.30f + p * 0.01f, 51.0f + (p % 2) * 0.005f);
    s.target(3, 1.34f, 51.02f);
    s.draw();
    EXPECT_EQ(s.segments(), 0);  // not visible yet
    s.store.setVisible(3, true);
    s.draw();
    EXPECT_EQ(s.segments(), 4);  // 5 positions, 4 segments
    const auto lines = s.canvas.of(Op::Polyline);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].pen, chart::PaletteRole::Track);
    EXPECT_EQ(lines[0].penWidth, 2);
    EXPECT_EQ(lines[0].penStyle, chart::PenStyle::Solid);
    EXPECT_EQ(lines[0].points.front(), s.model.axis().geoToPixel(1.30f, 51.0f));
    s.draw(false);
    EXPECT_EQ(s.segments(), 0);  // "Tracks(&T)" unchecked

    // "Show Monitored Ships Only": an unmonitored target's track is left out.
    s.model.setMonitoredOnly(true);
    s.draw();
    EXPECT_EQ(s.segments(), 0);
    s.target(3, 1.34f, 51.02f, true);
    s.draw();
    EXPECT_EQ(s.segments(), 4);
    s.model.setMonitoredOnly(false);
    // A target without a position on the chart draws no track.
    s.target(3, 181.0f, 91.0f);
    s.draw();
    EXPECT_EQ(s.segments(), 0);
}

TEST(TargetTrackLayer, LeavesOutRepeatedPixelsAndRunsOutsideTheView) {
    Scene s;
    s.target(4, 1.3f, 51.0f);
    s.store.setVisible(4, true);
    s.store.append(4, 1004u, 1.30f, 51.0f);  // makes the slot its target's
    s.store.setVisible(4, true);
    for (int p = 0; p < 10; ++p)
        s.store.append(4, 1004u, 1.30f, 51.0f);  // at anchor: one pixel
    s.draw();
    EXPECT_EQ(s.segments(), 0);
    // Out of the view to the north and back: the part outside is cut out.
    s.store.clear(4);
    const float lats[] = {51.0f, 51.01f, 60.0f, 61.0f, 62.0f, 51.02f, 51.03f};
    for (float lat : lats)
        s.store.append(4, 1004u, 1.30f, lat);
    s.store.setVisible(4, true);
    s.draw();
    const auto lines = s.canvas.of(Op::Polyline);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].points.front(), s.model.axis().geoToPixel(1.30f, 51.0f));
    EXPECT_EQ(lines[0].points.back(), s.model.axis().geoToPixel(1.30f, 60.0f));
    EXPECT_EQ(lines[1].points.front(), s.model.axis().geoToPixel(1.30f, 62.0f));
    EXPECT_EQ(lines[1].points.back(), s.model.axis().geoToPixel(1.30f, 51.03f));
    // A straight run is one segment, a turn is kept, and so is a turn back.
    s.model.setScaleIndex(10);
    s.store.clear(4);
    for (int p = 0; p < 20; ++p)
        s.store.append(4, 1004u, 1.25f + p * 0.002f, 51.0f + p * 0.0007f);
    s.store.append(4, 1004u, 1.29f, 51.02f);   // a turn to the north
    s.store.append(4, 1004u, 1.27f, 51.007f);  // and back along the way it came
    s.store.setVisible(4, true);
    s.draw();
    const auto turned = s.canvas.of(Op::Polyline);
    ASSERT_EQ(turned.size(), 1u);
    ASSERT_EQ(turned[0].points.size(), 4u);
    EXPECT_EQ(turned[0].points[1],
              s.model.axis().geoToPixel(1.25f + 19 * 0.002f, 51.0f + 19 * 0.0007f));
}

}  // namespace
}  // namespace norq::nav
