// Outgoing broadcast binary messages: binary application payloads (message
// 8) split into BBM sentences, and the broadcast safety related message (14).
#pragma once

#include <string_view>

#include "ais/AisEncoder.h"
#include "codec/SentenceCodec.h"

namespace norq::ais {

inline constexpr int kAisSensor = 0;

// The sensor port control's send path: composes `formatter` from the codec's
// stores and writes it to the sensor's port. False when nothing was sent.
class SentenceSender {
  public:
    virtual ~SentenceSender() = default;
    virtual bool SendSentence(int sensor, std::string_view talker, std::string_view formatter) = 0;
};

// Payload characters of one binary BBM sentence: "!AIBBM,3,3,9,2,8," and
// ",0*hh" with CR LF leave 58 of the 82 characters a sentence may have.
inline constexpr std::size_t kMaxBbmSentencePayload = 58;
// The longest message 8 payload sent (three sentences).
inline constexpr std::size_t kMaxBbmPayload = 169;

class BinaryBbmSender {
  public:
    BinaryBbmSender(codec::SentenceCodec& codec, SentenceSender& sender)
        : codec_(codec), sender_(sender) {}

    // Sends a message 8 payload in one to three BBM sentences of at most
    // kMaxBbmSentencePayload characters each, on the given channel item (0
    // default, 1 channel A, 2 channel B). Returns the number of sentences
    // sent: 0 for an empty payload or one over kMaxBbmPayload characters.
    int SendBinaryBbm(const ArmouredPayload& payload, int channel);

    int nextSequentialId() const { return sequentialId_; }

  private:
    codec::SentenceCodec& codec_;
    SentenceSender& sender_;
    int sequentialId_ = 0;  // one counter for all binary messages, 0-9
};

// The longest safety text one BBM sentence carries: "!AIBBM,1,1,9,0,14,"
// and ",0*hh" with CR LF leave 57 of the 82 characters.
inline constexpr std::size_t kMaxSafetyBbmText = 57;

// Composes "!AIBBM,1,1,<s>,0,14,<payload>,0*hh" for a broadcast safety text.
// Lower-case letters go out as upper case and characters outside the 6-bit
// set as '?'; a longer text is cut to kMaxSafetyBbmText characters.
bool ComposeSafetyBbm(std::string_view text, int sequentialId, codec::SentenceText& out);

}  // namespace norq::ais
