// What a watch officer expects of the main window where its design is silent:
// search takes the typing at once, time stamps are numeric with a four-digit
// year, Qt's own texts follow the language, dialog captions stay as they are
// written and fit, long country names are shortened with the whole name at
// hand, the replay's state shows, the panel toggle points its way, and the
// grid sorts by any column without touching entry indices.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEnterEvent>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <fstream>

#include "AisLines.h"
#include "ViewerFixture.h"
#include "app/DateFormat.h"
#include "app/QtTranslations.h"
#include "app/TargetGridSort.h"
#include "app/forms/CpaSettingForm.h"
#include "app/forms/SearchForm.h"
#include "ui/Dialogs.h"

namespace norq::test {
namespace {

class WatchExpectationsTest : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        main().show();
        main().flushViews();
    }
    template <typename T>
    T* child(const char* name) {
        return main().findChild<T*>(QString::fromLatin1(name));
    }
    static Vessel Ship(std::uint32_t mmsi, double lon, double lat, float sog, float cog) {
        return {mmsi, lon, lat, sog, cog, static_cast<int>(cog), 0};
    }
    app::TargetGridSort* gridSort() { return main().findChild<app::TargetGridSort*>(); }
    std::vector<int> gridOrder() {
        std::vector<int> entries;
        for (int row = 0; row < gridSort()->rowCount(); ++row)
            entries.push_back(gridSort()->entryOfRow(row));
        return entries;
    }
    void clickGridTitle(int column) {
        QHeaderView* header = child<QTableView>("StringGrid1")->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, 5));
        main().flushViews();
    }
    // The own ship still at 120.25 E 22.5 N; four targets: 20 nm north going
    // away, 1 nm north closing (dangerous), 5 nm north going away, none placed.
    void feedScene() {
        feed({RmcLine(0, 120.25, 22.5, 0.0, 0.0), GgaLine(0, 120.25, 22.5)});
        feed(AisSentences(PositionReport(Ship(416000001, 120.25, 22.8333, 10.0f, 0.0f))));
        feed(AisSentences(PositionReport(Ship(416000002, 120.25, 22.5167, 12.0f, 180.0f))));
        feed(AisSentences(PositionReport(Ship(416000003, 120.25, 22.5833, 10.0f, 0.0f))));
        feed(AisSentences(PositionReport(Ship(416000004, 181.0, 91.0, 0.0f, 0.0f))));
    }
};

