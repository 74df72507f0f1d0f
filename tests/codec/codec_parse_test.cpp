// Every parser: the fields it reads, its empty values and its rejecting checks.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "SentenceLines.h"
#include "codec/SentenceCodec.h"

using namespace norq::codec;
using norq::test::Checksummed;

namespace {

template <typename T>
const T& ParseAs(const std::string& body, char start = '$') {
    static SentenceRecord r;  // test-only scratch
    const ParseStatus s = ParseSentence(Checksummed(body, start), r);
    EXPECT_EQ(s, ParseStatus::Ok) << body;
    static T empty{};
    const T* t = r.as<T>();
    EXPECT_NE(t, nullptr) << body;
    return t != nullptr ? *t : empty;
}

ParseStatus StatusOf(const std::string& body, char start = '$') {
    SentenceRecord r;
    return ParseSentence(Checksummed(body, start), r);
}

}  // namespace

TEST(ParseGnss, Gga) {
    const Gga& g =
        ParseAs<Gga>("GPGGA,123519.29,4807.038,N,01131.000,W,1,08,0.9,545.4,M,46.9,M,,0101");
    EXPECT_EQ(g.time, (TimeOfDay{12, 35, 19, 29}));
    EXPECT_NEAR(g.pos.lat, 48.1173, 1e-6);
    EXPECT_NEAR(g.pos.lon, -11.516666, 1e-5);
    EXPECT_EQ(g.quality, 1);
    EXPECT_EQ(g.satellites, 8);
    EXPECT_DOUBLE_EQ(g.hdop, 0.9);
    EXPECT_DOUBLE_EQ(g.altitude, 545.4);
    EXPECT_EQ(g.altitudeUnit, 'M');
    EXPECT_EQ(g.dgpsAge, kEmptyFloat);
    EXPECT_EQ(g.dgpsStation, 101);

    const Gga& e = ParseAs<Gga>("GPGGA,,,,,,,,,,,,,,");
    EXPECT_EQ(e.time, TimeOfDay{});
    EXPECT_EQ(e.pos.lat, kEmptyLat);
    EXPECT_EQ(e.pos.lon, kEmptyLon);
    EXPECT_EQ(e.quality, kEmptyByte);
    EXPECT_EQ(e.dgpsStation, kEmptyInt16);

    // Up to 99 satellites in use (several constellations); 100 is beyond the field.
    EXPECT_EQ(ParseAs<Gga>("GNGGA,1,1,N,1,E,4,38,0.5,1,M,1,M,,").satellites, 38);
    EXPECT_EQ(StatusOf("GPGGA,1,1,N,1,E,1,99,0.9,1,M,1,M,,"), ParseStatus::Ok);
    EXPECT_EQ(StatusOf("GPGGA,1,1,N,1,E,1,100,0.9,1,M,1,M,,"), ParseStatus::Range);
    EXPECT_EQ(StatusOf("GPGGA,1,1,N,1,E,1,12,100,1,M,1,M,,"), ParseStatus::Range);
    EXPECT_EQ(StatusOf("GPGGA,1,1,N,1,E,1,12,1,1,M,1,M,,1024"), ParseStatus::Range);
    EXPECT_EQ(StatusOf("GPGGA,1,1,N,1,E,1,12,1,1,M,1,M,"), ParseStatus::Commas);
    // A latitude beyond 90 degrees is not available.
    EXPECT_EQ(ParseAs<Gga>("GPGGA,,9100.0,N,18100.0,E,1,,,,,,,,").pos.lat, kEmptyLat);
}

