#include "comm/LineAssembler.h"

namespace norq::comm {

void LineAssembler::append(std::string_view bytes, Sink& sink) {
    for (const char c : bytes) {
        if (c == '\n') {
            finish(sink);
        } else if (c != '\r' && c != '\0') {
            if (length_ < kCapacity) line_[length_] = c;
            // Past the capacity only the length grows: the line is too long
            // to be handed over, and the log shows its first kCapacity bytes.
            ++length_;
        }
    }
}

void LineAssembler::endLine(Sink& sink) {
    if (length_ > 0) finish(sink);
}

void LineAssembler::finish(Sink& sink) {
    const std::size_t kept = length_ < kCapacity ? length_ : kCapacity;
    sink.onLineEnded(std::string_view(line_.data(), kept), origin_);
    if (length_ < kHandOverLimit) {
        line_[length_] = '\r';
        line_[length_ + 1] = '\n';
        sink.onSentenceLine(std::string_view(line_.data(), length_ + 2), origin_);
    }
    length_ = 0;
}

}  // namespace norq::comm
