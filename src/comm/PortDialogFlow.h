// The port dialog's flows ("Config Serial Port"): one sensor port connected
// over a serial line with a typed or listed port and rate, or (the AIS port)
// over TCP/IP. The window renders state() and forwards its controls here.
// The start-up connection of the AIS port runs the same Connect without
// showing the dialog.
#pragma once

#include <string>

#include "comm/ConnectionChecks.h"
#include "comm/DetectionInterfaces.h"
#include "comm/DeviceDetection.h"

namespace norq::comm {

struct PortDialogState {
    int sensor = kAisPort;
    InputType page = InputType::Serial;
    bool selectorVisible = true;  // the serial/TCP selector: AIS only
    bool connectDown = false;     // the button reads "Disconnect"
    bool inputsEnabled = true;
    bool tcpFieldsEnabled = true;
    bool detectingVisible = false;  // "NORQ AIS device detecting..."
    bool closeEnabled = true;
    // What the port and rate lists show when the dialog opens.
    std::string port;  // "N/A" when there is no port
    int ratePosition = kLastRatePosition;
};

struct PortDialogInputs {
    std::string typedPort;
    int ratePosition = kLastRatePosition;
    TcpFields tcp;
    UdpFields udp;
};

class PortDialogFlow {
  public:
    PortDialogFlow(DetectionPorts& ports, DeviceDetection& detection, DetectionView& view)
        : ports_(ports), detection_(detection), view_(view) {}

    // The dialog opens for a sensor: it becomes the current sensor.
    void open(int sensor);
    void setShowing(bool showing) { showing_ = showing; }
    bool showing() const { return showing_; }
    // The serial / TCP selector (AIS only).
    void setInputType(InputType type);
    // The Connect toggle.
    void connect(const PortDialogInputs& inputs);
    // The start-up connection of the AIS port: Connect on the serial page with
    // the stored port and rate, the dialog not shown.
    void connectAtStart();
    void labelDoubleClicked();
    void portsChanged(bool removed);

    PortDialogState state() const;

  private:
    void serialConnect(const PortDialogInputs& inputs);
    void preselect();

    DetectionPorts& ports_;
    DeviceDetection& detection_;
    DetectionView& view_;
    bool showing_ = false;
    bool tcpFieldsLocked_ = false;
    int labelClicks_ = 0;
    std::string port_;
    int ratePosition_ = kLastRatePosition;
};

}  // namespace norq::comm
