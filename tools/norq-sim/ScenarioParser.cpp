#include "ScenarioParser.h"

#include <fstream>
#include <set>
#include <sstream>

#include "ScenarioValues.h"
#include "SimClock.h"

namespace norq::sim {

const char* StationKindName(StationKind kind) {
    switch (kind) {
        case StationKind::ClassA:
            return "class A";
        case StationKind::ClassB:
            return "class B";
        case StationKind::BaseStation:
            return "base station";
        case StationKind::Aton:
            return "AtoN";
        case StationKind::SarAircraft:
            return "SAR aircraft";
        case StationKind::Sart:
            return "AIS-SART";
        case StationKind::MobDevice:
            return "AIS MOB";
    }
    return "?";
}

const LaneSetup* Scenario::findLane(const std::string& label) const {
    for (const LaneSetup& lane : lanes) {
        if (lane.label == label) return &lane;
    }
    return nullptr;
}

namespace {

enum class Section {
    None,
    Scenario,
    Transponder,
    Gnss,
    CrewWatch,
    OwnShip,
    Station,
    Lane,
    Fleet,
    Encounter,
    Safety,
    ChannelManagement,
    CrewDevice,
    Marker,
};

bool ReadMmsi(std::string_view v, std::uint32_t& out, std::string& error) {
    std::int64_t n = 0;
    if (!ReadInteger(v, n, error)) return false;
    if (n < 1 || n > 999999999) {
        error = "an MMSI has at most nine digits";
        return false;
    }
    out = static_cast<std::uint32_t>(n);
    return true;
}

bool ReadInt(std::string_view v, int& out, std::int64_t lo, std::int64_t hi, std::string& error) {
    std::int64_t n = 0;
    if (!ReadInteger(v, n, error)) return false;
    if (n < lo || n > hi) {
        error = "value out of range " + std::to_string(lo) + ".." + std::to_string(hi);
        return false;
    }
    out = static_cast<int>(n);
    return true;
}

bool ReadClass(std::string_view v, StationKind& kind, std::string& error) {
    v = Trim(v);
    if (v == "A" || v == "a") {
        kind = StationKind::ClassA;
    } else if (v == "B" || v == "b") {
        kind = StationKind::ClassB;
    } else {
        error = "class is A or B";
        return false;
    }
    return true;
}

bool ReadVesselInfoKey(std::string_view key, std::string_view v, VesselInfo& info,
                       std::string& error, bool& known) {
    known = true;
    int n = 0;
    if (key == "name") {
        info.name = AisText(v, 34);  // an AtoN's name goes on in the name extension
    } else if (key == "callsign") {
        info.callSign = AisText(v, 7);
    } else if (key == "destination") {
        info.destination = AisText(v, 20);
    } else if (key == "vendor") {
        info.vendorId = AisText(v, 7);
    } else if (key == "imo") {
        if (!ReadInt(v, n, 0, 999999999, error)) return false;
        info.imo = static_cast<std::uint32_t>(n);
    } else if (key == "type") {
        if (!ReadInt(v, info.shipType, 0, 255, error)) return false;
    } else if (key == "dimensions") {
        return ReadDimensions(v, info, error);
    } else if (key == "draught") {
        if (!ReadDouble(v, info.draught, error)) return false;
    } else if (key == "eta") {
        return ReadEta(v, info, error);
    } else {
        known = false;
    }
    return true;
}

bool ReadStationKey(std::string_view key, std::string_view v, StationSetup& s, std::string& error) {
    bool known = false;
    if (!ReadVesselInfoKey(key, v, s.info, error, known)) return false;
    if (known) return true;
    if (key == "mmsi") return ReadMmsi(v, s.mmsi, error);
    if (key == "class") return ReadClass(v, s.kind, error);
    if (key == "position") return ReadPoint(v, s.position, error);
    if (key == "course") return ReadDouble(v, s.course, error);
    if (key == "speed") return ReadDouble(v, s.speed, error);
    if (key == "heading_offset") return ReadDouble(v, s.headingOffset, error);
    if (key == "route") return ReadPointList(v, s.route, error);
    if (key == "loop") return ReadBool(v, s.loopRoute, error);
    if (key == "max_rot") return ReadDouble(v, s.maxRateOfTurn, error);
    if (key == "nav_status") return ReadInt(v, s.navStatus, 0, 15, error);
    if (key == "aton_type") return ReadInt(v, s.atonType, 0, 31, error);
    if (key == "virtual") return ReadBool(v, s.virtualAton, error);
    if (key == "status") return ReadInt(v, s.atonStatus, 0, 255, error);
    if (key == "off_position") return ReadBool(v, s.offPosition, error);
    if (key == "altitude") return ReadInt(v, s.altitude, 0, 4094, error);
    if (key == "start") return ReadDuration(v, s.activeFrom, error);
    if (key == "interval") return ReadDuration(v, s.reportInterval, error);
    if (key == "silent_from") return ReadDuration(v, s.silentFrom, error);
    if (key == "mode") {
        v = Trim(v);
        if (v != "test" && v != "active") {
            error = "mode is test or active";
            return false;
        }
        s.testMode = v == "test";
        return true;
    }
    error = "unknown key '" + std::string(key) + "'";
    return false;
}

class Parser {
  public:
    Parser(Scenario& out, std::vector<std::string>& errors) : s_(out), errors_(errors) {}

