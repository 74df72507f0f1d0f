// Cuts received bytes into lines at LF. A line that grows past the limit is
// thrown away whole, so a peer that never sends LF cannot grow the buffer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace norq::sim {

class LineBuffer {
  public:
    static constexpr std::size_t kMaxLine = 256;

    void append(std::string_view bytes, std::vector<std::string>& lines) {
        for (char c : bytes) {
            if (c == '\n') {
                if (!overflow_ && !partial_.empty()) lines.push_back(partial_);
                partial_.clear();
                overflow_ = false;
            } else if (c != '\r' && c != '\0') {
                if (partial_.size() >= kMaxLine) {
                    overflow_ = true;
                    partial_.clear();
                }
                if (!overflow_) partial_.push_back(c);
            }
        }
    }

  private:
    std::string partial_;
    bool overflow_ = false;
};

}  // namespace norq::sim
