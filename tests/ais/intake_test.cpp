// The sentence intake: line selection, fragment assembly and dispatch, with
// fakes that record what the rest of the system is asked to do.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "TrackerFakes.h"
#include "ais/AisEncoder.h"
#include "ais/RunState.h"
#include "ais/SentenceIntake.h"
#include "codec/SentenceLines.h"
#include "support/CountingAllocator.h"

using namespace norq::ais;
using norq::test::Checksummed;

namespace {

struct Recorder : AisMessageHandler,
                  GnssHandler,
                  TransmitterHandler,
                  ProprietaryHandler,
                  IdentificationHandler {
    struct Payload {
        std::string text;
        int fillBits;
        int channel;
        bool channelPresent;
        bool own;
    };
    std::vector<Payload> payloads;
    std::vector<std::string> calls;
    std::vector<int> countsBefore;
    int count = 1;
    bool waiting = false;
    std::string undecodable = "BAD";

    int targetCount() const override { return count; }
    bool onAisPayload(const AisPayload& p) override {
        payloads.push_back(
            {std::string(p.payload), p.fillBits, p.channelIndex, p.channelPresent, p.own});
        return std::string(p.payload).find(undecodable) == std::string::npos;
    }
    void clearDecodedMessage() override { calls.push_back("clear"); }
    void UpdateAfterAisMessage(int before) override {
        calls.push_back("after");
        countsBefore.push_back(before);
    }
    void UpdateOwnShipFromGnss() override { calls.push_back("gnss"); }
    void OnOwnShipReport() override { calls.push_back("ownReport"); }
    void OnTransmitterReport() override { calls.push_back("transmitter"); }
    void OnMobSentence() override { calls.push_back("mob"); }
    void OnMarkerSentence() override { calls.push_back("marker"); }
    bool waitingForIdentification() const override { return waiting; }
    void onIdentificationLine(std::string_view line) override {
        calls.push_back("id:" + std::string(line.substr(0, 12)));
    }
    void onProductInfo(const norq::codec::ProductInfoBlock& b) override {
        calls.push_back("product:" + std::string(b.modelNumber()));
    }
};

struct IntakeTest : ::testing::Test {
    norq::codec::SentenceCodec codec;
    Recorder rec;
    SentenceIntake intake{codec, {&rec, &rec, &rec, &rec, &rec}};

    void vdm(const std::string& body, bool live = false) {
        intake.ReceiveLine(Checksummed(body, '!'), live);
    }
    void line(const std::string& body, bool live = false) {
        intake.ReceiveLine(Checksummed(body), live);
    }
};

}  // namespace

TEST_F(IntakeTest, SingleSentenceMessageIsDecodedAndDispatched) {
    vdm("AIVDM,1,1,,B,13aEOK?P00PD2wVMdLDRhgvL289?,0");
    ASSERT_EQ(rec.payloads.size(), 1u);
    EXPECT_EQ(rec.payloads[0].text, "13aEOK?P00PD2wVMdLDRhgvL289?");
    EXPECT_EQ(rec.payloads[0].channel, 1);
    EXPECT_TRUE(rec.payloads[0].channelPresent);
    EXPECT_FALSE(rec.payloads[0].own);
    EXPECT_EQ(rec.calls, (std::vector<std::string>{"after"}));
    EXPECT_EQ(rec.countsBefore, (std::vector<int>{1}));
}

TEST_F(IntakeTest, TwoSentenceMessageTakesFillBitsOfTheLastSentence) {
    vdm("AIVDM,2,1,3,A,55P5TL01VIaAL@7WKO@mBplU@<PDhh000000001S;AJ::4A80?4i@E53,0");
    EXPECT_TRUE(rec.payloads.empty());
    EXPECT_TRUE(rec.calls.empty());  // an incomplete message ends the line
    vdm("AIVDM,2,2,3,A,1@0000000000000,2");
    ASSERT_EQ(rec.payloads.size(), 1u);
    EXPECT_EQ(rec.payloads[0].text.size(), 71u);
    EXPECT_EQ(rec.payloads[0].fillBits, 2);
}

TEST_F(IntakeTest, MessageOfNoSentencesIsNeverDecoded) {
    vdm("AIVDM,0,1,,B,13aEOK?P00PD2wVMdLDRhgvL289?,0");
    vdm("AIVDM,0,1,1,B,AAAA,0");
    vdm("AIVDM,0,2,1,B,aaaa,0");
    vdm("AIVDM,1,0,,B,13aEOK?P00PD2wVMdLDRhgvL289?,0");
    vdm("AIVDM,1,2,,B,13aEOK?P00PD2wVMdLDRhgvL289?,0");
    EXPECT_TRUE(rec.payloads.empty());
    EXPECT_TRUE(rec.calls.empty());
}

