// The measure tool on the chart: range and bearing between two points the
// operator picks, and from the own ship to the second point.
//
// A click sets the start point; the end then follows the pointer (a rubber band
// with the live figures) until a second click fixes it; a third click starts a
// new measurement. A press that turns into a drag pans the chart as it does
// without the tool, and the points stay on their positions. The right button
// asks the host for the tool's popup ("End Measure").
//
// Ranges and bearings are those of the target list: plane sailing in nautical
// miles and the bearing with the longitude difference scaled by the cosine of
// the mean latitude, the short way across 180 degrees.
#pragma once

#include <string>

#include "chart/ChartLayers.h"

namespace norq::chart {

class MeasureToolHost {
  public:
    virtual ~MeasureToolHost() = default;
    // The points or the pointer moved: the chart is repainted.
    virtual void measureChanged() = 0;
    // The right button was released over the chart.
    virtual void measurePopup(PixelXY pixel) = 0;
    // The own ship's position, when it is known.
    virtual bool measureOwnPosition(GeoPoint& position) const = 0;
};

// A range (nautical miles) and a true bearing (degrees); valid false when a
// position was off the globe.
struct MeasureLeg {
    bool valid = false;
    double rangeNm = 0.0;
    double bearing = 0.0;
};

MeasureLeg MeasureBetween(GeoPoint from, GeoPoint to);

// "1.23 nm 045.6°": ranges below 10 nm with two decimals, below 100 with one,
// beyond without; the bearing with one decimal and three whole digits.
std::string MeasureText(const MeasureLeg& leg);

class MeasureTool final : public ChartPointerTool, public ChartLayerHook {
  public:
    enum class State { Idle, Started, Measured };
    // More pointer moves than this while pressed make the press a drag.
    static constexpr int kDragMoves = 10;

    explicit MeasureTool(MeasureToolHost& host) : host_(host) {}

    // Labels of the two readout lines, in the interface language.
    void setLabels(std::string between, std::string fromOwnShip);

    // Forgets the points (the tool was released or pressed anew).
    void reset();

    State state() const { return state_; }
    GeoPoint start() const { return start_; }
    GeoPoint end() const { return end_; }
    MeasureLeg between() const;
    MeasureLeg fromOwnShip() const;

    bool press(const ChartPointer& pointer) override;
    bool move(const ChartPointer& pointer, bool pressed) override;
    bool release(const ChartPointer& pointer) override;

    void drawLayer(const LayerContext& context) override;

  private:
    MeasureToolHost& host_;
    State state_ = State::Idle;
    GeoPoint start_;
    GeoPoint end_;
    int moves_ = 0;
    bool pressed_ = false;
    bool dragging_ = false;
    std::string betweenLabel_ = "Measure";
    std::string ownLabel_ = "Own ship";
};

}  // namespace norq::chart
