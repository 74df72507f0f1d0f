#include "comm/WizardFlow.h"

#include <algorithm>

namespace norq::comm {

WizardFlow::WizardFlow(DetectionPorts& ports, DeviceDetection& detection, DetectionView& view)
    : ports_(ports), detection_(detection), view_(view) {}

bool WizardFlow::sensorBusy(int sensor) const {
    return ports_.inUse(sensor) || ports_.portOpen(sensor) ||
           ports_.linkState(sensor) == LinkState::Connected;
}

// ---- Pages ------------------------------------------------------------------

void WizardFlow::show() {
    showing_ = true;
    setUpSensorPage(kAisPort);
}

void WizardFlow::next() {
    setUpSensorPage(kMobPort);
}

void WizardFlow::setUpSensorPage(int sensor) {
    detection_.setCurrentSensor(sensor);
    ports_.enumeratePorts();
    if (ports_.inputType(sensor) != InputType::Serial && sensor == kAisPort) {
        setUpTcpPage();
    } else {
        setUpSerialPage();
    }
    view_.refreshPages();
}

void WizardFlow::setUpSerialPage() {
    const int s = detection_.currentSensor();
    if (sensorBusy(s)) {
        // A port in use keeps its connection: the Auto fields show it.
        view_.showAutoFields(ports_.portPath(s),
                             DeviceDetection::RateText(SixRateIndex(ports_.storedRate(s))));
        autoMode_ = false;
        status_ = ports_.linkState(s) == LinkState::Connected ? WizardStatus::Connected
                                                              : WizardStatus::Connecting;
    } else {
        detection_.resetDetection();
        ports_.setInputType(s, InputType::Serial);
        ports_.setScanPhase(s, ScanPhase::Finished);
        ports_.setLinkState(s, LinkState::Idle);
        view_.setScanTimer(false);
        view_.setAnimationTimer(false);
        status_ = WizardStatus::Disconnect;
        autoMode_ = false;
        frame_ = 0;
    }
    detection_.setAutoScan(autoMode_);
    notes_ = {WizardNote::AutoManualConnect, WizardNote::ManualConnect,
              WizardNote::ManualConnectNote, WizardNote::None};
    if (autoMode_) {
        notes_[1] = WizardNote::AutoConnect;
        notes_[2] = WizardNote::AutoConnectNote1;
        notes_[3] = WizardNote::AutoConnectNote2;
    }
}

void WizardFlow::setUpTcpPage() {
    const int s = detection_.currentSensor();
    const bool udp = ports_.inputType(s) == InputType::Udp;
    notes_ = {WizardNote::TcpConnect1, udp ? WizardNote::UdpConnect : WizardNote::TcpConnect2,
              WizardNote::None, WizardNote::None};
    status_ = ports_.linkState(s) == LinkState::Connected ? WizardStatus::Connected
              : ports_.tcpSwitchedOn()                    ? WizardStatus::Connecting
                                                          : WizardStatus::Disconnect;
    frame_ = status_ == WizardStatus::Connected ? kConnectedFrame : 0;
}

void WizardFlow::setAutoMode(bool on) {
    if (sensorBusy(detection_.currentSensor())) return;  // the inputs are disabled
    autoMode_ = on;
    detection_.setAutoScan(on);
    notes_[0] = WizardNote::AutoManualConnect;
    if (on) {
        notes_[1] = WizardNote::AutoConnect;
        notes_[2] = WizardNote::AutoConnectNote2;
        view_.showAutoFields({}, {});
    } else {
        notes_[1] = WizardNote::ManualConnect;
        notes_[2] = WizardNote::ManualConnectNote;
        notes_[3] = WizardNote::None;
    }
    view_.refreshPages();
}

void WizardFlow::setInputType(InputType type) {
    const int s = detection_.currentSensor();
    if (s != kAisPort) type = InputType::Serial;  // the GPS and MOB ports are serial only
    if (sensorBusy(s) || ports_.tcpSwitchedOn() || ports_.udpListening()) return;
    ports_.setInputType(s, type);
    if (type != InputType::Serial) {
        setUpTcpPage();
    } else {
        setUpSerialPage();
    }
    view_.refreshPages();
}

void WizardFlow::labelDoubleClicked() {
    if (++labelClicks_ < kUnlockClicks) return;
    labelClicks_ = 0;
    tcpFieldsUnlocked_ = !tcpFieldsUnlocked_;
    view_.refreshPages();
}

WizardState WizardFlow::state() const {
    WizardState st;
    const int s = detection_.currentSensor();
    const LinkState link = ports_.linkState(s);
    st.sensor = s;
    st.page = s == kAisPort ? ports_.inputType(s) : InputType::Serial;
    st.autoMode = autoMode_;
    st.status = status_;
    st.firstBlinkColour = blinkCounter_ > 2;
    st.imageFrame = frame_;
    st.notes = notes_;
    st.detectingVisible = s == kAisPort && link == LinkState::IdentificationPending;
    st.closeEnabled = !st.detectingVisible;
    st.nextVisible = false;  // no MOB page in the shipped configuration
    st.nextEnabled = link == LinkState::Idle || link == LinkState::Connected;
    if (st.page == InputType::Serial) {
        st.connectDown = ports_.inUse(s);
        st.inputsEnabled = !st.connectDown;
        st.selectorEnabled = !st.connectDown && s == kAisPort;
    } else if (st.page == InputType::Udp) {
        st.connectDown = ports_.udpListening();
        st.inputsEnabled = !st.connectDown;
        st.selectorEnabled = st.inputsEnabled;
    } else {
        const bool on = ports_.tcpSwitchedOn() || link == LinkState::Connected;
        st.connectDown = on;
        st.inputsEnabled = !on && !ports_.tcpLinkExists();
        st.selectorEnabled = st.inputsEnabled;
    }
    // Six double clicks on the port label lock (or unlock again) the address.
    st.tcpFieldsEnabled = st.page == InputType::Tcp && st.inputsEnabled && !tcpFieldsUnlocked_;
    return st;
}

// ---- Connect ----------------------------------------------------------------

void WizardFlow::connect(const WizardInputs& inputs) {
    inputs_ = inputs;
    const int s = detection_.currentSensor();
    if (s == kAisPort && ports_.inputType(s) == InputType::Tcp) {
        ports_.setSendType(InputType::Tcp);
        tcpFlow(inputs.tcp);
    } else if (s == kAisPort && ports_.inputType(s) == InputType::Udp) {
        udpFlow(inputs.udp);
    } else {
        ports_.setSendType(InputType::Serial);
        serialFlow(false);
    }
    view_.refreshPages();
    view_.refreshStatus();
}

void WizardFlow::switchOff(bool byTimeOut) {
    if (ports_.inUse(detection_.currentSensor())) serialFlow(byTimeOut);
    view_.refreshPages();
}

void WizardFlow::serialFlow(bool byTimeOut) {
    const int s = detection_.currentSensor();
    // A failed scan leaves the last port tried in the Auto fields.
    if (!byTimeOut) detection_.resetDetection();
    ports_.applyPortSettings(s);
    ports_.toggleInUse(s);
    view_.refreshStatus();
    ports_.setScanPhase(s, ScanPhase::NotStarted);
    ports_.setLinkState(s, LinkState::Idle);
    if (s == kGpsPort) return;
    if (!ports_.inUse(s)) {
        switchedOff(byTimeOut);
        return;
    }
    const bool started = autoMode_ ? startAutoScan() : connectManually();
    if (!started && ports_.inUse(s)) giveUp();
}

bool WizardFlow::startAutoScan() {
    const int s = detection_.currentSensor();
    ports_.setAutoMode(true);
    ports_.enumeratePorts();
    view_.refreshPages();
    detection_.setAutoScan(true);
    detection_.startDetection();
    const std::span<const std::string> free = ports_.freePorts();
    view_.showAutoFields(free.empty() ? DeviceDetection::kNotAvailable : free.front(),
                         DeviceDetection::RateText(kLastRatePosition));
    view_.addResultLine(s == kAisPort ? "Detecting AIS ... " : "Detecting MOB ... ");
    status_ = WizardStatus::Connecting;
    // The first step at once; a scan that fails at once has already switched
    // the port off again.
    detection_.scanTick();
    if (!ports_.inUse(s)) return true;
    if (detection_.scanning()) view_.setScanTimer(true);
    view_.setAnimationTimer(true);
    return true;
}

bool WizardFlow::connectManually() {
    const int s = detection_.currentSensor();
    ports_.enumeratePorts();
    view_.refreshPages();
    const std::optional<std::string> path = DevicePathOf(inputs_.typedPort);
    if (!path || !MayOpenAsPort(*path)) {
        view_.showMessage(DetectionMessage::PortOpenError);
        return false;
    }
    // A port that is there but not free is opened only when the user insists;
    // one that is not there fails below and says so.
    const std::span<const std::string> free = ports_.freePorts();
    if (IsCharacterDevice(*path) && std::find(free.begin(), free.end(), *path) == free.end() &&
        !view_.showMessage(DetectionMessage::CheckPortError)) {
        return false;
    }
    const int rate = std::clamp(inputs_.ratePosition, 0, kLastRatePosition);
    ports_.closePort(s);
    if (!ports_.openSensorPort(s, *path, rate)) {
        ports_.setInUse(s, false);
        ports_.setScanPhase(s, ScanPhase::Finished);
        ports_.setLinkState(s, LinkState::Idle);
        view_.showMessage(DetectionMessage::PortOpenError);
        return false;
    }
    ports_.setInUse(s, true);
    ports_.storeSerial(s, *path, kSixRateOrdinals[static_cast<std::size_t>(rate)]);
    if (s == kAisPort) {
        ports_.setLinkState(s, LinkState::IdentificationPending);
        view_.addResultLine("AIS Connected");
        // The connecting animation runs until the device has identified itself.
        status_ = WizardStatus::Connecting;
        view_.setAnimationTimer(true);
    } else {
        ports_.setLinkState(s, LinkState::Connected);
        view_.addResultLine("MOB Connected");
        status_ = WizardStatus::Connected;
    }
    return true;
}

// The port could not be switched on: back to idle with the button up.
void WizardFlow::giveUp() {
    const int s = detection_.currentSensor();
    ports_.closePort(s);
    ports_.setInUse(s, false);
    ports_.setAutoMode(false);
    ports_.setScanPhase(s, ScanPhase::Finished);
    ports_.setLinkState(s, LinkState::Idle);
    status_ = WizardStatus::Disconnect;
}

void WizardFlow::switchedOff(bool byTimeOut) {
    const int s = detection_.currentSensor();
    if (s == kAisPort) ports_.setDeviceKind(DeviceKind::None);
    ports_.setAutoMode(false);
    autoMode_ = false;
    detection_.setAutoScan(false);
    notes_ = {WizardNote::AutoManualConnect, WizardNote::ManualConnect,
              WizardNote::ManualConnectNote, WizardNote::None};
    view_.setScanTimer(false);
    view_.setAnimationTimer(false);
    status_ = WizardStatus::Disconnect;
    frame_ = 0;
    if (byTimeOut) {
        view_.addResultLine(s == kAisPort ? "Fail to connect AIS " : "Fail to connect MOB");
    } else {
        view_.addResultLine(s == kAisPort ? "AIS Disconnected" : "MOB Disconnected");
    }
    view_.addResultLine("");
    ports_.setScanPhase(s, ScanPhase::Finished);
}

void WizardFlow::tcpFlow(const TcpFields& fields) {
    switch (ToggleTcpLink(ports_, view_, fields, true)) {
        case NetworkToggle::Started:
            status_ = WizardStatus::Connecting;
            view_.setAnimationTimer(true);
            break;
        case NetworkToggle::Stopped:
            status_ = WizardStatus::Disconnect;
            frame_ = 0;
            view_.setAnimationTimer(false);
            break;
        case NetworkToggle::Nothing:
        case NetworkToggle::Refused:
            break;
    }
}

void WizardFlow::udpFlow(const UdpFields& fields) {
    switch (ToggleUdpInput(ports_, view_, fields)) {
        case NetworkToggle::Started:
            status_ = WizardStatus::Connected;
            frame_ = kConnectedFrame;
            view_.addResultLine("AIS Connected");
            view_.addResultLine("");
            break;
        case NetworkToggle::Stopped:
            status_ = WizardStatus::Disconnect;
            frame_ = 0;
            view_.addResultLine("AIS Disconnected");
            view_.addResultLine("");
            break;
        case NetworkToggle::Nothing:
        case NetworkToggle::Refused:
            break;
    }
}

void WizardFlow::onTcpDisconnected() {
    if (ports_.inputType(kAisPort) != InputType::Tcp) return;
    status_ = WizardStatus::Disconnect;
    frame_ = 0;
    view_.refreshPages();
}

// ---- Close, animation, ports ------------------------------------------------

void WizardFlow::close() {
    const int s = detection_.currentSensor();
    if (ports_.inputType(s) == InputType::Serial && autoMode_ && detection_.scanning()) {
        serialFlow(true);
    }
    if (ports_.scanPhase(s) != ScanPhase::Finished) ports_.setScanPhase(s, ScanPhase::Finished);
    showing_ = false;
    view_.setScanTimer(false);
    view_.setAnimationTimer(false);
    view_.refreshStatus();
}

void WizardFlow::animationTick() {
    const int s = detection_.currentSensor();
    const LinkState link = ports_.linkState(s);
    const bool serial = ports_.inputType(s) == InputType::Serial;
    const bool tcpActive = !serial && link != LinkState::Idle && link != LinkState::Connected;
    if ((serial || tcpActive) && link != LinkState::Connected && ports_.inUse(s)) {
        status_ = WizardStatus::Connecting;
        blinkCounter_ = (blinkCounter_ + 1) % 8;
        if (frame_ < kFirstFrame || frame_ > kLastFrame) {
            frame_ = kFirstFrame;
            frameStep_ = 1;
        } else {
            if (frame_ + frameStep_ > kLastFrame || frame_ + frameStep_ < kFirstFrame) {
                frameStep_ = -frameStep_;
            }
            frame_ += frameStep_;
        }
        view_.refreshPages();
        return;
    }
    if (link == LinkState::Connected) {
        status_ = WizardStatus::Connected;
        frame_ = kConnectedFrame;
    } else {
        // A network link that ended (refused, dropped) or a port switched off.
        status_ = WizardStatus::Disconnect;
        frame_ = 0;
    }
    view_.setScanTimer(false);
    view_.setAnimationTimer(false);
    view_.refreshPages();
}

void WizardFlow::portsChanged(bool removed) {
    const int s = detection_.currentSensor();
    const bool wasOn = ports_.inUse(s);
    const unsigned off = HandlePortsChanged(ports_, removed);
    if (wasOn && (off & (1u << s)) != 0 && s != kGpsPort) switchedOff(false);
    view_.refreshPages();
    view_.refreshStatus();
}

}  // namespace norq::comm
