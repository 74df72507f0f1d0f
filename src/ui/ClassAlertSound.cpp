#include "ui/ClassAlertSound.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <cmath>
#include <numbers>

namespace norq::ui {

namespace {
constexpr int kToneRate = 44100;
}

ClassAlertSound::ClassAlertSound(QObject* parent) : QObject(parent) {
    effect_ = new QSoundEffect(this);
    effect_->setLoopCount(QSoundEffect::Infinite);
    devices_ = new QMediaDevices(this);
    connect(devices_, &QMediaDevices::audioOutputsChanged, this, [this] {
        // A new default output: the sound effect follows it on the next play.
        effect_->setAudioDevice(QMediaDevices::defaultAudioOutput());
        if (playing_ != kNonePlaying && effect_->isPlaying()) {
            effect_->stop();
            effect_->play();
        }
        Q_EMIT audibilityChanged();
    });
    connect(effect_, &QSoundEffect::statusChanged, this, [this] { Q_EMIT audibilityChanged(); });
    toneBuffer_ = new QBuffer(&tone_, this);
}

ClassAlertSound::~ClassAlertSound() {
    if (toneSink_ != nullptr) toneSink_->stop();
    effect_->stop();
}

int ClassAlertSound::find(std::string_view name) const {
    for (int i = 0; i < count_; ++i) {
        if (alerts_[i].name == name) return i;
    }
    return -1;
}

int ClassAlertSound::Register(std::string_view name, std::string_view soundFile) {
    if (soundFile.size() > kMaxPathLength) return -2;
    const std::string_view shortName = name.substr(0, kMaxNameLength);
    const int known = find(shortName);
    if (known >= 0) {
        if (!soundFile.empty()) alerts_[known].file = std::string(soundFile);
        return known;
    }
    if (count_ >= kMaxAlerts) return -1;
    alerts_[count_] = {std::string(shortName), std::string(soundFile), false};
    // The first alert's sound is loaded now, so that its alarm starts at once.
    if (count_ == 0 && playing_ == kNonePlaying) {
        effect_->setSource(QUrl::fromLocalFile(QString::fromStdString(alerts_[0].file)));
    }
    return count_++;
}

void ClassAlertSound::Activate(std::string_view name) {
    const int i = find(name.substr(0, kMaxNameLength));
    if (i < 0) {
        // An alarm without a registered sound (its path was refused): it cannot be heard.
        unregisteredActive_ = true;
        Q_EMIT audibilityChanged();
        return;
    }
    alerts_[i].active = true;
    reevaluate();
}

void ClassAlertSound::Deactivate(std::string_view name) {
    const int i = find(name.substr(0, kMaxNameLength));
    if (i < 0) {
        unregisteredActive_ = false;
        return;
    }
    alerts_[i].active = false;
    reevaluate();
}

bool ClassAlertSound::AnyActive() const {
    for (int i = 0; i < count_; ++i) {
        if (alerts_[i].active) return true;
    }
    return false;
}

void ClassAlertSound::reevaluate() {
    int first = -1;
    for (int i = 0; i < count_ && first < 0; ++i) {
        if (alerts_[i].active) first = i;
    }
    if (first < 0) {
        if (playing_ != kNonePlaying) effect_->stop();
        playing_ = kNonePlaying;
        return;
    }
    if (first == playing_) return;
    effect_->stop();
    const QUrl source = QUrl::fromLocalFile(QString::fromStdString(alerts_[first].file));
    if (effect_->source() != source) effect_->setSource(source);
    effect_->setAudioDevice(QMediaDevices::defaultAudioOutput());
    effect_->play();
    playing_ = first;
}

bool ClassAlertSound::reportsPlaying() const {
    return effect_->isPlaying();
}

bool ClassAlertSound::hasAudioOutput() const {
    return !QMediaDevices::audioOutputs().isEmpty();
}

ClassAlertSound::SilentCause ClassAlertSound::silentCause() const {
    if (!hasAudioOutput()) return SilentCause::NoOutput;
    if (unregisteredActive_) return SilentCause::SoundFile;
    if (playing_ != kNonePlaying) {
        if (effect_->status() == QSoundEffect::Error || !QFileInfo::exists(playingFile())) {
            return SilentCause::SoundFile;
        }
    }
    return SilentCause::None;
}

QString ClassAlertSound::playingFile() const {
    return playing_ == kNonePlaying ? QString() : QString::fromStdString(alerts_[playing_].file);
}

QString ClassAlertSound::silentReason() const {
    switch (silentCause()) {
        case SilentCause::NoOutput:
            return QStringLiteral("No audio output: the alarm cannot be heard");
        case SilentCause::SoundFile:
            return QStringLiteral("Alarm sound cannot be played: ") + playingFile();
        case SilentCause::None:
            break;
    }
    return {};
}

bool ClassAlertSound::audible() const {
    return silentCause() == SilentCause::None;
}

void ClassAlertSound::beep(int hz, int ms) {
    ++beeps_;
    if (!hasAudioOutput() || hz <= 0 || ms <= 0) return;
    if (hz != toneHz_ || ms != toneMs_ || tone_.isEmpty()) {
        // A sine with 5 ms ramps at both ends, so the tone starts and stops cleanly.
        const int samples = kToneRate * ms / 1000;
        const int ramp = kToneRate / 200;
        tone_.resize(samples * 2);
        auto* out = reinterpret_cast<qint16*>(tone_.data());
        for (int i = 0; i < samples; ++i) {
            const double edge = std::min({1.0, double(i) / ramp, double(samples - 1 - i) / ramp});
            const double v = std::sin(2.0 * std::numbers::pi * hz * i / kToneRate);
            out[i] = static_cast<qint16>(std::lround(0.4 * 32767.0 * edge * v));
        }
        toneHz_ = hz;
        toneMs_ = ms;
    }
    if (toneSink_ == nullptr) {
        QAudioFormat format;
        format.setSampleRate(kToneRate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        toneSink_ = new QAudioSink(QMediaDevices::defaultAudioOutput(), format, this);
    }
    toneSink_->stop();
    toneBuffer_->close();
    toneBuffer_->open(QIODevice::ReadOnly);
    toneSink_->start(toneBuffer_);
}

}  // namespace norq::ui
