// The alarm sound registry: places, path limits, which alert plays, and what it
// says when the machine cannot make the alarm heard.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <string>

#include "ui/ClassAlertSound.h"

namespace norq::test {
namespace {

using ui::ClassAlertSound;

TEST(AlertSound, RegistersUpToThirtyNamesAndRefusesLongPaths) {
    ClassAlertSound sound;
    EXPECT_EQ(sound.Register("AIS MOB ALARM", NORQ_ALARM_SOUND_FILE), 0);
    EXPECT_EQ(sound.Register("AIS MOB ALARM", ""), 0);  // a known name keeps its place
    EXPECT_EQ(sound.Register("OTHER", std::string(300, 'x')), -2);
    EXPECT_GE(sound.Register("OTHER", std::string(299, 'x')), 0);
    for (int i = 2; i < ClassAlertSound::kMaxAlerts; ++i)
        EXPECT_EQ(sound.Register("ALERT " + std::to_string(i), "x.wav"), i);
    EXPECT_EQ(sound.Register("ONE TOO MANY", "x.wav"), -1);
}

TEST(AlertSound, TheFirstActiveAlertInRegistrationOrderPlays) {
    ClassAlertSound sound;
    sound.Register("FIRST", NORQ_ALARM_SOUND_FILE);
    sound.Register("SECOND", NORQ_ALARM_SOUND_FILE);
    EXPECT_EQ(sound.playingIndex(), ClassAlertSound::kNonePlaying);
    sound.Activate("SECOND");
    EXPECT_EQ(sound.playingIndex(), 1);
    sound.Activate("FIRST");
    EXPECT_EQ(sound.playingIndex(), 0);
    sound.Deactivate("FIRST");
    EXPECT_EQ(sound.playingIndex(), 1);
    EXPECT_TRUE(sound.AnyActive());
    sound.Deactivate("SECOND");
    EXPECT_EQ(sound.playingIndex(), ClassAlertSound::kNonePlaying);
    EXPECT_FALSE(sound.AnyActive());
    sound.Activate("UNKNOWN");
    EXPECT_FALSE(sound.AnyActive());
}

TEST(AlertSound, TheGeneratedAlarmFileIsDelivered) {
    const QFileInfo file(QStringLiteral(NORQ_ALARM_SOUND_FILE));
    ASSERT_TRUE(file.exists());
    EXPECT_TRUE(file.filePath().endsWith(QStringLiteral("Sound/Alarm/alarm_loop_1.wav")));
    EXPECT_EQ(file.size(), 44 + 44100 * 2);
}

TEST(AlertSound, SaysWhyTheAlarmCannotBeHeard) {
    ClassAlertSound sound;
    sound.Register("AIS MOB ALARM", "/nonexistent/alarm_loop_1.wav");
    sound.Activate("AIS MOB ALARM");
    // Either there is no output at all, or the file is missing: never "audible".
    EXPECT_FALSE(sound.audible());
    EXPECT_FALSE(sound.silentReason().isEmpty());
    if (!sound.hasAudioOutput()) {
        EXPECT_TRUE(sound.silentReason().startsWith(QStringLiteral("No audio output")));
    }
    sound.beep(1000, 600);
    EXPECT_EQ(sound.beepCount(), 1);

    // An alarm whose sound could not be registered is no audible alarm either.
    ClassAlertSound unregistered;
    EXPECT_EQ(unregistered.Register("AIS MOB ALARM", std::string(300, 'x')), -2);
    unregistered.Activate("AIS MOB ALARM");
    EXPECT_FALSE(unregistered.audible());
    unregistered.Deactivate("AIS MOB ALARM");
    if (unregistered.hasAudioOutput()) {
        EXPECT_TRUE(unregistered.audible());
    }
}

}  // namespace
}  // namespace norq::test
