#include "ais/BbmSender.h"

#include <algorithm>
#include <cstring>

namespace norq::ais {

namespace {

char ArmourCharacter(int value) {
    return static_cast<char>(value < 40 ? value + 48 : value + 56);
}

// The 6-bit value of a text character: '@'..'_' are 0-31, ' '..'?' 32-63.
int SixBitValue(unsigned char c) {
    if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
    if (c >= 64 && c <= 95) return c - 64;
    if (c >= 32 && c <= 63) return c;
    return '?';
}

}  // namespace

int BinaryBbmSender::SendBinaryBbm(const ArmouredPayload& payload, int channel) {
    const std::string_view chars = payload.view();
    const std::size_t n = chars.size();
    if (n == 0 || n > kMaxBbmPayload) return 0;
    const std::size_t per = kMaxBbmSentencePayload;
    const int total = static_cast<int>((n + per - 1) / per);
    const int s = sequentialId_;
    sequentialId_ = (sequentialId_ + 1) % 10;
    std::size_t at = 0;
    int sent = 0;
    for (int k = 1; k <= total; ++k) {
        const std::size_t take = std::min(per, n - at);
        codec::Encapsulated& bbm = codec_.transponder().bbm;
        bbm = codec::Encapsulated{};
        bbm.total = total;
        bbm.number = k;
        bbm.sequentialId = s;
        bbm.channel = channel;
        bbm.messageId = 8;
        bbm.fillBits = k == total ? payload.fillBits : 0;
        std::memcpy(bbm.payload, chars.data() + at, take);
        bbm.payload[take] = '\0';
        at += take;
        sent += sender_.SendSentence(kAisSensor, "AI", "BBM") ? 1 : 0;
    }
    return sent;
}

bool ComposeSafetyBbm(std::string_view text, int sequentialId, codec::SentenceText& out) {
    codec::SentenceRecord r;
    r.start = '!';
    std::memcpy(r.talker, "AI", 2);
    std::memcpy(r.formatter, "BBM", 3);
    codec::Encapsulated bbm;
    bbm.total = 1;
    bbm.number = 1;
    bbm.sequentialId = sequentialId;
    bbm.channel = 0;
    bbm.messageId = 14;
    bbm.fillBits = 0;
    const std::size_t n = std::min(text.size(), kMaxSafetyBbmText);
    for (std::size_t i = 0; i < n; ++i) {
        bbm.payload[i] = ArmourCharacter(SixBitValue(static_cast<unsigned char>(text[i])));
    }
    bbm.payload[n] = '\0';
    r.body = bbm;
    return codec::ComposeSentence(r, out);
}

}  // namespace norq::ais
