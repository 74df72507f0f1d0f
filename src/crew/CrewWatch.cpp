#include "crew/CrewWatch.h"

#include <algorithm>
#include <numeric>

#include "base/LanguageTable.h"

namespace norq::crew {

namespace {

constexpr int kStatusNames = 4;

// The sort key of a crew list column, as the list shows it.
std::string SortKey(const CrewDevice& d, int column) {
    switch (column) {
        case 2:
            return d.name;
        case 3:
            return std::to_string(static_cast<int>(d.state));
        case 4:
            return std::to_string(static_cast<int>(d.battery));
        case 5:
            return std::to_string(static_cast<int>(d.type));
        default:
            return {};
    }
}

// Ascending order puts empty and "0" keys last.
bool Ascending(const std::string& a, const std::string& b) {
    const bool lastA = a.empty() || a == "0";
    const bool lastB = b.empty() || b == "0";
    if (lastA != lastB) return lastB;
    return a < b;
}

}  // namespace

CrewWatch::CrewWatch(const CrewClock& clock) : clock_(clock), table_(clock) {
    table_.setListener(this);
}

// ---- Files ---------------------------------------------------------------

void CrewWatch::LoadFiles(const std::string& deviceFile, const std::string& eventFile) {
    deviceFile_ = deviceFile;
    eventFile_ = eventFile;
    alarms_.clear();
    LoadCrewDevices(deviceFile_, table_, care_);
    events_.Load(eventFile_, table_);
    savedDevices_ = CrewDeviceFileText(table_, care_);
    savedEvents_ = events_.FileText();
    countDevices();
    if (view_ != nullptr) {
        view_->crewRowsChanged();
        view_->crewEventsChanged();
    }
}

void CrewWatch::SaveFiles() {
    if (!deviceFile_.empty()) {
        std::string text = CrewDeviceFileText(table_, care_);
        if (text != savedDevices_ && SaveCrewDevices(deviceFile_, table_, care_)) {
            savedDevices_ = std::move(text);
        }
    }
    if (!eventFile_.empty()) {
        std::string text = events_.FileText();
        if (text != savedEvents_ && events_.Save(eventFile_)) savedEvents_ = std::move(text);
    }
}

// ---- Controller ----------------------------------------------------------

void CrewWatch::OnMobSentence(const codec::Mob& items, double ownLon, double ownLat) {
    controllerAlive_ = true;
    silence_ = 0;
    lastItems_ = items;
    ownLon_ = ownLon;
    ownLat_ = ownLat;
    std::array<int, kMaxCrewDevices> rows{};
    const int touched = table_.ApplyMobReport(MakeMobReport(items), rows.data());
    if (events_.takeNewEvent() && view_ != nullptr) view_->crewEventsChanged();
    if (view_ != nullptr) {
        for (int i = 0; i < touched; ++i)
            view_->crewRowChanged(rows[static_cast<std::size_t>(i)]);
    }
    SaveFiles();
}

bool CrewWatch::SendCrewCommand(CrewCommand command, int row) {
    if (port_ == nullptr || !port_->crewPortInUse()) return false;
    const CrewDevice* device = row >= 0 && row < table_.count() ? &table_[row] : nullptr;
    const codec::Mob items = ComposeCrewCommand(command, device, lastItems_);
    lastItems_ = items;
    return port_->sendCrewCommand(items);
}

void CrewWatch::TrackCrewAlarm(const CrewDevice& device) {
    const CrewAlarmList::Change change = alarms_.TrackCrewAlarm(device, ownLon_, ownLat_);
    if (change == CrewAlarmList::Change::None) return;
    if (change == CrewAlarmList::Change::Added) {
        events_.RecordMobEvent(alarms_[alarms_.count() - 1], table_);
        newPersonInWater();
    } else if (change == CrewAlarmList::Change::Removed && alarms_.empty()) {
        releaseMute();
    }
    updateSound();
    if (view_ != nullptr) view_->crewAlarmsChanged();
}

void CrewWatch::newPersonInWater() {
    // A muted alarm must not hide a second person in the water.
    releaseMute();
    popupPending_ = true;
}

void CrewWatch::releaseMute() {
    if (!muted_) return;
    muted_ = false;
    SendCrewCommand(CrewCommand::Unmute);
    if (view_ != nullptr) view_->muteReleased();
}

void CrewWatch::updateSound() {
    const bool on = !alarms_.empty() && !muted_;
    if (sound_ != nullptr && on != soundOn_) {
        if (on) {
            sound_->Activate(kCrewAlarmSoundName);
        } else {
            sound_->Deactivate(kCrewAlarmSoundName);
        }
    }
    soundOn_ = on;
}

// ---- Timers --------------------------------------------------------------

void CrewWatch::countDevices() {
    CrewCounts c;
    for (int i = 0; i < table_.count(); ++i) {
        const CrewDevice& d = table_[i];
        const bool online = d.state == CrewDeviceState::Online;
        const bool off = d.state == CrewDeviceState::Off;
        if (d.type == CrewDeviceType::Pendant) {
            ++c.pendants;
            c.pendantsOnline += online;
            c.pendantsInAlarm += d.inAlarm();
            c.pendantsOff += off;
        } else if (d.type == CrewDeviceType::Repeater) {
            ++c.repeaters;
            c.repeatersOnline += online;
            c.repeatersInAlarm += d.inAlarm();
            c.repeatersOff += off;
        }
    }
    counts_ = c;
    repeaterAlarm_ = c.repeatersInAlarm >= 1;
}

void CrewWatch::TimerMOBTick(const CrewTickInput& in) {
    if (++silence_ > kControllerSilenceTicks) controllerAlive_ = false;
    ownLon_ = in.ownLon;
    ownLat_ = in.ownLat;
    lowBattery_ = table_.AgeCrewDevices();
    alarms_.UpdateCrewAlarms(in.ownLon, in.ownLat, clock_.monotonicSeconds());
    countDevices();
    if (view_ != nullptr) view_->crewCountsChanged();
    if (!alarms_.empty()) {
        if (!muted_ && view_ != nullptr) view_->crewBeep();
        SelectCrewAlarm(alarms_.selected());
        if (!firstAlarm_) {
            firstAlarm_ = true;
            srmCounter_ = kAutoSrmTicks;
            if (view_ != nullptr) {
                view_->firstCrewAlarm();
                view_->showRescueGuide(true);
            }
            popupPending_ = true;
        }
        if (popupPending_) {
            popupPending_ = false;
            if (view_ != nullptr) view_->showAlarmPopup();
        }
        if (port_ != nullptr && port_->autoSrmAllowed() && srmCounter_ > kAutoSrmTicks - 1) {
            port_->sendManOverboardSrm();
        }
        if (--srmCounter_ < 1) srmCounter_ = kAutoSrmTicks;
        if (in.ownShipPositionValid != gpsValid_) {
            events_.RecordGpsEvent(in.ownShipPositionValid, in.ownShipLon, in.ownShipLat,
                                   clock_.unixSeconds());
            gpsValid_ = in.ownShipPositionValid;
            if (view_ != nullptr) view_->crewEventsChanged();
        }
    } else {
        if (view_ != nullptr) view_->showRescueGuide(false);
        firstAlarm_ = false;
        popupPending_ = false;
    }
    if (events_.takeNewEvent() && view_ != nullptr) view_->crewEventsChanged();
    updateSound();
    SaveFiles();
}

CrewStatusDisplay CrewWatch::TimerBlinkingTick(const base::TextStore& texts) {
    using base::TextId;
    const bool alarms = !alarms_.empty();
    blinkOn_ = (alarms || lowBattery_ || repeaterAlarm_) ? !blinkOn_ : true;
    CrewStatusDisplay s;
    std::string names;
    int listed = 0;
    const auto add = [&](std::string_view name) {
        if (listed++ < kStatusNames) names.append(name).append(";");
    };
    if (alarms) {
        s.led = 3;
        for (int i = 0; i < alarms_.count(); ++i)
            add(table_.nameOf(alarms_[i].deviceId));
        s.text = texts.text(TextId::MobGnStrGnAlarm) + " -- " + names;
        s.colour = chart::PaletteRole::Alarm;
    } else if (repeaterAlarm_) {
        s.led = 2;
        for (int i = 0; i < table_.count(); ++i)
            if (table_[i].type == CrewDeviceType::Repeater &&
                table_[i].state == CrewDeviceState::Lost)
                add(table_[i].name);
        s.text = texts.text(TextId::MobGnStrGnRepeaterLost) + " -- " + names;
        s.colour = chart::PaletteRole::Maroon;
    } else if (lowBattery_) {
        s.led = 2;
        for (int i = 0; i < table_.count(); ++i)
            if (table_[i].state != CrewDeviceState::Off && table_[i].lowBattery)
                add(table_[i].name);
        s.text = texts.text(TextId::MobGnStrGnLowBattery) + " -- " + names;
        s.colour = chart::PaletteRole::Maroon;
    } else {
        s.led = 1;
        s.text = texts.text(TextId::MobGnStrGnNormal);
        s.colour = chart::PaletteRole::SelectedLeg;
    }
    if (!blinkOn_) {
        s.led = 0;
        s.colour = chart::PaletteRole::OwnShipLost;
        s.pendantPictureShown = !alarms;
        s.selectedSymbolShown = !alarms;
        s.repeaterPictureShown = !repeaterAlarm_;
    }
    return s;
}

// ---- Operator ------------------------------------------------------------

void CrewWatch::SetMute(bool down) {
    if (port_ != nullptr && port_->crewPortInUse()) {
        SendCrewCommand(down ? CrewCommand::Mute : CrewCommand::Unmute);
    }
    muted_ = down;
    updateSound();
}

void CrewWatch::SelectCrewAlarm(int index) {
    if (index < 0 || index >= alarms_.count()) return;
    const bool changed = alarms_.selected() != index;
    alarms_.SelectCrewAlarm(index);
    if (changed && view_ != nullptr) view_->crewAlarmsChanged();
}

bool CrewWatch::CrewRowClicked(int row) {
    if (alarms_.empty()) return false;
    if (row < 0 || row >= table_.count()) return false;
    const CrewDevice& d = table_[row];
    if (d.type != CrewDeviceType::Pendant || !d.inAlarm()) return false;
    const int i = alarms_.FindCrewAlarm(d.id);
    if (i >= 0) SelectCrewAlarm(i);
    return true;
}

bool CrewWatch::EditDevice(int row, std::string_view name, std::string_view notes) {
    if (row < 0 || row >= table_.count()) return false;
    if (!IsAcceptableCrewName(name) || !IsAcceptableCrewNotes(notes)) return false;
    table_[row].name = LimitCharacters(name, kCrewNameLength);
    table_[row].notes = LimitCharacters(notes, kCrewNotesLength);
    if (view_ != nullptr) view_->crewRowChanged(row);
    SaveFiles();
    return true;
}

bool CrewWatch::RemoveDevice(int row) {
    if (row < 0 || row >= table_.count() || table_[row].state != CrewDeviceState::Off) {
        return false;
    }
    table_.remove(row);
    CareRowRemoved(care_, row);
    if (view_ != nullptr) view_->crewRowsChanged();
    SaveFiles();
    return true;
}

void CrewWatch::ShutDownDevice(int row) {
    if (row < 0 || row >= table_.count()) return;
    if (!controllerAlive_ || table_[row].state == CrewDeviceState::Lost) {
        table_.SetOff(row);
        if (view_ != nullptr) view_->crewRowChanged(row);
    }
    SendCrewCommand(CrewCommand::ShutDownOne, row);
    SaveFiles();
}

void CrewWatch::ShutDownAllDevices() {
    for (int row = 0; row < table_.count(); ++row) {
        if (table_[row].state == CrewDeviceState::Off) continue;
        if (!controllerAlive_ || table_[row].state == CrewDeviceState::Lost) {
            table_.SetOff(row);
            if (view_ != nullptr) view_->crewRowChanged(row);
        }
    }
    SendCrewCommand(CrewCommand::ShutDownAll);
    SaveFiles();
}

void CrewWatch::SetCareSlot(int slot, int row) {
    if (slot < 0 || slot >= kCareSlots) return;
    care_[static_cast<std::size_t>(slot)].row = row >= 0 && row < table_.count() ? row : -1;
    SaveFiles();
}

void CrewWatch::SetCarePhoto(int slot, std::string_view path) {
    if (slot < 0 || slot >= kCareSlots || path.find_first_of("\r\n") != std::string_view::npos) {
        return;
    }
    care_[static_cast<std::size_t>(slot)].photoPath = std::string(path);
    SaveFiles();
}

void CrewWatch::SortByColumn(int column) {
    if (column < 2 || column > 5) return;
    sortAscending_ = column == sortColumn_ ? !sortAscending_ : true;
    sortColumn_ = column;
    const int n = table_.count();
    std::array<int, kMaxCrewDevices> order{};
    std::iota(order.begin(), order.begin() + n, 0);
    std::array<std::string, kMaxCrewDevices> keys;
    for (int i = 0; i < n; ++i)
        keys[static_cast<std::size_t>(i)] = SortKey(table_[i], column);
    std::stable_sort(order.begin(), order.begin() + n, [&](int a, int b) {
        const std::string& ka = keys[static_cast<std::size_t>(a)];
        const std::string& kb = keys[static_cast<std::size_t>(b)];
        return sortAscending_ ? Ascending(ka, kb) : kb < ka;
    });
    table_.reorder(order);
    CareRowsReordered(care_, order, n);
    if (view_ != nullptr) view_->crewRowsChanged();
    SaveFiles();
}

}  // namespace norq::crew