TEST(ParseGnss, GllRmcVtg) {
    const Gll& l = ParseAs<Gll>("GPGLL,3751.65,S,14507.36,E,225444,A,A");
    EXPECT_NEAR(l.pos.lat, -37.860833, 1e-5);
    EXPECT_NEAR(l.pos.lon, 145.122666, 1e-5);
    EXPECT_EQ(l.time, (TimeOfDay{22, 54, 44, 0}));
    EXPECT_EQ(l.status, 'A');

    const Rmc& m = ParseAs<Rmc>("GPRMC,081836,A,3751.65,S,14507.36,E,000.0,360.0,130998,011.3,E,A");
    EXPECT_EQ(m.status, 'A');
    EXPECT_DOUBLE_EQ(m.cog, 360.0);
    EXPECT_EQ(m.date, (CalendarDate{2098, 9, 13}));
    EXPECT_EQ(m.variationDirection, 'E');
    EXPECT_EQ(ParseAs<Rmc>("GPRMC,,V,,,,,,,,,,N").variationDirection, kEmptyByte);

    const Vtg& v = ParseAs<Vtg>("GPVTG,054.7,T,034.4,M,005.5,N,010.2,K,A");
    EXPECT_DOUBLE_EQ(v.cogTrue, 54.7);
    EXPECT_DOUBLE_EQ(v.sogKmh, 10.2);
    EXPECT_EQ(v.knotsUnit, 'N');
    EXPECT_EQ(ParseAs<Vtg>("GPVTG,,,,,,,,,N").trueUnit, kEmptyByte);
    EXPECT_EQ(StatusOf("GPVTG,054.7,TT,034.4,M,005.5,N,010.2,K,A"), ParseStatus::Range);
}

TEST(ParseGnss, GsaGsv) {
    const Gsa& a = ParseAs<Gsa>("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1");
    EXPECT_EQ(a.selectionMode, 'A');
    EXPECT_EQ(a.fixType, 3);
    EXPECT_EQ(a.prn[0], 4);
    EXPECT_EQ(a.prn[2], kEmptyByte);
    EXPECT_DOUBLE_EQ(a.vdop, 2.1);

    const Gsv& v = ParseAs<Gsv>("GPGSV,3,1,11,03,03,111,00,04,15,270,00,06,01,010,00,13,06,292,00");
    EXPECT_EQ(v.count, 4);
    EXPECT_EQ(v.satellites[3].prn, 13);
    EXPECT_EQ(v.satellites[3].azimuth, 292);
    const Gsv& one = ParseAs<Gsv>("GPGSV,3,3,11,22,42,067,");
    EXPECT_EQ(one.count, 1);
    EXPECT_EQ(one.satellites[0].snr, kEmptyByte);
    EXPECT_EQ(one.satellites[1].azimuth, kEmptyInt16);
    const Gsv& blank = ParseAs<Gsv>("GPGSV,,,,,,,");
    EXPECT_EQ(blank.total, 0);
    EXPECT_EQ(blank.inView, 0);
    EXPECT_EQ(blank.satellites[0].prn, kEmptyByte);
    EXPECT_EQ(ParseAs<Gsa>("GPGSA,A,,,,,,,,,,,,,,,,").fixType, 0);

    EXPECT_EQ(StatusOf("GPGSV,3,1,11,03,03,111,00,04,15,270,00,06,01"), ParseStatus::Commas);
    EXPECT_EQ(StatusOf("GPGSV,10,1,11,03,03,111,00"), ParseStatus::Range);
    EXPECT_EQ(StatusOf("GPGSV,3,1,11,03,91,111,00"), ParseStatus::Range);
    EXPECT_EQ(StatusOf("GPGSV,3,1,11,03,03,360,00"), ParseStatus::Range);
    EXPECT_EQ(StatusOf("GPGSV,3,1,11,03,03,111,100"), ParseStatus::Range);
}

