// The health figures of one source as norq-ais reports them.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "ais/SentenceIntake.h"
#include "ais/SourceHealth.h"

namespace norq::tool {

class HealthMeter {
  public:
    // A live source is timed by the clock, a file by its receive times.
    explicit HealthMeter(bool live);

    // One line the intake has just taken; `lostBefore` is the assembly's count
    // of lost fragments before it.
    void take(ais::SentenceIntake& intake, std::string_view line, std::uint64_t lostBefore);
    // True once every kReportSeconds of a live source.
    bool reportDue();
    void print(std::FILE* out) const;

  private:
    static constexpr std::int64_t kReportSeconds = 10;
    ais::SourceHealth health_;
    bool live_ = false;
    bool timed_ = false;  // the file gave receive times
    std::chrono::steady_clock::time_point start_{};
    std::int64_t seconds_ = 0;
    std::int64_t firstTime_ = -1;
    std::int64_t nextReport_ = kReportSeconds;
    std::uint64_t lines_ = 0;
};

}  // namespace norq::tool
