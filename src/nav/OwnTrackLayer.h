// Draws the own ship's tracks into the chart's overlay (layer OwnTracks): every
// visible listed track from its file, in orange dotted lines with a dot at every
// sixth point and a ring at its start and end, then the current recording in the
// alarm colour. The track located from the navigation manager is drawn in the
// highlight colour, once.
#pragma once

#include <vector>

#include "chart/ChartLayers.h"
#include "nav/OverlayLongitude.h"
#include "nav/TrackList.h"
#include "nav/TrackRecorder.h"

namespace norq::nav {

class OwnTrackLayer final : public chart::ChartLayerHook {
  public:
    OwnTrackLayer(const TrackList& list, const TrackRecorder& recorder)
        : list_(list), recorder_(recorder) {}

    // The tracks-shown flag of the navigation objects ("Show Tracks").
    void setShown(bool on) { shown_ = on; }
    bool shown() const { return shown_; }
    // The located track (-1 none); cleared after it was drawn once.
    void setHighlighted(int index) { highlighted_ = index; }
    int highlighted() const { return highlighted_; }

    void drawLayer(const chart::LayerContext& context) override;

  private:
    void drawFile(const chart::LayerContext& c, const TrackEntry& entry, bool highlighted);
    void drawRecording(const chart::LayerContext& c);
    void flushSegments(const chart::LayerContext& c, chart::PaletteRole role, int width,
                       chart::PenStyle style);

    const TrackList& list_;
    const TrackRecorder& recorder_;
    bool shown_ = true;
    int highlighted_ = -1;
    std::vector<chart::PixelXY> segments_;  // pairs of points
    std::vector<chart::PixelXY> dots_;
};

}  // namespace norq::nav
