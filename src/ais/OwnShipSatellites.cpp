#include "ais/OwnShipSatellites.h"

#include <cstring>

namespace norq::ais {

namespace {

bool TalkerIs(std::string_view talker, const char* a, const char* b = nullptr) {
    return talker == a || (b != nullptr && talker == b);
}

int FirstPrn(const codec::Gsa& gsa) {
    for (int prn : gsa.prn) {
        if (prn > 0 && prn != codec::kEmptyByte) return prn;
    }
    return 0;
}

}  // namespace

GnssSystem SystemOfTalker(std::string_view talker) {
    if (TalkerIs(talker, "GP")) return GnssSystem::Gps;
    if (TalkerIs(talker, "GL")) return GnssSystem::Glonass;
    if (TalkerIs(talker, "GA")) return GnssSystem::Galileo;
    if (TalkerIs(talker, "GB", "BD")) return GnssSystem::BeiDou;
    if (TalkerIs(talker, "GQ", "QZ")) return GnssSystem::Qzss;
    if (TalkerIs(talker, "GI")) return GnssSystem::NavIc;
    return GnssSystem::Unknown;
}

GnssSystem SystemOfPrn(int prn) {
    if (prn >= 1 && prn <= 64) return GnssSystem::Gps;
    if (prn >= 65 && prn <= 96) return GnssSystem::Glonass;
    if (prn >= 193 && prn <= 202) return GnssSystem::Qzss;
    return GnssSystem::Unknown;
}

const char* GnssSystemName(GnssSystem system) {
    switch (system) {
        case GnssSystem::Gps:
            return "GPS";
        case GnssSystem::Glonass:
            return "GLONASS";
        case GnssSystem::Galileo:
            return "Galileo";
        case GnssSystem::BeiDou:
            return "BeiDou";
        case GnssSystem::Qzss:
            return "QZSS";
        case GnssSystem::NavIc:
            return "NavIC";
        case GnssSystem::Unknown:
            break;
    }
    return "GNSS";
}

// ---- Satellites in use (GSA) -------------------------------------------------

void OwnShipSatellites::onGsa(std::string_view talker, const codec::Gsa& gsa, std::int64_t now) {
    GnssSystem system = GnssSystem::Unknown;
    if (gsa.systemId >= 1 && gsa.systemId < kGnssSystemCount) {
        system = static_cast<GnssSystem>(gsa.systemId);
    } else {
        system = SystemOfTalker(talker);
        if (system == GnssSystem::Unknown) system = SystemOfPrn(FirstPrn(gsa));
    }
    UsedSet& set = used_[static_cast<std::size_t>(system)];
    // The constellation reported twice: a new round of GSAs has begun.
    if (set.round == round_) ++round_;
    set.round = round_;
    set.at = now;
    set.fixType = gsa.fixType;
    set.count = 0;
    for (std::size_t i = 0; i < set.prn.size(); ++i) {
        const int prn = gsa.prn[i] == codec::kEmptyByte ? 0 : gsa.prn[i];
        set.prn[i] = prn;
        set.count += prn > 0;
    }
}

bool OwnShipSatellites::current(const UsedSet& set) const {
    return set.round >= 0 && set.round >= round_ - 1;
}

bool OwnShipSatellites::used(GnssSystem system, int prn) const {
    if (prn <= 0) return false;
    if (system == GnssSystem::Unknown) return usedInAnySystem(prn);
    for (const UsedSet* set : {&used_[static_cast<std::size_t>(system)], &used_[0]}) {
        if (!current(*set)) continue;
        for (int p : set->prn) {
            if (p == prn) return true;
        }
    }
    return false;
}

bool OwnShipSatellites::usedInAnySystem(int prn) const {
    if (prn <= 0) return false;
    for (const UsedSet& set : used_) {
        if (!current(set)) continue;
        for (int p : set.prn) {
            if (p == prn) return true;
        }
    }
    return false;
}

int OwnShipSatellites::usedCount() const {
    int total = -1;
    for (const UsedSet& set : used_) {
        if (current(set)) total = (total < 0 ? 0 : total) + set.count;
    }
    return total;
}

int OwnShipSatellites::usedCount(GnssSystem system) const {
    const UsedSet& set = used_[static_cast<std::size_t>(system)];
    return current(set) ? set.count : 0;
}

int OwnShipSatellites::inViewCount() const {
    int count = 0;
    for (std::size_t i = 0; i < shownSize_; ++i) {
        bool seen = false;
        for (std::size_t j = 0; j < i && !seen; ++j)
            seen = shown_[j].system == shown_[i].system && shown_[j].prn == shown_[i].prn;
        count += seen ? 0 : 1;
    }
    return count;
}

int OwnShipSatellites::fixType() const {
    int best = 0;
    for (const UsedSet& set : used_) {
        if (current(set) && set.fixType > best && set.fixType <= 3) best = set.fixType;
    }
    return best;
}

// ---- Satellites in view (GSV) ------------------------------------------------

OwnShipSatellites::Cycle& OwnShipSatellites::cycleFor(std::string_view talker, int signalId) {
    Cycle* free = nullptr;
    Cycle* oldest = &cycles_[0];
    for (Cycle& c : cycles_) {
        if (c.inUse && talker == c.talker && c.signalId == signalId) return c;
        if (!c.inUse && free == nullptr) free = &c;
        if (c.inUse && c.at < oldest->at) oldest = &c;
    }
    Cycle& c = free != nullptr ? *free : *oldest;
    c = Cycle{};
    c.inUse = true;
    std::memcpy(c.talker, talker.data(), talker.size() < 2 ? talker.size() : 2);
    c.signalId = signalId;
    return c;
}

bool OwnShipSatellites::onGsv(std::string_view talker, const codec::Gsv& gsv, std::int64_t now) {
    Cycle& c = cycleFor(talker, gsv.signalId);
    bool changed = false;
    const bool newCycle =
        gsv.total != c.previousTotal || gsv.number < c.previousNumber || gsv.total == 1;
    if (newCycle) {
        // A cycle whose last sentence was lost is shown as far as it came.
        if (!c.published && c.gatheringSize > 0) {
            publish(c);
            changed = true;
        }
        c.gatheringSize = 0;
        c.published = false;
    }
    gather(c, talker, gsv);
    c.at = now;
    c.previousTotal = gsv.total;
    c.previousNumber = gsv.number;
    if (gsv.number >= gsv.total) {
        publish(c);
        changed = true;
    }
    if (changed) rebuildList();
    return changed;
}

void OwnShipSatellites::gather(Cycle& c, std::string_view talker, const codec::Gsv& gsv) {
    const GnssSystem talkerSystem = SystemOfTalker(talker);
    for (int i = 0; i < gsv.count && i < 4; ++i) {
        const codec::SatelliteInView& s = gsv.satellites[static_cast<std::size_t>(i)];
        if (s.prn <= 0 || s.prn == codec::kEmptyByte) continue;
        SatelliteEntry entry{s.prn, s.elevation,  s.azimuth,   s.snr,
                             false, talkerSystem, gsv.signalId};
        if (entry.system == GnssSystem::Unknown) entry.system = SystemOfPrn(s.prn);
        std::size_t at = 0;
        while (at < c.gatheringSize && c.gathering[at].prn != s.prn)
            ++at;
        if (at < c.gatheringSize) {
            if (entry.snr == codec::kEmptyByte) entry.snr = c.gathering[at].snr;
            c.gathering[at] = entry;
        } else if (c.gatheringSize < c.gathering.size()) {
            c.gathering[c.gatheringSize++] = entry;
        }
    }
}

void OwnShipSatellites::publish(Cycle& c) {
    c.shown = c.gathering;
    c.shownSize = c.gatheringSize;
    c.published = true;
}

void OwnShipSatellites::rebuildList() {
    shownSize_ = 0;
    for (const Cycle& c : cycles_) {
        if (!c.inUse) continue;
        for (std::size_t i = 0; i < c.shownSize && shownSize_ < shown_.size(); ++i) {
            SatelliteEntry entry = c.shown[i];
            entry.used = used(entry.system, entry.prn);
            shown_[shownSize_++] = entry;
        }
    }
}

bool OwnShipSatellites::expire(std::int64_t now, std::int64_t maxAge) {
    for (UsedSet& set : used_) {
        if (set.round >= 0 && now - set.at > maxAge) set.round = -1;
    }
    bool changed = false;
    for (Cycle& c : cycles_) {
        if (c.inUse && now - c.at > maxAge) {
            c = Cycle{};
            changed = true;
        }
    }
    if (changed) rebuildList();
    return changed;
}

}  // namespace norq::ais
