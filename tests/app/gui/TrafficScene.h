// A made-up traffic scene off Kaohsiung: the own ship's GNSS fixes once a second
// and a number of targets (class A with static and voyage data, class B, an aid to
// navigation and a base station) reporting their moving positions. Deterministic,
// so the same options give the same lines.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "AisLines.h"

namespace norq::test {

struct SceneOptions {
    int targets = 24;
    int seconds = 60;
    int reportEvery = 5;   // seconds between two position reports of a target
    int staticEvery = 30;  // seconds between two static reports
    double ownLongitude = 120.20;
    double ownLatitude = 22.55;
};

struct SceneTarget {
    Vessel vessel;
    Voyage voyage;
    std::string name;
    std::string callSign;
    std::string destination;
    enum class Kind { ClassA, ClassB, Aton, Base } kind = Kind::ClassA;
};

// Words of the made-up names, ports, flags and ship types of the scene.
inline constexpr std::array<const char*, 10> kFirst{
    "SEA", "OCEAN", "PACIFIC", "FORMOSA", "JADE", "PEARL", "ORIENT", "NORTH", "SOUTH", "GOLDEN"};
inline constexpr std::array<const char*, 10> kSecond{
    "STAR", "WIND", "GLORY", "SPIRIT", "TRADER", "PIONEER", "HARMONY", "DAWN", "BREEZE", "VOYAGER"};
inline constexpr std::array<const char*, 6> kPorts{"KAOHSIUNG", "KEELUNG", "HONG KONG",
                                                   "SINGAPORE", "BUSAN",   "XIAMEN"};
inline constexpr std::array<std::uint32_t, 5> kMids{416, 477, 563, 440, 412};
inline constexpr std::array<int, 6> kTypes{70, 80, 60, 52, 30, 79};

inline std::vector<SceneTarget> SceneTargets(const SceneOptions& options) {
    std::vector<SceneTarget> targets;
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) & 0xFFFF;
    };
    for (int i = 0; i < options.targets; ++i) {
        SceneTarget t;
        const double bearing = (next() % 3600) / 10.0 * M_PI / 180.0;
        const double range = 0.5 + (next() % 900) / 100.0;  // nautical miles
        t.vessel.mmsi =
            kMids[i % kMids.size()] * 1000000u + 100000u + static_cast<unsigned>(i) * 37u;
        t.vessel.latitude = options.ownLatitude + range * std::cos(bearing) / 60.0;
        t.vessel.longitude =
            options.ownLongitude +
            range * std::sin(bearing) / 60.0 / std::cos(options.ownLatitude * M_PI / 180.0);
        t.vessel.sog = static_cast<float>((next() % 180) / 10.0);
        t.vessel.cog = static_cast<float>((next() % 3600) / 10.0);
        t.vessel.heading = static_cast<int>(t.vessel.cog);
        t.name =
            std::string(kFirst[next() % kFirst.size()]) + " " + kSecond[next() % kSecond.size()];
        if (i >= 20) t.name += " " + std::to_string(i);
        t.callSign = "BR" + std::to_string(1000 + i);
        t.destination = kPorts[next() % kPorts.size()];
        t.voyage.shipType = kTypes[next() % kTypes.size()];
        t.voyage.toBow = 40 + static_cast<int>(next() % 200);
        t.voyage.toStern = 10 + static_cast<int>(next() % 40);
        t.voyage.toPort = 5 + static_cast<int>(next() % 15);
        t.voyage.toStarboard = 5 + static_cast<int>(next() % 15);
        t.voyage.draught = static_cast<float>(4.0 + (next() % 100) / 10.0);
        t.voyage.imo = 9100000u + static_cast<unsigned>(i) * 11u;
        if (i % 7 == 6) t.kind = SceneTarget::Kind::ClassB;
        if (i == 3) t.kind = SceneTarget::Kind::Aton;
        if (i == 9) t.kind = SceneTarget::Kind::Base;
        if (t.kind == SceneTarget::Kind::Aton) {
            t.vessel.mmsi = 994161000u + static_cast<unsigned>(i);
            t.name = "KAOHSIUNG NO 1 BUOY";
        }
        if (t.kind == SceneTarget::Kind::Base) t.vessel.mmsi = 4161001u + static_cast<unsigned>(i);
        targets.push_back(t);
    }
    return targets;
}

// The lines of the scene, in the order they are received.
inline std::vector<std::string> TrafficLines(const SceneOptions& options) {
    std::vector<SceneTarget> targets = SceneTargets(options);
    std::vector<std::string> lines;
    double ownLon = options.ownLongitude;
    double ownLat = options.ownLatitude;
    const double ownSog = 11.5;
    const double ownCog = 35.0;
    int sequence = 0;
    auto add = [&lines](const std::vector<std::string>& more) {
        lines.insert(lines.end(), more.begin(), more.end());
    };
    const double cosLat = std::cos(options.ownLatitude * M_PI / 180.0);
    for (int second = 0; second < options.seconds; ++second) {
        lines.push_back(RmcLine(second, ownLon, ownLat, ownSog, ownCog));
        lines.push_back(GgaLine(second, ownLon, ownLat));
        ownLat += ownSog / 3600.0 * std::cos(ownCog * M_PI / 180.0) / 60.0;
        ownLon += ownSog / 3600.0 * std::sin(ownCog * M_PI / 180.0) / 60.0 / cosLat;
        for (std::size_t i = 0; i < targets.size(); ++i) {
            SceneTarget& t = targets[i];
            Vessel& v = t.vessel;
            if (t.kind == SceneTarget::Kind::ClassA || t.kind == SceneTarget::Kind::ClassB) {
                v.latitude += v.sog / 3600.0 * std::cos(v.cog * M_PI / 180.0) / 60.0;
                v.longitude += v.sog / 3600.0 * std::sin(v.cog * M_PI / 180.0) / 60.0 / cosLat;
            }
            if ((second + static_cast<int>(i)) % options.reportEvery != 0) continue;
            const char channel = (i % 2 == 0) ? 'A' : 'B';
            switch (t.kind) {
                case SceneTarget::Kind::ClassA:
                    add(AisSentences(PositionReport(v), false, channel));
                    break;
                case SceneTarget::Kind::ClassB:
                    add(AisSentences(ClassBPosition(v), false, channel));
                    break;
                case SceneTarget::Kind::Aton:
                    add(AisSentences(AidToNavigation(v.mmsi, t.name, v.longitude, v.latitude, 24),
                                     false, channel));
                    break;
                case SceneTarget::Kind::Base:
                    add(AisSentences(BaseStation(v.mmsi, v.longitude, v.latitude), false, channel));
                    break;
            }
            if (t.kind == SceneTarget::Kind::ClassA &&
                (second + static_cast<int>(i)) % options.staticEvery == 0) {
                t.voyage.name = t.name;
                t.voyage.callSign = t.callSign;
                t.voyage.destination = t.destination;
                sequence = sequence % 9 + 1;
                add(AisSentences(StaticVoyage(v.mmsi, t.voyage), false, channel, sequence));
            }
        }
    }
    return lines;
}

}  // namespace norq::test
