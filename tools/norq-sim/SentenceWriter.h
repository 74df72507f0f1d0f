// Turns AIS messages into VDM and VDO sentences: payloads of up to 60
// characters a sentence, a sequential id 0-9 for multi-sentence messages, and
// (optionally) the later fragments held back behind the next message so that
// fragments of different messages interleave as on a busy receiver.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "AisPayload.h"
#include "ais/AisMessage.h"

namespace norq::sim {

inline constexpr int kFragmentChars = 60;
inline constexpr int kNoChannel = -1;

class SentenceWriter {
  public:
    explicit SentenceWriter(bool interleave) : interleave_(interleave) {}

    // Appends the sentences of one message ("VDM" or "VDO"); channel 0 (A),
    // 1 (B) or kNoChannel. False when the message could not be encoded.
    bool write(const ais::AisMessage& message, std::string_view formatter, int channel,
               std::vector<std::string>& lines);
    // Same, for an already armoured payload.
    void writePayload(const ArmouredText& payload, std::string_view formatter, int channel,
                      std::vector<std::string>& lines);
    // Appends the fragments still held back.
    void flush(std::vector<std::string>& lines);

  private:
    bool interleave_;
    int sequence_ = 0;
    std::vector<std::string> pending_;
};

// Appends "*hh" and CR LF to a sentence body that starts with '$' or '!'.
std::string WithChecksum(std::string_view body);

}  // namespace norq::sim
