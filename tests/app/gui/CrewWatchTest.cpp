// The crew watch in the viewer, offscreen: an SOS sounds the looping alarm and
// shows the popup; the mute silences it until a second person is in the
// water, when the mute button comes back up, the alarm sounds again and the
// popup returns with both names; "Shut Down All" asks first; the files are on
// the disk right after the event.
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>

#include "ViewerFixture.h"
#include "app/CrewWindows.h"
#include "app/NavigationHub.h"
#include "app/nav/NavPositions.h"
#include "base/IniFile.h"
#include "chart/ChartModel.h"
#include "chart/forms/PaintChart.h"
#include "crew/forms/CrewWatchForms.h"
#include "nav/forms/DestinationForm.h"
#include "ui/ClassAlertSound.h"

namespace norq::test {
namespace {

std::string Mob(std::string_view body) {
    unsigned sum = 0;
    for (char c : body.substr(1))
        sum ^= static_cast<unsigned char>(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return std::string(body) + tail;
}

class CrewWatchTest : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        main().showCrewWatch();
        feed({Mob("$PMOB,93FA2F,1,04,D2,000000"), Mob("$PMOB,93FA30,1,04,D2,000000")});
        crew().watch().EditDevice(0, "Ingrid", "");
        crew().watch().EditDevice(1, "Ola", "");
    }
    app::CrewWindows& crew() { return main().crew(); }
    void tick() {
        clock_.advance(1);
        crew().TimerMOBTimer();
    }
    QToolButton* mute() {
        return main().findChild<QToolButton*>(QStringLiteral("SpeedButtonMute"));
    }
    bool alarmSounds() {
        const ui::ClassAlertSound& alerts = main().sound().alerts();
        return alerts.AnyActive() &&
               alerts.playingFile().endsWith(QStringLiteral("alarm_loop_1.wav"));
    }
};

TEST_F(CrewWatchTest, ASecondPersonInTheWaterReleasesTheMuteAndBringsThePopupBack) {
    ASSERT_NE(mute(), nullptr);
    EXPECT_TRUE(mute()->isVisibleTo(&main()));
    feed({Mob("$PMOB,93FA2F,1,02,D2,000000")});
    tick();
    crew::TfrmAlarmPopup& popup = crew().popup();
    ASSERT_TRUE(popup.isVisible());
    ASSERT_EQ(popup.list()->count(), 1);
    EXPECT_EQ(popup.list()->item(0)->text(), QStringLiteral("Ingrid"));
    EXPECT_TRUE(alarmSounds());
    EXPECT_TRUE(crew().rescueGuide().isVisible());
    const auto* passengers = main().findChild<QLabel*>(QStringLiteral("lblTopPassenger"));
    ASSERT_NE(passengers, nullptr);
    EXPECT_EQ(passengers->text(), QStringLiteral("1/2"));
    // The place where the alarm began is marked on the chart.
    EXPECT_TRUE(main().chart()->model().pendant(0).visible);
    EXPECT_FALSE(main().chart()->model().pendant(1).visible);
    EXPECT_TRUE(
        main().chart()->pendantHint(0).startsWith(QStringLiteral("Device ID:147:250:047\nRange:")));

    mute()->click();  // down
    EXPECT_TRUE(crew().watch().muted());
    EXPECT_FALSE(main().sound().alerts().AnyActive());
    popup.onOk();
    tick();
    EXPECT_FALSE(popup.isVisible());

    feed({Mob("$PMOB,93FA30,1,02,D2,000000")});
    EXPECT_FALSE(mute()->isChecked());
    EXPECT_FALSE(crew().watch().muted());
    EXPECT_TRUE(alarmSounds());
    tick();
    ASSERT_TRUE(popup.isVisible());
    ASSERT_EQ(popup.list()->count(), 2);
    EXPECT_EQ(popup.list()->item(1)->text(), QStringLiteral("Ola"));

    // Both are safe again: the alarm ends and the guide goes.
    feed({Mob("$PMOB,93FA2F,1,01,D2,000000"), Mob("$PMOB,93FA30,1,01,D2,000000")});
    tick();
    EXPECT_FALSE(main().sound().alerts().AnyActive());
    EXPECT_FALSE(crew().rescueGuide().isVisible());
    EXPECT_FALSE(main().chart()->model().pendant(0).visible);
}

TEST_F(CrewWatchTest, TheRescueGuideHandsTheAlarmPositionToTheDestinationWindow) {
    main().chart()->setManualPosition(5.3, 60.4, 0.0);
    feed({Mob("$PMOB,93FA2F,1,02,D2,000000")});
    tick();
    crew().steerToSelectedAlarm();
    nav::TfrmDestination& window = main().navigation().positions().destinationWindow();
    ASSERT_TRUE(window.isVisible());
    window.okButton()->click();
    const base::DestinationSettings& d = main().settings().destination;
    EXPECT_TRUE(d.valid);
    EXPECT_NEAR(d.longitude, 5.3, 1.0 / 3600.0);
    EXPECT_NEAR(d.latitude, 60.4, 1.0 / 3600.0);
}

TEST_F(CrewWatchTest, TheAutoSrmBoxIsTheSettingAndIsKeptAtExit) {
    QCheckBox* box = main().findChild<QCheckBox*>(QStringLiteral("cbxAutoSRM"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("Auto SRM"));
    EXPECT_FALSE(box->isChecked());
    // Without the box no safety message goes out, whatever the link.
    EXPECT_FALSE(crew().autoSrmAllowed());
    box->click();
    EXPECT_TRUE(main().settings().autoSrm);
    // Ticked, it still waits for a serial AIS link: none is connected here.
    EXPECT_FALSE(crew().autoSrmAllowed());
    main().ApplyLanguage(1);
    EXPECT_EQ(box->text(), QString::fromStdString(main().texts().text(base::TextId::SrmAutoSrm)));
    main().ApplyLanguage(0);
    stop();
    base::IniFile ini;
    ASSERT_EQ(ini.load(settingsFile()), base::IniFile::LoadResult::Loaded);
    EXPECT_EQ(ini.readInt("SRM", "AutoSRM", -1), 1);
}

TEST_F(CrewWatchTest, ShutDownAllAsksFirst) {
    QAction* all = crew().page().findChild<QAction*>(QStringLiteral("mnuShutDownAll"));
    ASSERT_NE(all, nullptr);
    feed({Mob("$PMOB,93FA2F,1,03,D2,000000")});  // LOST: a shut-down turns it off at once
    dialogs_.answers = {ui::MessageAnswer::No};
    all->trigger();
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0].text,
              QStringLiteral("Do you really want to shut down all device?"));
    EXPECT_EQ(dialogs_.shown[0].buttons, ui::MessageButtons::YesNo);
    EXPECT_EQ(crew().watch().table()[0].state, crew::CrewDeviceState::Lost);
    dialogs_.answers = {ui::MessageAnswer::Yes};
    all->trigger();
    EXPECT_EQ(crew().watch().table()[0].state, crew::CrewDeviceState::Off);
}