// The trailing fields of the dialects: absent in older ones, read where given.
TEST(ParseGnss, DialectTrailingFields) {
    // NMEA 2.0: no mode indicator.
    const Rmc& old =
        ParseAs<Rmc>("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W");
    EXPECT_EQ(old.status, 'A');
    EXPECT_DOUBLE_EQ(old.sog, 22.4);
    EXPECT_EQ(old.variationDirection, 'W');
    EXPECT_EQ(old.mode, ' ');
    EXPECT_EQ(old.navStatus, ' ');
    EXPECT_EQ(ParseAs<Gll>("GPGLL,4916.45,N,12311.12,W,225444,A").mode, ' ');
    const Vtg& vtg = ParseAs<Vtg>("GPVTG,054.7,T,034.4,M,005.5,N,010.2,K");
    EXPECT_DOUBLE_EQ(vtg.sogKnots, 5.5);
    EXPECT_EQ(vtg.mode, ' ');
    // NMEA 4.1 and later: navigational status, system id, signal id.
    const Rmc& rmc =
        ParseAs<Rmc>("GNRMC,120213.000,A,5957.0062,N,01100.6429,E,0.00,0.00,310722,,,D,V");
    EXPECT_EQ(rmc.mode, 'D');
    EXPECT_EQ(rmc.navStatus, 'V');
    EXPECT_EQ(ParseAs<Gsa>("GNGSA,A,3,68,69,70,78,84,85,,,,,,,1.5,1.3,1.0,2").systemId, 2);
    EXPECT_EQ(ParseAs<Gsa>("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1").systemId, kEmptyByte);
    const Gsv& gsv =
        ParseAs<Gsv>("GAGSV,2,1,07,36,76,149,45,09,47,142,50,04,40,062,35,11,26,120,44,7");
    EXPECT_EQ(gsv.count, 4);
    EXPECT_EQ(gsv.signalId, 7);
    EXPECT_EQ(gsv.satellites[3].snr, 44);
    const Gsv& last = ParseAs<Gsv>("GPGSV,4,4,13,46,,,50,1");
    EXPECT_EQ(last.count, 1);
    EXPECT_EQ(last.signalId, 1);
    EXPECT_EQ(last.satellites[0].elevation, kEmptyByte);
    EXPECT_EQ(ParseAs<Gsv>("GPGSV,1,1,00").count, 0);
    EXPECT_EQ(ParseAs<Gsv>("GPGSV,1,1,00,8").signalId, 8);
    EXPECT_EQ(ParseAs<Gsv>("GPGSV,3,3,11,22,42,067,42").signalId, kEmptyByte);
    const Gns& gns =
        ParseAs<Gns>("GNGNS,120213.000,5957.0062,N,01100.6429,E,NDD,11,1.3,168.9,39.5,,,V");
    EXPECT_EQ(gns.navStatus, 'V');
    const Gbs& gbs = ParseAs<Gbs>("GNGBS,015509.00,-0.031,-0.186,0.219,19,0.000,-0.354,6.972,3,1");
    EXPECT_EQ(gbs.systemId, 3);
    EXPECT_EQ(gbs.signalId, 1);
}

TEST(ParseGnss, GbsDtmZdaGrsGst) {
    const Gbs& b = ParseAs<Gbs>("GPGBS,015509.00,-0.031,-0.186,0.219,19,0.000,-0.354,6.972");
    EXPECT_DOUBLE_EQ(b.lonError, -0.186);
    EXPECT_EQ(b.failedSatellite, 19);
    EXPECT_EQ(ParseAs<Gbs>("GPGBS,,,,,,,,").failedSatellite, 255);

    const Dtm& d = ParseAs<Dtm>("GPDTM,W84,,0.5,S,1.5,W,0.0,W84");
    EXPECT_STREQ(d.localDatum, "W84");
    EXPECT_EQ(d.subdivision, 0);
    EXPECT_DOUBLE_EQ(d.latOffset, -0.5);
    EXPECT_DOUBLE_EQ(d.lonOffset, -1.5);

    const Zda& z = ParseAs<Zda>("GPZDA,160012.71,11,03,2004,-1,00");
    EXPECT_EQ(z.year, 2004);
    EXPECT_EQ(z.zoneHours, -1);
    EXPECT_EQ(StatusOf("GPZDA,160012.71,11,03,2004,-14,00"), ParseStatus::Range);
    EXPECT_EQ(StatusOf("GPZDA,160012.71,32,03,2004,0,00"), ParseStatus::Range);
    EXPECT_EQ(StatusOf("GPZDA,160012.71,11,13,2004,0,00"), ParseStatus::Range);
    EXPECT_EQ(StatusOf("GPZDA,160012.71,11,03,2004,0,60"), ParseStatus::Range);

    EXPECT_DOUBLE_EQ(ParseAs<Grs>("GPGRS,1,1,0.1,0.2,0.3,,,,,,,,,").residuals[2], 0.3);
    EXPECT_DOUBLE_EQ(ParseAs<Gst>("GPGST,1,0.5,1,2,3,4,5,6").altError, 6.0);
}

