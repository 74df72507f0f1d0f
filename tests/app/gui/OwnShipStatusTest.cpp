// The own ship's CPA status in the main window: the status row says why CPA
// and TCPA read "N/A", and the one-second step lets a lost fix go stale.
#include <QLabel>

#include "AisLines.h"
#include "ViewerFixture.h"

namespace norq::test {
namespace {

constexpr int kStaleSeconds = 11;  // beyond the cross-check's 10 s

class OwnShipStatusTest : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        main().show();
        main().flushViews();
    }
    QString cpaStatus() {
        return main().findChild<QLabel*>(QStringLiteral("lblStatusBarCpa"))->text();
    }
};

TEST_F(OwnShipStatusTest, TheStatusRowSaysWhyCpaIsNotComputed) {
    feed(AisSentences(PositionReport({416000001, 120.25, 22.55, 10.0f, 180.0f, 45, 0})));
    // A fix with a course but no speed.
    feed({WithChecksum("GPRMC,120000.00,A,2230.0000,N,12015.0000,E,,035.0,150326,,,A", '$')});
    EXPECT_EQ(cpaStatus(), QStringLiteral("CPA N/A: own SOG not available"));
    EXPECT_EQ(main().gridCellText(1, 12), QStringLiteral("N/A"));
    EXPECT_EQ(main().gridCellText(0, 9), QStringLiteral("N/A"));
    // Lying still without a course: computed as a stationary own ship.
    feed({WithChecksum("GPRMC,120001.00,A,2230.0000,N,12015.0000,E,0.1,,150326,,,A", '$')});
    EXPECT_EQ(cpaStatus(), QString());
    EXPECT_NE(main().gridCellText(1, 12), QStringLiteral("N/A"));
}

TEST_F(OwnShipStatusTest, TheGnssFixAndTheTransponderOwnReportAreCrossChecked) {
    QLabel* check = main().findChild<QLabel*>(QStringLiteral("lblStatusBarSourceCheck"));
    ASSERT_NE(check, nullptr);
    auto ownReport = [this](double lon, double lat) {
        feed(AisSentences(PositionReport({416999999, lon, lat, 10.0f, 90.0f, 90, 0}), true));
    };
    // Both fresh and 50 m apart (the two antennas of one ship): nothing to say.
    feed({RmcLine(0, 120.25, 22.5, 10.0, 90.0)});
    ownReport(120.2505, 22.5);
    main().Timer1Timer();
    EXPECT_FALSE(check->isVisibleTo(&main()));
    // About 1 km apart: the status row says so.
    feed({RmcLine(1, 120.25, 22.5, 10.0, 90.0)});
    ownReport(120.26, 22.5);
    main().Timer1Timer();
    ASSERT_TRUE(check->isVisibleTo(&main()));
    EXPECT_TRUE(check->text().startsWith(QStringLiteral("GNSS and AIS own positions 10")))
        << check->text().toStdString();
    // A source that went quiet is not compared (that is the silent link's alarm).
    clock_.advance(kStaleSeconds);
    main().Timer1Timer();
    EXPECT_FALSE(check->isVisibleTo(&main()));
    // The receiver silent for more than 30 s is said; the transponder's
    // silence only when the user asks for that check.
    clock_.advance(20);
    main().Timer1Timer();
    ASSERT_TRUE(check->isVisibleTo(&main()));
    EXPECT_EQ(check->text(), QStringLiteral("No GNSS sentence for 31 s!"));
    main().settings().aisSilentSeconds = 20;
    main().Timer1Timer();
    EXPECT_EQ(check->text(),
              QStringLiteral("No AIS message for 31 s!  No GNSS sentence for 31 s!"));
    feed({RmcLine(40, 120.25, 22.5, 10.0, 90.0)});
    ownReport(120.25, 22.5);
    main().Timer1Timer();
    EXPECT_FALSE(check->isVisibleTo(&main()));
}

TEST_F(OwnShipStatusTest, TheOneSecondStepLetsALostFixGoStale) {
    feed({RmcLine(0, 120.25, 22.5, 0.0, 0.0)});
    feed(AisSentences(PositionReport({416000001, 120.25, 22.55, 10.0f, 180.0f, 45, 0})));
    EXPECT_NE(main().gridCellText(1, 12), QStringLiteral("N/A"));
    for (int second = 0; second < 61; ++second) {
        clock_.advance(1);
        feed({WithChecksum("GPGSV,1,1,01,03,03,111,40", '$')});
        main().Timer1Timer();
    }
    main().flushViews();
    EXPECT_EQ(main().runState().tracker.table().own().ownPositionValid, 0);
    EXPECT_EQ(cpaStatus(), QStringLiteral("CPA N/A: no own position"));
    EXPECT_EQ(main().gridCellText(1, 12), QStringLiteral("N/A"));
}

TEST_F(OwnShipStatusTest, AFirstStartShowsNoOwnPositionAndTheChartSaysThereIsNoFix) {
    auto* noFix = main().findChild<QLabel*>(QStringLiteral("lblChartNoFix"));
    ASSERT_NE(noFix, nullptr);
    auto top = [this](const char* name) {
        return main().findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    EXPECT_TRUE(noFix->isVisible());
    EXPECT_EQ(top("lblTopLat"), QStringLiteral("N/A"));
    EXPECT_EQ(top("lblTopSog"), QStringLiteral("N/A"));
    EXPECT_EQ(main().detailText(QStringLiteral("lblEdtLatitude")), QStringLiteral("N/A"));
    EXPECT_EQ(main().detailText(QStringLiteral("lblEdtSOG")), QStringLiteral("N/A"));
    EXPECT_EQ(main().detailText(QStringLiteral("lblEdtRange")), QStringLiteral("N/A"));

    feed({RmcLine(0, 120.25, 22.5, 8.0, 90.0)});
    main().flushViews();
    EXPECT_FALSE(noFix->isVisible());
    EXPECT_NE(top("lblTopLat"), QStringLiteral("N/A"));
}

TEST_F(OwnShipStatusTest, TheGpsTabShowsAnAltitudeOnlyWhenTheReceiverGaveOne) {
    auto altitude = [this] {
        main().flushViews();
        return main().detailText(QStringLiteral("lblEdtGpsAltitude"));
    };
    feed({WithChecksum("GPGGA,120000.00,2230.0000,N,12015.0000,E,1,08,0.9,12.5,M,18.0,M,,", '$')});
    EXPECT_EQ(altitude(), QStringLiteral("12.5 m"));
    feed({WithChecksum("GPGGA,120001.00,2230.0000,N,12015.0000,E,1,08,0.9,,M,18.0,M,,", '$')});
    EXPECT_EQ(altitude(), QString());
}

}  // namespace
}  // namespace norq::test
