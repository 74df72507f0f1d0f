// Routes: the leg arithmetic, the route time, the route files byte for byte
// (with the 200-route limit, cut and junk files), the hit test, deleting and
// reversing, and the route tool on the chart.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

#include "base/TempFolder.h"
#include "nav/RouteStore.h"
#include "nav/RouteTool.h"

namespace norq::nav {
namespace {

std::string Le64(double d) {
    std::uint64_t bits;
    std::memcpy(&bits, &d, 8);
    std::string s;
    for (int i = 0; i < 8; ++i)
        s.push_back(static_cast<char>(bits >> (8 * i)));
    return s;
}
std::string Le32(float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, 4);
    std::string s;
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<char>(bits >> (8 * i)));
    return s;
}

// A store in a fresh folder with one route of three waypoints built by clicks.
struct Folder {
    base::TempFolder temp;
    RouteStore store;
    Folder() { store.setFolder(temp.path("")); }
    int addRoute(std::initializer_list<std::pair<double, double>> points) {
        for (auto [lon, lat] : points)
            store.addWaypoint(0, 0, lon, lat);
        return store.finishRoute("2026-12-09 18:00:00");
    }
};

TEST(RouteLegsTest, EachClickMeasuresTheLegFromThePreviousWaypoint) {
    RouteStore store;
    store.addWaypoint(0, 0, 120.0, 22.6);
    store.addWaypoint(0, 0, 120.0, 22.6 + 1.0 / 60.0);               // one minute north
    store.addWaypoint(0, 0, 120.0 + 1.0 / 60.0, 22.6 + 1.0 / 60.0);  // one minute east
    const std::vector<Waypoint>& w = store.building();
    ASSERT_EQ(w.size(), 3u);
    EXPECT_EQ(w[0].legDistance, 0.0f);
    EXPECT_EQ(w[0].legBearing, 0.0f);
    EXPECT_NEAR(w[1].legDistance, 1.0, 0.01);
    EXPECT_NEAR(w[1].legBearing, 359.998, 0.003);
    EXPECT_NEAR(w[2].legDistance, std::cos(22.6 * M_PI / 180.0), 0.01);
    EXPECT_NEAR(w[2].legBearing, 89.995, 0.003);
    // South and west, as the plane sailing with its factor 57.3 gives them.
    EXPECT_NEAR(WaypointBearing(120.0f, 22.6f, 120.0f, 22.6f - 1.0f / 60.0f), 180.002, 0.003);
    EXPECT_NEAR(WaypointBearing(120.0f, 22.6f, 120.0f - 1.0f / 60.0f, 22.6f), 269.991, 0.003);
}

TEST(RouteLegsTest, ALegAcrossTheAntimeridianIsTheShortWayAndHeadsTheRightWay) {
    // Two degrees of longitude at 10 N: about 118 nm heading east, not 21,000 nm west.
    const float east = LegDistanceNm(179.0f, 10.0f, -179.0f, 10.0f);
    EXPECT_NEAR(east, 120.0 * std::cos(10.0 * M_PI / 180.0), 0.5);
    EXPECT_NEAR(WaypointBearing(179.0f, 10.0f, -179.0f, 10.0f), 90.0, 0.1);
    EXPECT_NEAR(WaypointBearing(-179.0f, 10.0f, 179.0f, 10.0f), 270.0, 0.1);
    EXPECT_NEAR(WaypointBearing(179.5f, 10.0f, -179.5f, 11.0f), 45.0, 10.0);
}

TEST(RouteLegsTest, ReversingMeasuresEveryLegInTheNewDirection) {
    Folder f;
    const int r = f.addRoute({{10.0, 50.0}, {10.5, 50.0}, {10.5, 50.5}});
    ASSERT_EQ(r, 0);
    ASSERT_TRUE(f.store.reverseRoute(r));
    const std::vector<Waypoint>& w = f.store.route(r).waypoints;
    EXPECT_EQ(w[0].longitude, 10.5);
    EXPECT_EQ(w[0].latitude, 50.5);
    EXPECT_EQ(w[0].legDistance, 0.0f);
    EXPECT_EQ(w[0].legBearing, 0.0f);
    EXPECT_NEAR(w[1].legBearing, 180.0, 0.1);  // was 0 (north); now south
    EXPECT_NEAR(w[2].legBearing, 270.0, 0.1);  // was 90 (east); now west
    EXPECT_NEAR(w[1].legDistance, 30.0, 0.2);
    // The waypoint file holds the reversed route.
    RouteStore again;
    again.setFolder(f.temp.path(""));
    again.load();
    ASSERT_EQ(again.count(), 1);
    EXPECT_EQ(again.route(0).waypoints[0].longitude, 10.5);
    EXPECT_NEAR(again.route(0).waypoints[2].legBearing, 270.0, 0.1);
}

