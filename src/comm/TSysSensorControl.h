// The sensor port control: the AIS, GPS and MOB ports (one TComm each), the
// TCP/IP link and the UDP input that the AIS port may use instead of its
// serial line, their stored settings and states, the machine's port lists,
// the receive path of every link (raw recording, line assembly per link,
// message log, sentence intake, line hooks) and the send path by which every
// outgoing sentence reaches its device.
//
// Everything here runs on the window's thread; the links' worker threads only
// hand their events over. The connection dialogs and the device detection
// drive the control through its operations and state setters; the one-second
// step calls its steps (missing-message indicator, identification query,
// TCP/IP supervision).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ais/BbmSender.h"
#include "ais/SourceHealth.h"
#include "base/HandOver.h"
#include "base/Settings.h"
#include "comm/LineAssembler.h"
#include "comm/MessageLog.h"
#include "comm/RawRecording.h"
#include "comm/SensorTypes.h"
#include "comm/TComm.h"
#include "comm/TTCPIPClientThread.h"
#include "comm/UdpInput.h"

namespace norq::ais {
class SentenceIntake;
}
namespace norq::base {
class IniFile;
}

namespace norq::comm {

// What the control shows through the windows.
class SensorControlView {
  public:
    virtual ~SensorControlView() = default;
    // A message box: caption "Error" with the error icon, or "Warning".
    virtual void showSensorMessage(MessageCaption caption, const std::string& text) = 0;
    // The TCP/IP link ended; `owner` (the port dialog or the wizard) puts its
    // Connect button up and refreshes its TCP page.
    virtual void onTcpDisconnected(TcpOwner /*owner*/) {}
    // A sensor's link state, in-use flag or link changed (status images,
    // status panels, dialog pages).
    virtual void onSensorStateChanged(int /*sensor*/) {}
};

// Sees every line that a link hands to the intake (the device detection).
class LineHook {
  public:
    virtual ~LineHook() = default;
    // The line as handed to the intake (ending in CR LF) and the link it came on.
    virtual void onLine(std::string_view lineCrLf, const LineOrigin& origin) = 0;
};

// Lists the machine's serial ports (QSerialPortInfo in the viewer).
class PortEnumerator {
  public:
    virtual ~PortEnumerator() = default;
    virtual std::vector<PortInfo> presentPorts() = 0;
};

// The TCP/IP supervision's counters (one-second step).
struct TcpSupervision {
    int connectedTicks = 0;  // ticks with a link that delivers data
    int reconnectTicks = 0;  // ticks without a link while reconnection is armed
    int reconnectCount = 0;  // automatic reconnects since data last flowed
    bool armed = false;      // reconnect automatically
    int queryTicks = 0;      // identification query on a silent link
};

class TSysSensorControl final : public ais::SentenceSender, private LineAssembler::Sink {
  public:
    // Bytes taken by one serial read (the window's receive buffer holds one more).
    static constexpr int kSerialReadSize = 4999;
    // The identification query sent on a silent TCP/IP link.
    static constexpr std::string_view kTcpIdentificationQuery = "$PKRV,Q,KRV,,,,*01\r\n";
    static constexpr std::string_view kTcpDisconnectNote = "###TCP/IP disconnect###";
    // Seconds without AIS data before the missing-message indicator shows.
    static constexpr int kMissingMessageSeconds = 60;

    TSysSensorControl(base::WindowThreadPoster& poster, ais::SentenceIntake& intake,
                      MessageLog& log);
    ~TSysSensorControl() override;
    TSysSensorControl(const TSysSensorControl&) = delete;
    TSysSensorControl& operator=(const TSysSensorControl&) = delete;

