#include "ChartRenderer.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <vector>

namespace norq::tool {

namespace {

// Day palette of the chart.
const QColor kSea(0xA7, 0xE0, 0xE9);
const QColor kLand(0xCC, 0xC5, 0x7B);
const QColor kCoastline(0x7B, 0x79, 0x7B);
const QColor kCellGrid(0xC0, 0x40, 0x40);
const QColor kPlaceLabel[7] = {QColor(0xFF, 0x00, 0x00), QColor(0x50, 0x50, 0x50),
                               QColor(0x00, 0x00, 0xFF), QColor(0x1E, 0x1E, 0x96),
                               QColor(0x64, 0x64, 0x64), QColor(0x3C, 0x00, 0x3C),
                               QColor(0x80, 0x80, 0x80)};

// Draws every visited cell of one pass, shifted back by the pass's longitude shift.
class LandPainter final : public chart::WorldChartVisitor {
  public:
    LandPainter(QPainter& painter, const ViewFrame& frame, double unitsPerDegree, double shift,
                RenderCounts& counts)
        : painter_(painter),
          frame_(frame),
          units_(unitsPerDegree),
          shift_(shift),
          counts_(counts),
          outline_(chart::kMaxPolygonPoints + 1),
          fill_(chart::kMaxPolygonPoints + 1) {}

    void landCell(int, int, double north, double south, double west, double east) override {
        const QPointF a = frame_.project(west - shift_, north);
        const QPointF b = frame_.project(east - shift_, south);
        painter_.setPen(QPen(kLand, 1));
        painter_.setBrush(kLand);
        const QPointF corners[4] = {a, QPointF(b.x(), a.y()), b, QPointF(a.x(), b.y())};
        painter_.drawPolygon(corners, 4);
        ++counts_.landCells;
    }

    void polygon(int, int, const chart::ChartPolygon& polygon) override {
        const int n = chart::ShiftPolygon(polygon, units_, 0.0, -shift_, outline_);
        if (n == 0) return;
        for (int i = 0; i < n; ++i)
            fill_[i] = frame_.project(outline_[i].lon, outline_[i].lat);
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(kLand);
        painter_.drawPolygon(fill_.data(), n);
        QPainterPath path;
        for (int i = 0; i < n; ++i) {
            if (outline_[i].moveTo) {
                path.moveTo(fill_[i]);
            } else {
                path.lineTo(fill_[i]);
            }
        }
        painter_.setPen(QPen(kCoastline, 1));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawPath(path);
        ++counts_.polygons;
        counts_.points += polygon.size();
    }

