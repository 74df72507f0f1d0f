// Joins the fragments of multi-sentence VDM, VDO, ABM and BBM messages.
//
// Each kind has a ring of ten slots. A fragment joins a slot only when its
// sequential message id, channel, total, message id and destination match
// and it is the next sentence number, so several multi-sentence messages are
// assembled side by side and interleaved messages are never spliced. Single
// sentence messages do not take a slot from messages in progress.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "codec/SentenceBodies.h"

namespace norq::ais {

enum class FragmentKind : std::uint8_t { Abm, Bbm, Vdm, Vdo, Count };

inline constexpr int kAssemblySlots = 10;
inline constexpr int kMaxJoinedPayload = 175;
inline constexpr std::int64_t kFragmentTimeoutSeconds = 4;
inline constexpr std::uint32_t kFragmentMaxLaterSentences = 10;
inline constexpr std::int64_t kNoFragmentTime = -1;

// Where and when one fragment arrived.
struct FragmentOrigin {
    bool live = false;                           // from a link, not a file
    std::int64_t now = kNoFragmentTime;          // monotonic seconds (live input)
    std::int64_t receiveTime = kNoFragmentTime;  // Unix seconds the file gives, if any
};

struct AssemblySlot {
    bool inUse = false;     // holds a message in progress or a complete one
    bool complete = false;  // the last sentence was joined
    std::int64_t destinationMmsi = 0;
    int total = 0;
    int lastNumber = 0;
    int sequentialId = codec::kEmptyByte;
    int channel = codec::kEmptyByte;
    int messageId = 0;
    int fillBits = 0;
    // When the last sentence joined: monotonic seconds (live), the channel's
    // sentence count, and the file's receive time of the first sentence that
    // had one.
    bool live = false;
    std::int64_t joinedAt = kNoFragmentTime;
    std::uint32_t joinedAtSentence = 0;
    std::int64_t receiveTime = kNoFragmentTime;
    int length = 0;
    char payload[kMaxJoinedPayload + 1] = {};

    std::string_view payloadText() const { return {payload, static_cast<std::size_t>(length)}; }
};

class FragmentAssembly {
  public:
    enum class Result {
        Incomplete,  // joined, more sentences to come
        Complete,    // the message is whole; see the returned slot
        Dropped,     // out of order, foreign or too long: nothing to decode
    };

    // Joins one parsed fragment. On Complete, `slot` is the whole message;
    // for VDM and VDO it is handed over for decoding and its slot is freed.
    Result JoinFragment(FragmentKind kind, const codec::Encapsulated& fragment,
                        const AssemblySlot*& slot, const FragmentOrigin& origin = {});

    // Fragments that never became part of a whole message, since the start:
    // refused ones, and those of messages given up (timed out, restarted,
    // displaced from a full ring or broken by a sentence out of order).
    std::uint64_t droppedFragments() const { return dropped_; }

    const AssemblySlot& slot(FragmentKind kind, int index) const {
        return slots_[static_cast<int>(kind)][index];
    }

  private:
    using Ring = std::array<AssemblySlot, kAssemblySlots>;

    static bool sameMessage(const AssemblySlot& s, const codec::Encapsulated& f);
    static bool append(AssemblySlot& s, std::string_view payload);
    // Channel letter A (or 1), B (or 2), anything else.
    static int channelBucket(int channel);
    bool expired(const AssemblySlot& s, FragmentKind kind, const FragmentOrigin& origin) const;
    void start(AssemblySlot& s, FragmentKind kind, const codec::Encapsulated& f,
               const FragmentOrigin& origin) const;
    void noteJoin(AssemblySlot& s, FragmentKind kind, const FragmentOrigin& origin) const;
    // Frees a slot, counting the fragments of a message still in progress.
    void giveUp(AssemblySlot& s);
    Result drop(std::uint64_t fragments);

    std::array<Ring, static_cast<int>(FragmentKind::Count)> slots_{};
    std::array<int, static_cast<int>(FragmentKind::Count)> next_{};
    // Sentences seen per kind and channel bucket, for the expiry in files.
    std::array<std::array<std::uint32_t, 3>, static_cast<int>(FragmentKind::Count)> sentences_{};
    AssemblySlot single_;  // a single-sentence message, handed over at once
    std::uint64_t dropped_ = 0;
};

}  // namespace norq::ais
