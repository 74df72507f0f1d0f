#include "ais/CpaAlarms.h"

namespace norq::ais {

namespace {

bool Within(float cpa, float tcpa, double cpaLimit, double tcpaLimit) {
    if (cpaLimit <= 0.0 || tcpaLimit <= 0.0) return false;
    return cpa >= 0.0f && tcpa > 0.0f && cpa < cpaLimit && tcpa < tcpaLimit;
}

}  // namespace

bool OwnShipAtRest(const TargetRecord& own) {
    return SogKnown(own.sog) && own.sog <= kAtRestSog;
}

bool TargetAtRest(const TargetRecord& target) {
    if (!SogKnown(target.sog)) return false;
    if (target.sog <= kAtRestSog) return true;
    const int status = target.navStatus();
    return (status == kNavStatusAtAnchor || status == kNavStatusMoored) &&
           target.sog <= kAtRestStatusSogLimit;
}

CpaLevel GradeCpa(const TargetRecord& own, const TargetRecord& target, const CpaSettings& alarm,
                  const CpaGrading& grading) {
    if (!grading.graded) return IsDangerous(target, alarm) ? CpaLevel::Alarm : CpaLevel::None;
    if (grading.quietWhenMoored && OwnShipAtRest(own) && TargetAtRest(target)) {
        return CpaLevel::None;
    }
    if (IsDangerous(target, alarm)) return CpaLevel::Alarm;
    if (Within(target.cpa, target.tcpa, grading.warningCpa, grading.warningTcpa)) {
        return CpaLevel::Warning;
    }
    if (Within(target.cpa, target.tcpa, grading.cautionCpa, grading.cautionTcpa)) {
        return CpaLevel::Caution;
    }
    return CpaLevel::None;
}

void CpaAlarmMonitor::raise(int index, CpaAlarmEvent event) {
    Entry& e = entries_[static_cast<std::size_t>(index)];
    e.sounding = true;
    e.acknowledged = false;
    report_->onCpaAlarm(index, event);
}

void CpaAlarmMonitor::setLevel(int index, CpaLevel level) {
    if (index <= 0 || index >= kTargetTableSize) return;
    Entry& e = entries_[static_cast<std::size_t>(index)];
    const CpaLevel before = e.level;
    e.level = level;
    if (e.lost) return;
    if (level == CpaLevel::Alarm) {
        if (before != CpaLevel::Alarm) raise(index, CpaAlarmEvent::Raised);
    } else {
        e.sounding = false;
        e.acknowledged = false;
    }
}

void CpaAlarmMonitor::step(const TargetTable& table, std::int64_t now) {
    for (int i = 1; i < table.count(); ++i) {
        Entry& e = entries_[static_cast<std::size_t>(i)];
        const bool lost = table.isLost(i, now);
        if (e.lost) {
            if (lost) continue;
            // Heard again: its alarm is what its fresh geometry says.
            e.lost = false;
            e.sounding = false;
            e.acknowledged = false;
            if (e.level == CpaLevel::Alarm) raise(i, CpaAlarmEvent::Raised);
            continue;
        }
        if (e.level != CpaLevel::Alarm) continue;
        if (lost) {
            e.lost = true;
            raise(i, CpaAlarmEvent::TargetLost);
        } else if (e.acknowledged && now >= e.quietUntil) {
            raise(i, CpaAlarmEvent::Resounded);
        }
    }
}

void CpaAlarmMonitor::acknowledge(std::int64_t now) {
    for (Entry& e : entries_) {
        if (!e.sounding) continue;
        e.sounding = false;
        e.acknowledged = !e.lost;
        e.quietUntil = now + acknowledgeSeconds_;
    }
}

bool CpaAlarmMonitor::sounding() const {
    for (const Entry& e : entries_) {
        if (e.sounding) return true;
    }
    return false;
}

int CpaAlarmMonitor::alarmCount() const {
    int n = 0;
    for (const Entry& e : entries_) {
        if (e.lost || e.level == CpaLevel::Alarm) ++n;
    }
    return n;
}

void CpaAlarmMonitor::onTargetRemoved(int index) {
    if (index <= 0 || index >= kTargetTableSize) return;
    for (int i = index; i + 1 < kTargetTableSize; ++i) {
        entries_[static_cast<std::size_t>(i)] = entries_[static_cast<std::size_t>(i + 1)];
    }
    entries_.back() = Entry{};
}

void CpaAlarmMonitor::reset(int index) {
    if (index < 0 || index >= kTargetTableSize) return;
    entries_[static_cast<std::size_t>(index)] = Entry{};
}

void CpaAlarmMonitor::clear() {
    entries_.fill(Entry{});
}

}  // namespace norq::ais
