// The sensor port control as the device detection and the connection flows
// see it (DetectionPorts over TSysSensorControl), and the line hook that hands
// every line of the links to the detection.
//
// Two things are kept here rather than in the control: the detection's own
// queries are sent silently (a probe that finds no device is no error, and
// no other command is silenced while a scan runs), and opening a port while
// scanning does not change the stored settings (the flows store a port and
// rate once a device answered on it).
#pragma once

#include <string>
#include <vector>

#include "comm/DetectionInterfaces.h"
#include "comm/TSysSensorControl.h"

namespace norq::comm {

class DeviceDetection;

class SensorControlPorts final : public DetectionPorts {
  public:
    explicit SensorControlPorts(TSysSensorControl& control) : control_(control) {}

    TSysSensorControl& control() { return control_; }

    LinkState linkState(int sensor) const override { return control_.linkState(sensor); }
    void setLinkState(int sensor, LinkState state) override {
        control_.setLinkState(sensor, state);
    }
    ScanPhase scanPhase(int sensor) const override { return control_.scanPhase(sensor); }
    void setScanPhase(int sensor, ScanPhase phase) override {
        control_.setScanPhase(sensor, phase);
    }
    bool inUse(int sensor) const override { return control_.inUse(sensor); }
    void setInUse(int sensor, bool on) override { control_.setInUse(sensor, on); }
    InputType inputType(int sensor) const override { return control_.inputType(sensor); }
    void setInputType(int sensor, InputType type) override;
    DeviceKind deviceKind() const override { return control_.deviceKind(); }
    void setDeviceKind(DeviceKind kind) override;
    void setAutoMode(bool on) override { scanAutoMode_ = on; }
    bool autoMode() const override { return scanAutoMode_; }

    bool portOpen(int sensor) const override;
    std::string portPath(int sensor) const override;
    bool openSensorPort(int sensor, std::string_view path, int ratePosition) override;
    void closePort(int sensor) override;
    void setPortRate(int sensor, int ratePosition) override;
    void applyPortSettings(int sensor) override;
    void toggleInUse(int sensor) override { control_.ToggleInUse(sensor); }

    std::string storedPath(int sensor) const override { return control_.DevicePath(sensor); }
    int storedRate(int sensor) const override;
    void storeSerial(int sensor, std::string_view path, int rateOrdinal) override;

    void enumeratePorts() override;
    std::span<const std::string> presentPorts() const override { return present_; }
    std::span<const std::string> freePorts() const override { return free_; }
    std::string portDescription(const std::string& path) const override;

    bool sendTestQuery(int code) override;
    bool sendDebugQuery() override;
    bool sendMobQuery() override;
    void setSendType(InputType type) override { control_.setSendType(type); }

    std::array<int, 4> storedTcpAddress() const override;
    int storedTcpPort() const override;
    void storeTcp(const std::array<int, 4>& address, int port) override;
    bool tcpSwitchedOn() const override { return control_.tcpStarted(); }
    void setTcpSwitchedOn(bool on) override { control_.setTcpFlags(on, on); }
    bool tcpLinkExists() const override;
    void connectTcp(bool wizardOwns) override;
    void disconnectTcp() override { control_.DisconnectTcp(); }

    LinkHealth linkHealth(int sensor) const override { return control_.linkHealth(sensor); }
    std::string portOpenReason(int sensor) const override {
        return control_.portOpenErrorReason(sensor);
    }
    UdpChoice storedUdp() const override;
    bool listenUdp(const UdpChoice& choice) override;
    void closeUdp() override { control_.CloseUdp(); }
    bool udpListening() const override;

  private:
    // Runs a send with failures silenced.
    template <typename Send>
    bool quietly(Send send);

    TSysSensorControl& control_;
    bool scanAutoMode_ = false;
    std::vector<std::string> present_;
    std::vector<std::string> free_;
};

// Hands every line of the links to the detection's line hook.
class DetectionLineHook final : public LineHook {
  public:
    explicit DetectionLineHook(DeviceDetection& detection) : detection_(detection) {}
    void onLine(std::string_view lineCrLf, const LineOrigin& origin) override;

  private:
    DeviceDetection& detection_;
};

}  // namespace norq::comm
