// Fuzzes the gazetteer reader: any bytes as a gazetteer file; every cell whose
// index entry the input holds is followed, and the labels of a view taken from
// the input are collected at a scale taken from the input and decluttered.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "chart/Gazetteer.h"
#include "chart/GazetteerLabels.h"

namespace {

class Toucher final : public norq::chart::GazetteerVisitor {
  public:
    bool record(const norq::chart::GazetteerRecord& r) override {
        for (int lang = 0; lang < 3; ++lang) {
            for (char ch : r.chosenName(lang))
                sum_ += static_cast<unsigned char>(ch);
        }
        return true;
    }
    unsigned long sum() const { return sum_; }

  private:
    unsigned long sum_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    norq::chart::GazetteerReader reader;
    if (!reader.openBytes(std::span<const std::uint8_t>(data, size))) return 0;
    Toucher toucher;
    const int columns = reader.gridColumns();
    if (columns > 0) {
        for (std::size_t k = 0; 128 + 4 * (k + 1) <= size; ++k) {
            reader.visitCell(static_cast<int>(k / columns), static_cast<int>(k % columns), toucher);
        }
    }
    if (size >= 128 + 33) {
        double v[4];
        std::memcpy(v, data + size - 33, sizeof v);
        const int scale = data[size - 1] % 15;
        norq::chart::GazetteerLabels labels;
        labels.collect(reader, v[0], v[1], v[2], v[3], scale, data[size - 1] % 3);
        labels.declutter(static_cast<float>(scale + 1));
    }
    return toucher.sum() == 1 ? 0 : 0;
}
