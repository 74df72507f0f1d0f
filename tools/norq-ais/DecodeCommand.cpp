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
#include "ais/SentenceIntake.h"

namespace norq::tool {
namespace {

constexpr std::size_t kMaxLine = 1024;  // longer lines cannot be sentences

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

// The decode path proper: every complete payload the intake joins becomes
// one JSON line.
class JsonWriter final : public ais::AisMessageHandler {
  public:
    explicit JsonWriter(OutputBuffer& out) : out_(out) {}
    int targetCount() const override { return 1; }
    bool onAisPayload(const ais::AisPayload& p) override {
        if (!ais::DecodeAisPayload(p.payload, p.fillBits, message_)) return false;
        out_.commit(ais::WriteAisJson(message_, out_.space(), p.receiveTime));
        return true;
    }
    void clearDecodedMessage() override {}
    void UpdateAfterAisMessage(int) override {}

  private:
    OutputBuffer& out_;
    ais::AisMessage message_{};
};

// Forms a file line as the links do (CR and NUL dropped, CR LF appended) and
// hands it to the intake as a file line: the intake takes the sentence out of
// the tag blocks and station fields an archive adds around it.
void TakeLine(std::string_view line, ais::SentenceIntake& intake) {
    char formed[kMaxLine + 2];
    std::size_t n = 0;
    for (char c : line) {
        if (c == '\r' || c == '\0') continue;
        if (n >= kMaxLine) return;  // too long to be a sentence
        formed[n++] = c;
    }
    formed[n++] = '\r';
    formed[n++] = '\n';
    intake.ReceiveLine({formed, n}, false);
}

}  // namespace

int RunDecode(Args args) {
    std::FILE* in = OpenInput(args, 0);
    if (in == nullptr) return 1;
    std::vector<char> buffer(1 << 20);
    std::size_t kept = 0;   // bytes of an unfinished line at the buffer's start
    bool skipping = false;  // inside an over-long line, dropped up to its end
    OutputBuffer out;
    JsonWriter writer(out);
    codec::SentenceCodec codec;
    ais::SentenceIntake intake(codec, {&writer});
    auto takeLine = [&](std::string_view line) { TakeLine(line, intake); };
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
