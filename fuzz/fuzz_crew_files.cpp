// Arbitrary bytes as AIS_MOB_List.csv and as buddy.csv: read, written back and
// read again; the second reading must give the same file (what the viewer
// writes, it reads back unchanged).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "ais/Clock.h"
#include "ais/TargetTable.h"
#include "crew/AisMobList.h"
#include "messaging/ShipMarks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    static norq::ais::ManualClock clock;
    static auto table = std::make_unique<norq::ais::TargetTable>();
    auto mob = std::make_unique<norq::crew::AisMobList>(clock, *table);
    mob->ParseFile(text);
    const std::string written = mob->FileText();
    mob->ParseFile(written);
    if (mob->FileText() != written) __builtin_trap();

    auto friends = std::make_unique<norq::messaging::FriendList>();
    friends->ParseFile(text);
    const std::string buddy = friends->FileText();
    friends->ParseFile(buddy);
    if (friends->FileText() != buddy) __builtin_trap();
    return 0;
}
