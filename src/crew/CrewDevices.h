// The crew-watch devices: pendants worn by the crew and the repeaters that
// relay them, as the controller on the MOB port reports them in MOB sentences.
//
// `CrewDeviceTable` holds at most 200 devices in arrival order; row numbers
// are how the crew list, the care slots and the alarms refer to a device.
// Reports update the table (`ApplyMobReport`); once a second
// `AgeCrewDevices` declares every device silent for more than 15 seconds
// LOST. Silence is measured on the monotonic clock; the calendar time is kept
// beside it only to be shown and logged.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "codec/SentenceBodies.h"

namespace norq::crew {

inline constexpr int kMaxCrewDevices = 200;
inline constexpr int kCrewNameLength = 20;   // characters
inline constexpr int kCrewNotesLength = 50;  // characters
// A device heard by nobody for longer than this is LOST.
inline constexpr std::int64_t kCrewSilenceLimit = 15;

// Three bytes; "%03d.%03d.%03d" on screen, six hexadecimal digits on the wire.
struct CrewDeviceId {
    std::array<std::uint8_t, 3> bytes{};

    bool isController() const { return bytes == std::array<std::uint8_t, 3>{}; }
    bool operator==(const CrewDeviceId&) const = default;
    // "%03d.%03d.%03d", or with ':' between the numbers as the device file has it.
    std::string text(char separator = '.') const;
};
// The controller itself: a zone equal to it means "heard by the controller".
inline constexpr CrewDeviceId kControllerId{};

enum class CrewDeviceType : std::uint8_t {
    Host = 0,
    Pendant = 1,
    Repeater = 2,
    Display = 3,
    Unknown = 4
};
enum class CrewDeviceState : std::int8_t {
    Off = 0,
    Online = 1,
    Sos = 2,
    LowBattery = 3,
    Lost = 4,
    ShutDown = 5
};

std::string_view DefaultStateName(CrewDeviceState state);
std::string_view DefaultTypeName(CrewDeviceType type);

// The clocks of the crew watch: monotonic seconds for silence and elapsed
// times, calendar seconds (since 1970, UTC) for what is shown and written.
class CrewClock {
  public:
    virtual ~CrewClock() = default;
    virtual std::int64_t monotonicSeconds() const = 0;
    virtual std::int64_t unixSeconds() const = 0;
};

class SystemCrewClock final : public CrewClock {
  public:
    std::int64_t monotonicSeconds() const override;
    std::int64_t unixSeconds() const override;
};

// Set by hand in the tests; both clocks advance together.
class ManualCrewClock final : public CrewClock {
  public:
    std::int64_t monotonicSeconds() const override { return mono_; }
    std::int64_t unixSeconds() const override { return unix_; }
    void advance(std::int64_t seconds) {
        mono_ += seconds;
        unix_ += seconds;
    }
    // A step of the calendar clock only (the monotonic one never steps).
    void stepCalendar(std::int64_t seconds) { unix_ += seconds; }

  private:
    std::int64_t mono_ = 5000;
    std::int64_t unix_ = 1700000000;
};

struct CrewDevice {
    CrewDeviceId id;
    CrewDeviceId zoneId;  // the repeater (or the controller) that last relayed it
    CrewDeviceType type = CrewDeviceType::Pendant;
    CrewDeviceState state = CrewDeviceState::Off;
    std::uint8_t battery = 0;
    bool lowBattery = false;
    std::string name;   // at most kCrewNameLength characters, no comma, no line break
    std::string notes;  // at most kCrewNotesLength characters, no line break
    // Calendar seconds of the last departure from OFF and of the last report.
    std::int64_t onlineSince = 0;
    std::int64_t lastHeard = 0;
    // The same moments on the monotonic clock; the elapsed times come from these.
    std::int64_t onlineSinceMono = 0;
    std::int64_t lastHeardMono = 0;
    std::int64_t secondsSinceHeard = 0;
    std::int64_t secondsOnline = 0;

    bool inAlarm() const { return state == CrewDeviceState::Sos || state == CrewDeviceState::Lost; }
};

// The number of the thresholds 200, 205, 215, 225 the value exceeds: 0-4.
int BatteryLevel(int battery);

// A report of the controller, normalised from the MOB items of one sentence.
struct MobReport {
    CrewDeviceId deviceId;
    bool isList = false;
    int deviceType = 0;  // kind mod 10, 4-9 become 4
    int status = 255;
    int battery = 0;
    bool batteryPresent = false;
    std::array<std::uint8_t, codec::kMobPayloadCapacity> entries{};
    int entryLength = 0;
    CrewDeviceId zoneId;  // single reports only
};

MobReport MakeMobReport(const codec::Mob& items);

// Told of every state change a report, the ageing or the operator makes.
class CrewStateListener {
  public:
    virtual ~CrewStateListener() = default;
    virtual void TrackCrewAlarm(const CrewDevice& device) = 0;
};

class CrewDeviceTable {
  public:
    explicit CrewDeviceTable(const CrewClock& clock) : clock_(clock) {}

    void setListener(CrewStateListener* listener) { listener_ = listener; }

    int count() const { return count_; }
    bool full() const { return count_ >= kMaxCrewDevices; }
    const CrewDevice& operator[](int row) const { return rows_[static_cast<std::size_t>(row)]; }
    CrewDevice& operator[](int row) { return rows_[static_cast<std::size_t>(row)]; }
    // The first row holding the device, or -1.
    int find(const CrewDeviceId& id) const;
    // The name of the device of that ID, empty when it is not in the table.
    std::string_view nameOf(const CrewDeviceId& id) const;

    // Applies a report; the touched rows go to rowsOut (room for
    // kMaxCrewDevices). Returns their number, or -1 when the report was ignored.
    int ApplyMobReport(const MobReport& report, int* rowsOut);
    // Once a second: elapsed times, and LOST for every silent device. Returns
    // the crew low-battery flag (a device that is not OFF reports low battery).
    bool AgeCrewDevices();
    // The operator's shut-down of a device that cannot answer: OFF at once.
    void SetOff(int row);

    // A device read from the device file: OFF, heard by the controller.
    bool append(const CrewDevice& device);
    // Removes a row; later rows move up and the freed last record is cleared.
    bool remove(int row);
    void clear();
    // Puts the rows in a new order: order[i] is the old row of new row i.
    void reorder(const std::array<int, kMaxCrewDevices>& order);

  private:
    int applySingle(const MobReport& report, int* rowsOut);
    int applyList(const MobReport& report, int* rowsOut);
    void heard(CrewDevice& d, CrewDeviceState oldState);
    void track(const CrewDevice& d);
    CrewDevice& appendNew(const CrewDeviceId& id, CrewDeviceType type);

    const CrewClock& clock_;
    CrewStateListener* listener_ = nullptr;
    std::array<CrewDevice, kMaxCrewDevices> rows_{};
    int count_ = 0;
};

// The commands the system sends to the controller.
enum class CrewCommand { ShutDownOne, ShutDownAll, CancelSos, Mute, Unmute, Probe };

// The MOB items of a command (device and type ignored where the command has
// none); the probe keeps the device ID the store last held.
codec::Mob ComposeCrewCommand(CrewCommand command, const CrewDevice* device,
                              const codec::Mob& previous = {});

// Text that the operator may type into a crew field: no comma (the device file's
// separator) and no line break; braces are the notes' delimiters.
bool IsAcceptableCrewName(std::string_view text);
bool IsAcceptableCrewNotes(std::string_view text);
// The text cut to at most `characters` UTF-8 characters, never inside one.
std::string LimitCharacters(std::string_view text, int characters);

}  // namespace norq::crew
