// Sentence lines for the window tests and the benchmark: AIS messages packed and
// armoured by the project's encoder into VDM/VDO sentences (split into fragments
// where needed), and GNSS sentences, each with its checksum and CR LF.
#pragma once

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "ais/AisEncoder.h"
#include "ais/AisMessage.h"

namespace norq::test {

inline std::string WithChecksum(std::string_view body, char start) {
    unsigned sum = 0;
    for (char c : body)
        sum ^= static_cast<unsigned char>(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum & 0xFF);
    return std::string(1, start) + std::string(body) + tail;
}

// The VDM (or VDO) sentences of one message; `sequence` numbers a multi-part one.
inline std::vector<std::string> AisSentences(const ais::AisMessage& message, bool own = false,
                                             char channel = 'A', int sequence = 1) {
    ais::AisBitBuffer bits{};
    if (!ais::PackAisMessage(message, bits)) return {};
    const ais::ArmouredPayload armoured = ais::ArmourPayload(bits);
    const std::string_view payload = armoured.view();
    constexpr std::size_t kPerFragment = 60;
    const std::size_t fragments = (payload.size() + kPerFragment - 1) / kPerFragment;
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < fragments; ++i) {
        const std::string_view part = payload.substr(i * kPerFragment, kPerFragment);
        const int fill = i + 1 == fragments ? armoured.fillBits : 0;
        char body[160];
        if (fragments == 1) {
            std::snprintf(body, sizeof body, "AIVD%c,1,1,,%c,%.*s,%d", own ? 'O' : 'M', channel,
                          static_cast<int>(part.size()), part.data(), fill);
        } else {
            std::snprintf(body, sizeof body, "AIVD%c,%zu,%zu,%d,%c,%.*s,%d", own ? 'O' : 'M',
                          fragments, i + 1, sequence, channel, static_cast<int>(part.size()),
                          part.data(), fill);
        }
        lines.push_back(WithChecksum(body, '!'));
    }
    return lines;
}

template <std::size_t N>
void CopyText(std::array<char, N>& field, std::string_view text) {
    field.fill('@');
    std::memcpy(field.data(), text.data(), std::min(text.size(), N - 1));
    field[N - 1] = '\0';
}

struct Vessel {
    std::uint32_t mmsi = 0;
    double longitude = 0.0;
    double latitude = 0.0;
    float sog = 0.0f;
    float cog = 0.0f;
    int heading = 511;
    int navStatus = 0;
};

inline ais::AisMessage PositionReport(const Vessel& v, int messageId = 1) {
    ais::AisMessage m{};
    m.messageId = static_cast<std::uint8_t>(messageId);
    m.mmsi = v.mmsi;
    m.layout = ais::AisLayoutId::PositionReport;
    m.position.navStatus = static_cast<std::uint8_t>(v.navStatus);
    m.position.rateOfTurn = 0.0f;
    m.position.sog = v.sog;
    m.position.positionAccuracy = 1;
    m.position.longitude = v.longitude;
    m.position.latitude = v.latitude;
    m.position.cog = v.cog;
    m.position.heading = static_cast<std::uint16_t>(v.heading);
    m.position.timeStamp = 60;
    return m;
}

inline ais::AisMessage ClassBPosition(const Vessel& v) {
    ais::AisMessage m{};
    m.messageId = 18;
    m.mmsi = v.mmsi;
    m.layout = ais::AisLayoutId::ClassBPosition;
    m.classBPosition.sog = v.sog;
    m.classBPosition.longitude = v.longitude;
    m.classBPosition.latitude = v.latitude;
    m.classBPosition.cog = v.cog;
    m.classBPosition.heading = static_cast<std::uint16_t>(v.heading);
    m.classBPosition.timeStamp = 60;
    m.classBPosition.csUnit = 1;
    return m;
}

