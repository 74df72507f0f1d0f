// The scan, the line hook and the identification against a recording fake of
// the sensor port control: the order of ports and rates, the ends of a scan,
// and what each answer of a device leads to.
#include <gtest/gtest.h>

#include <cstdio>

#include "codec/ProductInfoBlock.h"
#include "comm/DetectionFakes.h"
#include "comm/DeviceDetection.h"
#include "comm/WizardFlow.h"

namespace norq::comm {
namespace {

using test::FakePorts;
using test::FakeView;

// "$PKRV,R,TXT,<text>*hh" with its checksum.
std::string TxtLine(std::string_view text) {
    std::string line = "$PKRV,R,TXT," + std::string(text);
    unsigned sum = 0;
    for (std::size_t i = 1; i < line.size(); ++i)
        sum ^= static_cast<unsigned char>(line[i]);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return line + tail;
}

class Detection : public ::testing::Test {
  protected:
    Detection() : detection(ports, view), wizard(ports, detection, view) {
        detection.setOwner(&wizard);
        ports.free = {"/dev/ttyA", "/dev/ttyB"};
        ports.present = ports.free;
        ports.openable = {"/dev/ttyA", "/dev/ttyB"};
    }

    // Starts the wizard's auto scan on the AIS sensor.
    void startAutoScan() {
        wizard.show();
        wizard.setAutoMode(true);
        wizard.connect({});
    }
    void line(std::string_view text, int sensor = kAisPort) {
        detection.onLine(text, {sensor, LinkKind::Serial});
    }
    const FakePorts::Sensor& ais() const { return ports.at(kAisPort); }

    FakePorts ports;
    FakeView view;
    DeviceDetection detection;
    WizardFlow wizard;
};

TEST_F(Detection, TriesEveryPortAtEveryRateThenGivesUpAndSwitchesThePortOff) {
    ports.at(kAisPort).storedPath = "/dev/ttyA";
    ports.at(kAisPort).storedRate = 9;  // 38400
    startAutoScan();
    EXPECT_TRUE(view.hasResult("Detecting AIS ... "));
    EXPECT_TRUE(view.scanTimer);
    EXPECT_TRUE(ports.autoModeOn);
    while (view.scanTimer && detection.scanCount() < 100)
        wizard.scanTick();

    const std::vector<std::string> expected{"/dev/ttyA@38400", "/dev/ttyB@115200",
                                            "/dev/ttyA@115200"};
    EXPECT_EQ(ports.opens, expected);
    EXPECT_EQ(detection.scanLimit(), 51);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], DetectionMessage::AutoDetectTimeOut);
    // The failed scan leaves nothing open, in use or silenced.
    EXPECT_FALSE(ais().open);
    EXPECT_FALSE(ais().inUse);
    EXPECT_FALSE(ports.autoModeOn);
    EXPECT_FALSE(view.scanTimer);
    EXPECT_FALSE(view.animationTimer);
    EXPECT_EQ(ais().link, LinkState::Idle);
    EXPECT_EQ(ais().phase, ScanPhase::Finished);
    EXPECT_TRUE(view.hasResult("Fail to connect AIS "));
    EXPECT_FALSE(wizard.state().connectDown);
    // Probes on the ticks 0 and 3 of every four: 13 groups of two and 13 of one.
    EXPECT_EQ(std::count(ports.sent.begin(), ports.sent.end(), "TST16"), 26);
}

TEST_F(Detection, ClosingTheWizardSwitchesARunningScanOff) {
    startAutoScan();
    wizard.scanTick();
    ASSERT_TRUE(ais().open);
    wizard.close();
    EXPECT_FALSE(ais().open);
    EXPECT_FALSE(ais().inUse);
    EXPECT_EQ(ais().phase, ScanPhase::Finished);
    EXPECT_FALSE(view.scanTimer);
    EXPECT_FALSE(view.animationTimer);
    EXPECT_FALSE(ports.autoModeOn);
    EXPECT_TRUE(view.hasResult("Fail to connect AIS "));
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(Detection, NoFreePortIsAWarningAndSwitchesOff) {
    ports.free.clear();
    startAutoScan();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], DetectionMessage::NoSerialPortExist);
    EXPECT_EQ(view.autoPort, "N/A");
    EXPECT_FALSE(ais().inUse);
    EXPECT_FALSE(view.scanTimer);
    EXPECT_FALSE(ports.autoModeOn);
}

