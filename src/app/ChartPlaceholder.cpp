#include "app/ChartPlaceholder.h"

#include <QPainter>
#include <QPainterPath>
#include <array>
#include <cmath>

#include "ais/Geometry.h"

namespace norq::app {

namespace {
constexpr std::array<double, 15> kRingDistanceNm{800, 400, 200,  96,  48,   24,    12,  6,
                                                 3,   1.5, 0.75, 0.5, 0.25, 0.125, 0.05};
constexpr double kRingSpacingPixels = 60.0;
}  // namespace

ChartPlaceholder::ChartPlaceholder(const ais::TargetTable& table, QWidget* parent)
    : QWidget(parent), table_(table), repaint_(new QTimer(this)) {
    repaint_->setSingleShot(true);
    repaint_->setInterval(40);
    connect(repaint_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    setObjectName(QStringLiteral("PaintChart"));
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 200);
}

void ChartPlaceholder::setManualPosition(double lon, double lat, double course) {
    own_ = {lon, lat, course};
    centreLon_ = lon;
    centreLat_ = lat;
    stale_ = true;
}

void ChartPlaceholder::setOwnShip(double lon, double lat, double cog) {
    own_ = {lon, lat, cog};
    // True motion: the view follows the own ship when it leaves the view.
    if (std::abs(lon) <= 180.0 && std::abs(lat) <= 90.0 &&
        !rect().contains(toPixel(lon, lat).toPoint())) {
        centreLon_ = lon;
        centreLat_ = lat;
    }
    stale_ = true;
}

QPointF ChartPlaceholder::toPixel(double lon, double lat) const {
    const double pixelsPerNm = kRingSpacingPixels / ringDistanceNm();
    const double nmPerLon = 60.0 * std::cos(centreLat_ * M_PI / 180.0);
    const double x = ais::LongitudeDifference(centreLon_, lon) * nmPerLon * pixelsPerNm;
    const double y = (lat - centreLat_) * 60.0 * pixelsPerNm;
    return {width() / 2.0 + x, height() / 2.0 - y};
}

void ChartPlaceholder::centreOn(double lon, double lat) {
    centreLon_ = lon;
    centreLat_ = lat;
    stale_ = true;
}

void ChartPlaceholder::stopCentreView() {
    if (onStopCentre_) onStopCentre_();
}

void ChartPlaceholder::highlightTarget(int index) {
    if (highlight_ == index) return;
    highlight_ = index;
    scheduleRepaint();
}

void ChartPlaceholder::scheduleRepaint() {
    if (!repaint_->isActive()) repaint_->start();
}

void ChartPlaceholder::refreshSymbol(int /*index*/) {
    stale_ = true;
}

void ChartPlaceholder::setDangerous(int index, bool dangerous) {
    if (index < 0 || index >= ais::kTargetTableSize) return;
    if (dangerous_.test(static_cast<std::size_t>(index)) == dangerous) return;
    dangerous_.set(static_cast<std::size_t>(index), dangerous);
    stale_ = true;
}

void ChartPlaceholder::removeSymbolsFrom(int count) {
    for (int i = std::max(count, 0); i < ais::kTargetTableSize; ++i)
        dangerous_.reset(static_cast<std::size_t>(i));
    if (highlight_ >= count) highlight_ = -1;
    stale_ = true;
}

void ChartPlaceholder::onTargetRemoved(int index) {
    if (index < 0 || index >= ais::kTargetTableSize) return;
    for (int i = index; i + 1 < ais::kTargetTableSize; ++i)
        dangerous_.set(static_cast<std::size_t>(i),
                       dangerous_.test(static_cast<std::size_t>(i + 1)));
    dangerous_.reset(ais::kTargetTableSize - 1);
    if (highlight_ == index) {
        highlight_ = -1;
    } else if (highlight_ > index) {
        --highlight_;
    }
    stale_ = true;
}

bool ChartPlaceholder::dangerous(int index) const {
    return index >= 0 && index < ais::kTargetTableSize &&
           dangerous_.test(static_cast<std::size_t>(index));
}

void ChartPlaceholder::repaintLayers() {
    stale_ = false;
    scheduleRepaint();
}

void ChartPlaceholder::setScaleIndex(int index) {
    if (index < 0 || index >= static_cast<int>(kRingDistanceNm.size())) return;
    scaleIndex_ = index;
    repaintLayers();
}

double ChartPlaceholder::ringDistanceNm() const {
    return kRingDistanceNm[scaleIndex_];
}

void ChartPlaceholder::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.fillRect(rect(), palette_.sea);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(width() / 2.0, height() / 2.0);
    const double reach = std::hypot(width(), height()) / 2.0;
    p.setPen(QPen(palette_.rangeRing.darker(160), 1, Qt::DotLine));
    for (double r = kRingSpacingPixels; r < reach; r += kRingSpacingPixels)
        p.drawEllipse(centre, r, r);

    auto onGlobe = [](double lon, double lat) {
        return std::abs(lon) <= 180.0 && std::abs(lat) <= 90.0;
    };
    for (int i = 1; i < table_.count(); ++i) {
        const ais::TargetRecord& t = table_[i];
        if (!onGlobe(t.longitude, t.latitude)) continue;
        const QPointF at = toPixel(t.longitude, t.latitude);
        if (!rect().contains(at.toPoint())) continue;
        const double course = t.cog < 360.0f ? t.cog : 0.0;
        p.save();
        p.translate(at);
        p.rotate(course);
        QPainterPath symbol;
        symbol.moveTo(0, -9);
        symbol.lineTo(5, 6);
        symbol.lineTo(-5, 6);
        symbol.closeSubpath();
        QColor fill = palette_.targetFill;
        if (t.kind == ais::TargetKind::Aton) fill = palette_.atonFill;
        if (t.kind == ais::TargetKind::Sart || t.kind == ais::TargetKind::Mob) {
            fill = palette_.sartFill;
        }
        if (dangerous(i)) fill = palette_.dangerousFill;
        p.setPen(QPen(palette_.outline, 1));
        p.setBrush(fill);
        p.drawPath(symbol);
        p.restore();
        if (i == highlight_) {
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(palette_.outline, 1.5, Qt::DashLine));
            p.drawRect(QRectF(at - QPointF(12, 12), QSizeF(24, 24)));
        }
    }
    if (onGlobe(own_.longitude, own_.latitude)) {
        const QPointF at = toPixel(own_.longitude, own_.latitude);
        p.setPen(QPen(palette_.outline, 1.5));
        p.setBrush(palette_.ownShipFill);
        p.drawEllipse(at, 7, 7);
        p.drawLine(at + QPointF(-12, 0), at + QPointF(12, 0));
        p.drawLine(at + QPointF(0, -12), at + QPointF(0, 12));
    }
    p.setPen(palette_.outline);
    p.drawText(rect().adjusted(6, 4, -6, -4), Qt::AlignRight | Qt::AlignBottom,
               QStringLiteral("%1nm").arg(ringDistanceNm(), 6, 'f', 3));
}

}  // namespace norq::app