struct Voyage {
    std::string_view name;
    std::string_view callSign;
    int shipType = 70;
    std::string_view destination;
    int toBow = 100, toStern = 20, toPort = 10, toStarboard = 10;
    float draught = 6.5f;
    std::uint32_t imo = 9000001;
};

inline ais::AisMessage StaticVoyage(std::uint32_t mmsi, const Voyage& voyage) {
    ais::AisMessage m{};
    m.messageId = 5;
    m.mmsi = mmsi;
    m.layout = ais::AisLayoutId::StaticVoyage;
    ais::AisStaticVoyage& s = m.staticVoyage;
    s.imo = voyage.imo;
    CopyText(s.callSign, voyage.callSign);
    CopyText(s.name, voyage.name);
    s.shipType = static_cast<std::uint8_t>(voyage.shipType);
    s.dimensions = (static_cast<std::uint32_t>(voyage.toBow) << 21) |
                   (static_cast<std::uint32_t>(voyage.toStern) << 12) |
                   (static_cast<std::uint32_t>(voyage.toPort) << 6) |
                   static_cast<std::uint32_t>(voyage.toStarboard);
    s.epfdType = 1;
    s.eta = (6u << 16) | (15u << 11) | (8u << 6) | 30u;
    s.draught = voyage.draught;
    CopyText(s.destination, voyage.destination);
    return m;
}

inline ais::AisMessage AidToNavigation(std::uint32_t mmsi, std::string_view name, double lon,
                                       double lat, int aidType) {
    ais::AisMessage m{};
    m.messageId = 21;
    m.mmsi = mmsi;
    m.layout = ais::AisLayoutId::AidToNavigation;
    m.aton.aidType = static_cast<std::uint8_t>(aidType);
    CopyText(m.aton.name, name);
    m.aton.positionAccuracy = 1;
    m.aton.longitude = lon;
    m.aton.latitude = lat;
    m.aton.epfdType = 7;
    m.aton.timeStamp = 60;
    CopyText(m.aton.nameExtension, "");
    return m;
}

inline ais::AisMessage BaseStation(std::uint32_t mmsi, double lon, double lat) {
    ais::AisMessage m{};
    m.messageId = 4;
    m.mmsi = mmsi;
    m.layout = ais::AisLayoutId::BaseStation;
    m.baseStation = {2026, 3, 15, 12, 0, 0, 1, lon, lat, 7, 0, 0, 0};
    return m;
}

// "ddmm.mmm,N" / "dddmm.mmm,E" of a position.
inline std::string NmeaLatLon(double lon, double lat) {
    char text[64];
    const double alat = std::fabs(lat);
    const double alon = std::fabs(lon);
    std::snprintf(text, sizeof text, "%02d%06.3f,%c,%03d%06.3f,%c", static_cast<int>(alat),
                  (alat - static_cast<int>(alat)) * 60.0, lat < 0 ? 'S' : 'N',
                  static_cast<int>(alon), (alon - static_cast<int>(alon)) * 60.0,
                  lon < 0 ? 'W' : 'E');
    return text;
}

// An RMC fix at hh:mm:ss with speed and course.
inline std::string RmcLine(int seconds, double lon, double lat, double sog, double cog) {
    char body[160];
    std::snprintf(body, sizeof body, "GPRMC,%02d%02d%02d.00,A,%s,%.1f,%05.1f,150326,,,A",
                  12 + seconds / 3600, (seconds / 60) % 60, seconds % 60,
                  NmeaLatLon(lon, lat).c_str(), sog, cog);
    return WithChecksum(body, '$');
}

inline std::string GgaLine(int seconds, double lon, double lat) {
    char body[160];
    std::snprintf(body, sizeof body, "GPGGA,%02d%02d%02d.00,%s,1,09,0.9,12.0,M,47.0,M,,",
                  12 + seconds / 3600, (seconds / 60) % 60, seconds % 60,
                  NmeaLatLon(lon, lat).c_str());
    return WithChecksum(body, '$');
}

}  // namespace norq::test