TEST_F(IntakeTest, SecondSentenceFirstIsDropped) {
    vdm("AIVDM,2,2,3,A,1@0000000000000,2");
    vdm("AIVDM,2,1,3,A,55P5TL01VIaAL@7WKO@mBplU@<PDhh000000001S;AJ::4A80?4i@E53,0");
    EXPECT_TRUE(rec.payloads.empty());
    vdm("AIVDM,2,2,3,A,1@0000000000000,2");
    EXPECT_EQ(rec.payloads.size(), 1u);
    EXPECT_EQ(intake.assembly().droppedFragments(), 1u);
}

TEST_F(IntakeTest, InterleavedMessagesAreAssembledSideBySide) {
    vdm("AIVDM,2,1,1,A,AAAA,0");
    vdm("AIVDM,2,1,2,A,BBBB,0");
    vdm("AIVDM,1,1,,B,CCCC,0");  // a single message in between
    vdm("AIVDM,2,2,1,A,aaaa,2");
    vdm("AIVDM,2,2,2,A,bbbb,4");
    ASSERT_EQ(rec.payloads.size(), 3u);
    EXPECT_EQ(rec.payloads[0].text, "CCCC");
    EXPECT_EQ(rec.payloads[1].text, "AAAAaaaa");
    EXPECT_EQ(rec.payloads[1].fillBits, 2);
    EXPECT_EQ(rec.payloads[2].text, "BBBBbbbb");
    EXPECT_EQ(rec.payloads[2].fillBits, 4);
}

TEST_F(IntakeTest, SameSequentialIdOnTheOtherChannelIsAnotherMessage) {
    vdm("AIVDM,2,1,1,A,AAAA,0");
    vdm("AIVDM,2,1,1,B,BBBB,0");
    vdm("AIVDM,2,2,1,B,bbbb,0");
    vdm("AIVDM,2,2,1,A,aaaa,0");
    ASSERT_EQ(rec.payloads.size(), 2u);
    EXPECT_EQ(rec.payloads[0].text, "BBBBbbbb");
    EXPECT_EQ(rec.payloads[1].text, "AAAAaaaa");
}

TEST_F(IntakeTest, OutOfOrderFragmentClearsItsMessage) {
    vdm("AIVDM,3,1,4,A,AAAA,0");
    vdm("AIVDM,3,3,4,A,cccc,0");  // sentence 2 missing: slot cleared
    vdm("AIVDM,3,2,4,A,bbbb,0");
    vdm("AIVDM,3,3,4,A,cccc,0");
    EXPECT_TRUE(rec.payloads.empty());
    // Every fragment is counted as lost: the first two with the message
    // the third broke, the last two each on its own.
    EXPECT_EQ(intake.assembly().droppedFragments(), 4u);
}

TEST_F(IntakeTest, JoinLongerThan175CharactersIsDropped) {
    const std::string p60(60, 'w');
    vdm("AIVDM,3,1,5,A," + p60 + ",0");
    vdm("AIVDM,3,2,5,A," + p60 + ",0");
    vdm("AIVDM,3,3,5,A," + p60 + ",0");
    EXPECT_TRUE(rec.payloads.empty());
    // The slot was cleared: a new message with the same id assembles cleanly.
    vdm("AIVDM,2,1,5,A,AAAA,0");
    vdm("AIVDM,2,2,5,A,aaaa,0");
    ASSERT_EQ(rec.payloads.size(), 1u);
    EXPECT_EQ(rec.payloads[0].text, "AAAAaaaa");
}

TEST_F(IntakeTest, BinaryBroadcastSlotsDoNotRunOut) {
    for (int i = 0; i < 25; ++i) {
        vdm("AIBBM,2,1," + std::to_string(i % 10) + ",0,8,AAAA,0");
        vdm("AIBBM,2,2," + std::to_string(i % 10) + ",0,8,aaaa,0");
    }
    EXPECT_TRUE(rec.payloads.empty());  // never decoded
    int complete = 0;
    for (int i = 0; i < kAssemblySlots; ++i) {
        complete += intake.assembly().slot(FragmentKind::Bbm, i).complete;
    }
    EXPECT_EQ(complete, kAssemblySlots);
    vdm("AIBBM,2,1,3,0,8,ZZZZ,0");  // still accepted after the ring filled
    bool started = false;
    for (int i = 0; i < kAssemblySlots; ++i) {
        const AssemblySlot& s = intake.assembly().slot(FragmentKind::Bbm, i);
        started |= s.inUse && !s.complete && s.payloadText() == "ZZZZ";
    }
    EXPECT_TRUE(started);
}

