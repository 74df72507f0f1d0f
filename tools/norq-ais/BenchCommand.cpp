// norq-ais bench: sentences per second through the full intake, and messages
// per second through decoding alone, on the lines of a file held in memory.
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Commands.h"
#include "LineReader.h"
#include "ais/AisDecoder.h"
#include "ais/RunState.h"

namespace norq::tool {

namespace {

// Collects the joined payloads the intake hands to the decoder.
struct PayloadCollector : ais::AisMessageHandler {
    std::vector<std::pair<std::string, int>> payloads;
    int targetCount() const override { return 1; }
    bool onAisPayload(const ais::AisPayload& p) override {
        payloads.emplace_back(std::string(p.payload), p.fillBits);
        return true;
    }
    void clearDecodedMessage() override {}
    void UpdateAfterAisMessage(int) override {}
};

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int RunBench(Args args) {
    std::FILE* in = OpenInput(args, 0);
    if (in == nullptr) return 1;
    std::vector<std::string> lines;
    LineReader reader(in);
    std::string line;
    while (reader.next(line))
        lines.push_back(line);
    CloseInput(in);
    if (lines.empty()) {
        std::fprintf(stderr, "norq-ais: no lines\n");
        return 1;
    }

    ais::SystemClock clock;
    auto state = std::make_unique<ais::RunState>(clock);
    auto start = std::chrono::steady_clock::now();
    for (const std::string& l : lines)
        state->ReceiveLine(l, false);
    const double intakeSeconds = Seconds(start);

    codec::SentenceCodec codec;
    PayloadCollector collector;
    ais::SentenceIntake joiner(codec, {&collector});
    for (const std::string& l : lines)
        joiner.ReceiveLine(l, false);
    ais::AisMessage message{};
    long decoded = 0;
    start = std::chrono::steady_clock::now();
    for (const auto& [payload, fill] : collector.payloads) {
        decoded += ais::DecodeAisPayload(payload, fill, message);
    }
    const double decodeSeconds = Seconds(start);

    std::printf("lines %zu, targets %d\n", lines.size(), state->tracker.targetCount() - 1);
    std::printf("full intake   %12.0f sentences/s (%.3f s)\n",
                static_cast<double>(lines.size()) / intakeSeconds, intakeSeconds);
    std::printf("decoding only %12.0f messages/s (%ld of %zu decoded, %.3f s)\n",
                static_cast<double>(collector.payloads.size()) / decodeSeconds, decoded,
                collector.payloads.size(), decodeSeconds);
    return 0;
}

}  // namespace norq::tool
