// Safety related messages (SRM): the texts of AIS messages 12 (addressed) and
// 14 (broadcast). Received ones go to the in-box and raise the SRM alert; the
// own message reported back by the transponder confirms a send; sending
// composes one BBM sentence (message 14) and writes it to the AIS port.
//
// A send whose write failed enters the out-box as failed, not as sent. A
// "SART TEST" or "MOB TEST" broadcast of a test device is kept in the in-box
// marked as a test and raises no alert.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "ais/Clock.h"
#include "ais/TargetTracker.h"
#include "ais/TargetViews.h"

namespace norq::crew {
class AisMobList;
}

namespace norq::messaging {

inline constexpr int kSrmBoxSize = 20;
inline constexpr std::size_t kSrmTextLength = 127;
inline constexpr std::size_t kSrmAlertTextLength = 500;
inline constexpr std::size_t kSrmSendLength = 16;

enum class SrmState : std::uint8_t {
    Received,
    ReceivedTest,  // a SART or MOB test transmission
    Sent,          // written to the AIS port
    Failed,        // the write failed: nothing went out
    Confirmed,     // the transponder reported it transmitted
};

struct SrmMessage {
    std::uint32_t mmsi = 0;  // sender (in-box only)
    std::array<char, kSrmTextLength + 1> text{};
    ais::DateStamp date;
    ais::TimeStamp time;
    SrmState state = SrmState::Received;

    std::string_view textView() const { return {text.data()}; }
};

// Newest first, at most 20; the oldest drops out.
class SrmBox {
  public:
    void insert(const SrmMessage& m);
    int count() const { return count_; }
    const SrmMessage& operator[](int i) const { return items_[i]; }
    SrmMessage& operator[](int i) { return items_[i]; }

  private:
    std::array<SrmMessage, kSrmBoxSize> items_{};
    int count_ = 0;
};

// Writes a composed sentence to the AIS port as it stands (no message log).
class AisPortWriter {
  public:
    virtual ~AisPortWriter() = default;
    virtual bool writeToAisPort(std::string_view line) = 0;
};

// What the SRM windows show.
class SafetyMessageView {
  public:
    virtual ~SafetyMessageView() = default;
    virtual void inBoxChanged() {}
    virtual void outBoxChanged() {}
    // The alert dialog's count and note (the last received message).
    virtual void alertChanged(int /*count*/, std::string_view /*note*/) {}
    // A plain message box.
    virtual void showMessage(std::string_view /*caption*/, std::string_view /*text*/) {}
    // lblSRM_SentMsg.
    virtual void setSentLabel(std::string_view /*text*/) {}
};

// True for the test transmission of a SART, MOB or EPIRB device.
bool IsDeviceTestMessage(std::uint32_t mmsi, std::string_view text, int storedNavStatus);

class SafetyMessages final : public ais::TargetFollowUps {
  public:
    SafetyMessages(const ais::Clock& clock, ais::TargetTracker& tracker);

    void setView(SafetyMessageView* view) { view_ = view != nullptr ? view : &nullView_; }
    void setWriter(AisPortWriter* writer) { writer_ = writer; }
    void setNames(const crew::AisMobList* names) { names_ = names; }

    // ais::TargetFollowUps
    void OnSafetyMessage(int type, bool fromOwnShip) override;

    // Composes and writes one broadcast SRM; true when it was written.
    bool SendSrm(std::string_view text);
    // "Send Message": SendSrm and the out-box entry with its outcome.
    bool SendFromDialog(std::string_view text);

    // The alert dialog's OPEN and CLOSE.
    void clearAlert();
    int alertCount() const { return alertCount_; }
    const std::string& alertNote() const { return alertNote_; }

    const SrmBox& inBox() const { return inBox_; }
    const SrmBox& outBox() const { return outBox_; }
    int nextSequentialId() const { return sequentialId_; }
    const std::string& sentLabel() const { return sentLabel_; }

  private:
    void fromLine(std::uint32_t mmsi, std::string& out) const;
    void confirmOwn(std::string_view text);

    const ais::Clock& clock_;
    ais::TargetTracker& tracker_;
    const crew::AisMobList* names_ = nullptr;
    AisPortWriter* writer_ = nullptr;
    SafetyMessageView nullView_;
    SafetyMessageView* view_ = &nullView_;
    SrmBox inBox_;
    SrmBox outBox_;
    int alertCount_ = 0;
    std::string alertNote_;
    std::string sentLabel_ = "SRM is not sent.";
    int sequentialId_ = 0;
};

// The predefined texts of the send dialog.
inline constexpr std::array<std::string_view, 15> kPredefinedSrm{
    "SOS...",    "MAYDAY MAYDAY",  "ON FIRE",        "EXPLOSION",     "FLOODING",
    "COLLISION", "GROUNDING",      "LISTING",        "CAPSIZING",     "SINKING",
    "ADRIFTING", "ROBBERY ATTACK", "ENGINE TROUBLE", "FUEL SHORTAGE", "MAN OVERBOARD"};

}  // namespace norq::messaging
