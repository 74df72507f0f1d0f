// Whatever arrives on a port: the devices never crash and never answer
// nonsense; the line buffer never grows without bound.
#include <gtest/gtest.h>

#include "Prng.h"
#include "SimTestSupport.h"
#include "io/LineBuffer.h"

namespace norq::sim {
namespace {

TEST(HostileInput, DevicesIgnoreGarbageAndMalformedSentences) {
    Simulator sim(test::SmallScenario());
    test::RunFor(sim, 2);
    const std::string lines[] = {
        "",
        "\r\n",
        std::string(5000, '!'),
        "$PTST,,,,,00017",  // no checksum
        "$PTST,,,,,00017*00",
        test::Sentence("!AIBBM,1,1,0,0,14,~~~~,0"),           // characters outside the armour
        test::Sentence("!AIBBM,1,1,0,0,14,D5CD,9"),           // fill bits out of range
        test::Sentence("!AIBBM,3,2,0,0,8,0000,0"),            // a second fragment first
        test::Sentence("!AIABM,1,1,0,244000001,1,8,0000,0"),  // message 8 is not addressed
        test::Sentence("$PKRV,C,MRK,2,1,500,0,0,,1,"),        // modify beyond the list
        test::Sentence("$PKRV,C,MRK,3,1,-5,0,0,,1,"),         // delete before the list
        test::Sentence("$PMOB,ZZZZZZ,1,08,,"),                // not hexadecimal
        test::Sentence("$PDBG,030,7,,,,,,"),                  // unknown transmit mode
    };
    for (const std::string& line : lines) {
        LineBatch out;
        sim.receiveLine(Device::Transponder, line, out);
        sim.receiveLine(Device::CrewWatch, line, out);
        sim.receiveLine(Device::Gnss, line, out);
        for (const TimedLine& l : out) {
            // Only the transmitter report may answer, and only with the unchanged state.
            EXPECT_EQ(l.text.rfind("$PKRV,R,KRV,30,0,0,", 0), 0u) << line << " -> " << l.text;
        }
    }
    EXPECT_FALSE(sim.transponder().silent());
    Prng rng(99);
    for (int i = 0; i < 2000; ++i) {
        std::string junk;
        const auto n = rng.integer(0, 120);
        for (std::int64_t k = 0; k < n; ++k)
            junk.push_back(static_cast<char>(rng.integer(1, 255)));
        LineBatch out;
        sim.receiveLine(Device::Transponder, junk, out);
        sim.receiveLine(Device::CrewWatch, junk, out);
    }
    EXPECT_FALSE(test::RunFor(sim, 5).empty());  // still running
}

TEST(HostileInput, LineBufferDropsOverlongLinesWhole) {
    LineBuffer buffer;
    std::vector<std::string> lines;
    buffer.append(std::string(LineBuffer::kMaxLine * 3, 'x'), lines);
    buffer.append("tail\n$GPGGA\r\n\n", lines);
    ASSERT_EQ(lines.size(), 1u);  // the overlong line and its tail are gone
    EXPECT_EQ(lines[0], "$GPGGA");
    buffer.append("$PTST,", lines);
    buffer.append("1\n", lines);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "$PTST,1");
}

}  // namespace
}  // namespace norq::sim
