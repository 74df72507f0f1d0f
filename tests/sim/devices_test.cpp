// The three devices answering what the viewer sends them, and what they
// report unasked.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "SimTestSupport.h"
#include "codec/SentenceCodec.h"

namespace norq::sim {
namespace {

using test::Sentence;

bool Contains(const std::vector<std::string>& lines, std::string_view text) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.find(text) != std::string::npos; });
}

LineBatch Send(Simulator& sim, Device device, const std::string& body) {
    LineBatch out;
    sim.receiveLine(device, Sentence(body), out);
    return out;
}

TEST(Transponder, AnswersTheIdentificationQueriesWithItsProductInformation) {
    Simulator sim(test::SmallScenario());
    test::RunFor(sim, 3);
    // The identification's test query (TST, code 17) and the debug query (DBG, 99).
    const LineBatch answer = Send(sim, Device::Transponder, "$PTST,,,,,00017");
    const LineBatch again = Send(sim, Device::Transponder, "$PDBG,099,,,,,,,");
    EXPECT_TRUE(again.empty());  // one block for the pair of queries
    const std::vector<std::string> lines = test::Texts(answer, Device::Transponder);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "$PKRV,R,TXT,PROD. INFO. BEGIN*79\r\n");
    codec::SentenceCodec codec;
    bool complete = false;
    for (const std::string& l : lines)
        complete =
            complete || codec.productInfo().offer(l) == codec::ProductInfoBlock::Result::Complete;
    ASSERT_TRUE(complete);
    EXPECT_EQ(codec.productInfo().modelNumber(), "NQ-TEST");
    EXPECT_EQ(codec.productInfo().serialNumber(), "12345678");
    EXPECT_EQ(codec.productInfo().firmware(), "9.8.7");
    EXPECT_EQ(codec.productInfo().baudRate(), "38400");
    // The TCP keep-alive query a second later gets the block again.
    test::RunFor(sim, 5);
    EXPECT_FALSE(Send(sim, Device::Transponder, "$PKRV,Q,KRV,,,,").empty());
}

TEST(Transponder, StaticDataAndMkd2KindsAnswerWithTheStaticDataBlock) {
    Simulator staticKind(test::SmallScenario("[transponder]\nidentification = static-data\n"));
    const auto a =
        test::Texts(Send(staticKind, Device::Transponder, "$PTST,,,,,00016"), Device::Transponder);
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(a.front(), "[STATIC DATA]\r\n");
    EXPECT_TRUE(Contains(a, "[END OF STATIC DATA]"));
    EXPECT_TRUE(Contains(a, "MMSI=235000001"));
    EXPECT_FALSE(Contains(a, "[MKD]=2"));

    Simulator mkd2(test::SmallScenario("[transponder]\nidentification = mkd2\n"));
    const auto b =
        test::Texts(Send(mkd2, Device::Transponder, "$PDBG,099,,,,,,,"), Device::Transponder);
    const auto mkd = std::find(b.begin(), b.end(), "[MKD]=2\r\n");
    const auto end = std::find(b.begin(), b.end(), "[DEVICE DATA END]\r\n");
    ASSERT_NE(mkd, b.end());
    EXPECT_LT(mkd, end);  // the kind is read before the block ends

    Simulator none(test::SmallScenario("[transponder]\nidentification = none\n"));
    EXPECT_TRUE(Send(none, Device::Transponder, "$PTST,,,,,00017").empty());
}

TEST(Transponder, ReportsItsTransmitterStateAndFallsSilent) {
    Simulator sim(test::SmallScenario());
    test::RunFor(sim, 2);
    const auto report =
        test::Texts(Send(sim, Device::Transponder, "$PDBG,030,1,,-100000,,-100000,,-100000"),
                    Device::Transponder);
    ASSERT_EQ(report.size(), 1u);
    codec::SentenceRecord r;
    ASSERT_EQ(codec::ParseSentence(report[0], r), codec::ParseStatus::Ok) << report[0];
    ASSERT_TRUE(r.is("KRV"));
    EXPECT_EQ(r.subtype, 'R');
    const codec::Krv* krv = r.as<codec::Krv>();
    EXPECT_EQ(krv->numbers[0], 30);
    EXPECT_EQ(krv->numbers[1], 0);
    EXPECT_EQ(krv->numbers[2], 1);
    EXPECT_TRUE(sim.transponder().silent());
    // Silent: no own VDO, while the VDM of the others go on.
    const LineBatch quiet = test::RunFor(sim, 12);
    for (const TimedLine& l : quiet)
        EXPECT_EQ(l.text.find("!AIVDO"), std::string::npos);
    EXPECT_FALSE(test::DecodeAis(quiet).empty());
    Send(sim, Device::Transponder, "$PDBG,030,0,,-100000,,-100000,,-100000");
    EXPECT_TRUE(Contains(test::Texts(test::RunFor(sim, 14), Device::Transponder), "!AIVDO"));
    // The lantern command is taken without a reply.
    EXPECT_TRUE(Send(sim, Device::Transponder, "$PDBG,300,2,,-100000,,-100000,,-100000").empty());
    EXPECT_EQ(sim.transponder().lanternMode(), 2);
}

