// Collects the product-information block a device sends in answer to the
// product-information query: "$PKRV,R,TXT,PROD. INFO. BEGIN" ... lines ...
// "$PKRV,R,TXT,PROD. INFO. END". The storage is fixed and allocated once.
#pragma once

#include <array>
#include <string_view>

namespace norq::codec {

// The product-information query, as sent (with CR LF).
inline constexpr std::string_view kProductInfoQuery = "$PKRV,Q,KRV,,,,*01\r\n";

class ProductInfoBlock {
  public:
    static constexpr int kMaxLines = 300;
    static constexpr int kMaxLineLength = 200;
    static constexpr int kMaxValueLength = 63;

    enum class Result { Ignored, Collecting, Complete, Failed };

    // Offers one received text (it may hold anything). Lines of the block are
    // kept; the END line completes the block, the 300th kept line fails it.
    Result offer(std::string_view text);
    void reset();

    bool collecting() const { return collecting_; }
    int lineCount() const { return count_; }
    std::string_view line(int i) const;

    std::string_view modelNumber() const { return model_.data(); }
    std::string_view serialNumber() const { return serial_.data(); }
    std::string_view firmware() const { return firmware_.data(); }
    std::string_view baudRate() const { return baudRate_.data(); }

  private:
    void extractValues();

    bool collecting_ = false;
    int count_ = 0;
    std::array<std::array<char, kMaxLineLength + 1>, kMaxLines> lines_{};
    std::array<char, kMaxValueLength + 1> model_{};
    std::array<char, kMaxValueLength + 1> serial_{};
    std::array<char, kMaxValueLength + 1> firmware_{};
    std::array<char, kMaxValueLength + 1> baudRate_{};
};

}  // namespace norq::codec
