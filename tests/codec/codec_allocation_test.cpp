// The codec allocates nothing per sentence: parsing, storing and composing
// run on fixed areas. Every allocation of this test binary is counted.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "SentenceLines.h"
#include "codec/SentenceCodec.h"
#include "support/CountingAllocator.h"

using namespace norq::codec;
using norq::test::Checksummed;

TEST(CodecAllocation, ParseStoreAndComposeAllocateNothing) {
    // A received sentence of every composed formatter, then what to compose.
    const std::pair<const char*, const char*> kSamples[] = {
        {"GPRMC,081836.00,A,3751.65,S,14507.36,E,0.0,360.0,130998,11.3,E,A", "RMC"},
        {"GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1", "GSA"},
        {"GPGBS,015509.00,-0.031,-0.186,0.219,19,0.000,-0.354,6.972", "GBS"},
        {"HEHDT,274.07,T", "HDT"},
        {"HEROT,-3.5,A", "ROT"},
        {"!AIVDM,2,1,3,B,55P5TL01VIaAL@7WKO@mBplU@<PDhh000000001S;AJ::4A80?4i@E53,0", "VDM"},
        {"!AIVDO,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0", "VDO"},
        {"!AIABM,1,1,0,211000001,1,12,<5?SIT`,0", "ABM"},
        {"!AIBBM,1,1,,0,8,<5?SIT`,2", "BBM"},
        {"AIABK,211000001,B,12,3,0", "ABK"},
        {"AIACA,1,5100.5,N,00200.2,E,5000.0,S,00100.0,W,4,2087,0,2088,0,0,0,I,1,120000", "ACA"},
        {"AIACS,1,211000001,120000.50,01,02,2024", "ACS"},
        {"AIALR,120000.00,006,A,V,AIS: general failure", "ALR"},
        {"AIACK,042", "ACK"},
        {"AISSD,NORQ1,NORQ ONE,100,20,5,6,0,AI", "SSD"},
        {"AIVSD,80,7.2,12,HAMBURG,103000.00,14,06,0,0", "VSD"},
        {"PMID,211000001,", "MID"},
        {"PBDY,211000001,ALPHA,,1,", "BDY"},
        {"PTST,00042,07,c,K,00123", "TST"},
        {"PFRQ,000161975,2,,", "FRQ"},
        {"PBTH,001,002,003,004,005,006,name", "BTH"},
        {"PKRV,R,DBG,030,2,,,,,,", "DBG"},
        {"PTPS,012,hello", "TPS"},
        {"PKRV,R,MRK,2,5,3,25123456,-121500000,BUOY 1,1,", "MRK"},
        {"PMOB,0A1B2C,1,02,C8,0A0B0C", "MOB"},
        {"AIACF,,0001,5100.000,N,00200.000,E,1,2,3,4,5,6,7,,C", "ACF"},
        {"AIVER,1,1,AIS,NORQ,ID,SN,MC,1.0,2.0,R", "VER"},
    };
    std::vector<std::pair<std::string, std::string>> lines;
    for (const auto& [body, formatter] : kSamples) {
        const char start = body[0] == '!' ? '!' : '$';
        lines.emplace_back(Checksummed(body[0] == '!' ? body + 1 : body, start), formatter);
    }
    auto codec = std::make_unique<SentenceCodec>();
    SentenceText text;

    const long before = norq::test::gAllocations.load();
    ASSERT_GT(before, 0);  // the counter sees the allocations of the set-up
    int composed = 0;
    for (int round = 0; round < 10; ++round) {
        for (const auto& [line, formatter] : lines) {
            ASSERT_EQ(codec->parse(line), ParseStatus::Ok) << line;
            codec->StoreSentence(codec->received());
            const std::string_view talker =
                line[1] == 'P' ? "P" : std::string_view(line).substr(1, 2);
            composed += codec->ComposeFromStore(talker, formatter, text);
            codec->productInfo().offer(line);
        }
    }
    EXPECT_EQ(norq::test::gAllocations.load() - before, 0);
    EXPECT_EQ(composed, 10 * static_cast<int>(lines.size()));
}
