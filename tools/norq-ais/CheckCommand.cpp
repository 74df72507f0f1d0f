// norq-ais check: how many lines of each formatter the codec accepts and why
// it rejects the others.
#include <array>
#include <cctype>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "Commands.h"
#include "HealthCommand.h"
#include "LineReader.h"
#include "ais/AisDecoder.h"
#include "ais/SentenceIntake.h"
#include "comm/LinkSource.h"

namespace norq::tool {

namespace {

using codec::ParseStatus;

constexpr std::array kReasons = {ParseStatus::Framing, ParseStatus::Checksum,
                                 ParseStatus::Length,  ParseStatus::UnknownFormatter,
                                 ParseStatus::Commas,  ParseStatus::Range};

struct Counts {
    long accepted = 0;
    std::array<long, 7> rejected{};  // by ParseStatus
};

bool Alnum3(std::string_view s) {
    if (s.size() < 3) return false;
    for (int i = 0; i < 3; ++i) {
        if (!std::isalnum(static_cast<unsigned char>(s[i]))) return false;
    }
    return true;
}

// The formatter a line names, as far as it can be read, for grouping.
std::string FormatterOf(std::string_view line) {
    const std::size_t start = line.find_first_of("$!");
    if (start == std::string_view::npos) return "(none)";
    const std::string_view t = line.substr(start);
    if (t.starts_with("$PKRV,") && t.size() > 11 && Alnum3(t.substr(8))) {
        return std::string(t.substr(8, 3));
    }
    if (t.size() > 5 && t[1] == 'P' && Alnum3(t.substr(2))) return std::string(t.substr(2, 3));
    if (t.size() > 6 && t[5] == 'Q') return "Q";
    if (t.size() > 6 && Alnum3(t.substr(3))) return std::string(t.substr(3, 3));
    return "(none)";
}

// Counts the joined AIS messages that decode and those that do not (an
// undefined message 24 part, a message cut before its position, ...).
struct DecodeCounter final : ais::AisMessageHandler {
    long decoded = 0;
    long undecodable = 0;
    ais::AisMessage message{};
    int targetCount() const override { return 1; }
    bool onAisPayload(const ais::AisPayload& p) override {
        const bool ok = ais::DecodeAisPayload(p.payload, p.fillBits, message);
        ++(ok ? decoded : undecodable);
        return ok;
    }
    void clearDecodedMessage() override {}
    void UpdateAfterAisMessage(int) override {}
};

}  // namespace

int RunCheck(Args given) {
    // --health adds the source's health figures after the table.
    std::vector<std::string_view> args;
    bool health = false;
    for (std::string_view a : given) {
        if (a == "--health") {
            health = true;
        } else {
            args.push_back(a);
        }
    }
    std::FILE* in = OpenInput(args, 0);
    if (in == nullptr) return 1;
    HealthMeter meter(!args.empty() && comm::IsLinkSource(args[0]));
    codec::SentenceCodec codec;
    DecodeCounter messages;
    ais::SentenceIntake intake(codec, {&messages});
    std::map<std::string, Counts> byFormatter;
    LineReader reader(in);
    std::string line;
    while (reader.next(line)) {
        if (line == "\r\n") continue;
        const std::uint64_t lostBefore = intake.assembly().droppedFragments();
        intake.ReceiveLine(line, false);
        meter.take(intake, line, lostBefore);
        Counts& c = byFormatter[FormatterOf(line)];
        if (intake.lastStatus() == ParseStatus::Ok) {
            ++c.accepted;
        } else {
            ++c.rejected[static_cast<int>(intake.lastStatus())];
        }
    }
    CloseInput(in);

    std::printf("%-9s %9s %9s", "formatter", "accepted", "rejected");
    for (ParseStatus r : kReasons)
        std::printf(" %9s", codec::ParseStatusName(r));
    std::printf("\n");
    Counts total;
    for (const auto& [name, c] : byFormatter) {
        long rejected = 0;
        for (ParseStatus r : kReasons)
            rejected += c.rejected[static_cast<int>(r)];
        std::printf("%-9s %9ld %9ld", name.c_str(), c.accepted, rejected);
        for (ParseStatus r : kReasons)
            std::printf(" %9ld", c.rejected[static_cast<int>(r)]);
        std::printf("\n");
        total.accepted += c.accepted;
        for (std::size_t i = 0; i < c.rejected.size(); ++i)
            total.rejected[i] += c.rejected[i];
    }
    long rejected = 0;
    for (ParseStatus r : kReasons)
        rejected += total.rejected[static_cast<int>(r)];
    std::printf("%-9s %9ld %9ld", "total", total.accepted, rejected);
    for (ParseStatus r : kReasons)
        std::printf(" %9ld", total.rejected[static_cast<int>(r)]);
    std::printf("\n");
    std::printf("ais messages %ld decoded, %ld undecodable\n", messages.decoded,
                messages.undecodable);
    if (health) {
        std::printf("\n");
        meter.print(stdout);
    }
    return 0;
}

}  // namespace norq::tool
