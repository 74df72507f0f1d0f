// Parsers and composers of the maker's proprietary sentences ($PKRV family).
#include "codec/FormatterTable.h"

namespace norq::codec {

namespace {

void ReadTextOrEmpty(std::string_view field, char (&out)[kTextCapacity]) {
    if (IsEmptyField(field)) {
        out[0] = '\0';
    } else {
        CopyText(field, out);
    }
}

// One or two hexadecimal digits as a byte. Returns false for a bad digit;
// sets `read` false (and leaves the value) for a field of three or more.
bool ReadHexByte(std::string_view field, int& value, bool& read) {
    read = field.size() <= 2;
    if (!read) return true;
    int v = 0;
    for (char c : field) {
        const int d = HexValue(c);
        if (d < 0) return false;
        v = v * 16 + d;
    }
    value = v;
    return true;
}

bool IsUpperHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

void AppendDigits(SentenceText& out, const char* format, std::int64_t v, bool valid) {
    if (valid) out.appendf(format, static_cast<long long>(v));
}

void AppendProprietaryHeader(const SentenceRecord& r, SentenceText& out) {
    out.appendf("$P%s,", r.formatter);
}

}  // namespace

// two 9-digit numbers
ParseStatus ParseMid(const FieldList& f, SentenceRecord& r) {
    r.body = Mid{ReadInt(f[0], kEmptyMmsi), ReadInt(f[1], kEmptyMmsi)};
    return ParseStatus::Ok;
}

// 9-digit number, two texts, two small numbers
ParseStatus ParseBdy(const FieldList& f, SentenceRecord& r) {
    Bdy b;
    b.number = ReadInt(f[0], kEmptyMmsi);
    ReadTextOrEmpty(f[1], b.text1);
    ReadTextOrEmpty(f[2], b.text2);
    b.small1 = static_cast<int>(ReadInt(f[3], 9));
    b.small2 = static_cast<int>(ReadInt(f[4], 9));
    r.body = b;
    return ParseStatus::Ok;
}

// number, small number, lower-case letter, upper-case letter, 16-bit number
ParseStatus ParseTst(const FieldList& f, SentenceRecord& r) {
    Tst t;
    t.number = ReadInt(f[0], 99999);
    t.small = static_cast<int>(ReadInt(f[1], 99));
    t.lowerLetter = ReadChar(f[2]);
    t.upperLetter = ReadChar(f[3]);
    t.value = static_cast<int>(ReadInt(f[4], kEmptyInt16));
    r.body = t;
    return ParseStatus::Ok;
}

// two pairs of a 9-digit number and a small number
ParseStatus ParseFrq(const FieldList& f, SentenceRecord& r) {
    r.body = Frq{ReadInt(f[0], kEmptyMmsi), static_cast<int>(ReadInt(f[1], kEmptyByte)),
                 ReadInt(f[2], kEmptyMmsi), static_cast<int>(ReadInt(f[3], kEmptyByte))};
    return ParseStatus::Ok;
}

// six numbers, text
ParseStatus ParseBth(const FieldList& f, SentenceRecord& r) {
    Bth b;
    for (int i = 0; i < 6; ++i)
        b.values[i] = static_cast<int>(ReadInt(f[i], 256));
    ReadTextOrEmpty(f[6], b.text);
    r.body = b;
    return ParseStatus::Ok;
}

// four pairs of command number and value
ParseStatus ParseDbg(const FieldList& f, SentenceRecord& r) {
    Dbg d;
    for (int i = 0; i < 4; ++i) {
        d.pairs[i].command = static_cast<int>(ReadInt(f[2 * i], 999));
        d.pairs[i].value = ReadInt(f[2 * i + 1], kDbgEmptyValue);
    }
    r.body = d;
    return ParseStatus::Ok;
}

// number, text
ParseStatus ParseTps(const FieldList& f, SentenceRecord& r) {
    Tps t;
    t.number = static_cast<int>(ReadInt(f[0], 999));
    ReadTextOrEmpty(f[1], t.text);
    r.body = t;
    return ParseStatus::Ok;
}

// operation code, count, device index, latitude, longitude (millionths of a
// degree), name, small number, and the empty field before the checksum
ParseStatus ParseMrk(const FieldList& f, SentenceRecord& r) {
    Mrk m;
    m.operation = IsEmptyField(f[0])                   ? kEmptyByte
                  : (f[0][0] >= '0' && f[0][0] <= '9') ? f[0][0] - '0'
                                                       : 0;
    m.count = static_cast<int>(ReadInt(f[1], kEmptyInt16));
    m.deviceIndex = static_cast<int>(ReadInt(f[2], 0));
    m.latitude = ReadInt(f[3], kMrkEmptyCoordinate);
    m.longitude = ReadInt(f[4], kMrkEmptyCoordinate);
    ReadTextOrEmpty(f[5], m.name);
    m.small = static_cast<int>(ReadInt(f[6], kEmptyByte));
    r.body = m;
    return ParseStatus::Ok;
}

// three numbers, text
ParseStatus ParseKrv(const FieldList& f, SentenceRecord& r) {
    Krv k;
    for (int i = 0; i < 3; ++i)
        k.numbers[i] = ReadInt(f[i], 0);
    ReadTextOrEmpty(f[3], k.text);
    r.body = k;
    return ParseStatus::Ok;
}

// "Smg", number
ParseStatus ParseAiq(const FieldList& f, SentenceRecord& r) {
    if (f[0] != "Smg") return ParseStatus::Range;
    r.body = Aiq{static_cast<int>(ReadInt(f[1], 0))};
    return ParseStatus::Ok;
}

// text, number
ParseStatus ParseSmg(const FieldList& f, SentenceRecord& r) {
    Smg s;
    ReadTextOrEmpty(f[0], s.text);
    s.number = static_cast<int>(ReadInt(f[1], 0));
    r.body = s;
    return ParseStatus::Ok;
}

// device id, kind, status, battery, payload
ParseStatus ParseMob(const FieldList& f, SentenceRecord& r) {
    Mob m;
    const std::string_view id = f[0];
    if (id.size() == 6) {
        for (char c : id) {
            if (!IsUpperHex(c)) return ParseStatus::Range;
        }
        for (int i = 0; i < 3; ++i) {
            m.deviceId[i] =
                static_cast<std::uint8_t>(HexValue(id[2 * i]) * 16 + HexValue(id[2 * i + 1]));
        }
    }
    m.kind = static_cast<int>(ReadInt(f[1], 255));
    if (!IsEmptyField(f[2]) && !ReadHexByte(f[2], m.status, m.statusRead)) {
        return ParseStatus::Range;
    }
    if (!IsEmptyField(f[3])) {
        if (!ReadHexByte(f[3], m.battery, m.batteryRead)) return ParseStatus::Range;
        m.batteryPresent = m.batteryRead;
    }
    const std::string_view payload = f[4];
    const bool payloadOk =
        !IsEmptyField(payload) && payload.size() % 2 == 0 && payload.size() <= 18;
    if (payloadOk) {
        int n = 0;
        for (std::size_t i = 0; i < payload.size(); i += 2) {
            const int hi = HexValue(payload[i]);
            const int lo = HexValue(payload[i + 1]);
            if (hi < 0 || lo < 0) {
                n = 0;
                break;
            }
            m.payload[n++] = static_cast<std::uint8_t>(hi * 16 + lo);
        }
        m.payloadLength = n;
    }
    r.body = m;
    return ParseStatus::Ok;
}

// ---- Composers -------------------------------------------------------------

bool ComposeMid(const SentenceRecord& r, SentenceText& out) {
    const Mid* m = r.as<Mid>();
    if (m == nullptr) return false;
    AppendProprietaryHeader(r, out);
    AppendDigits(out, "%09lld", m->first, m->first >= 0 && m->first < kEmptyMmsi);
    out.append(',');
    AppendDigits(out, "%09lld", m->second, m->second >= 0 && m->second < kEmptyMmsi);
    return true;
}

bool ComposeBdy(const SentenceRecord& r, SentenceText& out) {
    const Bdy* b = r.as<Bdy>();
    if (b == nullptr) return false;
    AppendProprietaryHeader(r, out);
    AppendDigits(out, "%09lld", b->number, b->number >= 0 && b->number < kEmptyMmsi);
    out.appendf(",%s,%s,", b->text1, b->text2);
    AppendDigits(out, "%lld", b->small1, b->small1 >= 0 && b->small1 < 2);
    out.append(',');
    AppendDigits(out, "%lld", b->small2, b->small2 >= 0 && b->small2 < 2);
    return true;
}

bool ComposeTst(const SentenceRecord& r, SentenceText& out) {
    const Tst* t = r.as<Tst>();
    if (t == nullptr) return false;
    AppendProprietaryHeader(r, out);
    AppendDigits(out, "%05lld", t->number, t->number >= 0 && t->number < 99999);
    out.append(',');
    AppendDigits(out, "%02lld", t->small, t->small >= 0 && t->small < 99);
    out.append(',');
    if (t->lowerLetter >= 'a' && t->lowerLetter <= 'm')
        out.append(static_cast<char>(t->lowerLetter));
    out.append(',');
    if (t->upperLetter >= 'A' && t->upperLetter <= 'Z')
        out.append(static_cast<char>(t->upperLetter));
    out.append(',');
    AppendDigits(out, "%05lld", t->value, t->value != kEmptyInt16);
    return true;
}

bool ComposeFrq(const SentenceRecord& r, SentenceText& out) {
    const Frq* q = r.as<Frq>();
    if (q == nullptr) return false;
    AppendProprietaryHeader(r, out);
    const bool first =
        q->number1 >= 0 && q->number1 < kEmptyMmsi && q->small1 >= 0 && q->small1 <= 10;
    const bool second =
        q->number2 >= 0 && q->number2 < kEmptyMmsi && q->small2 >= 0 && q->small2 <= 10;
    AppendDigits(out, "%09lld", q->number1, first);
    out.append(',');
    AppendDigits(out, "%lld", q->small1, first);
    out.append(',');
    AppendDigits(out, "%09lld", q->number2, second);
    out.append(',');
    AppendDigits(out, "%lld", q->small2, second);
    return true;
}

bool ComposeBth(const SentenceRecord& r, SentenceText& out) {
    const Bth* b = r.as<Bth>();
    if (b == nullptr) return false;
    AppendProprietaryHeader(r, out);
    bool valid = true;
    for (int v : b->values)
        valid = valid && v >= 0 && v <= 255;
    for (int v : b->values) {
        AppendDigits(out, "%03lld", v, valid);
        out.append(',');
    }
    out.append(b->text);
    return true;
}

bool ComposeDbg(const SentenceRecord& r, SentenceText& out) {
    const Dbg* d = r.as<Dbg>();
    if (d == nullptr) return false;
    out.appendf("$%s", r.talker);
    if (r.subtype >= 'A' && r.subtype <= 'Z') out.appendf("KRV,%c,", r.subtype);
    out.append(r.formatterText());
    for (const Dbg::Pair& p : d->pairs) {
        out.append(',');
        AppendDigits(out, "%03lld", p.command, p.command >= 0 && p.command < 999);
        out.append(',');
        AppendDigits(out, "%lld", p.value, p.value != kDbgEmptyValue);
    }
    return true;
}

bool ComposeTps(const SentenceRecord& r, SentenceText& out) {
    const Tps* t = r.as<Tps>();
    if (t == nullptr) return false;
    AppendProprietaryHeader(r, out);
    AppendDigits(out, "%03lld", t->number, t->number >= 0);
    out.appendf(",%s", t->text);
    return true;
}

bool ComposeMrk(const SentenceRecord& r, SentenceText& out) {
    const Mrk* m = r.as<Mrk>();
    if (m == nullptr) return false;
    const char subtype = (r.subtype >= 'A' && r.subtype <= 'Z') ? r.subtype : 'C';
    out.appendf("$PKRV,%c,MRK,", subtype);
    AppendDigits(out, "%1lld", m->operation, m->operation >= 0 && m->operation <= 9);
    out.append(',');
    AppendDigits(out, "%lld", m->count, m->count != 32767 && m->count != kEmptyInt16);
    out.append(',');
    AppendDigits(out, "%lld", m->deviceIndex, m->deviceIndex != 32767);
    out.append(',');
    // The marker exchange's "no position" values and the parsers' empty
    // values both go out as empty fields.
    AppendDigits(out, "%lld", m->latitude,
                 m->latitude != -910000000 && m->latitude != kMrkEmptyCoordinate);
    out.append(',');
    AppendDigits(out, "%lld", m->longitude,
                 m->longitude != -1810000000 && m->longitude != kMrkEmptyCoordinate);
    out.appendf(",%s,", m->name);
    AppendDigits(out, "%lld", m->small, m->small != 127 && m->small != kEmptyByte);
    out.append(',');
    return true;
}

bool ComposeMob(const SentenceRecord& r, SentenceText& out) {
    const Mob* m = r.as<Mob>();
    if (m == nullptr) return false;
    out.appendf("$PMOB,%02X%02X%02X,%d,%02X,", m->deviceId[0], m->deviceId[1], m->deviceId[2],
                m->kind, m->status & 0xFF);
    if (m->batteryPresent) out.appendf("%02X", m->battery & 0xFF);
    out.append(',');
    const int n = m->payloadLength < kMobPayloadCapacity ? m->payloadLength : kMobPayloadCapacity;
    for (int i = 0; i < n; ++i)
        out.appendf("%02X", m->payload[i]);
    return true;
}

}  // namespace norq::codec
