// Table-driven checks over every parsed formatter: the exact comma count,
// the boundaries of each rejecting range check, and the order in which
// ParseSentence applies its steps.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "SentenceLines.h"
#include "codec/SentenceCodec.h"

using namespace norq::codec;
using norq::test::Checksummed;

namespace {

struct Sample {
    const char* body;  // without start character and checksum
    char start = '$';
};

ParseStatus StatusOf(const std::string& body, char start = '$') {
    SentenceRecord r;
    return ParseSentence(Checksummed(body, start), r);
}

// One well-formed sentence of every formatter with a single comma count.
const Sample kEveryFormatter[] = {
    {"GPGGA,123519.29,4807.038,N,01131.000,W,1,08,0.9,545.4,M,46.9,M,,0101"},
    {"GPDTM,W84,,0.5,S,1.5,W,0.0,W84"},
    {"GPZDA,160012.71,11,03,2004,-1,00"},
    {"GPGST,1,0.5,1,2,3,4,5,6"},
    {"HEHDT,274.07,T"},
    {"HEROT,-3.5,A"},
    {"VDVBW,1.0,,A,,0.5,V"},
    {"AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0", '!'},
    {"AIVDO,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0", '!'},
    {"AIABM,1,1,0,211000001,1,12,<5?SIT`,0", '!'},
    {"AIBBM,1,1,,0,8,<5?SIT`,2", '!'},
    {"AIABK,211000001,B,12,3,0"},
    {"AIACA,1,5100.0,N,00200.0,E,5000.0,N,00100.0,E,4,2087,0,2088,0,0,0,I,1,120000"},
    {"AIACS,1,211000001,120000.00,01,02,2024"},
    {"AIALR,120000.00,006,A,V,AIS: general failure"},
    {"AIACK,042"},
    {"AISSD,NORQ1,NORQ ONE,100,20,5,6,0,AI"},
    {"AIVSD,80,7.2,12,HAMBURG,103000.00,14,06,0,0"},
    {"AITXT,01,01,02,TEXT"},
    {"PMID,211000001,"},
    {"PBDY,211000001,ALPHA,,1,"},
    {"PTST,00042,07,c,K,00123"},
    {"PFRQ,000161975,2,,"},
    {"PBTH,001,002,003,004,005,006,name"},
    {"PDBG,300,3,,-100000,,-100000,,-100000"},
    {"PKRV,R,DBG,030,2,,,,,,"},
    {"PTPS,012,hello"},
    {"PKRV,R,MRK,2,5,3,25123456,-121500000,BUOY 1,1,"},
    {"PKRV,R,KRV,30,1,,Tx On"},
    {"PAIQ,Smg,3"},
    {"PSmg,hello,2"},
    {"PMOB,0A1B2C,1,02,C8,0A0B0C"},
    {"PKRV,R,MOB,0A1B2C,1,02,C8,0A0B0C"},
    {"AIAAR,1,2,3,4,5,6,7,8,9,10,11,12,C"},
    {"AIACE,1,FF,1,2,3,4,text,5,R"},
    {"AIACF,,0001,5100.000,N,00200.000,E,1,2,3,4,5,6,7,,C"},
    {"AIAFB,992351001,01,02,03,04,05,06,R"},
    {"AIAFC,7,C"},
    {"AIAID,1,2,3,4,R"},
    {"AIAKE,1,2,3,C"},
    {"AIARW,1,2,3,4,5,6,R"},
    {"AIMCR,1,2,C"},
    {"AIMPR,1,2,3,4,5,6,7,C"},
    {"AITSP,1,2,3,4,5,6,7,8,9,10,11,12,R"},
    {"AIVER,1,1,AIS,NORQ,ID,SN,MC,1.0,2.0,R"},
    {"RAOSD,35.1,A,36.0,P,10.2,P,15.3,0.1,N"},
    {"GPWPL,4917.16,N,12310.64,W,003"},
    {"AIGPQ,RMC"},
};

// The formatters whose layout grew optional trailing fields from NMEA 2.0 to
// 4.11: the longest layout and every comma count that is one of its layouts.
struct Dialects {
    const char* longest;
    std::vector<int> commas;
};

const Dialects kDialects[] = {
    {"GPGLL,3751.65,S,14507.36,E,225444,A,A", {6, 7}},
    {"GNRMC,081836,A,3751.65,S,14507.36,E,000.0,360.0,130998,011.3,E,A,V", {11, 12, 13}},
    {"GPVTG,054.7,T,034.4,M,005.5,N,010.2,K,A", {8, 9}},
    {"GNGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1,1", {17, 18}},
    {"GPGSV,3,1,11,03,03,111,00,04,15,270,00,06,01,010,00,13,06,292,00,1",
     {3, 4, 7, 8, 11, 12, 15, 16, 19, 20}},
    {"GPGBS,015509.00,-0.031,-0.186,0.219,19,0.000,-0.354,6.972,1,1", {8, 10}},
    {"GPGRS,1,1,0.1,0.2,0.3,,,,,,,,,,1,1", {14, 16}},
    {"GNGNS,014035.00,4332.69262,S,17235.48549,E,RR,13,0.9,25.63,11.24,,,V", {12, 13}},
};

int CommasIn(const std::string& body) {
    return static_cast<int>(std::count(body.begin(), body.end(), ','));
}

}  // namespace