codec::Mrk ParseMarker(const std::string& line) {
    codec::SentenceRecord r;
    EXPECT_EQ(codec::ParseSentence(line, r), codec::ParseStatus::Ok) << line;
    EXPECT_EQ(r.subtype, 'R');
    const codec::Mrk* m = r.as<codec::Mrk>();
    return m != nullptr ? *m : codec::Mrk{};
}

TEST(Transponder, KeepsMarkersExchangedWithMrk) {
    Simulator sim(test::SmallScenario("[marker FIRST]\nposition = 51.5 1.25\n"));
    auto added =
        test::Texts(Send(sim, Device::Transponder, "$PKRV,C,MRK,1,1,-1,51100000,1400000,BUOY,1,"),
                    Device::Transponder);
    ASSERT_EQ(added.size(), 1u);
    codec::Mrk m = ParseMarker(added[0]);
    EXPECT_EQ(m.operation, 1);
    EXPECT_EQ(m.count, 2);
    EXPECT_EQ(m.deviceIndex, 1);
    EXPECT_EQ(m.latitude, 51100000);
    EXPECT_STREQ(m.name, "BUOY");
    EXPECT_TRUE(
        Send(sim, Device::Transponder, "$PKRV,C,MRK,9,1,-1,51100000,1400000,BUOY,1,").empty());

    const auto list = test::Texts(Send(sim, Device::Transponder, "$PKRV,Q,MRK,0,1024,1024,0,0,,1,"),
                                  Device::Transponder);
    ASSERT_EQ(list.size(), 2u);
    m = ParseMarker(list[0]);
    EXPECT_EQ(m.operation, 5);
    EXPECT_EQ(m.count, 2);
    EXPECT_EQ(m.deviceIndex, 0);
    EXPECT_EQ(m.latitude, 51500000);
    EXPECT_EQ(m.longitude, 1250000);
    EXPECT_STREQ(m.name, "FIRST");

    m = ParseMarker(
        test::Texts(Send(sim, Device::Transponder, "$PKRV,C,MRK,2,2,1,51200000,1400000,MOVED,1,"),
                    Device::Transponder)[0]);
    EXPECT_EQ(m.operation, 2);
    EXPECT_STREQ(m.name, "MOVED");
    m = ParseMarker(test::Texts(Send(sim, Device::Transponder, "$PKRV,C,MRK,3,2,0,0,0,,1,"),
                                Device::Transponder)[0]);
    EXPECT_EQ(m.operation, 3);
    EXPECT_EQ(m.latitude, 51500000);  // the position of the marker removed
    ASSERT_EQ(sim.transponder().markers().size(), 1u);
    EXPECT_EQ(sim.transponder().markers()[0].name, "MOVED");
    // An index outside the list changes nothing.
    EXPECT_TRUE(Send(sim, Device::Transponder, "$PKRV,C,MRK,3,1,7,0,0,,1,").empty());
}

