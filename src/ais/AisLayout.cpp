// The descriptor tables of messages 1-26 and of the binary application messages.
#include "ais/AisLayout.h"

namespace norq::ais {
namespace {

using K = AisFieldKind;

#define ROW(start, width, kind, scale, member) \
    NORQ_AIS_FIELD(AisMessage, start, width, kind, scale, member)
#define DATA(start, member, count) \
    NORQ_AIS_COUNTED(AisMessage, start, 0, RestBytes, 1.0, member, count)

// Every message starts with message id, repeat indicator and MMSI.
constexpr AisField kHeader[] = {
    ROW(0, 6, Uint8, 1.0, messageId),
    ROW(6, 2, Uint8, 1.0, repeat),
    ROW(8, 30, Uint32, 1.0, mmsi),
};

template <std::size_t N>
constexpr std::array<AisField, N + 3> WithHeader(const AisField (&body)[N]) {
    std::array<AisField, N + 3> rows{};
    for (std::size_t i = 0; i < 3; ++i)
        rows[i] = kHeader[i];
    for (std::size_t i = 0; i < N; ++i)
        rows[i + 3] = body[i];
    return rows;
}

constexpr unsigned StoredSize(K kind) {
    switch (kind) {
        case K::Uint8:
            return 1;
        case K::Uint16:
        case K::Heading:
            return 2;
        case K::Uint32:
        case K::SignedScaled:
        case K::Scaled:
        case K::Speed:
        case K::RateOfTurn:
        case K::Course:
        case K::CappedScaled:
        case K::LongitudeFloat:
        case K::LatitudeFloat:
            return 4;
        case K::Longitude:
        case K::Latitude:
            return 8;
        case K::FourPairs:
            return 32;
        default:
            return 0;  // texts, bytes, lists: checked below
    }
}

// Compile-time check of a table: every start bit matches the walk, every
// member has the size its kind stores, texts hold their characters.
template <std::size_t N>
constexpr bool IsConsistent(const std::array<AisField, N>& rows, std::size_t recordSize) {
    int pos = 0;
    for (const AisField& f : rows) {
        if (f.start != -1 && f.start != pos) return false;
        if (f.start == -1 && pos != -1) return false;
        if (std::size_t{f.offset} + f.size > recordSize) return false;
        switch (f.kind) {
            case K::FixedText:
                if (f.size < f.width / 6 + 1) return false;
                break;
            case K::RestText:
            case K::RestBytes:
            case K::PointList:
                if (f.size < 2) return false;
                break;
            case K::SkipBits:
            case K::SkipToByte:
                if (f.size != 0) return false;
                break;
            default:
                if (f.size != StoredSize(f.kind)) return false;
        }
        const bool variable = f.kind == K::RestText || f.kind == K::RestBytes ||
                              f.kind == K::PointList || f.kind == K::SkipToByte;
        pos = (variable || pos == -1) ? -1 : pos + f.width;
    }
    return true;
}

constexpr auto kPositionReport = WithHeader({
    ROW(38, 4, Uint8, 1.0, position.navStatus),
    ROW(42, 8, RateOfTurn, 1.0, position.rateOfTurn),
    ROW(50, 10, Speed, 0.1, position.sog),
    ROW(60, 1, Uint8, 1.0, position.positionAccuracy),
    ROW(61, 28, Longitude, 0.0001, position.longitude),
    ROW(89, 27, Latitude, 0.0001, position.latitude),
    ROW(116, 12, Course, 0.1, position.cog),
    ROW(128, 9, Heading, 1.0, position.heading),
    ROW(137, 6, Uint8, 1.0, position.timeStamp),
    ROW(143, 4, Uint8, 1.0, position.regional),
    ROW(147, 1, Uint8, 1.0, position.spare),
    ROW(148, 1, Uint8, 1.0, position.raim),
    ROW(149, 19, Uint32, 1.0, position.commState),
});

constexpr auto kBaseStation = WithHeader({
    ROW(38, 14, Uint16, 1.0, baseStation.year),
    ROW(52, 4, Uint8, 1.0, baseStation.month),
    ROW(56, 5, Uint8, 1.0, baseStation.day),
    ROW(61, 5, Uint8, 1.0, baseStation.hour),
    ROW(66, 6, Uint8, 1.0, baseStation.minute),
    ROW(72, 6, Uint8, 1.0, baseStation.second),
    ROW(78, 1, Uint8, 1.0, baseStation.positionAccuracy),
    ROW(79, 28, Longitude, 0.0001, baseStation.longitude),
    ROW(107, 27, Latitude, 0.0001, baseStation.latitude),
    ROW(134, 4, Uint8, 1.0, baseStation.epfdType),
    ROW(138, 10, Uint16, 1.0, baseStation.spare),
    ROW(148, 1, Uint8, 1.0, baseStation.raim),
    ROW(149, 19, Uint32, 1.0, baseStation.commState),
});

constexpr auto kStaticVoyage = WithHeader({
    ROW(38, 2, Uint8, 1.0, staticVoyage.aisVersion),
    ROW(40, 30, Uint32, 1.0, staticVoyage.imo),
    ROW(70, 42, FixedText, 1.0, staticVoyage.callSign),
    ROW(112, 120, FixedText, 1.0, staticVoyage.name),
    ROW(232, 8, Uint8, 1.0, staticVoyage.shipType),
    ROW(240, 30, Uint32, 1.0, staticVoyage.dimensions),
    ROW(270, 4, Uint8, 1.0, staticVoyage.epfdType),
    ROW(274, 20, Uint32, 1.0, staticVoyage.eta),
    ROW(294, 8, Scaled, 0.1, staticVoyage.draught),
    ROW(302, 120, FixedText, 1.0, staticVoyage.destination),
    ROW(422, 1, Uint8, 1.0, staticVoyage.dte),
    ROW(423, 1, Uint8, 1.0, staticVoyage.spare),
});

constexpr auto kAddressedBinary = WithHeader({
    ROW(38, 2, Uint8, 1.0, addressedBinary.sequence),
    ROW(40, 30, Uint32, 1.0, addressedBinary.destinationMmsi),
    ROW(70, 1, Uint8, 1.0, addressedBinary.retransmit),
    ROW(71, 1, Uint8, 1.0, addressedBinary.spare),
    DATA(72, addressedBinary.data, addressedBinary.dataBits),
});

constexpr auto kAcknowledge = WithHeader({
    ROW(38, 2, Uint8, 1.0, acknowledge.spare),
    ROW(40, 30, Uint32, 1.0, acknowledge.mmsi1),
    ROW(70, 2, Uint8, 1.0, acknowledge.sequence1),
    ROW(72, 30, Uint32, 1.0, acknowledge.mmsi2),
    ROW(102, 2, Uint8, 1.0, acknowledge.sequence2),
    ROW(104, 30, Uint32, 1.0, acknowledge.mmsi3),
    ROW(134, 2, Uint8, 1.0, acknowledge.sequence3),
    ROW(136, 30, Uint32, 1.0, acknowledge.mmsi4),
    ROW(166, 2, Uint8, 1.0, acknowledge.sequence4),
});

constexpr auto kBinaryBroadcast = WithHeader({
    ROW(38, 2, Uint8, 1.0, binaryBroadcast.spare),
    DATA(40, binaryBroadcast.data, binaryBroadcast.dataBits),
});

constexpr auto kSarPosition = WithHeader({
    ROW(38, 12, Uint16, 1.0, sarPosition.altitude),
    ROW(50, 10, Speed, 1.0, sarPosition.sog),
    ROW(60, 1, Uint8, 1.0, sarPosition.positionAccuracy),
    ROW(61, 28, Longitude, 0.0001, sarPosition.longitude),
    ROW(89, 27, Latitude, 0.0001, sarPosition.latitude),
    ROW(116, 12, Course, 0.1, sarPosition.cog),
    ROW(128, 6, Uint8, 1.0, sarPosition.timeStamp),
    ROW(134, 8, Uint8, 1.0, sarPosition.regional),
    ROW(142, 1, Uint8, 1.0, sarPosition.dte),
    ROW(143, 3, Uint8, 1.0, sarPosition.spare),
    ROW(146, 1, Uint8, 1.0, sarPosition.assigned),
    ROW(147, 1, Uint8, 1.0, sarPosition.raim),
    ROW(148, 1, Uint8, 1.0, sarPosition.commStateSelector),
    ROW(149, 19, Uint32, 1.0, sarPosition.commState),
});

constexpr auto kUtcInquiry = WithHeader({
    ROW(38, 2, Uint8, 1.0, utcInquiry.spare),
    ROW(40, 30, Uint32, 1.0, utcInquiry.destinationMmsi),
    ROW(70, 2, Uint8, 1.0, utcInquiry.spare2),
});

constexpr auto kAddressedSafety = WithHeader({
    ROW(38, 2, Uint8, 1.0, addressedSafety.sequence),
    ROW(40, 30, Uint32, 1.0, addressedSafety.destinationMmsi),
    ROW(70, 1, Uint8, 1.0, addressedSafety.retransmit),
    ROW(71, 1, Uint8, 1.0, addressedSafety.spare),
    ROW(72, 0, RestText, 1.0, addressedSafety.text),
});

constexpr auto kSafetyBroadcast = WithHeader({
    ROW(38, 2, Uint8, 1.0, safetyBroadcast.spare),
    ROW(40, 0, RestText, 1.0, safetyBroadcast.text),
});

constexpr auto kInterrogation = WithHeader({
    ROW(38, 2, Uint8, 1.0, interrogation.spare),
    ROW(40, 30, Uint32, 1.0, interrogation.mmsi1),
    ROW(70, 6, Uint8, 1.0, interrogation.messageId11),
    ROW(76, 12, Uint16, 1.0, interrogation.slotOffset11),
    ROW(88, 2, Uint8, 1.0, interrogation.spare2),
    ROW(90, 6, Uint8, 1.0, interrogation.messageId12),
    ROW(96, 12, Uint16, 1.0, interrogation.slotOffset12),
    ROW(108, 2, Uint8, 1.0, interrogation.spare3),
    ROW(110, 30, Uint32, 1.0, interrogation.mmsi2),
    ROW(140, 6, Uint8, 1.0, interrogation.messageId21),
    ROW(146, 12, Uint16, 1.0, interrogation.slotOffset21),
    ROW(158, 2, Uint8, 1.0, interrogation.spare4),
});

constexpr auto kAssignmentCommand = WithHeader({
    ROW(38, 2, Uint8, 1.0, assignment.spare),
    ROW(40, 30, Uint32, 1.0, assignment.mmsiA),
    ROW(70, 12, Uint16, 1.0, assignment.offsetA),
    ROW(82, 10, Uint16, 1.0, assignment.incrementA),
    ROW(92, 30, Uint32, 1.0, assignment.mmsiB),
    ROW(122, 12, Uint16, 1.0, assignment.offsetB),
    ROW(134, 10, Uint16, 1.0, assignment.incrementB),
    ROW(144, 4, Uint8, 1.0, assignment.spare2),
});

// The correction data words after the DGNSS header are kept as bytes.
constexpr auto kDgnss = WithHeader({
    ROW(38, 2, Uint8, 1.0, dgnss.spare),
    ROW(40, 18, Longitude, 0.1, dgnss.longitude),
    ROW(58, 17, Latitude, 0.1, dgnss.latitude),
    ROW(75, 5, Uint8, 1.0, dgnss.spare2),
    ROW(80, 6, Uint8, 1.0, dgnss.dgnssType),
    ROW(86, 10, Uint16, 1.0, dgnss.stationId),
    ROW(96, 13, Uint16, 1.0, dgnss.zCount),
    ROW(109, 3, Uint8, 1.0, dgnss.sequence),
    ROW(112, 5, Uint8, 1.0, dgnss.wordCount),
    ROW(117, 3, Uint8, 1.0, dgnss.health),
    DATA(120, dgnss.data, dgnss.dataBits),
});

constexpr auto kClassBPosition = WithHeader({
    ROW(38, 8, Uint8, 1.0, classBPosition.regionalReserved),
    ROW(46, 10, Speed, 0.1, classBPosition.sog),
    ROW(56, 1, Uint8, 1.0, classBPosition.positionAccuracy),
    ROW(57, 28, Longitude, 0.0001, classBPosition.longitude),
    ROW(85, 27, Latitude, 0.0001, classBPosition.latitude),
    ROW(112, 12, Course, 0.1, classBPosition.cog),
    ROW(124, 9, Heading, 1.0, classBPosition.heading),
    ROW(133, 6, Uint8, 1.0, classBPosition.timeStamp),
    ROW(139, 2, Uint8, 1.0, classBPosition.regional),
    ROW(141, 1, Uint8, 1.0, classBPosition.csUnit),
    ROW(142, 1, Uint8, 1.0, classBPosition.display),
    ROW(143, 1, Uint8, 1.0, classBPosition.dsc),
    ROW(144, 1, Uint8, 1.0, classBPosition.band),
    ROW(145, 1, Uint8, 1.0, classBPosition.message22),
    ROW(146, 1, Uint8, 1.0, classBPosition.assigned),
    ROW(147, 1, Uint8, 1.0, classBPosition.raim),
    ROW(148, 1, Uint8, 1.0, classBPosition.commStateSelector),
    ROW(149, 19, Uint32, 1.0, classBPosition.commState),
});

constexpr auto kClassBExtended = WithHeader({
    ROW(38, 8, Uint8, 1.0, classBExtended.regionalReserved),
    ROW(46, 10, Speed, 0.1, classBExtended.sog),
    ROW(56, 1, Uint8, 1.0, classBExtended.positionAccuracy),
    ROW(57, 28, Longitude, 0.0001, classBExtended.longitude),
    ROW(85, 27, Latitude, 0.0001, classBExtended.latitude),
    ROW(112, 12, Course, 0.1, classBExtended.cog),
    ROW(124, 9, Heading, 1.0, classBExtended.heading),
    ROW(133, 6, Uint8, 1.0, classBExtended.timeStamp),
    ROW(139, 4, Uint8, 1.0, classBExtended.regional),
    ROW(143, 120, FixedText, 1.0, classBExtended.name),
    ROW(263, 8, Uint8, 1.0, classBExtended.shipType),
    ROW(271, 30, Uint32, 1.0, classBExtended.dimensions),
    ROW(301, 4, Uint8, 1.0, classBExtended.epfdType),
    ROW(305, 1, Uint8, 1.0, classBExtended.raim),
    ROW(306, 1, Uint8, 1.0, classBExtended.dte),
    ROW(307, 1, Uint8, 1.0, classBExtended.assigned),
    ROW(308, 4, Uint8, 1.0, classBExtended.spare),
});

#define SLOT_BLOCK(start, i)                                        \
    ROW(start, 12, Uint16, 1.0, dataLink.blocks[i].offset),         \
        ROW(start + 12, 4, Uint8, 1.0, dataLink.blocks[i].slots),   \
        ROW(start + 16, 3, Uint8, 1.0, dataLink.blocks[i].timeout), \
        ROW(start + 19, 11, Uint16, 1.0, dataLink.blocks[i].increment)

constexpr auto kDataLinkManagement = WithHeader({
    ROW(38, 2, Uint8, 1.0, dataLink.spare),
    SLOT_BLOCK(40, 0),
    SLOT_BLOCK(70, 1),
    SLOT_BLOCK(100, 2),
    SLOT_BLOCK(130, 3),
});

constexpr auto kAidToNavigation = WithHeader({
    ROW(38, 5, Uint8, 1.0, aton.aidType),
    ROW(43, 120, FixedText, 1.0, aton.name),
    ROW(163, 1, Uint8, 1.0, aton.positionAccuracy),
    ROW(164, 28, Longitude, 0.0001, aton.longitude),
    ROW(192, 27, Latitude, 0.0001, aton.latitude),
    ROW(219, 30, Uint32, 1.0, aton.dimensions),
    ROW(249, 4, Uint8, 1.0, aton.epfdType),
    ROW(253, 6, Uint8, 1.0, aton.timeStamp),
    ROW(259, 1, Uint8, 1.0, aton.offPosition),
    ROW(260, 8, Uint8, 1.0, aton.regional),
    ROW(268, 1, Uint8, 1.0, aton.raim),
    ROW(269, 1, Uint8, 1.0, aton.virtualAton),
    ROW(270, 1, Uint8, 1.0, aton.assigned),
    ROW(271, 1, Uint8, 1.0, aton.spare),
    ROW(272, 0, RestText, 1.0, aton.nameExtension),
});

constexpr auto kChannelManagement = WithHeader({
    ROW(38, 2, Uint8, 1.0, channelManagement.spare),
    ROW(40, 12, Uint16, 1.0, channelManagement.channelA),
    ROW(52, 12, Uint16, 1.0, channelManagement.channelB),
    ROW(64, 4, Uint8, 1.0, channelManagement.txRxMode),
    ROW(68, 1, Uint8, 1.0, channelManagement.power),
    ROW(69, 18, Longitude, 0.1, channelManagement.longitude1),
    ROW(87, 17, Latitude, 0.1, channelManagement.latitude1),
    ROW(104, 18, Longitude, 0.1, channelManagement.longitude2),
    ROW(122, 17, Latitude, 0.1, channelManagement.latitude2),
    ROW(139, 1, Uint8, 1.0, channelManagement.addressed),
    ROW(140, 1, Uint8, 1.0, channelManagement.bandwidthA),
    ROW(141, 1, Uint8, 1.0, channelManagement.bandwidthB),
    ROW(142, 3, Uint8, 1.0, channelManagement.zoneSize),
    ROW(145, 23, Uint32, 1.0, channelManagement.spare2),
});

constexpr std::array kChannelManagementAddressees = {
    NORQ_AIS_SKIP(0, 69),
    ROW(69, 30, Uint32, 1.0, channelManagement.destinationMmsi1),
    NORQ_AIS_SKIP(99, 5),
    ROW(104, 30, Uint32, 1.0, channelManagement.destinationMmsi2),
};

constexpr auto kGroupAssignment = WithHeader({
    ROW(38, 2, Uint8, 1.0, groupAssignment.spare),
    ROW(40, 18, Longitude, 0.1, groupAssignment.longitude1),
    ROW(58, 17, Latitude, 0.1, groupAssignment.latitude1),
    ROW(75, 18, Longitude, 0.1, groupAssignment.longitude2),
    ROW(93, 17, Latitude, 0.1, groupAssignment.latitude2),
    ROW(110, 4, Uint8, 1.0, groupAssignment.stationType),
    ROW(114, 8, Uint8, 1.0, groupAssignment.shipType),
    ROW(122, 22, Uint32, 1.0, groupAssignment.spare2),
    ROW(144, 2, Uint8, 1.0, groupAssignment.txRxMode),
    ROW(146, 4, Uint8, 1.0, groupAssignment.reportingInterval),
    ROW(150, 4, Uint8, 1.0, groupAssignment.quietTime),
    ROW(154, 6, Uint8, 1.0, groupAssignment.spare3),
});

constexpr auto kStaticDataA = WithHeader({
    ROW(38, 2, Uint8, 1.0, staticA.partNumber),
    ROW(40, 120, FixedText, 1.0, staticA.name),
});

constexpr auto kStaticDataB = WithHeader({
    ROW(38, 2, Uint8, 1.0, staticB.partNumber),
    ROW(40, 8, Uint8, 1.0, staticB.shipType),
    ROW(48, 42, FixedText, 1.0, staticB.vendorId),
    ROW(90, 42, FixedText, 1.0, staticB.callSign),
    ROW(132, 30, Uint32, 1.0, staticB.dimensions),
    ROW(162, 6, Uint8, 1.0, staticB.spare),
});

constexpr auto kSlotBinaryBroadcast = WithHeader({
    ROW(38, 1, Uint8, 1.0, slotBinary.addressed),
    ROW(39, 1, Uint8, 1.0, slotBinary.structured),
    DATA(40, slotBinary.data, slotBinary.dataBits),
});

constexpr auto kSlotBinaryAddressed = WithHeader({
    ROW(38, 1, Uint8, 1.0, slotBinary.addressed),
    ROW(39, 1, Uint8, 1.0, slotBinary.structured),
    ROW(40, 30, Uint32, 1.0, slotBinary.destinationMmsi),
    DATA(70, slotBinary.data, slotBinary.dataBits),
});

// Message 27, long-range broadcast: 96 bits.
constexpr auto kLongRange = WithHeader({
    ROW(38, 1, Uint8, 1.0, longRange.positionAccuracy),
    ROW(39, 1, Uint8, 1.0, longRange.raim),
    ROW(40, 4, Uint8, 1.0, longRange.navStatus),
    ROW(44, 18, Longitude, 0.1, longRange.longitude),
    ROW(62, 17, Latitude, 0.1, longRange.latitude),
    ROW(79, 6, Uint8, 1.0, longRange.sog),
    ROW(85, 9, Uint16, 1.0, longRange.cog),
    ROW(94, 1, Uint8, 1.0, longRange.gnss),
    ROW(95, 1, Uint8, 1.0, longRange.spare),
});

#undef SLOT_BLOCK
#undef DATA
#undef ROW

// Binary application messages (the data part of message 8).
#define AREA(start, width, kind, scale, member) \
    NORQ_AIS_FIELD(AreaNoticeRecord, start, width, kind, scale, member)

#define AREA_HEADER                                                                       \
    AREA(0, 10, Uint8, 1.0, dac), AREA(10, 6, Uint8, 1.0, fi),                            \
        AREA(16, 10, Uint16, 1.0, linkageId), AREA(26, 7, Uint8, 1.0, noticeDescription), \
        AREA(33, 4, Uint8, 1.0, month), AREA(37, 5, Uint8, 1.0, day),                     \
        AREA(42, 5, Uint8, 1.0, hour), AREA(47, 6, Uint8, 1.0, minute),                   \
        AREA(53, 18, Uint32, 1.0, duration), AREA(71, 3, Uint8, 1.0, areaShape),          \
        AREA(74, 2, Uint8, 1.0, scaleFactor)

constexpr std::array kAreaNoticeCircle = {
    AREA_HEADER,
    AREA(76, 25, LongitudeFloat, 0.001, longitude),
    AREA(101, 24, LatitudeFloat, 0.001, latitude),
    AREA(125, 3, Uint8, 1.0, precision),
    AREA(128, 12, Uint32, 1.0, radius),
    NORQ_AIS_SKIP(140, 18),
};

constexpr std::array kAreaNoticePolyline = {
    AREA_HEADER, AREA(76, 80, FourPairs, 1.0, segments),
    NORQ_AIS_SKIP(156, 2),  // the sub-area is 87 bits, like the circle's
};

#undef AREA_HEADER
#undef AREA

#define ROUTE(start, width, kind, scale, member) \
    NORQ_AIS_FIELD(RouteInfoRecord, start, width, kind, scale, member)

constexpr std::array kRouteInfo = {
    ROUTE(0, 10, Uint8, 1.0, dac),
    ROUTE(10, 6, Uint8, 1.0, fi),
    ROUTE(16, 10, Uint16, 1.0, linkageId),
    ROUTE(26, 3, Uint8, 1.0, senderClass),
    ROUTE(29, 5, Uint8, 1.0, routeType),
    ROUTE(34, 4, Uint8, 1.0, month),
    ROUTE(38, 5, Uint8, 1.0, day),
    ROUTE(43, 5, Uint8, 1.0, hour),
    ROUTE(48, 6, Uint8, 1.0, minute),
    ROUTE(54, 18, Uint32, 1.0, duration),
    ROUTE(72, 5, Uint8, 1.0, waypointCount),
    NORQ_AIS_COUNTED(RouteInfoRecord, 77, 0, PointList, 0.0001, waypoints, waypointCount),
};

#undef ROUTE

constexpr std::size_t kMessageSize = sizeof(AisMessage);

static_assert(IsConsistent(kPositionReport, kMessageSize));
static_assert(IsConsistent(kBaseStation, kMessageSize));
static_assert(IsConsistent(kStaticVoyage, kMessageSize));
static_assert(IsConsistent(kAddressedBinary, kMessageSize));
static_assert(IsConsistent(kAcknowledge, kMessageSize));
static_assert(IsConsistent(kBinaryBroadcast, kMessageSize));
static_assert(IsConsistent(kSarPosition, kMessageSize));
static_assert(IsConsistent(kUtcInquiry, kMessageSize));
static_assert(IsConsistent(kAddressedSafety, kMessageSize));
static_assert(IsConsistent(kSafetyBroadcast, kMessageSize));
static_assert(IsConsistent(kInterrogation, kMessageSize));
static_assert(IsConsistent(kAssignmentCommand, kMessageSize));
static_assert(IsConsistent(kDgnss, kMessageSize));
static_assert(IsConsistent(kClassBPosition, kMessageSize));
static_assert(IsConsistent(kClassBExtended, kMessageSize));
static_assert(IsConsistent(kDataLinkManagement, kMessageSize));
static_assert(IsConsistent(kAidToNavigation, kMessageSize));
static_assert(IsConsistent(kChannelManagement, kMessageSize));
static_assert(IsConsistent(kChannelManagementAddressees, kMessageSize));
static_assert(IsConsistent(kGroupAssignment, kMessageSize));
static_assert(IsConsistent(kStaticDataA, kMessageSize));
static_assert(IsConsistent(kStaticDataB, kMessageSize));
static_assert(IsConsistent(kSlotBinaryBroadcast, kMessageSize));
static_assert(IsConsistent(kSlotBinaryAddressed, kMessageSize));
static_assert(IsConsistent(kLongRange, kMessageSize));
static_assert(IsConsistent(kAreaNoticeCircle, sizeof(AreaNoticeRecord)));
static_assert(IsConsistent(kAreaNoticePolyline, sizeof(AreaNoticeRecord)));
static_assert(IsConsistent(kRouteInfo, sizeof(RouteInfoRecord)));
// Message 5 is 424 bits, 1-4 and 18 one slot of 168 bits, 19 two slots of 312.
static_assert(kStaticVoyage.back().start + kStaticVoyage.back().width == 424);
static_assert(kPositionReport.back().start + kPositionReport.back().width == 168);
static_assert(kClassBExtended.back().start + kClassBExtended.back().width == 312);
static_assert(kAreaNoticeCircle.back().start + kAreaNoticeCircle.back().width == 158);
static_assert(kLongRange.back().start + kLongRange.back().width == 96);

// Where a message must not end: after its first latitude row, or after the
// first row that follows the header.
template <std::size_t N>
constexpr std::uint16_t MinimumBits(const std::array<AisField, N>& rows) {
    for (const AisField& f : rows) {
        if ((f.kind == K::Latitude || f.kind == K::LatitudeFloat) && f.start >= 0) {
            return static_cast<std::uint16_t>(f.start + f.width);
        }
    }
    if (N <= 3 || rows[3].start < 0) return 0;
    return static_cast<std::uint16_t>(rows[3].start + rows[3].width);
}

template <std::size_t N>
constexpr std::uint16_t FullBits(const std::array<AisField, N>& rows) {
    int end = 0;
    for (const AisField& f : rows) {
        if (f.start >= 0 && f.width > 0) end = f.start + f.width;
    }
    return static_cast<std::uint16_t>(end);
}

static_assert(MinimumBits(kPositionReport) == 116);
static_assert(MinimumBits(kStaticVoyage) == 40);
static_assert(MinimumBits(kLongRange) == 79);
static_assert(FullBits(kStaticVoyage) == 424);
static_assert(FullBits(kAidToNavigation) == 272);

template <std::size_t N>
constexpr AisLayout MakeLayout(const char* name, const std::array<AisField, N>& rows,
                               std::size_t recordSize) {
    return AisLayout{name, std::span<const AisField>(rows), static_cast<std::uint16_t>(recordSize),
                     MinimumBits(rows), FullBits(rows)};
}

// Indexed by AisLayoutId.
constexpr std::array<AisLayout, static_cast<std::size_t>(AisLayoutId::Count)> kLayouts = {
    AisLayout{"none", {}, kMessageSize},
    MakeLayout("position report", kPositionReport, kMessageSize),
    MakeLayout("base station report", kBaseStation, kMessageSize),
    MakeLayout("static and voyage data", kStaticVoyage, kMessageSize),
    MakeLayout("addressed binary", kAddressedBinary, kMessageSize),
    MakeLayout("acknowledge", kAcknowledge, kMessageSize),
    MakeLayout("binary broadcast", kBinaryBroadcast, kMessageSize),
    MakeLayout("SAR aircraft position", kSarPosition, kMessageSize),
    MakeLayout("UTC inquiry", kUtcInquiry, kMessageSize),
    MakeLayout("addressed safety", kAddressedSafety, kMessageSize),
    MakeLayout("safety broadcast", kSafetyBroadcast, kMessageSize),
    MakeLayout("interrogation", kInterrogation, kMessageSize),
    MakeLayout("assignment command", kAssignmentCommand, kMessageSize),
    MakeLayout("DGNSS broadcast", kDgnss, kMessageSize),
    MakeLayout("class B position", kClassBPosition, kMessageSize),
    MakeLayout("class B extended position", kClassBExtended, kMessageSize),
    MakeLayout("data link management", kDataLinkManagement, kMessageSize),
    MakeLayout("aid to navigation", kAidToNavigation, kMessageSize),
    MakeLayout("channel management", kChannelManagement, kMessageSize),
    MakeLayout("group assignment", kGroupAssignment, kMessageSize),
    MakeLayout("static data part A", kStaticDataA, kMessageSize),
    MakeLayout("static data part B", kStaticDataB, kMessageSize),
    MakeLayout("slot binary broadcast", kSlotBinaryBroadcast, kMessageSize),
    MakeLayout("slot binary addressed", kSlotBinaryAddressed, kMessageSize),
    MakeLayout("long-range broadcast", kLongRange, kMessageSize),
};

constexpr AisLayout kAddresseesLayout =
    MakeLayout("channel management addressees", kChannelManagementAddressees, kMessageSize);
constexpr AisLayout kAreaNoticeCircleLayout =
    MakeLayout("area notice circle", kAreaNoticeCircle, sizeof(AreaNoticeRecord));
constexpr AisLayout kAreaNoticePolylineLayout =
    MakeLayout("area notice polyline", kAreaNoticePolyline, sizeof(AreaNoticeRecord));
constexpr AisLayout kRouteInfoLayout =
    MakeLayout("route information", kRouteInfo, sizeof(RouteInfoRecord));

}  // namespace

const AisLayout& AisLayoutFor(AisLayoutId id) {
    const auto index = static_cast<std::size_t>(id);
    return index < kLayouts.size() ? kLayouts[index] : kLayouts[0];
}

const AisLayout& AisChannelManagementAddressees() {
    return kAddresseesLayout;
}
const AisLayout& AreaNoticeCircleLayout() {
    return kAreaNoticeCircleLayout;
}
const AisLayout& AreaNoticePolylineLayout() {
    return kAreaNoticePolylineLayout;
}
const AisLayout& RouteInfoLayout() {
    return kRouteInfoLayout;
}

}  // namespace norq::ais
