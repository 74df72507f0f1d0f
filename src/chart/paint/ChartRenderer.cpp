#include "chart/paint/ChartRenderer.h"

#include "chart/paint/QtChartCanvas.h"

namespace norq::chart {

bool ChartRenderer::updateLayers() {
    const bool stale = model_.stale() || sea_.size() != QSize(model_.width(), model_.height());
    if (stale) {
        model_.clearStale();
        redrawSeaChart();
    }
    if (stale || model_.overlayDirty()) {
        model_.clearOverlayDirty();
        redrawOverlay();
    }
    return stale;
}

void ChartRenderer::redrawSeaChart() {
    const QSize size(std::max(model_.width(), 1), std::max(model_.height(), 1));
    if (sea_.size() != size) sea_ = QImage(size, QImage::Format_RGB32);
    QPainter painter(&sea_);
    QtChartCanvas canvas(painter, palette_);
    counts_ = seaChart_.draw(canvas, model_.axis());
}

void ChartRenderer::redrawOverlay() {
    const QSize size(std::max(model_.width(), 1), std::max(model_.height(), 1));
    if (overlay_.size() != size) {
        overlay_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
    }
    overlay_.fill(Qt::transparent);
    QPainter painter(&overlay_);
    QtChartCanvas canvas(painter, palette_);
    model_.drawOverlay(canvas, palette_);
    painter.end();
    // An overlay nobody drew on is not composed at all.
    overlayEmpty_ = !model_.hasOverlayHooks();
}

void ChartRenderer::paint(QPainter& painter, QPoint offset) {
    if (offset != QPoint()) {
        // Uncovered edges of a dragged frame show plain sea.
        painter.fillRect(QRect(0, 0, model_.width(), model_.height()),
                         ToQColor(palette_[PaletteRole::Sea]));
    }
    painter.drawImage(offset, sea_);
    if (!overlayEmpty_) painter.drawImage(offset, overlay_);
    painter.save();
    painter.translate(offset);
    QtChartCanvas canvas(painter, palette_);
    model_.drawVectorLayers(canvas, palette_);
    painter.restore();
}

QImage ChartRenderer::render() {
    updateLayers();
    QImage image(std::max(model_.width(), 1), std::max(model_.height(), 1), QImage::Format_RGB32);
    QPainter painter(&image);
    paint(painter);
    return image;
}

}  // namespace norq::chart
