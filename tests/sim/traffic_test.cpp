// The traffic: reporting intervals of ITU-R M.1371 by station kind and
// state, turning, meeting courses, and determinism.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "GeoMath.h"
#include "SimTestSupport.h"
#include "TrafficModel.h"

namespace norq::sim {
namespace {

using test::Decoded;

// Times of the messages of one type from one MMSI.
std::vector<double> TimesOf(const std::vector<Decoded>& all, std::uint32_t mmsi, int type) {
    std::vector<double> out;
    for (const Decoded& d : all) {
        if (d.message.mmsi == mmsi && d.message.messageId == type && !d.own) out.push_back(d.time);
    }
    return out;
}

std::vector<double> Gaps(const std::vector<double>& times) {
    std::vector<double> out;
    for (std::size_t i = 1; i < times.size(); ++i)
        out.push_back(times[i] - times[i - 1]);
    return out;
}

class TrafficRun : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        Simulator sim(test::SmallScenario());
        decoded_ = new std::vector<Decoded>(test::DecodeAis(test::RunFor(sim, 400)));
    }
    static void TearDownTestSuite() { delete decoded_; }
    static const std::vector<Decoded>& all() { return *decoded_; }
    static std::vector<Decoded>* decoded_;
};
std::vector<Decoded>* TrafficRun::decoded_ = nullptr;

TEST_F(TrafficRun, ReportsAtTheIntervalsOfEachKind) {
    struct Expect {
        std::uint32_t mmsi;
        int type;
        double gap;
    };
    const Expect cases[] = {
        {244000001, 1, 10.0},    // class A at 10 kn
        {244000002, 1, 180.0},   // at anchor
        {235000003, 18, 30.0},   // class B under way
        {2320001, 4, 10.0},      // base station
        {992350001, 21, 180.0},  // AtoN
        {111232001, 9, 10.0},    // SAR aircraft
    };
    for (const Expect& e : cases) {
        const std::vector<double> gaps = Gaps(TimesOf(all(), e.mmsi, e.type));
        ASSERT_FALSE(gaps.empty()) << e.mmsi;
        for (double g : gaps)
            EXPECT_NEAR(g, e.gap, 1.01) << e.mmsi << " type " << e.type;
    }
}

TEST_F(TrafficRun, SendsStaticDataEverySixMinutesAndBothPartsOfMessage24) {
    for (std::uint32_t mmsi : {244000001u, 244000002u, 538000004u}) {
        const auto t5 = TimesOf(all(), mmsi, 5);
        ASSERT_GE(t5.size(), 1u) << mmsi;
        for (double g : Gaps(t5))
            EXPECT_NEAR(g, 360.0, 1.0);
    }
    int partA = 0, partB = 0;
    for (const Decoded& d : all()) {
        if (d.message.mmsi != 235000003 || d.message.messageId != 24) continue;
        if (d.message.layout == ais::AisLayoutId::StaticDataA) {
            ++partA;
            EXPECT_EQ(test::Strip(d.message.staticA.name.data()), "LITTLE YACHT");
        } else {
            ++partB;
            EXPECT_EQ(test::Strip(d.message.staticB.callSign.data()), "MLY3");
            EXPECT_EQ(d.message.staticB.shipType, 37);
        }
    }
    EXPECT_GE(partA, 1);
    EXPECT_EQ(partA, partB);
}

TEST_F(TrafficRun, FasterVesselsReportMoreOften) {
    // The fleet runs at 15-18 kn on a straight lane: every 6 s.
    std::map<std::uint32_t, std::vector<double>> times;
    for (const Decoded& d : all()) {
        if (d.message.messageId == 1 && d.message.mmsi / 1000000 == 235 && !d.own &&
            d.message.mmsi != 235000001)
            times[d.message.mmsi].push_back(d.time);
    }
    ASSERT_EQ(times.size(), 3u);
    for (const auto& [mmsi, t] : times) {
        for (double g : Gaps(t))
            EXPECT_NEAR(g, 6.0, 1.01) << mmsi;
    }
}

