#include "ais/TargetTracker.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "ais/AisDecoder.h"
#include "ais/TargetTexts.h"

namespace norq::ais {

namespace {

// Copies a 6-bit text without its trailing '@' padding (and trailing spaces
// that some stations send instead).
template <std::size_t N, std::size_t M>
void CopyName(const std::array<char, M>& from, std::array<char, N>& to) {
    std::size_t n = 0;
    while (n < M && n + 1 < N && from[n] != '\0')
        ++n;
    while (n > 0 && (from[n - 1] == '@' || from[n - 1] == ' '))
        --n;
    std::memcpy(to.data(), from.data(), n);
    std::memset(to.data() + n, 0, N - n);
}

void SetDimensions(TargetRecord& t, std::uint32_t packed) {
    const AisDimensions d = SplitDimensions(packed);
    t.toBow = d.toBow;
    t.toStern = d.toStern;
    t.toPort = d.toPort;
    t.toStarboard = d.toStarboard;
}

void SetEpfd(TargetRecord& t, int epfd) {
    t.statusByte = static_cast<std::uint8_t>((t.statusByte & 0xF0) | (epfd & 0x0F));
}

void SetNavStatus(TargetRecord& t, int status) {
    t.statusByte = static_cast<std::uint8_t>((t.statusByte & 0x0F) | ((status & 0x0F) << 4));
}

void SetFlag(std::uint8_t& flags, int bit, bool on) {
    flags = static_cast<std::uint8_t>(on ? (flags | (1u << bit)) : (flags & ~(1u << bit)));
}

void SetPosition(TargetRecord& t, double lon, double lat, int accuracy, int raim) {
    t.longitude = static_cast<float>(lon);
    t.latitude = static_cast<float>(lat);
    SetFlag(t.flags, 0, accuracy != 0);
    SetFlag(t.flags, 1, raim != 0);
}

bool WithinGlobe(double lon, double lat, double margin) {
    return std::fabs(lon) <= 180.0 + margin && std::fabs(lat) <= 90.0 + margin;
}

// The texts a SART, MOB or EPIRB device sends in message 14.
struct SartText {
    const char* text;
    bool test;
};
constexpr SartText kSartTexts[] = {
    {"SART ACTIVE", false}, {"SART TEST", true}, {"MOB ACTIVE", false}, {"MOB TEST", true}};

bool IsDistressDevice(std::uint32_t mmsi) {
    const MmsiClass c = ClassifyMmsi(mmsi);
    return c == MmsiClass::AisSart || c == MmsiClass::ManOverboard || c == MmsiClass::EpirbAis;
}

// Message 5. Only the fields the message holds whole are taken: a message cut
// short keeps the entry's name, call sign and voyage data.
void ApplyStaticVoyage(TargetRecord& t, const AisMessage& m) {
    const AisStaticVoyage& s = m.staticVoyage;
    auto has = [&m](const auto& member) { return AisFieldPresent(m, member); };
    t.aisVersion = s.aisVersion & 0x03;
    if (has(s.imo)) t.imo = s.imo;
    if (has(s.callSign)) CopyName(s.callSign, t.callSign);
    if (has(s.name)) CopyName(s.name, t.name);
    if (has(s.shipType)) t.shipType = s.shipType;
    if (has(s.dimensions)) SetDimensions(t, s.dimensions);
    if (has(s.epfdType)) SetEpfd(t, s.epfdType);
    if (has(s.eta)) {
        const AisEta eta = SplitEta(s.eta);
        t.etaMonth = eta.month;
        t.etaDay = eta.day;
        t.etaHour = eta.hour;
        t.etaMinute = eta.minute;
    }
    if (has(s.draught)) t.draught = s.draught;
    if (has(s.destination)) CopyName(s.destination, t.destination);
    if (has(s.dte)) SetFlag(t.flags, 2, s.dte != 0);
}

// Message 19: the position part as message 18, then the static part as far
// as the message holds it.
void ApplyClassBExtended(TargetRecord& t, const AisMessage& m) {
    const AisClassBExtended& b = m.classBExtended;
    auto has = [&m](const auto& member) { return AisFieldPresent(m, member); };
    t.kind = TargetKind::ClassB;
    t.sog = b.sog;
    SetPosition(t, b.longitude, b.latitude, b.positionAccuracy, has(b.raim) ? b.raim : 0);
    t.cog = b.cog;
    t.heading = b.heading;
    if (has(b.name)) CopyName(b.name, t.name);
    if (has(b.shipType)) t.shipType = b.shipType;
    if (has(b.dimensions)) SetDimensions(t, b.dimensions);
    if (has(b.epfdType)) SetEpfd(t, b.epfdType);
    if (has(b.dte)) SetFlag(t.flags, 2, b.dte != 0);
}

void ApplyAidToNavigation(TargetRecord& t, const AisMessage& m) {
    const AisAidToNavigation& a = m.aton;
    auto has = [&m](const auto& member) { return AisFieldPresent(m, member); };
    t.kind = TargetKind::Aton;
    CopyName(a.name, t.name);
    SetPosition(t, a.longitude, a.latitude, a.positionAccuracy, has(a.raim) ? a.raim : 0);
    if (has(a.dimensions)) SetDimensions(t, a.dimensions);
    if (has(a.epfdType)) SetEpfd(t, a.epfdType);
    if (has(a.assigned)) {
        t.atonFlags =
            static_cast<std::uint8_t>((a.offPosition ? 1 : 0) | ((a.aidType & 0x1F) << 1) |
                                      (a.virtualAton ? 0x40 : 0) | (a.assigned ? 0x80 : 0));
    }
    if (has(a.regional)) t.atonRegional = a.regional;
    CopyName(a.nameExtension, t.nameExtension);
}

}  // namespace

TargetTracker::TargetTracker(const Clock& clock, TrackerConnections connections) : clock_(clock) {
    connect(connections);
    table_.ClearTargets(clock_.monotonicSeconds());
}

void TargetTracker::connect(const TrackerConnections& connections) {
    c_ = connections;
    if (c_.view == nullptr) c_.view = &nullView_;
    if (c_.chart == nullptr) c_.chart = &nullChart_;
    if (c_.ownShipView == nullptr) c_.ownShipView = &nullOwnView_;
    if (c_.mobList == nullptr) c_.mobList = &nullMobList_;
    if (c_.followUps == nullptr) c_.followUps = &nullFollowUps_;
    alarms_.setReport(c_.cpaAlarms);
}

bool TargetTracker::onAisPayload(const AisPayload& p) {
    decodedThisLine_ = false;
    if (!DecodeAisPayload(p.payload, p.fillBits, decoded_)) return false;
    lastAisAt_ = clock_.monotonicSeconds();
    applyDecoded(decoded_, p);
    return true;
}

int TargetTracker::applyDecoded(const AisMessage& message, const AisPayload& origin) {
    decodedThisLine_ = true;
    const int index = ApplyAisMessage(message, origin.channelIndex, origin.own);
    if (index < 0) return index;
    if (origin.channelPresent) {
        if (origin.own) {
            ++table_[index].ownMessages;
            if (origin.channelIndex == 0) ++ownOnA_;
            if (origin.channelIndex == 1) ++ownOnB_;
        } else {
            ++table_[index].receivedMessages;
        }
    }
    table_[index].lastMessageType = message.messageId;
    return index;
}

int TargetTracker::ApplyAisMessage(const AisMessage& m, int /*channelIndex*/, bool own) {
    const int type = m.messageId;
    if (type < 1 || type > 27) return -1;
    bool isNew = false;
    const int index = table_.findOrAdd(m.mmsi, own, isNew);
    TargetRecord& t = table_[index];
    const LocalDateTime now = clock_.localNow();
    if (isNew) {
        // A reused entry (full table) must not inherit its last occupant's alarm.
        alarms_.reset(index);
        levels_[static_cast<std::size_t>(index)] = CpaLevel::None;
        t.receivedMessages = 0;
        t.ownMessages = 0;
        t.firstSeenDate = now.date;
        t.firstSeenTime = now.time;
    }
    t.lastMessageDate = now.date;
    t.lastMessageTime = now.time;
    if (index != 0) t.lastUpdate = clock_.monotonicSeconds();
    lastIndex_ = index;
    lastType_ = (m.layout == AisLayoutId::StaticDataB && m.staticB.partNumber == 1) ? 124 : type;
    biasPending_ = true;

    switch (m.layout) {
        case AisLayoutId::PositionReport:
            applyPositionReport(index, m.position, m.mmsi);
            break;
        case AisLayoutId::BaseStation: {
            if (type != 4) break;  // message 11 only refreshes the entry
            const AisBaseStationReport& b = m.baseStation;
            t.kind = TargetKind::Base;
            SetPosition(t, b.longitude, b.latitude, b.positionAccuracy, b.raim);
            SetEpfd(t, b.epfdType);
            break;
        }
        case AisLayoutId::StaticVoyage:
            t.kind = TargetKind::ClassA;
            ApplyStaticVoyage(t, m);
            break;
        case AisLayoutId::SarPosition: {
            const AisSarPosition& s = m.sarPosition;
            t.kind = TargetKind::SarAircraft;
            std::memset(t.name.data(), 0, t.name.size());
            std::memcpy(t.name.data(), "SAR", 3);
            t.altitude = s.altitude;
            t.sog = s.sog;
            SetPosition(t, s.longitude, s.latitude, s.positionAccuracy, s.raim);
            t.cog = s.cog;
            if (AisFieldPresent(m, s.dte)) SetFlag(t.flags, 2, s.dte != 0);
            break;
        }
        case AisLayoutId::SafetyBroadcast:
            applySafetyText(index, m.safetyBroadcast, m.mmsi);
            mailbox14_ = {m, true};
            break;
        case AisLayoutId::AddressedSafety:
            mailbox12_ = {m, true};
            break;
        case AisLayoutId::AssignmentCommand:
        case AisLayoutId::Dgnss:
        case AisLayoutId::DataLinkManagement:
        case AisLayoutId::GroupAssignment:
            t.kind = TargetKind::Base;
            break;
        case AisLayoutId::ChannelManagement:
            t.kind = TargetKind::Base;
            mailbox22_ = {m, true};
            break;
        case AisLayoutId::ClassBPosition: {
            const AisClassBPosition& b = m.classBPosition;
            t.kind = TargetKind::ClassB;
            t.sog = b.sog;
            SetPosition(t, b.longitude, b.latitude, b.positionAccuracy, b.raim);
            t.cog = b.cog;
            t.heading = b.heading;
            if (AisFieldPresent(m, b.assigned)) {
                t.classBFlags = static_cast<std::uint8_t>(
                    (b.assigned ? 1 : 0) | (b.csUnit ? 2 : 0) | (b.display ? 4 : 0) |
                    (b.dsc ? 8 : 0) | (b.band ? 16 : 0) | (b.message22 ? 32 : 0));
            }
            break;
        }
        case AisLayoutId::ClassBExtended:
            ApplyClassBExtended(t, m);
            break;
        case AisLayoutId::AidToNavigation:
            ApplyAidToNavigation(t, m);
            break;
        case AisLayoutId::StaticDataA:
            t.kind = TargetKind::ClassB;
            if (AisFieldPresent(m, m.staticA.name)) CopyName(m.staticA.name, t.name);
            break;
        case AisLayoutId::StaticDataB: {
            const AisStaticDataB& b = m.staticB;
            t.kind = TargetKind::ClassB;
            if (AisFieldPresent(m, b.shipType)) t.shipType = b.shipType;
            if (AisFieldPresent(m, b.vendorId)) CopyName(b.vendorId, t.vendorId);
            if (AisFieldPresent(m, b.callSign)) CopyName(b.callSign, t.callSign);
            if (AisFieldPresent(m, b.dimensions)) SetDimensions(t, b.dimensions);
            break;
        }
        case AisLayoutId::LongRange:
            applyLongRange(index, m.longRange);
            break;
        default:
            break;  // created or refreshed only
    }
    return index;
}

// Message 27, long-range broadcast: a position report of whole knots and
// degrees without heading or rate of turn. A class B ship stays class B.
void TargetTracker::applyLongRange(int index, const AisLongRange& r) {
    TargetRecord& t = table_[index];
    if (t.kind != TargetKind::ClassB) t.kind = TargetKind::ClassA;
    SetNavStatus(t, r.navStatus);
    SetPosition(t, r.longitude, r.latitude, r.positionAccuracy, r.raim);
    t.sog =
        r.sog == kAisLongRangeSpeedNotAvailable ? kAisSpeedNotAvailable : static_cast<float>(r.sog);
    t.cog = r.cog >= kAisLongRangeCourseNotAvailable ? kAisCourseNotAvailable
                                                     : static_cast<float>(r.cog);
    t.heading = kHeadingNotAvailable;
    t.rateOfTurn = kRotNotAvailable;
    applyInitialRange(index);
}

void TargetTracker::applyPositionReport(int index, const AisPositionReport& p, std::uint32_t mmsi) {
    TargetRecord& t = table_[index];
    // A distress device (AIS-SART, MOB, EPIRB) is one from the first report whose
    // status says so: its first burst may be all that is received, and the alarm
    // must not wait for a second one.
    const int stored = t.navStatus();
    const bool distressStatus =
        stored == 14 || stored == 15 || p.navStatus == 14 || p.navStatus == 15;
    if (distressStatus && IsDistressDevice(mmsi)) {
        t.kind = ClassifyMmsi(mmsi) == MmsiClass::ManOverboard ? TargetKind::Mob : TargetKind::Sart;
        SetNavStatus(t, p.navStatus);
        SetPosition(t, p.longitude, p.latitude, p.positionAccuracy, p.raim);
        t.rateOfTurn = 0.0f;
        t.sog = 0.0f;
        t.cog = 0.0f;
        t.heading = 0.0f;
        if (p.navStatus == 14) {
            c_.mobList->ReportAisMobActive(index, true);
        } else if (p.navStatus == 15) {
            c_.mobList->LookupAisMobName(index);
        }
    } else {
        t.kind = TargetKind::ClassA;
        SetNavStatus(t, p.navStatus);
        t.rateOfTurn = p.rateOfTurn;
        t.sog = p.sog;
        SetPosition(t, p.longitude, p.latitude, p.positionAccuracy, p.raim);
        t.cog = p.cog;
        t.heading = p.heading;
    }
    applyInitialRange(index);
}

void TargetTracker::applyInitialRange(int index) {
    TargetRecord& t = table_[index];
    const TargetRecord& own = table_.own();
    if (index == 0 || t.range != -1.0f || !WithinGlobe(t.longitude, t.latitude, 0.0001)) return;
    // Without an own position there is nothing to measure from.
    if (!WithinGlobe(own.longitude, own.latitude, 0.0001)) return;
    if (t.longitude == own.longitude && t.latitude == own.latitude) {
        t.range = 0.0f;
    } else {
        t.range = static_cast<float>(
            GreatCircleKm(own.longitude, own.latitude, t.longitude, t.latitude) * kNmPerKm);
    }
}

void TargetTracker::applySafetyText(int index, const AisSafetyBroadcast& s, std::uint32_t mmsi) {
    TargetRecord& t = table_[index];
    const std::string_view text(s.text.data());
    bool test = false;
    if (IsDistressDevice(mmsi)) {
        for (const SartText& st : kSartTexts) {
            if (text.find(st.text) == std::string_view::npos) continue;
            test = st.test;
            if (t.name[0] == '\0') {
                c_.mobList->LookupAisMobName(index);
                if (t.name[0] == '\0') {
                    std::memset(t.name.data(), 0, t.name.size());
                    std::memcpy(t.name.data(), st.text, std::strlen(st.text));
                }
            }
            break;
        }
        if (t.navStatus() == 15) test = true;
    }
    if (!test) c_.mobList->ReportAisMobActive(index, false);
}

void TargetTracker::rewriteRows(int index) {
    c_.view->setShipListLine(index, ShipListLine(table_[index], index).view());
    c_.view->gridRowChanged(index);
}

void TargetTracker::UpdateAfterAisMessage(int /*countBefore*/) {
    const bool applied = decodedThisLine_ && table_.valid(lastIndex_);
    const int index = applied ? lastIndex_ : -1;
    const int type = lastType_;

    if (applied && biasPending_) {
        biasPending_ = false;
        const bool positional = (type >= 1 && type <= 4) || type == 9 || type == 18 || type == 19 ||
                                type == 21 || type == 27;
        if (positional && (bias_.longitude != 0.0 || bias_.latitude != 0.0)) {
            TargetRecord& t = table_[index];
            if (WithinGlobe(t.longitude, t.latitude, 0.0)) {
                t.longitude = static_cast<float>(t.longitude + bias_.longitude);
                t.latitude = static_cast<float>(t.latitude + bias_.latitude);
            }
        }
    }

    if (applied) rewriteRows(index);
    c_.view->setTargetCount(table_.count() - 1);
    while (c_.view->shipListLineCount() > table_.count())
        c_.view->deleteLastShipListLine();

    if (!applied) {
        // A line that decoded no AIS message changes no target.
        decodedThisLine_ = false;
        return;
    }
    if (index != 0) table_[index].lastUpdate = clock_.monotonicSeconds();
    if (index == 0) applyOwnVdoPosition();

    const ReferencePosition ref = referencePosition();
    if (index == 0) {
        UpdateAllTargetGeometry(ref);
    } else {
        UpdateTargetGeometry(index, ref);
    }
    runFollowUps(index, type);
    decodedThisLine_ = false;
}

void TargetTracker::applyOwnVdoPosition() {
    TargetRecord& own = table_.own();
    if (std::fabs(own.longitude) >= 180.1 || std::fabs(own.latitude) >= 90.1) {
        own.ownPositionValid = 0;
        own.monitored = 0;
        ownPositionFlag_ = false;
        return;
    }
    own.ownPositionValid = 1;
    own.monitored = 1;
    ownPositionFlag_ = true;
    const std::int64_t now = clock_.monotonicSeconds();
    ownVdo_ = {true, own.longitude, own.latitude, now};
    c_.chart->setOwnShip(own.longitude, own.latitude, own.cog);
    c_.chart->centreOn(own.longitude, own.latitude);
    c_.chart->stopCentreView();
    own.lastUpdate = now;
    c_.ownShipView->ShowOwnShipTop(own.longitude, own.latitude, own.sog, own.cog);
}

void TargetTracker::runFollowUps(int index, int type) {
    if (type == 1 || type == 2 || type == 3 || type == 9 || type == 18 || type == 19 ||
        type == 27) {
        c_.followUps->appendTrackPoint(index);
    }
    const bool shown = (type >= 1 && type <= 5) || type == 9 || type == 18 || type == 19 ||
                       type == 21 || type == 24 || type == 27;
    if (shown) ShowTarget(index);
    if (type == 6) c_.followUps->ShowLanternStatus(index);
    if ((type == 12 && mailbox12_.isNew) || (type == 14 && mailbox14_.isNew)) {
        mailbox12_.isNew = false;
        mailbox14_.isNew = false;
        c_.followUps->OnSafetyMessage(type, index == 0);
    }
    if (type == 22) {
        const AisChannelManagement& c = mailbox22_.message.channelManagement;
        c_.followUps->AddChannelRegion(
            {c.longitude1, c.latitude1, c.longitude2, c.latitude2, c.channelA, c.channelB});
    }
}

ReferencePosition TargetTracker::referencePosition() const {
    const ChartTargets::OwnPosition chart = c_.chart->chartOwnPosition();
    return SelectReference(table_.own(), {chart.longitude, chart.latitude, chart.course});
}

void TargetTracker::UpdateTargetGeometry(int index, const ReferencePosition& ref) {
    if (!table_.valid(index) || index == 0) return;
    TargetRecord& t = table_[index];
    t.range = RangeFromReference(ref.longitude, ref.latitude, t);
    t.bearing = bearingMode_ == BearingMode::True
                    ? TrueBearing(t, ref.longitude, ref.latitude)
                    : RelativeBearing(t, ref.longitude, ref.latitude, ref.course);
    const CpaResult r = ComputeCpa(table_.own(), t);
    t.cpa = r.cpa;
    t.tcpa = r.tcpa;
    t.cpaStatus = r.status;
    gradeTarget(index);
    c_.view->gridRowChanged(index);
    reportOwnCpaStatus();
}

void TargetTracker::UpdateAllTargetGeometry(const ReferencePosition& ref) {
    for (int i = 1; i < table_.count(); ++i)
        UpdateTargetGeometry(i, ref);
    reportOwnCpaStatus();
}

void TargetTracker::reportOwnCpaStatus() {
    const CpaStatus own = OwnCpaStatus(table_.own());
    if (!ownCpaStatusShown_ || own != ownCpaStatus_) {
        ownCpaStatus_ = own;
        ownCpaStatusShown_ = true;
        c_.ownShipView->showCpaStatus(own);
    }
}

void TargetTracker::UpdateRanges(const ReferencePosition& ref) {
    for (int i = 1; i < table_.count(); ++i) {
        table_[i].range = RangeFromReference(ref.longitude, ref.latitude, table_[i]);
        c_.view->gridRowChanged(i);
    }
    const int selected = c_.view->listSelection();
    if (table_.valid(selected)) c_.view->showDetails(selected);
}

void TargetTracker::gradeTarget(int index) {
    const CpaLevel level = GradeCpa(table_.own(), table_[index], cpa_, grading_);
    levels_[static_cast<std::size_t>(index)] = level;
    if (grading_.graded) alarms_.setLevel(index, level);
    c_.chart->setDangerous(index, level == CpaLevel::Alarm);
    c_.chart->setCpaLevel(index, grading_.graded ? level : CpaLevel::None);
}

CpaLevel TargetTracker::cpaLevel(int index) const {
    if (!table_.valid(index) || index == 0) return CpaLevel::None;
    return levels_[static_cast<std::size_t>(index)];
}

void TargetTracker::setCpaSettings(const CpaSettings& s) {
    cpa_ = s;
    for (int i = 1; i < table_.count(); ++i) {
        gradeTarget(i);
        if (grading_.graded) c_.view->gridRowChanged(i);
    }
}

void TargetTracker::setCpaGrading(const CpaGrading& g) {
    const bool recolour = g.graded || grading_.graded;
    grading_ = g;
    alarms_.setAcknowledgeSeconds(g.acknowledgeSeconds);
    if (!g.graded) alarms_.clear();
    for (int i = 1; i < table_.count(); ++i) {
        gradeTarget(i);
        if (recolour) c_.view->gridRowChanged(i);
    }
}

void TargetTracker::stepCpaAlarms() {
    if (grading_.graded) alarms_.step(table_, clock_.monotonicSeconds());
}

void TargetTracker::setBearingMode(BearingMode mode, const ReferencePosition& ref) {
    bearingMode_ = mode;
    for (int i = 1; i < table_.count(); ++i) {
        TargetRecord& t = table_[i];
        t.bearing = mode == BearingMode::True
                        ? TrueBearing(t, ref.longitude, ref.latitude)
                        : RelativeBearing(t, ref.longitude, ref.latitude, ref.course);
        c_.view->gridRowChanged(i);
    }
}

void TargetTracker::ClearTargets() {
    table_.ClearTargets(clock_.monotonicSeconds());
    lastIndex_ = -1;
    lastType_ = -1;
    decodedThisLine_ = false;
    alarms_.clear();
    levels_.fill(CpaLevel::None);
    c_.chart->removeSymbolsFrom(1);
    c_.view->rebuildLists();
    c_.view->setTargetCount(0);
}

int TargetTracker::AgeTargets() {
    const int removed = table_.AgeTargets(clock_.monotonicSeconds());
    if (removed < 0) return -1;
    if (lastIndex_ == removed) {
        lastIndex_ = -1;
    } else if (lastIndex_ > removed) {
        --lastIndex_;
    }
    // Everything kept by entry index moves down with the entries.
    alarms_.onTargetRemoved(removed);
    std::copy(levels_.begin() + removed + 1, levels_.end(), levels_.begin() + removed);
    levels_.back() = CpaLevel::None;
    c_.followUps->onTargetRemoved(removed);
    c_.chart->onTargetRemoved(removed);
    c_.view->onTargetRemoved(removed);
    c_.chart->removeSymbolsFrom(table_.count());
    c_.view->rebuildLists();
    c_.view->setTargetCount(table_.count() - 1);
    return removed;
}

void TargetTracker::ShowTarget(int index) {
    if (!table_.valid(index)) return;
    if (!c_.view->targetMonitorChecked()) c_.view->setListSelection(index);
    selectTarget(c_.view->listSelection(), false, Highlight::KeepForOwnShip);
    c_.chart->refreshSymbol(index);
}

void TargetTracker::SelectTarget(int listIndex, bool byUser) {
    selectTarget(listIndex, byUser, Highlight::Move);
}

void TargetTracker::refreshSelection() {
    selectTarget(c_.view->listSelection(), false, Highlight::Keep);
}

void TargetTracker::selectTarget(int listIndex, bool byUser, Highlight highlight) {
    const bool aton = table_.valid(listIndex) && table_[listIndex].kind == TargetKind::Aton;
    c_.view->showAtonTab(aton);
    if (!table_.valid(listIndex)) return;
    if (byUser) c_.view->setTargetMonitorChecked(true);
    c_.view->showDetails(listIndex);
    if (aton) c_.view->showAtonDetails(listIndex);
    const bool keep =
        highlight == Highlight::Keep || (highlight == Highlight::KeepForOwnShip && listIndex == 0);
    if (!keep) c_.chart->highlightTarget(listIndex);
    if (byUser) c_.view->setGridSelection(listIndex);
}

}  // namespace norq::ais
