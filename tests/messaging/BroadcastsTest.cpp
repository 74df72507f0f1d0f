// Area notices and routes as built from typed values and stored fairways: the
// scale at its limits, bearings next to north, the split of a long polyline,
// the linkage-ID pool and the fairway files, whole, damaged and hostile.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "base/TempFolder.h"
#include "messaging/FairwayBroadcast.h"

namespace norq::messaging {
namespace {

TEST(AreaNotice, ScaleAtItsLimits) {
    struct Case {
        double metres;
        std::uint32_t limit;
        int scale;
        bool error;
    };
    for (const Case c : {Case{4095, 4095, 0, false},
                         {4096, 4095, 1, false},
                         {4095000, 4095, 3, false},
                         {4095001, 4095, 4, true},
                         {1023, 1023, 0, false},
                         {1024, 1023, 1, false},
                         {1023000, 1023, 3, false},
                         {1023001, 1023, 4, true}}) {
        const ScaleChoice s = ChooseScale(c.metres, c.limit);
        EXPECT_EQ(s.scale, c.scale) << c.metres;
        EXPECT_EQ(s.error, c.error) << c.metres;
    }
    EXPECT_EQ(ChooseScale(4096, 4095).divisor, 10u);

    const NoticeHeader h;
    NoticeSeries s = BuildCircleNotice(h, {10.0, 55.0}, 5000);
    ASSERT_EQ(s.count, 1);
    EXPECT_EQ(s.records[0].scaleFactor, 1);
    EXPECT_EQ(s.records[0].radius, 500u);
    s = BuildCircleNotice(h, {10.0, 55.0}, 4095);
    EXPECT_EQ(s.records[0].scaleFactor, 0);
    EXPECT_EQ(s.records[0].radius, 4095u);
    s = BuildCircleNotice(h, {10.0, 55.0}, 4095001);
    EXPECT_EQ(s.count, 0);
    EXPECT_EQ(s.error, "[ERROR] Radius > 4095000 metres");
}

TEST(AreaNotice, BearingsNextToNorthAreSentAsNorth) {
    EXPECT_EQ(LegBearing(200, 0, 0, 0), kBearingNotAvailable);
    EXPECT_EQ(LegBearing(5, 5, 5, 5), 0.0);
    EXPECT_NEAR(LegBearing(0, 0, 0.01, 0), 90.0, 0.01);
    EXPECT_NEAR(LegBearing(0, 0, 0, -0.01), 180.0, 0.01);
    EXPECT_NEAR(LegBearing(0, 0, -0.01, 0), 270.0, 0.01);
    // Across the 180th meridian a leg keeps its way: east is east.
    EXPECT_NEAR(LegBearing(179.995, 0, -179.995, 0), 90.0, 0.01);
    EXPECT_NEAR(LegBearing(-179.995, 10, 179.995, 10), 270.0, 0.01);
    // A leg a little west of north: 359.8 degrees rounds to 720 half degrees.
    const double lon = -0.01 * std::tan(0.2 * 3.14159265358979 / 180);
    const double b = LegBearing(0, 0, lon, 0.01);
    ASSERT_GT(b, 359.75);
    ASSERT_LT(b, 359.99);
    const Corner corners[] = {{0, 0}, {lon, 0.01}, {lon + 0.01, 0.01}};
    SegmentList list;
    std::string error;
    ASSERT_TRUE(BuildSegments(corners, list, error));
    EXPECT_EQ(list.pairs[0].angle, 0u);
    EXPECT_EQ(list.pairs[1].angle, 180u);
    // 1852 m per nautical mile: a minute of latitude is about 1855 m.
    EXPECT_NEAR(LegMetres(0, 0, 0, 1.0 / 60), 1853.2, 3.0);
}

TEST(AreaNotice, SevenCornersGoOutInThreeMessages) {
    std::vector<Corner> corners;
    for (int i = 0; i < 7; ++i)
        corners.push_back({10.0 + 0.02 * i, 55.0 + (i % 2) * 0.005});
    NoticeHeader h;
    h.linkageId = 7;
    const NoticeSeries s = BuildShapeNotice(h, AreaShape::Polyline, corners);
    ASSERT_EQ(s.count, 3);
    EXPECT_EQ(s.records[0].areaShape, 0);
    EXPECT_EQ(s.records[0].radius, 0u);
    EXPECT_FLOAT_EQ(s.records[0].longitude, 10.0f);
    EXPECT_EQ(s.records[1].areaShape, 3);
    EXPECT_EQ(s.records[2].areaShape, 3);
    // Legs of about 1.4 km: tens of metres. Segments 5 and 6 in the continuation.
    EXPECT_EQ(s.records[1].scaleFactor, 1);
    EXPECT_NE(s.records[2].segments[1], 0u);
    EXPECT_NE(s.records[2].segments[3], 0u);
    EXPECT_EQ(s.records[2].segments[5], 0u);
    for (const auto& r : s.view())
        EXPECT_EQ(r.linkageId, 7);

    // 19 corners (18 segments): point, shape and four continuations; more are cut.
    corners.resize(25, corners.back());
    for (std::size_t i = 7; i < corners.size(); ++i)
        corners[i].latitude = 55.0 + 0.01 * i;
    EXPECT_EQ(BuildShapeNotice(h, AreaShape::Polygon, corners).count, 6);
    // A leg too long for the largest scale sends nothing, not even the point.
    const Corner far[] = {{0, 0}, {0, 10}};
    const NoticeSeries none = BuildShapeNotice(h, AreaShape::Polyline, far);
    EXPECT_EQ(none.count, 0);
    EXPECT_EQ(none.error, "[ERROR] Distance > 1023000 metres");
}

Fairway Sample(std::string name, int shape = 3) {
    Fairway f;
    f.name = std::move(name);
    f.areaShape = shape;
    f.created = "2026/12/10 14:00:00";
    f.year = 2026;
    f.month = 12;
    f.day = 10;
    f.hour = 14;
    f.duration = 1440;
    for (int i = 0; i < 4; ++i)
        f.waypoints.push_back({10.0 + 0.01 * i, 55.0 + 0.002 * i, 0, 0});
    return f;
}

TEST(FairwayList, LinkageIdPool) {
    FairwayList list;
    EXPECT_EQ(list.LowestFreeId(), 1);
    EXPECT_EQ(list.Append(Sample("a")), 0);
    EXPECT_EQ(list.Append(Sample("b")), 1);
    EXPECT_EQ(list[1].linkageId, 2);
    EXPECT_EQ(list.LowestFreeId(), 3);
    // Taken by another fairway, but a fairway may keep its own.
    EXPECT_FALSE(list.IdAvailable(1, 1));
    EXPECT_TRUE(list.IdAvailable(2, 1));
    EXPECT_FALSE(list.IdAvailable(0, -1));
    EXPECT_FALSE(list.IdAvailable(500, -1));
    // A changed ID frees the old one.
    EXPECT_FALSE(list.SetLinkageId(1, 1));
    EXPECT_TRUE(list.SetLinkageId(0, 300));
    EXPECT_EQ(list.LowestFreeId(), 1);
    // Deleting frees the ID.
    list.Remove(1);
    EXPECT_FALSE(list.IdUsed(2));
    EXPECT_TRUE(list.IdUsed(300));
    Fairway taken = Sample("c");
    taken.linkageId = 300;
    EXPECT_EQ(list.Append(taken), 1);
    EXPECT_EQ(list[1].linkageId, 1);
}

TEST(FairwayList, FilesRoundTripAndRebuildThePool) {
    base::TempFolder dir;
    const std::string folder = dir.path("Fairway/");
    FairwayList list;
    list.Append(Sample(""));
    list.Append(Sample("Harbour, east", 4));
    list[1].broadcast = true;
    list.SetLinkageId(1, 42);
    ASSERT_TRUE(list.SaveList(folder));
    ASSERT_TRUE(list.SaveWaypoints(folder, 0));
    ASSERT_TRUE(list.SaveWaypoints(folder, 1));
    std::ifstream in(folder + "FairwayList.csv");
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, " ,Fairway_1.bin,1,22,3,18,2026/12/10 14:00:00,4,1,0,0,2026,12,10,14,0,1440,");
    EXPECT_EQ(std::filesystem::file_size(folder + "Fairway_1.bin"), 4u * 24);

