// The region list and the traffic statistics in the viewer: a received message
// 22 in the grid, the test button and "Remove", the menu items with all
// features shown, and an inquiry over count files the counter wrote.
// With NORQ_SCREENSHOT_DIR set, the windows are also saved there as PNG.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <cstdlib>

#include "ViewerFixture.h"
#include "app/RegionWindows.h"
#include "messaging/TrafficStatistics.h"
#include "messaging/forms/RegionForms.h"

namespace norq::test {
namespace {

using RegionWindowsTest = ViewerTest;

QString Cell(QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item == nullptr ? QString() : item->text();
}

TEST_F(RegionWindowsTest, RegionsFromMessage22AndTheButtons) {
    app::RegionWindows& regions = main().regions();
    messaging::TfrmRegionList& window = regions.regionList();
    // Hidden in the shipped configuration and in the design; shown with all features.
    QAction* item = main().action(QStringLiteral("mnuViewRegionList"));
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(item->isVisible());
    main().showAllFeatures();
    EXPECT_TRUE(item->isVisible());
    EXPECT_TRUE(main().action(QStringLiteral("mnuTrafficFlowStatistics"))->isVisible());

    main().setStatusPanel(3, QStringLiteral("2011/11/08 10:00:00"));
    feed({"!AIVDM,1,1,,A,F030ot22N2P6aoQbhe4736L20000,0*1A\r\n"});
    main().setStatusPanel(3, QStringLiteral("2011/11/08 10:05:00"));
    feed({"!AIVDM,1,1,,A,F030ot22N2P6aoQbhe4736L20000,0*1A\r\n"});
    QTableWidget* grid = window.grid();
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(Cell(grid, 0, 0), QStringLiteral("1"));
    EXPECT_TRUE(Cell(grid, 0, 1).trimmed().startsWith(QStringLiteral("45")));
    EXPECT_EQ(Cell(grid, 0, 3), QStringLiteral("2087"));
    EXPECT_EQ(Cell(grid, 0, 5), QStringLiteral("2011/11/08 10:00:00"));
    EXPECT_EQ(grid->columnWidth(1), 155);

    auto* test = window.findChild<QPushButton*>(QStringLiteral("Button1"));
    test->click();
    test->click();
    ASSERT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(Cell(grid, 2, 4), QStringLiteral("9000"));
    item->trigger();
    EXPECT_TRUE(window.isVisible());
    window.resize(600, 200);
    Screenshot(window, "region-list.png");

    grid->setCurrentCell(1, 0);
    window.findChild<QPushButton*>(QStringLiteral("spbRemove"))->click();
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(Cell(grid, 1, 0), QStringLiteral("2"));
    EXPECT_EQ(regions.regions()[1].latitude1, 25.502785 + 1.0);
    window.close();
}

TEST_F(RegionWindowsTest, TheCounterFeedsTheInquiry) {
    app::RegionWindows& regions = main().regions();
    ASSERT_TRUE(regions.countTargets());
    // Two days of counts around a month's end, the second with a red hour.
    const std::string folder = regions.statisticsFolder();
    messaging::DayCounts counts{};
    for (int i = 0; i < messaging::kSlotsPerDay; ++i)
        counts[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(20 + (i * 7) % 70);
    ASSERT_TRUE(
        messaging::WriteDayCounts(messaging::CountFilePath(folder, {2011, 11, 30}), counts));
    ASSERT_TRUE(messaging::WriteDayCounts(messaging::CountFilePath(folder, {2011, 12, 1}), counts));

    messaging::TfrmTrafficFlowStatistics& window = regions.statistics();
    window.setPeriod({2011, 11, 30}, 18 * 60, {2011, 12, 2}, 12 * 60, 60);
    window.findChild<QPushButton*>(QStringLiteral("btnInquire"))->click();
    // Nov 30 18:00-23:00 and all of Dec 1; Dec 2 is missing and says so.
    EXPECT_EQ(window.chart()->points().size(), 6u + 24u);
    EXPECT_EQ(window.chart()->points().front().label, "11/30 18:00");
    EXPECT_TRUE(window.note()->text().contains(QStringLiteral("2011/12/02")));
    window.show();
    Screenshot(window, "traffic-statistics-bars.png");
    window.findChild<QRadioButton*>()->parentWidget()->findChildren<QRadioButton*>()[1]->click();
    window.findChild<QCheckBox*>(QStringLiteral("cbxShowMarker"))->click();
    Screenshot(window, "traffic-statistics-line.png");
    window.close();
}

}  // namespace
}  // namespace norq::test
