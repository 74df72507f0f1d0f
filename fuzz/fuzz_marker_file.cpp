// Arbitrary bytes as Markers.csv: read, written back and read again; the second
// reading must give the same file (what the viewer writes, it reads back
// unchanged), and no marker may lie off the globe or beyond the 200 places.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "nav/Markmanage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto list = std::make_unique<norq::nav::MarkerList>();
    list->ParseFile(text);
    if (list->count() < 0 || list->count() > norq::nav::kMaxMarkers) __builtin_trap();
    for (int i = 0; i < list->count(); ++i) {
        const norq::nav::MarkerRecord& m = list->at(i);
        if (!(std::fabs(m.latitude) <= 90.0f && std::fabs(m.longitude) <= 180.0f)) __builtin_trap();
        if (m.nameText().size() > static_cast<std::size_t>(norq::nav::kMarkerNameLength))
            __builtin_trap();
    }
    const std::string written = list->FileText();
    list->ParseFile(written);
    if (list->FileText() != written) __builtin_trap();
    return 0;
}
