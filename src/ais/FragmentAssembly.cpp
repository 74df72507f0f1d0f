#include "ais/FragmentAssembly.h"

#include <cstring>

namespace norq::ais {

int FragmentAssembly::channelBucket(int channel) {
    if (channel == 'A' || channel == '1') return 0;
    if (channel == 'B' || channel == '2') return 1;
    return 2;
}

void FragmentAssembly::noteJoin(AssemblySlot& s, FragmentKind kind,
                                const FragmentOrigin& origin) const {
    s.live = origin.live;
    s.joinedAt = origin.now;
    s.joinedAtSentence = sentences_[static_cast<int>(kind)][channelBucket(s.channel)];
    if (s.receiveTime == kNoFragmentTime) s.receiveTime = origin.receiveTime;
}

void FragmentAssembly::start(AssemblySlot& s, FragmentKind kind, const codec::Encapsulated& f,
                             const FragmentOrigin& origin) const {
    s = AssemblySlot{};
    s.inUse = true;
    s.destinationMmsi = f.destinationMmsi;
    s.total = f.total;
    s.lastNumber = 1;
    s.sequentialId = f.sequentialId;
    s.channel = f.channel;
    s.messageId = f.messageId;
    s.fillBits = f.fillBits;
    noteJoin(s, kind, origin);
}

bool FragmentAssembly::expired(const AssemblySlot& s, FragmentKind kind,
                               const FragmentOrigin& origin) const {
    if (origin.live || s.live) {
        // A slot started live is judged by the clock (a live slot whose clock
        // is unknown cannot age, which only a caller without a clock gives).
        if (origin.now == kNoFragmentTime || s.joinedAt == kNoFragmentTime) return false;
        return origin.now - s.joinedAt > kFragmentTimeoutSeconds;
    }
    const std::uint32_t later =
        sentences_[static_cast<int>(kind)][channelBucket(s.channel)] - s.joinedAtSentence;
    if (later > kFragmentMaxLaterSentences + 1) return true;
    return s.receiveTime != kNoFragmentTime && origin.receiveTime != kNoFragmentTime &&
           (origin.receiveTime - s.receiveTime > kFragmentTimeoutSeconds ||
            s.receiveTime - origin.receiveTime > kFragmentTimeoutSeconds);
}

void FragmentAssembly::giveUp(AssemblySlot& s) {
    if (s.inUse && !s.complete) dropped_ += static_cast<std::uint64_t>(s.lastNumber);
    s = AssemblySlot{};
}

FragmentAssembly::Result FragmentAssembly::drop(std::uint64_t fragments) {
    dropped_ += fragments;
    return Result::Dropped;
}

bool FragmentAssembly::sameMessage(const AssemblySlot& s, const codec::Encapsulated& f) {
    return s.inUse && !s.complete && s.sequentialId == f.sequentialId && s.channel == f.channel &&
           s.messageId == f.messageId && s.destinationMmsi == f.destinationMmsi;
}

bool FragmentAssembly::append(AssemblySlot& s, std::string_view payload) {
    if (s.length + static_cast<int>(payload.size()) > kMaxJoinedPayload) return false;
    std::memcpy(s.payload + s.length, payload.data(), payload.size());
    s.length += static_cast<int>(payload.size());
    s.payload[s.length] = '\0';
    return true;
}

FragmentAssembly::Result FragmentAssembly::JoinFragment(FragmentKind kind,
                                                        const codec::Encapsulated& f,
                                                        const AssemblySlot*& slot,
                                                        const FragmentOrigin& origin) {
    slot = nullptr;
    Ring& ring = slots_[static_cast<int>(kind)];
    int& next = next_[static_cast<int>(kind)];
    const std::string_view payload(f.payload);
    ++sentences_[static_cast<int>(kind)][channelBucket(f.channel)];

    // A message of no sentences never completes.
    if (f.total < 1) return drop(1);

    if (f.number == 1 && f.total == 1) {
        start(single_, kind, f, origin);
        if (!append(single_, payload)) return drop(1);
        single_.complete = true;
        slot = &single_;
        return Result::Complete;
    }

    // Messages whose later sentences never came give their slots up.
    for (AssemblySlot& s : ring) {
        if (s.inUse && !s.complete && expired(s, kind, origin)) giveUp(s);
    }

    if (f.number == 1) {
        // A restart of a message in progress takes its slot again; otherwise
        // a free slot, or the next slot of the ring, which holds the oldest message.
        AssemblySlot* target = nullptr;
        for (AssemblySlot& s : ring) {
            if (sameMessage(s, f)) target = &s;
        }
        if (target == nullptr) {
            target = &ring[next];
            next = (next + 1) % kAssemblySlots;
        }
        giveUp(*target);
        start(*target, kind, f, origin);
        if (!append(*target, payload)) {
            *target = AssemblySlot{};
            return drop(1);
        }
        return Result::Incomplete;
    }

    for (AssemblySlot& s : ring) {
        if (!sameMessage(s, f)) continue;
        if (s.total != f.total || f.number != s.lastNumber + 1 || !append(s, payload)) {
            giveUp(s);
            return drop(1);
        }
        s.lastNumber = f.number;
        s.fillBits = f.fillBits;
        noteJoin(s, kind, origin);
        if (s.lastNumber < s.total) return Result::Incomplete;
        s.complete = true;
        slot = &s;
        if (kind == FragmentKind::Vdm || kind == FragmentKind::Vdo) {
            // Handed over for decoding: the slot is free again once read.
            single_ = s;
            s = AssemblySlot{};
            slot = &single_;
        }
        return Result::Complete;
    }
    return drop(1);
}

}  // namespace norq::ais
