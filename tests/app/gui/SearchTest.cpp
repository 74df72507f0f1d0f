// The search window: MMSI digits anywhere, wrap-around, names, the field's edit
// rule in MMSI mode, the messages, and "Search Again".
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "AisLines.h"
#include "ViewerFixture.h"
#include "app/forms/SearchForm.h"

namespace norq::test {
namespace {

class SearchTest : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        main().show();
        for (std::uint32_t mmsi : {412300001u, 416000002u, 563123000u}) {
            feed(AisSentences(PositionReport({mmsi, 120.2, 22.6, 5.0f, 10.0f, 10, 0})));
        }
        feed(AisSentences(StaticVoyage(416000002, {"JADE HARMONY", "BR1", 70, "XIAMEN"})));
        search_ = main().findChild<app::TfrmSearch*>();
        ASSERT_NE(search_, nullptr);
        main().action(QStringLiteral("mnuSearch"))->trigger();
        main().setTargetMonitorChecked(false);
    }
    void type(const QString& text) { QTest::keyClicks(search_->textField(), text); }
    void findNext() {
        search_->findChild<QPushButton*>(QStringLiteral("btnFindNext"))->click();
        main().flushViews();
    }
    app::TfrmSearch* search_ = nullptr;
};

TEST_F(SearchTest, MmsiDigitsAnywhereAndWrapAround) {
    ASSERT_TRUE(search_->isVisible());
    main().setListSelection(0);
    type(QStringLiteral("123"));
    findNext();
    EXPECT_TRUE(main().targetMonitorChecked());
    EXPECT_EQ(main().listSelection(), 1);  // 412300001
    EXPECT_EQ(main().detailText(QStringLiteral("lblEdtMMSI")), QStringLiteral("412300001"));
    findNext();
    EXPECT_EQ(main().listSelection(), 3);  // 563123000: the digits in its middle
    findNext();
    EXPECT_EQ(main().listSelection(), 1);  // wrapped past the end
    EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(SearchTest, NamesIgnoreCaseUnlessAsked) {
    auto* caseSensitive = search_->findChild<QCheckBox*>(QStringLiteral("cbxCaseSensitive"));
    EXPECT_FALSE(caseSensitive->isEnabled());
    search_->setMode(app::SearchMode::Name);
    EXPECT_TRUE(caseSensitive->isEnabled());
    main().setListSelection(0);
    type(QStringLiteral("jade h"));
    findNext();
    EXPECT_EQ(main().listSelection(), 2);
    caseSensitive->setChecked(true);
    findNext();
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0].caption, QStringLiteral("Warning"));
    EXPECT_EQ(dialogs_.shown[0].text, QStringLiteral("Vessel Name \"jade h\" can't be found!"));
    EXPECT_EQ(dialogs_.shown[0].icon, ui::MessageIcon::Warning);
}

TEST_F(SearchTest, MmsiFieldKeepsDigitsOnlyAndAtMostNine) {
    type(QStringLiteral("12a"));
    EXPECT_EQ(search_->textField()->text(), QStringLiteral("12"));
    type(QStringLiteral("3456789012"));
    EXPECT_EQ(search_->textField()->text(), QStringLiteral("123456789"));
    // A non-digit typed in the middle cuts the text there.
    QTest::keyClick(search_->textField(), Qt::Key_Backspace);
    search_->textField()->setCursorPosition(4);
    type(QStringLiteral("x"));
    EXPECT_EQ(search_->textField()->text(), QStringLiteral("1234"));
    EXPECT_EQ(search_->textField()->cursorPosition(), 4);
    // Changing the mode empties the field; the name has no limit.
    search_->setMode(app::SearchMode::Name);
    EXPECT_TRUE(search_->textField()->text().isEmpty());
    type(QStringLiteral("A long name of more than nine"));
    EXPECT_EQ(search_->textField()->text(), QStringLiteral("A long name of more than nine"));
}

TEST_F(SearchTest, BlankAndNotFoundMessages) {
    findNext();
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0].caption, QStringLiteral("Error"));
    EXPECT_EQ(dialogs_.shown[0].text, QStringLiteral("The search string can't be blank!"));
    // "Search Again" with an empty field shows nothing.
    main().action(QStringLiteral("mnuSearchAgain"))->trigger();
    EXPECT_EQ(dialogs_.shown.size(), 1u);
    type(QStringLiteral("999"));
    main().action(QStringLiteral("mnuSearchAgain"))->trigger();
    ASSERT_EQ(dialogs_.shown.size(), 2u);
    EXPECT_EQ(dialogs_.shown[1].text, QStringLiteral("Vessel MMSI \"999\" can't be found!"));
}

TEST_F(SearchTest, SearchAgainFindsTheNextAndShowingEmptiesTheField) {
    main().setListSelection(0);
    type(QStringLiteral("6000"));
    main().action(QStringLiteral("mnuSearchAgain"))->trigger();
    EXPECT_EQ(main().listSelection(), 2);  // 416000002
    search_->hide();
    main().action(QStringLiteral("mnuSearch"))->trigger();
    EXPECT_TRUE(search_->textField()->text().isEmpty());
}

}  // namespace
}  // namespace norq::test
