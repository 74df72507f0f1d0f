#include "chart/SeaChart.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "chart/ChartPalette.h"

namespace norq::chart {

// Fixed buffers of one redraw, allocated once with the layer.
struct SeaChart::Buffers {
    static constexpr std::size_t kBatchPoints = 1 << 16;
    std::array<OutlinePoint, kMaxPolygonPoints + 1> outline{};
    std::array<PixelXY, kMaxPolygonPoints + 1> pixels{};
    // Land and coastline gathered over many cells and drawn in few calls.
    std::vector<PixelXY> fill;
    std::vector<int> fillCounts;
    std::vector<PixelXY> coast;
    std::vector<PixelXY> dots;
    GazetteerLabels labels;

    Buffers() {
        fill.reserve(kBatchPoints + kMaxPolygonPoints + 1);
        fillCounts.reserve(kBatchPoints);
        coast.reserve(2 * (kBatchPoints + kMaxPolygonPoints + 1));
        dots.reserve(kBatchPoints);
    }
};

namespace {

// Hands the cells of one pass to the canvas: whole-land cells and polygons are
// filled with the land colour, then the coastline is drawn over them, except
// along break edges. The shapes of many cells are gathered and drawn together.
class LandPass final : public WorldChartVisitor {
  public:
    LandPass(ChartCanvas& canvas, const CAxisData& axis, double unitsPerDegree, LandOffsets offsets,
             SeaChart::Buffers& buffers, SeaChartCounts& counts)
        : canvas_(canvas),
          axis_(axis),
          units_(unitsPerDegree),
          offsets_(offsets),
          b_(buffers),
          counts_(counts) {
        // North up, a point is a multiply and an add per axis away from its pixel.
        const double xs = axis.xScale();
        const double ys = axis.yScale();
        fast_ = !axis.rotated() && unitsPerDegree > 0.0;
        if (fast_) {
            ax_ = xs / unitsPerDegree;
            bx_ = (offsets.longitude - axis.left()) * xs + kHalfPixel;
            ay_ = -ys / unitsPerDegree;
            by_ = (axis.top() - offsets.latitude) * ys + kHalfPixel;
        }
    }
    ~LandPass() override { flush(); }
    LandPass(const LandPass&) = delete;
    LandPass& operator=(const LandPass&) = delete;

    void landCell(int, int, double north, double south, double west, double east) override {
        auto corner = [this](double lon, double lat) {
            const auto x = static_cast<float>(lon + offsets_.longitude);
            const auto y = static_cast<float>(lat + offsets_.latitude);
            return axis_.geoToPixel(x, y);
        };
        reserve(4);
        for (const PixelXY& p :
             {corner(west, north), corner(east, north), corner(east, south), corner(west, south)}) {
            b_.fill.push_back(p);
        }
        b_.fillCounts.push_back(4);
        ++counts_.landCells;
    }

    void polygon(int, int, const ChartPolygon& polygon) override {
        const std::int32_t n = polygon.size();
        if (n < 2 || n > kMaxPolygonPoints) return;
        counts_.points += n;
        ++counts_.polygons;
        // Outline breaks: the first point, a point equal to the one before it and
        // the point after such a repeat; the closing copy of the first point ends
        // the outline. Projected, a point on the same pixel as the one kept before
        // it draws nothing of its own and is left out (at small scales most are);
        // break points always stay, so the coastline keeps its gaps.
        const int kept = fast_ ? projectFast(polygon) : projectRotated(polygon);
        if (kept < 3) {
            // Smaller than a pixel: a dot of coast.
            if (b_.dots.size() >= SeaChart::Buffers::kBatchPoints) flush();
            b_.dots.push_back(b_.pixels[0]);
            return;
        }
        // An islet a few pixels across is all coastline: its outline covers it,
        // and filling it would cost more than the rest of its drawing.
        int minX = b_.pixels[0].x, maxX = minX, minY = b_.pixels[0].y, maxY = minY;
        for (int i = 1; i < kept; ++i) {
            const PixelXY& p = b_.pixels[static_cast<std::size_t>(i)];
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
        if (maxX < 0 || maxY < 0 || minX > axis_.width() || minY > axis_.height()) return;
        const bool islet = maxX - minX <= kIsletPixels && maxY - minY <= kIsletPixels;
        if (islet) {
            for (int i = 1; i < kept; ++i) {
                b_.coast.push_back(b_.pixels[static_cast<std::size_t>(i) - 1]);
                b_.coast.push_back(b_.pixels[static_cast<std::size_t>(i)]);
            }
            return;
        }
        reserve(kept);
        b_.fill.insert(b_.fill.end(), b_.pixels.begin(), b_.pixels.begin() + kept);
        b_.fillCounts.push_back(kept);
        ++counts_.filledPolygons;
        counts_.drawnPoints += kept;
        // The coastline: every edge whose end is not a break point.
        for (int i = 1; i < kept; ++i) {
            if (b_.outline[static_cast<std::size_t>(i)].moveTo) continue;
            b_.coast.push_back(b_.pixels[static_cast<std::size_t>(i) - 1]);
            b_.coast.push_back(b_.pixels[static_cast<std::size_t>(i)]);
        }
    }

    // North up: two multiply-adds per point, read straight from the file's bytes.
    int projectFast(const ChartPolygon& polygon) {
        const std::int32_t n = polygon.size();
        const std::uint8_t* bytes = polygon.pointBytes();
        int kept = 0;
        bool previousRepeated = false;
        std::int32_t lastLat = 0, lastLon = 0;
        PixelXY last{};
        auto keep = [&](std::int32_t lat, std::int32_t lon, bool moveTo) {
            const PixelXY xy{Trunc(lon * ax_ + bx_), Trunc(lat * ay_ + by_)};
            if (kept > 0 && !moveTo && xy == last) return;
            b_.pixels[static_cast<std::size_t>(kept)] = xy;
            b_.outline[static_cast<std::size_t>(kept)].moveTo = moveTo;
            last = xy;
            ++kept;
        };
        for (std::int32_t i = 0; i < n; ++i) {
            const std::int32_t lat = LoadI32(bytes + 8 * static_cast<std::size_t>(i));
            const std::int32_t lon = LoadI32(bytes + 8 * static_cast<std::size_t>(i) + 4);
            const bool repeated = i > 0 && lat == lastLat && lon == lastLon;
            keep(lat, lon, i == 0 || repeated || previousRepeated);
            previousRepeated = repeated;
            lastLat = lat;
            lastLon = lon;
        }
        const std::int32_t firstLat = LoadI32(bytes);
        const std::int32_t firstLon = LoadI32(bytes + 4);
        keep(firstLat, firstLon, (firstLat == lastLat && firstLon == lastLon) || previousRepeated);
        return kept;
    }

    // Rotated (or with a unit the fast path cannot take): each point through the axis.
    int projectRotated(const ChartPolygon& polygon) {
        const std::int32_t n = polygon.size();
        int kept = 0;
        bool previousRepeated = false;
        ChartPoint previous{};
        auto keep = [&](const ChartPoint& raw, bool moveTo) {
            const PixelXY xy = project(raw);
            if (kept > 0 && !moveTo && xy == b_.pixels[static_cast<std::size_t>(kept) - 1]) return;
            b_.pixels[static_cast<std::size_t>(kept)] = xy;
            b_.outline[static_cast<std::size_t>(kept)].moveTo = moveTo;
            ++kept;
        };
        for (std::int32_t i = 0; i < n; ++i) {
            const ChartPoint raw = polygon[i];
            const bool repeated = i > 0 && raw.lat == previous.lat && raw.lon == previous.lon;
            keep(raw, i == 0 || repeated || previousRepeated);
            previousRepeated = repeated;
            previous = raw;
        }
        const ChartPoint first = polygon[0];
        keep(first, (first.lat == previous.lat && first.lon == previous.lon) || previousRepeated);
        return kept;
    }

    static std::int32_t LoadI32(const std::uint8_t* p) {
        std::uint32_t v = 0;
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(&v, p, sizeof v);
        } else {
            v = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
        }
        return static_cast<std::int32_t>(v);
    }

