// Language switching in the live window: every text of the main window, the
// grid titles and the ship list in the new language at once, back to English,
// and the language written at exit.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <fstream>

#include "AisLines.h"
#include "ViewerFixture.h"
#include "app/BaseNames.h"
#include "app/forms/AboutForm.h"
#include "app/forms/SearchForm.h"
#include "base/IniFile.h"
#include "base/LanguageTable.h"

namespace norq::test {
namespace {

class LanguageTest : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        main().show();
        feed(AisSentences(PositionReport({416000001, 120.2, 22.6, 5.0f, 10.0f, 10, 0})));
        ASSERT_TRUE(traditional_.load(NORQ_PROGRAM_FOLDER "Lang/Lang-TW.ini"));
    }
    QString tw(const char* section, const char* key) {
        return QString::fromStdString(traditional_.read(section, key, "?"));
    }
    QString menuTitle(int index) { return main().menuBar()->actions().at(index)->text(); }
    QString gridTitle(int column) {
        auto* grid = main().findChild<QTableView*>(QStringLiteral("StringGrid1"));
        return grid->model()->headerData(column, Qt::Horizontal).toString();
    }
    base::LanguageTable traditional_;
};

TEST_F(LanguageTest, SwitchingToTraditionalChineseChangesTheLiveWindowAtOnce) {
    const QString line = main().shipListLineText(1);
    main().action(QStringLiteral("mnuLangTraChinese"))->trigger();
    EXPECT_TRUE(main().action(QStringLiteral("mnuLangTraChinese"))->isChecked());
    EXPECT_EQ(menuTitle(0), tw("MENU", "File"));
    EXPECT_EQ(main().action(QStringLiteral("mnuPlayLog"))->text(), tw("MENU", "File_Play_Log"));
    EXPECT_EQ(main().shipListCaption(), tw("SHIP_LIST", "Ship_List") + QStringLiteral(" : 1"));
    EXPECT_EQ(main().findChild<QLabel*>(QStringLiteral("StaticTextName"))->text(),
              tw("SHIP_LIST", "NAME"));
    EXPECT_EQ(gridTitle(5), tw("ALPHA_VIEW", "NAME"));
    EXPECT_EQ(main().statusPanel(5), tw("STATUS_BAR", "TrueBearing"));
    EXPECT_EQ(main().findChild<app::TfrmSearch*>()->windowTitle(), tw("SEARCH", "Search"));
    // The rows are shown again; their texts do not depend on the language.
    EXPECT_EQ(main().shipListLineText(1), line);
    // The About window takes the language's texts and read-me file.
    auto* about = main().findChild<app::TfrmAbout*>();
    if (about == nullptr) about = windows_->windows().about;
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->statement().contains(QStringLiteral("聲明")));
}

TEST_F(LanguageTest, BackToEnglishRestoresTheTexts) {
    main().ApplyLanguage(1);
    main().ApplyLanguage(0);
    EXPECT_EQ(menuTitle(0), QStringLiteral("File(&F)"));
    EXPECT_EQ(main().shipListCaption(), QStringLiteral("SHIP LIST : 1"));
    EXPECT_EQ(gridTitle(5), QStringLiteral("NAME"));
    EXPECT_EQ(main().action(QStringLiteral("mnuPlayLog"))->text(),
              QStringLiteral("Replay Log > (&P)"));
}

TEST_F(LanguageTest, TheReplayItemsKeepTheCaptionOfTheirState) {
    std::ofstream(folder().path("r.txt")) << "x\n";
    main().startReplay(QString::fromStdString(folder().path("r.txt")));
    main().ApplyLanguage(1);
    EXPECT_EQ(main().action(QStringLiteral("mnuPlayLog"))->text(), tw("MENU", "File_Stop_Play"));
    EXPECT_EQ(main().action(QStringLiteral("mnuOpenLog"))->text(), tw("MENU", "File_Pause_Play"));
}

TEST_F(LanguageTest, TheChosenLanguageIsWrittenAtExit) {
    main().ApplyLanguage(1);
    stop();
    base::IniFile file;
    ASSERT_EQ(file.load(settingsFile()), base::IniFile::LoadResult::Loaded);
    EXPECT_EQ(file.readInt("VIEW", "Language", -1), 1);
    start();
    EXPECT_TRUE(main().action(QStringLiteral("mnuLangTraChinese"))->isChecked());
    EXPECT_EQ(menuTitle(0), tw("MENU", "File"));
}

TEST_F(LanguageTest, TheAboutWindowReadsTheStoredLanguageWhenShown) {
    app::TfrmAbout* about = windows_->windows().about;
    ASSERT_NE(about, nullptr);
    about->loadLanguage(0);
    EXPECT_EQ(about->productText(), QStringLiteral("NORQ AIS Viewer"));
    EXPECT_FALSE(about->statement().isEmpty());
    // The file says Traditional Chinese: showing the window loads it.
    folder().write("data/NorqAisViewer.ini", "[VIEW]\r\nLanguage=1\r\n");
    about->show();
    EXPECT_TRUE(about->statement().contains(QStringLiteral("聲明")));
    about->hide();
    // Any other stored number loads nothing: the texts stay.
    folder().write("data/NorqAisViewer.ini", "[VIEW]\r\nLanguage=7\r\n");
    about->show();
    EXPECT_TRUE(about->statement().contains(QStringLiteral("聲明")));
    about->hide();
}

}  // namespace
}  // namespace norq::test