    void setView(SensorControlView* view) { view_ = view; }
    void addLineHook(LineHook* hook);
    void removeLineHook(LineHook* hook);
    void setPortEnumerator(PortEnumerator* ports) { enumerator_ = ports; }
    void setTexts(const SensorControlTexts& texts) { texts_ = texts; }
    const SensorControlTexts& texts() const { return texts_; }
    // The intake is told whether a line came from a live link; the links
    // hand their lines over as live.
    ais::SentenceIntake& intake() { return intake_; }
    MessageLog& log() { return log_; }
    RawRecording& recording() { return recording_; }

    // ---- Settings --------------------------------------------------------
    const base::SensorPortSettings& portSettings(int sensor) const;
    // The stored settings; ApplyPortSettings copies them into a closed port.
    void setPortSettings(int sensor, const base::SensorPortSettings& settings);
    base::SensorPortSettings& portSettings(int sensor);
    void LoadPortSettings(const base::IniFile& file, int sensor);
    void SavePortSettings(base::IniFile& file, int sensor) const;
    // Only while the port is closed: device path, rate, parity, data bits,
    // stop bits from the sensor's stored settings.
    void ApplyPortSettings(TComm& port, int sensor);
    // The device a sensor's settings name: Serial_Device when set, otherwise
    // the port number as the machine's N-th serial port.
    std::string DevicePath(int sensor) const;
    // A typed port: a device path as it stands; a number N (the old COM port
    // number) as "/dev/ttyS<N-1>"; "" for anything else.
    static std::string DevicePathForText(std::string_view portText);

    // ---- Serial ports ----------------------------------------------------
    TComm& port(int sensor);
    // Opens the sensor's port on the typed port (see DevicePathForText) with
    // the rate of `rateIndex` in the six-rate list (-1 keeps the port's rate),
    // raises RTS and DTR. True when the port is open (also when it already was).
    // The stored settings stay as they are.
    bool OpenSensorPort(int sensor, std::string_view portText, int rateIndex);
    // The message for a port that would not open: the "Serial port open
    // error" text, and for a port the user may not open, how to get access.
    std::string portOpenErrorMessage(int sensor) const;
    // Why the sensor's port would not open, as far as the system said
    // (no access, in use, not there); empty when it said nothing more.
    std::string portOpenErrorReason(int sensor) const;
    // in-use := not (in-use or port open); a port switched off is closed.
    void ToggleInUse(int sensor);
    // Fills the present and free port lists (sorted by path).
    void EnumeratePorts();
    const std::vector<PortInfo>& presentPorts() const { return presentPorts_; }
    const std::vector<PortInfo>& freePorts() const { return freePorts_; }

    // ---- TCP/IP link and UDP input (AIS sensor) ---------------------------
    // Connects to the stored address ("%d.%d.%d.%d" of TCP_Ip4 … TCP_Ip1) and
    // port. False when the stored address or port is unusable.
    bool ConnectTcp();
    // Connects to a host text and port given directly (the command line).
    bool ConnectTcpTo(std::string_view host, int port);
    // The user disconnects: reconnection is disarmed and the link ended.
    void DisconnectTcp();
    TTCPIPClientThread* tcpThread() { return tcp_.get(); }
    bool tcpStarted() const { return tcpStarted_; }
    bool tcpConnected() const { return tcpConnected_; }
    void setTcpFlags(bool started, bool connected);
    const TcpSupervision& tcpSupervision() const { return supervision_; }
    void disarmReconnect();

    // Listens on the stored UDP port, on the stored address (UDP_Address) or,
    // with a stored group (UDP_Group), as a member of that multicast group on
    // the stored interface (UDP_Interface).
    bool ListenUdp();
    bool ListenUdpOn(const std::string& address, int port);
    bool ListenUdpOn(const UdpEndpoint& endpoint);
    void CloseUdp();
    TUdpListener* udpListener() { return udp_.get(); }
    // Why the last ListenUdp failed (errno; 0 after a good one).
    int udpOpenError() const { return udpOpenError_; }

    // True while the AIS sensor has a link up: its serial port open, a TCP/IP
    // link or a UDP input.
    bool aisLinkOpen() const;

