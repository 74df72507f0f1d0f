// The cross-check of the own ship's two positions: the GNSS receiver's fix
// and the transponder's own report (VDO), which comes from the transponder's
// own GNSS antenna. Both fresh and far apart means one of them is wrong (a
// receiver with a stale or spoofed fix, a transponder fed by a bad antenna),
// and the watch officer must be told before trusting either.
#pragma once

#include <cstdint>

namespace norq::ais {

struct TimedPosition {
    bool valid = false;
    double longitude = 0.0;
    double latitude = 0.0;
    std::int64_t at = 0;  // monotonic seconds of the report
};

// Reports older than this are not compared (one of the sources fell silent;
// that is a different alarm).
inline constexpr std::int64_t kOwnPositionCheckAge = 10;

// Metres between the two positions when both are valid and reported within
// kOwnPositionCheckAge seconds of now; -1 otherwise.
double OwnPositionSeparationMetres(const TimedPosition& gnss, const TimedPosition& vdo,
                                   std::int64_t now);

// A source that was heard and then fell silent: seconds since it was last
// heard when that is more than limit (limit 0: never); 0 otherwise, also for
// a source never heard (nothing is connected to it).
std::int64_t SilentForSeconds(std::int64_t lastHeard, std::int64_t now, int limit);

}  // namespace norq::ais
