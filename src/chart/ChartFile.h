// A delivered chart data file mapped read-only into memory, with bounds-checked
// little-endian reads. Every byte of the file is treated as hostile: a read past
// the end reports failure instead of touching memory beyond the mapping.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

namespace norq::chart {

// Bounds-checked little-endian access to a byte range (a mapped file or a test buffer).
class ByteView {
  public:
    ByteView() = default;
    explicit ByteView(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }
    bool empty() const { return bytes_.empty(); }
    const std::uint8_t* data() const { return bytes_.data(); }

    // True when [offset, offset + length) lies inside the bytes.
    bool contains(std::uint64_t offset, std::uint64_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }
    bool readI32(std::uint64_t offset, std::int32_t& value) const {
        if (!contains(offset, 4)) return false;
        value = static_cast<std::int32_t>(loadU32(offset));
        return true;
    }
    bool readU16(std::uint64_t offset, std::uint16_t& value) const {
        if (!contains(offset, 2)) return false;
        value = static_cast<std::uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
        return true;
    }
    bool readU8(std::uint64_t offset, std::uint8_t& value) const {
        if (!contains(offset, 1)) return false;
        value = bytes_[offset];
        return true;
    }
    // Unchecked read for callers that validated the whole range beforehand.
    std::int32_t i32At(std::uint64_t offset) const {
        return static_cast<std::int32_t>(loadU32(offset));
    }

  private:
    std::uint32_t loadU32(std::uint64_t offset) const {
        const std::uint8_t* p = bytes_.data() + offset;
        return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
               (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    }

    std::span<const std::uint8_t> bytes_;
};

// A read-only memory mapping of one file; empty when the file is missing or unreadable.
class ChartFile {
  public:
    ChartFile() = default;
    ~ChartFile();
    ChartFile(const ChartFile&) = delete;
    ChartFile& operator=(const ChartFile&) = delete;
    ChartFile(ChartFile&& other) noexcept;
    ChartFile& operator=(ChartFile&& other) noexcept;

    // Maps the file; false (and empty) when it does not exist, is not a regular
    // file, is empty or cannot be mapped.
    bool open(const std::string& path);
    void close();
    bool isOpen() const { return data_ != nullptr; }
    ByteView bytes() const { return ByteView({data_, size_}); }

  private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace norq::chart