TEST(ParseHeading, HdtRotVbwGns) {
    EXPECT_DOUBLE_EQ(ParseAs<Hdt>("HEHDT,274.07,T").heading, 274.07);
    EXPECT_DOUBLE_EQ(ParseAs<Rot>("HEROT,-3.5,A").rate, -3.5);
    const Vbw& v = ParseAs<Vbw>("VDVBW,1.0,,A,,0.5,V");
    EXPECT_DOUBLE_EQ(v.waterTransverse, 0.0);
    EXPECT_DOUBLE_EQ(v.groundTransverse, 0.5);
    const Gns& g =
        ParseAs<Gns>("GNGNS,014035.00,4332.69262,S,17235.48549,E,RRR,13,0.9,25.63,11.24,,");
    EXPECT_STREQ(g.mode, "RR");
    EXPECT_STREQ(g.satellites, "13");
    EXPECT_EQ(StatusOf("GNGNS,014035.00,4332.69,S,17235.48,E,RR,13,100,25.63,11.24,,"),
              ParseStatus::Range);
}

TEST(ParseTransponder, VdmAndItsChecks) {
    const Encapsulated& e = ParseAs<Encapsulated>(
        "AIVDM,2,1,3,B,55P5TL01VIaAL@7WKO@mBplU@<PDhh000000001S;AJ::4A80?4i@E53,0", '!');
    EXPECT_EQ(e.total, 2);
    EXPECT_EQ(e.sequentialId, 3);
    EXPECT_EQ(e.channel, 'B');
    EXPECT_EQ(std::string(e.payload).size(), 56u);
    const Encapsulated& n =
        ParseAs<Encapsulated>("AIVDM,1,1,,,13aEOK?P00PD2wVMdLDRhgvL289?,0", '!');
    EXPECT_EQ(n.sequentialId, kEmptyByte);
    EXPECT_EQ(n.channel, kEmptyByte);

    // Received payloads are not held to the 62/63 characters of composing:
    // real transponders send first fragments of 64.
    const std::string p64(64, '0');
    EXPECT_EQ(StatusOf("AIVDM,2,1,3,A," + p64 + ",0", '!'), ParseStatus::Ok);
    EXPECT_EQ(StatusOf("AIVDM,2,1,0,A," + p64 + ",0", '!'), ParseStatus::Ok);
    EXPECT_EQ(StatusOf("AIVDM,2,1,,A," + p64 + ",0", '!'), ParseStatus::Ok);
    EXPECT_EQ(StatusOf("AIVDM,1,1,,A,13aEOK,", '!'), ParseStatus::Range);
    EXPECT_EQ(StatusOf("AIVDM,1,1,,A,13aEOK,6", '!'), ParseStatus::Range);
    EXPECT_EQ(StatusOf("AIVDM,10,1,,A,13aEOK,0", '!'), ParseStatus::Range);
    EXPECT_EQ(StatusOf("AIVDM,1,1,10,A,13aEOK,0", '!'), ParseStatus::Range);
    EXPECT_EQ(StatusOf("AIVDO,1,1,,A,13aEOK,0", '!'), ParseStatus::Ok);
}