TEST_F(TrafficRun, SartAndMobDevicesSendBurstsAndTheirTexts) {
    const auto sart = TimesOf(all(), 970000001, 1);
    ASSERT_EQ(sart.size(), 8u * 7u);  // a burst of eight at 0, 60, ..., 360 s
    for (const Decoded& d : all()) {
        if (d.message.mmsi == 970000001 && d.message.messageId == 1) {
            EXPECT_EQ(d.message.position.navStatus, 15);  // test mode
        }
        if (d.message.mmsi == 972000001 && d.message.messageId == 1) {
            EXPECT_EQ(d.message.position.navStatus, 14);  // active
            EXPECT_GE(d.time, 30.0);
        }
        if (d.message.messageId == 14 && d.message.mmsi == 970000001) {
            EXPECT_STREQ(d.message.safetyBroadcast.text.data(), "SART TEST");
        }
        if (d.message.messageId == 14 && d.message.mmsi == 972000001) {
            EXPECT_STREQ(d.message.safetyBroadcast.text.data(), "MOB ACTIVE");
        }
    }
    EXPECT_EQ(TimesOf(all(), 972000001, 14).size(), 2u);  // at 31 and 271 s
}

TEST_F(TrafficRun, OwnShipComesAsVdoEverySecond) {
    std::vector<double> own;
    for (const Decoded& d : all()) {
        if (d.own && d.message.messageId == 1) {
            EXPECT_EQ(d.message.mmsi, 235000001u);
            own.push_back(d.time);
        }
    }
    ASSERT_EQ(own.size(), 400u);
    for (double g : Gaps(own))
        EXPECT_DOUBLE_EQ(g, 1.0);
}

TEST(Traffic, TurningClassAReportsEveryTwoSecondsWithinItsRateOfTurn) {
    const Scenario s = test::SmallScenario(R"(
[vessel turner]
mmsi = 244000009
position = 51.0000 1.6000
course = 0
speed = 18
route = 51.0100 1.6000; 51.0100 1.7500
max_rot = 20
)");
    Simulator sim(s);
    const std::vector<Decoded> all = test::DecodeAis(test::RunFor(sim, 400));
    const std::vector<double> gaps = Gaps(TimesOf(all, 244000009, 1));
    int fast = 0, slow = 0;
    for (double g : gaps)
        (g < 2.5 ? fast : slow)++;
    EXPECT_GT(fast, 10);  // 90 degrees at 20 degrees a minute: 4.5 min of 2 s reports
    EXPECT_GT(slow, 5);   // 6 s on the straight legs
    float maxRot = 0;
    for (const Decoded& d : all) {
        if (d.message.mmsi == 244000009 && d.message.messageId == 1)
            maxRot = std::max(maxRot, std::fabs(d.message.position.rateOfTurn));
    }
    EXPECT_GT(maxRot, 15.0f);
    EXPECT_LE(maxRot, 21.0f);
}

TEST(Traffic, EncounterVesselMeetsTheOwnShipAsPlaced) {
    const Scenario s = test::SmallScenario();
    TrafficModel model(s);
    const StationState* enc = nullptr;
    for (const StationState& st : model.stations()) {
        if (st.setup.mmsi == 538000004) enc = &st;
    }
    ASSERT_NE(enc, nullptr);
    const Approach a = ClosestApproach(model.ownShip().position(), model.ownShip().course(),
                                       model.ownShip().speed(), enc->body.position(),
                                       enc->body.course(), enc->body.speed());
    EXPECT_LT(a.cpaNm, 0.5);
    EXPECT_NEAR(a.tcpaMin, 5.0, 0.3);
    // Run to the meeting: the distance then is the miss distance.
    std::vector<AisTransmission> ignored;
    model.advance(300, ignored);
    EXPECT_NEAR(DistanceNm(model.ownShip().position(), enc->body.position()), 0.4, 0.05);
}

TEST(Traffic, SameSeedSameLinesOtherSeedOtherTraffic) {
    Scenario s = test::SmallScenario();
    Simulator a(s), b(s);
    const LineBatch la = test::RunFor(a, 120);
    const LineBatch lb = test::RunFor(b, 120);
    ASSERT_EQ(la.size(), lb.size());
    for (std::size_t i = 0; i < la.size(); ++i)
        ASSERT_EQ(la[i].text, lb[i].text) << i;
    s.seed = 8;
    Simulator c(s);
    const LineBatch lc = test::RunFor(c, 120);
    std::size_t same = 0;
    for (std::size_t i = 0; i < std::min(la.size(), lc.size()); ++i)
        same += la[i].text == lc[i].text;
    EXPECT_LT(same, la.size() / 2);
}

}  // namespace
}  // namespace norq::sim