TEST(Checks, EveryDialectLayoutIsAcceptedAndNoOtherCount) {
    for (const Dialects& d : kDialects) {
        std::string body = d.longest;
        SCOPED_TRACE(body);
        EXPECT_EQ(StatusOf(body + ",1"), ParseStatus::Commas);
        // Drop trailing fields one by one down to one below the shortest layout.
        while (CommasIn(body) >= d.commas.front() - 1) {
            const bool known =
                std::find(d.commas.begin(), d.commas.end(), CommasIn(body)) != d.commas.end();
            EXPECT_EQ(StatusOf(body), known ? ParseStatus::Ok : ParseStatus::Commas)
                << CommasIn(body) << " commas";
            body.resize(body.rfind(','));
        }
    }
}

TEST(Checks, EveryFormatterDemandsExactlyItsCommaCount) {
    for (const Sample& s : kEveryFormatter) {
        const std::string body = s.body;
        SCOPED_TRACE(body);
        EXPECT_EQ(StatusOf(body, s.start), ParseStatus::Ok);
        EXPECT_EQ(StatusOf(body + ",1", s.start), ParseStatus::Commas);
        // Without its only comma a sentence has no address field left.
        const bool oneComma = body.find(',') == body.rfind(',');
        EXPECT_EQ(StatusOf(body.substr(0, body.rfind(',')), s.start),
                  oneComma ? ParseStatus::Framing : ParseStatus::Commas);
    }
    // RMA alone has no comma check.
    EXPECT_EQ(StatusOf("GPRMA,A,3751.65,S,14507.36,E,,,,,,,1"), ParseStatus::Ok);
    EXPECT_EQ(StatusOf("GPRMA,A"), ParseStatus::Ok);
}

