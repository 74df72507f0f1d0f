// The chart's alarm marks of AIS-SART, MOB and EPIRB devices, drawn above the
// symbols: two red rings and the device's name around every device in alarm
// (flashing red and white each second until the alarm is silenced),
// an orange ring marked "TEST ALARM" around the drill device, and a dashed grey
// ring marked "TEST" around a device that transmits in test mode, so that a
// test is told from an active device at a glance.
#pragma once

#include "ais/TargetTable.h"
#include "chart/ChartLayers.h"
#include "crew/AisMobList.h"

namespace norq::crew {

class AisMobChartMarks final : public chart::ChartLayerHook {
  public:
    AisMobChartMarks(const AisMobList& list, const ais::TargetTable& table)
        : list_(list), table_(table) {}
    void drawLayer(const chart::LayerContext& context) override;

  private:
    const AisMobList& list_;
    const ais::TargetTable& table_;
};

}  // namespace norq::crew
