// The own ship's recording on real files, and the overlay drawing of the own
// tracks and the recording.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/TempFolder.h"
#include "chart/ChartModel.h"
#include "chart/RecordingCanvas.h"
#include "nav/OwnTrackLayer.h"
#include "nav/TrackRecorder.h"

namespace norq::nav {
namespace {

using chart::test::Op;
using chart::test::RecordingCanvas;

ais::LocalDateTime At(int hour, int minute, int second) {
    return {{2026, 12, 9},
            {static_cast<std::uint8_t>(hour), static_cast<std::uint8_t>(minute),
             static_cast<std::uint8_t>(second)}};
}

struct Voyage {
    base::TempFolder folder;
    TrackList list;
    TrackRecorder recorder{list};
    std::int64_t now = 1000;
    int second = 0;

    Voyage() { list.setFolder(folder.path("")); }
    // `seconds` one-second steps moving north by `step` degrees a second.
    RecorderStep sail(int seconds, double step = 0.0001, bool fix = true) {
        RecorderStep last;
        for (int i = 0; i < seconds; ++i, ++now, ++second) {
            OwnFix f{1.3, 51.0 + second * step, 10.0f, 12.0f, 11.0f};
            const ais::LocalDateTime t = At(8, second / 60 % 60, second % 60);
            char stamp[32];
            std::snprintf(stamp, sizeof stamp, "09/12/2026 08:%02d:%02d", second / 60 % 60,
                          second % 60);
            const RecorderStep r = recorder.step(fix ? &f : nullptr, now, t, stamp);
            if (r.pointTaken || r.written || r.save != TrackSaveResult::Saved) last = r;
        }
        return last;
    }
};

TEST(TrackRecorder, TakesAPointEvery10SecondsAndWritesEveryMinute) {
    Voyage run;
    run.sail(60);
    EXPECT_EQ(run.recorder.points().size(), 6u);  // 0, 10, ..., 50 s
    EXPECT_EQ(run.list.count(), 0);               // not written yet
    run.sail(1);                                  // the point of 60 s, and the write
    ASSERT_EQ(run.list.count(), 1);
    const TrackEntry& e = run.list[0];
    EXPECT_EQ(e.fileName, "Track_20261209_080000.trk");
    EXPECT_EQ(e.startTime, "09/12/2026 08:00:00");
    EXPECT_EQ(e.stopTime, "09/12/2026 08:01:00");
    EXPECT_EQ(e.recordedSeconds, 60);
    EXPECT_EQ(e.pointCount, 7);
    EXPECT_TRUE(e.visible);
    // The file on disk holds exactly the points, and the list file the entry.
    EXPECT_EQ(run.folder.read(e.fileName), EncodeTrackFile(run.recorder.points()));
    TrackList reread;
    reread.setFolder(run.folder.path(""));
    reread.load();
    ASSERT_EQ(reread.count(), 1);
    EXPECT_EQ(reread[0], e);
    TrackFileReader reader(reread.trackPath(reread[0]), reread[0].pointCount);
    const auto block = reader.nextBlock();
    ASSERT_EQ(block.size(), 7u);
    EXPECT_EQ(block[1].timeText(), "08:00:10");
    EXPECT_EQ(block[1].heading, 11.0f);

    // The operator renames the track: the next write keeps the name.
    run.list.rename(0, "Channel crossing");
    run.sail(60);
    EXPECT_EQ(run.list[0].name, "Channel crossing");
    EXPECT_EQ(run.list[0].pointCount, 13);
    EXPECT_EQ(run.list.count(), 1);
}

TEST(TrackRecorder, AShipAtAnchorAddsNothingAndALongGapStartsANewTrack) {
    Voyage run;
    run.sail(120, 0.0);  // not moving
    EXPECT_EQ(run.recorder.points().size(), 1u);
    EXPECT_EQ(run.list.count(), 0);  // a single point waits
    run.sail(30);
    EXPECT_GT(run.recorder.points().size(), 1u);
    run.sail(700, 0.0001, false);    // no position for more than ten minutes
    EXPECT_EQ(run.list.count(), 1);  // the minute's write came without a fix too
    run.sail(1);
    EXPECT_EQ(run.recorder.points().size(), 1u);  // a new track begins
    EXPECT_EQ(run.recorder.listIndex(), -1);
    run.sail(70);
    EXPECT_EQ(run.list.count(), 2);
    // Both began at 08:.. of the same clock minute pattern: the names differ all the same.
    EXPECT_NE(run.list[0].fileName, run.list[1].fileName);
    Voyage again;
    again.list.setFolder(run.folder.path(""));
    again.list.load();
    again.sail(61);  // starts at the same local time as the first track
    ASSERT_EQ(again.list.count(), 3);
    EXPECT_EQ(again.list[2].fileName, "Track_20261209_080000_2.trk");
    EXPECT_EQ(run.folder.read(run.list[0].fileName).size(), 37u * run.list[0].pointCount);
}

TEST(TrackRecorder, AFullListOrAFailedWriteIsReportedAndNothingIsLost) {
    Voyage run;
    for (int i = 0; i < kMaxTracks; ++i) {
        TrackEntry e;
        e.fileName = "old" + std::to_string(i) + ".trk";
        run.list.add(e);
    }
    RecorderStep r = run.sail(61);
    EXPECT_EQ(r.save, TrackSaveResult::ListFull);
    EXPECT_EQ(run.list.count(), kMaxTracks);
    EXPECT_EQ(run.recorder.points().size(), 7u);  // still recorded (and drawn)

    Voyage broken;
    broken.list.setFolder(broken.folder.path("gone/"));
    r = broken.sail(61);
    EXPECT_EQ(r.save, TrackSaveResult::WriteFailed);
    EXPECT_TRUE(broken.recorder.unsaved());
    // The folder comes back: the next minute writes everything.
    std::filesystem::create_directories(broken.folder.path("gone"));
    r = broken.sail(60);
    EXPECT_TRUE(r.written);
    EXPECT_EQ(broken.list[0].pointCount, 13);
    // At the end of the run the rest is written and the recording closes.
    broken.sail(10);
    EXPECT_EQ(broken.recorder.finish(broken.now), TrackSaveResult::Saved);
    EXPECT_EQ(broken.list[0].pointCount, 14);
    EXPECT_FALSE(broken.recorder.recording());
}

TEST(TrackRecorder, DeletingTracksKeepsTheRecordingsEntry) {
    Voyage run;
    TrackEntry old;
    old.fileName = "old.trk";
    run.list.add(old);
    run.sail(61);
    ASSERT_EQ(run.recorder.listIndex(), 1);
    run.list.remove(0);
    run.recorder.onEntryRemoved(0);
    EXPECT_EQ(run.recorder.listIndex(), 0);
    run.sail(60);
    EXPECT_EQ(run.list.count(), 1);
    EXPECT_EQ(run.list[0].pointCount, 13);
    // The recording's own entry deleted: the recording goes with it.
    run.list.remove(0);
    run.recorder.onEntryRemoved(0);
    EXPECT_FALSE(run.recorder.recording());
}

TEST(OwnTrackLayer, DrawsFilesDottedWithMarksAndTheRecordingInTheAlarmColour) {
    Voyage run;
    run.sail(61);  // 7 points, written
    const int points = run.list[0].pointCount;
    chart::ChartModel model;
    model.resize(800, 600);
    model.setScaleIndex(9);
    model.setCentre(1.3, 51.0);
    chart::ChartPalette palette;
    RecordingCanvas canvas;
    OwnTrackLayer layer(run.list, run.recorder);
    const chart::LayerContext c{model.axis(), palette, canvas, chart::ChartLayer::OwnTracks, false};
    // While it is recorded, the track is drawn as the recording.
    layer.drawLayer(c);
    auto lines = canvas.of(Op::Line);
    ASSERT_EQ(static_cast<int>(lines.size()), points - 1);
    EXPECT_EQ(lines[0].pen, chart::PaletteRole::Alarm);
    EXPECT_EQ(lines[0].penStyle, chart::PenStyle::Dot);
    // Once closed, it is drawn from its file in orange, rings at both ends.
    run.recorder.finish(run.now);
    canvas.drawn.clear();
    layer.drawLayer(c);
    lines = canvas.of(Op::Line);
    ASSERT_EQ(static_cast<int>(lines.size()), points - 1);
    EXPECT_EQ(lines[0].pen, chart::PaletteRole::Orange);
    const auto rings = canvas.of(Op::Ellipse);
    // Start and end: a ring and a dot each; the dot at the sixth point.
    EXPECT_EQ(rings.size(), 5u);
    EXPECT_EQ(rings[0].points[0].x + 4, model.axis().geoToPixel(1.3, 51.0).x);
    // Hidden tracks and the hidden layer draw nothing; a located track is drawn
    // in the highlight colour once.
    run.list.toggleVisible(0);
    canvas.drawn.clear();
    layer.drawLayer(c);
    EXPECT_TRUE(canvas.drawn.empty());
    run.list.toggleVisible(0);
    layer.setHighlighted(0);
    canvas.drawn.clear();
    layer.drawLayer(c);
    EXPECT_EQ(canvas.of(Op::Line)[0].pen, chart::PaletteRole::SelectedLeg);
    EXPECT_EQ(layer.highlighted(), -1);
    layer.setShown(false);
    canvas.drawn.clear();
    layer.drawLayer(c);
    EXPECT_TRUE(canvas.drawn.empty());
    // A track whose file is gone is skipped.
    layer.setShown(true);
    std::filesystem::remove(run.folder.path(run.list[0].fileName));
    canvas.drawn.clear();
    layer.drawLayer(c);
    EXPECT_TRUE(canvas.drawn.empty());
}

TEST(OwnTrackLayer, OverlayLongitudeFollowsTheShownSideOfTheAntimeridian) {
    chart::ChartModel model;
    model.resize(800, 600);
    model.setScaleIndex(3);
    model.setCentre(179.5, 10.0);  // the view reaches beyond 180
    ASSERT_GT(model.axis().right(), 180.0);
    EXPECT_EQ(OverlayLongitude(model.axis(), -179.5), 180.5);
    EXPECT_EQ(OverlayLongitude(model.axis(), 179.0), 179.0);
    model.setCentre(-179.5, 10.0);
    ASSERT_LT(model.axis().left(), -180.0);
    EXPECT_EQ(OverlayLongitude(model.axis(), 179.5), -180.5);
    EXPECT_EQ(OverlayLongitude(model.axis(), -179.0), -179.0);
}

}  // namespace
}  // namespace norq::nav
