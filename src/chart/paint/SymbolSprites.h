// Finished target symbols kept as small images and copied onto the frame: a
// repaint with hundreds of unchanged targets then costs a copy per symbol
// instead of a dozen drawing calls. The symbols are drawn with integer geometry
// and no antialiasing, so a copy is pixel for pixel what drawing would give.
#pragma once

#include <QImage>
#include <QPainter>
#include <cstdint>
#include <unordered_map>

#include "chart/ChartPalette.h"
#include "chart/ChartSymbols.h"

namespace norq::chart {

class SymbolSprites final : public SymbolDrawer {
  public:
    explicit SymbolSprites(const ChartPalette& palette) : palette_(palette) {}

    // The painter the copies go to (the frame's, already translated).
    void setPainter(QPainter* painter) { painter_ = painter; }
    // Forgets every sprite (after a scheme change).
    void clear() { sprites_.clear(); }
    std::size_t size() const { return sprites_.size(); }

    void draw(ChartCanvas& canvas, const ShipSymbol& symbol, PixelXY origin) override;

  private:
    struct Key {
        std::uint32_t flags;
        float heading;
        float course;
        float rotation;
        friend bool operator==(const Key&, const Key&) = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const;
    };
    static constexpr std::size_t kMaxSprites = 2048;

    const ChartPalette& palette_;
    QPainter* painter_ = nullptr;
    ColourScheme scheme_ = ColourScheme::DayBright;
    std::unordered_map<Key, QImage, KeyHash> sprites_;
};

}  // namespace norq::chart
