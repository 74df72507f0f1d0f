// Applies decoded AIS messages to the target table and keeps the windows, the
// chart and the other subsystems in step: the AIS side of the intake.
#pragma once

#include <array>
#include <cstdint>

#include "ais/AisMessage.h"
#include "ais/Clock.h"
#include "ais/CpaAlarms.h"
#include "ais/Geometry.h"
#include "ais/IntakeInterfaces.h"
#include "ais/OwnPositionCheck.h"
#include "ais/TargetTable.h"
#include "ais/TargetViews.h"

namespace norq::ais {

// The demo parameters' position bias, added to every decoded position.
struct PositionBias {
    double longitude = 0.0;
    double latitude = 0.0;
};

// A decoded message kept for the subsystem that reads it, with a "new" flag.
struct Mailbox {
    AisMessage message{};
    bool isNew = false;
};

struct TrackerConnections {
    TargetView* view = nullptr;
    ChartTargets* chart = nullptr;
    OwnShipView* ownShipView = nullptr;
    AisMobList* mobList = nullptr;
    TargetFollowUps* followUps = nullptr;
    CpaAlarmReport* cpaAlarms = nullptr;
};

class TargetTracker final : public AisMessageHandler {
  public:
    explicit TargetTracker(const Clock& clock, TrackerConnections connections = {});

    void connect(const TrackerConnections& connections);

    // AisMessageHandler
    int targetCount() const override { return table_.count(); }
    bool onAisPayload(const AisPayload& payload) override;
    void clearDecodedMessage() override { decodedThisLine_ = false; }
    void UpdateAfterAisMessage(int countBefore) override;

    // Applies a decoded message as the intake does after decoding: the entry,
    // its message counters and last message type. Returns the entry or -1.
    int applyDecoded(const AisMessage& message, const AisPayload& origin);

    // Finds or makes the entry of the message's station and copies the
    // message into it. Returns the entry index, or -1 for a type not taken.
    int ApplyAisMessage(const AisMessage& message, int channelIndex, bool own);

    void ClearTargets();
    // Removes at most one target silent for an hour; returns its index or -1.
    int AgeTargets();
    // The user's (or the logic's) choice of an entry in the ship list.
    void SelectTarget(int listIndex, bool byUser);
    // Brings an updated entry into view unless the user fixed a target.
    void ShowTarget(int index);
    // Shows the ship list's selection again without moving the chart's highlight.
    void refreshSelection();

    // Range, bearing, CPA/TCPA and the dangerous mark of one target.
    void UpdateTargetGeometry(int index, const ReferencePosition& ref);
    // The same for every target 1 ... count-1.
    void UpdateAllTargetGeometry(const ReferencePosition& ref);
    // Only the ranges of every target, then the selected target's details.
    void UpdateRanges(const ReferencePosition& ref);
    // Entry 0 while its own position is valid, otherwise the chart's.
    ReferencePosition referencePosition() const;

    void setCpaSettings(const CpaSettings& s);
    const CpaSettings& cpaSettings() const { return cpa_; }
    // The levels below the alarm and the alarm behaviour; every target is
    // graded again from its stored CPA and TCPA.
    void setCpaGrading(const CpaGrading& g);
    const CpaGrading& cpaGrading() const { return grading_; }
    // The level of an entry as last graded (the alarm level is "dangerous").
    CpaLevel cpaLevel(int index) const;
    // Once a second, with grading on: lost targets in alarm and acknowledged
    // alarms that ran out (CpaAlarmMonitor::step).
    void stepCpaAlarms();
    void acknowledgeCpaAlarms() { alarms_.acknowledge(clock_.monotonicSeconds()); }
    const CpaAlarmMonitor& cpaAlarms() const { return alarms_; }
    // Switches the bearing mode and recomputes every bearing from `ref`.
    void setBearingMode(BearingMode mode, const ReferencePosition& ref);
    BearingMode bearingMode() const { return bearingMode_; }
    void setPositionBias(const PositionBias& bias) { bias_ = bias; }
    const PositionBias& positionBias() const { return bias_; }

    TargetTable& table() { return table_; }
    const TargetTable& table() const { return table_; }
    const Clock& clock() const { return clock_; }
    Mailbox& addressedSafetyMailbox() { return mailbox12_; }
    Mailbox& safetyBroadcastMailbox() { return mailbox14_; }
    Mailbox& channelManagementMailbox() { return mailbox22_; }
    // The own position flag, kept with entry 0's own-position-valid byte and
    // cleared alone when the own position goes stale.
    bool ownPositionFlag() const { return ownPositionFlag_; }
    // The transponder's own position as its last VDO position report gave it.
    const TimedPosition& ownVdoPosition() const { return ownVdo_; }
    // Monotonic seconds of the last AIS message decoded (VDM or VDO); -1 before
    // the first.
    std::int64_t lastAisMessageAt() const { return lastAisAt_; }
    void setOwnPositionFlag(bool valid) { ownPositionFlag_ = valid; }
    int lastAppliedIndex() const { return lastIndex_; }
    // Own VDO messages applied per channel: the transmit counts.
    std::int64_t ownMessagesOnA() const { return ownOnA_; }
    std::int64_t ownMessagesOnB() const { return ownOnB_; }
    int lastAppliedType() const { return lastType_; }
    // The own ship's part of the CPA preconditions as last shown.
    CpaStatus ownCpaStatus() const { return ownCpaStatus_; }

  private:
    void applyPositionReport(int index, const AisPositionReport& p, std::uint32_t mmsi);
    void applyLongRange(int index, const AisLongRange& r);
    void applySafetyText(int index, const AisSafetyBroadcast& s, std::uint32_t mmsi);
    void applyInitialRange(int index);
    void rewriteRows(int index);
    void applyOwnVdoPosition();
    void runFollowUps(int index, int type);
    // Tells the own ship's view when the own part of the CPA preconditions changed.
    void reportOwnCpaStatus();
    // Grades the target from its stored CPA and TCPA and sets its marks.
    void gradeTarget(int index);
    enum class Highlight { Move, KeepForOwnShip, Keep };
    void selectTarget(int listIndex, bool byUser, Highlight highlight);

    const Clock& clock_;
    TrackerConnections c_;
    TargetView nullView_;
    ChartTargets nullChart_;
    OwnShipView nullOwnView_;
    AisMobList nullMobList_;
    TargetFollowUps nullFollowUps_;

    TargetTable table_;
    AisMessage decoded_{};
    Mailbox mailbox12_;
    Mailbox mailbox14_;
    Mailbox mailbox22_;
    CpaSettings cpa_;
    CpaGrading grading_;
    CpaAlarmMonitor alarms_;
    std::array<CpaLevel, kTargetTableSize> levels_{};
    BearingMode bearingMode_ = BearingMode::True;
    PositionBias bias_;
    int lastIndex_ = -1;
    int lastType_ = -1;
    bool decodedThisLine_ = false;
    bool biasPending_ = false;
    bool ownPositionFlag_ = false;
    TimedPosition ownVdo_;
    std::int64_t lastAisAt_ = -1;
    CpaStatus ownCpaStatus_ = CpaStatus::NoOwnPosition;
    bool ownCpaStatusShown_ = false;
    std::int64_t ownOnA_ = 0;
    std::int64_t ownOnB_ = 0;
};

}  // namespace norq::ais
