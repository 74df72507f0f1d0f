// Feeds arbitrary device output through the device detection: the scan's line
// hook and the AIS identification, with scan and identification ticks between
// the lines (the first byte of each line chooses what happens).
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "comm/DeviceDetection.h"

namespace {

using namespace norq::comm;

// A sensor port control whose ports always open and whose sends always fail.
class Ports final : public DetectionPorts {
  public:
    struct S {
        LinkState link = LinkState::Idle;
        ScanPhase phase = ScanPhase::Finished;
        bool inUse = false;
        bool open = false;
        InputType input = InputType::Serial;
        std::string path;
        std::string stored;
        int rate = 9;
    };
    std::array<S, kSensorCount> s{};
    DeviceKind kind = DeviceKind::None;
    bool autoOn = false;
    std::vector<std::string> free{"/dev/a", "/dev/b"};

    LinkState linkState(int i) const override { return s[i].link; }
    void setLinkState(int i, LinkState v) override { s[i].link = v; }
    ScanPhase scanPhase(int i) const override { return s[i].phase; }
    void setScanPhase(int i, ScanPhase v) override { s[i].phase = v; }
    bool inUse(int i) const override { return s[i].inUse; }
    void setInUse(int i, bool v) override { s[i].inUse = v; }
    InputType inputType(int i) const override { return s[i].input; }
    void setInputType(int i, InputType v) override { s[i].input = v; }
    DeviceKind deviceKind() const override { return kind; }
    void setDeviceKind(DeviceKind k) override { kind = k; }
    void setAutoMode(bool on) override { autoOn = on; }
    bool autoMode() const override { return autoOn; }
    bool portOpen(int i) const override { return s[i].open; }
    std::string portPath(int i) const override { return s[i].path; }
    bool openSensorPort(int i, std::string_view path, int) override {
        s[i].path = std::string(path);
        s[i].open = true;
        return true;
    }
    void closePort(int i) override { s[i].open = false; }
    void setPortRate(int, int) override {}
    void applyPortSettings(int) override {}
    void toggleInUse(int i) override {
        s[i].inUse = !(s[i].inUse || s[i].open);
        if (!s[i].inUse) s[i].open = false;
    }
    std::string storedPath(int i) const override { return s[i].stored; }
    int storedRate(int i) const override { return s[i].rate; }
    void storeSerial(int i, std::string_view path, int rate) override {
        s[i].stored = std::string(path);
        s[i].rate = rate;
    }
    void enumeratePorts() override {}
    std::span<const std::string> presentPorts() const override { return free; }
    std::span<const std::string> freePorts() const override { return free; }
    bool sendTestQuery(int) override { return false; }
    bool sendDebugQuery() override { return false; }
    bool sendMobQuery() override { return false; }
    void setSendType(InputType) override {}
    std::array<int, 4> storedTcpAddress() const override { return {192, 168, 2, 1}; }
    int storedTcpPort() const override { return 3333; }
    void storeTcp(const std::array<int, 4>&, int) override {}
    bool tcpSwitchedOn() const override { return false; }
    void setTcpSwitchedOn(bool) override {}
    bool tcpLinkExists() const override { return false; }
    void connectTcp(bool) override {}
    void disconnectTcp() override {}
    UdpChoice storedUdp() const override { return {}; }
    bool listenUdp(const UdpChoice&) override { return false; }
    void closeUdp() override {}
    bool udpListening() const override { return false; }
};

class View final : public DetectionView {
  public:
    bool showMessage(DetectionMessage) override { return true; }
    void addResultLine(std::string_view line) override { lines += line.size(); }
    void showResultList() override {}
    void showAutoFields(std::string_view, std::string_view) override {}
    void selectScanPort(int) override {}
    void selectScanRate(int) override {}
    void setScanTimer(bool) override {}
    void setAnimationTimer(bool) override {}
    void refreshPages() override {}
    void refreshStatus() override {}
    void reloadLanguage() override {}
    std::size_t lines = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Ports ports;
    View view;
    DeviceDetection detection(ports, view);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        const std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        if (line.empty()) continue;
        const unsigned choice = static_cast<unsigned char>(line[0]);
        switch (choice % 8) {
            case 0:  // a new auto scan on the AIS or the MOB sensor
                detection.setCurrentSensor((choice >> 3) % 2 == 0 ? kAisPort : kMobPort);
                detection.setAutoScan(true);
                ports.setScanPhase(detection.currentSensor(), ScanPhase::NotStarted);
                ports.setLinkState(detection.currentSensor(), LinkState::Idle);
                ports.s[static_cast<std::size_t>(detection.currentSensor())].open = true;
                detection.startDetection();
                break;
            case 1:
                detection.scanTick();
                break;
            case 2:
                detection.identificationTick();
                break;
            case 3:  // the AIS link opened for identification
                ports.setLinkState(kAisPort, LinkState::IdentificationPending);
                break;
            default: {
                const std::string text = std::string(line.substr(1)) + "\r\n";
                detection.onLine(text, {static_cast<int>(choice % 3), LinkKind::Serial});
                if (detection.waitingForIdentification()) detection.onIdentificationLine(text);
                break;
            }
        }
    }
    return 0;
}
