// The device wizard's flows ("Quick Start"): its serial page with the Auto
// (scan) and Manual modes, its TCP/IP page, the Connect toggle, the
// connecting animation, Close and Next, and what it does when ports come and
// go. The window renders state() and forwards its controls here.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "comm/ConnectionChecks.h"
#include "comm/DetectionInterfaces.h"
#include "comm/DeviceDetection.h"

namespace norq::comm {

// The notes shown under the controls, by their language text.
enum class WizardNote : std::uint8_t {
    None,
    AutoManualConnect,
    AutoConnect,
    ManualConnect,
    AutoConnectNote1,
    AutoConnectNote2,
    ManualConnectNote,
    TcpConnect1,  // shown as "1. " + text
    TcpConnect2,  // shown as "2. " + text
    UdpConnect,   // shown as "2. " + text
};

// The status label: "Disconnect", "Connecting..." (blinking), "Connected".
enum class WizardStatus : std::uint8_t { Disconnect, Connecting, Connected };

struct WizardState {
    int sensor = kAisPort;  // the device type label: "AIS" or "MOB"
    InputType page = InputType::Serial;
    bool autoMode = false;
    bool connectDown = false;  // the button reads "Disconnect"
    bool inputsEnabled = true;
    bool selectorEnabled = true;
    bool tcpFieldsEnabled = false;
    bool detectingVisible = false;  // "NORQ AIS device detecting..."
    bool closeEnabled = true;
    bool nextVisible = false;
    bool nextEnabled = true;
    WizardStatus status = WizardStatus::Disconnect;
    bool firstBlinkColour = true;
    int imageFrame = 0;  // connection picture: 0 idle, 2-7 connecting, 1 connected
    std::array<WizardNote, 4> notes{};
};

// The Connect button's inputs.
struct WizardInputs {
    std::string typedPort;  // the Manual page's port text
    int ratePosition = kLastRatePosition;
    TcpFields tcp;
    UdpFields udp;
};

class WizardFlow : public ScanOwner {
  public:
    // Frames of the connection picture while connecting.
    static constexpr int kFirstFrame = 2;
    static constexpr int kLastFrame = 7;
    static constexpr int kConnectedFrame = 1;
    // Double clicks on "Input Sensor Port" that toggle the TCP fields.
    static constexpr int kUnlockClicks = 6;

    WizardFlow(DetectionPorts& ports, DeviceDetection& detection, DetectionView& view);

    // The wizard is shown: the AIS page, set up from the AIS port's state.
    void show();
    void setShowing(bool showing) { showing_ = showing; }
    bool showing() const { return showing_; }
    // "Next": the MOB page.
    void next();
    // "Close": a running scan is switched off first.
    void close();
    // The "Manual" / "Auto" radio buttons.
    void setAutoMode(bool on);
    // The serial / TCP selector.
    void setInputType(InputType type);
    // The Connect toggle.
    void connect(const WizardInputs& inputs);
    // The 1000 ms scan timer and the 200 ms animation timer.
    void scanTick() { detection_.scanTick(); }
    void animationTick();
    // A double click on the label "Input Sensor Port".
    void labelDoubleClicked();
    // A serial port appeared or disappeared.
    void portsChanged(bool removed);
    // The TCP link ended by itself.
    void onTcpDisconnected();

    // What the window shows now.
    WizardState state() const;

    // ScanOwner: the Connect toggle pressed by the flow itself.
    void switchOff(bool byTimeOut) override;

  private:
    void setUpSensorPage(int sensor);
    void setUpSerialPage();
    void setUpTcpPage();
    void serialFlow(bool byTimeOut);
    bool startAutoScan();
    bool connectManually();
    void switchedOff(bool byTimeOut);
    void tcpFlow(const TcpFields& fields);
    void udpFlow(const UdpFields& fields);
    void giveUp();
    bool sensorBusy(int sensor) const;

    DetectionPorts& ports_;
    DeviceDetection& detection_;
    DetectionView& view_;
    WizardInputs inputs_;

    bool showing_ = false;
    bool autoMode_ = false;
    bool tcpFieldsUnlocked_ = false;
    int labelClicks_ = 0;
    WizardStatus status_ = WizardStatus::Disconnect;
    int blinkCounter_ = 0;
    int frame_ = 0;
    int frameStep_ = 1;
    std::array<WizardNote, 4> notes_{};
};

}  // namespace norq::comm
