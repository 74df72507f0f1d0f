// The chart widget with the real target tracker: symbols follow the table, state
// moves with it when a target ages out, and the pointer pans, centres, selects,
// zooms and asks for the popup menus.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <chrono>
#include <thread>

#include "ais/TargetTracker.h"
#include "chart/forms/PaintChart.h"
#include "chart/paint/ChartRenderer.h"
#include "chart/paint/QtChartCanvas.h"

namespace norq::chart {
namespace {

ais::AisMessage PositionReport(std::uint32_t mmsi, double lon, double lat, float cog = 90.0f) {
    ais::AisMessage m{};
    m.messageId = 1;
    m.mmsi = mmsi;
    m.layout = ais::AisLayoutId::PositionReport;
    m.position.longitude = lon;
    m.position.latitude = lat;
    m.position.sog = 10.0f;
    m.position.cog = cog;
    m.position.heading = 511;
    return m;
}

struct PaintChartTest : ::testing::Test {
    ais::ManualClock clock;
    ais::TargetTracker tracker{clock};
    TPaintChart chart{tracker.table()};

    void SetUp() override {
        ais::TrackerConnections c;
        c.chart = &chart;
        tracker.connect(c);
        chart.setProgramFolder(NORQ_FIXTURES "/chart");
        chart.resize(800, 600);
        chart.setManualPosition(1.5, 51.0, 0.0);
        chart.setScaleIndex(7);
    }
    int receive(std::uint32_t mmsi, double lon, double lat) {
        ais::AisPayload origin;
        origin.channelPresent = true;
        const int index = tracker.applyDecoded(PositionReport(mmsi, lon, lat), origin);
        tracker.UpdateAfterAisMessage(tracker.targetCount());
        return index;
    }
    QPoint centreOf(int slot) const {
        const PixelXY t = chart.model().target(slot).topLeft;
        return {t.x + kSymbolSize / 2, t.y + kSymbolSize / 2};
    }
};

TEST_F(PaintChartTest, SymbolsFollowTheTargetTable) {
    ASSERT_EQ(receive(211000001, 1.52, 51.01), 1);
    const TargetSlot& slot = chart.model().target(1);
    EXPECT_TRUE(slot.visible);
    EXPECT_FLOAT_EQ(slot.lon, 1.52f);
    // Heading 511 is carried as such; the symbol orients by the course.
    EXPECT_FLOAT_EQ(slot.symbol.heading, 511.0f);
    EXPECT_FLOAT_EQ(slot.symbol.course, 90.0f);
    EXPECT_EQ(chart.targetHint(1),
              QStringLiteral("MMSI:211000001\nName:\nMonitored:Not Monitored"));
    // The own ship without a fix is the double square at the manual position.
    chart.refreshSymbol(0);
    EXPECT_TRUE(chart.model().target(0).symbol.flags.ownPositionUnknown);
    EXPECT_DOUBLE_EQ(chart.chartOwnPosition().longitude, 1.5);
}

TEST_F(PaintChartTest, AgeingATargetOutInFrontOfADangerousOneMovesTheMark) {
    receive(211000001, 1.52, 51.01);
    clock.advance(1000);
    receive(211000002, 1.53, 51.02);
    receive(211000003, 1.54, 51.03);
    chart.setDangerous(2, true);  // as the CPA computation marks it
    chart.highlightTarget(3);
    clock.advance(2601);  // entry 1 is 3601 s old
    ASSERT_EQ(tracker.AgeTargets(), 1);
    ASSERT_EQ(tracker.table()[1].mmsi, 211000002u);
    EXPECT_TRUE(chart.dangerous(1));   // the mark went with its target
    EXPECT_FALSE(chart.dangerous(2));  // not onto the target that moved up
    EXPECT_FALSE(chart.dangerous(3));
    EXPECT_EQ(chart.highlighted(), 2);
    EXPECT_FLOAT_EQ(chart.model().target(1).lon, 1.53f);
    EXPECT_FALSE(chart.model().target(3).visible);
}

TEST_F(PaintChartTest, LostAfterSixHundredSecondsUntilTheNextReport) {
    receive(211000001, 1.52, 51.01);
    clock.advance(601);
    chart.markLostTargets(clock.monotonicSeconds());
    EXPECT_TRUE(chart.model().target(1).symbol.flags.lost);
    receive(211000001, 1.52, 51.01);
    chart.markLostTargets(clock.monotonicSeconds());
    EXPECT_FALSE(chart.model().target(1).symbol.flags.lost);
}

TEST_F(PaintChartTest, DragPansAndTheReleasePointBecomesThePressPoint) {
    chart.show();
    const GeoPoint before = chart.model().centre();
    QSignalSpy frames(&chart, &TPaintChart::frameChanged);
    QTest::mousePress(&chart, Qt::LeftButton, {}, QPoint(300, 300));
    QTest::mouseMove(&chart, QPoint(350, 300));
    QTest::mouseMove(&chart, QPoint(400, 300));
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, QPoint(400, 300));
    const GeoPoint after = chart.model().centre();
    EXPECT_NEAR(after.lon, before.lon - 100 / chart.model().axis().xScale(), 1e-3);
    EXPECT_NEAR(after.lat, before.lat, 1e-9);
    EXPECT_EQ(frames.count(), 1);
}

TEST_F(PaintChartTest, DoubleClickCentresAndStopsCenterView) {
    chart.show();
    chart.setCenterView(true);
    QSignalSpy stopped(&chart, &TPaintChart::centreViewStopped);
    const GeoPoint target = chart.model().axis().pixelToGeo(600, 150);
    QTest::mouseDClick(&chart, Qt::LeftButton, {}, QPoint(600, 150));
    EXPECT_FALSE(chart.model().centerView());
    EXPECT_GE(stopped.count(), 1);
    EXPECT_NEAR(chart.model().centre().lon, target.lon, 1e-6);
    EXPECT_NEAR(chart.model().centre().lat, target.lat, 1e-6);
}

TEST_F(PaintChartTest, ClicksOnSymbolsAndPopups) {
    chart.show();
    receive(211000001, 1.56, 51.02);
    QSignalSpy clicked(&chart, &TPaintChart::targetClicked);
    QSignalSpy targetPopup(&chart, &TPaintChart::targetPopupRequested);
    QSignalSpy chartPopup(&chart, &TPaintChart::chartPopupRequested);
    const QPoint symbol = centreOf(1);
    ASSERT_EQ(chart.model().hitTest(symbol.x(), symbol.y()).slot, 1)
        << symbol.x() << "," << symbol.y() << " " << chart.width() << "x" << chart.height();
    QTest::mouseClick(&chart, Qt::LeftButton, {}, symbol);
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked[0][0].toInt(), 1);
    QTest::mouseClick(&chart, Qt::RightButton, {}, symbol);
    EXPECT_EQ(targetPopup.count(), 1);
    // The own ship has no popup; the chart has its own.
    QTest::mouseClick(&chart, Qt::RightButton, {}, centreOf(0));
    EXPECT_EQ(targetPopup.count(), 1);
    QTest::mouseClick(&chart, Qt::RightButton, {}, QPoint(50, 500));
    ASSERT_EQ(chartPopup.count(), 1);
    const GeoPoint at = chartPopup[0][0].value<GeoPoint>();
    const GeoPoint expected = chart.model().axis().pixelToGeo(50, 500);
    EXPECT_NEAR(at.lon, expected.lon, 1e-9);
}

