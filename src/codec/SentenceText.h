// A fixed-capacity text for composing sentences; never allocates.
#pragma once

#include <cstddef>
#include <string_view>

namespace norq::codec {

inline constexpr std::size_t kSentenceTextCapacity = 256;

class SentenceText {
  public:
    void clear() {
        length_ = 0;
        overflow_ = false;
        data_[0] = '\0';
    }
    void append(std::string_view text);
    void append(char c) { append(std::string_view(&c, 1)); }
    // printf-style append; marks the text as overflowed when it does not fit.
    void appendf(const char* format, ...) __attribute__((format(printf, 2, 3)));

    std::string_view view() const { return {data_, length_}; }
    const char* c_str() const { return data_; }
    std::size_t size() const { return length_; }
    bool overflowed() const { return overflow_; }

  private:
    char data_[kSentenceTextCapacity] = {};
    std::size_t length_ = 0;
    bool overflow_ = false;
};

}  // namespace norq::codec
