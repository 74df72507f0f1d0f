#include "FleetBuilder.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <string>

#include "Prng.h"
#include "SimClock.h"

namespace norq::sim {

namespace {

constexpr const char* kNameFirst[] = {
    "NORDIC",  "ATLANTIC", "BALTIC",   "GOLDEN", "SILVER",  "OCEAN",   "PACIFIC", "NORTHERN",
    "EASTERN", "ROYAL",    "CAPE",     "BLUE",   "CORAL",   "POLAR",   "AURORA",  "ARCTIC",
    "GLOBAL",  "GRAND",    "SOUTHERN", "IRON",   "CRYSTAL", "EMERALD", "AMBER",   "SCARLET"};
constexpr const char* kNameSecond[] = {
    "STAR",  "SPIRIT",  "PIONEER", "HARMONY", "TRADER",  "VOYAGER", "EXPLORER", "PRIDE",
    "DAWN",  "HORIZON", "CARRIER", "LEADER",  "FORTUNE", "MARINER", "BREEZE",   "VENTURE",
    "GLORY", "WAVE",    "CREST",   "ISLAND",  "QUEEN",   "EAGLE",   "FALCON",   "RIVER"};
constexpr const char* kSmallCraft[] = {
    "SEA SPRAY", "WANDERER",    "BLUE MOON", "SEAGULL",   "KESTREL",       "ALBATROSS",
    "DOLPHIN",   "OSPREY",      "TERN",      "PUFFIN",    "CORMORANT",     "MERLIN",
    "SOLITAIRE", "JOLLY ROGER", "FREYA",     "MISTRAL",   "SIROCCO",       "ZEPHYR",
    "CALYPSO",   "ODYSSEY",     "MARIANNE",  "LADY JANE", "WHITE HEATHER", "GOOD HOPE"};
constexpr const char* kFishingPorts[] = {"DR", "FE", "BL", "DZ", "O", "Z", "GY", "RX", "LT"};

struct CallPrefix {
    int mid;
    const char* prefix;
};
constexpr CallPrefix kCallPrefixes[] = {
    {205, "OO"}, {209, "5B"}, {210, "5B"}, {211, "D"},  {212, "5B"}, {215, "9H"}, {218, "D"},
    {219, "OU"}, {220, "OU"}, {224, "EA"}, {225, "EA"}, {226, "F"},  {227, "F"},  {228, "F"},
    {229, "9H"}, {230, "OH"}, {232, "G"},  {233, "G"},  {234, "G"},  {235, "M"},  {244, "PB"},
    {245, "PD"}, {246, "PH"}, {247, "IB"}, {248, "9H"}, {249, "9H"}, {256, "9H"}, {257, "LA"},
    {258, "LA"}, {259, "LA"}, {265, "SA"}, {266, "SA"}, {273, "UB"}, {305, "V2"}, {308, "C6"},
    {309, "C6"}, {311, "C6"}, {351, "3E"}, {352, "3E"}, {353, "3E"}, {354, "3E"}, {355, "3E"},
    {370, "3E"}, {371, "3E"}, {372, "3E"}, {373, "3E"}, {412, "BO"}, {413, "BO"}, {414, "BO"},
    {431, "7J"}, {440, "DS"}, {441, "DS"}, {477, "VR"}, {538, "V7"}, {563, "9V"}, {564, "9V"},
    {565, "9V"}, {566, "9V"}, {636, "D5"}, {637, "D5"}};

template <class T, std::size_t N>
const T& Pick(Prng& rng, const T (&items)[N]) {
    return items[static_cast<std::size_t>(rng.integer(0, static_cast<std::int64_t>(N) - 1))];
}

template <class T>
const T& Pick(Prng& rng, const std::vector<T>& items) {
    return items[static_cast<std::size_t>(
        rng.integer(0, static_cast<std::int64_t>(items.size()) - 1))];
}

class Namer {
  public:
    explicit Namer(Prng& rng) : rng_(rng) {}

    std::string vesselName(int shipType, StationKind kind) {
        for (int attempt = 0; attempt < 40; ++attempt) {
            std::string name;
            if (shipType == 30) {
                name = std::string(Pick(rng_, kFishingPorts)) + " " +
                       std::to_string(rng_.integer(10, 999)) + " " + Pick(rng_, kSmallCraft);
            } else if (kind == StationKind::ClassB) {
                name = Pick(rng_, kSmallCraft);
            } else {
                name = std::string(Pick(rng_, kNameFirst)) + " " + Pick(rng_, kNameSecond);
            }
            if (name.size() > 20) name.resize(20);
            if (used_.insert(name).second) return name;
        }
        std::string name = std::string(Pick(rng_, kNameFirst)) + " " +
                           std::to_string(static_cast<int>(used_.size()));
        used_.insert(name);
        return name;
    }

