// Fairway broadcasts as the transponder receives them on a pseudo-terminal:
// the BBM sentences, put into message 8 as the transponder would send it,
// decode through our own decoder and through gpsdecode to the fields that
// were broadcast. A closed port leaves the broadcast flag as it was.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "ais/AisDecoder.h"
#include "comm/CommTestSupport.h"
#include "messaging/FairwayBroadcast.h"
#include "support/CommandOutput.h"

namespace norq::test {
namespace {

using comm::test::PtyPair;
using messaging::Fairway;

std::string Field(const std::string& line, int index) {
    std::size_t at = 0;
    for (int i = 0; i < index; ++i)
        at = line.find(',', at) + 1;
    return line.substr(at, line.find_first_of(",*", at) - at);
}

struct Payload {
    std::string chars;
    int fill = 0;
};

// The payloads of the captured BBM lines, one per message.
std::vector<Payload> Payloads(const std::string& captured, std::vector<int>* channels) {
    std::vector<Payload> out;
    std::size_t at = 0;
    while ((at = captured.find("!AIBBM,", at)) != std::string::npos) {
        const std::string line = captured.substr(at, captured.find('\n', at) - at + 1);
        at += line.size();
        EXPECT_TRUE(codec::ChecksumValid(line)) << line;
        if (Field(line, 2) == "1") out.emplace_back();
        out.back().chars += Field(line, 6);
        out.back().fill = std::stoi(Field(line, 7));
        if (channels) channels->push_back(std::stoi(Field(line, 4)));
    }
    return out;
}

int SixBits(char c) {
    return c - 48 > 40 ? c - 56 : c - 48;
}

// Message 8 from own MMSI 211000001 around a BBM payload, as VDM lines.
std::string VdmLines(const Payload& payload) {
    std::string bits = "00100000";  // message 8, no repeat
    for (int b = 29; b >= 0; --b)
        bits += ((211000001u >> b) & 1u) ? '1' : '0';
    bits += "00";
    for (char c : payload.chars) {
        for (int b = 5; b >= 0; --b)
            bits += ((SixBits(c) >> b) & 1) ? '1' : '0';
    }
    bits.resize(bits.size() - static_cast<std::size_t>(payload.fill));
    const int fill = static_cast<int>((6 - bits.size() % 6) % 6);
    bits.append(static_cast<std::size_t>(fill), '0');
    std::string chars;
    for (std::size_t i = 0; i < bits.size(); i += 6) {
        const int v = std::stoi(bits.substr(i, 6), nullptr, 2);
        chars += static_cast<char>(v < 40 ? v + 48 : v + 56);
    }
    const std::size_t parts = (chars.size() + 59) / 60;
    std::string out;
    for (std::size_t k = 0; k < parts; ++k) {
        char body[160];
        std::snprintf(body, sizeof body, "AIVDM,%zu,%zu,%s,A,%s,%d", parts, k + 1,
                      parts > 1 ? "3" : "", chars.substr(60 * k, 60).c_str(),
                      k + 1 == parts ? fill : 0);
        int sum = 0;
        for (const char* p = body; *p; ++p)
            sum ^= static_cast<unsigned char>(*p);
        char line[200];
        std::snprintf(line, sizeof line, "!%s*%02X\n", body, sum);
        out += line;
    }
    return out;
}

// Our decoder: message 8 and its application data bits.
ais::AisBitBuffer DecodeOwn(const Payload& payload) {
    std::string chars;
    int fill = 0;
    const std::string lines = VdmLines(payload);
    for (std::size_t at = 0; at < lines.size(); at = lines.find('\n', at) + 1) {
        const std::string line = lines.substr(at, lines.find('\n', at) - at);
        chars += Field(line, 5);
        fill = std::stoi(Field(line, 6));
    }
    ais::AisMessage m{};
    EXPECT_TRUE(ais::DecodeAisPayload(chars, fill, m));
    EXPECT_EQ(m.messageId, 8);
    EXPECT_EQ(m.mmsi, 211000001u);
    ais::AisBitBuffer data{};
    std::copy_n(m.binaryBroadcast.data.begin(), data.bytes.size(), data.bytes.begin());
    data.bitCount = m.binaryBroadcast.dataBits;
    return data;
}

// gpsdecode's JSON lines for the messages (empty where it is not installed).
std::vector<std::string> Gpsdecode(const std::vector<Payload>& payloads, const char* flags) {
    const std::string path = ::testing::TempDir() + "norq-broadcast.nmea";
    {
        std::ofstream out(path);
        for (const Payload& p : payloads)
            out << VdmLines(p);
    }
    const std::string text = CommandOutput("gpsdecode " + std::string(flags) + " < " + path);
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
        lines.push_back(text.substr(at, text.find('\n', at) - at));
        if (text.find('\n', at) == std::string::npos) break;
    }
    return lines;
}

bool HaveGpsdecode() {
    return std::system("command -v gpsdecode >/dev/null 2>&1") == 0;
}

// The bits of gpsdecode's "data":"142:00c9..." after DAC and FI.
ais::AisBitBuffer GpsdData(const std::string& json) {
    ais::AisBitBuffer b{};
    const std::size_t at = json.find("\"data\":\"");
    if (at == std::string::npos) return b;
    const std::size_t colon = json.find(':', at + 8);
    b.bitCount = static_cast<std::uint16_t>(std::stoi(json.substr(at + 8, colon - at - 8)));
    for (std::size_t i = 0; 2 * i + 1 < json.size() - colon && i < b.bytes.size(); ++i) {
        const std::string hex = json.substr(colon + 1 + 2 * i, 2);
        if (hex.size() < 2 || hex[0] == '"' || hex[1] == '"') break;
        b.bytes[i] = static_cast<std::uint8_t>(std::stoi(hex, nullptr, 16));
    }
    return b;
}

class BroadcastCaptureTest : public ::testing::Test, public comm::test::ControlFixture {
  protected:
    BroadcastCaptureTest() : bbm(run->codec, control), sender(bbm) {}