TEST_F(CrewWatchTest, AnOnlinePendantIsNotRemovedAndTheCareWindowFollowsARemoval) {
    feed({Mob("$PMOB,93FA31,1,04,D2,000000")});
    crew().watch().EditDevice(2, "Maria", "Insulin, cabin 12");
    crew().watch().SetCareSlot(0, 1);  // Ola
    crew().watch().SetCareSlot(1, 2);  // Maria
    QTableWidget* grid = crew().page().grid();
    grid->selectRow(0);
    crew().page().onRemove();
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0].text, QStringLiteral("Only OFFLINE pendant(s) could be removed!"));
    EXPECT_EQ(crew().watch().table().count(), 3);

    feed({Mob("$PMOB,93FA30,1,08,D2,000000")});  // Ola's pendant is off
    grid->selectRow(1);
    dialogs_.answers = {ui::MessageAnswer::Yes};
    crew().page().onRemove();
    EXPECT_EQ(dialogs_.shown.back().text,
              QStringLiteral("Do you really want to remove this device?"));
    ASSERT_EQ(crew().watch().table().count(), 2);
    crew().care().RefreshCareSlots();
    EXPECT_EQ(crew().care().slotText(0, "name"), QString());
    EXPECT_EQ(crew().care().slotText(1, "name"), QStringLiteral("Maria"));
    EXPECT_EQ(crew().care().slotText(1, "notes"), QStringLiteral("Insulin, cabin 12"));
}

TEST_F(CrewWatchTest, TheEventIsInTheFileBeforeTheViewerCloses) {
    feed({Mob("$PMOB,93FA2F,1,02,D2,000000")});
    QFile events(QString::fromStdString(paths_.folders.dataFolder) +
                 QStringLiteral("MOB_Event.csv"));
    ASSERT_TRUE(events.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(events.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral(",147:250:047,03,"))) << text.toStdString();
    QFile devices(QString::fromStdString(paths_.folders.dataFolder) + QStringLiteral("MOB.csv"));
    ASSERT_TRUE(devices.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(devices.readAll()).contains(QStringLiteral("Ingrid")));
}

}  // namespace
}  // namespace norq::test
