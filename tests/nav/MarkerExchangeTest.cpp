// The marker exchange with the transponder (the MRK sentences sent and the
// reports taken, relinking by the integers the sentence carries) and the marker
// layer of the chart.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "chart/RecordingCanvas.h"
#include "codec/SentenceCodec.h"
#include "nav/MarkerExchange.h"
#include "nav/MarkerLayer.h"

namespace norq::nav {
namespace {

class RecordingPort final : public MarkerLinePort {
  public:
    bool sendMarkerLine(std::string_view line) override {
        lines.emplace_back(line);
        return true;
    }
    std::vector<std::string> lines;
};

// A report as the transponder sends it, through the codec's parser.
codec::Mrk Report(int operation, int count, int index, std::int64_t lat, std::int64_t lon,
                  const char* name, char* subtype = nullptr) {
    char text[128];
    std::snprintf(text, sizeof text, "$PKRV,R,MRK,%d,%d,%d,%lld,%lld,%s,1,", operation, count,
                  index, static_cast<long long>(lat), static_cast<long long>(lon), name);
    std::string line = text;
    unsigned sum = 0;
    for (std::size_t i = 1; i < line.size(); ++i)
        sum ^= static_cast<unsigned char>(line[i]);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    line += tail;
    codec::SentenceRecord r;
    EXPECT_EQ(codec::ParseSentence(line, r), codec::ParseStatus::Ok) << line;
    if (subtype != nullptr) *subtype = r.subtype;
    const codec::Mrk* m = r.as<codec::Mrk>();
    return m != nullptr ? *m : codec::Mrk{};
}

class MarkerExchangeTest : public ::testing::Test {
  protected:
    MarkerExchangeTest() { exchange.setPort(&port); }
    MarkerReportResult report(int operation, int count, int index, std::int64_t lat,
                              std::int64_t lon, const char* name = "X") {
        char subtype = 0;
        const codec::Mrk m = Report(operation, count, index, lat, lon, name, &subtype);
        EXPECT_EQ(subtype, 'R');
        return exchange.onSentence(subtype, m);
    }
    MarkerList viewer;
    RecordingPort port;
    MarkerExchange exchange{viewer};
};

TEST_F(MarkerExchangeTest, TheListQueryAndTheCommandsGoOutAsDescribed) {
    ASSERT_TRUE(exchange.queryList());
    ASSERT_EQ(port.lines.size(), 1u);
    EXPECT_TRUE(port.lines[0].starts_with("$PKRV,Q,MRK,0,1024,1024,0,0,,1,*")) << port.lines[0];
    EXPECT_TRUE(codec::ChecksumValid(port.lines[0]));

    // A marker never sent: add with index -1, then the end-of-command sentence.
    viewer.add(MakeMarker("Pier", 121.512345, 25.154321));
    port.lines.clear();
    ASSERT_TRUE(exchange.sendToDevice(0));
    ASSERT_EQ(port.lines.size(), 2u);
    EXPECT_TRUE(port.lines[0].starts_with("$PKRV,C,MRK,1,0,-1,25154321,121512344,Pier,1,*"))
        << port.lines[0];  // 121.512345 as a 32-bit float is 121.51234436..., truncated
    EXPECT_TRUE(port.lines[1].starts_with("$PKRV,C,MRK,9,0,-1,25154321,121512344,Pier,1,*"));
    // Southern and western positions are negative millionths, truncated toward zero.
    viewer.add(MakeMarker("Cape, Horn*", -67.2758, -55.9797));
    port.lines.clear();
    exchange.sendToDevice(1);
    EXPECT_TRUE(port.lines[0].starts_with("$PKRV,C,MRK,1,0,-1,-55979698,-67275802,Cape_ Horn_,1,*"))
        << port.lines[0];
}

TEST_F(MarkerExchangeTest, AnAddedMarkerIsLinkedSoASecondUploadModifiesIt) {
    // Coordinates whose float is not the reported value / 1e6 exactly: the
    // float comparison fails for them, the integer one does not.
    viewer.add(MakeMarker("Alpha", 121.512345, 25.154321));
    viewer.add(MakeMarker("Bravo", -4.123457, 48.391234));
    exchange.sendToDevice(0);
    const std::int64_t lat = ToMillionths(viewer.at(0).latitude);
    const std::int64_t lon = ToMillionths(viewer.at(0).longitude);
    const MarkerReportResult added = report(1, 1, 0, lat, lon, "Alpha");
    EXPECT_TRUE(added.deviceChanged);
    EXPECT_TRUE(added.viewerChanged);
    EXPECT_EQ(exchange.deviceCount(), 1);
    EXPECT_EQ(exchange.device(0).record.deviceIndex, 0);
    EXPECT_EQ(viewer.at(0).deviceIndex, 0);
    EXPECT_EQ(viewer.at(1).deviceIndex, -1);

    port.lines.clear();
    exchange.sendToDevice(0);
    ASSERT_EQ(port.lines.size(), 2u);
    EXPECT_TRUE(port.lines[0].starts_with("$PKRV,C,MRK,2,1,0,")) << port.lines[0];

    // How many of a thousand positions would have linked by float equality,
    // and how many link by the integers.
    int byFloat = 0;
    int byInteger = 0;
    int byFloat32 = 0;
    for (int i = 0; i < 1000; ++i) {
        MarkerList list;
        list.add(MakeMarker("P", -179.0 + i * 0.357913, -89.0 + i * 0.177777));
        const MarkerRecord& r = list.at(0);
        const std::int64_t la = ToMillionths(r.latitude);
        const std::int64_t lo = ToMillionths(r.longitude);
        const float fla = static_cast<float>(static_cast<double>(la) * 0.000001);
        const float flo = static_cast<float>(static_cast<double>(lo) * 0.000001);
        byFloat += (fla == r.latitude && flo == r.longitude) ? 1 : 0;
        // The same in 32-bit arithmetic, as a float-only conversion would do it.
        const float gla = static_cast<float>(la) * 0.000001f;
        const float glo = static_cast<float>(lo) * 0.000001f;
        byFloat32 += (gla == r.latitude && glo == r.longitude) ? 1 : 0;
        MarkerExchange ex(list);
        ex.onSentence('R', Report(1, 1, 0, la, lo, "P"));
        byInteger += list.at(0).deviceIndex == 0 ? 1 : 0;
    }
    std::printf(
        "[ figures  ] of 1000 positions, %d link by float equality (%d in 32-bit "
        "arithmetic), %d by the integers\n",
        byFloat, byFloat32, byInteger);
    EXPECT_EQ(byInteger, 1000);
    EXPECT_LT(byFloat, 900);
}

TEST_F(MarkerExchangeTest, ADeletionReportRelinksTheFollowingMarkers) {
    for (int i = 0; i < 5; ++i) {
        viewer.add(MakeMarker("V" + std::to_string(i), 10.0 + i * 0.111111, 50.0 + i * 0.1));
        report(1, i + 1, i, ToMillionths(viewer.at(i).latitude),
               ToMillionths(viewer.at(i).longitude));
    }
    ASSERT_EQ(exchange.deviceCount(), 5);
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(viewer.at(i).deviceIndex, i);
    // The device deletes its entry 2: 3 and 4 become 2 and 3, 2 is unlinked.
    port.lines.clear();
    ASSERT_TRUE(exchange.deleteOnDevice(2));
    EXPECT_TRUE(port.lines[0].starts_with("$PKRV,C,MRK,3,5,2,")) << port.lines[0];
    EXPECT_TRUE(port.lines[1].starts_with("$PKRV,C,MRK,9,5,2,"));
    const MarkerReportResult r =
        report(3, 4, 2, ToMillionths(viewer.at(2).latitude), ToMillionths(viewer.at(2).longitude));
    EXPECT_TRUE(r.deviceChanged);
    EXPECT_EQ(exchange.deviceCount(), 4);
    EXPECT_EQ(viewer.at(0).deviceIndex, 0);
    EXPECT_EQ(viewer.at(1).deviceIndex, 1);
    EXPECT_EQ(viewer.at(2).deviceIndex, -1);
    EXPECT_EQ(viewer.at(3).deviceIndex, 2);
    EXPECT_EQ(viewer.at(4).deviceIndex, 3);
    EXPECT_EQ(exchange.device(2).record.nameText(), "X");
    EXPECT_EQ(exchange.device(3).record.deviceIndex, 3);
    // Reports that match nothing, or carry index -1, change nothing.
    EXPECT_FALSE(report(3, 4, 1, 1, 1).deviceChanged);
    EXPECT_FALSE(
        report(3, 4, -1, ToMillionths(viewer.at(0).latitude), ToMillionths(viewer.at(0).longitude))
            .deviceChanged);
    EXPECT_FALSE(report(2, 4, -1, 1, 1).deviceChanged);
    EXPECT_FALSE(report(2, 4, 42, 1, 1).deviceChanged);
    EXPECT_EQ(exchange.deviceCount(), 4);
}

TEST_F(MarkerExchangeTest, TheListAnswerFillsTheDeviceSideAndEndsAtItsCount) {
    viewer.add(MakeMarker("Here", 5.5, 60.25));
    viewer.at(0).deviceIndex = 7;  // a link from before, which the device no longer confirms
    viewer.add(MakeMarker("Elsewhere", 6.0, 61.0));
    viewer.at(1).deviceIndex = 1;
    exchange.queryList();
    EXPECT_FALSE(report(5, 3, 0, 1000000, 2000000, "D0").listComplete);
    EXPECT_FALSE(report(5, 3, 1, 60250000, 5500000, "Here").listComplete);
    EXPECT_EQ(viewer.at(0).deviceIndex, 1);
    const MarkerReportResult last = report(5, 3, 2, 3000000, 4000000, "D2");
    EXPECT_TRUE(last.listComplete);
    EXPECT_EQ(exchange.deviceCount(), 3);
    EXPECT_EQ(exchange.device(1).record.nameText(), "Here");
    EXPECT_FLOAT_EQ(exchange.device(1).record.latitude, 60.25f);
    EXPECT_EQ(viewer.at(1).deviceIndex, -1);  // index 1 holds another point
    // A report of a modification replaces the record with that index.
    EXPECT_TRUE(report(2, 3, 2, 3100000, 4100000, "D2b").deviceChanged);
    EXPECT_EQ(exchange.device(2).record.nameText(), "D2b");
    // A new query empties the device side.
    exchange.queryList();
    EXPECT_EQ(exchange.deviceCount(), 0);
    EXPECT_EQ(exchange.device(0).record.deviceIndex, -1);
}

TEST_F(MarkerExchangeTest, NothingIsStoredBeyondTheDeviceListOrOffTheGlobe) {
    for (int i = 0; i < kMaxDeviceMarkers + 5; ++i)
        report(5, 200, i < kMaxDeviceMarkers ? i : 98, 1000 * i, 2000 * i);
    EXPECT_EQ(exchange.deviceCount(), kMaxDeviceMarkers);
    EXPECT_FALSE(report(1, 100, 99, 5, 5).deviceChanged);
    EXPECT_EQ(exchange.deviceCount(), kMaxDeviceMarkers);
    // At 99 an unlinked marker cannot be added; a linked one can be modified.
    viewer.add(MakeMarker("A", 1.0, 1.0));
    EXPECT_FALSE(exchange.canSendToDevice(0));
    viewer.at(0).deviceIndex = 3;
    EXPECT_TRUE(exchange.canSendToDevice(0));

    exchange.queryList();
    EXPECT_FALSE(report(5, 1, 0, 91000000, 0).deviceChanged);
    EXPECT_FALSE(report(5, 1, 0, 0, -181000000).deviceChanged);
    EXPECT_FALSE(report(1, 1, 0, 9000000000000LL, 0).deviceChanged);
    EXPECT_EQ(exchange.deviceCount(), 0);
    // Commands and letters other than reports are not reports.
    codec::Mrk m = Report(1, 1, 0, 1, 1, "Z");
    EXPECT_FALSE(exchange.onSentence('C', m).deviceChanged);
    EXPECT_FALSE(report(9, 1, 0, 1, 1).deviceChanged);
}

TEST_F(MarkerExchangeTest, CopyingToTheViewerReplacesTheLinkedMarkerOrAddsOne) {
    report(1, 1, 0, 10000000, 20000000, "Dev0");
    report(1, 2, 1, 11000000, 21000000, "Dev1");
    viewer.add(MakeMarker("Mine", 21.0, 11.0));  // linked to 1 by the report above? not yet
    EXPECT_EQ(viewer.at(0).deviceIndex, -1);
    viewer.at(0).deviceIndex = 1;
    EXPECT_EQ(exchange.copyToViewer(1), 0);
    EXPECT_EQ(viewer.count(), 1);
    EXPECT_EQ(viewer.at(0).nameText(), "Dev1");
    EXPECT_EQ(exchange.copyToViewer(0), 1);
    EXPECT_EQ(viewer.count(), 2);
    EXPECT_EQ(viewer.at(1).deviceIndex, 0);
    for (int i = viewer.count(); i < kMaxMarkers; ++i)
        viewer.add(MakeMarker("F", 0.0, 0.0));
    viewer.at(0).deviceIndex = -1;
    viewer.at(1).deviceIndex = -1;
    EXPECT_EQ(exchange.copyToViewer(1), -1);  // full: nothing added
}

TEST(MarkerLayerTest, MarkersInViewAreDrawnAndTheHighlightShowsOnce) {
    chart::CAxisData axis;
    axis.setPixelRect(0, 0, 400, 300);
    axis.setSize(400, 300);
    axis.setScaleIndex(4);
    axis.setCentre(179.9, 10.0);
    MarkerList list;
    list.add(MakeMarker("East", 179.95, 10.0));
    list.add(MakeMarker("West", -179.95, 10.0));  // across the antimeridian, still in view
    list.add(MakeMarker("Far", 20.0, 10.0));
    MarkerDrawState state;
    state.highlighted = 1;
    MarkerLayer layer(list, state);
    const chart::ChartPalette palette;
    chart::test::RecordingCanvas canvas;
    layer.drawLayer({axis, palette, canvas, chart::ChartLayer::Markers});
    const auto circles = canvas.of(chart::test::Op::Ellipse);
    const auto names = canvas.of(chart::test::Op::Text);
    ASSERT_EQ(circles.size(), 2u);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0].text, "East");
    EXPECT_EQ(names[1].text, "West");
    EXPECT_TRUE(names[1].bold);
    EXPECT_EQ(names[1].font, chart::PaletteRole::HighlightedMarker);
    EXPECT_FALSE(names[0].bold);
    EXPECT_EQ(circles[0].pen, chart::PaletteRole::Marker);
    EXPECT_EQ(circles[0].penWidth, 2);
    const chart::PixelXY p = axis.geoToPixel(-179.95 + 360.0, 10.0);
    EXPECT_EQ(circles[1].points[0], (chart::PixelXY{p.x - 3, p.y - 3}));
    EXPECT_EQ(names[1].points[0], (chart::PixelXY{p.x + 5, p.y - 7}));
    EXPECT_GT(p.x, axis.geoToPixel(179.95, 10.0).x);
    EXPECT_EQ(state.highlighted, -1);