TEST(RouteTimeTest, DistanceOverPlanSpeedWithTheDefaultForAnUnusableSpeed) {
    EXPECT_EQ(RouteTimeSeconds(12.5, PlanSpeedKnots("5")), 9000);
    EXPECT_EQ(FormatRouteTime(9000, "h", "min"), "  2 h  30 min");
    // 0, ".", empty and negative speeds would divide by zero or run backwards.
    for (const char* speed : {"0", ".", "", "0.0", "-3", "abc"}) {
        EXPECT_EQ(PlanSpeedKnots(speed), 5.0) << speed;
        EXPECT_EQ(RouteTimeSeconds(12.5, PlanSpeedKnots(speed)), 9000) << speed;
    }
    EXPECT_EQ(RouteTimeSeconds(12.5, 0.0), 9000);
    EXPECT_EQ(RouteTimeSeconds(std::numeric_limits<double>::quiet_NaN(), 5.0), 0);
    EXPECT_EQ(PlanSpeedKnots("12.5"), 12.5);
    EXPECT_EQ(FilterPlanSpeed("12", "12."), "12.");
    EXPECT_EQ(FilterPlanSpeed("12.", "12.."), "12.");
    EXPECT_EQ(FilterPlanSpeed("12", "12a"), "12");
}

TEST(RouteFilesTest, WaypointFileIsTwentyFourLittleEndianBytesPerWaypoint) {
    std::vector<Waypoint> w(2);
    w[0].latitude = 22.5;
    w[0].longitude = 120.25;
    w[1].latitude = -33.875;
    w[1].longitude = -70.5;
    w[1].legDistance = 12.5f;
    w[1].legBearing = 181.25f;
    const std::string bytes = EncodeWaypoints(w);
    const std::string expected = Le64(22.5) + Le64(120.25) + Le32(0.0f) + Le32(0.0f) +
                                 Le64(-33.875) + Le64(-70.5) + Le32(12.5f) + Le32(181.25f);
    ASSERT_EQ(bytes.size(), 48u);
    EXPECT_EQ(bytes, expected);
    // 22.5 as a little-endian double begins with its low mantissa bytes.
    EXPECT_EQ(static_cast<unsigned char>(bytes[7]), 0x40);
    const WaypointReadResult back = DecodeWaypoints(bytes);
    EXPECT_FALSE(back.damaged);
    EXPECT_EQ(EncodeWaypoints(back.waypoints), bytes);
}

TEST(RouteFilesTest, SavedRoutesReadBackAndWriteTheSameBytes) {
    Folder f;
    f.addRoute({{120.0, 22.6}, {120.1, 22.7}, {120.3, 22.7}});
    f.addRoute({{-5.0, 36.0}, {-5.5, 35.9}});
    f.store.setTexts(1, "Gibraltar, in", "Tarifa", "");
    f.store.setVisible(0, false);
    const std::string index = f.temp.read("Routes.csv");
    EXPECT_EQ(index,
              "Route1,Route1.wpt, , ,2026-12-09 18:00:00,3,0,\n"
              "Gibraltar  in,Route2.wpt,Tarifa, ,2026-12-09 18:00:00,2,1,\n");
    const std::string w1 = f.temp.read("Route1.wpt");
    EXPECT_EQ(w1.size(), 72u);

    RouteStore again;
    again.setFolder(f.temp.path(""));
    EXPECT_EQ(again.load(), 0);
    ASSERT_EQ(again.count(), 2);
    EXPECT_FALSE(again.route(0).visible);
    EXPECT_EQ(again.route(1).name, "Gibraltar  in");
    EXPECT_EQ(again.route(1).destination, "");
    ASSERT_TRUE(again.saveIndex());
    ASSERT_TRUE(again.saveWaypoints(0));
    EXPECT_EQ(f.temp.read("Routes.csv"), index);
    EXPECT_EQ(f.temp.read("Route1.wpt"), w1);
}

