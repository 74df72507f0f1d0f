// StoreSentence and its inverse: copying records into the group stores and
// filling compose records from them.
#include <cstring>

#include "codec/SentenceCodec.h"

namespace norq::codec {

namespace {

bool CogValid(double cog) {
    return cog >= 0.0 && cog <= 360.0;
}

}  // namespace

void SentenceCodec::StoreSentence(SentenceRecord& record) {
    record.group = ClassifyFormatter(record.formatterText());
    const int system = TalkerSystemCode(record.talkerText());
    switch (record.group) {
        case SentenceGroup::Query: {
            const Query* q = record.as<Query>();
            if (q == nullptr) return;
            for (PendingQueries::Slot& slot : pending_.slots) {
                if (!slot.used) {
                    std::memcpy(slot.formatter, q->formatter, sizeof slot.formatter);
                    slot.used = true;
                    return;
                }
            }
            return;  // all four pending: the query is dropped
        }
        case SentenceGroup::Gnss:
            gnss_.talkerSystem = system;
            storeGnss(record);
            return;
        case SentenceGroup::Heading:
            heading_.talkerSystem = system;
            storeHeading(record);
            return;
        case SentenceGroup::LongRange:
            longRange_.talkerSystem = system;
            return;
        case SentenceGroup::Transponder:
            transponder_.talkerSystem = system;
            storeTransponder(record);
            return;
        case SentenceGroup::Dsc:
            dsc_.talkerSystem = system;
            return;
        case SentenceGroup::Proprietary:
            proprietary_.talkerSystem = system;
            storeProprietary(record);
            return;
        case SentenceGroup::AtonConfig: {
            atonConfig_.talkerSystem = system;
            const int i = AtonFormatterIndex(record.formatterText());
            if (const AtonConfig* c = record.as<AtonConfig>(); c != nullptr && i >= 0) {
                atonConfig_.sentences[i] = *c;
            }
            return;
        }
        case SentenceGroup::None:
            return;
    }
}

void SentenceCodec::storeGnss(const SentenceRecord& r) {
    GnssStore& s = gnss_;
    if (const Gga* g = r.as<Gga>()) {
        s.fixTime = g->time;
        s.latitude = g->pos.lat;
        s.longitude = g->pos.lon;
        s.positionValid = GgaQualityIsFix(g->quality) && PositionPresent(g->pos);
        if (s.positionValid && TimeOfDayValid(g->time)) s.timeValid = true;
        s.ggaQuality = g->quality;
        s.altitude = g->altitude;
        if (g->satellites != kEmptyByte) s.satellitesUsed = g->satellites;
    } else if (const Gll* l = r.as<Gll>()) {
        s.latitude = l->pos.lat;
        s.longitude = l->pos.lon;
        s.fixTime = l->time;
        s.status = l->status;
        s.mode = l->mode;
        s.positionValid = StatusIsFix(l->status, l->mode) && PositionPresent(l->pos);
    } else if (const Rmc* m = r.as<Rmc>()) {
        s.fixTime = m->time;
        s.status = m->status;
        s.latitude = m->pos.lat;
        s.longitude = m->pos.lon;
        s.positionValid = StatusIsFix(m->status, m->mode) && PositionPresent(m->pos);
        s.sog = m->sog;
        s.cogTrue = m->cog;
        s.cogValid = CogValid(m->cog);
        s.date = m->date;
        s.variation = m->variation;
        s.variationDirection = m->variationDirection;
        s.mode = m->mode;
        s.navStatus = m->navStatus;
        if (m->status == 'A' && TimeOfDayValid(m->time) && DateValid(m->date)) s.timeValid = true;
    } else if (const Vtg* v = r.as<Vtg>()) {
        // A VTG without a course must not leave an earlier course marked valid.
        s.cogTrue = v->cogTrue;
        s.cogValid = CogValid(v->cogTrue);
        s.cogMagnetic = v->cogMagnetic;
        s.sog = v->sogKnots;
        s.sogKmh = v->sogKmh;
        s.mode = v->mode;
    } else if (const Gsa* a = r.as<Gsa>()) {
        s.selectionMode = a->selectionMode;
        s.fixType = a->fixType;
        int used = 0;
        for (int i = 0; i < 12; ++i) {
            const int prn = a->prn[i] == kEmptyByte ? 0 : a->prn[i];
            s.usedPrn[i] = prn;
            used += prn != 0;
        }
        s.satellitesUsed = used;
        s.pdop = a->pdop;
        s.hdop = a->hdop;
        s.vdop = a->vdop;
        s.gsaSystemId = a->systemId;
    } else if (const Gsv* v2 = r.as<Gsv>()) {
        s.satellitesInView = v2->inView;
        s.gsvTotal = v2->total;
        s.gsvNumber = v2->number;
        s.gsvCount = v2->count;
        s.gsvSatellites = v2->satellites;
        s.gsvSignalId = v2->signalId;
    } else if (const Gbs* b = r.as<Gbs>()) {
        s.gbs = *b;
        s.gbsValid = b->latError > -99999 && b->lonError > -99999 && b->altError > -99999;
    } else if (const Dtm* d = r.as<Dtm>()) {
        s.dtm = *d;
        s.dtmValid = true;
    }
}

void SentenceCodec::storeHeading(const SentenceRecord& r) {
    if (const Hdt* h = r.as<Hdt>()) {
        heading_.heading = h->heading;
        heading_.headingValid = h->heading >= 0.0 && h->heading < 360.0;
    } else if (const Rot* t = r.as<Rot>()) {
        heading_.rot = *t;
    } else if (const Vbw* v = r.as<Vbw>()) {
        heading_.vbw = *v;
    } else if (const Gns* g = r.as<Gns>()) {
        heading_.gns = *g;
    }
}

void SentenceCodec::storeTransponder(const SentenceRecord& r) {
    TransponderStore& s = transponder_;
    if (const Encapsulated* e = r.as<Encapsulated>()) {
        if (r.is("VDM")) s.vdm = *e;
        if (r.is("VDO")) s.vdo = *e;
        if (r.is("ABM")) s.abm = *e;
        if (r.is("BBM")) s.bbm = *e;
    } else if (const Ssd* d = r.as<Ssd>()) {
        s.ssd = *d;
        s.ssdValid = d->refA < 512 && d->refB < 512 && d->refC < 64 && d->refD < 64;
        s.ssdDteValid = d->dte < 2;
        s.ssdNamesValid = d->callSign[0] != '\0' && d->name[0] != '\0';
    } else if (const Vsd* v = r.as<Vsd>()) {
        s.vsd = *v;
        s.vsdShipTypeValid = v->shipType < 256;
        s.vsdDraughtValid = v->draught >= 0.0 && v->draught <= 25.5;
        s.vsdPersonsValid = v->persons >= 0 && v->persons < 8192;
        s.vsdDestinationValid = v->destination[0] != '\0';
        s.vsdEtaValid = v->eta.hour < 24 && v->etaDay < 32 && v->etaMonth <= 12;
        s.vsdNavStatusValid = v->navStatus >= 0 && v->navStatus <= 15;
    } else if (const Ack* a = r.as<Ack>()) {
        s.ack = *a;
        s.ackValid = a->alarmNumber >= 0 && a->alarmNumber < 1000;
    } else if (const Alr* l = r.as<Alr>()) {
        s.alr = *l;
    } else if (const Txt* t = r.as<Txt>()) {
        s.txt = *t;
    } else if (const Abk* k = r.as<Abk>()) {
        s.abk = *k;
    } else if (const Aca* c = r.as<Aca>()) {
        s.aca = *c;
    } else if (const Acs* c2 = r.as<Acs>()) {
        s.acs = *c2;
    }
}

void SentenceCodec::storeProprietary(const SentenceRecord& r) {
    ProprietaryStore& s = proprietary_;
    if (const Mob* m = r.as<Mob>()) {
        // A status or battery field too long to read leaves the earlier values.
        const Mob before = s.mob;
        s.mob = *m;
        if (!m->statusRead || !m->batteryRead) {
            s.mob.status = before.status;
            s.mob.battery = before.battery;
            s.mob.batteryPresent = before.batteryPresent;
        }
        s.mob.statusRead = s.mob.batteryRead = true;
    } else if (const Mid* d = r.as<Mid>()) {
        s.mid = *d;
    } else if (const Bdy* b = r.as<Bdy>()) {
        s.bdy = *b;
    } else if (const Tst* t = r.as<Tst>()) {
        s.tst = *t;
    } else if (const Frq* q = r.as<Frq>()) {
        s.frq = *q;
    } else if (const Bth* h = r.as<Bth>()) {
        s.bth = *h;
    } else if (const Dbg* g = r.as<Dbg>()) {
        s.dbg = *g;
        s.dbgSubtype = r.subtype;
    } else if (const Tps* p = r.as<Tps>()) {
        s.tps = *p;
    } else if (const Mrk* k = r.as<Mrk>()) {
        s.mrk = *k;
        if (r.subtype != 0) s.mrkSubtype = r.subtype;
    } else if (const Krv* v = r.as<Krv>()) {
        s.krv = *v;
        s.krvSubtype = r.subtype;
    } else if (const Aiq* a = r.as<Aiq>()) {
        s.aiq = *a;
    } else if (const Smg* g2 = r.as<Smg>()) {
        s.smg = *g2;
    }
}

bool SentenceCodec::ComposeFromStore(std::string_view talker, std::string_view formatter,
                                     SentenceText& out) {
    SentenceRecord& r = compose_;
    r = SentenceRecord{};
    if (talker.size() > 2 || formatter.size() > 3) return false;
    std::memcpy(r.talker, talker.data(), talker.size());
    std::memcpy(r.formatter, formatter.data(), formatter.size());
    const bool encapsulated =
        formatter == "VDM" || formatter == "VDO" || formatter == "ABM" || formatter == "BBM";
    r.start = encapsulated ? '!' : '$';
    r.group = ClassifyFormatter(formatter);
    if (!fillFromStore(r)) return false;
    return ComposeSentence(r, out);
}

bool SentenceCodec::fillFromStore(SentenceRecord& r) {
    const std::string_view f = r.formatterText();
    const GnssStore& g = gnss_;
    const TransponderStore& t = transponder_;
    const ProprietaryStore& p = proprietary_;
    if (f == "RMC") {
        Rmc m;
        m.time = g.fixTime;
        m.status = g.status;
        m.pos = LatLon{g.latitude, g.longitude};
        m.sog = g.sog;
        m.cog = g.cogValid ? g.cogTrue : kEmptyFloat;
        m.date = g.date;
        m.variation = g.variation;
        m.variationDirection = g.variationDirection;
        m.mode = g.mode;
        r.body = m;
    } else if (f == "GSA") {
        Gsa a;
        a.selectionMode = g.selectionMode;
        a.fixType = g.fixType;
        a.prn = g.usedPrn;
        a.pdop = g.pdop;
        a.hdop = g.hdop;
        a.vdop = g.vdop;
        r.body = a;
    } else if (f == "GBS") {
        r.body = g.gbs;
    } else if (f == "HDT") {
        r.body = Hdt{heading_.headingValid ? heading_.heading : 511.0, 'T'};
    } else if (f == "HDG") {
        r.body = Hdg{heading_.heading, heading_.deviation, heading_.variation};
    } else if (f == "ROT") {
        r.body = heading_.rot;
    } else if (f == "VDM") {
        r.body = t.vdm;
    } else if (f == "VDO") {
        r.body = t.vdo;
    } else if (f == "ABM") {
        r.body = t.abm;
    } else if (f == "BBM") {
        r.body = t.bbm;
    } else if (f == "ABK") {
        r.body = t.abk;
    } else if (f == "ACA") {
        r.body = t.aca;
    } else if (f == "ACS") {
        r.body = t.acs;
    } else if (f == "ACK") {
        r.body = t.ack;
    } else if (f == "ALR") {
        r.body = t.alr;
    } else if (f == "SSD") {
        r.body = t.ssd;
    } else if (f == "VSD") {
        r.body = t.vsd;
    } else if (f == "MID") {
        r.body = p.mid;
    } else if (f == "BDY") {
        r.body = p.bdy;
    } else if (f == "TST") {
        r.body = p.tst;
    } else if (f == "FRQ") {
        r.body = p.frq;
    } else if (f == "BTH") {
        r.body = p.bth;
    } else if (f == "DBG") {
        r.body = p.dbg;
        r.subtype = p.dbgSubtype;
    } else if (f == "TPS") {
        r.body = p.tps;
    } else if (f == "MRK") {
        r.body = p.mrk;
        r.subtype = p.mrkSubtype;
    } else if (f == "MOB") {
        r.body = p.mob;
    } else if (const int i = AtonFormatterIndex(f); i >= 0) {
        r.body = atonConfig_.sentences[i];
    } else {
        return false;
    }
    return true;
}

}  // namespace norq::codec
