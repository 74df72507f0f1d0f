// Parsers and composers of the AIS transponder sentences.
#include <cmath>
#include <cstring>

#include "codec/FormatterTable.h"

namespace norq::codec {

namespace {

// Armoured payload of VDM, VDO, ABM and BBM as received: whatever the line
// holds (see kMaxFragmentPayload). An empty field is an empty text.
bool ReadPayload(std::string_view field, char (&out)[kMaxFragmentPayload + 1]) {
    if (IsEmptyField(field)) {
        out[0] = '\0';
        return true;
    }
    if (field.size() > static_cast<std::size_t>(kMaxFragmentPayload)) return false;
    CopyText(field, out);
    return true;
}

// A composed payload within the standard limit for its sequential id.
bool StandardPayload(const Encapsulated& e) {
    const int limit = (e.sequentialId == kEmptyByte || e.sequentialId == 0)
                          ? kMaxStandardPayload
                          : kMaxStandardPayload + 1;
    return static_cast<int>(std::strlen(e.payload)) <= limit;
}

// The composed text leaves room for "*hh" and CR LF within the standard length.
bool FitsStandardLength(const SentenceText& out) {
    return out.size() + 5 <= kMaxComposedLength;
}

bool ReadFillBits(std::string_view field, int& fillBits) {
    if (IsEmptyField(field)) return false;
    fillBits = static_cast<int>(ReadWhole(field));
    return InRange(fillBits, 0, 5);
}

}  // namespace

// total, number, sequential id, channel, payload, fill bits
ParseStatus ParseVdm(const FieldList& f, SentenceRecord& r) {
    Encapsulated e;
    e.total = static_cast<int>(ReadInt(f[0], 0));
    e.number = static_cast<int>(ReadInt(f[1], 0));
    e.sequentialId = static_cast<int>(ReadInt(f[2], kEmptyByte));
    e.channel = ReadChar(f[3], kEmptyByte);
    if (!InRange(e.total, 0, 9) || !InRange(e.number, 0, 9) ||
        !InRangeOrEmpty(e.sequentialId, 0, 9, kEmptyByte) || !ReadPayload(f[4], e.payload) ||
        !ReadFillBits(f[5], e.fillBits)) {
        return ParseStatus::Range;
    }
    r.body = e;
    return ParseStatus::Ok;
}

// total, number, sequential id, destination MMSI, channel, message id,
// payload, fill bits
ParseStatus ParseAbm(const FieldList& f, SentenceRecord& r) {
    Encapsulated e;
    e.total = static_cast<int>(ReadInt(f[0], 0));
    e.number = static_cast<int>(ReadInt(f[1], 0));
    e.sequentialId = static_cast<int>(ReadInt(f[2], kEmptyByte));
    e.destinationMmsi = ReadInt(f[3], 0);
    const std::string_view channel = f[4];
    e.messageId = static_cast<int>(ReadInt(f[5], 0));
    const bool channelOk = channel.size() == 1 && channel[0] >= '0' && channel[0] <= '3';
    if (!InRange(e.total, 1, 9) || !InRange(e.number, 1, 9) || !InRange(e.sequentialId, 0, 3) ||
        !InRange(e.destinationMmsi, 0, 999999999) || !channelOk ||
        (e.messageId != 6 && e.messageId != 12) || !ReadPayload(f[6], e.payload) ||
        !ReadFillBits(f[7], e.fillBits)) {
        return ParseStatus::Range;
    }
    e.channel = channel[0] - '0';
    r.body = e;
    return ParseStatus::Ok;
}

// total, number, sequential id, channel, message id, payload, fill bits
ParseStatus ParseBbm(const FieldList& f, SentenceRecord& r) {
    Encapsulated e;
    e.total = static_cast<int>(ReadInt(f[0], 0));
    e.number = static_cast<int>(ReadInt(f[1], 0));
    e.sequentialId = static_cast<int>(ReadInt(f[2], kEmptyByte));
    e.channel = static_cast<int>(ReadInt(f[3], 0));
    e.messageId = static_cast<int>(ReadInt(f[4], 0));
    if (!InRange(e.total, 0, 9) || !InRange(e.number, 0, 9) ||
        !InRangeOrEmpty(e.sequentialId, 0, 9, kEmptyByte) || !ReadPayload(f[5], e.payload) ||
        !ReadFillBits(f[6], e.fillBits)) {
        return ParseStatus::Range;
    }
    r.body = e;
    return ParseStatus::Ok;
}

// MMSI, channel, message id, message sequence number, acknowledgement type
ParseStatus ParseAbk(const FieldList& f, SentenceRecord& r) {
    Abk a;
    a.mmsi = ReadWhole(f[0]);
    // The channel is a letter: A is 0, B is 1. Other fields read as numbers.
    const std::string_view channel = f[1];
    a.channel = (channel[0] >= 'A' && channel[0] <= 'Z') ? channel[0] - 'A'
                                                         : static_cast<int>(ReadWhole(channel));
    a.messageId = static_cast<int>(ReadWhole(f[2]));
    a.sequenceNumber = static_cast<int>(ReadWhole(f[3]));
    a.ackType = static_cast<int>(ReadWhole(f[4]));
    r.body = a;
    return ParseStatus::Ok;
}

// sequence number, NE corner, SW corner, transition zone, channel A,
// bandwidth A, channel B, bandwidth B, Tx/Rx mode, power, information
// source, in-use flag, time of in-use change
ParseStatus ParseAca(const FieldList& f, SentenceRecord& r) {
    Aca a;
    a.sequenceNumber = static_cast<int>(ReadInt(f[0], 0));
    a.northEast = ReadPosition(f, 1);
    a.southWest = ReadPosition(f, 5);
    a.zoneSize = static_cast<int>(ReadInt(f[9], 0));
    a.channelA = static_cast<int>(ReadInt(f[10], 0));
    a.bandwidthA = static_cast<int>(ReadInt(f[11], 0));
    a.channelB = static_cast<int>(ReadInt(f[12], 0));
    a.bandwidthB = static_cast<int>(ReadInt(f[13], 0));
    a.txRxMode = static_cast<int>(ReadInt(f[14], 0));
    a.power = static_cast<int>(ReadInt(f[15], 0));
    a.source = ReadChar(f[16]);
    a.inUse = static_cast<int>(ReadInt(f[17], 0));
    a.inUseChanged = ReadTime(f[18]);
    r.body = a;
    return ParseStatus::Ok;
}

// sequence number, MMSI, time, day, month, year
ParseStatus ParseAcs(const FieldList& f, SentenceRecord& r) {
    Acs a;
    a.sequenceNumber = static_cast<int>(ReadInt(f[0], 0));
    a.mmsi = ReadInt(f[1], 0);
    a.time = ReadTime(f[2]);
    a.day = static_cast<int>(ReadInt(f[3], 0));
    a.month = static_cast<int>(ReadInt(f[4], 0));
    a.year = static_cast<int>(ReadInt(f[5], 0));
    r.body = a;
    return ParseStatus::Ok;
}

// time, alarm number, condition, acknowledge state, description
ParseStatus ParseAlr(const FieldList& f, SentenceRecord& r) {
    Alr a;
    a.time = ReadTime(f[0]);
    a.alarmNumber = static_cast<int>(ReadInt(f[1], 0));
    a.condition = ReadChar(f[2]);
    a.ackState = ReadChar(f[3]);
    CopyText(f[4], a.description);
    r.body = a;
    return ParseStatus::Ok;
}

// alarm number
ParseStatus ParseAck(const FieldList& f, SentenceRecord& r) {
    r.body = Ack{static_cast<int>(ReadInt(f[0], 1000))};
    return ParseStatus::Ok;
}

// call sign, name, reference A, B, C, D, DTE, source identifier
ParseStatus ParseSsd(const FieldList& f, SentenceRecord& r) {
    Ssd s;
    if (!IsEmptyField(f[0])) CopyText(f[0], s.callSign);
    if (!IsEmptyField(f[1])) CopyText(f[1], s.name);
    s.refA = static_cast<int>(ReadInt(f[2], 512));
    s.refB = static_cast<int>(ReadInt(f[3], 512));
    s.refC = static_cast<int>(ReadInt(f[4], 64));
    s.refD = static_cast<int>(ReadInt(f[5], 64));
    s.dte = static_cast<int>(ReadInt(f[6], 2));
    CopyText(f[7], s.source);
    r.body = s;
    return ParseStatus::Ok;
}

// ship and cargo type, draught, persons, destination, ETA time, ETA day,
// ETA month, navigational status, regional flags
ParseStatus ParseVsd(const FieldList& f, SentenceRecord& r) {
    Vsd v;
    const std::int64_t type = ReadInt(f[0], 256);
    v.shipType = type == 256 ? 256 : static_cast<int>(type & 0xFF);
    v.draught = ReadFloat(f[1]);
    v.persons = static_cast<int>(ReadInt(f[2], 8192));
    if (!IsEmptyField(f[3])) CopyText(f[3], v.destination);
    v.eta = ReadTime(f[4]);
    v.etaDay = static_cast<int>(ReadInt(f[5], 32));
    v.etaMonth = static_cast<int>(ReadInt(f[6], 13));
    v.navStatus = static_cast<int>(ReadInt(f[7], kEmptyByte));
    v.regionalFlags = static_cast<int>(ReadInt(f[8], 0));
    r.body = v;
    return ParseStatus::Ok;
}

// total, sentence number, text identifier, text
ParseStatus ParseTxt(const FieldList& f, SentenceRecord& r) {
    Txt t;
    t.total = static_cast<int>(ReadInt(f[0], kEmptyByte));
    t.number = static_cast<int>(ReadInt(f[1], kEmptyByte));
    t.identifier = static_cast<int>(ReadInt(f[2], kEmptyByte));
    if (!InRangeOrEmpty(t.total, 1, 99, kEmptyByte) ||
        !InRangeOrEmpty(t.number, 1, 99, kEmptyByte) ||
        !InRangeOrEmpty(t.identifier, 1, 99, kEmptyByte)) {
        return ParseStatus::Range;
    }
    const std::string_view text = f[3];
    CopyText(text.size() <= 62 ? text : text.substr(0, 61), t.text);
    r.body = t;
    return ParseStatus::Ok;
}

// ---- Composers -------------------------------------------------------------

namespace {

void AppendSequentialId(SentenceText& out, int id) {
    if (id >= 0 && id <= 9) out.appendf("%d", id);
}

// A channel given as an index (0 = A) or as its letter; empty otherwise.
void AppendChannelLetter(SentenceText& out, int channel) {
    if (channel >= 0 && channel < 26) {
        out.append(static_cast<char>('A' + channel));
    } else if (channel >= 'A' && channel <= 'Z') {
        out.append(static_cast<char>(channel));
    }
}

// "ddmm.m,N,dddmm.m,E" as ACA prints its corners; empty beyond the globe.
void AppendAcaCorner(SentenceText& out, const LatLon& p) {
    if (std::fabs(p.lon) > 180.1 || std::fabs(p.lat) > 90.1) {
        out.append(",,,");
        return;
    }
    const DegreesMinutes lat = SplitDegrees(std::fabs(p.lat), 1);
    const DegreesMinutes lon = SplitDegrees(std::fabs(p.lon), 1);
    out.appendf("%02d%02d.%01d,%c,%03d%02d.%01d,%c", lat.degrees, lat.minutes,
                lat.minuteFraction / 10000, p.lat < 0 ? 'S' : 'N', lon.degrees, lon.minutes,
                lon.minuteFraction / 10000, p.lon < 0 ? 'W' : 'E');
}

}  // namespace

void AppendHeader(const SentenceRecord& r, SentenceText& out) {
    out.append(r.start == '!' ? '!' : '$');
    out.append(r.talkerText());
    out.append(r.formatterText());
    out.append(',');
}

bool ComposeVdm(const SentenceRecord& r, SentenceText& out) {
    const Encapsulated* e = r.as<Encapsulated>();
    if (e == nullptr || !StandardPayload(*e)) return false;
    out.appendf("!%s%s,%d,%d,", r.talker, r.formatter, e->total, e->number);
    AppendSequentialId(out, e->sequentialId);
    out.append(',');
    AppendChannelLetter(out, e->channel);
    out.appendf(",%s,%d", e->payload, e->fillBits);
    return FitsStandardLength(out);
}

bool ComposeAbm(const SentenceRecord& r, SentenceText& out) {
    const Encapsulated* e = r.as<Encapsulated>();
    if (e == nullptr || !StandardPayload(*e)) return false;
    out.appendf("!%s%s,%d,%d,", r.talker, r.formatter, e->total, e->number);
    AppendSequentialId(out, e->sequentialId);
    out.appendf(",%lld,", static_cast<long long>(e->destinationMmsi));
    if (e->channel >= 0 && e->channel <= 9) out.appendf("%d", e->channel);
    out.appendf(",%d,%s,%d", e->messageId, e->payload, e->fillBits);
    return FitsStandardLength(out);
}

bool ComposeBbm(const SentenceRecord& r, SentenceText& out) {
    const Encapsulated* e = r.as<Encapsulated>();
    if (e == nullptr || !StandardPayload(*e)) return false;
    out.appendf("!%s%s,%d,%d,", r.talker, r.formatter, e->total, e->number);
    AppendSequentialId(out, e->sequentialId);
    out.appendf(",%d,%d,%s,%d", e->channel, e->messageId, e->payload, e->fillBits);
    return FitsStandardLength(out);
}

bool ComposeAbk(const SentenceRecord& r, SentenceText& out) {
    const Abk* a = r.as<Abk>();
    if (a == nullptr) return false;
    AppendHeader(r, out);
    if (a->mmsi != 0) out.appendf("%lld", static_cast<long long>(a->mmsi));
    out.append(',');
    AppendChannelLetter(out, a->channel);
    out.appendf(",%d,%d,%d", a->messageId, a->sequenceNumber, a->ackType);
    return true;
}

bool ComposeAca(const SentenceRecord& r, SentenceText& out) {
    const Aca* a = r.as<Aca>();
    if (a == nullptr) return false;
    AppendHeader(r, out);
    out.appendf("%d,", a->sequenceNumber);
    AppendAcaCorner(out, a->northEast);
    out.append(',');
    AppendAcaCorner(out, a->southWest);
    out.appendf(",%d,%04d,%d,%04d,%d,%d,%d,", a->zoneSize, a->channelA, a->bandwidthA, a->channelB,
                a->bandwidthB, a->txRxMode, a->power);
    if (a->source > ' ' && a->source < 127) out.append(static_cast<char>(a->source));
    out.appendf(",%d,", a->inUse);
    const TimeOfDay& t = a->inUseChanged;
    if (t.hour >= 0 && t.hour < 24) out.appendf("%02d%02d%02d", t.hour, t.minute, t.second);
    return true;
}

bool ComposeAcs(const SentenceRecord& r, SentenceText& out) {
    const Acs* a = r.as<Acs>();
    if (a == nullptr) return false;
    AppendHeader(r, out);
    out.appendf("%d,%09u,", a->sequenceNumber, static_cast<unsigned>(a->mmsi));
    AppendTime(out, a->time);
    out.appendf(",%02d,%02d,%04d", a->day, a->month, a->year);
    return true;
}

bool ComposeAlr(const SentenceRecord& r, SentenceText& out) {
    const Alr* a = r.as<Alr>();
    if (a == nullptr) return false;
    AppendHeader(r, out);
    AppendTime(out, a->time);
    out.appendf(",%d,%c,%c,%s", a->alarmNumber, a->condition, a->ackState, a->description);
    return true;
}

bool ComposeAck(const SentenceRecord& r, SentenceText& out) {
    const Ack* a = r.as<Ack>();
    if (a == nullptr) return false;
    AppendHeader(r, out);
    if (a->alarmNumber >= 0 && a->alarmNumber < 1000) out.appendf("%03d", a->alarmNumber);
    return true;
}

bool ComposeSsd(const SentenceRecord& r, SentenceText& out) {
    const Ssd* s = r.as<Ssd>();
    if (s == nullptr) return false;
    AppendHeader(r, out);
    out.appendf("%s,%s,", s->callSign, s->name);
    if (s->refA >= 0 && s->refA < 512) out.appendf("%d", s->refA);
    out.append(',');
    if (s->refB >= 0 && s->refB < 512) out.appendf("%d", s->refB);
    out.append(',');
    if (s->refC >= 0 && s->refC < 64) out.appendf("%d", s->refC);
    out.append(',');
    if (s->refD >= 0 && s->refD < 64) out.appendf("%d", s->refD);
    out.append(',');
    if (s->dte >= 0 && s->dte < 2) out.appendf("%d", s->dte);
    out.appendf(",%s", s->source);
    return true;
}

bool ComposeVsd(const SentenceRecord& r, SentenceText& out) {
    const Vsd* v = r.as<Vsd>();
    if (v == nullptr) return false;
    AppendHeader(r, out);
    if (v->shipType >= 0 && v->shipType < 256) out.appendf("%d", v->shipType);
    out.append(',');
    if (v->draught >= 0.0 && v->draught <= 25.5) out.appendf("%4.1f", v->draught);
    out.append(',');
    if (v->persons >= 0 && v->persons < 8192) out.appendf("%d", v->persons);
    out.appendf(",%s,", v->destination);
    if (v->eta.hour >= 0 && v->eta.hour < 24) AppendTime(out, v->eta);
    out.append(',');
    if (v->etaDay >= 0 && v->etaDay < 32) out.appendf("%02d", v->etaDay);
    out.append(',');
    if (v->etaMonth >= 0 && v->etaMonth < 13) out.appendf("%02d", v->etaMonth);
    out.append(',');
    if (v->navStatus >= 0 && v->navStatus < 16) out.appendf("%d", v->navStatus);
    out.append(',');
    if (v->regionalFlags >= 0 && v->regionalFlags < 16) out.appendf("%d", v->regionalFlags);
    return true;
}

}  // namespace norq::codec
