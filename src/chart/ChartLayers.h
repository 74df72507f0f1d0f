// The layers of the chart view in their fixed drawing order, and the hooks
// through which other subsystems draw on the chart (markers, routes, tracks, the
// destination flag, alarm marks), tell it a target's friend and monitored marks,
// take the commands of its popup menus and arm pointer tools.
//
// Every hook has harmless defaults, so a subsystem registers only what it draws.
// Hooks draw through the canvas with the frame's projection and palette: the
// same code then draws on the screen, into a PNG and in the tests.
#pragma once

#include <cstdint>

#include "chart/AxisData.h"
#include "chart/ChartCanvas.h"
#include "chart/ChartPalette.h"

namespace norq::chart {

// Bottom to top. The sea chart and the overlay layers (own tracks, markers,
// routes, the pending marker) are off-screen bitmaps rebuilt only when the frame
// is stale or the overlay is marked dirty; the layers from Grid on are drawn on
// every repaint.
enum class ChartLayer : std::uint8_t {
    SeaChart = 0,   // sea, land, coastline, place names
    OwnTracks,      // overlay: the own ship's track files and the current recording
    Markers,        // overlay: markers
    Routes,         // overlay: routes
    PendingMarker,  // overlay: the glyph of a marker being placed
    Grid,           // latitude/longitude grid with its labels
    RangeRings,     // own-ship cross and range rings
    TargetTracks,   // target tracks, while tracks are shown
    Symbols,        // target and pendant symbols
    AlarmMarks,     // marks above the symbols (active SART, alarms)
    Destination,    // destination flag
    Measure,        // the measured line and its distance
};
inline constexpr int kChartLayerCount = 12;

// True for the layers drawn into the overlay bitmap.
constexpr bool IsOverlayLayer(ChartLayer layer) {
    return layer >= ChartLayer::OwnTracks && layer <= ChartLayer::PendingMarker;
}

// What a hook gets to draw one layer of one frame.
struct LayerContext {
    const CAxisData& axis;        // the frame's projection (with rotation)
    const ChartPalette& palette;  // colours by role
    ChartCanvas& canvas;          // the surface, in the frame's pixels
    ChartLayer layer;
    bool tracksShown = false;  // "Tracks(&T)" is checked
};

class ChartLayerHook {
  public:
    virtual ~ChartLayerHook() = default;
    virtual void drawLayer(const LayerContext& context) = 0;
};

// A target's marks kept by other subsystems (friend and monitored ship lists).
struct TargetMarks {
    bool friendShip = false;  // listed as a friend with its friend mark set
    bool monitored = false;   // in the monitored ship list
};

class TargetMarkSource {
  public:
    virtual ~TargetMarkSource() = default;
    // Asked whenever the chart refreshes a symbol (slot = target table index).
    virtual TargetMarks targetMarks(int /*slot*/, std::uint32_t /*mmsi*/) const { return {}; }
};

// The commands of the chart's popup menus and pointer events that belong to
// other subsystems. Positions are degrees of the press point.
class ChartCommands {
  public:
    virtual ~ChartCommands() = default;
    virtual void setManualPositionHere(double /*lon*/, double /*lat*/) {
    }  // "Set manual positioning here"
    virtual void addDestinationHere(double /*lon*/, double /*lat*/) {}  // "Add destination here"
    virtual void addMarkerHere(double /*lon*/, double /*lat*/) {}       // "Add marker here"
    // "Add to Monitored Ship List" / "Remove from Monitored Ship List".
    virtual void setMonitored(int /*slot*/, bool /*monitored*/) {}
    // "Visible Ship Track" / "Invisible Ship Track" and the state they show.
    virtual bool trackVisible(int /*slot*/) const { return false; }
    virtual void setTrackVisible(int /*slot*/, bool /*visible*/) {}
    // A click on a crew-watch pendant symbol (opens its rescue guide).
    virtual void pendantClicked(int /*slot*/) {}
};

enum class PointerButton : std::uint8_t { Left, Right, Middle };

// A pointer event on the chart, in pixels and degrees.
struct ChartPointer {
    PointerButton button = PointerButton::Left;
    PixelXY pixel;
    GeoPoint position;
};

// A tool armed on the chart (marker, route, measure). While one is armed it sees
// the presses, moves and releases first; returning true takes the event, so the
// chart neither pans nor opens its popup menu.
class ChartPointerTool {
  public:
    virtual ~ChartPointerTool() = default;
    virtual bool press(const ChartPointer&) { return false; }
    virtual bool move(const ChartPointer&, bool /*pressed*/) { return false; }
    virtual bool release(const ChartPointer&) { return false; }
    // The chart moved under the tool by a pan (pixels).
    virtual void panned(int /*dx*/, int /*dy*/) {}
};

}  // namespace norq::chart