    std::uint32_t mmsi(const std::vector<int>& mids, std::set<std::uint32_t>& taken) {
        while (true) {
            const int mid = Pick(rng_, mids);
            const auto m = static_cast<std::uint32_t>(mid * 1000000 + rng_.integer(100000, 999999));
            if (taken.insert(m).second) return m;
        }
    }

    std::string callSign(std::uint32_t mmsi) {
        const int mid = static_cast<int>(mmsi / 1000000);
        std::string call = "X";
        for (const CallPrefix& p : kCallPrefixes) {
            if (p.mid == mid) call = p.prefix;
        }
        static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        const auto length = static_cast<std::size_t>(rng_.integer(4, 6));
        while (call.size() < length)
            call.push_back(kChars[rng_.integer(0, 35)]);
        return call;
    }

    std::uint32_t imo() {
        int digits[6];
        digits[0] = 9;
        int sum = digits[0] * 7;
        for (int i = 1; i < 6; ++i) {
            digits[i] = static_cast<int>(rng_.integer(0, 9));
            sum += digits[i] * (7 - i);
        }
        std::uint32_t n = 0;
        for (int d : digits)
            n = n * 10 + static_cast<std::uint32_t>(d);
        return n * 10 + static_cast<std::uint32_t>(sum % 10);
    }

