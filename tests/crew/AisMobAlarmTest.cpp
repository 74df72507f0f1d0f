// The AIS MOB alarm chain from received lines to the sound: a registered device
// becoming active, SILENT, the expiry on the monotonic clock, unregistered
// devices, test transmissions and the drill device.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "RecordingCanvas.h"
#include "ais/RunState.h"
#include "crew/AisMobChartMarks.h"
#include "crew/AisMobList.h"
#include "crew/MobLines.h"

namespace norq::test {
namespace {

using crew::MobStatus;

struct FakeSound : crew::AlarmSound {
    bool active = false;
    int activations = 0;
    bool hasOutput = true;
    void Activate(std::string_view) override {
        if (!active) ++activations;
        active = true;
    }
    void Deactivate(std::string_view) override { active = false; }
    bool AnyActive() const override { return active; }
    bool audible() const override { return hasOutput; }
};

struct FakeMobView : crew::AisMobListView {
    int refills = 0;
    std::vector<int> rewritten;
    int alarmRows = 0;
    bool panel = false;
    bool label = false;
    void refillGrid() override { ++refills; }
    void rewriteRow(int entry) override { rewritten.push_back(entry); }
    void alarmRowsChanged(int rows) override { alarmRows = rows; }
    void showCaution(bool p, bool l) override {
        panel = p;
        label = l;
    }
};

constexpr std::uint32_t kOwnMob = 972001234;
constexpr std::uint32_t kLiferaft = 970222333;

class AisMobAlarmTest : public ::testing::Test {
  protected:
    AisMobAlarmTest() : run(std::make_unique<ais::RunState>(clock)) {
        list = std::make_unique<crew::AisMobList>(clock, run->tracker.table());
        list->setSound(&sound);
        list->setView(&view);
        ais::TrackerConnections c;
        c.mobList = list.get();
        run->tracker.connect(c);
    }
    void feed(const std::string& line) { run->ReceiveLine(line, true); }
    void tick(int seconds = 1) {
        for (int i = 0; i < seconds; ++i) {
            clock.advance(1);
            list->Timer1Tick();
        }
    }
    int targetOf(std::uint32_t mmsi) {
        const ais::TargetTable& t = run->tracker.table();
        for (int i = 1; i < t.count(); ++i)
            if (t[i].mmsi == mmsi) return i;
        return -1;
    }

