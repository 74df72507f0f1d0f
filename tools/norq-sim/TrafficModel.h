// The AIS traffic around the own ship: every station of the scenario moving
// and reporting at the intervals of ITU-R M.1371.
//
//   class A      2-10 s by speed and turning, 3 min at anchor or moored; static
//                and voyage data (message 5) every 6 min
//   class B      30 s above 2 kn, else 3 min; message 24 parts A and B every 6 min
//   base station 10 s (message 4)
//   SAR aircraft 10 s (message 9)
//   AtoN         3 min (message 21)
//   SART, MOB    a burst of 8 position reports every minute, message 14 every 4 min
//
// The model only decides what is transmitted when; the transponder model turns
// the messages into sentences.
#pragma once

#include <cstdint>
#include <vector>

#include "Motion.h"
#include "Prng.h"
#include "Scenario.h"
#include "StationMessages.h"
#include "ais/AisMessage.h"

namespace norq::sim {

struct AisTransmission {
    double time = 0.0;  // seconds from the start
    int channel = 0;    // 0 channel A, 1 channel B
    int station = 0;    // index into stations(); keeps the order of equal times stable
    ais::AisMessage message;
};

struct StationState {
    StationSetup setup;
    MovingBody body;
    double nextPosition = 0.0;
    double nextStatic = 0.0;
    double nextText = 0.0;
    int channel = 0;
    int reports = 0;
};

class TrafficModel {
  public:
    explicit TrafficModel(const Scenario& scenario);

    // Moves every station from the present time to `until` (seconds from the
    // start) and appends what they transmit in between, in time order.
    void advance(double until, std::vector<AisTransmission>& out);

    double now() const { return now_; }
    const std::vector<StationState>& stations() const { return stations_; }
    const MovingBody& ownShip() const { return own_; }
    // The own ship's motion at this moment, as its sensors see it.
    Kinematics ownKinematics() const;
    int utcSecond(double t) const;

    // The reporting interval of a class A station for its state (seconds).
    static double ClassAInterval(int navStatus, double speed, bool turning);
    static double ClassBInterval(double speed);

  private:
    void stepBodies(double dt);
    void collect(int index, double from, double to, std::vector<AisTransmission>& out);
    void collectScheduled(double from, double to, std::vector<AisTransmission>& out);
    void reportPosition(int index, double t, std::vector<AisTransmission>& out);
    void reportStatic(int index, double t, std::vector<AisTransmission>& out);
    void reportDistress(int index, double t, std::vector<AisTransmission>& out);
    Kinematics kinematicsOf(const StationState& s, double t) const;
    std::uint32_t sotdmaState(StationState& s, double t);
    void push(std::vector<AisTransmission>& out, double t, int index, StationState& s,
              const ais::AisMessage& m);

    const Scenario& scenario_;
    std::vector<StationState> stations_;
    MovingBody own_;
    Prng rng_;
    double now_ = 0.0;
    std::vector<double> nextSafety_;
    std::vector<double> nextChannelMgmt_;
    int safetySequence_ = 0;
};

}  // namespace norq::sim