TEST_F(Detection, AnAisLineEndsTheScanOnAnyTickAndClearsAutoMode) {
    for (int stopTick : {2, 3}) {  // the line comes at a count of 2, then of 3
        FakePorts fresh;
        fresh.free = ports.free;
        fresh.openable = ports.openable;
        ports = fresh;
        view = FakeView{};
        startAutoScan();
        while (detection.scanCount() < stopTick)
            wizard.scanTick();
        ASSERT_EQ(detection.scanCount() % 4, stopTick);
        line("!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26\r\n");
        EXPECT_EQ(ais().link, LinkState::IdentificationPending) << stopTick;
        EXPECT_EQ(ais().phase, ScanPhase::Finished);
        EXPECT_EQ(ais().storedPath, "/dev/ttyA");
        EXPECT_FALSE(ports.autoModeOn);
        EXPECT_FALSE(view.scanTimer);
        EXPECT_TRUE(view.animationTimer);
        EXPECT_TRUE(view.hasResult("Found AIS ... "));
        EXPECT_TRUE(view.resultsShown);
        EXPECT_TRUE(view.messages.empty());
        EXPECT_TRUE(wizard.state().connectDown);
        EXPECT_TRUE(wizard.state().detectingVisible);
    }
}

TEST_F(Detection, CountsOnlyLinesOfThePortUnderTestAndLeavesAnOpenGpsAlone) {
    ports.at(kGpsPort).open = true;
    ports.at(kGpsPort).inUse = true;
    ports.at(kGpsPort).link = LinkState::Connected;
    ports.at(kGpsPort).storedPath = "/dev/ttyGPS";
    startAutoScan();
    // The GNSS receiver's own sentences, and sentences from the TCP link.
    line("$GPRMC,093000.00,A,5100.0000,N,00124.0000,E,15.0,45.0,140625,,,A*6C\r\n", kGpsPort);
    detection.onLine("!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26\r\n",
                     {kAisPort, LinkKind::Tcp});
    EXPECT_EQ(ais().link, LinkState::DetectionStarted);
    // A transponder passing GNSS on: the GPS connected on its own port is kept.
    line("$GPRMC,093000.00,A,5100.0000,N,00124.0000,E,15.0,45.0,140625,,,A*6C\r\n");
    line("!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26\r\n");
    EXPECT_EQ(ais().link, LinkState::IdentificationPending);
    EXPECT_EQ(ports.at(kGpsPort).link, LinkState::Connected);
    EXPECT_EQ(ports.at(kGpsPort).storedPath, "/dev/ttyGPS");
    EXPECT_FALSE(view.hasResult("Found GPS ... "));
}

TEST_F(Detection, AGnssReceiverBehindTheTransponderIsFoundOnTheSamePort) {
    startAutoScan();
    line("$GPGGA,093000.00,5100.0000,N,00124.0000,E,1,08,0.9,10.0,M,,M,,*46\r\n");
    EXPECT_EQ(ports.at(kGpsPort).link, LinkState::DeviceSeen);
    line("!AIVDO,1,1,,,13aEOK?P00PD2wVMdLDRhgvL289?,0*0C\r\n");
    EXPECT_EQ(ports.at(kGpsPort).link, LinkState::Connected);
    EXPECT_EQ(ports.at(kGpsPort).storedPath, "/dev/ttyA");
    const std::vector<std::string> tail(view.results.end() - 3, view.results.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"Found AIS ... ", "Found GPS ... ", ""}));
}

