#include "StationMessages.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace norq::sim {

using ais::AisLayoutId;
using ais::AisMessage;

namespace {

// The communication state of a class B "CS" unit, as such units send it.
constexpr std::uint32_t kClassBCommState = 393222;

AisMessage Header(int messageId, std::uint32_t mmsi, AisLayoutId layout) {
    AisMessage m;
    std::memset(&m, 0, sizeof m);
    m.messageId = static_cast<std::uint8_t>(messageId);
    m.repeat = 0;
    m.mmsi = mmsi;
    m.layout = layout;
    return m;
}

template <std::size_t N>
void CopyText(std::array<char, N>& out, std::string_view text) {
    const std::size_t n = std::min(text.size(), N - 1);
    std::memcpy(out.data(), text.data(), n);
    out[n] = '\0';
}

float Sog(double knots) {
    return static_cast<float>(std::min(102.2, std::round(knots * 10.0) / 10.0));
}
float Cog(double degrees) {
    const double c = std::round(NormalizeCourse(degrees) * 10.0) / 10.0;
    return static_cast<float>(c >= 360.0 ? 0.0 : c);
}
std::uint16_t Heading(double degrees) {
    const long h = std::lround(NormalizeCourse(degrees));
    return static_cast<std::uint16_t>(h >= 360 ? 0 : h);
}
std::uint8_t Second(int s) {
    return static_cast<std::uint8_t>(s < 0 || s > 63 ? 60 : s);
}

}  // namespace

std::uint32_t PackDimensions(const VesselInfo& i) {
    return (static_cast<std::uint32_t>(std::clamp(i.toBow, 0, 511)) << 21) |
           (static_cast<std::uint32_t>(std::clamp(i.toStern, 0, 511)) << 12) |
           (static_cast<std::uint32_t>(std::clamp(i.toPort, 0, 63)) << 6) |
           static_cast<std::uint32_t>(std::clamp(i.toStarboard, 0, 63));
}

std::uint32_t PackEta(const VesselInfo& i) {
    return (static_cast<std::uint32_t>(i.etaMonth & 0x0F) << 16) |
           (static_cast<std::uint32_t>(i.etaDay & 0x1F) << 11) |
           (static_cast<std::uint32_t>(i.etaHour & 0x1F) << 6) |
           static_cast<std::uint32_t>(i.etaMinute & 0x3F);
}

AisMessage PositionReport(int messageId, std::uint32_t mmsi, int navStatus, const Kinematics& k,
                          std::uint32_t commState) {
    AisMessage m = Header(messageId, mmsi, AisLayoutId::PositionReport);
    ais::AisPositionReport& p = m.position;
    p.navStatus = static_cast<std::uint8_t>(navStatus);
    // Rates beyond what the field can carry are reported as the indicators.
    double rot = std::round(k.rateOfTurn);
    if (rot > 708.0) rot = ais::kAisRotFastRight;
    if (rot < -708.0) rot = ais::kAisRotFastLeft;
    p.rateOfTurn = static_cast<float>(rot);
    p.sog = Sog(k.sog);
    p.positionAccuracy = 1;
    p.longitude = k.position.lon;
    p.latitude = k.position.lat;
    p.cog = Cog(k.cog);
    p.heading = Heading(k.heading);
    p.timeStamp = Second(k.utcSecond);
    p.commState = commState & 0x7FFFF;
    return m;
}

AisMessage StaticVoyageReport(std::uint32_t mmsi, const VesselInfo& info) {
    AisMessage m = Header(5, mmsi, AisLayoutId::StaticVoyage);
    ais::AisStaticVoyage& s = m.staticVoyage;
    s.aisVersion = 2;
    s.imo = info.imo;
    CopyText(s.callSign, info.callSign);
    CopyText(s.name, info.name);
    s.shipType = static_cast<std::uint8_t>(info.shipType);
    s.dimensions = PackDimensions(info);
    s.epfdType = 1;
    s.eta = PackEta(info);
    s.draught = static_cast<float>(std::round(info.draught * 10.0) / 10.0);
    CopyText(s.destination, info.destination);
    s.dte = 0;
    return m;
}

AisMessage ClassBPositionReport(std::uint32_t mmsi, const Kinematics& k) {
    AisMessage m = Header(18, mmsi, AisLayoutId::ClassBPosition);
    ais::AisClassBPosition& p = m.classBPosition;
    p.sog = Sog(k.sog);
    p.positionAccuracy = 0;
    p.longitude = k.position.lon;
    p.latitude = k.position.lat;
    p.cog = Cog(k.cog);
    p.heading = ais::kAisHeadingNotAvailable;
    p.timeStamp = Second(k.utcSecond);
    p.csUnit = 1;
    p.display = 0;
    p.dsc = 1;
    p.band = 1;
    p.message22 = 1;
    p.commStateSelector = 1;
    p.commState = kClassBCommState;
    return m;
}

AisMessage StaticDataReportA(std::uint32_t mmsi, const VesselInfo& info) {
    AisMessage m = Header(24, mmsi, AisLayoutId::StaticDataA);
    m.staticA.partNumber = 0;
    CopyText(m.staticA.name, info.name);
    return m;
}

AisMessage StaticDataReportB(std::uint32_t mmsi, const VesselInfo& info) {
    AisMessage m = Header(24, mmsi, AisLayoutId::StaticDataB);
    ais::AisStaticDataB& b = m.staticB;
    b.partNumber = 1;
    b.shipType = static_cast<std::uint8_t>(info.shipType);
    CopyText(b.vendorId, info.vendorId);
    CopyText(b.callSign, info.callSign);
    b.dimensions = PackDimensions(info);
    return m;
}

