// What StoreSentence keeps: the GNSS validity rules, pending queries, the
// talker system code and the crew-watch report's partial fields.
#include <gtest/gtest.h>

#include <string>

#include "SentenceLines.h"
#include "codec/SentenceCodec.h"

using namespace norq::codec;
using norq::test::Checksummed;

namespace {

void Receive(SentenceCodec& codec, const std::string& body, char start = '$') {
    ASSERT_EQ(codec.parse(Checksummed(body, start)), ParseStatus::Ok) << body;
    codec.StoreSentence(codec.received());
}

}  // namespace

TEST(GnssStore, PositionValidityDecidedByEverySentence) {
    SentenceCodec c;
    Receive(c, "GPGGA,120000.00,5100.0,N,00100.0,E,1,08,0.9,10.0,M,,,,");
    EXPECT_TRUE(c.gnss().positionValid);
    EXPECT_TRUE(c.gnss().timeValid);
    EXPECT_EQ(c.gnss().talkerSystem, 1);
    EXPECT_EQ(c.gnss().satellitesUsed, 8);
    Receive(c, "GNGGA,120001.00,5100.0,N,00100.0,E,0,08,0.9,10.0,M,,,,");
    EXPECT_FALSE(c.gnss().positionValid);
    EXPECT_TRUE(c.gnss().timeValid);  // stays set
    EXPECT_EQ(c.gnss().talkerSystem, 3);
    Receive(c, "GPGLL,5100.0,N,00100.0,E,120002,A,A");
    EXPECT_TRUE(c.gnss().positionValid);
    Receive(c, "GPRMC,120003,V,5100.0,N,00100.0,E,5.0,90.0,010124,,,N");
    EXPECT_FALSE(c.gnss().positionValid);
}

TEST(GnssStore, RtkQualitiesAreAFixAndAnInvalidModeIsNot) {
    SentenceCodec c;
    for (int quality : {4, 5}) {
        Receive(c, "GNGGA,120000.00,5100.0,N,00100.0,E," + std::to_string(quality) +
                       ",24,0.6,10.0,M,,,,");
        EXPECT_TRUE(c.gnss().positionValid) << quality;
        EXPECT_EQ(c.gnss().satellitesUsed, 24);
    }
    for (int quality : {6, 7, 8}) {
        Receive(c, "GNGGA,120000.00,5100.0,N,00100.0,E," + std::to_string(quality) +
                       ",24,0.6,10.0,M,,,,");
        EXPECT_FALSE(c.gnss().positionValid) << quality;
    }
    Receive(c, "GPRMC,120003,A,5100.0,N,00100.0,E,5.0,90.0,310124,,,A,S");
    EXPECT_TRUE(c.gnss().positionValid);
    EXPECT_EQ(c.gnss().navStatus, 'S');
    Receive(c, "GPRMC,120003,A,5100.0,N,00100.0,E,5.0,90.0,310124,,,N");
    EXPECT_FALSE(c.gnss().positionValid);
    Receive(c, "GPGLL,5100.0,N,00100.0,E,120002,A,N");
    EXPECT_FALSE(c.gnss().positionValid);
    // Status A without coordinates is no position.
    Receive(c, "GPRMC,120003,A,,,,,5.0,90.0,310124,,,A");
    EXPECT_FALSE(c.gnss().positionValid);
    Receive(c, "GNGSA,A,3,68,69,70,,,,,,,,,,1.5,1.3,1.0,2");
    EXPECT_EQ(c.gnss().gsaSystemId, 2);
}

TEST(GnssStore, TimeValidOnlyWithAValidFix) {
    SentenceCodec c;
    Receive(c, "GPGGA,120000.00,5100.0,N,00100.0,E,0,08,0.9,10.0,M,,,,");
    EXPECT_FALSE(c.gnss().timeValid);
    Receive(c, "GPRMC,120003,A,5100.0,N,00100.0,E,5.0,90.0,,,,A");
    EXPECT_FALSE(c.gnss().timeValid);  // no date
    Receive(c, "GPRMC,120003,A,5100.0,N,00100.0,E,5.0,90.0,310124,,,A");
    EXPECT_TRUE(c.gnss().timeValid);
    EXPECT_EQ(c.gnss().date, (CalendarDate{2024, 1, 31}));
}

TEST(GnssStore, CourseValidityFollowsTheLastCourse) {
    SentenceCodec c;
    Receive(c, "GPRMC,120003,A,5100.0,N,00100.0,E,5.0,90.0,310124,,,A");
    EXPECT_TRUE(c.gnss().cogValid);
    Receive(c, "GPRMC,120004,A,5100.0,N,00100.0,E,5.0,361.0,310124,,,A");
    EXPECT_FALSE(c.gnss().cogValid);
    Receive(c, "GPVTG,054.7,T,034.4,M,005.5,N,010.2,K,A");
    EXPECT_TRUE(c.gnss().cogValid);
    EXPECT_DOUBLE_EQ(c.gnss().sog, 5.5);
    Receive(c, "GPVTG,,T,,M,0.1,N,0.2,K,A");
    EXPECT_FALSE(c.gnss().cogValid);
}

