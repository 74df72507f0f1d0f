#include "chart/ChartModel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "ais/Geometry.h"

namespace norq::chart {

namespace {

constexpr int kHalfSymbol = kSymbolSize / 2;
constexpr int kJitterPixels = 2;
constexpr double kFollowMargin = 0.1;

bool OnGlobe(double lon, double lat) {
    return std::fabs(lon) <= 180.0 && std::fabs(lat) <= 90.0;
}

bool ValidSlot(int slot) {
    return slot >= 0 && slot < kSymbolSlots;
}

}  // namespace

float OrientationAngle(Orientation orientation, float heading, float course) {
    auto up = [](float value) { return value >= 0.0f && value < 360.0f ? 360.0f - value : 0.0f; };
    switch (orientation) {
        case Orientation::HeadUp:
            if (heading >= 0.0f && heading < 360.0f) return up(heading);
            return up(course);
        case Orientation::CourseUp:
            return up(course);
        case Orientation::NorthUp:
            break;
    }
    return 0.0f;
}

ChartModel::ChartModel() {
    // Slot 0, the own ship, starts without a position fix and selected.
    TargetSlot& own = targets_[0];
    own.symbol.flags.ownShip = true;
    own.symbol.flags.ownPositionUnknown = true;
    own.symbol.flags.selected = true;
}

// ---- Frame -------------------------------------------------------------------------

void ChartModel::resize(int width, int height) {
    axis_.setPixelRect(0, 0, width, height);
    axis_.setSize(width, height);
    stale_ = true;
}

void ChartModel::setScaleIndex(int index) {
    axis_.setScaleIndex(index);
    stale_ = true;
}

bool ChartModel::setCentre(double lon, double lat) {
    if (!(lat <= 90.0) || !axis_.setCentre(lon, lat)) return false;
    stale_ = true;
    return true;
}

// ---- Own ship ----------------------------------------------------------------------

void ChartModel::setManualPosition(double lon, double lat, double course, bool known) {
    if (!(lat >= -90.0 && lat <= 90.0)) return;
    own_ = {lon, lat, course};
    ownKnown_ = known;
    targets_[0].lon = static_cast<float>(lon);
    targets_[0].lat = static_cast<float>(lat);
    placeTarget(0);
}

bool ChartModel::setOwnPosition(double lon, double lat, double course, bool follow) {
    if (!(lat >= -90.0 && lat <= 90.0) || !std::isfinite(lon)) return false;
    own_ = {lon, lat, course};
    ownKnown_ = true;
    targets_[0].lon = static_cast<float>(lon);
    targets_[0].lat = static_cast<float>(lat);
    const PixelXY p = axis_.project(lon, lat);
    bool repaint =
        std::abs(p.x - drawnOwn_.x) > kJitterPixels || std::abs(p.y - drawnOwn_.y) > kJitterPixels;
    if (follow && followOwnShip(lon, lat)) repaint = true;
    placeTarget(0);
    return repaint;
}

bool ChartModel::followOwnShip(double lon, double lat) {
    if (!axis_.hasCentre()) return setCentre(lon, lat);
    const PixelXY q = axis_.geoToPixel(lon, lat);
    const bool outside = q.x < 0 || q.y < 0 || q.x > width() || q.y > height();
    const double latMargin = kFollowMargin * axis_.latitudeSpan();
    const double lonMargin = kFollowMargin * axis_.longitudeSpan();
    const bool nearEdge = lat > axis_.top() - latMargin || lat < axis_.bottom() + latMargin ||
                          lon > axis_.right() - lonMargin || lon < axis_.left() + lonMargin;
    if (!outside && !nearEdge) return false;
    if (!setCentre(lon, lat)) return false;
    repositionSymbols(0);
    return true;
}

void ChartModel::setCenterView(bool on, bool follow) {
    centerView_ = on;
    if (on) runCenterView(follow);
}

bool ChartModel::runCenterView(bool /*follow*/) {
    const TargetSlot& own = targets_[0];
    GeoPoint centre;
    if (own.lon <= 180.0f && own.lat <= 90.0f) {
        centre = {own.lon, own.lat};
    } else {
        float west = 181.0f, east = -181.0f, south = 91.0f, north = -91.0f;
        for (const TargetSlot& t : targets_) {
            if (!OnGlobe(t.lon, t.lat)) continue;
            west = std::min(west, t.lon);
            east = std::max(east, t.lon);
            south = std::min(south, t.lat);
            north = std::max(north, t.lat);
        }
        if (west > east) return false;
        centre = {(west + east) / 2.0, (south + north) / 2.0};
        const auto km = static_cast<float>(
            ais::MidLatitudeKm(centre.lon, centre.lat, axis_.centreLon(), axis_.centreLat()));
        if (km < ringDistance()) return false;
    }
    // Only the view moves: the own-ship reference point (and so every range and
    // bearing measured from it) stays where the own ship is.
    if (!setCentre(centre.lon, centre.lat)) return false;
    repositionSymbols(0);
    return true;
}

// ---- Flags and orientation -----------------------------------------------------------

void ChartModel::setMonitoredOnly(bool on) {
    tracksDirty_ = true;
    monitoredOnly_ = on;
    repositionSymbols(0);
}

void ChartModel::setRotation(float angle) {
    if (!std::isfinite(angle)) angle = 0.0f;
    if (angle == axis_.rotation()) return;
    axis_.setRotation(angle);
    for (TargetSlot& t : targets_)
        t.symbol.rotation = angle;
    stale_ = true;
    repositionSymbols(0);
}

// ---- Targets -------------------------------------------------------------------------

void ChartModel::setTarget(int slot, float lon, float lat, float course, float heading,
                           const SymbolFlags& flags, bool monitored) {
    if (!ValidSlot(slot)) return;
    TargetSlot& t = targets_[static_cast<std::size_t>(slot)];
    t.lon = lon;
    t.lat = lat;
    t.symbol.course = course;
    t.symbol.heading = heading;
    t.symbol.flags = flags;
    t.symbol.rotation = axis_.rotation();
    t.monitored = monitored;
    placeTarget(slot);
}

void ChartModel::setFriend(int slot, bool on) {
    if (!ValidSlot(slot)) return;
    targets_[static_cast<std::size_t>(slot)].symbol.flags.friendShip = on;
    placeTarget(slot);
}

void ChartModel::setLost(int slot, bool on) {
    if (!ValidSlot(slot)) return;
    targets_[static_cast<std::size_t>(slot)].symbol.flags.lost = on;
    placeTarget(slot);
}

void ChartModel::setCpaLevel(int slot, ais::CpaLevel level) {
    if (!ValidSlot(slot)) return;
    SymbolFlags& f = targets_[static_cast<std::size_t>(slot)].symbol.flags;
    f.cpaWarning = level == ais::CpaLevel::Warning;
    f.cpaCaution = level == ais::CpaLevel::Caution;
}

ais::CpaLevel ChartModel::cpaLevel(int slot) const {
    if (!ValidSlot(slot)) return ais::CpaLevel::None;
    const SymbolFlags& f = targets_[static_cast<std::size_t>(slot)].symbol.flags;
    if (f.cpaWarning) return ais::CpaLevel::Warning;
    if (f.cpaCaution) return ais::CpaLevel::Caution;
    return ais::CpaLevel::None;
}

void ChartModel::setOwnPositionUnknown(bool on) {
    targets_[0].symbol.flags.ownPositionUnknown = on;
    placeTarget(0);
}

void ChartModel::setDangerous(int slot, bool on) {
    if (!ValidSlot(slot)) return;
    targets_[static_cast<std::size_t>(slot)].symbol.flags.dangerous = on;
}

bool ChartModel::dangerous(int slot) const {
    return ValidSlot(slot) && targets_[static_cast<std::size_t>(slot)].symbol.flags.dangerous;
}

void ChartModel::clearTarget(int slot) {
    if (!ValidSlot(slot) || slot == 0) return;
    TargetSlot& t = targets_[static_cast<std::size_t>(slot)];
    t = TargetSlot{};
    t.symbol.rotation = axis_.rotation();
    if (selected_ == slot) selected_ = -1;
}

void ChartModel::selectTarget(int slot) {
    if (slot == selected_) return;
    if (ValidSlot(selected_)) {
        targets_[static_cast<std::size_t>(selected_)].symbol.flags.selected = false;
        placeTarget(selected_);
    }
    selected_ = ValidSlot(slot) ? slot : -1;
    if (selected_ >= 0) {
        targets_[static_cast<std::size_t>(selected_)].symbol.flags.selected = true;
        placeTarget(selected_);
    }
}

void ChartModel::removeTarget(int index, int countBefore) {
    if (index < 1 || index >= kSymbolSlots) return;
    const int last = std::min(countBefore, kSymbolSlots) - 1;
    if (selected_ == index) {
        selected_ = -1;
    } else if (selected_ > index) {
        --selected_;
    }
    for (int i = index; i < last; ++i)
        targets_[static_cast<std::size_t>(i)] = targets_[static_cast<std::size_t>(i) + 1];
    if (last >= index) {
        targets_[static_cast<std::size_t>(last)] = TargetSlot{};
        targets_[static_cast<std::size_t>(last)].symbol.rotation = axis_.rotation();
    }
    repositionSymbols(index);
}

void ChartModel::clearTargetsFrom(int count) {
    for (int i = std::max(count, 1); i < kSymbolSlots; ++i) {
        if (targets_[static_cast<std::size_t>(i)].lon != 181.0f ||
            targets_[static_cast<std::size_t>(i)].symbol.flags.dangerous) {
            clearTarget(i);
        }
    }
    if (selected_ >= std::max(count, 1)) selected_ = -1;
}

void ChartModel::placeTarget(int slot) {
    TargetSlot& t = targets_[static_cast<std::size_t>(slot)];
    double lon = t.lon;
    double lat = t.lat;
    if (!OnGlobe(lon, lat)) {
        if (slot != 0 || !OnGlobe(own_.lon, own_.lat)) {
            t.visible = false;
            return;
        }
        lon = own_.lon;
        lat = own_.lat;
    }
    if (monitoredOnly_ && slot != 0 && !t.monitored) {
        t.visible = false;
        return;
    }
    if (slot == 0 && !ownKnown_ && t.symbol.flags.ownPositionUnknown) {
        t.visible = false;  // no own position has ever been known: nothing to mark
        return;
    }
    const PixelXY p = axis_.project(lon, lat);
    t.topLeft = {p.x - kHalfSymbol + 2, p.y - kHalfSymbol + 2};
    t.visible = true;
}

void ChartModel::repositionSymbols(int from) {
    for (int i = std::max(from, 0); i < kSymbolSlots; ++i)
        placeTarget(i);
    for (int i = 0; i < kPendantSlots; ++i)
        placePendant(i);
}

// ---- Pendants ------------------------------------------------------------------------

void ChartModel::setPendant(int slot, float lon, float lat, bool selected, bool lost) {
    if (slot < 0 || slot >= kPendantSlots) return;
    PendantSlot& p = pendants_[static_cast<std::size_t>(slot)];
    p.lon = lon;
    p.lat = lat;
    p.symbol = {selected, lost};
    placePendant(slot);
}

void ChartModel::selectPendant(int slot) {
    if (slot == selectedPendant_) return;
    if (selectedPendant_ >= 0)
        pendants_[static_cast<std::size_t>(selectedPendant_)].symbol.selected = false;
    selectedPendant_ = slot >= 0 && slot < kPendantSlots ? slot : -1;
    if (selectedPendant_ >= 0)
        pendants_[static_cast<std::size_t>(selectedPendant_)].symbol.selected = true;
}

void ChartModel::placePendant(int slot) {
    PendantSlot& p = pendants_[static_cast<std::size_t>(slot)];
    if (!OnGlobe(p.lon, p.lat)) {
        p.visible = false;
        return;
    }
    const PixelXY xy = axis_.project(p.lon, p.lat);
    p.topLeft = {xy.x - kHalfSymbol + 2, xy.y - kHalfSymbol + 2};
    p.visible = true;
}

// ---- Hit test and interaction -----------------------------------------------------

ChartHit ChartModel::hitTest(int x, int y) const {
    auto inside = [x, y](PixelXY topLeft) {
        return x >= topLeft.x && x < topLeft.x + kSymbolSize && y >= topLeft.y &&
               y < topLeft.y + kSymbolSize;
    };
    for (int i = kPendantSlots - 1; i >= 0; --i) {
        const PendantSlot& p = pendants_[static_cast<std::size_t>(i)];
        if (p.visible && inside(p.topLeft)) return {ChartHit::Kind::Pendant, i};
    }
    // The drawing order, reversed: the selected target, the own ship, the others.
    if (ValidSlot(selected_) && target(selected_).visible && inside(target(selected_).topLeft)) {
        return {ChartHit::Kind::Target, selected_};
    }
    if (target(0).visible && inside(target(0).topLeft)) return {ChartHit::Kind::Target, 0};
    for (int i = kSymbolSlots - 1; i >= 1; --i) {
        const TargetSlot& t = target(i);
        if (t.visible && inside(t.topLeft)) return {ChartHit::Kind::Target, i};
    }
    return {};
}

bool ChartModel::panCentre(PixelXY press, PixelXY release, GeoPoint& centre) const {
    const int dx = press.x - release.x;
    const int dy = press.y - release.y;
    if (dx == 0 && dy == 0) return false;
    double ux = dx;
    double uy = dy;
    if (axis_.rotated()) {
        // The screen delta turned back into the unrotated frame.
        const double a = -static_cast<double>(axis_.rotation()) * 3.14159265358979323846 / 180.0;
        const auto c = static_cast<float>(std::cos(a));
        const auto s = static_cast<float>(std::sin(a));
        ux = c * dx - s * dy;
        uy = s * dx + c * dy;
    }
    centre.lon = axis_.centreLon() + ux / axis_.xScale();
    centre.lat = ClampLatitude(axis_.centreLat() - uy / axis_.yScale(), ringDistance());
    return true;
}

GeoPoint ChartModel::cruiseStep(bool east) const {
    double lon = axis_.centreLon();
    double lat = ClampLatitude(axis_.centreLat(), ringDistance());
    const double lonStep = axis_.longitudeSpan() * 2.0 / 3.0;
    const double latStep = axis_.latitudeSpan() * 2.0 / 3.0;
    if (east) {
        lon += lonStep;
        if (lon > 180.0) {
            lon = lonStep - 180.0;
            lat -= latStep;
            if (lat < -90.0) lat = 90.0 - latStep;
        }
    } else {
        lon -= lonStep;
        if (lon < -180.0) {
            lon = 180.0 - lonStep;
            lat += latStep;
            if (lat > 90.0) lat = latStep - 90.0;
        }
    }
    return {lon, lat};
}

// ---- Hooks ---------------------------------------------------------------------------

void ChartModel::addLayerHook(ChartLayer layer, ChartLayerHook* hook) {
    const auto i = static_cast<std::size_t>(layer);
    if (hook == nullptr || i >= hooks_.size()) return;
    auto& list = hooks_[i];
    if (std::find(list.begin(), list.end(), hook) == list.end()) list.push_back(hook);
    if (IsOverlayLayer(layer)) overlayDirty_ = true;
}

void ChartModel::removeLayerHook(ChartLayerHook* hook) {
    for (auto& list : hooks_)
        list.erase(std::remove(list.begin(), list.end(), hook), list.end());
    overlayDirty_ = true;
}

bool ChartModel::hasOverlayHooks() const {
    for (std::size_t i = 0; i < hooks_.size(); ++i) {
        if (IsOverlayLayer(static_cast<ChartLayer>(i)) && !hooks_[i].empty()) return true;
    }
    return false;
}

void ChartModel::drawHooks(ChartLayer layer, ChartCanvas& canvas, const ChartPalette& palette,
                           const CAxisData& axis) const {
    const auto& list = hooks_[static_cast<std::size_t>(layer)];
    if (list.empty()) return;
    const LayerContext context{axis, palette, canvas, layer, tracksShown_};
    for (ChartLayerHook* hook : list)
        hook->drawLayer(context);
}

void ChartModel::drawOverlay(ChartCanvas& canvas, const ChartPalette& palette) const {
    for (ChartLayer layer : {ChartLayer::OwnTracks, ChartLayer::Markers, ChartLayer::Routes,
                             ChartLayer::PendingMarker}) {
        drawHooks(layer, canvas, palette, axis_);
    }
}

void ChartModel::drawVectorLayers(ChartCanvas& canvas, const ChartPalette& palette,
                                  SymbolDrawer* drawer, TrackComposer* tracks) {
    if (gridShown_) drawGrid(canvas);
    if (ringsShown_) drawRangeRings(canvas);
    if (tracksShown_) {
        if (tracks != nullptr) {
            tracks->composeTargetTracks();
        } else {
            drawHooks(ChartLayer::TargetTracks, canvas, palette, axis_);
        }
    }
    drawSymbols(canvas, drawer);
    drawHooks(ChartLayer::AlarmMarks, canvas, palette, axis_);
    drawHooks(ChartLayer::Destination, canvas, palette, axis_);
    drawHooks(ChartLayer::Measure, canvas, palette, axis_);
}

void ChartModel::drawRangeRings(ChartCanvas& canvas) {
    canvas.setBrush(PaletteRole::RangeRing, BrushStyle::None);
    canvas.setPen(PaletteRole::RangeRing, 2);
    if (!OnGlobe(own_.lon, own_.lat)) return;
    const PixelXY p = axis_.project(own_.lon, own_.lat);
    if (std::abs(p.x - drawnOwn_.x) > kJitterPixels ||
        std::abs(p.y - drawnOwn_.y) > kJitterPixels) {
        drawnOwn_ = p;
    }
    const int x = drawnOwn_.x;
    const int y = drawnOwn_.y;
    canvas.line({x - 14, y}, {x + 14, y});
    canvas.line({x, y - 14}, {x, y + 14});
    const int w = width();
    const int h = height();
    if (x <= -2 * w || x >= 2 * w || y <= -2 * h || y >= 2 * h) return;
    const int n = std::max(w, h) / kRingSpacing / 2;
    canvas.setPen(PaletteRole::RangeRing, 1, PenStyle::Dot);
    for (int i = 1; i <= n + 1; ++i)
        canvas.circle({x, y}, kRingSpacing * i);
}

void ChartModel::drawSymbols(ChartCanvas& canvas, SymbolDrawer* drawer) const {
    SymbolDrawer plain;
    SymbolDrawer& d = drawer != nullptr ? *drawer : plain;
    const int w = width();
    const int h = height();
    auto onScreen = [w, h](PixelXY topLeft) {
        return topLeft.x > -kSymbolSize && topLeft.y > -kSymbolSize && topLeft.x < w &&
               topLeft.y < h;
    };
    for (int i = 1; i < kSymbolSlots; ++i) {
        const TargetSlot& t = target(i);
        if (i != selected_ && t.visible && onScreen(t.topLeft)) {
            d.draw(canvas, t.symbol, t.topLeft);
        }
    }
    if (target(0).visible && selected_ != 0) d.draw(canvas, target(0).symbol, target(0).topLeft);
    if (ValidSlot(selected_) && target(selected_).visible) {
        d.draw(canvas, target(selected_).symbol, target(selected_).topLeft);
    }
    for (const PendantSlot& p : pendants_) {
        if (p.visible && onScreen(p.topLeft)) DrawPendantSymbol(canvas, p.symbol, p.topLeft);
    }
}

}  // namespace norq::chart
