// The drill's simulated device: an AIS MOB position report with status 14
// (active) from kDrillMmsi, as the sentence a receiver would hand over, so that
// the drill runs through the real intake. It is only ever fed to the intake,
// never written to a port.
#pragma once

#include <string>

namespace norq::crew {

// "!AIVDM,1,1,,A,<payload>,<fill>*hh\r\n" of a message 1 at the position.
std::string DrillReportLine(double longitude, double latitude);

}  // namespace norq::crew
