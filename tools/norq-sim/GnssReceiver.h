// The GNSS receiver: once a second GGA, GLL, GSA, GSV, RMC, VTG, ZDA and HDT
// for the own ship's motion, over a sky of satellites that rise, set and
// drift; during the scenario's loss-of-fix windows it reports no fix.
#pragma once

#include <cstdint>
#include <vector>

#include "DeviceLines.h"
#include "Prng.h"
#include "Scenario.h"
#include "StationMessages.h"

namespace norq::sim {

struct Satellite {
    int prn = 0;
    double azimuth = 0.0;    // degrees at the start
    double elevation = 0.0;  // degrees at the start
    double drift = 0.0;      // azimuth change, degrees per minute
    double phase = 0.0;
};

struct SatelliteView {
    int prn = 0;
    int elevation = 0;
    int azimuth = 0;
    int snr = 0;  // 0: not tracked
};

class GnssReceiver {
  public:
    GnssReceiver(const Scenario& scenario);

    // The sentences of second `t` (a whole number of seconds from the start).
    void tick(double t, const Kinematics& own, LineBatch& out);

    bool hasFix(double t) const;
    // The sky at `t`, sorted by PRN.
    std::vector<SatelliteView> sky(double t) const;

  private:
    const Scenario& scenario_;
    std::vector<Satellite> satellites_;
    Prng noise_;
    Prng damage_;
};

}  // namespace norq::sim