TEST(ParseTransponder, AbmBbm) {
    const Encapsulated& a = ParseAs<Encapsulated>("AIABM,1,1,0,211000001,1,12,<5?SIT`,0", '!');
    EXPECT_EQ(a.destinationMmsi, 211000001);
    EXPECT_EQ(a.channel, 1);
    EXPECT_EQ(a.messageId, 12);
    EXPECT_EQ(StatusOf("AIABM,1,1,0,211000001,1,8,<5?SIT`,0", '!'), ParseStatus::Range);
    EXPECT_EQ(StatusOf("AIABM,1,1,4,211000001,1,12,<5?SIT`,0", '!'), ParseStatus::Range);
    EXPECT_EQ(StatusOf("AIABM,1,1,,211000001,1,12,<5?SIT`,0", '!'), ParseStatus::Range);
    EXPECT_EQ(StatusOf("AIABM,1,1,0,211000001,,12,<5?SIT`,0", '!'), ParseStatus::Range);
    EXPECT_EQ(StatusOf("AIABM,1,1,0,211000001,4,12,<5?SIT`,0", '!'), ParseStatus::Range);
    EXPECT_EQ(StatusOf("AIABM,0,1,0,211000001,1,12,<5?SIT`,0", '!'), ParseStatus::Range);
    EXPECT_EQ(StatusOf("AIABM,1,1,0,1000000000,1,12,<5?SIT`,0", '!'), ParseStatus::Range);

    const Encapsulated& b = ParseAs<Encapsulated>("AIBBM,1,1,,0,8,<5?SIT`,2", '!');
    EXPECT_EQ(b.messageId, 8);
    EXPECT_EQ(b.fillBits, 2);
    EXPECT_EQ(StatusOf("AIBBM,1,1,,0,8,<5?SIT`,", '!'), ParseStatus::Range);
}

TEST(ParseTransponder, OtherSentences) {
    const Abk& k = ParseAs<Abk>("AIABK,211000001,B,12,3,0");
    EXPECT_EQ(k.mmsi, 211000001);
    EXPECT_EQ(k.channel, 1);  // B
    EXPECT_EQ(k.messageId, 12);

    const Aca& c = ParseAs<Aca>(
        "AIACA,1,5100.0,N,00200.0,E,5000.0,N,00100.0,E,4,2087,0,2088,0,0,0,I,1,120000");
    EXPECT_NEAR(c.northEast.lat, 51.0, 1e-9);
    EXPECT_EQ(c.channelB, 2088);
    EXPECT_EQ(c.source, 'I');
    EXPECT_EQ(c.inUseChanged.hour, 12);
    const Aca& ce = ParseAs<Aca>("AIACA,,,,,,,,,,,,,,,,,,,");
    EXPECT_EQ(ce.sequenceNumber, 0);
    EXPECT_EQ(ce.channelA, 0);
    EXPECT_EQ(ce.inUse, 0);
    EXPECT_EQ(ce.northEast.lat, kEmptyLat);
    EXPECT_EQ(ce.inUseChanged.hour, 24);

    const Acs& s = ParseAs<Acs>("AIACS,1,211000001,120000.00,01,02,2024");
    EXPECT_EQ(s.year, 2024);

    const Alr& l = ParseAs<Alr>("AIALR,120000.00,006,A,V,AIS: general failure");
    EXPECT_EQ(l.alarmNumber, 6);
    EXPECT_STREQ(l.description, "AIS: general failure");
    EXPECT_EQ(ParseAs<Alr>("AIALR,,,,,").alarmNumber, 0);
    EXPECT_EQ(ParseAs<Acs>("AIACS,,,,,,").sequenceNumber, 0);
    EXPECT_EQ(ParseAs<Ack>("AIACK,").alarmNumber, 1000);
    EXPECT_EQ(ParseAs<Ack>("AIACK,042").alarmNumber, 42);

    const Ssd& d = ParseAs<Ssd>("AISSD,,NORQ ONE,100,20,5,6,0,AI");
    EXPECT_STREQ(d.callSign, "");
    EXPECT_STREQ(d.name, "NORQ ONE");
    EXPECT_EQ(d.refD, 6);
    EXPECT_EQ(ParseAs<Ssd>("AISSD,,,,,,,,AI").refA, 512);

    const Vsd& v = ParseAs<Vsd>("AIVSD,336,7.2,12,HAMBURG,103000.00,14,06,0,0");
    EXPECT_EQ(v.shipType, 80);  // low eight bits
    EXPECT_STREQ(v.destination, "HAMBURG");
    const Vsd& ve = ParseAs<Vsd>("AIVSD,,,,,,,,,");
    EXPECT_EQ(ve.shipType, 256);
    EXPECT_EQ(ve.persons, 8192);
    EXPECT_EQ(ve.etaDay, 32);
    EXPECT_EQ(ve.etaMonth, 13);
    EXPECT_STREQ(ve.destination, "");
}

