// When a silent target counts as lost (crossed out on the chart) and when it is
// removed from the table. The legacy rule uses two fixed times for every
// station; the by-class rule follows the station's nominal reporting interval
// (ITU-R M.1371, Table 1 and the class B, base station, AtoN and SAR figures)
// times a number of missed reports the user chooses.
#pragma once

#include <cstdint>

#include "ais/TargetRecord.h"

namespace norq::ais {

inline constexpr std::int64_t kLegacyLostSeconds = 600;
inline constexpr std::int64_t kLegacyRemoveSeconds = 3600;

// A number of missed reports, 0 choosing the legacy time. Each of the two times
// chooses on its own: [TARGETS] LostAfterReports and RemoveAfterReports.
struct AgeingSettings {
    int lostAfterReports = 0;
    int removeAfterReports = 0;
    bool legacy() const { return lostAfterReports <= 0 && removeAfterReports <= 0; }
    friend bool operator==(const AgeingSettings&, const AgeingSettings&) = default;
};

// The nominal time between two position reports of the station, in seconds.
// Class A by speed and navigational status (at anchor or moored and not faster
// than 3 kn: 3 min; otherwise 10 s up to 14 kn, 6 s up to 23 kn, 2 s above;
// an unknown speed counts as up to 14 kn). Class B: 3 min up to 2 kn, 30 s
// above (or at an unknown speed). Base station 10 s, SAR aircraft 10 s, AtoN
// 3 min. Other stations (SART, MOB, EPIRB, a fresh entry) have no interval of
// their own: 0.
int ReportingIntervalSeconds(const TargetRecord& target);

// Seconds of silence after which the target counts as lost, and after which it
// is removed. A removal never comes before the target is lost, and a station
// without its own interval keeps the legacy times.
std::int64_t LostAfterSeconds(const TargetRecord& target, const AgeingSettings& settings);
std::int64_t RemoveAfterSeconds(const TargetRecord& target, const AgeingSettings& settings);

}  // namespace norq::ais
