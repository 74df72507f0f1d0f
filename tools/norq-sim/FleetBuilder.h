// Expands a scenario into the list of stations the traffic model runs: the
// stations written out in the file, the generated vessels of each fleet and
// the vessels placed on meeting courses with the own ship.
#pragma once

#include <vector>

#include "Motion.h"
#include "Scenario.h"

namespace norq::sim {

// The own ship's motion as the scenario gives it (start, course, speed, route).
MovingBody OwnShipBody(const Scenario& scenario);

// Every station but the own ship, in a fixed order: stations as written,
// then the fleets in file order, then the encounters. Deterministic for the
// scenario's seed.
std::vector<StationSetup> BuildStations(const Scenario& scenario);

// The maximum rate of turn of a vessel of this length (metres) and class.
double TypicalRateOfTurn(StationKind kind, int lengthMetres);

}  // namespace norq::sim