TEST(Transponder, TransmitsBbmAndAbmAndReportsThemBackAsVdo) {
    Simulator sim(test::SmallScenario());
    test::RunFor(sim, 2);
    // "TEST" as a safety broadcast: one armoured character per letter.
    const LineBatch srm = Send(sim, Device::Transponder, "!AIBBM,1,1,0,0,14,D5CD,0");
    const std::vector<test::Decoded> own = test::DecodeAis(srm);
    ASSERT_EQ(own.size(), 1u);
    EXPECT_TRUE(own[0].own);
    EXPECT_EQ(own[0].message.messageId, 14);
    EXPECT_EQ(own[0].message.mmsi, 235000001u);
    EXPECT_EQ(test::Strip(own[0].message.safetyBroadcast.text.data()), "TEST");
    EXPECT_TRUE(Contains(test::Texts(srm, Device::Transponder), "$AIABK,,A,14,0,3*"));

    // Binary broadcast in two sentences: DAC 1, FI 22 and some data.
    Send(sim, Device::Transponder, "!AIBBM,2,1,3,2,8,05H" + std::string(55, '0') + ",0");
    const LineBatch bin = Send(sim, Device::Transponder, "!AIBBM,2,2,3,2,8,000,2");
    const std::vector<test::Decoded> b = test::DecodeAis(bin);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_EQ(b[0].message.messageId, 8);
    EXPECT_EQ(b[0].message.binaryBroadcast.dataBits, (58 + 3) * 6 - 2);
    EXPECT_EQ(b[0].message.binaryBroadcast.data[0], 0x00);
    EXPECT_EQ(b[0].message.binaryBroadcast.data[1], 0x56);  // DAC 1 then FI 22: 0000000001 010110
    EXPECT_NE(test::Texts(bin, Device::Transponder)[0].find(",B,"), std::string::npos);

    // An addressed safety message to a station of the traffic is acknowledged.
    const LineBatch abm = Send(sim, Device::Transponder, "!AIABM,1,1,1,244000001,1,12,D5CD,0");
    const std::vector<test::Decoded> a = test::DecodeAis(abm);
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].message.messageId, 12);
    EXPECT_EQ(a[0].message.addressedSafety.destinationMmsi, 244000001u);
    EXPECT_TRUE(Contains(test::Texts(abm, Device::Transponder), "$AIABK,244000001,A,12,1,0*"));
    // A fragment out of order is dropped.
    EXPECT_TRUE(Send(sim, Device::Transponder, "!AIBBM,2,2,4,0,8,000,2").empty());
}

TEST(GnssReceiver, PutsOutEverySentenceOfAFixOnceASecond) {
    Simulator sim(test::SmallScenario());
    const std::vector<std::string> lines = test::Texts(test::RunFor(sim, 10), Device::Gnss);
    ASSERT_FALSE(lines.empty());
    int gsv = 0;
    std::map<std::string, int> counts;
    for (const std::string& l : lines) {
        codec::SentenceRecord r;
        ASSERT_EQ(codec::ParseSentence(l, r), codec::ParseStatus::Ok) << l;
        counts[r.formatter]++;
        if (const codec::Gsv* g = r.as<codec::Gsv>()) {
            EXPECT_EQ(g->inView, 12);
            gsv += g->count;
        }
        if (const codec::Gga* g = r.as<codec::Gga>()) {
            EXPECT_EQ(g->quality, 1);
            EXPECT_NEAR(g->pos.lat, 51.0, 0.02);
            EXPECT_NEAR(g->pos.lon, 1.5, 0.03);
        }
        if (const codec::Rmc* m = r.as<codec::Rmc>()) {
            EXPECT_EQ(m->status, 'A');
            EXPECT_NEAR(m->sog, 12.0, 0.3);
            EXPECT_NEAR(m->cog, 45.0, 1.5);
            EXPECT_EQ(m->date.year, 2025);
        }
    }
    for (const char* f : {"GGA", "GLL", "GSA", "RMC", "VTG", "ZDA", "HDT"})
        EXPECT_EQ(counts[f], 10) << f;
    EXPECT_EQ(gsv, 12 * 10);
}

TEST(GnssReceiver, WritesPositionsRoundedToTheLastDigit) {
    // 50.99999999 N is 51 degrees 0 minutes, never "5060.0000".
    Simulator sim(
        test::SmallScenario("[own_ship]\nposition = 50.99999999 -1.99999999\nspeed = 0\n"));
    const std::vector<std::string> lines = test::Texts(test::RunFor(sim, 1), Device::Gnss);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].rfind("$GPGGA,030400.00,5100.00", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find(",00200.00"), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find(",W,"), std::string::npos) << lines[0];
}