TEST(RouteFilesTest, TheTwoHundredthRouteIsSavedAndThe201stRefused) {
    Folder f;
    for (int i = 0; i < kMaxRoutes; ++i) {
        ASSERT_EQ(f.addRoute({{0.01 * i, 1.0}, {0.01 * i, 1.1}}), i);
    }
    EXPECT_EQ(f.store.count(), 200);
    EXPECT_EQ(f.store.route(199).fileName, "Route200.wpt");
    EXPECT_EQ(f.store.addWaypoint(0, 0, 3.0, 3.0), AddWaypointResult::Full);
    EXPECT_TRUE(f.store.building().empty());
    EXPECT_EQ(f.store.finishRoute("x"), -1);

    RouteStore again;
    again.setFolder(f.temp.path(""));
    again.load();
    EXPECT_EQ(again.count(), 200);
    // A hand-made 201st line is not taken.
    f.temp.write("Routes.csv", f.temp.read("Routes.csv") + "Extra,Route1.wpt, , ,t,2,1,\n" +
                                   "More,Route201.wpt, , ,t,2,1,\n");
    f.temp.write("Route201.wpt", f.temp.read("Route1.wpt"));
    again.load();
    EXPECT_EQ(again.count(), 200);
}

TEST(RouteFilesTest, ACutOrJunkFileGivesWhatIsSoundAndNeverCrashes) {
    Folder f;
    f.addRoute({{10.0, 50.0}, {10.5, 50.0}, {10.5, 50.5}});
    const std::string whole = f.temp.read("Route1.wpt");
    // Cut in the middle of the third record: two waypoints.
    f.temp.write("Route1.wpt", whole.substr(0, 58));
    RouteStore cut;
    cut.setFolder(f.temp.path(""));
    EXPECT_EQ(cut.load(), 1);
    ASSERT_EQ(cut.count(), 1);
    ASSERT_EQ(cut.route(0).waypoints.size(), 2u);
    EXPECT_NEAR(cut.route(0).waypoints[1].legBearing, 90.0, 0.1);

    // A junk middle record (latitude NaN) is dropped and the legs measured again:
    // the third waypoint's leg now runs from the first.
    std::string junk = whole;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    junk.replace(24, 8, Le64(nan));
    f.temp.write("Route1.wpt", junk);
    RouteStore dropped;
    dropped.setFolder(f.temp.path(""));
    EXPECT_EQ(dropped.load(), 1);
    ASSERT_EQ(dropped.route(0).waypoints.size(), 2u);
    EXPECT_NEAR(dropped.route(0).waypoints[1].legBearing, 32.7, 1.0);
    // Junk legs with sound positions: measured again.
    std::string legs = whole;
    legs.replace(40, 4, Le32(-7.0f));
    EXPECT_TRUE(DecodeWaypoints(legs).damaged);
    EXPECT_NEAR(DecodeWaypoints(legs).waypoints[1].legDistance, 19.3, 0.2);

    // Random bytes, an index line pointing outside the folder, a short line.
    std::string noise;
    for (int i = 0; i < 5000; ++i)
        noise.push_back(static_cast<char>((i * 7919) ^ (i >> 3)));
    EXPECT_NO_FATAL_FAILURE(DecodeWaypoints(noise));
    EXPECT_NO_FATAL_FAILURE(DecodeRouteIndex(noise));
    f.temp.write("Routes.csv", "Evil,../../etc/passwd, , ,t,2,1,\nShort,Route1.wpt\n" + noise);
    RouteStore hostile;
    hostile.setFolder(f.temp.path(""));
    hostile.load();
    EXPECT_EQ(hostile.count(), 0);
}

TEST(RouteFilesTest, AFailedWriteIsReported) {
    RouteStore store;
    store.setFolder("/nonexistent-folder-for-routes/");
    store.addWaypoint(0, 0, 1.0, 1.0);
    bool written = true;
    EXPECT_EQ(store.finishRoute("t", &written), 0);
    EXPECT_FALSE(written);
    EXPECT_FALSE(store.setVisible(0, false));
    EXPECT_FALSE(store.reverseRoute(0));
}

