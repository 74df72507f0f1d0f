// Hands the tracker's follow-ups to every subsystem that keeps per-target state
// (the chart's symbols, tracks, alarms), in the order they were added.
#pragma once

#include <algorithm>
#include <vector>

#include "ais/TargetViews.h"

namespace norq::app {

class FollowUpsFanOut final : public ais::TargetFollowUps {
  public:
    void add(ais::TargetFollowUps* followUps) {
        if (followUps != nullptr &&
            std::find(list_.begin(), list_.end(), followUps) == list_.end()) {
            list_.push_back(followUps);
        }
    }
    void clear() { list_.clear(); }

    void appendTrackPoint(int index) override {
        for (auto* f : list_)
            f->appendTrackPoint(index);
    }
    void ShowLanternStatus(int index) override {
        for (auto* f : list_)
            f->ShowLanternStatus(index);
    }
    void OnSafetyMessage(int type, bool fromOwnShip) override {
        for (auto* f : list_)
            f->OnSafetyMessage(type, fromOwnShip);
    }
    void AddChannelRegion(const ais::ChannelRegion& region) override {
        for (auto* f : list_)
            f->AddChannelRegion(region);
    }
    void onTargetRemoved(int index) override {
        for (auto* f : list_)
            f->onTargetRemoved(index);
    }

  private:
    std::vector<ais::TargetFollowUps*> list_;
};

}  // namespace norq::app