TEST_F(PaintChartTest, WheelAsksForZoomSteps) {
    chart.show();
    QSignalSpy zoom(&chart, &TPaintChart::zoomRequested);
    QWheelEvent wheel(QPointF(400, 300), chart.mapToGlobal(QPointF(400, 300)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&chart, &wheel);
    ASSERT_EQ(zoom.count(), 1);
    EXPECT_EQ(zoom[0][0].toInt(), 1);
}

TEST_F(PaintChartTest, TheFrameShowsLandSeaAndTheScheme) {
    // Over Dover at 24 nm the fixture's 5-degree cells put land at 2 E, 52 N (a
    // whole-land cell lies at 5..10 E, 50..55 N).
    chart.setScaleIndex(5);
    chart.setCentre(7.5, 52.5);
    QImage image = chart.renderToImage();
    const PixelXY land = chart.model().axis().geoToPixel(7.5, 52.4);
    EXPECT_EQ(image.pixelColor(land.x, land.y), ToQColor(chart.palette()[PaletteRole::Land]));
    chart.applyScheme(ColourScheme::Night);
    image = chart.renderToImage();
    EXPECT_EQ(image.pixelColor(land.x, land.y), QColor(0x18, 0x15, 0x07));
    EXPECT_TRUE(chart.renderer().lastSeaChartCounts().chartFileFound);
}

}  // namespace
}  // namespace norq::chart

