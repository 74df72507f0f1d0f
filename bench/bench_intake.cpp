// Sentences per second through the sentence intake: a realistic mix of one
// second of GNSS sentences and AIS traffic, single and two-sentence messages.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ais/SentenceIntake.h"

namespace {

std::string Line(const std::string& body, char start = '$') {
    unsigned sum = 0;
    for (char c : body)
        sum ^= static_cast<unsigned char>(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return start + body + tail;
}

std::vector<std::string> Mix() {
    std::vector<std::string> lines = {
        Line("GPGGA,120000.00,5100.000,N,00130.000,E,1,09,0.9,12.0,M,47.0,M,,"),
        Line("GPRMC,120000.00,A,5100.000,N,00130.000,E,12.5,045.0,150324,,,A"),
        Line("GPVTG,045.0,T,,M,12.5,N,23.2,K,A"),
        Line("GPGSA,A,3,02,05,07,09,13,16,20,29,,,,,1.6,0.9,1.3"),
        Line("GPGSV,2,1,08,02,45,120,44,05,30,060,40,07,62,300,45,09,12,200,33"),
        Line("GPGSV,2,2,08,13,20,330,36,16,55,010,42,20,08,150,30,29,40,250,41"),
        Line("HEHDT,046.2,T"),
    };
    for (int i = 0; i < 20; ++i) {
        lines.push_back(Line("AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0", '!'));
        lines.push_back(Line("AIVDM,1,1,,B,B52K>;h00Fc>jpUlNV@ikwpUoP06,0", '!'));
    }
    for (int i = 0; i < 3; ++i) {
        lines.push_back(Line("AIVDM,2,1," + std::to_string(i) +
                                 ",B,55P5TL01VIaAL@7WKO@mBplU@<PDhh000000001S;AJ::4A80?4i@E53,0",
                             '!'));
        lines.push_back(Line("AIVDM,2,2," + std::to_string(i) + ",B,1@0000000000000,2", '!'));
    }
    lines.push_back(Line("AIVDO,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0", '!'));
    return lines;
}

struct CountPayloads : norq::ais::AisMessageHandler {
    long payloads = 0;
    int targetCount() const override { return 1; }
    bool onAisPayload(const norq::ais::AisPayload&) override {
        ++payloads;
        return true;
    }
    void clearDecodedMessage() override {}
    void UpdateAfterAisMessage(int) override {}
};

void BM_IntakeCodecAndAssembly(benchmark::State& state) {
    const std::vector<std::string> lines = Mix();
    norq::codec::SentenceCodec codec;
    CountPayloads handler;
    norq::ais::SentenceIntake intake(codec, {&handler, nullptr, nullptr, nullptr, nullptr});
    for (auto _ : state) {
        for (const std::string& l : lines)
            intake.ReceiveLine(l, true);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(lines.size()));
    state.counters["payloads"] = static_cast<double>(handler.payloads);
}
BENCHMARK(BM_IntakeCodecAndAssembly);

// The same mix as file lines of a shore-network archive: a tag block before
// every sentence and station fields after it, taken out by the intake.
void BM_IntakeArchiveLines(benchmark::State& state) {
    std::vector<std::string> lines;
    for (std::string l : Mix()) {
        l.resize(l.size() - 2);
        lines.push_back("\\s:r003669945,c:1418169601*79\\" + l +
                        ",d-080,S2118,t050056.00,r003669946,1325394060\r\n");
    }
    norq::codec::SentenceCodec codec;
    CountPayloads handler;
    norq::ais::SentenceIntake intake(codec, {&handler, nullptr, nullptr, nullptr, nullptr});
    for (auto _ : state) {
        for (const std::string& l : lines)
            intake.ReceiveLine(l, false);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(lines.size()));
    state.counters["payloads"] = static_cast<double>(handler.payloads);
}
BENCHMARK(BM_IntakeArchiveLines);

}  // namespace

BENCHMARK_MAIN();
