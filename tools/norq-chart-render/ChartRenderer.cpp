#include "ChartRenderer.h"

#include <QPainter>

#include "chart/ChartPalette.h"
#include "chart/LandRaster.h"
#include "chart/SeaChart.h"
#include "chart/paint/QtChartCanvas.h"

namespace norq::tool {

chart::CAxisData MakeFrame(const RenderView& view) {
    chart::CAxisData axis;
    axis.setPixelRect(0, 0, view.width, view.height);
    axis.setSize(view.width, view.height);
    axis.setScaleIndex(view.scaleIndex);
    axis.setCentre(view.centerLon, view.centerLat);
    return axis;
}

QImage ChartRenderer::render(const RenderView& view, chart::WorldChartLevel level,
                             RenderCounts& counts) {
    const chart::CAxisData axis = MakeFrame(view);
    QImage image(view.width, view.height, QImage::Format_RGB32);
    chart::LandRaster raster(reinterpret_cast<std::uint32_t*>(image.bits()), image.width(),
                             image.height(), static_cast<int>(image.bytesPerLine() / 4));
    chart::SeaChart sea(folder_);
    chart::SeaChartSettings settings;
    settings.language = view.language;
    settings.forcedLevel = static_cast<int>(level);
    sea.setSettings(settings);
    const chart::ChartPalette palette;
    {
        QPainter painter(&image);
        chart::QtChartCanvas canvas(painter, palette);
        canvas.setRaster(&raster);
        const chart::SeaChartCounts c = sea.draw(canvas, axis);
        counts = {c.landCells,     c.polygons,        c.points,
                  c.invalidPasses, c.labelsCollected, c.labelsDrawn};
    }
    if (view.cellGrid) drawCellGrid(image, axis, level);
    return image;
}

void ChartRenderer::drawCellGrid(QImage& image, const chart::CAxisData& axis,
                                 chart::WorldChartLevel level) {
    chart::WorldChartReader reader;
    if (!reader.open(folder_ + "/" + std::string(chart::WorldChartFileName(level)))) return;
    QPainter painter(&image);
    painter.setPen(QPen(QColor(0xC0, 0x40, 0x40), 1, Qt::DotLine));
    for (double shift : {360.0, -360.0, 0.0}) {
        if ((shift > 0 && axis.left() >= -180) || (shift < 0 && axis.right() <= 180)) continue;
        chart::CAxisData frame = axis;
        frame.shiftLongitudeBounds(shift);
        const chart::CellRange range =
            reader.cellRange(frame.top(), frame.bottom(), frame.left(), frame.right());
        if (range.empty()) continue;
        auto at = [&frame](double lon, double lat) {
            const chart::PixelXY p = frame.geoToPixel(lon, lat);
            return QPoint(p.x, p.y);
        };
        for (int c = range.firstColumn; c <= range.lastColumn + 1; ++c) {
            const double lon = reader.westDeg() + c * reader.cellWidthDeg();
            painter.drawLine(at(lon, frame.top()), at(lon, frame.bottom()));
        }
        for (int r = range.firstRow; r <= range.lastRow + 1; ++r) {
            const double lat = reader.northDeg() - r * reader.cellHeightDeg();
            painter.drawLine(at(frame.left(), lat), at(frame.right(), lat));
        }
    }
}

}  // namespace norq::tool
