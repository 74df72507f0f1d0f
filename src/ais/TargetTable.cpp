#include "ais/TargetTable.h"

namespace norq::ais {

void TargetTable::ResetTarget(int index) {
    TargetRecord& t = entries_[index];
    t = TargetRecord{};
    t.kind = TargetKind::Unknown;
    t.bearing = -1.0f;
    t.range = -1.0f;
}

void TargetTable::ClearTargets(std::int64_t now) {
    count_ = 1;
    for (int i = 0; i < kTargetTableSize; ++i) {
        TargetRecord& t = entries_[i];
        t.mmsi = 0;
        t.longitude = kLonNotAvailable;
        t.latitude = kLatNotAvailable;
        t.kind = TargetKind::Unknown;
        t.range = 0.0f;
        t.ownPositionValid = 0;
        t.monitored = i == 0 ? 1 : 0;
        t.secondMark = 0;
        t.lastUpdate = now;
    }
    entries_[0].statusByte &= 0x0F;
    entries_[0].flags &= ~0x01;
}

int TargetTable::findOrAdd(std::uint32_t mmsi, bool own, bool& isNew) {
    isNew = false;
    if (own) {
        if (count_ == 0) {
            count_ = 1;
            isNew = true;
        }
        if (entries_[0].mmsi == 0) {
            // A new own ship (after ClearTargets) starts from a reset entry too.
            const std::uint8_t monitored = entries_[0].monitored;
            ResetTarget(0);
            entries_[0].monitored = monitored;
            entries_[0].mmsi = mmsi;
            isNew = true;
        }
        return 0;
    }
    for (int i = 1; i < count_; ++i) {
        if (entries_[i].mmsi == mmsi) return i;
    }
    int index = count_;
    if (count_ < kTargetTableSize) {
        ++count_;
    } else {
        index = 1;
        for (int i = 2; i < count_; ++i) {
            if (entries_[i].lastUpdate < entries_[index].lastUpdate) index = i;
        }
    }
    // Every new target starts from a reset entry: after ClearTargets an
    // entry still holds its previous occupant's name, call sign, IMO,
    // dimensions, motion and status.
    ResetTarget(index);
    entries_[index].mmsi = mmsi;
    isNew = true;
    return index;
}

int TargetTable::AgeTargets(std::int64_t now) {
    for (int i = 1; i < count_; ++i) {
        if (now - entries_[i].lastUpdate <= RemoveAfterSeconds(entries_[i], ageing_)) continue;
        for (int j = i; j + 1 < count_; ++j)
            entries_[j] = entries_[j + 1];
        --count_;
        ResetTarget(count_);
        return i;
    }
    return -1;
}

}  // namespace norq::ais
