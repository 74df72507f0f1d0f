// The crew-watch controller: reports its pendants and repeaters in MOB
// sentences (normal, SOS, low battery, lost, off, or nothing at all once a
// device has gone silent) following the scenario's events, with their battery
// value and zone, each report as often as the radio repeats it; answers the
// detection probe with its "[Type] = MOB" block and obeys the shut-down,
// cancel-SOS and mute commands.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "DeviceLines.h"
#include "Scenario.h"

namespace norq::sim {

class CrewWatchController {
  public:
    CrewWatchController(const CrewWatchSetup& setup, const std::vector<CrewDeviceSetup>& devices);

    // Applies the devices' events and puts out the reports due up to `until`.
    void advance(double until, LineBatch& out);
    // A line sent to the controller.
    void handleLine(std::string_view line, double t, LineBatch& out);

    bool muted() const { return muted_; }

    enum class State : std::uint8_t { Online, Sos, Lost, Off, ShutDown };
    struct Unit {
        CrewDeviceSetup setup;
        State state = State::Online;
        int battery = 0xD2;
        std::array<std::uint8_t, 3> zone{};  // the repeater relaying it now
        bool reporting = true;               // false once lost, off or shut down
        bool announce = true;                // the next report is the registration (status 4)
        int finalStatus = 0;                 // one last report with this status before going silent
        std::size_t nextEvent = 0;
        double nextReport = 0.0;
    };
    const std::vector<Unit>& units() const { return units_; }

  private:
    void applyEvents(Unit& u, double t);
    void report(Unit& u, double t, LineBatch& out);
    void listReport(double t, LineBatch& out);
    // Puts a line out as often as the controller repeats its reports.
    void send(const std::string& line, double t, LineBatch& out) const;
    void command(const std::array<std::uint8_t, 3>& id, int status, double t, LineBatch& out);
    void identify(double t, LineBatch& out);

    CrewWatchSetup setup_;
    std::vector<Unit> units_;
    double now_ = 0.0;
    double nextList_ = 0.0;
    std::size_t listCursor_ = 0;
    bool muted_ = false;
};

}  // namespace norq::sim