TEST(Checks, RangeBoundariesAcceptAndReject) {
    const std::string p62(62, '0');
    const std::string p63(63, '0');
    const std::string p64(64, '0');
    const Sample kAccepted[] = {
        {"GPGGA,1,1,N,1,E,1,12,99.9,1,M,1,M,,1023"},
        {"GPGGA,1,1,N,1,E,1,0,0,1,M,1,M,,0"},
        {"GPGSV,9,9,11,03,90,359,99"},
        {"GPGSV,0,0,11,03,0,0,0"},
        {"GPGSV,,,,,,,"},
        {"GPZDA,1,31,12,2004,13,59"},
        {"GPZDA,1,1,1,2004,-13,0"},
        {"GNGNS,1,1,N,1,E,A,1,99.9,1,1,,"},
        {"AIVDM,9,9,9,A,13aE,5", '!'},
        {"AIVDM,0,0,0,A,13aE,0", '!'},
        {"AIABM,9,9,3,0,0,6,13aE,5", '!'},
        {"AIABM,1,1,0,999999999,3,12,13aE,0", '!'},
        {"AIBBM,9,9,9,0,8,13aE,5", '!'},
        {"AITXT,99,99,99,x"},
        {"AITXT,,,,x"},
    };
    for (const Sample& s : kAccepted)
        EXPECT_EQ(StatusOf(s.body, s.start), ParseStatus::Ok) << s.body;
    EXPECT_EQ(StatusOf("AIVDM,1,1,,A," + p62 + ",0", '!'), ParseStatus::Ok);
    EXPECT_EQ(StatusOf("AIVDM,2,1,1,A," + p63 + ",0", '!'), ParseStatus::Ok);
    EXPECT_EQ(StatusOf("AIABM,2,1,1,211000001,1,12," + p63 + ",0", '!'), ParseStatus::Ok);
    EXPECT_EQ(StatusOf("AIBBM,2,1,1,0,8," + p63 + ",0", '!'), ParseStatus::Ok);

    const Sample kRejected[] = {
        {"GPGGA,1,1,N,1,E,1,-2,0.9,1,M,1,M,,"},
        {"GPGGA,1,1,N,1,E,1,08,-0.1,1,M,1,M,,"},
        {"GPGSV,-1,1,11,03,03,111,00"},
        {"GPGSV,3,10,11,03,03,111,00"},
        {"GPGSV,3,1,11,03,-1,111,00"},
        {"GPGSV,3,1,11,03,03,-2,00"},
        {"GPGSV,3,1,11,03,03,111,-1"},
        {"GPZDA,1,0,1,2004,0,0"},
        {"GPZDA,1,1,0,2004,0,0"},
        {"GPZDA,1,1,1,2004,14,0"},
        {"GPZDA,1,1,1,2004,0,-1"},
        {"GNGNS,1,1,N,1,E,A,1,-1,1,1,,"},
        {"GPVTG,054.7,T,034.4,M,005.5,N,010.2,KM,A"},
        {"AIVDM,1,10,,A,13aE,0", '!'},
        {"AIVDM,-1,1,,A,13aE,0", '!'},
        {"AIVDM,1,1,-1,A,13aE,0", '!'},
        {"AIVDM,1,1,,A,13aE,-1", '!'},
        {"AIABM,1,0,0,211000001,1,12,13aE,0", '!'},
        {"AIABM,1,10,0,211000001,1,12,13aE,0", '!'},
        {"AIABM,10,1,0,211000001,1,12,13aE,0", '!'},
        {"AIABM,1,1,0,-1,1,12,13aE,0", '!'},
        {"AIABM,1,1,0,211000001,A,12,13aE,0", '!'},
        {"AIABM,1,1,0,211000001,1,0,13aE,0", '!'},
        {"AIABM,1,1,0,211000001,1,12,13aE,", '!'},
        {"AIABM,1,1,0,211000001,1,12,13aE,6", '!'},
        {"AIBBM,10,1,,0,8,13aE,0", '!'},
        {"AIBBM,1,10,,0,8,13aE,0", '!'},
        {"AIBBM,1,1,10,0,8,13aE,0", '!'},
        {"AIBBM,1,1,,0,8,13aE,6", '!'},
        {"AITXT,100,01,01,x"},
        {"AITXT,01,00,01,x"},
        {"AITXT,01,01,100,x"},
    };
    for (const Sample& s : kRejected)
        EXPECT_EQ(StatusOf(s.body, s.start), ParseStatus::Range) << s.body;
    // Received payloads are taken up to what the line bound leaves: a VDM
    // with an empty sequential id and 76 characters marks to 98, 77 is too long.
    EXPECT_EQ(StatusOf("AIVDM,1,1,,A," + p63 + ",0", '!'), ParseStatus::Ok);
    EXPECT_EQ(StatusOf("AIVDM,2,1,1,A," + p64 + ",0", '!'), ParseStatus::Ok);
    EXPECT_EQ(StatusOf("AIBBM,2,1,1,0,8," + p64 + ",0", '!'), ParseStatus::Ok);
    EXPECT_EQ(StatusOf("AIVDM,1,1,,A," + std::string(76, '0') + ",0", '!'), ParseStatus::Ok);
    EXPECT_EQ(StatusOf("AIVDM,1,1,,A," + std::string(77, '0') + ",0", '!'), ParseStatus::Length);
}

TEST(Checks, StepsRunInOrder) {
    SentenceRecord r;
    // No CR LF is found before a wrong checksum.
    EXPECT_EQ(ParseSentence("$GPXYZ,1*00\n", r), ParseStatus::Framing);
    // The checksum is checked before the marked length.
    const std::string longBody = "AIALR,,001,A,," + std::string(77, 'D');
    std::string wrong = Checksummed(longBody);
    wrong[wrong.size() - 3] = wrong[wrong.size() - 3] == '0' ? '1' : '0';
    EXPECT_EQ(ParseSentence(wrong, r), ParseStatus::Checksum);
    EXPECT_EQ(ParseSentence(Checksummed(longBody), r), ParseStatus::Length);
    // The formatter before its comma count, the comma count before the ranges.
    EXPECT_EQ(StatusOf("GPXYZ,1,2,3"), ParseStatus::UnknownFormatter);
    EXPECT_EQ(StatusOf("GPZDA,1,0,0,2004,0"), ParseStatus::Commas);
    // The long form's checksum covers the whole line before its rewrite.
    std::string krv = Checksummed("PKRV,R,MRK,2,5,3,25123456,-121500000,BUOY 1,1,");
    EXPECT_EQ(ParseSentence(krv, r), ParseStatus::Ok);
    EXPECT_EQ(r.subtype, 'R');
    EXPECT_EQ(r.formatterText(), "MRK");
    EXPECT_EQ(ParseSentence(Checksummed("PMRK,2,5,3,25123456,-121500000,BUOY 1,1,"), r),
              ParseStatus::Ok);
    EXPECT_EQ(r.subtype, 0);
    krv[8] = 'X';
    EXPECT_EQ(ParseSentence(krv, r), ParseStatus::Checksum);
}
