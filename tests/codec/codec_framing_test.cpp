// Framing, checksum, empty-field marking and the address field.
#include <gtest/gtest.h>

#include <string>

#include "SentenceLines.h"
#include "codec/SentenceCodec.h"

using namespace norq::codec;
using norq::test::Checksummed;

namespace {

ParseStatus Parse(const std::string& line, SentenceRecord& r) {
    return ParseSentence(line, r);
}

std::string WithChecksumDigits(std::string line, char hi, char lo) {
    const std::size_t star = line.find('*');
    line[star + 1] = hi;
    line[star + 2] = lo;
    return line;
}

}  // namespace

TEST(Framing, ChecksumDigitsAreExactlyTwoHexDigitsOfEitherCase) {
    SentenceRecord r;
    const std::string line = Checksummed("GPHDT,12.3,T");
    const std::size_t star = line.find('*');
    const char hi = line[star + 1];
    const char lo = line[star + 2];
    ASSERT_EQ(Parse(line, r), ParseStatus::Ok);
    const std::string lower = WithChecksumDigits(line, static_cast<char>(std::tolower(hi)),
                                                 static_cast<char>(std::tolower(lo)));
    EXPECT_EQ(Parse(lower, r), ParseStatus::Ok) << lower;

    // Characters that the plain digit arithmetic would map onto hex values.
    for (char bad : {'G', 'g', ':', '?', ' ', '*', '\0'}) {
        EXPECT_EQ(Parse(WithChecksumDigits(line, bad, lo), r), ParseStatus::Checksum) << bad;
        EXPECT_EQ(Parse(WithChecksumDigits(line, hi, bad), r), ParseStatus::Checksum) << bad;
    }
}

TEST(Framing, ChecksumEndingInLetterAcceptedInLowerCase) {
    // Find a sentence whose checksum's second digit is a letter.
    SentenceRecord r;
    for (int h = 0; h < 360; ++h) {
        const std::string line = Checksummed("GPHDT," + std::to_string(h) + ".0,T");
        const char lo = line[line.find('*') + 2];
        if (lo < 'A') continue;
        std::string lower = line;
        lower[lower.find('*') + 2] = static_cast<char>(std::tolower(lo));
        EXPECT_EQ(Parse(lower, r), ParseStatus::Ok) << lower;
        return;
    }
    FAIL() << "no checksum with a letter digit";
}

TEST(Framing, RejectsLinesWithoutProperEnding) {
    SentenceRecord r;
    const std::string good = Checksummed("GPHDT,10.0,T");
    EXPECT_EQ(Parse(good, r), ParseStatus::Ok);
    EXPECT_EQ(Parse(good.substr(0, good.size() - 2) + "\n", r), ParseStatus::Framing);
    EXPECT_EQ(Parse(good.substr(0, good.size() - 2), r), ParseStatus::Framing);
    EXPECT_EQ(Parse("$GPHDT,10.0,T\r\n", r), ParseStatus::Checksum);
    // Anything between the digits and CR LF.
    std::string extra = good;
    extra.insert(extra.size() - 2, "0");
    EXPECT_EQ(Parse(extra, r), ParseStatus::Checksum);
    EXPECT_EQ(Parse(std::string("GPHDT,10.0,T*00\r\n"), r), ParseStatus::Framing);
    EXPECT_EQ(Parse(std::string("\r\n"), r), ParseStatus::Framing);
    EXPECT_EQ(Parse(std::string(""), r), ParseStatus::Framing);
}

TEST(Framing, LengthLimitsBeforeAndAfterMarking) {
    SentenceRecord r;
    // Two empty fields (time and acknowledge state) grow the line by two.
    const std::string at97 = Checksummed("AIALR,,001,A,," + std::string(77, 'D'));
    ASSERT_EQ(at97.size(), 97u);
    EXPECT_EQ(Parse(at97, r), ParseStatus::Length);
    const std::string at95 = Checksummed("AIALR,,001,A,," + std::string(75, 'D'));
    EXPECT_EQ(Parse(at95, r), ParseStatus::Ok);

    const std::string at101 = Checksummed("GPTXT,01,01,01," + std::string(80, 'T'));
    ASSERT_EQ(at101.size(), 101u);
    EXPECT_EQ(Parse(at101, r), ParseStatus::Length);
}

