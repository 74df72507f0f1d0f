// Parsers and composers of the GNSS, heading and other navigation sentences.
#include <cmath>

#include "codec/FormatterTable.h"

namespace norq::codec {

LatLon ReadPosition(const FieldList& f, int first) {
    return LatLon{ReadLatitude(f[first], f[first + 1]), ReadLongitude(f[first + 2], f[first + 3])};
}

namespace {

bool FloatInRangeOrEmpty(double v, double lo, double hi) {
    return v == kEmptyFloat || (v >= lo && v <= hi);
}

// A system or signal id of NMEA 4.1 and later: one hexadecimal digit; empty
// or unreadable gives 128.
int ReadHexId(std::string_view field) {
    if (field.size() != 1) return kEmptyByte;
    const int v = HexValue(field[0]);
    return v < 0 ? kEmptyByte : v;
}

// A unit field of VTG: exactly one character; empty is stored as 128.
bool ReadUnit(std::string_view field, int& out) {
    if (field.size() != 1) return false;
    out = field[0] == ' ' ? kEmptyByte : static_cast<unsigned char>(field[0]);
    return true;
}

}  // namespace

// time, lat, N/S, lon, E/W, quality, satellites, HDOP, altitude, unit,
// geoid separation, unit, DGPS age, DGPS station
ParseStatus ParseGga(const FieldList& f, SentenceRecord& r) {
    Gga g;
    g.time = ReadTime(f[0]);
    g.pos = ReadPosition(f, 1);
    g.quality = static_cast<int>(ReadInt(f[5], kEmptyByte));
    g.satellites = static_cast<int>(ReadInt(f[6], kEmptyByte));
    g.hdop = ReadFloat(f[7]);
    g.altitude = ReadFloat(f[8]);
    g.altitudeUnit = ReadChar(f[9]);
    g.geoidSeparation = ReadFloat(f[10]);
    g.separationUnit = ReadChar(f[11]);
    g.dgpsAge = ReadFloat(f[12]);
    g.dgpsStation = static_cast<int>(ReadInt(f[13], kEmptyInt16));
    // Receivers tracking several constellations use 13 and more satellites.
    if (!InRangeOrEmpty(g.satellites, 0, 99, kEmptyByte) || !FloatInRangeOrEmpty(g.hdop, 0, 99.9) ||
        !InRangeOrEmpty(g.dgpsStation, 0, 1023, kEmptyInt16)) {
        return ParseStatus::Range;
    }
    r.body = g;
    return ParseStatus::Ok;
}

// lat, N/S, lon, E/W, time, status, mode (from 2.3)
ParseStatus ParseGll(const FieldList& f, SentenceRecord& r) {
    Gll g;
    g.pos = ReadPosition(f, 0);
    g.time = ReadTime(f[4]);
    g.status = ReadChar(f[5]);
    g.mode = ReadChar(f[6]);
    r.body = g;
    return ParseStatus::Ok;
}

// time, status, lat, N/S, lon, E/W, SOG, COG, date, variation, E/W, mode
// (from 2.3), navigational status (from 4.1)
ParseStatus ParseRmc(const FieldList& f, SentenceRecord& r) {
    Rmc m;
    m.time = ReadTime(f[0]);
    m.status = ReadChar(f[1]);
    m.pos = ReadPosition(f, 2);
    m.sog = ReadFloat(f[6]);
    m.cog = ReadFloat(f[7]);
    m.date = ReadDate(f[8]);
    m.variation = ReadFloat(f[9]);
    m.variationDirection = ReadChar(f[10], kEmptyByte);
    m.mode = ReadChar(f[11]);
    m.navStatus = ReadChar(f[12]);
    r.body = m;
    return ParseStatus::Ok;
}

// COG true, T, COG magnetic, M, SOG knots, N, SOG km/h, K, mode (from 2.3)
ParseStatus ParseVtg(const FieldList& f, SentenceRecord& r) {
    Vtg v;
    v.cogTrue = ReadFloat(f[0]);
    v.cogMagnetic = ReadFloat(f[2]);
    v.sogKnots = ReadFloat(f[4]);
    v.sogKmh = ReadFloat(f[6]);
    v.mode = ReadChar(f[8]);
    if (!ReadUnit(f[1], v.trueUnit) || !ReadUnit(f[3], v.magneticUnit) ||
        !ReadUnit(f[5], v.knotsUnit) || !ReadUnit(f[7], v.kmhUnit)) {
        return ParseStatus::Range;
    }
    r.body = v;
    return ParseStatus::Ok;
}

// selection mode, fix type, twelve PRNs, PDOP, HDOP, VDOP, system id (from 4.1)
ParseStatus ParseGsa(const FieldList& f, SentenceRecord& r) {
    Gsa g;
    g.selectionMode = ReadChar(f[0]);
    g.fixType = static_cast<int>(ReadInt(f[1], 0));
    for (int i = 0; i < 12; ++i)
        g.prn[i] = static_cast<int>(ReadInt(f[2 + i], kEmptyByte));
    g.pdop = ReadFloat(f[14]);
    g.hdop = ReadFloat(f[15]);
    g.vdop = ReadFloat(f[16]);
    g.systemId = ReadHexId(f[17]);
    r.body = g;
    return ParseStatus::Ok;
}

// total, number, satellites in view, then PRN, elevation, azimuth, SNR for
// each of zero to four satellites, then the signal id (from 4.1)
ParseStatus ParseGsv(const FieldList& f, SentenceRecord& r) {
    Gsv g;
    g.total = static_cast<int>(ReadInt(f[0], 0));
    g.number = static_cast<int>(ReadInt(f[1], 0));
    g.inView = static_cast<int>(ReadInt(f[2], 0));
    if (!InRange(g.total, 0, 9) || !InRange(g.number, 0, 9)) {
        return ParseStatus::Range;
    }
    g.count = (f.count - 3) / 4;
    if ((f.count - 3) % 4 == 1) g.signalId = ReadHexId(f[f.count - 1]);
    for (int i = 0; i < g.count; ++i) {
        SatelliteInView& s = g.satellites[i];
        const int at = 3 + 4 * i;
        s.prn = static_cast<int>(ReadInt(f[at], kEmptyByte));
        s.elevation = static_cast<int>(ReadInt(f[at + 1], kEmptyByte));
        s.azimuth = static_cast<int>(ReadInt(f[at + 2], kEmptyInt16));
        s.snr = static_cast<int>(ReadInt(f[at + 3], kEmptyByte));
        if (!InRangeOrEmpty(s.elevation, 0, 90, kEmptyByte) ||
            !InRangeOrEmpty(s.azimuth, 0, 359, kEmptyInt16) ||
            !InRangeOrEmpty(s.snr, 0, 99, kEmptyByte)) {
            return ParseStatus::Range;
        }
    }
    r.body = g;
    return ParseStatus::Ok;
}

// time, expected errors of latitude, longitude, altitude, failed satellite,
// probability of missed detection, bias estimate, standard deviation of bias,
// system id and signal id (from 4.1)
ParseStatus ParseGbs(const FieldList& f, SentenceRecord& r) {
    Gbs g;
    g.time = ReadTime(f[0]);
    g.latError = ReadFloat(f[1]);
    g.lonError = ReadFloat(f[2]);
    g.altError = ReadFloat(f[3]);
    g.failedSatellite = static_cast<int>(ReadInt(f[4], 255) & 0xFF);
    g.missedProbability = ReadFloat(f[5]);
    g.biasEstimate = ReadFloat(f[6]);
    g.biasDeviation = ReadFloat(f[7]);
    g.systemId = ReadHexId(f[8]);
    g.signalId = ReadHexId(f[9]);
    r.body = g;
    return ParseStatus::Ok;
}

// local datum, subdivision, lat offset, N/S, lon offset, E/W, altitude
// offset, reference datum
ParseStatus ParseDtm(const FieldList& f, SentenceRecord& r) {
    Dtm d;
    if (!IsEmptyField(f[0])) CopyText(f[0], d.localDatum);
    d.subdivision = ReadChar(f[1], 0);
    d.latOffset = ReadFloat(f[2]);
    if (d.latOffset != kEmptyFloat && f[3][0] == 'S') d.latOffset = -d.latOffset;
    d.lonOffset = ReadFloat(f[4]);
    if (d.lonOffset != kEmptyFloat && f[5][0] == 'W') d.lonOffset = -d.lonOffset;
    d.altOffset = ReadFloat(f[6]);
    if (!IsEmptyField(f[7])) CopyText(f[7], d.referenceDatum);
    r.body = d;
    return ParseStatus::Ok;
}

// time, day, month, year, local zone hours, local zone minutes
ParseStatus ParseZda(const FieldList& f, SentenceRecord& r) {
    Zda z;
    z.time = ReadTime(f[0]);
    z.day = static_cast<int>(ReadInt(f[1], kEmptyByte));
    z.month = static_cast<int>(ReadInt(f[2], kEmptyByte));
    z.year = static_cast<int>(ReadInt(f[3], kEmptyInt16));
    z.zoneHours = static_cast<int>(ReadInt(f[4], kEmptyByte));
    z.zoneMinutes = static_cast<int>(ReadInt(f[5], kEmptyByte));
    if (!InRangeOrEmpty(z.day, 1, 31, kEmptyByte) || !InRangeOrEmpty(z.month, 1, 12, kEmptyByte) ||
        !InRangeOrEmpty(z.zoneHours, -13, 13, kEmptyByte) ||
        !InRangeOrEmpty(z.zoneMinutes, 0, 59, kEmptyByte)) {
        return ParseStatus::Range;
    }
    r.body = z;
    return ParseStatus::Ok;
}

// time, mode, twelve range residuals
ParseStatus ParseGrs(const FieldList& f, SentenceRecord& r) {
    Grs g;
    g.time = ReadTime(f[0]);
    g.mode = ReadChar(f[1]);
    for (int i = 0; i < 12; ++i)
        g.residuals[i] = ReadFloat(f[2 + i]);
    r.body = g;
    return ParseStatus::Ok;
}

// time, RMS, semi-major, semi-minor, orientation, lat, lon, altitude errors
ParseStatus ParseGst(const FieldList& f, SentenceRecord& r) {
    Gst g;
    g.time = ReadTime(f[0]);
    g.rms = ReadFloat(f[1]);
    g.semiMajor = ReadFloat(f[2]);
    g.semiMinor = ReadFloat(f[3]);
    g.orientation = ReadFloat(f[4]);
    g.latError = ReadFloat(f[5]);
    g.lonError = ReadFloat(f[6]);
    g.altError = ReadFloat(f[7]);
    r.body = g;
    return ParseStatus::Ok;
}

// heading, T
ParseStatus ParseHdt(const FieldList& f, SentenceRecord& r) {
    r.body = Hdt{ReadFloat(f[0], 511.0), ReadChar(f[1])};
    return ParseStatus::Ok;
}

// rate of turn, status
ParseStatus ParseRot(const FieldList& f, SentenceRecord& r) {
    r.body = Rot{ReadFloat(f[0]), ReadChar(f[1])};
    return ParseStatus::Ok;
}

// water speed longitudinal, transverse, status; ground speed longitudinal,
// transverse, status
ParseStatus ParseVbw(const FieldList& f, SentenceRecord& r) {
    r.body = Vbw{ReadFloat(f[0], 0.0), ReadFloat(f[1], 0.0), ReadChar(f[2]),
                 ReadFloat(f[3], 0.0), ReadFloat(f[4], 0.0), ReadChar(f[5])};
    return ParseStatus::Ok;
}

// time, lat, N/S, lon, E/W, mode, satellites, HDOP, altitude, geoid
// separation, DGPS age, DGPS station, navigational status (from 4.1)
ParseStatus ParseGns(const FieldList& f, SentenceRecord& r) {
    Gns g;
    g.time = ReadTime(f[0]);
    g.pos = ReadPosition(f, 1);
    CopyText(f[5].substr(0, 2), g.mode);
    CopyText(f[6].substr(0, 2), g.satellites);
    g.hdop = ReadFloat(f[7]);
    g.altitude = ReadFloat(f[8]);
    g.geoidSeparation = ReadFloat(f[9]);
    g.dgpsAge = ReadFloat(f[10]);
    g.dgpsStation = ReadFloat(f[11]);
    g.navStatus = ReadChar(f[12]);
    if (!FloatInRangeOrEmpty(g.hdop, 0, 99.9)) return ParseStatus::Range;
    r.body = g;
    return ParseStatus::Ok;
}

// heading, status, course, reference, speed, reference, set, drift, units
ParseStatus ParseOsd(const FieldList& f, SentenceRecord& r) {
    r.body = Osd{ReadFloat(f[0]), ReadChar(f[1]),  ReadFloat(f[2]), ReadChar(f[3]), ReadFloat(f[4]),
                 ReadChar(f[5]),  ReadFloat(f[6]), ReadFloat(f[7]), ReadChar(f[8])};
    return ParseStatus::Ok;
}

// status, lat, N/S, lon, E/W (the rest is not read)
ParseStatus ParseRma(const FieldList& f, SentenceRecord& r) {
    r.body = Rma{ReadChar(f[0]), ReadPosition(f, 1)};
    return ParseStatus::Ok;
}

// lat, N/S, lon, E/W, waypoint identifier
ParseStatus ParseWpl(const FieldList& f, SentenceRecord& r) {
    Wpl w;
    w.pos = ReadPosition(f, 0);
    CopyText(f[4], w.identifier);
    r.body = w;
    return ParseStatus::Ok;
}

// the queried formatter
ParseStatus ParseQuery(const FieldList& f, SentenceRecord& r) {
    Query q;
    CopyText(f[0].substr(0, 3), q.formatter);
    r.body = q;
    return ParseStatus::Ok;
}

// ---- Composers -------------------------------------------------------------

void AppendTime(SentenceText& out, const TimeOfDay& t) {
    if (t.hour < 24 && t.hour >= 0) {
        out.appendf("%02d%02d%02d.%02d", t.hour, t.minute, t.second, t.hundredths);
    }
}

void AppendPosition(SentenceText& out, const LatLon& pos) {
    if (std::fabs(pos.lat) <= 90.0 && std::fabs(pos.lon) <= 180.0) {
        const DegreesMinutes lat = SplitDegrees(std::fabs(pos.lat));
        const DegreesMinutes lon = SplitDegrees(std::fabs(pos.lon));
        out.appendf("%02d%02d.%05d,%c,%03d%02d.%05d,%c", lat.degrees, lat.minutes,
                    lat.minuteFraction, pos.lat < 0 ? 'S' : 'N', lon.degrees, lon.minutes,
                    lon.minuteFraction, pos.lon < 0 ? 'W' : 'E');
    } else {
        out.append(",,,");
    }
}

namespace {

void AppendFloat(SentenceText& out, const char* format, double v, bool valid) {
    if (valid) out.appendf(format, v);
}

void AppendChar(SentenceText& out, int c) {
    if (c > ' ' && c < 127) out.append(static_cast<char>(c));
}

}  // namespace

bool ComposeRmc(const SentenceRecord& r, SentenceText& out) {
    const Rmc* m = r.as<Rmc>();
    if (m == nullptr) return false;
    AppendHeader(r, out);
    AppendTime(out, m->time);
    out.append(',');
    AppendChar(out, m->status);
    out.append(',');
    AppendPosition(out, m->pos);
    out.append(',');
    AppendFloat(out, "%.1f", m->sog, m->sog >= 0.0);
    out.append(',');
    AppendFloat(out, "%.1f", m->cog, m->cog >= 0.0 && m->cog <= 360.0);
    out.append(',');
    if (m->date.month >= 1) {
        out.appendf("%02d%02d%02d", m->date.day, m->date.month, m->date.year % 100);
    }
    out.append(',');
    AppendFloat(out, "%.1f", m->variation, m->variation != kEmptyFloat);
    out.append(',');
    if (m->variationDirection != kEmptyByte) AppendChar(out, m->variationDirection);
    out.append(',');
    AppendChar(out, m->mode);
    return true;
}

bool ComposeGsa(const SentenceRecord& r, SentenceText& out) {
    const Gsa* g = r.as<Gsa>();
    if (g == nullptr) return false;
    AppendHeader(r, out);
    AppendChar(out, g->selectionMode);
    out.append(',');
    out.appendf("%d", g->fixType);
    out.append(',');
    for (int prn : g->prn) {
        if (prn > 0 && prn != kEmptyByte) out.appendf("%02d", prn);
        out.append(',');
    }
    AppendFloat(out, "%4.2f", g->pdop, g->pdop >= 0.0);
    out.append(',');
    AppendFloat(out, "%4.2f", g->hdop, g->hdop >= 0.0);
    out.append(',');
    AppendFloat(out, "%4.2f", g->vdop, g->vdop >= 0.0);
    return true;
}

bool ComposeGbs(const SentenceRecord& r, SentenceText& out) {
    const Gbs* g = r.as<Gbs>();
    if (g == nullptr) return false;
    AppendHeader(r, out);
    AppendTime(out, g->time);
    for (double v : {g->latError, g->lonError, g->altError}) {
        out.append(',');
        AppendFloat(out, "%.1f", v, v != kEmptyFloat);
    }
    out.append(',');
    if (g->failedSatellite != 255) out.appendf("%02d", g->failedSatellite);
    for (double v : {g->missedProbability, g->biasEstimate, g->biasDeviation}) {
        out.append(',');
        AppendFloat(out, "%.1f", v, v != kEmptyFloat);
    }
    return true;
}

bool ComposeHdt(const SentenceRecord& r, SentenceText& out) {
    const Hdt* h = r.as<Hdt>();
    if (h == nullptr) return false;
    AppendHeader(r, out);
    AppendFloat(out, "%3.1f", h->heading, h->heading >= 0.0 && h->heading <= 360.0);
    out.append(",T");
    return true;
}

bool ComposeHdg(const SentenceRecord& r, SentenceText& out) {
    const Hdg* h = r.as<Hdg>();
    if (h == nullptr) return false;
    AppendHeader(r, out);
    out.appendf("%f,%f,%c,%f,%c", h->heading, h->deviation, h->deviation >= 0 ? 'E' : 'W',
                h->variation, h->variation >= 0 ? 'E' : 'W');
    return true;
}

bool ComposeRot(const SentenceRecord& r, SentenceText& out) {
    const Rot* t = r.as<Rot>();
    if (t == nullptr) return false;
    AppendHeader(r, out);
    out.appendf("%f,", t->rate);
    AppendChar(out, t->status);
    return true;
}

}  // namespace norq::codec
