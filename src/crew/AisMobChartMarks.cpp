#include "crew/AisMobChartMarks.h"

#include <cmath>
#include <cstdio>

namespace norq::crew {

namespace {

constexpr chart::Rgb kDrillOrange{0xFF, 0x8C, 0x00};

bool OnGlobe(double lon, double lat) {
    return std::fabs(lon) <= 180.0 && std::fabs(lat) <= 90.0;
}

void Label(chart::ChartCanvas& canvas, chart::PixelXY c, std::string_view text) {
    canvas.text({c.x + 26, c.y - 8}, text);
}

}  // namespace

void AisMobChartMarks::drawLayer(const chart::LayerContext& context) {
    chart::ChartCanvas& canvas = context.canvas;
    // Test transmissions: the device's position reports with status 15.
    for (int i = 1; i < table_.count(); ++i) {
        const ais::TargetRecord& t = table_[i];
        const bool device = t.kind == ais::TargetKind::Sart || t.kind == ais::TargetKind::Mob;
        if (!device || t.navStatus() != 15 || !OnGlobe(t.longitude, t.latitude)) continue;
        const chart::PixelXY c = context.axis.project(t.longitude, t.latitude);
        canvas.setBrush(chart::PaletteRole::Grey, chart::BrushStyle::None);
        canvas.setPen(chart::PaletteRole::Grey, 2, chart::PenStyle::Dash);
        canvas.circle(c, 20);
        canvas.setFont(8, true, chart::PaletteRole::Grey);
        Label(canvas, c, "TEST");
    }
    for (int e = 0; e < list_.count(); ++e) {
        const AisMobEntry& entry = list_.entry(e);
        if (entry.status == MobStatus::Quiet) continue;
        double lon = entry.longitude;
        double lat = entry.latitude;
        for (int i = 1; i < table_.count(); ++i) {
            if (table_[i].mmsi != entry.mmsi) continue;
            lon = table_[i].longitude;
            lat = table_[i].latitude;
            break;
        }
        if (!OnGlobe(lon, lat)) continue;
        const chart::PixelXY c = context.axis.project(lon, lat);
        canvas.setBrush(chart::PaletteRole::Alarm, chart::BrushStyle::None);
        if (entry.drill) {
            canvas.setPenRgb(kDrillOrange, 3);
            canvas.circle(c, 20);
            canvas.setFont(9, true, chart::PaletteRole::Orange);
            Label(canvas, c, "TEST ALARM");
            continue;
        }
        // An alarm not yet silenced flashes once a second (red, then white),
        // as the list's caution blinks; a silenced one stays red. The rings
        // never vanish, so the position is never lost from sight.
        const bool flash = entry.status == MobStatus::Active && list_.tick() % 2 == 0;
        const chart::PaletteRole ring =
            flash ? chart::PaletteRole::WhiteFill : chart::PaletteRole::Alarm;
        canvas.setPen(ring, 3);
        canvas.circle(c, 20);
        canvas.setPen(ring, 2, chart::PenStyle::Dot);
        canvas.circle(c, 27);
        canvas.setFont(9, true, chart::PaletteRole::Alarm);
        Label(canvas, c, entry.nameView());
    }
}

}  // namespace norq::crew