TEST_F(IntakeTest, EmptyChannelAndOwnReports) {
    vdm("AIVDM,1,1,,,13aEOK?P00PD2wVMdLDRhgvL289?,0");
    ASSERT_EQ(rec.payloads.size(), 1u);
    EXPECT_FALSE(rec.payloads[0].channelPresent);

    rec.calls.clear();
    vdm("AIVDO,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0");
    EXPECT_EQ(rec.calls, (std::vector<std::string>{"ownReport", "after"}));
    ASSERT_EQ(rec.payloads.size(), 2u);
    EXPECT_TRUE(rec.payloads[1].own);
    EXPECT_EQ(rec.payloads[1].channel, 0);

    rec.calls.clear();
    line("AITXT,01,01,01,!AIVDO report");  // a text quoting a report is no report
    vdm("ABVDO,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0");
    EXPECT_EQ(rec.calls, (std::vector<std::string>{"clear", "after", "after"}));

    rec.calls.clear();
    vdm("AIVDO,2,1,1,B,AAAA,0");   // first fragment only
    vdm("AIVDO,1,1,,B,BADBAD,0");  // does not decode
    EXPECT_TRUE(rec.calls.empty());
}

TEST_F(IntakeTest, GnssAndChecksum) {
    const std::string rmc = Checksummed("GPRMC,120003,A,5100.0,N,00100.0,E,5.0,90.0,310124,,,A");
    intake.ReceiveLine(rmc, true);
    EXPECT_EQ(rec.calls, (std::vector<std::string>{"clear", "gnss"}));
    EXPECT_TRUE(codec.gnss().positionValid);

    norq::codec::SentenceCodec fresh;
    SentenceIntake other(fresh, {&rec, &rec, &rec, &rec, &rec});
    rec.calls.clear();
    std::string bad = rmc;
    bad[bad.size() - 3] = bad[bad.size() - 3] == '0' ? '1' : '0';
    other.ReceiveLine(bad, true);
    EXPECT_TRUE(rec.calls.empty());
    EXPECT_FALSE(fresh.gnss().positionValid);
}

TEST_F(IntakeTest, LinesAreFoundAfterNoiseAndTooLongOnesDropped) {
    intake.ReceiveLine("xx\x01" + Checksummed("HEHDT,10.0,T"), false);
    EXPECT_TRUE(codec.heading().headingValid);
    const std::string longLine = std::string(101 - 18, ' ') + Checksummed("HEHDT,20.0,T");
    ASSERT_EQ(longLine.size(), 101u);
    intake.ReceiveLine(longLine, false);
    EXPECT_DOUBLE_EQ(codec.heading().heading, 10.0);
    intake.ReceiveLine("no start character\r\n", false);
    EXPECT_EQ(intake.lastStatus(), norq::codec::ParseStatus::Framing);
}

TEST_F(IntakeTest, TransponderSentencesRunTheUpdateAfterwards) {
    rec.count = 7;
    line("AIALR,120000.00,006,A,V,AIS: general failure");
    EXPECT_EQ(rec.calls, (std::vector<std::string>{"clear", "after"}));
    EXPECT_EQ(rec.countsBefore, (std::vector<int>{7}));
}

TEST_F(IntakeTest, OnlyCompleteVdmAndVdoGoOnPastTheAssembly) {
    rec.count = 3;
    vdm("AIABM,1,1,0,211000001,1,12,<5?SIT`,0");  // complete, never decoded
    vdm("AIBBM,2,1,1,0,8,AAAA,0");
    vdm("AIBBM,2,2,1,0,8,aaaa,0");
    vdm("AIABK,211000001,B,12,3,0");  // other encapsulated sentences end too
    EXPECT_TRUE(rec.payloads.empty());
    EXPECT_TRUE(rec.calls.empty());
    EXPECT_EQ(codec.transponder().bbm.number, 2);  // but each was stored

    // A VDM framed as a parametric sentence is stored and dispatched, not decoded.
    line("AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0");
    EXPECT_TRUE(rec.payloads.empty());
    EXPECT_EQ(rec.calls, (std::vector<std::string>{"clear", "after"}));
    EXPECT_EQ(rec.countsBefore, (std::vector<int>{3}));
}

TEST_F(IntakeTest, ProprietaryDispatch) {
    line("PMOB,0A1B2C,1,02,C8,");
    line("PKRV,R,MRK,2,5,3,25123456,-121500000,BUOY 1,1,");
    line("PKRV,R,KRV,30,1,,Tx On");
    line("PMID,211000001,");
    EXPECT_EQ(rec.calls, (std::vector<std::string>{"clear", "mob", "clear", "marker", "clear",
                                                   "transmitter", "clear"}));
}

