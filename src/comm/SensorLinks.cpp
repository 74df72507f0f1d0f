// The sensor port control's TCP/IP link and UDP input, its send path and its
// one-second steps (missing-message indicator, identification query on a
// silent link, TCP/IP supervision).
#include <cstdio>

#include "ais/SentenceIntake.h"
#include "comm/TSysSensorControl.h"

namespace norq::comm {

namespace {

// Supervision limits, in one-second ticks.
constexpr int kDeliveringSilence = 12;     // a link counts as delivering up to this silence
constexpr int kFullBudgetAfterTicks = 30;  // ticks of delivery that renew the reconnects
constexpr int kReconnectAfterTicks = 3;
constexpr int kDropAfterSilence = 60;
constexpr int kMaxReconnects = 3;
constexpr int kQueryAfterTicks = 10;
constexpr int kQueryAfterSilence = 30;
// Reads taken in one hand-over while the link keeps delivering full buffers.
constexpr int kMaxReadsPerEvent = 32;

}  // namespace

// ---- TCP/IP link ----------------------------------------------------------------

bool TSysSensorControl::ConnectTcp() {
    const std::array<int, 4>& octets = sensors_[kAisPort].settings.tcpIp;
    char host[24];
    std::snprintf(host, sizeof host, "%d.%d.%d.%d", octets[3] & 0xFF, octets[2] & 0xFF,
                  octets[1] & 0xFF, octets[0] & 0xFF);
    return ConnectTcpTo(host, sensors_[kAisPort].settings.tcpPort);
}

bool TSysSensorControl::ConnectTcpTo(std::string_view host, int port) {
    releaseRetired();
    if (tcp_) return true;
    // A link the user makes is a new start; one the supervision makes again stays lost until it
    // connects.
    if (!autoReconnecting_) sensors_[kAisPort].lost = false;
    auto link = std::make_unique<TTCPIPClientThread>(poster_);
    if (link->SetHost(host) < 0) return false;
    link->SetPort(port);
    if (link->port() < 0) return false;
    link->OnDataReady = [this](TTCPIPClientThread& l) { onTcpData(l); };
    link->OnConnected = [this](TTCPIPClientThread& l) { onTcpConnected(l); };
    link->OnDisconnected = [this](TTCPIPClientThread& l) { onTcpDisconnected(l); };
    tcpHost_ = link->host();
    tcpPort_ = link->port();
    tcpDelivered_ = false;
    tcpLines_.clear();
    recording_.dropPending(tcpLines_.origin());
    tcp_ = std::move(link);
    TTCPIPClientThread* started = tcp_.get();
    started->Start();
    return tcp_.get() == started;
}

void TSysSensorControl::DisconnectTcp() {
    disarmReconnect();
    autoReconnecting_ = false;
    userEnding_ = true;
    if (tcp_) tcp_->Disconnect();
    userEnding_ = false;
    releaseRetired();
}

void TSysSensorControl::setTcpFlags(bool started, bool connected) {
    tcpStarted_ = started;
    tcpConnected_ = connected;
}

void TSysSensorControl::disarmReconnect() {
    supervision_.armed = false;
    supervision_.connectedTicks = 0;
    supervision_.reconnectTicks = 0;
}

void TSysSensorControl::onTcpConnected(TTCPIPClientThread& link) {
    if (tcp_.get() != &link) return;
    if (autoReconnecting_) {
        // A link made again by the supervision is the user's link: it shows
        // as connected once the far end has taken it.
        autoReconnecting_ = false;
        setTcpFlags(true, true);
        sensors_[kAisPort].inUse = true;
        setLinkState(kAisPort, LinkState::Connected);
    }
}

void TSysSensorControl::onTcpData(TTCPIPClientThread& link) {
    aisDataSeen_ = true;
    // A close seen in the same wake-up may already have ended the link.
    if (tcp_.get() != &link) return;
    tcpDelivered_ = true;
    for (int read = 0; read < kMaxReadsPerEvent && tcp_.get() == &link; ++read) {
        const int n = link.ReceiveData(tcpBuffer_.data());
        if (n < 1) return;
        sensors_[kAisPort].dataSeen = true;
        tcpBuffer_[static_cast<std::size_t>(n)] = '\0';
        const std::string_view bytes(tcpBuffer_.data(), static_cast<std::size_t>(n));
        recording_.write(tcpLines_.origin(), bytes);
        received(tcpLines_, bytes);
        if (n < TTCPIPClientThread::kReceiveSize) return;
    }
}

void TSysSensorControl::onTcpDisconnected(TTCPIPClientThread& link) {
    if (tcp_.get() != &link) return;
    setTcpFlags(false, false);
    autoReconnecting_ = false;
    // A link that ended by itself shows as lost (and, while the supervision
    // brings it back, as being made again).
    if (!userEnding_) {
        sensors_[kAisPort].lost = true;
        sensors_[kAisPort].health.noteLinkClosed();
    }
    setLinkState(kAisPort, LinkState::Idle);
    if (view_ != nullptr) view_->onTcpDisconnected(tcpOwner_);
    log_.addAlways(kTcpDisconnectNote);
    // What the link left unfinished is no line.
    tcpLines_.clear();
    recording_.dropPending(tcpLines_.origin());
    // The link is still running this handler: it is freed later.
    retired_.push_back(std::move(tcp_));
}

void TSysSensorControl::releaseRetired() {
    retired_.clear();
}

// ---- UDP input ------------------------------------------------------------------

bool TSysSensorControl::ListenUdp() {
    const base::SensorPortSettings& s = sensors_[kAisPort].settings;
    UdpEndpoint endpoint;
    endpoint.port = s.udpPort;
    if (s.udpGroup.empty()) {
        endpoint.address = s.udpAddress;
    } else {
        endpoint.group = s.udpGroup;
        endpoint.interfaceName = s.udpInterface;
    }
    return ListenUdpOn(endpoint);
}

bool TSysSensorControl::ListenUdpOn(const std::string& address, int port) {
    UdpEndpoint endpoint;
    endpoint.address = address;
    endpoint.port = port;
    return ListenUdpOn(endpoint);
}

bool TSysSensorControl::ListenUdpOn(const UdpEndpoint& endpoint) {
    CloseUdp();
    auto listener = std::make_unique<TUdpListener>(poster_);
    listener->OnDataReady = [this](TUdpListener& l) { onUdpData(l); };
    if (!listener->Open(endpoint)) {
        udpOpenError_ = listener->lastError();
        return false;
    }
    udpOpenError_ = 0;
    udpLines_.clear();
    udp_ = std::move(listener);
    sensors_[kAisPort].lost = false;
    return true;
}

void TSysSensorControl::CloseUdp() {
    if (!udp_) return;
    udp_->Close();
    udp_.reset();
    udpLines_.clear();
    recording_.dropPending(udpLines_.origin());
}

void TSysSensorControl::onUdpData(TUdpListener& listener) {
    aisDataSeen_ = true;
    while (udp_.get() == &listener) {
        const std::string_view datagram = listener.ReceiveDatagram();
        if (datagram.empty()) return;
        sensors_[kAisPort].dataSeen = true;
        // A datagram ends its last line, with or without a line feed.
        recording_.write(udpLines_.origin(), datagram);
        if (datagram.back() != '\n') recording_.write(udpLines_.origin(), "\r\n");
        received(udpLines_, datagram);
        udpLines_.endLine(*this);
    }
}

bool TSysSensorControl::aisLinkOpen() const {
    return sensors_[kAisPort].port->Connected() || tcp_ != nullptr || (udp_ && udp_->isOpen());
}

// ---- Send path ------------------------------------------------------------------

bool TSysSensorControl::SendBytes(int sensor, const void* bytes, int length) {
    const int s = index(sensor);
    if (s == kAisPort && sensors_[s].inputType == InputType::Tcp) {
        return tcp_ != nullptr && tcp_->SendData(bytes, length);
    }
    if (s == kAisPort && sensors_[s].inputType == InputType::Udp) return false;
    TComm& port = *sensors_[s].port;
    return port.Connected() && port.Write(bytes, length) > 0;
}

bool TSysSensorControl::SendLine(int sensor, std::string_view lineCrLf) {
    const int s = index(sensor);
    const bool ok = SendBytes(s, lineCrLf.data(), static_cast<int>(lineCrLf.size()));
    if (!ok) {
        const InputType type = sensors_[s].inputType;
        if (s == kAisPort && type == InputType::Tcp) {
            // Only a link that is gone is a connect error; a link that took
            // nothing now is a failed send the caller reports.
            if (tcp_ == nullptr) {
                sensors_[s].scanPhase = ScanPhase::Finished;
                setLinkState(s, LinkState::Idle);
                showMessage(MessageCaption::Error, texts_.tcpConnectError);
            }
        } else if (s != kAisPort || type == InputType::Serial) {
            if (autoMode_) return true;
            if (!sensors_[s].port->Connected()) {
                sensors_[s].scanPhase = ScanPhase::Finished;
                setLinkState(s, LinkState::Idle);
                showMessage(MessageCaption::Error, texts_.portOpenError);
            }
        }
    }
    std::string_view line = lineCrLf;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    log_.add(line);
    return ok;
}

bool TSysSensorControl::SendSentence(int sensor, std::string_view talker,
                                     std::string_view formatter) {
    codec::SentenceText text;
    if (!intake_.codec().ComposeFromStore(talker, formatter, text)) return false;
    return SendLine(sensor, text.view());
}

bool TSysSensorControl::SendTestQuery(int code) {
    codec::Tst& tst = intake_.codec().proprietary().tst;
    tst.number = 99999;
    tst.small = 99;
    tst.lowerLetter = 64;
    tst.upperLetter = 64;
    tst.value = code;
    return SendSentence(kAisPort, "P", "TST");
}

bool TSysSensorControl::SendDebugQuery() {
    codec::ProprietaryStore& store = intake_.codec().proprietary();
    store.dbg.pairs[0] = {99, 0};
    for (std::size_t i = 1; i < store.dbg.pairs.size(); ++i)
        store.dbg.pairs[i] = {999, codec::kDbgEmptyValue};
    return SendSentence(kAisPort, "P", "DBG");
}

bool TSysSensorControl::SendCrewWatchQuery() {
    codec::Mob& mob = intake_.codec().proprietary().mob;
    mob.deviceId = {};
    mob.kind = 60;
    mob.status = 101;
    mob.battery = 0;
    mob.batteryPresent = true;
    mob.payloadLength = 0;
    return SendSentence(kMobPort, "P", "MOB");
}

// ---- One-second steps -------------------------------------------------------------

void TSysSensorControl::StepMissingMessage() {
    if (!aisLinkOpen()) {
        missingMessage_ = false;
        aisDataSeen_ = false;
        silence_ = 0;
        return;
    }
    ++silence_;
    if (aisDataSeen_) {
        missingMessage_ = false;
        silence_ = 0;
    } else if (silence_ >= kMissingMessageSeconds) {
        missingMessage_ = true;
    }
    aisDataSeen_ = false;
}

void TSysSensorControl::StepTcpIdentificationQuery() {
    if (deviceKind_ != DeviceKind::ProductInfo ||
        sensors_[kAisPort].linkState != LinkState::Connected ||
        sensors_[kAisPort].inputType != InputType::Tcp) {
        return;
    }
    if (++supervision_.queryTicks > kQueryAfterTicks && silence_ > kQueryAfterSilence) {
        SendLine(kAisPort, kTcpIdentificationQuery);
        supervision_.queryTicks = 0;
    }
}

void TSysSensorControl::SuperviseTcp() {
    releaseRetired();
    TcpSupervision& v = supervision_;
    if (!tcp_) {
        v.connectedTicks = 0;
    } else if (silence_ <= kDeliveringSilence && tcpDelivered_) {
        // A source that has delivered is brought back whenever it drops, also
        // in its first seconds; thirty seconds of delivery renew the budget of
        // reconnects that a silent far end may use up.
        v.armed = true;
        if (++v.connectedTicks >= kFullBudgetAfterTicks) v.reconnectCount = 0;
    }
    if (!v.armed) return;
    if (!tcp_) {
        if (++v.reconnectTicks >= kReconnectAfterTicks) {
            v.reconnectTicks = 0;
            ++v.reconnectCount;
            autoReconnecting_ = true;
            silence_ = 0;
            if (!ConnectTcpTo(tcpHost_, tcpPort_)) autoReconnecting_ = false;
        }
        return;
    }
    if (silence_ > kDropAfterSilence) {
        tcp_->Disconnect();
        silence_ = 0;
        if (v.reconnectCount >= kMaxReconnects) v.armed = false;
    }
}

}  // namespace norq::comm
