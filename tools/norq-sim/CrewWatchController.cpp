#include "CrewWatchController.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "SentenceWriter.h"
#include "codec/SentenceCodec.h"

namespace norq::sim {

namespace {

constexpr int kStatusOnline = 1;
constexpr int kStatusSos = 2;
constexpr int kStatusLost = 3;
constexpr int kStatusRegistration = 4;
constexpr int kStatusOff = 8;
constexpr int kCommandCancelSos = 10;
constexpr int kCommandUnmute = 11;
constexpr int kCommandMute = 12;
constexpr int kListShutDown = 3;
constexpr int kProbeKind = 60;
constexpr int kProbeStatus = 101;
// Battery value reported once a pendant's battery runs low (below 200 is low).
constexpr int kLowBattery = 0xBE;

std::string Hex3(const std::array<std::uint8_t, 3>& id) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X%02X%02X", id[0], id[1], id[2]);
    return buf;
}

int BatteryLevel(int battery) {
    if (battery >= 225) return 3;
    if (battery >= 215) return 2;
    if (battery >= 205) return 1;
    return 0;
}

}  // namespace

CrewWatchController::CrewWatchController(const CrewWatchSetup& setup,
                                         const std::vector<CrewDeviceSetup>& devices)
    : setup_(setup) {
    const double interval = std::max(1.0, setup.reportInterval);
    for (std::size_t i = 0; i < devices.size(); ++i) {
        Unit u;
        u.setup = devices[i];
        u.battery = devices[i].battery;
        u.zone = devices[i].zone;
        u.announce = devices[i].announce;
        u.nextReport = interval * static_cast<double>(i) / static_cast<double>(devices.size());
        units_.push_back(u);
    }
    nextList_ = interval / 2.0;
}

void CrewWatchController::applyEvents(Unit& u, double t) {
    while (u.nextEvent < u.setup.events.size() && u.setup.events[u.nextEvent].at <= t) {
        switch (u.setup.events[u.nextEvent].kind) {
            case CrewEventKind::Online:
                if (!u.reporting) u.announce = true;
                u.state = State::Online;
                u.reporting = true;
                u.finalStatus = 0;
                break;
            case CrewEventKind::Sos:
                if (u.reporting) u.state = State::Sos;
                break;
            case CrewEventKind::CancelSos:
                if (u.state == State::Sos) u.state = State::Online;
                break;
            case CrewEventKind::LowBattery:
                u.battery = kLowBattery;
                break;
            case CrewEventKind::Lost:
                if (u.reporting) u.finalStatus = kStatusLost;
                u.state = State::Lost;
                break;
            case CrewEventKind::Off:
                if (u.reporting) u.finalStatus = kStatusOff;
                u.state = State::Off;
                break;
            case CrewEventKind::Silent:
                // Gone without a word: nothing more is heard of the device.
                u.reporting = false;
                u.finalStatus = 0;
                u.state = State::Lost;
                break;
            case CrewEventKind::Battery:
                u.battery = u.setup.events[u.nextEvent].battery;
                break;
            case CrewEventKind::Zone:
                u.zone = u.setup.events[u.nextEvent].zone;
                break;
        }
        ++u.nextEvent;
    }
}

void CrewWatchController::report(Unit& u, double t, LineBatch& out) {
    int status = kStatusOnline;
    if (u.finalStatus != 0) {
        status = u.finalStatus;
        u.finalStatus = 0;
        u.reporting = false;
    } else if (u.announce) {
        status = kStatusRegistration;
    } else if (u.state == State::Sos) {
        status = kStatusSos;
    }
    u.announce = false;
    char body[64];
    std::snprintf(body, sizeof body, "$PMOB,%s,%d,%02X,%02X,%s", Hex3(u.setup.id).c_str(),
                  u.setup.type, status, u.battery & 0xFF, Hex3(u.zone).c_str());
    send(WithChecksum(body), t, out);
}

