// The simulator's AIS sentences through an independent decoder: gpsdecode of
// gpsd decodes every message type the simulator sends to the values of the
// scenario. Skipped where gpsdecode is not installed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "SimTestSupport.h"

namespace norq::sim {
namespace {

using Object = std::map<std::string, std::string>;

// Reads the flat members of one JSON object line (strings unquoted).
Object ParseFlat(const std::string& line) {
    Object out;
    std::size_t i = 0;
    auto skip = [&] {
        while (i < line.size() && (line[i] == ' ' || line[i] == ',' || line[i] == '{'))
            ++i;
    };
    auto string = [&] {
        std::string s;
        for (++i; i < line.size() && line[i] != '"'; ++i) {
            if (line[i] == '\\' && i + 1 < line.size()) ++i;
            s.push_back(line[i]);
        }
        ++i;
        return s;
    };
    while (true) {
        skip();
        if (i >= line.size() || line[i] != '"') break;
        const std::string key = string();
        if (i >= line.size() || line[i] != ':') break;
        ++i;
        if (i < line.size() && line[i] == '"') {
            out[key] = string();
        } else if (i < line.size() && line[i] == '[') {
            int depth = 0;  // nested lists are skipped
            for (; i < line.size(); ++i) {
                depth += line[i] == '[' ? 1 : line[i] == ']' ? -1 : 0;
                if (depth == 0) break;
            }
            ++i;
        } else {
            const std::size_t end = line.find_first_of(",}", i);
            out[key] = line.substr(i, end - i);
            i = end;
        }
    }
    return out;
}

// Armours a string of '0' and '1' into 6-bit characters.
std::string Armour(std::string bits, int& fill) {
    fill = static_cast<int>((6 - bits.size() % 6) % 6);
    bits.append(static_cast<std::size_t>(fill), '0');
    std::string out;
    for (std::size_t i = 0; i < bits.size(); i += 6) {
        const int v = std::stoi(bits.substr(i, 6), nullptr, 2);
        out.push_back(static_cast<char>(v < 40 ? v + 48 : v + 56));
    }
    return out;
}

class GpsdecodeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::system("command -v gpsdecode >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "no gpsdecode";
        Simulator sim(test::SmallScenario());
        LineBatch all = test::RunFor(sim, 10);
        // DAC 235, FI 10 and 16 bits of data, broadcast (8) and addressed (6).
        int fill = 0;
        const std::string data = Armour(
            "0011101011"
            "001010"
            "1010101111001101",
            fill);
        sim.receiveLine(Device::Transponder,
                        test::Sentence("!AIBBM,1,1,0,1,8," + data + "," + std::to_string(fill)),
                        all);
        sim.receiveLine(
            Device::Transponder,
            test::Sentence("!AIABM,1,1,2,244000001,2,6," + data + "," + std::to_string(fill)), all);
        sim.advanceTo(400, all);
        char in[] = "/tmp/norq-sim-gpsdecode-XXXXXX";
        const int fd = mkstemp(in);
        ASSERT_GE(fd, 0);
        close(fd);
        {
            std::ofstream f(in, std::ios::binary);
            for (const TimedLine& l : all) {
                if (l.device == Device::Transponder) f << l.text;
            }
        }
        const std::string out = std::string(in) + ".json";
        const std::string command =
            "gpsdecode -j -s < " + std::string(in) + " > " + out + " 2>/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0);
        std::ifstream json(out);
        for (std::string line; std::getline(json, line);) {
            Object o = ParseFlat(line);
            if (o["class"] != "AIS") continue;
            types_.insert(std::stoi(o["type"]));
            const std::string key = o["type"] + " " + o["mmsi"] + " " + o["part"];
            if (!first_.count(key)) first_[key] = o;
        }
        std::remove(in);
        std::remove(out.c_str());
    }

    // The first message of a type from an MMSI, as gpsdecode wrote it.
    const Object& first(int type, std::uint32_t mmsi, const char* part = "") {
        const std::string key = std::to_string(type) + " " + std::to_string(mmsi) + " " + part;
        EXPECT_TRUE(first_.count(key)) << "no message " << key;
        return first_[key];
    }