TEST(Framing, MarkEmptyFieldsInsertsOneSpacePerEmptyField) {
    char out[128];
    const std::string line = "$A,,B,*00\r\n";
    const std::size_t n = MarkEmptyFields(line, out, sizeof out);
    EXPECT_EQ(std::string(out, n), "$A, ,B, *00\r\n");

    const std::string exact(98, 'x');
    EXPECT_EQ(MarkEmptyFields(exact, out, sizeof out), 98u);
    EXPECT_EQ(MarkEmptyFields(exact + "x", out, sizeof out), 0u);
    EXPECT_EQ(MarkEmptyFields(std::string(96, 'x') + ",,", out, sizeof out), 0u);
    // The output's capacity bounds the copy as well.
    char small[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(MarkEmptyFields("$A,*", small, 0), 0u);
    EXPECT_EQ(small[0], '#');
    EXPECT_EQ(MarkEmptyFields("$A,*", small, 4), 0u);
    EXPECT_EQ(MarkEmptyFields("$A", small, 4), 2u);
}

TEST(Framing, EmptyHeadingReadsAsNotAvailable) {
    SentenceRecord r;
    ASSERT_EQ(Parse(Checksummed("HEHDT,,T"), r), ParseStatus::Ok);
    ASSERT_NE(r.as<Hdt>(), nullptr);
    EXPECT_EQ(r.as<Hdt>()->heading, 511.0);
    SentenceCodec codec;
    codec.StoreSentence(r);
    EXPECT_FALSE(codec.heading().headingValid);
}

TEST(Address, QueryProprietaryAndUnknown) {
    SentenceRecord r;
    ASSERT_EQ(Parse(Checksummed("AIGPQ,RMC"), r), ParseStatus::Ok);
    EXPECT_EQ(r.formatterText(), "Q");
    EXPECT_EQ(r.talkerText(), "AI");
    EXPECT_EQ(ClassifyFormatter(r.formatterText()), SentenceGroup::Query);

    ASSERT_EQ(Parse(Checksummed("PKRV,R,DBG,030,1,,,,,,"), r), ParseStatus::Ok);
    EXPECT_EQ(r.formatterText(), "DBG");
    EXPECT_EQ(r.talkerText(), "P");
    EXPECT_EQ(r.subtype, 'R');
    ASSERT_EQ(Parse(Checksummed("PDBG,030,1,,,,,,"), r), ParseStatus::Ok);
    EXPECT_EQ(r.subtype, 0);

    EXPECT_EQ(Parse(Checksummed("GPXYZ,1,2"), r), ParseStatus::UnknownFormatter);
    EXPECT_EQ(Parse(Checksummed("PGRM,1,2"), r), ParseStatus::UnknownFormatter);
    EXPECT_EQ(Parse(Checksummed("PKRV,R"), r), ParseStatus::Framing);
    EXPECT_EQ(Parse(Checksummed("GP,HDT,1"), r), ParseStatus::Framing);
    // The product-information start has too few fields to parse as TXT.
    EXPECT_EQ(Parse(std::string("$PKRV,R,TXT,PROD. INFO. BEGIN*79\r\n"), r), ParseStatus::Commas);
}

TEST(Classify, GroupsInTableOrder) {
    EXPECT_EQ(ClassifyFormatter("GGA"), SentenceGroup::Gnss);
    EXPECT_EQ(ClassifyFormatter("DTM"), SentenceGroup::Gnss);
    EXPECT_EQ(ClassifyFormatter("GNS"), SentenceGroup::Heading);
    EXPECT_EQ(ClassifyFormatter("LR2"), SentenceGroup::LongRange);
    EXPECT_EQ(ClassifyFormatter("TXT"), SentenceGroup::Transponder);
    EXPECT_EQ(ClassifyFormatter("DSE"), SentenceGroup::Dsc);
    EXPECT_EQ(ClassifyFormatter("KRV"), SentenceGroup::Proprietary);
    EXPECT_EQ(ClassifyFormatter("VER"), SentenceGroup::AtonConfig);
    EXPECT_EQ(ClassifyFormatter("QXX"), SentenceGroup::Query);
    EXPECT_EQ(ClassifyFormatter("OSD"), SentenceGroup::None);
    EXPECT_EQ(ClassifyFormatter(""), SentenceGroup::None);
}

TEST(Compose, ChecksumIsUpperCaseAndVerifies) {
    SentenceRecord r;
    r.start = '$';
    std::snprintf(r.talker, sizeof r.talker, "HE");
    std::snprintf(r.formatter, sizeof r.formatter, "HDT");
    r.body = Hdt{254.0, 'T'};
    SentenceText text;
    ASSERT_TRUE(ComposeSentence(r, text));
    EXPECT_EQ(text.view(), Checksummed("HEHDT,254.0,T"));
    for (char c : text.view().substr(text.size() - 4, 2))
        EXPECT_FALSE(std::islower(c));
    EXPECT_TRUE(ChecksumValid(text.view()));
}

TEST(Compose, AppendChecksumRefusesTextThatDoesNotFit) {
    SentenceText text;
    text.append(std::string(kSentenceTextCapacity - 3, 'x'));
    EXPECT_FALSE(AppendChecksum(text));
}
