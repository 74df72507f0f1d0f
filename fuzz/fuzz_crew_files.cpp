// Arbitrary bytes as the crew files and the controller's sentences:
// - AIS_MOB_List.csv, buddy.csv, MOB.csv and MOB_Event.csv are read, written
//   back and read again; the second reading must give the same file (what
//   the viewer writes, it reads back unchanged);
// - every line, as a MOB sentence, goes through the codec into the crew watch,
//   and the crew timer runs after it: nothing may break the table's bounds.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "ais/Clock.h"
#include "ais/TargetTable.h"
#include "codec/SentenceCodec.h"
#include "crew/AisMobList.h"
#include "crew/CrewDeviceFile.h"
#include "crew/CrewEventLog.h"
#include "crew/CrewWatch.h"
#include "messaging/ShipMarks.h"

namespace {

void CheckCrewFiles(std::string_view text) {
    norq::crew::ManualCrewClock clock;
    auto table = std::make_unique<norq::crew::CrewDeviceTable>(clock);
    norq::crew::CareSlots care;
    norq::crew::ParseCrewDeviceFile(text, *table, care);
    const std::string devices = norq::crew::CrewDeviceFileText(*table, care);
    norq::crew::ParseCrewDeviceFile(devices, *table, care);
    if (norq::crew::CrewDeviceFileText(*table, care) != devices) __builtin_trap();

    auto log = std::make_unique<norq::crew::CrewEventLog>();
    log->ParseFile(text, *table);
    const std::string events = log->FileText();
    log->ParseFile(events, *table);
    if (log->FileText() != events) __builtin_trap();
}

void FeedController(std::string_view text) {
    norq::crew::ManualCrewClock clock;
    auto watch = std::make_unique<norq::crew::CrewWatch>(clock);
    norq::crew::ForEachLine(text, [&](std::string_view line) {
        const std::string crlf = std::string(line) + "\r\n";
        norq::codec::SentenceRecord r;
        if (norq::codec::ParseSentence(crlf, r) != norq::codec::ParseStatus::Ok) return;
        const norq::codec::Mob* m = r.as<norq::codec::Mob>();
        if (m == nullptr) return;
        watch->OnMobSentence(*m, 5.3, 60.4);
        clock.advance(4);
        watch->TimerMOBTick({});
        if (watch->alarms().count() > watch->table().count()) __builtin_trap();
    });
}

}  // namespace

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

    CheckCrewFiles(text);
    FeedController(text);
    return 0;
}