AisMessage BaseStationReport(std::uint32_t mmsi, GeoPoint position, const UtcTime& utc) {
    AisMessage m = Header(4, mmsi, AisLayoutId::BaseStation);
    ais::AisBaseStationReport& b = m.baseStation;
    b.year = static_cast<std::uint16_t>(utc.year);
    b.month = static_cast<std::uint8_t>(utc.month);
    b.day = static_cast<std::uint8_t>(utc.day);
    b.hour = static_cast<std::uint8_t>(utc.hour);
    b.minute = static_cast<std::uint8_t>(utc.minute);
    b.second = static_cast<std::uint8_t>(utc.second);
    b.positionAccuracy = 1;
    b.longitude = position.lon;
    b.latitude = position.lat;
    b.epfdType = 7;  // surveyed
    b.commState = static_cast<std::uint32_t>((utc.hour << 9) | (utc.minute << 2)) & 0x3FFF;
    return m;
}

AisMessage AtonReport(const StationSetup& a, GeoPoint position, int utcSecond) {
    AisMessage m = Header(21, a.mmsi, AisLayoutId::AidToNavigation);
    ais::AisAidToNavigation& t = m.aton;
    t.aidType = static_cast<std::uint8_t>(a.atonType);
    const std::string& name = a.info.name;
    CopyText(t.name, std::string_view(name).substr(0, 20));
    if (name.size() > 20) CopyText(t.nameExtension, std::string_view(name).substr(20, 14));
    t.positionAccuracy = 1;
    t.longitude = position.lon;
    t.latitude = position.lat;
    t.dimensions = PackDimensions(a.info);
    t.epfdType = 7;
    t.timeStamp = Second(utcSecond);
    t.offPosition = a.offPosition ? 1 : 0;
    t.regional = static_cast<std::uint8_t>(a.atonStatus);
    t.virtualAton = a.virtualAton ? 1 : 0;
    return m;
}

AisMessage SarAircraftReport(std::uint32_t mmsi, int altitude, const Kinematics& k) {
    AisMessage m = Header(9, mmsi, AisLayoutId::SarPosition);
    ais::AisSarPosition& s = m.sarPosition;
    s.altitude = static_cast<std::uint16_t>(std::clamp(altitude, 0, 4095));
    s.sog = static_cast<float>(std::min(1022.0, std::round(k.sog)));
    s.positionAccuracy = 1;
    s.longitude = k.position.lon;
    s.latitude = k.position.lat;
    s.cog = Cog(k.cog);
    s.timeStamp = Second(k.utcSecond);
    s.dte = 1;
    return m;
}

AisMessage SafetyBroadcast(std::uint32_t mmsi, std::string_view text) {
    AisMessage m = Header(14, mmsi, AisLayoutId::SafetyBroadcast);
    CopyText(m.safetyBroadcast.text, text);
    return m;
}

AisMessage AddressedSafety(std::uint32_t mmsi, std::uint32_t destination, int sequence,
                           std::string_view text) {
    AisMessage m = Header(12, mmsi, AisLayoutId::AddressedSafety);
    m.addressedSafety.sequence = static_cast<std::uint8_t>(sequence & 3);
    m.addressedSafety.destinationMmsi = destination;
    CopyText(m.addressedSafety.text, text);
    return m;
}

AisMessage ChannelManagement(std::uint32_t mmsi, const ChannelManagementSetup& c) {
    AisMessage m = Header(22, mmsi, AisLayoutId::ChannelManagement);
    ais::AisChannelManagement& cm = m.channelManagement;
    cm.channelA = static_cast<std::uint16_t>(c.channelA);
    cm.channelB = static_cast<std::uint16_t>(c.channelB);
    cm.power = static_cast<std::uint8_t>(c.power);
    cm.longitude1 = c.northEast.lon;
    cm.latitude1 = c.northEast.lat;
    cm.longitude2 = c.southWest.lon;
    cm.latitude2 = c.southWest.lat;
    cm.zoneSize = static_cast<std::uint8_t>(c.zoneSize);
    return m;
}

AisMessage BinaryBroadcast(std::uint32_t mmsi, const std::uint8_t* data, int bitCount) {
    AisMessage m = Header(8, mmsi, AisLayoutId::BinaryBroadcast);
    const auto bytes = std::min<std::size_t>((static_cast<std::size_t>(bitCount) + 7) / 8,
                                             m.binaryBroadcast.data.size());
    std::memcpy(m.binaryBroadcast.data.data(), data, bytes);
    m.binaryBroadcast.dataBits = static_cast<std::uint16_t>(
        std::min<std::size_t>(static_cast<std::size_t>(bitCount), bytes * 8));
    return m;
}

AisMessage AddressedBinary(std::uint32_t mmsi, std::uint32_t destination, int sequence,
                           const std::uint8_t* data, int bitCount) {
    AisMessage m = Header(6, mmsi, AisLayoutId::AddressedBinary);
    ais::AisAddressedBinary& b = m.addressedBinary;
    b.sequence = static_cast<std::uint8_t>(sequence & 3);
    b.destinationMmsi = destination;
    const auto bytes =
        std::min<std::size_t>((static_cast<std::size_t>(bitCount) + 7) / 8, b.data.size());
    std::memcpy(b.data.data(), data, bytes);
    b.dataBits = static_cast<std::uint16_t>(
        std::min<std::size_t>(static_cast<std::size_t>(bitCount), bytes * 8));
    return m;
}

}  // namespace norq::sim