  private:
    Prng& rng_;
    std::set<std::string> used_;
};

// Length range in metres and beam ratio by ship type.
void FillDimensions(Prng& rng, VesselInfo& info, StationKind kind) {
    const int t = info.shipType;
    double lo = 60, hi = 140, draughtLo = 4, draughtHi = 8;
    if (kind == StationKind::ClassB || t == 36 || t == 37) {
        lo = 8, hi = 20, draughtLo = 1.2, draughtHi = 2.5;
    } else if (t == 30) {
        lo = 15, hi = 45, draughtLo = 3, draughtHi = 5;
    } else if (t >= 70 && t <= 79) {
        lo = 90, hi = 330, draughtLo = 6, draughtHi = 14.5;
    } else if (t >= 80 && t <= 89) {
        lo = 100, hi = 250, draughtLo = 7, draughtHi = 15;
    } else if (t >= 60 && t <= 69) {
        lo = 150, hi = 215, draughtLo = 5.5, draughtHi = 7;
    } else if (t == 52 || t == 31 || t == 32) {
        lo = 25, hi = 40, draughtLo = 3, draughtHi = 5;
    }
    const double length = rng.uniform(lo, hi);
    const double beam = std::min(60.0, length / rng.uniform(5.5, 7.5));
    const double aft = kind == StationKind::ClassB ? 0.4 : rng.uniform(0.1, 0.25);
    info.toStern = static_cast<int>(std::lround(length * aft));
    info.toBow = static_cast<int>(std::lround(length)) - info.toStern;
    info.toPort = std::min(63, static_cast<int>(std::lround(beam / 2)));
    info.toStarboard = std::min(63, static_cast<int>(std::lround(beam - beam / 2)));
    info.draught = std::round(rng.uniform(draughtLo, draughtHi) * 10.0) / 10.0;
}

void FillEta(Prng& rng, const Scenario& scenario, VesselInfo& info) {
    const double when = static_cast<double>(scenario.startEpoch) + rng.uniform(6.0, 120.0) * 3600.0;
    const UtcTime t = UtcFromEpoch(std::floor(when / 900.0) * 900.0);
    info.etaMonth = t.month;
    info.etaDay = t.day;
    info.etaHour = t.hour;
    info.etaMinute = t.minute;
}

// The lane's points in the direction of travel, shifted `offsetNm` to starboard.
std::vector<GeoPoint> OffsetLane(std::vector<GeoPoint> points, bool reverse, double offsetNm) {
    if (reverse) std::reverse(points.begin(), points.end());
    std::vector<GeoPoint> out;
    const std::size_t n = points.size();
    for (std::size_t i = 0; i < n; ++i) {
        const double in =
            i > 0 ? BearingDeg(points[i - 1], points[i]) : BearingDeg(points[0], points[1]);
        const double outB = i + 1 < n ? BearingDeg(points[i], points[i + 1]) : in;
        const double mean = NormalizeCourse(in + CourseDifference(in, outB) / 2.0);
        out.push_back(offsetNm >= 0 ? Destination(points[i], mean + 90.0, offsetNm)
                                    : Destination(points[i], mean - 90.0, -offsetNm));
    }
    return out;
}

GeoPoint RandomInCircle(Prng& rng, GeoPoint centre, double radiusNm) {
    const double r = radiusNm * std::sqrt(rng.uniform());
    return Destination(centre, rng.uniform(0.0, 360.0), r);
}

void PlaceOnLane(Prng& rng, const LaneSetup& lane, bool reverse, StationSetup& s) {
    const double offset = rng.uniform(-lane.widthNm / 2.0, lane.widthNm / 2.0);
    const std::vector<GeoPoint> path = OffsetLane(lane.points, reverse, offset);
    double total = 0.0;
    for (std::size_t i = 1; i < path.size(); ++i)
        total += DistanceNm(path[i - 1], path[i]);
    double along = rng.uniform(0.0, total * 0.9);
    std::size_t seg = 1;
    while (seg + 1 < path.size() && along > DistanceNm(path[seg - 1], path[seg])) {
        along -= DistanceNm(path[seg - 1], path[seg]);
        ++seg;
    }
    s.course = BearingDeg(path[seg - 1], path[seg]);
    s.position = Destination(path[seg - 1], s.course, along);
    s.route.assign(path.begin() + static_cast<std::ptrdiff_t>(seg), path.end());
}

void BuildFleet(const Scenario& scenario, const FleetSetup& f, Prng& rng, Namer& namer,
                std::set<std::uint32_t>& taken, std::vector<StationSetup>& out) {
    for (int i = 0; i < f.count; ++i) {
        StationSetup s;
        s.kind = f.kind;
        s.label = f.label + " " + std::to_string(i + 1);
        s.mmsi = namer.mmsi(f.mids, taken);
        s.info.shipType = Pick(rng, f.shipTypes);
        s.info.name = namer.vesselName(s.info.shipType, s.kind);
        s.info.callSign = namer.callSign(s.mmsi);
        if (s.kind == StationKind::ClassA && s.info.shipType != 30) s.info.imo = namer.imo();
        FillDimensions(rng, s.info, s.kind);
        if (!f.destinations.empty()) s.info.destination = Pick(rng, f.destinations);
        FillEta(rng, scenario, s.info);
        s.speed = std::round(rng.uniform(f.speedMin, f.speedMax) * 10.0) / 10.0;
        s.headingOffset = rng.normal(0.0, 1.5);
        s.maxRateOfTurn = TypicalRateOfTurn(s.kind, s.info.toBow + s.info.toStern);
        if (f.pattern == FleetPattern::Lane) {
            PlaceOnLane(rng, *scenario.findLane(f.lane), f.reverse, s);
            s.navStatus = s.info.shipType == 30 ? 7 : 0;
        } else if (f.pattern == FleetPattern::Wander) {
            s.position = RandomInCircle(rng, f.area, f.radiusNm);
            for (int w = 0; w < 6; ++w)
                s.route.push_back(RandomInCircle(rng, f.area, f.radiusNm));
            s.loopRoute = true;
            s.course = BearingDeg(s.position, s.route.front());
            s.navStatus = s.info.shipType == 30 ? 7 : (s.info.shipType == 36 ? 8 : 0);
        } else {
            s.position = RandomInCircle(rng, f.area, f.radiusNm);
            s.course = rng.uniform(0.0, 360.0);
            s.speed = std::round(rng.uniform(0.0, 0.3) * 10.0) / 10.0;
            s.navStatus = 1;
        }
        if (f.navStatus >= 0) s.navStatus = f.navStatus;
        out.push_back(std::move(s));
    }
}

StationSetup BuildEncounter(const Scenario& scenario, const EncounterSetup& e) {
    MovingBody own = OwnShipBody(scenario);
    for (double t = 0.0; t < e.meetAt; t += 1.0)
        own.step(std::min(1.0, e.meetAt - t));
    const GeoPoint meet = Destination(own.position(), e.fromBearing + 90.0, e.missNm);
    StationSetup s;
    s.label = e.label;
    s.kind = e.kind;
    s.mmsi = e.mmsi;
    s.info = e.info;
    s.speed = e.speed;
    s.silentFrom = e.silentFrom;
    s.course = NormalizeCourse(e.fromBearing + 180.0);
    s.position = Destination(meet, e.fromBearing, e.speed * e.meetAt / 3600.0);
    s.maxRateOfTurn = TypicalRateOfTurn(s.kind, s.info.toBow + s.info.toStern);
    return s;
}

}  // namespace

double TypicalRateOfTurn(StationKind kind, int lengthMetres) {
    if (kind == StationKind::ClassB) return 60.0;
    if (lengthMetres > 200) return 15.0;
    if (lengthMetres > 100) return 25.0;
    return 45.0;
}

MovingBody OwnShipBody(const Scenario& scenario) {
    const StationSetup& o = scenario.ownShip;
    return MovingBody(o.position, o.course, o.speed, o.route, o.loopRoute, o.maxRateOfTurn);
}

std::vector<StationSetup> BuildStations(const Scenario& scenario) {
    std::vector<StationSetup> out = scenario.stations;
    std::set<std::uint32_t> taken{scenario.ownShip.mmsi};
    for (const StationSetup& s : scenario.stations)
        taken.insert(s.mmsi);
    for (const EncounterSetup& e : scenario.encounters)
        taken.insert(e.mmsi);
    Prng rng(scenario.seed, 1);
    Namer namer(rng);
    for (const FleetSetup& f : scenario.fleets)
        BuildFleet(scenario, f, rng, namer, taken, out);
    for (const EncounterSetup& e : scenario.encounters)
        out.push_back(BuildEncounter(scenario, e));
    return out;
}

}  // namespace norq::sim