    // Hidden markers draw nothing; the pending glyph has its tip on the point.
    canvas.drawn.clear();
    state.shown = false;
    state.pending = true;
    state.pendingLon = 179.9;
    state.pendingLat = 10.0;
    layer.drawLayer({axis, palette, canvas, chart::ChartLayer::Markers});
    EXPECT_TRUE(canvas.drawn.empty());
    layer.drawLayer({axis, palette, canvas, chart::ChartLayer::PendingMarker});
    const auto glyph = canvas.of(chart::test::Op::Polygon);
    ASSERT_EQ(glyph.size(), 1u);
    const chart::PixelXY c = axis.geoToPixel(179.9, 10.0);
    EXPECT_EQ(glyph[0].points[0], (chart::PixelXY{c.x + 1, c.y}));
    EXPECT_EQ(glyph[0].brush, chart::PaletteRole::Alarm);
    EXPECT_EQ(glyph[0].pen, chart::PaletteRole::WhiteFill);
    const auto label = canvas.of(chart::test::Op::Text);
    ASSERT_EQ(label.size(), 1u);
    EXPECT_EQ(label[0].text, "NEW MARKER");
    EXPECT_EQ(label[0].fontSize, 9);
    EXPECT_TRUE(label[0].bold);
}

}  // namespace
}  // namespace norq::nav
