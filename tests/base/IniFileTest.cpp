#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "base/IniFile.h"
#include "base/TempFolder.h"

namespace norq::base {
namespace {

IniFile parsed(std::string_view text) {
    IniFile file;
    file.parse(text);
    return file;
}

TEST(IniFile, SectionsAndKeysCompareWithoutCase) {
    const IniFile file = parsed("[View]\nScaleID=7\n[cpa]\ncpa=3\n");
    EXPECT_EQ(file.readInt("VIEW", "scaleid", 4), 7);
    EXPECT_EQ(file.readInt("CPA", "CPA", 5), 3);
    EXPECT_EQ(file.readInt("VIEW", "Missing", 4), 4);
    EXPECT_EQ(file.readInt("NOPE", "ScaleID", 4), 4);
    EXPECT_EQ(file.readString("VIEW", "Missing", "dflt"), "dflt");
}

TEST(IniFile, BlanksAndQuotesAroundValuesAreRemovedOnce) {
    const IniFile file = parsed(
        "[S]\n  Key =  some text \t\nQuoted=\"MMSI \"\nSingle='x'\nInner=a \"b\" c\n"
        "Twice=\"\"q\"\"\nOdd=\"open\nEmpty=\n");
    EXPECT_EQ(file.readString("S", "key", ""), "some text");
    EXPECT_EQ(file.readString("S", "Quoted", ""), "MMSI ");
    EXPECT_EQ(file.readString("S", "Single", ""), "x");
    EXPECT_EQ(file.readString("S", "Inner", ""), "a \"b\" c");
    EXPECT_EQ(file.readString("S", "Twice", ""), "\"q\"");
    EXPECT_EQ(file.readString("S", "Odd", ""), "\"open");
    EXPECT_EQ(file.readString("S", "Empty", "dflt"), "");
}

TEST(IniFile, WrittenValuesReadBackUnchanged) {
    IniFile file;
    for (const std::string value : {"plain", " leading", "trailing ", "\"quoted\"", "'single'", "",
                                    "=equals=", "; not a comment", "\xE4\xB8\xAD\xE6\x96\x87"}) {
        file.writeString("S", "K", value);
        IniFile reread;
        reread.parse(file.toString());
        EXPECT_EQ(reread.readString("S", "K", "?"), value) << file.toString();
    }
}

TEST(IniFile, LineBreaksInAValueCannotAddKeys) {
    IniFile file;
    static const char kName[] = "Harbour\n[VIEW]\nScaleID=99\r\0x";
    file.writeString("DESTINATION", "Name", std::string_view(kName, sizeof kName - 1));
    const IniFile reread = parsed(file.toString());
    EXPECT_FALSE(reread.hasSection("VIEW"));
    EXPECT_EQ(reread.readString("DESTINATION", "Name", ""), "Harbour [VIEW] ScaleID=99  x");
}

TEST(IniFile, DuplicatesAndKeysBeforeAnySectionFollowTheFirstMatch) {
    IniFile file =
        parsed("Orphan=1\n[A]\nKey=first\nkey=second\n[B]\nKey=b\n[a]\nKey=third\nOnlyHere=x\n");
    EXPECT_EQ(file.readString("A", "Key", ""), "first");
    // Keys of a repeated section header are not looked at, nor keys before any section.
    EXPECT_FALSE(file.hasKey("A", "OnlyHere"));
    EXPECT_FALSE(file.hasKey("", "Orphan"));

    file.writeString("a", "KEY", "new");
    EXPECT_EQ(file.toString(),
              "Orphan=1\n[A]\nKey=new\nkey=second\n[B]\nKey=b\n[a]\nKey=third\nOnlyHere=x\n");

    int visited = 0;
    file.forEachKey([&](std::string_view section, std::string_view, std::string_view) {
        EXPECT_NE(section, "a");
        ++visited;
    });
    EXPECT_EQ(visited, 3);
}

TEST(IniFile, RewriteKeepsUnknownLinesInPlaceAndAddsNewOnesAfterTheLastKey) {
    IniFile file = parsed(
        "; written by hand\n[VIEW]\nScaleID=4\nColour=blue ; kept\n\n# note\n[Other]\nx=1\n");
    file.writeInt("View", "ScaleID", 9);
    file.writeInt("View", "MarkerCheck", 1);
    file.writeString("NEW", "Key", "v");
    EXPECT_EQ(file.toString(),
              "; written by hand\n[VIEW]\nScaleID=9\nColour=blue ; kept\nMarkerCheck=1\n\n"
              "# note\n[Other]\nx=1\n\n[NEW]\nKey=v\n");
}

TEST(IniFile, ByteOrderMarkAndCarriageReturnsAreHandled) {
    IniFile file = parsed("\xEF\xBB\xBF[VIEW]\r\nScaleID=6\r\nPlayLog=2\r\n");
    EXPECT_EQ(file.readInt("VIEW", "ScaleID", 0), 6);
    EXPECT_EQ(file.readInt("VIEW", "PlayLog", 0), 2);
    file.writeInt("VIEW", "Language", 1);
    // The file keeps its CR LF line ends; the mark is not written again.
    EXPECT_EQ(file.toString(), "[VIEW]\r\nScaleID=6\r\nPlayLog=2\r\nLanguage=1\r\n");
    // A last line without its line break still counts.
    EXPECT_EQ(parsed("[A]\nk=v").readString("A", "k", ""), "v");
}

TEST(IniFile, VeryLongLinesAreKeptWholeButReadCutAtACharacterBoundary) {
    std::string longValue(IniFile::kMaxValueBytes - 1, 'a');
    longValue += "\xE4\xB8\xAD";  // a three-byte character across the limit
    longValue += std::string(100000, 'b');
    const std::string text = "[S]\nLong=" + longValue + "\nAfter=ok\n";
    const IniFile file = parsed(text);
    const std::string read = file.readString("S", "Long", "");
    EXPECT_EQ(read, std::string(IniFile::kMaxValueBytes - 1, 'a'));
    EXPECT_EQ(file.readString("S", "After", ""), "ok");
    EXPECT_EQ(file.toString(), text);
}

TEST(IniFile, HostileBytesNeverBreakTheReader) {
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> byte(0, 255);
    static const char kAlphabet[] = "[]=;\"' \t\r\n\0\xEF\xBB\xBF\xFFKey";
    const std::string alphabet(kAlphabet, sizeof kAlphabet - 1);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int length = round * 7;
        for (int i = 0; i < length; ++i) {
            text += round % 2 ? static_cast<char>(byte(random)) : alphabet[pick(random)];
        }
        IniFile file;
        file.parse(text);
        (void)file.readInt("Key", "Key", 0);
        (void)file.readFloat("Key", "Key", 0.0);
        file.writeString("Key", "Key", text);
        IniFile again;
        again.parse(file.toString());
        EXPECT_TRUE(again.hasKey("Key", "Key"));
    }
    // NUL bytes inside a line do not end it.
    static const char kWithNul[] = "[S]\nA=1\0x\nB=2\n";
    const IniFile withNul = parsed(std::string(kWithNul, sizeof kWithNul - 1));
    EXPECT_EQ(withNul.readInt("S", "B", 0), 2);
}

TEST(ProfileNumbers, IntegersAreDecimalOrHexadecimalWithinThirtyTwoBits) {
    EXPECT_EQ(ParseProfileInt("42"), 42);
    EXPECT_EQ(ParseProfileInt("  -7 "), -7);
    EXPECT_EQ(ParseProfileInt("+3"), 3);
    EXPECT_EQ(ParseProfileInt("0x1F"), 31);
    EXPECT_EQ(ParseProfileInt("$ff"), 255);
    EXPECT_EQ(ParseProfileInt("0XFFFFFFFF"), -1);
    EXPECT_EQ(ParseProfileInt("-2147483648"), -2147483647 - 1);
    for (std::string_view bad :
         {"", " ", "-", "12abc", "1.5", "0x", "$", "2147483648", "0x100000000", "--1", "+-1", "1 2",
          "١٢", "99999999999999999999"}) {
        EXPECT_FALSE(ParseProfileInt(bad).has_value()) << bad;
    }
}

TEST(ProfileNumbers, FloatsTakeEitherDecimalSeparator) {
    EXPECT_DOUBLE_EQ(*ParseProfileFloat("121,5"), 121.5);
    EXPECT_DOUBLE_EQ(*ParseProfileFloat("121.5"), 121.5);
    EXPECT_DOUBLE_EQ(*ParseProfileFloat(" -0,25 "), -0.25);
    EXPECT_DOUBLE_EQ(*ParseProfileFloat("1e2"), 100.0);
    EXPECT_DOUBLE_EQ(*ParseProfileFloat(".5"), 0.5);
    for (std::string_view bad :
         {"", "abc", "nan", "-inf", "INF", "1,2,3", "1.2.3", "1e999", "0x10", "+-1", "12 m", ","}) {
        EXPECT_FALSE(ParseProfileFloat(bad).has_value()) << bad;
    }
}

TEST(ProfileNumbers, FloatsAreWrittenWithAPointAndFifteenDigits) {
    EXPECT_EQ(FormatProfileFloat(121.5), "121.5");
    EXPECT_EQ(FormatProfileFloat(-0.0), "0");
    EXPECT_EQ(FormatProfileFloat(25.123456789012345678), "25.1234567890123");
    EXPECT_EQ(FormatProfileFloat(1.0 / 3.0), "0.333333333333333");
    for (double value : {0.1, -179.999999, 89.5, 1e-7}) {
        EXPECT_NEAR(*ParseProfileFloat(FormatProfileFloat(value)), value, 1e-14);
    }
}

TEST(IniFileOnDisk, MissingUnreadableAndOversizedFilesReadAsEmpty) {
    TempFolder folder;
    IniFile file;
    EXPECT_EQ(file.load(folder.path("absent.ini")), IniFile::LoadResult::Missing);
    EXPECT_EQ(file.load(folder.path("absent/sub.ini")), IniFile::LoadResult::Missing);
    EXPECT_EQ(file.load(folder.path("")), IniFile::LoadResult::Failed);  // a folder
    {
        std::ofstream big(folder.path("big.ini"), std::ios::binary);
        big << "[VIEW]\nScaleID=2\n" << std::string(IniFile::kMaxFileBytes, ';');
    }
    EXPECT_EQ(file.load(folder.path("big.ini")), IniFile::LoadResult::Failed);
    EXPECT_FALSE(file.hasSection("VIEW"));
}

TEST(IniFileOnDisk, SaveReplacesTheFileAndKeepsItsPermissions) {
    TempFolder folder;
    const std::string path = folder.path("NorqAisViewer.ini");
    folder.write("NorqAisViewer.ini", "[VIEW]\nScaleID=4\n");
    std::filesystem::permissions(path, std::filesystem::perms(0640));
    IniFile file;
    ASSERT_EQ(file.load(path), IniFile::LoadResult::Loaded);
    file.writeInt("VIEW", "ScaleID", 5);
    ASSERT_TRUE(file.save(path));
    EXPECT_EQ(folder.read("NorqAisViewer.ini"), "[VIEW]\nScaleID=5\n");
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(folder.entries(), 1u);  // no temporary file left behind
}

TEST(IniFileOnDisk, SaveThroughALinkReplacesTheTarget) {
    TempFolder folder;
    folder.write("real.ini", "[A]\nk=1\n");
    std::filesystem::create_symlink(folder.path("real.ini"), folder.path("link.ini"));
    IniFile file;
    file.load(folder.path("link.ini"));
    file.writeInt("A", "k", 2);
    ASSERT_TRUE(file.save(folder.path("link.ini")));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.path("link.ini")));
    EXPECT_EQ(folder.read("real.ini"), "[A]\nk=2\n");
}

