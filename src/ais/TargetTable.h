// The table of stations heard: 501 fixed entries, entry 0 the own ship as its
// transponder reports it, entries 1 to count-1 the targets in order of first
// reception. Indices shift down when a target ages out.
#pragma once

#include <array>
#include <cstdint>

#include "ais/TargetAgeing.h"
#include "ais/TargetRecord.h"

namespace norq::ais {

inline constexpr int kTargetTableSize = 501;
inline constexpr std::int64_t kTargetAgeOutSeconds = kLegacyRemoveSeconds;
inline constexpr std::int64_t kTargetLostSeconds = kLegacyLostSeconds;

class TargetTable {
  public:
    TargetTable() { ClearTargets(0); }

    int count() const { return count_; }
    TargetRecord& operator[](int index) { return entries_[index]; }
    const TargetRecord& operator[](int index) const { return entries_[index]; }
    TargetRecord& own() { return entries_[0]; }
    const TargetRecord& own() const { return entries_[0]; }
    bool valid(int index) const { return index >= 0 && index < count_; }

    // Sets the entry to its empty state.
    void ResetTarget(int index);
    // Empties the table: count 1, every entry unused, last update `now`. The
    // entries keep their other fields until a new target takes them (and
    // findOrAdd resets them then).
    void ClearTargets(std::int64_t now);
    // The entry of `mmsi` (entry 0 for the own ship), made when missing from a
    // reset entry. When the table is full, the target heard longest ago is
    // reset and reused.
    int findOrAdd(std::uint32_t mmsi, bool own, bool& isNew);
    // Removes the first target silent for longer than its removal time (an
    // hour under the legacy rule); later entries move down. Returns the
    // removed index, or -1. At most one per call.
    int AgeTargets(std::int64_t now);
    // Silent for longer than its lost time (600 s under the legacy rule).
    bool isLost(int index, std::int64_t now) const {
        return now - entries_[index].lastUpdate > LostAfterSeconds(entries_[index], ageing_);
    }
    void setAgeing(const AgeingSettings& ageing) { ageing_ = ageing; }
    const AgeingSettings& ageing() const { return ageing_; }

  private:
    std::array<TargetRecord, kTargetTableSize> entries_{};
    int count_ = 1;
    AgeingSettings ageing_;
};

}  // namespace norq::ais
