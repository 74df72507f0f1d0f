// When a target ages out the entries behind it move down: the chart's
// dangerous marks and highlight, the list and grid selection and the fixed
// "Target Monitor" target move with them.
#include <QAbstractItemView>

#include "AisLines.h"
#include "ViewerFixture.h"
#include "chart/forms/PaintChart.h"

namespace norq::test {
namespace {

class TargetShiftTest : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        main().show();
        main().flushViews();
    }
    chart::TPaintChart* chart() {
        return main().findChild<chart::TPaintChart*>(QStringLiteral("PaintChart"));
    }
};

TEST_F(TargetShiftTest, ADangerousTargetBehindOneThatAgesOutStaysMarked) {
    main().runState().tracker.setCpaSettings({5, 20});
    // Own ship northbound; a safe target that will age out, a safe one the
    // user fixes and a dangerous one coming head on behind them.
    feed(AisSentences(PositionReport({211999999, 120.0, 22.0, 10.0f, 0.0f, 0, 0}), true));
    feed(AisSentences(PositionReport({416000001, 120.1, 22.0, 10.0f, 90.0f, 90, 0})));
    clock_.advance(1000);
    const Vessel dangerous{416000002, 120.0, 22.1, 10.0f, 180.0f, 180, 0};
    const Vessel fixed{416000003, 120.1, 22.0, 10.0f, 90.0f, 90, 0};
    feed(AisSentences(PositionReport(fixed)));
    feed(AisSentences(PositionReport(dangerous)));
    ASSERT_NE(chart(), nullptr);
    ASSERT_FALSE(chart()->dangerous(1));
    ASSERT_FALSE(chart()->dangerous(2));
    ASSERT_TRUE(chart()->dangerous(3));
    auto* list = main().findChild<QAbstractItemView*>(QStringLiteral("ListBoxShip"));
    list->setCurrentIndex(list->model()->index(2, 0));
    ASSERT_TRUE(main().targetMonitorChecked());
    ASSERT_EQ(chart()->highlighted(), 2);

    clock_.advance(2601);  // the first target is silent for 3601 s
    // The own ship reports again, or its position would have gone stale.
    feed(AisSentences(PositionReport({211999999, 120.0, 22.0, 10.0f, 0.0f, 0, 0}), true));
    feed(AisSentences(PositionReport(fixed)));
    feed(AisSentences(PositionReport(dangerous)));
    main().Timer1Timer();
    main().flushViews();
    ASSERT_EQ(main().shipListCaption(), QStringLiteral("SHIP LIST : 2"));
    EXPECT_FALSE(chart()->dangerous(1));  // the fixed safe target, now entry 1
    EXPECT_TRUE(chart()->dangerous(2));   // the dangerous one, now entry 2
    EXPECT_FALSE(chart()->dangerous(3));
    EXPECT_EQ(chart()->highlighted(), 1);
    EXPECT_TRUE(main().targetMonitorChecked());
    EXPECT_EQ(main().listSelection(), 1);
    auto* grid = main().findChild<QAbstractItemView*>(QStringLiteral("StringGrid1"));
    EXPECT_EQ(grid->currentIndex().row(), 1);
    EXPECT_EQ(main().detailText(QStringLiteral("lblEdtMMSI")), QStringLiteral("416000003"));

    // Further traffic keeps the fixed target shown.
    feed(AisSentences(PositionReport(dangerous)));
    EXPECT_EQ(main().listSelection(), 1);
    EXPECT_EQ(main().detailText(QStringLiteral("lblEdtMMSI")), QStringLiteral("416000003"));
}

TEST_F(TargetShiftTest, TheFixedTargetAgingOutReleasesTargetMonitor) {
    feed(AisSentences(PositionReport({416000001, 120.1, 22.0, 10.0f, 90.0f, 90, 0})));
    clock_.advance(1000);
    feed(AisSentences(PositionReport({416000002, 120.2, 22.0, 10.0f, 90.0f, 90, 0})));
    auto* list = main().findChild<QAbstractItemView*>(QStringLiteral("ListBoxShip"));
    list->setCurrentIndex(list->model()->index(1, 0));
    ASSERT_TRUE(main().targetMonitorChecked());
    clock_.advance(2601);
    feed(AisSentences(PositionReport({416000002, 120.2, 22.0, 10.0f, 90.0f, 90, 0})));
    main().Timer1Timer();
    main().flushViews();
    EXPECT_FALSE(main().targetMonitorChecked());
    EXPECT_EQ(chart()->highlighted(), -1);
    feed(AisSentences(PositionReport({416000002, 120.2, 22.0, 10.0f, 90.0f, 90, 0})));
    EXPECT_EQ(main().listSelection(), 1);  // the list follows the traffic again
}

}  // namespace
}  // namespace norq::test
