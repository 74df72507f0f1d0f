#include "ais/FragmentAssembly.h"

#include <cstring>

namespace norq::ais {

namespace {

void Start(AssemblySlot& s, const codec::Encapsulated& f) {
    s = AssemblySlot{};
    s.inUse = true;
    s.destinationMmsi = f.destinationMmsi;
    s.total = f.total;
    s.lastNumber = 1;
    s.sequentialId = f.sequentialId;
    s.channel = f.channel;
    s.messageId = f.messageId;
    s.fillBits = f.fillBits;
}

}  // namespace

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
                                                        const AssemblySlot*& slot) {
    slot = nullptr;
    Ring& ring = slots_[static_cast<int>(kind)];
    int& next = next_[static_cast<int>(kind)];
    const std::string_view payload(f.payload);

    // A message of no sentences never completes.
    if (f.total < 1) return Result::Dropped;

    if (f.number == 1 && f.total == 1) {
        Start(single_, f);
        if (!append(single_, payload)) return Result::Dropped;
        single_.complete = true;
        slot = &single_;
        return Result::Complete;
    }

    if (f.number == 1) {
        // A restart of a message in progress takes its slot again; otherwise
        // the next slot of the ring, which holds the oldest message.
        AssemblySlot* target = nullptr;
        for (AssemblySlot& s : ring) {
            if (sameMessage(s, f)) target = &s;
        }
        if (target == nullptr) {
            target = &ring[next];
            next = (next + 1) % kAssemblySlots;
        }
        Start(*target, f);
        if (!append(*target, payload)) {
            *target = AssemblySlot{};
            return Result::Dropped;
        }
        return Result::Incomplete;
    }

    for (AssemblySlot& s : ring) {
        if (!sameMessage(s, f)) continue;
        if (s.total != f.total || f.number != s.lastNumber + 1 || !append(s, payload)) {
            s = AssemblySlot{};
            return Result::Dropped;
        }
        s.lastNumber = f.number;
        s.fillBits = f.fillBits;
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
    return Result::Dropped;
}

}  // namespace norq::ais
