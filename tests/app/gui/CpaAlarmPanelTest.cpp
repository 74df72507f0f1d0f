// The graded CPA alarm in the main window: the status row's button, the beep
// only at the alarm level, the acknowledgement, and the grid rows in the
// colour of their level. Off by default: nothing of it shows or sounds.
#include <QAbstractItemModel>
#include <QPushButton>
#include <QTableView>
#include <fstream>

#include "AisLines.h"
#include "ViewerFixture.h"
#include "chart/forms/PaintChart.h"
#include "ui/GridPalette.h"

namespace norq::test {
namespace {

struct CpaAlarmPanelTest : ViewerTest {
    void startWith(const char* settings) {
        stop();
        std::ofstream(settingsFile()) << settings;
        start();
    }
    // The own ship heading north at 10 kn, and a target `nm` ahead on the
    // reciprocal course: CPA 0, TCPA nm / 20 kn.
    void meeting(double nm, std::uint32_t mmsi = 244000001) {
        feed(AisSentences(PositionReport(Vessel{235099001, 1.30, 50.95, 10.0f, 0.0f}), true));
        feed(AisSentences(PositionReport(Vessel{mmsi, 1.30, 50.95 + nm / 60.0, 10.0f, 180.0f})));
    }
    QPushButton* button() { return main().findChild<QPushButton*>(QStringLiteral("btnCpaAlarm")); }
    QColor rowColour(int row) {
        auto* grid = main().findChild<QTableView*>(QStringLiteral("StringGrid1"));
        QAbstractItemModel* model = grid->model();
        return model->data(model->index(row, 5), Qt::BackgroundRole).value<QColor>();
    }
};

}  // namespace

TEST_F(CpaAlarmPanelTest, OffByDefaultNothingShowsOrSounds) {
    meeting(0.5);  // 1.5 min to a collision
    ASSERT_EQ(main().runState().tracker.cpaLevel(1), ais::CpaLevel::Alarm);
    const int beeps = main().sound().beepCount();
    main().Timer1Timer();
    EXPECT_EQ(main().sound().beepCount(), beeps);
    ASSERT_NE(button(), nullptr);
    EXPECT_FALSE(button()->isVisibleTo(&main()));
    const ui::GridPalette colours;
    EXPECT_NE(rowColour(1), colours.dangerousFill);
    EXPECT_TRUE(main().chart()->model().dangerous(1));  // the mark as it always was
}

TEST_F(CpaAlarmPanelTest, TheAlarmBeepsUntilAcknowledgedAndTheGridShowsEachLevel) {
    startWith("[CPA]\nCPA=2\nTCPA=10\nGraded=1\nAcknowledgeMinutes=1\n");
    main().resize(1280, 860);
    main().show();
    meeting(5.0, 244000002);  // 15 min to CPA: warning (6 nm / 20 min)
    meeting(8.0, 244000003);  // 24 min: caution (8 nm / 30 min)
    meeting(0.5, 244000001);  // 1.5 min: alarm
    const ui::GridPalette colours;
    EXPECT_EQ(rowColour(1), colours.warningFill);
    EXPECT_EQ(rowColour(2), colours.cautionFill);
    EXPECT_EQ(rowColour(3), colours.dangerousFill);
    // The chart rings the lower levels; the alarm is its dangerous mark.
    const chart::ChartModel& chart = main().chart()->model();
    EXPECT_EQ(chart.cpaLevel(1), ais::CpaLevel::Warning);
    EXPECT_EQ(chart.cpaLevel(2), ais::CpaLevel::Caution);
    EXPECT_EQ(chart.cpaLevel(3), ais::CpaLevel::None);
    EXPECT_TRUE(chart.dangerous(3));

    int beeps = main().sound().beepCount();
    main().Timer1Timer();
    EXPECT_EQ(main().sound().beepCount(), beeps + 1);
    ASSERT_TRUE(button()->isVisibleTo(&main()));
    EXPECT_EQ(button()->text(), QStringLiteral("CPA ALARM (1): acknowledge"));

    button()->click();
    EXPECT_EQ(button()->text(), QStringLiteral("CPA alarm (1) acknowledged"));
    beeps = main().sound().beepCount();
    for (int s = 0; s < 59; ++s) {
        clock_.advance(1);
        meeting(0.5, 244000001);  // still closing, still in alarm
        main().Timer1Timer();
    }
    EXPECT_EQ(main().sound().beepCount(), beeps);
    clock_.advance(1);
    main().Timer1Timer();  // the minute ran out: the danger stands
    EXPECT_EQ(main().sound().beepCount(), beeps + 1);
    EXPECT_EQ(button()->text(), QStringLiteral("CPA ALARM (1): acknowledge"));
}

}  // namespace norq::test