    Fairway Polyline(int corners, int shape = 3) {
        Fairway f;
        f.linkageId = 321;
        f.areaShape = shape;
        f.month = 12;
        f.day = 10;
        f.hour = 14;
        f.minute = 30;
        f.duration = 1440;
        for (int i = 0; i < corners; ++i) {
            f.waypoints.push_back({12.5 + 0.01 * i, 55.6 + 0.004 * (i % 3), 0, 0});
        }
        return f;
    }

    std::string send(Fairway& f, bool withdraw = false) {
        std::string error;
        const auto r = withdraw ? messaging::WithdrawFairway(f, sender, 2)
                                : messaging::BroadcastFairway(f, sender, 2, error);
        EXPECT_EQ(r, messaging::BroadcastResult::Sent) << error;
        // Everything written: read until the line stays quiet.
        std::string seen;
        for (int quiet = 0; quiet < 3;) {
            const std::string more = line.read({}, std::chrono::milliseconds(150));
            quiet = more.empty() ? quiet + 1 : 0;
            seen += more;
        }
        return seen;
    }

    PtyPair line;
    ais::BinaryBbmSender bbm;
    messaging::BinaryMessageSender sender;
};

TEST_F(BroadcastCaptureTest, PolylineAndItsWithdrawalDecodeToTheSentFields) {
    NORQ_NEED_PTY();
    ASSERT_TRUE(control.OpenSensorPort(comm::kAisPort, line.path(), 3));
    Fairway f = Polyline(7);
    std::vector<int> channels;
    const std::vector<Payload> payloads = Payloads(send(f), &channels);
    ASSERT_EQ(payloads.size(), 3u);  // point, shape, continuation
    EXPECT_TRUE(f.broadcast);
    for (int c : channels)
        EXPECT_EQ(c, 2);

    const messaging::NoticeSeries expected = messaging::FairwayNotice(f);
    std::vector<std::string> json;
    if (HaveGpsdecode()) json = Gpsdecode(payloads, "");
    for (std::size_t i = 0; i < payloads.size(); ++i) {
        const ais::AreaNoticeRecord& want = expected.records[i];
        const ais::AisBitBuffer data = DecodeOwn(payloads[i]);
        ais::AreaNoticeRecord got{};
        ais::UnpackFields(data, *ais::SelectEncodeLayout(22, want.areaShape), got);
        EXPECT_EQ(got.dac, 1);
        EXPECT_EQ(got.fi, 22);
        EXPECT_EQ(got.linkageId, 321);
        EXPECT_EQ(got.month, 12);
        EXPECT_EQ(got.minute, 30);
        EXPECT_EQ(got.duration, 1440u);
        EXPECT_EQ(got.areaShape, want.areaShape);
        EXPECT_EQ(got.segments, want.segments);
        if (i == 0) {
            EXPECT_NEAR(got.longitude, 12.5, 1e-3);
        }
        if (json.empty()) continue;
        // gpsdecode gives FI 22 as raw data after DAC and FI: read it by hand.
        ASSERT_EQ(json.size(), payloads.size());
        EXPECT_NE(json[i].find("\"dac\":1,\"fid\":22"), std::string::npos) << json[i];
        const ais::AisBitBuffer g = GpsdData(json[i]);
        EXPECT_EQ(g.bitCount, 142);
        EXPECT_EQ(g.read(0, 10), 321u);    // linkage ID
        EXPECT_EQ(g.read(10, 7), 18u);     // notice: fairway closed
        EXPECT_EQ(g.read(17, 4), 12u);     // month
        EXPECT_EQ(g.read(37, 18), 1440u);  // duration
        EXPECT_EQ(g.read(55, 3), want.areaShape);
        for (int k = 0; k < 8 && i > 0; ++k) {
            EXPECT_EQ(g.read(60 + 10 * k, 10), want.segments[k]) << i << "/" << k;
        }
        if (i == 0) {
            EXPECT_EQ(ais::SignExtend(g.read(60, 25), 25), 750000);  // 12.5 degrees
        }
    }

    const std::string cancel = send(f, true);
    const std::vector<Payload> back = Payloads(cancel, nullptr);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_FALSE(f.broadcast);
    ais::AreaNoticeRecord got{};
    ais::UnpackFields(DecodeOwn(back[0]), ais::AreaNoticeCircleLayout(), got);
    EXPECT_EQ(got.noticeDescription, 126);
    EXPECT_EQ(got.linkageId, 321);
    EXPECT_NEAR(got.longitude, 181.0, 1e-3);
    EXPECT_NEAR(got.latitude, 91.0, 1e-3);
    EXPECT_EQ(got.duration, 0u);
}

TEST_F(BroadcastCaptureTest, CircleAndRouteDecodeToTheSentFields) {
    NORQ_NEED_PTY();
    ASSERT_TRUE(control.OpenSensorPort(comm::kAisPort, line.path(), 3));
    Fairway circle = Polyline(2, 0);
    circle.noticeDescription = messaging::kNoticeRecommendRoute;
    const std::vector<Payload> one = Payloads(send(circle), nullptr);
    ASSERT_EQ(one.size(), 1u);
    ais::AreaNoticeRecord got{};
    ais::UnpackFields(DecodeOwn(one[0]), ais::AreaNoticeCircleLayout(), got);
    const double radius = messaging::LegMetres(12.5, 55.6, 12.51, 55.604);
    EXPECT_EQ(got.scaleFactor, 0);
    EXPECT_EQ(got.radius, static_cast<std::uint32_t>(radius));
    EXPECT_NEAR(got.latitude, 55.6, 1e-3);

    Fairway route = Polyline(16);
    route.fi = 27;
    const std::vector<Payload> r = Payloads(send(route), nullptr);
    ASSERT_EQ(r.size(), 1u);
    ais::RouteInfoRecord rr{};
    ais::UnpackFields(DecodeOwn(r[0]), ais::RouteInfoLayout(), rr);
    EXPECT_EQ(rr.fi, 27);
    EXPECT_EQ(rr.linkageId, 321);
    EXPECT_EQ(rr.routeType, 1);
    ASSERT_EQ(rr.waypointCount, 16);
    EXPECT_NEAR(rr.waypoints[15].longitude, 12.65, 1e-4);
    if (HaveGpsdecode()) {
        const std::vector<std::string> json = Gpsdecode({one[0], r[0]}, "");
        ASSERT_EQ(json.size(), 2u);
        const ais::AisBitBuffer g = GpsdData(json[0]);
        EXPECT_EQ(g.read(10, 7), 120u);
        EXPECT_EQ(g.read(112, 12), got.radius);
        EXPECT_NE(json[1].find("\"fid\":27,\"linkage\":321,\"sender\":1,\"rtype\":1"),
                  std::string::npos)
            << json[1];
        EXPECT_NE(json[1].find("\"start\":\"12-10T14:30Z\",\"duration\":1440"), std::string::npos);
        EXPECT_NE(json[1].find("{\"lon\":12.650000,\"lat\":55.59"), std::string::npos) << json[1];
    }

    // The route's withdrawal: route type 31 and no waypoints.
    const std::vector<Payload> w = Payloads(send(route, true), nullptr);
    ASSERT_EQ(w.size(), 1u);
    ais::UnpackFields(DecodeOwn(w[0]), ais::RouteInfoLayout(), rr);
    EXPECT_EQ(rr.routeType, 31);
    EXPECT_EQ(rr.waypointCount, 0);
}

TEST_F(BroadcastCaptureTest, AFailedSendLeavesTheFlag) {
    Fairway f = Polyline(5);
    std::string error;
    // The port is not open: nothing is written, the fairway stays unbroadcast.
    EXPECT_EQ(messaging::BroadcastFairway(f, sender, 0, error),
              messaging::BroadcastResult::PortFailed);
    EXPECT_FALSE(f.broadcast);
    f.broadcast = true;
    EXPECT_EQ(messaging::WithdrawFairway(f, sender, 0), messaging::BroadcastResult::PortFailed);
    EXPECT_TRUE(f.broadcast);
    // Too long for the largest scale: not built, nothing sent, flag unchanged.
    f.broadcast = false;
    f.waypoints[1].latitude = 70;
    EXPECT_EQ(messaging::BroadcastFairway(f, sender, 0, error),
              messaging::BroadcastResult::NotBuilt);
    EXPECT_EQ(error, "[ERROR] Distance > 1023000 metres");
    EXPECT_FALSE(f.broadcast);
}

}  // namespace
}  // namespace norq::test
