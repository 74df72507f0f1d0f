#include "chart/paint/ChartRenderer.h"

#include "chart/paint/QtChartCanvas.h"

namespace norq::chart {

bool ChartRenderer::updateLayers() {
    const bool stale = model_.stale() || sea_.size() != QSize(model_.width(), model_.height());
    if (stale) {
        model_.clearStale();
        redrawSeaChart();
        tracksValid_ = false;
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
    // The land goes straight into the image's pixels; the rest through QPainter.
    LandRaster raster(reinterpret_cast<std::uint32_t*>(sea_.bits()), sea_.width(), sea_.height(),
                      static_cast<int>(sea_.bytesPerLine() / 4));
    QPainter painter(&sea_);
    QtChartCanvas canvas(painter, palette_);
    if (directLand_) canvas.setRaster(&raster);
    counts_ = seaChart_.draw(canvas, model_.axis());
    baseStale_ = true;
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
    baseStale_ = true;
}

void ChartRenderer::composeBase() {
    // The sea chart with the overlay on it, so that a repaint copies one
    // finished image instead of blending the overlay every time.
    baseStale_ = false;
    if (overlayEmpty_) return;
    if (base_.size() != sea_.size()) base_ = QImage(sea_.size(), QImage::Format_RGB32);
    QPainter painter(&base_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, sea_);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(0, 0, overlay_);
}

void ChartRenderer::redrawTargetTracks() {
    const QSize size(std::max(model_.width(), 1), std::max(model_.height(), 1));
    if (tracks_.size() != size) tracks_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
    tracks_.fill(Qt::transparent);
    QPainter painter(&tracks_);
    QtChartCanvas canvas(painter, palette_);
    model_.drawHooks(ChartLayer::TargetTracks, canvas, palette_, model_.axis());
    painter.end();
    tracksValid_ = true;
    model_.clearTracksDirty();
    tracksAge_.start();
}

void ChartRenderer::composeTargetTracks() {
    if (composing_ == nullptr || !model_.hasTargetTrackHooks()) return;
    const QSize size(std::max(model_.width(), 1), std::max(model_.height(), 1));
    const bool old = !tracksAge_.isValid() || tracksAge_.elapsed() >= kTrackRefreshMs;
    if (!tracksValid_ || tracks_.size() != size || model_.tracksDirty() || old) {
        redrawTargetTracks();
    } else {
        tracksPending_ = true;
    }
    composing_->drawImage(0, 0, tracks_);
}

void ChartRenderer::paint(QPainter& painter, QPoint offset) {
    tracksPending_ = false;
    if (offset != QPoint()) {
        // Uncovered edges of a dragged frame show plain sea.
        painter.fillRect(QRect(0, 0, model_.width(), model_.height()),
                         ToQColor(palette_[PaletteRole::Sea]));
    }
    if (baseStale_) composeBase();
    painter.drawImage(offset, overlayEmpty_ ? sea_ : base_);
    painter.save();
    painter.translate(offset);
    QtChartCanvas canvas(painter, palette_);
    sprites_.setPainter(&painter);
    composing_ = &painter;
    model_.drawVectorLayers(canvas, palette_, &sprites_, this);
    composing_ = nullptr;
    sprites_.setPainter(nullptr);
    painter.restore();
}

QImage ChartRenderer::render() {
    updateLayers();
    tracksValid_ = false;
    QImage image(std::max(model_.width(), 1), std::max(model_.height(), 1), QImage::Format_RGB32);
    QPainter painter(&image);
    paint(painter);
    return image;
}

}  // namespace norq::chart
