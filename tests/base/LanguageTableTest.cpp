#include <gtest/gtest.h>

#include "base/LanguageTable.h"
#include "base/TempFolder.h"

namespace norq::base {
namespace {

LanguageTable tableOf(std::string_view text) {
    LanguageTable table;
    table.parse(text);
    return table;
}

TEST(LanguageTable, TheStoredIndexChoosesTheFiles) {
    EXPECT_EQ(LanguageFilesFor(0).languageFile, "Lang/Lang-EN.ini");
    EXPECT_EQ(LanguageFilesFor(0).readMeFile, "Lang/ReadMe-EN_ZEPHARO.txt");
    EXPECT_EQ(LanguageFilesFor(1).languageFile, "Lang/Lang-TW.ini");
    EXPECT_EQ(LanguageFilesFor(1).readMeFile, "Lang/ReadMe-TW.txt");
    EXPECT_EQ(LanguageFilesFor(2).languageFile, "Lang/Lang-CN.ini");
    EXPECT_EQ(LanguageFilesFor(2).readMeFile, "Lang/ReadMe-CN.txt");
    for (int other : {-1, 3, 7, 255}) {
        EXPECT_EQ(NormalisedLanguage(other), 0);
        EXPECT_EQ(LanguageFilesFor(other).languageFile, "Lang/Lang-EN.ini");
    }
}

TEST(LanguageTable, ReadsWithTheCurrentTextAsDefault) {
    const LanguageTable table =
        tableOf("[menu]\nfile_exit=結束(&X)\nFile_Exit=second\n[STATUS_BAR]\nLOG=\n");
    EXPECT_EQ(table.read("MENU", "File_Exit", "Exit(&X)"), "結束(&X)");
    EXPECT_EQ(table.read("MENU", "Missing", "Shown now"), "Shown now");
    EXPECT_EQ(table.read("STATUS_BAR", "LOG", "LOG"), "");  // present but empty
    LanguageTable missing;
    EXPECT_FALSE(missing.load("/nonexistent/Lang-EN.ini"));
    EXPECT_EQ(missing.read("MENU", "File_Exit", "Exit(&X)"), "Exit(&X)");
}

TEST(TextStore, SwitchingBackRestoresEnglishAndKeepsTextsTheFileLacks) {
    TextStore texts;
    EXPECT_EQ(texts.text(TextId::MenuFileExit), "Exit(&X)");
    EXPECT_EQ(texts.text(TextId::DetailDynamicMmsi), "MMSI ");

    texts.apply(tableOf("[MENU]\nFile_Exit=結束(&X)\nHelp=說明(&H)\n"));
    EXPECT_EQ(texts.text(TextId::MenuFileExit), "結束(&X)");
    EXPECT_EQ(texts.text(TextId::MenuHelp), "說明(&H)");
    EXPECT_EQ(texts.text(TextId::MenuEdit), "Edit(&E)");  // not in the file: unchanged

    // An English file without Help: File_Exit returns to English, Help stays Chinese.
    texts.apply(tableOf("[MENU]\nFile_Exit=Exit(&X)\n"));
    EXPECT_EQ(texts.text(TextId::MenuFileExit), "Exit(&X)");
    EXPECT_EQ(texts.text(TextId::MenuHelp), "說明(&H)");

    // A missing file changes nothing.
    texts.apply(LanguageTable{});
    EXPECT_EQ(texts.text(TextId::MenuHelp), "說明(&H)");

    // Texts that are read only in some states can be left out.
    texts.apply(tableOf("[STATUS_BAR]\nTX_Count=發射計數\nLOG=記錄\n"),
                [](TextId id) { return id == TextId::StatusBarTxCount; });
    EXPECT_EQ(texts.text(TextId::StatusBarTxCount), "TX Count");
    EXPECT_EQ(texts.text(TextId::StatusBarLog), "記錄");

    texts.resetToBuiltIn();
    EXPECT_EQ(texts.text(TextId::MenuHelp), "Help(&H)");
}

TEST(LanguageTable, ReadMeIsTheWholeFileWithoutItsMark) {
    TempFolder folder;
    folder.write("ReadMe-TW.txt", "\xEF\xBB\xBF第一行\r\n第二行\n");
    EXPECT_EQ(LoadReadMe(folder.path("ReadMe-TW.txt")), "第一行\r\n第二行\n");
    EXPECT_EQ(LoadReadMe(folder.path("absent.txt")), "");
    folder.write("huge.txt", std::string(kMaxReadMeBytes + 1, 'x'));
    EXPECT_EQ(LoadReadMe(folder.path("huge.txt")), "");
}

}  // namespace
}  // namespace norq::base