TEST_F(IntakeTest, IdentificationSeesLiveLinesFirstAndProductInfoIsShown) {
    line("HEHDT,10.0,T", true);
    EXPECT_EQ(rec.calls.front(), "clear");
    rec.waiting = true;
    rec.calls.clear();
    intake.ReceiveLine("[STATIC DATA]\r\n", true);
    intake.ReceiveLine("[MKD]=2\r\n", false);  // replayed lines are not identification
    intake.ReceiveLine(std::string(150, '[') + "\r\n", true);  // seen before the length check
    EXPECT_EQ(rec.calls, (std::vector<std::string>{"id:[STATIC DATA", "id:[[[[[[[[[[[["}));

    rec.waiting = false;
    rec.calls.clear();
    intake.ReceiveLine("$PKRV,R,TXT,PROD. INFO. BEGIN*79\r\n", true);
    line("PKRV,R,TXT,MODEL NO.=NQ-100", true);
    line("PKRV,R,TXT,PROD. INFO. END", true);
    EXPECT_EQ(rec.calls.back(), "product:NQ-100");
}

namespace {

// One armoured type-1 report of a station, as a single VDM sentence.
std::string PositionLine(std::uint32_t mmsi, double lon, double lat) {
    AisBitBuffer bits;
    EXPECT_TRUE(PackAisMessage(norq::test::PositionReport(mmsi, lon, lat), bits));
    const ArmouredPayload p = ArmourPayload(bits);
    return Checksummed("AIVDM,1,1,,A," + std::string(p.view()) + "," + std::to_string(p.fillBits),
                       '!');
}

// Lines of every kind the intake meets, good and bad.
std::vector<std::string> TrafficMix() {
    std::vector<std::string> lines;
    for (std::uint32_t i = 0; i < 60; ++i)
        lines.push_back(PositionLine(211000000 + i, 10.0 + i * 0.01, 54.0 + i * 0.01));
    for (const char* gnss :
         {"GPGGA,120000.00,5400.000,N,01000.000,E,1,09,0.9,12.0,M,47.0,M,,",
          "GPRMC,120000.00,A,5400.000,N,01000.000,E,12.5,045.0,150324,,,A",
          "GPVTG,045.0,T,,M,12.5,N,23.2,K,A", "GPGSA,A,3,02,05,07,09,13,16,20,29,,,,,1.6,0.9,1.3",
          "GPGSV,2,1,08,02,45,120,44,05,30,060,40,07,62,300,45,09,12,200,33",
          "GPZDA,120000.00,15,03,2024,00,00", "GPGLL,5400.000,N,01000.000,E,,A,A", "HEHDT,046.2,T",
          "AIALR,120000.00,006,A,V,AIS: general failure", "AITXT,01,01,01,TEXT",
          "PMOB,0A1B2C,1,02,C8,0A0B0C", "PKRV,R,MRK,2,5,3,25123456,-121500000,BUOY 1,1,",
          "PKRV,R,KRV,30,0,1,", "AIGPQ,RMC", "GPXYZ,1,2"}) {
        lines.push_back(Checksummed(gnss));
    }
    for (const char* ais :
         {"AIVDM,2,1,3,B,55P5TL01VIaAL@7WKO@mBplU@<PDhh000000001S;AJ::4A80?4i@E53,0",
          "AIVDM,2,2,3,B,1@0000000000000,2", "AIVDM,1,1,,B,B52K>;h00Fc>jpUlNV@ikwpUoP06,0",
          "AIVDO,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0", "AIABM,1,1,0,211000001,1,12,<5?SIT`,0",
          "AIBBM,1,1,,0,8,<5?SIT`,2", "AIVDM,1,1,,A,BADBAD,0"}) {
        lines.push_back(Checksummed(ais, '!'));
    }
    lines.push_back("$PKRV,R,TXT,PROD. INFO. BEGIN*79\r\n");
    lines.push_back(Checksummed("PKRV,R,TXT,MODEL NO.=NQ-100"));
    lines.push_back(Checksummed("PKRV,R,TXT,PROD. INFO. END"));
    lines.push_back("$GPHDT,10.0,T*00\r\n");  // bad checksum
    lines.push_back("noise without a start character\r\n");
    lines.push_back(std::string(120, '$'));
    return lines;
}

}  // namespace

TEST(IntakeAllocation, NothingIsAllocatedPerLine) {
    ManualClock clock;
    auto state = std::make_unique<RunState>(clock);
    const std::vector<std::string> lines = TrafficMix();
    for (const std::string& l : lines)
        state->ReceiveLine(l, true);
    ASSERT_GT(state->tracker.table().count(), 60);

    const long before = norq::test::gAllocations.load();
    ASSERT_GT(before, 0);  // the counter sees the allocations of the set-up
    for (int round = 0; round < 20; ++round) {
        clock.advance(1);
        for (const std::string& l : lines)
            state->ReceiveLine(l, round % 2 == 0);
    }
    EXPECT_EQ(norq::test::gAllocations.load() - before, 0)
        << "over " << 20 * lines.size() << " lines";
}
