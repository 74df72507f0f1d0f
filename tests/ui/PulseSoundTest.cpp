// The alarm really plays: a PulseAudio daemon of the test's own with a null
// sink is the only output; the alarm and the beep are played through
// ClassAlertSound while parecord records the sink's monitor, and the recording
// is measured (which tones, how loud, how long). Exit code 77 (skipped) when
// the daemon or parecord cannot be started.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

#include "codec/SentenceCodec.h"
#include "crew/CrewWatch.h"
#include "crew/forms/AlertSoundAdapter.h"
#include "ui/ClassAlertSound.h"

namespace norq::test {
namespace {

constexpr int kRate = 44100;
QString gSocket;
QString gRuntime;

void Spin(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

// The share of a window's energy at one frequency (Goertzel), 0 ... 1.
double ToneShare(const std::vector<double>& x, std::size_t from, std::size_t n, double hz) {
    const double w = 2.0 * std::numbers::pi * hz / kRate;
    const double coeff = 2.0 * std::cos(w);
    double s1 = 0.0, s2 = 0.0, energy = 0.0;
    for (std::size_t i = from; i < from + n; ++i) {
        const double s = x[i] + coeff * s1 - s2;
        s2 = s1;
        s1 = s;
        energy += x[i] * x[i];
    }
    const double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
    return energy > 0.0 ? 2.0 * power / (n * energy) : 0.0;
}

double Rms(const std::vector<double>& x, std::size_t from, std::size_t n) {
    double e = 0.0;
    for (std::size_t i = from; i < from + n; ++i)
        e += x[i] * x[i];
    return std::sqrt(e / n);
}

// Records the sink's monitor as the test runs. Times are read off the
// recording itself (seconds of samples received so far), so a slow machine
// that takes longer to bring a sound to the sink does not move the marks.
class Recorder {
  public:
    Recorder() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + gSocket);
        process_.setProcessEnvironment(env);
        // The samples come on the standard output as they are recorded.
        process_.start(QStringLiteral("parecord"),
                       {QStringLiteral("--device=norqtest.monitor"), QStringLiteral("--raw"),
                        QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"),
                        QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=20")});
        process_.waitForStarted(5000);
        Spin(400);
    }
    // The seconds recorded so far.
    double now() {
        take();
        return static_cast<double>(samples_.size()) / kRate;
    }
    // Waits until the recording has reached `seconds`; false after `timeoutMs`.
    bool waitUntil(double seconds, int timeoutMs = 10000) {
        QElapsedTimer t;
        t.start();
        while (now() < seconds) {
            if (t.elapsed() > timeoutMs) return false;
            Spin(20);
        }
        return true;
    }
    // Waits for the first loud 50 ms window at or after `from` seconds; its
    // start in seconds, or -1 when none came within `timeoutMs`.
    double waitForSound(double from, int timeoutMs = 10000) {
        const std::size_t n = kRate / 20;
        std::size_t at = static_cast<std::size_t>(from * kRate);
        QElapsedTimer t;
        t.start();
        for (;;) {
            take();
            for (; at + n <= samples_.size(); at += n) {
                if (Rms(samples_, at, n) >= 0.05) return static_cast<double>(at) / kRate;
            }
            if (t.elapsed() > timeoutMs) return -1.0;
            Spin(20);
        }
    }
    std::vector<double> stop() {
        process_.terminate();
        process_.waitForFinished(5000);
        take();
        return samples_;
    }

  private:
    void take() {
        pending_.append(process_.readAllStandardOutput());
        const auto* s = reinterpret_cast<const qint16*>(pending_.constData());
        const qsizetype whole = pending_.size() / 2;
        for (qsizetype i = 0; i < whole; ++i)
            samples_.push_back(s[i] / 32768.0);
        pending_.remove(0, whole * 2);
    }

    QProcess process_;
    QByteArray pending_;
    std::vector<double> samples_;
};

TEST(PulseSound, TheLoopingAlarmReachesTheSinkAsItsTwoTones) {
    ui::ClassAlertSound sound;
    ASSERT_TRUE(sound.hasAudioOutput());
    ASSERT_EQ(sound.Register("AIS MOB ALARM", NORQ_ALARM_SOUND_FILE), 0);
    Recorder recorder;
    sound.Activate("AIS MOB ALARM");
    // Qt's sound effect takes a second or more to reach PulseAudio's sink.
    const double onset = recorder.waitForSound(0.0);
    ASSERT_GE(onset, 0.0) << "the alarm never reached the sink";
    // Longer than the file, so that it must loop.
    ASSERT_TRUE(recorder.waitUntil(onset + 2.5));
    EXPECT_TRUE(sound.audible()) << sound.silentReason().toStdString();
    EXPECT_TRUE(sound.reportsPlaying());
    sound.Deactivate("AIS MOB ALARM");
    const double stoppedAt = recorder.now();
    recorder.waitUntil(stoppedAt + 1.0);
    const std::vector<double> x = recorder.stop();

    // 50 ms windows: the loud ones are 1200 Hz or 800 Hz, nothing else.
    const std::size_t n = kRate / 20;
    int high = 0, low = 0, loud = 0, other = 0;
    for (std::size_t at = static_cast<std::size_t>(onset * kRate);
         at + n <= x.size() && at < static_cast<std::size_t>(stoppedAt * kRate); at += n) {
        if (std::getenv("NORQ_SOUND_DEBUG") != nullptr) {
            std::fprintf(stderr, "%5.2f s rms %.3f 1200 %.2f 800 %.2f\n", double(at) / kRate,
                         Rms(x, at, n), ToneShare(x, at, n, 1200.0), ToneShare(x, at, n, 800.0));
        }
        if (Rms(x, at, n) < 0.05) continue;
        ++loud;
        const double h = ToneShare(x, at, n, 1200.0);
        const double l = ToneShare(x, at, n, 800.0);
        if (h > 0.8) {
            ++high;
        } else if (l > 0.8) {
            ++low;
        } else {
            ++other;  // a window across a change of tone
        }
    }
    // More than the file's one second (20 windows): the sound looped.
    EXPECT_GE(loud, 40);
    EXPECT_GE(high, 10);
    EXPECT_GE(low, 10);
    EXPECT_LE(other, loud / 3);
    // After Deactivate the sink falls silent.
    EXPECT_LT(Rms(x, x.size() - kRate / 10, kRate / 10), 0.01);
}

// The share of 50 ms windows in [from, to) seconds that are loud.
double LoudShare(const std::vector<double>& x, double from, double to) {
    const std::size_t n = kRate / 20;
    int loud = 0, all = 0;
    for (std::size_t at = static_cast<std::size_t>(from * kRate);
         at + n <= x.size() && at < static_cast<std::size_t>(to * kRate); at += n, ++all) {
        loud += Rms(x, at, n) >= 0.05 ? 1 : 0;
    }
    return all == 0 ? 0.0 : static_cast<double>(loud) / all;
}

TEST(PulseSound, ACrewSosSoundsUntilMutedAndASecondPersonSoundsItAgain) {
    ui::ClassAlertSound sound;
    ASSERT_TRUE(sound.hasAudioOutput());
    ASSERT_GE(sound.Register(crew::kCrewAlarmSoundName, NORQ_ALARM_SOUND_FILE), 0);
    crew::AlertSoundAdapter adapter(sound);
    crew::ManualCrewClock clock;
    crew::CrewWatch watch(clock);
    watch.setSound(&adapter);
    const auto report = [&](const char* line) {
        codec::SentenceRecord r;
        ASSERT_EQ(codec::ParseSentence(line, r), codec::ParseStatus::Ok) << line;
        watch.OnMobSentence(*r.as<codec::Mob>(), 5.3, 60.4);
    };
    report("$PMOB,93FA2F,1,04,D2,000000*06\r\n");
    report("$PMOB,93FA30,1,04,D2,000000*71\r\n");
    Recorder recorder;
    report("$PMOB,93FA2F,1,02,D2,000000*00\r\n");  // the first person in the water
    const double onset = recorder.waitForSound(0.0);
    ASSERT_GE(onset, 0.0) << "the SOS never reached the sink";
    ASSERT_TRUE(recorder.waitUntil(onset + 2.0));
    watch.SetMute(true);
    const double mutedAt = recorder.now();
    ASSERT_TRUE(recorder.waitUntil(mutedAt + 2.0));
    report("$PMOB,93FA30,1,02,D2,000000*77\r\n");  // the second: the mute is released
    const double secondAt = recorder.now();
    EXPECT_FALSE(watch.muted());
    const double again = recorder.waitForSound(secondAt);
    ASSERT_GE(again, 0.0) << "the second SOS never reached the sink";
    ASSERT_TRUE(recorder.waitUntil(again + 1.5));
    watch.SetMute(true);
    const std::vector<double> x = recorder.stop();
    EXPECT_GT(LoudShare(x, onset, mutedAt), 0.8);
    // What the sink still held when the mute came may play out first.
    EXPECT_LT(LoudShare(x, mutedAt + 0.8, secondAt), 0.1);
    EXPECT_GT(LoudShare(x, again, again + 1.4), 0.8);
}

TEST(PulseSound, TheBeepIsAThousandHertzForSixHundredMilliseconds) {
    ui::ClassAlertSound sound;
    Recorder recorder;
    sound.beep(1000, 600);
    const double onset = recorder.waitForSound(0.0);
    ASSERT_GE(onset, 0.0) << "the beep never reached the sink";
    recorder.waitUntil(onset + 1.5);
    const std::vector<double> x = recorder.stop();
    const std::size_t n = kRate / 50;  // 20 ms windows
    int toneWindows = 0;
    int pureWindows = 0;
    for (std::size_t at = 0; at + n <= x.size(); at += n) {
        const double rms = Rms(x, at, n);
        if (std::getenv("NORQ_SOUND_DEBUG") != nullptr) {
            std::fprintf(stderr, "%5.2f s rms %.3f 1000 %.2f\n", double(at) / kRate, rms,
                         ToneShare(x, at, n, 1000.0));
        }
        if (rms < 0.05) continue;
        // Nearly all of it is the tone alone; the edges hold its ramps.
        if (ToneShare(x, at, n, 1000.0) > 0.95) ++pureWindows;
        ++toneWindows;
    }
    // 600 ms = 30 windows, give or take the edges.
    EXPECT_GE(toneWindows, 26);
    EXPECT_LE(toneWindows, 32);
    EXPECT_GE(pureWindows, toneWindows - 3);
}

// Starts the daemon; false when it cannot run here.
bool StartDaemon(QProcess& daemon, const QString& runtime) {
    if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("parecord")).isEmpty()) {
        return false;
    }
    gSocket = runtime + QStringLiteral("/native");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), runtime);
    env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), runtime);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    daemon.setProcessEnvironment(env);
    daemon.setProcessChannelMode(QProcess::MergedChannels);
    daemon.start(
        QStringLiteral("pulseaudio"),
        {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
         QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=no"),
         QStringLiteral("-L"),
         QStringLiteral("module-null-sink sink_name=norqtest rate=44100 channels=1"),
         QStringLiteral("-L"),
         QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + gSocket});
    if (!daemon.waitForStarted(5000)) return false;
    for (int i = 0; i < 100 && !QFile::exists(gSocket); ++i) {
        if (daemon.state() != QProcess::Running) return false;
        QThread::msleep(50);
    }
    QThread::msleep(200);
    return QFile::exists(gSocket) && daemon.state() == QProcess::Running;
}

}  // namespace
}  // namespace norq::test

int main(int argc, char** argv) {
    QTemporaryDir runtime;
    QProcess daemon;
    norq::test::gRuntime = runtime.path();
    // QProcess needs an application object; the daemon must run before the
    // one that plays, whose audio engine connects once, at its first use.
    int status = 77;
    {
        QCoreApplication probe(argc, argv);
        if (!norq::test::StartDaemon(daemon, runtime.path())) {
            std::fprintf(stderr, "PulseAudio daemon could not start: skipped\n%s\n",
                         daemon.readAll().constData());
            daemon.kill();
            daemon.waitForFinished(2000);
            return status;
        }
        setenv("PULSE_SERVER", ("unix:" + norq::test::gSocket).toLocal8Bit().constData(), 1);
        ::testing::InitGoogleTest(&argc, argv);
        status = RUN_ALL_TESTS();
        daemon.terminate();
        if (!daemon.waitForFinished(5000)) daemon.kill();
        daemon.waitForFinished(2000);
    }
    return status;
}