TEST_F(WatchExpectationsTest, SearchOpensWithTheFocusInItsTextField) {
    auto* search = main().findChild<app::TfrmSearch*>();
    ASSERT_NE(search, nullptr);
    main().action(QStringLiteral("mnuSearch"))->trigger();
    EXPECT_TRUE(search->isVisible());
    EXPECT_EQ(search->focusWidget(), search->textField());
    // Also when it is open already and Ctrl+F comes again.
    search->textField()->clearFocus();
    main().action(QStringLiteral("mnuSearch"))->trigger();
    EXPECT_EQ(search->focusWidget(), search->textField());
    // Typing and Enter find the target.
    feed(AisSentences(PositionReport(Ship(416123999, 120.2, 22.6, 1.0f, 0.0f))));
    feed(AisSentences(PositionReport(Ship(416000002, 120.2, 22.6, 1.0f, 0.0f))));
    QTest::keyClicks(search->focusWidget(), QStringLiteral("123"));
    QTest::keyClick(search->focusWidget(), Qt::Key_Return);
    main().flushViews();
    EXPECT_EQ(main().listSelection(), 1);
    EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(WatchExpectationsTest, TimeStampsAreNumericWithAFourDigitYear) {
    EXPECT_EQ(app::UserShortDateFormat(QLocale::c()), QStringLiteral("yyyy-MM-dd"));
    EXPECT_EQ(app::UserShortDateFormat(QLocale(QStringLiteral("en_US"))),
              QStringLiteral("M/d/yyyy"));
    EXPECT_EQ(app::UserShortDateFormat(QLocale(QStringLiteral("de_DE"))),
              QStringLiteral("dd.MM.yyyy"));
    EXPECT_EQ(app::UserShortDateFormat(QLocale(QStringLiteral("en_GB"))),
              QStringLiteral("dd/MM/yyyy"));
    EXPECT_EQ(app::UserShortDateFormat(QLocale(QStringLiteral("zh_CN"))),
              QStringLiteral("yyyy/M/d"));
    for (const char* name : {"en_US", "de_DE", "en_GB", "zh_TW", "ja_JP", "fr_FR"}) {
        EXPECT_TRUE(app::UserShortDateFormat(QLocale(QString::fromLatin1(name)))
                        .contains(QStringLiteral("yyyy")))
            << name;
    }
    // The clock in the status row carries four year digits.
    main().Timer1Timer();
    EXPECT_TRUE(main().statusPanel(3).contains(QRegularExpression(QStringLiteral("\\d{4}"))));
    // The own ship has received nothing yet: no time, not a date of zeros.
    EXPECT_EQ(main().detailText(QStringLiteral("lblEdtDynamicDataRecTime")), QStringLiteral("N/A"));
    EXPECT_EQ(main().detailText(QStringLiteral("lblEdtStaticDataRecTime")), QStringLiteral("N/A"));
}

TEST_F(WatchExpectationsTest, QtsOwnTextsFollowTheLanguage) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFile::exists(folder + QStringLiteral("/qt_zh_CN.qm"))) {
        GTEST_SKIP() << "qt6-translations-l10n is not installed (scripts/install-deps.sh gui)";
    }
    auto cancel = [] {
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        return box.button(QDialogButtonBox::Cancel)->text();
    };
    main().ApplyLanguage(2);
    EXPECT_EQ(cancel(), QStringLiteral("取消"));
    main().ApplyLanguage(1);
    EXPECT_EQ(cancel(), QStringLiteral("取消"));
    EXPECT_EQ(app::QtCatalogueLocale(1), QStringLiteral("zh_TW"));
    main().ApplyLanguage(0);
    EXPECT_EQ(cancel(), QStringLiteral("Cancel"));
}

TEST_F(WatchExpectationsTest, CaptionsCarryNoProgramSuffixAndTheBoxFitsThem) {
    // With no display name set, the window system adds nothing to a caption.
    const QString name = QCoreApplication::applicationName();
    app::SetApplicationTitle();
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("NORQ AIS Viewer"));
    QCoreApplication::setApplicationName(QStringLiteral("probe"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("probe"));
    QCoreApplication::setApplicationName(name);

    // A short question under a long caption: the box is wide enough for both.
    const QString caption = QStringLiteral("A caption much longer than its question here");
    int width = 0;
    int needed = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        width = box->width();
        needed = box->fontMetrics().horizontalAdvance(caption);
        box->accept();
    });
    ui::QtDialogs dialogs;
    dialogs.message(&main(), caption, QStringLiteral("Sure?"), ui::MessageIcon::Question,
                    ui::MessageButtons::Ok);
    EXPECT_GT(needed, 0);
    EXPECT_GE(width, needed + 100);
    // The small windows keep their captions whole as well, in every language.
    for (int language : {0, 2}) {
        main().ApplyLanguage(language);
        for (QWidget* window : std::initializer_list<QWidget*>{
                 main().findChild<app::TfrmCpaSetting*>(), main().findChild<app::TfrmSearch*>()}) {
            ASSERT_NE(window, nullptr);
            EXPECT_GE(window->minimumWidth(),
                      window->fontMetrics().horizontalAdvance(window->windowTitle()) + 100)
                << window->windowTitle().toStdString();
        }
    }
}

TEST_F(WatchExpectationsTest, ALongCountryNameIsShortenedWithTheWholeNameInItsTooltip) {
    const QString palestine =
        QStringLiteral("State of Palestine (In accordance with Resolution 99 Rev. Dubai, 2018)");
    feed(AisSentences(PositionReport(Ship(443000001, 120.2, 22.6, 1.0f, 0.0f))));
    auto* field = child<QLineEdit>("EdtMMSINational");
    EXPECT_EQ(main().detailText(QStringLiteral("EdtMMSINational")), palestine);
    EXPECT_EQ(field->toolTip(), palestine);
    EXPECT_TRUE(field->text().endsWith(QChar(0x2026))) << field->text().toStdString();
    EXPECT_LE(field->fontMetrics().horizontalAdvance(field->text()), field->width());
    // A short name is shown whole.
    feed(AisSentences(PositionReport(Ship(203000001, 120.2, 22.6, 1.0f, 0.0f))));
    EXPECT_EQ(field->text(), QStringLiteral("Austria"));
}

