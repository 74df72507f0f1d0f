// One simulation run: the traffic, the transponder, the GNSS receiver and the
// crew-watch controller on one simulated clock. Pure logic: the caller moves
// the clock and carries the lines to and from the outside world.
#pragma once

#include <memory>
#include <string_view>

#include "CrewWatchController.h"
#include "DeviceLines.h"
#include "GnssReceiver.h"
#include "Scenario.h"
#include "TrafficModel.h"
#include "Transponder.h"

namespace norq::sim {

class Simulator {
  public:
    explicit Simulator(Scenario scenario);
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Runs the clock on to `seconds` from the start (at most the scenario's
    // duration) and appends every line the devices put out meanwhile, in time
    // order.
    void advanceTo(double seconds, LineBatch& out);
    // A line sent to a device; its answer is appended at the present time.
    void receiveLine(Device device, std::string_view line, LineBatch& out);

    double now() const { return now_; }
    double duration() const { return scenario_.duration; }
    bool finished() const { return now_ >= scenario_.duration; }
    const Scenario& scenario() const { return scenario_; }
    const TrafficModel& traffic() const { return *traffic_; }
    const Transponder& transponder() const { return *transponder_; }
    const GnssReceiver& gnss() const { return *gnss_; }
    const CrewWatchController& crewWatch() const { return *crew_; }

  private:
    void runSecond(double from, double to, LineBatch& out);

    Scenario scenario_;
    std::unique_ptr<TrafficModel> traffic_;
    std::unique_ptr<Transponder> transponder_;
    std::unique_ptr<GnssReceiver> gnss_;
    std::unique_ptr<CrewWatchController> crew_;
    std::vector<AisTransmission> transmissions_;
    double now_ = 0.0;
    double nextTick_ = 0.0;
};

}  // namespace norq::sim
