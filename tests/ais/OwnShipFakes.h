// Recording fakes of the GNSS status window and the own ship's top strip.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ais/OwnShip.h"

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

}  // namespace norq::test
