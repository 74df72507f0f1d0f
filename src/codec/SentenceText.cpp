#include "codec/SentenceText.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace norq::codec {

void SentenceText::append(std::string_view text) {
    if (length_ + text.size() >= kSentenceTextCapacity) {
        overflow_ = true;
        return;
    }
    std::memcpy(data_ + length_, text.data(), text.size());
    length_ += text.size();
    data_[length_] = '\0';
}

void SentenceText::appendf(const char* format, ...) {
    const std::size_t room = kSentenceTextCapacity - length_;
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(data_ + length_, room, format, args);
    va_end(args);
    if (n < 0 || static_cast<std::size_t>(n) >= room) {
        overflow_ = true;
        data_[length_] = '\0';
        return;
    }
    length_ += static_cast<std::size_t>(n);
}

}  // namespace norq::codec
