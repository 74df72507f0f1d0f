// The latest received value of every item of each sentence group, with the
// validity flags set only by each item's range check. Outgoing sentences are
// filled from the same stores.
#pragma once

#include <array>

#include "codec/SentenceBodies.h"

namespace norq::codec {

// The fix rules of the GNSS sentences, shared by the store and the own ship.
// GGA quality 1 GNSS, 2 differential, 3 PPS, 4 RTK fixed, 5 RTK float; 0 and
// 6 (dead reckoning), 7 (manual input), 8 (simulation) are no fix.
inline bool GgaQualityIsFix(int quality) {
    return quality >= 1 && quality <= 5;
}
// GLL and RMC: status A, unless the mode indicator (NMEA 2.3 and later) says
// the data are not valid.
inline bool StatusIsFix(int status, int mode) {
    return status == 'A' && mode != 'N';
}
inline bool PositionPresent(const LatLon& p) {
    return p.lat != kEmptyLat && p.lon != kEmptyLon;
}
inline bool TimeOfDayValid(const TimeOfDay& t) {
    return t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 &&
           t.second <= 59;
}
inline bool DateValid(const CalendarDate& d) {
    return d.year > 0 && d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= 31;
}

struct GnssStore {
    int talkerSystem = 0;
    TimeOfDay fixTime;
    bool timeValid = false;  // once set, stays set
    double latitude = kEmptyLat;
    double longitude = kEmptyLon;
    // Decided anew by every GGA (quality 1-5, RTK included), GLL and RMC
    // (status A and a mode other than N), and only with both coordinates.
    bool positionValid = false;
    int ggaQuality = 0;
    int selectionMode = ' ';
    int fixType = 0;  // 1 none, 2 2D, 3 3D
    double altitude = 0.0;
    CalendarDate date;
    int mode = ' ';
    int status = ' ';
    int navStatus = ' ';  // RMC of NMEA 4.1 and later
    double cogTrue = kEmptyFloat;
    bool cogValid = false;
    double cogMagnetic = kEmptyFloat;
    double sog = kEmptyFloat;
    double sogKmh = kEmptyFloat;
    double variation = kEmptyFloat;
    int variationDirection = kEmptyByte;
    int satellitesUsed = 0;
    std::array<int, 12> usedPrn{};  // of the last GSA (one constellation with 4.1 and later)
    int gsaSystemId = kEmptyByte;   // of the last GSA; 128 before NMEA 4.1
    double pdop = kEmptyFloat;
    double hdop = kEmptyFloat;
    double vdop = kEmptyFloat;
    int satellitesInView = 0;
    int gsvTotal = 0;
    int gsvNumber = 0;
    int gsvCount = 0;
    std::array<SatelliteInView, 4> gsvSatellites{};
    int gsvSignalId = kEmptyByte;  // of the last GSV; 128 before NMEA 4.1
    Gbs gbs;
    bool gbsValid = false;
    Dtm dtm;
    bool dtmValid = false;
};

struct HeadingStore {
    int talkerSystem = 0;
    double heading = 511.0;
    bool headingValid = false;
    double deviation = 0.0;  // for HDG, set by the sender
    double variation = 0.0;  // for HDG, set by the sender
    Rot rot;
    Vbw vbw;
    Gns gns;
};

struct LongRangeStore {
    int talkerSystem = 0;
};

struct DscStore {
    int talkerSystem = 0;
};

struct TransponderStore {
    int talkerSystem = 0;
    Ssd ssd;
    bool ssdValid = false;       // references A, B below 512 and C, D below 64
    bool ssdDteValid = false;    // DTE below 2
    bool ssdNamesValid = false;  // call sign and name not empty
    Vsd vsd;
    bool vsdShipTypeValid = false;
    bool vsdDraughtValid = false;
    bool vsdPersonsValid = false;
    bool vsdDestinationValid = false;
    bool vsdEtaValid = false;
    bool vsdNavStatusValid = false;
    Ack ack;
    bool ackValid = false;  // an acknowledgement was received
    Alr alr;
    Encapsulated abm;
    Encapsulated bbm;
    Encapsulated vdm;
    Encapsulated vdo;
    Txt txt;
    Abk abk;
    Aca aca;
    Acs acs;
};

struct ProprietaryStore {
    int talkerSystem = 0;
    Mid mid;
    Bdy bdy;
    Tst tst;
    Frq frq;
    Bth bth;
    Dbg dbg;
    char dbgSubtype = 0;
    Tps tps;
    Mrk mrk;
    char mrkSubtype = 'C';
    Krv krv;
    char krvSubtype = 0;
    Aiq aiq;
    Smg smg;
    Mob mob;
};

// The AtoN configuration formatters, in the order of the classifier's list.
enum class AtonFormatter { Aar, Ace, Acf, Afb, Afc, Aid, Ake, Arw, Mcr, Mpr, Tsp, Ver, Count };

struct AtonConfigStore {
    int talkerSystem = 0;
    std::array<AtonConfig, static_cast<int>(AtonFormatter::Count)> sentences{};
};

// Queries received, waiting for an answer.
struct PendingQueries {
    struct Slot {
        char formatter[4] = {};
        bool used = false;
    };
    std::array<Slot, 4> slots{};
};

}  // namespace norq::codec
