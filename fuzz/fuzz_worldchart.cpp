// Fuzzes the world-chart reader: any bytes as a world-chart file, visited over
// the whole world and over a view taken from the input, every polygon shifted.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "chart/WorldChart.h"

namespace {

class Toucher final : public norq::chart::WorldChartVisitor {
  public:
    explicit Toucher(double units) : units_(units) {}
    void landCell(int, int, double n, double s, double w, double e) override {
        sum_ += n + s + w + e;
    }
    void polygon(int, int, const norq::chart::ChartPolygon& p) override {
        if (out_.size() < static_cast<std::size_t>(p.size()) + 1) out_.resize(p.size() + 1);
        const int n = norq::chart::ShiftPolygon(p, units_, -0.003, 0.0056374, out_);
        for (int i = 0; i < n; ++i)
            sum_ += out_[static_cast<std::size_t>(i)].moveTo ? 1 : 0;
    }
    double sum() const { return sum_; }

  private:
    double units_;
    std::vector<norq::chart::OutlinePoint> out_;
    double sum_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    norq::chart::WorldChartReader reader;
    if (!reader.openBytes(std::span<const std::uint8_t>(data, size))) return 0;
    Toucher toucher(reader.unitsPerDegree());
    reader.visit(reader.cellRange(90, -90, -180, 180), toucher);
    if (size >= 32 + 36) {
        double v[4];
        std::memcpy(v, data + size - 32, sizeof v);
        reader.visit(reader.cellRange(v[0], v[1], v[2], v[3]), toucher);
    }
    return toucher.sum() == -1.0 ? 1 : 0;
}
