// Feeds arbitrary bytes, in arbitrary pieces, to the line assembly and the raw
// recording of three links at once, and reads the input as a live source name.
// Checks what must hold for any input: a handed-over line is short, ends in
// CR LF and holds no other CR, LF or NUL.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "comm/LineAssembler.h"
#include "comm/LinkSource.h"
#include "comm/RawRecording.h"

namespace {

struct Check final : norq::comm::LineAssembler::Sink {
    void onLineEnded(std::string_view line, const norq::comm::LineOrigin&) override {
        if (line.size() > norq::comm::LineAssembler::kCapacity) std::abort();
    }
    void onSentenceLine(std::string_view line, const norq::comm::LineOrigin&) override {
        if (line.size() < 2 || line.size() > norq::comm::LineAssembler::kHandOverLimit + 1 ||
            line.substr(line.size() - 2) != "\r\n") {
            std::abort();
        }
        for (char c : line.substr(0, line.size() - 2)) {
            if (c == '\r' || c == '\n' || c == '\0') std::abort();
        }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using norq::comm::LineAssembler;
    using norq::comm::LinkKind;
    static norq::comm::RawRecording recording;
    if (!recording.isOpen()) recording.open("/dev/null");
    LineAssembler links[3] = {LineAssembler({0, LinkKind::Serial}),
                              LineAssembler({1, LinkKind::Serial}),
                              LineAssembler({0, LinkKind::Tcp})};
    Check check;
    std::size_t at = 0;
    while (at < size) {
        // One byte chooses the link and the length of the next piece.
        const std::uint8_t control = data[at++];
        const std::size_t length = std::min<std::size_t>(control >> 2, size - at);
        LineAssembler& link = links[(control & 3) % 3];
        const std::string_view piece(reinterpret_cast<const char*>(data + at), length);
        recording.write(link.origin(), piece);
        link.append(piece, check);
        if ((control & 3) == 3) link.endLine(check);
        at += length;
    }
    norq::comm::LinkSource source;
    std::string error;
    norq::comm::ParseLinkSource(std::string_view(reinterpret_cast<const char*>(data), size), source,
                                error);
    return 0;
}