TEST_F(Detection, AGnssReceiverThatSpeaksAfterTheTransponderIsFoundToo) {
    startAutoScan();
    line("!AIVDO,1,1,,,13aEOK?P00PD2wVMdLDRhgvL289?,0*0C\r\n");
    ASSERT_EQ(ais().link, LinkState::IdentificationPending);
    EXPECT_FALSE(view.hasResult("Found GPS ... "));
    line("$GPGGA,093000.00,5100.0000,N,00124.0000,E,1,08,0.9,10.0,M,,M,,*46\r\n", kGpsPort);
    EXPECT_EQ(ports.at(kGpsPort).link, LinkState::Idle);  // not the transponder's port
    line("$GPGGA,093000.00,5100.0000,N,00124.0000,E,1,08,0.9,10.0,M,,M,,*46\r\n");
    EXPECT_EQ(ports.at(kGpsPort).link, LinkState::Connected);
    EXPECT_EQ(ports.at(kGpsPort).storedPath, "/dev/ttyA");
    EXPECT_TRUE(view.hasResult("Found GPS ... "));
}

TEST_F(Detection, ACrewWatchControllerAnswersItsProbe) {
    ports.free = {"/dev/ttyA", "/dev/ttyB"};
    wizard.show();
    wizard.next();
    wizard.setAutoMode(true);
    wizard.connect({});
    EXPECT_TRUE(view.hasResult("Detecting MOB ... "));
    EXPECT_EQ(std::count(ports.sent.begin(), ports.sent.end(), "MOB"), 1);
    line("[Type] = MOB\r\n", kAisPort);  // not the port under test
    EXPECT_EQ(ports.at(kMobPort).link, LinkState::DetectionStarted);
    line("[Type] = MOB\r\n", kMobPort);
    EXPECT_EQ(ports.at(kMobPort).link, LinkState::Connected);
    EXPECT_EQ(ports.at(kMobPort).storedPath, "/dev/ttyA");
    EXPECT_TRUE(view.hasResult("Found MOB ... "));
    EXPECT_FALSE(ports.autoModeOn);
}

// ---- Identification ----------------------------------------------------------

class Identification : public Detection {
  protected:
    void SetUp() override {
        ports.at(kAisPort).open = true;
        ports.at(kAisPort).inUse = true;
        ports.at(kAisPort).link = LinkState::IdentificationPending;
    }
    void intake(std::string_view text) {
        if (detection.waitingForIdentification()) detection.onIdentificationLine(text);
    }
};

TEST_F(Identification, ASilentDeviceIsConnectedAfterTenTicksWithItsKindUnchanged) {
    for (int tick = 1; tick <= 9; ++tick) {
        detection.identificationTick();
        EXPECT_EQ(ais().link, LinkState::IdentificationPending) << tick;
    }
    EXPECT_EQ(std::count(ports.sent.begin(), ports.sent.end(), "TST17"), 9);
    EXPECT_EQ(std::count(ports.sent.begin(), ports.sent.end(), "DBG"), 9);
    detection.identificationTick();
    EXPECT_EQ(ais().link, LinkState::Connected);
    EXPECT_TRUE(ais().open);
    EXPECT_EQ(ports.kind, DeviceKind::None);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(ports.sent.size(), 18u);
}