TEST(ParseTransponder, TxtLengthsAndChecks) {
    EXPECT_EQ(StatusOf("AITXT,01,01,91,FREQ,2087,2088"), ParseStatus::Commas);
    const std::string text70(70, 'x');
    const Txt& t = ParseAs<Txt>("AITXT,01,01,02," + text70);
    EXPECT_EQ(std::string(t.text), std::string(61, 'x'));
    EXPECT_EQ(std::string(ParseAs<Txt>("AITXT,1,,," + std::string(62, 'y')).text).size(), 62u);
    EXPECT_EQ(StatusOf("AITXT,00,01,02,x"), ParseStatus::Range);
    EXPECT_EQ(StatusOf("AITXT,01,100,02,x"), ParseStatus::Range);
    EXPECT_EQ(StatusOf("AITXT,01,01,0,x"), ParseStatus::Range);
}

TEST(ParseProprietary, ShortAndLongForms) {
    const Mid& m = ParseAs<Mid>("PMID,211000001,");
    EXPECT_EQ(m.first, 211000001);
    EXPECT_EQ(m.second, kEmptyMmsi);

    const Bdy& b = ParseAs<Bdy>("PBDY,211000001,ALPHA,,1,");
    EXPECT_STREQ(b.text2, "");
    EXPECT_EQ(b.small2, 9);

    const Tst& t = ParseAs<Tst>("PTST,,,,,00123");
    EXPECT_EQ(t.number, 99999);
    EXPECT_EQ(t.small, 99);
    EXPECT_EQ(t.value, 123);

    const Frq& q = ParseAs<Frq>("PFRQ,000161975,2,,");
    EXPECT_EQ(q.number1, 161975);
    EXPECT_EQ(q.small2, kEmptyByte);

    const Bth& h = ParseAs<Bth>("PBTH,001,002,003,004,005,,name");
    EXPECT_EQ(h.values[5], 256);
    EXPECT_STREQ(h.text, "name");

    const Dbg& d = ParseAs<Dbg>("PKRV,R,DBG,030,2,,,,,,");
    EXPECT_EQ(d.pairs[0].command, 30);
    EXPECT_EQ(d.pairs[0].value, 2);
    EXPECT_EQ(d.pairs[1].command, 999);
    EXPECT_EQ(d.pairs[1].value, kDbgEmptyValue);
    // The smallest 32-bit number is the empty value itself.
    EXPECT_EQ(ParseAs<Dbg>("PDBG,099,-2147483648,,,,,,").pairs[0].value, kDbgEmptyValue);

    EXPECT_EQ(ParseAs<Tps>("PTPS,,x").number, 999);

    const Mrk& k = ParseAs<Mrk>("PKRV,R,MRK,2,5,3,25123456,-121500000,BUOY 1,1,");
    EXPECT_EQ(k.operation, 2);
    EXPECT_EQ(k.count, 5);
    EXPECT_EQ(k.longitude, -121500000);
    EXPECT_STREQ(k.name, "BUOY 1");
    const Mrk& ke = ParseAs<Mrk>("PKRV,Q,MRK,,,,,,,,");
    EXPECT_EQ(ke.operation, kEmptyByte);
    EXPECT_EQ(ke.count, kEmptyInt16);
    EXPECT_EQ(ke.deviceIndex, 0);
    EXPECT_EQ(ke.latitude, kMrkEmptyCoordinate);

    const Krv& v = ParseAs<Krv>("PKRV,R,KRV,30,1,,Tx On");
    EXPECT_EQ(v.numbers[0], 30);
    EXPECT_EQ(v.numbers[2], 0);

    EXPECT_EQ(ParseAs<Aiq>("PAIQ,Smg,3").number, 3);
    EXPECT_EQ(StatusOf("PAIQ,Smx,3"), ParseStatus::Range);
    EXPECT_EQ(ParseAs<Smg>("PSmg,hello,2").number, 2);
}

