// Seeded generator of random AIS messages 1-27 as !AIVDM sentences, for the
// differential test against gpsdecode and for benchmark input. Deterministic
// for a seed on every platform (its own random numbers, no std distributions).
//
// Messages are built bit by bit from the decoder's own layout rows, each field
// with a random value typical of its kind: not-available values, negative
// positions, headings above 359, names of random length padded with '@',
// binary data and texts of random length (so fill bits of 0-5 occur), and
// payloads split over several sentences. Lengths stay within what gpsd
// accepts for each message type.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ais/AisBitBuffer.h"
#include "ais/AisEncoder.h"
#include "ais/AisLayout.h"

namespace norq::tools {

class AisTestGenerator {
  public:
    explicit AisTestGenerator(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}

    std::uint64_t next() {
        // splitmix64
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::uint32_t below(std::uint32_t n) {
        return n == 0 ? 0 : static_cast<std::uint32_t>(next() % n);
    }
    std::int64_t between(std::int64_t lo, std::int64_t hi) {
        return lo + static_cast<std::int64_t>(next() % static_cast<std::uint64_t>(hi - lo + 1));
    }
    bool chance(unsigned percent) { return below(100) < percent; }

    // The bits of one random message of `type` (1-27).
    ais::AisBitBuffer makeBits(int type) {
        ais::AisBitBuffer bits{};
        pos_ = 0;
        bits_ = &bits;
        put(6, static_cast<std::uint32_t>(type));
        put(2, below(4));
        put(30, mmsi(type));
        switch (type) {
            case 6:
                return binary(ais::AisLayoutId::AddressedBinary, 88, 1008);
            case 8:
                return binary(ais::AisLayoutId::BinaryBroadcast, 56, 1008);
            case 7:
            case 13:
                return fixed(ais::AisLayoutId::Acknowledge, 72 + 32 * below(4));
            case 12:
                return text(ais::AisLayoutId::AddressedSafety, 72, 150);
            case 14:
                return text(ais::AisLayoutId::SafetyBroadcast, 40, 150);
            case 15:
                return fixed(ais::AisLayoutId::Interrogation, kInterrogationBits[below(3)]);
            case 16:
                return fixed(ais::AisLayoutId::AssignmentCommand, chance(50) ? 96 : 144);
            case 17:
                return dgnss();
            case 20:
                return fixed(ais::AisLayoutId::DataLinkManagement, 72 + 30 * below(4));
            case 21:
                return aton();
            case 24:
                return staticData();
            case 25:
            case 26:
                return slotBinary(type);
            default:
                break;
        }
        const ais::AisLayoutId id = LayoutOfType(type);
        return fixed(id, EndOf(ais::AisLayoutFor(id)));
    }

    // Appends the !AIVDM sentences of a message (one to several, fill bits on the last).
    void toSentences(const ais::AisBitBuffer& bits, std::vector<std::string>& out) {
        const ais::ArmouredPayload a = ais::ArmourPayload(bits);
        const std::string_view text = a.view();
        const std::size_t chunk = chance(50) ? 60 : 20 + below(41);
        const std::size_t total = text.empty() ? 1 : (text.size() + chunk - 1) / chunk;
        const char channel = chance(50) ? 'A' : 'B';
        std::string seq;
        if (total > 1) {
            seq = std::to_string(sequenceId_);
            sequenceId_ = (sequenceId_ + 1) % 10;
        }
        for (std::size_t k = 0; k < total; ++k) {
            const std::string_view part = text.substr(k * chunk, chunk);
            const int fill = k + 1 == total ? a.fillBits : 0;
            std::string body = "AIVDM," + std::to_string(total) + "," + std::to_string(k + 1) +
                               "," + seq + "," + channel + "," + std::string(part) + "," +
                               std::to_string(fill);
            unsigned sum = 0;
            for (char c : body)
                sum ^= static_cast<unsigned char>(c);
            char tail[8];
            std::snprintf(tail, sizeof tail, "*%02X", sum);
            out.push_back("!" + body + tail);
        }
    }

  private:
    static constexpr unsigned kInterrogationBits[3] = {88, 112, 160};

    static ais::AisLayoutId LayoutOfType(int type) {
        ais::AisMessage m{};
        m.messageId = static_cast<std::uint8_t>(type);
        return ais::AisLayoutOf(m);
    }

    static unsigned EndOf(const ais::AisLayout& layout) {
        const ais::AisField& last = layout.fields.back();
        return static_cast<unsigned>(last.start + last.width);
    }

    void put(unsigned width, std::uint32_t value) {
        ais::WriteBits(*bits_, pos_, width, value);
        pos_ += width;
    }

    std::uint32_t mmsi(int type) {
        const unsigned pick = below(10);
        if (type == 4 && pick < 5) return static_cast<std::uint32_t>(between(2000000, 7999999));
        if (type == 24 && pick < 2)
            return static_cast<std::uint32_t>(between(980000000, 989999999));
        if (pick == 0) return static_cast<std::uint32_t>(between(970000000, 974999999));
        if (pick == 1) return below(1u << 30);
        return static_cast<std::uint32_t>(between(200000000, 799999999));
    }

    // A random raw value for one row, typical of its kind.
    std::uint32_t rawFor(const ais::AisField& f) {
        using K = ais::AisFieldKind;
        const unsigned w = static_cast<unsigned>(f.width);
        const std::uint32_t ones = w >= 32 ? 0xFFFFFFFFu : (1u << w) - 1;
        switch (f.kind) {
            case K::Longitude:
            case K::Latitude: {
                const double limit = f.kind == K::Longitude ? 180.0 : 90.0;
                const auto unit = static_cast<std::int64_t>(60.0 / f.scale + 0.5);
                if (chance(10)) return static_cast<std::uint32_t>((limit + 1) * unit);
                const auto span = static_cast<std::int64_t>(limit) * unit;
                return static_cast<std::uint32_t>(between(-span, span)) & ones;
            }
            case K::Scaled:
            case K::Speed:
            case K::Course:
                if (chance(10)) return f.kind == K::Course ? 3600 : ones;  // not available
                if (f.kind == K::Course && chance(5))
                    return static_cast<std::uint32_t>(between(3601, 4095));
                return below(f.kind == K::Course ? 3600 : ones + 1);
            case K::Heading:
                if (chance(10)) return 511;
                if (chance(5)) return static_cast<std::uint32_t>(between(360, 510));
                return below(360);
            case K::RateOfTurn: {
                static constexpr std::uint32_t kEdges[] = {0x80, 0x81, 0x7F, 0, 0x7E, 0x82};
                return chance(30) ? kEdges[below(6)] : below(256);
            }
            default:
                if (chance(5)) return ones;
                return static_cast<std::uint32_t>(next()) & ones;
        }
    }

    // Characters of a name: letters, digits, space and punctuation, never '@'.
    std::uint32_t sixBitChar() { return 1 + below(63); }

    void fixedText(unsigned chars) {
        const unsigned used = below(chars + 1);
        for (unsigned i = 0; i < chars; ++i) {
            const bool trailingSpace = i >= used && i < used + 2 && chance(20);
            put(6, i < used ? sixBitChar() : trailingSpace ? 32 : 0);
        }
    }

    // Writes every row from the current position up to bit `end`.
    void rows(ais::AisLayoutId id, unsigned end) {
        using K = ais::AisFieldKind;
        for (const ais::AisField& f : ais::AisLayoutFor(id).fields) {
            // Rows already written, and rows that do not fit whole, are left zero.
            if (f.start < static_cast<int>(pos_) || f.start + f.width > static_cast<int>(end)) {
                continue;
            }
            pos_ = static_cast<std::size_t>(f.start);
            if (f.kind == K::FixedText) {
                fixedText(static_cast<unsigned>(f.width) / 6);
            } else if (f.width > 0) {
                put(static_cast<unsigned>(f.width), rawFor(f));
            }
        }
    }

    // Bits past the last whole field of a short variant stay zero.
    ais::AisBitBuffer fixed(ais::AisLayoutId id, unsigned total) {
        rows(id, total);
        return finish(total);
    }

    ais::AisBitBuffer finish(unsigned total) {
        bits_->bitCount = static_cast<std::uint16_t>(total);
        return *bits_;
    }

    void randomBits(unsigned count) {
        while (count > 0) {
            const unsigned w = count < 32 ? count : 32;
            put(w, static_cast<std::uint32_t>(next()));
            count -= w;
        }
    }

    // DAC and FI of an application gpsd does not decode into fields.
    void applicationId() {
        std::uint32_t dac = 0;
        do {
            dac = 2 + below(1022);
        } while (dac == 200 || dac == 235 || dac == 250);
        put(10, dac);
        put(6, below(64));
    }

    ais::AisBitBuffer binary(ais::AisLayoutId id, unsigned minBits, unsigned maxBits) {
        rows(id, minBits - 16);
        applicationId();
        const unsigned total = static_cast<unsigned>(between(minBits, lengthLimit(maxBits)));
        randomBits(total - pos_);
        return finish(total);
    }

    unsigned lengthLimit(unsigned maxBits) {
        // Mostly one or two sentences; now and then up to the largest length.
        const unsigned cap = chance(80) ? 360 : maxBits;
        return cap < maxBits ? cap : maxBits;
    }

    ais::AisBitBuffer text(ais::AisLayoutId id, unsigned start, unsigned maxChars) {
        rows(id, start);
        const unsigned chars = below(chance(80) ? 40 : maxChars + 1);
        const unsigned used = chars == 0 ? 0 : below(chars + 1);
        for (unsigned i = 0; i < chars; ++i)
            put(6, i < used ? sixBitChar() : 0);
        return finish(start + 6 * chars);
    }

    ais::AisBitBuffer dgnss() {
        rows(ais::AisLayoutId::Dgnss, 120);
        const unsigned words = below(10);
        randomBits(24 * words);
        return finish(120 + 24 * words);
    }

    ais::AisBitBuffer aton() {
        rows(ais::AisLayoutId::AidToNavigation, 272);
        const unsigned chars = chance(50) ? 0 : below(15);
        for (unsigned i = 0; i < chars; ++i)
            put(6, sixBitChar());
        return finish(272 + 6 * chars);
    }

    ais::AisBitBuffer staticData() {
        const bool partB = chance(50);
        put(2, partB ? 1 : 0);
        if (!partB) {
            fixedText(20);
            return finish(chance(50) ? 160 : 168);
        }
        return fixed(ais::AisLayoutId::StaticDataB, 168);
    }

    ais::AisBitBuffer slotBinary(int type) {
        const bool addressed = chance(50);
        const bool structured = chance(50);
        put(1, addressed ? 1 : 0);
        put(1, structured ? 1 : 0);
        if (addressed) put(30, mmsi(type));
        if (structured) put(16, below(1u << 16));
        const unsigned radio = type == 26 ? 20 : 0;
        const unsigned minBits = static_cast<unsigned>(pos_) + radio;
        const unsigned maxBits = type == 25 ? 168 : lengthLimit(1004);
        const unsigned total = static_cast<unsigned>(between(minBits, maxBits));
        randomBits(total - pos_);
        return finish(total);
    }

    std::uint64_t state_;
    ais::AisBitBuffer* bits_ = nullptr;
    std::size_t pos_ = 0;
    int sequenceId_ = 0;
};

}  // namespace norq::tools
