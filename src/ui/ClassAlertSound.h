// The registry of named looping alarm sounds, and the short tone of the
// one-second step, both played through Qt Multimedia.
//
// Up to 30 alerts are registered by name with a wave file. The first active
// alert in registration order plays, looping; only one sound plays at a time.
// Qt's sound effect reports "playing" even where the machine has no audio
// output, so audible() checks the output devices and the loaded sound itself:
// callers show a steady caution instead when the alarm cannot be heard.
#pragma once

#include <QByteArray>
#include <QObject>
#include <array>
#include <memory>
#include <string>
#include <string_view>

class QAudioSink;
class QBuffer;
class QMediaDevices;
class QSoundEffect;

namespace norq::ui {

class ClassAlertSound final : public QObject {
    Q_OBJECT

  public:
    static constexpr int kMaxAlerts = 30;
    static constexpr int kMaxNameLength = 29;
    static constexpr std::size_t kMaxPathLength = 299;
    static constexpr int kNonePlaying = 999;

    explicit ClassAlertSound(QObject* parent = nullptr);
    ~ClassAlertSound() override;

    // A non-negative value on success, -1 when all places are used, -2 when the
    // path is too long. A known name only gets its file replaced (when not empty).
    int Register(std::string_view name, std::string_view soundFile);
    // Starts or stops the named alert; an unknown name counts as an alarm that cannot be
    // heard.
    void Activate(std::string_view name);
    void Deactivate(std::string_view name);
    bool AnyActive() const;
    // False when the alarm cannot be heard (see silentCause()).
    bool audible() const;

    // A tone of `hz` for `ms` milliseconds (the speaker beep of the one-second step).
    void beep(int hz, int ms);
    int beepCount() const { return beeps_; }

    int playingIndex() const { return playing_; }
    // What the sound object itself claims.
    bool reportsPlaying() const;
    bool hasAudioOutput() const;
    enum class SilentCause { None, NoOutput, SoundFile };
    // Why the alarm cannot be heard: no output device, or the sound cannot be played.
    SilentCause silentCause() const;
    // The same in words (English), or empty; windows show their own texts.
    QString silentReason() const;
    // The file of the alert that plays (or was last asked to), or empty.
    QString playingFile() const;

  Q_SIGNALS:
    // The output devices or the loaded sound changed: audible() may differ.
    void audibilityChanged();

  private:
    struct Alert {
        std::string name;
        std::string file;
        bool active = false;
    };
    int find(std::string_view name) const;
    void reevaluate();

    std::array<Alert, kMaxAlerts> alerts_{};
    int count_ = 0;
    int playing_ = kNonePlaying;
    int beeps_ = 0;
    bool unregisteredActive_ = false;
    QSoundEffect* effect_ = nullptr;
    QMediaDevices* devices_ = nullptr;
    QAudioSink* toneSink_ = nullptr;
    QBuffer* toneBuffer_ = nullptr;
    QByteArray tone_;
    int toneHz_ = 0;
    int toneMs_ = 0;
};

}  // namespace norq::ui
