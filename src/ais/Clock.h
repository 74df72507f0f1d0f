// Time as the target table sees it: a monotonic clock for ageing, which a
// step of the system clock cannot disturb, and the local calendar time for
// the times shown to the user.
#pragma once

#include <cstdint>

#include "ais/TargetRecord.h"

namespace norq::ais {

struct LocalDateTime {
    DateStamp date;
    TimeStamp time;
};

class Clock {
  public:
    virtual ~Clock() = default;
    // Seconds of a clock that never steps (not the calendar).
    virtual std::int64_t monotonicSeconds() const = 0;
    virtual LocalDateTime localNow() const = 0;
};

// The machine's clocks: steady_clock and the local calendar time.
class SystemClock final : public Clock {
  public:
    std::int64_t monotonicSeconds() const override;
    LocalDateTime localNow() const override;
};

// A clock the tests and the replay set by hand.
class ManualClock final : public Clock {
  public:
    std::int64_t monotonicSeconds() const override { return seconds_; }
    LocalDateTime localNow() const override { return local_; }
    void advance(std::int64_t seconds) { seconds_ += seconds; }
    void setLocal(const LocalDateTime& local) { local_ = local; }

  private:
    std::int64_t seconds_ = 1000000;
    LocalDateTime local_{{2026, 1, 1}, {12, 0, 0}};
};

}  // namespace norq::ais