TEST(ParseProprietary, Mob) {
    const Mob& m = ParseAs<Mob>("PMOB,0A1B2C,1,02,C8,0A0B0C");
    EXPECT_EQ(m.deviceId[0], 0x0A);
    EXPECT_EQ(m.deviceId[2], 0x2C);
    EXPECT_EQ(m.status, 2);
    EXPECT_EQ(m.battery, 200);
    EXPECT_TRUE(m.batteryPresent);
    EXPECT_EQ(m.payloadLength, 3);

    const Mob& e = ParseAs<Mob>("PKRV,R,MOB,,,,,");
    EXPECT_EQ(e.deviceId[0], 0);
    EXPECT_EQ(e.kind, 255);
    EXPECT_EQ(e.status, 255);
    EXPECT_FALSE(e.batteryPresent);
    EXPECT_EQ(e.payloadLength, 0);

    EXPECT_EQ(ParseAs<Mob>("PMOB,0A1B,1,1,,").deviceId[0], 0);  // wrong length: controller
    EXPECT_EQ(StatusOf("PMOB,0a1b2c,1,1,,"), ParseStatus::Range);
    EXPECT_EQ(StatusOf("PMOB,0A1B2C,1,1G,,"), ParseStatus::Range);
    EXPECT_EQ(StatusOf("PMOB,0A1B2C,1,1,X,"), ParseStatus::Range);
    EXPECT_FALSE(ParseAs<Mob>("PMOB,0A1B2C,1,123,,").statusRead);
    EXPECT_EQ(ParseAs<Mob>("PMOB,0A1B2C,1,1,,ABC").payloadLength, 0);                   // odd
    EXPECT_EQ(ParseAs<Mob>("PMOB,0A1B2C,1,1,,0102030405060708090A").payloadLength, 0);  // 20
    EXPECT_EQ(ParseAs<Mob>("PMOB,0A1B2C,1,1,,01020X").payloadLength, 0);
    EXPECT_EQ(ParseAs<Mob>("PMOB,0A1B2C,1,1,,010203040506070809").payloadLength, 9);
    EXPECT_EQ(StatusOf("PMOB,0A1B2C,1,1,"), ParseStatus::Commas);
}

TEST(ParseAtonConfig, PresenceBitsAndStatus) {
    const AtonConfig& f = ParseAs<AtonConfig>("AIAFB,992351001,01,02,03,04,05,06,R");
    EXPECT_EQ(f.values[0], 992351001);
    EXPECT_EQ(f.status, 'R');
    EXPECT_EQ(f.present, 0x7Fu);
    EXPECT_EQ(StatusOf("AIAFB,992351001,01,02,03,04,05,06,07,R"), ParseStatus::Commas);
    EXPECT_EQ(StatusOf("AIAFB,992351001,01,02,03,04,05,06,X"), ParseStatus::Range);
    EXPECT_EQ(StatusOf("AIAFB,992351001,01,02,03,04,05,06,"), ParseStatus::Range);

    const AtonConfig& a =
        ParseAs<AtonConfig>("AIACF,,0001,5100.000,N,00200.000,E,1,2,3,4,5,6,7,,C");
    EXPECT_EQ(a.present & 1u, 0u);
    EXPECT_NE(a.present & 4u, 0u);
    EXPECT_NEAR(a.pos.lat, 51.0, 1e-9);

    for (const char* body :
         {"AIAAR,1,2,3,4,5,6,7,8,9,10,11,12,C", "AIACE,1,FF,1,2,3,4,text,5,R", "AIAFC,7,C",
          "AIAID,1,2,3,4,R", "AIAKE,1,2,3,C", "AIARW,1,2,3,4,5,6,R", "AIMCR,1,2,C",
          "AIMPR,1,2,3,4,5,6,7,C", "AITSP,1,2,3,4,5,6,7,8,9,10,11,12,R",
          "AIVER,1,1,AIS,NORQ,ID,SN,MC,1.0,2.0,R"}) {
        EXPECT_EQ(StatusOf(body), ParseStatus::Ok) << body;
    }
}

