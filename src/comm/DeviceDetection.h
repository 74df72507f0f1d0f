// Device detection: the automatic scan of ports and rates, the line hook that
// recognises a transponder, a GNSS receiver and a crew-watch controller on
// the port under test, and the identification of the AIS device with its
// ten-tick time-out.
//
// Scan. The wizard's scan timer calls scanTick() once a second. In auto mode
// each free port is tried with the rates 115200, 57600, 38400, 19200, 9600,
// 4800 (the first port from the stored rate on), four ticks each; the probe
// queries go out on the ticks whose count modulo 4 is 0 or 3. A port without
// an answer gets its 24 ticks, and the scan gives up after all free ports
// plus three ticks. Only lines from the port under test count, and a sensor
// whose own port is open is never touched by another sensor's scan.
//
// Identification. Once the AIS port carries data (link state 4) the device is
// asked on each of the first nine one-second ticks to identify itself; it
// answers with a product-information block or a static-data block (which may
// name an MKD-2). The first identification line connects the link; without
// one the link is connected after the tenth tick with the device kind as it
// was. The identification always concerns the AIS sensor, whichever sensor
// the dialogs are showing.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "ais/IntakeInterfaces.h"
#include "comm/DetectionInterfaces.h"

namespace norq::comm {

// The window flow that owns the scan: it switches the sensor off when the
// scan ends without a device.
class ScanOwner {
  public:
    virtual ~ScanOwner() = default;
    // Switches the current sensor's port off as the Connect button would;
    // byTimeOut: the scan failed (the result list says "Fail to connect").
    virtual void switchOff(bool byTimeOut) = 0;
};

// What the identified device told about itself (product information or the
// static-data block), kept for the dialogs.
struct DeviceIdentity {
    static constexpr std::size_t kValueLength = 63;
    using Value = std::array<char, kValueLength + 1>;
    Value model{};
    Value serial{};
    Value firmware{};
    Value mmsi{};
    Value name{};
    void clear() { *this = DeviceIdentity{}; }
};

class DeviceDetection : public ais::IdentificationHandler {
  public:
    // Ticks of the identification before it ends without an answer.
    static constexpr int kIdentificationTicks = 10;
    // Ticks a static-data device has after its first line to name its kind.
    static constexpr int kEndMarkerTicks = 10;
    // Ticks a GNSS receiver behind a transponder just found has to speak.
    static constexpr int kGpsWatchTicks = 3;
    // Ticks per port in auto mode (six rates, four ticks each), the extra
    // ticks at the end, and the limit without free ports or in manual mode.
    static constexpr int kTicksPerPort = 24;
    static constexpr int kExtraTicks = 3;
    static constexpr int kManualLimit = 20;
    // Codes of the test query.
    static constexpr int kProbeCode = 16;
    static constexpr int kIdentifyCode = 17;

    DeviceDetection(DetectionPorts& ports, DetectionView& view) : ports_(ports), view_(&view) {}

    void setOwner(ScanOwner* owner) { owner_ = owner; }
    void setView(DetectionView& view) { view_ = &view; }

    // The sensor the dialogs work on (0 AIS, 1 GPS, 2 MOB).
    int currentSensor() const { return current_; }
    void setCurrentSensor(int sensor);
    // The wizard's mode: scan ports and rates, or use the typed port.
    bool autoScan() const { return autoScan_; }
    void setAutoScan(bool on) { autoScan_ = on; }
    // The typed port and the selected rate position of manual mode.
    void setManualPort(std::string_view path, int ratePosition);

    // Detection state back to the start: count 0, Auto fields empty.
    void resetDetection();
    // The line hook: every line handed to the intake, with the link it came on.
    void onLine(std::string_view line, const LineOrigin& origin);
    // The hook called without a line: a detection starts.
    void startDetection();
    // One tick of the scan timer; the count is counted after the step.
    void scanTick();
    int scanCount() const { return scanCount_; }
    int scanLimit() const { return scanLimit_; }
    // True while the scan of the current sensor runs.
    bool scanning() const;

    // Identification: the intake's part (live lines while the AIS waits) and
    // the one-second timer's part.
    bool waitingForIdentification() const override;
    void onIdentificationLine(std::string_view line) override;
    void identificationTick();
    void onProductInfo(const codec::ProductInfoBlock& block) override;
    bool identificationSeen() const { return seen_; }
    int identificationTicks() const { return idTicks_; }
    const DeviceIdentity& identity() const { return identity_; }

    // The text of a rate position ("115200"); a port path or "N/A".
    static std::string_view RateText(int ratePosition);
    static constexpr std::string_view kNotAvailable = "N/A";

  private:
    void scanAuto(int count);
    void scanManual(int count);
    void advancePort();
    void sendProbes();
    // The scan ends without a device: message, then the port switched off.
    void failScan(DetectionMessage message);
    void finishScan(int sensor);
    void foundAis();
    void foundMob();
    void watchForGnss(std::string_view line);
    bool fromPortUnderTest(const LineOrigin& origin) const;
    bool mayTouch(int sensor) const;
    void showPort(std::string_view path, int ratePosition);
    void endIdentification();
    void restartIfNewConnection();
    void keepStaticDataLine(std::string_view line);
    void showIdentity(DeviceKind kind);

    DetectionPorts& ports_;
    DetectionView* view_;
    ScanOwner* owner_ = nullptr;

    int current_ = kAisPort;
    bool autoScan_ = false;
    std::string manualPort_;
    int manualRate_ = kLastRatePosition;

    int scanCount_ = 0;
    int scanLimit_ = kManualLimit;
    std::size_t portCursor_ = 0;
    int rateCursor_ = kLastRatePosition;
    int ratePosition_ = kLastRatePosition;  // rate of the port under test
    std::string portUnderTest_;
    bool gpsWatch_ = false;  // a transponder was found without its GNSS receiver yet
    int gpsWatchTicks_ = 0;

    bool seen_ = false;
    bool endSeen_ = true;
    int idTicks_ = 0;
    int endMarkerTicks_ = 0;
    bool collectingStatic_ = false;
    DeviceIdentity identity_;
};

}  // namespace norq::comm
