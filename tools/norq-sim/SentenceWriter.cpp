#include "SentenceWriter.h"

#include <cstdio>

#include "codec/SentenceCodec.h"

namespace norq::sim {

std::string WithChecksum(std::string_view body) {
    unsigned x = 0;
    for (std::size_t i = 1; i < body.size(); ++i)
        x ^= static_cast<unsigned char>(body[i]);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", x & 0xFF);
    return std::string(body) + tail;
}

bool SentenceWriter::write(const ais::AisMessage& message, std::string_view formatter, int channel,
                           std::vector<std::string>& lines) {
    ArmouredText payload;
    if (!EncodeAisPayload(message, payload)) return false;
    writePayload(payload, formatter, channel, lines);
    return true;
}

void SentenceWriter::writePayload(const ArmouredText& payload, std::string_view formatter,
                                  int channel, std::vector<std::string>& lines) {
    const int length = static_cast<int>(payload.chars.size());
    const int total = length == 0 ? 1 : (length + kFragmentChars - 1) / kFragmentChars;
    if (total > 9) return;
    const int sequence = total > 1 ? sequence_ : codec::kEmptyByte;
    if (total > 1) sequence_ = (sequence_ + 1) % 10;
    std::vector<std::string> tail;
    for (int k = 0; k < total; ++k) {
        codec::SentenceRecord record;
        record.start = '!';
        record.talker[0] = 'A';
        record.talker[1] = 'I';
        for (std::size_t i = 0; i < 3 && i < formatter.size(); ++i)
            record.formatter[i] = formatter[i];
        codec::Encapsulated e;
        e.total = total;
        e.number = k + 1;
        e.sequentialId = sequence;
        e.channel = channel == kNoChannel ? codec::kEmptyByte : channel;
        const std::string piece =
            payload.chars.substr(static_cast<std::size_t>(k * kFragmentChars), kFragmentChars);
        std::snprintf(e.payload, sizeof e.payload, "%s", piece.c_str());
        e.fillBits = k + 1 == total ? payload.fillBits : 0;
        record.body = e;
        codec::SentenceText text;
        if (!codec::ComposeSentence(record, text)) return;
        (k == 0 ? lines : tail).emplace_back(text.view());
    }
    // The fragments held back from the previous message follow this one's first.
    for (std::string& p : pending_)
        lines.push_back(std::move(p));
    pending_.clear();
    for (std::string& t : tail)
        (interleave_ ? pending_ : lines).push_back(std::move(t));
}

void SentenceWriter::flush(std::vector<std::string>& lines) {
    for (std::string& p : pending_)
        lines.push_back(std::move(p));
    pending_.clear();
}

}  // namespace norq::sim
