// Pieces shared by the crew-watch tests: MOB sentences through the real
// codec, and recording fakes of the port, the windows and the alarm sound.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "codec/SentenceCodec.h"
#include "codec/SentenceRecord.h"
#include "codec/SentenceText.h"
#include "crew/CrewWatch.h"

namespace norq::crew::test {

// The body with its checksum and CR LF.
inline std::string Sentence(std::string_view body) {
    unsigned sum = 0;
    for (char c : body.substr(1))
        sum ^= static_cast<unsigned char>(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return std::string(body) + tail;
}

// The MOB items of a received sentence, or false when the codec drops it.
inline bool ParseMob(std::string_view body, codec::Mob& out) {
    codec::SentenceRecord r;
    if (codec::ParseSentence(Sentence(body), r) != codec::ParseStatus::Ok) return false;
    const codec::Mob* m = r.as<codec::Mob>();
    if (m == nullptr) return false;
    out = *m;
    return true;
}

inline std::string ComposeMob(const codec::Mob& items) {
    codec::SentenceRecord r;
    r.start = '$';
    r.talker[0] = 'P';
    std::snprintf(r.formatter, sizeof r.formatter, "MOB");
    r.body = items;
    codec::SentenceText text;
    if (!codec::ComposeSentence(r, text)) return {};
    return std::string(text.view());
}

class RecordingPort final : public CrewCommandPort {
  public:
    bool crewPortInUse() const override { return inUse; }
    bool sendCrewCommand(const codec::Mob& items) override {
        sent.push_back(ComposeMob(items));
        return true;
    }
    bool autoSrmAllowed() const override { return srmAllowed; }
    void sendManOverboardSrm() override { ++srms; }

    bool inUse = true;
    bool srmAllowed = false;
    int srms = 0;
    std::vector<std::string> sent;
};

class RecordingView final : public CrewWatchView {
  public:
    void crewEventsChanged() override { ++eventRefreshes; }
    void firstCrewAlarm() override { ++firstAlarms; }
    void showAlarmPopup() override { ++popups; }
    void showRescueGuide(bool shown) override { guideShown = shown; }
    void muteReleased() override { ++muteReleases; }
    void crewBeep() override { ++beeps; }

    int eventRefreshes = 0, firstAlarms = 0, popups = 0, muteReleases = 0, beeps = 0;
    bool guideShown = false;
};

class FakeSound final : public AlarmSound {
  public:
    void Activate(std::string_view name) override { active = name == kCrewAlarmSoundName; }
    void Deactivate(std::string_view name) override {
        if (name == kCrewAlarmSoundName) active = false;
    }
    bool AnyActive() const override { return active; }
    bool active = false;
};

// A fresh folder under the temporary folder, removed with the object.
class TempFolder {
  public:
    TempFolder() {
        path_ = std::filesystem::temp_directory_path() /
                ("norq-crew-" + std::to_string(::getpid()) + "-" + std::to_string(next()++));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    std::string file(std::string_view name) const { return (path_ / name).string(); }

  private:
    static int& next() {
        static int n = 0;
        return n;
    }
    std::filesystem::path path_;
};

// A crew watch on a manual clock with every fake attached.
struct CrewFixture {
    CrewFixture() {
        watch.setPort(&port);
        watch.setView(&view);
        watch.setSound(&sound);
    }
    // Feeds one MOB sentence body (without checksum) from the controller.
    void receive(std::string_view body, double lon = ownLon, double lat = ownLat) {
        codec::Mob m;
        ASSERT_TRUE(ParseMob(body, m)) << body;
        watch.OnMobSentence(m, lon, lat);
    }
    void tick(int seconds = 1) {
        for (int i = 0; i < seconds; ++i) {
            clock.advance(1);
            CrewTickInput in;
            in.ownLon = ownLon;
            in.ownLat = ownLat;
            in.ownShipPositionValid = true;
            in.ownShipLon = ownLon;
            in.ownShipLat = ownLat;
            watch.TimerMOBTick(in);
        }
    }

    static constexpr double ownLon = 5.3;
    static constexpr double ownLat = 60.4;
    ManualCrewClock clock;
    CrewWatch watch{clock};
    RecordingPort port;
    RecordingView view;
    FakeSound sound;
};

}  // namespace norq::crew::test
