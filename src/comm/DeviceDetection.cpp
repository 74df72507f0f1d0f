#include "comm/DeviceDetection.h"

#include <algorithm>
#include <cstdio>

#include "codec/ProductInfoBlock.h"

namespace norq::comm {

namespace {

constexpr std::string_view kProductInfoBegin = "$PKRV,R,TXT,PROD. INFO. BEGIN*79";
constexpr std::string_view kStaticDataBegin = "[STATIC DATA]";
constexpr std::string_view kStaticDataEnd = "[END OF STATIC DATA]";
constexpr std::string_view kDeviceDataEnd = "[DEVICE DATA END]";
constexpr std::string_view kMkd2 = "[MKD]=2";
constexpr std::string_view kMobAnswer = "[Type] = MOB";

bool Contains(std::string_view line, std::string_view what) {
    return line.find(what) != std::string_view::npos;
}

// "KEY=value" (the line may end in CR LF): the value, or nothing.
bool ValueAfter(std::string_view line, std::string_view key, DeviceIdentity::Value& out) {
    if (line.substr(0, key.size()) != key) return false;
    std::string_view value = line.substr(key.size());
    while (!value.empty() && (value.back() == '\r' || value.back() == '\n'))
        value.remove_suffix(1);
    const std::size_t n = std::min(value.size(), DeviceIdentity::kValueLength);
    std::copy_n(value.data(), n, out.data());
    out[n] = '\0';
    return true;
}

void CopyValue(std::string_view value, DeviceIdentity::Value& out) {
    const std::size_t n = std::min(value.size(), DeviceIdentity::kValueLength);
    std::copy_n(value.data(), n, out.data());
    out[n] = '\0';
}

std::string Labelled(const char* label, const DeviceIdentity::Value& value) {
    return std::string(label) + " = " + value.data();
}

}  // namespace

std::string_view DeviceDetection::RateText(int ratePosition) {
    static constexpr std::array<std::string_view, 6> kTexts{"4800",  "9600",  "19200",
                                                            "38400", "57600", "115200"};
    if (ratePosition < 0 || ratePosition > kLastRatePosition) return kTexts[kLastRatePosition];
    return kTexts[static_cast<std::size_t>(ratePosition)];
}

void DeviceDetection::setCurrentSensor(int sensor) {
    if (sensor >= 0 && sensor < kSensorCount) current_ = sensor;
}

void DeviceDetection::setManualPort(std::string_view path, int ratePosition) {
    manualPort_ = std::string(path);
    manualRate_ = std::clamp(ratePosition, 0, kLastRatePosition);
}

void DeviceDetection::resetDetection() {
    scanCount_ = 0;
    gpsWatch_ = false;
    view_->showAutoFields({}, {});
}

bool DeviceDetection::scanning() const {
    return ports_.scanPhase(current_) == ScanPhase::Running;
}

// ---- Line hook --------------------------------------------------------------

bool DeviceDetection::fromPortUnderTest(const LineOrigin& origin) const {
    return origin.link == LinkKind::Serial && origin.sensor == current_ &&
           ports_.portOpen(current_);
}

bool DeviceDetection::mayTouch(int sensor) const {
    // A sensor the user has switched on keeps its own port and state.
    return !ports_.portOpen(sensor) && !ports_.inUse(sensor);
}

void DeviceDetection::startDetection() {
    const int s = current_;
    if (ports_.scanPhase(s) != ScanPhase::NotStarted) return;
    const LinkState link = ports_.linkState(s);
    if (link == LinkState::Idle || link == LinkState::DetectionStarted) {
        resetDetection();
        ports_.setScanPhase(s, ScanPhase::Running);
        ports_.setLinkState(s, LinkState::DetectionStarted);
        scanCount_ = 0;
    }
}

void DeviceDetection::onLine(std::string_view line, const LineOrigin& origin) {
    const int s = current_;
    if (!fromPortUnderTest(origin)) return;
    const ScanPhase phase = ports_.scanPhase(s);
    if (phase == ScanPhase::NotStarted) {
        startDetection();
        return;
    }
    if (gpsWatch_ && s == kAisPort) {
        watchForGnss(line);
        return;
    }
    if (phase != ScanPhase::Running || line.empty()) return;

    if (s == kAisPort) {
        if (Contains(line, "!AI")) {
            ports_.setLinkState(kAisPort, LinkState::DeviceSeen);
        } else if (Contains(line, "$GP")) {
            if (mayTouch(kGpsPort)) ports_.setLinkState(kGpsPort, LinkState::DeviceSeen);
        } else if (Contains(line, kProductInfoBegin) || Contains(line, kStaticDataEnd)) {
            ports_.setLinkState(kAisPort, LinkState::DeviceSeen);
        }
        if (ports_.linkState(kAisPort) == LinkState::DeviceSeen) foundAis();
    } else if (s == kMobPort) {
        if (Contains(line, kMobAnswer)) ports_.setLinkState(kMobPort, LinkState::DeviceSeen);
        if (ports_.linkState(kMobPort) == LinkState::DeviceSeen) foundMob();
    }
}

void DeviceDetection::foundAis() {
    const std::string path = ports_.portPath(kAisPort);
    const int rate = kSixRateOrdinals[static_cast<std::size_t>(ratePosition_)];
    ports_.storeSerial(kAisPort, path, rate);
    view_->addResultLine("Found AIS ... ");
    if (mayTouch(kGpsPort) && ports_.linkState(kGpsPort) == LinkState::DeviceSeen) {
        // The transponder passes its GNSS receiver's sentences on: the GPS
        // sensor is served through the same port.
        ports_.setLinkState(kGpsPort, LinkState::Connected);
        ports_.storeSerial(kGpsPort, path, rate);
        view_->addResultLine("Found GPS ... ");
    }
    view_->addResultLine("");
    // Which of the two spoke first is chance: a GNSS receiver behind the
    // transponder is still found while the transponder identifies itself.
    gpsWatch_ = mayTouch(kGpsPort) && ports_.linkState(kGpsPort) != LinkState::Connected;
    gpsWatchTicks_ = 0;
    finishScan(kAisPort);
}

void DeviceDetection::watchForGnss(std::string_view line) {
    const LinkState link = ports_.linkState(kAisPort);
    if ((link != LinkState::IdentificationPending && link != LinkState::Connected) ||
        !mayTouch(kGpsPort)) {
        gpsWatch_ = false;
        return;
    }
    if (!Contains(line, "$GP")) return;
    gpsWatch_ = false;
    ports_.setLinkState(kGpsPort, LinkState::Connected);
    ports_.storeSerial(kGpsPort, ports_.portPath(kAisPort), ports_.storedRate(kAisPort));
    view_->addResultLine("Found GPS ... ");
    view_->addResultLine("");
    view_->refreshStatus();
}

void DeviceDetection::foundMob() {
    const std::string path = ports_.portPath(kMobPort);
    const int rate = kSixRateOrdinals[static_cast<std::size_t>(ratePosition_)];
    ports_.storeSerial(kMobPort, path, rate);
    view_->addResultLine("Found MOB ... ");
    if (mayTouch(kGpsPort) && ports_.linkState(kGpsPort) == LinkState::DeviceSeen) {
        ports_.setLinkState(kGpsPort, LinkState::Connected);
        ports_.storeSerial(kGpsPort, path, rate);
        view_->addResultLine("Found GPS ... ");
    }
    view_->addResultLine("");
    finishScan(kMobPort);
}

void DeviceDetection::finishScan(int sensor) {
    view_->showResultList();
    scanCount_ = 0;
    ports_.setLinkState(
        sensor, sensor == kAisPort ? LinkState::IdentificationPending : LinkState::Connected);
    ports_.setScanPhase(sensor, ScanPhase::Finished);
    // The scan is over: later failed commands report again.
    ports_.setAutoMode(false);
    view_->setScanTimer(false);
    view_->refreshPages();
    view_->refreshStatus();
}

// ---- Scan -------------------------------------------------------------------

void DeviceDetection::scanTick() {
    const int s = current_;
    const ScanPhase phase = ports_.scanPhase(s);
    const LinkState link = ports_.linkState(s);
    if (phase == ScanPhase::NotStarted &&
        (link == LinkState::Idle || link == LinkState::DetectionStarted)) {
        if (owner_ != nullptr) owner_->switchOff(false);
        ports_.setScanPhase(s, ScanPhase::Finished);
        ports_.setLinkState(s, LinkState::Idle);
    } else if (phase == ScanPhase::Running) {
        if (autoScan_) {
            scanAuto(scanCount_);
        } else {
            scanManual(scanCount_);
        }
    }
    ++scanCount_;
}

void DeviceDetection::scanAuto(int count) {
    if (count == 0) {
        const std::size_t free = ports_.freePorts().size();
        scanLimit_ =
            free == 0 ? kManualLimit : static_cast<int>(free) * kTicksPerPort + kExtraTicks;
        if (free == 0) {
            failScan(DetectionMessage::NoSerialPortExist);
            return;
        }
    }
    if (count > scanLimit_) {
        failScan(DetectionMessage::AutoDetectTimeOut);
        return;
    }
    if (ports_.linkState(current_) == LinkState::Connected) return;
    const std::span<const std::string> free = ports_.freePorts();
    if (count == 0) {
        const auto it = std::find(free.begin(), free.end(), ports_.storedPath(current_));
        portCursor_ = it == free.end() ? 0 : static_cast<std::size_t>(it - free.begin());
        view_->selectScanPort(static_cast<int>(portCursor_));
        rateCursor_ = SixRateIndex(ports_.storedRate(current_));
    }
    if (count % 4 == 0) {
        view_->selectScanRate(rateCursor_);
        ports_.setPortRate(current_, rateCursor_);
        ratePosition_ = rateCursor_;
        if (rateCursor_ == kLastRatePosition || count == 0) advancePort();
        showPort(portUnderTest_, ratePosition_);
        sendProbes();
        rateCursor_ = rateCursor_ == 0 ? kLastRatePosition : rateCursor_ - 1;
    }
    if (count % 4 == 3) sendProbes();
}

void DeviceDetection::advancePort() {
    const std::span<const std::string> free = ports_.freePorts();
    if (free.empty()) return;
    if (portCursor_ >= free.size()) portCursor_ = 0;
    // A GNSS receiver seen on the port left behind is not on the next one.
    if (mayTouch(kGpsPort) && ports_.linkState(kGpsPort) == LinkState::DeviceSeen) {
        ports_.setLinkState(kGpsPort, LinkState::Idle);
    }
    ports_.closePort(current_);
    portUnderTest_ = free[portCursor_];
    ports_.openSensorPort(current_, portUnderTest_, -1);
    view_->selectScanPort(static_cast<int>(portCursor_));
    ++portCursor_;
}

void DeviceDetection::scanManual(int count) {
    if (count == 0) {
        scanLimit_ = kManualLimit;
        ports_.closePort(current_);
        portUnderTest_ = manualPort_;
        ratePosition_ = manualRate_;
        if (!ports_.openSensorPort(current_, manualPort_, manualRate_)) {
            failScan(DetectionMessage::PortOpenError);
            return;
        }
    }
    if (count > scanLimit_) {
        failScan(DetectionMessage::ManualConnectTimeOut);
    } else if (count % 4 == 0) {
        sendProbes();
    }
}

void DeviceDetection::sendProbes() {
    if (current_ == kAisPort) {
        ports_.sendTestQuery(kProbeCode);
    } else if (current_ == kMobPort) {
        ports_.sendMobQuery();
    }
    ports_.sendDebugQuery();
}

void DeviceDetection::showPort(std::string_view path, int ratePosition) {
    view_->showAutoFields(path.empty() ? kNotAvailable : path, RateText(ratePosition));
}

void DeviceDetection::failScan(DetectionMessage message) {
    const int s = current_;
    // The timers stop before the message box, whose own event loop would
    // otherwise run further scan steps behind it.
    view_->setScanTimer(false);
    ports_.setAutoMode(false);
    ports_.setScanPhase(s, ScanPhase::Finished);
    ports_.setLinkState(s, LinkState::Idle);
    if (mayTouch(kGpsPort) && ports_.linkState(kGpsPort) == LinkState::DeviceSeen) {
        ports_.setLinkState(kGpsPort, LinkState::Idle);
    }
    view_->showMessage(message);
    // The port last tried is closed and switched off.
    if (owner_ != nullptr) {
        owner_->switchOff(true);
    } else {
        ports_.closePort(s);
        ports_.setInUse(s, false);
        view_->setAnimationTimer(false);
    }
    ports_.setScanPhase(s, ScanPhase::Finished);
    ports_.setLinkState(s, LinkState::Idle);
    view_->refreshStatus();
}

// ---- Identification ---------------------------------------------------------

bool DeviceDetection::waitingForIdentification() const {
    const LinkState link = ports_.linkState(kAisPort);
    if (link == LinkState::IdentificationPending) return true;
    // A static-data device goes on to name its kind after it has connected.
    return link == LinkState::Connected && seen_ && (!endSeen_ || collectingStatic_);
}

void DeviceDetection::restartIfNewConnection() {
    // An identification connects the link at once: a device seen before and a
    // pending link again is a new connection, identified anew.
    if (!seen_ || ports_.linkState(kAisPort) != LinkState::IdentificationPending) return;
    seen_ = false;
    endSeen_ = true;
    collectingStatic_ = false;
    idTicks_ = 0;
}

void DeviceDetection::onIdentificationLine(std::string_view line) {
    restartIfNewConnection();
    bool identifiedNow = false;
    if (!seen_) {
        if (Contains(line, kStaticDataBegin)) {
            seen_ = true;
            endSeen_ = false;
            collectingStatic_ = true;
            endMarkerTicks_ = 0;
            identity_.clear();
            ports_.setDeviceKind(DeviceKind::StaticData);
            identifiedNow = true;
        } else if (Contains(line, kProductInfoBegin)) {
            seen_ = true;
            ports_.setDeviceKind(DeviceKind::ProductInfo);
            identifiedNow = true;
        }
    } else if (collectingStatic_) {
        keepStaticDataLine(line);
    }
    if (!endSeen_) {
        if (Contains(line, kDeviceDataEnd)) {
            endSeen_ = true;
            view_->addResultLine("DEVICE KIND = STATIC DATA");
            view_->addResultLine("");
        } else if (Contains(line, kMkd2)) {
            endSeen_ = true;
            ports_.setDeviceKind(DeviceKind::Mkd2);
            view_->addResultLine("DEVICE KIND = MKD-2");
            view_->addResultLine("");
            view_->reloadLanguage();
        }
    }
    if (identifiedNow) {
        // The identification always concerns the AIS sensor.
        ports_.setLinkState(kAisPort, LinkState::Connected);
        view_->refreshPages();
        view_->refreshStatus();
    }
}

void DeviceDetection::keepStaticDataLine(std::string_view line) {
    if (Contains(line, kStaticDataEnd)) {
        collectingStatic_ = false;
        showIdentity(DeviceKind::StaticData);
        return;
    }
    ValueAfter(line, "MODEL=", identity_.model) || ValueAfter(line, "SERIAL=", identity_.serial) ||
        ValueAfter(line, "FIRMWARE=", identity_.firmware) ||
        ValueAfter(line, "MMSI=", identity_.mmsi) || ValueAfter(line, "NAME=", identity_.name);
}

void DeviceDetection::showIdentity(DeviceKind kind) {
    view_->showResultList();
    view_->addResultLine("Found AIS ...");
    view_->addResultLine("");
    view_->addResultLine(Labelled("MODEL NO.", identity_.model));
    view_->addResultLine(Labelled("SERIAL NO.", identity_.serial));
    view_->addResultLine(Labelled("FIRMWARE", identity_.firmware));
    if (kind == DeviceKind::StaticData) {
        view_->addResultLine(Labelled("MMSI", identity_.mmsi));
        view_->addResultLine(Labelled("NAME", identity_.name));
    }
    view_->addResultLine("");
}

void DeviceDetection::onProductInfo(const codec::ProductInfoBlock& block) {
    identity_.clear();
    CopyValue(block.modelNumber(), identity_.model);
    CopyValue(block.serialNumber(), identity_.serial);
    CopyValue(block.firmware(), identity_.firmware);
    showIdentity(DeviceKind::ProductInfo);
}

void DeviceDetection::identificationTick() {
    // The GNSS receiver behind a transponder just found has a few ticks to speak.
    if (gpsWatch_ && ++gpsWatchTicks_ > kGpsWatchTicks) gpsWatch_ = false;
    const LinkState link = ports_.linkState(kAisPort);
    if (link == LinkState::IdentificationPending) {
        restartIfNewConnection();
        if (!seen_ && idTicks_ < kIdentificationTicks) {
            ++idTicks_;
            if (idTicks_ < kIdentificationTicks) {
                ports_.sendTestQuery(kIdentifyCode);
                ports_.sendDebugQuery();
            }
        }
        if (!seen_ && idTicks_ >= kIdentificationTicks) endIdentification();
        return;
    }
    if (link == LinkState::Connected && seen_ && !endSeen_ && ++endMarkerTicks_ < kEndMarkerTicks) {
        return;  // still listening for the device's kind
    }
    seen_ = false;
    endSeen_ = true;
    collectingStatic_ = false;
    idTicks_ = 0;
}

void DeviceDetection::endIdentification() {
    // No answer: the link is connected with the device kind as it was.
    ports_.setLinkState(kAisPort, LinkState::Connected);
    view_->refreshStatus();
    view_->refreshPages();
}

}  // namespace norq::comm