    // ---- Send path ---------------------------------------------------------
    // The AIS sensor sends over the TCP/IP link while its input type is
    // TCP/IP; every other sensor, and the AIS sensor otherwise, over its own
    // serial port. A UDP input has no send path.
    bool SendBytes(int sensor, const void* bytes, int length);
    // Sends a line ending in CR LF; on failure shows the open or connect
    // error (silent in the wizard's auto mode, which counts it as sent); logs
    // the line while "Enable Log" is ticked.
    bool SendLine(int sensor, std::string_view lineCrLf);
    // Composes the sentence from the codec's store and sends it.
    bool SendSentence(int sensor, std::string_view talker, std::string_view formatter) override;
    // The queries of the identification and the wizard: the test query TST
    // (code 16 probing, 17 identifying) and the debug query DBG to the AIS
    // sensor, the crew-watch query MOB to the MOB sensor.
    bool SendTestQuery(int code);
    bool SendDebugQuery();
    bool SendCrewWatchQuery();

    // ---- States ------------------------------------------------------------
    InputType inputType(int sensor) const { return sensors_[index(sensor)].inputType; }
    void setInputType(int sensor, InputType type);
    ScanPhase scanPhase(int sensor) const { return sensors_[index(sensor)].scanPhase; }
    void setScanPhase(int sensor, ScanPhase phase) { sensors_[index(sensor)].scanPhase = phase; }
    LinkState linkState(int sensor) const { return sensors_[index(sensor)].linkState; }
    void setLinkState(int sensor, LinkState state);
    bool inUse(int sensor) const { return sensors_[index(sensor)].inUse; }
    void setInUse(int sensor, bool on);
    int currentSensor() const { return currentSensor_; }
    void setCurrentSensor(int sensor) { currentSensor_ = index(sensor); }
    InputType dialogInputType() const { return dialogInputType_; }
    void setDialogInputType(InputType type) { dialogInputType_ = type; }
    bool autoMode() const { return autoMode_; }
    void setAutoMode(bool on) { autoMode_ = on; }
    DeviceKind deviceKind() const { return deviceKind_; }
    // Changed only while the current sensor is the AIS sensor.
    void setDeviceKind(DeviceKind kind);
    // The dialogs' send type (kept for them; the send path chooses per sensor).
    InputType sendType() const { return sendType_; }
    void setSendType(InputType type) { sendType_ = type; }
    TcpOwner tcpOwner() const { return tcpOwner_; }
    void setTcpOwner(TcpOwner owner) { tcpOwner_ = owner; }
    // True exactly while the AIS link state is IdentificationPending.
    bool aisIdentificationPending() const { return aisIdentificationPending_; }

    // ---- One-second steps ----------------------------------------------------
    // The silence counter and the missing-message indicator: while the AIS
    // link is up, whatever device it is.
    void StepMissingMessage();
    bool missingMessageShown() const { return missingMessage_; }
    int silenceSeconds() const { return silence_; }
    // AIS data arrived since the last step (set by every AIS receive path).
    bool aisDataSeen() const { return aisDataSeen_; }
    // Counts, per sensor, the seconds its connected link has brought nothing.
    void StepLinkHealth();
    // What the status display shows of the sensor's link, and for how many
    // seconds a connected link has been silent.
    LinkHealth linkHealth(int sensor) const;
    int linkSilentSeconds(int sensor) const { return sensors_[index(sensor)].silentSeconds; }
    // What the sensor's port has delivered and refused since the start
    // (TCP/IP and UDP input count as the AIS port).
    const ais::SourceHealth& sourceHealth(int sensor) const {
        return sensors_[index(sensor)].health;
    }
    // The identification query on a silent TCP/IP link of a product-information device.
    void StepTcpIdentificationQuery();
    // Reconnects a dropped TCP/IP link and drops a silent one.
    void SuperviseTcp();

