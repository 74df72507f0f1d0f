// What goes out on the lines: every sentence well formed and decodable by the
// viewer's own codec and decoder, lost and damaged lines as configured.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "SimTestSupport.h"
#include "ais/AisDecoder.h"
#include "ais/SentenceIntake.h"
#include "codec/SentenceCodec.h"

namespace norq::sim {
namespace {

TEST(Output, EveryLineParsesAndEveryMessageTypeDecodes) {
    Simulator sim(test::SmallScenario());
    const LineBatch all = test::RunFor(sim, 400);
    double last = 0.0;
    for (const TimedLine& l : all) {
        EXPECT_GE(l.time, last);
        last = l.time;
        ASSERT_GE(l.text.size(), 2u);
        EXPECT_EQ(l.text.substr(l.text.size() - 2), "\r\n");
        EXPECT_LE(l.text.size(), 82u) << l.text;  // the longest line the viewer keeps
        codec::SentenceRecord r;
        EXPECT_EQ(codec::ParseSentence(l.text, r), codec::ParseStatus::Ok) << l.text;
    }
    std::set<int> types;
    for (const test::Decoded& d : test::DecodeAis(all))
        types.insert(d.message.messageId);
    EXPECT_EQ(types, (std::set<int>{1, 4, 5, 9, 12, 14, 18, 21, 22, 24}));
}

TEST(Output, InterleavedFragmentsStillJoinInTheViewersIntake) {
    Simulator sim(test::SmallScenario("[scenario]\ninterleave = yes\n"));
    const LineBatch all = test::RunFor(sim, 400);
    // Find a second fragment that does not directly follow its first.
    bool interleaved = false;
    for (std::size_t i = 1; i < all.size(); ++i) {
        if (all[i].text.rfind("!AIVDM,2,2,", 0) == 0 &&
            all[i - 1].text.rfind("!AIVDM,2,1,", 0) != 0)
            interleaved = true;
    }
    EXPECT_TRUE(interleaved);
    // Through the viewer's intake: every message decodes, the two-sentence ones too.
    struct Counter : ais::AisMessageHandler {
        int targetCount() const override { return 0; }
        bool onAisPayload(const ais::AisPayload& p) override {
            ais::AisMessage m;
            if (!ais::DecodeAisPayload(p.payload, p.fillBits, m)) return false;
            ++decoded[m.messageId];
            return true;
        }
        void clearDecodedMessage() override {}
        void UpdateAfterAisMessage(int) override {}
        std::map<int, int> decoded;
    } counter;
    codec::SentenceCodec codec;
    ais::IntakeConnections connections;
    connections.ais = &counter;
    ais::SentenceIntake intake(codec, connections);
    int refused = 0;
    for (const TimedLine& l : all) {
        intake.ReceiveLine(l.text, false);
        if (intake.lastStatus() != codec::ParseStatus::Ok) ++refused;
    }
    EXPECT_EQ(refused, 0);
    // Every class A vessel's static data (two sentences each) came through whole.
    int fives = 0;
    for (const TimedLine& l : all)
        fives += l.text.rfind("!AIVDM,2,1,", 0) == 0 || l.text.rfind("!AIVDO,2,1,", 0) == 0;
    int joined = 0;
    for (const auto& [type, n] : counter.decoded) {
        if (type == 5 || type == 12 || type == 14) joined += n;
    }
    EXPECT_GE(joined, fives);
}

TEST(Output, LosesAndDamagesLinesAtTheConfiguredRates) {
    Simulator sim(test::SmallScenario("[scenario]\nmessage_loss = 0.2\ndamaged_lines = 0.05\n"));
    Simulator clean(test::SmallScenario());
    const LineBatch noisy = test::RunFor(sim, 400);
    const LineBatch reference = test::RunFor(clean, 400);
    std::size_t vdmNoisy = 0, vdmClean = 0, bad = 0, total = 0;
    for (const TimedLine& l : noisy) {
        codec::SentenceRecord r;
        const bool ok = codec::ParseSentence(l.text, r) == codec::ParseStatus::Ok;
        if (!ok) ++bad;
        if (l.device != Device::CrewWatch) ++total;
        if (l.text.rfind("!AIVDM", 0) == 0) ++vdmNoisy;
    }
    for (const TimedLine& l : reference)
        vdmClean += l.text.rfind("!AIVDM", 0) == 0;
    const double kept = static_cast<double>(vdmNoisy) / static_cast<double>(vdmClean);
    EXPECT_NEAR(kept, 0.8, 0.05);
    EXPECT_NEAR(static_cast<double>(bad) / static_cast<double>(total), 0.05, 0.015);
    EXPECT_GT(sim.transponder().lostMessages(), 0);
}

}  // namespace
}  // namespace norq::sim
