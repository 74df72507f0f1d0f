// Builders of the AIS message records a station transmits. Each returns a
// complete AisMessage (header, layout and fields) ready for the encoder.
#pragma once

#include <cstdint>
#include <string_view>

#include "GeoMath.h"
#include "Scenario.h"
#include "SimClock.h"
#include "ais/AisMessage.h"

namespace norq::sim {

// What a moving station reports about its motion at one moment.
struct Kinematics {
    GeoPoint position;
    double sog = 0.0;         // knots
    double cog = 0.0;         // degrees true
    double heading = 0.0;     // degrees true
    double rateOfTurn = 0.0;  // degrees per minute, positive to starboard
    int utcSecond = 60;       // time stamp field; 60 not available
};

ais::AisMessage PositionReport(int messageId, std::uint32_t mmsi, int navStatus,
                               const Kinematics& k, std::uint32_t commState);
ais::AisMessage StaticVoyageReport(std::uint32_t mmsi, const VesselInfo& info);
ais::AisMessage ClassBPositionReport(std::uint32_t mmsi, const Kinematics& k);
ais::AisMessage StaticDataReportA(std::uint32_t mmsi, const VesselInfo& info);
ais::AisMessage StaticDataReportB(std::uint32_t mmsi, const VesselInfo& info);
ais::AisMessage BaseStationReport(std::uint32_t mmsi, GeoPoint position, const UtcTime& utc);
ais::AisMessage AtonReport(const StationSetup& aton, GeoPoint position, int utcSecond);
ais::AisMessage SarAircraftReport(std::uint32_t mmsi, int altitude, const Kinematics& k);
ais::AisMessage SafetyBroadcast(std::uint32_t mmsi, std::string_view text);
ais::AisMessage AddressedSafety(std::uint32_t mmsi, std::uint32_t destination, int sequence,
                                std::string_view text);
ais::AisMessage ChannelManagement(std::uint32_t mmsi, const ChannelManagementSetup& setup);
// Message 8 carrying the given application data (DAC and FI first).
ais::AisMessage BinaryBroadcast(std::uint32_t mmsi, const std::uint8_t* data, int bitCount);
// Message 6 to `destination` carrying the given application data.
ais::AisMessage AddressedBinary(std::uint32_t mmsi, std::uint32_t destination, int sequence,
                                const std::uint8_t* data, int bitCount);

std::uint32_t PackDimensions(const VesselInfo& info);
std::uint32_t PackEta(const VesselInfo& info);

}  // namespace norq::sim
