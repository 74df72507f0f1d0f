#include "comm/PortDialogFlow.h"

#include <algorithm>

namespace norq::comm {

void PortDialogFlow::open(int sensor) {
    detection_.setCurrentSensor(sensor);
    if (sensor != kAisPort) ports_.setInputType(sensor, InputType::Serial);
    ports_.enumeratePorts();
    preselect();
    showing_ = true;
    view_.refreshPages();
}

void PortDialogFlow::preselect() {
    const int s = detection_.currentSensor();
    const std::span<const std::string> present = ports_.presentPorts();
    const bool connected = ports_.portOpen(s) || ports_.linkState(s) == LinkState::Connected;
    port_ = connected ? ports_.portPath(s) : ports_.storedPath(s);
    if (port_.empty())
        port_ = present.empty() ? std::string(DeviceDetection::kNotAvailable) : present.front();
    ratePosition_ = SixRateIndex(ports_.storedRate(s));
}

void PortDialogFlow::setInputType(InputType type) {
    const int s = detection_.currentSensor();
    if (s != kAisPort) type = InputType::Serial;
    if (ports_.inUse(s) || ports_.portOpen(s) || ports_.tcpSwitchedOn() || ports_.udpListening()) {
        return;
    }
    ports_.setInputType(s, type);
    view_.refreshPages();
}

void PortDialogFlow::labelDoubleClicked() {
    if (++labelClicks_ < 6) return;
    labelClicks_ = 0;
    tcpFieldsLocked_ = !tcpFieldsLocked_;
    view_.refreshPages();
}

void PortDialogFlow::connect(const PortDialogInputs& inputs) {
    const int s = detection_.currentSensor();
    if (s == kAisPort && ports_.inputType(s) == InputType::Tcp) {
        ports_.setSendType(InputType::Tcp);
        ToggleTcpLink(ports_, view_, inputs.tcp, false);
    } else if (s == kAisPort && ports_.inputType(s) == InputType::Udp) {
        ToggleUdpInput(ports_, view_, inputs.udp);
    } else {
        ports_.setSendType(InputType::Serial);
        serialConnect(inputs);
    }
    view_.refreshPages();
    view_.refreshStatus();
}

void PortDialogFlow::connectAtStart() {
    detection_.setCurrentSensor(kAisPort);
    ports_.setInputType(kAisPort, InputType::Serial);
    PortDialogInputs inputs;
    inputs.typedPort = ports_.storedPath(kAisPort);
    inputs.ratePosition = SixRateIndex(ports_.storedRate(kAisPort));
    connect(inputs);
}

void PortDialogFlow::serialConnect(const PortDialogInputs& inputs) {
    const int s = detection_.currentSensor();
    ports_.applyPortSettings(s);
    ports_.toggleInUse(s);
    view_.refreshStatus();
    bool connected = false;
    if (ports_.inUse(s)) {
        const std::optional<std::string> path = DevicePathOf(inputs.typedPort);
        const int rate = std::clamp(inputs.ratePosition, 0, kLastRatePosition);
        ports_.closePort(s);
        if (!path || !MayOpenAsPort(*path) || !ports_.openSensorPort(s, *path, rate)) {
            ports_.closePort(s);
            ports_.setInUse(s, false);
            ports_.setScanPhase(s, ScanPhase::Finished);
            ports_.setLinkState(s, LinkState::Idle);
            view_.showMessage(DetectionMessage::PortOpenError);
            return;
        }
        ports_.storeSerial(s, *path, kSixRateOrdinals[static_cast<std::size_t>(rate)]);
        connected = true;
    } else {
        if (s == kAisPort) ports_.setDeviceKind(DeviceKind::None);
        ports_.closePort(s);
    }
    ports_.setScanPhase(s, ScanPhase::NotStarted);
    ports_.setLinkState(s, LinkState::Idle);
    if (connected) {
        ports_.setLinkState(
            s, s == kAisPort ? LinkState::IdentificationPending : LinkState::Connected);
    }
}

void PortDialogFlow::portsChanged(bool removed) {
    HandlePortsChanged(ports_, removed);
    view_.refreshPages();
    view_.refreshStatus();
}

PortDialogState PortDialogFlow::state() const {
    PortDialogState st;
    const int s = detection_.currentSensor();
    const LinkState link = ports_.linkState(s);
    st.sensor = s;
    st.page = s == kAisPort ? ports_.inputType(s) : InputType::Serial;
    st.selectorVisible = s == kAisPort;
    st.detectingVisible = s == kAisPort && link == LinkState::IdentificationPending;
    st.closeEnabled = !st.detectingVisible;
    st.port = port_;
    st.ratePosition = ratePosition_;
    if (st.page == InputType::Serial) {
        st.connectDown = ports_.inUse(s);
        st.inputsEnabled = !st.connectDown && link == LinkState::Idle;
    } else if (st.page == InputType::Udp) {
        st.connectDown = ports_.udpListening();
        st.inputsEnabled = !st.connectDown;
    } else {
        const bool on = ports_.tcpSwitchedOn() || link == LinkState::Connected;
        st.connectDown = on;
        st.inputsEnabled = !on && !ports_.tcpLinkExists();
    }
    st.tcpFieldsEnabled = st.page == InputType::Tcp && st.inputsEnabled && !tcpFieldsLocked_;
    return st;
}

}  // namespace norq::comm
