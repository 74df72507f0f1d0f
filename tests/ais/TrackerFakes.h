// Recording fakes of the windows and subsystems the target logic reports to,
// and builders of decoded messages.
#pragma once

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "ais/AisMessage.h"
#include "ais/TargetTracker.h"

namespace norq::test {

struct FakeTargetView : ais::TargetView {
    std::vector<std::string> lines;
    std::vector<int> changedRows;
    int targets = -1;
    int rebuilds = 0;
    bool monitor = false;
    int selection = -1;
    int gridSelection = -1;
    bool atonTab = false;
    std::vector<int> detailsShown;

    void setShipListLine(int index, std::string_view line) override {
        if (index >= static_cast<int>(lines.size())) lines.resize(index + 1);
        lines[index] = std::string(line);
    }
    int shipListLineCount() const override { return static_cast<int>(lines.size()); }
    void deleteLastShipListLine() override { lines.pop_back(); }
    void gridRowChanged(int index) override { changedRows.push_back(index); }
    void setTargetCount(int n) override { targets = n; }
    void rebuildLists() override { ++rebuilds; }
    bool targetMonitorChecked() const override { return monitor; }
    void setTargetMonitorChecked(bool on) override { monitor = on; }
    int listSelection() const override { return selection; }
    void setListSelection(int index) override { selection = index; }
    void setGridSelection(int index) override { gridSelection = index; }
    void showAtonTab(bool on) override { atonTab = on; }
    void showDetails(int index) override { detailsShown.push_back(index); }
    std::vector<int> removed;
    // As the main window does: the selections move with their entries.
    void onTargetRemoved(int index) override {
        removed.push_back(index);
        for (int* held : {&selection, &gridSelection}) {
            if (*held == index) {
                *held = -1;
            } else if (*held > index) {
                --*held;
            }
        }
    }
};

struct FakeChart : ais::ChartTargets {
    OwnPosition position;
    int highlighted = -1;
    std::vector<int> refreshed;
    std::array<bool, 501> dangerous{};
    int centred = 0;
    int stoppedCentreView = 0;
    int symbolsFrom = -1;

    OwnPosition chartOwnPosition() const override { return position; }
    void setOwnShip(double lon, double lat, double cog) override { position = {lon, lat, cog}; }
    void centreOn(double, double) override { ++centred; }
    void stopCentreView() override { ++stoppedCentreView; }
    void highlightTarget(int index) override { highlighted = index; }
    void refreshSymbol(int index) override { refreshed.push_back(index); }
    void setDangerous(int index, bool on) override { dangerous[index] = on; }
    void removeSymbolsFrom(int count) override { symbolsFrom = count; }
    // As the chart does: marks and highlight move with their entries.
    void onTargetRemoved(int index) override {
        std::copy(dangerous.begin() + index + 1, dangerous.end(), dangerous.begin() + index);
        dangerous.back() = false;
        if (highlighted == index) {
            highlighted = -1;
        } else if (highlighted > index) {
            --highlighted;
        }
    }
};

struct FakeMobList : ais::AisMobList {
    std::vector<std::pair<int, bool>> active;
    std::vector<int> lookups;
    std::string registeredName;
    ais::TargetTable* table = nullptr;
    void ReportAisMobActive(int index, bool withPosition) override {
        active.emplace_back(index, withPosition);
    }
    void LookupAisMobName(int index) override {
        lookups.push_back(index);
        if (!registeredName.empty() && table != nullptr) {
            std::snprintf((*table)[index].name.data(), 21, "%s", registeredName.c_str());
        }
    }
};

// Per-target state kept outside the table (as tracks are), which must move
// with its entry when a target ages out.
struct FakeFollowUps : ais::TargetFollowUps {
    std::array<int, 501> perTarget{};
    std::vector<int> trackPoints;
    std::vector<std::pair<int, bool>> safety;
    int regions = 0;
    void appendTrackPoint(int index) override {
        trackPoints.push_back(index);
        ++perTarget[index];
    }
    void OnSafetyMessage(int type, bool own) override { safety.emplace_back(type, own); }
    void AddChannelRegion(const ais::ChannelRegion&) override { ++regions; }
    void onTargetRemoved(int index) override {
        std::copy(perTarget.begin() + index + 1, perTarget.end(), perTarget.begin() + index);
        perTarget.back() = 0;
    }
};

inline ais::AisMessage Message(int type, std::uint32_t mmsi, ais::AisLayoutId layout) {
    ais::AisMessage m{};
    m.messageId = static_cast<std::uint8_t>(type);
    m.mmsi = mmsi;
    m.layout = layout;
    m.bitCount = static_cast<std::uint16_t>(ais::kAisMaxPayloadBits);  // a whole message
    return m;
}

inline ais::AisMessage PositionReport(std::uint32_t mmsi, double lon, double lat, float sog = 10,
                                      float cog = 90, int status = 0) {
    ais::AisMessage m = Message(1, mmsi, ais::AisLayoutId::PositionReport);
    m.position.navStatus = static_cast<std::uint8_t>(status);
    m.position.longitude = lon;
    m.position.latitude = lat;
    m.position.sog = sog;
    m.position.cog = cog;
    m.position.heading = 91;
    m.position.rateOfTurn = 2.5f;
    return m;
}

template <std::size_t N>
void SetText(std::array<char, N>& field, const char* text) {
    std::memset(field.data(), 0, N);
    std::memcpy(field.data(), text, std::min(std::strlen(text), N - 1));
}

}  // namespace norq::test