    ais::ManualClock clock;
    std::unique_ptr<ais::RunState> run;
    std::unique_ptr<crew::AisMobList> list;
    FakeSound sound;
    FakeMobView view;
};

TEST_F(AisMobAlarmTest, RegisteredDeviceAlarmsUntilSilentAndClearsAfterEighteenMinutes) {
    ASSERT_EQ(list->Add(kOwnMob, "BOSUN"), crew::MobEditResult::Done);
    list->Add(972005555, "COOK");
    tick();
    clock.setLocal({{2026, 1, 1}, {12, 0, 5}});
    // The first report makes the entry; the device's next report is active.
    feed(DeviceReport(kOwnMob, 14));
    feed(DeviceReport(kOwnMob, 14));
    const int index = targetOf(kOwnMob);
    ASSERT_GT(index, 0);
    EXPECT_STREQ(run->tracker.table()[index].name.data(), "BOSUN");
    ASSERT_EQ(list->entry(0).mmsi, kOwnMob);
    EXPECT_EQ(list->entry(0).status, MobStatus::Active);
    EXPECT_EQ(list->entry(0).firstTime, (ais::TimeStamp{12, 0, 5}));
    tick();
    EXPECT_TRUE(sound.active);
    EXPECT_EQ(view.alarmRows, 1);
    EXPECT_TRUE(view.panel);
    // The caution blinks: shown on even ticks only.
    const bool first = view.label;
    tick();
    EXPECT_NE(view.label, first);

    list->Silent();
    EXPECT_FALSE(sound.active);
    EXPECT_EQ(list->entry(0).status, MobStatus::Acknowledged);
    tick();
    EXPECT_FALSE(sound.active);  // the row stays red, the sound stays off
    EXPECT_EQ(list->alarmRows(), 1);

    // Still heard after SILENT: the alarm row stays; 18 minutes of silence clear it.
    feed(DeviceReport(kOwnMob, 14));
    tick(18 * 60);
    EXPECT_EQ(list->alarmRows(), 1);
    tick();
    EXPECT_EQ(list->alarmRows(), 0);
    EXPECT_EQ(list->entry(0).status, MobStatus::Quiet);
    EXPECT_FALSE(view.panel);
    EXPECT_EQ(list->count(), 2);  // registered devices stay listed
}

TEST_F(AisMobAlarmTest, TheChartRingsFlashUntilTheAlarmIsSilenced) {
    ASSERT_EQ(list->Add(kOwnMob, "BOSUN"), crew::MobEditResult::Done);
    feed(DeviceReport(kOwnMob, 14));
    feed(DeviceReport(kOwnMob, 14));
    tick();
    crew::AisMobChartMarks marks(*list, run->tracker.table());
    chart::CAxisData axis;
    axis.setPixelRect(0, 0, 400, 300);
    axis.setSize(400, 300);
    axis.setScaleIndex(7);
    const int index = targetOf(kOwnMob);
    ASSERT_GT(index, 0);
    ASSERT_TRUE(axis.setCentre(run->tracker.table()[index].longitude,
                               run->tracker.table()[index].latitude));
    chart::ChartPalette palette;
    auto ringColours = [&] {
        chart::test::RecordingCanvas canvas;
        marks.drawLayer({axis, palette, canvas, chart::ChartLayer::AlarmMarks});
        std::vector<chart::PaletteRole> roles;
        for (const auto& d : canvas.of(chart::test::Op::Ellipse))
            roles.push_back(d.pen);
        return roles;
    };
    std::vector<chart::PaletteRole> a = ringColours();
    tick();
    std::vector<chart::PaletteRole> b = ringColours();
    ASSERT_EQ(a.size(), 2u);
    ASSERT_EQ(b.size(), 2u);  // the rings are always drawn ...
    EXPECT_NE(a[0], b[0]);    // ... in alternating colours
    list->Silent();
    a = ringColours();
    tick();
    b = ringColours();
    EXPECT_EQ(a, b);
    EXPECT_EQ(a[0], chart::PaletteRole::Alarm);
}

TEST_F(AisMobAlarmTest, ExpiryIgnoresCalendarSteps) {
    list->Add(kOwnMob, "BOSUN");
    feed(DeviceReport(kOwnMob, 14));
    feed(DeviceReport(kOwnMob, 14));
    tick();
    // The calendar clock jumps a day ahead (a time-zone or NTP step).
    clock.setLocal({{2026, 1, 2}, {12, 0, 0}});
    tick();
    EXPECT_EQ(list->alarmRows(), 1);
    // And back: the alarm still clears 18 minutes after the last report.
    clock.setLocal({{2025, 12, 31}, {12, 0, 0}});
    tick(18 * 60);
    EXPECT_EQ(list->alarmRows(), 0);
}

TEST_F(AisMobAlarmTest, UnregisteredActiveSartAlarmsWithoutEnteringTheFile) {
    list->Add(kOwnMob, "BOSUN");
    feed(DeviceReport(kLiferaft, 14));
    feed(DeviceReport(kLiferaft, 14));
    tick();
    EXPECT_TRUE(sound.active);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->entry(0).mmsi, kLiferaft);
    EXPECT_FALSE(list->entry(0).registered);
    EXPECT_EQ(list->FileText(), "972001234,BOSUN\n");
    // A message 14 from an ordinary ship is no device alarm.
    feed(SafetyBroadcast(235001000, "SECURITE"));
    EXPECT_EQ(list->count(), 2);
    tick(18 * 60 + 1);
    EXPECT_EQ(list->count(), 1);
    EXPECT_FALSE(sound.active);
}

TEST_F(AisMobAlarmTest, TestTransmissionsNeverAlarm) {
    list->Add(970111222, "EXERCISE");
    for (int i = 0; i < 3; ++i)
        feed(DeviceReport(970111222, 15));
    feed(SafetyBroadcast(970111222, "SART TEST"));
    feed(SafetyBroadcast(972007777, "MOB TEST"));
    tick(2);
    EXPECT_FALSE(sound.active);
    EXPECT_EQ(list->alarmRows(), 0);
    EXPECT_EQ(list->count(), 1);
    // A message 14 "SART ACTIVE" from an unregistered SART alarms.
    feed(SafetyBroadcast(kLiferaft, "SART ACTIVE"));
    tick();
    EXPECT_TRUE(sound.active);
}

TEST_F(AisMobAlarmTest, SecondDeviceSoundsAgainAfterSilent) {
    list->Add(kOwnMob, "BOSUN");
    list->Add(972005555, "COOK");
    feed(DeviceReport(kOwnMob, 14));
    feed(DeviceReport(kOwnMob, 14));
    tick();
    list->Silent();
    tick();
    feed(DeviceReport(972005555, 14));
    feed(DeviceReport(972005555, 14));
    tick();
    EXPECT_TRUE(sound.active);
    EXPECT_EQ(sound.activations, 2);
    // Active entries first, then acknowledged.
    EXPECT_EQ(list->entry(0).mmsi, 972005555u);
    EXPECT_EQ(list->entry(1).mmsi, kOwnMob);
}

TEST_F(AisMobAlarmTest, WithoutAudioTheCautionStaysOn) {
    sound.hasOutput = false;
    list->Add(kOwnMob, "BOSUN");
    feed(DeviceReport(kOwnMob, 14));
    feed(DeviceReport(kOwnMob, 14));
    for (int i = 0; i < 4; ++i) {
        tick();
        EXPECT_TRUE(view.label);
    }
}

TEST_F(AisMobAlarmTest, DrillAlarmsAsATestAndEnds) {
    list->setDrillRunning(true);
    feed(DeviceReport(crew::kDrillMmsi, 14));
    feed(DeviceReport(crew::kDrillMmsi, 14));
    tick();
    EXPECT_TRUE(sound.active);
    ASSERT_EQ(list->count(), 1);
    EXPECT_TRUE(list->entry(0).drill);
    EXPECT_TRUE(list->anyDrill());
    EXPECT_STREQ(run->tracker.table()[targetOf(crew::kDrillMmsi)].name.data(), "TEST ALARM");
    // Stopped, the drill device falls silent and its alarm expires as a real one.
    list->setDrillRunning(false);
    tick(10);
    EXPECT_EQ(list->alarmRows(), 1);
    EXPECT_TRUE(list->entry(0).drill);
    tick(18 * 60);
    EXPECT_EQ(list->count(), 0);
    EXPECT_FALSE(sound.active);
    // Ended, the alarm goes at once.
    list->setDrillRunning(true);
    feed(DeviceReport(crew::kDrillMmsi, 14));
    tick();
    EXPECT_TRUE(sound.active);
    list->endDrill();
    tick();
    EXPECT_EQ(list->count(), 0);
    EXPECT_FALSE(sound.active);
    // Without a running drill the same MMSI is an ordinary unregistered device.
    feed(DeviceReport(crew::kDrillMmsi, 14));
    EXPECT_FALSE(list->entry(0).drill);
}

TEST_F(AisMobAlarmTest, RepeatedReportRewritesOnlyItsRow) {
    list->Add(kOwnMob, "BOSUN");
    feed(DeviceReport(kOwnMob, 14));
    feed(DeviceReport(kOwnMob, 14));
    tick();
    const int refills = view.refills;
    feed(DeviceReport(kOwnMob, 14, 1.36, 50.89));
    EXPECT_EQ(view.rewritten, std::vector<int>{0});
    tick();
    EXPECT_EQ(view.refills, refills);
    EXPECT_NEAR(list->entry(0).longitude, 1.36, 1e-5);
}

}  // namespace
}  // namespace norq::test
