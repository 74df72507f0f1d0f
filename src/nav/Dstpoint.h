// The destination: one named point, shown on the chart as a small flag whose tip
// is two pixels right of and below the point, with a hint naming it and its
// position. TDstPoint keeps what the flag shows; the flag is drawn with the
// chart's top layers on every repaint.
#pragma once

#include <optional>
#include <string>

#include "chart/ChartLayers.h"

namespace norq::nav {

// DESTINATION_INFO of the main window.
struct DestinationInfo {
    bool valid = false;
    std::string name;
    double longitude = 0.0;
    double latitude = 0.0;
    friend bool operator==(const DestinationInfo&, const DestinationInfo&) = default;
};

inline constexpr int kDstFlagWidth = 17;
inline constexpr int kDstFlagHeight = 24;

// " 22.36'00\"N": the chart's style-2 text with '.' for the degree mark and the
// hemisphere letter (E and N above 0).
std::string DestinationLongitudeText(double lon);
std::string DestinationLatitudeText(double lat);
// "name\nlongitude,latitude".
std::string DestinationHint(const DestinationInfo& destination);

struct FlagRect {
    int left = 0;
    int top = 0;
    int width = kDstFlagWidth;
    int height = kDstFlagHeight;
    bool contains(int x, int y) const {
        return x >= left && x < left + width && y >= top && y < top + height;
    }
};

// Where the flag sits in the frame, or nothing while it is hidden (no valid
// destination, or a position off the globe). Near the antimeridian the
// longitude is moved by a turn to the side of 180 the view shows.
std::optional<FlagRect> PlaceDestinationFlag(const chart::CAxisData& axis,
                                             const DestinationInfo& destination);

// Draws the flag in its box: a triangle pointing down to the point, under a
// round head, filled in the alarm colour and outlined.
void DrawDestinationFlag(chart::ChartCanvas& canvas, const FlagRect& box);

class TDstPoint final : public chart::ChartLayerHook {
  public:
    void set(const DestinationInfo& destination) { info_ = destination; }
    const DestinationInfo& info() const { return info_; }
    std::string hint() const { return DestinationHint(info_); }
    // The flag's box as last drawn (for its hint and double click).
    const std::optional<FlagRect>& placed() const { return placed_; }
    std::optional<FlagRect> place(const chart::CAxisData& axis) {
        placed_ = PlaceDestinationFlag(axis, info_);
        return placed_;
    }

    void drawLayer(const chart::LayerContext& context) override;

  private:
    DestinationInfo info_;
    std::optional<FlagRect> placed_;
};

}  // namespace norq::nav