TEST(RouteStoreTest, DeletingRemovesTheFilesAndTheLastTakesTheRouteBeingBuilt) {
    Folder f;
    f.addRoute({{1.0, 1.0}, {1.1, 1.0}});
    f.addRoute({{2.0, 1.0}, {2.1, 1.0}});
    f.store.setHighlighted(1);
    ASSERT_TRUE(f.store.deleteRoute(0));
    EXPECT_FALSE(std::filesystem::exists(f.temp.path("Route1.wpt")));
    EXPECT_EQ(f.store.highlighted(), -1);
    EXPECT_EQ(f.temp.read("Routes.csv"), "Route2,Route2.wpt, , ,2026-12-09 18:00:00,2,1,\n");
    f.store.addWaypoint(0, 0, 5.0, 5.0);
    ASSERT_TRUE(f.store.deleteRoute(0));
    EXPECT_FALSE(std::filesystem::exists(f.temp.path("Routes.csv")));
    EXPECT_TRUE(f.store.building().empty());
    // A missing waypoint file on delete is no error.
    f.addRoute({{1.0, 1.0}});
    std::filesystem::remove(f.temp.path("Route1.wpt"));
    EXPECT_TRUE(f.store.deleteRoute(0));
}

TEST(RouteStoreTest, WaypointsAreInsertedAppendedAndDeletedWithTheLegsMeasuredAgain) {
    Folder f;
    const int r = f.addRoute({{1.0, 1.0}, {1.2, 1.0}});
    ASSERT_EQ(r, 0);
    auto& w = f.store.route(r).waypoints;
    const auto onDisk = [&] {
        const WaypointReadResult read = DecodeWaypoints(f.temp.read("Route1.wpt"));
        return read.waypoints.size();
    };

    // On the leg from waypoint 0: the new one comes second, both legs measured.
    ASSERT_TRUE(f.store.insertWaypoint(r, 0, 1.1, 1.1));
    ASSERT_EQ(w.size(), 3u);
    EXPECT_DOUBLE_EQ(w[1].latitude, 1.1);
    EXPECT_NEAR(w[1].legBearing, 45.0, 0.5);
    EXPECT_NEAR(w[2].legBearing, 135.0, 0.5);
    EXPECT_NEAR(w[2].legDistance, LegDistanceNm(1.1f, 1.1f, 1.2f, 1.0f), 1e-4);
    EXPECT_EQ(onDisk(), 3u);

    // Appending past the antimeridian keeps the longitude on the globe.
    ASSERT_TRUE(f.store.appendWaypoint(r, 1.3, 1.0));
    EXPECT_EQ(w.back().longitude, 1.3);
    EXPECT_NEAR(w.back().legBearing, 90.0, 0.5);
    EXPECT_EQ(onDisk(), 4u);

    // Deleting the inserted waypoint joins its neighbours with one leg.
    ASSERT_TRUE(f.store.deleteWaypoint(r, 1));
    ASSERT_EQ(w.size(), 3u);
    EXPECT_NEAR(w[1].legBearing, 90.0, 0.5);
    EXPECT_NEAR(w[1].legDistance, LegDistanceNm(1.0f, 1.0f, 1.2f, 1.0f), 1e-4);
    EXPECT_EQ(onDisk(), 3u);

    // Out of range does nothing; the last waypoint stays.
    EXPECT_TRUE(f.store.deleteWaypoint(r, 7));
    EXPECT_TRUE(f.store.insertWaypoint(r, -1, 0.0, 0.0));
    EXPECT_TRUE(f.store.insertWaypoint(r, 0, 0.0, 95.0));
    EXPECT_TRUE(f.store.appendWaypoint(5, 0.0, 0.0));
    EXPECT_EQ(w.size(), 3u);
    f.store.deleteWaypoint(r, 0);
    f.store.deleteWaypoint(r, 0);
    f.store.deleteWaypoint(r, 0);
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].legDistance, 0.0f);

    // A write that fails is reported, and the old file is still whole.
    const std::string before = f.temp.read("Route1.wpt");
    f.store.setFolder(f.temp.path("missing/"));
    EXPECT_FALSE(f.store.appendWaypoint(r, 1.4, 1.0));
    EXPECT_EQ(f.temp.read("Route1.wpt"), before);
}

TEST(RouteHitTest, LegsAndWaypointsWithinFourPixels) {
    Folder f;
    RouteStore& store = f.store;
    store.addWaypoint(100, 100, 1.0, 1.0);
    store.addWaypoint(200, 100, 2.0, 1.0);
    store.finishRoute("t");
    store.addWaypoint(300, 300, 3.0, 3.0);
    store.finishRoute("t");
    // finishRoute keeps the pixels of the clicks until the next drawing.
    EXPECT_EQ(store.hitTest(150, 103), RouteHit::Leg);
    EXPECT_EQ(store.selectedRoute(), 0);
    EXPECT_EQ(store.selectedWaypoint(), 0);
    EXPECT_EQ(store.highlighted(), 0);
    EXPECT_EQ(store.hitTest(150, 106), RouteHit::Nothing);
    EXPECT_EQ(store.hitTest(203, 97), RouteHit::Waypoint);
    EXPECT_EQ(store.hitTest(304, 296), RouteHit::SingleWaypoint);
    EXPECT_EQ(store.selectedRoute(), 1);
    EXPECT_EQ(store.hitTest(305, 300), RouteHit::Nothing);
    // A hidden route is not drawn and cannot be hit.
    store.route(0).visible = false;
    EXPECT_EQ(store.hitTest(150, 100), RouteHit::Nothing);
}

