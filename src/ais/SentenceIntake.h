// The sentence intake: every received line, from a sensor port or from the
// replay, goes through ReceiveLine to the codec, the fragment assembly and
// the part of the system it concerns.
//
// Lines come from a live link (fromLivePort true), which keeps strict framing,
// or from a file: a recording replayed in the viewer or read by the command
// line tool. File lines may carry what logging programs and shore networks add
// around a sentence (tag blocks before it, station fields after its checksum,
// see codec/ArchiveLine.h); the sentence is taken out of them and its receive
// time kept.
#pragma once

#include <cstdint>
#include <string_view>

#include "ais/Clock.h"
#include "ais/FragmentAssembly.h"
#include "ais/IntakeInterfaces.h"
#include "codec/SentenceCodec.h"

namespace norq::ais {

class SentenceIntake {
  public:
    // `clock` times out the fragments of live multi-sentence messages; without
    // one they expire only when the message is restarted or its slot reused.
    explicit SentenceIntake(codec::SentenceCodec& codec, IntakeConnections connections = {},
                            const Clock* clock = nullptr)
        : codec_(codec), connections_(connections), clock_(clock) {}

    void connect(IntakeConnections connections) { connections_ = connections; }
    const IntakeConnections& connections() const { return connections_; }
    void setClock(const Clock* clock) { clock_ = clock; }

    void ReceiveLine(std::string_view line, bool fromLivePort);

    // Why the last line was refused by the codec (Ok when it was accepted).
    codec::ParseStatus lastStatus() const { return lastStatus_; }
    // Unix seconds at which the file says the last line was received, or
    // codec::kNoReceiveTime (always for live lines).
    std::int64_t lastReceiveTime() const { return receiveTime_; }
    const FragmentAssembly& assembly() const { return assembly_; }
    codec::SentenceCodec& codec() { return codec_; }

  private:
    // Joins and decodes a VDM/VDO/ABM/BBM fragment; false ends the line.
    bool assembleAndDecode(const codec::SentenceRecord& record, bool live);
    // A file line's sentence, formed into `formed` when the file added text
    // around it. Returns the text to parse, or an empty view (status set).
    std::string_view takeFileLine(std::string_view line, char* formed, std::size_t capacity);
    void dispatch(const codec::SentenceRecord& record, std::string_view text, int countBefore);

    codec::SentenceCodec& codec_;
    IntakeConnections connections_;
    const Clock* clock_ = nullptr;
    FragmentAssembly assembly_;
    std::int64_t receiveTime_ = -1;
    codec::ParseStatus lastStatus_ = codec::ParseStatus::Ok;
};

}  // namespace norq::ais