TEST(GnssReceiver, LosesItsFixInTheScenarioWindow) {
    Simulator sim(test::SmallScenario());
    test::RunFor(sim, 100);
    const std::vector<std::string> lost = test::Texts(test::RunFor(sim, 101), Device::Gnss);
    for (const std::string& l : lost) {
        codec::SentenceRecord r;
        ASSERT_EQ(codec::ParseSentence(l, r), codec::ParseStatus::Ok) << l;
        if (const codec::Gga* g = r.as<codec::Gga>()) {
            EXPECT_EQ(g->quality, 0);
            EXPECT_EQ(g->pos.lat, 91.0);
        }
        if (const codec::Rmc* m = r.as<codec::Rmc>()) {
            EXPECT_EQ(m->status, 'V');
        }
        if (const codec::Gsa* a = r.as<codec::Gsa>()) {
            EXPECT_EQ(a->fixType, 1);
        }
    }
    test::RunFor(sim, 130);
    EXPECT_TRUE(Contains(test::Texts(test::RunFor(sim, 131), Device::Gnss), ",A,"));
}

TEST(CrewWatch, AnswersTheProbeAndReportsItsDevicesThroughTheirEvents) {
    Simulator sim(test::SmallScenario());
    const auto probe =
        test::Texts(Send(sim, Device::CrewWatch, "$PMOB,000000,60,65,,"), Device::CrewWatch);
    EXPECT_TRUE(Contains(probe, "[Type] = MOB"));

    std::map<double, std::string> statusAt;  // status and battery of the pendant by time
    const LineBatch all = test::RunFor(sim, 300);
    for (const std::string& l : test::Texts(all, Device::CrewWatch)) {
        codec::SentenceRecord r;
        ASSERT_EQ(codec::ParseSentence(l, r), codec::ParseStatus::Ok) << l;
        ASSERT_NE(r.as<codec::Mob>(), nullptr);
    }
    std::vector<int> statuses;
    int lowBattery = 0;
    for (const TimedLine& l : all) {
        if (l.device != Device::CrewWatch || l.text.rfind("$PMOB,93FA2F", 0) != 0) continue;
        codec::SentenceRecord r;
        codec::ParseSentence(l.text, r);
        const codec::Mob* m = r.as<codec::Mob>();
        if (statuses.empty() || statuses.back() != m->status) statuses.push_back(m->status);
        if (m->battery < 200) ++lowBattery;
    }
    // Registration, online, SOS at 50 s, online after the cancel at 80 s, lost at 200 s.
    EXPECT_EQ(statuses, (std::vector<int>{4, 1, 2, 1, 3}));
    EXPECT_GT(lowBattery, 10);
    EXPECT_EQ(sim.crewWatch().units()[0].reporting, false);
}

TEST(CrewWatch, ObeysCancelSosShutDownAndMute) {
    Simulator sim(test::SmallScenario());
    test::RunFor(sim, 60);  // the pendant is in SOS since 50 s
    auto reply =
        test::Texts(Send(sim, Device::CrewWatch, "$PMOB,93FA2F,1,0A,,"), Device::CrewWatch);
    ASSERT_EQ(reply.size(), 1u);
    EXPECT_EQ(reply[0].rfind("$PMOB,93FA2F,1,01,", 0), 0u) << reply[0];
    reply = test::Texts(Send(sim, Device::CrewWatch, "$PMOB,000000,1,08,,"), Device::CrewWatch);
    ASSERT_EQ(reply.size(), 2u);  // the pendant and the repeater switch off
    EXPECT_EQ(reply[0].rfind("$PMOB,93FA2F,1,08,", 0), 0u);
    EXPECT_TRUE(test::Texts(test::RunFor(sim, 90), Device::CrewWatch).empty());
    Send(sim, Device::CrewWatch, "$PMOB,000000,0,0C,,");
    EXPECT_TRUE(sim.crewWatch().muted());
    Send(sim, Device::CrewWatch, "$PMOB,000000,0,0B,,");
    EXPECT_FALSE(sim.crewWatch().muted());
}

