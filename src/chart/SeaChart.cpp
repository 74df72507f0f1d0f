#include "chart/SeaChart.h"

#include <cmath>
#include <cstdlib>

#include "chart/ChartPalette.h"

namespace norq::chart {

// Fixed buffers of one redraw, allocated once with the layer.
struct SeaChart::Buffers {
    std::array<OutlinePoint, kMaxPolygonPoints + 1> outline{};
    std::array<PixelXY, kMaxPolygonPoints + 1> pixels{};
    GazetteerLabels labels;
};

namespace {

// Hands the cells of one pass to the canvas: whole-land cells as filled
// rectangles, polygons filled, their coastline drawn except along break edges.
class LandPass final : public WorldChartVisitor {
  public:
    LandPass(ChartCanvas& canvas, const CAxisData& axis, double unitsPerDegree, LandOffsets offsets,
             std::array<OutlinePoint, kMaxPolygonPoints + 1>& outline,
             std::array<PixelXY, kMaxPolygonPoints + 1>& pixels, SeaChartCounts& counts)
        : canvas_(canvas),
          axis_(axis),
          units_(unitsPerDegree),
          offsets_(offsets),
          outline_(outline),
          pixels_(pixels),
          counts_(counts) {}

    void landCell(int, int, double north, double south, double west, double east) override {
        auto corner = [this](double lon, double lat) {
            const auto x = static_cast<float>(lon + offsets_.longitude);
            const auto y = static_cast<float>(lat + offsets_.latitude);
            return axis_.geoToPixel(x, y);
        };
        const PixelXY corners[4] = {corner(west, north), corner(east, north), corner(east, south),
                                    corner(west, south)};
        canvas_.setPen(PaletteRole::Land, 1);
        canvas_.setBrush(PaletteRole::Land);
        canvas_.polygon(corners);
        ++counts_.landCells;
    }

    void polygon(int, int, const ChartPolygon& polygon) override {
        const int n =
            ShiftPolygon(polygon, units_, offsets_.latitude, offsets_.longitude, outline_);
        if (n < 3) return;
        for (int i = 0; i < n; ++i) {
            const OutlinePoint& p = outline_[static_cast<std::size_t>(i)];
            pixels_[static_cast<std::size_t>(i)] = axis_.geoToPixel(p.lon, p.lat);
        }
        canvas_.setPen(PaletteRole::Land, 1, PenStyle::None);
        canvas_.setBrush(PaletteRole::Land);
        canvas_.polygon({pixels_.data(), static_cast<std::size_t>(n)});
        // The coastline: runs between break points.
        canvas_.setPen(PaletteRole::Coastline, 1);
        int start = 0;
        for (int i = 1; i <= n; ++i) {
            if (i == n || outline_[static_cast<std::size_t>(i)].moveTo) {
                if (i - start >= 2) {
                    canvas_.polyline({pixels_.data() + start, static_cast<std::size_t>(i - start)});
                }
                start = i;
            }
        }
        canvas_.setPen(PaletteRole::Outline, 1);
        ++counts_.polygons;
        counts_.points += polygon.size();
    }