TEST(ParseOther, OsdRmaWplQuery) {
    EXPECT_DOUBLE_EQ(ParseAs<Osd>("RAOSD,35.1,A,36.0,P,10.2,P,15.3,0.1,N").drift, 0.1);
    EXPECT_NEAR(ParseAs<Rma>("GPRMA,A,3751.65,S,14507.36,E,,,,,,").pos.lat, -37.860833, 1e-5);
    EXPECT_NEAR(ParseAs<Rma>("GPRMA,A,3751.65,S,14507.36,E").pos.lon, 145.1226, 1e-4);
    EXPECT_STREQ(ParseAs<Wpl>("GPWPL,4917.16,N,12310.64,W,003").identifier, "003");
    EXPECT_STREQ(ParseAs<Query>("AIGPQ,RMC").formatter, "RMC");
    EXPECT_EQ(StatusOf("AIGPQ,RMC,1"), ParseStatus::Commas);
}

TEST(Conversions, TimesDatesAndCoordinates) {
    EXPECT_EQ(ReadTime("235959.99"), (TimeOfDay{23, 59, 59, 99}));
    EXPECT_EQ(ReadTime("000000.5"), (TimeOfDay{0, 0, 0, 50}));
    EXPECT_EQ(ReadDate("311299"), (CalendarDate{2099, 12, 31}));
    EXPECT_NEAR(ReadLatitude("0000.6", "N"), 0.01, 1e-12);
    EXPECT_EQ(ReadLatitude("9000.1", "N"), kEmptyLat);
    EXPECT_EQ(ReadLongitude("18000.0", "W"), -180.0);
    EXPECT_EQ(ReadLongitude("18000.1", "W"), kEmptyLon);
    // A signed field: degrees are the whole part, and nothing beyond the poles.
    EXPECT_NEAR(ReadLatitude("-4916.45", "N"), -(49.0 + 16.45 / 60.0), 1e-9);
    EXPECT_EQ(ReadLatitude("-9000000.0", "N"), kEmptyLat);
    EXPECT_EQ(ReadLatitude("-9000.1", "S"), kEmptyLat);
    EXPECT_EQ(ReadLongitude("-18000.1", "E"), kEmptyLon);
    EXPECT_EQ(ReadLongitude("-1e300", "E"), kEmptyLon);
    EXPECT_EQ(ReadWhole("12ab"), 12);
    EXPECT_EQ(ReadWhole("-99999999999999"), -2147483648LL);
    EXPECT_EQ(ReadWhole("99999999999999"), 2147483647);
    EXPECT_EQ(ReadFloat("abc"), 0.0);
    EXPECT_EQ(ReadFloat("1e999"), 0.0);
    const DegreesMinutes dm = SplitDegrees(48.1173);
    EXPECT_EQ(dm.degrees, 48);
    EXPECT_EQ(dm.minutes, 7);
    EXPECT_EQ(dm.minuteFraction, 3800);
    // Rounding carries into the minutes and degrees.
    const DegreesMinutes up = SplitDegrees(10.0 - 1e-9, 1);
    EXPECT_EQ(up.degrees, 10);
    EXPECT_EQ(up.minutes, 0);
    EXPECT_EQ(up.minuteFraction, 0);
}