TEST_F(Identification, ProductInformationIsRecognisedAndShown) {
    detection.identificationTick();
    intake("$PKRV,R,TXT,PROD. INFO. BEGIN*79\r\n");
    EXPECT_EQ(ais().link, LinkState::Connected);
    EXPECT_EQ(ports.kind, DeviceKind::ProductInfo);
    codec::ProductInfoBlock block;
    EXPECT_EQ(TxtLine("PROD. INFO. BEGIN"), "$PKRV,R,TXT,PROD. INFO. BEGIN*79\r\n");
    for (std::string_view text : {"PROD. INFO. BEGIN", "MODEL NO.=NQ-100", "SERIAL NO.=A123",
                                  "FIRMWARE=2.1", "PROD. INFO. END"}) {
        if (block.offer(TxtLine(text)) == codec::ProductInfoBlock::Result::Complete) {
            detection.onProductInfo(block);
        }
    }
    EXPECT_TRUE(view.resultsShown);
    EXPECT_TRUE(view.hasResult("Found AIS ..."));
    EXPECT_TRUE(view.hasResult("MODEL NO. = NQ-100"));
    EXPECT_TRUE(view.hasResult("SERIAL NO. = A123"));
    EXPECT_TRUE(view.hasResult("FIRMWARE = " + std::string(block.firmware())));
}

TEST_F(Identification, StaticDataAndMkd2AreRecognisedAfterTheLinkConnects) {
    for (bool mkd2 : {false, true}) {
        SetUp();
        ports.kind = DeviceKind::None;
        view = FakeView{};
        detection.identificationTick();  // the link was idle in between: state reset
        detection.identificationTick();
        intake("[STATIC DATA]\r\n");
        EXPECT_EQ(ais().link, LinkState::Connected);
        EXPECT_EQ(ports.kind, DeviceKind::StaticData);
        for (std::string_view text :
             {"MMSI=235099001\r\n", "NAME=NORQ EXPLORER\r\n", "MODEL=NQ-200\r\n", "SERIAL=S-77\r\n",
              "FIRMWARE=1.4\r\n", "[END OF STATIC DATA]\r\n"}) {
            intake(text);
        }
        detection.identificationTick();  // a tick in between does not stop the listening
        if (mkd2) intake("[MKD]=2\r\n");
        intake("[DEVICE DATA END]\r\n");
        EXPECT_EQ(ports.kind, mkd2 ? DeviceKind::Mkd2 : DeviceKind::StaticData);
        EXPECT_EQ(view.languageReloads, mkd2 ? 1 : 0);
        EXPECT_TRUE(view.hasResult("MODEL NO. = NQ-200"));
        EXPECT_TRUE(view.hasResult("NAME = NORQ EXPLORER"));
        EXPECT_TRUE(view.hasResult(mkd2 ? "DEVICE KIND = MKD-2" : "DEVICE KIND = STATIC DATA"));
        EXPECT_FALSE(detection.waitingForIdentification());
        ports.at(kAisPort).link = LinkState::Idle;
        detection.identificationTick();
    }
}

TEST_F(Identification, AReconnectedDeviceIsIdentifiedAnewAtOnce) {
    intake("$PKRV,R,TXT,PROD. INFO. BEGIN*79\r\n");
    ASSERT_EQ(ais().link, LinkState::Connected);
    // Switched off and on again before any tick: the first answer counts.
    ports.at(kAisPort).link = LinkState::Idle;
    ports.at(kAisPort).link = LinkState::IdentificationPending;
    ports.kind = DeviceKind::None;
    intake("[STATIC DATA]\r\n");
    EXPECT_EQ(ais().link, LinkState::Connected);
    EXPECT_EQ(ports.kind, DeviceKind::StaticData);
}

TEST_F(Identification, ActsOnTheAisSensorWhileTheDialogsShowAnother) {
    detection.setCurrentSensor(kGpsPort);
    for (int tick = 1; tick <= 3; ++tick)
        detection.identificationTick();
    EXPECT_EQ(ais().link, LinkState::IdentificationPending);
    EXPECT_EQ(std::count(ports.sent.begin(), ports.sent.end(), "TST17"), 3);
    intake("[STATIC DATA]\r\n");
    EXPECT_EQ(ais().link, LinkState::Connected);
    EXPECT_EQ(ports.at(kGpsPort).link, LinkState::Idle);
    EXPECT_EQ(ports.kind, DeviceKind::StaticData);
}

}  // namespace
}  // namespace norq::comm
