// Composing: every composed formatter, filled from its store after parsing a
// received sentence, prints back to the expected text, which parses again.
#include <gtest/gtest.h>

#include <string>

#include "SentenceLines.h"
#include "codec/SentenceCodec.h"

using namespace norq::codec;
using norq::test::Checksummed;

namespace {

struct RoundTrip {
    const char* received;  // body without start character and checksum
    char start;
    const char* talker;
    const char* formatter;
    const char* composed;  // expected body of the composed sentence
};

// Received, stored, composed from the store.
const RoundTrip kRoundTrips[] = {
    {"AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0", '!', "AI", "VDM",
     "AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0"},
    {"AIVDO,2,1,5,B,55P5TL01VIaAL@7WKO@mBplU@<PDhh00000000,0", '!', "AI", "VDO",
     "AIVDO,2,1,5,B,55P5TL01VIaAL@7WKO@mBplU@<PDhh00000000,0"},
    {"AIABM,1,1,2,211000001,3,12,<5?SIT`,0", '!', "AI", "ABM",
     "AIABM,1,1,2,211000001,3,12,<5?SIT`,0"},
    {"AIBBM,2,1,7,1,8,E>jHC=c6:,0", '!', "AI", "BBM", "AIBBM,2,1,7,1,8,E>jHC=c6:,0"},
    {"AIABK,211000001,1,12,3,0", '$', "AI", "ABK", "AIABK,211000001,B,12,3,0"},
    {"AIACA,1,5100.5,N,00200.2,E,5000.0,S,00100.0,W,4,2087,0,2088,0,0,0,I,1,120000", '$', "AI",
     "ACA", "AIACA,1,5100.5,N,00200.2,E,5000.0,S,00100.0,W,4,2087,0,2088,0,0,0,I,1,120000"},
    // Numbers without an empty value of their own read an empty field as 0.
    {"AIACA,,,,,,,,,,,,,,,,,,,", '$', "AI", "ACA", "AIACA,0,,,,,,,,,0,0000,0,0000,0,0,0,,0,"},
    {"AIACS,1,211000001,120000.50,01,02,2024", '$', "AI", "ACS",
     "AIACS,1,211000001,120000.50,01,02,2024"},
    {"AIACS,,,,,,", '$', "AI", "ACS", "AIACS,0,000000000,,00,00,0000"},
    {"AIALR,,,,,", '$', "AI", "ALR", "AIALR,,0, , , "},
    {"AIALR,120000.00,6,A,V,AIS: general failure", '$', "AI", "ALR",
     "AIALR,120000.00,6,A,V,AIS: general failure"},
    {"AIACK,042", '$', "AI", "ACK", "AIACK,042"},
    {"AISSD,NORQ1,NORQ ONE,100,20,5,6,0,AI", '$', "AI", "SSD",
     "AISSD,NORQ1,NORQ ONE,100,20,5,6,0,AI"},
    {"AISSD,,,,,,,,AI", '$', "AI", "SSD", "AISSD,,,,,,,,AI"},
    {"AIVSD,80,7.2,12,HAMBURG,103000.00,14,06,0,0", '$', "AI", "VSD",
     "AIVSD,80, 7.2,12,HAMBURG,103000.00,14,06,0,0"},
    {"AIVSD,,,,,,,,,", '$', "AI", "VSD", "AIVSD,,,,,,,,,0"},
    {"GPRMC,081836.00,A,3751.65000,S,14507.36000,E,0.0,360.0,130998,11.3,E,A", '$', "GP", "RMC",
     "GPRMC,081836.00,A,3751.65000,S,14507.36000,E,0.0,360.0,130998,11.3,E,A"},
    {"GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1", '$', "GP", "GSA",
     "GPGSA,A,3,04,05,,09,12,,,24,,,,,2.50,1.30,2.10"},
    {"GPGSA,,,,,,,,,,,,,,,,,", '$', "GP", "GSA", "GPGSA,,0,,,,,,,,,,,,,,,"},
    {"GPGBS,015509.00,-0.0,-0.2,0.2,19,0.0,-0.4,7.0", '$', "GP", "GBS",
     "GPGBS,015509.00,-0.0,-0.2,0.2,19,0.0,-0.4,7.0"},
    {"HEHDT,274.1,T", '$', "HE", "HDT", "HEHDT,274.1,T"},
    {"HEHDT,,T", '$', "HE", "HDT", "HEHDT,,T"},
    {"HEROT,-3.5,A", '$', "HE", "ROT", "HEROT,-3.500000,A"},
    {"PMID,211000001,", '$', "P", "MID", "PMID,211000001,"},
    {"PBDY,211000001,ALPHA,,1,", '$', "P", "BDY", "PBDY,211000001,ALPHA,,1,"},
    {"PTST,00042,07,c,K,00123", '$', "P", "TST", "PTST,00042,07,c,K,00123"},
    {"PTST,,,z,,", '$', "P", "TST", "PTST,,,,,"},
    {"PFRQ,000161975,2,,", '$', "P", "FRQ", "PFRQ,000161975,2,,"},
    {"PBTH,001,002,003,004,005,006,name", '$', "P", "BTH", "PBTH,001,002,003,004,005,006,name"},
    {"PBTH,001,002,003,004,005,,name", '$', "P", "BTH", "PBTH,,,,,,,name"},
    {"PKRV,R,DBG,030,2,,,,,,", '$', "P", "DBG", "PKRV,R,DBG,030,2,,,,,,"},
    {"PDBG,300,3,,-100000,,-100000,,-100000", '$', "P", "DBG",
     "PDBG,300,3,,-100000,,-100000,,-100000"},
    {"PDBG,099,-2147483648,,,,,,", '$', "P", "DBG", "PDBG,099,,,,,,,"},
    {"PTPS,012,hello", '$', "P", "TPS", "PTPS,012,hello"},
    {"PKRV,R,MRK,2,5,3,25123456,-121500000,BUOY 1,1,", '$', "P", "MRK",
     "PKRV,R,MRK,2,5,3,25123456,-121500000,BUOY 1,1,"},
    {"PMOB,0A1B2C,1,02,C8,0A0B0C", '$', "P", "MOB", "PMOB,0A1B2C,1,02,C8,0A0B0C"},
    {"PMOB,0A1B2C,11,02,,", '$', "P", "MOB", "PMOB,0A1B2C,11,02,,"},
    {"AIAAR,992351001,01,02,03,04,5,6,7,8,9,10,11,C", '$', "AI", "AAR",
     "AIAAR,992351001,01,02,03,04,5,6,7,8,9,10,11,C"},
    {"AIACE,992351001,FF,01,02,03,04,text,5,R", '$', "AI", "ACE",
     "AIACE,992351001,FF,01,02,03,04,text,5,R"},
    {"AIACF,,0001,5100.00000,N,00200.00000,E,01,02,03,04,05,06,07,,C", '$', "AI", "ACF",
     "AIACF,,0001,5100.00000,N,00200.00000,E,01,02,03,04,05,06,07,,C"},
    {"AIAFB,992351001,01,02,03,04,05,06,R", '$', "AI", "AFB",
     "AIAFB,992351001,01,02,03,04,05,06,R"},
    {"AIAFC,7,C", '$', "AI", "AFC", "AIAFC,7,C"},
    {"AIAID,992351001,2,3,4,R", '$', "AI", "AID", "AIAID,992351001,2,3,4,R"},
    {"AIAKE,992351001,2,,C", '$', "AI", "AKE", "AIAKE,992351001,2,,C"},
    {"AIARW,992351001,2,3,4,5,6,R", '$', "AI", "ARW", "AIARW,992351001,2,3,4,5,6,R"},
    {"AIMCR,992351001,2,C", '$', "AI", "MCR", "AIMCR,992351001,2,C"},
    {"AIMPR,992351001,2,3,4,5,6,7,C", '$', "AI", "MPR", "AIMPR,992351001,2,3,4,5,6,7,C"},
    {"AITSP,992351001,2,3,4,5,6,7,8,9,10,11,12,R", '$', "AI", "TSP",
     "AITSP,992351001,2,3,4,5,6,7,8,9,10,11,12,R"},
    {"AIVER,1,1,AIS,NORQ,ID,SN,MC,1.0,2.0,R", '$', "AI", "VER",
     "AIVER,1,1,AIS,NORQ,ID,SN,MC,1.0,2.0,R"},
};

}  // namespace

