// The target table has one follow-up connection; several subsystems follow
// its messages (tracks, the chart's per-target state, safety messages, AtoN
// lanterns, monitored and friend marks, channel regions). This hands every
// follow-up to each of them in the order they were added.
#pragma once

#include <algorithm>
#include <vector>

#include "ais/TargetViews.h"

namespace norq::app {

class FollowUpFanOut final : public ais::TargetFollowUps {
  public:
    void add(ais::TargetFollowUps* f) {
        if (f != nullptr && std::find(list_.begin(), list_.end(), f) == list_.end())
            list_.push_back(f);
    }
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
