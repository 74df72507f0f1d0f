#include "codec/ProductInfoBlock.h"

#include "codec/Fields.h"

namespace norq::codec {

namespace {

constexpr std::string_view kTxtPrefix = "$PKRV,R,TXT,";

// The text of a "$PKRV,R,TXT,<text>*hh" line whose checksum is right.
bool BlockText(std::string_view text, std::string_view& out) {
    const std::size_t start = text.find(kTxtPrefix);
    if (start == std::string_view::npos) return false;
    const std::size_t star = text.find('*', start);
    if (star == std::string_view::npos || star + 2 >= text.size()) return false;
    const int hi = HexValue(text[star + 1]);
    const int lo = HexValue(text[star + 2]);
    if (hi < 0 || lo < 0) return false;
    unsigned sum = 0;
    for (std::size_t i = start + 1; i < star; ++i)
        sum ^= static_cast<unsigned char>(text[i]);
    if (sum != static_cast<unsigned>(hi * 16 + lo)) return false;
    out = text.substr(start + kTxtPrefix.size(), star - start - kTxtPrefix.size());
    return true;
}

template <std::size_t N>
void CopyValueAfter(std::string_view line, std::string_view key, std::array<char, N>& out) {
    const std::size_t at = line.find(key);
    if (at == std::string_view::npos) return;
    std::string_view value = line.substr(at + key.size());
    while (!value.empty() &&
           (value.back() == ' ' || value.back() == '\r' || value.back() == '\n')) {
        value.remove_suffix(1);
    }
    CopyText(value, out);
}

}  // namespace

ProductInfoBlock::Result ProductInfoBlock::offer(std::string_view text) {
    std::string_view body;
    if (!BlockText(text, body)) return Result::Ignored;
    if (body.starts_with("PROD. INFO. BEGIN")) {
        reset();
        collecting_ = true;
        return Result::Collecting;
    }
    if (!collecting_) return Result::Ignored;
    if (body.starts_with("PROD. INFO. END")) {
        collecting_ = false;
        extractValues();
        return Result::Complete;
    }
    CopyText(body, lines_[count_]);
    ++count_;
    if (count_ >= kMaxLines) {
        reset();
        return Result::Failed;
    }
    return Result::Collecting;
}

void ProductInfoBlock::reset() {
    collecting_ = false;
    count_ = 0;
    model_[0] = serial_[0] = firmware_[0] = baudRate_[0] = '\0';
}

std::string_view ProductInfoBlock::line(int i) const {
    if (i < 0 || i >= count_) return {};
    return lines_[i].data();
}

void ProductInfoBlock::extractValues() {
    for (int i = 0; i < count_; ++i) {
        const std::string_view l = lines_[i].data();
        CopyValueAfter(l, "MODEL NO.=", model_);
        CopyValueAfter(l, "SERIAL NO.=", serial_);
        CopyValueAfter(l, "FIRMWARE=", firmware_);
        CopyValueAfter(l, "BAUD RATE=", baudRate_);
    }
}

}  // namespace norq::codec
