#include "chart/forms/PaintChart.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <cmath>
#include <cstring>

namespace norq::chart {

namespace {

constexpr int kRepaintIntervalMs = 40;
// A press that moves less than this is a click, not a drag.
constexpr int kDragThreshold = 3;

bool OnGlobe(double lon, double lat) {
    return std::fabs(lon) <= 180.0 && std::fabs(lat) <= 90.0;
}

PointerButton ToButton(Qt::MouseButton button) {
    if (button == Qt::RightButton) return PointerButton::Right;
    if (button == Qt::MiddleButton) return PointerButton::Middle;
    return PointerButton::Left;
}

}  // namespace

TPaintChart::TPaintChart(const ais::TargetTable& table, QWidget* parent)
    : QWidget(parent),
      table_(table),
      model_(std::make_unique<ChartModel>()),
      seaChart_(std::make_unique<SeaChart>()),
      renderer_(std::make_unique<ChartRenderer>(*model_, palette_, *seaChart_)),
      repaint_(new QTimer(this)),
      tracksRefresh_(new QTimer(this)) {
    setObjectName(QStringLiteral("PaintChart"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setMinimumSize(200, 200);
    repaint_->setSingleShot(true);
    repaint_->setInterval(kRepaintIntervalMs);
    connect(repaint_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    tracksRefresh_->setSingleShot(true);
    tracksRefresh_->setInterval(ChartRenderer::kTrackRefreshMs);
    connect(tracksRefresh_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    model_->resize(width(), height());
}

TPaintChart::~TPaintChart() = default;

void TPaintChart::setProgramFolder(const std::string& folder) {
    seaChart_->setProgramFolder(folder);
    model_->markStale();
    scheduleRepaint();
}

void TPaintChart::setSeaChartSettings(const SeaChartSettings& settings) {
    seaChart_->setSettings(settings);
    model_->markStale();
    scheduleRepaint();
}

// ---- Hooks ---------------------------------------------------------------------------

void TPaintChart::addLayerHook(ChartLayer layer, ChartLayerHook* hook) {
    model_->addLayerHook(layer, hook);
    scheduleRepaint();
}

void TPaintChart::removeLayerHook(ChartLayerHook* hook) {
    model_->removeLayerHook(hook);
    scheduleRepaint();
}

void TPaintChart::setTargetMarkSource(const TargetMarkSource* source) {
    marks_ = source;
    model_->setTargetMarkSource(source);
    refreshAllSymbols();
}

void TPaintChart::markOverlayDirty() {
    model_->markOverlayDirty();
    scheduleRepaint();
}

void TPaintChart::markTargetTracksDirty() {
    model_->markTracksDirty();
    scheduleRepaint();
}

void TPaintChart::refreshAllSymbols() {
    for (int i = 0; i < table_.count(); ++i)
        refreshSymbol(i);
}

// ---- Frame ---------------------------------------------------------------------------

void TPaintChart::setScaleIndex(int index) {
    if (index < 0 || index >= kScaleCount) return;
    model_->setScaleIndex(index);
    repaintChart();
}

bool TPaintChart::setCentre(double lon, double lat) {
    if (!model_->setCentre(lon, lat)) return false;
    repaintChart();
    return true;
}

void TPaintChart::repaintChart() {
    model_->repositionSymbols(0);
    scheduleRepaint();
}

void TPaintChart::repaintLayers() {
    if (model_->centerView()) model_->runCenterView(follow_);
    repaintChart();
}

void TPaintChart::scheduleRepaint() {
    if (!repaint_->isActive()) repaint_->start();
}

void TPaintChart::setManualPosition(double lon, double lat, double course, bool known) {
    model_->setManualPosition(lon, lat, course, known);
    model_->setCentre(lon, lat);
    repaintChart();
}

void TPaintChart::holdView() {
    viewHeld_ = true;
    stopCentreView();
}

void TPaintChart::setCenterView(bool on) {
    if (on) viewHeld_ = false;
    model_->setCenterView(on, follow_);
    repaintChart();
}

void TPaintChart::showRangeRings(bool on) {
    model_->showRangeRings(on);
    scheduleRepaint();
}

void TPaintChart::showGrid(bool on) {
    model_->showGrid(on);
    scheduleRepaint();
}

void TPaintChart::showTracks(bool on) {
    model_->showTracks(on);
    scheduleRepaint();
}

void TPaintChart::hideGridLines(bool on) {
    model_->hideGridLines(on);
    SeaChartSettings settings = seaChart_->settings();
    settings.suppressOffset = on;
    setSeaChartSettings(settings);
}

void TPaintChart::setMonitoredOnly(bool on) {
    model_->setMonitoredOnly(on);
    scheduleRepaint();
}

void TPaintChart::setOrientation(Orientation orientation) {
    model_->setOrientation(orientation);
    const ais::TargetRecord& own = table_.own();
    applyOrientation(own.heading, own.cog);
}

void TPaintChart::applyOrientation(float heading, float course) {
    model_->setRotation(OrientationAngle(model_->orientation(), heading, course));
    repaintChart();
}

void TPaintChart::applyScheme(ColourScheme scheme) {
    palette_.apply(scheme);
    model_->markStale();
    model_->markOverlayDirty();
    scheduleRepaint();
}

void TPaintChart::markLostTargets(std::int64_t nowSeconds) {
    for (int i = 1; i < table_.count(); ++i) {
        const bool lost = table_.isLost(i, nowSeconds);
        if (model_->target(i).symbol.flags.lost != lost) {
            model_->setLost(i, lost);
            scheduleRepaint();
        }
    }
}

QImage TPaintChart::renderToImage() {
    return renderer_->render();
}

// ---- ais::ChartTargets -----------------------------------------------------------------

ais::ChartTargets::OwnPosition TPaintChart::chartOwnPosition() const {
    const OwnReference& own = model_->ownReference();
    return {own.lon, own.lat, own.course};
}

void TPaintChart::setOwnShip(double lon, double lat, double cog) {
    const GeoPoint before = model_->centre();
    if (model_->setOwnPosition(lon, lat, cog, follow_ && !viewHeld_)) scheduleRepaint();
    const GeoPoint after = model_->centre();
    if (before.lon != after.lon || before.lat != after.lat) Q_EMIT frameChanged();
}

void TPaintChart::centreOn(double lon, double lat) {
    if (viewHeld_ || !OnGlobe(lon, lat)) return;
    setCentre(lon, lat);
}

void TPaintChart::stopCentreView() {
    if (model_->centerView()) model_->setCenterView(false, follow_);
    Q_EMIT centreViewStopped();
}

void TPaintChart::highlightTarget(int index) {
    model_->selectTarget(index);
    scheduleRepaint();
}

void TPaintChart::refreshSymbol(int index) {
    if (!table_.valid(index) || index >= kSymbolSlots) return;
    const ais::TargetRecord& r = table_[index];
    if (!OnGlobe(r.longitude, r.latitude)) return;
    const TargetSlot& slot = model_->target(index);
    SymbolFlags flags = KindFlags(r, index);
    flags.selected = slot.symbol.flags.selected;
    flags.dangerous = slot.symbol.flags.dangerous;
    flags.cpaWarning = slot.symbol.flags.cpaWarning;
    flags.cpaCaution = slot.symbol.flags.cpaCaution;
    flags.lost = slot.symbol.flags.lost && index != 0;
    flags.ownPositionUnknown = index == 0 && r.ownPositionValid == 0;
    TargetMarks marks;
    if (marks_ != nullptr && index != 0) marks = marks_->targetMarks(index, r.mmsi);
    flags.friendShip = marks.friendShip;
    model_->setTarget(index, r.longitude, r.latitude, r.cog, r.heading, flags, marks.monitored);
    scheduleRepaint();
}

void TPaintChart::setDangerous(int index, bool dangerous) {
    if (model_->dangerous(index) == dangerous) return;
    model_->setDangerous(index, dangerous);
    scheduleRepaint();
}

void TPaintChart::setCpaLevel(int index, ais::CpaLevel level) {
    if (model_->cpaLevel(index) == level) return;
    model_->setCpaLevel(index, level);
    scheduleRepaint();
}

void TPaintChart::removeSymbolsFrom(int count) {
    model_->clearTargetsFrom(count);
    scheduleRepaint();
}

void TPaintChart::onTargetRemoved(int index) {
    // The table has already dropped the entry: it held one more before.
    model_->removeTarget(index, table_.count() + 1);
    scheduleRepaint();
}

QString TPaintChart::targetHint(int slot) const {
    if (!table_.valid(slot)) return {};
    const ais::TargetRecord& r = table_[slot];
    const std::size_t n = strnlen(r.name.data(), r.name.size());
    const QString name = QString::fromLatin1(r.name.data(), static_cast<qsizetype>(n)).trimmed();
    return QStringLiteral("MMSI:%1\nName:%2\nMonitored:%3")
        .arg(r.mmsi, 9, 10, QLatin1Char('0'))
        .arg(name)
        .arg(model_->target(slot).monitored ? QStringLiteral("Monitored")
                                            : QStringLiteral("Not Monitored"));
}

// ---- Painting --------------------------------------------------------------------------

void TPaintChart::paintEvent(QPaintEvent* /*event*/) {
    if (model_->width() != width() || model_->height() != height()) {
        model_->resize(width(), height());
        model_->repositionSymbols(0);
    }
    renderer_->updateLayers();
    QPainter painter(this);
    renderer_->paint(painter, dragOffset_);
    if (renderer_->tracksPending() && !tracksRefresh_->isActive()) tracksRefresh_->start();
}

void TPaintChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    model_->resize(width(), height());
    model_->repositionSymbols(0);
    update();
}

// ---- Pointer ---------------------------------------------------------------------------

ChartPointer TPaintChart::pointerAt(const QPoint& pos, Qt::MouseButton button) const {
    ChartPointer p;
    p.button = ToButton(button);
    p.pixel = {pos.x(), pos.y()};
    p.position = model_->axis().pixelToGeo(pos.x(), pos.y());
    return p;
}

void TPaintChart::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    press_ = pos;
    pressed_ = true;
    dragging_ = false;
    pressButton_ = event->button();
    pressHit_ = model_->hitTest(pos.x(), pos.y());
    Q_EMIT pointerPressed();
    if (tool_ != nullptr && tool_->press(pointerAt(pos, event->button()))) pressed_ = false;
}

void TPaintChart::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const ChartPointer pointer = pointerAt(pos, Qt::LeftButton);
    Q_EMIT pointerMoved(pointer.position);
    if (tool_ != nullptr && tool_->move(pointer, pressed_)) return;
    if (pressed_ && pressButton_ == Qt::LeftButton) {
        if (!dragging_ && (pos - press_).manhattanLength() >= kDragThreshold) dragging_ = true;
        if (dragging_) {
            setCursor(Qt::ClosedHandCursor);
            dragOffset_ = pos - press_;
            update();
        }
        return;
    }
    const ChartHit hit = model_->hitTest(pos.x(), pos.y());
    setCursor(hit.kind == ChartHit::Kind::Chart ? Qt::ArrowCursor : Qt::PointingHandCursor);
}

void TPaintChart::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (tool_ != nullptr && tool_->release(pointerAt(pos, event->button()))) {
        pressed_ = false;
        return;
    }
    if (!pressed_) return;
    pressed_ = false;
    if (dragging_) {
        finishDrag(pos);
        setCursor(Qt::ArrowCursor);
        return;
    }
    if (event->button() == Qt::RightButton) {
        if (pressHit_.kind == ChartHit::Kind::Target) {
            if (pressHit_.slot != 0)
                Q_EMIT targetPopupRequested(pressHit_.slot, event->globalPosition().toPoint());
        } else {
            Q_EMIT chartPopupRequested(model_->axis().pixelToGeo(press_.x(), press_.y()),
                                       event->globalPosition().toPoint());
        }
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    if (pressHit_.kind == ChartHit::Kind::Target) {
        Q_EMIT targetClicked(pressHit_.slot);
    } else if (pressHit_.kind == ChartHit::Kind::Pendant) {
        model_->selectPendant(pressHit_.slot);
        if (commands_ != nullptr) commands_->pendantClicked(pressHit_.slot);
        scheduleRepaint();
    }
}

void TPaintChart::finishDrag(const QPoint& release) {
    dragging_ = false;
    dragOffset_ = QPoint();
    GeoPoint centre;
    if (model_->panCentre({press_.x(), press_.y()}, {release.x(), release.y()}, centre) &&
        model_->setCentre(centre.lon, centre.lat)) {
        if (tool_ != nullptr) tool_->panned(release.x() - press_.x(), release.y() - press_.y());
        holdView();
        model_->repositionSymbols(0);
        Q_EMIT frameChanged();
    }
    press_ = release;
    update();
}

void TPaintChart::centreOnPixel(PixelXY pixel) {
    const GeoPoint p = model_->axis().pixelToGeo(pixel.x, pixel.y);
    if (!(p.lat >= -90.0 && p.lat <= 90.0)) return;
    if (setCentre(p.lon, p.lat)) Q_EMIT frameChanged();
}

void TPaintChart::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint pos = event->position().toPoint();
    const ChartHit hit = model_->hitTest(pos.x(), pos.y());
    holdView();
    if (hit.kind == ChartHit::Kind::Target) {
        const PixelXY topLeft = model_->target(hit.slot).topLeft;
        centreOnPixel({topLeft.x + kSymbolSize / 2, topLeft.y + kSymbolSize / 2});
        Q_EMIT targetDoubleClicked(hit.slot);
    } else {
        centreOnPixel({pos.x(), pos.y()});
    }
    pressed_ = false;
}

void TPaintChart::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0) Q_EMIT zoomRequested(steps);
    event->accept();
}

void TPaintChart::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    Q_EMIT pointerLeft();
}

void TPaintChart::setPendantHint(int slot, const QString& hint) {
    if (slot >= 0 && slot < kPendantSlots) pendantHints_[static_cast<std::size_t>(slot)] = hint;
}

QString TPaintChart::pendantHint(int slot) const {
    return slot >= 0 && slot < kPendantSlots ? pendantHints_[static_cast<std::size_t>(slot)]
                                             : QString();
}

bool TPaintChart::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const ChartHit hit = model_->hitTest(help->pos().x(), help->pos().y());
        if (hit.kind == ChartHit::Kind::Target) {
            QToolTip::showText(help->globalPos(), targetHint(hit.slot), this);
        } else if (hit.kind == ChartHit::Kind::Pendant && !pendantHint(hit.slot).isEmpty()) {
            QToolTip::showText(help->globalPos(), pendantHint(hit.slot), this);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

}  // namespace norq::chart
