// Feeds arbitrary bytes, cut into lines, through the sentence intake, as live
// and as file lines.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ais/SentenceIntake.h"

namespace {

// Accepts every payload so the dispatch after decoding runs too.
struct AcceptAll : norq::ais::AisMessageHandler {
    int targetCount() const override { return 1; }
    bool onAisPayload(const norq::ais::AisPayload& p) override {
        volatile std::size_t n = p.payload.size();
        (void)n;
        return true;
    }
    void clearDecodedMessage() override {}
    void UpdateAfterAisMessage(int) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static norq::codec::SentenceCodec codec;  // large; reused across inputs
    AcceptAll handler;
    norq::ais::ManualClock clock;  // live fragments expire by it
    norq::ais::SentenceIntake intake(codec, {&handler, nullptr, nullptr, nullptr, nullptr}, &clock);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    while (start <= bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string line(bytes.substr(start, end - start));
        if (line.size() < 120) line += "\r\n";
        // Odd lengths as from a live link, even ones as from a file (tag
        // blocks, station fields, comments).
        intake.ReceiveLine(line, (line.size() & 1) != 0);
        clock.advance(static_cast<std::int64_t>(line.size() % 3));
        start = end + 1;
    }
    return 0;
}
