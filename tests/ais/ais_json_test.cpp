// The JSON lines of decoded messages: names, units, nulls, texts and bounds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "ais/AisDecoder.h"
#include "ais/AisEncoder.h"
#include "ais/AisJson.h"

namespace norq::ais {
namespace {

std::string Json(AisMessage m) {
    // A record built by hand stands for a whole message.
    if (m.bitCount == 0) m.bitCount = static_cast<std::uint16_t>(kAisMaxPayloadBits);
    char buf[kAisJsonMaxLength];
    const std::size_t n = WriteAisJson(m, buf);
    EXPECT_GT(n, 0u);
    return std::string(buf, n);
}

std::string JsonOf(std::string_view payload, int fill = 0) {
    AisMessage m{};
    EXPECT_TRUE(DecodeAisPayload(payload, fill, m)) << payload;
    return Json(m);
}

AisMessage Position() {
    AisMessage m{};
    m.messageId = 1;
    m.mmsi = 227006760;
    m.layout = AisLayoutId::PositionReport;
    m.bitCount = 168;
    return m;
}

TEST(AisJson, PositionReportInNaturalUnits) {
    EXPECT_EQ(JsonOf("13HOI:0P0000VOHLCnHQKwvL05Ip"),
              "{\"class\":\"AIS\",\"type\":1,\"repeat\":0,\"mmsi\":227006760,\"scaled\":true,"
              "\"status\":0,\"turn\":null,\"speed\":0.0,\"accuracy\":false,\"lon\":0.131380,"
              "\"lat\":49.475577,\"course\":36.7,\"heading\":null,\"second\":14,\"maneuver\":0,"
              "\"raim\":false,\"radio\":22136}\n");
}

TEST(AisJson, NotAvailableValuesAreNull) {
    AisMessage m = Position();
    m.position.longitude = kAisLonNotAvailable;
    m.position.latitude = kAisLatNotAvailable;
    m.position.sog = kAisSpeedNotAvailable;
    m.position.cog = kAisCourseNotAvailable;
    m.position.heading = kAisHeadingNotAvailable;
    m.position.rateOfTurn = kAisRotNotAvailable;
    const std::string j = Json(m);
    for (const char* key : {"lon", "lat", "speed", "course", "heading", "turn"}) {
        EXPECT_NE(j.find("\"" + std::string(key) + "\":null"), std::string::npos) << key;
    }
}

TEST(AisJson, RateOfTurnKeepsItsSignAndNamesTheFastTurns) {
    AisMessage m = Position();
    m.position.rateOfTurn = -(10 / 4.733f) * (10 / 4.733f);
    EXPECT_NE(Json(m).find("\"turn\":-4.464,"), std::string::npos);
    m.position.rateOfTurn = kAisRotFastRight;
    EXPECT_NE(Json(m).find("\"turn\":\"fastright\""), std::string::npos);
    m.position.rateOfTurn = kAisRotFastLeft;
    EXPECT_NE(Json(m).find("\"turn\":\"fastleft\""), std::string::npos);
    m.position.longitude = -74.0;
    m.position.latitude = -40.5;
    EXPECT_NE(Json(m).find("\"lon\":-74.000000,\"lat\":-40.500000"), std::string::npos);
}

TEST(AisJson, EveryRawRateOfTurnReadsBackAsItself) {
    // One decimal printed raw +-1 (0.045 degrees per minute) as 0.0 and lost its sign.
    for (int r = -126; r <= 126; ++r) {
        const std::uint32_t raw = static_cast<std::uint32_t>(r) & 0xFF;
        AisBitBuffer bits{};
        WriteBits(bits, 0, 6, 1);
        WriteBits(bits, 42, 8, raw);
        WriteBits(bits, 61, 28, 0x6791AC0);  // 181 degrees: not available
        WriteBits(bits, 89, 27, 0x3412140);  // 91 degrees
        bits.bitCount = 168;
        AisMessage m{};
        ASSERT_TRUE(DecodeAisBits(bits, m));
        const std::string text = Json(m);
        const std::size_t at = text.find("\"turn\":");
        ASSERT_NE(at, std::string::npos);
        const double v = std::stod(text.substr(at + 7));
        const int back = static_cast<int>(std::lround(4.733 * std::sqrt(std::fabs(v))));
        EXPECT_EQ(v < 0 ? -back : back, r) << text.substr(at, 20);
        if (r != 0) {
            EXPECT_EQ(v < 0, r < 0) << r;
        }
    }
}

TEST(AisJson, LongRangeBroadcastWithGpsdNames) {
    // A real message 27 (ais-18-27.log); gpsdecode -u reads lon 14978, lat 36098
    // (1/10 minute), speed 1, course 30, gnss true.
    EXPECT_EQ(JsonOf("K3KLehP0rPTJ10Qr"),
              "{\"class\":\"AIS\",\"type\":27,\"repeat\":0,\"mmsi\":230108610,\"scaled\":true,"
              "\"status\":0,\"accuracy\":false,\"lon\":24.963333,\"lat\":60.163333,\"speed\":1,"
              "\"course\":30,\"raim\":false,\"gnss\":true}\n");
    AisMessage m{};
    m.messageId = 27;
    m.layout = AisLayoutId::LongRange;
    m.longRange.longitude = kAisLonNotAvailable;
    m.longRange.latitude = kAisLatNotAvailable;
    m.longRange.sog = kAisLongRangeSpeedNotAvailable;
    m.longRange.cog = kAisLongRangeCourseNotAvailable;
    const std::string j = Json(m);
    for (const char* key : {"lon", "lat", "speed", "course"}) {
        EXPECT_NE(j.find("\"" + std::string(key) + "\":null"), std::string::npos) << key;
    }
}

TEST(AisJson, DgnssWithoutDataWordsHasNoDataBits) {
    AisBitBuffer bits{};
    WriteBits(bits, 0, 6, 17);
    WriteBits(bits, 8, 30, 2734450);
    bits.bitCount = 80;
    AisMessage m{};
    ASSERT_TRUE(DecodeAisBits(bits, m));
    EXPECT_NE(Json(m).find("\"data\":\"0:\""), std::string::npos) << Json(m);
    bits.bitCount = 120;  // the DGNSS header alone: 40 bits
    ASSERT_TRUE(DecodeAisBits(bits, m));
    EXPECT_NE(Json(m).find("\"data\":\"40:"), std::string::npos) << Json(m);
}

TEST(AisJson, ReceiveTimeOfAFileLine) {
    char buf[kAisJsonMaxLength];
    AisMessage m = Position();
    const std::string j(buf, WriteAisJson(m, buf, 1325394060));
    EXPECT_NE(j.find(",\"rxtime\":\"2012-01-01T05:01:00Z\"}"), std::string::npos) << j;
    EXPECT_EQ(std::string(buf, WriteAisJson(m, buf)).find("rxtime"), std::string::npos);
}

TEST(AisJson, StaticVoyageDataWithEtaAndDimensions) {
    const std::string j =
        JsonOf("55?MbV02;H;s<HtKR20EHE:0@T4@Dn2222222216L961O5Gf0NSQEp6ClRp888888888880", 2);
    EXPECT_NE(j.find("\"imo\":9134270,\"ais_version\":0,\"callsign\":\"3FOF8\","
                     "\"shipname\":\"EVER DIADEM\",\"shiptype\":70,\"to_bow\":225,"
                     "\"to_stern\":70,\"to_port\":1,\"to_starboard\":31,\"epfd\":1,"
                     "\"eta\":\"05-15T14:00Z\",\"draught\":12.2,\"destination\":\"NEW YORK\","
                     "\"dte\":0}"),
              std::string::npos)
        << j;
}

TEST(AisJson, TextsEndAtPaddingAndAreEscaped) {
    AisMessage m{};
    m.messageId = 14;
    m.layout = AisLayoutId::SafetyBroadcast;
    std::strcpy(m.safetyBroadcast.text.data(), "SAY \"HI\" \\ OK  @@@@@ X");
    EXPECT_NE(Json(m).find("\"text\":\"SAY \\\"HI\\\" \\\\ OK\"}"), std::string::npos) << Json(m);

    m.messageId = 5;
    m.layout = AisLayoutId::StaticVoyage;
    std::memset(m.staticVoyage.name.data(), '@', 20);
    EXPECT_NE(Json(m).find("\"shipname\":\"\""), std::string::npos);
}

TEST(AisJson, BaseStationTimestamp) {
    AisMessage m{};
    m.messageId = 4;
    m.layout = AisLayoutId::BaseStation;
    m.baseStation = {2024, 6, 1, 9, 5, 7, 1, 10.5, 59.25, 1, 0, 0, 0};
    EXPECT_NE(Json(m).find("\"timestamp\":\"2024-06-01T09:05:07Z\",\"accuracy\":true,"
                           "\"lon\":10.500000,\"lat\":59.250000"),
              std::string::npos);
}

TEST(AisJson, StaticDataPartsAndAuxiliaryCraft) {
    AisMessage m{};
    m.messageId = 24;
    m.mmsi = 338123456;
    m.layout = AisLayoutId::StaticDataA;
    std::strcpy(m.staticA.name.data(), "SEA BREEZE@@@@@@@@@@");
    EXPECT_NE(Json(m).find("\"part\":\"A\",\"shipname\":\"SEA BREEZE\"}"), std::string::npos);

    m.layout = AisLayoutId::StaticDataB;
    m.staticB = AisStaticDataB{};
    m.staticB.partNumber = 1;
    m.staticB.shipType = 37;
    // "ABC", then model 2 and serial 12345 in the 24 bits of the last four characters.
    const std::uint32_t tail = 2u << 20 | 12345u;
    std::strcpy(m.staticB.vendorId.data(), "ABC");
    for (int i = 0; i < 4; ++i) {
        const std::uint32_t v = (tail >> (18 - 6 * i)) & 63;
        m.staticB.vendorId[3 + i] = static_cast<char>(v < 32 ? v + 64 : v);
    }
    m.staticB.dimensions = 10u << 21 | 5u << 12 | 2u << 6 | 3u;
    std::string j = Json(m);
    EXPECT_NE(j.find("\"part\":\"B\",\"shiptype\":37,\"vendorid\":\"ABC"), std::string::npos) << j;
    EXPECT_NE(j.find("\"model\":2,\"serial\":12345,"), std::string::npos) << j;
    EXPECT_NE(j.find("\"to_bow\":10,\"to_stern\":5,\"to_port\":2,\"to_starboard\":3"),
              std::string::npos);
    m.mmsi = 982123456;  // auxiliary craft: the dimension bits are the mothership's MMSI
    j = Json(m);
    EXPECT_NE(j.find("\"mothership_mmsi\":" + std::to_string(m.staticB.dimensions)),
              std::string::npos);
    EXPECT_EQ(j.find("to_bow"), std::string::npos);
}

TEST(AisJson, ChannelManagementShowsDestinationsOrCorners) {
    AisMessage m{};
    m.messageId = 22;
    m.layout = AisLayoutId::ChannelManagement;
    m.channelManagement.longitude1 = kAisLonNotAvailable;
    m.channelManagement.latitude1 = 60.5;
    EXPECT_NE(Json(m).find("\"ne_lon\":null,\"ne_lat\":60.500000"), std::string::npos);
    m.channelManagement.addressed = 1;
    m.channelManagement.destinationMmsi1 = 111;
    m.channelManagement.destinationMmsi2 = 222;
    const std::string j = Json(m);
    EXPECT_NE(j.find("\"dest1\":111,\"dest2\":222,\"addressed\":true"), std::string::npos) << j;
    EXPECT_EQ(j.find("ne_lon"), std::string::npos);
}

TEST(AisJson, BinaryDataAsBitCountAndHex) {
    AisMessage m{};
    m.messageId = 8;
    m.layout = AisLayoutId::BinaryBroadcast;
    // DAC 366 (10 bits), FI 56 (6 bits), then 0xAB and four bits 1010.
    const std::uint8_t data[] = {0x5B, 0xB8, 0xAB, 0xA0};
    std::memcpy(m.binaryBroadcast.data.data(), data, sizeof data);
    m.binaryBroadcast.dataBits = 28;
    EXPECT_NE(Json(m).find("\"dac\":366,\"fid\":56,\"data\":\"12:aba0\"}"), std::string::npos)
        << Json(m);

    m.messageId = 26;
    m.layout = AisLayoutId::SlotBinaryBroadcast;
    m.slotBinary.structured = 1;
    // Application id 0x1234, eight data bits 0xCD, then a 20-bit radio state 0xABCDE.
    const std::uint8_t slot[] = {0x12, 0x34, 0xCD, 0xAB, 0xCD, 0xE0};
    std::memcpy(m.slotBinary.data.data(), slot, sizeof slot);
    m.slotBinary.dataBits = 44;
    EXPECT_NE(Json(m).find("\"app_id\":4660,\"data\":\"8:cd\",\"radio\":703710}"),
              std::string::npos)
        << Json(m);
    m.messageId = 25;  // no radio state
    EXPECT_NE(Json(m).find("\"data\":\"28:cdabcde0\"}"), std::string::npos) << Json(m);
}

TEST(AisJson, TooSmallBufferWritesNothingBeyondIt) {
    const AisMessage m = Position();
    const std::string full = Json(m);
    std::vector<char> buf(full.size() + 8, '#');
    EXPECT_EQ(WriteAisJson(m, std::span(buf.data(), full.size() - 1)), 0u);
    EXPECT_EQ(buf[full.size() - 1], '#');
    EXPECT_EQ(WriteAisJson(m, std::span(buf.data(), full.size())), full.size());
    EXPECT_EQ(std::string(buf.data(), full.size()), full);
    EXPECT_EQ(WriteAisJson(m, std::span<char>()), 0u);
}

TEST(AisJson, TheLongestMessagesFitTheDocumentedLength) {
    AisMessage m{};
    m.messageId = 14;
    m.layout = AisLayoutId::SafetyBroadcast;
    std::memset(m.safetyBroadcast.text.data(), '"', kAisMaxTextChars);
    EXPECT_GT(Json(m).size(), 2 * kAisMaxTextChars);

    for (AisLayoutId id : {AisLayoutId::BinaryBroadcast, AisLayoutId::Dgnss}) {
        m = AisMessage{};
        m.messageId = id == AisLayoutId::Dgnss ? 17 : 8;
        m.layout = id;
        std::uint16_t& bits =
            id == AisLayoutId::Dgnss ? m.dgnss.dataBits : m.binaryBroadcast.dataBits;
        bits = static_cast<std::uint16_t>(kAisMaxBinaryBytes * 8);
        m.bitCount = static_cast<std::uint16_t>(kAisMaxPayloadBits);
        EXPECT_GT(Json(m).size(), 2 * kAisMaxBinaryBytes);
    }
}

}  // namespace
}  // namespace norq::ais
