#include "nav/OwnTrackLayer.h"

#include <cmath>

#include "nav/OverlayLongitude.h"

namespace norq::nav {

namespace {

constexpr int kMarkRadius = 4;
constexpr int kDotRadius = 2;
constexpr int kDotEvery = 6;

}  // namespace

void OwnTrackLayer::drawLayer(const chart::LayerContext& c) {
    if (!shown_) {
        highlighted_ = -1;
        return;
    }
    for (int i = 0; i < list_.count(); ++i) {
        if (i == recorder_.listIndex() && recorder_.recording()) continue;
        if (list_[i].visible) drawFile(c, list_[i], i == highlighted_);
    }
    highlighted_ = -1;
    if (recorder_.recording()) drawRecording(c);
}

void OwnTrackLayer::flushSegments(const chart::LayerContext& c, chart::PaletteRole role, int width,
                                  chart::PenStyle style) {
    c.canvas.setPen(role, width, style);
    c.canvas.setBrush(role, chart::BrushStyle::None);
    if (!segments_.empty()) c.canvas.lines(segments_);
    c.canvas.setPen(role, 1, chart::PenStyle::Solid);
    c.canvas.setBrush(role, chart::BrushStyle::Solid);
    for (const chart::PixelXY& d : dots_)
        c.canvas.circle(d, kDotRadius);
    segments_.clear();
    dots_.clear();
}

void OwnTrackLayer::drawFile(const chart::LayerContext& c, const TrackEntry& entry,
                             bool highlighted) {
    TrackFileReader reader(list_.trackPath(entry), entry.pointCount);
    if (!reader.isOpen() || reader.total() == 0) return;
    const chart::PaletteRole role =
        highlighted ? chart::PaletteRole::SelectedLeg : chart::PaletteRole::Orange;
    const chart::PenStyle style = highlighted ? chart::PenStyle::Solid : chart::PenStyle::Dot;
    const int w = c.axis.width();
    const int h = c.axis.height();
    auto mark = [&](chart::PixelXY p) {
        if (p.x <= 0 || p.y <= 0 || p.x >= w || p.y >= h) return;
        c.canvas.setPen(role, 1, chart::PenStyle::Solid);
        c.canvas.setBrush(role, chart::BrushStyle::None);
        c.canvas.circle(p, kMarkRadius);
        c.canvas.setBrush(role, chart::BrushStyle::Solid);
        c.canvas.circle(p, kDotRadius);
    };
    auto project = [&](const TrackRecord& r) {
        return c.axis.geoToPixel(OverlayLongitude(c.axis, r.lon), r.lat);
    };
    bool first = true;
    chart::PixelXY prev{};
    for (std::span<const TrackRecord> block = reader.nextBlock(); !block.empty();
         block = reader.nextBlock()) {
        if (first) mark(project(block.front()));
        for (std::size_t i = 0; i < block.size(); ++i) {
            const chart::PixelXY p = project(block[i]);
            if (first) {
                prev = p;
                first = false;
                continue;
            }
            if (p == prev) continue;
            segments_.push_back(prev);
            segments_.push_back(p);
            if (i % kDotEvery == 0) dots_.push_back(p);
            prev = p;
        }
        flushSegments(c, role, highlighted ? 2 : 1, style);
    }
    if (!first) mark(prev);
}

void OwnTrackLayer::drawRecording(const chart::LayerContext& c) {
    const std::vector<TrackRecord>& points = recorder_.points();
    auto project = [&](const TrackRecord& r) {
        return c.axis.geoToPixel(OverlayLongitude(c.axis, r.lon), r.lat);
    };
    chart::PixelXY prev = project(points.front());
    c.canvas.setPen(chart::PaletteRole::Alarm, 1, chart::PenStyle::Solid);
    c.canvas.setBrush(chart::PaletteRole::Alarm, chart::BrushStyle::None);
    c.canvas.circle(prev, kMarkRadius);
    c.canvas.setBrush(chart::PaletteRole::Alarm, chart::BrushStyle::Solid);
    c.canvas.circle(prev, kDotRadius);
    for (std::size_t i = 1; i < points.size(); ++i) {
        const chart::PixelXY p = project(points[i]);
        if (p == prev) continue;
        segments_.push_back(prev);
        segments_.push_back(p);
        if (i % kDotEvery == 0) dots_.push_back(p);
        prev = p;
    }
    flushSegments(c, chart::PaletteRole::Alarm, 1, chart::PenStyle::Dot);
}

}  // namespace norq::nav
