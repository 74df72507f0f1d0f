// The sentence intake: every received line, from a sensor port or from the
// replay, goes through ReceiveLine to the codec, the fragment assembly and
// the part of the system it concerns.
#pragma once

#include <cstdint>
#include <string_view>

#include "ais/FragmentAssembly.h"
#include "ais/IntakeInterfaces.h"
#include "codec/SentenceCodec.h"

namespace norq::ais {

class SentenceIntake {
  public:
    explicit SentenceIntake(codec::SentenceCodec& codec, IntakeConnections connections = {})
        : codec_(codec), connections_(connections) {}

    void connect(IntakeConnections connections) { connections_ = connections; }

    void ReceiveLine(std::string_view line, bool fromLivePort);

    // Why the last line was refused by the codec (Ok when it was accepted).
    codec::ParseStatus lastStatus() const { return lastStatus_; }
    const FragmentAssembly& assembly() const { return assembly_; }
    codec::SentenceCodec& codec() { return codec_; }

  private:
    // Joins and decodes a VDM/VDO/ABM/BBM fragment; false ends the line.
    bool assembleAndDecode(const codec::SentenceRecord& record);
    void dispatch(const codec::SentenceRecord& record, std::string_view text, int countBefore);

    codec::SentenceCodec& codec_;
    IntakeConnections connections_;
    FragmentAssembly assembly_;
    codec::ParseStatus lastStatus_ = codec::ParseStatus::Ok;
};

}  // namespace norq::ais
