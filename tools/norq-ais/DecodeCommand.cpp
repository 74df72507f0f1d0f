// norq-ais decode [FILE|-]: every decoded AIS message as one JSON object per
// line, in input order (schema: docs/decode-json.md).
#include <array>
#include <cstdio>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "Commands.h"
#include "ais/AisDecoder.h"
#include "ais/AisJson.h"
#include "ais/AisMessage.h"

namespace norq::tool {
namespace {

// A complete VDM/VDO payload and the fill-bit count of its last sentence.
struct AisPayloadAssembly {
    std::array<char, 176> payload{};  // at most 175 characters
    std::size_t length = 0;
    int fillBits = 0;
    int total = 0;  // fragments of the message being joined; 0 when none
    int last = 0;   // number of the last fragment joined
    char sequenceId = '\0';
};

int Digit(char c) {
    return c >= '0' && c <= '9' ? c - '0' : -1;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Stand-in for the sentence intake until it serves this tool: takes one line,
// checks its framing and checksum, and joins consecutive fragments of a
// VDM/VDO message. Returns true when `a` holds a complete payload.
bool TakeAisLine(std::string_view line, AisPayloadAssembly& a) {
    if (!line.empty() && line.front() == '\\') {  // tag block
        const std::size_t end = line.find('\\', 1);
        if (end == std::string_view::npos) return false;
        line.remove_prefix(end + 1);
    }
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n' || line.back() == ' ')) {
        line.remove_suffix(1);
    }
    const std::size_t star = line.rfind('*');
    if (line.size() < 7 || line.front() != '!' || star == std::string_view::npos ||
        star + 3 != line.size()) {
        return false;
    }
    unsigned sum = 0;
    for (std::size_t i = 1; i < star; ++i)
        sum ^= static_cast<unsigned char>(line[i]);
    const int hi = HexDigit(line[star + 1]), lo = HexDigit(line[star + 2]);
    if (hi < 0 || lo < 0 || sum != static_cast<unsigned>(hi * 16 + lo)) return false;

    std::array<std::string_view, 7> f{};
    std::string_view rest = line.substr(1, star - 1);
    for (std::size_t i = 0; i < f.size(); ++i) {
        const std::size_t comma = rest.find(',');
        if ((comma == std::string_view::npos) != (i + 1 == f.size())) return false;
        f[i] = rest.substr(0, comma);
        if (comma != std::string_view::npos) rest.remove_prefix(comma + 1);
    }
    const std::string_view formatter = f[0].size() == 5 ? f[0].substr(2) : std::string_view{};
    const int total = f[1].size() == 1 ? Digit(f[1][0]) : -1;
    const int number = f[2].size() == 1 ? Digit(f[2][0]) : -1;
    const int fill = f[6].size() == 1 ? Digit(f[6][0]) : -1;
    const char sequenceId = f[3].size() == 1 ? f[3][0] : '\0';
    if ((formatter != "VDM" && formatter != "VDO") || total < 1 || number < 1 || number > total ||
        fill < 0 || fill > 5 || f[3].size() > 1) {
        return false;
    }
    if (number == 1) {
        a.length = 0;
        a.total = total;
        a.sequenceId = sequenceId;
    } else if (a.total != total || a.last + 1 != number || a.sequenceId != sequenceId) {
        a.total = 0;  // out of order or foreign: the message is dropped
        return false;
    }
    const std::string_view part = f[5];
    if (a.length + part.size() >= a.payload.size()) {
        a.total = 0;
        return false;
    }
    std::memcpy(a.payload.data() + a.length, part.data(), part.size());
    a.length += part.size();
    a.last = number;
    a.fillBits = fill;
    if (number != total) return false;
    a.total = 0;
    return true;
}

// Collects output lines and writes them in large blocks.
class OutputBuffer {
  public:
    ~OutputBuffer() { flush(); }
    std::span<char> space() {
        if (buffer_.size() - used_ < ais::kAisJsonMaxLength) flush();
        return {buffer_.data() + used_, buffer_.size() - used_};
    }
    void commit(std::size_t n) { used_ += n; }
    void flush() {
        if (used_ > 0) std::fwrite(buffer_.data(), 1, used_, stdout);
        used_ = 0;
    }

  private:
    std::vector<char> buffer_ = std::vector<char>(1 << 18);
    std::size_t used_ = 0;
};

// The decode path proper: one complete payload to one JSON line.
void DecodeToJson(std::string_view payload, int fillBits, ais::AisMessage& message,
                  OutputBuffer& out) {
    if (!ais::DecodeAisPayload(payload, fillBits, message)) return;
    out.commit(ais::WriteAisJson(message, out.space()));
}

}  // namespace

int RunDecode(Args args) {
    std::FILE* in = OpenInput(args, 0);
    if (in == nullptr) return 1;
    constexpr std::size_t kMaxLine = 1024;  // longer lines cannot be sentences
    std::vector<char> buffer(1 << 20);
    std::size_t kept = 0;   // bytes of an unfinished line at the buffer's start
    bool skipping = false;  // inside an over-long line, dropped up to its end
    AisPayloadAssembly assembly;
    ais::AisMessage message{};
    OutputBuffer out;
    auto takeLine = [&](std::string_view line) {
        if (TakeAisLine(line, assembly)) {
            DecodeToJson({assembly.payload.data(), assembly.length}, assembly.fillBits, message,
                         out);
        }
    };
    for (;;) {
        const std::size_t got = std::fread(buffer.data() + kept, 1, buffer.size() - kept, in);
        const std::size_t end = kept + got;
        std::size_t start = 0;
        while (const void* nl = std::memchr(buffer.data() + start, '\n', end - start)) {
            const auto stop =
                static_cast<std::size_t>(static_cast<const char*>(nl) - buffer.data());
            if (!skipping) takeLine({buffer.data() + start, stop - start});
            skipping = false;
            start = stop + 1;
        }
        kept = end - start;
        if (got == 0) {
            if (kept > 0 && !skipping) takeLine({buffer.data() + start, kept});
            break;
        }
        if (kept > kMaxLine) {
            kept = 0;
            skipping = true;
        }
        std::memmove(buffer.data(), buffer.data() + start, kept);
    }
    out.flush();
    CloseInput(in);
    return 0;
}

}  // namespace norq::tool
