// Sending through the sensor port control onto a pseudo-terminal: the safety
// message and the lantern command as the transponder receives them, and a
// write that fails (the port closed) reported as failed.
#include <gtest/gtest.h>

#include "comm/CommTestSupport.h"
#include "messaging/AtonLantern.h"
#include "messaging/SensorControlAisPort.h"

namespace norq::test {
namespace {

using comm::test::PtyPair;

class SendPathTest : public ::testing::Test, public comm::test::ControlFixture {
  protected:
    SendPathTest() : srm(clock, run->tracker), port(control) { srm.setWriter(&port); }
    messaging::SafetyMessages srm;
    messaging::SensorControlAisPort port;
};

TEST_F(SendPathTest, SafetyMessageAndLanternCommandReachTheTransponder) {
    NORQ_NEED_PTY();
    PtyPair line;
    ASSERT_TRUE(control.OpenSensorPort(comm::kAisPort, line.path(), 3));
    log.setEnabled(true);
    EXPECT_TRUE(srm.SendFromDialog("MAN OVERBOARD"));
    const std::string bbm = line.read("\r\n");
    EXPECT_EQ(bbm.substr(0, 34), "!AIBBM,1,1,0,0,14,=1>P?F5B2?1B4,0*");
    EXPECT_TRUE(codec::ChecksumValid(bbm));
    EXPECT_EQ(srm.outBox()[0].state, messaging::SrmState::Sent);
    // The SRM goes out unchanged, past the message log; the lantern command is logged.
    EXPECT_EQ(log.size(), 0u);

    EXPECT_TRUE(
        messaging::SendLanternCommand(run->codec, control, messaging::LanternMode::ForcedOff));
    const std::string dbg = line.read("\r\n");
    EXPECT_EQ(dbg.substr(0, 39), "$PDBG,300,2,,-100000,,-100000,,-100000*");
    EXPECT_TRUE(codec::ChecksumValid(dbg));
    EXPECT_EQ(log.size(), 1u);

    control.CloseAll();
    EXPECT_FALSE(srm.SendFromDialog("MAN OVERBOARD"));
    EXPECT_EQ(srm.outBox()[0].state, messaging::SrmState::Failed);
    EXPECT_EQ(srm.outBox()[1].state, messaging::SrmState::Sent);
}

}  // namespace
}  // namespace norq::test
