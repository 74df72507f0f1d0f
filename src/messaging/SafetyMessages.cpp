#include "messaging/SafetyMessages.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "ais/AisDecoder.h"
#include "ais/BbmSender.h"
#include "crew/AisMobList.h"

namespace norq::messaging {

namespace {

void CopyText(std::string_view from, std::array<char, kSrmTextLength + 1>& to) {
    to.fill('\0');
    if (!from.empty()) std::memcpy(to.data(), from.data(), std::min(from.size(), kSrmTextLength));
}

std::string_view TextOf(const std::array<char, ais::kAisMaxTextChars + 1>& text) {
    return {text.data(), strnlen(text.data(), text.size())};
}

// The text as the transponder reports it back: trailing spaces and '@' padding dropped.
std::string_view Stripped(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '@'))
        s.remove_suffix(1);
    return s;
}

// Sent and reported-back texts compare without case (the six-bit set has none).
bool SameSrmText(std::string_view a, std::string_view b) {
    a = Stripped(a);
    b = Stripped(b);
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

}  // namespace

void SrmBox::insert(const SrmMessage& m) {
    const int keep = std::min(count_, kSrmBoxSize - 1);
    std::move_backward(items_.begin(), items_.begin() + keep, items_.begin() + keep + 1);
    items_[0] = m;
    count_ = keep + 1;
}

bool IsDeviceTestMessage(std::uint32_t mmsi, std::string_view text, int storedNavStatus) {
    const ais::MmsiClass c = ais::ClassifyMmsi(mmsi);
    if (c != ais::MmsiClass::AisSart && c != ais::MmsiClass::ManOverboard &&
        c != ais::MmsiClass::EpirbAis) {
        return false;
    }
    // The first of the device texts found decides, as the target table does.
    for (const auto& [device, test] :
         {std::pair{"SART ACTIVE", false}, std::pair{"SART TEST", true},
          std::pair{"MOB ACTIVE", false}, std::pair{"MOB TEST", true}}) {
        if (text.find(device) != std::string_view::npos) return test || storedNavStatus == 15;
    }
    return storedNavStatus == 15;
}

SafetyMessages::SafetyMessages(const ais::Clock& clock, ais::TargetTracker& tracker)
    : clock_(clock), tracker_(tracker) {}

void SafetyMessages::fromLine(std::uint32_t mmsi, std::string& out) const {
    char name[crew::kAisMobNameLength + 1] = {};
    char line[64];
    if (names_ != nullptr && !names_->LookupAisMobName(mmsi, name)) {
        std::snprintf(line, sizeof line, "From: %s\n", name);
    } else {
        std::snprintf(line, sizeof line, "From: %09u\n", mmsi);
    }
    out += line;
}

void SafetyMessages::OnSafetyMessage(int type, bool fromOwnShip) {
    const ais::AisMessage& m = type == 12 ? tracker_.addressedSafetyMailbox().message
                                          : tracker_.safetyBroadcastMailbox().message;
    const std::string_view text =
        type == 12 ? TextOf(m.addressedSafety.text) : TextOf(m.safetyBroadcast.text);
    std::string note;
    fromLine(m.mmsi, note);
    if (type == 12) {
        char to[32];
        std::snprintf(to, sizeof to, "To: %09u\n", m.addressedSafety.destinationMmsi);
        note += to;
    }
    note += "Message: ";
    note += text;
    note += "\n";
    if (note.size() > kSrmAlertTextLength) note.resize(kSrmAlertTextLength);

    if (fromOwnShip) {
        confirmOwn(text);
        view_->showMessage("SRM", "SRM successfully sent out!!");
        return;
    }
    const ais::TargetTable& table = tracker_.table();
    const int sender = tracker_.lastAppliedIndex();
    const int navStatus = table.valid(sender) ? table[sender].navStatus() : 0;
    const bool test = type == 14 && IsDeviceTestMessage(m.mmsi, text, navStatus);
    SrmMessage entry;
    entry.mmsi = m.mmsi;
    CopyText(text, entry.text);
    const ais::LocalDateTime now = clock_.localNow();
    entry.date = now.date;
    entry.time = now.time;
    entry.state = test ? SrmState::ReceivedTest : SrmState::Received;
    inBox_.insert(entry);
    view_->inBoxChanged();
    // A device's test transmission is shown as a test, never as an alert.
    if (test) return;
    ++alertCount_;
    alertNote_ = note;
    view_->alertChanged(alertCount_, alertNote_);
}

void SafetyMessages::confirmOwn(std::string_view text) {
    for (int i = 0; i < outBox_.count(); ++i) {
        SrmMessage& m = outBox_[i];
        if (m.state != SrmState::Sent || !SameSrmText(m.textView(), text)) continue;
        m.state = SrmState::Confirmed;
        view_->outBoxChanged();
        return;
    }
}

bool SafetyMessages::SendSrm(std::string_view text) {
    const ais::LocalDateTime now = clock_.localNow();
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", now.time.hour, now.time.minute,
                  now.time.second);
    codec::SentenceText sentence;
    const int id = sequentialId_;
    sequentialId_ = (sequentialId_ + 1) % 10;
    const bool composed = ais::ComposeSafetyBbm(text, id, sentence);
    const bool written = composed && writer_ != nullptr && writer_->writeToAisPort(sentence.view());
    sentLabel_ = "SRM:[" + std::string(text) +
                 (written ? "] has been sent at " : "] fail to sent at ") + time;
    if (!written) view_->showMessage("", "Fait to send SRM from AIS port!");
    view_->setSentLabel(sentLabel_);
    return written;
}

bool SafetyMessages::SendFromDialog(std::string_view text) {
    const bool written = SendSrm(text);
    SrmMessage entry;
    CopyText(text, entry.text);
    const ais::LocalDateTime now = clock_.localNow();
    entry.date = now.date;
    entry.time = now.time;
    entry.state = written ? SrmState::Sent : SrmState::Failed;
    outBox_.insert(entry);
    view_->outBoxChanged();
    return written;
}

void SafetyMessages::clearAlert() {
    alertCount_ = 0;
    view_->alertChanged(0, alertNote_);
}

}  // namespace norq::messaging
