#include "Simulator.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace norq::sim {

Simulator::Simulator(Scenario scenario) : scenario_(std::move(scenario)) {
    traffic_ = std::make_unique<TrafficModel>(scenario_);
    transponder_ = std::make_unique<Transponder>(scenario_, *traffic_);
    gnss_ = std::make_unique<GnssReceiver>(scenario_);
    crew_ = std::make_unique<CrewWatchController>(scenario_.crewWatch, scenario_.crewDevices);
}

void Simulator::advanceTo(double seconds, LineBatch& out) {
    const double until = std::min(seconds, scenario_.duration);
    while (now_ < until - 1e-9) {
        const double to = std::min(until, std::floor(now_ + 1.0 + 1e-9));
        runSecond(now_, to, out);
        now_ = to;
    }
}

void Simulator::runSecond(double from, double to, LineBatch& out) {
    const std::size_t first = out.size();
    if (from >= nextTick_ - 1e-9) {
        // The sensors of the own ship report at the top of each second.
        const Kinematics own = traffic_->ownKinematics();
        gnss_->tick(nextTick_, own, out);
        transponder_->tick(nextTick_ + 0.5, own, out);
        nextTick_ += 1.0;
    }
    transmissions_.clear();
    traffic_->advance(to, transmissions_);
    for (const AisTransmission& tx : transmissions_)
        transponder_->receive(tx, out);
    transponder_->flush(std::nextafter(to, from), out);
    crew_->advance(to, out);
    std::stable_sort(out.begin() + static_cast<std::ptrdiff_t>(first), out.end(),
                     [](const TimedLine& a, const TimedLine& b) { return a.time < b.time; });
}

void Simulator::receiveLine(Device device, std::string_view line, LineBatch& out) {
    switch (device) {
        case Device::Transponder:
            transponder_->handleLine(line, now_, out);
            break;
        case Device::CrewWatch:
            crew_->handleLine(line, now_, out);
            break;
        case Device::Gnss:
            break;
    }
}

}  // namespace norq::sim
