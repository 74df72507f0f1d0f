// Recording fakes of the sensor port control and of the windows, for the
// device detection's and the connection flows' tests.
#pragma once

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <vector>

#include "comm/DetectionInterfaces.h"

namespace norq::comm::test {

class FakePorts : public DetectionPorts {
  public:
    struct Sensor {
        LinkState link = LinkState::Idle;
        ScanPhase phase = ScanPhase::Finished;
        bool inUse = false;
        InputType input = InputType::Serial;
        bool open = false;
        std::string path;
        int ratePosition = kLastRatePosition;
        std::string storedPath;
        int storedRate = 9;
    };

    std::array<Sensor, kSensorCount> sensors{};
    DeviceKind kind = DeviceKind::None;
    bool autoModeOn = false;
    InputType sendType = InputType::Serial;
    std::vector<std::string> present;
    std::vector<std::string> free;
    std::set<std::string> openable;  // paths that open
    std::vector<std::string> sent;   // "TST16", "DBG", "MOB"
    std::vector<std::string> opens;  // "path@rate" of every open
    int enumerations = 0;
    std::array<int, 4> tcpAddress{192, 168, 2, 1};
    int tcpPort = 3333;
    bool tcpOn = false;
    bool tcpThread = false;
    int tcpConnects = 0;
    int tcpDisconnects = 0;

    Sensor& at(int s) { return sensors[static_cast<std::size_t>(s)]; }
    const Sensor& at(int s) const { return sensors[static_cast<std::size_t>(s)]; }

    LinkState linkState(int s) const override { return at(s).link; }
    void setLinkState(int s, LinkState state) override { at(s).link = state; }
    ScanPhase scanPhase(int s) const override { return at(s).phase; }
    void setScanPhase(int s, ScanPhase phase) override { at(s).phase = phase; }
    bool inUse(int s) const override { return at(s).inUse; }
    void setInUse(int s, bool on) override { at(s).inUse = on; }
    InputType inputType(int s) const override { return at(s).input; }
    void setInputType(int s, InputType type) override { at(s).input = type; }
    DeviceKind deviceKind() const override { return kind; }
    void setDeviceKind(DeviceKind k) override { kind = k; }
    void setAutoMode(bool on) override { autoModeOn = on; }
    bool autoMode() const override { return autoModeOn; }
    bool portOpen(int s) const override { return at(s).open; }
    std::string portPath(int s) const override { return at(s).path; }
    bool openSensorPort(int s, std::string_view path, int ratePosition) override {
        if (at(s).open) return true;
        if (ratePosition >= 0) at(s).ratePosition = ratePosition;
        at(s).path = std::string(path);
        opens.push_back(at(s).path + "@" +
                        std::to_string(kSixRates[static_cast<std::size_t>(at(s).ratePosition)]));
        at(s).open = openable.count(at(s).path) > 0;
        return at(s).open;
    }
    void closePort(int s) override { at(s).open = false; }
    void setPortRate(int s, int ratePosition) override { at(s).ratePosition = ratePosition; }
    void applyPortSettings(int s) override {
        if (!at(s).open) at(s).ratePosition = SixRateIndex(at(s).storedRate);
    }
    void toggleInUse(int s) override {
        at(s).inUse = !(at(s).inUse || at(s).open);
        if (!at(s).inUse && at(s).open) at(s).open = false;
    }
    std::string storedPath(int s) const override { return at(s).storedPath; }
    int storedRate(int s) const override { return at(s).storedRate; }
    void storeSerial(int s, std::string_view path, int rate) override {
        at(s).storedPath = std::string(path);
        at(s).storedRate = rate;
    }
    void enumeratePorts() override { ++enumerations; }
    std::span<const std::string> presentPorts() const override { return present; }
    std::span<const std::string> freePorts() const override { return free; }
    std::string portDescription(const std::string& path) const override {
        return path == "/dev/ttyUSB0" ? "FT232R USB UART" : std::string();
    }
    bool sendTestQuery(int code) override {
        sent.push_back("TST" + std::to_string(code));
        return at(kAisPort).open;
    }
    bool sendDebugQuery() override {
        sent.push_back("DBG");
        return at(kAisPort).open;
    }
    bool sendMobQuery() override {
        sent.push_back("MOB");
        return at(kMobPort).open;
    }
    void setSendType(InputType type) override { sendType = type; }
    std::array<int, 4> storedTcpAddress() const override { return tcpAddress; }
    int storedTcpPort() const override { return tcpPort; }
    void storeTcp(const std::array<int, 4>& address, int port) override {
        tcpAddress = address;
        tcpPort = port;
    }
    bool tcpSwitchedOn() const override { return tcpOn; }
    void setTcpSwitchedOn(bool on) override { tcpOn = on; }
    bool tcpLinkExists() const override { return tcpThread; }
    void connectTcp(bool) override {
        ++tcpConnects;
        tcpThread = true;
    }
    void disconnectTcp() override {
        ++tcpDisconnects;
        tcpThread = false;
    }
    UdpChoice udp;
    bool udpOn = false;
    bool udpBindable = true;
    UdpChoice storedUdp() const override { return udp; }
    bool listenUdp(const UdpChoice& choice) override {
        udp = choice;
        udpOn = udpBindable;
        return udpOn;
    }
    void closeUdp() override { udpOn = false; }
    bool udpListening() const override { return udpOn; }
};

class FakeView : public DetectionView {
  public:
    std::vector<DetectionMessage> messages;
    std::vector<std::string> results;
    std::string autoPort, autoRate;
    bool answer = true;  // the answer to OK/Cancel questions
    bool scanTimer = false;
    bool animationTimer = false;
    bool resultsShown = false;
    int refreshes = 0;
    int languageReloads = 0;

    bool showMessage(DetectionMessage m) override {
        messages.push_back(m);
        return answer;
    }
    void addResultLine(std::string_view line) override { results.emplace_back(line); }
    void showResultList() override { resultsShown = true; }
    void showAutoFields(std::string_view port, std::string_view rate) override {
        autoPort = std::string(port);
        autoRate = std::string(rate);
    }
    void selectScanPort(int) override {}
    void selectScanRate(int) override {}
    void setScanTimer(bool on) override { scanTimer = on; }
    void setAnimationTimer(bool on) override { animationTimer = on; }
    void refreshPages() override { ++refreshes; }
    void refreshStatus() override {}
    void reloadLanguage() override { ++languageReloads; }

    bool hasResult(std::string_view line) const {
        return std::find(results.begin(), results.end(), line) != results.end();
    }
};

}  // namespace norq::comm::test