    std::set<int> types_;
    std::map<std::string, Object> first_;
};

double Num(const Object& o, const char* key) {
    const auto it = o.find(key);
    return it == o.end() ? -1e9 : std::atof(it->second.c_str());
}

TEST_F(GpsdecodeTest, DecodesEveryMessageTypeToTheScenariosValues) {
    EXPECT_EQ(types_, (std::set<int>{1, 4, 5, 6, 8, 9, 12, 14, 18, 21, 22, 24}));

    const Object& a = first(1, 244000001);  // [vessel straight]
    EXPECT_EQ(a.at("status"), "0");
    EXPECT_DOUBLE_EQ(Num(a, "speed"), 10.0);
    EXPECT_DOUBLE_EQ(Num(a, "course"), 90.0);
    EXPECT_NEAR(Num(a, "lat"), 51.05, 0.001);
    EXPECT_NEAR(Num(a, "lon"), 1.40, 0.005);  // 10 kn east for at most 10 s
    EXPECT_NEAR(Num(a, "heading"), 90, 3);
    EXPECT_EQ(first(1, 244000002).at("status"), "1");   // at anchor
    EXPECT_EQ(first(1, 970000001).at("status"), "15");  // SART in test mode
    EXPECT_EQ(first(1, 972000001).at("status"), "14");  // MOB active

    const Object& own = first(1, 235000001);  // the own ship, from VDO
    EXPECT_NEAR(Num(own, "lat"), 51.0, 0.0001);
    EXPECT_NEAR(Num(own, "lon"), 1.5, 0.0001);
    EXPECT_DOUBLE_EQ(Num(own, "speed"), 12.0);

    const Object& v = first(5, 244000001);
    EXPECT_EQ(v.at("shipname"), "STRAIGHT RUNNER");
    EXPECT_EQ(v.at("callsign"), "PBST");
    EXPECT_EQ(v.at("imo"), "9111118");
    EXPECT_EQ(v.at("shiptype"), "80");
    EXPECT_EQ(v.at("to_bow"), "120");
    EXPECT_EQ(v.at("to_stern"), "30");
    EXPECT_EQ(v.at("to_port"), "12");
    EXPECT_EQ(v.at("to_starboard"), "12");
    EXPECT_DOUBLE_EQ(Num(v, "draught"), 9.1);
    EXPECT_EQ(v.at("destination"), "BE ANR");
    EXPECT_EQ(v.at("eta"), "01-04T06:30Z");

    const Object& base = first(4, 2320001);
    EXPECT_NEAR(Num(base, "lat"), 51.13, 0.0001);
    EXPECT_NEAR(Num(base, "lon"), 1.34, 0.0001);
    EXPECT_EQ(base.at("timestamp").substr(0, 15), "2025-01-02T03:0");

    const Object& sar = first(9, 111232001);
    EXPECT_EQ(sar.at("alt"), "250");
    EXPECT_EQ(sar.at("speed"), "100");

    const Object& b = first(18, 235000003);
    EXPECT_DOUBLE_EQ(Num(b, "speed"), 6.0);
    EXPECT_DOUBLE_EQ(Num(b, "course"), 180.0);
    EXPECT_EQ(first(24, 235000003, "A").at("shipname"), "LITTLE YACHT");
    const Object& partB = first(24, 235000003, "B");
    EXPECT_EQ(partB.at("callsign"), "MLY3");
    EXPECT_EQ(partB.at("shiptype"), "37");
    EXPECT_EQ(partB.at("to_bow"), "8");

    const Object& buoy = first(21, 992350001);
    EXPECT_EQ(buoy.at("name"), "BUOY ONE");
    EXPECT_EQ(buoy.at("aid_type"), "22");
    EXPECT_EQ(buoy.at("virtual_aid"), "false");
    EXPECT_EQ(buoy.at("regional"), "1");  // the status byte: alarm
    const Object& wreck = first(21, 992350002);
    EXPECT_EQ(wreck.at("name"), "VIRTUAL WRECK MARK WITH A LONG NAM");  // name and extension
    EXPECT_EQ(wreck.at("virtual_aid"), "true");

    EXPECT_EQ(first(14, 2320001).at("text"), "NAVIGATIONAL WARNING TEST");
    EXPECT_EQ(first(14, 970000001).at("text"), "SART TEST");
    const Object& srm = first(12, 244000001);
    EXPECT_EQ(srm.at("dest_mmsi"), "235000001");
    EXPECT_EQ(srm.at("text"), "HELLO OWN SHIP");

    const Object& cm = first(22, 2320001);
    EXPECT_EQ(cm.at("channel_a"), "2087");
    EXPECT_EQ(cm.at("channel_b"), "2088");
    EXPECT_NEAR(Num(cm, "ne_lat"), 51.5, 0.001);
    EXPECT_NEAR(Num(cm, "sw_lon"), 1.0, 0.001);

    const Object& bin = first(8, 235000001);  // the own transmission, back as VDO
    EXPECT_EQ(bin.at("dac"), "235");
    EXPECT_EQ(bin.at("fid"), "10");
    const Object& addressed = first(6, 235000001);
    EXPECT_EQ(addressed.at("dest_mmsi"), "244000001");
    EXPECT_EQ(addressed.at("dac"), "235");
}

}  // namespace
}  // namespace norq::sim