TEST_F(WatchExpectationsTest, TheStatusRowShowsPausedAndEndOfFile) {
    const std::string path = folder().path("short.nmea");
    {
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < 4; ++i) {
            for (const std::string& line : AisSentences(PositionReport(
                     Ship(416000001 + static_cast<std::uint32_t>(i), 120.2, 22.6, 1.0f, 0.0f))))
                out << line;
        }
    }
    auto* state = child<QLabel>("lblStatusBarReplay");
    EXPECT_FALSE(state->isVisibleTo(&main()));
    main().startReplay(QString::fromStdString(path));
    EXPECT_EQ(state->text(), QStringLiteral("Replaying"));
    main().action(QStringLiteral("mnuOpenLog"))->trigger();
    EXPECT_EQ(state->text(), QStringLiteral("Replay paused"));
    EXPECT_TRUE(state->isVisibleTo(&main()));
    main().action(QStringLiteral("mnuOpenLog"))->trigger();
    for (int tick = 0; tick < 10; ++tick)
        main().TimerPlayLogTimer();
    EXPECT_EQ(state->text(), QStringLiteral("Replay: end of file"));
    main().ApplyLanguage(2);
    EXPECT_EQ(state->text(), QStringLiteral("回放：已到文件末尾"));
    main().ApplyLanguage(0);
    // A new start clears it; a stop by the user leaves nothing.
    main().startReplay(QString::fromStdString(path));
    EXPECT_EQ(state->text(), QStringLiteral("Replaying"));
    main().action(QStringLiteral("mnuPlayLog"))->trigger();
    EXPECT_FALSE(state->isVisibleTo(&main()));
}

TEST_F(WatchExpectationsTest, TheRightPanelTogglePointsTheWayThePanelWillGo) {
    auto* toggle = child<QToolButton>("spbRightPanel");
    auto* panel = child<QWidget>("PanelRight");
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(toggle->toolTip(), QStringLiteral("Hide the ship list and details"));
    const QImage hide = toggle->icon().pixmap(24).toImage();
    toggle->click();
    EXPECT_TRUE(panel->isHidden());
    EXPECT_EQ(toggle->toolTip(), QStringLiteral("Show the ship list and details"));
    EXPECT_NE(toggle->icon().pixmap(24).toImage(), hide);
    toggle->click();
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(toggle->icon().pixmap(24).toImage(), hide);
}

