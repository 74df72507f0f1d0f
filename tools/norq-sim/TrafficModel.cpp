#include "TrafficModel.h"

#include <algorithm>
#include <cmath>

#include "FleetBuilder.h"
#include "SimClock.h"

namespace norq::sim {

namespace {

constexpr double kStaticInterval = 360.0;
constexpr double kBaseInterval = 10.0;
constexpr double kSarInterval = 10.0;
constexpr double kAtonInterval = 180.0;
constexpr double kDistressBurstInterval = 60.0;
constexpr int kDistressBurst = 8;
constexpr double kDistressTextInterval = 240.0;

bool Moves(StationKind k) {
    return k == StationKind::ClassA || k == StationKind::ClassB || k == StationKind::SarAircraft ||
           k == StationKind::Sart || k == StationKind::MobDevice;
}

}  // namespace

double TrafficModel::ClassAInterval(int navStatus, double speed, bool turning) {
    if (navStatus == 1 || navStatus == 5) return speed > 3.0 ? 10.0 : 180.0;
    if (speed > 23.0) return 2.0;
    if (speed > 14.0) return turning ? 2.0 : 6.0;
    return turning ? 10.0 / 3.0 : 10.0;
}

double TrafficModel::ClassBInterval(double speed) {
    return speed > 2.0 ? 30.0 : 180.0;
}

TrafficModel::TrafficModel(const Scenario& scenario)
    : scenario_(scenario), own_(OwnShipBody(scenario)), rng_(scenario.seed, 2) {
    for (StationSetup& setup : BuildStations(scenario)) {
        StationState s;
        s.body = MovingBody(setup.position, setup.course, Moves(setup.kind) ? setup.speed : 0.0,
                            setup.route, setup.loopRoute, setup.maxRateOfTurn);
        // First reports are spread over each station's interval, as a station
        // heard from the moment the receiver is switched on would be.
        double first = 10.0;
        switch (setup.kind) {
            case StationKind::ClassA:
                first = ClassAInterval(setup.navStatus, setup.speed, false);
                break;
            case StationKind::ClassB:
                first = ClassBInterval(setup.speed);
                break;
            case StationKind::Aton:
                first = kAtonInterval;
                break;
            default:
                first = setup.reportInterval > 0.0 ? setup.reportInterval : 10.0;
                break;
        }
        s.nextPosition = rng_.uniform(0.0, first);
        s.nextStatic = rng_.uniform(0.0, kStaticInterval);
        s.channel = static_cast<int>(rng_.integer(0, 1));
        if (setup.kind == StationKind::Sart || setup.kind == StationKind::MobDevice) {
            s.nextPosition = setup.activeFrom;
            s.nextText = setup.activeFrom + 1.0;
        }
        s.setup = std::move(setup);
        stations_.push_back(std::move(s));
    }
    for (const SafetyMessageSetup& m : scenario.safetyMessages)
        nextSafety_.push_back(m.at);
    for (const ChannelManagementSetup& c : scenario.channelManagement)
        nextChannelMgmt_.push_back(rng_.uniform(0.0, std::min(c.interval, 30.0)));
}

int TrafficModel::utcSecond(double t) const {
    return UtcFromEpoch(static_cast<double>(scenario_.startEpoch) + t).second;
}

Kinematics TrafficModel::ownKinematics() const {
    Kinematics k;
    k.position = own_.position();
    k.sog = own_.speed();
    k.cog = own_.course();
    k.heading = NormalizeCourse(own_.course() + scenario_.ownShip.headingOffset);
    k.rateOfTurn = own_.rateOfTurn();
    k.utcSecond = utcSecond(now_);
    return k;
}

void TrafficModel::stepBodies(double dt) {
    own_.step(dt);
    for (StationState& s : stations_) {
        if (Moves(s.setup.kind)) s.body.step(dt);
    }
}

void TrafficModel::advance(double until, std::vector<AisTransmission>& out) {
    const std::size_t first = out.size();
    while (now_ < until - 1e-9) {
        const double to = std::min(until, std::floor(now_ + 1.0 + 1e-9));
        for (int i = 0; i < static_cast<int>(stations_.size()); ++i)
            collect(i, now_, to, out);
        collectScheduled(now_, to, out);
        stepBodies(to - now_);
        now_ = to;
    }
    std::stable_sort(out.begin() + static_cast<std::ptrdiff_t>(first), out.end(),
                     [](const AisTransmission& a, const AisTransmission& b) {
                         return a.time < b.time || (a.time == b.time && a.station < b.station);
                     });
}

Kinematics TrafficModel::kinematicsOf(const StationState& s, double t) const {
    Kinematics k;
    k.position = s.body.extrapolate(t - now_);
    k.sog = s.body.speed();
    k.cog = s.body.course();
    // A slow yaw of about a degree around the drift angle.
    const double yaw = std::sin(t / 23.0 + s.setup.mmsi % 97) * 0.8;
    k.heading = NormalizeCourse(s.body.course() + s.setup.headingOffset + yaw);
    k.rateOfTurn = s.body.rateOfTurn();
    k.utcSecond = utcSecond(t);
    return k;
}

std::uint32_t TrafficModel::sotdmaState(StationState& s, double t) {
    // Sync state 0 (UTC direct), slot time-out counting 7 down to 0, and the
    // sub message the time-out calls for.
    const int timeout = 7 - s.reports % 8;
    std::uint32_t sub = 0;
    if (timeout == 0) {
        sub = static_cast<std::uint32_t>(rng_.integer(1, 2249));
    } else if (timeout == 1) {
        const UtcTime u = UtcFromEpoch(static_cast<double>(scenario_.startEpoch) + t);
        sub = static_cast<std::uint32_t>((u.hour << 9) | (u.minute << 2));
    } else if (timeout % 2 == 0) {
        sub = static_cast<std::uint32_t>(static_cast<long>(t * 37.5) % 2250);
    } else {
        sub = static_cast<std::uint32_t>(stations_.size() + 1);
    }
    return (static_cast<std::uint32_t>(timeout) << 14) | (sub & 0x3FFF);
}

void TrafficModel::push(std::vector<AisTransmission>& out, double t, int index, StationState& s,
                        const ais::AisMessage& m) {
    // A station that fell silent keeps its schedule but sends nothing.
    if (s.setup.silentFrom >= 0.0 && t >= s.setup.silentFrom) return;
    AisTransmission tx;
    tx.time = t;
    tx.channel = s.channel;
    tx.station = index;
    tx.message = m;
    out.push_back(tx);
    s.channel ^= 1;
}

void TrafficModel::collect(int index, double from, double to, std::vector<AisTransmission>& out) {
    StationState& s = stations_[static_cast<std::size_t>(index)];
    const StationKind kind = s.setup.kind;
    if (kind == StationKind::Sart || kind == StationKind::MobDevice) {
        reportDistress(index, to, out);
        return;
    }
    while (s.nextPosition < to) {
        const double t = std::max(from, s.nextPosition);
        reportPosition(index, t, out);
    }
    if (kind == StationKind::ClassA || kind == StationKind::ClassB) {
        while (s.nextStatic < to) {
            const double t = std::max(from, s.nextStatic);
            reportStatic(index, t, out);
            s.nextStatic += kStaticInterval;
        }
    }
}

void TrafficModel::reportPosition(int index, double t, std::vector<AisTransmission>& out) {
    StationState& s = stations_[static_cast<std::size_t>(index)];
    const Kinematics k = kinematicsOf(s, t);
    double interval = 10.0;
    switch (s.setup.kind) {
        case StationKind::ClassA:
            push(out, t, index, s,
                 PositionReport(1, s.setup.mmsi, s.setup.navStatus, k, sotdmaState(s, t)));
            interval = ClassAInterval(s.setup.navStatus, k.sog, s.body.turning());
            break;
        case StationKind::ClassB:
            push(out, t, index, s, ClassBPositionReport(s.setup.mmsi, k));
            interval = ClassBInterval(k.sog);
            break;
        case StationKind::BaseStation:
            push(out, t, index, s,
                 BaseStationReport(s.setup.mmsi, s.setup.position,
                                   UtcFromEpoch(static_cast<double>(scenario_.startEpoch) + t)));
            interval = s.setup.reportInterval > 0.0 ? s.setup.reportInterval : kBaseInterval;
            break;
        case StationKind::Aton:
            push(out, t, index, s, AtonReport(s.setup, s.setup.position, k.utcSecond));
            interval = kAtonInterval;
            break;
        case StationKind::SarAircraft:
            push(out, t, index, s, SarAircraftReport(s.setup.mmsi, s.setup.altitude, k));
            interval = kSarInterval;
            break;
        default:
            break;
    }
    ++s.reports;
    s.nextPosition = t + interval;
}

void TrafficModel::reportStatic(int index, double t, std::vector<AisTransmission>& out) {
    StationState& s = stations_[static_cast<std::size_t>(index)];
    if (s.setup.kind == StationKind::ClassA) {
        push(out, t, index, s, StaticVoyageReport(s.setup.mmsi, s.setup.info));
    } else {
        push(out, t, index, s, StaticDataReportA(s.setup.mmsi, s.setup.info));
        push(out, t + 0.5, index, s, StaticDataReportB(s.setup.mmsi, s.setup.info));
    }
}

void TrafficModel::reportDistress(int index, double to, std::vector<AisTransmission>& out) {
    StationState& s = stations_[static_cast<std::size_t>(index)];
    const int status = s.setup.testMode ? 15 : 14;
    while (s.nextPosition < to) {
        const double t0 = s.nextPosition;
        for (int i = 0; i < kDistressBurst; ++i) {
            const double t = t0 + i * 0.1;
            Kinematics k = kinematicsOf(s, t);
            k.heading = 511;
            k.rateOfTurn = 0;
            ais::AisMessage m = PositionReport(1, s.setup.mmsi, status, k, sotdmaState(s, t));
            m.position.heading = ais::kAisHeadingNotAvailable;
            m.position.rateOfTurn = ais::kAisRotNotAvailable;
            push(out, t, index, s, m);
            ++s.reports;
        }
        s.nextPosition = t0 + kDistressBurstInterval;
    }
    while (s.nextText < to) {
        const bool sart = s.setup.kind == StationKind::Sart;
        const char* text = sart ? (s.setup.testMode ? "SART TEST" : "SART ACTIVE")
                                : (s.setup.testMode ? "MOB TEST" : "MOB ACTIVE");
        push(out, s.nextText, index, s, SafetyBroadcast(s.setup.mmsi, text));
        s.nextText += kDistressTextInterval;
    }
}

void TrafficModel::collectScheduled(double from, double to, std::vector<AisTransmission>& out) {
    (void)from;
    const int base = static_cast<int>(stations_.size());
    for (std::size_t i = 0; i < nextSafety_.size(); ++i) {
        const SafetyMessageSetup& m = scenario_.safetyMessages[i];
        while (nextSafety_[i] >= 0.0 && nextSafety_[i] < to) {
            AisTransmission tx;
            tx.time = nextSafety_[i];
            tx.station = base + static_cast<int>(i);
            tx.channel = static_cast<int>(i % 2);
            tx.message = m.to == 0 ? SafetyBroadcast(m.from, m.text)
                                   : AddressedSafety(m.from, m.to, safetySequence_++ & 3, m.text);
            out.push_back(tx);
            nextSafety_[i] = m.repeat > 0.0 ? nextSafety_[i] + m.repeat : -1.0;
        }
    }
    for (std::size_t i = 0; i < nextChannelMgmt_.size(); ++i) {
        const ChannelManagementSetup& c = scenario_.channelManagement[i];
        while (nextChannelMgmt_[i] < to) {
            AisTransmission tx;
            tx.time = nextChannelMgmt_[i];
            tx.station = base + static_cast<int>(nextSafety_.size() + i);
            tx.channel = 0;
            tx.message = ChannelManagement(c.from, c);
            out.push_back(tx);
            nextChannelMgmt_[i] += std::max(1.0, c.interval);
        }
    }
}

}  // namespace norq::sim
