#include "Transponder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "SimClock.h"
#include "codec/SentenceCodec.h"

namespace norq::sim {

namespace {

constexpr double kOwnStaticInterval = 360.0;
// Repeated queries within this time get one identification block.
constexpr double kIdentificationHoldOff = 0.9;

std::string Ensure(std::string_view line) {
    std::string s(line);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r'))
        s.pop_back();
    return s + "\r\n";
}

std::string PlainLine(std::string_view text) {
    return std::string(text) + "\r\n";
}

}  // namespace

Transponder::Transponder(const Scenario& scenario, const TrafficModel& traffic)
    : scenario_(scenario),
      traffic_(traffic),
      writer_(scenario.interleave),
      lossRng_(scenario.seed, 3),
      damageRng_(scenario.seed, 4),
      silent_(scenario.transponder.silent),
      markers_(scenario.transponder.markers) {
    if (markers_.size() > kMaxDeviceMarkers) markers_.resize(kMaxDeviceMarkers);
    nextOwnStatic_ = 5.0;
}

void Transponder::emit(double t, const std::string& text, LineBatch& out) {
    out.push_back({t, Device::Transponder, text});
}

void Transponder::emitAll(double t, std::vector<std::string>& lines, bool damageable,
                          LineBatch& out) {
    for (std::string& line : lines) {
        if (damageable && scenario_.damagedLines > 0.0 &&
            damageRng_.chance(scenario_.damagedLines)) {
            line = DamageLine(line, damageRng_);
            ++damaged_;
        }
        emit(t, line, out);
    }
    lines.clear();
}

void Transponder::receive(const AisTransmission& tx, LineBatch& out) {
    if (scenario_.messageLoss > 0.0 && lossRng_.chance(scenario_.messageLoss)) {
        ++lost_;
        return;
    }
    std::vector<std::string> lines;
    writer_.write(tx.message, "VDM", tx.channel, lines);
    emitAll(tx.time, lines, true, out);
}

void Transponder::flush(double t, LineBatch& out) {
    std::vector<std::string> lines;
    writer_.flush(lines);
    emitAll(t, lines, true, out);
}

void Transponder::tick(double t, const Kinematics& own, LineBatch& out) {
    if (silent_) return;
    const StationSetup& o = scenario_.ownShip;
    const bool classB = o.kind == StationKind::ClassB;
    // The own position is put out every second; the channel is named only
    // for the reports actually transmitted on the air.
    int channel = kNoChannel;
    if (t >= nextOwnTransmission_) {
        channel = ownChannel_;
        ownChannel_ ^= 1;
        nextOwnTransmission_ =
            t + (classB ? TrafficModel::ClassBInterval(own.sog)
                        : TrafficModel::ClassAInterval(o.navStatus, own.sog,
                                                       std::fabs(own.rateOfTurn) >= 5.0));
    }
    std::vector<std::string> lines;
    if (classB) {
        writer_.write(ClassBPositionReport(o.mmsi, own), "VDO", channel, lines);
    } else {
        writer_.write(PositionReport(1, o.mmsi, o.navStatus, own, 0), "VDO", channel, lines);
    }
    if (t >= nextOwnStatic_) {
        nextOwnStatic_ = t + kOwnStaticInterval;
        if (classB) {
            writer_.write(StaticDataReportA(o.mmsi, o.info), "VDO", ownChannel_, lines);
            writer_.write(StaticDataReportB(o.mmsi, o.info), "VDO", ownChannel_ ^ 1, lines);
        } else {
            writer_.write(StaticVoyageReport(o.mmsi, o.info), "VDO", ownChannel_, lines);
        }
    }
    emitAll(t, lines, false, out);
}

void Transponder::handleLine(std::string_view raw, double t, LineBatch& out) {
    const std::string line = Ensure(raw);
    if (line.size() > codec::kMaxLineLength) return;
    codec::SentenceRecord r;
    if (codec::ParseSentence(line, r) != codec::ParseStatus::Ok) return;
    if (const codec::Tst* tst = r.as<codec::Tst>()) {
        if (tst->value == 16 || tst->value == 17) identify(t, out);
    } else if (const codec::Dbg* dbg = r.as<codec::Dbg>()) {
        onDebug(dbg->pairs[0].command, dbg->pairs[0].value, t, out);
    } else if (r.is("KRV") && r.subtype == 'Q') {
        identify(t, out);
    } else if (const codec::Mrk* m = r.as<codec::Mrk>()) {
        onMarker(r.subtype, m->operation, m->deviceIndex, m->latitude, m->longitude, m->name, t,
                 out);
    } else if (const codec::Encapsulated* e = r.as<codec::Encapsulated>()) {
        if (r.is("BBM") || r.is("ABM")) {
            onEncapsulated(r.is("ABM"), e->total, e->number, e->sequentialId, e->destinationMmsi,
                           e->channel, e->messageId, e->payload, e->fillBits, t, out);
        }
    }
}

void Transponder::identify(double t, LineBatch& out) {
    if (t - lastIdentification_ < kIdentificationHoldOff) return;
    lastIdentification_ = t;
    switch (scenario_.transponder.identification) {
        case IdentificationKind::ProductInfo:
            productInfo(t, out);
            break;
        case IdentificationKind::StaticData:
        case IdentificationKind::Mkd2:
            staticData(t, out);
            break;
        case IdentificationKind::None:
            break;
    }
}

void Transponder::productInfo(double t, LineBatch& out) {
    const TransponderSetup& d = scenario_.transponder;
    const std::string texts[] = {
        "PROD. INFO. BEGIN",
        "MODEL NO.=" + d.model,
        "SERIAL NO.=" + d.serial,
        "FIRMWARE=" + d.firmware,
        "BAUD RATE=" + std::to_string(d.baudRate),
        "MMSI=" + std::to_string(scenario_.ownShip.mmsi),
        "PROD. INFO. END",
    };
    for (const std::string& text : texts)
        emit(t, WithChecksum("$PKRV,R,TXT," + text), out);
}

void Transponder::staticData(double t, LineBatch& out) {
    const StationSetup& o = scenario_.ownShip;
    const TransponderSetup& d = scenario_.transponder;
    char buffer[96];
    emit(t, PlainLine("[STATIC DATA]"), out);
    std::snprintf(buffer, sizeof buffer, "MMSI=%09u", o.mmsi);
    emit(t, PlainLine(buffer), out);
    emit(t, PlainLine("NAME=" + o.info.name), out);
    emit(t, PlainLine("CALL SIGN=" + o.info.callSign), out);
    emit(t, PlainLine("IMO=" + std::to_string(o.info.imo)), out);
    emit(t, PlainLine("SHIP TYPE=" + std::to_string(o.info.shipType)), out);
    std::snprintf(buffer, sizeof buffer, "DIMENSION=A%d,B%d,C%d,D%d", o.info.toBow, o.info.toStern,
                  o.info.toPort, o.info.toStarboard);
    emit(t, PlainLine(buffer), out);
    emit(t, PlainLine("MODEL=" + d.model), out);
    emit(t, PlainLine("SERIAL=" + d.serial), out);
    emit(t, PlainLine("FIRMWARE=" + d.firmware), out);
    emit(t, PlainLine("[END OF STATIC DATA]"), out);
    if (d.identification == IdentificationKind::Mkd2) emit(t, PlainLine("[MKD]=2"), out);
    emit(t, PlainLine("[DEVICE DATA END]"), out);
}

void Transponder::onDebug(int command, std::int64_t value, double t, LineBatch& out) {
    if (command == 99) {
        identify(t, out);
    } else if (command == 30) {
        // Transmit mode: 1 silent, 0 transmitting.
        if (value == 0 || value == 1) silent_ = value == 1;
        if (scenario_.transponder.transmitterReport)
            emit(t, WithChecksum(silent_ ? "$PKRV,R,KRV,30,0,1," : "$PKRV,R,KRV,30,0,0,"), out);
    } else if (command == 300) {
        if (value >= 1 && value <= 3) lanternMode_ = static_cast<int>(value);
    }
}

void Transponder::reportMarker(int operation, int count, int index, const MarkerSetup& m, double t,
                               LineBatch& out) {
    codec::SentenceRecord r;
    r.start = '$';
    r.talker[0] = 'P';
    r.formatter[0] = 'M';
    r.formatter[1] = 'R';
    r.formatter[2] = 'K';
    r.subtype = 'R';
    codec::Mrk body;
    body.operation = operation;
    body.count = count;
    body.deviceIndex = index;
    body.latitude = std::llround(m.position.lat * 1000000.0);
    body.longitude = std::llround(m.position.lon * 1000000.0);
    std::snprintf(body.name, sizeof body.name, "%s", m.name.c_str());
    body.small = 1;
    r.body = body;
    codec::SentenceText text;
    if (codec::ComposeSentence(r, text)) emit(t, std::string(text.view()), out);
}

void Transponder::onMarker(char subtype, int operation, int index, std::int64_t lat,
                           std::int64_t lon, std::string_view name, double t, LineBatch& out) {
    const int count = static_cast<int>(markers_.size());
    MarkerSetup m;
    m.name = std::string(name == " " ? std::string_view() : name);
    m.position = {static_cast<double>(lat) * 0.000001, static_cast<double>(lon) * 0.000001};
    if (subtype == 'Q' && operation == 0) {
        for (int i = 0; i < count; ++i)
            reportMarker(5, count, i, markers_[static_cast<std::size_t>(i)], t, out);
        return;
    }
    if (subtype != 'C') return;
    if (operation == 1 && markers_.size() < kMaxDeviceMarkers) {
        markers_.push_back(m);
        reportMarker(1, count + 1, count, m, t, out);
    } else if (operation == 2 && index >= 0 && index < count) {
        markers_[static_cast<std::size_t>(index)] = m;
        reportMarker(2, count, index, m, t, out);
    } else if (operation == 3 && index >= 0 && index < count) {
        const MarkerSetup removed = markers_[static_cast<std::size_t>(index)];
        markers_.erase(markers_.begin() + index);
        reportMarker(3, count - 1, index, removed, t, out);
    }
}

void Transponder::onEncapsulated(bool addressed, int total, int number, int sequence,
                                 std::int64_t dest, int channel, int messageId,
                                 std::string_view payload, int fill, double t, LineBatch& out) {
    Fragments& f = fragments_[addressed ? 1 : 0];
    if (number == 1) {
        f = Fragments{};
        f.total = total;
        f.sequence = sequence;
        f.channel = channel;
        f.messageId = messageId;
        f.destination = dest;
    } else if (number != f.next || total != f.total || sequence != f.sequence) {
        f = Fragments{};
        return;
    }
    if (payload != " ") f.payload.append(payload);
    f.fillBits = fill;
    f.next = number + 1;
    if (number < total) return;
    if (addressed) f.destination = dest;
    transmitOwn(f, t, out);
    f = Fragments{};
}

void Transponder::transmitOwn(const Fragments& f, double t, LineBatch& out) {
    const std::uint32_t own = scenario_.ownShip.mmsi;
    const bool addressed = f.destination != 0;
    const int sequence = f.sequence >= 0 && f.sequence <= 9 ? f.sequence : 0;
    if (silent_) {
        acknowledge(f.destination, f.channel, f.messageId, sequence, addressed ? 1 : 2, t, out);
        return;
    }
    ais::AisBitBuffer bits{};
    if (!DearmourPayload(f.payload, f.fillBits, bits)) return;
    ais::AisMessage m;
    const auto dest = static_cast<std::uint32_t>(f.destination);
    const int count = bits.bitCount;
    switch (f.messageId) {
        case 14:
            m = SafetyBroadcast(own, SixBitText(bits));
            break;
        case 12:
            m = AddressedSafety(own, dest, sequence, SixBitText(bits));
            break;
        case 8:
            m = BinaryBroadcast(own, bits.bytes.data(), count);
            break;
        case 6:
            m = AddressedBinary(own, dest, sequence, bits.bytes.data(), count);
            break;
        default:
            return;
    }
    // Channel 2 asks for channel B; every other choice goes out on A.
    std::vector<std::string> lines;
    writer_.write(m, "VDO", f.channel == 2 ? 1 : 0, lines);
    emitAll(t, lines, false, out);
    int ack = 3;  // broadcast transmitted
    if (addressed) {
        ack = 1;  // no acknowledgement from the destination
        for (const StationState& s : traffic_.stations()) {
            if (s.setup.mmsi == dest) ack = 0;
        }
    }
    acknowledge(f.destination, f.channel, f.messageId, sequence, ack, t, out);
}

void Transponder::acknowledge(std::int64_t dest, int channel, int messageId, int sequence, int type,
                              double t, LineBatch& out) {
    codec::SentenceRecord r;
    r.start = '$';
    r.talker[0] = 'A';
    r.talker[1] = 'I';
    r.formatter[0] = 'A';
    r.formatter[1] = 'B';
    r.formatter[2] = 'K';
    codec::Abk a;
    a.mmsi = dest;
    a.channel = channel == 2 ? 1 : 0;
    a.messageId = messageId;
    a.sequenceNumber = sequence;
    a.ackType = type;
    r.body = a;
    codec::SentenceText text;
    if (codec::ComposeSentence(r, text)) emit(t, std::string(text.view()), out);
}

}  // namespace norq::sim
