// Feeds arbitrary bytes, cut into lines, through the whole intake with the
// target table, the own ship and the decoder attached. The clock advances
// with the input so that ageing and eviction run too.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "ais/RunState.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One state for the whole run (it is large); each input starts from an
    // empty table.
    static norq::ais::ManualClock clock;
    static auto state = std::make_unique<norq::ais::RunState>(clock);
    state->tracker.ClearTargets();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    while (start <= bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string line(bytes.substr(start, end - start));
        line += "\r\n";
        state->ReceiveLine(line, false);
        if (!line.empty()) clock.advance(static_cast<unsigned char>(line[0]) * 16);
        state->tracker.AgeTargets();
        state->ownShip.checkStaleness(true);
        start = end + 1;
    }
    return 0;
}
