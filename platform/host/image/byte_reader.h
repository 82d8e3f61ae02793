// Bounded little-endian reads over a byte span: every read checks the remaining length.
#pragma once

#include <cstdint>
#include <span>

namespace brimlox::host {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool Has(std::size_t offset, std::size_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }
    std::uint8_t U8(std::size_t at) const { return bytes_[at]; }
    std::uint16_t U16(std::size_t at) const { return static_cast<std::uint16_t>(bytes_[at] | (bytes_[at + 1] << 8)); }
    std::uint32_t U32(std::size_t at) const {
        return static_cast<std::uint32_t>(bytes_[at]) | (static_cast<std::uint32_t>(bytes_[at + 1]) << 8) |
               (static_cast<std::uint32_t>(bytes_[at + 2]) << 16) | (static_cast<std::uint32_t>(bytes_[at + 3]) << 24);
    }
    std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
    std::size_t Size() const { return bytes_.size(); }
    std::span<const std::uint8_t> Sub(std::size_t offset, std::size_t count) const { return bytes_.subspan(offset, count); }

private:
    std::span<const std::uint8_t> bytes_;
};

}  // namespace brimlox::host
