#include "chart/paint/SymbolSprites.h"

#include <cstring>

#include "chart/paint/QtChartCanvas.h"

namespace norq::chart {

namespace {

std::uint32_t FlagBits(const SymbolFlags& f) {
    const bool bits[] = {f.ownShip,    f.ownPositionUnknown, f.realAton,    f.virtualAton,
                         f.sartOrMob,  f.baseStation,        f.sarAircraft, f.selected,
                         f.friendShip, f.dangerous,          f.lost,        f.atonOffPosition,
                         f.cpaWarning, f.cpaCaution};
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < std::size(bits); ++i)
        v |= static_cast<std::uint32_t>(bits[i]) << i;
    return v;
}

std::uint32_t Bits(float value) {
    std::uint32_t b = 0;
    std::memcpy(&b, &value, sizeof b);
    return b;
}

}  // namespace

std::size_t SymbolSprites::KeyHash::operator()(const Key& k) const {
    std::size_t h = k.flags;
    for (std::uint32_t v : {Bits(k.heading), Bits(k.course), Bits(k.rotation)})
        h = h * 1000003u ^ v;
    return h;
}

void SymbolSprites::draw(ChartCanvas& canvas, const ShipSymbol& symbol, PixelXY origin) {
    if (painter_ == nullptr) {
        DrawShipSymbol(canvas, symbol, origin);
        return;
    }
    if (palette_.scheme() != scheme_) {
        sprites_.clear();
        scheme_ = palette_.scheme();
    }
    const Key key{FlagBits(symbol.flags), symbol.heading, symbol.course, symbol.rotation};
    auto it = sprites_.find(key);
    if (it == sprites_.end()) {
        if (sprites_.size() >= kMaxSprites) sprites_.clear();
        // A margin around the box: the selection brackets reach one pixel out.
        QImage sprite(kSymbolSize + 4, kSymbolSize + 4, QImage::Format_ARGB32_Premultiplied);
        sprite.fill(Qt::transparent);
        QPainter p(&sprite);
        QtChartCanvas spriteCanvas(p, palette_);
        DrawShipSymbol(spriteCanvas, symbol, {2, 2});
        p.end();
        it = sprites_.emplace(key, std::move(sprite)).first;
    }
    painter_->drawImage(origin.x - 2, origin.y - 2, it->second);
}

}  // namespace norq::chart