    // ---- Status display --------------------------------------------------------
    // Picture 8 × scheme + sensor, plus 4 while the sensor is connected.
    int StatusImageIndex(int sensor, int colourScheme) const;
    // "AIS Port Connected" / "AIS Port Disconnect" by the in-use flag.
    std::string StatusPanelText(int sensor) const;
    // "AIS Port Connected" / … by the link state (the status image's hint).
    std::string StatusHintText(int sensor) const;

    // Closes every port and link (the main window's shutdown).
    void CloseAll();

  private:
    struct Sensor {
        std::unique_ptr<TComm> port;
        base::SensorPortSettings settings;
        InputType inputType = InputType::Serial;
        ScanPhase scanPhase = ScanPhase::Finished;
        LinkState linkState = LinkState::Idle;
        bool inUse = false;
        LineAssembler lines;
        int openError = 0;
        bool dataSeen = false;  // data arrived since the last StepLinkHealth
        int silentSeconds = 0;  // seconds of a connected link without data
        bool lost = false;      // the link ended by itself; cleared when the user acts
        ais::SourceHealth health;
    };
    // The sensor whose link carries the sensor's data: its own, or for a
    // receiver found behind another device's port, that port's sensor.
    int carrier(int sensor) const;
    bool ownLinkOpen(int sensor) const;
    static int index(int sensor);
    void onSerialData(int sensor, std::uint32_t count);
    void onSerialError(int sensor, std::uint32_t errors);
    void onTcpData(TTCPIPClientThread& link);
    void onTcpConnected(TTCPIPClientThread& link);
    void onTcpDisconnected(TTCPIPClientThread& link);
    void onUdpData(TUdpListener& listener);
    void received(LineAssembler& lines, std::string_view bytes);
    void onLineEnded(std::string_view line, const LineOrigin& origin) override;
    void onSentenceLine(std::string_view lineCrLf, const LineOrigin& origin) override;
    void showMessage(MessageCaption caption, const std::string& text);
    void changed(int sensor);
    void releaseRetired();

    base::WindowThreadPoster& poster_;
    ais::SentenceIntake& intake_;
    MessageLog& log_;
    RawRecording recording_;
    SensorControlView* view_ = nullptr;
    std::vector<LineHook*> hooks_;
    PortEnumerator* enumerator_ = nullptr;
    SensorControlTexts texts_;
    std::array<Sensor, kSensorCount> sensors_;

    std::unique_ptr<TTCPIPClientThread> tcp_;
    std::vector<std::unique_ptr<TTCPIPClientThread>> retired_;
    LineAssembler tcpLines_{{kAisPort, LinkKind::Tcp}};
    std::array<char, TTCPIPClientThread::kReceiveSize + 1> tcpBuffer_{};
    bool tcpStarted_ = false;
    bool tcpConnected_ = false;
    bool autoReconnecting_ = false;  // the link being made is an automatic reconnect
    bool userEnding_ = false;        // the user (or the shutdown) ends the TCP/IP link
    bool tcpDelivered_ = false;      // the current link has delivered data
    std::string tcpHost_;            // where the last link went (the reconnects go there too)
    int tcpPort_ = -1;
    TcpSupervision supervision_;

    std::unique_ptr<TUdpListener> udp_;
    LineAssembler udpLines_{{kAisPort, LinkKind::Udp}};
    int udpOpenError_ = 0;

    std::array<char, kSerialReadSize + 1> serialBuffer_{};
    std::vector<PortInfo> presentPorts_;
    std::vector<PortInfo> freePorts_;
    int currentSensor_ = kAisPort;
    InputType dialogInputType_ = InputType::Serial;
    bool autoMode_ = false;
    DeviceKind deviceKind_ = DeviceKind::None;
    InputType sendType_ = InputType::Serial;
    TcpOwner tcpOwner_ = TcpOwner::PortDialog;
    bool aisIdentificationPending_ = false;
    bool aisDataSeen_ = false;
    bool missingMessage_ = false;
    int silence_ = 0;
};

}  // namespace norq::comm