void CrewWatchController::send(const std::string& line, double t, LineBatch& out) const {
    for (int i = 0; i < std::max(1, setup_.repeats); ++i)
        out.push_back({t, Device::CrewWatch, line});
}

void CrewWatchController::listReport(double t, LineBatch& out) {
    // A list report carries up to two pendants (nine payload bytes at most).
    std::string payload;
    int entries = 0;
    for (std::size_t n = 0; n < units_.size() && entries < 2; ++n) {
        Unit& u = units_[(listCursor_ + n) % units_.size()];
        if (u.setup.type != 1 || !u.reporting || u.finalStatus != 0) continue;
        const int code = u.state == State::Sos ? 1 : 0;
        char entry[12];
        std::snprintf(entry, sizeof entry, "%s%02X", Hex3(u.setup.id).c_str(),
                      (BatteryLevel(u.battery) << 4) | code);
        payload += entry;
        ++entries;
    }
    listCursor_ = units_.empty() ? 0 : (listCursor_ + 2) % units_.size();
    if (entries == 0) return;
    send(WithChecksum("$PMOB,000000,10,00,," + payload), t, out);
}

void CrewWatchController::advance(double until, LineBatch& out) {
    const double interval = std::max(1.0, setup_.reportInterval);
    for (Unit& u : units_) {
        while (u.nextReport < until) {
            const double t = u.nextReport;
            applyEvents(u, t);
            if (u.reporting) report(u, t, out);
            u.nextReport += interval;
        }
        applyEvents(u, until);
    }
    while (setup_.listReports && nextList_ < until) {
        listReport(nextList_, out);
        nextList_ += interval;
    }
    now_ = until;
}

void CrewWatchController::identify(double t, LineBatch& out) {
    const std::string lines[] = {
        "[MOB CONTROLLER]",
        "[Type] = MOB",
        "[Model] = " + setup_.model,
        "[Firmware] = " + setup_.firmware,
        "[Devices] = " + std::to_string(units_.size()),
        "[END]",
    };
    for (const std::string& line : lines)
        out.push_back({t, Device::CrewWatch, line + "\r\n"});
}

void CrewWatchController::command(const std::array<std::uint8_t, 3>& id, int status, double t,
                                  LineBatch& out) {
    const bool all = id == std::array<std::uint8_t, 3>{};
    for (Unit& u : units_) {
        if (!all && u.setup.id != id) continue;
        if (status == kStatusOff && u.reporting && setup_.listReports && u.setup.type == 1) {
            // A controller that reports in lists answers with the pendant
            // shutting down (list status 3); its off report follows at its next turn.
            u.state = State::ShutDown;
            u.finalStatus = kStatusOff;
            char entry[16];
            std::snprintf(entry, sizeof entry, "%s%02X", Hex3(u.setup.id).c_str(),
                          (BatteryLevel(u.battery) << 4) | kListShutDown);
            send(WithChecksum(std::string("$PMOB,000000,10,00,,") + entry), t, out);
        } else if (status == kStatusOff && u.reporting) {
            // Shut down: the pendant is switched off and says so once more.
            u.state = State::ShutDown;
            u.finalStatus = kStatusOff;
            report(u, t, out);
        } else if (status == kCommandCancelSos && u.state == State::Sos) {
            u.state = State::Online;
            report(u, t, out);
        }
    }
}

void CrewWatchController::handleLine(std::string_view raw, double t, LineBatch& out) {
    std::string line(raw);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    line += "\r\n";
    if (line.size() > codec::kMaxLineLength) return;
    codec::SentenceRecord r;
    if (codec::ParseSentence(line, r) != codec::ParseStatus::Ok) return;
    const codec::Mob* m = r.as<codec::Mob>();
    if (m == nullptr) return;
    if (m->kind == kProbeKind && m->status == kProbeStatus) {
        identify(t, out);
    } else if (m->status == kCommandMute) {
        muted_ = true;
    } else if (m->status == kCommandUnmute) {
        muted_ = false;
    } else {
        command(m->deviceId, m->status, t, out);
    }
}

}  // namespace norq::sim
