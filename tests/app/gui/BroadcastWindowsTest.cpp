// The fairway broadcast windows in the viewer: the menu with all features,
// the properties' checks of duration and linkage ID, deleting that is saved,
// and the fairways on the chart. With NORQ_SCREENSHOT_DIR set, the windows
// are also saved there as PNG.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <cstdlib>
#include <filesystem>

#include "ViewerFixture.h"
#include "app/BroadcastWindows.h"
#include "base/TempFolder.h"
#include "chart/forms/PaintChart.h"

namespace norq::test {
namespace {

using BroadcastWindowsTest = ViewerTest;

messaging::Fairway Sample(const char* name, int fi, int shape, double lon, double lat) {
    messaging::Fairway f;
    f.name = name;
    f.fi = fi;
    f.areaShape = shape;
    f.created = "2026/12/10 14:00:00";
    f.year = 2026;
    f.month = 12;
    f.day = 10;
    f.duration = 1440;
    const double dx[] = {0, 0.02, 0.03, 0.01};
    const double dy[] = {0, 0.005, 0.02, 0.025};
    for (int i = 0; i < (shape == 0 && fi == 22 ? 2 : 4); ++i) {
        f.waypoints.push_back({lon + dx[i], lat + dy[i], 0, 0});
    }
    return f;
}

TEST_F(BroadcastWindowsTest, MenuShowsWithAllFeaturesAndOpensTheWindows) {
    QAction* item = main().action(QStringLiteral("mmuFairwayDataManagement"));
    ASSERT_NE(item, nullptr);
    main().showAllFeatures();
    EXPECT_TRUE(item->isVisible());
    item->trigger();
    EXPECT_TRUE(main().broadcasts().manager().isVisible());
    main().action(QStringLiteral("mmuBinaryMsgAppData"))->trigger();
    messaging::TfrmBinaryMsgAppData& data = main().broadcasts().appData();
    EXPECT_TRUE(data.isVisible());
    // Nothing connected: the send is reported as failed, not as sent.
    data.onSend();
    EXPECT_TRUE(data.memo()->toPlainText().contains(QStringLiteral("Not sent")));
    Screenshot(data, "binary-message-app-data.png");
    main().action(QStringLiteral("mmuFairwayCreation"))->trigger();
    Screenshot(main().broadcasts().creation(), "fairway-creation.png");
}

TEST_F(BroadcastWindowsTest, PropertiesCheckDurationAndLinkageId) {
    app::BroadcastWindows& b = main().broadcasts();
    b.list().Append(Sample("North channel", 22, 3, 1.30, 50.95));
    const int second = b.list().Append(Sample("East anchorage", 22, 4, 1.35, 50.93));
    messaging::TfrmBinmsgFairwayProperties& p = b.properties();
    QTimer::singleShot(0, &p, [&] {
        p.setDurationText(QStringLiteral("300000"));
        EXPECT_EQ(p.durationText(), QStringLiteral("262143"));
        p.setDurationText(QStringLiteral("0"));
        EXPECT_EQ(p.durationText(), QStringLiteral("1"));
        p.setLinkId(QStringLiteral("1"));  // the other fairway's
        EXPECT_EQ(p.idMark()->text(), QStringLiteral("X"));
        EXPECT_FALSE(p.okEnabled());
        p.setLinkId(QStringLiteral("7"));
        EXPECT_TRUE(p.okEnabled());
        Screenshot(p, "fairway-properties.png");
        p.accept();
    });
    ASSERT_TRUE(p.edit(static_cast<std::size_t>(second), false));
    EXPECT_EQ(b.list()[1].linkageId, 7);
    EXPECT_EQ(b.list().LowestFreeId(), 2);
}

TEST_F(BroadcastWindowsTest, DeleteIsSavedAndFairwaysAreOnTheChart) {
    app::BroadcastWindows& b = main().broadcasts();
    base::TempFolder dir;
    b.readFiles(dir.path(""));
    b.list().Append(Sample("North channel", 22, 3, 1.30, 50.95));
    b.list().Append(Sample("East anchorage", 22, 4, 1.36, 50.92));
    b.list().Append(Sample("Works area", 22, 0, 1.25, 50.91));
    b.list().Append(Sample("Pilot route", 27, 0, 1.22, 50.96));
    messaging::TfrmBinmsgFairwayDataManagement& m = b.manager();
    m.show();
    m.refresh();
    m.selectRow(1);
    m.onVisible();  // hidden and saved
    m.onVisible();
    EXPECT_TRUE(std::filesystem::exists(b.folder() + "FairwayList.csv"));
    Screenshot(m, "fairway-data-manager.png");
    if (chart::TPaintChart* chart = main().chart()) {
        chart->holdView();
        chart->setScaleIndex(9);
        chart->setCentre(1.29, 50.94);
        chart->markOverlayDirty();
        chart->repaintChart();
        QApplication::processEvents();
        Screenshot(*chart, "fairways-on-chart.png");
    }
    m.setAskDelete([] { return true; });
    m.selectRow(3);
    m.onDelete();
    messaging::FairwayList back;
    back.Load(b.folder());
    EXPECT_EQ(back.count(), 3u);
}

}  // namespace
}  // namespace norq::test