    void line(int number, std::string_view text);
    void finish();

  private:
    void openSection(std::string_view header);
    bool applyKey(std::string_view key, std::string_view value, std::string& error);
    bool applyScenario(std::string_view key, std::string_view v, std::string& error);
    bool applyTransponder(std::string_view key, std::string_view v, std::string& error);
    bool applyFleet(std::string_view key, std::string_view v, std::string& error);
    bool applyEncounter(std::string_view key, std::string_view v, std::string& error);
    bool applySafety(std::string_view key, std::string_view v, std::string& error);
    bool applyChannel(std::string_view key, std::string_view v, std::string& error);
    bool applyCrewDevice(std::string_view key, std::string_view v, std::string& error);
    bool applyMisc(std::string_view key, std::string_view v, std::string& error);
    void fail(const std::string& message) {
        errors_.push_back("line " + std::to_string(line_) + ": " + message);
    }

    Scenario& s_;
    std::vector<std::string>& errors_;
    Section section_ = Section::None;
    int line_ = 0;
};

void Parser::line(int number, std::string_view text) {
    line_ = number;
    const std::size_t hash = text.find('#');
    if (hash != std::string_view::npos) text = text.substr(0, hash);
    text = Trim(text);
    if (text.empty()) return;
    if (text.front() == '[') {
        if (text.back() != ']') {
            fail("a section header ends with ']'");
            return;
        }
        openSection(Trim(text.substr(1, text.size() - 2)));
        return;
    }
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos) {
        fail("expected 'key = value'");
        return;
    }
    const std::string_view key = Trim(text.substr(0, eq));
    const std::string_view value = Trim(text.substr(eq + 1));
    std::string error;
    if (section_ == Section::None) {
        fail("'" + std::string(key) + "' outside a section");
    } else if (!applyKey(key, value, error)) {
        fail(std::string(key) + ": " + error);
    }
}

struct SectionKind {
    std::string_view name;
    Section section;
    StationKind station;  // for Section::Station
};
constexpr SectionKind kSections[] = {
    {"scenario", Section::Scenario, StationKind::ClassA},
    {"transponder", Section::Transponder, StationKind::ClassA},
    {"gnss", Section::Gnss, StationKind::ClassA},
    {"crew_watch", Section::CrewWatch, StationKind::ClassA},
    {"own_ship", Section::OwnShip, StationKind::ClassA},
    {"vessel", Section::Station, StationKind::ClassA},
    {"base", Section::Station, StationKind::BaseStation},
    {"aton", Section::Station, StationKind::Aton},
    {"sar", Section::Station, StationKind::SarAircraft},
    {"sart", Section::Station, StationKind::Sart},
    {"mob", Section::Station, StationKind::MobDevice},
    {"lane", Section::Lane, StationKind::ClassA},
    {"fleet", Section::Fleet, StationKind::ClassA},
    {"encounter", Section::Encounter, StationKind::ClassA},
    {"srm", Section::Safety, StationKind::ClassA},
    {"channel_management", Section::ChannelManagement, StationKind::ClassA},
    {"pendant", Section::CrewDevice, StationKind::ClassA},
    {"repeater", Section::CrewDevice, StationKind::ClassA},
    {"marker", Section::Marker, StationKind::ClassA},
};

void Parser::openSection(std::string_view header) {
    const std::size_t space = header.find_first_of(" \t");
    const std::string_view kind = header.substr(0, space);
    const std::string label(space == std::string_view::npos ? "" : Trim(header.substr(space)));
    section_ = Section::None;
    for (const SectionKind& k : kSections) {
        if (k.name == kind) section_ = k.section;
    }
    switch (section_) {
        case Section::None:
            fail("unknown section '" + std::string(kind) + "'");
            break;
        case Section::OwnShip:
            s_.ownShip.label = label.empty() ? "own ship" : label;
            break;
        case Section::Station:
            s_.stations.emplace_back();
            s_.stations.back().label = label;
            for (const SectionKind& k : kSections) {
                if (k.name == kind) s_.stations.back().kind = k.station;
            }
            break;
        case Section::Lane:
            s_.lanes.push_back({label, {}, 1.5});
            break;
        case Section::Fleet:
            s_.fleets.emplace_back().label = label;
            break;
        case Section::Encounter:
            s_.encounters.emplace_back().label = label;
            break;
        case Section::Safety:
            s_.safetyMessages.emplace_back().label = label;
            break;
        case Section::ChannelManagement:
            s_.channelManagement.emplace_back().label = label;
            break;
        case Section::CrewDevice:
            s_.crewDevices.emplace_back().label = label;
            s_.crewDevices.back().type = kind == "pendant" ? 1 : 2;
            break;
        case Section::Marker:
            s_.transponder.markers.push_back({AisText(label, 20), {}});
            break;
        default:
            break;
    }
}

bool Parser::applyKey(std::string_view key, std::string_view v, std::string& error) {
    switch (section_) {
        case Section::Scenario:
            return applyScenario(key, v, error);
        case Section::Transponder:
            return applyTransponder(key, v, error);
        case Section::OwnShip:
            return ReadStationKey(key, v, s_.ownShip, error);
        case Section::Station:
            return ReadStationKey(key, v, s_.stations.back(), error);
        case Section::Fleet:
            return applyFleet(key, v, error);
        case Section::Encounter:
            return applyEncounter(key, v, error);
        case Section::Safety:
            return applySafety(key, v, error);
        case Section::ChannelManagement:
            return applyChannel(key, v, error);
        case Section::CrewDevice:
            return applyCrewDevice(key, v, error);
        default:
            return applyMisc(key, v, error);
    }
}

bool Parser::applyScenario(std::string_view key, std::string_view v, std::string& error) {
    if (key == "name") {
        s_.name = std::string(v);
        return true;
    }
    if (key == "seed") {
        std::int64_t n = 0;
        if (!ReadInteger(v, n, error)) return false;
        s_.seed = static_cast<std::uint64_t>(n);
        return true;
    }
    if (key == "start") {
        if (ParseIsoUtc(v, s_.startEpoch)) return true;
        error = "start is 'YYYY-MM-DDThh:mm:ssZ'";
        return false;
    }
    if (key == "duration") return ReadDuration(v, s_.duration, error);
    if (key == "interleave") return ReadBool(v, s_.interleave, error);
    if (key == "message_loss" || key == "damaged_lines") {
        double p = 0.0;
        if (!ReadDouble(v, p, error)) return false;
        if (p < 0.0 || p > 1.0) {
            error = "a fraction between 0 and 1";
            return false;
        }
        (key == "message_loss" ? s_.messageLoss : s_.damagedLines) = p;
        return true;
    }
    error = "unknown key '" + std::string(key) + "'";
    return false;
}

bool Parser::applyTransponder(std::string_view key, std::string_view v, std::string& error) {
    TransponderSetup& t = s_.transponder;
    if (key == "identification") {
        v = Trim(v);
        if (v == "product-info")
            t.identification = IdentificationKind::ProductInfo;
        else if (v == "static-data")
            t.identification = IdentificationKind::StaticData;
        else if (v == "mkd2")
            t.identification = IdentificationKind::Mkd2;
        else if (v == "none")
            t.identification = IdentificationKind::None;
        else {
            error = "identification is product-info, static-data, mkd2 or none";
            return false;
        }
        return true;
    }
    if (key == "model")
        t.model = std::string(v);
    else if (key == "serial")
        t.serial = std::string(v);
    else if (key == "firmware")
        t.firmware = std::string(v);
    else if (key == "baud")
        return ReadInt(v, t.baudRate, 1200, 921600, error);
    else if (key == "transmitter_report")
        return ReadBool(v, t.transmitterReport, error);
    else if (key == "silent")
        return ReadBool(v, t.silent, error);
    else {
        error = "unknown key '" + std::string(key) + "'";
        return false;
    }
    return true;
}

bool Parser::applyFleet(std::string_view key, std::string_view v, std::string& error) {
    FleetSetup& f = s_.fleets.back();
    if (key == "class") return ReadClass(v, f.kind, error);
    if (key == "count") return ReadInt(v, f.count, 0, 2000, error);
    if (key == "lane") {
        f.lane = std::string(v);
        return true;
    }
    if (key == "reverse") return ReadBool(v, f.reverse, error);
    if (key == "area") return ReadPoint(v, f.area, error);
    if (key == "radius") return ReadDouble(v, f.radiusNm, error);
    if (key == "speed") return ReadRange(v, f.speedMin, f.speedMax, error);
    if (key == "types") return ReadIntegerList(v, f.shipTypes, error);
    if (key == "flags") return ReadIntegerList(v, f.mids, error);
    if (key == "nav_status") return ReadInt(v, f.navStatus, 0, 15, error);
    if (key == "destinations") {
        f.destinations.clear();
        for (std::string_view d : SplitList(v, ','))
            f.destinations.push_back(AisText(d, 20));
        return true;
    }
    if (key == "pattern") {
        v = Trim(v);
        if (v == "lane")
            f.pattern = FleetPattern::Lane;
        else if (v == "wander")
            f.pattern = FleetPattern::Wander;
        else if (v == "anchored")
            f.pattern = FleetPattern::Anchored;
        else {
            error = "pattern is lane, wander or anchored";
            return false;
        }
        return true;
    }
    error = "unknown key '" + std::string(key) + "'";
    return false;
}

bool Parser::applyEncounter(std::string_view key, std::string_view v, std::string& error) {
    EncounterSetup& e = s_.encounters.back();
    bool known = false;
    if (!ReadVesselInfoKey(key, v, e.info, error, known)) return false;
    if (known) return true;
    if (key == "mmsi") return ReadMmsi(v, e.mmsi, error);
    if (key == "class") return ReadClass(v, e.kind, error);
    if (key == "meet_at") return ReadDuration(v, e.meetAt, error);
    if (key == "miss") return ReadDouble(v, e.missNm, error);
    if (key == "from") return ReadDouble(v, e.fromBearing, error);
    if (key == "speed") return ReadDouble(v, e.speed, error);
    if (key == "silent_from") return ReadDuration(v, e.silentFrom, error);
    error = "unknown key '" + std::string(key) + "'";
    return false;
}

bool Parser::applySafety(std::string_view key, std::string_view v, std::string& error) {
    SafetyMessageSetup& m = s_.safetyMessages.back();
    if (key == "from") return ReadMmsi(v, m.from, error);
    if (key == "to") return ReadMmsi(v, m.to, error);
    if (key == "at") return ReadDuration(v, m.at, error);
    if (key == "repeat") return ReadDuration(v, m.repeat, error);
    if (key == "text") {
        m.text = AisText(v, 156);
        return true;
    }
    error = "unknown key '" + std::string(key) + "'";
    return false;
}

bool Parser::applyChannel(std::string_view key, std::string_view v, std::string& error) {
    ChannelManagementSetup& c = s_.channelManagement.back();
    if (key == "from") return ReadMmsi(v, c.from, error);
    if (key == "north_east") return ReadPoint(v, c.northEast, error);
    if (key == "south_west") return ReadPoint(v, c.southWest, error);
    if (key == "channel_a") return ReadInt(v, c.channelA, 0, 4095, error);
    if (key == "channel_b") return ReadInt(v, c.channelB, 0, 4095, error);
    if (key == "zone_size") return ReadInt(v, c.zoneSize, 0, 7, error);
    if (key == "power") return ReadInt(v, c.power, 0, 1, error);
    if (key == "interval") return ReadDuration(v, c.interval, error);
    error = "unknown key '" + std::string(key) + "'";
    return false;
}

bool Parser::applyCrewDevice(std::string_view key, std::string_view v, std::string& error) {
    CrewDeviceSetup& d = s_.crewDevices.back();
    if (key == "id") return ReadDeviceId(v, d.id, error);
    if (key == "zone") return ReadDeviceId(v, d.zone, error);
    if (key == "battery") return ReadInt(v, d.battery, 0, 255, error);
    if (key == "announce") return ReadBool(v, d.announce, error);
    if (key == "events") return ReadCrewEvents(v, d.events, error);
    error = "unknown key '" + std::string(key) + "'";
    return false;
}

bool Parser::applyMisc(std::string_view key, std::string_view v, std::string& error) {
    if (section_ == Section::Gnss) {
        if (key == "satellites") return ReadInt(v, s_.gnss.satellites, 4, 16, error);
        if (key == "hdop") return ReadDouble(v, s_.gnss.hdop, error);
        if (key == "altitude") return ReadDouble(v, s_.gnss.altitude, error);
        if (key == "fix_loss") return ReadWindows(v, s_.gnss.fixLoss, error);
    } else if (section_ == Section::CrewWatch) {
        if (key == "report_interval") return ReadDuration(v, s_.crewWatch.reportInterval, error);
        if (key == "list_reports") return ReadBool(v, s_.crewWatch.listReports, error);
        if (key == "repeats") return ReadInt(v, s_.crewWatch.repeats, 1, 5, error);
        if (key == "model") return (s_.crewWatch.model = std::string(v)), true;
        if (key == "firmware") return (s_.crewWatch.firmware = std::string(v)), true;
    } else if (section_ == Section::Lane) {
        if (key == "points") return ReadPointList(v, s_.lanes.back().points, error);
        if (key == "width") return ReadDouble(v, s_.lanes.back().widthNm, error);
    } else if (section_ == Section::Marker) {
        if (key == "position") return ReadPoint(v, s_.transponder.markers.back().position, error);
    }
    error = "unknown key '" + std::string(key) + "'";
    return false;
}

void Parser::finish() {
    line_ = 0;
    auto problem = [&](const std::string& m) { errors_.push_back(m); };
    if (s_.ownShip.mmsi == 0) problem("[own_ship] needs an mmsi");
    if (s_.duration <= 0.0) problem("[scenario] duration must be positive");
    std::set<std::uint32_t> seen{s_.ownShip.mmsi};
    // A station without a name is called by its section's label.
    if (s_.ownShip.info.name.empty()) s_.ownShip.info.name = AisText(s_.ownShip.label, 20);
    for (StationSetup& st : s_.stations) {
        if (st.info.name.empty())
            st.info.name = AisText(st.label, st.kind == StationKind::Aton ? 34 : 20);
    }
    for (const StationSetup& st : s_.stations) {
        if (st.mmsi == 0)
            problem("[" + st.label + "] needs an mmsi");
        else if (!seen.insert(st.mmsi).second)
            problem("[" + st.label + "] mmsi " + std::to_string(st.mmsi) + " used twice");
        if (st.kind == StationKind::Sart && st.mmsi / 1000000 != 970)
            problem("[" + st.label + "] an AIS-SART's mmsi starts with 970");
        if (st.kind == StationKind::MobDevice && st.mmsi / 1000000 != 972)
            problem("[" + st.label + "] an AIS MOB device's mmsi starts with 972");
    }
    for (const EncounterSetup& e : s_.encounters) {
        if (e.mmsi == 0)
            problem("[encounter " + e.label + "] needs an mmsi");
        else if (!seen.insert(e.mmsi).second)
            problem("[encounter " + e.label + "] mmsi used twice");
    }
    for (const FleetSetup& f : s_.fleets) {
        if (f.pattern == FleetPattern::Lane) {
            const LaneSetup* lane = s_.findLane(f.lane);
            if (lane == nullptr)
                problem("[fleet " + f.label + "] names no known lane");
            else if (lane->points.size() < 2)
                problem("[lane " + lane->label + "] needs two points or more");
        }
    }
    for (const CrewDeviceSetup& d : s_.crewDevices) {
        if (d.id == std::array<std::uint8_t, 3>{}) problem("[" + d.label + "] needs an id");
    }
}

}  // namespace

bool ParseScenario(std::string_view text, Scenario& out, std::vector<std::string>& errors) {
    out = Scenario{};
    errors.clear();
    Parser parser(out, errors);
    int number = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        parser.line(number, line);
        if (nl == std::string_view::npos) break;
        text.remove_prefix(nl + 1);
    }
    parser.finish();
    return errors.empty();
}

bool LoadScenarioFile(const std::string& path, Scenario& out, std::vector<std::string>& errors) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        errors.assign(1, "cannot read " + path);
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return ParseScenario(text.str(), out, errors);
}

}  // namespace norq::sim
