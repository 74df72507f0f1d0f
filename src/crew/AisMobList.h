// The AIS MOB and SART device list: the devices carried on board with their
// names, the alarm raised when one of them (or any other SART, MOB or EPIRB
// device) reports itself active, SILENT, the 18-minute expiry and the file
// AIS_MOB_List.csv.
//
// The list is the target table's `ais::AisMobList`. An active report of a
// device that is not registered (another ship's man overboard, a liferaft)
// raises the same alarm: it gets an alarm row of its own that is never written
// to the file and leaves the list when the alarm expires. Expiry runs on the
// monotonic clock; the first and last times shown are calendar times.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "ais/Clock.h"
#include "ais/TargetTable.h"
#include "ais/TargetViews.h"

namespace norq::crew {

inline constexpr int kMaxAisMobEntries = 500;
inline constexpr int kAisMobNameLength = 20;
// Silence after which an alarm clears by itself: 0.0125 days.
inline constexpr std::int64_t kAisMobExpirySeconds = 18 * 60;
inline constexpr std::string_view kAisMobAlarmName = "AIS MOB ALARM";
// The MMSI of the device that the drill ("Test alarm") simulates.
inline constexpr std::uint32_t kDrillMmsi = 972999999;

enum class MobStatus : std::uint8_t { Quiet = 0, Active = 1, Acknowledged = 2 };

struct AisMobEntry {
    std::uint32_t mmsi = 0;
    std::array<char, kAisMobNameLength + 1> name{};
    float latitude = ais::kLatNotAvailable;
    float longitude = ais::kLonNotAvailable;
    float range = -1.0f;
    float bearing = ais::kBearingNotAvailable;
    MobStatus status = MobStatus::Quiet;
    ais::DateStamp firstDate;
    ais::TimeStamp firstTime;
    ais::DateStamp lastDate;
    ais::TimeStamp lastTime;
    std::int64_t lastHeard = 0;  // monotonic seconds of the latest active report
    bool registered = true;      // false: an active device that is not in the file
    bool drill = false;          // raised by the drill, not by a real device

    std::string_view nameView() const { return {name.data()}; }
};

// The registry of looping alarm sounds, as the list uses it.
class AlarmSound {
  public:
    virtual ~AlarmSound() = default;
    virtual void Activate(std::string_view name) = 0;
    virtual void Deactivate(std::string_view name) = 0;
    virtual bool AnyActive() const = 0;
    // False when the machine has no audio output: the alarm cannot be heard.
    virtual bool audible() const { return true; }
};

// What the list window shows of the list.
class AisMobListView {
  public:
    virtual ~AisMobListView() = default;
    // Every row must be rewritten (the list was re-sorted, grew or shrank).
    virtual void refillGrid() {}
    // The row of this entry must be rewritten.
    virtual void rewriteRow(int /*entry*/) {}
    // The number of alarm rows changed: the buttons follow the selection.
    virtual void alarmRowsChanged(int /*alarmRows*/) {}
    // PanelInformation and LabelAlert.
    virtual void showCaution(bool /*panel*/, bool /*label*/) {}
};

// Why an edit was refused.
enum class MobEditResult { Done, Full, BadRow, AlarmRow, BadName };

class AisMobList final : public ais::AisMobList {
  public:
    AisMobList(const ais::Clock& clock, ais::TargetTable& table);

    void setSound(AlarmSound* sound) { sound_ = sound; }
    void setView(AisMobListView* view);

    // ais::AisMobList
    void ReportAisMobActive(int index, bool withPosition) override;
    void LookupAisMobName(int index) override;
    // As the target table asks: true when the device is not registered. An
    // unregistered SART, MOB or EPIRB device still raises its alarm.
    bool ReportAisMobActive(ais::TargetRecord& target, bool withPosition);
    // Copies a registered device's name; true when it is not registered.
    bool LookupAisMobName(std::uint32_t mmsi, char (&nameOut)[kAisMobNameLength + 1]) const;
    bool isRegistered(std::uint32_t mmsi) const;

    // The window's one-second step: expiry, refill, alarm count, caution.
    void Timer1Tick();
    // SILENT: every active entry becomes acknowledged; the sound stops.
    void Silent();

    // Editing (ADD, EDIT, DELETE and the header sort).
    MobEditResult Add(std::uint32_t mmsi, std::string_view name);
    MobEditResult Edit(int entry, std::uint32_t mmsi, std::string_view name);
    MobEditResult Delete(int entry);
    // Sorts by a column's text; refused (false) while an alarm row exists.
    bool SortByColumn(int column, std::string_view datePattern);

    // The drill: while it runs, the drill device's reports alarm as a test.
    // Stopping it lets its alarm expire as a real one would; endDrill() ends
    // the drill and removes its alarm at once.
    void setDrillRunning(bool running);
    bool drillRunning() const { return drillRunning_; }
    void endDrill();

    // The file: "%09d,%s\n" per registered entry.
    std::string FileText() const;
    void ParseFile(std::string_view text);
    bool Load(const std::string& path);
    bool Save(const std::string& path) const;

    int count() const { return count_; }
    const AisMobEntry& entry(int i) const { return entries_[i]; }
    int alarmRows() const { return alarmRows_; }
    bool anyUnacknowledged() const;
    bool anyDrill() const;
    int tick() const { return tick_; }
    // The caution is shown steadily when the alarm cannot be heard.
    bool cautionSteady() const { return sound_ != nullptr && !sound_->audible(); }

  private:
    int find(std::uint32_t mmsi) const;
    int addUnregistered(const ais::TargetRecord& target);
    void Resort();
    void Expire();
    void removeAt(int i);
    void activate(std::string_view name);

    const ais::Clock& clock_;
    ais::TargetTable& table_;
    AlarmSound* sound_ = nullptr;
    AisMobListView nullView_;
    AisMobListView* view_ = &nullView_;
    std::array<AisMobEntry, kMaxAisMobEntries> entries_{};
    int count_ = 0;
    bool changed_ = false;
    int alarmRows_ = 0;
    int seenAlarmCount_ = 0;
    int tick_ = 0;
    bool drillRunning_ = false;
};

// The text of a grid cell (columns 0 MMSI ... 7 last received time); columns
// 2-7 are empty for a quiet entry.
std::string AisMobCellText(const AisMobEntry& entry, int column, std::string_view datePattern);

// The device edit dialog's check of the MMSI text: bits 1, 2, 4, 8, 16.
int ValidateAisMobMmsi(std::string_view text, bool mmsiEditable, const AisMobList& list);
// The messages of the set bits in order, joined by ", ".
std::string AisMobWarningText(int bits, const std::array<std::string, 5>& messages);

// Names are kept in comma-separated files: no comma, no line break, no control
// character.
bool NameAllowedInCsv(std::string_view name);

}  // namespace norq::crew
