#include "crew/CrewRescueGuide.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "ais/TargetTexts.h"
#include "base/LanguageTable.h"

namespace norq::crew {

using base::TextId;

std::string CrewStateName(CrewDeviceState state, const base::TextStore& texts) {
    switch (state) {
        case CrewDeviceState::Off:
            return texts.text(TextId::MobGnStrGnDvStateOff);
        case CrewDeviceState::Online:
            return texts.text(TextId::MobGnStrGnDvStateOnline);
        case CrewDeviceState::Sos:
            return texts.text(TextId::MobGnStrGnDvStateSos);
        case CrewDeviceState::LowBattery:
            return texts.text(TextId::MobGnStrGnDvStateLowBattery);
        case CrewDeviceState::Lost:
            return texts.text(TextId::MobGnStrGnDvStateLost);
        case CrewDeviceState::ShutDown:
            return texts.text(TextId::MobGnStrGnDvStateShutDown);
    }
    return {};
}

std::string CrewTypeName(CrewDeviceType type, const base::TextStore& texts) {
    if (type == CrewDeviceType::Pendant) return texts.text(TextId::MobViewDevPendant);
    if (type == CrewDeviceType::Repeater) return texts.text(TextId::MobViewDevRepeater);
    return std::string(DefaultTypeName(type));
}

std::string CrewLongitudeText(double lon) {
    if (!(std::fabs(lon) <= 180.0)) return "N/A";
    return std::string(ais::FormatCoordinate(lon, ais::CoordinateAxis::Longitude, 3).view());
}

std::string CrewLatitudeText(double lat) {
    if (!(std::fabs(lat) <= 90.0)) return "N/A";
    return std::string(ais::FormatCoordinate(lat, ais::CoordinateAxis::Latitude, 3).view());
}

float RelativeAlarmBearing(float bearing, double course) {
    if (!(course >= 0.0 && course < 360.0) || !(bearing < kCrewBearingUnknown)) {
        return kRelativeBearingUnknown;
    }
    double rel = bearing - course;
    if (rel < 0.0) rel += 360.0;
    if (rel >= 360.0) rel -= 360.0;
    if (rel > 180.0) rel -= 360.0;
    return static_cast<float>(rel);
}

std::string CrewDuration(std::int64_t seconds) {
    if (seconds < 0) seconds = 0;
    const int hours = static_cast<int>((seconds / 3600) & 0xFF);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", hours, static_cast<int>(seconds / 60 % 60),
                  static_cast<int>(seconds % 60));
    return buf;
}

std::string TwelveHourTime(std::int64_t unixSeconds) {
    const std::time_t t = static_cast<std::time_t>(unixSeconds);
    std::tm local{};
    localtime_r(&t, &local);
    int hour = local.tm_hour;
    const char* half = hour < 12 ? "AM" : "PM";
    if (hour == 0) hour = 12;
    if (hour > 12) hour -= 12;
    char buf[24];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d %s", hour, local.tm_min, local.tm_sec, half);
    return buf;
}

RescueGuide MakeRescueGuide(const CrewAlarm& e, const CrewDeviceTable& table, double course,
                            bool blinkPhase, const base::TextStore& texts) {
    RescueGuide g;
    g.deviceId = "(" + e.deviceId.text() + ")";
    g.name = std::string(table.nameOf(e.deviceId));
    g.status = CrewStateName(e.state, texts) + "@";
    g.longitude = CrewLongitudeText(e.longitude);
    g.latitude = CrewLatitudeText(e.latitude);
    char buf[32];
    if (e.range < 0.0f) {
        g.range = "N/A";
    } else {
        std::snprintf(buf, sizeof buf, "%6.2f nm", static_cast<double>(e.range));
        g.range = buf;
    }
    if (e.bearing >= kCrewBearingUnknown) {
        g.bearing = "N/A";
    } else {
        std::snprintf(buf, sizeof buf, "%5.1f", static_cast<double>(e.bearing));
        g.bearing = std::string(buf) + std::string(base::kDegreeSign);
    }
    const int row = table.find(e.deviceId);
    const bool off = row < 0 || table[row].state == CrewDeviceState::Off;
    if (!e.zoneId.isController()) {
        g.zoneId = "(" + e.zoneId.text() + ")";
        g.zoneName = std::string(table.nameOf(e.zoneId));
    } else if (!off) {
        g.zoneName = texts.text(TextId::MobGnStrGnController);
    } else {
        g.zoneName = "N/A";
    }
    g.relative = RelativeAlarmBearing(e.bearing, course);
    g.arrowsShown = g.relative < kRelativeBearingUnknown;
    if (g.arrowsShown) {
        const double rel = g.relative;
        const double shown = std::fabs(rel) >= 1.0 ? std::fabs(rel) : rel;
        std::snprintf(buf, sizeof buf, "%4.1f", shown);
        g.angle = std::string(buf) + std::string(base::kDegreeSign);
        g.blinking = std::fabs(rel) < 1.0 ? GuideArrow::Up
                                          : (rel > 0.0 ? GuideArrow::Right : GuideArrow::Left);
        g.lit = blinkPhase;
    }
    g.alarmTime = TwelveHourTime(e.alarmTime);
    g.elapsed = CrewDuration(e.elapsed);
    return g;
}

}  // namespace norq::crew
