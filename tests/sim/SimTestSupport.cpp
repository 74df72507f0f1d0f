#include "SimTestSupport.h"

#include <gtest/gtest.h>

#include "ScenarioParser.h"
#include "SentenceWriter.h"
#include "ais/AisDecoder.h"
#include "codec/SentenceCodec.h"

namespace norq::sim::test {

Scenario SmallScenario(std::string_view extra) {
    Scenario s;
    std::vector<std::string> errors;
    const std::string text = std::string(kSmallScenario) + std::string(extra);
    EXPECT_TRUE(ParseScenario(text, s, errors)) << (errors.empty() ? "" : errors.front());
    return s;
}

LineBatch RunFor(Simulator& sim, double seconds) {
    LineBatch out;
    sim.advanceTo(seconds, out);
    return out;
}

std::vector<std::string> Texts(const LineBatch& batch, Device device) {
    std::vector<std::string> out;
    for (const TimedLine& l : batch) {
        if (l.device == device) out.push_back(l.text);
    }
    return out;
}

std::vector<Decoded> DecodeAis(const LineBatch& batch) {
    std::vector<Decoded> out;
    std::string payload;
    for (const TimedLine& l : batch) {
        if (l.device != Device::Transponder || l.text.rfind("!AIVD", 0) != 0) continue;
        codec::SentenceRecord r;
        if (codec::ParseSentence(l.text, r) != codec::ParseStatus::Ok) continue;
        const codec::Encapsulated* e = r.as<codec::Encapsulated>();
        if (e->number == 1) payload.clear();
        payload += e->payload;
        if (e->number != e->total) continue;
        Decoded d;
        d.own = r.is("VDO");
        d.time = l.time;
        if (ais::DecodeAisPayload(payload, e->fillBits, d.message)) out.push_back(d);
    }
    return out;
}

std::string Strip(std::string_view text) {
    std::string out(text.substr(0, text.find('@')));
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

std::string Sentence(std::string_view body) {
    return WithChecksum(body);
}

}  // namespace norq::sim::test
