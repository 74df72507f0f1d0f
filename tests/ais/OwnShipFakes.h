// Recording fakes of the GNSS status window and the own ship's top strip, and
// the own ship wired to the real intake and tracker with every fake attached.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "TrackerFakes.h"
#include "ais/OwnShip.h"
#include "ais/SentenceIntake.h"
#include "codec/SentenceLines.h"

namespace norq::test {

struct FakeGnssView : ais::GnssView {
    std::string utc;
    ais::FixIndicator fix = ais::FixIndicator::Lost;
    bool showing = true;
    std::vector<std::vector<int>> cycles;  // PRNs of each redrawn cycle
    std::vector<bool> lastUsed;
    ais::GnssFixData fixData;
    void setUtcText(std::string_view t) override { utc = std::string(t); }
    void setFixIndicator(ais::FixIndicator f) override { fix = f; }
    void setFixData(const ais::GnssFixData& d) override { fixData = d; }
    bool satelliteWindowShowing() const override { return showing; }
    void showSatellites(std::span<const ais::SatelliteEntry> list) override {
        std::vector<int> prns;
        lastUsed.clear();
        for (const ais::SatelliteEntry& s : list) {
            prns.push_back(s.prn);
            lastUsed.push_back(s.used);
        }
        cycles.push_back(prns);
    }
};

struct FakeOwnView : ais::OwnShipView {
    double lon = 0, lat = 0, sog = 0, cog = 0;
    int details = 0;
    int manualShown = 0;  // calls with the "N/A" speed of a position without fix
    void ShowOwnShipTop(double a, double b, double c, double d) override {
        if (c == 103.0) ++manualShown;
        lon = a;
        lat = b;
        sog = c;
        cog = d;
    }
    void ShowOwnShipDetails(double, double, double, double) override { ++details; }
    std::vector<ais::CpaStatus> cpaStatuses;  // each change the status row is told
    void showCpaStatus(ais::CpaStatus s) override { cpaStatuses.push_back(s); }
};

struct OwnShipRig {
    ais::ManualClock clock;
    FakeTargetView targets;
    FakeChart chart;
    FakeGnssView gnssView;
    FakeOwnView ownView;
    codec::SentenceCodec codec;
    ais::TargetTracker tracker{clock, {&targets, &chart, &ownView, nullptr, nullptr}};
    ais::OwnShip own{codec, tracker, &gnssView, &chart, &ownView, &targets};
    ais::SentenceIntake intake{codec, {&tracker, &own, nullptr, nullptr, nullptr}};

    // One sentence (body without '$' and checksum) from a live port.
    void line(const std::string& body) { intake.ReceiveLine(Checksummed(body), true); }
    const ais::TargetRecord& entry0() { return tracker.table().own(); }
};

}  // namespace norq::test
