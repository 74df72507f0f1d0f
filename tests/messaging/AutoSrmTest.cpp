// The automatic SRM while an alarm lasts.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ais/RunState.h"
#include "messaging/AutoSrm.h"

namespace norq::test {
namespace {

struct CountingPort : messaging::AisPortWriter {
    std::vector<int> ticks;
    int tick = 0;
    bool writeToAisPort(std::string_view) override {
        ticks.push_back(tick);
        return true;
    }
};

TEST(AutoSrm, SendsAtTheFirstTickAndEverySixtyOneWhileAllowed) {
    ais::ManualClock clock;
    auto run = std::make_unique<ais::RunState>(clock);
    messaging::SafetyMessages srm(clock, run->tracker);
    CountingPort port;
    srm.setWriter(&port);
    messaging::AutoSrm automatic(srm);
    for (port.tick = 1; port.tick <= 125; ++port.tick)
        automatic.step(true, false, true, true);
    EXPECT_EQ(port.ticks, (std::vector<int>{1, 62, 123}));

    // A new alarm starts counting anew; unchecked or without the link nothing goes.
    port.ticks.clear();
    automatic.step(false, false, true, true);
    for (port.tick = 1; port.tick <= 70; ++port.tick)
        automatic.step(true, false, port.tick > 5, port.tick > 64);
    EXPECT_TRUE(port.ticks.empty());
    // The drill never sends.
    automatic.step(false, false, true, true);
    for (port.tick = 1; port.tick <= 70; ++port.tick)
        automatic.step(true, true, true, true);
    EXPECT_TRUE(port.ticks.empty());
}

}  // namespace
}  // namespace norq::test