TEST(GnssStore, GsaCountsUsedSatellitesAndGsvKeepsTheSentence) {
    SentenceCodec c;
    Receive(c, "GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1");
    EXPECT_EQ(c.gnss().satellitesUsed, 5);
    EXPECT_EQ(c.gnss().usedPrn[2], 0);
    EXPECT_EQ(c.gnss().fixType, 3);
    Receive(c, "GPGSV,3,2,11,03,03,111,00,04,15,270,00,06,01,010,00");
    EXPECT_EQ(c.gnss().gsvNumber, 2);
    EXPECT_EQ(c.gnss().gsvCount, 3);
    EXPECT_EQ(c.gnss().satellitesInView, 11);
    Receive(c, "GPGBS,015509.00,-0.031,,0.219,19,0.000,-0.354,6.972");
    EXPECT_FALSE(c.gnss().gbsValid);
}

TEST(PendingQueries, FourSlotsThenDropped) {
    SentenceCodec c;
    for (const char* f : {"RMC", "GGA", "VTG", "GSA", "ZDA"}) {
        Receive(c, std::string("AIGPQ,") + f);
        EXPECT_EQ(c.received().group, SentenceGroup::Query);
    }
    const auto& slots = c.pendingQueries().slots;
    EXPECT_STREQ(slots[0].formatter, "RMC");
    EXPECT_STREQ(slots[3].formatter, "GSA");
    for (const auto& s : slots)
        EXPECT_TRUE(s.used);
}

TEST(ProprietaryStore, MobFieldsTooLongKeepTheEarlierValues) {
    SentenceCodec c;
    Receive(c, "PMOB,0A1B2C,1,02,C8,");
    Receive(c, "PMOB,0A1B2D,1,123,,");
    EXPECT_EQ(c.proprietary().mob.deviceId[2], 0x2D);
    EXPECT_EQ(c.proprietary().mob.status, 2);
    EXPECT_EQ(c.proprietary().mob.battery, 200);
    EXPECT_TRUE(c.proprietary().mob.batteryPresent);
}

TEST(TransponderStore, ValidityFlags) {
    SentenceCodec c;
    Receive(c, "AISSD,NORQ1,NORQ ONE,100,20,5,64,0,AI");
    EXPECT_FALSE(c.transponder().ssdValid);
    EXPECT_TRUE(c.transponder().ssdDteValid);
    EXPECT_TRUE(c.transponder().ssdNamesValid);
    Receive(c, "AIVSD,80,26.0,12,,240000.00,14,06,15,0");
    EXPECT_TRUE(c.transponder().vsdShipTypeValid);
    EXPECT_FALSE(c.transponder().vsdDraughtValid);
    EXPECT_FALSE(c.transponder().vsdDestinationValid);
    EXPECT_FALSE(c.transponder().vsdEtaValid);
    EXPECT_TRUE(c.transponder().vsdNavStatusValid);
}

TEST(ProductInfo, CollectsTheBlockAndItsValues) {
    ProductInfoBlock b;
    EXPECT_EQ(b.offer("$PKRV,R,TXT,PROD. INFO. BEGIN*79\r\n"),
              ProductInfoBlock::Result::Collecting);
    EXPECT_EQ(b.offer(Checksummed("PKRV,R,TXT,MODEL NO.=NQ-100")),
              ProductInfoBlock::Result::Collecting);
    EXPECT_EQ(b.offer("$PKRV,R,TXT,SERIAL NO.=1*00\r\n"), ProductInfoBlock::Result::Ignored);
    b.offer(Checksummed("PKRV,R,TXT,FIRMWARE=1.2.3"));
    b.offer(Checksummed("PKRV,R,TXT,BAUD RATE=38400"));
    EXPECT_EQ(b.offer(Checksummed("PKRV,R,TXT,PROD. INFO. END")),
              ProductInfoBlock::Result::Complete);
    EXPECT_EQ(b.modelNumber(), "NQ-100");
    EXPECT_EQ(b.firmware(), "1.2.3");
    EXPECT_EQ(b.baudRate(), "38400");
    EXPECT_EQ(b.serialNumber(), "");
}

TEST(ProductInfo, ThreeHundredLinesFailTheBlock) {
    ProductInfoBlock b;
    b.offer("$PKRV,R,TXT,PROD. INFO. BEGIN*79\r\n");
    const std::string line = Checksummed("PKRV,R,TXT,line");
    for (int i = 0; i < 299; ++i)
        ASSERT_EQ(b.offer(line), ProductInfoBlock::Result::Collecting);
    EXPECT_EQ(b.offer(line), ProductInfoBlock::Result::Failed);
    EXPECT_FALSE(b.collecting());
    EXPECT_EQ(b.offer(Checksummed("PKRV,R,TXT,PROD. INFO. END")),
              ProductInfoBlock::Result::Ignored);
}