    FairwayList back;
    back.Load(folder);
    ASSERT_EQ(back.count(), 2u);
    EXPECT_EQ(back[1].name, "Harbour  east");
    EXPECT_EQ(back[1].linkageId, 42);
    EXPECT_TRUE(back[1].broadcast);
    ASSERT_EQ(back[1].waypoints.size(), 4u);
    EXPECT_DOUBLE_EQ(back[1].waypoints[3].latitude, 55.006);
    EXPECT_NEAR(back[1].waypoints[1].legMetres, list[1].waypoints[1].legMetres, 0.01);
    EXPECT_TRUE(back.IdUsed(42));
    EXPECT_EQ(back.LowestFreeId(), 2);

    // Deleting every fairway removes the list file: nothing comes back.
    back.Remove(1);
    back.Remove(0);
    ASSERT_TRUE(back.SaveList(folder));
    FairwayList empty;
    empty.Load(folder);
    EXPECT_EQ(empty.count(), 0u);
}

TEST(FairwayList, DamagedAndHostileFilesAreSkipped) {
    base::TempFolder dir;
    const std::string folder = dir.path("");
    {
        std::ofstream list(folder + "FairwayList.csv", std::ios::binary);
        list << "ok,a.bin,5,22,3,18,c,3,1,0,0,2026,1,2,3,4,60,\n"
             << "dup,b.bin,5,22,3,18,c,3,1,0,0,2026,1,2,3,4,60,\n"
             << "up,../../etc/passwd,6,22,3,18,c,3,1,0,0,2026,1,2,3,4,60,\n"
             << "bad,c.bin,700,22,3,18,c,3,1,0,0,2026,1,2,3,4,60,\n"
             << "short,d.bin,8,22\n"
             << std::string(5000, 'x') << "\n"
             << "zero,e.bin,9,27,0,120,c,0,1,0,0,2026,1,2,3,4,0,\n"
             << "route,missing.bin,10,27,0,120,c,3,1,1,0,2026,1,2,3,4,60,";
        std::ofstream wp(folder + "a.bin", std::ios::binary);
        const std::vector<FairwayWaypoint> points = {{1, 2, 0, 0}, {1.01, 2, 0, 0}, {999, 2, 0, 0}};
        const std::string bytes = EncodeWaypoints(points);
        wp << bytes << "tail";  // a third point out of range and a torn fourth
    }
    FairwayList list;
    list.Load(folder);
    ASSERT_EQ(list.count(), 2u);
    EXPECT_EQ(list[0].linkageId, 5);
    EXPECT_EQ(list[0].waypoints.size(), 2u);
    EXPECT_NEAR(list[0].totalLength, 1113, 5);
    EXPECT_EQ(list[1].linkageId, 10);
    EXPECT_TRUE(list[1].waypoints.empty());
    EXPECT_TRUE(DecodeWaypoints("short").empty());
}

}  // namespace
}  // namespace norq::messaging