TEST_F(WatchExpectationsTest, TheGridSortsByAnyColumnWithoutChangingEntryIndices) {
    main().setCentrePage(app::CentrePage::Alpha);
    feedScene();
    const QString rangeOf2 = main().gridCellText(2, 7);
    EXPECT_EQ(gridOrder(), (std::vector<int>{0, 1, 2, 3, 4}));

    clickGridTitle(7);  // RANGE, ascending: the own ship first, "N/A" last
    EXPECT_EQ(gridOrder(), (std::vector<int>{0, 2, 3, 1, 4}));
    clickGridTitle(7);  // descending: "N/A" still last
    EXPECT_EQ(gridOrder(), (std::vector<int>{0, 1, 3, 2, 4}));
    // The entries keep their indices everywhere else.
    EXPECT_EQ(main().gridCellText(2, 7), rangeOf2);
    EXPECT_TRUE(main().shipListLineText(2).startsWith(QStringLiteral("(002)")));

    // A click on a row selects the entry shown there; it stays selected when
    // the rows move.
    auto* grid = child<QTableView>("StringGrid1");
    const int rowOf3 = gridSort()->rowOfEntry(3);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(gridSort()->index(rowOf3, 1)).center());
    main().flushViews();
    EXPECT_EQ(main().listSelection(), 3);
    QEvent leave(QEvent::Leave);  // the pointer moves on to the header
    QApplication::sendEvent(grid, &leave);
    clickGridTitle(7);  // third click: back to the entry order
    EXPECT_EQ(gridOrder(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(gridSort()->entryOfRow(grid->currentIndex().row()), 3);

    // Dangerous targets first: entry 2 closes to within the CPA limits.
    child<QCheckBox>("cbxDangerousFirst")->setChecked(true);
    EXPECT_EQ(gridOrder(), (std::vector<int>{0, 2, 1, 3, 4}));
    clickGridTitle(5);  // by NAME (all empty): dangerous first, then entry order
    EXPECT_EQ(gridOrder().at(1), 2);

    // Sorted by the user, the grid stays at its top while the latest reporting
    // target is selected elsewhere; a watched target is scrolled to.
    main().setTargetMonitorChecked(false);
    for (std::uint32_t i = 0; i < 60; ++i)
        feed(AisSentences(PositionReport(Ship(416000100 + i, 120.3, 22.6, 5.0f, 0.0f))));
    QScrollBar* bar = grid->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(main().listSelection(), 64);
    main().searchShowTarget(64);  // as the search does, with Target Monitor ticked
    main().setTargetMonitorChecked(true);
    main().searchShowTarget(64);
    EXPECT_GT(bar->value(), 0);

    // The sort is kept in the settings.
    stop();
    start();
    main().show();
    main().flushViews();
    EXPECT_EQ(gridSort()->sortColumnChosen(), 5);
    EXPECT_TRUE(gridSort()->dangerousFirst());
    EXPECT_TRUE(child<QCheckBox>("cbxDangerousFirst")->isChecked());
    EXPECT_EQ(child<QTableView>("StringGrid1")->horizontalHeader()->sortIndicatorSection(), 5);
}

TEST_F(WatchExpectationsTest, SortedRowsDoNotMoveUnderThePointer) {
    main().setCentrePage(app::CentrePage::Alpha);
    feedScene();
    clickGridTitle(7);  // RANGE
    ASSERT_EQ(gridOrder(), (std::vector<int>{0, 2, 3, 1, 4}));
    auto* grid = child<QTableView>("StringGrid1");
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(grid, &enter);
    // Entry 1 comes within half a mile while the pointer is on the grid.
    feed(AisSentences(PositionReport(Ship(416000001, 120.25, 22.5083, 10.0f, 0.0f))));
    EXPECT_EQ(gridOrder(), (std::vector<int>{0, 2, 3, 1, 4}));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(grid, &leave);
    EXPECT_EQ(gridOrder(), (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST_F(WatchExpectationsTest, CoordinatesAndNamesSortAsTheyRead) {
    main().setCentrePage(app::CentrePage::Alpha);
    feed(AisSentences(PositionReport(Ship(416000001, 120.2, 10.25, 1.0f, 0.0f))));
    feed(AisSentences(PositionReport(Ship(416000002, -3.5, -5.5, 1.0f, 0.0f))));
    feed(AisSentences(PositionReport(Ship(416000003, 0.5, 0.75, 1.0f, 0.0f))));
    feed(AisSentences(PositionReport(Ship(416000004, 2.0, 0.5, 1.0f, 0.0f))));
    feed(AisSentences(StaticVoyage(416000001, {"ZETA", "Z1", 70, "A"})));
    feed(AisSentences(StaticVoyage(416000002, {"ALPHA", "A1", 70, "B"})));
    feed(AisSentences(StaticVoyage(416000003, {"BETA", "B1", 70, "C"})));
    clickGridTitle(14);  // LAT: south below north, minutes counted
    EXPECT_EQ(gridOrder(), (std::vector<int>{0, 2, 4, 3, 1}));
    clickGridTitle(15);  // LON: west below east
    EXPECT_EQ(gridOrder(), (std::vector<int>{0, 2, 3, 4, 1}));
    clickGridTitle(5);  // NAME: alphabetical, unnamed last
    EXPECT_EQ(gridOrder(), (std::vector<int>{0, 2, 3, 1, 4}));
}

}  // namespace
}  // namespace norq::test
