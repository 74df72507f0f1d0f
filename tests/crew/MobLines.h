// Lines of AIS-SART and AIS-MOB devices for the alarm tests: position reports
// with status 14 (active) or 15 (test) and the texts of message 14.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

#include "app/gui/AisLines.h"

namespace norq::test {

inline std::string DeviceReport(std::uint32_t mmsi, int status, double lon = 1.35,
                                double lat = 50.88) {
    Vessel v;
    v.mmsi = mmsi;
    v.longitude = lon;
    v.latitude = lat;
    v.navStatus = status;
    return AisSentences(PositionReport(v)).front();
}

inline std::string SafetyBroadcast(std::uint32_t mmsi, std::string_view text, bool own = false) {
    ais::AisMessage m{};
    m.messageId = 14;
    m.mmsi = mmsi;
    m.layout = ais::AisLayoutId::SafetyBroadcast;
    std::memset(m.safetyBroadcast.text.data(), 0, m.safetyBroadcast.text.size());
    std::memcpy(m.safetyBroadcast.text.data(), text.data(),
                std::min(text.size(), m.safetyBroadcast.text.size() - 1));
    return AisSentences(m, own).front();
}

inline std::string AddressedSafety(std::uint32_t from, std::uint32_t to, std::string_view text) {
    ais::AisMessage m{};
    m.messageId = 12;
    m.mmsi = from;
    m.layout = ais::AisLayoutId::AddressedSafety;
    m.addressedSafety.destinationMmsi = to;
    std::memset(m.addressedSafety.text.data(), 0, m.addressedSafety.text.size());
    std::memcpy(m.addressedSafety.text.data(), text.data(),
                std::min(text.size(), m.addressedSafety.text.size() - 1));
    return AisSentences(m).front();
}

}  // namespace norq::test