TEST(IniFileOnDisk, AFailedWriteLeavesTheOldFileWhole) {
    TempFolder folder;
    const std::string path = folder.path("NorqAisViewer.ini");
    const std::string old = "[VIEW]\nScaleID=4\n";
    folder.write("NorqAisViewer.ini", old);

    // A disk that fills up: the file size limit makes every write past 4 KiB fail.
    IniFile big;
    big.writeString("S", "K", std::string(64 * 1024, 'x'));
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved1 = big.save(path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(saved1);
    EXPECT_EQ(folder.read("NorqAisViewer.ini"), old);
    EXPECT_EQ(folder.entries(), 1u);

    // A place where nothing can be created (even for the superuser), a missing folder, and
    // a folder standing where the file should be.
    EXPECT_FALSE(WriteFileAtomically("/proc/norq-test.ini", "x"));
    EXPECT_FALSE(WriteFileAtomically(folder.path("missing/NorqAisViewer.ini"), "x"));
    std::filesystem::create_directory(folder.path("dir.ini"));
    EXPECT_FALSE(WriteFileAtomically(folder.path("dir.ini"), "x"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.path("dir.ini")));

    // A read-only folder, when the tests do not run as the superuser.
    if (geteuid() != 0) {
        std::filesystem::permissions(folder.path(""), std::filesystem::perms(0555));
        EXPECT_FALSE(WriteFileAtomically(path, "new"));
        std::filesystem::permissions(folder.path(""), std::filesystem::perms(0755));
        EXPECT_EQ(folder.read("NorqAisViewer.ini"), old);
    }
}

}  // namespace
}  // namespace norq::base