struct Host final : RouteToolHost {
    int full = 0;
    int changed = 0;
    std::vector<RouteHit> popups;
    void routeStoreFull() override { ++full; }
    void routeChanged() override { ++changed; }
    void routePopup(RouteHit hit, chart::PixelXY) override { popups.push_back(hit); }
};

chart::ChartPointer At(chart::PointerButton button, int x, int y, double lon, double lat) {
    return {button, {x, y}, {lon, lat}};
}

TEST(RouteToolTest, ClicksAddWaypointsDragsPanAndRightClickAsksForThePopup) {
    RouteStore store;
    Host host;
    RouteTool tool(store, host);
    using chart::PointerButton;
    // A click just beyond the antimeridian.
    EXPECT_FALSE(tool.press(At(PointerButton::Left, 10, 10, 185.0, 10.0)));
    EXPECT_EQ(tool.state(), RouteToolState::Armed);
    EXPECT_TRUE(tool.release(At(PointerButton::Left, 10, 10, 185.0, 10.0)));
    ASSERT_EQ(store.building().size(), 1u);
    EXPECT_EQ(store.building()[0].longitude, -175.0);
    // A press off the globe does not arm the tool.
    tool.press(At(PointerButton::Left, 10, 10, 10.0, 95.0));
    EXPECT_FALSE(tool.release(At(PointerButton::Left, 10, 10, 10.0, 95.0)));
    EXPECT_EQ(store.building().size(), 1u);
    // A drag: eleven moves make it pending, the chart pans, nothing is added.
    tool.press(At(PointerButton::Left, 10, 10, 11.0, 10.0));
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(tool.move(At(PointerButton::Left, 10 + i, 10, 11.0, 10.0), true));
    EXPECT_FALSE(tool.move(At(PointerButton::Left, 30, 10, 11.0, 10.0), true));
    EXPECT_EQ(tool.state(), RouteToolState::Pending);
    EXPECT_FALSE(tool.release(At(PointerButton::Left, 30, 10, 11.0, 10.0)));
    EXPECT_EQ(store.building().size(), 1u);
    // Right button: the popup with the hit test's answer.
    tool.press(At(PointerButton::Right, 500, 500, 0.0, 0.0));
    EXPECT_TRUE(tool.release(At(PointerButton::Right, 500, 500, 0.0, 0.0)));
    ASSERT_EQ(host.popups.size(), 1u);
    EXPECT_EQ(host.popups[0], RouteHit::Nothing);
}

TEST(RouteToolTest, TheFullStoreRefusesTheWaypointAndIdlesTheTool) {
    Folder f;
    RouteStore& store = f.store;
    for (int i = 0; i < kMaxRoutes; ++i) {
        store.addWaypoint(0, 0, 1.0, 1.0);
        store.finishRoute("t");
    }
    Host host;
    RouteTool tool(store, host);
    tool.press(At(chart::PointerButton::Left, 1, 1, 1.0, 1.0));
    EXPECT_TRUE(tool.release(At(chart::PointerButton::Left, 1, 1, 1.0, 1.0)));
    EXPECT_EQ(host.full, 1);
    EXPECT_EQ(tool.state(), RouteToolState::Idle);
    EXPECT_TRUE(store.building().empty());
}

TEST(RouteTextTest, TextsAreCutToThirtyCharactersWithoutSplittingTheLine) {
    EXPECT_EQ(CleanRouteText("a,b\nc"), "a b c");
    EXPECT_EQ(CleanRouteText(std::string(40, 'x')), std::string(30, 'x'));
    // Thirty characters of two bytes each stay whole.
    std::string wide;
    for (int i = 0; i < 35; ++i)
        wide += "\xC3\xA9";
    EXPECT_EQ(CleanRouteText(wide).size(), 60u);
}

}  // namespace
}  // namespace norq::nav
