#include "ais/SourceHealth.h"

#include <algorithm>

namespace norq::ais {

namespace {

// Saturating add for the per-second counters: a file read without times puts
// every line into one second.
void Add(std::uint32_t& counter, std::uint64_t n) {
    const std::uint64_t sum = counter + n;
    counter = static_cast<std::uint32_t>(std::min<std::uint64_t>(sum, UINT32_MAX));
}

}  // namespace

void SourceHealth::error(HealthEvent event, std::string_view line) {
    HealthError& e = totals_.lastError;
    e.event = event;
    errorAt_ = clock_;
    // The line as received, without its CR LF and cut to the sample size.
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    const std::size_t n = std::min(line.size(), HealthError::kSampleSize);
    std::fill(e.sample.begin(), e.sample.end(), '\0');
    for (std::size_t i = 0; i < n; ++i) {
        const char c = line[i];
        e.sample[i] = (c >= ' ' && c <= '~') ? c : '?';
    }
}

void SourceHealth::noteSentence(codec::ParseStatus status, std::string_view line,
                                std::uint64_t fragmentsLost) {
    lastLine_ = clock_;
    Second& s = now();
    switch (status) {
        case codec::ParseStatus::Ok:
            Add(s.accepted, 1);
            ++totals_.accepted;
            break;
        case codec::ParseStatus::Checksum:
            Add(s.checksum, 1);
            ++totals_.checksumTotal;
            error(HealthEvent::Checksum, line);
            break;
        case codec::ParseStatus::Framing:
        case codec::ParseStatus::Length:
            Add(s.framing, 1);
            ++totals_.framingTotal;
            error(HealthEvent::Framing, line);
            break;
        case codec::ParseStatus::UnknownFormatter:
        case codec::ParseStatus::Commas:
        case codec::ParseStatus::Range:
            // The device says something this program does not read: not a
            // fault of the link.
            ++totals_.otherRejects;
            break;
    }
    if (fragmentsLost > 0) {
        Add(s.fragmentsLost, fragmentsLost);
        totals_.fragmentsLost += fragmentsLost;
        error(HealthEvent::FragmentsLost, line);
    }
}

void SourceHealth::noteTooLong(std::string_view line) {
    lastLine_ = clock_;
    Add(now().framing, 1);
    ++totals_.framingTotal;
    error(HealthEvent::TooLong, line);
}

void SourceHealth::noteLinkClosed() {
    error(HealthEvent::LinkClosed, {});
}

void SourceHealth::advance(std::int64_t seconds) {
    if (seconds <= 0) return;
    clock_ += seconds;
    // Past a whole window every second is empty again.
    const std::int64_t steps = std::min<std::int64_t>(seconds, kWindowSeconds);
    for (std::int64_t i = 0; i < steps; ++i) {
        head_ = (head_ + 1) % kWindowSeconds;
        now() = Second{};
    }
    seconds_ = static_cast<int>(std::min<std::int64_t>(seconds_ + seconds, kWindowSeconds));
}

HealthFigures SourceHealth::figures() const {
    HealthFigures f = totals_;
    std::uint64_t acceptedWhole = 0;  // in the whole seconds only
    std::uint64_t checksum = 0;
    std::uint64_t framing = 0;
    std::uint64_t lost = 0;
    // The window holds the current (partial) second and up to 59 whole ones.
    for (int i = 0; i < kWindowSeconds; ++i) {
        const Second& s = window_[static_cast<std::size_t>(i)];
        if (i != head_) acceptedWhole += s.accepted;
        checksum += s.checksum;
        framing += s.framing;
        lost += s.fragmentsLost;
    }
    const auto clamp = [](std::uint64_t n) {
        return static_cast<int>(std::min<std::uint64_t>(n, INT32_MAX));
    };
    // The rate is over the whole seconds seen; before the first one has
    // passed, what the current second brought.
    const int whole = std::min(seconds_, kWindowSeconds - 1);
    f.sentencesPerSecond = whole == 0 ? window_[static_cast<std::size_t>(head_)].accepted
                                      : static_cast<double>(acceptedWhole) / whole;
    f.checksumPerMinute = clamp(checksum);
    f.framingPerMinute = clamp(framing);
    f.fragmentsLostPerMinute = clamp(lost);
    f.lastLineSeconds = lastLine_ < 0 ? -1 : clock_ - lastLine_;
    f.lastError.secondsAgo = errorAt_ < 0 ? -1 : clock_ - errorAt_;
    return f;
}

}  // namespace norq::ais