  private:
    ChartCanvas& canvas_;
    const CAxisData& axis_;
    double units_;
    LandOffsets offsets_;
    std::array<OutlinePoint, kMaxPolygonPoints + 1>& outline_;
    std::array<PixelXY, kMaxPolygonPoints + 1>& pixels_;
    SeaChartCounts& counts_;
};

std::string Join(const std::string& folder, std::string_view file) {
    if (folder.empty()) return std::string(file);
    std::string path = folder;
    if (path.back() != '/') path += '/';
    path += file;
    return path;
}

}  // namespace

LandOffsets OffsetsFor(const SeaChartSettings& settings) {
    LandOffsets o;
    if (settings.builtInOffset && !settings.suppressOffset) {
        o.latitude = kBuiltInLatitudeOffset;
        o.longitude = kBuiltInLongitudeOffset;
    }
    if (settings.calibrationActive) {
        o.latitude += settings.calibrationLatitude;
        o.longitude += settings.calibrationLongitude;
    }
    return o;
}

SeaChart::SeaChart(std::string programFolder)
    : folder_(std::move(programFolder)), buffers_(std::make_unique<Buffers>()) {}

SeaChart::~SeaChart() = default;

void SeaChart::setProgramFolder(std::string folder) {
    folder_ = std::move(folder);
    for (std::size_t i = 0; i < readers_.size(); ++i) {
        if (!fixedBytes_[i]) readers_[i].close();
    }
    if (!fixedGazetteer_) gazetteer_.close();
}

void SeaChart::useBytes(WorldChartLevel level, std::span<const std::uint8_t> chart) {
    const auto i = static_cast<std::size_t>(level);
    fixedBytes_[i] = readers_[i].openBytes(chart);
}

void SeaChart::useGazetteerBytes(std::span<const std::uint8_t> gazetteer) {
    fixedGazetteer_ = gazetteer_.openBytes(gazetteer);
}

const WorldChartReader* SeaChart::chartReader(WorldChartLevel level) {
    WorldChartReader& reader = readers_[static_cast<std::size_t>(level)];
    if (!reader.isOpen() && !fixedBytes_[static_cast<std::size_t>(level)]) {
        reader.open(Join(folder_, WorldChartFileName(level)));
    }
    return reader.isOpen() ? &reader : nullptr;
}

const GazetteerReader* SeaChart::gazetteer() {
    if (!gazetteer_.isOpen() && !fixedGazetteer_)
        gazetteer_.open(Join(folder_, kGazetteerFileName));
    return gazetteer_.isOpen() ? &gazetteer_ : nullptr;
}

SeaChartCounts SeaChart::draw(ChartCanvas& canvas, const CAxisData& axis) {
    SeaChartCounts counts;
    canvas.setPen(PaletteRole::Sea, 1);
    canvas.setBrush(PaletteRole::Sea);
    canvas.rectangle({axis.pixelLeft() - 1, axis.pixelTop() - 1},
                     {axis.pixelRight() + 1, axis.pixelBottom() + 1});
    canvas.setPen(PaletteRole::Outline, 1);
    if (!axis.hasCentre()) return counts;
    drawLand(canvas, axis, counts);
    if (settings_.showLabels) drawLabels(canvas, axis, counts);
    canvas.setPen(PaletteRole::Outline, 1);
    canvas.setFont(8, false, PaletteRole::Outline);
    return counts;
}

void SeaChart::drawLand(ChartCanvas& canvas, const CAxisData& axis, SeaChartCounts& counts) {
    const WorldChartReader* reader =
        chartReader(WorldChartLevelForRingDistance(axis.ringDistance()));
    if (reader == nullptr) return;
    counts.chartFileFound = true;
    const LandOffsets offsets = OffsetsFor(settings_);
    auto pass = [&](const CAxisData& frame) {
        LandPass land(canvas, frame, reader->unitsPerDegree(), offsets, buffers_->outline,
                      buffers_->pixels, counts);
        const CellRange range = reader->cellRange(frame.rotatedTop(), frame.rotatedBottom(),
                                                  frame.rotatedLeft(), frame.rotatedRight());
        ++counts.passes;
        if (reader->visit(range, land) != PassResult::Complete) ++counts.invalidPasses;
    };
    // The far side of the antimeridian, drawn through a frame shifted by a turn.
    if (axis.rotatedLeft() < -180.0) {
        CAxisData shifted = axis;
        shifted.shiftLongitudeBounds(360.0);
        pass(shifted);
    }
    if (axis.rotatedRight() > 180.0) {
        CAxisData shifted = axis;
        shifted.shiftLongitudeBounds(-360.0);
        pass(shifted);
    }
    pass(axis);
}

void SeaChart::drawLabels(ChartCanvas& canvas, const CAxisData& axis, SeaChartCounts& counts) {
    const GazetteerReader* reader = gazetteer();
    if (reader == nullptr) return;
    counts.gazetteerFound = true;
    const int k = axis.scaleIndex();
    GazetteerLabels& labels = buffers_->labels;
    labels.collect(*reader, axis.rotatedTop(), axis.rotatedBottom(), axis.rotatedLeft(),
                   axis.rotatedRight(), k, settings_.language);
    labels.declutter(axis.ringDistance());
    counts.labelsCollected = labels.size();
    const double lonUnits = reader->header().lonUnitsPerDegree;
    const double latUnits = reader->header().latUnitsPerDegree;
    if (!(lonUnits > 0.0) || !(latUnits > 0.0)) return;
    for (int i = 0; i < labels.size(); ++i) {
        const Label& label = labels[i];
        if (!label.drawn) continue;
        double lon = label.lon / lonUnits;
        const double lat = label.lat / latUnits;
        if (axis.left() < -180.0 && (lon > axis.right() || lon < -180.0)) {
            lon -= 360.0;
        } else if (axis.right() > 180.0 && (lon < axis.left() || lon > 180.0)) {
            lon += 360.0;
        }
        const PixelXY p = axis.geoToPixel(lon, lat);
        const bool major = label.level() == 0;
        const int cls = label.labelClass();
        const PaletteRole colour = ChartPalette::placeLabelRole(cls);
        canvas.setFont(major ? (k < 2 ? 8 : 10) : 8, major, colour);
        canvas.setPen(colour, major ? 2 : 1);
        canvas.setBrush(colour, BrushStyle::None);
        PixelXY at{p.x + 5, p.y - 7};
        if (cls >= 1 && cls <= 3) {
            at = {p.x - 10, p.y - 10};
        } else if (cls == 4) {
            canvas.circle(p, 4);
            canvas.circle(p, 2);
        } else {
            canvas.circle(p, 2);
        }
        canvas.text(at, label.text());
        ++counts.labelsDrawn;
    }
}

}  // namespace norq::chart