  private:
    QPainter& painter_;
    const ViewFrame& frame_;
    double units_;
    double shift_;
    RenderCounts& counts_;
    std::vector<chart::OutlinePoint> outline_;
    std::vector<QPointF> fill_;
};

}  // namespace

ViewFrame MakeFrame(const RenderView& view) {
    const double nmPerPixel = kRingDistances[static_cast<std::size_t>(view.scaleIndex)] / 60.0;
    const double ky = 60.0;
    const double kx = std::max(60.0 * std::cos(view.centerLat * M_PI / 180.0), 0.01);
    const int hw = view.width / 2;
    const int hh = view.height / 2;
    ViewFrame f;
    f.left = view.centerLon - hw * nmPerPixel / kx;
    f.right = view.centerLon + hw * nmPerPixel / kx;
    f.bottom = view.centerLat - hh * nmPerPixel / ky;
    f.top = view.centerLat + hh * nmPerPixel / ky;
    f.xScale = view.width / (f.right - f.left);
    f.yScale = view.height / (f.top - f.bottom);
    return f;
}

QImage ChartRenderer::render(const RenderView& view, chart::WorldChartLevel level,
                             RenderCounts& counts) {
    QImage image(view.width, view.height, QImage::Format_RGB32);
    image.fill(kSea);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const ViewFrame frame = MakeFrame(view);
    drawLand(painter, frame, view, level, counts);
    drawLabels(painter, frame, view, counts);
    return image;
}

void ChartRenderer::drawLand(QPainter& painter, const ViewFrame& frame, const RenderView& view,
                             chart::WorldChartLevel level, RenderCounts& counts) {
    chart::WorldChartReader reader;
    if (!reader.open(folder_ + "/" + std::string(chart::WorldChartFileName(level)))) return;
    // The far side of the antimeridian first, then the main pass.
    std::vector<double> shifts;
    if (frame.left < -180) shifts.push_back(360);
    if (frame.right > 180) shifts.push_back(-360);
    shifts.push_back(0);
    for (double shift : shifts) {
        LandPainter land(painter, frame, reader.unitsPerDegree(), shift, counts);
        const chart::CellRange range =
            reader.cellRange(frame.top, frame.bottom, frame.left + shift, frame.right + shift);
        if (reader.visit(range, land) != chart::PassResult::Complete) ++counts.invalidPasses;
        if (!view.cellGrid || range.empty()) continue;
        painter.setPen(QPen(kCellGrid, 1, Qt::DotLine));
        for (int c = range.firstColumn; c <= range.lastColumn + 1; ++c) {
            const double lon = reader.westDeg() + c * reader.cellWidthDeg() - shift;
            painter.drawLine(frame.project(lon, frame.top), frame.project(lon, frame.bottom));
        }
        for (int r = range.firstRow; r <= range.lastRow + 1; ++r) {
            const double lat = reader.northDeg() - r * reader.cellHeightDeg();
            painter.drawLine(frame.project(frame.left, lat), frame.project(frame.right, lat));
        }
    }
}

void ChartRenderer::drawLabels(QPainter& painter, const ViewFrame& frame, const RenderView& view,
                               RenderCounts& counts) {
    chart::GazetteerReader reader;
    if (!reader.open(folder_ + "/" + std::string(chart::kGazetteerFileName))) return;
    const float ring = kRingDistances[static_cast<std::size_t>(view.scaleIndex)];
    labels_.collect(reader, frame.top, frame.bottom, frame.left, frame.right, view.scaleIndex,
                    view.language);
    labels_.declutter(ring);
    counts.labelsCollected = labels_.size();
    const double lonUnits = reader.header().lonUnitsPerDegree;
    const double latUnits = reader.header().latUnitsPerDegree;
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < labels_.size(); ++i) {
        const chart::Label& label = labels_[i];
        if (!label.drawn) continue;
        double lon = label.lon / lonUnits;
        const double lat = label.lat / latUnits;
        if (frame.left < -180 && (lon > frame.right || lon < -180)) {
            lon -= 360;
        } else if (frame.right > 180 && (lon < frame.left || lon > 180)) {
            lon += 360;
        }
        const QPointF p = frame.project(lon, lat);
        const int x = static_cast<int>(p.x());
        const int y = static_cast<int>(p.y());
        const bool major = label.level() == 0;
        QFont font("DejaVu Sans");
        font.setPixelSize(major && view.scaleIndex >= 2 ? 13 : 11);
        font.setBold(major);
        painter.setFont(font);
        const int cls = label.labelClass();
        const QColor colour = kPlaceLabel[cls <= 5 ? cls : 6];
        painter.setPen(QPen(colour, major ? 2 : 1));
        const QString text = QString::fromUtf8(label.name, label.nameLength);
        QPoint at(x + 5, y - 7);
        if (cls >= 1 && cls <= 3) {
            at = QPoint(x - 10, y - 10);
        } else if (cls == 4) {
            painter.drawEllipse(QPoint(x, y), 4, 4);
            painter.drawEllipse(QPoint(x, y), 2, 2);
        } else {
            painter.drawEllipse(QPoint(x, y), 2, 2);
        }
        painter.drawText(QRect(at, QSize(600, 40)), Qt::AlignLeft | Qt::AlignTop, text);
        ++counts.labelsDrawn;
    }
}

}  // namespace norq::tool