    // Draws what was gathered: the land, then its coastline.
    void flush() {
        if (!b_.fillCounts.empty()) {
            canvas_.setPen(PaletteRole::Land, 1, PenStyle::None);
            canvas_.setBrush(PaletteRole::Land);
            canvas_.fillPolygons(b_.fill, b_.fillCounts);
        }
        if (!b_.coast.empty() || !b_.dots.empty()) {
            canvas_.setPen(PaletteRole::Coastline, 1);
            canvas_.lines(b_.coast);
            canvas_.points(b_.dots);
        }
        b_.fill.clear();
        b_.fillCounts.clear();
        b_.coast.clear();
        b_.dots.clear();
    }

  private:
    static constexpr double kHalfPixel = 0.5 + 1.0e-7;
    static constexpr double kPixelLimit = 1.0e9;
    static constexpr int kIsletPixels = 2;

    static int Trunc(double v) {
        if (!(v > -kPixelLimit)) return static_cast<int>(-kPixelLimit);
        if (v > kPixelLimit) return static_cast<int>(kPixelLimit);
        return static_cast<int>(v);
    }
    PixelXY project(const ChartPoint& raw) const {
        if (fast_) return {Trunc(raw.lon * ax_ + bx_), Trunc(raw.lat * ay_ + by_)};
        const auto lon = static_cast<float>(raw.lon / units_ + offsets_.longitude);
        const auto lat = static_cast<float>(raw.lat / units_ + offsets_.latitude);
        return axis_.geoToPixel(lon, lat);
    }

    void reserve(int n) {
        if (b_.fill.size() + static_cast<std::size_t>(n) > SeaChart::Buffers::kBatchPoints ||
            b_.fillCounts.size() >= SeaChart::Buffers::kBatchPoints) {
            flush();
        }
    }

    ChartCanvas& canvas_;
    const CAxisData& axis_;
    double units_;
    LandOffsets offsets_;
    SeaChart::Buffers& b_;
    SeaChartCounts& counts_;
    bool fast_ = false;
    double ax_ = 0, bx_ = 0, ay_ = 0, by_ = 0;
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
    const WorldChartLevel level = settings_.forcedLevel >= 0 && settings_.forcedLevel <= 2
                                      ? static_cast<WorldChartLevel>(settings_.forcedLevel)
                                      : WorldChartLevelForRingDistance(axis.ringDistance());
    const WorldChartReader* reader = chartReader(level);
    if (reader == nullptr) return;
    counts.chartFileFound = true;
    const LandOffsets offsets = OffsetsFor(settings_);
    auto pass = [&](const CAxisData& frame) {
        LandPass land(canvas, frame, reader->unitsPerDegree(), offsets, *buffers_, counts);
        const CellRange range = reader->cellRange(frame.rotatedTop(), frame.rotatedBottom(),
                                                  frame.rotatedLeft(), frame.rotatedRight());
        ++counts.passes;
        if (reader->visit(range, land) != PassResult::Complete) ++counts.invalidPasses;
        land.flush();
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
