// Everything the viewer keeps about the traffic while it runs: the codec and
// its stores, the target table with its tracker, the own ship and the intake
// that feeds them. The main window owns one; the tools and tests make their
// own. It is large (fixed tables), so owners keep it on the heap.
#pragma once

#include <string_view>

#include "ais/Clock.h"
#include "ais/OwnShip.h"
#include "ais/SentenceIntake.h"
#include "ais/TargetTracker.h"
#include "codec/SentenceCodec.h"

namespace norq::ais {

class RunState {
  public:
    explicit RunState(const Clock& clock)
        : tracker(clock), ownShip(codec, tracker), intake(codec, {&tracker, &ownShip}, &clock) {}
    RunState(const RunState&) = delete;
    RunState& operator=(const RunState&) = delete;

    void ReceiveLine(std::string_view line, bool fromLivePort) {
        intake.ReceiveLine(line, fromLivePort);
    }

    codec::SentenceCodec codec;
    TargetTracker tracker;
    OwnShip ownShip;
    SentenceIntake intake;
};

}  // namespace norq::ais