TEST(Compose, EveryComposedFormatterRoundTripsThroughItsStore) {
    for (const RoundTrip& t : kRoundTrips) {
        SCOPED_TRACE(t.received);
        SentenceCodec codec;
        ASSERT_EQ(codec.parse(Checksummed(t.received, t.start)), ParseStatus::Ok);
        codec.StoreSentence(codec.received());
        SentenceText text;
        ASSERT_TRUE(codec.ComposeFromStore(t.talker, t.formatter, text));
        EXPECT_EQ(text.view(), Checksummed(t.composed, t.start));

        // What was composed parses again and composes to the same text.
        SentenceCodec again;
        ASSERT_EQ(again.parse(text.view()), ParseStatus::Ok) << text.c_str();
        again.StoreSentence(again.received());
        SentenceText second;
        ASSERT_TRUE(again.ComposeFromStore(t.talker, t.formatter, second));
        EXPECT_EQ(second.view(), text.view());
    }
}

TEST(Compose, HdgFromTheHeadingStore) {
    SentenceCodec codec;
    codec.heading().heading = 101.5;
    codec.heading().deviation = -2.0;
    codec.heading().variation = 3.0;
    SentenceText text;
    ASSERT_TRUE(codec.ComposeFromStore("HE", "HDG", text));
    EXPECT_EQ(text.view(), Checksummed("HEHDG,101.500000,-2.000000,W,3.000000,E"));
}

TEST(Compose, DbgSentByTheOptionsWindowInShortForm) {
    SentenceCodec codec;
    Dbg& d = codec.proprietary().dbg;
    d.pairs[0] = {300, 3};
    for (int i = 1; i < 4; ++i)
        d.pairs[i] = {999, -100000};
    SentenceText text;
    ASSERT_TRUE(codec.ComposeFromStore("P", "DBG", text));
    EXPECT_EQ(text.view(), Checksummed("PDBG,300,3,,-100000,,-100000,,-100000"));
}

TEST(Compose, AtonConfigWithoutStatusAndUnknownFormattersAreRefused) {
    SentenceCodec codec;
    SentenceText text;
    EXPECT_FALSE(codec.ComposeFromStore("AI", "AFB", text));  // nothing received: no status
    EXPECT_FALSE(codec.ComposeFromStore("GP", "GGA", text));  // parsed, never composed
    EXPECT_FALSE(codec.ComposeFromStore("GP", "XYZ", text));
    EXPECT_FALSE(codec.ComposeFromStore("GPS", "RMC", text));
}

TEST(Compose, OverlongTextIsRefusedNotCut) {
    SentenceCodec codec;
    Tps& t = codec.proprietary().tps;
    t.number = 1;
    std::fill(std::begin(t.text), std::end(t.text) - 1, 'x');
    t.text[kTextCapacity - 1] = '\0';
    SentenceText text;
    ASSERT_TRUE(codec.ComposeFromStore("P", "TPS", text));
    // Within the compose buffer, the text keeps every character.
    EXPECT_NE(text.view().find(std::string(kTextCapacity - 1, 'x')), std::string_view::npos);
}
