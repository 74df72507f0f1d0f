// The body of each sentence the codec parses or composes: the fields in
// sentence order, with the empty-field values of Fields.h.
#pragma once

#include <array>
#include <cstdint>

#include "codec/Fields.h"

namespace norq::codec {

inline constexpr int kTextCapacity = 64;  // longest text field (62 characters) and NUL

struct LatLon {
    double lat = kEmptyLat;
    double lon = kEmptyLon;
};

// ---- Group 1, GNSS -------------------------------------------------------
//
// Fields that later dialects added at the end of a sentence (mode indicator,
// navigational status, system id, signal id) keep their empty value when an
// older receiver leaves them out.

struct Gga {
    TimeOfDay time;
    LatLon pos;
    int quality = kEmptyByte;
    int satellites = kEmptyByte;
    double hdop = kEmptyFloat;
    double altitude = kEmptyFloat;
    int altitudeUnit = ' ';
    double geoidSeparation = kEmptyFloat;
    int separationUnit = ' ';
    double dgpsAge = kEmptyFloat;
    int dgpsStation = kEmptyInt16;
};

struct Gll {
    LatLon pos;
    TimeOfDay time;
    int status = ' ';
    int mode = ' ';
};

struct Rmc {
    TimeOfDay time;
    int status = ' ';
    LatLon pos;
    double sog = kEmptyFloat;
    double cog = kEmptyFloat;
    CalendarDate date;
    double variation = kEmptyFloat;
    int variationDirection = kEmptyByte;
    int mode = ' ';       // NMEA 2.3 and later
    int navStatus = ' ';  // NMEA 4.1 and later: S safe, C caution, U unsafe, V not valid
};

struct Vtg {
    double cogTrue = kEmptyFloat;
    int trueUnit = kEmptyByte;
    double cogMagnetic = kEmptyFloat;
    int magneticUnit = kEmptyByte;
    double sogKnots = kEmptyFloat;
    int knotsUnit = kEmptyByte;
    double sogKmh = kEmptyFloat;
    int kmhUnit = kEmptyByte;
    int mode = ' ';
};

struct Gsa {
    int selectionMode = ' ';
    int fixType = 0;
    std::array<int, 12> prn{};
    double pdop = kEmptyFloat;
    double hdop = kEmptyFloat;
    double vdop = kEmptyFloat;
    int systemId = kEmptyByte;  // NMEA 4.1 and later: 1 GPS ... 6 NavIC (ais::GnssSystem)
};

struct SatelliteInView {
    int prn = kEmptyByte;
    int elevation = kEmptyByte;
    int azimuth = kEmptyInt16;
    int snr = kEmptyByte;
};

struct Gsv {
    int total = 0;
    int number = 0;
    int inView = 0;
    int count = 0;  // satellites carried by this sentence (0-4)
    std::array<SatelliteInView, 4> satellites{};
    int signalId = kEmptyByte;  // NMEA 4.1 and later: 0-15
};

struct Gbs {
    TimeOfDay time;
    double latError = kEmptyFloat;
    double lonError = kEmptyFloat;
    double altError = kEmptyFloat;
    int failedSatellite = 255;
    double missedProbability = kEmptyFloat;
    double biasEstimate = kEmptyFloat;
    double biasDeviation = kEmptyFloat;
    int systemId = kEmptyByte;  // NMEA 4.1 and later; not composed
    int signalId = kEmptyByte;
};

struct Dtm {
    char localDatum[kTextCapacity] = {};
    int subdivision = 0;
    double latOffset = kEmptyFloat;
    double lonOffset = kEmptyFloat;
    double altOffset = kEmptyFloat;
    char referenceDatum[kTextCapacity] = {};
};

struct Zda {
    TimeOfDay time;
    int day = kEmptyByte;
    int month = kEmptyByte;
    int year = kEmptyInt16;
    int zoneHours = kEmptyByte;
    int zoneMinutes = kEmptyByte;
};

struct Grs {
    TimeOfDay time;
    int mode = ' ';
    std::array<double, 12> residuals{};
};

struct Gst {
    TimeOfDay time;
    double rms = kEmptyFloat;
    double semiMajor = kEmptyFloat;
    double semiMinor = kEmptyFloat;
    double orientation = kEmptyFloat;
    double latError = kEmptyFloat;
    double lonError = kEmptyFloat;
    double altError = kEmptyFloat;
};

// ---- Group 2, heading and speed ------------------------------------------

struct Hdt {
    double heading = 511.0;
    int unit = ' ';
};

// HDG is composed only.
struct Hdg {
    double heading = 0.0;
    double deviation = 0.0;
    double variation = 0.0;
};

struct Rot {
    double rate = kEmptyFloat;
    int status = ' ';
};

struct Vbw {
    double waterLongitudinal = 0.0;
    double waterTransverse = 0.0;
    int waterStatus = ' ';
    double groundLongitudinal = 0.0;
    double groundTransverse = 0.0;
    int groundStatus = ' ';
};

struct Gns {
    TimeOfDay time;
    LatLon pos;
    char mode[3] = {};
    char satellites[3] = {};
    double hdop = kEmptyFloat;
    double altitude = kEmptyFloat;
    double geoidSeparation = kEmptyFloat;
    double dgpsAge = kEmptyFloat;
    double dgpsStation = kEmptyFloat;
    int navStatus = ' ';  // NMEA 4.1 and later
};

// ---- Group 4, AIS transponder --------------------------------------------

// Received payload fields may be as long as the line bound allows: real
// transponders send first fragments of 64 characters and more. The shortest
// frame around a payload ("!AIVDM,1,1,,,", ",0*hh" and CR LF) takes 20.
inline constexpr int kMaxFragmentPayload = static_cast<int>(kMaxLineLength) - 20;
// Composed sentences keep the standard limits: at most 62 payload characters
// when the sequential id is empty or 0, 63 otherwise, and at most
// kMaxComposedLength characters in all, CR LF included.
inline constexpr int kMaxStandardPayload = 62;
inline constexpr std::size_t kMaxComposedLength = 82;

// VDM, VDO, ABM and BBM share one body; ABM uses the destination, ABM and
// BBM the message id.
struct Encapsulated {
    int total = 0;
    int number = 0;
    int sequentialId = kEmptyByte;
    std::int64_t destinationMmsi = 0;  // ABM
    int channel = kEmptyByte;          // VDM/VDO: letter; ABM/BBM: number
    int messageId = 0;                 // ABM/BBM
    char payload[kMaxFragmentPayload + 1] = {};
    int fillBits = 0;
};

struct Abk {
    std::int64_t mmsi = 0;
    int channel = 0;
    int messageId = 0;
    int sequenceNumber = 0;
    int ackType = 0;
};

struct Aca {
    int sequenceNumber = 0;
    LatLon northEast;
    LatLon southWest;
    int zoneSize = 0;
    int channelA = 0;
    int bandwidthA = 0;
    int channelB = 0;
    int bandwidthB = 0;
    int txRxMode = 0;
    int power = 0;
    int source = ' ';
    int inUse = 0;
    TimeOfDay inUseChanged;
};

struct Acs {
    int sequenceNumber = 0;
    std::int64_t mmsi = 0;
    TimeOfDay time;
    int day = 0;
    int month = 0;
    int year = 0;
};

struct Alr {
    TimeOfDay time;
    int alarmNumber = 0;
    int condition = ' ';
    int ackState = ' ';
    char description[kTextCapacity] = {};
};

struct Ack {
    int alarmNumber = 1000;
};

struct Ssd {
    char callSign[kTextCapacity] = {};
    char name[kTextCapacity] = {};
    int refA = 512;
    int refB = 512;
    int refC = 64;
    int refD = 64;
    int dte = 2;
    char source[kTextCapacity] = {};
};

struct Vsd {
    int shipType = 256;
    double draught = kEmptyFloat;
    int persons = 8192;
    char destination[kTextCapacity] = {};
    TimeOfDay eta;
    int etaDay = 32;
    int etaMonth = 13;
    int navStatus = kEmptyByte;
    int regionalFlags = 16;
};

struct Txt {
    int total = kEmptyByte;
    int number = kEmptyByte;
    int identifier = kEmptyByte;
    char text[kTextCapacity] = {};
};

// ---- Group 6, proprietary ------------------------------------------------

struct Mid {
    std::int64_t first = kEmptyMmsi;
    std::int64_t second = kEmptyMmsi;
};

struct Bdy {
    std::int64_t number = kEmptyMmsi;
    char text1[kTextCapacity] = {};
    char text2[kTextCapacity] = {};
    int small1 = 9;
    int small2 = 9;
};

struct Tst {
    std::int64_t number = 99999;
    int small = 99;
    int lowerLetter = ' ';
    int upperLetter = ' ';
    int value = kEmptyInt16;
};

struct Frq {
    std::int64_t number1 = kEmptyMmsi;
    int small1 = kEmptyByte;
    std::int64_t number2 = kEmptyMmsi;
    int small2 = kEmptyByte;
};

struct Bth {
    std::array<int, 6> values{256, 256, 256, 256, 256, 256};
    char text[kTextCapacity] = {};
};

inline constexpr std::int64_t kDbgEmptyValue = -2147483648LL;

struct Dbg {
    struct Pair {
        int command = 999;
        std::int64_t value = kDbgEmptyValue;
    };
    std::array<Pair, 4> pairs{};
};

struct Tps {
    int number = 999;
    char text[kTextCapacity] = {};
};

inline constexpr std::int64_t kMrkEmptyCoordinate = -2147483648LL;

struct Mrk {
    int operation = kEmptyByte;
    int count = kEmptyInt16;
    int deviceIndex = 0;
    std::int64_t latitude = kMrkEmptyCoordinate;   // millionths of a degree
    std::int64_t longitude = kMrkEmptyCoordinate;  // millionths of a degree
    char name[kTextCapacity] = {};
    int small = kEmptyByte;
};

struct Krv {
    std::array<std::int64_t, 3> numbers{};
    char text[kTextCapacity] = {};
};

struct Aiq {
    int number = 0;
};

struct Smg {
    char text[kTextCapacity] = {};
    int number = 0;
};

// The crew-watch controller's report and command.
inline constexpr int kMobPayloadCapacity = 9;

struct Mob {
    std::array<std::uint8_t, 3> deviceId{};
    int kind = 255;
    int status = 255;
    int battery = 0;
    bool batteryPresent = false;
    std::array<std::uint8_t, kMobPayloadCapacity> payload{};
    int payloadLength = 0;
    bool statusRead = true;   // false when the field was too long to read
    bool batteryRead = true;  // likewise
};

// ---- Group 7, AtoN configuration -----------------------------------------

inline constexpr int kAtonMaxFields = 14;

// One configuration sentence: up to kAtonMaxFields values, each with a
// presence bit, and the status character 'C' or 'R'. The layout of each
// formatter (how many fields and how each is printed) is in AtonConfig.cpp.
struct AtonConfig {
    std::array<std::int64_t, kAtonMaxFields> values{};
    std::array<std::array<char, 21>, kAtonMaxFields> texts{};  // text fields
    std::uint32_t present = 0;                                 // bit i: field i was not empty
    LatLon pos;      // ACF's position (one field of the layout)
    int status = 0;  // 'C' command or 'R' reply
};

// ---- Group 0, parsed and not stored --------------------------------------

struct Osd {
    double heading = kEmptyFloat;
    int headingStatus = ' ';
    double course = kEmptyFloat;
    int courseReference = ' ';
    double speed = kEmptyFloat;
    int speedReference = ' ';
    double set = kEmptyFloat;
    double drift = kEmptyFloat;
    int speedUnits = ' ';
};

struct Rma {
    int status = ' ';
    LatLon pos;
};

struct Wpl {
    LatLon pos;
    char identifier[kTextCapacity] = {};
};

struct Query {
    char formatter[4] = {};
};

}  // namespace norq::codec