TEST(CrewWatch, ListReportsCarryTwoPendantsEach) {
    Simulator sim(test::SmallScenario(R"(
[crew_watch]
list_reports = yes
[pendant p2]
id = 93FA30
battery = 0xE6
)"));
    const auto lines = test::Texts(test::RunFor(sim, 20), Device::CrewWatch);
    int lists = 0;
    for (const std::string& l : lines) {
        codec::SentenceRecord r;
        ASSERT_EQ(codec::ParseSentence(l, r), codec::ParseStatus::Ok) << l;
        const codec::Mob* m = r.as<codec::Mob>();
        if (m->kind != 10) continue;
        ++lists;
        EXPECT_EQ(m->payloadLength, 8);
        // Battery 0xD2 is level 1, 0xE6 level 3; both online.
        const std::set<int> states{m->payload[3], m->payload[7]};
        EXPECT_EQ(states, (std::set<int>{0x10, 0x30}));
    }
    EXPECT_EQ(lists, 4);
}

// The reports of one device in the order they went out, as (status, battery, zone).
struct CrewReport {
    double time;
    int status;
    int battery;
    std::string zone;
};
std::vector<CrewReport> ReportsOf(const LineBatch& batch, std::string_view id) {
    std::vector<CrewReport> out;
    for (const TimedLine& l : batch) {
        if (l.device != Device::CrewWatch || l.text.rfind("$PMOB," + std::string(id), 0) != 0) {
            continue;
        }
        codec::SentenceRecord r;
        if (codec::ParseSentence(l.text, r) != codec::ParseStatus::Ok) continue;
        const codec::Mob* m = r.as<codec::Mob>();
        char zone[8];
        std::snprintf(zone, sizeof zone, "%02X%02X%02X", m->payload[0], m->payload[1],
                      m->payload[2]);
        out.push_back({l.time, m->status, m->battery, zone});
    }
    return out;
}

TEST(CrewWatch, ASilentPendantStopsWithoutALastReportAndRepeatsAreSentTwice) {
    Simulator sim(test::SmallScenario(R"(
[crew_watch]
repeats = 2
[pendant quiet]
id = 0000A1
events = 20 silent
)"));
    const LineBatch all = test::RunFor(sim, 60);
    const std::vector<CrewReport> quiet = ReportsOf(all, "0000A1");
    ASSERT_FALSE(quiet.empty());
    EXPECT_LT(quiet.back().time, 20.0);
    for (const CrewReport& r : quiet)
        EXPECT_NE(r.status, 3);  // no "lost" report: it just stops
    // Every report goes out twice, one right after the other.
    ASSERT_EQ(quiet.size() % 2, 0u);
    for (std::size_t i = 0; i + 1 < quiet.size(); i += 2) {
        EXPECT_EQ(quiet[i].time, quiet[i + 1].time);
        EXPECT_EQ(quiet[i].status, quiet[i + 1].status);
    }
    EXPECT_GT(ReportsOf(all, "5A0001").back().time, 50.0);  // the others go on
}

TEST(CrewWatch, ReportsBatteryAndZoneChangesAndCanStartInSos) {
    Simulator sim(test::SmallScenario(R"(
[pendant stranger]
id = 0000B2
announce = no
zone = 5A0001
events = 0 sos; 12 battery 0xC0; 22 zone 000000
)"));
    const std::vector<CrewReport> r = ReportsOf(test::RunFor(sim, 40), "0000B2");
    ASSERT_GE(r.size(), 6u);
    EXPECT_EQ(r.front().status, 2);  // no registration: an SOS first
    EXPECT_EQ(r.front().zone, "5A0001");
    EXPECT_EQ(r.front().battery, 0xD2);
    EXPECT_EQ(r.back().battery, 0xC0);
    EXPECT_EQ(r.back().zone, "000000");
}

TEST(CrewWatch, AListControllerAnswersAShutDownWithTheShuttingDownPendant) {
    Simulator sim(test::SmallScenario(R"(
[crew_watch]
list_reports = yes
)"));
    test::RunFor(sim, 12);
    const auto reply =
        test::Texts(Send(sim, Device::CrewWatch, "$PMOB,93FA2F,1,08,,"), Device::CrewWatch);
    ASSERT_EQ(reply.size(), 1u);
    codec::SentenceRecord rec;
    ASSERT_EQ(codec::ParseSentence(reply[0], rec), codec::ParseStatus::Ok) << reply[0];
    const codec::Mob* m = rec.as<codec::Mob>();
    EXPECT_EQ(m->kind, 10);
    EXPECT_EQ(m->payload[3] & 0x0F, 3);  // shutting down
    // The off report follows at the pendant's next turn, and then nothing.
    const std::vector<CrewReport> after = ReportsOf(test::RunFor(sim, 40), "93FA2F");
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].status, 8);
}

}  // namespace
}  // namespace norq::sim