namespace norq::chart {
namespace {

// A target-track hook that draws one horizontal line and counts its drawings.
struct LineTracks final : ChartLayerHook {
    int drawings = 0;
    bool shown = true;
    void drawLayer(const LayerContext& c) override {
        ++drawings;
        if (!shown) return;
        c.canvas.setPen(PaletteRole::Track, 2);
        c.canvas.line({100, 300}, {700, 300});
    }
};

TEST(TargetTrackImageTest, RedrawnOnFrameChangesAndOnRequestOtherwiseAtMostOnceASecond) {
    ChartModel model;
    ChartPalette palette;
    SeaChart sea{NORQ_FIXTURES "/chart"};
    ChartRenderer renderer{model, palette, sea};
    model.resize(800, 600);
    model.setScaleIndex(7);
    model.setCentre(1.5, 51.0);
    LineTracks tracks;
    model.addLayerHook(ChartLayer::TargetTracks, &tracks);
    model.showTracks(true);
    const QRgb trackColour = ToQColor(palette[PaletteRole::Track]).rgb();
    QImage frame(800, 600, QImage::Format_RGB32);
    auto repaint = [&] {
        renderer.updateLayers();
        QPainter painter(&frame);
        renderer.paint(painter);
    };

    repaint();
    ASSERT_EQ(tracks.drawings, 1);
    EXPECT_FALSE(renderer.tracksPending());
    // A repaint soon after composes the finished image and asks for a refresh.
    repaint();
    EXPECT_EQ(tracks.drawings, 1);
    EXPECT_TRUE(renderer.tracksPending());
    EXPECT_EQ(frame.pixel(400, 300), trackColour);
    // The operator hides the track: the next frame no longer shows it.
    tracks.shown = false;
    model.markTracksDirty();
    repaint();
    EXPECT_EQ(tracks.drawings, 2);
    EXPECT_NE(frame.pixel(400, 300), trackColour);
    // A new frame (zoom) draws the tracks again at once.
    tracks.shown = true;
    model.setScaleIndex(8);
    repaint();
    EXPECT_EQ(tracks.drawings, 3);
    EXPECT_EQ(frame.pixel(400, 300), trackColour);
    // Otherwise the first repaint a second on brings the new points.
    repaint();
    EXPECT_EQ(tracks.drawings, 3);
    std::this_thread::sleep_for(std::chrono::milliseconds(ChartRenderer::kTrackRefreshMs + 50));
    repaint();
    EXPECT_EQ(tracks.drawings, 4);
    // Hidden tracks are neither drawn nor composed.
    model.showTracks(false);
    repaint();
    EXPECT_EQ(tracks.drawings, 4);
    EXPECT_NE(frame.pixel(400, 300), trackColour);
    model.removeLayerHook(&tracks);
}

}  // namespace
}  // namespace norq::chart

namespace norq::chart {
namespace {

// A marker-layer hook that draws one filled square where it is told.
struct SquareMarks final : ChartLayerHook {
    PixelXY at{200, 200};
    void drawLayer(const LayerContext& c) override {
        c.canvas.setPen(PaletteRole::Marker, 1);
        c.canvas.setBrush(PaletteRole::Marker);
        c.canvas.rectangle(at, {at.x + 10, at.y + 10});
    }
};

TEST(OverlayImageTest, ARepaintShowsTheOverlayAsLastDrawnAndAFrameChangeRedrawsIt) {
    ChartModel model;
    ChartPalette palette;
    SeaChart sea{NORQ_FIXTURES "/chart"};
    ChartRenderer renderer{model, palette, sea};
    model.resize(800, 600);
    model.setScaleIndex(7);
    model.setCentre(1.5, 51.0);
    SquareMarks marks;
    model.addLayerHook(ChartLayer::Markers, &marks);
    const QRgb markColour = ToQColor(palette[PaletteRole::Marker]).rgb();
    QImage frame(800, 600, QImage::Format_RGB32);
    auto repaint = [&] {
        renderer.updateLayers();
        QPainter painter(&frame);
        renderer.paint(painter);
    };

    repaint();
    EXPECT_EQ(frame.pixel(205, 205), markColour);
    // Moved without telling the chart: the finished overlay is what shows.
    marks.at = {400, 400};
    repaint();
    EXPECT_EQ(frame.pixel(205, 205), markColour);
    EXPECT_NE(frame.pixel(405, 405), markColour);
    // Marked dirty: the next repaint shows it where it is now, and only there.
    model.markOverlayDirty();
    repaint();
    EXPECT_NE(frame.pixel(205, 205), markColour);
    EXPECT_EQ(frame.pixel(405, 405), markColour);
    // A zoom redraws the sea chart; the overlay is on it again.
    marks.at = {100, 100};
    model.setScaleIndex(8);
    repaint();
    EXPECT_EQ(frame.pixel(105, 105), markColour);
    EXPECT_NE(frame.pixel(405, 405), markColour);
    model.removeLayerHook(&marks);
}

}  // namespace
}  // namespace norq::chart
