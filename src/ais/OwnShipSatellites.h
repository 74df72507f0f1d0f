// The satellites of the GNSS status window, kept per constellation: the GSV
// cycles of each talker and signal, and the satellites in use that each
// constellation's GSA reports.
//
// A receiver that tracks several constellations sends one GSV cycle per
// constellation (GPGSV, GLGSV, GAGSV, ...) and, from NMEA 4.1 on, one per
// signal; and one GSA per constellation (GNGSA with the system id, or before
// 4.1 a GNGSA per constellation told apart by its satellite numbers). Each is
// kept beside the others, so a new GLONASS cycle never wipes the GPS list and
// the second GNGSA never overwrites the first one's satellites in use.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "codec/SentenceBodies.h"

namespace norq::ais {

// The constellations as NMEA 4.11 numbers them (GSA system id); Unknown for a
// combined talker (GN) whose satellites cannot be placed.
enum class GnssSystem : std::uint8_t {
    Unknown = 0,
    Gps = 1,
    Glonass = 2,
    Galileo = 3,
    BeiDou = 4,
    Qzss = 5,
    NavIc = 6,
};
inline constexpr int kGnssSystemCount = 7;

// GP GPS (and SBAS), GL GLONASS, GA Galileo, GB and BD BeiDou, GQ and QZ
// QZSS, GI NavIC; any other talker (GN included) is Unknown.
GnssSystem SystemOfTalker(std::string_view talker);
// The numbering of NMEA 2.3 to 4.0 for a combined talker: 1-64 GPS and SBAS,
// 65-96 GLONASS, 193-202 QZSS; anything else Unknown.
GnssSystem SystemOfPrn(int prn);
// "GPS", "GLONASS", "Galileo", "BeiDou", "QZSS", "NavIC" or "GNSS".
const char* GnssSystemName(GnssSystem system);

// One satellite of the GNSS status window's list.
struct SatelliteEntry {
    int prn = 0;
    int elevation = codec::kEmptyByte;
    int azimuth = codec::kEmptyInt16;
    int snr = codec::kEmptyByte;
    bool used = false;  // among the satellites in use of its constellation's GSA
    // Added for receivers of several constellations: the constellation and,
    // from NMEA 4.1 on, the signal (128 when the receiver does not say). A
    // satellite tracked on two signals appears once per signal, so a sky view
    // draws each (system, prn) once and signal bars may show each signal.
    GnssSystem system = GnssSystem::Unknown;
    int signalId = codec::kEmptyByte;
};

// The whole list shown: every constellation and signal side by side.
inline constexpr int kMaxSatellites = 128;
// Satellites of one GSV cycle (nine sentences of four).
inline constexpr int kMaxCycleSatellites = 36;

class OwnShipSatellites {
  public:
    // A GSA of the given talker: its satellites in use replace those of its
    // constellation. A constellation not reported again since its own
    // previous GSA (a full round of GSAs) is dropped.
    void onGsa(std::string_view talker, const codec::Gsa& gsa, std::int64_t now);

    // A GSV of the given talker. True when a cycle completed and the shown
    // list changed: the cycle's last sentence arrived, or a new cycle began
    // before it did.
    bool onGsv(std::string_view talker, const codec::Gsv& gsv, std::int64_t now);

    // Drops GSAs and cycles not reported for more than maxAge seconds. True
    // when the shown list changed.
    bool expire(std::int64_t now, std::int64_t maxAge);

    std::span<const SatelliteEntry> list() const { return {shown_.data(), shownSize_}; }
    bool used(GnssSystem system, int prn) const;
    bool usedInAnySystem(int prn) const;
    // Satellites in use over every constellation currently reported; -1
    // without a current GSA.
    int usedCount() const;
    int usedCount(GnssSystem system) const;
    // Satellites in view over every constellation (one per constellation and
    // number, whatever the signals it is tracked on).
    int inViewCount() const;
    // The best fix type (1 none, 2 2D, 3 3D) of the current GSAs; 0 without.
    int fixType() const;

  private:
    struct UsedSet {
        std::array<int, 12> prn{};
        int count = 0;
        int fixType = 0;
        std::int64_t at = 0;
        int round = -1;  // -1: not reported
    };
    struct Cycle {
        bool inUse = false;
        char talker[3] = {};
        int signalId = codec::kEmptyByte;
        int previousTotal = 0;
        int previousNumber = 0;
        bool published = true;  // the gathered list has been shown
        std::int64_t at = 0;
        std::array<SatelliteEntry, kMaxCycleSatellites> gathering{};
        std::size_t gatheringSize = 0;
        std::array<SatelliteEntry, kMaxCycleSatellites> shown{};
        std::size_t shownSize = 0;
    };
    static constexpr int kMaxCycles = 8;

    bool current(const UsedSet& set) const;
    Cycle& cycleFor(std::string_view talker, int signalId);
    void gather(Cycle& cycle, std::string_view talker, const codec::Gsv& gsv);
    void publish(Cycle& cycle);
    void rebuildList();

    std::array<UsedSet, kGnssSystemCount> used_{};
    int round_ = 0;
    std::array<Cycle, kMaxCycles> cycles_{};
    std::array<SatelliteEntry, kMaxSatellites> shown_{};
    std::size_t shownSize_ = 0;
};

}  // namespace norq::ais
